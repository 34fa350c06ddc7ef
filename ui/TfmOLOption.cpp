#include "ui/TfmOLOption.h"

#include <QFile>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstring>
#include <string>

#include "misc/Settings.h"
#include "outlook/OlDataFileApp.h"
#include "platform/KnownFolders.h"
#include "ui/EngineRunner.h"

namespace {

PasswordPrompt& Prompt()
{
    static PasswordPrompt prompt;
    return prompt;
}

std::optional<QString> PlatformPasswordDialog(QWidget* owner, const QString& reason)
{
    bool ok = false;
    const QString password = QInputDialog::getText(
        owner, "Outlook data file password", reason + "\n\nPassword:", QLineEdit::Password, QString(), &ok);
    if (!ok) {
        return std::nullopt;
    }
    return password;
}

// The data file's path is a path of the file system, kept in the settings as its bytes.
QString PathText(const char* path)
{
    return QFile::decodeName(path);
}

bool StorePath(const QString& text, char* field, std::size_t size)
{
    const QByteArray bytes = QFile::encodeName(text);
    if (static_cast<std::size_t>(bytes.size()) >= size) {
        return false;
    }
    std::memcpy(field, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    field[bytes.size()] = '\0';
    return true;
}

} // namespace

TfmOLOption::TfmOLOption(QWidget* parent) : TfmOptionPage("Please specify Microsoft Outlook options:", parent)
{
    setObjectName("TfmOLOption");
    AddLabel("Outlook data file (.pst, .ost):", 0);
    m_edtOLPath = AddEdit("edtOLPath", MAX_PATH - 1, 0);
    QPushButton* browse = AddBrowseButton("btnOLBrowse", 0);
    AddLabel("Data file format:", 1);
    m_lblOLVersion = new QLabel(this);
    m_lblOLVersion->setObjectName("lblOLVersion");
    Grid()->addWidget(m_lblOLVersion, 1, 1);
    AddSourceMapping("Enable Outlook Contacts User-Defined Field Mapping", 2);

    connect(browse, &QPushButton::clicked, this, [this] {
        std::string documents;
        platform::GetDocumentsFolder(documents);
        BrowseInto(m_edtOLPath, QFile::decodeName(documents.c_str()),
                   "Outlook data file (*.pst *.ost) (*.pst *.ost);;All Files(*.*) (*.*)",
                   "Outlook data file");
        ShowFormat();
    });
    connect(m_edtOLPath, &QLineEdit::editingFinished, this, [this] { ShowFormat(); });
}

void TfmOLOption::SetPasswordPrompt(PasswordPrompt prompt)
{
    Prompt() = std::move(prompt);
}

void TfmOLOption::EnterPage()
{
    m_edtOLPath->setText(PathText(g_Settings().OLDataFile));
    ShowFormat();
    HideSourceMapping();
}

void TfmOLOption::ShowFormat()
{
    const QString text = m_edtOLPath->text();
    if (text.isEmpty()) {
        ShowVersion(m_lblOLVersion, "", false, "No data file chosen");
        return;
    }
    const std::string format = pst::PstFile::FormatOf(QFile::encodeName(text).toStdString());
    ShowVersion(m_lblOLVersion, format.c_str(), !format.empty(), "Not an Outlook data file");
}

bool TfmOLOption::LeavePage()
{
    if (m_edtOLPath->text().isEmpty()) {
        ShowError("Please choose the Outlook data file (.pst, .ost) to migrate.", MessageIcon::Error);
        m_edtOLPath->setFocus();
        return false;
    }
    FWSettings& settings = g_Settings();
    if (!StorePath(m_edtOLPath->text(), settings.OLDataFile, sizeof settings.OLDataFile)) {
        ShowError("The path of the Outlook data file is too long.", MessageIcon::Error);
        return false;
    }
    ShowFormat();
    if (!CheckFile()) {
        m_edtOLPath->setFocus();
        return false;
    }
    return LoadAndCompareWithNotes(kAppOutlook);
}

bool TfmOLOption::CheckFile()
{
    FWSettings& settings = g_Settings();
    for (;;) {
        OutlookDataFileCheck check;
        // Opening a large file takes a moment: on the engine thread, so the wizard keeps painting.
        RunOffGuiThread(window(), [&check, &settings] {
            check = CheckOutlookDataFile(settings);
            return true;
        });
        if (check.ok) {
            return true;
        }
        if (check.failure != pst::OpenFailure::PasswordNeeded &&
            check.failure != pst::OpenFailure::PasswordWrong) {
            ShowError(QString::fromStdString(check.message), MessageIcon::Error);
            return false;
        }
        if (check.failure == pst::OpenFailure::PasswordWrong) {
            ShowError(QString::fromStdString(check.message), MessageIcon::Error);
        }
        const QString reason =
            QString("The Outlook data file \"%1\" is protected by a password.").arg(m_edtOLPath->text());
        const std::optional<QString> password =
            Prompt() ? Prompt()(this, reason) : PlatformPasswordDialog(this, reason);
        if (!password) {
            return false;
        }
        ToSettings(*password, settings.OLPasswordText, sizeof settings.OLPasswordText);
    }
}
