#include "engine/MigrationDriver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "engine/MigrationFlow.h"

namespace fwtest {
namespace {

using Stored = std::vector<std::pair<std::string, int>>;

// ---------------------------------------------------------------------------------------------
// Factory and registry.

TEST_F(EngineFixture, FactoryMakesOnlyWhatWasRegistered)
{
    EXPECT_EQ(CreateConnector(kAppNotes, kDataContacts), nullptr);

    RegisterFakes({kAppNotes});
    EXPECT_NE(CreateConnector(kAppNotes, kDataContacts), nullptr);
    EXPECT_EQ(CreateConnector(kAppOutlook, kDataContacts), nullptr);

    RegisterConnector(kAppNotes, kDataCalendar, [] { return std::unique_ptr<CxConnector>(); });
    EXPECT_EQ(CreateConnector(kAppNotes, kDataCalendar), nullptr);
    RegisterConnector(kAppNotes, kDataTasks,
                      []() -> std::unique_ptr<CxConnector> { throw std::bad_alloc(); });
    EXPECT_EQ(CreateConnector(kAppNotes, kDataTasks), nullptr);
    RegisterConnector(kAppNotes, kDataNotes, nullptr); // an empty creator takes the entry away
    EXPECT_EQ(CreateConnector(kAppNotes, kDataNotes), nullptr);

    RegisterConnector(static_cast<AppKind>(9), kDataContacts,
                      [] { return std::make_unique<FakeConnector>(kAppNotes, kDataContacts); });
    EXPECT_EQ(CreateConnector(static_cast<AppKind>(9), kDataContacts), nullptr);

    UnregisterAllConnectors();
    EXPECT_EQ(CreateConnector(kAppNotes, kDataContacts), nullptr);
}

TEST_F(EngineFixture, RegistryKeepsOneConnectorPerKindAndDataType)
{
    RegisterFakes({kAppNotes});
    ConnectorRegistry& registry = ConnectorRegistry::Instance();
    EXPECT_EQ(registry.Get(kAppNotes, kDataContacts), nullptr);

    CxConnector* made = registry.GetOrCreate(kAppNotes, kDataContacts);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(registry.GetOrCreate(kAppNotes, kDataContacts), made);
    EXPECT_EQ(registry.Get(kAppNotes, kDataContacts), made);
    EXPECT_EQ(registry.Get(kAppNotes, kDataCalendar), nullptr);
    EXPECT_EQ(registry.GetOrCreate(kAppNone, kDataContacts), nullptr);
    EXPECT_EQ(registry.GetOrCreate(kAppNotes, static_cast<DataType>(4)), nullptr);
    EXPECT_EQ(registry.GetSelectionList(static_cast<DataType>(-1)), nullptr);
}

// ---------------------------------------------------------------------------------------------
// LoadAndCompare.

TEST_F(EngineFixture, EqualKindsLoadNothing)
{
    RegisterAllFakes();
    EXPECT_TRUE(LoadAndCompare(parent, kAppNotes, kAppNotes));
    EXPECT_TRUE(TheJournal().Events().empty());
    EXPECT_EQ(frontEnd.ViewCount(), 0);
}

TEST_F(EngineFixture, KindsOutsideTheTableFail)
{
    struct Case
    {
        int source;
        int target;
    };
    const Case cases[] = {
        {kAppOutlook, 0}, {kAppOutlook, 9}, {0, kAppNotes}, {9, kAppNotes}, {-1, kAppNotes}};
    RegisterAllFakes();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.source << " -> " << c.target);
        EXPECT_FALSE(LoadAndCompare(parent, static_cast<AppKind>(c.source), static_cast<AppKind>(c.target)));
    }
    EXPECT_TRUE(frontEnd.boxes.empty());
}

