#include "ui/QtFrontEnd.h"

#include <QApplication>
#include <QFont>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QThread>

#include "misc/FlowCancel.h"
#include "ui/TfmDump.h"

namespace {

// The wait window: a frameless tool window of 480 x 150 with a thin border, painted from the
// last state the engine's wait thread handed over, and a Cancel button below the bar.
class WaitWidget : public QWidget
{
public:
    WaitWidget() : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint)
    {
        setObjectName("CommWaitWindow");
        setAttribute(Qt::WA_DeleteOnClose);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFixedSize(480, 150);
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect desk = screen->geometry();
            move(desk.x() + (desk.width() - 480) / 2, desk.y() + (desk.height() - 150) / 2);
        }
        m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
        m_cancel->setObjectName("btnCancel");
        m_cancel->setGeometry(480 - 21 - 75, 150 - 31, 75, 23);
        QObject::connect(m_cancel, &QPushButton::clicked, this, [this] { OnCancel(); });
    }

    // Asks the running flow to stop: a load ends with "Cancelled."; while records are being
    // written the request is refused and the user told why.
    void OnCancel()
    {
        switch (FlowCancel::Request()) {
        case FlowCancel::Answer::Accepted:
            m_cancel->setEnabled(false);
            m_cancel->setText(QStringLiteral("Cancelling"));
            break;
        case FlowCancel::Answer::Refused:
            ShowCancelRefused(this);
            break;
        case FlowCancel::Answer::NothingRunning:
            break;
        }
    }

    void SetState(const WaitViewState& state)
    {
        m_state = state;
        update();
    }
    const WaitViewState& State() const { return m_state; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this); // Qt double-buffers widgets itself
        painter.fillRect(rect(), Qt::white);
        painter.setPen(QColor(128, 128, 128));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));

        // The client area lies inside the one-pixel border.
        const QRect client = rect().adjusted(1, 1, -1, -1);
        const int top = client.top();
        const int left = client.left();
        QFont bold("Verdana");
        bold.setPixelSize(11);
        bold.setBold(true);
        QFont normal("Verdana");
        normal.setPixelSize(11);

        painter.setPen(Qt::black);
        painter.setFont(bold);
        painter.drawText(QRect(left + 20, top, client.width() - 20, 50),
                         Qt::AlignVCenter | Qt::TextSingleLine, QString::fromStdString(m_state.text));
        painter.drawText(QRect(left + 20, top + 30, client.width() - 20, 50),
                         Qt::AlignVCenter | Qt::TextSingleLine, QStringLiteral("Time Elapsed:"));
        painter.setFont(normal);
        painter.drawText(QRect(left + 140, top + 30, client.width() - 140, 50),
                         Qt::AlignVCenter | Qt::TextSingleLine,
                         QString::fromStdString(ElapsedText(m_state.elapsedMs)));

        const int slotCount = (client.width() - 40) / 25 + 1;
        const int blocks = m_state.ticks < 0 ? 0 : m_state.ticks % slotCount;
        for (int i = 0; i < blocks; ++i) {
            painter.fillRect(QRect(left + 20 + i * 25, top + 100, 20, 12), QColor(0, 128, 192));
        }
    }

private:
    WaitViewState m_state;
    QPushButton* m_cancel = nullptr;
};

// Lives on the wait window's thread; every change reaches the widget through the front end's
// queue, in order, and never waits for the GUI.
class QtWaitView : public IWaitView
{
public:
    explicit QtWaitView(QtFrontEnd* owner)
        : m_owner(owner), m_widget(std::make_shared<QPointer<WaitWidget>>())
    {
        auto widget = m_widget;
        QMetaObject::invokeMethod(
            owner,
            [widget] {
                auto* window = new WaitWidget;
                *widget = window;
                window->show();
            },
            Qt::QueuedConnection);
    }

    ~QtWaitView() override
    {
        auto widget = m_widget;
        QMetaObject::invokeMethod(
            m_owner,
            [widget] {
                if (*widget) {
                    (*widget)->close();
                }
            },
            Qt::QueuedConnection);
    }

    void Repaint(const WaitViewState& state) override
    {
        auto widget = m_widget;
        QMetaObject::invokeMethod(
            m_owner,
            [widget, state] {
                if (*widget) {
                    (*widget)->SetState(state);
                }
            },
            Qt::QueuedConnection);
    }

private:
    QtFrontEnd* m_owner;
    // Touched on the GUI thread only; shared so that a late call finds the widget or nothing.
    std::shared_ptr<QPointer<WaitWidget>> m_widget;
};

QMessageBox::Icon ToQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

bool OnGuiThread(const QObject* object)
{
    return QThread::currentThread() == object->thread();
}

} // namespace

QtFrontEnd::QtFrontEnd(QWidget* wizard) : m_wizard(wizard) {}

QtFrontEnd::~QtFrontEnd() = default;

void QtFrontEnd::MessageBox(ParentWindow, const std::string& text, const std::string& caption,
                            MessageIcon icon)
{
    if (OnGuiThread(this)) {
        ShowMessageOnGui(text, caption, icon);
        return;
    }
    // Queued after any wait-window close the flow asked for, so the box never sits beneath it.
    QMetaObject::invokeMethod(
        this, [&] { ShowMessageOnGui(text, caption, icon); }, Qt::BlockingQueuedConnection);
}

void QtFrontEnd::ShowExceptionDialog(ParentWindow, const std::string& what)
{
    if (OnGuiThread(this)) {
        ShowExceptionOnGui(what);
        return;
    }
    QMetaObject::invokeMethod(
        this, [&] { ShowExceptionOnGui(what); }, Qt::BlockingQueuedConnection);
}

std::unique_ptr<IWaitView> QtFrontEnd::CreateWaitView()
{
    return std::make_unique<QtWaitView>(this);
}

void QtFrontEnd::BringToFront(ParentWindow)
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_wizard) {
                m_wizard->raise();
                m_wizard->activateWindow();
            }
        },
        Qt::QueuedConnection);
}

QList<QWidget*> QtFrontEnd::WaitWidgets() const
{
    QList<QWidget*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (dynamic_cast<WaitWidget*>(widget) != nullptr && widget->isVisible()) {
            found.append(widget);
        }
    }
    return found;
}

void QtFrontEnd::HideWaitWidgets()
{
    for (QWidget* widget : WaitWidgets()) {
        widget->hide();
    }
}

void QtFrontEnd::ShowMessageOnGui(const std::string& text, const std::string& caption, MessageIcon icon)
{
    HideWaitWidgets();
    QMessageBox box(ToQtIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Ok, m_wizard);
    box.exec();
}

void QtFrontEnd::ShowExceptionOnGui(const std::string& what)
{
    HideWaitWidgets();
    TfmDump dump(m_wizard, QString::fromStdString(what));
    dump.exec();
}

void FwMessageBox(QWidget* parent, const std::string& text, const std::string& caption, MessageIcon icon)
{
    if (IFrontEnd* frontEnd = GetFrontEnd()) {
        frontEnd->MessageBox(parent, text, caption, icon);
        return;
    }
    QMessageBox box(ToQtIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Ok, parent);
    box.exec();
}

void ShowCancelRefused(QWidget* parent)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("Information"),
                    QString::fromLatin1(FlowCancel::RefusedText()), QMessageBox::Ok, parent);
    box.setObjectName("CancelRefused");
    box.exec();
}
