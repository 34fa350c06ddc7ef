#include "ui/TfmPDOption.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <cstdio>
#include <string>

#include "misc/Settings.h"
#include "palm/PalmEnv.h"
#include "palm/PalmInfo.h"
#include "platform/CodePage.h"
#include "ui/EngineRunner.h"

namespace {

// What differs between the four tabs.
struct FileKind
{
    const char* tabName;
    const char* tabCaption;
    const char* boxName;
    const char* boxCaption;
    const char* editName;
    const char* buttonName;
    const char* dialogTitle;
    const char* refusal;
    int (*check)(const std::string& path);
};

const FileKind kFileKinds[kDataTypeCount] = {
    {"tsAddr", "Contacts", "cbAddrFile", "Open Palm Desktop Contacts by File Name:", "edtAddrFile",
     "btnAddrFile", "Open Palm Desktop Contacts data file",
     "Invalid Palm Desktop contacts database file, please try another one.", &PmCheckAddrFile},
    {"tsDate", "Calendar", "cbDateFile", "Open Palm Desktop Calendar by File Name:", "edtDateFile",
     "btnDateFile", "Open Palm Desktop Calendar data file",
     "Invalid Palm Desktop calendar database file, please try another one.", &PmCheckDateFile},
    {"tsTodo", "Tasks", "cbTodoFile", "Open Palm Desktop Tasks by File Name:", "edtTodoFile", "btnTodoFile",
     "Open Palm Desktop Task data file", "Invalid Palm Desktop task database file, please try another one.",
     &PmCheckTodoFile},
    {"tsMemo", "Notes", "cbMemoFile", "Open Palm Desktop Memos by File Name:", "edtMemoFile", "btnMemoFile",
     "Open Palm Desktop Memos data file", "Invalid Palm Desktop memo database file, please try another one.",
     &PmCheckMemoFile},
};

const char kFileFilters[] = "Palm Desktop 4.x Database File(*.dat) (*.dat);;"
                            "Palm Desktop 6.x Database File(*.mdb) (*.mdb);;"
                            "All Files(*.*) (*.*)";

// The file names are held in settings of kSettingsTextSize bytes: at most 255 characters.
constexpr int kFileNameLength = static_cast<int>(kSettingsTextSize) - 1;

bool& UseFile(FWSettings& settings, DataType type)
{
    switch (type) {
    case kDataCalendar:
        return settings.PDUseDateFile;
    case kDataTasks:
        return settings.PDUseTaskFile;
    case kDataNotes:
        return settings.PDUseNoteFile;
    case kDataContacts:
        break;
    }
    return settings.PDUseAddrFile;
}

char* FileName(FWSettings& settings, DataType type)
{
    switch (type) {
    case kDataCalendar:
        return settings.PDDateFileName;
    case kDataTasks:
        return settings.PDTaskFileName;
    case kDataNotes:
        return settings.PDNoteFileName;
    case kDataContacts:
        break;
    }
    return settings.PDAddrFileName;
}

} // namespace

