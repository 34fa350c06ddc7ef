// The Google contacts connector: both conversions, the custom field mapping, and the load
// and submit path over its record file without a real helper (each connector is given a
// launcher whose helper ends at once, so the connector works on the files as they are).
#include "google/CxGAddrUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/LogLines.h"
#include "common/TempHome.h"
#include "exchange/CxHelperLauncher.h"
#include "misc/CustomFieldMap.h"
#include "misc/CxDebugUtil.h"
#include "misc/CxFile.h"

namespace {

// Starts nothing: every helper ends at once with exit status 0, after doing what it is
// given to do (if anything) as a helper would.
class EndsAtOnce : public CxHelperLauncher
{
public:
    explicit EndsAtOnce(std::function<void()> run = nullptr) : m_run(std::move(run)) {}
    CxHelperRunResult Run(const std::vector<std::string>&, const std::string&, std::uint32_t,
                          const StartedFn& started) override
    {
        if (m_run) {
            m_run();
        }
        CxHelperRunResult result;
        result.started = true;
        result.ended = true;
        result.exitStatus = 0;
        result.processId = 1;
        started(result.processId);
        return result;
    }
    void Release() override {}

private:
    std::function<void()> m_run;
};

template <std::size_t N> void Put(char (&field)[N], const std::string& text)
{
    CopyText(field, std::string_view(text));
}

// A slot of the kind with its value in the first free place of the array.
template <std::size_t S, std::size_t N>
void PutSlot(int (&kinds)[S], char (&values)[S][N], int kind, const std::string& text)
{
    for (std::size_t i = 0; i < S; ++i) {
        if (kinds[i] == 0) {
            kinds[i] = kind;
            Put(values[i], text);
            return;
        }
    }
}

std::unique_ptr<GGAddrRec> NewNative()
{
    return std::make_unique<GGAddrRec>();
}
std::unique_ptr<CommAddrRec> NewComm()
{
    return std::make_unique<CommAddrRec>();
}

class GoogleFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = m_home.Path("work/");
        m_home.WriteFile("work/.keep", "");
        setenv("FERRYWISE_HELPER_DIR", m_home.Path("nohelpers").c_str(), 1);
        g_debugLog.SetLogFolder(m_folder.c_str());
        g_debugLog.SetLogLevel(3);
        g_debugLog.EnableLog(true);
        ClearMappedFields();
    }
    void TearDown() override
    {
        unsetenv("FERRYWISE_HELPER_DIR");
        g_debugLog.EnableLog(false);
        ClearMappedFields();
    }

    std::unique_ptr<CxGAddrUtil> Connector()
    {
        auto connector = std::make_unique<CxGAddrUtil>();
        connector->SetHelperLauncher(std::make_unique<EndsAtOnce>());
        connector->SetFolder(m_folder.c_str());
        return connector;
    }
    void WriteRecords(const std::vector<const GGAddrRec*>& records)
    {
        CxFile file;
        ASSERT_TRUE(file.Open((m_folder + "GAddr.dat").c_str(), "wb"));
        ASSERT_TRUE(file.WriteInt(static_cast<int>(records.size())));
        for (const GGAddrRec* rec : records) {
            ASSERT_TRUE(SaveGGAddrRecord(file, *rec));
        }
        ASSERT_TRUE(file.Close());
    }
    std::vector<GGAddrRec> ReadRecords()
    {
        std::vector<GGAddrRec> records;
        CxFile file;
        EXPECT_TRUE(file.Open((m_folder + "GAddr.dat").c_str(), "rb"));
        EXPECT_TRUE(LoadGGAddrRecordFile(file, records));
        return records;
    }
    std::vector<fwtest::LogLine> Log() { return fwtest::ReadLogLines(m_folder + "appdebug.log"); }
    // The messages of the log, each with "!!!" before it when it is a failure.
    std::vector<std::string> Messages()
    {
        std::vector<std::string> out;
        for (const fwtest::LogLine& line : Log()) {
            out.push_back((line.failure ? "!!!" : "") + line.message);
        }
        return out;
    }

    fwtest::TempHome m_home;
    std::string m_folder;
};

using ToCommTest = GoogleFixture;

