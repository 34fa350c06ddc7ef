// A kind the engine has never heard of takes part in a whole migration through its descriptor
// alone: its connectors, configuration and status files come from the descriptor, its flow texts
// from its name.
#include "misc/CxAppDescriptor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineFixture.h"
#include "engine/MigrationFlow.h"

namespace fwtest {
namespace {

using Stored = std::vector<std::pair<std::string, int>>;

constexpr AppKind kAppAcme = static_cast<AppKind>(40);  // a source
constexpr AppKind kAppZebra = static_cast<AppKind>(41); // a target working through helpers

class MadeUpKindTest : public EngineFixture
{
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        CxAppDescriptor acme;
        acme.kind = kAppAcme;
        acme.name = "Acme Organizer";
        for (DataType type : {kDataContacts, kDataNotes}) {
            acme.creators[type] = [type] { return std::make_unique<FakeConnector>(kAppAcme, type); };
        }
        apps.Add(acme);

        CxAppDescriptor zebra;
        zebra.kind = kAppZebra;
        zebra.name = "Zebra Notes";
        zebra.helperUtility = true;
        zebra.creators[kDataContacts] = [] {
            return std::make_unique<FakeConnector>(kAppZebra, kDataContacts);
        };
        zebra.statusFiles[kDataContacts] = "ZBAddrStatus.dat";
        zebra.makeConfig = [](DataType type, const FWSettings&, const std::string& folder) {
            ConnectorConfig config;
            config.dataFolder = folder;
            config.database = type == kDataContacts ? "zebra-contacts.db" : "";
            return std::optional<ConnectorConfig>(config);
        };
        apps.Add(zebra);

        // The fixture's session gives way to one with these two kinds only.
        EndSession(false);
        BeginSession(apps);
        SetAllSync(true);
        TheJournal().Clear();
    }

    CxAppRegistry apps;
};

TEST_F(MadeUpKindTest, LoadsComparesAndSubmitsThroughItsDescriptor)
{
    PlanOf(kAppZebra, kDataContacts).records = {{"Ann", ""}, {"Bob", "old"}};
    PlanOf(kAppAcme, kDataContacts).records = {{"Ann", ""}, {"Bob", "new"}, {"Cem", ""}};
    PlanOf(kAppAcme, kDataNotes).records = {{"Memo", ""}};

    ASSERT_TRUE(LoadAndCompare(parent, kAppAcme, kAppZebra));
    EXPECT_TRUE(frontEnd.boxes.empty());
    EXPECT_EQ(TheJournal().With("text: "),
              (std::vector<std::string>{
                  "Loading information from Zebra Notes ...", "Loading Zebra Notes Contacts ...",
                  "Loading information from Acme Organizer ...", "Loading Acme Organizer Contacts ...",
                  "Loading Acme Organizer Notes ..."}));
    // The target's helper writes the status file its descriptor names, in the working folder.
    EXPECT_EQ(TheJournal().With("watch: "), (std::vector<std::string>{folder + "ZBAddrStatus.dat"}));
    ASSERT_EQ(Fake(kAppZebra, kDataContacts)->configs.size(), 1u);
    EXPECT_EQ(Fake(kAppZebra, kDataContacts)->configs[0].database, "zebra-contacts.db");
    EXPECT_EQ(Fake(kAppZebra, kDataContacts)->configs[0].dataFolder, folder);
    EXPECT_TRUE(Fake(kAppAcme, kDataContacts)->configs.empty()); // the source takes nothing

    EXPECT_EQ(Fake(kAppAcme, kDataContacts)->Stored(),
              (Stored{{"Ann", MatchSame}, {"Bob", MatchDiff}, {"Cem", MatchNew}}));
    // The target has no notes: the source's notes are loaded but compared with nothing.
    EXPECT_EQ(Fake(kAppAcme, kDataNotes)->Stored(), (Stored{{"Memo", kNotCompared}}));

    Select(kAppAcme, kDataContacts, {1, 2});
    ASSERT_TRUE(SubmitSelection(parent, kAppZebra));
    EXPECT_TRUE(frontEnd.boxes.empty());
    FakeConnector* target = Fake(kAppZebra, kDataContacts);
    ASSERT_EQ(target->submits.size(), 2u);
    EXPECT_EQ(target->submits[0].key, "Bob");
    EXPECT_EQ(target->submits[1].key, "Cem");
    EXPECT_FALSE(target->submits[0].writeNow); // a helper-utility target writes with the commit
    EXPECT_EQ(target->commits, 1);
    const std::string log = MigrationLog();
    EXPECT_NE(log.find("Migrating information to Zebra Notes ..."), std::string::npos) << log;
    EXPECT_NE(log.find("Migrating information to Zebra Notes completed successfully."), std::string::npos)
        << log;
}

TEST_F(MadeUpKindTest, AFailedCommitTellsTheKindByItsName)
{
    PlanOf(kAppAcme, kDataContacts).records = {{"Cem", ""}};
    PlanOf(kAppZebra, kDataContacts).commitResult = false;
    PlanOf(kAppZebra, kDataContacts).errorText = "disk full";
    ASSERT_TRUE(LoadAndCompare(parent, kAppAcme, kAppZebra));
    Select(kAppAcme, kDataContacts, {0});

    EXPECT_FALSE(SubmitSelection(parent, kAppZebra));
    ASSERT_EQ(frontEnd.boxes.size(), 1u);
    EXPECT_EQ(frontEnd.boxes[0].text, "Failed to submit Contact changes to Zebra Notes, Error=disk full");
}

TEST_F(MadeUpKindTest, ADataTypeWithoutConnectorHasNoFlowAndKindsOutsideTheSessionNone)
{
    EXPECT_TRUE(MigrationFlow::HasLoadFlow(kAppAcme, kDataContacts));
    EXPECT_FALSE(MigrationFlow::HasLoadFlow(kAppAcme, kDataCalendar));
    EXPECT_TRUE(MigrationFlow::IsHelperUtilityKind(kAppZebra));
    EXPECT_FALSE(MigrationFlow::IsHelperUtilityKind(kAppAcme));
    EXPECT_EQ(MigrationFlow::NoConnectorText(kAppAcme, kDataTasks),
              "no connector for Acme Organizer tasks is available in this build");
    // Lotus Notes is not one of this session's kinds.
    EXPECT_FALSE(LoadAndCompare(parent, kAppAcme, kAppNotes));
    EXPECT_EQ(ConnectorRegistry::Instance().GetOrCreate(kAppNotes, kDataContacts), nullptr);
}

} // namespace
} // namespace fwtest
