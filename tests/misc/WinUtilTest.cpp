#include "misc/WinUtil.h"

#include "common/PinnedLocale.h"
#include "common/TempHome.h"
#include "platform/KnownFolders.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace {

const fwtest::PinnedLocale kPinned; // texts below are in code page 1252

// Cases print as their names, so that test listings stay readable.
template <class Case> auto operator<<(std::ostream& os, const Case& c) -> decltype(c.name, os)
{
    return os << c.name;
}

// A temporary home whose emulated registry holds the given text.
class WinUtilTest : public testing::Test
{
protected:
    void Registry(const std::string& text) { m_home.WriteFile("registry.ini", text); }

    fwtest::TempHome m_home;
};

// ---- Registry values ----

struct RegistryCase
{
    const char* name;
    std::string registry;
    bool (*query)(char*, std::size_t);
    bool result;
    const char* output;
};

class WinUtilRegistry : public WinUtilTest, public testing::WithParamInterface<RegistryCase>
{
};

TEST_P(WinUtilRegistry, GivesTheValue)
{
    const auto& c = GetParam();
    Registry(c.registry);
    char out[MAX_PATH] = "junk";
    EXPECT_EQ(c.query(out, sizeof out), c.result);
    EXPECT_STREQ(out, c.output);
}

const std::string kNotes = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lotus\\Notes]\n";
const std::string kInstaller = "[HKEY_CURRENT_USER\\SOFTWARE\\Lotus\\Notes\\Installer]\n";
const std::string kACT = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ACT\\Install]\n";
const std::string kOutlook =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE]\n";

const RegistryCase kRegistry[] = {
    {"NotesPath", kNotes + "Path=/opt/notes\n", GetNotesPath, true, "/opt/notes"},
    {"NotesPathMissing", kInstaller + "DATADIR=/x\n", GetNotesPath, false, ""},
    {"NoRegistryFile", "", GetNotesPath, false, ""},
    {"DataDirGetsASeparator", kInstaller + "DATADIR=/home/u/notes/data\n", GetNotesDataDir, true,
     "/home/u/notes/data/"},
    {"DataDirKeepsItsSeparator", kInstaller + "DATADIR=/home/u/notes/data/\n", GetNotesDataDir, true,
     "/home/u/notes/data/"},
    {"DataDirEmpty", kInstaller + "DATADIR=\n", GetNotesDataDir, false, ""},
    {"DataDirMissing", kNotes + "Path=/opt/notes\n", GetNotesDataDir, false, ""},
    {"DataDirUnderTheWrongHive", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lotus\\Notes\\Installer]\nDATADIR=/x\n",
     GetNotesDataDir, false, ""},
    {"NotesVersion", kNotes + "Path=/opt/notes\n[FileVersions]\n/opt/notes/Notes.exe=9.0.1.0\n",
     GetNotesVersion, true, "9.0.1.0"},
    {"NotesVersionFolderWithSeparator",
     kNotes + "Path=/opt/notes/\n[FileVersions]\n/opt/notes/Notes.exe=8.5.3\n", GetNotesVersion, true,
     "8.5.3.0"},
    {"NotesVersionWithoutVersion", kNotes + "Path=/opt/notes\n", GetNotesVersion, false, ""},
    {"NotesVersionWithoutPath", "[FileVersions]\n/opt/notes/Notes.exe=9.0.1.0\n", GetNotesVersion, false, ""},
    {"ACTInstallPath", kACT + "InstallPath=/opt/act\nAppName=ActSage.exe\n", GetACTInstallPath, true,
     "/opt/act"},
    {"ACTAppName", kACT + "InstallPath=/opt/act\nAppName=ActSage.exe\n", GetACTAppName, true, "ActSage.exe"},
    {"ACTProgramGetsASeparator", kACT + "InstallPath=/opt/act\nAppName=ActSage.exe\n", GetACTProgramPath,
     true, "/opt/act/ActSage.exe"},
    {"ACTProgramKeepsItsSeparator", kACT + "InstallPath=/opt/act/\nAppName=ActSage.exe\n", GetACTProgramPath,
     true, "/opt/act/ActSage.exe"},
    {"ACTProgramWithoutName", kACT + "InstallPath=/opt/act\n", GetACTProgramPath, false, ""},
    {"ACTProgramWithoutFolder", kACT + "AppName=ActSage.exe\n", GetACTProgramPath, false, ""},
    // The App Paths value is followed directly by the program name.
    {"OutlookVersion",
     kOutlook + "Path=/opt/office/\n[FileVersions]\n/opt/office/OUTLOOK.EXE=15.0.4569.1506\n",
     GetOutlookVersion, true, "15.0.4569.1506"},
    {"OutlookVersionWithoutKey", "[FileVersions]\n/opt/office/OUTLOOK.EXE=15.0.4569.1506\n",
     GetOutlookVersion, false, ""},
    {"OutlookVersionWithoutVersion", kOutlook + "Path=/opt/office/\n", GetOutlookVersion, false, ""},
    {"OutlookProgram", kOutlook + "Path=/opt/office/\n", GetOutlookProgramPath, true,
     "/opt/office/OUTLOOK.EXE"},
    {"OutlookProgramWithoutKey", kNotes + "Path=/opt/notes\n", GetOutlookProgramPath, false, ""},
};

