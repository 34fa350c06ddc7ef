#include "misc/CxIniUtil.h"

#include "common/TempHome.h"
#include "platform/KnownFolders.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace {

class CxIniUtilTest : public ::testing::Test
{
protected:
    // An accessor for a file in the temporary home, written with the given text first
    // (nullptr: no file).
    CxIniUtil IniWith(const char* text)
    {
        if (text != nullptr) {
            m_home.WriteFile("test.ini", text);
        }
        return CxIniUtil((m_home.Root() + "/").c_str(), "test.ini");
    }
    std::string FileText() const { return m_home.ReadFile("test.ini"); }

    fwtest::TempHome m_home;
};

TEST_F(CxIniUtilTest, PathIsFolderFollowedByFileName)
{
    CxIniUtil ini("/some/folder/", "FWLN.ini");
    EXPECT_STREQ(ini.GetPath(), "/some/folder/FWLN.ini");
}

TEST_F(CxIniUtilTest, EmptyFolderMeansTheProgramFolder)
{
    std::string programFolder;
    ASSERT_TRUE(platform::GetProgramFolder(programFolder));
    for (const char* folder : {static_cast<const char*>(nullptr), ""}) {
        CxIniUtil ini(folder, "corvane.ini");
        EXPECT_EQ(std::string(ini.GetPath()), programFolder + "/corvane.ini");
    }
}

TEST_F(CxIniUtilTest, SetPathKeepsTheOldPathForEmptyOrOverlongPaths)
{
    CxIniUtil ini("/a/", "b.ini");
    EXPECT_FALSE(ini.SetPath(nullptr));
    EXPECT_FALSE(ini.SetPath(""));
    EXPECT_STREQ(ini.GetPath(), "/a/b.ini");

    // 259 characters fit the path; 260 would have to be cut, and a cut path names another file.
    std::string longest = "/" + std::string(MAX_PATH - 2, 'x');
    ASSERT_EQ(longest.size(), 259u);
    EXPECT_TRUE(ini.SetPath(longest.c_str()));
    EXPECT_EQ(std::string(ini.GetPath()), longest);
    EXPECT_FALSE(ini.SetPath((longest + "y").c_str()));
    EXPECT_EQ(std::string(ini.GetPath()), longest);
}

TEST_F(CxIniUtilTest, OverlongConstructedPathReadsDefaultsAndRefusesWrites)
{
    std::string folder = m_home.Root() + "/" + std::string(MAX_PATH, 'f') + "/";
    CxIniUtil ini(folder.c_str(), "x.ini");
    EXPECT_STREQ(ini.GetPath(), "");
    EXPECT_EQ(ini.ReadInt("FWLN", "Key", 7), 7);
    EXPECT_FALSE(ini.WriteString("FWLN", "Key", "v"));
}

struct ReadStringCase
{
    const char* name;
    const char* file; // nullptr: no file
    const char* section;
    const char* key;
    int size;
    const char* defaultValue;
    int expectedCount;
    const char* expectedText; // nullptr: the buffer is left untouched
};

void PrintTo(const ReadStringCase& c, std::ostream* os)
{
    *os << c.name;
}

const ReadStringCase kReadStringCases[] = {
    {"Value", "[FWLN]\r\nName=Smith\r\n", "FWLN", "Name", 64, "dflt", 5, "Smith"},
    {"KeyAndSectionIgnoreCase", "[fwln]\r\nNAME=Smith\r\n", "FWLN", "name", 64, "", 5, "Smith"},
    {"EmptyValue", "[FWLN]\r\nName=\r\n", "FWLN", "Name", 64, "dflt", 0, ""},
    {"AbsentKeyGivesDefault", "[FWLN]\r\nOther=1\r\n", "FWLN", "Name", 64, "dflt", 4, "dflt"},
    {"MissingFileGivesDefault", nullptr, "FWLN", "Name", 64, "Custom 1", 8, "Custom 1"},
    {"NullDefaultIsEmpty", nullptr, "FWLN", "Name", 64, nullptr, 0, ""},
    {"CutToSizeMinusOne", "[FWLN]\r\nName=Smithers\r\n", "FWLN", "Name", 6, "", 5, "Smith"},
    {"DefaultCutToo", nullptr, "FWLN", "Name", 3, "default", 2, "de"},
    {"EmptyKeyReadsNothing", "[FWLN]\r\nName=Smith\r\n", "FWLN", "", 64, "dflt", 0, nullptr},
    {"NullKeyReadsNothing", "[FWLN]\r\nName=Smith\r\n", "FWLN", nullptr, 64, "dflt", 0, nullptr},
    {"NullSectionReadsNothing", "[FWLN]\r\nName=Smith\r\n", nullptr, "Name", 64, "dflt", 0, nullptr},
    {"ZeroSizeReadsNothing", "[FWLN]\r\nName=Smith\r\n", "FWLN", "Name", 0, "dflt", 0, nullptr},
    {"NegativeSizeReadsNothing", "[FWLN]\r\nName=Smith\r\n", "FWLN", "Name", -1, "dflt", 0, nullptr},
};

