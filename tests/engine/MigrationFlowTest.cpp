#include "engine/MigrationFlow.h"

#include <algorithm>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "EngineFixture.h"
#include "platform/CodePage.h"
#include "platform/KnownFolders.h"

namespace fwtest {
namespace {

std::string KindName(AppKind kind)
{
    return KindTag(kind);
}

// ---------------------------------------------------------------------------------------------
// Load flow: texts, status files and the order of the steps, per kind.

struct LoadTextsCase
{
    AppKind kind;
    std::string opening;
    // Per data type: progress text and status file name ("" for none); a data type the kind
    // has no flow for is left out.
    std::vector<std::tuple<DataType, std::string, std::string>> steps;
};

void PrintTo(const LoadTextsCase& c, std::ostream* os)
{
    *os << KindName(c.kind);
}

const LoadTextsCase kLoadTexts[] = {
    {kAppACT,
     "Loading information from ACT! ...",
     {{kDataContacts, "Loading ACT! Contacts ...", "ACTAddrStatus.dat"},
      {kDataCalendar, "Loading ACT! Calendar ...", "ACTDateStatus.dat"},
      {kDataTasks, "Loading ACT! Todos and Opportunities ...", "ACTTaskStatus.dat"},
      {kDataNotes, "Loading ACT! Notes ...", "ACTNoteStatus.dat"}}},
    {kAppGoogle,
     "Loading information from Google account ...",
     {{kDataContacts, "Loading Google Contacts ...", "GAddrStatus.dat"},
      {kDataCalendar, "Loading Google Calendar ...", "GDateStatus.dat"}}},
    {kAppOutlook,
     "Loading information from Outlook ...",
     {{kDataContacts, "Loading Outlook Contacts ...", ""},
      {kDataCalendar, "Loading Outlook Calendar ...", ""},
      {kDataTasks, "Loading Outlook Tasks ...", ""},
      {kDataNotes, "Loading Outlook Notes ...", ""}}},
    {kAppNotes,
     "Loading information from Lotus Notes ...",
     {{kDataContacts, "Loading Lotus Notes Contacts ...", "LNAddrStatus.dat"},
      {kDataCalendar, "Loading Lotus Notes Calendar ...", "LNDateStatus.dat"},
      {kDataTasks, "Loading Lotus Notes Todos ...", "LNTaskStatus.dat"},
      {kDataNotes, "Loading Lotus Notes Notebook ...", "LNNoteStatus.dat"}}},
    {kAppPalm,
     "Loading information from Palm Desktop ...",
     {{kDataContacts, "Loading Palm Desktop Contacts ...", ""},
      {kDataCalendar, "Loading Palm Desktop Calendar ...", ""},
      {kDataTasks, "Loading Palm Desktop Tasks ...", ""},
      {kDataNotes, "Loading Palm Desktop Notes ...", ""}}},
    {kAppDynamics,
     "Loading information from Dynamics CRM ...",
     {{kDataContacts, "Loading Dynamics CRM Contacts ...", "DNAddrStatus.dat"},
      {kDataCalendar, "Loading Dynamics CRM Calendar ...", "DNDateStatus.dat"},
      {kDataTasks, "Loading Dynamics CRM Tasks ...", "DNTaskStatus.dat"},
      {kDataNotes, "Loading Dynamics CRM Notes ...", "DNNoteStatus.dat"}}},
    {kAppSalesForce,
     "Loading information from salesforce ...",
     {{kDataContacts, "Loading salesforce Contacts ...", "SFAddrStatus.dat"},
      {kDataCalendar, "Loading salesforce Calendar ...", "SFDateStatus.dat"},
      {kDataTasks, "Loading salesforce Tasks ...", "SFTaskStatus.dat"},
      {kDataNotes, "Loading salesforce Notes ...", "SFNoteStatus.dat"}}},
    {kAppSugarCRM,
     "Loading information from SugarCRM ...",
     {{kDataContacts, "Loading SugarCRM Contacts ...", "SGAddrStatus.dat"},
      {kDataCalendar, "Loading SugarCRM Calendar ...", "SGDateStatus.dat"},
      {kDataTasks, "Loading SugarCRM Tasks ...", "SGTaskStatus.dat"},
      {kDataNotes, "Loading SugarCRM Notes ...", "SGNoteStatus.dat"}}},
};

class LoadTextsTest : public EngineFixture, public testing::WithParamInterface<LoadTextsCase>
{
};

TEST_P(LoadTextsTest, ShowsEveryTextAndWatchesEachStatusFileBeforeLoading)
{
    const LoadTextsCase& c = GetParam();
    RegisterAllFakes();

    ASSERT_TRUE(MigrationFlow::Load(parent, c.kind, kAppNone));

    std::vector<std::string> expected = {"start", "text: " + c.opening};
    bool watching = false;
    for (const auto& [type, text, statusFile] : c.steps) {
        // The previous type's status file (its helper's "Done.") no longer covers this text.
        if (watching) {
            expected.push_back("watch: ");
        }
        expected.push_back("text: " + text);
        watching = !statusFile.empty();
        if (watching) {
            expected.push_back("watch: " + folder + statusFile);
        }
        expected.push_back("load " + Tag(c.kind, type));
    }
    expected.push_back("stop");
    EXPECT_EQ(TheJournal().Events(), expected);
    EXPECT_TRUE(frontEnd.boxes.empty());
    EXPECT_FALSE(CxCommWaitWindow::IsShown());
}

TEST_P(LoadTextsTest, WithEverySwitchOffShowsOnlyTheOpeningText)
{
    const LoadTextsCase& c = GetParam();
    RegisterAllFakes();
    SetAllSync(false);

    EXPECT_TRUE(MigrationFlow::Load(parent, c.kind, kAppNone));

    EXPECT_EQ(TheJournal().Events(), (std::vector<std::string>{"start", "text: " + c.opening, "stop"}));
    for (DataType type : kAllDataTypes) {
        EXPECT_EQ(ConnectorRegistry::Instance().Get(c.kind, type), nullptr) << TypeTag(type);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, LoadTextsTest, testing::ValuesIn(kLoadTexts),
                         [](const auto& info) { return KindName(info.param.kind); });

TEST_F(EngineFixture, GoogleNeverMakesOrLoadsTaskAndNoteConnectors)
{
    RegisterAllFakes(); // even when a build offered them
    ASSERT_TRUE(MigrationFlow::Load(parent, kAppGoogle, kAppNone));
    ASSERT_TRUE(MigrationFlow::Load(parent, kAppACT, kAppGoogle));

    EXPECT_EQ(ConnectorRegistry::Instance().Get(kAppGoogle, kDataTasks), nullptr);
    EXPECT_EQ(ConnectorRegistry::Instance().Get(kAppGoogle, kDataNotes), nullptr);
    EXPECT_TRUE(TheJournal().With("load GG tasks").empty());
    EXPECT_TRUE(TheJournal().With("load GG notes").empty());
}

// ---------------------------------------------------------------------------------------------
// Load failures: the message of each kind and data type, for a false result and for a true
// result with the error flag set (a failure only for the helper-utility kinds).

struct LoadFailureCase
{
    AppKind kind;
    DataType type;
    std::string message; // with "disk on fire" as the connector's error text
};

void PrintTo(const LoadFailureCase& c, std::ostream* os)
{
    *os << Tag(c.kind, c.type);
}

// A text without a place for the reason (Outlook's) gets the reason on a line of its own.
const LoadFailureCase kLoadFailures[] = {
    {kAppACT, kDataContacts, "Loading ACT! Contacts Error: disk on fire"},
    {kAppACT, kDataCalendar, "Loading ACT! Calendar Error: disk on fire"},
    {kAppACT, kDataTasks, "Loading ACT! Todos or Opportunities Error: disk on fire"},
    {kAppACT, kDataNotes, "Loading ACT! Notes Error: disk on fire"},
    {kAppGoogle, kDataContacts, "Loading Google Contacts Error: disk on fire"},
    {kAppGoogle, kDataCalendar, "Loading Google Calendar Error: disk on fire"},
    {kAppOutlook, kDataContacts, "Failed to load Outlook Contacts information.\ndisk on fire"},
    {kAppOutlook, kDataCalendar, "Failed to load Outlook Calendar information.\ndisk on fire"},
    {kAppOutlook, kDataTasks, "Failed to load Outlook Task information.\ndisk on fire"},
    {kAppOutlook, kDataNotes, "Failed to load Outlook Notes information.\ndisk on fire"},
    {kAppNotes, kDataContacts, "Loading Lotus Notes Contacts Error: disk on fire"},
    {kAppNotes, kDataCalendar, "Loading Lotus Notes Calendar Error: disk on fire"},
    {kAppNotes, kDataTasks, "Loading Lotus Notes Todo Error: disk on fire"},
    {kAppNotes, kDataNotes, "Loading Lotus Notes Notebook Error: disk on fire"},
    {kAppPalm, kDataContacts, "Failed to load Palm Desktop Contacts information. Error: disk on fire"},
    {kAppPalm, kDataCalendar, "Failed to load Palm Desktop Calendar information. Error: disk on fire"},
    {kAppPalm, kDataTasks, "Failed to load Palm Desktop Task information. Error: disk on fire"},
    {kAppPalm, kDataNotes, "Failed to load Palm Desktop Memos information. Error: disk on fire"},
    {kAppDynamics, kDataContacts, "Loading Dynamics CRM Contacts Error: disk on fire"},
    {kAppDynamics, kDataCalendar, "Loading Dynamics CRM Calendar Error: disk on fire"},
    {kAppDynamics, kDataTasks, "Loading Dynamics CRM Tasks Error: disk on fire"},
    {kAppDynamics, kDataNotes, "Loading Dynamics CRM Notes Error: disk on fire"},
    {kAppSalesForce, kDataContacts, "Loading salesforce Contacts Error: disk on fire"},
    {kAppSalesForce, kDataCalendar, "Loading salesforce Calendar Error: disk on fire"},
    {kAppSalesForce, kDataTasks, "Loading salesforce Tasks Error: disk on fire"},
    {kAppSalesForce, kDataNotes, "Loading salesforce Notes Error: disk on fire"},
    {kAppSugarCRM, kDataContacts, "Loading SugarCRM Contacts Error: disk on fire"},
    {kAppSugarCRM, kDataCalendar, "Loading SugarCRM Calendar Error: disk on fire"},
    {kAppSugarCRM, kDataTasks, "Loading SugarCRM Tasks Error: disk on fire"},
    {kAppSugarCRM, kDataNotes, "Loading SugarCRM Notes Error: disk on fire"},
};

class LoadFailureTest : public EngineFixture,
                        public testing::WithParamInterface<std::tuple<LoadFailureCase, bool>>
{
};

TEST_P(LoadFailureTest, ReportsOnceAndStopsAtTheFailingDataType)
{
    const auto& [c, flagged] = GetParam();
    RegisterAllFakes();
    FakePlan& plan = PlanOf(c.kind, c.type);
    plan.errorText = "disk on fire";
    plan.loadResult = flagged;
    plan.loadErrorFlag = flagged;
    const bool helper = c.kind != kAppOutlook && c.kind != kAppPalm;

    const bool loaded = MigrationFlow::Load(parent, c.kind, kAppNone);

    if (flagged && !helper) { // only helper-utility connectors have an error flag that counts
        EXPECT_TRUE(loaded);
        EXPECT_TRUE(frontEnd.boxes.empty());
        return;
    }
    EXPECT_FALSE(loaded);
    ASSERT_EQ(frontEnd.boxes.size(), 1u);
    EXPECT_EQ(frontEnd.boxes[0].text, c.message);
    EXPECT_EQ(frontEnd.boxes[0].caption, "Error");
    EXPECT_EQ(frontEnd.boxes[0].icon, MessageIcon::Error);
    EXPECT_EQ(frontEnd.boxes[0].parent, parent);
    EXPECT_FALSE(frontEnd.boxes[0].waitWindowShown);
    EXPECT_NE(DebugLog().find(c.message), std::string::npos);

    const std::vector<std::string> events = TheJournal().Events();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[events.size() - 2], "stop");
    EXPECT_EQ(events.back(), "box: " + c.message);

    for (DataType type : kAllDataTypes) {
        FakeConnector* fake = Fake(c.kind, type);
        if (type <= c.type) {
            ASSERT_NE(fake, nullptr) << TypeTag(type);
            EXPECT_EQ(fake->loads, 1) << TypeTag(type);
        } else {
            EXPECT_EQ(fake, nullptr) << TypeTag(type);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(KindsAndTypes, LoadFailureTest,
                         testing::Combine(testing::ValuesIn(kLoadFailures), testing::Bool()),
                         [](const auto& info) {
                             const LoadFailureCase& c = std::get<0>(info.param);
                             return KindName(c.kind) + "_" + TypeTag(c.type) +
                                    (std::get<1>(info.param) ? "_ErrorFlag" : "_False");
                         });

// A kind whose connector the build cannot make fails with its own message; the reason is ours.
struct MissingConnectorCase
{
    AppKind kind;
    DataType type;
    std::string message;
    std::string reason;
};

void PrintTo(const MissingConnectorCase& c, std::ostream* os)
{
    *os << Tag(c.kind, c.type);
}

const MissingConnectorCase kMissingConnectors[] = {
    {kAppNotes, kDataContacts,
     "Loading Lotus Notes Contacts Error: no connector for Lotus Notes contacts is available in this build",
     "no connector for Lotus Notes contacts is available in this build"},
    {kAppGoogle, kDataCalendar,
     "Loading Google Calendar Error: no connector for Google calendar is available in this build",
     "no connector for Google calendar is available in this build"},
    {kAppOutlook, kDataTasks,
     "Failed to load Outlook Task information.\nno connector for Outlook tasks is available in this build",
     "no connector for Outlook tasks is available in this build"},
    {kAppPalm, kDataNotes,
     "Failed to load Palm Desktop Memos information. Error: no connector for Palm Desktop notes is available "
     "in this build",
     "no connector for Palm Desktop notes is available in this build"},
    {kAppSalesForce, kDataContacts,
     "Loading salesforce Contacts Error: no connector for salesforce contacts is available in this build",
     "no connector for salesforce contacts is available in this build"},
};

class MissingConnectorTest : public EngineFixture, public testing::WithParamInterface<MissingConnectorCase>
{
};

TEST_P(MissingConnectorTest, FailsWithTheKindsMessageAndLogsTheReason)
{
    const MissingConnectorCase& c = GetParam();
    RegisterAllFakes();
    RegisterConnector(c.kind, c.type, nullptr);

    EXPECT_FALSE(LoadOne(parent, c.kind, c.type));

    ASSERT_EQ(frontEnd.boxes.size(), 1u);
    EXPECT_EQ(frontEnd.boxes[0].text, c.message);
    const std::string log = DebugLog();
    EXPECT_NE(log.find(c.reason), std::string::npos);
    EXPECT_NE(log.find(c.message), std::string::npos);
    EXPECT_EQ(ConnectorRegistry::Instance().Get(c.kind, c.type), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Kinds, MissingConnectorTest, testing::ValuesIn(kMissingConnectors),
                         [](const auto& info) {
                             return KindName(info.param.kind) + "_" + TypeTag(info.param.type);
                         });

TEST_F(EngineFixture, WithoutAFrontEndAFailureGoesToTheLogOnly)
{
    SetFrontEnd(nullptr);
    EXPECT_FALSE(LoadOne(parent, kAppPalm, kDataContacts));
    EXPECT_TRUE(frontEnd.boxes.empty());
    EXPECT_NE(DebugLog().find("Failed to load Palm Desktop Contacts information."), std::string::npos);
}

// ---------------------------------------------------------------------------------------------
// Status files: deleted and watched only when a wait window exists.

TEST_F(EngineFixture, StatusFilesAreDeletedOnlyWhenAWaitWindowExists)
{
    struct Case
    {
        const char* name;
        bool frontEndSet;
        bool makesViews;
        bool deleted;
    };
    const Case cases[] = {
        {"window shown", true, true, true},
        {"view cannot be made", true, false, false},
        {"no front end", false, true, false},
    };
    const char* const files[] = {"LNAddrStatus.dat", "LNDateStatus.dat", "LNTaskStatus.dat",
                                 "LNNoteStatus.dat"};
    RegisterAllFakes();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetFrontEnd(c.frontEndSet ? &frontEnd : nullptr);
        frontEnd.makeViews = c.makesViews;
        for (const char* file : files) {
            home.WriteFile(std::string("config/corvane/FWLN/") + file, "left by an earlier run\r\n");
        }

        ASSERT_TRUE(MigrationFlow::Load(parent, kAppNotes, kAppNone));

        for (const char* file : files) {
            EXPECT_EQ(platform::FileExists(folder + file), !c.deleted) << file;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// What each connector is given before it loads.

struct ConfigCase
{
    const char* name;
    AppKind kind;
    DataType type;
    ConnectorConfig expected; // dataFolder and logFolder "<wf>" stand for the working folder
};

void PrintTo(const ConfigCase& c, std::ostream* os)
{
    *os << c.name;
}

ConnectorConfig WithFolders(ConnectorConfig config)
{
    config.dataFolder = "<wf>";
    config.logFolder = "<wf>";
    config.enableDebug = true;
    config.logLevel = 2;
    return config;
}

// Fields a row leaves out keep their defaults: that is the point of naming the others.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
const ConfigCase kConfigs[] = {
    {"ACT_contacts", kAppACT, kDataContacts,
     WithFolders({.database = "C:/ACT/Main.pad", .userName = "chris", .password = "act secret"})},
    {"ACT_tasks", kAppACT, kDataTasks,
     WithFolders({.database = "C:/ACT/Main.pad",
                  .userName = "chris",
                  .password = "act secret",
                  .opportunities = true,
                  .opportunityNotes = false})},
    {"Google_calendar", kAppGoogle, kDataCalendar,
     WithFolders({.userName = "chris@example.com", .password = "gg secret"})},
    {"Notes_contacts", kAppNotes, kDataContacts, WithFolders({.database = "names.nsf", .idFile = "user.id"})},
    {"Notes_calendar", kAppNotes, kDataCalendar, WithFolders({.database = "mail.nsf", .idFile = "user.id"})},
    {"Notes_tasks", kAppNotes, kDataTasks, WithFolders({.database = "mail.nsf", .idFile = "user.id"})},
    {"Notes_notes", kAppNotes, kDataNotes, WithFolders({.database = "notebook.nsf", .idFile = "user.id"})},
    {"Palm_contacts_from_file",
     kAppPalm,
     kDataContacts,
     {.useFile = true, .fileName = "/palm/address.dat", .userId = 4}},
    {"Palm_calendar_of_user", kAppPalm, kDataCalendar, {.useFile = false, .fileName = "", .userId = 4}},
    {"Dynamics_contacts", kAppDynamics, kDataContacts,
     WithFolders({.hostName = "crm.example.com",
                  .organisation = "Org",
                  .userName = "live@example.com",
                  .password = "dn secret",
                  .authMode = 2,
                  .addrAccount = true,
                  .addrContact = false,
                  .addrLead = true})},
    {"Dynamics_notes", kAppDynamics, kDataNotes,
     WithFolders({.hostName = "crm.example.com",
                  .organisation = "Org",
                  .userName = "live@example.com",
                  .password = "dn secret",
                  .authMode = 2})},
    {"salesforce_contacts", kAppSalesForce, kDataContacts,
     WithFolders({.userName = "sf user",
                  .password = "sf secret",
                  .token = "sf token",
                  .addrAccount = false,
                  .addrContact = true,
                  .addrLead = false})},
    {"salesforce_tasks", kAppSalesForce, kDataTasks,
     WithFolders({.userName = "sf user", .password = "sf secret", .token = "sf token"})},
    {"SugarCRM_contacts", kAppSugarCRM, kDataContacts,
     WithFolders({.hostName = "sugar.example.com",
                  .userName = "sg user",
                  .password = "sg secret",
                  .addrAccount = true,
                  .addrContact = true,
                  .addrLead = false})},
};
#pragma GCC diagnostic pop

class ConfigTest : public EngineFixture, public testing::WithParamInterface<ConfigCase>
{
protected:
    static void FillSettings(FWSettings& s)
    {
        s.EnableDebug = true;
        s.LogLevel = 2;
        CopyText(s.ACTPadName, "C:/ACT/Main.pad");
        CopyText(s.ACTUserName, "chris");
        CopyText(s.ACTPasswordText, "act secret");
        CopyText(s.ACTPassword, "YWN0IHNlY3JldA=="); // the coded form is never handed on
        s.Opp = true;
        s.OppNotes = false;
        CopyText(s.GGEmail, "chris@example.com");
        CopyText(s.GGPasswordText, "gg secret");
        CopyText(s.LNAddrName, "names.nsf");
        CopyText(s.LNDateName, "mail.nsf");
        CopyText(s.LNNoteName, "notebook.nsf");
        CopyText(s.LNIDFile, "user.id");
        CopyText(s.LNPasswordText, "ln secret");
        s.PDUserID = 4;
        s.PDUseAddrFile = true;
        CopyText(s.PDAddrFileName, "/palm/address.dat");
        CopyText(s.PDDateFileName, "/palm/datebook.dat"); // not used: its switch is off
        CopyText(s.DNHostName, "crm.example.com");
        CopyText(s.DNOrg, "Org");
        CopyText(s.DNLiveID, "live@example.com");
        CopyText(s.DNPasswordText, "dn secret");
        s.DNAuthMode = 2;
        s.DNAddrAccount = true;
        s.DNAddrContact = false;
        s.DNAddrLead = true;
        CopyText(s.SFUserName, "sf user");
        CopyText(s.SFPasswordText, "sf secret");
        CopyText(s.SFTokenText, "sf token");
        s.SFAddrAccount = false;
        s.SFAddrContact = true;
        s.SFAddrLead = false;
        CopyText(s.SGHostName, "sugar.example.com");
        CopyText(s.SGUserName, "sg user");
        CopyText(s.SGPasswordText, "sg secret");
        s.SGAddrAccount = true;
        s.SGAddrContact = true;
        s.SGAddrLead = false;
    }
};

void ExpectSameConfig(const ConnectorConfig& actual, ConnectorConfig expected, const std::string& folder)
{
    if (expected.dataFolder == "<wf>") {
        expected.dataFolder = folder;
    }
    if (expected.logFolder == "<wf>") {
        expected.logFolder = folder;
    }
    auto fields = [](const ConnectorConfig& c) {
        return std::make_tuple(c.dataFolder, c.logFolder, c.enableDebug, c.logLevel, c.database, c.idFile,
                               c.hostName, c.organisation, c.userName, c.password, c.token, c.authMode,
                               c.opportunities, c.opportunityNotes, c.addrAccount, c.addrContact, c.addrLead,
                               c.useFile, c.fileName, c.userId);
    };
    EXPECT_EQ(fields(actual), fields(expected));
}

TEST_P(ConfigTest, GivesTheConnectorItsSettingsDecoded)
{
    const ConfigCase& c = GetParam();
    RegisterAllFakes();
    FillSettings(g_Settings());

    ASSERT_TRUE(LoadOne(parent, c.kind, c.type));

    FakeConnector* fake = Fake(c.kind, c.type);
    ASSERT_NE(fake, nullptr);
    ASSERT_EQ(fake->configs.size(), 1u);
    ExpectSameConfig(fake->configs[0], c.expected, folder);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ConfigTest, testing::ValuesIn(kConfigs),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineFixture, OutlookConnectorsAreGivenNothing)
{
    RegisterAllFakes();
    ASSERT_TRUE(MigrationFlow::Load(parent, kAppOutlook, kAppNone));
    for (DataType type : kAllDataTypes) {
        ASSERT_NE(Fake(kAppOutlook, type), nullptr);
        EXPECT_TRUE(Fake(kAppOutlook, type)->configs.empty()) << TypeTag(type);
    }
}

// ---------------------------------------------------------------------------------------------
// Submit flows.

struct SubmitCase
{
    AppKind target;
    std::string opening;
    std::string progress;
    std::string closing; // "" for none
    bool logBefore;
    bool windowBeforeLog;
    bool commits;
    std::vector<std::pair<DataType, std::string>> statusFiles; // the data types it submits
};

void PrintTo(const SubmitCase& c, std::ostream* os)
{
    *os << KindName(c.target);
}

const SubmitCase kSubmits[] = {
    {kAppACT,
     "Migrating information to ACT! ...\r\n",
     "Migrating information to ACT! ...",
     "Migrating information to ACT! completed successfully.",
     false,
     true,
     true,
     {{kDataContacts, "ACTAddrStatus.dat"},
      {kDataCalendar, "ACTDateStatus.dat"},
      {kDataTasks, "ACTTaskStatus.dat"},
      {kDataNotes, "ACTNoteStatus.dat"}}},
    {kAppGoogle,
     "Start migrating information to Google account ...",
     "Migrating information to Google account ...",
     "Migrating information to Google account completed successfully.",
     true,
     false,
     true,
     {{kDataContacts, "GAddrStatus.dat"}, {kDataCalendar, "GDateStatus.dat"}}},
    {kAppOutlook,
     "Start migrating information to Outlook ...",
     "Migrating information to Outlook ...",
     "Migrating information to Outlook completed successfully.",
     true,
     false,
     false,
     {{kDataContacts, ""}, {kDataCalendar, ""}, {kDataTasks, ""}, {kDataNotes, ""}}},
    {kAppNotes,
     "Start migrating information to Lotus Notes.",
     "Migrating information to Lotus Notes ...",
     "",
     true,
     false,
     true,
     {{kDataContacts, "LNAddrStatus.dat"},
      {kDataCalendar, "LNDateStatus.dat"},
      {kDataTasks, "LNTaskStatus.dat"},
      {kDataNotes, "LNNoteStatus.dat"}}},
    {kAppDynamics,
     "Migrating information to Dynamics CRM ...\r\n",
     "Migrating information to Dynamics CRM ...",
     "Migrating information to Dynamics CRM completed successfully.",
     false,
     true,
     true,
     {{kDataContacts, "DNAddrStatus.dat"},
      {kDataCalendar, "DNDateStatus.dat"},
      {kDataTasks, "DNTaskStatus.dat"},
      {kDataNotes, "DNNoteStatus.dat"}}},
    {kAppSalesForce,
     "Migrating information to salesforce ...\r\n",
     "Migrating information to salesforce ...",
     "Migrating information to salesforce completed successfully.",
     false,
     true,
     true,
     {{kDataContacts, "SFAddrStatus.dat"},
      {kDataCalendar, "SFDateStatus.dat"},
      {kDataTasks, "SFTaskStatus.dat"},
      {kDataNotes, "SFNoteStatus.dat"}}},
    {kAppSugarCRM,
     "Migrating information to SugarCRM ...\r\n",
     "Migrating information to SugarCRM ...",
     "Migrating information to SugarCRM completed successfully.",
     false,
     true,
     true,
     {{kDataContacts, "SGAddrStatus.dat"},
      {kDataCalendar, "SGDateStatus.dat"},
      {kDataTasks, "SGTaskStatus.dat"},
      {kDataNotes, "SGNoteStatus.dat"}}},
};

// Loads the target and a Palm Desktop source with one record per data type, and selects it.
class SubmitFixture : public EngineFixture
{
protected:
    void Prepare(AppKind target)
    {
        RegisterAllFakes();
        for (DataType type : kAllDataTypes) {
            PlanOf(kAppPalm, type).records = {{std::string("Item ") + TypeTag(type), "x"}};
        }
        ASSERT_TRUE(LoadAndCompare(parent, kAppPalm, target));
        for (DataType type : kAllDataTypes) {
            Select(kAppPalm, type, {0});
        }
        waitControl.migrationLog = folder + "MILog.txt";
        TheJournal().Clear();
    }
    void TearDown() override
    {
        waitControl.migrationLog.clear();
        EngineFixture::TearDown();
    }
};

class SubmitTest : public SubmitFixture, public testing::WithParamInterface<SubmitCase>
{
};

TEST_P(SubmitTest, LogsSubmitsAndCommitsEachSelectedDataType)
{
    const SubmitCase& c = GetParam();
    Prepare(c.target);

    ASSERT_TRUE(SubmitSelection(parent, c.target));

    const std::vector<std::string> events = TheJournal().Events();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0], c.windowBeforeLog ? "start before log" : "start after log");
    EXPECT_EQ(events[1], "text: " + c.progress);
    EXPECT_EQ(events.back(), "stop");

    std::vector<std::string> watched;
    for (const auto& [type, statusFile] : c.statusFiles) {
        SCOPED_TRACE(TypeTag(type));
        FakeConnector* fake = Fake(c.target, type);
        ASSERT_NE(fake, nullptr);
        ASSERT_EQ(fake->submits.size(), 1u);
        EXPECT_EQ(fake->submits[0].key, std::string("Item ") + TypeTag(type));
        EXPECT_EQ(fake->submits[0].writeNow, !c.commits);
        EXPECT_EQ(fake->commits, c.commits ? 1 : 0);
        if (c.commits) {
            watched.push_back(folder + statusFile);
        }
    }
    std::vector<std::string> files = TheJournal().With("watch: ");
    files.erase(std::remove(files.begin(), files.end(), std::string()), files.end());
    EXPECT_EQ(files, watched);
    // Each data type after a committed one shows the flow's text again, no longer covered by
    // the status file of the type before.
    const std::vector<std::string> texts = TheJournal().With("text: ");
    EXPECT_EQ(std::count(texts.begin(), texts.end(), c.progress),
              static_cast<long>(1 + c.statusFiles.size()));
    for (DataType type : {kDataTasks, kDataNotes}) {
        if (c.statusFiles.size() == 2) { // Google: selected, but never submitted
            EXPECT_EQ(ConnectorRegistry::Instance().Get(c.target, type), nullptr);
        }
    }

    const std::string log = MigrationLog();
    EXPECT_EQ(log.rfind(c.opening + "\r\n", 0), 0u) << log;
    const std::string tail = c.closing.empty() ? "item migrated successfully...\r\n\r\n" : c.closing + "\r\n";
    ASSERT_GE(log.size(), tail.size());
    EXPECT_EQ(log.substr(log.size() - tail.size()), tail) << log;
    EXPECT_TRUE(frontEnd.boxes.empty());
}

// The log is closed with what it held when a submit throws: the record's entry is there exactly
// when the target logs before submitting.
TEST_P(SubmitTest, WritesTheEntryBeforeOrAfterSubmitting)
{
    const SubmitCase& c = GetParam();
    Prepare(c.target);
    PlanOf(c.target, kDataContacts).throwOnSubmit = true;

    EXPECT_FALSE(SubmitSelection(parent, c.target));

    const std::string log = MigrationLog();
    EXPECT_EQ(log.find("Display Name: Item contacts") != std::string::npos, c.logBefore) << log;
    EXPECT_EQ(log.rfind(c.opening + "\r\n", 0), 0u) << log;
}

TEST_P(SubmitTest, WithEverySwitchOffWritesOnlyTheOpeningAndClosingLines)
{
    const SubmitCase& c = GetParam();
    Prepare(c.target);
    SetAllSync(false);

    ASSERT_TRUE(SubmitSelection(parent, c.target));

    EXPECT_EQ(MigrationLog(), c.opening + "\r\n" + (c.closing.empty() ? "" : c.closing + "\r\n"));
    EXPECT_TRUE(TheJournal().With("submit ").empty());
    EXPECT_TRUE(TheJournal().With("commit ").empty());
}

INSTANTIATE_TEST_SUITE_P(Targets, SubmitTest, testing::ValuesIn(kSubmits),
                         [](const auto& info) { return KindName(info.param.target); });

TEST_F(SubmitFixture, EverySelectedRecordIsLoggedAlsoOneTheTargetAlreadyHolds)
{
    RegisterAllFakes();
    PlanOf(kAppNotes, kDataContacts).records = {{"Ann", "Acme"}};
    PlanOf(kAppPalm, kDataContacts).records = {{"Ann", "Acme"}, {"Bob", ""}};
    ASSERT_TRUE(LoadAndCompare(parent, kAppPalm, kAppNotes));
    ASSERT_EQ(Fake(kAppPalm, kDataContacts)->Stored(),
              (std::vector<std::pair<std::string, int>>{{"Ann", MatchSame}, {"Bob", MatchNew}}));
    Select(kAppPalm, kDataContacts, {0, 1});

    ASSERT_TRUE(SubmitSelection(parent, kAppNotes));

    EXPECT_EQ(MigrationLog(), "Start migrating information to Lotus Notes.\r\n"
                              "Migrating Contact item:\r\n"
                              "\tDisplay Name: Ann\r\n"
                              "\tCompany: Acme\r\n"
                              "\tTitle: <empty>\r\n"
                              "\tEmail: <empty>\r\n"
                              "\tPrimary Phone: <empty>\r\n"
                              "Contact item migrated successfully...\r\n\r\n"
                              "Migrating Contact item:\r\n"
                              "\tDisplay Name: Bob\r\n"
                              "\tCompany: <empty>\r\n"
                              "\tTitle: <empty>\r\n"
                              "\tEmail: <empty>\r\n"
                              "\tPrimary Phone: <empty>\r\n"
                              "Contact item migrated successfully...\r\n\r\n");
    ASSERT_EQ(Fake(kAppNotes, kDataContacts)->submits.size(), 2u);
    EXPECT_EQ(Fake(kAppNotes, kDataContacts)->commits, 1);
}

TEST_F(SubmitFixture, AnEmptySelectionIsNeitherCommittedNorItsStatusFileTouched)
{
    Prepare(kAppNotes);
    ConnectorRegistry::Instance().GetSelectionList(kDataContacts)->RemoveAll();
    home.WriteFile("config/corvane/FWLN/LNAddrStatus.dat", "kept\r\n");
    home.WriteFile("config/corvane/FWLN/LNDateStatus.dat", "replaced\r\n");

    ASSERT_TRUE(SubmitSelection(parent, kAppNotes));

    EXPECT_EQ(Fake(kAppNotes, kDataContacts)->commits, 0);
    EXPECT_EQ(Fake(kAppNotes, kDataCalendar)->commits, 1);
    EXPECT_EQ(home.ReadFile("config/corvane/FWLN/LNAddrStatus.dat"), "kept\r\n");
    EXPECT_FALSE(platform::FileExists(folder + "LNDateStatus.dat"));
}

TEST_F(SubmitFixture, SkipsDataTypesSwitchedOffOrWithoutATargetConnector)
{
    Prepare(kAppNotes);
    g_Settings().SyncDate = false;
    // A target connector that was never made is not made for the submit.
    RegisterConnector(kAppACT, kDataContacts,
                      [] { return std::make_unique<FakeConnector>(kAppACT, kDataContacts); });

    ASSERT_TRUE(SubmitSelection(parent, kAppACT));
    EXPECT_EQ(ConnectorRegistry::Instance().Get(kAppACT, kDataContacts), nullptr);

    ASSERT_TRUE(SubmitSelection(parent, kAppNotes));
    EXPECT_EQ(Fake(kAppNotes, kDataContacts)->submits.size(), 1u);
    EXPECT_TRUE(Fake(kAppNotes, kDataCalendar)->submits.empty());
    EXPECT_EQ(Fake(kAppNotes, kDataCalendar)->commits, 0);
    EXPECT_EQ(Fake(kAppNotes, kDataTasks)->commits, 1);
}

// Commit failures: the message of each target and data type, for a false result and for a true
// result with the error flag set.
struct CommitFailureCase
{
    AppKind target;
    DataType type;
    std::string message; // with "quota exceeded" as the connector's error text
};

void PrintTo(const CommitFailureCase& c, std::ostream* os)
{
    *os << Tag(c.target, c.type);
}

const CommitFailureCase kCommitFailures[] = {
    {kAppACT, kDataContacts, "Failed to submit Contact changes to ACT!, Error=quota exceeded"},
    {kAppACT, kDataCalendar, "Failed to submit Calendar changes to ACT!, Error=quota exceeded"},
    {kAppACT, kDataTasks, "Failed to submit Task changes to ACT!, Error=quota exceeded"},
    {kAppACT, kDataNotes, "Failed to submit Notes changes to ACT!, Error=quota exceeded"},
    {kAppGoogle, kDataContacts, "Failed to submit Contact changes to Google, Error=quota exceeded"},
    {kAppGoogle, kDataCalendar, "Failed to submit Calendar changes to Google, Error=quota exceeded"},
    {kAppNotes, kDataContacts, "Failed to submit Contact changes to Lotus Notes, Error=quota exceeded"},
    {kAppNotes, kDataCalendar, "Failed to submit Calendar changes to Lotus Notes, Error=quota exceeded"},
    {kAppNotes, kDataTasks, "Failed to submit Task changes to Lotus Notes, Error=quota exceeded"},
    {kAppNotes, kDataNotes, "Failed to submit Notes changes to Lotus Notes, Error=quota exceeded"},
    {kAppDynamics, kDataContacts, "Failed to submit Contact changes to Dynamics CRM, Error=quota exceeded"},
    {kAppDynamics, kDataCalendar, "Failed to submit Calendar changes to Dynamics CRM, Error=quota exceeded"},
    {kAppDynamics, kDataTasks, "Failed to submit Task changes to Dynamics CRM, Error=quota exceeded"},
    {kAppDynamics, kDataNotes, "Failed to submit Notes changes to Dynamics CRM, Error=quota exceeded"},
    {kAppSalesForce, kDataContacts, "Failed to submit Contact changes to salesforce, Error=quota exceeded"},
    {kAppSalesForce, kDataCalendar, "Failed to submit Calendar changes to salesforce, Error=quota exceeded"},
    {kAppSalesForce, kDataTasks, "Failed to submit Task changes to salesforce, Error=quota exceeded"},
    {kAppSalesForce, kDataNotes, "Failed to submit Notes changes to salesforce, Error=quota exceeded"},
    {kAppSugarCRM, kDataContacts, "Failed to submit Contact changes to SugarCRM, Error=quota exceeded"},
    {kAppSugarCRM, kDataCalendar, "Failed to submit Calendar changes to SugarCRM, Error=quota exceeded"},
    {kAppSugarCRM, kDataTasks, "Failed to submit Task changes to SugarCRM, Error=quota exceeded"},
    {kAppSugarCRM, kDataNotes, "Failed to submit Notes changes to SugarCRM, Error=quota exceeded"},
};

class CommitFailureTest : public SubmitFixture,
                          public testing::WithParamInterface<std::tuple<CommitFailureCase, bool>>
{
};

TEST_P(CommitFailureTest, ReportsOnceAndSubmitsNothingAfterIt)
{
    const auto& [c, flagged] = GetParam();
    Prepare(c.target);
    FakePlan& plan = PlanOf(c.target, c.type);
    plan.errorText = "quota exceeded";
    plan.commitResult = flagged;
    plan.commitErrorFlag = flagged;

    EXPECT_FALSE(SubmitSelection(parent, c.target));

    ASSERT_EQ(frontEnd.boxes.size(), 1u);
    EXPECT_EQ(frontEnd.boxes[0].text, c.message);
    EXPECT_EQ(frontEnd.boxes[0].caption, "Error");
    EXPECT_EQ(frontEnd.boxes[0].icon, MessageIcon::Error);
    EXPECT_FALSE(frontEnd.boxes[0].waitWindowShown);
    EXPECT_TRUE(frontEnd.dialogs.empty());
    EXPECT_NE(DebugLog().find(c.message), std::string::npos);

    for (DataType type : kAllDataTypes) {
        if (FakeConnector* fake = Fake(c.target, type)) {
            EXPECT_EQ(fake->commits, type <= c.type ? 1 : 0) << TypeTag(type);
            EXPECT_EQ(fake->submits.size(), type <= c.type ? 1u : 0u) << TypeTag(type);
        }
    }
    // The data types committed before read as migrated; the failed one's item does not, and
    // the log ends with the failure. No flow writes its closing line.
    const std::string log = MigrationLog();
    const std::string messageLine = c.message + "\r\n";
    ASSERT_GE(log.size(), messageLine.size()) << log;
    EXPECT_EQ(log.substr(log.size() - messageLine.size()), messageLine) << log;
    EXPECT_EQ(log.find("completed successfully"), std::string::npos) << log;
    static const char* const kItemNames[] = {"Contact", "Calendar", "Task", "Note"};
    for (DataType type : kAllDataTypes) {
        if (type > c.type || Fake(c.target, type) == nullptr) {
            continue;
        }
        SCOPED_TRACE(TypeTag(type));
        const std::string item = kItemNames[type];
        EXPECT_EQ(log.find(item + " item migrated successfully...") != std::string::npos, type < c.type)
            << log;
        EXPECT_EQ(log.find(item + " item was not migrated...") != std::string::npos, type == c.type) << log;
    }
}

INSTANTIATE_TEST_SUITE_P(TargetsAndTypes, CommitFailureTest,
                         testing::Combine(testing::ValuesIn(kCommitFailures), testing::Bool()),
                         [](const auto& info) {
                             const CommitFailureCase& c = std::get<0>(info.param);
                             return KindName(c.target) + "_" + TypeTag(c.type) +
                                    (std::get<1>(info.param) ? "_ErrorFlag" : "_False");
                         });

// Cancel during a load: the flow ends at once as one that failed, says "Cancelled." (no error),
// drops what the cancelled data type's connector holds and loads no further data type.
class CancelTest : public EngineFixture, public testing::WithParamInterface<AppKind>
{
};

TEST_P(CancelTest, ACancelledLoadSaysCancelledAndDropsWhatWasLoaded)
{
    const AppKind kind = GetParam();
    RegisterAllFakes();
    PlanOf(kind, kDataContacts).records = {{"Ann", "a"}};
    PlanOf(kind, kDataCalendar).records = {{"Meeting", "m"}};
    PlanOf(kind, kDataCalendar).cancelDuringLoad = true;

    EXPECT_FALSE(MigrationFlow::Load(parent, kind, kAppNone));

    EXPECT_EQ(PlanOf(kind, kDataCalendar).cancelAnswer, FlowCancel::Answer::Accepted);
    ASSERT_EQ(frontEnd.boxes.size(), 1u);
    EXPECT_EQ(frontEnd.boxes[0].text, "Cancelled.");
    EXPECT_EQ(frontEnd.boxes[0].icon, MessageIcon::Information);
    EXPECT_FALSE(frontEnd.boxes[0].waitWindowShown);
    EXPECT_EQ(Fake(kind, kDataContacts)->Stored().size(), 1u);
    EXPECT_TRUE(Fake(kind, kDataCalendar)->Stored().empty());
    EXPECT_EQ(Fake(kind, kDataTasks), nullptr);
    EXPECT_NE(DebugLog().find("The user cancelled the load"), std::string::npos);

    // The next load is not cancelled by the old request.
    PlanOf(kind, kDataCalendar).cancelDuringLoad = false;
    frontEnd.boxes.clear();
    EXPECT_TRUE(MigrationFlow::Load(parent, kind, kAppNone));
    EXPECT_TRUE(frontEnd.boxes.empty());
}

// A helper-utility kind and an in-process one behave alike.
INSTANTIATE_TEST_SUITE_P(Kinds, CancelTest, testing::Values(kAppNotes, kAppPalm),
                         [](const auto& info) { return KindName(info.param); });

TEST_F(EngineFixture, ACancelWhileTheTargetLoadsLeavesTheSourceUnloaded)
{
    RegisterAllFakes();
    PlanOf(kAppNotes, kDataContacts).cancelDuringLoad = true;

    EXPECT_FALSE(LoadAndCompare(parent, kAppPalm, kAppNotes));

    EXPECT_EQ(Fake(kAppPalm, kDataContacts), nullptr);
    ASSERT_EQ(frontEnd.boxes.size(), 1u);
    EXPECT_EQ(frontEnd.boxes[0].text, "Cancelled.");
    EXPECT_TRUE(FlowCancel::Requested());
    EXPECT_EQ(FlowCancel::Request(), FlowCancel::Answer::NothingRunning);
}

// Cancel while records are written is refused, and the migration ends as it would have.
TEST_F(SubmitFixture, ACancelWhileWritingIsRefusedAndTheMigrationCompletes)
{
    Prepare(kAppNotes);
    PlanOf(kAppNotes, kDataContacts).cancelDuringCommit = true;

    ASSERT_TRUE(SubmitSelection(parent, kAppNotes));

    EXPECT_EQ(PlanOf(kAppNotes, kDataContacts).cancelAnswer, FlowCancel::Answer::Refused);
    EXPECT_FALSE(FlowCancel::Requested());
    for (DataType type : kAllDataTypes) {
        EXPECT_EQ(Fake(kAppNotes, type)->commits, 1) << TypeTag(type);
    }
    EXPECT_TRUE(frontEnd.boxes.empty());
    EXPECT_NE(std::string(FlowCancel::RefusedText()).find("half written"), std::string::npos);
}

// Records that lost characters to the code page: the load says how many in the log, in words
// that name the application and the data type and how to keep such characters.
TEST_F(EngineFixture, RecordsThatLostCharactersAreCountedInTheLog)
{
    struct Case
    {
        AppKind kind;
        DataType type;
        int count;
        const char* opening; // of the text; empty: no text
    };
    const Case cases[] = {
        {kAppGoogle, kDataContacts, 1, "1 Google contact has characters that the code page "},
        {kAppOutlook, kDataCalendar, 3, "3 Outlook calendar items have characters that the code page "},
        {kAppPalm, kDataNotes, 2, "2 Palm Desktop notes have characters"},
        {kAppPalm, kDataTasks, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Tag(c.kind, c.type));
        const std::string text = MigrationFlow::LossyRecordsText(c.kind, c.type, c.count);
        EXPECT_EQ(text.rfind(c.opening, 0), 0u) << text;
        EXPECT_EQ(text.empty(), c.count == 0);
        if (!text.empty()) {
            EXPECT_NE(text.find("FERRYWISE_CODEPAGE"), std::string::npos);
            EXPECT_NE(text.find(platform::AnsiCodePage() + " lacks"), std::string::npos) << text;
        }
    }

    RegisterAllFakes();
    PlanOf(kAppPalm, kDataContacts).lossyRecords = 2;
    ASSERT_TRUE(MigrationFlow::Load(parent, kAppPalm, kAppNone));
    EXPECT_NE(DebugLog().find(MigrationFlow::LossyRecordsText(kAppPalm, kDataContacts, 2)),
              std::string::npos);
    EXPECT_EQ(DebugLog().find("Palm Desktop calendar items have"), std::string::npos);
    EXPECT_TRUE(frontEnd.boxes.empty());
}

// An in-process reader's count reaches the wait window: the first record, every hundredth and
// the last, in the data type's words.
TEST_F(EngineFixture, AnInProcessReadersCountIsShownWhileItLoads)
{
    RegisterAllFakes();
    FakePlan& plan = PlanOf(kAppOutlook, kDataContacts);
    for (int i = 0; i < 250; ++i) {
        plan.records.push_back({"Contact " + std::to_string(i), ""});
    }
    plan.reportsProgress = true;
    g_Settings().SyncDate = g_Settings().SyncTask = g_Settings().SyncNote = false;

    ASSERT_TRUE(MigrationFlow::Load(parent, kAppOutlook, kAppNone));

    const std::vector<std::string> texts = TheJournal().With("text: ");
    const std::vector<std::string> expected = {
        "Loading information from Outlook ...", "Loading Outlook Contacts ...",
        "Loading Outlook Contacts: 1 of 250",   "Loading Outlook Contacts: 100 of 250",
        "Loading Outlook Contacts: 200 of 250", "Loading Outlook Contacts: 250 of 250"};
    EXPECT_EQ(texts, expected);
    // No sink is left behind for a reader that loads outside a flow.
    FlowProgress::Report(1, 1);
    EXPECT_EQ(TheJournal().With("text: ").size(), expected.size());
}

} // namespace
} // namespace fwtest