INSTANTIATE_TEST_SUITE_P(Values, WinUtilRegistry, testing::ValuesIn(kRegistry),
                         [](const auto& info) { return std::string(info.param.name); });

// Every query writes within the caller's size; a path that does not fit whole is not given,
// except the Outlook program path, which is cut.
TEST_F(WinUtilTest, SmallBuffers)
{
    Registry(kNotes + "Path=/opt/notes\n" + kInstaller + "DATADIR=/data\n" + kACT +
             "InstallPath=/opt/act\nAppName=A.exe\n" + kOutlook + "Path=/opt/office/\n" +
             "[FileVersions]\n/opt/notes/Notes.exe=9.0.1.0\n");
    struct Case
    {
        bool (*query)(char*, std::size_t);
        std::size_t size;
        bool result;
        const char* output;
    };
    const Case cases[] = {
        {GetNotesPath, 10, false, ""},
        {GetNotesPath, 11, true, "/opt/notes"},
        {GetNotesDataDir, 6, false, ""},
        {GetNotesDataDir, 7, true, "/data/"},
        {GetNotesVersion, 7, false, ""},
        {GetNotesVersion, 8, true, "9.0.1.0"},
        {GetACTProgramPath, 14, false, ""},
        {GetACTProgramPath, 15, true, "/opt/act/A.exe"},
        {GetOutlookProgramPath, 10, true, "/opt/offi"},
        {GetOutlookProgramPath, 1, true, ""},
        {GetModuleFolder, 2, false, ""},
    };
    for (const auto& c : cases) {
        char out[64];
        std::memset(out, '#', sizeof out);
        EXPECT_EQ(c.query(out, c.size), c.result) << c.output << " in " << c.size;
        EXPECT_STREQ(out, c.output);
        EXPECT_EQ(out[c.size], '#') << "written past the size " << c.size;
        EXPECT_FALSE(c.query(nullptr, 64));
        EXPECT_FALSE(c.query(out, 0));
    }
}

TEST_F(WinUtilTest, LongOutlookFolderIsJoinedWithoutOverflow)
{
    const std::string folder = "/" + std::string(MAX_PATH - 3, 'o') + "/"; // 259 characters
    Registry(kOutlook + "Path=" + folder + "\n[FileVersions]\n" + folder + "OUTLOOK.EXE=16.0.1.2\n");
    char program[512];
    ASSERT_TRUE(GetOutlookProgramPath(program, sizeof program));
    EXPECT_EQ(program, folder + "OUTLOOK.EXE");
    char version[32];
    ASSERT_TRUE(GetOutlookVersion(version, sizeof version));
    EXPECT_STREQ(version, "16.0.1.2");
}

