// The Outlook contact record: its field table for the custom field mapping and the conversions
// to and from the common contact record.
#include "outlook/OlAddrConvert.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "outlook/OlAddrFieldTable.h"

namespace {

TEST(OlAddrFieldTableTest, HoldsTheSeventyFiveFieldsInTableOrder)
{
    ASSERT_EQ(OlAddrFieldCount(), 75);
    EXPECT_EQ(OlAddrFieldCode(0), 1);
    EXPECT_STREQ(OlAddrFieldLabel(0), "Account");
    EXPECT_EQ(OlAddrFieldCode(74), 78);
    EXPECT_STREQ(OlAddrFieldLabel(74), "Category");
    EXPECT_EQ(OlAddrFieldCode(75), 0);
    EXPECT_STREQ(OlAddrFieldLabel(75), "N/A");
    EXPECT_STREQ(OlAddrFieldLabel(-1), "N/A");

    struct Case
    {
        std::int32_t code;
        bool found;
        const char* label;
        std::int32_t type;
        std::int32_t width;
    };
    const Case cases[] = {
        {2, true, "Anniversary", kOlFieldDate, 8},
        {5, true, "Birthday", kOlFieldDate, 8},
        {34, true, "Gender", kOlFieldLong, 4},
        {18, true, "Company Phone", kOlFieldText, 24},
        {68, true, "Notes", kOlFieldText, 2048},
        {69, true, "Folder Name", kOlFieldText, 32},
        {75, true, "Suffix", kOlFieldText, 64},
        {78, true, "Category", kOlFieldText, 256},
        {24, false, "", 0, 0},
        {27, false, "", 0, 0},
        {30, false, "", 0, 0},
        {0, false, "", 0, 0},
        {79, false, "", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        OlFieldInfo info{};
        ASSERT_EQ(OlAddrFieldEntry(c.code, &info), c.found);
        if (c.found) {
            EXPECT_STREQ(info.Label, c.label);
            EXPECT_EQ(info.Type, c.type);
            EXPECT_EQ(info.Width, c.width);
        }
    }
}

TEST(OlAddrConvertTest, FromNativeCarriesThePairsAndTheMappedTexts)
{
    OlAddrRec native{};
    std::strcpy(native.FirstName, "Jürgen");
    std::strcpy(native.FullName, "Jürgen Groß");
    std::strcpy(native.Initials, "ABCDEFG"); // the field keeps 7 characters
    std::strcpy(native.BusinessAddressCity, "Köln");
    std::strcpy(native.BusinessAddressPostOfficeBox, "PO 7");
    std::strcpy(native.CompanyMainTelephoneNumber, "+49 221 1");
    std::strcpy(native.Email2Address, "j@example.org");
    std::strcpy(native.Email1DisplayName, "not carried");
    std::strcpy(native.Suffix, "Jr.");
    std::strcpy(native.FolderName, "Kontakte");
    std::strcpy(native.UserPropNames[2], "Hobby 2");
    std::strcpy(native.UserPropValues[2], "sailing");
    std::strcpy(native.Categories, "Family");
    native.Birthday = 30000.0;
    native.Gender = 2;
    native.CreationTime = 45000.25;

    const OlAddrFieldMap map = {18, 5, 75, 69, 34, 0, 0, 0, 0, 999};
    CommAddrRec rec{};
    FromNative(native, rec, map);

    EXPECT_STREQ(rec.FirstName, "Jürgen");
    EXPECT_STREQ(rec.DisplayName, "Jürgen Groß");
    EXPECT_STREQ(rec.Prefix, "ABCDEFG");
    EXPECT_STREQ(rec.WorkAddress.City, "Köln");
    EXPECT_STREQ(rec.WorkAddress.POBox, "") << "the post office box is only written";
    EXPECT_STREQ(rec.Email2, "j@example.org");
    EXPECT_STREQ(rec.Suffix, "Jr.");
    EXPECT_STREQ(rec.CustomLabels[2], "Hobby 2");
    EXPECT_STREQ(rec.CustomValues[2], "sailing");
    EXPECT_STREQ(rec.Category, "Family");
    EXPECT_EQ(rec.Birthday, 30000.0);
    EXPECT_EQ(rec.CreationTime, 45000.25);
    EXPECT_EQ(rec.SourceType, 3);

    EXPECT_STREQ(rec.MappedValues[0], "+49 221 1"); // Company Phone
    EXPECT_STREQ(rec.MappedValues[1], "");          // Birthday: a date is never mapped
    EXPECT_STREQ(rec.MappedValues[2], "Jr.");       // Suffix: read from its own 8-byte field
    EXPECT_STREQ(rec.MappedValues[3], "Kontakte");  // Folder Name
    EXPECT_STREQ(rec.MappedValues[4], "");          // Gender: a number
    EXPECT_STREQ(rec.MappedValues[9], "");          // a code outside the table
}

TEST(OlAddrConvertTest, ToNativeCutsToTheOutlookWidthsAndPrefersMappedValues)
{
    CommAddrRec rec{};
    std::strcpy(rec.Prefix, "Professor");
    std::strcpy(rec.Language, "Deutsch (Schweiz)");
    std::memset(rec.Note, 'n', 5000);
    std::strcpy(rec.WorkAddress.POBox, "PO 1");
    std::strcpy(rec.HomeAddress.POBox, "PO 2");
    std::strcpy(rec.OtherAddress.POBox, "PO 3");
    std::strcpy(rec.CustomLabels[2], "Club");
    std::strcpy(rec.CustomValues[2], "custom");
    std::strcpy(rec.MappedValues[2], "mapped");
    std::strcpy(rec.CustomValues[3], "only custom");
    rec.Anniversary = 40000.0;

    OlAddrRec native{};
    std::strcpy(native.PagerNumber, "kept"); // not carried by the common record
    ToNative(rec, native);

    EXPECT_STREQ(native.Initials, "Profess");
    EXPECT_STREQ(native.Language, "Deutsch");
    EXPECT_EQ(std::strlen(native.Body), 2047u);
    EXPECT_STREQ(native.BusinessAddressPostOfficeBox, "PO 1");
    EXPECT_STREQ(native.HomeAddressPostOfficeBox, "PO 2");
    EXPECT_STREQ(native.OtherAddressPostOfficeBox, "PO 3");
    EXPECT_STREQ(native.UserPropNames[2], "Club");
    EXPECT_STREQ(native.UserPropValues[2], "mapped");
    EXPECT_STREQ(native.UserPropValues[3], "only custom");
    EXPECT_EQ(native.Anniversary, 40000.0);
    EXPECT_STREQ(native.PagerNumber, "kept");
}

} // namespace
