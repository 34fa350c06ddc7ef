// The wizard from the source page to the results page against the stand-in Lotus Notes
// helpers (real connectors, real helper programs, a local Lotus Notes in a temporary home):
// with a stand-in Palm Desktop source a second run finds the migrated records the same; with
// the real Palm Desktop connectors a classic user folder lands in the local Lotus Notes store.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <cstdlib>
#include <memory>

#include "common/TempHome.h"
#include "engine/FakeConnector.h"
#include "engine/MigrationDriver.h"
#include "engine/RecordingFrontEnd.h"
#include "lotus/LNRegistration.h"
#include "misc/Settings.h"
#include "notes/LNLocalSetup.h"
#include "notes/NotesStore.h"
#include "palm/PalmClassicFiles.h"
#include "palm/PalmEnv.h"
#include "palm/PalmRegistration.h"
#include "platform/Files.h"
#include "ui/TfmMain.h"
#include "ui/TfmPage.h"

class WizardEndToEndTest : public QObject
{
    Q_OBJECT

private:
    QString Count(TfmMain& main, const char* name)
    {
        auto* label = main.PageOfStep(5)->findChild<QLabel*>(name);
        return label != nullptr ? label->text() : QString("(missing)");
    }

    // One pass through the wizard with the Palm Desktop data types ticked (contacts and notes
    // unless told); gives false when it stopped before the results page.
    bool RunWizard(TfmMain& main, const QStringList& ticked = {"cbAddr", "cbNote"})
    {
        main.findChild<QRadioButton*>("rbtnPD")->click();
        for (const char* box : {"cbAddr", "cbDate", "cbTask", "cbNote"}) {
            main.findChild<QCheckBox*>(box)->setChecked(ticked.contains(box));
        }
        auto* next = main.findChild<QPushButton*>("btnNext");
        for (int step = 1; step <= 5; ++step) {
            next->click();
            if (main.CurrentStep() != step) {
                qWarning("stopped at step %d", main.CurrentStep());
                for (const auto& box : m_frontEnd->boxes) {
                    qWarning("message: %s", box.text.c_str());
                }
                return false;
            }
        }
        return true;
    }

    // Every item of a table of the local Lotus Notes store, straight from the database.
    template <class Rec> static std::vector<Rec> Items(const std::string& path, NotesItemKind kind)
    {
        std::vector<Rec> items;
        NotesStore store;
        std::string error;
        int count = 0;
        if (!store.Open(path, error) || !store.BeginRead(kind, &count, error)) {
            qWarning("%s", error.c_str());
            return items;
        }
        for (Rec rec{}; store.Next(&rec, error); rec = Rec{}) {
            items.push_back(rec);
        }
        return items;
    }

    std::unique_ptr<fwtest::TempHome> m_home;
    std::unique_ptr<fwtest::RecordingFrontEnd> m_frontEnd;
    LNLocalSetupResult m_local;

private slots:
    void init()
    {
        m_home = std::make_unique<fwtest::TempHome>();
        // The helper programs are built beside the wizard.
        ::setenv("FERRYWISE_HELPER_DIR", QT_TESTCASE_BUILDDIR "/../bin", 1);
        m_frontEnd = std::make_unique<fwtest::RecordingFrontEnd>();
        m_frontEnd->makeViews = false;
        SetFrontEnd(m_frontEnd.get());
        SetFlowPause(std::chrono::milliseconds(0));
        m_local = LNLocalSetupResult{};
        std::string error;
        QVERIFY2(EnsureLocalLotusNotes(m_local, error), error.c_str());
        PmResetUserList();
        RegisterLotusConnectors();
        fwtest::Plans().clear();
        fwtest::RegisterFakes({kAppPalm});
        fwtest::PlanOf(kAppPalm, kDataContacts).records = {{"Anna Berg", "Berg & Sons"},
                                                           {"Bruno Costa", "Costa"}};
        fwtest::PlanOf(kAppPalm, kDataNotes).records = {{"Timetable", "Summer schedule"}};
    }

    void cleanup()
    {
        UnregisterAllConnectors();
        SetFrontEnd(nullptr);
        m_frontEnd.reset();
        ::unsetenv("FERRYWISE_HELPER_DIR");
        PmResetUserList();
        m_home.reset();
    }

    void migratesAndASecondRunFindsTheRecordsTheSame()
    {
        TfmMain main;
        std::snprintf(g_Settings().LNAppName, sizeof g_Settings().LNAppName, "%s", "/usr/bin/true");
        main.show();
        QVERIFY(RunWizard(main));
        QCOMPARE(Count(main, "lblAddrCount"), QString("2"));
        QCOMPARE(Count(main, "lblNoteCount"), QString("1"));
        QCOMPARE(Count(main, "lblDateCount"), QString("0"));
        QVERIFY(m_frontEnd->dialogs.empty());

        main.findChild<QPushButton*>("btnPrev")->click(); // Restart
        QCOMPARE(main.CurrentStep(), 0);
        QVERIFY(RunWizard(main));
        QCOMPARE(Count(main, "lblAddrCount"), QString("0"));
        QCOMPARE(Count(main, "lblNoteCount"), QString("0"));
    }