TEST_F(ToCommTest, FieldsFromTheNativeRecord)
{
    using Setup = std::function<void(GGAddrRec&)>;
    using Get = std::function<std::string(const CommAddrRec&)>;
    struct Case
    {
        const char* name;
        Setup setup;
        Get get;
        std::string expected;
    };
#define COMM(F) [](const CommAddrRec& c) { return std::string(FieldText(c.F)); }
    const std::string longName(64, 'n');
    const Case cases[] = {
        {"first name", [](GGAddrRec& n) { Put(n.FirstName, "Ada"); }, COMM(FirstName), "Ada"},
        {"middle name", [](GGAddrRec& n) { Put(n.MiddleName, "King"); }, COMM(MiddleName), "King"},
        {"last name cut to the common field", [&](GGAddrRec& n) { Put(n.LastName, longName); },
         COMM(LastName), std::string(31, 'n')},
        {"display name", [](GGAddrRec& n) { Put(n.DisplayName, "Ada L."); }, COMM(DisplayName), "Ada L."},
        {"nickname", [](GGAddrRec& n) { Put(n.NickName, "Countess"); }, COMM(NickName), "Countess"},
        {"company", [](GGAddrRec& n) { Put(n.Company, "Engines Ltd"); }, COMM(Company), "Engines Ltd"},
        {"job title", [](GGAddrRec& n) { Put(n.JobTitle, "Analyst"); }, COMM(Title), "Analyst"},
        {"work e-mail",
         [](GGAddrRec& n) {
             PutSlot(n.EmailKinds, n.Emails, GGEmailHome, "h@x");
             PutSlot(n.EmailKinds, n.Emails, GGEmailWork, "w@x");
             Put(n.PrimaryEmail, "p@x");
         },
         COMM(Email), "w@x"},
        {"empty work e-mail gives the primary one",
         [](GGAddrRec& n) {
             PutSlot(n.EmailKinds, n.Emails, GGEmailWork, "");
             Put(n.PrimaryEmail, "p@x");
         },
         COMM(Email), "p@x"},
        {"only home and primary: Email is the primary one",
         [](GGAddrRec& n) {
             PutSlot(n.EmailKinds, n.Emails, GGEmailHome, "h@x");
             Put(n.PrimaryEmail, "p@x");
         },
         COMM(Email), "p@x"},
        {"only home and primary: Email2 is the home one",
         [](GGAddrRec& n) {
             PutSlot(n.EmailKinds, n.Emails, GGEmailHome, "h@x");
             Put(n.PrimaryEmail, "p@x");
         },
         COMM(Email2), "h@x"},
        {"other e-mail", [](GGAddrRec& n) { PutSlot(n.EmailKinds, n.Emails, GGEmailOther, "o@x"); },
         COMM(Email3), "o@x"},
        {"work street",
         [](GGAddrRec& n) {
             n.AddressKinds[0] = GGAddressHome;
             n.AddressKinds[1] = GGAddressWork;
             Put(n.Streets[0], "Home Road 1");
             Put(n.Streets[1], "Work Street 2");
         },
         COMM(WorkAddress.Street), "Work Street 2"},
        {"home city",
         [](GGAddrRec& n) {
             n.AddressKinds[2] = GGAddressHome;
             Put(n.Cities[2], "London");
         },
         COMM(HomeAddress.City), "London"},
        {"work state",
         [](GGAddrRec& n) {
             n.AddressKinds[0] = GGAddressWork;
             Put(n.States[0], "CA");
         },
         COMM(WorkAddress.State), "CA"},
        {"other postal code cut to the common field",
         [](GGAddrRec& n) {
             n.AddressKinds[0] = GGAddressOther;
             Put(n.PostalCodes[0], "12345678901234567890");
         },
         COMM(OtherAddress.Postal), "123456789012345"},
        {"home country",
         [](GGAddrRec& n) {
             n.AddressKinds[0] = GGAddressHome;
             Put(n.Countries[0], "UK");
         },
         COMM(HomeAddress.Country), "UK"},
        {"work post-office box",
         [](GGAddrRec& n) {
             n.AddressKinds[4] = GGAddressWork;
             Put(n.POBoxes[4], "PO 9");
         },
         COMM(WorkAddress.POBox), "PO 9"},
        {"other neighborhood",
         [](GGAddrRec& n) {
             n.AddressKinds[0] = GGAddressOther;
             Put(n.Neighborhoods[0], "Soho");
         },
         COMM(OtherAddress.Neighborhood), "Soho"},
        {"a formatted address alone fills no part",
         [](GGAddrRec& n) {
             n.AddressKinds[0] = GGAddressWork;
             Put(n.FormattedAddresses[0], "1 Loop, Cupertino");
         },
         COMM(WorkAddress.Street), ""},
        {"home phone", [](GGAddrRec& n) { PutSlot(n.PhoneKinds, n.Phones, GGPhoneHome, "1"); },
         COMM(HomePhone), "1"},
        {"work phone", [](GGAddrRec& n) { PutSlot(n.PhoneKinds, n.Phones, GGPhoneWork, "2"); },
         COMM(WorkPhone), "2"},
        {"phones 3, 3, 1: mobile from the first of kind 3",
         [](GGAddrRec& n) {
             PutSlot(n.PhoneKinds, n.Phones, GGPhoneMobile, "first");
             PutSlot(n.PhoneKinds, n.Phones, GGPhoneMobile, "second");
             PutSlot(n.PhoneKinds, n.Phones, GGPhoneHome, "home");
         },
         COMM(MobilePhone), "first"},
        {"home fax", [](GGAddrRec& n) { PutSlot(n.PhoneKinds, n.Phones, GGPhoneHomeFax, "4"); },
         COMM(HomeFax), "4"},
        {"work fax", [](GGAddrRec& n) { PutSlot(n.PhoneKinds, n.Phones, GGPhoneWorkFax, "5"); },
         COMM(WorkFax), "5"},
        {"pager", [](GGAddrRec& n) { PutSlot(n.PhoneKinds, n.Phones, GGPhonePager, "6"); }, COMM(Pager), "6"},
        {"other phone", [](GGAddrRec& n) { PutSlot(n.PhoneKinds, n.Phones, GGPhoneOther, "7"); },
         COMM(OtherPhone), "7"},
        {"primary phone", [](GGAddrRec& n) { Put(n.PrimaryPhone, "0"); }, COMM(PrimaryPhone), "0"},
        {"GTalk", [](GGAddrRec& n) { PutSlot(n.IMKinds, n.IMs, GGIMGTalk, "g@talk"); }, COMM(IM1), "g@talk"},
        {"MSN",
         [](GGAddrRec& n) {
             PutSlot(n.IMKinds, n.IMs, GGIMAim, "aim");
             PutSlot(n.IMKinds, n.IMs, GGIMMsn, "msn");
         },
         COMM(IM2), "msn"},
        {"AIM goes nowhere", [](GGAddrRec& n) { PutSlot(n.IMKinds, n.IMs, GGIMAim, "aim"); }, COMM(IM1), ""},
        {"spouse", [](GGAddrRec& n) { PutSlot(n.RelationKinds, n.Relations, GGRelationSpouse, "William"); },
         COMM(SpouseName), "William"},
        {"manager",
         [](GGAddrRec& n) {
             PutSlot(n.RelationKinds, n.Relations, GGRelationMother, "Anne");
             PutSlot(n.RelationKinds, n.Relations, GGRelationManager, "Charles");
         },
         COMM(ManagerName), "Charles"},
        {"assistant",
         [](GGAddrRec& n) { PutSlot(n.RelationKinds, n.Relations, GGRelationAssistant, "Mary"); },
         COMM(AssistantName), "Mary"},
        {"custom field 10", [](GGAddrRec& n) { Put(n.CustomFields[9], "v10"); }, COMM(CustomValues[9]),
         "v10"},
        {"custom label 1", [](GGAddrRec& n) { Put(n.CustomLabels[0], "l1"); }, COMM(CustomLabels[0]), "l1"},
        {"note cut to 8191 characters", [](GGAddrRec& n) { Put(n.Note, std::string(10000, 'x')); },
         COMM(Note), std::string(8191, 'x')},
        {"note keeps its line breaks", [](GGAddrRec& n) { Put(n.Note, "a\r\nb"); }, COMM(Note), "a\r\nb"},
        {"category", [](GGAddrRec& n) { Put(n.Category, "Friends"); }, COMM(Category), "Friends"},
        {"the kept text goes nowhere", [](GGAddrRec& n) { Put(n.Kept38, "kept"); }, COMM(Note), ""},
    };
#undef COMM
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto native = NewNative();
        c.setup(*native);
        const auto before = *native;
        auto record = NewComm();
        ASSERT_TRUE(CxGAddrUtil::ConvertToComm(native.get(), record.get()));
        EXPECT_EQ(c.get(*record), c.expected);
        EXPECT_EQ(record->SourceType, SourceGoogle);
        EXPECT_EQ(0, std::memcmp(&before, native.get(), sizeof before)) << "the native record is not changed";
    }
}

