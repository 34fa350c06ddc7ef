// The wizard from the source page to the results page against the stand-in Lotus Notes
// helpers (real connectors, real helper programs, a local Lotus Notes in a temporary home):
// with a stand-in Palm Desktop source a second run finds the migrated records the same; with
// the real Palm Desktop connectors a classic user folder lands in the local Lotus Notes store,
// and a user folder of each Palm Desktop generation migrated twice is all the same the second
// time; so are an Outlook data file, a Google export folder and a stand-in ACT! database. A
// custom field mapping chosen in its dialog fills the custom fields of the Lotus Notes contacts.
// Closing the wizard during a slow load cancels it.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>
#include <QtTest>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <sys/stat.h>

#include "act/ACTLocalSetup.h"
#include "act/ACTStore.h"
#include "common/PinnedLocale.h"
#include "common/TempHome.h"
#include "common/TestApps.h"
#include "engine/FakeConnector.h"
#include "engine/MigrationDriver.h"
#include "engine/RecordingFrontEnd.h"
#include "misc/Settings.h"
#include "notes/LNLocalSetup.h"
#include "notes/NotesStore.h"
#include "outlook/OlDataFileApp.h"
#include "palm/PalmClassicFiles.h"
#include "palm/PalmEnv.h"
#include "palm/PalmExFileWriter.h"
#include "palm/PalmTestUsers.h"
#include "platform/Files.h"
#include "platform/KnownFolders.h"
#include "ui/CompareModel.h"
#include "ui/TfmAddrFieldMap.h"
#include "ui/TfmDataPage.h"
#include "ui/TfmMain.h"
#include "ui/TfmPage.h"

namespace {

const fwtest::PinnedLocale kPinned{"Europe/Berlin"}; // local times of the Palm files are Berlin's

constexpr std::int32_t kChristmas = 1735084800; // 2024-12-25 00:00 UTC
constexpr std::int32_t kCrossing = 1362209400;  // 2013-03-02 07:30 UTC

// A classic user folder: two contacts (one with a note longer than Lotus Notes keeps), a timed
// and an all-day event, an open and a completed to-do, and two memos (one that is cut).
bool WriteClassicGeneration(const std::string& folder)
{
    const std::filesystem::path path(folder);
    return fwtest::WriteClassicUser(
        path.parent_path().string(), path.filename().string(),
        {{"M\xFCller", "J\xFCrgen", "F\xE4hre Nord", "040 123", "juergen@harbour.example", ""},
         {"Costa", "Bruno", "Costa Shipping", "", "", std::string(6000, 'n')}},
        {{kCrossing, kCrossing + 1800, "Crossing to Helsinki"}, {kChristmas, kChristmas, "Christmas", true}},
        {{"Renew harbour permit", kChristmas, 2}, {"File taxes", -1, 1, true}},
        {{"Timetable ideas\nSummer schedule"}, {fwtest::LongMemo()}});
}

// A 4.1.x user folder with the same kinds of items; changed, the first contact has another
// phone number and the first memo another body.
bool WriteExUser(const std::string& folder, bool changed)
{
    std::vector<PmAddrExRec> contacts = fwtest::ExContacts();
    std::vector<PmDateExRec> events(2);
    events[0].recordId = 1;
    events[0].startTime = kCrossing;
    events[0].endTime = kCrossing + 1800;
    events[0].description = "Crossing to Helsinki";
    events[1].recordId = 2;
    events[1].startTime = kChristmas;
    events[1].endTime = kChristmas;
    events[1].description = "Christmas";
    events[1].untimed = 1;
    std::vector<PmTodoExRec> todos(2);
    todos[0].recordId = 1;
    todos[0].description = "Renew harbour permit";
    todos[0].dueDate = kChristmas;
    todos[1].recordId = 2;
    todos[1].description = "File taxes";
    todos[1].dueDate = -1;
    todos[1].completed = 1;
    std::vector<PmMemoExRec> memos(2);
    memos[0].recordId = 1;
    memos[0].text = "Ferry times\r\nSummer schedule";
    memos[1].recordId = 2;
    memos[1].text = fwtest::LongMemo();
    if (changed) {
        contacts[0].phones[0] = "+49 89 2";
        memos[0].text = "Ferry times\r\nWinter schedule";
    }
    const std::pair<const char*, std::function<void(fwtest::PalmExFileWriter&)>> files[] = {
        {"Address/ADDRESS.DAT", [&](fwtest::PalmExFileWriter& w) { w.File(contacts); }},
        {"datebook/datebook.dat", [&](fwtest::PalmExFileWriter& w) { w.File(events); }},
        {"todo/todo.dat", [&](fwtest::PalmExFileWriter& w) { w.File(todos); }},
        {"MemoPad/MemoPad.dat", [&](fwtest::PalmExFileWriter& w) { w.File(memos); }},
    };
    for (const auto& [name, fill] : files) {
        const std::string path = folder + "/" + name;
        std::error_code failed;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), failed);
        fwtest::PalmExFileWriter writer;
        fill(writer);
        if (!writer.WriteFile(path)) {
            return false;
        }
    }
    return true;
}

bool WriteExGeneration(const std::string& folder)
{
    return WriteExUser(folder, false);
}

// A 6.x user folder: the shared sample databases, copied; false when they are not there.
bool CopySixGeneration(const std::string& folder)
{
    return fwtest::CopySamplePalmUser(folder);
}