TfmPDOption::TfmPDOption(QWidget* parent)
    : TfmOptionPage("Please specify Palm Desktop  access options:", parent)
{
    setObjectName("TfmPDOption");
    AddLabel("Palm Desktop folder:", 0);
    m_edtPDFolder = AddEdit("edtPDFolder", MAX_PATH - 1, 0);
    QPushButton* browseFolder = AddBrowseButton("btnPDFolder", 0);
    m_lblPDUsers = new QLabel("Can not find any Palm users in your desktop environment.", this);
    m_lblPDUsers->setObjectName("lblPDUsers");
    m_lblPDUsers->setWordWrap(true);
    QPalette warning = m_lblPDUsers->palette();
    warning.setColor(QPalette::WindowText, QColor(255, 0, 0));
    m_lblPDUsers->setPalette(warning);
    m_lblPDUsers->hide();
    Grid()->addWidget(m_lblPDUsers, 1, 1, 1, 2);
    AddLabel("Select Palm User Profile :", 2);
    m_cbPDUser = new QComboBox(this);
    m_cbPDUser->setObjectName("cbPDUser");
    m_cbPDUser->setMinimumContentsLength(24);
    Grid()->addWidget(m_cbPDUser, 2, 1, Qt::AlignLeft);
    AddLabel("Palm Desktop version:", 3);
    m_lblPDVersion = new QLabel(this);
    m_lblPDVersion->setObjectName("lblPDVersion");
    Grid()->addWidget(m_lblPDVersion, 3, 1);

    auto* advanced = new QLabel("More Advanced Options:", this);
    advanced->setContentsMargins(0, 8, 0, 0); // apart from the user and version rows
    Grid()->addWidget(advanced, 4, 0, 1, 3);
    m_pcMain = new QTabWidget(this);
    m_pcMain->setObjectName("pcMain");
    Grid()->addWidget(m_pcMain, 5, 0, 1, 3);
    for (DataType type : kAllDataTypes) {
        const FileKind& kind = kFileKinds[type];
        FileControls& controls = m_files[type];
        controls.tab = new QWidget(m_pcMain);
        controls.tab->setObjectName(kind.tabName);
        auto* grid = new QGridLayout(controls.tab);
        grid->setHorizontalSpacing(8);
        grid->setVerticalSpacing(8);
        grid->setColumnStretch(0, 1);
        controls.box = new QCheckBox(kind.boxCaption, controls.tab);
        controls.box->setObjectName(kind.boxName);
        grid->addWidget(controls.box, 0, 0, 1, 2);
        controls.edit = new QLineEdit(controls.tab);
        controls.edit->setObjectName(kind.editName);
        controls.edit->setMaxLength(kFileNameLength);
        grid->addWidget(controls.edit, 1, 0);
        controls.browse = new QPushButton("...", controls.tab);
        controls.browse->setObjectName(kind.buttonName);
        controls.browse->setFixedWidth(32);
        grid->addWidget(controls.browse, 1, 1);
        if (type == kDataContacts) {
            // Kept for the layout; the tick is not used.
            m_cbAddrSwap = new QCheckBox("Swap Last Name and First Name", controls.tab);
            m_cbAddrSwap->setObjectName("cbAddrSwap");
            grid->addWidget(m_cbAddrSwap, 2, 0, 1, 2);
        }
        grid->setRowStretch(3, 1);
        m_pcMain->addTab(controls.tab, kind.tabCaption);

        connect(controls.box, &QCheckBox::toggled, this, [this, type] { EnableFile(type); });
        connect(controls.browse, &QPushButton::clicked, this, [this, type] { BrowseFile(type); });
    }

    auto* note =
        new QLabel("(The \"Open by File Name\" options are used when you are migrating Palm Desktop data "
                   "without having the Palm Desktop installed).",
                   this);
    note->setObjectName("lblNote");
    note->setWordWrap(true);
    Grid()->addWidget(note, 6, 0, 1, 3);

    // The users of a chosen or typed folder are listed at once.
    connect(browseFolder, &QPushButton::clicked, this, [this] {
        BrowseInto(m_edtPDFolder, QDir::homePath(), QString(), "Palm Desktop folder",
                   [this](const QString& chosen) { return ApplyFolder(chosen); });
    });
    connect(m_edtPDFolder, &QLineEdit::editingFinished, this, [this] {
        if (m_edtPDFolder->text().trimmed() != m_listedFolder) {
            ApplyFolder(m_edtPDFolder->text().trimmed());
        }
    });
}

void TfmPDOption::EnterPage()
{
    // The Palm Desktop folder is a path of the file system, not a settings text.
    m_edtPDFolder->setText(QFile::decodeName(PmGetDesktopFolder().c_str()));
    FillUsers();
    ShowDesktopVersion();
    FWSettings& settings = g_Settings();
    for (DataType type : kAllDataTypes) {
        FileControls& controls = m_files[type];
        m_pcMain->setTabVisible(m_pcMain->indexOf(controls.tab), SyncSwitch(settings, type));
        controls.box->setChecked(UseFile(settings, type));
        controls.edit->setText(FromSettings(FileName(settings, type)));
        EnableFile(type);
    }
}

