#include "ui/TfmLNOption2.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <string>

#include "engine/MigrationDriver.h"
#include "lotus/LNEnv.h"
#include "misc/Settings.h"
#include "ui/EngineRunner.h"
#include "ui/TfmAddrFieldMap.h"

namespace {

QString DefaultAddrBook()
{
    std::string path;
    GetDefaultNotesAddrBook(path);
    return TfmOptionPage::FromSettings(path.c_str());
}

QString DefaultMailFile()
{
    std::string path;
    GetDefaultNotesMailFile(path);
    return TfmOptionPage::FromSettings(path.c_str());
}

QString DefaultNotebook()
{
    std::string path;
    GetDefaultNotesNotebook(path);
    return TfmOptionPage::FromSettings(path.c_str());
}

// The custom-mapping switch of the chosen source; null for a kind without one.
bool* SourceMappingSwitch(FWSettings& settings)
{
    switch (settings.SourceApp) {
    case kAppOutlook:
        return &settings.OLCustom;
    case kAppACT:
        return &settings.ACTCustom;
    case kAppGoogle:
        return &settings.GGCustom;
    case kAppPalm:
        return &settings.PDCustom;
    default:
        return nullptr;
    }
}

} // namespace

TfmLNOption2::TfmLNOption2(QWidget* parent)
    : TfmOptionPage("Please specify Lotus Notes access options (2 of 2):", parent)
{
    setObjectName("TfmLNOption2");
    // The long captions sit above their edits.
    QLabel* addrLabel =
        AddLabel("Address book database (example: [some path]\\name.nsf, or [Server]!![Database "
                 "file] for remote address book) ,",
                 0);
    Grid()->addWidget(addrLabel, 0, 0, 1, 3);
    m_edtLNAddrPath = AddEdit("edtLNAddrPath", 255, 1);
    m_btnLNAddrBrowse = AddBrowseButton("btnLNAddrBrowse", 1);
    QLabel* dbLabel = AddLabel("Calendar and Todo (Mail) database (format: [Server]!![Database], example: "
                               "Primary1/Org1!!mail/mydb.nsf) ",
                               2);
    Grid()->addWidget(dbLabel, 2, 0, 1, 3);
    m_edtLNDBPath = AddEdit("edtLNDBPath", 255, 3);
    QLabel* noteLabel = AddLabel("Notebook database path (example: some path\\notebook.nsf)", 4);
    Grid()->addWidget(noteLabel, 4, 0, 1, 3);
    m_edtLNNotePath = AddEdit("edtLNNotePath", 255, 5);
    m_btnLNNoteBrowse = AddBrowseButton("btnLNNoteBrowse", 5);
    for (QLineEdit* edit : {m_edtLNAddrPath, m_edtLNDBPath, m_edtLNNotePath}) {
        // The edits take the whole width below their captions.
        Grid()->removeWidget(edit);
    }
    Grid()->addWidget(m_edtLNAddrPath, 1, 0, 1, 2);
    Grid()->addWidget(m_edtLNDBPath, 3, 0, 1, 2);
    Grid()->addWidget(m_edtLNNotePath, 5, 0, 1, 2);
    Grid()->setRowMinimumHeight(6, 12);
    m_cbFieldMap = new QCheckBox("Enable Lotus Notes Contacts User-Defined Field Mapping", this);
    m_cbFieldMap->setObjectName("cbFieldMap");
    Grid()->addWidget(m_cbFieldMap, 7, 0, 1, 3);
    m_btnMap = new QPushButton("Setup Field Mapping  Now", this);
    m_btnMap->setObjectName("btnMap");
    m_btnMap->setEnabled(false);
    Grid()->addWidget(m_btnMap, 8, 0, 1, 2, Qt::AlignLeft);

    connect(m_btnLNAddrBrowse, &QPushButton::clicked, this, [this] {
        BrowseInto(m_edtLNAddrPath, DefaultAddrBook(),
                   "Lotus Notes Contacts Database file (names.nsf) (*.nsf)");
    });
    connect(m_btnLNNoteBrowse, &QPushButton::clicked, this, [this] {
        BrowseInto(m_edtLNNotePath, DefaultNotebook(),
                   "Lotus Notes Notebook Database file (notebook.nsf) (*.nsf)");
    });
    connect(m_cbFieldMap, &QCheckBox::toggled, this, &TfmLNOption2::UpdateMapButton);
    connect(m_btnMap, &QPushButton::clicked, this, &TfmLNOption2::OpenFieldMapping);
}

void TfmLNOption2::EnterPage()
{
    FWSettings& settings = g_Settings();
    if (settings.LNAddrName[0] == '\0') {
        ToSettings(DefaultAddrBook(), settings.LNAddrName, sizeof settings.LNAddrName);
    }
    if (settings.LNDateName[0] == '\0') {
        ToSettings(DefaultMailFile(), settings.LNDateName, sizeof settings.LNDateName);
    }
    if (settings.LNNoteName[0] == '\0') {
        ToSettings(DefaultNotebook(), settings.LNNoteName, sizeof settings.LNNoteName);
    }
    m_edtLNAddrPath->setText(FromSettings(settings.LNAddrName));
    m_edtLNDBPath->setText(FromSettings(settings.LNDateName));
    m_edtLNNotePath->setText(FromSettings(settings.LNNoteName));

    m_edtLNAddrPath->setEnabled(settings.SyncAddr);
    m_btnLNAddrBrowse->setEnabled(settings.SyncAddr);
    m_edtLNDBPath->setEnabled(settings.SyncDate || settings.SyncTask);
    m_edtLNNotePath->setEnabled(true);
    m_btnLNNoteBrowse->setEnabled(true);

    const bool* mapping = SourceMappingSwitch(settings);
    m_cbFieldMap->setEnabled(settings.SyncAddr);
    m_cbFieldMap->setChecked(settings.SyncAddr && mapping && *mapping);
    UpdateMapButton();
}

bool TfmLNOption2::LeavePage()
{
    FWSettings& settings = g_Settings();
    ToSettings(m_edtLNAddrPath->text(), settings.LNAddrName, sizeof settings.LNAddrName);
    ToSettings(m_edtLNDBPath->text(), settings.LNDateName, sizeof settings.LNDateName);
    ToSettings(m_edtLNNotePath->text(), settings.LNNoteName, sizeof settings.LNNoteName);
    if (bool* mapping = SourceMappingSwitch(settings)) {
        *mapping = m_cbFieldMap->isChecked();
    }
    // Driver operations belong to the engine thread, even a quick one.
    const AppKind source = static_cast<AppKind>(settings.SourceApp);
    RunOffGuiThread(window(), [source] {
        PrepareFieldMapping(source);
        return true;
    });
    return true;
}

void TfmLNOption2::UpdateMapButton()
{
    m_btnMap->setEnabled(m_cbFieldMap->isEnabled() && m_cbFieldMap->isChecked());
}

void TfmLNOption2::OpenFieldMapping()
{
    const AppKind source = static_cast<AppKind>(g_Settings().SourceApp);
    TfmAddrFieldMap dialog(this);
    dialog.Prepare(source);
    if (dialog.exec() == QDialog::Accepted) {
        RunOffGuiThread(window(), [source] {
            PrepareFieldMapping(source);
            return true;
        });
    }
}
