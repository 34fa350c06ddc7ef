#include "ui/TfmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "engine/MigrationDriver.h"
#include "misc/FlowCancel.h"
#include "misc/Settings.h"
#include "ui/QtFrontEnd.h"
#include "ui/TfmBanner.h"
#include "ui/TfmDataPage.h"
#include "ui/TfmDebug.h"
#include "ui/TfmFinish.h"
#include "ui/TfmLNOption1.h"
#include "ui/TfmLNOption2.h"
#include "ui/TfmRecordDetail.h"
#include "ui/TfmSource.h"
#include "ui/WizardPages.h"

namespace {

constexpr int kClientWidth = 794;
constexpr int kClientHeight = 594;
constexpr int kTopBand = 100;
constexpr int kBottomBand = 60;
constexpr int kSteps = 6;

QPushButton* MakeButton(const char* name, const char* caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFixedSize(80, 27);
    return button;
}

} // namespace

TfmMain::TfmMain(const CxAppRegistry& apps, QWidget* parent) : QWidget(parent)
{
    setObjectName("TfmMain");
    setWindowTitle("Ferrywise for Lotus Notes");
    // The design's size is where the wizard starts and the least it needs; it may grow and be
    // maximised, the pages filling what it gives them.
    setMinimumSize(kClientWidth, kClientHeight);
    resize(kClientWidth, kClientHeight);

    BeginSession(apps);

    auto* banner = new TfmBanner(kTopBand, this);
    m_imgText = banner->Logo();
    m_btnHelp = MakeButton("btnHelp", "&Help", banner);
    m_btnHelp->setToolTip("Open the user guide");
    // Help sits in the band's top right corner, clear of its edges.
    auto* helpColumn = new QVBoxLayout;
    helpColumn->setContentsMargins(0, 10, 0, 0);
    helpColumn->addWidget(m_btnHelp);
    helpColumn->addStretch();
    static_cast<QHBoxLayout*>(banner->layout())->addSpacing(24);
    static_cast<QHBoxLayout*>(banner->layout())->addLayout(helpColumn);

    m_pClient = new QWidget(this);
    m_pClient->setObjectName("pClient");
    // All pages share the one cell and fill it; only the visible one takes part.
    auto* stack = new QGridLayout(m_pClient);
    stack->setContentsMargins(0, 0, 0, 0);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* bottom = new QWidget(this);
    bottom->setFixedHeight(kBottomBand);
    m_btnOption = MakeButton("btnOption", "&Options", bottom);
    m_btnPrev = MakeButton("btnPrev", "< &Prev", bottom);
    m_btnNext = MakeButton("btnNext", "&Next >", bottom);
    m_btnClose = MakeButton("btnClose", "&Close", bottom);
    auto* buttons = new QHBoxLayout(bottom);
    buttons->setContentsMargins(16, 0, 16, 0);
    buttons->addWidget(m_btnOption);
    buttons->addStretch();
    buttons->addWidget(m_btnPrev);
    buttons->addWidget(m_btnNext);
    buttons->addSpacing(12);
    buttons->addWidget(m_btnClose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(banner);
    layout->addWidget(m_pClient, 1);
    layout->addWidget(line);
    layout->addWidget(bottom);

    // Every page is made once, hidden; switching steps only hides and shows them.
    m_source = new TfmSource(m_pClient);
    m_lnOption1 = new TfmLNOption1(m_pClient);
    m_lnOption2 = new TfmLNOption2(m_pClient);
    // A kind is a source of the wizard only with both pages; every option page is made before
    // the first data page.
    for (const CxAppDescriptor& app : apps.All()) {
        if (!app.optionPage.empty() && !app.dataPage.empty()) {
            if (TfmPage* options = CreateWizardPage(app.optionPage, m_pClient)) {
                m_sourcePages[app.kind].options = options;
            }
        }
    }
    for (auto it = m_sourcePages.begin(); it != m_sourcePages.end();) {
        it->second.data = CreateWizardPage(apps.Find(static_cast<AppKind>(it->first))->dataPage, m_pClient);
        if (it->second.data == nullptr) {
            delete it->second.options;
            it = m_sourcePages.erase(it);
        } else {
            // A record of the comparison page opens in its detail dialog, owned by the page.
            if (auto* data = qobject_cast<TfmDataPage*>(it->second.data)) {
                connect(data, &TfmDataPage::DetailRequested, data,
                        [data](DataType type, const CommRecordPtr& record, CxConnector* connector) {
                            OpenRecordDetail(data, data->GetSource(), type, record, connector);
                        });
            }
            ++it;
        }
    }
    auto* finish = new TfmFinish(m_pClient);
    m_finish = finish;
    for (TfmPage* page : {m_source, m_lnOption1, m_lnOption2}) {
        stack->addWidget(page, 0, 0);
    }
    for (const auto& [kind, pages] : m_sourcePages) {
        stack->addWidget(pages.options, 0, 0);
        stack->addWidget(pages.data, 0, 0);
    }
    stack->addWidget(m_finish, 0, 0);

    connect(m_btnNext, &QPushButton::clicked, this, &TfmMain::Next);
    connect(m_btnPrev, &QPushButton::clicked, this, &TfmMain::Prev);
    connect(m_btnClose, &QPushButton::clicked, this, &TfmMain::close);
    connect(m_btnHelp, &QPushButton::clicked, this, &TfmMain::ShowHelp);
    connect(m_btnOption, &QPushButton::clicked, this, &TfmMain::ShowOptions);
    connect(finish, &TfmFinish::NewMigration, this, &TfmMain::Restart);

    m_source->EnterPage();
    ShowStep();

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desk = screen->availableGeometry();
        move(desk.x() + (desk.width() - kClientWidth) / 2, desk.y() + (desk.height() - kClientHeight) / 2);
    }
}