    // A Palm Desktop 4.0.1 installation, found through the registry, with one classic user:
    // TfmPDOption selects the user, TfmPDData ticks every record, and all four data types land
    // in the local Lotus Notes store and in the migration log, names in the code page intact.
    void classicPalmUserMigratesIntoTheLocalStore()
    {
        UnregisterAllConnectors();
        RegisterLotusConnectors();
        RegisterPalmConnectors();
        const std::string desktop = m_home->Path("Palm Desktop");
        QVERIFY(fwtest::WriteClassicUser(
            desktop, "Anna Berg",
            {{"M\xFCller", "J\xFCrgen", "F\xE4hre Nord", "040 123", "juergen@harbour.example", ""},
             {"Costa", "Bruno", "Costa Shipping", "", "", "Prefers the early ferry"}},
            {{1362209400, 1362211200, "Crossing to Helsinki"}}, {{"Renew harbour permit", -1, 1}},
            {{"Timetable ideas\nSummer schedule"}}));
        std::string registry;
        platform::ReadWholeFile(m_home->RegistryFile(), registry);
        registry +=
            "\n[HKEY_CURRENT_USER\\Software\\U.S. Robotics\\Pilot Desktop\\Core]\nDesktopPath=" + desktop +
            "/\n[FileVersions]\n" + desktop + "/palm.exe=4.0.1.0\n";
        m_home->WriteFile("registry.ini", registry);

        TfmMain main;
        std::snprintf(g_Settings().LNAppName, sizeof g_Settings().LNAppName, "%s", "/usr/bin/true");
        // The calendar and tasks database is typed by the user; the local one is the mail file.
        std::snprintf(g_Settings().LNDateName, sizeof g_Settings().LNDateName, "%smail.nsf",
                      m_local.DataFolder.c_str());
        main.show();
        QVERIFY(RunWizard(main, {"cbAddr", "cbDate", "cbTask", "cbNote"}));
        QVERIFY(m_frontEnd->boxes.empty());
        QVERIFY(m_frontEnd->dialogs.empty());
        QCOMPARE(Count(main, "lblAddrCount"), QString("2"));
        QCOMPARE(Count(main, "lblDateCount"), QString("1"));
        QCOMPARE(Count(main, "lblTaskCount"), QString("1"));
        QCOMPARE(Count(main, "lblNoteCount"), QString("1"));
        QCOMPARE(PmGetUsers().size(), std::size_t(1));
        QCOMPARE(g_Settings().PDUserID, PmGetUsers()[0].userId);

        const auto contacts = Items<LNAddrRec>(m_local.DataFolder + "names.nsf", NotesItemKind::Contacts);
        QCOMPARE(contacts.size(), std::size_t(2));
        QCOMPARE(std::string(contacts[0].LastName), std::string("M\xFCller"));
        QCOMPARE(std::string(contacts[0].FirstName), std::string("J\xFCrgen"));
        QCOMPARE(std::string(contacts[0].Company), std::string("F\xE4hre Nord"));
        QCOMPARE(std::string(contacts[1].LastName), std::string("Costa"));
        const auto events = Items<LNDateRec>(m_local.DataFolder + "mail.nsf", NotesItemKind::Calendar);
        QCOMPARE(events.size(), std::size_t(1));
        QCOMPARE(std::string(events[0].Subject), std::string("Crossing to Helsinki"));
        const auto tasks = Items<LNTaskRec>(m_local.DataFolder + "mail.nsf", NotesItemKind::Tasks);
        QCOMPARE(tasks.size(), std::size_t(1));
        QCOMPARE(std::string(tasks[0].Subject), std::string("Renew harbour permit"));
        const auto notes = Items<LNNoteRec>(m_local.DataFolder + "notebook.nsf", NotesItemKind::Notes);
        QCOMPARE(notes.size(), std::size_t(1));
        QCOMPARE(std::string(notes[0].Title), std::string("Timetable ideas"));

        std::string log;
        QVERIFY(platform::ReadWholeFile(m_home->Path("config/corvane/FWLN/MILog.txt"), log));
        for (const char* line : {"\tCompany: F\xE4hre Nord", "\tEmail: juergen@harbour.example",
                                 "\tCompany: Costa Shipping", "\tSubject: Crossing to Helsinki",
                                 "\tSubject: Renew harbour permit", "\tBrief Note: Timetable ideas"}) {
            QVERIFY2(log.find(line) != std::string::npos, line);
        }
    }
};

QTEST_MAIN(WizardEndToEndTest)
#include "WizardEndToEndTest.moc"
