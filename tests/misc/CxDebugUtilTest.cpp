#include "misc/CxDebugUtil.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "common/TempHome.h"

namespace {

const SYSTEMTIME kNoon = {2013, 3, 5, 1, 12, 4, 9, 0};

struct LineCase
{
    const char* name;
    const char* source;
    int line;
    std::uint32_t thread;
    int level;
    const char* expected;
};

const LineCase kLineCases[] = {
    {"failure_marker", "CxFile.cpp", 42, 0x1a4, 0,
     "[2013/03/01 12:04:09][CxFile.cpp          (42  )][001a4][!!!] - msg"},
    {"detail_blank_marker", "CxFile.cpp", 7, 0x1a4, 2,
     "[2013/03/01 12:04:09][CxFile.cpp          (7   )][001a4][   ] - msg"},
    {"backslash_path_last_part", "C:\\src\\misc\\CxList.cpp", 1234, 0x12345678, 0,
     "[2013/03/01 12:04:09][CxList.cpp          (1234)][12345678][!!!] - msg"},
    {"forward_slashes_whole", "src/misc/x.cpp", 1, 0, 0,
     "[2013/03/01 12:04:09][src/misc/x.cpp      (1   )][00000][!!!] - msg"},
    {"null_source", nullptr, 12345, 1, 0,
     "[2013/03/01 12:04:09][<null>              (12345)][00001][!!!] - msg"},
    {"long_name_not_cut", "a_source_file_name_longer_than_twenty.cpp", 3, 0, 0,
     "[2013/03/01 12:04:09][a_source_file_name_longer_than_twenty.cpp(3   )][00000][!!!] - msg"},
};

class FormatLineTest : public testing::TestWithParam<LineCase>
{
};

TEST_P(FormatLineTest, ComposesTheLine)
{
    const LineCase& c = GetParam();
    char out[512];
    CxDebugUtil::FormatLine(out, sizeof out, kNoon, c.source, c.line, c.thread, c.level, "msg");
    EXPECT_STREQ(out, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Lines, FormatLineTest, testing::ValuesIn(kLineCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct LevelCase
{
    bool enabled;
    int logLevel;
    int callLevel;
    bool written;
};

class LevelTest : public testing::TestWithParam<LevelCase>
{
};

TEST_P(LevelTest, WritesOnlyWhatTheSettingsAllow)
{
    const LevelCase& c = GetParam();
    fwtest::TempHome home;
    CxDebugUtil log;
    log.SetLogFolder((home.Root() + "/").c_str());
    log.EnableLog(c.enabled);
    log.SetLogLevel(c.logLevel);
    DebugPrint(&log, c.callLevel, "Some.cpp", 10, "value %d", 5);
    std::string text = home.ReadFile("appdebug.log");
    if (c.written) {
        EXPECT_NE(text.find("value 5\r\n"), std::string::npos) << text;
        EXPECT_NE(text.find(c.callLevel == 0 ? "[!!!]" : "[   ]"), std::string::npos);
    } else {
        EXPECT_EQ(text, "");
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelTest,
                         testing::Values(LevelCase{false, 3, 0, true}, LevelCase{false, 3, 2, false},
                                         LevelCase{true, 1, 2, false}, LevelCase{true, 1, 0, true},
                                         LevelCase{true, 2, 2, true}, LevelCase{true, 3, 3, true},
                                         LevelCase{true, 0, 1, false}));

TEST(CxDebugUtilTest, StartsWithTheDefaultsAndClampsTheLevel)
{
    CxDebugUtil log;
    EXPECT_STREQ(log.GetFileName(), "appdebug.log");
    EXPECT_STREQ(log.GetLogFolder(), "./");
    EXPECT_EQ(log.GetLogLevel(), 0);
    EXPECT_FALSE(log.IsEnabled());
    log.SetLogLevel(7);
    EXPECT_EQ(log.GetLogLevel(), 3);
    log.SetLogLevel(-1);
    EXPECT_EQ(log.GetLogLevel(), 0);
    log.SetLogFolder(nullptr);
    EXPECT_STREQ(log.GetLogFolder(), "./");
}

TEST(CxDebugUtilTest, AppendsOneLinePerCallAndCutsLongMessages)
{
    fwtest::TempHome home;
    CxDebugUtil log;
    log.SetLogFolder((home.Root() + "/").c_str());
    std::string longText(50000, 'x');
    DebugPrint(&log, 0, "A.cpp", 1, "first");
    DebugPrint(&log, 0, "A.cpp", 2, "%s", longText.c_str());
    std::string text = home.ReadFile("appdebug.log");
    std::size_t firstEnd = text.find("\r\n");
    ASSERT_NE(firstEnd, std::string::npos);
    EXPECT_EQ(text.compare(firstEnd - 5, 5, "first"), 0);
    std::string second = text.substr(firstEnd + 2);
    ASSERT_GE(second.size(), 2u);
    EXPECT_EQ(second.substr(second.size() - 2), "\r\n");
    EXPECT_EQ(second.find(std::string(CxDebugUtil::kMessageSize, 'x')), std::string::npos);
    EXPECT_NE(second.find(std::string(CxDebugUtil::kMessageSize - 1, 'x') + "\r\n"), std::string::npos);
}

TEST(CxDebugUtilTest, MacroPassesTheBaseNameOfTheSourceFile)
{
    fwtest::TempHome home;
    g_debugLog.SetLogFolder((home.Root() + "/").c_str());
    FW_LOG(0, "from the macro");
    std::string text = home.ReadFile("appdebug.log");
    EXPECT_NE(text.find("[CxDebugUtilTest.cpp (1"), std::string::npos) << text;
    g_debugLog.SetLogFolder("./");
}

// A line that cannot be written is lost without a word: nothing is made where the log should
// be, nothing goes to the console, and the next line goes to a folder that takes it.
TEST(CxDebugUtilTest, UnwritableFolderDropsTheLineQuietly)
{
    fwtest::TempHome home;
    home.WriteFile("plain", "a file, not a folder\n");
    std::filesystem::create_directories(home.Path("taken/appdebug.log")); // the log's name is a folder
    std::filesystem::create_directories(home.Path("locked"));
    std::filesystem::permissions(home.Path("locked"),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    struct Case
    {
        const char* name;
        std::string folder;
    };
    std::vector<Case> cases = {
        {"missing folder", home.Path("missing/")},
        {"a file where the folder should be", home.Path("plain/")},
        {"the log's name taken by a folder", home.Path("taken/")},
    };
    if (::geteuid() != 0) { // the owner of everything writes anywhere
        cases.push_back({"folder without write access", home.Path("locked/")});
    }
    int round = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CxDebugUtil log;
        log.SetLogFolder(c.folder.c_str());
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        DebugPrint(&log, 0, "A.cpp", 1, "lost");
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

        EXPECT_FALSE(std::filesystem::exists(home.Path("missing")));
        EXPECT_EQ(home.ReadFile("plain"), "a file, not a folder\n");
        EXPECT_TRUE(std::filesystem::is_directory(home.Path("taken/appdebug.log")));
        EXPECT_TRUE(std::filesystem::is_empty(home.Path("taken/appdebug.log")));
        EXPECT_TRUE(std::filesystem::is_empty(home.Path("locked")));

        const std::string good = home.Path("good" + std::to_string(++round) + "/");
        std::filesystem::create_directories(good);
        log.SetLogFolder(good.c_str());
        DebugPrint(&log, 0, "A.cpp", 2, "kept");
        std::ifstream in(good + "appdebug.log", std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_NE(text.find("(2   )"), std::string::npos) << text;
        EXPECT_NE(text.find("] - kept\r\n"), std::string::npos) << text;
        EXPECT_EQ(text.find("lost"), std::string::npos) << "the lost line was kept for later";
    }
}

// A log of exactly the limit is still appended to; one byte more starts a new file after
// copying the old one aside (replacing an older copy).
TEST(CxDebugUtilTest, RotatesOnlyBeyondTheLimit)
{
    fwtest::TempHome home;
    CxDebugUtil log;
    log.SetLogFolder((home.Root() + "/").c_str());
    std::string path = home.Path("appdebug.log");
    std::string old = path + ".old.log";
    home.WriteFile("appdebug.log.old.log", "older copy");

    std::filesystem::resize_file(home.WriteFile("appdebug.log", ""), CxDebugUtil::kRotateSize);
    DebugPrint(&log, 0, "A.cpp", 1, "appended");
    EXPECT_GT(static_cast<std::int64_t>(std::filesystem::file_size(path)), CxDebugUtil::kRotateSize);
    EXPECT_EQ(home.ReadFile("appdebug.log.old.log"), "older copy");

    std::filesystem::resize_file(path, CxDebugUtil::kRotateSize + 1);
    DebugPrint(&log, 0, "A.cpp", 2, "fresh");
    EXPECT_EQ(static_cast<std::int64_t>(std::filesystem::file_size(old)), CxDebugUtil::kRotateSize + 1);
    std::string text = home.ReadFile("appdebug.log");
    EXPECT_EQ(text.find("\r\n"), text.size() - 2);
    EXPECT_NE(text.find("] - fresh"), std::string::npos);
}

} // namespace
