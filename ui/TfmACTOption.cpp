#include "ui/TfmACTOption.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <string>

#include "ACT/ACTEnv.h"
#include "misc/Settings.h"
#include "misc/WinUtil.h"

namespace {

QString DefaultDatabase()
{
    std::string path;
    GetDefaultACTDatabase(path);
    return TfmOptionPage::FromSettings(path.c_str());
}

QString RegistryProgram()
{
    char path[kSettingsTextSize];
    GetACTProgramPath(path, sizeof path);
    return TfmOptionPage::FromSettings(path);
}

// A directory or a dangling name is no program and no database.
bool IsExistingFile(const char* setting)
{
    return setting[0] != '\0' && QFileInfo(TfmOptionPage::FromSettings(setting)).isFile();
}

} // namespace

TfmACTOption::TfmACTOption(QWidget* parent)
    : TfmOptionPage("Please specify ACT! by Sage data access options:", parent)
{
    setObjectName("TfmACTOption");
    AddLabel("App Path:", 0);
    m_edtAppPath = AddEdit("edtAppPath", 255, 0);
    QPushButton* appBrowse = AddBrowseButton("btnAppBrowse", 0);
    AddLabel("PAD Path:", 1);
    m_edtPadName = AddEdit("edtPadName", 255, 1);
    QPushButton* padBrowse = AddBrowseButton("btnPadBrowse", 1);
    auto* lblPad = new QLabel("What is ACT! PAD?", this);
    lblPad->setObjectName("lblPad");
    lblPad->setToolTip("The PAD file is the ACT! database file (*.pad) that names your contacts database.");
    Grid()->addWidget(lblPad, 2, 1);
    AddLabel("User:", 3);
    m_edtUserName = AddEdit("edtUserName", 63, 3);
    AddLabel("Password:", 4);
    m_edtPassword = AddEdit("edtPassword", 63, 4, true);
    m_cbSaveUser = new QCheckBox("Save User Name", this);
    m_cbSaveUser->setObjectName("cbSaveUser");
    Grid()->addWidget(m_cbSaveUser, 5, 1);
    m_cbSavePassword = new QCheckBox("Save Password", this);
    m_cbSavePassword->setObjectName("cbSavePassword");
    Grid()->addWidget(m_cbSavePassword, 6, 1);
    AddSourceMapping("Enable ACT! Contacts User-Defined Field Mapping", 7);

    connect(appBrowse, &QPushButton::clicked, this, [this] {
        BrowseInto(m_edtAppPath, RegistryProgram(), "ACT! executable file (ActSage.exe) (*.exe)");
    });
    connect(padBrowse, &QPushButton::clicked, this,
            [this] { BrowseInto(m_edtPadName, DefaultDatabase(), "ACT! Database File (*.pad) (*.pad)"); });
}

void TfmACTOption::EnterPage()
{
    FWSettings& settings = g_Settings();
    if (settings.ACTPadName[0] == '\0') {
        ToSettings(DefaultDatabase(), settings.ACTPadName, sizeof settings.ACTPadName);
    }
    if (settings.ACTAppName[0] == '\0') {
        ToSettings(RegistryProgram(), settings.ACTAppName, sizeof settings.ACTAppName);
    }
    m_edtAppPath->setText(FromSettings(settings.ACTAppName));
    m_edtPadName->setText(FromSettings(settings.ACTPadName));
    m_edtUserName->setText(FromSettings(settings.ACTUserName));
    m_edtPassword->setText(FromSettings(settings.ACTPasswordText));
    m_cbSaveUser->setChecked(settings.ACTSaveUser);
    m_cbSavePassword->setChecked(settings.ACTSavePassword);
    HideSourceMapping();
}

bool TfmACTOption::LeavePage()
{
    // Stored before the checks, so that a refused page shows the same texts on the next visit.
    FWSettings& settings = g_Settings();
    settings.ACTSaveUser = m_cbSaveUser->isChecked();
    settings.ACTSavePassword = m_cbSavePassword->isChecked();
    ToSettings(m_edtAppPath->text(), settings.ACTAppName, sizeof settings.ACTAppName);
    ToSettings(m_edtPadName->text(), settings.ACTPadName, sizeof settings.ACTPadName);
    ToSettings(m_edtUserName->text(), settings.ACTUserName, sizeof settings.ACTUserName);
    ToSettings(m_edtPassword->text(), settings.ACTPasswordText, sizeof settings.ACTPasswordText);

    if (!IsExistingFile(settings.ACTAppName)) {
        ShowError("The ACT! application is not found on your computer.", MessageIcon::Error);
        return false;
    }
    if (!IsExistingFile(settings.ACTPadName)) {
        ShowError("Invalid ACT! Pad file name.", MessageIcon::Error);
        return false;
    }
    if (settings.ACTUserName[0] == '\0') {
        ShowError("Invalid ACT! login user name.", MessageIcon::Error);
        return false;
    }
    return LoadAndCompareWithNotes(kAppACT);
}
