#pragma once
// Google account access options: the folder of the account's export, the e-mail address and
// password, and whether to keep them.
#include "ui/TfmOptionPage.h"

class QCheckBox;
class QLineEdit;

class TfmGGOption : public TfmOptionPage
{
    Q_OBJECT

public:
    explicit TfmGGOption(QWidget* parent = nullptr);

    void EnterPage() override;
    bool LeavePage() override;

private:
    QLineEdit* m_edtGGFolder;
    QLineEdit* m_edtEmail;
    QLineEdit* m_edtPassword;
    QCheckBox* m_cbSaveEmail;
    QCheckBox* m_cbSavePassword;
};
