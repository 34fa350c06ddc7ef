// salesforce contacts and common contacts, both ways: which native field feeds which common
// field, each cut to the capacity of the side it lands on.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "SalesForce/SFConvert.h"

namespace {

// A text field of either record, with its capacity.
struct Field
{
    char* at;
    std::size_t capacity;
};
template <std::size_t N> Field F(char (&field)[N])
{
    return Field{field, N};
}

struct PairCase
{
    const char* name;
    Field (*common)(CommAddrRec&);
    Field (*native)(SFAddrRec&);
};

#define PAIR(C, N)                                                                                           \
    PairCase                                                                                                 \
    {                                                                                                        \
#C " <-> " #N, [](CommAddrRec & r) { return F(r.C); }, [](SFAddrRec & n) { return F(n.N); }          \
    }

const PairCase kPairs[] = {
    PAIR(FirstName, FirstName),
    PAIR(LastName, LastName),
    PAIR(Salutation, Salutation),
    PAIR(Department, Department),
    PAIR(Title, Title),
    PAIR(DisplayName, Name),
    PAIR(AssistantName, AssistantName),
    PAIR(AssistantPhone, AssistantPhone),
    PAIR(Email, Email),
    PAIR(MobilePhone, MobilePhone),
    PAIR(OtherPhone, OtherPhone),
    PAIR(WorkPhone, Phone),
    PAIR(HomePhone, HasPhone),
    PAIR(WorkFax, Fax),
    PAIR(WorkAddress.Street, MailingStreet),
    PAIR(WorkAddress.City, MailingCity),
    PAIR(WorkAddress.State, MailingState),
    PAIR(WorkAddress.Postal, MailingPostalCode),
    PAIR(WorkAddress.Country, MailingCountry),
    PAIR(OtherAddress.Street, OtherStreet),
    PAIR(OtherAddress.City, OtherCity),
    PAIR(OtherAddress.State, OtherState),
    PAIR(OtherAddress.Postal, OtherPostalCode),
    PAIR(OtherAddress.Country, OtherCountry),
    PAIR(Note, Description),
    PAIR(ExtraText, LeadSource),
    PAIR(CustomValues[0], Custom1),
    PAIR(CustomValues[4], Custom5),
    PAIR(CustomValues[9], Custom10),
};

#undef PAIR

class SFConvertTest : public ::testing::TestWithParam<PairCase>
{
};

// A text as long as the source holds, with a mark at the start so that a wrong pair shows.
std::string Longest(std::size_t capacity)
{
    std::string text(capacity - 1, 'x');
    text[0] = 'A';
    return text;
}

TEST_P(SFConvertTest, LoadFillsTheCommonFieldAloneCutToItsCapacity)
{
    auto native = std::make_unique<SFAddrRec>();
    auto record = std::make_unique<CommAddrRec>();
    const Field from = GetParam().native(*native);
    const Field to = GetParam().common(*record);
    const std::string text = Longest(from.capacity);
    std::memcpy(from.at, text.c_str(), text.size() + 1);
    SFAddrToComm(*native, *record);
    EXPECT_EQ(std::string(to.at), text.substr(0, std::min(from.capacity, to.capacity) - 1));

    // Nothing else of the common record was touched.
    std::memset(to.at, 0, to.capacity);
    const auto empty = std::make_unique<CommAddrRec>();
    EXPECT_EQ(std::memcmp(record.get(), empty.get(), sizeof(CommAddrRec)), 0);
}

TEST_P(SFConvertTest, SubmitFillsTheNativeFieldAloneCutToItsCapacity)
{
    auto native = std::make_unique<SFAddrRec>();
    auto record = std::make_unique<CommAddrRec>();
    const Field from = GetParam().common(*record);
    const Field to = GetParam().native(*native);
    const std::string text = Longest(from.capacity);
    std::memcpy(from.at, text.c_str(), text.size() + 1);
    CommToSFAddr(*record, *native);
    EXPECT_EQ(std::string(to.at), text.substr(0, std::min(from.capacity, to.capacity) - 1));

    std::memset(to.at, 0, to.capacity);
    const auto empty = std::make_unique<SFAddrRec>();
    EXPECT_EQ(std::memcmp(native.get(), empty.get(), sizeof(SFAddrRec)), 0);
}

INSTANTIATE_TEST_SUITE_P(Pairs, SFConvertTest, ::testing::ValuesIn(kPairs), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p != '\0'; ++p) {
        if (std::isalnum(static_cast<unsigned char>(*p))) {
            name += *p;
        }
    }
    return name;
});

