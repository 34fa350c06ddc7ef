// The log options and exception dialogs, the engine runner and the Qt front end: settings and
// the running log, the log paths, message boxes asked for from the engine thread, wait views.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "common/TempHome.h"
#include "common/TestApps.h"
#include "engine/MigrationDriver.h"
#include "engine/RecordingFrontEnd.h"
#include "misc/CxDebugUtil.h"
#include "misc/FlowCancel.h"
#include "misc/Settings.h"
#include "ui/EngineRunner.h"
#include "ui/QtFrontEnd.h"
#include "ui/TfmDebug.h"
#include "ui/TfmDump.h"

namespace {

// Runs answer on the modal dialog of type T as soon as one is up.
template <class T> void WhenModal(std::function<void(T*)> answer)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
        }
    });
    timer->start();
}

} // namespace

class TfmDialogsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<fwtest::TempHome> m_home;
    std::unique_ptr<fwtest::RecordingFrontEnd> m_frontEnd;

private slots:
    void init()
    {
        m_home = std::make_unique<fwtest::TempHome>();
        m_frontEnd = std::make_unique<fwtest::RecordingFrontEnd>();
        m_frontEnd->makeViews = false;
        SetFrontEnd(m_frontEnd.get());
    }

    void cleanup()
    {
        EndSession(false);
        SetFrontEnd(nullptr);
        m_frontEnd.reset();
        m_home.reset();
    }

    void debugDialogLevels_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("saved");
        QTest::newRow("critical") << 0 << 0 << 0;
        QTest::newRow("high") << 1 << 1 << 1;
        QTest::newRow("2 shows low, stores 3") << 2 << 2 << 3;
        QTest::newRow("low") << 3 << 2 << 3;
    }

    void debugDialogLevels()
    {
        QFETCH(int, stored);
        QFETCH(int, entry);
        QFETCH(int, saved);
        m_home->WriteFile("config/corvane/FWLN/FWLN.ini",
                          std::string("[") + kSettingsSection +
                              "]\nEnableDebug=0\nLogLevel=" + std::to_string(stored) + "\n");
        BeginSession(fwtest::TestApps());
        QCOMPARE(g_Settings().LogLevel, stored);
        TfmDebug dialog;
        QCOMPARE(dialog.windowTitle(), QString("Ferrywise Debug Log Options"));
        QCOMPARE(dialog.size(), QSize(525, 376));
        auto* level = dialog.findChild<QComboBox*>("cbxLevel");
        QCOMPARE(level->count(), 3);
        QCOMPARE(level->currentIndex(), entry);
        QCOMPARE(level->itemText(2), QString("Low - Log very detail debug information."));
        dialog.findChild<QCheckBox*>("cbEnable")->setChecked(true);
        dialog.findChild<QPushButton*>("btnOK")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(g_Settings().LogLevel, saved);
        QVERIFY(g_Settings().EnableDebug);
        QCOMPARE(g_debugLog.GetLogLevel(), saved);
        QVERIFY(g_debugLog.IsEnabled());
    }

    void debugDialogCancelChangesNothing()
    {
        BeginSession(fwtest::TestApps());
        g_Settings().EnableDebug = false;
        g_Settings().LogLevel = 1;
        g_debugLog.EnableLog(false);
        g_debugLog.SetLogLevel(1);
        TfmDebug dialog;
        dialog.findChild<QCheckBox*>("cbEnable")->setChecked(true);
        dialog.findChild<QComboBox*>("cbxLevel")->setCurrentIndex(2);
        dialog.findChild<QPushButton*>("btnCancel")->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!g_Settings().EnableDebug);
        QCOMPARE(g_Settings().LogLevel, 1);
        QVERIFY(!g_debugLog.IsEnabled());
        QCOMPARE(g_debugLog.GetLogLevel(), 1);
    }

    void bothDialogsShowTheLogPaths()
    {
        BeginSession(fwtest::TestApps());
        std::string folder;
        QVERIFY(GetWorkingFolder(folder));
        TfmDebug debug;
        TfmDump dump;
        QCOMPARE(dump.windowTitle(), QString("Handle Ferrywise Exception"));
        QCOMPARE(dump.size(), QSize(529, 392));
        for (QDialog* dialog : {static_cast<QDialog*>(&debug), static_cast<QDialog*>(&dump)}) {
            QCOMPARE(dialog->findChild<QLineEdit*>("edtFolder")->text(), QString::fromStdString(folder));
            QCOMPARE(dialog->findChild<QLineEdit*>("edtFile")->text(),
                     QString::fromStdString(folder + "appdebug.log"));
            QVERIFY(dialog->findChild<QLineEdit*>("edtFile")->isReadOnly());
        }
        QVERIFY(dump.findChild<QLabel*>("lblSupport")->text().contains(TfmDump::SupportAddress()));
    }

    void missingLogFileIsReported()
    {
        BeginSession(fwtest::TestApps());
        std::string folder;
        QVERIFY(GetWorkingFolder(folder));
        std::remove((folder + "appdebug.log").c_str());
        TfmDebug dialog;
        dialog.findChild<QPushButton*>("btnFile")->click();
        QCOMPARE(m_frontEnd->boxes.size(), std::size_t(1));
        QCOMPARE(m_frontEnd->boxes[0].text, std::string("Debug log file doesn't exist"));
        QCOMPARE(m_frontEnd->boxes[0].caption, std::string("Error"));
        QVERIFY(m_frontEnd->boxes[0].icon == MessageIcon::Information);
    }

    void debugOptionsFromTheExceptionDialogChangeTheRunningLog()
    {
        BeginSession(fwtest::TestApps());
        g_debugLog.SetLogLevel(0);
        TfmDump dump;
        WhenModal<TfmDebug>([](TfmDebug* debug) {
            debug->findChild<QComboBox*>("cbxLevel")->setCurrentIndex(1);
            debug->findChild<QPushButton*>("btnOK")->click();
        });
        dump.findChild<QPushButton*>("btnDebug")->click();
        QCOMPARE(g_debugLog.GetLogLevel(), 1);
        QCOMPARE(g_Settings().LogLevel, 1);
    }

    void quitFromTheExceptionDialogClosesTheMainWindow()
    {
        QWidget main;
        main.show();
        bool closed = false;
        struct CloseSpy : QObject
        {
            bool* closed;
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::Close) {
                    *closed = true;
                }
                return false;
            }
        } spy;
        spy.closed = &closed;
        main.installEventFilter(&spy);
        TfmDump dump(&main);
        dump.findChild<QPushButton*>("btnExit")->click();
        QCOMPARE(dump.result(), int(QDialog::Rejected));
        QTRY_VERIFY(closed);
        QTRY_VERIFY(!main.isVisible());
    }

    void engineWorkRunsOffTheGuiThreadWithTheWizardDisabled()
    {
        QWidget wizard;
        wizard.show();
        std::atomic<bool> disabledMeanwhile{false};
        std::thread::id worker;
        const bool result = RunOffGuiThread(&wizard, [&] {
            worker = std::this_thread::get_id();
            disabledMeanwhile = !wizard.isEnabled();
            return true;
        });
        QVERIFY(result);
        QVERIFY(worker != std::this_thread::get_id());
        QVERIFY(disabledMeanwhile);
        QVERIFY(wizard.isEnabled());
    }

    void engineExceptionOpensTheExceptionDialogAndGivesFalse()
    {
        QWidget wizard;
        const bool result =
            RunOffGuiThread(&wizard, []() -> bool { throw std::runtime_error("disk on fire"); });
        QVERIFY(!result);
        QVERIFY(wizard.isEnabled());
        QCOMPARE(m_frontEnd->dialogs.size(), std::size_t(1));
        QCOMPARE(m_frontEnd->dialogs[0].what, std::string("disk on fire"));
    }

    void messageBoxFromTheEngineThreadIsShownOnTheGuiThread()
    {
        QWidget wizard;
        wizard.show();
        QtFrontEnd frontEnd(&wizard);
        QString shownText;
        QWidget* shownParent = nullptr;
        bool onGuiThread = false;
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            shownText = box->text();
            shownParent = box->parentWidget();
            onGuiThread = QThread::currentThread() == qApp->thread();
            box->accept();
        });
        std::atomic<bool> answered{false};
        const bool result = RunOffGuiThread(&wizard, [&] {
            frontEnd.MessageBox(nullptr, "Lotus Notes is not running", "Error", MessageIcon::Error);
            answered = true; // only after the box was closed
            return true;
        });
        QVERIFY(result);
        QVERIFY(answered);
        QCOMPARE(shownText, QString("Lotus Notes is not running"));
        QCOMPARE(shownParent, &wizard);
        QVERIFY(onGuiThread);
    }

    void waitViewIsAFramelessToolWindowThatNeverCoversAMessageBox()
    {
        QWidget wizard;
        QtFrontEnd frontEnd(&wizard);
        std::unique_ptr<IWaitView> view;
        std::thread([&] {
            view = frontEnd.CreateWaitView();
            view->Repaint({"Loading Lotus Notes contacts", 3000, 5});
        }).join();
        QTRY_COMPARE(frontEnd.WaitWidgets().size(), qsizetype(1));
        QPointer<QWidget> window = frontEnd.WaitWidgets().front();
        QCOMPARE(window->size(), QSize(480, 150));
        QVERIFY(window->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY((window->windowFlags() & Qt::WindowType_Mask) == Qt::Tool);
        QVERIFY(!window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

        bool waitShownUnderBox = true;
        WhenModal<QMessageBox>([&](QMessageBox* box) {
            waitShownUnderBox = !frontEnd.WaitWidgets().isEmpty();
            box->accept();
        });
        frontEnd.MessageBox(nullptr, "Done", "Information", MessageIcon::Information);
        QVERIFY(!waitShownUnderBox);

        // The hidden window is closed and deleted when the view goes.
        std::thread([&] { view.reset(); }).join();
        QTRY_VERIFY(window.isNull());
    }

    void waitViewPaintsTextTimeAndBlocks_data()
    {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("blocks");
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("five") << 5 << 5;
        QTest::newRow("full bar") << 17 << 17;
        QTest::newRow("starts again") << 18 << 0;
    }

    void waitViewPaintsTextTimeAndBlocks()
    {
        QFETCH(int, ticks);
        QFETCH(int, blocks);
        QtFrontEnd frontEnd;
        std::unique_ptr<IWaitView> view;
        std::thread([&] {
            view = frontEnd.CreateWaitView();
            view->Repaint({"Comparing", 2500, ticks});
        }).join();
        QTRY_COMPARE(frontEnd.WaitWidgets().size(), qsizetype(1));
        QCoreApplication::processEvents();
        const QImage image = frontEnd.WaitWidgets().front()->grab().toImage();
        const QColor bar(0, 128, 192);
        int drawn = 0;
        for (int slot = 0; slot < 20; ++slot) {
            const int x = 1 + 20 + slot * 25 + 10;
            if (x < image.width() && image.pixelColor(x, 1 + 100 + 6) == bar) {
                ++drawn;
            }
        }
        QCOMPARE(drawn, blocks);
        std::thread([&] { view.reset(); }).join();
        QTRY_VERIFY(frontEnd.WaitWidgets().isEmpty());
    }

    // The wait window's Cancel: during a load it asks the flow to stop and says it is
    // cancelling; while records are written it is refused with the reason; with no flow
    // running it does nothing.
    void waitViewCancelAsksTheFlowToStop_data()
    {
        QTest::addColumn<int>("phase");
        QTest::addColumn<bool>("requested");
        QTest::addColumn<bool>("refusedBox");
        QTest::addColumn<QString>("buttonText");
        QTest::newRow("loading") << int(FlowCancel::Phase::Loading) << true << false << "Cancelling";
        QTest::newRow("writing") << int(FlowCancel::Phase::Writing) << false << true << "Cancel";
        QTest::newRow("idle") << int(FlowCancel::Phase::Idle) << false << false << "Cancel";
    }

    void waitViewCancelAsksTheFlowToStop()
    {
        QFETCH(int, phase);
        QFETCH(bool, requested);
        QFETCH(bool, refusedBox);
        QFETCH(QString, buttonText);
        FlowCancel::Begin(static_cast<FlowCancel::Phase>(phase));
        QtFrontEnd frontEnd;
        std::unique_ptr<IWaitView> view;
        std::thread([&] {
            view = frontEnd.CreateWaitView();
            view->Repaint({"Loading Lotus Notes Contacts ...", 1000, 1});
        }).join();
        QTRY_COMPARE(frontEnd.WaitWidgets().size(), qsizetype(1));
        auto* cancel = frontEnd.WaitWidgets().front()->findChild<QPushButton*>("btnCancel");
        QVERIFY(cancel != nullptr);
        QCOMPARE(cancel->text(), QString("Cancel"));
        QVERIFY(cancel->isEnabled());

        QString refused;
        if (refusedBox) {
            WhenModal<QMessageBox>([&](QMessageBox* box) {
                refused = box->text();
                box->accept();
            });
        }
        cancel->click();
        QCOMPARE(FlowCancel::Requested(), requested);
        QCOMPARE(!refused.isEmpty(), refusedBox);
        if (refusedBox) {
            QVERIFY(refused.contains("half written"));
        }
        QCOMPARE(cancel->text(), buttonText);
        QCOMPARE(cancel->isEnabled(), !requested);
        FlowCancel::End();
        QPointer<QWidget> window = frontEnd.WaitWidgets().front();
        std::thread([&] { view.reset(); }).join();
        QTRY_VERIFY(window.isNull());
    }
};

QTEST_MAIN(TfmDialogsTest)
#include "TfmDialogsTest.moc"
