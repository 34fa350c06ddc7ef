#include "cli/CliSettingsCommand.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/TempHome.h"
#include "platform/CodePage.h"

namespace {

constexpr char kSettingsFile[] = "config/corvane/FWLN/FWLN.ini";

class CliSettingsCommandTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(platform::SetAnsiCodePage("1252")); }

    struct Result
    {
        int status;
        std::string out;
        std::string err;
    };

    static Result Run(std::vector<std::string> argv)
    {
        argv.insert(argv.begin(), "settings");
        CliParseResult parsed = ParseCliArguments(argv);
        EXPECT_TRUE(parsed.ok) << parsed.error;
        std::ostringstream out;
        std::ostringstream err;
        int status = RunSettingsCommand(parsed.args, out, err);
        return {status, out.str(), err.str()};
    }

    static std::string Get(const std::string& key) { return Run({"get", key}).out; }

    fwtest::TempHome home;
};

// One set, then what get gives and what was said.
struct SetCase
{
    const char* key;
    std::string value;
    int status;
    std::string got; // get afterwards (when status is 0)
    const char* err; // a piece of standard error; "" for none at all
};

const SetCase kSetCases[] = {
    {"LogLevel", "2", 0, "2\n", ""},
    {"loglevel", "1", 0, "1\n", ""}, // keys match without regard to case, like the file's
    {"LogLevel", "+7", 0, "7\n", ""},
    {"SourceApp", "-5", 0, "-5\n", ""},
    {"LogLevel", "abc", 2, "", "LogLevel takes a whole number, not 'abc'"},
    {"LogLevel", "", 2, "", "takes a whole number"},
    {"LogLevel", "3x", 2, "", "takes a whole number"},
    {"LogLevel", "99999999999", 2, "", "takes a whole number"},
    {"SyncAddr", "0", 0, "0\n", ""},
    {"SyncAddr", "2", 2, "", "SyncAddr takes 0 or 1, not '2'"},
    {"SyncAddr", "true", 2, "", "takes 0 or 1"},
    {"LNAppName", "C:\\Program Files\\Notes\\notes.exe", 0, "C:\\Program Files\\Notes\\notes.exe\n", ""},
    {"LNAppName", "", 0, "\n", ""},
    {"LNAppName", "Caf\xC3\xA9 \xE2\x82\xAC", 0, "Caf\xC3\xA9 \xE2\x82\xAC\n", ""}, // in 1252: E9, 80
    {"LNAppName", "\xE6\x97\xA5\xE6\x9C\xAC", 2, "", "cannot hold"},
    {"LNAppName", "two\nlines", 2, "", "line break"},
    {"GGEmail", std::string(63, 'g'), 0, std::string(63, 'g') + "\n", ""},
    {"GGEmail", std::string(64, 'g'), 2, "", "too long (at most 63 characters)"},
    {"Nope", "1", 1, "", "unknown settings key 'Nope'"},
    // Kept only while the keep flag is set: the store writes it empty, and the user is told.
    {"LNPassword", "s3cret", 0, "(not set)\n", "LNPassword is not kept while LNSavePassword is 0"},
    {"ACTSaveUser", "0", 0, "0\n", ""},
    {"SFToken", "tok", 0, "(set)\n", ""}, // SFSaveToken is 1 by default
};

TEST_F(CliSettingsCommandTest, SetThenGet)
{
    for (const SetCase& c : kSetCases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        fwtest::TempHome fresh;
        Result set = Run({"set", c.key, c.value});
        EXPECT_EQ(set.status, c.status);
        EXPECT_EQ(set.out, "");
        if (*c.err == '\0') {
            EXPECT_EQ(set.err, "");
        } else {
            EXPECT_NE(set.err.find(c.err), std::string::npos) << set.err;
        }
        if (c.status == 0) {
            EXPECT_EQ(Get(c.key), c.got);
        }
    }
}

// A refused value leaves the file as it was (or absent).
TEST_F(CliSettingsCommandTest, RefusedValueWritesNothing)
{
    ASSERT_EQ(Run({"set", "LogLevel", "x"}).status, 2);
    EXPECT_EQ(home.ReadFile(kSettingsFile), "");
    ASSERT_EQ(Run({"set", "LogLevel", "1"}).status, 0);
    const std::string before = home.ReadFile(kSettingsFile);
    ASSERT_EQ(Run({"set", "SyncNote", "yes"}).status, 2);
    EXPECT_EQ(home.ReadFile(kSettingsFile), before);
}

TEST_F(CliSettingsCommandTest, TextIsStoredInTheAnsiCodePage)
{
    ASSERT_EQ(Run({"set", "LNAddrName", "M\xC3\xBCller.nsf"}).status, 0);
    EXPECT_NE(home.ReadFile(kSettingsFile).find("LNAddrName=M\xFCller.nsf\r\n"), std::string::npos);
}

