// migrate and dump against fake connectors, in a temporary home.
#include "cli/CliMigrateCommand.h"
#include "cli/CliDumpCommand.h"
#include "common/TestApps.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "CliFakeConnector.h"
#include "cli/CliTerminalFrontEnd.h"
#include "common/TempHome.h"
#include "misc/CustomFieldMap.h"
#include "misc/Settings.h"
#include "platform/Files.h"
#include "platform/KnownFolders.h"

namespace {

using clitest::Contact;
using clitest::Note;
using clitest::PlanOf;

class CliCommandTest : public testing::Test
{
protected:
    void SetUp() override
    {
        SetFlowPause(std::chrono::milliseconds(0));
        fwtest::UnregisterAllConnectors();
        clitest::Plans().clear();
        clitest::RegisterFakes({kAppNotes, kAppPalm, kAppGoogle});
        ASSERT_TRUE(GetWorkingFolder(m_folder));
        m_stream = open_memstream(&m_buffer, &m_size);
        ASSERT_NE(m_stream, nullptr);
        m_frontEnd = std::make_unique<CliTerminalFrontEnd>(m_stream, false);

        // Lotus Notes holds Anna and Cara; Palm Desktop the same Anna, a changed Cara and a new Ben.
        PlanOf(kAppNotes, kDataContacts).contacts = {Contact("Anna", "Acme"), Contact("Cara", "Old Co")};
        PlanOf(kAppPalm, kDataContacts).contacts = {Contact("Anna", "Acme"), Contact("Ben", "Bolt"),
                                                    Contact("Cara", "New Co")};
        PlanOf(kAppNotes, kDataNotes).notes = {Note("Groceries", "milk")};
        PlanOf(kAppPalm, kDataNotes).notes = {Note("Groceries", "milk"), Note("Ideas", "more")};
    }

    void TearDown() override
    {
        fwtest::UnregisterAllConnectors();
        SetFlowPause(std::chrono::milliseconds(200));
        m_frontEnd.reset();
        std::fclose(m_stream);
        std::free(m_buffer);
    }

    struct Result
    {
        int status;
        std::string out;
        std::string err;
    };

    Result Run(const std::vector<std::string>& argv)
    {
        CliParseResult parsed = ParseCliArguments(argv);
        EXPECT_TRUE(parsed.ok) << parsed.error;
        std::ostringstream out;
        std::ostringstream err;
        int status = parsed.args.command == CliCommand::Dump
                         ? RunDumpCommand(fwtest::TestApps(), parsed.args, *m_frontEnd, out, err)
                         : RunMigrateCommand(fwtest::TestApps(), parsed.args, *m_frontEnd, out, err);
        return {status, out.str(), err.str()};
    }

    // What the front end was told: progress lines and message boxes.
    std::string Shown()
    {
        std::fflush(m_stream);
        return std::string(m_buffer, m_size);
    }

    std::string MigrationLog() const { return m_folder + kMigrationLogName; }
    std::string SettingsFile() const { return m_folder + kSettingsFileName; }