class CxIniUtilReadStringTest : public CxIniUtilTest, public ::testing::WithParamInterface<ReadStringCase>
{
};

TEST_P(CxIniUtilReadStringTest, Reads)
{
    const ReadStringCase& c = GetParam();
    CxIniUtil ini = IniWith(c.file);
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    buffer[sizeof buffer - 1] = '\0';
    const std::string untouched = buffer;
    EXPECT_EQ(ini.ReadString(c.section, c.key, buffer, c.size, c.defaultValue), c.expectedCount);
    EXPECT_EQ(std::string(buffer), c.expectedText != nullptr ? std::string(c.expectedText) : untouched);
}

INSTANTIATE_TEST_SUITE_P(Cases, CxIniUtilReadStringTest, ::testing::ValuesIn(kReadStringCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CxIniUtilTest, ReadStringWithoutBufferReadsNothing)
{
    CxIniUtil ini = IniWith("[FWLN]\r\nName=Smith\r\n");
    EXPECT_EQ(ini.ReadString("FWLN", "Name", nullptr, 64, "dflt"), 0);
}

struct ReadIntCase
{
    const char* name;
    const char* file;
    int defaultValue;
    int expected;
};

void PrintTo(const ReadIntCase& c, std::ostream* os)
{
    *os << c.name;
}

const ReadIntCase kReadIntCases[] = {
    {"Number", "[FWLN]\r\nLevel=2\r\n", 3, 2},
    {"Negative", "[FWLN]\r\nLevel=-17\r\n", 3, -17},
    {"LeadingBlanksTrimmed", "[FWLN]\r\nLevel=   5\r\n", 3, 5},
    {"AbsentKeyGivesDefault", "[FWLN]\r\nOther=2\r\n", 3, 3},
    {"MissingFileGivesDefault", nullptr, 3, 3},
    {"EmptyValueGivesDefault", "[FWLN]\r\nLevel=\r\n", 3, 3},
    {"NotANumberGivesZero", "[FWLN]\r\nLevel=abc\r\n", 3, 0},
    {"LeadingDigitsCount", "[FWLN]\r\nLevel=12abc\r\n", 3, 12},
    {"DecimalOnly", "[FWLN]\r\nLevel=0x10\r\n", 3, 0},
    {"LargeColour", "[FWLN]\r\nLevel=16711680\r\n", 0, 16711680},
    {"ClampedAboveIntRange", "[FWLN]\r\nLevel=99999999999\r\n", 0, INT_MAX},
    {"ClampedBelowIntRange", "[FWLN]\r\nLevel=-99999999999\r\n", 0, INT_MIN},
    // Only the first 31 characters of a value are read: 30 zeros, then "1", then the "2" is cut.
    {"ThirtyOneCharactersRead", "[FWLN]\r\nLevel=00000000000000000000000000000012\r\n", 3, 1},
};

class CxIniUtilReadIntTest : public CxIniUtilTest, public ::testing::WithParamInterface<ReadIntCase>
{
};

TEST_P(CxIniUtilReadIntTest, Reads)
{
    const ReadIntCase& c = GetParam();
    CxIniUtil ini = IniWith(c.file);
    EXPECT_EQ(ini.ReadInt("FWLN", "Level", c.defaultValue), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CxIniUtilReadIntTest, ::testing::ValuesIn(kReadIntCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct ReadFlagCase
{
    const char* name;
    const char* file;
    bool defaultValue;
    bool expected;
};

void PrintTo(const ReadFlagCase& c, std::ostream* os)
{
    *os << c.name;
}

const ReadFlagCase kReadFlagCases[] = {
    {"One", "[FWLN]\r\nFlag=1\r\n", false, true},
    {"Zero", "[FWLN]\r\nFlag=0\r\n", true, false},
    {"AnyNonZero", "[FWLN]\r\nFlag=-2\r\n", false, true},
    {"NotANumberIsFalse", "[FWLN]\r\nFlag=yes\r\n", true, false},
    {"EmptyGivesDefaultTrue", "[FWLN]\r\nFlag=\r\n", true, true},
    {"AbsentGivesDefaultTrue", "[FWLN]\r\n", true, true},
    {"AbsentGivesDefaultFalse", nullptr, false, false},
};

class CxIniUtilReadFlagTest : public CxIniUtilTest, public ::testing::WithParamInterface<ReadFlagCase>
{
};

TEST_P(CxIniUtilReadFlagTest, Reads)
{
    const ReadFlagCase& c = GetParam();
    CxIniUtil ini = IniWith(c.file);
    EXPECT_EQ(ini.ReadFlag("FWLN", "Flag", c.defaultValue), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CxIniUtilReadFlagTest, ::testing::ValuesIn(kReadFlagCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CxIniUtilTest, EmptySectionOrKeyReadsTheDefault)
{
    CxIniUtil ini = IniWith("[FWLN]\r\nLevel=2\r\n");
    EXPECT_EQ(ini.ReadInt("FWLN", "", 3), 3);
    EXPECT_EQ(ini.ReadInt(nullptr, "Level", 3), 3);
    EXPECT_TRUE(ini.ReadFlag("FWLN", nullptr, true));
}

TEST_F(CxIniUtilTest, WritesKeyValueLinesWithCrLf)
{
    CxIniUtil ini = IniWith(nullptr);
    EXPECT_TRUE(ini.WriteString("FWLN", "Name", "Smith"));
    EXPECT_TRUE(ini.WriteInt("FWLN", "Colour", -16711680));
    EXPECT_TRUE(ini.WriteFlag("FWLN", "On", true));
    EXPECT_TRUE(ini.WriteFlag("FWLN", "Off", false));
    EXPECT_TRUE(ini.WriteString("FWLN", "Missing", nullptr));
    EXPECT_TRUE(ini.WriteString("FWLN", "Name", "Jones"));
    EXPECT_EQ(FileText(), "[FWLN]\r\nName=Jones\r\nColour=-16711680\r\nOn=1\r\nOff=0\r\nMissing=\r\n");
}

TEST_F(CxIniUtilTest, WriteRefusesAnEmptySectionOrKey)
{
    CxIniUtil ini = IniWith("[FWLN]\r\nName=Smith\r\n");
    EXPECT_FALSE(ini.WriteString("FWLN", "", "x"));
    EXPECT_FALSE(ini.WriteString("FWLN", nullptr, "x"));
    EXPECT_FALSE(ini.WriteInt(nullptr, "Name", 1));
    EXPECT_FALSE(ini.WriteFlag("", "Name", true));
    EXPECT_EQ(FileText(), "[FWLN]\r\nName=Smith\r\n");
}

TEST_F(CxIniUtilTest, LineBreakInAValueCannotInjectKeys)
{
    CxIniUtil ini = IniWith("[FWLN]\r\nLNSavePassword=0\r\n");
    EXPECT_TRUE(ini.WriteString("FWLN", "DNHostName", "crm.example.com\r\nLNSavePassword=1"));
    EXPECT_TRUE(ini.WriteString("FWLN", "SGHostName", "sugar\n[Other]"));
    EXPECT_EQ(FileText(), "[FWLN]\r\nLNSavePassword=0\r\nDNHostName=crm.example.com\r\nSGHostName=sugar\r\n");
    EXPECT_FALSE(ini.ReadFlag("FWLN", "LNSavePassword", true));
}

} // namespace
