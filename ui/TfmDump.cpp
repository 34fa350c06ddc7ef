#include "ui/TfmDump.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "misc/CxDebugUtil.h"
#include "misc/WinUtil.h"
#include "ui/TfmBanner.h"
#include "ui/TfmDebug.h"
#include "ui/TfmLogPaths.h"

const char* TfmDump::SupportAddress()
{
    return "support@ferrywise.example";
}

TfmDump::TfmDump(QWidget* parent, const QString& what) : QDialog(parent)
{
    setObjectName("TfmDump");
    setWindowTitle("Handle Ferrywise Exception");
    setFixedSize(529, 392);
    if (!what.isEmpty()) {
        FW_LOG(0, "Unhandled exception: %s", what.toLocal8Bit().constData());
    }

    auto* banner = new TfmBanner(80, this);
    auto* sorry = new QLabel("We're sorry that an unhandled exception occurred in Ferrywise. ", this);
    QFont bold = sorry->font();
    bold.setBold(true);
    sorry->setFont(bold);
    auto* contact = new QLabel("Please contact us at:", this);
    auto* lblSupport = new QLabel(this);
    lblSupport->setObjectName("lblSupport");
    lblSupport->setText(QString("<a href=\"#\">%1</a>").arg(SupportAddress()));
    lblSupport->setCursor(Qt::PointingHandCursor);
    lblSupport->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(lblSupport, &QLabel::linkActivated, this, [] {
        const QString subject = QUrl::toPercentEncoding("Ferrywise for Lotus Notes Error Report");
        const QString mail = QString("mailto:%1?subject=%2").arg(SupportAddress(), subject);
        RunProgram(mail.toLocal8Bit().constData());
    });

    auto* paths = new TfmLogPaths(
        this, "It is very appreciated if you can include the debug information in your error report.");

    auto* btnDebug = new QPushButton("&Debug Options", this);
    auto* btnOK = new QPushButton("&OK", this);
    auto* btnExit = new QPushButton("&Quit Ferrywise", this);
    btnDebug->setObjectName("btnDebug");
    btnOK->setObjectName("btnOK");
    btnExit->setObjectName("btnExit");
    btnOK->setDefault(true);
    btnDebug->setFixedSize(110, 27);
    btnOK->setFixedSize(80, 27);
    btnExit->setFixedSize(110, 27);
    connect(btnDebug, &QPushButton::clicked, this, [this] {
        TfmDebug debug(this);
        debug.exec();
    });
    connect(btnOK, &QPushButton::clicked, this, &TfmDump::accept);
    connect(btnExit, &QPushButton::clicked, this, &TfmDump::QuitProgram);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(20, 14, 20, 14);
    body->setSpacing(8);
    body->addWidget(sorry);
    auto* contactRow = new QHBoxLayout;
    contactRow->addWidget(contact);
    contactRow->addWidget(lblSupport);
    contactRow->addStretch();
    body->addLayout(contactRow);
    body->addWidget(paths);
    body->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnDebug);
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnExit);
    body->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(banner);
    layout->addLayout(body);
}

void TfmDump::QuitProgram()
{
    reject();
    // The main window's own close, posted, so that the settings are saved on the way out.
    if (QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr) {
        QMetaObject::invokeMethod(owner, "close", Qt::QueuedConnection);
    }
}