TEST_F(ToCommTest, DatesOfTheirKindsAndNoneWithoutASlot)
{
    auto native = NewNative();
    native->DateKinds[0] = GGDateOther;
    native->Dates[0] = 1000.0;
    native->DateKinds[1] = GGDateAnniversary;
    native->Dates[1] = 41334.0;
    native->DateKinds[2] = GGDateBirthday;
    native->Dates[2] = 30000.0;
    native->CreationTime = 40000.0;
    auto record = NewComm();
    ASSERT_TRUE(CxGAddrUtil::ConvertToComm(native.get(), record.get()));
    EXPECT_EQ(record->Birthday, 30000.0);
    EXPECT_EQ(record->Anniversary, 41334.0);
    EXPECT_EQ(record->CreationTime, 0.0);

    native->DateKinds[1] = 0;
    *record = CommAddrRec{};
    ASSERT_TRUE(CxGAddrUtil::ConvertToComm(native.get(), record.get()));
    EXPECT_EQ(record->Anniversary, 0.0);
}

TEST_F(ToCommTest, MissingRecordIsRefusedAndLogged)
{
    auto native = NewNative();
    auto record = NewComm();
    EXPECT_FALSE(CxGAddrUtil::ConvertToComm(nullptr, record.get()));
    EXPECT_FALSE(CxGAddrUtil::ConvertToComm(native.get(), nullptr));
    EXPECT_FALSE(CxGAddrUtil::ConvertToNative(nullptr, native.get()));
    EXPECT_FALSE(CxGAddrUtil::ConvertToNative(record.get(), nullptr));
    const std::string line =
        "!!!Invalid parameter to convert Google Contact record to Common Contact record.";
    EXPECT_EQ(Messages(), (std::vector<std::string>{line, line}));
}