TEST_F(WinUtilTest, GetFileVersion)
{
    Registry("[FileVersions]\n/opt/palm/Palm.exe=6.2.2.14\n");
    int v[4] = {7, 7, 7, 7};
    EXPECT_TRUE(GetFileVersion("/opt/palm/Palm.exe", &v[0], &v[1], &v[2], &v[3]));
    EXPECT_EQ(v[0], 6);
    EXPECT_EQ(v[1], 2);
    EXPECT_EQ(v[2], 2);
    EXPECT_EQ(v[3], 14);

    for (const char* path : {static_cast<const char*>(nullptr), "", "/opt/palm/Other.exe"}) {
        int w[4] = {7, 7, 7, 7};
        EXPECT_FALSE(GetFileVersion(path, &w[0], &w[1], &w[2], &w[3]));
        EXPECT_EQ(w[0] + w[1] + w[2] + w[3], 0) << "all four are 0 on failure";
    }
    int major = 0;
    EXPECT_TRUE(GetFileVersion("/opt/palm/Palm.exe", &major, nullptr, nullptr, nullptr));
    EXPECT_EQ(major, 6);
}

TEST_F(WinUtilTest, ModuleFolderEndsInASeparator)
{
    std::string expected;
    ASSERT_TRUE(platform::GetProgramFolder(expected));
    char out[4096];
    ASSERT_TRUE(GetModuleFolder(out, sizeof out));
    EXPECT_EQ(out, expected + "/");
}

// ---- The shell ----

TEST_F(WinUtilTest, RunProgramHandsTheTargetToTheOpener)
{
    const std::string record = m_home.Path("opened.txt");
    const std::string opener =
        m_home.WriteFile("opener.sh", "#!/bin/sh\nprintf '%s' \"$1\" > '" + record + "'\n");
    ASSERT_EQ(::chmod(opener.c_str(), 0755), 0);
    const char* old = std::getenv("FERRYWISE_OPEN_COMMAND");
    const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
    setenv("FERRYWISE_OPEN_COMMAND", opener.c_str(), 1);

    EXPECT_FALSE(RunProgram(nullptr));
    EXPECT_FALSE(RunProgram(""));
    EXPECT_TRUE(RunProgram("https://example.com/help page"));
    std::string opened;
    for (int i = 0; i < 200 && opened.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        opened = m_home.ReadFile("opened.txt");
    }
    EXPECT_EQ(opened, "https://example.com/help page");

    // The result does not depend on what the desktop does with it.
    setenv("FERRYWISE_OPEN_COMMAND", m_home.Path("no-such-opener").c_str(), 1);
    EXPECT_TRUE(RunProgram("/tmp/MILog.txt"));

    if (saved) {
        setenv("FERRYWISE_OPEN_COMMAND", saved->c_str(), 1);
    } else {
        unsetenv("FERRYWISE_OPEN_COMMAND");
    }
}

// ---- Dates ----

struct DateTextCase
{
    const char* name;
    double date;
    const char* dateText;
    const char* dateTimeText;
};

class WinUtilDateText : public testing::TestWithParam<DateTextCase>
{
};

TEST_P(WinUtilDateText, GivesTheDateOrNA)
{
    const auto& c = GetParam();
    char out[64] = "junk";
    FormatDateOrNA(c.date, out, sizeof out);
    EXPECT_STREQ(out, c.dateText);
    FormatDateTimeOrNA(c.date, out, sizeof out);
    EXPECT_STREQ(out, c.dateTimeText);
}

