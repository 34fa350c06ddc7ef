#include "ui/TfmSource.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "misc/AppKind.h"
#include "misc/Settings.h"
#include "ui/QtFrontEnd.h"

TfmSource::TfmSource(QWidget* parent) : TfmPage(parent)
{
    setObjectName("TfmSource");
    auto* apps = new QGroupBox(" Choose which application data you need to migrate to Lotus Notes", this);
    m_rbtnGG = new QRadioButton("&Gmail and Google Calendar", apps);
    m_rbtnOL = new QRadioButton("Microsoft O&utlook", apps);
    m_rbtnACT = new QRadioButton("&ACT! by Sage", apps);
    m_rbtnPD = new QRadioButton("Palm &Desktop", apps);
    m_rbtnGG->setObjectName("rbtnGG");
    m_rbtnOL->setObjectName("rbtnOL");
    m_rbtnACT->setObjectName("rbtnACT");
    m_rbtnPD->setObjectName("rbtnPD");
    auto* appsLayout = new QVBoxLayout(apps);
    for (QRadioButton* button : {m_rbtnGG, m_rbtnOL, m_rbtnACT, m_rbtnPD}) {
        appsLayout->addWidget(button);
        connect(button, &QRadioButton::clicked, this, &TfmSource::ApplyGoogleRule);
    }

    auto* types = new QGroupBox("Choose which types of data you need to migrate to Lotus Notes", this);
    m_cbAddr = new QCheckBox("Contact&s", types);
    m_cbDate = new QCheckBox("Ca&lendar", types);
    m_cbTask = new QCheckBox("&Tasks", types);
    m_cbNote = new QCheckBox("Not&es", types);
    m_cbAddr->setObjectName("cbAddr");
    m_cbDate->setObjectName("cbDate");
    m_cbTask->setObjectName("cbTask");
    m_cbNote->setObjectName("cbNote");
    auto* typesLayout = new QVBoxLayout(types);
    for (QCheckBox* box : {m_cbAddr, m_cbDate, m_cbTask, m_cbNote}) {
        typesLayout->addWidget(box);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 24, 40, 24);
    layout->setSpacing(18);
    layout->addWidget(apps);
    layout->addWidget(types);
    layout->addStretch();
}

void TfmSource::EnterPage()
{
    const FWSettings& settings = g_Settings();
    switch (settings.SourceApp) {
    case kAppACT:
        m_rbtnACT->setChecked(true);
        break;
    case kAppOutlook:
        m_rbtnOL->setChecked(true);
        break;
    case kAppPalm:
        m_rbtnPD->setChecked(true);
        break;
    default:
        m_rbtnGG->setChecked(true);
        break;
    }
    m_cbAddr->setChecked(settings.SyncAddr);
    m_cbDate->setChecked(settings.SyncDate);
    m_cbTask->setChecked(settings.SyncTask);
    m_cbNote->setChecked(settings.SyncNote);
    ApplyGoogleRule();
}

void TfmSource::ApplyGoogleRule()
{
    const bool google = m_rbtnGG->isChecked();
    m_cbTask->setEnabled(!google);
    m_cbNote->setEnabled(!google);
    if (google) {
        m_cbTask->setChecked(false);
        m_cbNote->setChecked(false);
    }
}

bool TfmSource::LeavePage()
{
    FWSettings& settings = g_Settings();
    if (m_rbtnOL->isChecked()) {
        settings.SourceApp = kAppOutlook;
    } else if (m_rbtnACT->isChecked()) {
        settings.SourceApp = kAppACT;
    } else if (m_rbtnPD->isChecked()) {
        settings.SourceApp = kAppPalm;
    } else {
        settings.SourceApp = kAppGoogle;
    }
    settings.SyncAddr = m_cbAddr->isChecked();
    settings.SyncDate = m_cbDate->isChecked();
    settings.SyncTask = m_cbTask->isChecked();
    settings.SyncNote = m_cbNote->isChecked();
    if (!settings.SyncAddr && !settings.SyncDate && !settings.SyncTask && !settings.SyncNote) {
        FwMessageBox(this, "Please migrate at least one type of application data.", "Error",
                     MessageIcon::Error);
        return false;
    }
    return true;
}