using ToNativeTest = GoogleFixture;

TEST_F(ToNativeTest, FieldsIntoTheNativeRecord)
{
    using Setup = std::function<void(CommAddrRec&)>;
    struct Case
    {
        const char* name;
        Setup setup;
        int id; // the native field, by its identifier
        std::string expected;
    };
    const Case cases[] = {
        {"first name", [](CommAddrRec& c) { Put(c.FirstName, "Ada"); }, 1, "Ada"},
        {"middle name", [](CommAddrRec& c) { Put(c.MiddleName, "B."); }, 2, "B."},
        {"last name", [](CommAddrRec& c) { Put(c.LastName, "Lovelace"); }, 3, "Lovelace"},
        {"display name", [](CommAddrRec& c) { Put(c.DisplayName, "Ada"); }, 4, "Ada"},
        {"nickname", [](CommAddrRec& c) { Put(c.NickName, "A"); }, 5, "A"},
        {"company", [](CommAddrRec& c) { Put(c.Company, "Engines"); }, 6, "Engines"},
        {"job title", [](CommAddrRec& c) { Put(c.Title, "Analyst"); }, 7, "Analyst"},
        {"Email is the work e-mail", [](CommAddrRec& c) { Put(c.Email, "w@x"); }, 9, "w@x"},
        {"Email is the primary e-mail", [](CommAddrRec& c) { Put(c.Email, "w@x"); }, 11, "w@x"},
        {"Email2 is the home e-mail", [](CommAddrRec& c) { Put(c.Email2, "h@x"); }, 8, "h@x"},
        {"Email3 is the other e-mail", [](CommAddrRec& c) { Put(c.Email3, "o@x"); }, 10, "o@x"},
        {"work street cut to the native field",
         [](CommAddrRec& c) { Put(c.WorkAddress.Street, std::string(200, 's')); }, 28, std::string(127, 's')},
        {"home city", [](CommAddrRec& c) { Put(c.HomeAddress.City, "London"); }, 15, "London"},
        {"other state cut to the native field",
         [](CommAddrRec& c) { Put(c.OtherAddress.State, "Mecklenburg-Vorpommern"); }, 20, "Mecklenburg-Vor"},
        {"work postal code", [](CommAddrRec& c) { Put(c.WorkAddress.Postal, "10115"); }, 25, "10115"},
        {"home country", [](CommAddrRec& c) { Put(c.HomeAddress.Country, "UK"); }, 21, "UK"},
        {"other post-office box", [](CommAddrRec& c) { Put(c.OtherAddress.POBox, "PO 1"); }, 32, "PO 1"},
        {"work neighborhood", [](CommAddrRec& c) { Put(c.WorkAddress.Neighborhood, "Mitte"); }, 34, "Mitte"},
        {"formatted addresses are not written", [](CommAddrRec& c) { Put(c.WorkAddress.Street, "1 Loop"); },
         13, ""},
        {"home phone", [](CommAddrRec& c) { Put(c.HomePhone, "1"); }, 36, "1"},
        {"work phone", [](CommAddrRec& c) { Put(c.WorkPhone, "2"); }, 37, "2"},
        {"mobile phone", [](CommAddrRec& c) { Put(c.MobilePhone, "3"); }, 38, "3"},
        {"home fax", [](CommAddrRec& c) { Put(c.HomeFax, "4"); }, 39, "4"},
        {"work fax", [](CommAddrRec& c) { Put(c.WorkFax, "5"); }, 40, "5"},
        {"pager", [](CommAddrRec& c) { Put(c.Pager, "6"); }, 41, "6"},
        {"other phone", [](CommAddrRec& c) { Put(c.OtherPhone, "7"); }, 42, "7"},
        {"primary phone",
         [](CommAddrRec& c) {
             Put(c.PrimaryPhone, "0");
             Put(c.HomePhone, "1");
         },
         43, "0"},
        {"no primary phone, only a mobile one: the mobile one",
         [](CommAddrRec& c) { Put(c.MobilePhone, "+49 170"); }, 43, "+49 170"},
        {"no primary phone: the first number in slot order",
         [](CommAddrRec& c) {
             Put(c.OtherPhone, "7");
             Put(c.WorkFax, "5");
         },
         43, "5"},
        {"GTalk is IM1", [](CommAddrRec& c) { Put(c.IM1, "g@talk"); }, 52, "g@talk"},
        {"MSN is IM2", [](CommAddrRec& c) { Put(c.IM2, "m@sn"); }, 57, "m@sn"},
        {"spouse", [](CommAddrRec& c) { Put(c.SpouseName, "William"); }, 84, "William"},
        {"manager", [](CommAddrRec& c) { Put(c.ManagerName, "Charles"); }, 87, "Charles"},
        {"assistant", [](CommAddrRec& c) { Put(c.AssistantName, "Mary"); }, 88, "Mary"},
        {"custom field", [](CommAddrRec& c) { Put(c.CustomValues[2], "v3"); }, 73, "v3"},
        {"custom label", [](CommAddrRec& c) { Put(c.CustomLabels[9], "l10"); }, 70, "l10"},
        {"a mapped value takes its custom field",
         [](CommAddrRec& c) {
             Put(c.CustomValues[2], "v3");
             Put(c.MappedValues[2], "m3");
         },
         73, "m3"},
        {"an empty mapped value leaves the custom field",
         [](CommAddrRec& c) { Put(c.CustomValues[4], "v5"); }, 75, "v5"},
        {"note", [](CommAddrRec& c) { Put(c.Note, "line 1\r\nline 2"); }, 90, "line 1\r\nline 2"},
        {"birthday", [](CommAddrRec& c) { c.Birthday = 41334.0; }, 81, "03/01/2013"},
        {"anniversary", [](CommAddrRec& c) { c.Anniversary = 41335.0; }, 82, "03/02/2013"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto record = NewComm();
        c.setup(*record);
        auto native = NewNative();
        ASSERT_TRUE(CxGAddrUtil::ConvertToNative(record.get(), native.get()));
        EXPECT_EQ(CxGAddrUtil::FieldText(*native, c.id), c.expected);
    }
}

TEST_F(ToNativeTest, ANewContactHoldsASlotOfEveryKindItWrites)
{
    auto record = NewComm();
    auto native = NewNative();
    ASSERT_TRUE(CxGAddrUtil::ConvertToNative(record.get(), native.get()));
    auto kinds = [](const auto& array) { return std::vector<int>(std::begin(array), std::end(array)); };
    EXPECT_EQ(kinds(native->EmailKinds), (std::vector<int>{2, 1, 3, 0, 0}));
    EXPECT_EQ(kinds(native->AddressKinds), (std::vector<int>{2, 1, 3, 0, 0}));
    EXPECT_EQ(kinds(native->PhoneKinds), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 0, 0, 0}));
    EXPECT_EQ(kinds(native->DateKinds), (std::vector<int>{1, 2, 0, 0, 0}));
    EXPECT_EQ(kinds(native->IMKinds), (std::vector<int>{1, 6, 0, 0, 0, 0, 0, 0, 0, 0}));
    std::vector<int> relations(20, 0);
    relations[0] = 1;
    relations[1] = 11;
    relations[2] = 12;
    EXPECT_EQ(kinds(native->RelationKinds), relations);
    EXPECT_EQ(kinds(native->WebSiteKinds), std::vector<int>(10, 0));
    EXPECT_STREQ(native->PrimaryPhone, "");
}

