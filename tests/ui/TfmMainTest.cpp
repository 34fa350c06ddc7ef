// The wizard frame: steps, Prev, Next, Restart, Finish, the source page's Google rule and
// refusal, the results page's counts, through fake connectors and a recording front end.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <memory>

#include "common/ChildProcesses.h"
#include "common/TempHome.h"
#include "common/TestApps.h"
#include "engine/FakeConnector.h"
#include "engine/MigrationDriver.h"
#include "engine/RecordingFrontEnd.h"
#include "misc/Settings.h"
#include "palm/PalmClassicFiles.h"
#include "palm/PalmEnv.h"
#include "ui/TfmMain.h"
#include "ui/TfmPage.h"

using fwtest::FakeRecord;
using fwtest::PlanOf;

namespace {

QString Caption(QPushButton* button)
{
    return button->text().remove('&');
}

} // namespace

class TfmMainTest : public QObject
{
    Q_OBJECT

private:
    template <class T> T* Find(const char* name)
    {
        T* found = m_main->findChild<T*>(name);
        if (found == nullptr) {
            qFatal("no control named %s", name);
        }
        return found;
    }
    QPushButton* Button(const char* name) { return Find<QPushButton>(name); }
    // The results page's count labels (the comparison pages have labels of the same names).
    QString Count(const char* name) const
    {
        auto* label = m_main->PageOfStep(5)->findChild<QLabel*>(name);
        return label != nullptr ? label->text() : QString("(missing)");
    }
    QString VisiblePageName() const
    {
        TfmPage* page = m_main->VisiblePage();
        return page != nullptr
                   ? page->objectName().isEmpty() ? page->metaObject()->className() : page->objectName()
                   : QString();
    }

    // Palm Desktop with the given data types, a Lotus Notes program named, up to the
    // comparison page through the fakes.
    void ChooseSource(const char* radio, std::initializer_list<const char*> types)
    {
        Find<QRadioButton>(radio)->click();
        for (const char* box : {"cbAddr", "cbDate", "cbTask", "cbNote"}) {
            QCheckBox* check = Find<QCheckBox>(box);
            if (check->isEnabled()) {
                check->setChecked(false);
            }
        }
        for (const char* box : types) {
            Find<QCheckBox>(box)->setChecked(true);
        }
    }
    void GoToComparison()
    {
        ChooseSource("rbtnPD", {"cbAddr", "cbNote"});
        for (int step = 0; step < 4; ++step) {
            Button("btnNext")->click();
        }
        QCOMPARE(m_main->CurrentStep(), 4);
    }

    std::unique_ptr<fwtest::TempHome> m_home;
    std::unique_ptr<fwtest::RecordingFrontEnd> m_frontEnd;
    std::unique_ptr<TfmMain> m_main;

private slots:
    void init()
    {
        m_home = std::make_unique<fwtest::TempHome>();
        m_frontEnd = std::make_unique<fwtest::RecordingFrontEnd>();
        m_frontEnd->makeViews = false;
        SetFrontEnd(m_frontEnd.get());
        SetFlowPause(std::chrono::milliseconds(0));
        fwtest::Plans().clear();
        fwtest::RegisterFakes({kAppNotes, kAppPalm});
        PlanOf(kAppPalm, kDataContacts).records = {{"Ann", "a"}, {"Bob", "b"}, {"Cid", "new"}};
        PlanOf(kAppNotes, kDataContacts).records = {{"Bob", "b"}, {"Cid", "old"}};
        PlanOf(kAppPalm, kDataNotes).records = {{"Memo", "x"}};
        // The Palm page goes on only with a user; the fake connectors load the records.
        if (!fwtest::WriteClassicUser(m_home->Path("Palm"), "Anna", {}, {}, {}, {})) {
            qFatal("cannot write the Palm user");
        }
        PmSetDesktopFolderOverride(m_home->Path("Palm"));
        m_main = std::make_unique<TfmMain>(fwtest::TestApps());
        // The Lotus Notes page refuses an empty program path; any name will do here.
        std::snprintf(g_Settings().LNAppName, sizeof g_Settings().LNAppName, "%s", "/usr/bin/true");
        m_main->show();
    }

