// The stand-in CRM services: the hashes their secrets are kept as, and the twelve helpers run as
// real child processes by their own connectors on a service database in a temporary home —
// identifiers that survive a round trip, a change applied in place, a submit that fails
// changing nothing, a calendar range, and a login refused.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Dynamics/CxDNNoteUtil.h"
#include "SalesForce/CxSFDateUtil.h"
#include "SalesForce/CxSFTaskUtil.h"
#include "SugarCRM/CxSGAddrUtil.h"
#include "common/TempHome.h"
#include "crm/CrmCredentials.h"
#include "crm/CrmStore.h"

namespace {

std::string Hex(const crm::Sha256Digest& digest)
{
    return crm::ToHex(digest.data(), digest.size());
}

TEST(CrmCredentialsTest, HashesAsTheStandardsSay)
{
    struct Case
    {
        const char* name;
        std::string digest;
        const char* expected;
    };
    const Case cases[] = {
        {"SHA-256 of nothing", Hex(crm::Sha256("")),
         "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"SHA-256 of abc", Hex(crm::Sha256("abc")),
         "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"SHA-256 over two blocks",
         Hex(crm::Sha256("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"HMAC-SHA-256, RFC 4231 case 2", Hex(crm::HmacSha256("Jefe", "what do ya want for nothing?")),
         "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843"},
        {"PBKDF2-HMAC-SHA-256, RFC 7914", Hex(crm::Pbkdf2Sha256("passwd", "salt", 1)),
         "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.digest, c.expected) << c.name;
    }
}

TEST(CrmCredentialsTest, AStoredSecretMatchesItselfAlone)
{
    const std::string stored = crm::HashSecret("s3cret");
    EXPECT_EQ(stored.find("s3cret"), std::string::npos);
    EXPECT_NE(crm::HashSecret("s3cret"), stored) << "every hash has its own salt";
    struct Case
    {
        const char* secret;
        std::string stored;
        bool matches;
    };
    const Case cases[] = {
        {"s3cret", stored, true},
        {"s3creT", stored, false},
        {"", stored, false},
        {"", crm::HashSecret(""), true},
        {"s3cret", "", false},
        {"s3cret", "s3cret", false},
        {"s3cret", "1$zz$00", false},
        {"s3cret", "0$00$" + std::string(64, '0'), false},
        {"s3cret", stored.substr(0, stored.size() - 2), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(crm::SecretMatches(c.secret, c.stored), c.matches) << c.secret << " / " << c.stored;
    }
}

class CrmHelperTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_home.SetEnv("XDG_DATA_HOME", m_home.Path("data"));
        m_home.SetEnv("FERRYWISE_HELPER_DIR", FW_HELPER_DIR);
        m_home.WriteFile("work/.keep", "");
        m_folder = m_home.Path("work/");
    }

    // The service's database with one user.
    std::string MakeService(crm::Family family, const char* host, const char* organisation, const char* token)
    {
        std::string path;
        std::string error;
        EXPECT_TRUE(crm::Store::DatabasePath(family, host, organisation, path, error)) << error;
        crm::Store store;
        EXPECT_TRUE(store.Open(family, path, true, error)) << error;
        EXPECT_TRUE(store.SetAccount("ada", "pw", token, nullptr, error)) << error;
        return path;
    }

    ConnectorConfig Config(const char* token = "tok") const
    {
        ConnectorConfig config;
        config.dataFolder = m_folder;
        config.logFolder = m_folder;
        config.userName = "ada";
        config.password = "pw";
        config.token = token;
        config.hostName = "crm.example";
        config.organisation = "Ships";
        return config;
    }

    fwtest::TempHome m_home;
    std::string m_folder;
};

TEST_F(CrmHelperTest, ASubmitAddsAndChangesItemsThatALoadGivesBackWithTheirIdentifiers)
{
    MakeService(crm::Family::SalesForce, "", "", "tok");
    CxSFTaskUtil connector;
    connector.Configure(Config());
    ASSERT_TRUE(connector.Load()) << connector.ErrorText();
    EXPECT_FALSE(connector.HasError()) << connector.ErrorText();
    EXPECT_EQ(connector.GetNativeCount(), 0);

    // Two new tasks, as a migration adds them; the helper fills nothing but what it keeps.
    for (const char* subject : {"first", "second"}) {
        CommTaskRec record{};
        CopyText(record.Subject, subject);
        ASSERT_TRUE(connector.SubmitRecord(record, false));
    }
    std::strcpy(connector.GetNative(1)->Value4, "kept text");
    connector.GetNative(1)->Value5 = 42;
    ASSERT_TRUE(connector.Commit());
    ASSERT_FALSE(connector.HasError()) << connector.ErrorText();

    ASSERT_TRUE(connector.Load());
    ASSERT_EQ(connector.GetNativeCount(), 2);
    const std::string firstId = connector.GetNative(0)->ID;
    const std::string secondId = connector.GetNative(1)->ID;
    EXPECT_EQ(firstId.size(), 18u);
    EXPECT_NE(firstId, secondId);
    EXPECT_EQ(connector.GetNative(0)->ChangeMark, 0);
    EXPECT_STREQ(connector.GetNative(1)->Value4, "kept text");
    EXPECT_EQ(connector.GetNative(1)->Value5, 42);

    // The first changed in place (action 2, by its identifier), the second as loaded.
    std::strcpy(connector.GetNative(0)->Value13, "changed");
    CommTaskRec record{};
    ASSERT_TRUE(connector.UpdateRecord(record, 0, false));
    ASSERT_TRUE(connector.Commit());
    ASSERT_FALSE(connector.HasError()) << connector.ErrorText();
    ASSERT_TRUE(connector.Load());
    ASSERT_EQ(connector.GetNativeCount(), 2);
    EXPECT_EQ(connector.GetNative(0)->ID, firstId);
    EXPECT_STREQ(connector.GetNative(0)->Value13, "changed");
    EXPECT_STREQ(connector.GetNative(1)->Value4, "kept text");
}

TEST_F(CrmHelperTest, ASubmitThatFailsChangesNothing)
{
    MakeService(crm::Family::SugarCRM, "crm.example", "", "");
    CxSGAddrUtil connector;
    connector.Configure(Config(""));
    ASSERT_TRUE(connector.Load()) << connector.ErrorText();
    CommAddrRec record{};
    CopyText(record.FirstName, "Ada");
    ASSERT_TRUE(connector.SubmitRecord(record, false));
    ASSERT_TRUE(connector.Commit());
    ASSERT_FALSE(connector.HasError()) << connector.ErrorText();
    ASSERT_TRUE(connector.Load());
    ASSERT_EQ(connector.GetNativeCount(), 1);

    // A new contact and a change of an item that is not there, in one submit.
    CopyText(record.FirstName, "Grace");
    ASSERT_TRUE(connector.SubmitRecord(record, false));
    std::strcpy(connector.GetNative(0)->ID, "000000000000000099");
    ASSERT_TRUE(connector.UpdateRecord(record, 0, false));
    connector.Commit();
    EXPECT_TRUE(connector.HasError());
    EXPECT_NE(std::string(connector.ErrorText()).find("Unknown item identifier \"000000000000000099\""),
              std::string::npos)
        << connector.ErrorText();
    EXPECT_NE(std::string(connector.ErrorText()).find("Nothing was changed."), std::string::npos);

    CxSGAddrUtil again;
    again.Configure(Config(""));
    ASSERT_TRUE(again.Load()) << again.ErrorText();
    EXPECT_EQ(again.GetNativeCount(), 1) << "the new contact was not added either";
}

TEST_F(CrmHelperTest, NotesAreNamedByTheirPlace)
{
    MakeService(crm::Family::Dynamics, "crm.example", "Ships", "");
    CxDNNoteUtil connector;
    connector.Configure(Config(""));
    ASSERT_TRUE(connector.Load()) << connector.ErrorText();
    CommNoteRec note{};
    for (const char* title : {"one", "two"}) {
        CopyText(note.Title, title);
        ASSERT_TRUE(connector.SubmitRecord(note, false));
    }
    ASSERT_TRUE(connector.Commit());
    ASSERT_FALSE(connector.HasError()) << connector.ErrorText();
    ASSERT_TRUE(connector.Load());
    ASSERT_EQ(connector.GetNativeCount(), 2);
    ASSERT_TRUE(connector.UpdateRecord(note, 1, false));
    ASSERT_TRUE(connector.Commit());
    EXPECT_FALSE(connector.HasError()) << connector.ErrorText();

    // A change of a place that holds no note is refused.
    std::string path;
    std::string error;
    ASSERT_TRUE(crm::Store::DatabasePath(crm::Family::Dynamics, "crm.example", "Ships", path, error));
    crm::Store store;
    ASSERT_TRUE(store.Open(crm::Family::Dynamics, path, false, error)) << error;
    ASSERT_TRUE(store.BeginWrite(crm::Kind::Notes, error)) << error;
    DNNoteRec rec{};
    EXPECT_FALSE(store.Update(&rec, 2, error));
    EXPECT_NE(error.find("There is no item 3"), std::string::npos) << error;
    store.Rollback();
}

TEST_F(CrmHelperTest, TheCalendarRangeLeavesOutEntriesOutsideIt)
{
    const std::string path = MakeService(crm::Family::SalesForce, "", "", "tok");
    {
        crm::Store store;
        std::string error;
        ASSERT_TRUE(store.Open(crm::Family::SalesForce, path, false, error)) << error;
        ASSERT_TRUE(store.BeginWrite(crm::Kind::Calendar, error)) << error;
        for (double day : {40000.5, 40001.25, 40002.75}) {
            auto rec = std::make_unique<SFDateRec>();
            rec->Value3 = day;
            ASSERT_TRUE(store.Insert(rec.get(), error)) << error;
        }
        ASSERT_TRUE(store.CommitWrite(error)) << error;
    }
    struct Case
    {
        double start;
        double end;
        std::vector<double> days;
    };
    const Case cases[] = {
        {0, 0, {40000.5, 40001.25, 40002.75}},
        {40001, 0, {40001.25, 40002.75}},
        {0, 40001, {40000.5, 40001.25}},
        {40001.9, 40001.1, {40001.25}}, // whole days count
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        CxSFDateUtil connector;
        connector.Configure(Config());
        connector.SetDateRange(c.start, c.end);
        ASSERT_TRUE(connector.Load()) << connector.ErrorText();
        std::vector<double> days;
        for (int i = 0; i < connector.GetNativeCount(); ++i) {
            days.push_back(connector.GetNative(i)->Value3);
        }
        EXPECT_EQ(days, c.days);
    }
}

TEST_F(CrmHelperTest, AWrongSecretOrAMissingServiceIsRefusedWithItsReason)
{
    struct Case
    {
        const char* name;
        const char* token;
        bool service;
        const char* message;
    };
    const Case cases[] = {
        {"no service", "tok", false, "There is no salesforce account here"},
        {"wrong token", "other", true,
         "salesforce refused the login of \"ada\": the user name, password or security token is incorrect."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.service) {
            MakeService(crm::Family::SalesForce, "", "", "tok");
        }
        CxSFTaskUtil connector;
        connector.Configure(Config(c.token));
        EXPECT_FALSE(connector.Load());
        EXPECT_TRUE(connector.HasError());
        EXPECT_NE(std::string(connector.ErrorText()).find(c.message), std::string::npos)
            << connector.ErrorText();
    }
}

} // namespace
