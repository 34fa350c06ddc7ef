#pragma once
// Microsoft Outlook options. On this platform Outlook is an Outlook data file (.pst, .ost)
// copied from Windows: the page chooses the file and says what kind of data file it is; a
// file protected by a password is opened with the password the page asks for.
#include <QString>
#include <functional>
#include <optional>

#include "ui/TfmOptionPage.h"

class QLabel;
class QLineEdit;

// Asks for the password of a protected data file: owner, the reason (names the file). No
// value when the user cancels.
using PasswordPrompt = std::function<std::optional<QString>(QWidget* owner, const QString& reason)>;

class TfmOLOption : public TfmOptionPage
{
    Q_OBJECT

public:
    explicit TfmOLOption(QWidget* parent = nullptr);

    // Replaces the password dialog (tests answer it without a modal dialog); an empty prompt
    // restores the dialog.
    static void SetPasswordPrompt(PasswordPrompt prompt);

    void EnterPage() override;
    bool LeavePage() override;

private:
    void ShowFormat();
    // Checks the chosen file, asking for its password while it needs one; false (with a
    // message shown) when it cannot be opened or the user cancels.
    bool CheckFile();

    QLineEdit* m_edtOLPath;
    QLabel* m_lblOLVersion;
};
