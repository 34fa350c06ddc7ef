#include "ui/TfmFinish.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>

#include "engine/MigrationDriver.h"
#include "misc/Settings.h"
#include "misc/WinUtil.h"
#include "ui/DesktopOpen.h"

TfmFinish::TfmFinish(QWidget* parent) : TfmPage(parent)
{
    setObjectName("TfmFinish");
    auto* title = new QLabel("Information Migration Completed:", this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    title->setFont(titleFont);

    static const char* const kRows[4] = {
        "Number of Contact Records Migrated:",
        "Number of Calendar Records Migrated:",
        "Number of Task Records Migrated:",
        "Number of Notes Records Migrated:",
    };
    static const char* const kNames[4] = {"lblAddrCount", "lblDateCount", "lblTaskCount", "lblNoteCount"};
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(10);
    for (int i = 0; i < 4; ++i) {
        grid->addWidget(new QLabel(kRows[i], this), i, 0);
        m_lblCount[i] = new QLabel("0", this);
        m_lblCount[i]->setObjectName(kNames[i]);
        grid->addWidget(m_lblCount[i], i, 1);
    }
    grid->setColumnStretch(2, 1);

    auto* btnLog = new QPushButton("&View Migration Log", this);
    auto* btnOL = new QPushButton("Open &Lotus Notes", this);
    auto* btnNew = new QPushButton("Perform New &Migration", this);
    btnLog->setObjectName("btnLog");
    btnOL->setObjectName("btnOL");
    btnNew->setObjectName("btnNew");
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {btnLog, btnOL, btnNew}) {
        button->setMinimumSize(180, 27);
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        buttons->addWidget(button);
    }
    connect(btnLog, &QPushButton::clicked, this, &TfmFinish::ViewLog);
    connect(btnOL, &QPushButton::clicked, this, &TfmFinish::OpenNotes);
    connect(btnNew, &QPushButton::clicked, this, &TfmFinish::NewMigration);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 30, 40, 24);
    layout->setSpacing(16);
    layout->addWidget(title);
    layout->addLayout(grid);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->addStretch();
}

void TfmFinish::EnterPage()
{
    ConnectorRegistry& registry = ConnectorRegistry::Instance();
    for (int i = 0; i < 4; ++i) {
        SelectionList* list = registry.GetSelectionList(kAllDataTypes[i]);
        const int count = list != nullptr ? static_cast<int>(list->GetCount()) : 0;
        m_lblCount[i]->setText(QString::asprintf("%d", count));
    }
}

void TfmFinish::ViewLog()
{
    // Without a working folder there is no log: the message names the file as it would be.
    std::string folder;
    char path[1024] = "MILog.txt";
    if (GetWorkingFolder(folder)) {
        std::snprintf(path, sizeof path, "%s%s", folder.c_str(), "MILog.txt");
    }
    OpenFileOrTell(window(), "the migration log", QString::fromLocal8Bit(path));
}

void TfmFinish::OpenNotes()
{
    // An executable file is started; anything else goes to the desktop's default application.
    const QString program = QString::fromLocal8Bit(g_Settings().LNAppName);
    const QFileInfo info(program);
    if (info.isFile() && info.isExecutable()) {
        QProcess::startDetached(info.absoluteFilePath(), {});
        return;
    }
    RunProgram(g_Settings().LNAppName);
}