TfmMain::~TfmMain()
{
    EndSession();
}

TfmPage* TfmMain::PageOfStep(int step) const
{
    switch (step) {
    case 0:
        return m_source;
    case 1:
        return m_lnOption1;
    case 2:
        return m_lnOption2;
    case 3:
    case 4:
        return SourcePage(step);
    case 5:
        return m_finish;
    default:
        return nullptr;
    }
}

TfmPage* TfmMain::SourcePage(int step) const
{
    auto found = m_sourcePages.find(g_Settings().SourceApp);
    if (found == m_sourcePages.end()) {
        return nullptr;
    }
    return step == 3 ? found->second.options : found->second.data;
}

TfmPage* TfmMain::VisiblePage() const
{
    for (TfmPage* page : m_pClient->findChildren<TfmPage*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!page->isHidden()) {
            return page;
        }
    }
    return nullptr;
}

void TfmMain::ShowStep()
{
    for (TfmPage* page : m_pClient->findChildren<TfmPage*>(QString(), Qt::FindDirectChildrenOnly)) {
        page->hide();
    }
    TfmPage* page = nullptr;
    if (m_CurrentStep == 0) {
        m_btnPrev->setEnabled(false);
        m_btnPrev->setText("< &Prev");
        m_btnNext->setEnabled(true);
        m_btnNext->setText("&Next >");
        page = m_source;
    } else if (m_CurrentStep == m_StepCount - 1) {
        m_btnPrev->setEnabled(true);
        m_btnPrev->setText("&Restart");
        m_btnNext->setEnabled(false);
        m_btnNext->setText("&Finish");
        page = m_finish;
    } else {
        m_btnPrev->setEnabled(true);
        m_btnPrev->setText("< &Prev");
        m_btnNext->setEnabled(true);
        m_btnNext->setText("&Next >");
        page = PageOfStep(m_CurrentStep);
    }
    if (page != nullptr) {
        page->show();
        page->raise();
        // Keyboard users land on the page, not on a button of a hidden one.
        for (QWidget* next = page->nextInFocusChain(); next != page && page->isAncestorOf(next);
             next = next->nextInFocusChain()) {
            if (next->isEnabled() && (next->focusPolicy() & Qt::TabFocus) != 0) {
                next->setFocus(Qt::TabFocusReason);
                break;
            }
        }
    }
}

void TfmMain::Next()
{
    if (m_StepCount > 0 && m_CurrentStep >= m_StepCount - 1) {
        return;
    }
    TfmPage* current = PageOfStep(m_CurrentStep);
    if (current == nullptr || !current->LeavePage()) {
        return;
    }
    if (m_CurrentStep == 0) {
        m_StepCount = kSteps;
    }
    TfmPage* next = PageOfStep(m_CurrentStep + 1);
    if (m_CurrentStep <= 1) {
        ++m_CurrentStep;
        ShowStep();
        if (next != nullptr) {
            next->EnterPage();
        }
    } else {
        if (next != nullptr) {
            next->EnterPage();
        }
        ++m_CurrentStep;
        ShowStep();
    }
}

void TfmMain::Prev()
{
    if (m_StepCount > 0 && m_CurrentStep == m_StepCount - 1) {
        Restart();
    } else if (m_CurrentStep > 0) {
        --m_CurrentStep;
        ShowStep();
    }
}

void TfmMain::Restart()
{
    m_CurrentStep = 0;
    ShowStep();
}

void TfmMain::ShowOptions()
{
    TfmDebug dialog(this);
    dialog.exec();
}

void TfmMain::ShowHelp()
{
    TfmBanner::OpenUserGuide(this);
}

void TfmMain::closeEvent(QCloseEvent* event)
{
    // While engine work runs the wizard is disabled; closing then would pull the session
    // from under the engine thread. The close asks the work to stop instead, as the wait
    // window's Cancel does: a load ends with "Cancelled.", writing is let finish.
    if (!isEnabled()) {
        event->ignore();
        if (FlowCancel::Request() == FlowCancel::Answer::Refused) {
            ShowCancelRefused(this);
        }
        return;
    }
    QWidget::closeEvent(event);
}
