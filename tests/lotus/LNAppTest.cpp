// What the Lotus Notes descriptor tells a program: its helper files, the fields its custom field
// mapping offers and how its native records read in the detail dialogs.
#include "lotus/LNApp.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "lotus/LNFieldTable.h"
#include "lotus/LNProtocol.h"
#include "lotus/LNRecords.h"
#include "misc/CommRecords.h"

namespace {

TEST(LNAppTest, NamesItsHelpersAndStatusFilesPerDataType)
{
    const CxAppDescriptor app = LNAppDescriptor();
    EXPECT_EQ(app.kind, kAppNotes);
    EXPECT_EQ(app.name, "Lotus Notes");
    EXPECT_TRUE(app.helperUtility);
    const LNExchange* exchanges[kDataTypeCount] = {&LNAddrExchange, &LNDateExchange, &LNTaskExchange,
                                                   &LNNoteExchange};
    for (DataType type : kAllDataTypes) {
        SCOPED_TRACE(type);
        EXPECT_EQ(app.helperPrograms[type], exchanges[type]->files.helperName);
        EXPECT_EQ(app.statusFiles[type], exchanges[type]->files.statusFile);
        EXPECT_TRUE(app.creators[type]);
    }
}

TEST(LNAppTest, OffersTheContactFieldTableAndReadsItsFieldsFromTheNativeRecord)
{
    const CxAppDescriptor app = LNAppDescriptor();
    const std::vector<CxAppField> fields = app.contactFields();
    const auto table = LNContactFieldTable();
    ASSERT_EQ(fields.size(), table.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        EXPECT_EQ(fields[i].id, table[i].Id);
        EXPECT_EQ(fields[i].label, table[i].Label);
        EXPECT_EQ(fields[i].width, table[i].Width);
        EXPECT_EQ(fields[i].type, table[i].Type == LNFieldTypeDate ? kAppFieldDate : kAppFieldText);
    }

    LNAddrRec native{};
    std::strcpy(native.FirstName, "Jürgen");
    CommAddrRec record{};
    std::string text = "untouched";
    EXPECT_FALSE(app.contactFieldText(record, 2, text)) << "no native record";
    record.NativeRecord = &native;
    ASSERT_TRUE(app.contactFieldText(record, 2, text)); // "First Name"
    EXPECT_EQ(text, "Jürgen");
    EXPECT_FALSE(app.contactFieldText(record, 1, text)) << "the item identifier is never mapped";
}

TEST(LNAppTest, DescribesEveryFieldOfTheNativeRecord)
{
    const CxAppDescriptor app = LNAppDescriptor();
    LNDateRec native{};
    std::strcpy(native.Subject, "Review");
    native.Start = 46000.5;
    CommDateRec record{};
    EXPECT_TRUE(DescribeNative(app, record).empty()) << "no native record";

    record.NativeRecord = &native;
    const CxRecordLines lines = DescribeNative(app, record);
    ASSERT_EQ(lines.size(), LNDateFields().size());
    auto textOf = [&](const std::string& label) {
        for (const CxRecordLine& line : lines) {
            if (line.label == label) {
                return line.text;
            }
        }
        return std::string("(none)");
    };
    EXPECT_EQ(textOf("Subject"), "Review");
    EXPECT_EQ(textOf("Start"), "46000.500000");
}

} // namespace