    void cleanup()
    {
        m_main.reset();
        fwtest::UnregisterAllConnectors();
        SetFrontEnd(nullptr);
        m_frontEnd.reset();
        PmSetDesktopFolderOverride("");
        PmResetUserList();
        m_home.reset();
    }

    void firstStartShowsGoogleWithContactsAndCalendar()
    {
        QCOMPARE(m_main->windowTitle(), QString("Ferrywise for Lotus Notes"));
        QCOMPARE(m_main->size(), QSize(794, 594));
        QCOMPARE(m_main->CurrentStep(), 0);
        QCOMPARE(m_main->StepCount(), 0);
        QCOMPARE(VisiblePageName(), QString("TfmSource"));
        QVERIFY(Find<QRadioButton>("rbtnGG")->isChecked());
        QVERIFY(Find<QCheckBox>("cbAddr")->isChecked());
        QVERIFY(Find<QCheckBox>("cbDate")->isChecked());
        for (const char* name : {"cbTask", "cbNote"}) {
            QVERIFY(!Find<QCheckBox>(name)->isEnabled());
            QVERIFY(!Find<QCheckBox>(name)->isChecked());
        }
        QVERIFY(!Button("btnPrev")->isEnabled());
        QCOMPARE(Caption(Button("btnPrev")), QString("< Prev"));
        QVERIFY(Button("btnNext")->isEnabled());
        QCOMPARE(Caption(Button("btnNext")), QString("Next >"));
        QCOMPARE(Caption(Button("btnClose")), QString("Close"));
        QCOMPARE(Caption(Button("btnOption")), QString("Options"));
        QCOMPARE(Caption(Button("btnHelp")), QString("Help"));
        for (const char* name : {"btnPrev", "btnNext", "btnClose", "btnOption"}) {
            QCOMPARE(Button(name)->size(), QSize(80, 27));
        }
        QVERIFY(m_main->findChild<QLabel*>("imgText") != nullptr);
    }

