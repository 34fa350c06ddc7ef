#include "ui/TfmGGOption.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "misc/Settings.h"

TfmGGOption::TfmGGOption(QWidget* parent)
    : TfmOptionPage("Please specify Google account access options:", parent)
{
    setObjectName("TfmGGOption");
    AddLabel("Folder of the Google export:", 0);
    m_edtGGFolder = AddEdit("edtGGFolder", MAX_PATH - 1, 0);
    QPushButton* browse = AddBrowseButton("btnGGFolderBrowse", 0);
    auto* hint = new QLabel("The folder where you saved Google Contacts' export (vCard or Google CSV) and "
                            "Google Calendar's export (.ics files), or an unpacked Google account archive. "
                            "No password is needed for it.",
                            this);
    hint->setObjectName("lblGGFolderHint");
    hint->setWordWrap(true);
    Grid()->addWidget(hint, 1, 1);
    AddLabel("Google Account Email:", 2);
    m_edtEmail = AddEdit("edtEmail", 63, 2);
    AddLabel("Password:", 3);
    m_edtPassword = AddEdit("edtPassword", 63, 3, true);
    m_cbSaveEmail = new QCheckBox("Save Email", this);
    m_cbSaveEmail->setObjectName("cbSaveEmail");
    Grid()->addWidget(m_cbSaveEmail, 4, 1);
    m_cbSavePassword = new QCheckBox("Save Password", this);
    m_cbSavePassword->setObjectName("cbSavePassword");
    Grid()->addWidget(m_cbSavePassword, 5, 1);
    AddSourceMapping("Enable Google Contacts User-Defined Field Mapping", 6);

    connect(browse, &QPushButton::clicked, this, [this] {
        BrowseInto(m_edtGGFolder, QDir::homePath(), QString(), "Folder of the Google export");
    });
}

void TfmGGOption::EnterPage()
{
    const FWSettings& settings = g_Settings();
    m_cbSaveEmail->setChecked(settings.GGSaveEmail);
    m_cbSavePassword->setChecked(settings.GGSavePassword);
    m_edtGGFolder->setText(PathFromSettings(settings.GGFolder));
    m_edtEmail->setText(FromSettings(settings.GGEmail));
    m_edtPassword->setText(FromSettings(settings.GGPasswordText));
    HideSourceMapping();
}

bool TfmGGOption::LeavePage()
{
    const QString folder = m_edtGGFolder->text().trimmed();
    if (folder.isEmpty() && m_edtEmail->text().isEmpty()) {
        ShowError("Please choose the folder of your Google export (contacts as .vcf or .csv, calendars as "
                  ".ics files).",
                  MessageIcon::Information);
        m_edtGGFolder->setFocus();
        return false;
    }
    if (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
        ShowError(QString("The folder %1 cannot be found.").arg(folder), MessageIcon::Error);
        m_edtGGFolder->setFocus();
        return false;
    }
    // Without an export folder the account is reached through a server, which needs its
    // password.
    if (folder.isEmpty() && m_edtPassword->text().isEmpty()) {
        ShowError("Please enter the password of your Google account.", MessageIcon::Information);
        m_edtPassword->setFocus();
        return false;
    }
    FWSettings& settings = g_Settings();
    if (!PathToSettings(folder, settings.GGFolder, sizeof settings.GGFolder)) {
        ShowError(QString("The path %1 is too long.").arg(folder), MessageIcon::Error);
        m_edtGGFolder->setFocus();
        return false;
    }
    settings.GGSaveEmail = m_cbSaveEmail->isChecked();
    settings.GGSavePassword = m_cbSavePassword->isChecked();
    ToSettings(m_edtEmail->text(), settings.GGEmail, sizeof settings.GGEmail);
    ToSettings(m_edtPassword->text(), settings.GGPasswordText, sizeof settings.GGPasswordText);
    return LoadAndCompareWithNotes(kAppGoogle);
}