const DateTextCase kDateTexts[] = {
    {"Zero", 0.0, "N/A", "N/A"},
    {"BelowTheThreshold", 0.0005, "N/A", "N/A"},
    {"Negative", -5.25, "N/A", "N/A"},
    {"AtTheThresholdButBefore1931", 0.001, "", " 00:01:26"},
    {"FirstOfMarch2013", 41334.0, "03/01/2013", "03/01/2013 00:00:00"},
    {"Noon", 41334.5, "03/01/2013", "03/01/2013 12:00:00"},
};

INSTANTIATE_TEST_SUITE_P(Texts, WinUtilDateText, testing::ValuesIn(kDateTexts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WinUtilDateTextBuffer, NeverWritesPastItsSize)
{
    char out[8];
    std::memset(out, '#', sizeof out);
    FormatDateOrNA(0.0, out, 2);
    EXPECT_STREQ(out, "N");
    FormatDateOrNA(41334.0, out, 4);
    EXPECT_STREQ(out, "03/");
    EXPECT_EQ(out[4], '#');
    FormatDateTimeOrNA(41334.0, nullptr, 10);
    FormatDateOrNA(41334.0, out, 0);
}

SYSTEMTIME Day(int year, int month, int day, int hour = 0, int dayOfWeek = 0)
{
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wDayOfWeek = static_cast<WORD>(dayOfWeek);
    return t;
}

TEST(WinUtilDates, CompareDates)
{
    struct Case
    {
        SYSTEMTIME a;
        SYSTEMTIME b;
        int expect;
    };
    const Case cases[] = {
        {Day(2013, 3, 1, 10), Day(2013, 3, 1, 23), 0}, {Day(2012, 12, 31), Day(2013, 1, 1), -1},
        {Day(2013, 2, 28), Day(2013, 3, 1), -1},       {Day(2013, 3, 2), Day(2013, 3, 1), 1},
        {Day(2014, 1, 1), Day(2013, 12, 31), 1},       {Day(2013, 4, 1), Day(2013, 3, 31), 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompareDates(&c.a, &c.b), c.expect) << c.a.wYear << "-" << c.a.wMonth << "-" << c.a.wDay;
    }
    const SYSTEMTIME some = Day(2013, 3, 1);
    EXPECT_EQ(CompareDates(nullptr, &some), -1);
    EXPECT_EQ(CompareDates(nullptr, nullptr), -1);
    EXPECT_EQ(CompareDates(&some, nullptr), 1);
}

TEST(WinUtilDates, CopyDateKeepsTheTime)
{
    const SYSTEMTIME from = Day(2013, 3, 1, 8, 5);
    SYSTEMTIME to = Day(2001, 2, 3, 14, 6);
    to.wMinute = 30;
    to.wSecond = 15;
    to.wMilliseconds = 500;
    ASSERT_TRUE(CopyDate(&from, &to));
    EXPECT_EQ(to.wYear, 2013);
    EXPECT_EQ(to.wMonth, 3);
    EXPECT_EQ(to.wDay, 1);
    EXPECT_EQ(to.wDayOfWeek, 5);
    EXPECT_EQ(to.wHour, 14);
    EXPECT_EQ(to.wMinute, 30);
    EXPECT_EQ(to.wSecond, 15);
    EXPECT_EQ(to.wMilliseconds, 500);
    EXPECT_FALSE(CopyDate(nullptr, &to));
    EXPECT_FALSE(CopyDate(&from, nullptr));
}

// ---- Bytes and texts ----

TEST(WinUtilHexDump, Texts)
{
    const unsigned char three[] = {0x01, 0xAB, 0xFF};
    EXPECT_STREQ(HexDump(three, 3), "01 ab ff");
    EXPECT_STREQ(HexDump(three, 1), "01");
    EXPECT_STREQ(HexDump(three, 0), "");
    EXPECT_STREQ(HexDump(nullptr, 3), "");

    std::vector<unsigned char> many(2000);
    for (std::size_t i = 0; i < many.size(); ++i) {
        many[i] = static_cast<unsigned char>(i);
    }
    const std::string text = HexDump(many.data(), many.size());
    EXPECT_EQ(text.size(), 1024u * 3 - 1) << "the first 1024 bytes only";
    EXPECT_EQ(text.substr(0, 12), "00 01 02 03 ");
    EXPECT_EQ(text.substr(text.size() - 5), "fe ff");
}

TEST(WinUtilHexDump, EachThreadHasItsOwnText)
{
    const unsigned char mine[] = {0x11};
    const char* text = HexDump(mine, 1);
    std::thread([] {
        const unsigned char theirs[] = {0x22, 0x33};
        EXPECT_STREQ(HexDump(theirs, 2), "22 33");
    }).join();
    EXPECT_STREQ(text, "11");
}

struct NarrowCase
{
    const char* name;
    const char16_t* wide;
    std::size_t size;
    bool result;
    const char* narrow;
};

class WinUtilNarrow : public testing::TestWithParam<NarrowCase>
{
};

TEST_P(WinUtilNarrow, ConvertsWithinTheSize)
{
    const auto& c = GetParam();
    char out[32];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(ToNarrow(c.wide, out, c.size), c.result);
    EXPECT_STREQ(out, c.narrow);
    EXPECT_EQ(out[c.size], '#');
}

const NarrowCase kNarrow[] = {
    {"Ascii", u"Hello", 16, true, "Hello"},
    {"CutToTheBuffer", u"0123456789", 4, true, "012"},
    {"RoomForTheTerminatorOnly", u"0123456789", 1, true, ""},
    {"Latin", u"Gr\u00FC\u00DFe", 16, true,
     "Gr\xFC\xDF"
     "e"},
    {"Euro", u"\u20AC5", 16, true,
     "\x80"
     "5"},
    {"NoCounterpart", u"\u6F22", 16, true, "?"},
    {"Empty", u"", 16, false, ""},
    {"Missing", nullptr, 16, false, ""},
};

INSTANTIATE_TEST_SUITE_P(Texts, WinUtilNarrow, testing::ValuesIn(kNarrow),
                         [](const auto& info) { return std::string(info.param.name); });

struct WideCase
{
    const char* name;
    const char* narrow;
    std::size_t size;
    bool result;
    std::u16string wide;
};

class WinUtilWide : public testing::TestWithParam<WideCase>
{
};

TEST_P(WinUtilWide, ConvertsWithinTheSize)
{
    const auto& c = GetParam();
    char16_t out[32];
    std::fill(std::begin(out), std::end(out), u'#');
    EXPECT_EQ(ToWide(c.narrow, out, c.size), c.result);
    EXPECT_EQ(std::u16string(out), c.wide);
    EXPECT_EQ(out[c.size], u'#');
}

const WideCase kWide[] = {
    {"Ascii", "Hello", 16, true, u"Hello"},
    {"CutToTheBuffer", "0123456789", 4, true, u"012"},
    {"Latin",
     "Gr\xFC\xDF"
     "e",
     16, true, u"Gr\u00FC\u00DFe"},
    {"Euro", "\x80", 16, true, u"\u20AC"},
    {"Empty", "", 16, false, u""},
    {"Missing", nullptr, 16, false, u""},
};

INSTANTIATE_TEST_SUITE_P(Texts, WinUtilWide, testing::ValuesIn(kWide),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WinUtilTexts, ZeroSizeWritesNothing)
{
    char narrow[2] = "x";
    char16_t wide[2] = u"x";
    EXPECT_FALSE(ToNarrow(u"abc", narrow, 0));
    EXPECT_FALSE(ToWide("abc", wide, 0));
    EXPECT_EQ(narrow[0], 'x');
    EXPECT_EQ(wide[0], u'x');
    EXPECT_FALSE(ToNarrow(u"abc", nullptr, 4));
    EXPECT_FALSE(ToWide("abc", nullptr, 4));
}

} // namespace
