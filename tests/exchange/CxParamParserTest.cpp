#include "exchange/CxParamParser.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "common/TempHome.h"
#include "misc/CxFile.h"

namespace {

std::string Bytes(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::string bytes;
    if (file != nullptr) {
        char buffer[4096];
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0) {
            bytes.append(buffer, got);
        }
        std::fclose(file);
    }
    return bytes;
}

std::string Int(int value)
{
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>((static_cast<unsigned>(value) >> (8 * i)) & 0xff);
    }
    return bytes;
}

TEST(CxParamParserTest, WritesEntriesInTheOrderFirstSetWithTheirTypes)
{
    fwtest::TempHome home;
    CxParamParser params;
    ASSERT_TRUE(params.SetParam(1001, "abc"));
    ASSERT_TRUE(params.SetParamInt(1002, -7));
    ASSERT_TRUE(params.SetParamBool(1003, true));
    ASSERT_TRUE(params.SetParam(1004, nullptr));
    ASSERT_TRUE(params.SetParam(1001, "\xe9t\xe9")); // replaced in its place, ANSI kept
    const std::string path = home.Path("p.dat");
    ASSERT_TRUE(params.WriteParamFile(path.c_str()));

    const std::string expected = Int(4) + Int(1001) + Int(8) + Int(3) + "\xe9t\xe9" + Int(1002) + Int(3) +
                                 Int(-7) + Int(1003) + Int(11) + Int(1) + Int(1004) + Int(8) + Int(0);
    EXPECT_EQ(Bytes(path), expected);

    CxParamParser back;
    ASSERT_TRUE(back.ReadParamFile(path.c_str()));
    EXPECT_EQ(back.GetCount(), 4);
    EXPECT_EQ(back.GetText(1001), "\xe9t\xe9");
    EXPECT_EQ(back.FindParam(1002)->intValue, -7);
    EXPECT_EQ(back.FindParam(1003)->type, CxParamParser::TypeBool);
}

TEST(CxParamParserTest, ALongTextIsWrittenAsItsFirst1023Bytes)
{
    fwtest::TempHome home;
    std::string text(2000, 'x');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char>('a' + i % 26);
    }
    CxParamParser params;
    params.SetParam(1000, text.c_str());
    const std::string path = home.Path("p.dat");
    ASSERT_TRUE(params.WriteParamFile(path.c_str()));
    EXPECT_EQ(Bytes(path), Int(1) + Int(1000) + Int(8) + Int(1023) + text.substr(0, 1023));
}

struct ReplaceCase
{
    const char* name;
    bool (*set)(CxParamParser&);
    bool accepted;
    int type;         // type of entry 1000 afterwards
    const char* text; // its text, when a text
};

class CxParamParserReplaceTest : public ::testing::TestWithParam<ReplaceCase>
{
};

TEST_P(CxParamParserReplaceTest, SameTypeReplacesAnotherTypeFails)
{
    CxParamParser params;
    params.SetParam(1000, "old");
    params.SetParam(1001, "next");
    EXPECT_EQ(GetParam().set(params), GetParam().accepted);
    ASSERT_EQ(params.GetCount(), 2);
    EXPECT_EQ(params.Entries()[0].id, 1000); // its place is kept either way
    EXPECT_EQ(params.FindParam(1000)->type, GetParam().type);
    EXPECT_EQ(params.GetText(1000), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Types, CxParamParserReplaceTest,
    ::testing::Values(
        ReplaceCase{"Text", [](CxParamParser& p) { return p.SetParam(1000, "new"); }, true, 8, "new"},
        ReplaceCase{"Int", [](CxParamParser& p) { return p.SetParamInt(1000, 1); }, false, 8, "old"},
        ReplaceCase{"Double", [](CxParamParser& p) { return p.SetParamDouble(1000, 1.5); }, false, 8, "old"},
        ReplaceCase{"Bool", [](CxParamParser& p) { return p.SetParamBool(1000, true); }, false, 8, "old"}),
    [](const auto& info) { return std::string(info.param.name); });

struct DamagedCase
{
    const char* name;
    std::string bytes;
    int entriesKept;
};

class CxParamParserDamagedTest : public ::testing::TestWithParam<DamagedCase>
{
};

TEST_P(CxParamParserDamagedTest, ReadingStopsAtDamageKeepingWhatCameBefore)
{
    fwtest::TempHome home;
    const std::string path = home.WriteFile("p.dat", GetParam().bytes);
    CxParamParser params;
    EXPECT_FALSE(params.ReadParamFile(path.c_str()));
    EXPECT_EQ(params.GetCount(), GetParam().entriesKept);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CxParamParserDamagedTest,
    ::testing::Values(DamagedCase{"Empty", "", 0},
                      DamagedCase{"CountBeyondEntries", Int(1000000) + Int(1) + Int(3) + Int(5), 1},
                      DamagedCase{"TextLongerThanFile", Int(1) + Int(1) + Int(8) + Int(0x7fffffff) + "ab", 0},
                      DamagedCase{"UnknownType",
                                  Int(2) + Int(1) + Int(3) + Int(5) + Int(2) + Int(99) + Int(0), 1},
                      DamagedCase{"NegativeCount", Int(-1), 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
