// The Lotus Notes contact field table that the custom field mapping offers.
#include "lotus/LNFieldTable.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "lotus/LNRecords.h"

namespace {

TEST(LNFieldTable, IdentifiersRunFrom1To54InOrder)
{
    const auto table = LNContactFieldTable();
    ASSERT_EQ(table.size(), 54u);
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].Id, static_cast<int>(i) + 1);
        EXPECT_EQ(FindLNContactField(table[i].Id), &table[i]);
        EXPECT_LT(std::string(table[i].Label).size(), sizeof table[i].Label);
    }
    EXPECT_EQ(FindLNContactField(0), nullptr);
    EXPECT_EQ(FindLNContactField(55), nullptr);
    EXPECT_EQ(FindLNContactField(-1), nullptr);
}

TEST(LNFieldTable, Entries)
{
    struct Case
    {
        int id;
        const char* label;
        int type;
        int width;
    };
    const Case cases[] = {
        {1, "ID", LNFieldTypeText, 64},
        {3, "Middle Name / Initial", LNFieldTypeText, 64},
        {6, "Display Name", LNFieldTypeText, 256},
        {7, "Company Name", LNFieldTypeText, 64},
        {13, "Business Email", LNFieldTypeText, 128},
        {15, "Assistant Phone", LNFieldTypeText, 128}, // the third e-mail, under this label
        {16, "Business Email 2", LNFieldTypeText, 128},
        {18, "Business Street", LNFieldTypeText, 256},
        {22, "Business Postal", LNFieldTypeText, 32},
        {26, "Home Country", LNFieldTypeText, 32},
        {32, "Other Postal", LNFieldTypeText, 32},
        {40, "Instant Messenger", LNFieldTypeText, 64},
        {44, "Children's Names", LNFieldTypeText, 256},
        {45, "Custom Field 1", LNFieldTypeText, 256},
        {50, "Custom Label 3", LNFieldTypeText, 64},
        {51, "Note", LNFieldTypeText, 4096},
        {52, "Category", LNFieldTypeText, 256},
        {53, "Birth Date", LNFieldTypeDate, 8},
        {54, "Anniversary", LNFieldTypeDate, 8},
    };
    for (const Case& c : cases) {
        const LNFieldInfo* info = FindLNContactField(c.id);
        ASSERT_NE(info, nullptr) << c.id;
        EXPECT_STREQ(info->Label, c.label);
        EXPECT_EQ(info->Type, c.type) << c.label;
        EXPECT_EQ(info->Width, c.width) << c.label;
    }
}

TEST(LNFieldTable, MappableFieldsAreTheRecordsTextFields)
{
    LNAddrRec rec{};
    int mappable = 0;
    for (const LNFieldInfo& info : LNContactFieldTable()) {
        std::string_view text;
        const bool maps = LNMappedFieldText(rec, info.Id, &text);
        const bool expected = (info.Id >= 2 && info.Id <= 44) || info.Id == 51 || info.Id == 52;
        EXPECT_EQ(maps, expected) << info.Label;
        mappable += maps ? 1 : 0;
    }
    EXPECT_EQ(mappable, 45);
}

TEST(LNFieldTable, MappedTextNeverReadsPastItsField)
{
    LNAddrRec rec{};
    std::memset(rec.BusinessCity, 'c', sizeof rec.BusinessCity); // no terminator
    std::snprintf(rec.BusinessState, sizeof rec.BusinessState, "state");
    std::string_view text;
    ASSERT_TRUE(LNMappedFieldText(rec, 19, &text));
    EXPECT_EQ(text, std::string(32, 'c'));
}

} // namespace