TEST_F(ToNativeTest, WritesOverTheRecordAndKeepsWhatItDoesNotWrite)
{
    auto native = NewNative();
    native->Kept1 = 5;
    Put(native->Kept38, "kept");
    PutSlot(native->WebSiteKinds, native->WebSites, GGWebSiteBlog, "blog.example");
    PutSlot(native->EmailKinds, native->Emails, GGEmailOther, "old-other@x");
    PutSlot(native->PhoneKinds, native->Phones, GGPhoneMobile, "old mobile");
    native->AddressKinds[0] = GGAddressWork;
    Put(native->FormattedAddresses[0], "formatted");
    PutSlot(native->RelationKinds, native->Relations, GGRelationFather, "Lord Byron");
    auto record = NewComm();
    Put(record->Email3, "new-other@x");
    Put(record->WorkPhone, "work");
    ASSERT_TRUE(CxGAddrUtil::ConvertToNative(record.get(), native.get()));

    EXPECT_EQ(native->Kept1, 5);
    EXPECT_STREQ(native->Kept38, "kept");
    EXPECT_EQ(CxGAddrUtil::FieldText(*native, 48), "blog.example");
    EXPECT_EQ(CxGAddrUtil::FieldText(*native, 13), "formatted");
    EXPECT_EQ(CxGAddrUtil::FieldText(*native, 86), "Lord Byron");
    // The other e-mail keeps its slot (the first); work and home take the next free ones.
    EXPECT_EQ(native->EmailKinds[0], GGEmailOther);
    EXPECT_STREQ(native->Emails[0], "new-other@x");
    EXPECT_EQ(native->EmailKinds[1], GGEmailWork);
    // The mobile phone is written empty in its slot; the first number in slot order is then
    // the work phone.
    EXPECT_STREQ(native->Phones[0], "");
    EXPECT_STREQ(native->PrimaryPhone, "work");
}