// A stand-in ACT! database with a .pad file and the user Chris: three contacts (one with an
// extension on the business phone, one with names in the code page), a weekly meeting, an open
// and a completed to-do and a note. False, with the reason, when it cannot be made.
bool WriteACTDatabase(const std::string& pad, std::string& error)
{
    const std::string folder = std::filesystem::path(pad).parent_path().string();
    const std::string database = folder + "/Contacts.fwact";
    std::error_code failed;
    std::filesystem::create_directories(folder, failed);
    ACTStore store;
    if (!ACTStore::Create(database, error) || !ACTStore::WritePad(pad, "Contacts.fwact", error) ||
        !store.Open(database, error) || !store.AddUser("Chris", "s3cret", error)) {
        return false;
    }
    std::vector<ACTAddrRec> contacts(3);
    const char* const names[3][4] = {{"Ada", "Byron", "Engines Ltd", "555-1234"},
                                     {"J\xFCrgen", "M\xFCller", "F\xE4hre Nord", "040 123"},
                                     {"Alan", "Turing", "", ""}};
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        std::snprintf(contacts[i].FirstName, sizeof contacts[i].FirstName, "%s", names[i][0]);
        std::snprintf(contacts[i].LastName, sizeof contacts[i].LastName, "%s", names[i][1]);
        std::snprintf(contacts[i].Company, sizeof contacts[i].Company, "%s", names[i][2]);
        std::snprintf(contacts[i].BusinessPhone, sizeof contacts[i].BusinessPhone, "%s", names[i][3]);
    }
    std::snprintf(contacts[0].BusinessPhoneExtension, sizeof contacts[0].BusinessPhoneExtension, "12");
    std::snprintf(contacts[1].BusinessEmail, sizeof contacts[1].BusinessEmail, "juergen@harbour.example");
    ACTDateRec meeting{};
    std::snprintf(meeting.Subject, sizeof meeting.Subject, "Board meeting");
    std::snprintf(meeting.Location, sizeof meeting.Location, "Harbour office");
    meeting.Start = 46000.375; // 2025-12-10 09:00, a Wednesday
    meeting.End = 46000.4375;
    meeting.RepeatFrequency = 2; // weekly on Wednesdays
    meeting.RepeatType = 2;
    meeting.RepeatValue = 0x08;
    meeting.RepeatInterval = 1;
    std::vector<ACTTaskRec> todos(2);
    std::snprintf(todos[0].Subject, sizeof todos[0].Subject, "Renew harbour permit");
    todos[0].DueDate = 46010.0;
    todos[0].Priority = 0;
    std::snprintf(todos[1].Subject, sizeof todos[1].Subject, "File taxes");
    todos[1].Priority = 1;
    todos[1].Completed = 1;
    ACTNoteRec note{};
    std::snprintf(note.Text, sizeof note.Text, "Prefers the early ferry");
    note.Created = note.Edited = 46000.5;

    const auto add = [&store, &error](ACTItemKind kind, const auto& items) {
        if (!store.BeginWrite(kind, error)) {
            return false;
        }
        for (const auto& rec : items) {
            if (!store.Insert(&rec, nullptr, error)) {
                store.Rollback();
                return false;
            }
        }
        return store.CommitWrite(error);
    };
    return add(ACTItemKind::Contacts, contacts) &&
           add(ACTItemKind::Calendar, std::vector<ACTDateRec>{meeting}) && add(ACTItemKind::Tasks, todos) &&
           add(ACTItemKind::Notes, std::vector<ACTNoteRec>{note});
}

using GenerationWriter = bool (*)(const std::string& folder);

} // namespace