TEST_F(EngineFixture, LoadsTheTargetFirstAndComparesEachSourceDataType)
{
    RegisterAllFakes();
    // Same, Diff and New against the target, in every data type.
    for (DataType type : kAllDataTypes) {
        PlanOf(kAppNotes, type).records = {{"Same", ""}, {"Changed", ""}};
        PlanOf(kAppOutlook, type).records = {{"Same", ""}, {"Changed", "other"}, {"Fresh", ""}};
    }

    ASSERT_TRUE(LoadAndCompare(parent, kAppOutlook, kAppNotes));

    EXPECT_EQ(TheJournal().With("load "),
              (std::vector<std::string>{"LN contacts", "LN calendar", "LN tasks", "LN notes", "OL contacts",
                                        "OL calendar", "OL tasks", "OL notes"}));
    EXPECT_EQ(frontEnd.ViewCount(), 2); // one wait window per flow
    for (DataType type : kAllDataTypes) {
        SCOPED_TRACE(TypeTag(type));
        EXPECT_EQ(Fake(kAppOutlook, type)->Stored(),
                  (Stored{{"Same", MatchSame}, {"Changed", MatchDiff}, {"Fresh", MatchNew}}));
        // The target is never compared.
        EXPECT_EQ(Fake(kAppNotes, type)->Stored(),
                  (Stored{{"Same", kNotCompared}, {"Changed", kNotCompared}}));
    }
}

TEST_F(EngineFixture, ComparesOnlyWithAPartnerConnectorThatExists)
{
    RegisterAllFakes();
    for (DataType type : kAllDataTypes) {
        PlanOf(kAppNotes, type).records = {{"Known", ""}};
        PlanOf(kAppOutlook, type).records = {{"Known", ""}, {"Fresh", ""}};
    }
    ASSERT_TRUE(LoadOne(parent, kAppNotes, kDataCalendar));

    ASSERT_TRUE(MigrationFlow::Load(parent, kAppOutlook, kAppNotes));

    EXPECT_EQ(Fake(kAppOutlook, kDataCalendar)->Stored(),
              (Stored{{"Known", MatchSame}, {"Fresh", MatchNew}}));
    for (DataType type : {kDataContacts, kDataTasks, kDataNotes}) {
        EXPECT_EQ(Fake(kAppOutlook, type)->Stored(),
                  (Stored{{"Known", kNotCompared}, {"Fresh", kNotCompared}}))
            << TypeTag(type);
    }
}

TEST_F(EngineFixture, GoogleIsNoComparisonPartnerForTasksAndNotes)
{
    RegisterAllFakes();
    for (DataType type : kAllDataTypes) {
        PlanOf(kAppACT, type).records = {{"Fresh", ""}};
    }
    ASSERT_TRUE(LoadAndCompare(parent, kAppACT, kAppGoogle));

    EXPECT_EQ(Fake(kAppACT, kDataContacts)->Stored(), (Stored{{"Fresh", MatchNew}}));
    EXPECT_EQ(Fake(kAppACT, kDataCalendar)->Stored(), (Stored{{"Fresh", MatchNew}}));
    EXPECT_EQ(Fake(kAppACT, kDataTasks)->Stored(), (Stored{{"Fresh", kNotCompared}}));
    EXPECT_EQ(Fake(kAppACT, kDataNotes)->Stored(), (Stored{{"Fresh", kNotCompared}}));
}

TEST_F(EngineFixture, AFailedTargetLoadLeavesTheSourceUnloaded)
{
    RegisterAllFakes();
    PlanOf(kAppNotes, kDataContacts).loadResult = false;
    PlanOf(kAppNotes, kDataContacts).errorText = "no server";

    EXPECT_FALSE(LoadAndCompare(parent, kAppOutlook, kAppNotes));

    ASSERT_EQ(frontEnd.boxes.size(), 1u);
    EXPECT_EQ(frontEnd.boxes[0].text, "Loading Lotus Notes Contacts Error: no server");
    for (DataType type : kAllDataTypes) {
        EXPECT_EQ(ConnectorRegistry::Instance().Get(kAppOutlook, type), nullptr) << TypeTag(type);
    }
}

TEST_F(EngineFixture, ANotesCalendarFailureStopsBeforeTasksAndKeepsContacts)
{
    RegisterAllFakes();
    PlanOf(kAppNotes, kDataContacts).records = {{"Ann", ""}, {"Bob", ""}};
    PlanOf(kAppNotes, kDataCalendar).loadResult = false;
    PlanOf(kAppNotes, kDataCalendar).errorText = "mail file locked";

    EXPECT_FALSE(LoadAndCompare(parent, kAppPalm, kAppNotes));

    EXPECT_EQ(TheJournal().With("load "), (std::vector<std::string>{"LN contacts", "LN calendar"}));
    EXPECT_EQ(Fake(kAppNotes, kDataContacts)->Stored().size(), 2u);
    EXPECT_EQ(ConnectorRegistry::Instance().Get(kAppNotes, kDataTasks), nullptr);
    EXPECT_EQ(ConnectorRegistry::Instance().Get(kAppNotes, kDataNotes), nullptr);
    ASSERT_EQ(frontEnd.boxes.size(), 1u);
    EXPECT_EQ(frontEnd.boxes[0].text, "Loading Lotus Notes Calendar Error: mail file locked");
}