TEST_F(ToNativeTest, AFullSlotArrayTakesNoValue)
{
    auto native = NewNative();
    for (int i = 0; i < GGPhoneSlots; ++i) {
        native->PhoneKinds[i] = GGPhoneOther;
        Put(native->Phones[i], i == 3 ? "other 4" : "");
    }
    for (int& kind : native->EmailKinds) {
        kind = GGEmailHome;
    }
    auto record = NewComm();
    Put(record->MobilePhone, "mobile");
    Put(record->Email, "w@x");
    ASSERT_TRUE(CxGAddrUtil::ConvertToNative(record.get(), native.get()));
    EXPECT_EQ(CxGAddrUtil::FieldText(*native, 38), "");
    EXPECT_EQ(std::vector<int>(std::begin(native->PhoneKinds), std::end(native->PhoneKinds)),
              std::vector<int>(10, GGPhoneOther));
    // Other is kind 7, written empty into the first slot of its kind.
    EXPECT_STREQ(native->Phones[0], "");
    EXPECT_STREQ(native->PrimaryPhone, "other 4");
    EXPECT_EQ(CxGAddrUtil::FieldText(*native, 9), "");
    EXPECT_STREQ(native->PrimaryEmail, "w@x");

    // Loaded back, the value that found no slot reads as empty.
    auto back = NewComm();
    ASSERT_TRUE(CxGAddrUtil::ConvertToComm(native.get(), back.get()));
    EXPECT_STREQ(back->MobilePhone, "");
    EXPECT_STREQ(back->Email, "w@x"); // no work slot: the primary one
}

using CxGAddrUtilTest = GoogleFixture;

TEST_F(CxGAddrUtilTest, CustomMappingFillsTheMappedValuesOfTheGoogleSlots)
{
    auto native = NewNative();
    Put(native->FirstName, "Ada");
    PutSlot(native->PhoneKinds, native->Phones, GGPhoneMobile, "+44 7700");
    native->DateKinds[0] = GGDateBirthday;
    native->Dates[0] = 41334.0;
    Put(native->Note, std::string(200, 'z'));
    WriteRecords({native.get()});

    auto connector = Connector();
    EXPECT_TRUE(connector->SetCustomMapping(0, 38)); // Phone(Mobile)
    EXPECT_TRUE(connector->SetCustomMapping(1, 81)); // Birthday: a date, not copied
    EXPECT_TRUE(connector->SetCustomMapping(2, 36)); // Phone(Home): no slot
    EXPECT_TRUE(connector->SetCustomMapping(3, 90)); // Note: cut to 63
    EXPECT_TRUE(connector->SetCustomMapping(4, 89)); // no such field
    EXPECT_TRUE(connector->SetCustomMapping(9, 1));  // First Name
    EXPECT_FALSE(connector->SetCustomMapping(10, 2));
    EXPECT_FALSE(connector->SetCustomMapping(-1, 2));
    EXPECT_EQ(connector->GetCustomMapping(0), 38);
    EXPECT_EQ(GetMappedField(kAppGoogle, 10), 1);
    EXPECT_EQ(GetMappedField(kAppNotes, 1), 0);

    ASSERT_TRUE(connector->Load());
    const CommAddrRec* loaded = connector->GetStore()->First();
    ASSERT_NE(loaded, nullptr);
    const std::vector<std::string> expected = {"+44 7700", "", "",   std::string(63, 'z'), "", "", "",
                                               "",         "", "Ada"};
    for (int slot = 0; slot < 10; ++slot) {
        EXPECT_EQ(std::string(FieldText(loaded->MappedValues[slot])),
                  expected[static_cast<std::size_t>(slot)])
            << slot;
    }
    // The mapping reads without making slots.
    EXPECT_EQ(connector->GetNative(0)->PhoneKinds[1], 0);
}