TEST(SFConvertDetailTest, TheWorkFaxIsTheFaxAndTheHomeFaxGoesNowhere)
{
    auto record = std::make_unique<CommAddrRec>();
    std::strcpy(record->WorkFax, "555");
    std::strcpy(record->HomeFax, "777");
    auto native = std::make_unique<SFAddrRec>();
    CommToSFAddr(*record, *native);
    EXPECT_STREQ(native->Fax, "555");
}

TEST(SFConvertDetailTest, AMappedValueTakesTheCustomValuesPlace)
{
    auto record = std::make_unique<CommAddrRec>();
    std::strcpy(record->CustomValues[0], "own 1");
    std::strcpy(record->CustomValues[1], "own 2");
    std::strcpy(record->MappedValues[1], "mapped 2");
    std::strcpy(record->MappedValues[2], "mapped 3");
    auto native = std::make_unique<SFAddrRec>();
    std::strcpy(native->Custom4, "stays? no");
    CommToSFAddr(*record, *native);
    EXPECT_STREQ(native->Custom1, "own 1");
    EXPECT_STREQ(native->Custom2, "mapped 2");
    EXPECT_STREQ(native->Custom3, "mapped 3");
    EXPECT_STREQ(native->Custom4, "") << "every custom value is written";
}

TEST(SFConvertDetailTest, DatesAreReadButNeverWritten)
{
    auto native = std::make_unique<SFAddrRec>();
    native->BirthDate = 30000.0;
    native->Created = 41000.5;
    native->LastModified = 41001.25;
    native->LastActivityDate = 41002.0;
    auto record = std::make_unique<CommAddrRec>();
    SFAddrToComm(*native, *record);
    EXPECT_EQ(record->Birthday, 30000.0);
    EXPECT_EQ(record->CreationTime, 41000.5);
    EXPECT_EQ(record->LastModificationTime, 41001.25);

    record->Birthday = 1.0;
    record->CreationTime = 2.0;
    record->LastModificationTime = 3.0;
    CommToSFAddr(*record, *native);
    EXPECT_EQ(native->BirthDate, 30000.0);
    EXPECT_EQ(native->Created, 41000.5);
    EXPECT_EQ(native->LastModified, 41001.25);
}

TEST(SFConvertDetailTest, ASubmitKeepsTheValuesNoCommonFieldFeeds)
{
    auto native = std::make_unique<SFAddrRec>();
    std::strcpy(native->ID, "003A");
    std::strcpy(native->AccountID, "001B");
    std::strcpy(native->Industory, "Ships");
    native->NumberOfEmployees = 12;
    native->DoNotCall = 1;
    std::strcpy(native->Value64, "kept");
    auto record = std::make_unique<CommAddrRec>();
    std::strcpy(record->FirstName, "Ada");
    CommToSFAddr(*record, *native);
    EXPECT_STREQ(native->FirstName, "Ada");
    EXPECT_STREQ(native->ID, "003A");
    EXPECT_STREQ(native->AccountID, "001B");
    EXPECT_STREQ(native->Industory, "Ships");
    EXPECT_EQ(native->NumberOfEmployees, 12);
    EXPECT_EQ(native->DoNotCall, 1);
    EXPECT_STREQ(native->Value64, "kept");
}

} // namespace