    fwtest::TempHome m_home;
    std::string m_folder;
    std::FILE* m_stream = nullptr;
    char* m_buffer = nullptr;
    std::size_t m_size = 0;
    std::unique_ptr<CliTerminalFrontEnd> m_frontEnd;
};

bool Contains(const std::string& text, const std::string& piece)
{
    return text.find(piece) != std::string::npos;
}

TEST_F(CliCommandTest, MigrateReportsComparisonSelectionAndLog)
{
    Result r = Run({"migrate", "--source", "palm", "--types", "contacts,notes"});
    ASSERT_EQ(r.status, 0) << r.err << Shown();
    EXPECT_EQ(r.out, "Compared Palm Desktop with Lotus Notes:\n"
                     "  contacts: 1 new, 1 diff, 1 same\n"
                     "  notes: 1 new, 0 diff, 1 same\n"
                     "Migrated to Lotus Notes:\n"
                     "  contacts: 2\n"
                     "  notes: 1\n"
                     "Migration log: " +
                         MigrationLog() + "\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(PlanOf(kAppNotes, kDataContacts).submitted, 2);
    EXPECT_EQ(PlanOf(kAppNotes, kDataNotes).submitted, 1);
    EXPECT_EQ(PlanOf(kAppNotes, kDataContacts).commits, 1);
    std::string log;
    ASSERT_TRUE(platform::ReadWholeFile(MigrationLog(), log));
    // The log names the records submitted, and only those.
    EXPECT_TRUE(Contains(log, "Company: Bolt")) << log;
    EXPECT_TRUE(Contains(log, "Company: New Co")) << log;
    EXPECT_FALSE(Contains(log, "Company: Acme")) << log;
    EXPECT_TRUE(Contains(log, "Brief Note: more")) << log;
}

TEST_F(CliCommandTest, SelectChoosesByComparisonResult)
{
    struct Case
    {
        const char* select;
        int submitted; // of Anna (same), Ben (new), Cara (diff)
    };
    const Case cases[] = {{nullptr, 2}, {"all", 3}, {"none", 0}, {"new", 1}, {"same", 1}, {"diff,same", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.select != nullptr ? c.select : "(default)");
        PlanOf(kAppNotes, kDataContacts).submitted = 0;
        std::vector<std::string> argv = {"migrate", "--source", "palm", "--types", "contacts"};
        if (c.select != nullptr) {
            argv.insert(argv.end(), {"--select", c.select});
        }
        Result r = Run(argv);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(PlanOf(kAppNotes, kDataContacts).submitted, c.submitted);
        EXPECT_TRUE(
            Contains(r.out, "Migrated to Lotus Notes:\n  contacts: " + std::to_string(c.submitted) + "\n"))
            << r.out;
    }
}

TEST_F(CliCommandTest, DryRunSubmitsAndLogsNothing)
{
    Result r = Run({"migrate", "--source", "palm", "--types", "contacts", "--dry-run"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Contains(r.out, "  contacts: 1 new, 1 diff, 1 same\n")) << r.out;
    EXPECT_TRUE(Contains(r.out, "Selected (dry run, nothing migrated):\n  contacts: 2\n")) << r.out;
    EXPECT_FALSE(Contains(r.out, "Migration log")) << r.out;
    EXPECT_EQ(PlanOf(kAppNotes, kDataContacts).submitted, 0);
    EXPECT_EQ(PlanOf(kAppNotes, kDataContacts).commits, 0);
    EXPECT_FALSE(platform::FileExists(MigrationLog()));
}

// The options steer this run only: the settings file keeps what the user saved.
TEST_F(CliCommandTest, OptionsDoNotReachTheSettingsFile)
{
    CxIniUtil ini(m_folder.c_str(), kSettingsFileName);
    auto saved = std::make_unique<FWSettings>();
    LoadSettings(*saved, ini);
    saved->SourceApp = kAppACT;
    saved->SyncAddr = false;
    saved->SyncNote = false;
    ASSERT_TRUE(SaveSettings(*saved, ini));
    std::string before;
    ASSERT_TRUE(platform::ReadWholeFile(SettingsFile(), before));

    Result r = Run({"migrate", "--source", "palm", "--types", "contacts,notes"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Contains(r.out, "  contacts: 1 new")) << r.out; // loaded although SyncAddr is off on file
    std::string after;
    ASSERT_TRUE(platform::ReadWholeFile(SettingsFile(), after));
    EXPECT_EQ(after, before);

    // Without --types the switches on file decide.
    r = Run({"migrate", "--source", "palm", "--dry-run"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(Contains(r.out, "contacts")) << r.out;
    EXPECT_TRUE(Contains(r.out, "  calendar: 0 new, 0 diff, 0 same\n")) << r.out;
}

// The source's custom-field mapping is prepared from the settings before it loads, as the
// wizard's options page does.
TEST_F(CliCommandTest, MappingFromSettingsReachesTheSource)
{
    CxIniUtil ini(m_folder.c_str(), kSettingsFileName);
    auto saved = std::make_unique<FWSettings>();
    LoadSettings(*saved, ini);
    saved->PDCustom = true;
    saved->CustomID[kCustomIDPalm] = 12;
    saved->CustomID[kCustomIDPalm + 8] = 34;
    saved->CustomID[kCustomIDOutlook] = 56;
    ASSERT_TRUE(SaveSettings(*saved, ini));
    ClearMappedFields();

    ASSERT_EQ(Run({"migrate", "--source", "palm", "--dry-run"}).status, 0);
    EXPECT_EQ(GetMappedField(kAppPalm, 1), 12);
    EXPECT_EQ(GetMappedField(kAppPalm, 9), 34);
    EXPECT_EQ(GetMappedField(kAppOutlook, 1), 0);
    ClearMappedFields();
}

TEST_F(CliCommandTest, FailedLoadMigratesNothing)
{
    PlanOf(kAppNotes, kDataContacts).loadResult = false;
    PlanOf(kAppNotes, kDataContacts).errorText = "names.nsf cannot be opened";
    Result r = Run({"migrate", "--source", "palm"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(Contains(Shown(), "Error: Loading Lotus Notes Contacts Error: names.nsf cannot be opened\n"))
        << Shown();
    EXPECT_TRUE(Contains(r.err, "nothing was migrated")) << r.err;
    EXPECT_FALSE(platform::FileExists(MigrationLog()));
    EXPECT_FALSE(platform::FileExists(SettingsFile()));
    EXPECT_EQ(PlanOf(kAppNotes, kDataContacts).submitted, 0);
}

TEST_F(CliCommandTest, FailedSubmitIsAFailure)
{
    PlanOf(kAppNotes, kDataContacts).commitResult = false;
    PlanOf(kAppNotes, kDataContacts).errorText = "database is read-only";
    Result r = Run({"migrate", "--source", "palm", "--types", "contacts"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(
        Shown(), "Error: Failed to submit Contact changes to Lotus Notes, Error=database is read-only"))
        << Shown();
    EXPECT_TRUE(Contains(r.err, "migration to Lotus Notes failed")) << r.err;
    EXPECT_FALSE(Contains(r.out, "Migrated to Lotus Notes")) << r.out;
}

TEST_F(CliCommandTest, ExceptionInSubmitIsShownWithTheLog)
{
    PlanOf(kAppNotes, kDataContacts).throwOnSubmit = true;
    Result r = Run({"migrate", "--source", "palm", "--types", "contacts"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(Shown(), "Error: an unexpected error stopped the work: submit exploded\n"))
        << Shown();
    EXPECT_TRUE(Contains(Shown(), "The diagnostic log is " + m_folder + "appdebug.log")) << Shown();
}

TEST_F(CliCommandTest, DataTypesASourceLacksAreNamed)
{
    PlanOf(kAppGoogle, kDataContacts).contacts = {Contact("Anna", "Acme")};
    Result r =
        Run({"migrate", "--source", "google", "--types", "contacts,tasks", "--google-folder", m_folder});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Contains(r.out, "  contacts: 0 new, 0 diff, 1 same\n")) << r.out;
    EXPECT_TRUE(Contains(r.out, "  tasks: not available from Google account\n")) << r.out;
}

TEST_F(CliCommandTest, DumpPrintsTheLoadedRecords)
{
    Result json = Run({"dump", "--source", "palm", "--type", "contacts"});
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out.rfind("[\n  {\n    \"FirstName\": \"Anna\",", 0), 0u) << json.out.substr(0, 80);
    EXPECT_TRUE(Contains(json.out, "\"FirstName\": \"Ben\"")) << json.out;
    EXPECT_TRUE(Contains(json.out, "\"Company\": \"New Co\"")) << json.out;
    // Loaded alone, with nothing to compare against: Lotus Notes is not touched.
    EXPECT_EQ(ConnectorRegistry::Instance().Get(kAppNotes, kDataContacts), nullptr);

    Result csv = Run({"dump", "--source", "notes", "--type", "notes", "--format", "csv"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.out.rfind("Color,Private,Title,Body,Categories,CreationTime,CreationTime.raw,", 0), 0u)
        << csv.out;
    EXPECT_TRUE(Contains(csv.out, "\r\n0,0,Groceries,milk,,,0,,0,")) << csv.out;
}

TEST_F(CliCommandTest, DumpOfEmptyStoreIsAnEmptyArray)
{
    Result r = Run({"dump", "--source", "palm", "--type", "tasks"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "[]\n");
}

TEST_F(CliCommandTest, DumpFailures)
{
    PlanOf(kAppNotes, kDataCalendar).loadResult = false;
    PlanOf(kAppNotes, kDataCalendar).errorText = "no mail file";
    Result r = Run({"dump", "--source", "notes", "--type", "calendar"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(Contains(Shown(), "Error: Loading Lotus Notes Calendar Error: no mail file\n")) << Shown();

    r = Run({"dump", "--source", "google", "--type", "notes"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(Contains(r.err, "Google account has no notes")) << r.err;

    // A kind whose connector this build lacks fails with the flow's message.
    r = Run({"dump", "--source", "act", "--type", "contacts", "--act-pad",
             m_home.WriteFile("act/Demo.pad", "[Database]\nPath=Demo.fwact\n")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(Shown(),
                         "Error: Loading ACT! Contacts Error: no connector for ACT! contacts is available in "
                         "this build"))
        << Shown();

    // Outlook without a data file to read, ACT! without a database: refused before anything is
    // loaded.
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"dump", "--source", "outlook", "--type", "contacts"},
         "no Outlook data file: name one with --outlook-file FILE"},
        {{"dump", "--source", "act", "--type", "contacts"},
         "no ACT! database: name its .pad file with --act-pad FILE.pad"},
        {{"migrate", "--source", "act", "--act-pad", m_home.Path("act/Gone.pad")},
         "no ACT! database file '" + m_home.Path("act/Gone.pad") + "'"},
        {{"migrate", "--source", "act", "--act-pad", m_home.Path("act")},
         "no ACT! database file '" + m_home.Path("act") + "'"},
    };
    for (const auto& [args, message] : refused) {
        SCOPED_TRACE(message);
        const std::size_t shown = Shown().size();
        r = Run(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(Contains(r.err, message)) << r.err;
        EXPECT_EQ(Shown().find("Loading", shown), std::string::npos) << Shown();
    }
}

} // namespace