TEST_F(CxGAddrUtilTest, LoadGivesEveryRecordAndSubmitMarksExactlyTheChanges)
{
    auto ada = NewNative();
    ada->Kept1 = 17;
    ada->ChangeMark = 1;
    Put(ada->FirstName, "Ada");
    Put(ada->LastName, "Lovelace");
    PutSlot(ada->EmailKinds, ada->Emails, GGEmailWork, "ada@x");
    Put(ada->Kept38, "google-id-1");
    auto grace = NewNative();
    grace->Kept1 = 18;
    Put(grace->FirstName, "Grace");
    Put(grace->LastName, "Hopper");
    Put(grace->PrimaryEmail, "grace@x");
    PutSlot(grace->PhoneKinds, grace->Phones, GGPhoneWork, "111");
    WriteRecords({ada.get(), grace.get()});

    auto connector = Connector();
    ASSERT_TRUE(connector->Load());
    EXPECT_FALSE(connector->HasError());
    ASSERT_EQ(connector->GetStore()->GetCount(), 2);
    ASSERT_EQ(connector->GetNativeCount(), 2);
    int i = 0;
    for (CommAddrRec* rec = connector->GetStore()->First(); rec != nullptr;
         rec = connector->GetStore()->Next()) {
        EXPECT_EQ(rec->SourceType, SourceGoogle);
        EXPECT_EQ(rec->NativeRecord, connector->GetNative(i++));
        EXPECT_EQ(rec->NativeSize, 0u);
    }
    EXPECT_STREQ(connector->GetStore()->First()->Email, "ada@x");

    auto same = NewComm();
    *same = *connector->GetStore()->First();
    auto changed = NewComm();
    Put(changed->FirstName, "Grace");
    Put(changed->LastName, "Hopper");
    Put(changed->Email, "grace@x");
    Put(changed->WorkPhone, "222");
    auto added = NewComm();
    Put(added->FirstName, "Alan");
    Put(added->LastName, "Turing");
    EXPECT_FALSE(connector->SubmitRecord(*same, false));
    EXPECT_TRUE(connector->SubmitRecord(*changed, false));
    EXPECT_TRUE(connector->SubmitRecord(*added, false));
    ASSERT_TRUE(connector->Commit());

    const std::vector<GGAddrRec> written = ReadRecords();
    ASSERT_EQ(written.size(), 3u);
    EXPECT_EQ(0, std::memcmp(&written[0], ada.get(), sizeof(GGAddrRec))) << "untouched";
    EXPECT_EQ(written[1].Kept1, 18);
    EXPECT_EQ(written[1].ChangeMark, 2);
    EXPECT_EQ(written[1].Action, 2);
    EXPECT_EQ(CxGAddrUtil::FieldText(written[1], 37), "222");
    EXPECT_EQ(written[1].PhoneKinds[0], GGPhoneWork);
    EXPECT_EQ(written[1].EmailKinds[0], GGEmailWork);
    EXPECT_STREQ(written[1].PrimaryEmail, "grace@x");
    EXPECT_EQ(written[2].Kept1, 0);
    EXPECT_EQ(written[2].ChangeMark, 2);
    EXPECT_EQ(written[2].Action, 1);
    EXPECT_STREQ(written[2].FirstName, "Alan");
    EXPECT_EQ(written[2].EmailKinds[0], GGEmailWork);
    EXPECT_EQ(connector->GetStore()->GetCount(), 3);

    // Nothing changed since: the second Commit writes nothing.
    std::remove((m_folder + "GAddr.dat").c_str());
    EXPECT_TRUE(connector->Commit());
    EXPECT_EQ(CxFile::FileSize((m_folder + "GAddr.dat").c_str()), -1);
}

