#pragma once
// Microsoft Outlook options: the program path and its version.
#include "ui/TfmOptionPage.h"

class QLabel;
class QLineEdit;

class TfmOLOption : public TfmOptionPage
{
    Q_OBJECT

public:
    explicit TfmOLOption(QWidget* parent = nullptr);

    void EnterPage() override;
    bool LeavePage() override;

private:
    QLineEdit* m_edtOLPath;
    QLabel* m_lblOLVersion;
};
