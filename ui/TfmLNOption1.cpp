#include "ui/TfmLNOption1.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <string>

#include "lotus/LNEnv.h"
#include "misc/Settings.h"
#include "misc/WinUtil.h"

namespace {

QString DefaultProgram()
{
    std::string path;
    GetDefaultNotesProgram(path);
    return TfmOptionPage::FromSettings(path.c_str());
}

QString DefaultIDFile()
{
    std::string path;
    GetDefaultNotesIDFile(path);
    return TfmOptionPage::FromSettings(path.c_str());
}

} // namespace

TfmLNOption1::TfmLNOption1(QWidget* parent)
    : TfmOptionPage("Please specify Lotus Notes access options (1 of 2):", parent)
{
    setObjectName("TfmLNOption1");
    AddLabel("Notes.exe Path:", 0);
    m_edtNotesPath = AddEdit("edtNotesPath", 255, 0);
    m_btnNotesBrowse = AddBrowseButton("btnNotesBrowse", 0);
    AddLabel("Lotus Notes Version:", 1);
    m_lblNotesVersion = new QLabel(this);
    m_lblNotesVersion->setObjectName("lblNotesVersion");
    Grid()->addWidget(m_lblNotesVersion, 1, 1);
    AddLabel("User ID File:", 2);
    m_edtIDFile = AddEdit("edtIDFile", 255, 2);
    m_btnIDFileBrowse = AddBrowseButton("btnIDFileBrowse", 2);
    m_cbLNPassword = new QCheckBox("Password Required:", this);
    m_cbLNPassword->setObjectName("cbLNPassword");
    Grid()->addWidget(m_cbLNPassword, 3, 0);
    m_edtLNPassword = AddEdit("edtLNPassword", 63, 3, true);
    m_cbLNSavePassword = new QCheckBox("Save the Password", this);
    m_cbLNSavePassword->setObjectName("cbLNSavePassword");
    Grid()->addWidget(m_cbLNSavePassword, 4, 1);

    connect(m_btnNotesBrowse, &QPushButton::clicked, this, &TfmLNOption1::BrowseProgram);
    connect(m_btnIDFileBrowse, &QPushButton::clicked, this, &TfmLNOption1::BrowseIDFile);
}

void TfmLNOption1::EnterPage()
{
    FWSettings& settings = g_Settings();
    if (settings.LNAppName[0] == '\0') {
        ToSettings(DefaultProgram(), settings.LNAppName, sizeof settings.LNAppName);
    }
    m_edtNotesPath->setText(FromSettings(settings.LNAppName));
    // The installed version is the registry's program, whatever the edit names.
    char version[64];
    const bool known = GetNotesVersion(version, sizeof version);
    ShowVersion(m_lblNotesVersion, version, known, "Unknown");
    if (settings.LNIDFile[0] == '\0') {
        ToSettings(DefaultIDFile(), settings.LNIDFile, sizeof settings.LNIDFile);
    }
    m_edtIDFile->setText(FromSettings(settings.LNIDFile));
    m_cbLNPassword->setChecked(settings.LNNeedPassword);
    m_cbLNSavePassword->setChecked(settings.LNSavePassword);
    m_edtLNPassword->setText(FromSettings(settings.LNPasswordText));
}

bool TfmLNOption1::LeavePage()
{
    if (m_edtNotesPath->text().isEmpty()) {
        ShowError("Invalid path for Lotus Notes note.exe. Lotus Notes executable not found.",
                  MessageIcon::Error);
        return false;
    }
    FWSettings& settings = g_Settings();
    ToSettings(m_edtNotesPath->text(), settings.LNAppName, sizeof settings.LNAppName);
    ToSettings(m_edtLNPassword->text(), settings.LNPasswordText, sizeof settings.LNPasswordText);
    ToSettings(m_edtIDFile->text(), settings.LNIDFile, sizeof settings.LNIDFile);
    settings.LNNeedPassword = m_cbLNPassword->isChecked();
    settings.LNSavePassword = m_cbLNSavePassword->isChecked();
    return true;
}

void TfmLNOption1::BrowseProgram()
{
    BrowseInto(m_edtNotesPath, DefaultProgram(), "Lotus Notes executable file (notes.exe) (*.exe)");
}

void TfmLNOption1::BrowseIDFile()
{
    BrowseInto(m_edtIDFile, DefaultIDFile(),
               "Lotus Notes user ID file (user.id) (*.id);;All Files(*.*) (*.*)");
}