    void googleRule_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<bool>("tickTasksAfterFirst");
        QTest::addColumn<bool>("tasksEnabled");
        QTest::addColumn<bool>("tasksTicked");
        QTest::newRow("Outlook enables, unticked") << QStringList{"rbtnOL"} << false << true << false;
        QTest::newRow("ACT! keeps a tick") << QStringList{"rbtnOL", "rbtnACT"} << true << true << true;
        QTest::newRow("Palm Desktop keeps a tick")
            << QStringList{"rbtnACT", "rbtnPD"} << true << true << true;
        QTest::newRow("Google again unticks") << QStringList{"rbtnOL", "rbtnGG"} << true << false << false;
    }

    void googleRule()
    {
        QFETCH(QStringList, clicks);
        QFETCH(bool, tickTasksAfterFirst);
        QFETCH(bool, tasksEnabled);
        QFETCH(bool, tasksTicked);
        for (int i = 0; i < clicks.size(); ++i) {
            Find<QRadioButton>(clicks[i].toLatin1().constData())->click();
            if (i == 0 && tickTasksAfterFirst) {
                Find<QCheckBox>("cbTask")->setChecked(true);
                Find<QCheckBox>("cbNote")->setChecked(true);
            }
        }
        for (const char* name : {"cbTask", "cbNote"}) {
            QCOMPARE(Find<QCheckBox>(name)->isEnabled(), tasksEnabled);
            QCOMPARE(Find<QCheckBox>(name)->isChecked(), tasksTicked);
        }
    }

    void noDataTypeTickedIsRefused()
    {
        ChooseSource("rbtnOL", {});
        Button("btnNext")->click();
        QCOMPARE(m_frontEnd->boxes.size(), std::size_t(1));
        QCOMPARE(m_frontEnd->boxes[0].text,
                 std::string("Please migrate at least one type of application data."));
        QCOMPARE(m_frontEnd->boxes[0].caption, std::string("Error"));
        QVERIFY(m_frontEnd->boxes[0].icon == MessageIcon::Error);
        QCOMPARE(m_main->CurrentStep(), 0);
        QCOMPARE(m_main->StepCount(), 0);
        QCOMPARE(VisiblePageName(), QString("TfmSource"));
    }

    void sourcePageStoresItsChoice_data()
    {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<int>("kind");
        QTest::newRow("Google") << "rbtnGG" << int(kAppGoogle);
        QTest::newRow("Outlook") << "rbtnOL" << int(kAppOutlook);
        QTest::newRow("ACT!") << "rbtnACT" << int(kAppACT);
        QTest::newRow("Palm Desktop") << "rbtnPD" << int(kAppPalm);
    }

    void sourcePageStoresItsChoice()
    {
        QFETCH(QString, radio);
        QFETCH(int, kind);
        ChooseSource(radio.toLatin1().constData(), {"cbDate"});
        Button("btnNext")->click();
        QCOMPARE(m_main->CurrentStep(), 1);
        QCOMPARE(m_main->StepCount(), 6);
        QCOMPARE(g_Settings().SourceApp, kind);
        QVERIFY(!g_Settings().SyncAddr);
        QVERIFY(g_Settings().SyncDate);
        QVERIFY(!g_Settings().SyncTask);
        QVERIFY(!g_Settings().SyncNote);
        QCOMPARE(VisiblePageName(), QString(m_main->PageOfStep(1)->objectName()));
        QVERIFY(Button("btnPrev")->isEnabled());
        QCOMPARE(Caption(Button("btnPrev")), QString("< Prev"));
        QCOMPARE(Caption(Button("btnNext")), QString("Next >"));
    }

    void nextAndPrevWalkThePagesOfTheSource()
    {
        ChooseSource("rbtnPD", {"cbAddr"});
        const char* const expected[] = {"TfmSource", "TfmLNOption1", "TfmLNOption2", "TfmPDOption",
                                        "TfmPDData"};
        for (int step = 1; step <= 4; ++step) {
            Button("btnNext")->click();
            QCOMPARE(m_main->CurrentStep(), step);
            QCOMPARE(m_main->VisiblePage(), m_main->PageOfStep(step));
            QCOMPARE(m_main->PageOfStep(step)->metaObject()->className(), expected[step]);
        }
        for (int step = 3; step >= 0; --step) {
            Button("btnPrev")->click();
            QCOMPARE(m_main->CurrentStep(), step);
            QCOMPARE(m_main->VisiblePage(), m_main->PageOfStep(step));
        }
        QVERIFY(!Button("btnPrev")->isEnabled());
        QCOMPARE(m_main->StepCount(), 6);
    }

    void resultsPageCountsTheSelectionAndOffersRestart()
    {
        GoToComparison();
        Button("btnNext")->click();
        QCOMPARE(m_main->CurrentStep(), 5);
        QCOMPARE(m_main->VisiblePage(), m_main->PageOfStep(5));
        // Ann is new and Cid differs; Bob is the same and stays unticked.
        QCOMPARE(Count("lblAddrCount"), QString("2"));
        QCOMPARE(Count("lblDateCount"), QString("0"));
        QCOMPARE(Count("lblTaskCount"), QString("0"));
        QCOMPARE(Count("lblNoteCount"), QString("1"));
        QVERIFY(!Button("btnNext")->isEnabled());
        QCOMPARE(Caption(Button("btnNext")), QString("Finish"));
        QVERIFY(Button("btnPrev")->isEnabled());
        QCOMPARE(Caption(Button("btnPrev")), QString("Restart"));
        QCOMPARE(fwtest::Fake(kAppNotes, kDataContacts)->submits.size(), std::size_t(2));

        Button("btnNext")->click(); // disabled: nothing happens
        QCOMPARE(m_main->CurrentStep(), 5);
        Button("btnPrev")->click();
        QCOMPARE(m_main->CurrentStep(), 0);
        QCOMPARE(VisiblePageName(), QString("TfmSource"));
        QVERIFY(!Button("btnPrev")->isEnabled());
        QCOMPARE(Caption(Button("btnNext")), QString("Next >"));
    }

    void newMigrationReturnsToTheSourcePageKeepingItsChoice()
    {
        GoToComparison();
        Button("btnNext")->click();
        QCOMPARE(m_main->CurrentStep(), 5);
        Button("btnNew")->click();
        QCOMPARE(m_main->CurrentStep(), 0);
        QVERIFY(Find<QRadioButton>("rbtnPD")->isChecked());
        QVERIFY(Find<QCheckBox>("cbNote")->isChecked());
    }

    void backFromComparisonAndForwardLoadsAgain()
    {
        GoToComparison();
        QCOMPARE(fwtest::Fake(kAppPalm, kDataContacts)->loads, 1);
        Button("btnPrev")->click();
        QCOMPARE(m_main->CurrentStep(), 3);
        PlanOf(kAppPalm, kDataContacts).records.push_back({"Dee", "d"});
        Button("btnNext")->click();
        QCOMPARE(m_main->CurrentStep(), 4);
        QCOMPARE(fwtest::Fake(kAppPalm, kDataContacts)->loads, 2);
        Button("btnNext")->click();
        QCOMPARE(Count("lblAddrCount"), QString("3"));
    }

    void failedLoadKeepsTheOptionsPage()
    {
        PlanOf(kAppPalm, kDataContacts).loadResult = false;
        PlanOf(kAppPalm, kDataContacts).errorText = "Palm Desktop data file not found";
        ChooseSource("rbtnPD", {"cbAddr"});
        for (int step = 0; step < 4; ++step) {
            Button("btnNext")->click();
        }
        QCOMPARE(m_main->CurrentStep(), 3);
        QCOMPARE(m_main->VisiblePage(), m_main->PageOfStep(3));
        QVERIFY(!m_frontEnd->boxes.empty());
        QVERIFY(m_main->isEnabled());
    }

    void failedSubmitKeepsTheComparisonPage()
    {
        GoToComparison();
        PlanOf(kAppNotes, kDataContacts).commitResult = false;
        Button("btnNext")->click();
        QCOMPARE(m_main->CurrentStep(), 4);
        QCOMPARE(m_main->VisiblePage(), m_main->PageOfStep(4));
        QVERIFY(m_main->isEnabled());
    }

    void resultsPageButtonsOpenTheirTargets_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("notesProgram"); // relative to the home; "" leaves the setting
        QTest::addColumn<QString>("ranMarker");    // written by the program when it was started
        QTest::addColumn<QString>("opened");       // handed to the desktop's "open"; "" for none
        QTest::newRow("executable Lotus Notes program is started") << "btnOL"
                                                                   << "bin/notes.sh"
                                                                   << "ran"
                                                                   << "";
        QTest::newRow("any other file goes to the desktop") << "btnOL"
                                                            << "notes.txt"
                                                            << ""
                                                            << "notes.txt";
        QTest::newRow("migration log") << "btnLog"
                                       << ""
                                       << ""
                                       << "config/corvane/FWLN/MILog.txt";
    }

    void resultsPageButtonsOpenTheirTargets()
    {
        QFETCH(QString, button);
        QFETCH(QString, notesProgram);
        QFETCH(QString, ranMarker);
        QFETCH(QString, opened);
        const std::string log = m_home->Path("opened.log");
        const std::string opener =
            m_home->WriteFile("bin/opener.sh", "#!/bin/sh\necho \"$1\" >> " + log + "\n");
        const std::string program =
            m_home->WriteFile("bin/notes.sh", "#!/bin/sh\ntouch " + m_home->Path("ran") + "\n");
        m_home->WriteFile("notes.txt", "not a program\n");
        m_home->WriteFile("config/corvane/FWLN/MILog.txt", "Start migrating information to Lotus Notes.\r\n");
        for (const std::string& script : {opener, program}) {
            QFile::setPermissions(QString::fromStdString(script),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("FERRYWISE_OPEN_COMMAND", opener.c_str());
        if (!notesProgram.isEmpty()) {
            std::snprintf(g_Settings().LNAppName, sizeof g_Settings().LNAppName, "%s",
                          m_home->Path(notesProgram.toStdString()).c_str());
        }
        m_main->PageOfStep(5)->findChild<QPushButton*>(button)->click();
        if (!ranMarker.isEmpty()) {
            QTRY_VERIFY(QFileInfo::exists(QString::fromStdString(m_home->Path(ranMarker.toStdString()))));
        }
        if (opened.isEmpty()) {
            // The desktop's opener would have been started before the click returned, and
            // writes its line before it ends.
            QVERIFY2(fwtest::WaitUntilNoChildProcesses(), "a child process never ended");
            QVERIFY(!QFileInfo::exists(QString::fromStdString(log)));
        } else {
            const QString expected = QString::fromStdString(m_home->Path(opened.toStdString())) + "\n";
            QTRY_COMPARE(QString::fromStdString(m_home->ReadFile("opened.log")), expected);
        }
        qunsetenv("FERRYWISE_OPEN_COMMAND");
    }

    // View Migration Log and Help never do nothing: a file that is missing, or that no program
    // can open, is named in a message.
    void filesThatCannotBeOpenedAreNamed_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("opener"); // its exit status; "" for an opener that is not there
        QTest::addColumn<bool>("logExists");
        QTest::addColumn<QString>("message"); // a part of the message; "" for none
        QTest::addColumn<QString>("file");    // the file the message names
        QTest::newRow("log, no program for it") << "btnLog"
                                                << "3" << true << "No program could open the migration log"
                                                << "MILog.txt";
        QTest::newRow("log, no opener at all") << "btnLog"
                                               << "" << true << "No program could open the migration log"
                                               << "MILog.txt";
        QTest::newRow("log, not written yet") << "btnLog"
                                              << "0" << false << "does not exist"
                                              << "MILog.txt";
        QTest::newRow("log opened") << "btnLog"
                                    << "0" << true << ""
                                    << "";
        QTest::newRow("help, no program for it") << "btnHelp"
                                                 << "4" << false << "No program could open the user guide"
                                                 << "user-guide.html";
        QTest::newRow("help opened") << "btnHelp"
                                     << "0" << false << ""
                                     << "";
    }

    void filesThatCannotBeOpenedAreNamed()
    {
        QFETCH(QString, button);
        QFETCH(QString, opener);
        QFETCH(bool, logExists);
        QFETCH(QString, message);
        QFETCH(QString, file);
        std::string script = m_home->Path("bin/missing-opener");
        if (!opener.isEmpty()) {
            script = m_home->WriteFile("bin/opener.sh", "#!/bin/sh\nexit " + opener.toStdString() + "\n");
            QFile::setPermissions(QString::fromStdString(script),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        if (logExists) {
            m_home->WriteFile("config/corvane/FWLN/MILog.txt",
                              "Start migrating information to Lotus Notes.\r\n");
        }
        qputenv("FERRYWISE_OPEN_COMMAND", script.c_str());
        QPushButton* clicked =
            button == "btnLog" ? m_main->PageOfStep(5)->findChild<QPushButton*>("btnLog") : Button("btnHelp");
        QVERIFY(clicked != nullptr);
        clicked->click();
        qunsetenv("FERRYWISE_OPEN_COMMAND");
        if (message.isEmpty()) {
            QVERIFY(m_frontEnd->boxes.empty());
            return;
        }
        QCOMPARE(m_frontEnd->boxes.size(), std::size_t(1));
        const QString text = QString::fromStdString(m_frontEnd->boxes[0].text);
        QVERIFY2(text.contains(message), qPrintable(text));
        QVERIFY2(text.contains("/" + file), qPrintable(text));
        QCOMPARE(m_frontEnd->boxes[0].caption, std::string("Error"));
    }

    // The design's size is the least the window takes; it grows, and the page with it.
    void windowGrowsFromTheDesignSize()
    {
        QCOMPARE(m_main->minimumSize(), QSize(794, 594));
        QVERIFY(m_main->maximumSize().width() > 794 && m_main->maximumSize().height() > 594);
        GoToComparison();
        QWidget* page = m_main->VisiblePage();
        const QSize before = page->size();
        m_main->resize(1100, 800);
        QTRY_COMPARE(m_main->size(), QSize(1100, 800));
        QTRY_VERIFY(page->width() >= before.width() + 300 && page->height() >= before.height() + 200);
        m_main->resize(600, 400);
        QTRY_COMPARE(m_main->size(), QSize(794, 594));
    }

    void settingsAreSavedWhenTheWizardCloses()
    {
        ChooseSource("rbtnACT", {"cbTask"});
        Button("btnNext")->click();
        Button("btnClose")->click();
        QVERIFY(!m_main->isVisible());
        m_main.reset();
        QVERIFY(m_home->ReadFile("config/corvane/FWLN/FWLN.ini").find("SourceApp=1") != std::string::npos);
    }
};

QTEST_MAIN(TfmMainTest)
#include "TfmMainTest.moc"
