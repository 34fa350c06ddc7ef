#pragma once
// ACT! data access options: program, database (PAD file), user name and password.
#include "ui/TfmOptionPage.h"

class QCheckBox;
class QLineEdit;

class TfmACTOption : public TfmOptionPage
{
    Q_OBJECT

public:
    explicit TfmACTOption(QWidget* parent = nullptr);

    void EnterPage() override;
    bool LeavePage() override;

private:
    QLineEdit* m_edtAppPath;
    QLineEdit* m_edtPadName;
    QLineEdit* m_edtUserName;
    QLineEdit* m_edtPassword;
    QCheckBox* m_cbSaveUser;
    QCheckBox* m_cbSavePassword;
};