TEST_F(EngineFixture, ReloadingKeepsTheConnectorsButReplacesTheirRecords)
{
    RegisterAllFakes();
    PlanOf(kAppPalm, kDataContacts).records = {{"Ann", ""}, {"Bob", ""}};
    PlanOf(kAppNotes, kDataContacts).records = {{"Bob", ""}};
    ASSERT_TRUE(LoadAndCompare(parent, kAppPalm, kAppNotes));
    FakeConnector* source = Fake(kAppPalm, kDataContacts);
    FakeConnector* target = Fake(kAppNotes, kDataContacts);

    PlanOf(kAppPalm, kDataContacts).records = {{"Cy", ""}, {"Ann", ""}};
    PlanOf(kAppNotes, kDataContacts).records = {{"Ann", ""}};
    ASSERT_TRUE(LoadAndCompare(parent, kAppPalm, kAppNotes));

    EXPECT_EQ(Fake(kAppPalm, kDataContacts), source);
    EXPECT_EQ(Fake(kAppNotes, kDataContacts), target);
    EXPECT_EQ(source->clears, 1);
    EXPECT_EQ(source->loads, 2);
    EXPECT_EQ(source->configs.size(), 2u);
    EXPECT_EQ(source->Stored(), (Stored{{"Cy", MatchNew}, {"Ann", MatchSame}}));
    EXPECT_EQ(target->Stored(), (Stored{{"Ann", kNotCompared}}));
}

// A kind whose connectors no longer reach what the settings name (another data file chosen)
// gets new connectors for the next load; otherwise they are kept.
TEST_F(EngineFixture, StaleConnectorsAreMadeAgainBeforeALoad)
{
    RegisterAllFakes();
    bool stale = false;
    TestApps().FindMutable(kAppPalm)->connectorsStale = [&stale] { return stale; };
    PlanOf(kAppPalm, kDataContacts).records = {{"Ann", ""}};
    ASSERT_TRUE(LoadAndCompare(parent, kAppPalm, kAppNotes));
    ASSERT_TRUE(LoadAndCompare(parent, kAppPalm, kAppNotes));
    EXPECT_EQ(Fake(kAppPalm, kDataContacts)->loads, 2);

    stale = true;
    PlanOf(kAppPalm, kDataContacts).records = {{"Bob", ""}};
    ASSERT_TRUE(LoadAndCompare(parent, kAppPalm, kAppNotes));
    TestApps().FindMutable(kAppPalm)->connectorsStale = nullptr;
    FakeConnector* remade = Fake(kAppPalm, kDataContacts);
    ASSERT_NE(remade, nullptr);
    EXPECT_EQ(remade->loads, 1);
    EXPECT_EQ(remade->clears, 0);
    EXPECT_EQ(remade->Stored(), (Stored{{"Bob", MatchNew}}));
    EXPECT_EQ(Fake(kAppNotes, kDataContacts)->loads, 3); // the target's are kept
}

// ---------------------------------------------------------------------------------------------
// LoadOne.

TEST_F(EngineFixture, LoadOneLoadsThatDataTypeAloneWhateverItsSwitchSays)
{
    RegisterAllFakes();
    PlanOf(kAppNotes, kDataTasks).records = {{"Call", ""}};
    ASSERT_TRUE(LoadOne(parent, kAppNotes, kDataTasks));
    TheJournal().Clear();
    PlanOf(kAppPalm, kDataTasks).records = {{"Call", ""}};
    SetAllSync(false);

    ASSERT_TRUE(LoadOne(parent, kAppPalm, kDataTasks));

    EXPECT_EQ(TheJournal().Events(),
              (std::vector<std::string>{"start", "text: Loading information from Palm Desktop ...",
                                        "text: Loading Palm Desktop Tasks ...", "load PD tasks", "stop"}));
    // No comparison partner, although the Lotus Notes tasks are loaded.
    EXPECT_EQ(Fake(kAppPalm, kDataTasks)->Stored(), (Stored{{"Call", kNotCompared}}));
    EXPECT_EQ(ConnectorRegistry::Instance().Get(kAppPalm, kDataContacts), nullptr);
}

