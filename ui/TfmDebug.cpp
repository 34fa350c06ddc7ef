#include "ui/TfmDebug.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>

#include "misc/CxDebugUtil.h"
#include "misc/Settings.h"
#include "misc/WinUtil.h"
#include "ui/QtFrontEnd.h"
#include "ui/TfmBanner.h"
#include "ui/TfmLogPaths.h"

TfmDebug::TfmDebug(QWidget* parent) : QDialog(parent)
{
    setObjectName("TfmDebug");
    setWindowTitle("Ferrywise Debug Log Options");
    setFixedSize(525, 376);

    auto* banner = new TfmBanner(80, this);

    m_cbEnable = new QCheckBox("&Enable Debug Log", this);
    m_cbEnable->setObjectName("cbEnable");
    auto* levelLabel = new QLabel("Set Debug &Level:", this);
    m_cbxLevel = new QComboBox(this);
    m_cbxLevel->setObjectName("cbxLevel");
    levelLabel->setBuddy(m_cbxLevel);
    m_cbxLevel->addItem("Critical - Only log critical error information.", 0);
    m_cbxLevel->addItem("High - Log high level debug information.", 1);
    m_cbxLevel->addItem("Low - Log very detail debug information.", 3);

    auto* paths = new TfmLogPaths(this);
    m_edtFolder = paths->Folder();
    m_edtFile = paths->File();

    auto* btnOK = new QPushButton("&OK", this);
    auto* btnCancel = new QPushButton("&Cancel", this);
    btnOK->setObjectName("btnOK");
    btnCancel->setObjectName("btnCancel");
    btnOK->setDefault(true);
    btnOK->setFixedSize(80, 27);
    btnCancel->setFixedSize(80, 27);
    connect(btnOK, &QPushButton::clicked, this, &TfmDebug::accept);
    connect(btnCancel, &QPushButton::clicked, this, &TfmDebug::reject);

    const FWSettings& settings = g_Settings();
    m_cbEnable->setChecked(settings.EnableDebug);
    m_cbxLevel->setCurrentIndex(settings.LogLevel == 0 ? 0 : settings.LogLevel == 1 ? 1 : 2);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(20, 14, 20, 14);
    body->setSpacing(10);
    body->addWidget(m_cbEnable);
    auto* levelRow = new QHBoxLayout;
    levelRow->addWidget(levelLabel);
    levelRow->addWidget(m_cbxLevel, 1);
    body->addLayout(levelRow);
    body->addWidget(paths);
    body->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    body->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(banner);
    layout->addLayout(body);
}

void TfmDebug::accept()
{
    FWSettings& settings = g_Settings();
    settings.EnableDebug = m_cbEnable->isChecked();
    const int entry = m_cbxLevel->currentIndex();
    settings.LogLevel = entry == 0 ? 0 : entry == 1 ? 1 : 3;
    g_debugLog.SetLogLevel(settings.LogLevel);
    g_debugLog.EnableLog(settings.EnableDebug);
    QDialog::accept();
}