TEST_F(CxGAddrUtilTest, ExchangeFilesAndParameters)
{
    m_home.WriteFile("work/GAddr.dat", std::string(4, '\0'));
    auto connector = Connector();
    EXPECT_STREQ(connector->Files().dataFile, "GAddr.dat");
    EXPECT_STREQ(connector->Files().paramFile, "GAddrParam.dat");
    EXPECT_STREQ(connector->Files().errorFile, "GAddrErr.dat");
    EXPECT_STREQ(connector->Files().statusFile, "GAddrStatus.dat");
    EXPECT_STREQ(connector->Files().controlFile, "GAddrData.ini");
    connector->SetAccount("ada@gmail.com");
    connector->SetPassword("secret");
    ASSERT_TRUE(connector->Load());

    CxParamParser params;
    ASSERT_TRUE(params.ReadParamFile((m_folder + "GAddrParam.dat").c_str()));
    const std::vector<int> ids = {1000, 1001, 1002, 1003, 1005, 1004, 1009, 1010, 1013, 1014, 1015, 1016};
    ASSERT_EQ(params.GetCount(), static_cast<int>(ids.size()));
    for (std::size_t i = 0; i < ids.size(); ++i) {
        EXPECT_EQ(params.Entries()[i].id, ids[i]);
    }
    EXPECT_EQ(params.GetText(1000), "ada@gmail.com");
    EXPECT_EQ(params.GetText(1001), "secret");
    EXPECT_EQ(params.GetText(1002), "GAddr.dat");
    EXPECT_EQ(params.GetText(1005), "1");
    EXPECT_EQ(params.GetText(1009), "GAddrErr.dat");

    // An error the helper reports is the connector's error; Clear removes the status and
    // error files and the records.
    connector->SetHelperLauncher(std::make_unique<EndsAtOnce>([this] {
        m_home.WriteFile("work/GAddrErr.dat", "[Error]\nError.Count=1\nError.1=Invalid credentials\n");
    }));
    ASSERT_TRUE(connector->Load());
    EXPECT_TRUE(connector->HasError());
    EXPECT_STREQ(connector->ErrorText(), "Invalid credentials");
    m_home.WriteFile("work/GAddrStatus.dat", "Loading\r\n");
    connector->Clear();
    EXPECT_EQ(CxFile::FileSize((m_folder + "GAddrErr.dat").c_str()), -1);
    EXPECT_EQ(CxFile::FileSize((m_folder + "GAddrStatus.dat").c_str()), -1);
    EXPECT_EQ(connector->GetStore()->GetCount(), 0);
    EXPECT_EQ(connector->GetNativeCount(), 0);
}

TEST_F(CxGAddrUtilTest, LogLinesOfLoadAndSubmit)
{
    auto one = NewNative();
    WriteRecords({one.get(), one.get()});
    const std::string path = m_folder + "GAddr.dat";
    auto connector = Connector();
    ASSERT_TRUE(connector->Load());
    ASSERT_TRUE(connector->Commit());
    std::vector<std::string> messages;
    for (const std::string& message : Messages()) {
        if (message.find("Google") != std::string::npos ||
            message.find("records in total") != std::string::npos) {
            messages.push_back(message);
        }
    }
    EXPECT_EQ(messages, (std::vector<std::string>{
                            "Start loading Google Contacts.",
                            "Start loading Google Contacts from temperary file: " + path,
                            "There are 2 Contact records in total.",
                            "Load Google Contacts information from file successfully.",
                            "Load Google Contacts successfully.",
                            "Start saving Google Contacts information to file: " + path,
                            "Save Google Contacts information to file successfully.",
                        }));
}

TEST_F(CxGAddrUtilTest, LogLinesOfFailures)
{
    {
        auto connector = Connector();
        EXPECT_FALSE(connector->Load()); // no record file
    }
    const std::string path = m_folder + "GAddr.dat";
    std::vector<std::string> failures;
    for (const std::string& message : Messages()) {
        if (message.rfind("!!!", 0) == 0) {
            failures.push_back(message);
        }
    }
    EXPECT_EQ(failures, (std::vector<std::string>{"!!!Failed to open file: " + path,
                                                  "!!!Error loading Google Contacts."}));

    std::remove((m_folder + "appdebug.log").c_str());
    auto connector = Connector();
    connector->SetFolder(m_home.Path("missing/folder/").c_str());
    EXPECT_FALSE(connector->Commit());
    failures.clear();
    for (const std::string& message : Messages()) {
        if (message.rfind("!!!", 0) == 0) {
            failures.push_back(message);
        }
    }
    EXPECT_EQ(failures,
              (std::vector<std::string>{"!!!Failed to save Contacts record information to temperary file.",
                                        "!!!Can not save information to temperary file."}));
    EXPECT_TRUE(connector->IsDirty());
}

} // namespace