TEST_F(EngineFixture, LoadOneRefusesADataTypeTheKindHasNoFlowFor)
{
    RegisterAllFakes();
    EXPECT_FALSE(LoadOne(parent, kAppGoogle, kDataTasks));
    EXPECT_FALSE(LoadOne(parent, kAppGoogle, kDataNotes));
    EXPECT_FALSE(LoadOne(parent, kAppNotes, static_cast<DataType>(4)));
    EXPECT_FALSE(LoadOne(parent, static_cast<AppKind>(9), kDataContacts));
    EXPECT_TRUE(TheJournal().Events().empty());
    EXPECT_TRUE(frontEnd.boxes.empty());
}

// ---------------------------------------------------------------------------------------------
// SubmitSelection.

TEST_F(EngineFixture, KindsWithoutASubmitFlowReturnFalseShowingNothing)
{
    RegisterAllFakes();
    ASSERT_TRUE(LoadOne(parent, kAppPalm, kDataContacts));
    TheJournal().Clear();
    for (int kind : {static_cast<int>(kAppPalm), 0, 9}) {
        SCOPED_TRACE(kind);
        EXPECT_FALSE(SubmitSelection(parent, static_cast<AppKind>(kind)));
    }
    EXPECT_TRUE(TheJournal().Events().empty());
    EXPECT_TRUE(frontEnd.boxes.empty());
    EXPECT_TRUE(frontEnd.dialogs.empty());
    EXPECT_FALSE(platform::FileExists(folder + "MILog.txt"));
}

TEST_F(EngineFixture, AnExceptionInASubmitEndsInTheExceptionDialog)
{
    struct Case
    {
        const char* name;
        bool standard;
        std::string what;
    };
    const Case cases[] = {{"std::exception", true, "submit exploded"},
                          {"anything else", false, "unknown exception"}};
    RegisterAllFakes();
    PlanOf(kAppPalm, kDataContacts).records = {{"Ann", ""}, {"Bob", ""}};
    ASSERT_TRUE(LoadAndCompare(parent, kAppPalm, kAppNotes));
    Select(kAppPalm, kDataContacts, {0, 1});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frontEnd.dialogs.clear();
        FakePlan& plan = PlanOf(kAppNotes, kDataContacts);
        plan.throwOnSubmit = c.standard;
        plan.throwOtherOnSubmit = !c.standard;

        EXPECT_FALSE(SubmitSelection(parent, kAppNotes));

        ASSERT_EQ(frontEnd.dialogs.size(), 1u);
        EXPECT_EQ(frontEnd.dialogs[0].what, c.what);
        EXPECT_EQ(frontEnd.dialogs[0].parent, parent);
        EXPECT_FALSE(frontEnd.dialogs[0].waitWindowShown);
        EXPECT_FALSE(CxCommWaitWindow::IsShown());
        EXPECT_TRUE(frontEnd.boxes.empty());
        EXPECT_NE(DebugLog().find(c.what), std::string::npos);
        // The log was closed with what it held: the opening line and the first entry.
        EXPECT_NE(MigrationLog().find("\tDisplay Name: Ann\r\n"), std::string::npos);
    }
    EXPECT_EQ(Fake(kAppNotes, kDataContacts)->commits, 0);
}

// ---------------------------------------------------------------------------------------------
// Field mapping.

struct MappingCase
{
    AppKind kind;
    bool FWSettings::*enabled;
    int firstID;
};

void PrintTo(const MappingCase& c, std::ostream* os)
{
    *os << KindTag(c.kind);
}

const MappingCase kMappings[] = {
    {kAppACT, &FWSettings::ACTCustom, kCustomIDACT},
    {kAppGoogle, &FWSettings::GGCustom, kCustomIDGoogle},
    {kAppOutlook, &FWSettings::OLCustom, kCustomIDOutlook},
    {kAppNotes, &FWSettings::LNCustom, kCustomIDNotes},
    {kAppPalm, &FWSettings::PDCustom, kCustomIDPalm},
};

