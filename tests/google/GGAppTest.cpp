// What the Google descriptor tells a program about contacts: the connector, the fields its
// custom field mapping offers and how a native contact reads in the detail dialog.
#include "google/GGApp.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "google/CxGAddrUtil.h"
#include "google/GGAddrFieldTable.h"
#include "misc/CommRecords.h"

namespace {

TEST(GGAppTest, MakesTheContactsConnector)
{
    const CxAppDescriptor app = GGAppDescriptor();
    EXPECT_EQ(app.kind, kAppGoogle);
    ASSERT_TRUE(app.creators[kDataContacts]);
    const std::unique_ptr<CxConnector> connector = app.creators[kDataContacts]();
    EXPECT_NE(dynamic_cast<CxGAddrUtil*>(connector.get()), nullptr);
    EXPECT_NE(connector->GetAddrStore(), nullptr);
    EXPECT_EQ(app.helperPrograms[kDataContacts], "fw-google-contacts");
    EXPECT_EQ(app.statusFiles[kDataContacts], "GAddrStatus.dat");
    EXPECT_FALSE(app.creators[kDataTasks]);
    EXPECT_FALSE(app.creators[kDataNotes]);
}

TEST(GGAppTest, OffersTheContactFieldTableAndReadsItsFieldsFromTheNativeRecord)
{
    const CxAppDescriptor app = GGAppDescriptor();
    const std::vector<CxAppField> fields = app.contactFields();
    const auto table = GGAddrFieldTable();
    ASSERT_EQ(fields.size(), table.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        EXPECT_EQ(fields[i].id, table[i].Id);
        EXPECT_EQ(fields[i].label, table[i].Label);
        EXPECT_EQ(fields[i].width, table[i].Width);
        EXPECT_EQ(fields[i].type, table[i].Type == GGAddrFieldTypeDate ? kAppFieldDate : kAppFieldText);
    }

    auto native = std::make_unique<GGAddrRec>();
    std::strcpy(native->NickName, "Jürgen");
    native->PhoneKinds[0] = GGPhonePager;
    std::strcpy(native->Phones[0], "99");
    CommAddrRec record{};
    std::string text = "untouched";
    EXPECT_FALSE(app.contactFieldText(record, 5, text)) << "no native record";
    EXPECT_EQ(text, "untouched");
    record.NativeRecord = native.get();
    ASSERT_TRUE(app.contactFieldText(record, 5, text)); // "Nick Name"
    EXPECT_EQ(text, "Jürgen");
    ASSERT_TRUE(app.contactFieldText(record, 41, text)); // "Pager"
    EXPECT_EQ(text, "99");
    ASSERT_TRUE(app.contactFieldText(record, 36, text)); // "Phone(Home)": no slot
    EXPECT_EQ(text, "");
    EXPECT_FALSE(app.contactFieldText(record, 81, text)) << "dates are not mapped";
    EXPECT_FALSE(app.contactFieldText(record, 89, text));
}

TEST(GGAppTest, DescribesTheFilledFieldsByTheirLabels)
{
    const CxAppDescriptor app = GGAppDescriptor();
    CommAddrRec record{};
    EXPECT_TRUE(DescribeNative(app, record).empty()) << "no native record";

    auto native = std::make_unique<GGAddrRec>();
    std::strcpy(native->FirstName, "Ada");
    native->EmailKinds[0] = GGEmailHome;
    std::strcpy(native->Emails[0], "ada@home");
    native->EmailKinds[1] = GGEmailWork; // an empty slot shows no line
    native->DateKinds[0] = GGDateBirthday;
    native->Dates[0] = 41334.0;
    std::strcpy(native->Note, "line 1\r\nline 2");
    std::strcpy(native->Category, "Friends");
    std::strcpy(native->Kept38, "kept");
    record.NativeRecord = native.get();
    const CxRecordLines lines = DescribeNative(app, record);
    std::vector<std::pair<std::string, std::string>> got;
    for (const CxRecordLine& line : lines) {
        got.emplace_back(line.label, line.text);
    }
    EXPECT_EQ(got, (std::vector<std::pair<std::string, std::string>>{{"First Name", "Ada"},
                                                                     {"Email(Home)", "ada@home"},
                                                                     {"Birthday", "03/01/2013"},
                                                                     {"Note", "line 1\r\nline 2"},
                                                                     {"Category", "Friends"}}));
}

} // namespace
