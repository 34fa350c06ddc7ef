#include "ui/TfmGGOption.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>

#include "misc/Settings.h"

TfmGGOption::TfmGGOption(QWidget* parent)
    : TfmOptionPage("Please specify Google account access options:", parent)
{
    setObjectName("TfmGGOption");
    AddLabel("Google Account Email:", 0);
    m_edtEmail = AddEdit("edtEmail", 63, 0);
    AddLabel("Password:", 1);
    m_edtPassword = AddEdit("edtPassword", 63, 1, true);
    m_cbSaveEmail = new QCheckBox("Save Email", this);
    m_cbSaveEmail->setObjectName("cbSaveEmail");
    Grid()->addWidget(m_cbSaveEmail, 2, 1);
    m_cbSavePassword = new QCheckBox("Save Password", this);
    m_cbSavePassword->setObjectName("cbSavePassword");
    Grid()->addWidget(m_cbSavePassword, 3, 1);
    AddSourceMapping("Enable Google Contacts User-Defined Field Mapping", 4);
}

void TfmGGOption::EnterPage()
{
    const FWSettings& settings = g_Settings();
    m_cbSaveEmail->setChecked(settings.GGSaveEmail);
    m_cbSavePassword->setChecked(settings.GGSavePassword);
    m_edtEmail->setText(FromSettings(settings.GGEmail));
    m_edtPassword->setText(FromSettings(settings.GGPasswordText));
    HideSourceMapping();
}

bool TfmGGOption::LeavePage()
{
    if (m_edtEmail->text().isEmpty()) {
        ShowError("Please enter the Email address of your Google account.", MessageIcon::Information);
        m_edtEmail->setFocus();
        return false;
    }
    if (m_edtPassword->text().isEmpty()) {
        ShowError("Please enter the password of your Google account.", MessageIcon::Information);
        m_edtPassword->setFocus();
        return false;
    }
    FWSettings& settings = g_Settings();
    settings.GGSaveEmail = m_cbSaveEmail->isChecked();
    settings.GGSavePassword = m_cbSavePassword->isChecked();
    ToSettings(m_edtEmail->text(), settings.GGEmail, sizeof settings.GGEmail);
    ToSettings(m_edtPassword->text(), settings.GGPasswordText, sizeof settings.GGPasswordText);
    return LoadAndCompareWithNotes(kAppGoogle);
}