TEST_F(CliSettingsCommandTest, PasswordIsKeptOnlyWithItsFlagAndNeverShown)
{
    ASSERT_EQ(Run({"set", "LNSavePassword", "1"}).status, 0);
    Result set = Run({"set", "LNPassword", "s3cret"});
    ASSERT_EQ(set.status, 0);
    EXPECT_EQ(set.err, "");
    EXPECT_EQ(Get("LNPassword"), "(set)\n");
    // The store keeps it Base64-encoded.
    EXPECT_NE(home.ReadFile(kSettingsFile).find("LNPassword=czNjcmV0\r\n"), std::string::npos);
    Result list = Run({"list"});
    EXPECT_NE(list.out.find("LNPassword=(set)\n"), std::string::npos);
    EXPECT_EQ(list.out.find("s3cret"), std::string::npos);
    EXPECT_EQ(list.out.find("czNjcmV0"), std::string::npos);

    // Switching the flag off drops the password, and says so.
    Result off = Run({"set", "LNSavePassword", "0"});
    ASSERT_EQ(off.status, 0);
    EXPECT_NE(off.err.find("LNPassword is no longer kept"), std::string::npos) << off.err;
    EXPECT_EQ(Get("LNPassword"), "(not set)\n");
    EXPECT_NE(home.ReadFile(kSettingsFile).find("LNPassword=\r\n"), std::string::npos);
}

TEST_F(CliSettingsCommandTest, AccountNameFollowsItsKeepFlag)
{
    ASSERT_EQ(Run({"set", "SGUserName", "sugar"}).status, 0);
    EXPECT_EQ(Get("SGUserName"), "sugar\n");
    Result off = Run({"set", "SGSaveUser", "0"});
    EXPECT_NE(off.err.find("SGUserName is no longer kept"), std::string::npos) << off.err;
    EXPECT_EQ(Get("SGUserName"), "\n");

    Result set = Run({"set", "ACTUserName", "act"});
    EXPECT_EQ(set.status, 0);
    EXPECT_EQ(set.err, "");
    ASSERT_EQ(Run({"set", "ACTSaveUser", "0"}).status, 0);
    set = Run({"set", "ACTUserName", "act"});
    EXPECT_NE(set.err.find("ACTUserName is not kept while ACTSaveUser is 0"), std::string::npos) << set.err;
}

// list shows every key once, in the order the store writes the file, with the defaults of a
// missing file.
TEST_F(CliSettingsCommandTest, ListFollowsTheFile)
{
    Result list = Run({"list"});
    ASSERT_EQ(list.status, 0);
    std::vector<std::string> keys;
    std::istringstream lines(list.out);
    for (std::string line; std::getline(lines, line);) {
        std::size_t eq = line.find('=');
        ASSERT_NE(eq, std::string::npos) << line;
        keys.push_back(line.substr(0, eq));
    }
    ASSERT_EQ(keys.size(), SettingsKeys().size());
    EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()).size(), keys.size());
    EXPECT_NE(list.out.find("LogLevel=3\n"), std::string::npos);
    EXPECT_NE(list.out.find("NewColor=32768\n"), std::string::npos);
    EXPECT_NE(list.out.find("OLCustomLabel4=Custom 4\n"), std::string::npos);
    EXPECT_NE(list.out.find("SFToken=(not set)\n"), std::string::npos);

    ASSERT_EQ(Run({"set", "SyncTask", "0"}).status, 0);
    std::vector<std::string> fileKeys;
    std::istringstream file(home.ReadFile(kSettingsFile));
    for (std::string line; std::getline(file, line);) {
        std::size_t eq = line.find('=');
        if (eq != std::string::npos) {
            fileKeys.push_back(line.substr(0, eq));
        }
    }
    EXPECT_EQ(fileKeys, keys);
}

// Every key of the store's table can be set, saved and read back through the table.
TEST_F(CliSettingsCommandTest, EveryKeyRoundTrips)
{
    std::set<std::size_t> keepFlags;
    for (const FWSettingKey& key : SettingsKeys()) {
        if (key.Kind == FWSettingKind::Password || key.Kind == FWSettingKind::KeptName) {
            keepFlags.insert(key.KeepOffset);
        }
    }
    auto settings = std::make_unique<FWSettings>();
    std::vector<std::string> values;
    int i = 0;
    for (const FWSettingKey& key : SettingsKeys()) {
        std::string value;
        switch (key.Kind) {
        case FWSettingKind::Integer:
            value = std::to_string(1000 + i);
            break;
        case FWSettingKind::Flag:
            value = keepFlags.count(key.Offset) != 0 || key.DefaultInt == 0 ? "1" : "0";
            break;
        default:
            value = "v" + std::to_string(i);
        }
        std::string error;
        ASSERT_TRUE(SetSettingsValue(*settings, key, value, error)) << key.Name << ": " << error;
        values.push_back(key.Kind == FWSettingKind::Password ? "(set)" : value);
        ++i;
    }
    std::string folder;
    ASSERT_TRUE(GetWorkingFolder(folder));
    CxIniUtil ini(folder.c_str(), kSettingsFileName);
    ASSERT_TRUE(SaveSettings(*settings, ini));
    auto loaded = std::make_unique<FWSettings>();
    LoadSettings(*loaded, ini);
    i = 0;
    for (const FWSettingKey& key : SettingsKeys()) {
        EXPECT_EQ(SettingsValueText(*loaded, key), values[static_cast<std::size_t>(i++)]) << key.Name;
    }
}

TEST_F(CliSettingsCommandTest, NoWorkingFolderIsAFailure)
{
    // A file where the configuration folder should be: nothing can be made below it.
    const std::string blocker = home.WriteFile("blocker", "x");
    setenv("XDG_CONFIG_HOME", blocker.c_str(), 1);
    Result list = Run({"list"});
    EXPECT_EQ(list.status, 1);
    EXPECT_EQ(list.out, "");
    EXPECT_NE(list.err.find("working folder"), std::string::npos) << list.err;
    EXPECT_EQ(Run({"set", "LogLevel", "1"}).status, 1);
    EXPECT_EQ(Run({"get", "LogLevel"}).status, 1);
}

} // namespace