bool TfmPDOption::LeavePage()
{
    const QString folder = m_edtPDFolder->text().trimmed();
    if (folder != m_listedFolder && !ApplyFolder(folder)) {
        return false;
    }
    if (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
        ShowError(QString("The folder %1 cannot be found.").arg(folder), MessageIcon::Error);
        m_edtPDFolder->setFocus();
        return false;
    }
    if (m_cbPDUser->count() == 0 && !EveryTypeByFile()) {
        ShowError("Can not find any Palm users in your desktop environment.\n\nChoose the Palm Desktop "
                  "folder that holds the users' folders, or open each kind of data by its file name under "
                  "\"More Advanced Options\".",
                  MessageIcon::Error);
        m_edtPDFolder->setFocus();
        return false;
    }
    FWSettings& settings = g_Settings();
    if (m_cbPDUser->currentIndex() >= 0) {
        settings.PDUserID = m_cbPDUser->currentData().toInt();
    }
    for (DataType type : kAllDataTypes) {
        const FileControls& controls = m_files[type];
        UseFile(settings, type) = controls.box->isChecked();
        ToSettings(controls.edit->text(), FileName(settings, type), kSettingsTextSize);
    }
    return LoadAndCompareWithNotes(kAppPalm);
}

void TfmPDOption::FillUsers()
{
    m_listedFolder = m_edtPDFolder->text().trimmed();
    const bool found = PmBuildUserList() >= 0;
    m_lblPDUsers->setVisible(!found);
    const std::vector<PmUser>& users = PmGetUsers();
    m_cbPDUser->clear();
    for (const PmUser& user : users) {
        m_cbPDUser->addItem(FromSettings(user.name.c_str()), QVariant(static_cast<int>(user.userId)));
    }
    if (users.empty()) {
        return;
    }
    const int setting = g_Settings().PDUserID;
    const std::int32_t wanted = setting == 0 ? users.front().userId : setting;
    const int index = m_cbPDUser->findData(QVariant(static_cast<int>(wanted)));
    m_cbPDUser->setCurrentIndex(index >= 0 ? index : 0);
}

bool TfmPDOption::ApplyFolder(const QString& folder)
{
    FWSettings& settings = g_Settings();
    if (!PathToSettings(folder, settings.PDFolder, sizeof settings.PDFolder)) {
        ShowError(QString("The path %1 is too long.").arg(folder), MessageIcon::Error);
        m_edtPDFolder->setFocus();
        return false;
    }
    PmResetUserList();
    if (folder.isEmpty()) {
        // Back to the folder Palm Desktop records, shown as found.
        m_edtPDFolder->setText(QFile::decodeName(PmGetDesktopFolder().c_str()));
    } else {
        m_edtPDFolder->setText(folder);
    }
    FillUsers();
    ShowDesktopVersion();
    return true;
}

bool TfmPDOption::EveryTypeByFile() const
{
    const FWSettings& settings = g_Settings();
    for (DataType type : kAllDataTypes) {
        const FileControls& controls = m_files[type];
        if (SyncSwitch(settings, type) && (!controls.box->isChecked() || controls.edit->text().isEmpty())) {
            return false;
        }
    }
    return true;
}

void TfmPDOption::ShowDesktopVersion()
{
    int parts[4] = {};
    char text[64] = "";
    const bool known = PmGetDesktopVersion(parts) >= 0;
    if (known) {
        std::snprintf(text, sizeof text, "%d.%d.%d.%d", parts[0], parts[1], parts[2], parts[3]);
    }
    ShowVersion(m_lblPDVersion, text, known, "Not Found.");
}

void TfmPDOption::EnableFile(DataType type)
{
    const FileControls& controls = m_files[type];
    const bool ticked = controls.box->isChecked();
    controls.edit->setEnabled(ticked);
    controls.browse->setEnabled(ticked);
}

void TfmPDOption::BrowseFile(DataType type)
{
    const FileKind& kind = kFileKinds[type];
    QLineEdit* edit = m_files[type].edit;
    // The Palm Desktop folder is a path of the file system, not a settings text.
    const QString start = QFile::decodeName(PmGetDesktopFolder().c_str());
    BrowseInto(edit, start, kFileFilters, kind.dialogTitle, [this, &kind, edit](const QString& chosen) {
        // The path is checked as the settings will hold it: in the ANSI code page, where a
        // character the code page lacks becomes '?' and the file is no longer found.
        const std::string stored = platform::AnsiToUtf8(platform::Utf8ToAnsi(chosen.toStdString()));
        // The check loads the whole database: on the engine thread, so the wizard keeps painting.
        const bool recognised = RunOffGuiThread(window(), [&kind, &stored] {
            const int generation = kind.check(stored);
            return generation >= kPmClassic && generation <= kPmEx2;
        });
        if (!recognised) {
            ShowError(kind.refusal, MessageIcon::Error);
            edit->setFocus();
            return false;
        }
        return true;
    });
}