class FieldMappingTest : public EngineFixture, public testing::WithParamInterface<MappingCase>
{
protected:
    static void FillIDs()
    {
        for (int i = 0; i < kCustomIDCount; ++i) {
            g_Settings().CustomID[i] = 100 + i;
        }
    }
};

TEST_P(FieldMappingTest, TakesTheKindsSlotsWhenItsSwitchIsOn)
{
    const MappingCase& c = GetParam();
    RegisterAllFakes();
    FillIDs();
    g_Settings().*c.enabled = true;

    PrepareFieldMapping(c.kind);

    for (int slot = 1; slot <= 9; ++slot) {
        EXPECT_EQ(GetMappedField(c.kind, slot), 100 + c.firstID + slot - 1) << slot;
    }
    EXPECT_EQ(GetMappedField(c.kind, 10), 0);
    EXPECT_NE(Fake(c.kind, kDataContacts), nullptr);
    EXPECT_EQ(ConnectorRegistry::Instance().Get(c.kind, kDataCalendar), nullptr);
}

TEST_P(FieldMappingTest, GivesZerosWhenItsSwitchIsOff)
{
    const MappingCase& c = GetParam();
    FillIDs();
    for (int slot = 1; slot <= 9; ++slot) {
        SetMappedField(c.kind, slot, 55); // left from an earlier mapping
    }
    g_Settings().*c.enabled = false;

    PrepareFieldMapping(c.kind); // no connector can be made: the mapping is set all the same

    for (int slot = 1; slot <= 9; ++slot) {
        EXPECT_EQ(GetMappedField(c.kind, slot), 0) << slot;
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, FieldMappingTest, testing::ValuesIn(kMappings),
                         [](const auto& info) { return std::string(KindTag(info.param.kind)); });

TEST_F(EngineFixture, FieldMappingOfOtherKindsDoesNothing)
{
    RegisterAllFakes();
    g_Settings().ACTCustom = true;
    g_Settings().CustomID[0] = 7;
    for (int kind : {0, 6, 7, 8, 9}) {
        PrepareFieldMapping(static_cast<AppKind>(kind));
    }
    for (int kind = 1; kind <= 8; ++kind) {
        for (DataType type : kAllDataTypes) {
            EXPECT_EQ(ConnectorRegistry::Instance().Get(static_cast<AppKind>(kind), type), nullptr);
        }
        EXPECT_EQ(GetMappedField(static_cast<AppKind>(kind), 1), 0) << kind;
    }
}

TEST(CustomFieldMapTest, IgnoresSlotsAndKindsOutsideTheTable)
{
    ClearMappedFields();
    struct Case
    {
        int kind;
        int slot;
        bool kept;
    };
    const Case cases[] = {{1, 1, true},  {8, 10, true}, {4, 0, false}, {4, 11, false},
                          {0, 1, false}, {9, 1, false}, {-1, 3, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << "/" << c.slot);
        SetMappedField(static_cast<AppKind>(c.kind), c.slot, 31);
        EXPECT_EQ(GetMappedField(static_cast<AppKind>(c.kind), c.slot), c.kept ? 31 : 0);
    }
    // Kinds are kept apart.
    EXPECT_EQ(GetMappedField(kAppGoogle, 1), 0);
    ClearMappedFields();
    EXPECT_EQ(GetMappedField(kAppACT, 1), 0);
}

// ---------------------------------------------------------------------------------------------
// Sessions.

TEST_F(EngineFixture, EndSessionDestroysConnectorsInOrderAndForgetsTheSelection)
{
    RegisterAllFakes();
    for (int kind = kAppACT; kind <= kAppSugarCRM; ++kind) {
        for (DataType type : kAllDataTypes) {
            ConnectorRegistry::Instance().GetOrCreate(static_cast<AppKind>(kind), type);
        }
    }
    // Records the lists borrow: destroying a list must not free them.
    CommAddrRec contact{};
    CommNoteRec note{};
    ConnectorRegistry::Instance().GetSelectionList(kDataContacts)->Append(&contact);
    ConnectorRegistry::Instance().GetSelectionList(kDataNotes)->Append(&note);

    EndSession(false);

    std::vector<std::string> expected;
    for (AppKind kind : {kAppPalm, kAppACT, kAppGoogle, kAppNotes, kAppOutlook, kAppDynamics, kAppSalesForce,
                         kAppSugarCRM}) {
        for (DataType type : kAllDataTypes) {
            expected.push_back(Tag(kind, type));
        }
    }
    EXPECT_EQ(TheJournal().With("destroy "), expected);
    for (DataType type : kAllDataTypes) {
        EXPECT_EQ(ConnectorRegistry::Instance().GetSelectionList(type), nullptr);
    }
    BeginSession(TestApps()); // for the fixture's own EndSession
}

TEST_F(EngineFixture, BeginSessionGivesAnEmptyRegistryAndEmptyLists)
{
    RegisterAllFakes();
    ASSERT_TRUE(LoadOne(parent, kAppNotes, kDataContacts));
    CommAddrRec contact{};
    ConnectorRegistry::Instance().GetSelectionList(kDataContacts)->Append(&contact);

    BeginSession(TestApps());

    EXPECT_EQ(TheJournal().With("destroy "), (std::vector<std::string>{"LN contacts"}));
    EXPECT_EQ(ConnectorRegistry::Instance().Get(kAppNotes, kDataContacts), nullptr);
    for (DataType type : kAllDataTypes) {
        ASSERT_NE(ConnectorRegistry::Instance().GetSelectionList(type), nullptr);
        EXPECT_EQ(ConnectorRegistry::Instance().GetSelectionList(type)->GetCount(), 0u);
    }
}

TEST_F(EngineFixture, SettingsSurviveASession)
{
    EXPECT_EQ(std::string(g_SettingsIni().GetPath()), folder + "FWLN.ini");
    EXPECT_EQ(std::string(g_debugLog.GetLogFolder()), folder);
    EXPECT_TRUE(g_Settings().SyncAddr); // defaults, from no file at all

    g_Settings().SyncTask = false;
    g_Settings().EnableDebug = true;
    g_Settings().LogLevel = 1;
    g_Settings().LNSavePassword = true;
    CopyText(g_Settings().LNPasswordText, "secret");
    CopyText(g_Settings().LNAddrName, "names.nsf");
    EndSession();
    g_Settings() = FWSettings{};
    g_debugLog.EnableLog(false);
    g_debugLog.SetLogLevel(3);

    BeginSession(TestApps());
    EXPECT_FALSE(g_Settings().SyncTask);
    EXPECT_STREQ(g_Settings().LNPasswordText, "secret");
    EXPECT_STREQ(g_Settings().LNAddrName, "names.nsf");
    EXPECT_TRUE(g_debugLog.IsEnabled());
    EXPECT_EQ(g_debugLog.GetLogLevel(), 1);

    // Ending without saving keeps the file as it was.
    g_Settings().SyncTask = true;
    EndSession(false);
    BeginSession(TestApps());
    EXPECT_FALSE(g_Settings().SyncTask);
    g_debugLog.EnableLog(false);
}

TEST(SessionWithoutWorkingFolderTest, LeavesTheSettingsPathAsItWas)
{
    TempHome home;
    g_debugLog.SetLogFolder((home.Root() + "/").c_str());
    // A file where the configuration folder should be: no working folder can be made.
    const std::string blocker = home.WriteFile("blocker", "not a folder");
    setenv("XDG_CONFIG_HOME", blocker.c_str(), 1); // TempHome restores it
    ASSERT_TRUE(g_SettingsIni().SetPath((home.Root() + "/elsewhere.ini").c_str()));
    const std::string logFolder = g_debugLog.GetLogFolder();

    BeginSession(TestApps());

    EXPECT_EQ(std::string(g_SettingsIni().GetPath()), home.Root() + "/elsewhere.ini");
    EXPECT_EQ(std::string(g_debugLog.GetLogFolder()), logFolder);
    EXPECT_EQ(g_Settings().LogLevel, 3); // defaults
    ASSERT_NE(ConnectorRegistry::Instance().GetSelectionList(kDataContacts), nullptr);
    EndSession(false);
}

} // namespace
} // namespace fwtest