Q_DECLARE_METATYPE(GenerationWriter)

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
    // unless told); gives false when it stopped before the results page. atComparison, when
    // given, looks at the comparison page before the wizard leaves it.
    bool RunWizard(TfmMain& main, const QStringList& ticked = {"cbAddr", "cbNote"},
                   const std::function<void(TfmDataPage&)>& atComparison = {})
    {
        main.findChild<QRadioButton*>(m_sourceButton)->click();
        for (const char* box : {"cbAddr", "cbDate", "cbTask", "cbNote"}) {
            main.findChild<QCheckBox*>(box)->setChecked(ticked.contains(box));
        }
        auto* next = main.findChild<QPushButton*>("btnNext");
        for (int step = 1; step <= 5; ++step) {
            if (m_beforeNext) {
                m_beforeNext(main);
            }
            next->click();
            if (main.CurrentStep() != step) {
                qWarning("stopped at step %d", main.CurrentStep());
                for (const auto& box : m_frontEnd->boxes) {
                    qWarning("message: %s", box.text.c_str());
                }
                return false;
            }
            if (step == 4 && atComparison) {
                auto* page = qobject_cast<TfmDataPage*>(main.VisiblePage());
                if (page == nullptr) {
                    qWarning("step 4 shows no comparison page");
                    return false;
                }
                atComparison(*page);
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

    // The real Palm Desktop and Lotus Notes connectors, and the registry's Palm Desktop folder
    // with no palm.exe version: the files of the user decide the reader.
    void UsePalmDesktop(const std::string& desktop)
    {
        fwtest::UnregisterAllConnectors();
        fwtest::UseRealConnectors(kAppNotes);
        fwtest::UseRealConnectors(kAppPalm);
        std::string registry;
        platform::ReadWholeFile(m_home->RegistryFile(), registry);
        registry +=
            "\n[HKEY_CURRENT_USER\\Software\\U.S. Robotics\\Pilot Desktop\\Core]\nDesktopPath=" + desktop +
            "/\n";
        m_home->WriteFile("registry.ini", registry);
    }

    // The real Google and Lotus Notes connectors, and a Google export folder with two contacts
    // and an all-day event; gives the folder.
    std::string UseGoogleExport()
    {
        fwtest::UnregisterAllConnectors();
        fwtest::UseRealConnectors(kAppNotes);
        fwtest::UseRealConnectors(kAppGoogle);
        m_home->WriteFile(
            "Takeout/Contacts/contacts.vcf",
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Kunigunde Obermaier\r\nN:Obermaier;Kunigunde;;;\r\n"
            "EMAIL;TYPE=INTERNET;TYPE=WORK:k@example.com\r\nEND:VCARD\r\n"
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ben Acme\r\nN:Acme;Ben;;;\r\nORG:Acme\r\nEND:VCARD\r\n");
        m_home->WriteFile(
            "Takeout/Calendar/Family.ics",
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nX-WR-CALNAME:Family\r\nX-WR-TIMEZONE:Europe/Berlin\r\n"
            "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20261224\r\nDTEND;VALUE=DATE:20261225\r\n"
            "UID:eve@google.com\r\nSUMMARY:Christmas Eve\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
        m_sourceButton = "rbtnGG";
        return m_home->Path("Takeout");
    }

    // On the Google page, the export folder is typed.
    static void TypeGoogleFolder(TfmMain& main, const std::string& folder)
    {
        if (main.CurrentStep() == 3) {
            auto* edit = main.VisiblePage()->findChild<QLineEdit*>("edtGGFolder");
            QVERIFY(edit != nullptr);
            edit->setText(QString::fromStdString(folder));
        }
    }

    std::unique_ptr<fwtest::TempHome> m_home;
    std::unique_ptr<fwtest::RecordingFrontEnd> m_frontEnd;
    LNLocalSetupResult m_local;
    const char* m_sourceButton = "rbtnPD";
    std::function<void(TfmMain&)> m_beforeNext; // called before each click on Next
    std::unique_ptr<OutlookDataFile> m_outlook;

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
        fwtest::UseRealConnectors(kAppNotes);
        fwtest::Plans().clear();
        fwtest::RegisterFakes({kAppPalm});
        fwtest::PlanOf(kAppPalm, kDataContacts).records = {{"Anna Berg", "Berg & Sons"},
                                                           {"Bruno Costa", "Costa"}};
        fwtest::PlanOf(kAppPalm, kDataNotes).records = {{"Timetable", "Summer schedule"}};
    }

    void cleanup()
    {
        fwtest::UnregisterAllConnectors();
        platform::SetProgramFolderOverride("");
        m_outlook.reset();
        m_sourceButton = "rbtnPD";
        m_beforeNext = nullptr;
        SetFrontEnd(nullptr);
        m_frontEnd.reset();
        ::unsetenv("FERRYWISE_HELPER_DIR");
        PmSetDesktopFolderOverride("");
        PmResetUserList();
        m_home.reset();
    }

    void migratesAndASecondRunFindsTheRecordsTheSame()
    {
        // The Palm page goes on only with a user; the fake connectors load the records.
        QVERIFY(fwtest::WriteClassicUser(m_home->Path("Palm"), "Anna", {}, {}, {}, {}));
        PmSetDesktopFolderOverride(m_home->Path("Palm"));
        TfmMain main(fwtest::TestApps());
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

    // Closing the wizard while a slow helper loads cancels the load: the helper is asked to stop
    // through its control file, the wizard says "Cancelled." and stays open on the page it was
    // on; nothing is migrated.
    void closingTheWizardDuringASlowLoadCancelsIt()
    {
        const std::string helper = m_home->WriteFile(
            "helpers/fw-notes-contacts",
            "#!/bin/sh\ndir=$(dirname \"$1\")\nprintf '[Status]\\r\\nRunning=1\\r\\n' > \"$dir/LNAddr.ini\"\n"
            ": > \"$dir/helper-started\"\n"
            "while ! grep -q 'Stop=1' \"$dir/LNAddr.ini\"; do sleep 0.05; done\n: > "
            "\"$dir/helper-stopped\"\nexit 1\n");
        QCOMPARE(::chmod(helper.c_str(), 0755), 0);
        ::setenv("FERRYWISE_HELPER_DIR", m_home->Path("helpers").c_str(), 1);
        QVERIFY(fwtest::WriteClassicUser(m_home->Path("Palm"), "Anna", {}, {}, {}, {}));
        PmSetDesktopFolderOverride(m_home->Path("Palm"));
        const std::string work = m_home->Path("config/corvane/FWLN/");

        TfmMain main(fwtest::TestApps());
        main.show();
        main.findChild<QRadioButton*>(m_sourceButton)->click();
        for (const char* box : {"cbAddr", "cbDate", "cbTask", "cbNote"}) {
            main.findChild<QCheckBox*>(box)->setChecked(std::string(box) == "cbAddr");
        }
        auto* next = main.findChild<QPushButton*>("btnNext");
        for (int step = 1; step <= 3; ++step) {
            next->click();
        }
        QCOMPARE(main.CurrentStep(), 3);
        QTimer closer;
        closer.setInterval(20);
        connect(&closer, &QTimer::timeout, &main, [&] {
            if (platform::FileExists(work + "helper-started")) {
                closer.stop();
                main.close(); // the user closes the window while the wizard is busy
            }
        });
        closer.start();
        next->click();

        QCOMPARE(main.CurrentStep(), 3);
        QVERIFY(main.isVisible());
        QVERIFY(platform::FileExists(work + "helper-stopped"));
        QCOMPARE(m_frontEnd->boxes.size(), std::size_t(1));
        QCOMPARE(m_frontEnd->boxes[0].text, std::string("Cancelled."));
        QVERIFY(!platform::FileExists(work + "MILog.txt"));
    }

    // A Palm Desktop 4.0.1 installation, found through the registry, with one classic user:
    // TfmPDOption selects the user, TfmPDData ticks every record, and all four data types land
    // in the local Lotus Notes store and in the migration log, names in the code page intact.
    void classicPalmUserMigratesIntoTheLocalStore()
    {
        fwtest::UnregisterAllConnectors();
        fwtest::UseRealConnectors(kAppNotes);
        fwtest::UseRealConnectors(kAppPalm);
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

        TfmMain main(fwtest::TestApps());
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
        // The log is UTF-8, whatever the code page of the records.
        for (const char* line : {"\tCompany: F\xC3\xA4hre Nord", "\tEmail: juergen@harbour.example",
                                 "\tCompany: Costa Shipping", "\tSubject: Crossing to Helsinki",
                                 "\tSubject: Renew harbour permit", "\tBrief Note: Timetable ideas"}) {
            QVERIFY2(log.find(line) != std::string::npos, line);
        }
    }

    // A user folder of each Palm Desktop generation, found through the registry's Palm Desktop
    // folder with no palm.exe version there (the files decide the reader), migrated into the
    // local Lotus Notes with every data type ticked; the mail database is the one the local
    // notes.ini names. After a restart the second run's comparison lists show every record the
    // same and unticked, nothing is migrated, and Lotus Notes holds each item once: all-day
    // events all-day and completed to-dos with their completion date.
    void eachGenerationMigratedTwiceIsAllTheSame_data()
    {
        QTest::addColumn<GenerationWriter>("write");
        QTest::addColumn<bool>("samples");
        QTest::newRow("classic") << GenerationWriter(WriteClassicGeneration) << false;
        QTest::newRow("4.1.x") << GenerationWriter(WriteExGeneration) << false;
        QTest::newRow("6.x") << GenerationWriter(CopySixGeneration) << true;
    }

    void eachGenerationMigratedTwiceIsAllTheSame()
    {
        QFETCH(GenerationWriter, write);
        QFETCH(bool, samples);
        const std::string desktop = m_home->Path("Palm Desktop");
        if (!write(desktop + "/Anna Berg")) {
            if (samples) {
                QSKIP("the shared Palm Desktop samples are not there");
            }
            QFAIL("cannot write the user folder");
        }
        UsePalmDesktop(desktop);

        TfmMain main(fwtest::TestApps());
        std::snprintf(g_Settings().LNAppName, sizeof g_Settings().LNAppName, "%s", "/usr/bin/true");
        main.show();
        const QStringList everything = {"cbAddr", "cbDate", "cbTask", "cbNote"};
        const char* const countLabels[kDataTypeCount] = {"lblAddrCount", "lblDateCount", "lblTaskCount",
                                                         "lblNoteCount"};

        // The first run: every record is new and ticked.
        int loaded[kDataTypeCount] = {};
        int allDay = 0;
        int completed = 0;
        QVERIFY(RunWizard(main, everything, [&](TfmDataPage& page) {
            for (DataType type : kAllDataTypes) {
                CompareModel* model = page.GetModel(type);
                QVERIFY(page.IsTypeVisible(type));
                loaded[type] = model->rowCount();
                QVERIFY2(loaded[type] > 0, countLabels[type]);
                for (int row = 0; row < model->rowCount(); ++row) {
                    QCOMPARE(model->StatusAt(row), int(MatchNew));
                    QVERIFY(model->IsTicked(row));
                    if (type == kDataCalendar) {
                        allDay += std::get<CommDateRec*>(model->RecordAt(row))->AllDay != 0;
                    } else if (type == kDataTasks) {
                        completed += std::get<CommTaskRec*>(model->RecordAt(row))->Completed != 0;
                    }
                }
            }
        }));
        if (QTest::currentTestFailed()) {
            return; // a check on the comparison page failed
        }
        QVERIFY2(allDay > 0 && completed > 0, "the user has an all-day event and a completed to-do");
        for (const auto& box : m_frontEnd->boxes) {
            qWarning("message: %s", box.text.c_str());
        }
        QVERIFY(m_frontEnd->boxes.empty());
        for (DataType type : kAllDataTypes) {
            QCOMPARE(Count(main, countLabels[type]), QString::number(loaded[type]));
        }
        QCOMPARE(PmGetUsers().size(), std::size_t(1));

        // The second run, after a restart: every record is the same, nothing ticked.
        main.findChild<QPushButton*>("btnPrev")->click();
        QCOMPARE(main.CurrentStep(), 0);
        const QColor same = CompareModel::FromColorRef(g_Settings().SameColor);
        QVERIFY(RunWizard(main, everything, [&](TfmDataPage& page) {
            auto* tabs = page.findChild<QTabWidget*>("pData");
            QVERIFY(tabs != nullptr);
            for (DataType type : kAllDataTypes) {
                CompareModel* model = page.GetModel(type);
                QCOMPARE(model->rowCount(), loaded[type]);
                for (int row = 0; row < model->rowCount(); ++row) {
                    const QString text = model->data(model->index(row, 0)).toString();
                    QVERIFY2(model->StatusAt(row) == MatchSame, qPrintable(text));
                    QVERIFY2(!model->IsTicked(row), qPrintable(text));
                    QCOMPARE(model->data(model->index(row, 0), Qt::CheckStateRole).toInt(),
                             int(Qt::Unchecked));
                    for (int column = 0; column < model->columnCount(); ++column) {
                        QCOMPARE(model->data(model->index(row, column), Qt::ForegroundRole).value<QColor>(),
                                 same);
                    }
                }
                // What the user sees, for a look by eye: FERRYWISE_TEST_SNAPSHOTS names a folder.
                if (const char* folder = std::getenv("FERRYWISE_TEST_SNAPSHOTS")) {
                    tabs->setCurrentWidget(page.GetList(type)->parentWidget());
                    const QString name =
                        QString("%1/wizard-second-run-%2-%3.png")
                            .arg(folder, QTest::currentDataTag(), tabs->tabText(tabs->currentIndex()));
                    QVERIFY(page.window()->grab().save(name));
                }
            }
        }));
        if (QTest::currentTestFailed()) {
            return; // a check on the comparison page failed
        }
        QVERIFY(m_frontEnd->boxes.empty());
        QVERIFY(m_frontEnd->dialogs.empty());
        for (const char* label : countLabels) {
            QCOMPARE(Count(main, label), QString("0"));
        }

        // Lotus Notes holds each item once.
        const std::string data = m_local.DataFolder;
        QCOMPARE(int(Items<LNAddrRec>(data + "names.nsf", NotesItemKind::Contacts).size()),
                 loaded[kDataContacts]);
        const auto events = Items<LNDateRec>(data + "mail.nsf", NotesItemKind::Calendar);
        QCOMPARE(int(events.size()), loaded[kDataCalendar]);
        int storedAllDay = 0;
        for (const LNDateRec& event : events) {
            storedAllDay += std::string(event.Kept28) == "2";
        }
        QCOMPARE(storedAllDay, allDay);
        const auto tasks = Items<LNTaskRec>(data + "mail.nsf", NotesItemKind::Tasks);
        QCOMPARE(int(tasks.size()), loaded[kDataTasks]);
        int storedCompleted = 0;
        for (const LNTaskRec& task : tasks) {
            storedCompleted += task.CompletionDate != 0;
        }
        QCOMPARE(storedCompleted, completed);
        QCOMPARE(int(Items<LNNoteRec>(data + "notebook.nsf", NotesItemKind::Notes).size()),
                 loaded[kDataNotes]);
    }

    // A contact and a memo changed in Palm Desktop after a migration: the next run shows just
    // those two Diff and ticked, migrating them updates the Lotus Notes items in place, and the
    // run after that finds everything the same.
    void aChangedRecordUpdatesItsItemInPlace()
    {
        const std::string desktop = m_home->Path("Palm Desktop");
        QVERIFY(WriteExUser(desktop + "/Anna Berg", false));
        UsePalmDesktop(desktop);
        TfmMain main(fwtest::TestApps());
        std::snprintf(g_Settings().LNAppName, sizeof g_Settings().LNAppName, "%s", "/usr/bin/true");
        main.show();
        const QStringList everything = {"cbAddr", "cbDate", "cbTask", "cbNote"};
        QVERIFY(RunWizard(main, everything));
        QCOMPARE(Count(main, "lblAddrCount"), QString("2"));

        QVERIFY(WriteExUser(desktop + "/Anna Berg", true));
        main.findChild<QPushButton*>("btnPrev")->click();
        QStringList changed;
        QVERIFY(RunWizard(main, everything, [&](TfmDataPage& page) {
            for (DataType type : kAllDataTypes) {
                CompareModel* model = page.GetModel(type);
                for (int row = 0; row < model->rowCount(); ++row) {
                    const QString text = model->data(model->index(row, 0)).toString();
                    QCOMPARE(model->StatusAt(row) != MatchSame, model->IsTicked(row));
                    if (model->StatusAt(row) != MatchSame) {
                        changed << QString("%1 %2").arg(model->StatusAt(row)).arg(text);
                    }
                }
            }
        }));
        if (QTest::currentTestFailed()) {
            return; // a check on the comparison page failed
        }
        QCOMPARE(changed, QStringList({QString("%1 J\u00F6rg M\u00FCller").arg(int(MatchDiff)),
                                       QString("%1 Ferry times").arg(int(MatchDiff))}));
        QVERIFY(m_frontEnd->boxes.empty());
        QCOMPARE(Count(main, "lblAddrCount"), QString("1"));
        QCOMPARE(Count(main, "lblDateCount"), QString("0"));
        QCOMPARE(Count(main, "lblTaskCount"), QString("0"));
        QCOMPARE(Count(main, "lblNoteCount"), QString("1"));

        const std::string data = m_local.DataFolder;
        const auto contacts = Items<LNAddrRec>(data + "names.nsf", NotesItemKind::Contacts);
        QCOMPARE(contacts.size(), std::size_t(2));
        QCOMPARE(std::string(contacts[0].LastName), std::string("M\xFCller"));
        QCOMPARE(std::string(contacts[0].BusinessPhone), std::string("+49 89 2"));
        const auto notes = Items<LNNoteRec>(data + "notebook.nsf", NotesItemKind::Notes);
        QCOMPARE(notes.size(), std::size_t(2));
        QCOMPARE(std::string(notes[0].Title), std::string("Ferry times"));
        QVERIFY2(std::string(notes[0].Body).find("Winter schedule") != std::string::npos, notes[0].Body);

        main.findChild<QPushButton*>("btnPrev")->click();
        QVERIFY(RunWizard(main, everything));
        for (const char* label : {"lblAddrCount", "lblDateCount", "lblTaskCount", "lblNoteCount"}) {
            QCOMPARE(Count(main, label), QString("0"));
        }
    }

    // An Outlook data file copied from Windows (an OST with contacts, a daily series, tasks and
    // a note whose body is only in RTF), chosen on TfmOLOption as a user types it: every data
    // type lands in the local Lotus Notes, and after a restart the second run finds every
    // record the same and migrates nothing.
    void outlookDataFileMigratedTwiceIsAllTheSame()
    {
        std::string path =
            std::string(FW_SHARED_DIR) + "/samples/pst/pst-extractor__mtnman1965@outlook.com.ost";
        if (!std::filesystem::exists(path)) {
            QSKIP("the shared Outlook samples are not there");
        }
        fwtest::UnregisterAllConnectors();
        fwtest::UseRealConnectors(kAppNotes);
        m_outlook = std::make_unique<OutlookDataFile>();
        m_outlook->AddTo(fwtest::TestApps());
        m_sourceButton = "rbtnOL";
        QString format;
        m_beforeNext = [&](TfmMain& main) {
            if (main.CurrentStep() == 3) {
                auto* edit = main.VisiblePage()->findChild<QLineEdit*>("edtOLPath");
                QVERIFY(edit != nullptr);
                edit->setText(QString::fromStdString(path));
                QMetaObject::invokeMethod(edit, "editingFinished");
                format = main.VisiblePage()->findChild<QLabel*>("lblOLVersion")->text();
            }
        };
        TfmMain main(fwtest::TestApps());
        std::snprintf(g_Settings().LNAppName, sizeof g_Settings().LNAppName, "%s", "/usr/bin/true");
        main.show();
        const QStringList everything = {"cbAddr", "cbDate", "cbTask", "cbNote"};
        const char* const countLabels[kDataTypeCount] = {"lblAddrCount", "lblDateCount", "lblTaskCount",
                                                         "lblNoteCount"};
        int loaded[kDataTypeCount] = {};
        const bool ran = RunWizard(main, everything, [&](TfmDataPage& page) {
            for (DataType type : kAllDataTypes) {
                CompareModel* model = page.GetModel(type);
                loaded[type] = model->rowCount();
                for (int row = 0; row < model->rowCount(); ++row) {
                    QCOMPARE(model->StatusAt(row), int(MatchNew));
                }
            }
        });
        QVERIFY(ran);
        QCOMPARE(format, QString("OST"));
        for (const auto& box : m_frontEnd->boxes) {
            qWarning("message: %s", box.text.c_str());
        }
        QVERIFY(m_frontEnd->boxes.empty());
        QCOMPARE(std::string(g_Settings().OLDataFile), path);
        // What the file holds in its default folders.
        QCOMPARE(loaded[kDataContacts], 2);
        QCOMPARE(loaded[kDataCalendar], 2);
        QCOMPARE(loaded[kDataTasks], 2);
        QCOMPARE(loaded[kDataNotes], 1);
        for (DataType type : kAllDataTypes) {
            QCOMPARE(Count(main, countLabels[type]), QString::number(loaded[type]));
        }

        main.findChild<QPushButton*>("btnPrev")->click();
        QCOMPARE(main.CurrentStep(), 0);
        QVERIFY(RunWizard(main, everything, [&](TfmDataPage& page) {
            for (DataType type : kAllDataTypes) {
                CompareModel* model = page.GetModel(type);
                QCOMPARE(model->rowCount(), loaded[type]);
                for (int row = 0; row < model->rowCount(); ++row) {
                    QVERIFY2(model->StatusAt(row) == MatchSame,
                             qPrintable(model->data(model->index(row, 0)).toString()));
                }
            }
        }));
        QVERIFY(m_frontEnd->boxes.empty());
        for (const char* label : countLabels) {
            QCOMPARE(Count(main, label), QString("0"));
        }
        const std::string data = m_local.DataFolder;
        QCOMPARE(int(Items<LNAddrRec>(data + "names.nsf", NotesItemKind::Contacts).size()),
                 loaded[kDataContacts]);
        QCOMPARE(int(Items<LNDateRec>(data + "mail.nsf", NotesItemKind::Calendar).size()),
                 loaded[kDataCalendar]);
        QCOMPARE(int(Items<LNTaskRec>(data + "mail.nsf", NotesItemKind::Tasks).size()), loaded[kDataTasks]);
        QCOMPARE(int(Items<LNNoteRec>(data + "notebook.nsf", NotesItemKind::Notes).size()),
                 loaded[kDataNotes]);

        // Another data file chosen after a restart is the one read: its six contacts are new.
        path = std::string(FW_SHARED_DIR) + "/samples/pst/aspose-net__SampleContacts.pst";
        main.findChild<QPushButton*>("btnPrev")->click();
        int newContacts = 0;
        QVERIFY(RunWizard(main, {"cbAddr"}, [&](TfmDataPage& page) {
            CompareModel* model = page.GetModel(kDataContacts);
            for (int row = 0; row < model->rowCount(); ++row) {
                newContacts += model->StatusAt(row) == MatchNew;
            }
        }));
        QCOMPARE(format, QString("Unicode PST"));
        QCOMPARE(newContacts, 6);
        QVERIFY(m_frontEnd->boxes.empty());
    }

    // A Google account's export folder chosen on TfmGGOption, without an e-mail or password:
    // its contacts and events land in the local Lotus Notes, and the second run finds every
    // record the same.
    void googleExportFolderMigratedTwiceIsAllTheSame()
    {
        const std::string folder = UseGoogleExport();
        m_beforeNext = [&](TfmMain& main) { TypeGoogleFolder(main, folder); };
        TfmMain main(fwtest::TestApps());
        std::snprintf(g_Settings().LNAppName, sizeof g_Settings().LNAppName, "%s", "/usr/bin/true");
        main.show();
        const QStringList types = {"cbAddr", "cbDate"};
        int loaded[kDataTypeCount] = {};
        QVERIFY(RunWizard(main, types, [&](TfmDataPage& page) {
            for (DataType type : {kDataContacts, kDataCalendar}) {
                CompareModel* model = page.GetModel(type);
                loaded[type] = model->rowCount();
                for (int row = 0; row < model->rowCount(); ++row) {
                    QCOMPARE(model->StatusAt(row), int(MatchNew));
                }
            }
        }));
        for (const auto& box : m_frontEnd->boxes) {
            qWarning("message: %s", box.text.c_str());
        }
        QVERIFY(m_frontEnd->boxes.empty());
        QCOMPARE(std::string(g_Settings().GGFolder), folder);
        QCOMPARE(loaded[kDataContacts], 2);
        QCOMPARE(loaded[kDataCalendar], 1);

        main.findChild<QPushButton*>("btnPrev")->click();
        QVERIFY(RunWizard(main, types, [&](TfmDataPage& page) {
            for (DataType type : {kDataContacts, kDataCalendar}) {
                CompareModel* model = page.GetModel(type);
                QCOMPARE(model->rowCount(), loaded[type]);
                for (int row = 0; row < model->rowCount(); ++row) {
                    QCOMPARE(model->StatusAt(row), int(MatchSame));
                }
            }
        }));
        QVERIFY(m_frontEnd->boxes.empty());
        const std::string data = m_local.DataFolder;
        QCOMPARE(int(Items<LNAddrRec>(data + "names.nsf", NotesItemKind::Contacts).size()), 2);
        const std::vector<LNDateRec> events = Items<LNDateRec>(data + "mail.nsf", NotesItemKind::Calendar);
        QCOMPARE(int(events.size()), 1);
    }

    // The custom field mapping set up on the second Lotus Notes page (the box ticked, the
    // dialog opened with btnMap, two fields chosen, OK) fills the custom fields of the migrated
    // Lotus Notes contacts; a second run finds them the same.
    void googleFieldMappingFillsTheNotesCustomFields()
    {
        const std::string folder = UseGoogleExport();
        QString shownTab;
        m_beforeNext = [&](TfmMain& main) {
            TypeGoogleFolder(main, folder);
            if (main.CurrentStep() != 2 || !shownTab.isEmpty()) {
                return;
            }
            auto* box = main.VisiblePage()->findChild<QCheckBox*>("cbFieldMap");
            auto* map = main.VisiblePage()->findChild<QPushButton*>("btnMap");
            QVERIFY(box != nullptr && map != nullptr);
            box->setChecked(true);
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<TfmAddrFieldMap*>(QApplication::activeModalWidget());
                QVERIFY(dialog != nullptr);
                shownTab = dialog->findChild<QTabWidget*>("pMap")->currentWidget()->objectName();
                const std::pair<const char*, QString> chosen[] = {{"cbGGCustom1", "Company Name"},
                                                                  {"cbGGCustom3", "Email(Work)"}};
                for (const auto& [name, field] : chosen) {
                    auto* list = dialog->findChild<QComboBox*>(name);
                    QVERIFY(list != nullptr);
                    list->setCurrentIndex(list->findText(field));
                    QCOMPARE(list->currentText(), field);
                }
                dialog->findChild<QPushButton*>("btnOK")->click();
            });
            map->click();
        };
        TfmMain main(fwtest::TestApps());
        std::snprintf(g_Settings().LNAppName, sizeof g_Settings().LNAppName, "%s", "/usr/bin/true");
        main.show();
        QVERIFY(RunWizard(main, {"cbAddr"}));
        QCOMPARE(shownTab, QString("tGG"));
        QVERIFY(m_frontEnd->boxes.empty());
        QVERIFY(g_Settings().GGCustom);
        QCOMPARE(g_Settings().CustomID[kCustomIDGoogle], 6);
        QCOMPARE(g_Settings().CustomID[kCustomIDGoogle + 2], 9);
        QCOMPARE(Count(main, "lblAddrCount"), QString("2"));

        const auto contacts = Items<LNAddrRec>(m_local.DataFolder + "names.nsf", NotesItemKind::Contacts);
        QCOMPARE(contacts.size(), std::size_t(2));
        for (const LNAddrRec& contact : contacts) {
            const std::string last = contact.LastName;
            QCOMPARE(std::string(contact.CustomFields[0]), std::string(last == "Acme" ? "Acme" : ""));
            QCOMPARE(std::string(contact.CustomFields[1]), std::string());
            QCOMPARE(std::string(contact.CustomFields[2]),
                     std::string(last == "Obermaier" ? "k@example.com" : ""));
        }

        main.findChild<QPushButton*>("btnPrev")->click();
        QVERIFY(RunWizard(main, {"cbAddr"}, [&](TfmDataPage& page) {
            CompareModel* model = page.GetModel(kDataContacts);
            QCOMPARE(model->rowCount(), 2);
            for (int row = 0; row < model->rowCount(); ++row) {
                QCOMPARE(model->StatusAt(row), int(MatchSame));
            }
        }));
        QCOMPARE(Count(main, "lblAddrCount"), QString("0"));
    }

    // A stand-in ACT! database, reached through its .pad file: the stand-in's program passes
    // the ACT! page's check, the .pad file, user and password are typed there, and every data
    // type ACT! offers lands in the local Lotus Notes. After a restart the page still shows the
    // login, the second run finds every record the same, nothing is migrated, and Lotus Notes
    // holds each item once.
    void actDatabaseMigratedTwiceIsAllTheSame()
    {
        fwtest::UnregisterAllConnectors();
        fwtest::UseRealConnectors(kAppNotes);
        fwtest::UseRealConnectors(kAppACT);
        // The stand-in ACT! program is ferrywise-cli, built beside the helpers.
        platform::SetProgramFolderOverride(QT_TESTCASE_BUILDDIR "/../bin");
        std::string error;
        QVERIFY2(EnsureLocalACT(error), error.c_str());
        const std::string pad = m_home->Path("ACT data/Contacts.pad");
        QVERIFY2(WriteACTDatabase(pad, error), error.c_str());

        const std::pair<const char*, QString> typed[] = {
            {"edtPadName", QString::fromStdString(pad)}, {"edtUserName", "chris"}, {"edtPassword", "s3cret"}};
        QString appPath;
        bool typeLogin = true; // the first run types the login, the second takes what the page shows
        m_sourceButton = "rbtnACT";
        m_beforeNext = [&](TfmMain& main) {
            if (main.CurrentStep() != 3) {
                return;
            }
            appPath = main.VisiblePage()->findChild<QLineEdit*>("edtAppPath")->text();
            for (const auto& [name, text] : typed) {
                auto* edit = main.VisiblePage()->findChild<QLineEdit*>(name);
                QVERIFY2(edit != nullptr, name);
                if (typeLogin) {
                    edit->clear();
                    QTest::keyClicks(edit, text);
                }
                QCOMPARE(edit->text(), text);
            }
        };
        TfmMain main(fwtest::TestApps());
        std::snprintf(g_Settings().LNAppName, sizeof g_Settings().LNAppName, "%s", "/usr/bin/true");
        main.show();
        const QStringList everything = {"cbAddr", "cbDate", "cbTask", "cbNote"};
        const char* const countLabels[kDataTypeCount] = {"lblAddrCount", "lblDateCount", "lblTaskCount",
                                                         "lblNoteCount"};
        int loaded[kDataTypeCount] = {};
        QVERIFY(RunWizard(main, everything, [&](TfmDataPage& page) {
            for (DataType type : kAllDataTypes) {
                QVERIFY(page.IsTypeVisible(type));
                CompareModel* model = page.GetModel(type);
                loaded[type] = model->rowCount();
                for (int row = 0; row < model->rowCount(); ++row) {
                    QCOMPARE(model->StatusAt(row), int(MatchNew));
                    QVERIFY(model->IsTicked(row));
                }
            }
        }));
        if (QTest::currentTestFailed()) {
            return; // a check on the ACT! or the comparison page failed
        }
        for (const auto& box : m_frontEnd->boxes) {
            qWarning("message: %s", box.text.c_str());
        }
        QVERIFY(m_frontEnd->boxes.empty());
        QCOMPARE(appPath, QString(QT_TESTCASE_BUILDDIR "/../bin/") + ACTLocalProgram);
        QCOMPARE(std::string(g_Settings().ACTPadName), pad);
        QCOMPARE(std::string(g_Settings().ACTUserName), std::string("chris"));
        const int expected[kDataTypeCount] = {3, 1, 2, 1};
        for (DataType type : kAllDataTypes) {
            QCOMPARE(loaded[type], expected[type]);
            QCOMPARE(Count(main, countLabels[type]), QString::number(loaded[type]));
        }

        // The second run, after a restart, with what the page still shows.
        typeLogin = false;
        main.findChild<QPushButton*>("btnPrev")->click();
        QCOMPARE(main.CurrentStep(), 0);
        QVERIFY(RunWizard(main, everything, [&](TfmDataPage& page) {
            for (DataType type : kAllDataTypes) {
                CompareModel* model = page.GetModel(type);
                QCOMPARE(model->rowCount(), loaded[type]);
                for (int row = 0; row < model->rowCount(); ++row) {
                    const QString text = model->data(model->index(row, 0)).toString();
                    QVERIFY2(model->StatusAt(row) == MatchSame, qPrintable(text));
                    QVERIFY2(!model->IsTicked(row), qPrintable(text));
                }
            }
        }));
        if (QTest::currentTestFailed()) {
            return;
        }
        QVERIFY(m_frontEnd->boxes.empty());
        for (const char* label : countLabels) {
            QCOMPARE(Count(main, label), QString("0"));
        }

        // Lotus Notes holds exactly the migrated items.
        const std::string data = m_local.DataFolder;
        const auto contacts = Items<LNAddrRec>(data + "names.nsf", NotesItemKind::Contacts);
        QCOMPARE(int(contacts.size()), loaded[kDataContacts]);
        QCOMPARE(std::string(contacts[0].LastName), std::string("Byron"));
        QCOMPARE(std::string(contacts[0].BusinessPhone), std::string("555-1234x12"));
        QCOMPARE(std::string(contacts[1].FirstName), std::string("J\xFCrgen"));
        QCOMPARE(std::string(contacts[1].Company), std::string("F\xE4hre Nord"));
        QCOMPARE(std::string(contacts[2].LastName), std::string("Turing"));
        const auto events = Items<LNDateRec>(data + "mail.nsf", NotesItemKind::Calendar);
        QCOMPARE(int(events.size()), loaded[kDataCalendar]);
        QCOMPARE(std::string(events[0].Subject), std::string("Board meeting"));
        const auto tasks = Items<LNTaskRec>(data + "mail.nsf", NotesItemKind::Tasks);
        QCOMPARE(int(tasks.size()), loaded[kDataTasks]);
        QCOMPARE(std::string(tasks[0].Subject), std::string("Renew harbour permit"));
        QCOMPARE(std::string(tasks[1].Subject), std::string("File taxes"));
        QVERIFY(tasks[0].CompletionDate == 0);
        QVERIFY(tasks[1].CompletionDate != 0);
        const auto notes = Items<LNNoteRec>(data + "notebook.nsf", NotesItemKind::Notes);
        QCOMPARE(int(notes.size()), loaded[kDataNotes]);
        QVERIFY2(std::string(notes[0].Body).find("Prefers the early ferry") != std::string::npos,
                 notes[0].Body);
    }
};

QTEST_MAIN(WizardEndToEndTest)
#include "WizardEndToEndTest.moc"
