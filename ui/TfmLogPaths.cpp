#include "ui/TfmLogPaths.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <string>

#include "misc/Settings.h"
#include "misc/WinUtil.h"
#include "ui/QtFrontEnd.h"

TfmLogPaths::TfmLogPaths(QWidget* parent, const QString& note) : QGroupBox(" Debug Information ", parent)
{
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    int row = 0;
    if (!note.isEmpty()) {
        auto* text = new QLabel(note, this);
        text->setWordWrap(true);
        grid->addWidget(text, row++, 0, 1, 3);
    }
    m_edtFolder = new QLineEdit(this);
    m_edtFile = new QLineEdit(this);
    m_edtFolder->setObjectName("edtFolder");
    m_edtFile->setObjectName("edtFile");
    m_edtFolder->setReadOnly(true);
    m_edtFile->setReadOnly(true);
    auto* btnFolder = new QPushButton("...", this);
    auto* btnFile = new QPushButton("...", this);
    btnFolder->setObjectName("btnFolder");
    btnFile->setObjectName("btnFile");
    btnFolder->setToolTip("Open the log folder");
    btnFile->setToolTip("Open the log file");
    btnFolder->setFixedSize(32, 24);
    btnFile->setFixedSize(32, 24);
    auto* folderLabel = new QLabel("Log &Folder:", this);
    auto* fileLabel = new QLabel("Log F&ile:", this);
    folderLabel->setBuddy(btnFolder);
    fileLabel->setBuddy(btnFile);
    grid->addWidget(folderLabel, row, 0);
    grid->addWidget(m_edtFolder, row, 1);
    grid->addWidget(btnFolder, row++, 2);
    grid->addWidget(fileLabel, row, 0);
    grid->addWidget(m_edtFile, row, 1);
    grid->addWidget(btnFile, row, 2);
    connect(btnFolder, &QPushButton::clicked, this, &TfmLogPaths::OpenFolder);
    connect(btnFile, &QPushButton::clicked, this, &TfmLogPaths::OpenFile);

    std::string folder;
    if (GetWorkingFolder(folder)) {
        m_edtFolder->setText(QString::fromLocal8Bit(folder.c_str()));
        m_edtFile->setText(QString::asprintf("%sappdebug.log", folder.c_str()));
    } else {
        btnFolder->setEnabled(false);
        btnFile->setEnabled(false);
    }
}

void TfmLogPaths::OpenFolder()
{
    RunProgram(m_edtFolder->text().toLocal8Bit().constData());
}

void TfmLogPaths::OpenFile()
{
    const QByteArray path = m_edtFile->text().toLocal8Bit();
    if (!QFileInfo(QString::fromLocal8Bit(path)).isFile()) {
        FwMessageBox(this, "Debug log file doesn't exist", "Error", MessageIcon::Information);
        return;
    }
    RunProgram(path.constData());
}
