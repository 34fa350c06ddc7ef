// Runs the built ferrywise-cli as a child process in a temporary home.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "Version.h"
#include "common/TempHome.h"
#include "platform/KnownFolders.h"

extern char** environ;

namespace {

constexpr char kSettingsFile[] = "config/corvane/FWLN/FWLN.ini";
constexpr char kMigrationLog[] = "config/corvane/FWLN/MILog.txt";

class CliEndToEndTest : public testing::Test
{
protected:
    struct Result
    {
        int status = -1;
        std::string out;
        std::string err;
    };

    // The child gets this test's home, nothing of the developer's.
    std::vector<std::string> ChildEnvironment() const
    {
        const char* const replaced[] = {
            "HOME=", "XDG_CONFIG_HOME=",   "XDG_DOCUMENTS_DIR=", "FERRYWISE_REGISTRY=", "TZ=",
            "LANG=", "FERRYWISE_CODEPAGE="};
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e) {
            bool keep = true;
            for (const char* name : replaced) {
                keep = keep && std::string(*e).rfind(name, 0) != 0;
            }
            if (keep) {
                env.emplace_back(*e);
            }
        }
        env.push_back("HOME=" + m_home.Root());
        env.push_back("XDG_CONFIG_HOME=" + m_home.ConfigHome());
        env.push_back("XDG_DOCUMENTS_DIR=" + m_home.Documents());
        env.push_back("FERRYWISE_REGISTRY=" + m_home.RegistryFile());
        env.push_back("TZ=Europe/Berlin");
        env.push_back("LANG=C.UTF-8");
        env.push_back("FERRYWISE_CODEPAGE=1252");
        return env;
    }

    // A Lotus Notes whose data folder is gone: without a registered one, the program would
    // make a local Lotus Notes with empty databases, and loading would succeed.
    void RegisterMissingNotesData()
    {
        m_home.WriteFile("registry.ini",
                         "[HKEY_CURRENT_USER\\SOFTWARE\\Lotus\\Notes\\Installer]\r\nDATADIR=" +
                             m_home.Path("gone/") + "\r\n");
    }

    Result Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), FW_CLI_PATH);
        std::vector<char*> argv;
        for (std::string& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        std::vector<std::string> env = ChildEnvironment();
        std::vector<char*> envp;
        for (std::string& e : env) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);

        const std::string outPath = m_home.Path("child.out");
        const std::string errPath = m_home.Path("child.err");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid = 0;
        Result result;
        int spawned = posix_spawn(&pid, FW_CLI_PATH, &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        EXPECT_EQ(spawned, 0);
        if (spawned != 0) {
            return result;
        }
        int status = 0;
        EXPECT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status)) << "the program did not exit normally";
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = m_home.ReadFile("child.out");
        result.err = m_home.ReadFile("child.err");
        return result;
    }

    fwtest::TempHome m_home;
};

TEST_F(CliEndToEndTest, HelpForEveryCommand)
{
    const std::vector<std::string> lines[] = {
        {"--help"}, {"-h"}, {"migrate", "--help"}, {"dump", "--help"}, {"settings", "--help"}};
    for (const auto& line : lines) {
        SCOPED_TRACE(line.back() + " of " + line.front());
        Result r = Run(line);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out.rfind("Usage: ferrywise-cli", 0), 0u) << r.out;
        EXPECT_EQ(r.err, "");
    }
    EXPECT_NE(Run({"--help"}).out.find("migrate"), std::string::npos);
}

TEST_F(CliEndToEndTest, Version)
{
    Result r = Run({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, std::string(FW_PRODUCT_NAME) + " " + FW_VERSION + "\n");
}

TEST_F(CliEndToEndTest, UsageErrorsGiveTwo)
{
    const std::vector<std::string> lines[] = {
        {},
        {"frobnicate"},
        {"migrate"},
        {"migrate", "--source", "palm", "--unknown"},
        {"dump", "--source", "notes"},
        {"settings", "set", "LogLevel", "high"},
    };
    for (const auto& line : lines) {
        SCOPED_TRACE(line.empty() ? "(nothing)" : line.back());
        Result r = Run(line);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("ferrywise-cli: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find("--help' for usage"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(platform::FileExists(m_home.Path(kSettingsFile)));
}

TEST_F(CliEndToEndTest, SettingsRoundTrip)
{
    EXPECT_EQ(Run({"settings", "set", "LogLevel", "1"}).status, 0);
    EXPECT_EQ(Run({"settings", "set", "LNAddrName", "M\xC3\xBCller names.nsf"}).status, 0);
    Result get = Run({"settings", "get", "LogLevel"});
    EXPECT_EQ(get.status, 0);
    EXPECT_EQ(get.out, "1\n");
    Result list = Run({"settings", "list"});
    EXPECT_EQ(list.status, 0);
    EXPECT_NE(list.out.find("\nLogLevel=1\n"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("\nLNAddrName=M\xC3\xBCller names.nsf\n"), std::string::npos) << list.out;
    EXPECT_NE(m_home.ReadFile(kSettingsFile).find("LNAddrName=M\xFCller names.nsf\r\n"), std::string::npos);

    Result unknown = Run({"settings", "get", "NoSuchKey"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.out, "");
    EXPECT_NE(unknown.err.find("unknown settings key 'NoSuchKey'"), std::string::npos) << unknown.err;
}

// With no data to load, Lotus Notes (always loaded first) fails with its flow's message;
// nothing is migrated, logged or saved.
TEST_F(CliEndToEndTest, MigrateWithoutDataFails)
{
    ASSERT_EQ(Run({"settings", "set", "SyncTask", "0"}).status, 0);
    const std::string settings = m_home.ReadFile(kSettingsFile);
    RegisterMissingNotesData();

    Result r = Run({"migrate", "--source", "palm", "--types", "contacts,tasks"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Error: Loading Lotus Notes Contacts Error: "), std::string::npos) << r.err;
    EXPECT_FALSE(platform::FileExists(m_home.Path(kMigrationLog)));
    EXPECT_EQ(m_home.ReadFile(kSettingsFile), settings);
}

TEST_F(CliEndToEndTest, DumpWithoutDataFails)
{
    RegisterMissingNotesData();
    Result r = Run({"dump", "--source", "notes", "--type", "contacts"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Error: Loading Lotus Notes Contacts Error: "), std::string::npos) << r.err;
    EXPECT_FALSE(platform::FileExists(m_home.Path(kSettingsFile)));
}

} // namespace
