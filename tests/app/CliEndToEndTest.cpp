// Runs the built ferrywise-cli as a child process in a temporary home.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include "Version.h"
#include "common/TempHome.h"
#include "notes/NotesStore.h"
#include "palm/PalmClassicFiles.h"
#include "palm/PalmExFileWriter.h"
#include "palm/PalmTestUsers.h"
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
        const char* const replaced[] = {"HOME=",
                                        "XDG_CONFIG_HOME=",
                                        "XDG_DATA_HOME=",
                                        "XDG_DOCUMENTS_DIR=",
                                        "FERRYWISE_REGISTRY=",
                                        "TZ=",
                                        "LANG=",
                                        "FERRYWISE_CODEPAGE=",
                                        "FERRYWISE_HELPER_DIR="};
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
        env.push_back("XDG_DATA_HOME=" + m_home.Path(".local/share"));
        env.push_back("XDG_DOCUMENTS_DIR=" + m_home.Documents());
        env.push_back("FERRYWISE_REGISTRY=" + m_home.RegistryFile());
        env.push_back("TZ=Europe/Berlin");
        env.push_back("LANG=C.UTF-8");
        env.push_back("FERRYWISE_CODEPAGE=1252");
        env.insert(env.end(), m_extraEnvironment.begin(), m_extraEnvironment.end());
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
        std::string inPath = "/dev/null";
        if (!m_input.empty()) {
            inPath = m_home.WriteFile("child.in", m_input);
        }
        posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
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
        if (m_whileRunning) {
            m_whileRunning(pid);
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
    // The child's standard input; empty: none.
    std::string m_input;
    // More for the child, as NAME=value.
    std::vector<std::string> m_extraEnvironment;
    // Called with the child's process id while it runs (to interrupt it, say).
    std::function<void(pid_t)> m_whileRunning;
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

// ---- Palm Desktop as the source --------------------------------------------------------------

// A 4.1.x Palm Desktop user folder: two contacts (one with a name in Windows-1252) and a memo.
void WriteExUser(const std::string& folder)
{
    std::vector<PmAddrExRec> contacts = fwtest::ExContacts();
    std::vector<PmMemoExRec> memos(1);
    memos[0].recordId = 1;
    memos[0].text = "Ferry times\r\nSummer schedule";
    std::filesystem::create_directories(folder + "/Address");
    std::filesystem::create_directories(folder + "/MemoPad");
    fwtest::PalmExFileWriter addr;
    addr.File(contacts);
    ASSERT_TRUE(addr.WriteFile(folder + "/Address/ADDRESS.DAT"));
    fwtest::PalmExFileWriter memo;
    memo.File(memos);
    ASSERT_TRUE(memo.WriteFile(folder + "/MemoPad/MemoPad.dat"));
}

// A 6.x Palm Desktop user folder: the sample databases, copied into the test's home.
bool CopySampleUser(const std::string& folder)
{
    return fwtest::CopySamplePalmUser(folder);
}

struct PalmDumpCase
{
    const char* user;
    bool samples;
    std::vector<std::string> expected; // UTF-8 texts the dump must hold
};

TEST_F(CliEndToEndTest, PalmContactsOfEachGenerationAreDumped)
{
    const std::string palm = m_home.Path("Palm");
    ASSERT_TRUE(fwtest::WriteClassicUser(
        palm, "Classic", {{"Fran\xE7ois", "Ren\xE9", "Caf\xE9 Nord", "1", "r@x", ""}}, {}, {}, {}));
    WriteExUser(palm + "/Ex");
    const bool samples = CopySampleUser(palm + "/Six");
    const PalmDumpCase cases[] = {
        {"Classic", false, {"\"Ren\xC3\xA9\"", "\"Fran\xC3\xA7ois\"", "\"Caf\xC3\xA9 Nord\"", "\"r@x\""}},
        {"Ex",
         false,
         {"\"J\xC3\xB6rg\"", "\"M\xC3\xBCller\"",
          "\"Pe\xC3\xB1"
          "a\"",
          "\"ana@example.com\""}},
        {"Six",
         true,
         {"\"J\xC3\xB6rg\"",
          "\"M\xC3\xBCller-L\xC3\xBC"
          "denscheidt\"",
          "\"Anna\""}},
    };
    for (const PalmDumpCase& c : cases) {
        SCOPED_TRACE(c.user);
        if (c.samples && !samples) {
            continue; // the shared samples are not there
        }
        Result r = Run(
            {"dump", "--source", "palm", "--type", "contacts", "--palm-folder", palm, "--palm-user", c.user});
        EXPECT_EQ(r.status, 0) << r.err;
        for (const std::string& text : c.expected) {
            EXPECT_NE(r.out.find(text), std::string::npos) << text << " in\n" << r.out;
        }
    }

    Result unknown = Run(
        {"dump", "--source", "palm", "--type", "contacts", "--palm-folder", palm, "--palm-user", "Nobody"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("no Palm Desktop user 'Nobody' (users: Classic Ex"), std::string::npos)
        << unknown.err;
    Result notPalm = Run({"dump", "--source", "notes", "--type", "contacts", "--palm-folder", palm});
    EXPECT_EQ(notPalm.status, 2);
    EXPECT_NE(notPalm.err.find("--palm-folder applies to --source palm only"), std::string::npos)
        << notPalm.err;
}

// A migration from Palm Desktop reaches the local Lotus Notes: the next dump of Lotus Notes
// shows the records, the migration log lists them, and a second run finds them all the same.
TEST_F(CliEndToEndTest, PalmMigrationReachesLotusNotes)
{
    const std::string palm = m_home.Path("Palm");
    WriteExUser(palm + "/Ex");
    Result first = Run({"migrate", "--source", "palm", "--types", "contacts,notes", "--palm-folder", palm});
    ASSERT_EQ(first.status, 0) << first.out << first.err;

    Result contacts = Run({"dump", "--source", "notes", "--type", "contacts"});
    ASSERT_EQ(contacts.status, 0) << contacts.err;
    for (const char* text : {"\"J\xC3\xB6rg\"", "\"M\xC3\xBCller\"",
                             "\"Pe\xC3\xB1"
                             "a\"",
                             "\"ana@example.com\""}) {
        EXPECT_NE(contacts.out.find(text), std::string::npos) << text << " in\n" << contacts.out;
    }
    Result notes = Run({"dump", "--source", "notes", "--type", "notes"});
    ASSERT_EQ(notes.status, 0) << notes.err;
    EXPECT_NE(notes.out.find("\"Ferry times\""), std::string::npos) << notes.out;

    const std::string log = m_home.ReadFile(kMigrationLog);
    EXPECT_NE(log.find("Email: ana@example.com"), std::string::npos) << log;
    EXPECT_NE(log.find("Ferry times"), std::string::npos) << log;

    Result second =
        Run({"migrate", "--source", "palm", "--types", "contacts,notes", "--palm-folder", palm, "--dry-run"});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_NE(second.out.find("contacts: 0 new, 0 diff, 2 same"), std::string::npos) << second.out;
    EXPECT_NE(second.out.find("notes: 0 new, 0 diff, 1 same"), std::string::npos) << second.out;
}

// A helper that cannot be started is reported by name, and a record file left in the working
// folder is never taken for what it would have loaded: nothing is counted as migrated.
TEST_F(CliEndToEndTest, AMissingHelperFailsTheMigrationNamingIt)
{
    const std::string palm = m_home.Path("Palm");
    WriteExUser(palm + "/Ex");
    const std::string helpers = m_home.Path("helpers");
    std::filesystem::create_directories(helpers);
    m_extraEnvironment.push_back("FERRYWISE_HELPER_DIR=" + helpers);
    // An empty record file from an earlier run.
    m_home.WriteFile("config/corvane/FWLN/LNAddr.dat", std::string(4, '\0'));

    Result r = Run({"migrate", "--source", "palm", "--types", "contacts", "--palm-folder", palm});
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_EQ(r.out.find("Migrated"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("Error: Loading Lotus Notes Contacts Error: The helper utility program " + helpers +
                         "/fw-notes-contacts cannot be started: No such file or directory"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(platform::FileExists(m_home.Path(kMigrationLog)));
}

// Ctrl+C while a helper loads: the program asks the helper to stop through its control file
// (the terminal's interrupt reaches the program alone), says so, and ends as cancelled with
// nothing migrated.
TEST_F(CliEndToEndTest, CtrlCCancelsTheLoadThroughTheHelpersStopRequest)
{
    const std::string palm = m_home.Path("Palm");
    WriteExUser(palm + "/Ex");
    const std::string helpers = m_home.Path("helpers");
    const std::string helper = m_home.WriteFile(
        "helpers/fw-notes-contacts", "#!/bin/sh\n"
                                     "dir=$(dirname \"$1\")\n"
                                     "printf '[Status]\\r\\nRunning=1\\r\\n' > \"$dir/LNAddr.ini\"\n"
                                     ": > \"$dir/helper-started\"\n"
                                     "while ! grep -q 'Stop=1' \"$dir/LNAddr.ini\"; do sleep 0.05; done\n"
                                     ": > \"$dir/helper-stopped\"\n"
                                     "exit 1\n");
    ASSERT_EQ(chmod(helper.c_str(), 0755), 0);
    m_extraEnvironment.push_back("FERRYWISE_HELPER_DIR=" + helpers);
    const std::string work = m_home.Path("config/corvane/FWLN/");
    m_whileRunning = [&](pid_t pid) {
        for (int i = 0; i < 500 && !platform::FileExists(work + "helper-started"); ++i) {
            usleep(20000);
        }
        kill(pid, SIGINT);
    };

    Result r = Run({"migrate", "--source", "palm", "--types", "contacts", "--palm-folder", palm});

    EXPECT_EQ(r.status, 130) << r.out << r.err;
    EXPECT_TRUE(platform::FileExists(work + "helper-stopped"));
    EXPECT_NE(r.err.find("Cancelling ..."), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Information: Cancelled."), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("ferrywise-cli: cancelled; nothing was migrated."), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("Error:"), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("Migrated"), std::string::npos) << r.out;
    EXPECT_FALSE(platform::FileExists(m_home.Path(kMigrationLog)));
}

// A submit that Lotus Notes refuses: the migration fails, and the migration log shows the
// items as not migrated and ends with the reason.
TEST_F(CliEndToEndTest, ARefusedSubmitLeavesNoItemMigratedInTheLog)
{
    struct Case
    {
        const char* name;
        bool readOnly; // else locked by another program
        const char* reason;
    };
    const Case cases[] = {
        {"locked", false, "is locked by another program. Nothing was changed."},
        {"read-only", true, "attempt to write a readonly database"},
    };
    const std::string palm = m_home.Path("Palm");
    WriteExUser(palm + "/Ex");
    const std::string names = m_home.Path(".local/share/corvane/notes/names.nsf");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(m_home.Path(".local/share/corvane"));
        m_home.WriteFile("registry.ini", "");
        ASSERT_EQ(Run({"dump", "--source", "notes", "--type", "contacts"}).status, 0); // the local databases
        NotesStore other;
        std::string error;
        if (c.readOnly) {
            // The header's write version above 2: SQLite reads the database and refuses to write it.
            std::fstream file(names, std::ios::in | std::ios::out | std::ios::binary);
            file.seekp(18);
            file.put(3);
        } else {
            ASSERT_TRUE(other.Open(names, error)) << error;
            ASSERT_TRUE(other.BeginWrite(NotesItemKind::Contacts, error)) << error;
        }

        Result r = Run({"migrate", "--source", "palm", "--types", "contacts", "--palm-folder", palm});
        other.Rollback();
        EXPECT_EQ(r.status, 1) << r.out << r.err;
        EXPECT_EQ(r.out.find("Migrated to Lotus Notes"), std::string::npos) << r.out;
        const std::size_t message =
            r.err.find("Error: Failed to submit Contact changes to Lotus Notes, Error=");
        ASSERT_NE(message, std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.reason, message), std::string::npos) << r.err;

        const std::string log = m_home.ReadFile(kMigrationLog);
        EXPECT_EQ(log.rfind("Start migrating information to Lotus Notes.\r\nMigrating Contact item:\r\n", 0),
                  0u)
            << log;
        EXPECT_NE(log.find("Email: ana@example.com"), std::string::npos) << log;
        EXPECT_EQ(log.find("migrated successfully"), std::string::npos) << log;
        std::size_t notMigrated = 0;
        for (std::size_t at = 0;
             (at = log.find("Contact item was not migrated...\r\n\r\n", at)) != std::string::npos; ++at) {
            ++notMigrated;
        }
        EXPECT_EQ(notMigrated, 2u) << log;
        const std::size_t last = log.rfind("Failed to submit Contact changes to Lotus Notes, Error=");
        ASSERT_NE(last, std::string::npos) << log;
        const std::string tail = log.substr(last);
        EXPECT_NE(tail.find(c.reason), std::string::npos) << tail;
        EXPECT_EQ(tail.find("\r\n"), tail.size() - 2) << tail;
    }
}

// A new user's first migration of calendar and tasks, with no setting made: the mail
// database is the one the local Lotus Notes names in its notes.ini. A mail database set
// explicitly is still the one used.
TEST_F(CliEndToEndTest, ANewUsersCalendarAndTasksReachTheLocalMailDatabase)
{
    const std::string palm = m_home.Path("Palm");
    ASSERT_TRUE(fwtest::WriteClassicUser(palm, "Classic", {},
                                         {{1367406000, 1367409600, "Ferry to the island"}},
                                         {{"Book the return trip", -1, 1}}, {}));
    Result first = Run({"migrate", "--source", "palm", "--types", "calendar,tasks", "--palm-folder", palm});
    ASSERT_EQ(first.status, 0) << first.out << first.err;
    EXPECT_NE(first.out.find("calendar: 1\n"), std::string::npos) << first.out;
    EXPECT_NE(first.out.find("tasks: 1\n"), std::string::npos) << first.out;

    const std::string mail = m_home.Path(".local/share/corvane/notes/mail.nsf");
    for (NotesItemKind kind : {NotesItemKind::Calendar, NotesItemKind::Tasks}) {
        NotesStore store;
        std::string error;
        int count = 0;
        ASSERT_TRUE(store.Open(mail, error)) << error;
        ASSERT_TRUE(store.BeginRead(kind, &count, error)) << error;
        EXPECT_EQ(count, 1);
    }

    ASSERT_EQ(Run({"settings", "set", "LNDateName", "elsewhere.nsf"}).status, 0);
    Result chosen =
        Run({"migrate", "--source", "palm", "--types", "calendar", "--palm-folder", palm, "--dry-run"});
    EXPECT_EQ(chosen.status, 1);
    EXPECT_NE(chosen.err.find("Loading Lotus Notes Calendar Error: Database " +
                              m_home.Path(".local/share/corvane/notes/elsewhere.nsf") + " does not exist."),
              std::string::npos)
        << chosen.err;
}

// ---- Palm Desktop sources that cannot be read -------------------------------------------------

constexpr char kDiagnosticLog[] = "config/corvane/FWLN/appdebug.log";

struct PalmFailureCase
{
    const char* name;
    const char* types;
    const char* relative; // in the user folder
    std::function<bool(const std::string& path)> make;
    const char* message; // the flow's, before the path
    const char* reason;  // after the path
};

bool WriteText(const std::string& path, const std::string& text)
{
    return fwtest::WriteBytes(path, text);
}

// Before, each of these migrated "0 records" and the program ended with status 0.
TEST_F(CliEndToEndTest, PalmSourceThatCannotBeReadFailsNamingTheFile)
{
    ASSERT_EQ(Run({"settings", "set", "LNDateName", "mail.nsf"}).status, 0); // tasks load from it
    const PalmFailureCase cases[] = {
        {"foreign Address.mdb", "contacts", "address/Address.mdb",
         [](const std::string& p) { return WriteText(p, "Name;Phone\r\nAnna;123\r\n"); },
         "Failed to load Palm Desktop Contacts information. Error: ", "not a Palm Desktop database"},
        {"empty todo.dat", "tasks", "todo/todo.dat", [](const std::string& p) { return WriteText(p, ""); },
         "Failed to load Palm Desktop Task information. Error: ", "the file is empty"},
        {"memopad.dat that cannot be opened", "notes", "memopad/memopad.dat",
         [](const std::string& p) {
             std::error_code failed;
             std::filesystem::create_directories(std::filesystem::path(p).parent_path(), failed);
             std::filesystem::create_symlink("memopad.dat", p, failed); // a link to itself
             return !failed;
         },
         "Failed to load Palm Desktop Memos information. Error: ", "Too many levels of symbolic links"},
        {"Address.mdb without read permission", "contacts", "address/Address.mdb",
         [](const std::string& p) { return WriteText(p, "x") && ::chmod(p.c_str(), 0) == 0; },
         "Failed to load Palm Desktop Contacts information. Error: ", "Permission denied"},
    };
    for (const PalmFailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (std::string(c.reason) == "Permission denied" && ::geteuid() == 0) {
            continue; // root reads a file of mode 0000
        }
        const std::string palm = m_home.Path(std::string("Palm-") + c.types);
        const std::string path = palm + "/User/" + c.relative;
        std::filesystem::remove_all(palm);
        ASSERT_TRUE(c.make(path));
        Result r =
            Run({"migrate", "--source", "palm", "--types", c.types, "--palm-folder", palm, "--dry-run"});
        EXPECT_EQ(r.status, 1);
        const std::string message = std::string(c.message) + path + ": " + c.reason;
        EXPECT_NE(r.err.find("Error: " + message + "\n"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("loading failed; nothing was migrated"), std::string::npos) << r.err;
        EXPECT_NE(m_home.ReadFile(kDiagnosticLog).find("[!!!] - " + message + "\r\n"), std::string::npos);
    }
}

// A user who keeps only contacts: the other data types load nothing, the migration goes on,
// and the progress text and the log say which file was not there. Before, the calendar failed
// without a reason.
TEST_F(CliEndToEndTest, PalmUserWithOnlyContactsLoadsTheRestEmpty)
{
    ASSERT_EQ(Run({"settings", "set", "LNDateName", "mail.nsf"}).status, 0);
    const std::string palm = m_home.Path("Palm");
    ASSERT_TRUE(fwtest::WriteBytes(palm + "/User/address/address.dat",
                                   fwtest::ClassicAddressFile({{"Anna", "Berg", "", "1", "", ""}})));
    Result r = Run({"migrate", "--source", "palm", "--palm-folder", palm, "--dry-run"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("contacts: 1 new, 0 diff, 0 same"), std::string::npos) << r.out;
    for (const char* type : {"calendar", "tasks", "notes"}) {
        EXPECT_NE(r.out.find(std::string(type) + ": 0 new, 0 diff, 0 same"), std::string::npos) << r.out;
    }
    const std::string log = m_home.ReadFile(kDiagnosticLog);
    for (const std::string& notice :
         {"No Palm Desktop Calendar file in the user folder, nothing to load: " + palm +
              "/User/datebook/DateBook.mdb",
          "No Palm Desktop Tasks file in the user folder, nothing to load: " + palm +
              "/User/todo/Todolist.mdb",
          "No Palm Desktop Memos file in the user folder, nothing to load: " + palm +
              "/User/MemoPad/MemoPad.mdb"}) {
        EXPECT_NE(log.find("] - " + notice + "\r\n"), std::string::npos) << notice << " in\n" << log;
        // The progress text shows it for as long as the flow's own texts (the flow's pause).
        EXPECT_NE(r.err.find(notice + "\n"), std::string::npos) << notice << " in\n" << r.err;
    }
}

// Palm Desktop is only ever a source: a user folder copied from a CD or a backup, its files
// read-only, migrates. (The 4.1.x files fail for root too before: the Palm file access refuses
// a writing open of a file nobody may write.)
TEST_F(CliEndToEndTest, ReadOnlyPalmFoldersMigrate)
{
    const std::string palm = m_home.Path("Palm");
    WriteExUser(palm + "/Ex");
    const bool samples = CopySampleUser(palm + "/Six");
    const struct
    {
        const char* user;
        bool samples;
        const char* contacts;
    } cases[] = {{"Ex", false, "contacts: 2 new"}, {"Six", true, "contacts: 4 new"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.user);
        if (c.samples && !samples) {
            continue; // the shared samples are not there
        }
        for (const auto& entry : std::filesystem::recursive_directory_iterator(palm + "/" + c.user)) {
            if (entry.is_regular_file()) {
                std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_read |
                                                               std::filesystem::perms::group_read |
                                                               std::filesystem::perms::others_read);
            }
        }
        Result r = Run({"migrate", "--source", "palm", "--types", "contacts,notes", "--palm-folder", palm,
                        "--palm-user", c.user, "--dry-run"});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find(c.contacts), std::string::npos) << r.out;
    }
}

// What Lotus Notes held only in part, or not at all, before: an all-day event, a completed task,
// a long memo and (classic only, whose contact notes are long enough) a contact note longer
// than Lotus Notes keeps.
constexpr std::int32_t kChristmas = 1735084800; // 2024-12-25 00:00 UTC

bool WriteClassicItems(const std::string& palm, const std::string& user)
{
    fwtest::ClassicContact contact{
        "Lovelace", "Ada", "Analytical Engines", "1", "ada@example.com", std::string(6000, 'n')};
    fwtest::ClassicEvent christmas{kChristmas, kChristmas, "Christmas", true};
    fwtest::ClassicTodo taxes{"File taxes", -1, 1, true};
    return fwtest::WriteClassicUser(palm, user, {contact}, {christmas}, {taxes}, {{fwtest::LongMemo()}});
}

bool WriteExItems(const std::string& palm, const std::string& user)
{
    const std::string folder = palm + "/" + user;
    WriteExUser(folder); // the contacts; its memo file is replaced below
    std::vector<PmDateExRec> events(1);
    events[0].recordId = 1;
    events[0].startTime = kChristmas;
    events[0].endTime = kChristmas;
    events[0].description = "Christmas";
    events[0].untimed = 1;
    std::vector<PmTodoExRec> todos(1);
    todos[0].recordId = 1;
    todos[0].description = "File taxes";
    todos[0].dueDate = -1;
    todos[0].completed = 1;
    std::vector<PmMemoExRec> memos(1);
    memos[0].recordId = 1;
    memos[0].text = fwtest::LongMemo();
    const std::pair<const char*, std::function<void(fwtest::PalmExFileWriter&)>> files[] = {
        {"datebook/datebook.dat", [&](fwtest::PalmExFileWriter& w) { w.File(events); }},
        {"todo/todo.dat", [&](fwtest::PalmExFileWriter& w) { w.File(todos); }},
        {"memopad/memopad.dat", [&](fwtest::PalmExFileWriter& w) { w.File(memos); }},
    };
    for (const auto& [name, fill] : files) {
        std::filesystem::create_directories(std::filesystem::path(folder + "/" + name).parent_path());
        fwtest::PalmExFileWriter writer;
        fill(writer);
        if (!writer.WriteFile(folder + "/" + name)) {
            return false;
        }
    }
    return true;
}

// The number after "<type>: " in the lines below a heading of the program's report.
int ReportedCount(const std::string& out, const std::string& heading, const std::string& type)
{
    std::size_t at = out.find(heading);
    at = at == std::string::npos ? at : out.find("  " + type + ": ", at);
    return at == std::string::npos ? -1 : std::atoi(out.c_str() + at + type.size() + 4);
}

// Migrating a user of each generation twice: the second run finds every item the same and
// migrates nothing; Lotus Notes holds each item once, with what the source said; and the
// migration log tells of the memo it had to cut.
struct GenerationCase
{
    const char* user;
    bool (*write)(const std::string& palm, const std::string& user);
    bool longMemo;        // a memo longer than Lotus Notes keeps (the older files hold 8191
                          // characters of a text at most, which fit)
    bool longContactNote; // a contact whose note Lotus Notes cuts
    bool samples;         // made from the shared samples, which may not be there
};

void PrintTo(const GenerationCase& c, std::ostream* os)
{
    *os << c.user;
}

class CliGenerationTest : public CliEndToEndTest, public testing::WithParamInterface<GenerationCase>
{
};

TEST_P(CliGenerationTest, SecondMigrationFindsEverythingTheSame)
{
    const GenerationCase& c = GetParam();
    const std::string palm = m_home.Path("Palm");
    if (!c.write(palm, c.user)) {
        if (c.samples) {
            GTEST_SKIP() << "the shared samples are not there";
        }
        FAIL() << "cannot write the user folder";
    }
    ASSERT_EQ(Run({"settings", "set", "LNDateName", "mail.nsf"}).status, 0);
    const std::vector<std::string> migrate = {"migrate", "--source",    "palm", "--palm-folder",
                                              palm,      "--palm-user", c.user};
    Result first = Run(migrate);
    ASSERT_EQ(first.status, 0) << first.out << first.err;
    const std::string log = m_home.ReadFile(kMigrationLog);
    EXPECT_EQ(log.find("\tBody: cut to 8191 characters\r\n") != std::string::npos, c.longMemo) << log;
    EXPECT_EQ(log.find("\tNote: cut to 4095 characters\r\n") != std::string::npos, c.longContactNote) << log;

    Result second = Run(migrate);
    ASSERT_EQ(second.status, 0) << second.out << second.err;
    for (const std::string type : {"contacts", "calendar", "tasks", "notes"}) {
        SCOPED_TRACE(type);
        EXPECT_NE(second.out.find("  " + type + ": 0 new, 0 diff, "), std::string::npos) << second.out;
        EXPECT_EQ(ReportedCount(second.out, "Migrated to Lotus Notes:", type), 0) << second.out;

        Result dump = Run({"dump", "--source", "notes", "--type", type});
        ASSERT_EQ(dump.status, 0) << dump.err;
        int items = 0;
        for (std::size_t at = dump.out.find("\n  {"); at != std::string::npos;
             at = dump.out.find("\n  {", at + 1)) {
            ++items;
        }
        EXPECT_EQ(items, ReportedCount(first.out, "Migrated to Lotus Notes:", type)) << first.out;
        if (type == "calendar") {
            EXPECT_NE(dump.out.find("\"AllDay\": true"), std::string::npos) << dump.out;
        } else if (type == "tasks") {
            EXPECT_NE(dump.out.find("\"Completed\": true"), std::string::npos) << dump.out;
        } else if (type == "contacts" && c.longContactNote) {
            EXPECT_NE(dump.out.find("\"Note\": \"" + std::string(4095, 'n') + "\""), std::string::npos);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Palm, CliGenerationTest,
                         testing::Values(GenerationCase{"Classic", WriteClassicItems, false, true, false},
                                         GenerationCase{"Ex", WriteExItems, false, false, false},
                                         GenerationCase{"Six",
                                                        [](const std::string& palm, const std::string& user) {
                                                            return CopySampleUser(palm + "/" + user);
                                                        },
                                                        true, false, true}),
                         [](const testing::TestParamInfo<GenerationCase>& info) { return info.param.user; });

// Outlook is the data file that --outlook-file names: its items reach Lotus Notes once, and a
// second run finds every one of them the same.
TEST_F(CliEndToEndTest, OutlookDataFileMigratesOnceAndIsThenAllSame)
{
    const std::string file =
        std::string(FW_SHARED_DIR) + "/samples/pst/pst-extractor__mtnman1965@outlook.com.ost";
    if (!std::filesystem::exists(file)) {
        GTEST_SKIP() << "no Outlook data file samples";
    }
    const std::vector<std::string> migrate = {
        "migrate", "--source", "outlook", "--outlook-file", file, "--types", "contacts,calendar,tasks,notes"};
    Result first = Run(migrate);
    ASSERT_EQ(first.status, 0) << first.err << first.out;
    Result second = Run(migrate);
    ASSERT_EQ(second.status, 0) << second.err << second.out;
    struct Expected
    {
        const char* type;
        int items;
    };
    for (const Expected& e :
         {Expected{"contacts", 2}, Expected{"calendar", 2}, Expected{"tasks", 2}, Expected{"notes", 1}}) {
        SCOPED_TRACE(e.type);
        const std::string type = e.type;
        EXPECT_NE(first.out.find(type + ": " + std::to_string(e.items) + " new, 0 diff, 0 same"),
                  std::string::npos)
            << first.out;
        EXPECT_NE(second.out.find(type + ": 0 new, 0 diff, " + std::to_string(e.items) + " same"),
                  std::string::npos)
            << second.out;
        Result dump = Run({"dump", "--source", "notes", "--type", e.type});
        ASSERT_EQ(dump.status, 0) << dump.err;
        int items = 0;
        for (std::size_t at = dump.out.find("\n  {"); at != std::string::npos;
             at = dump.out.find("\n  {", at + 1)) {
            ++items;
        }
        EXPECT_EQ(items, e.items) << dump.out;
    }
}

// A data file with contacts only: its contacts migrate, and the load says of each other data
// type that the file has no such folder, rather than failing the run or passing in silence.
TEST_F(CliEndToEndTest, AnOutlookDataFileWithoutSomeDefaultFoldersSaysSoAndMigratesTheRest)
{
    const std::string file = std::string(FW_SHARED_DIR) + "/samples/pst/aspose-net__SampleContacts.pst";
    if (!std::filesystem::exists(file)) {
        GTEST_SKIP() << "no Outlook data file samples";
    }
    Result result = Run({"migrate", "--source", "outlook", "--outlook-file", file, "--types",
                         "contacts,calendar,tasks,notes"});
    ASSERT_EQ(result.status, 0) << result.err << result.out;
    EXPECT_NE(result.out.find("contacts: 6 new, 0 diff, 0 same"), std::string::npos) << result.out;
    for (const char* folder : {"Calendar", "Tasks", "Notes"}) {
        EXPECT_NE((result.out + result.err)
                      .find(std::string("has no ") + folder + " folder: nothing is read from it."),
                  std::string::npos)
            << folder << "\n"
            << result.out << result.err;
    }
}

// A copy that lost the second half of the file is refused with the reason, and nothing
// reaches Lotus Notes.
TEST_F(CliEndToEndTest, ADamagedOutlookDataFileIsRefusedWithItsReasonAndWritesNothing)
{
    const std::string file = std::string(FW_SHARED_DIR) + "/samples/pst/aspose-net__SampleContacts.pst";
    if (!std::filesystem::exists(file)) {
        GTEST_SKIP() << "no Outlook data file samples";
    }
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    bytes.resize(bytes.size() / 2);
    const std::string damaged = m_home.WriteFile("half.pst", bytes);
    Result result = Run({"migrate", "--source", "outlook", "--outlook-file", damaged, "--types",
                         "contacts,calendar,tasks,notes"});
    ASSERT_EQ(result.status, 2) << result.err << result.out;
    EXPECT_NE(result.err.find("The Outlook data file \"" + damaged +
                              "\" is damaged: it is cut short (135680 of 271360 bytes)."),
              std::string::npos)
        << result.err;
    Result dump = Run({"dump", "--source", "notes", "--type", "contacts"});
    ASSERT_EQ(dump.status, 0) << dump.err;
    EXPECT_EQ(dump.out.find("\n  {"), std::string::npos) << dump.out;
}

TEST_F(CliEndToEndTest, AnOutlookDataFileThatCannotBeOpenedIsRefusedWithItsReason)
{
    m_home.WriteFile("notes.pst", "a text file, not an Outlook data file\n");
    struct Case
    {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"dump", "--source", "outlook", "--type", "contacts", "--outlook-file", m_home.Path("notes.pst")},
         "is not an Outlook data file"},
        {{"dump", "--source", "outlook", "--type", "contacts", "--outlook-file", m_home.Path("gone.pst")},
         "No such file or directory"},
        {{"migrate", "--source", "outlook"}, "no Outlook data file: name one with --outlook-file FILE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        Result result = Run(c.args);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(result.out.find("Migrated"), std::string::npos) << result.out;
    }
}

// A Google account's export: contacts as Google writes its vCard, a calendar as Google
// Calendar exports it.
constexpr char kGoogleContacts[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Kunigunde Obermaier\r\nN:Obermaier;Kunigunde;;;\r\n"
    "EMAIL;TYPE=INTERNET;TYPE=WORK:k.obermaier@example.com\r\nTEL;TYPE=CELL:+49 170 1234567\r\n"
    "item1.ADR;TYPE=HOME:;;Hauptstra\xc3\x9f"
    "e 5;M\xc3\xbcnchen;;80331;Germany\r\n"
    "item1.X-ABADR:de\r\nX-GTALK:kuni@gmail.com\r\nBDAY;VALUE=date:--06-23\r\n"
    "NOTE:first line\\nsecond line\r\nCATEGORIES:myContacts,Family\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ben Acme\r\nN:Acme;Ben;;;\r\nORG:Acme Inc.\r\n"
    "TITLE:Buyer\r\nEND:VCARD\r\n";
constexpr char kGoogleCalendar[] =
    "BEGIN:VCALENDAR\r\nPRODID:-//Google Inc//Google Calendar 70.9054//EN\r\nVERSION:2.0\r\n"
    "X-WR-CALNAME:Family\r\nX-WR-TIMEZONE:Europe/Berlin\r\n"
    "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20261224\r\nDTEND;VALUE=DATE:20261225\r\nUID:eve@google.com\r\n"
    "SUMMARY:Christmas Eve\r\nDESCRIPTION:\r\nLOCATION:\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nDTSTART;TZID=Europe/Berlin:20261201T190000\r\nDTEND;TZID=Europe/Berlin:20261201T"
    "203000\r\nRRULE:FREQ=WEEKLY;BYDAY=TU\r\nUID:choir@google.com\r\nSUMMARY:Choir\r\n"
    "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-P0DT0H30M0S\r\nEND:VALARM\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nDTSTART:20261203T080000Z\r\nDTEND:20261203T090000Z\r\nUID:call@google.com\r\n"
    "SUMMARY:Call\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

// The dump's records, one text each.
std::vector<std::string> DumpRecords(const std::string& out)
{
    std::vector<std::string> records;
    for (std::size_t at = out.find("\n  {"); at != std::string::npos;) {
        const std::size_t next = out.find("\n  {", at + 1);
        records.push_back(out.substr(at, next == std::string::npos ? std::string::npos : next - at));
        at = next;
    }
    return records;
}

// The folder of a Google export: its contacts and events reach Lotus Notes once, with their
// texts, times and all-day flags, and a second run finds every one the same.
TEST_F(CliEndToEndTest, GoogleExportFolderMigratesOnceAndIsThenAllSame)
{
    m_home.WriteFile("Takeout/Contacts/My Contacts/My Contacts.vcf", kGoogleContacts);
    m_home.WriteFile("Takeout/Calendar/Family.ics", kGoogleCalendar);
    const std::vector<std::string> migrate = {"migrate",
                                              "--source",
                                              "google",
                                              "--types",
                                              "contacts,calendar",
                                              "--google-folder",
                                              m_home.Path("Takeout")};
    Result first = Run(migrate);
    ASSERT_EQ(first.status, 0) << first.err << first.out;
    EXPECT_NE(first.out.find("contacts: 2 new, 0 diff, 0 same"), std::string::npos) << first.out;
    EXPECT_NE(first.out.find("calendar: 3 new, 0 diff, 0 same"), std::string::npos) << first.out;
    Result second = Run(migrate);
    ASSERT_EQ(second.status, 0) << second.err << second.out;
    EXPECT_NE(second.out.find("contacts: 0 new, 0 diff, 2 same"), std::string::npos) << second.out;
    EXPECT_NE(second.out.find("calendar: 0 new, 0 diff, 3 same"), std::string::npos) << second.out;

    Result contacts = Run({"dump", "--source", "notes", "--type", "contacts"});
    ASSERT_EQ(contacts.status, 0) << contacts.err;
    const std::vector<std::string> people = DumpRecords(contacts.out);
    ASSERT_EQ(people.size(), 2u) << contacts.out;
    for (const char* expected :
         {"\"Email\": \"k.obermaier@example.com\"", "\"MobilePhone\": \"+49 170 1234567\"",
          "\"HomeAddress.Street\": \"Hauptstra\xc3\x9f"
          "e 5\"",
          "\"HomeAddress.City\": \"M\xc3\xbcnchen\"", "\"IM1\": \"kuni@gmail.com\"",
          "\"Note\": \"first line\\r\\nsecond line\"", "\"Birthday\": {\"iso\": \"1604-06-23T00:00:00\""}) {
        EXPECT_NE(contacts.out.find(expected), std::string::npos) << expected << "\n" << contacts.out;
    }
    EXPECT_NE(contacts.out.find("\"Company\": \"Acme Inc.\""), std::string::npos) << contacts.out;

    Result calendar = Run({"dump", "--source", "notes", "--type", "calendar"});
    ASSERT_EQ(calendar.status, 0) << calendar.err;
    const std::vector<std::string> events = DumpRecords(calendar.out);
    ASSERT_EQ(events.size(), 3u) << calendar.out;
    for (const std::string& e : events) {
        if (e.find("Christmas Eve") != std::string::npos) {
            EXPECT_NE(e.find("\"AllDay\": true"), std::string::npos) << e;
            EXPECT_NE(e.find("\"Start\": \"2026-12-24T00:00:00\""), std::string::npos) << e;
        } else if (e.find("Choir") != std::string::npos) {
            EXPECT_NE(e.find("\"AllDay\": false"), std::string::npos) << e;
            EXPECT_NE(e.find("\"Start\": \"2026-12-01T19:00:00\""), std::string::npos) << e;
            EXPECT_NE(e.find("\"Recurrence.Kind\": 2"), std::string::npos) << e;
            EXPECT_NE(e.find("\"Recurrence.DayOfWeekMask\": 4"), std::string::npos) << e;
        } else {
            // 08:00 UTC is 09:00 in Berlin, this machine's zone here.
            EXPECT_NE(e.find("\"Start\": \"2026-12-03T09:00:00\""), std::string::npos) << e;
        }
    }
}

// An export folder that cannot serve the account fails the load with the file and the reason,
// and nothing reaches Lotus Notes.
TEST_F(CliEndToEndTest, AGoogleExportThatCannotBeReadFailsNamingTheFile)
{
    m_home.WriteFile("empty/readme.txt", "nothing here");
    m_home.WriteFile("broken/contacts.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Half\r\n");
    m_home.WriteFile("broken/cal.ics", kGoogleCalendar);
    struct Case
    {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {{"migrate", "--source", "google", "--types", "contacts", "--google-folder", m_home.Path("empty")},
         1,
         "holds no exported Google contacts"},
        {{"migrate", "--source", "google", "--types", "calendar", "--google-folder", m_home.Path("empty")},
         1,
         "holds no exported Google calendars"},
        {{"migrate", "--source", "google", "--types", "contacts", "--google-folder", m_home.Path("broken")},
         1,
         "The contacts file " + m_home.Path("broken/contacts.vcf") + ": "},
        {{"dump", "--source", "google", "--type", "contacts", "--google-folder", m_home.Path("gone")},
         2,
         "no Google export folder '" + m_home.Path("gone") + "'"},
        {{"migrate", "--source", "google"}, 2, "no Google export folder: name one with --google-folder DIR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        Result result = Run(c.args);
        EXPECT_EQ(result.status, c.status) << result.out;
        EXPECT_NE((result.err + result.out).find(c.message), std::string::npos) << result.err << result.out;
        EXPECT_EQ(result.out.find("Migrated to Lotus Notes"), std::string::npos) << result.out;
    }
}

// Google's own exports: every field of the record filled where the export has it.
TEST_F(CliEndToEndTest, GoogleSampleExportsAreDumpedWithTheirFields)
{
    const std::string samples = std::string(FW_SHARED_DIR) + "/samples/google";
    if (!std::filesystem::exists(samples + "/vcard/gmail-single2.vcf")) {
        GTEST_SKIP() << "no Google export samples";
    }
    Result contacts = Run({"dump", "--source", "google", "--type", "contacts", "--google-folder", samples});
    ASSERT_EQ(contacts.status, 0) << contacts.err;
    for (const char* expected :
         {"\"NickName\": \"TheNickname\"", "\"Email\": \"workemail@example.com\"",
          "\"Email2\": \"homeemail@example.com\"", "\"HomeFax\": \"5555551117\"", "\"Pager\": \"5555551120\"",
          "\"WorkAddress.Street\": \"113 Main St\"", "\"SpouseName\": \"Name2\"",
          "\"ManagerName\": \"Name11\"", "\"Note\": \"note line 1\\r\\nnote line 2",
          "\"Birthday\": {\"iso\": \"1912-06-23T00:00:00\"", "\"Category\": \"My Contacts, Test\"",
          "\"DisplayName\": \"Doug White\"",
          // The Google record itself, by the labels of its field table.
          "[\"IM(Jabber)\", \"IM9\"]", "[\"Mother\", \"Name4\"]",
          "[\"Web Site(Work)\", \"http://www.example5.com\"]", "[\"Fax(Work)\", \"5555551118\"]"}) {
        EXPECT_NE(contacts.out.find(expected), std::string::npos) << expected;
    }
    Result calendar = Run({"dump", "--source", "google", "--type", "calendar", "--google-folder", samples});
    ASSERT_EQ(calendar.status, 0) << calendar.err;
    for (const char* expected : {"\"Subject\": \"Karaoke\"", "\"Recurrence.Instance\": 5",
                                 "\"Subject\": \"test2\",\n    \"AllDay\": true"}) {
        EXPECT_NE(calendar.out.find(expected), std::string::npos) << expected;
    }
}

} // namespace

namespace {

// An ACT! user brings contacts across with the login kept in the settings: act import of an
// export, the ACT! settings, migrate. A second migration finds every contact the same.
TEST_F(CliEndToEndTest, ACTImportThenMigrateOnceAndThenAllSame)
{
    const std::string pad = m_home.Path("act/Contacts.pad");
    m_home.WriteFile("act/.keep", "");
    const std::string exported =
        m_home.WriteFile("contacts.txt", "First Name\tLast Name\tBusiness Phone\tBusiness Phone "
                                         "Extension\tCompany\n"
                                         "Ada\tByron\t555-1234\t12\tEngines Ltd\n"
                                         "Alan\tTuring\t555-0000\t\t\n");
    m_input = "s3cret\n";
    Result imported = Run({"act", "import", "--pad", pad, "--user", "chris", exported});
    ASSERT_EQ(imported.status, 0) << imported.err << imported.out;
    EXPECT_NE(imported.out.find("Imported 2 contacts"), std::string::npos) << imported.out;
    m_input.clear();
    for (const std::vector<std::string>& set : {std::vector<std::string>{"ACTSaveUser", "1"},
                                                {"ACTSavePassword", "1"},
                                                {"ACTPadName", pad},
                                                {"ACTUserName", "chris"},
                                                {"ACTPassword", "s3cret"}}) {
        ASSERT_EQ(Run({"settings", "set", set[0], set[1]}).status, 0) << set[0];
    }
    const std::vector<std::string> migrate = {"migrate", "--source", "act", "--types", "contacts"};
    Result first = Run(migrate);
    ASSERT_EQ(first.status, 0) << first.err << first.out;
    EXPECT_NE(first.out.find("contacts: 2 new, 0 diff, 0 same"), std::string::npos) << first.out;
    Result second = Run(migrate);
    ASSERT_EQ(second.status, 0) << second.err << second.out;
    EXPECT_NE(second.out.find("contacts: 0 new, 0 diff, 2 same"), std::string::npos) << second.out;
    Result dump = Run({"dump", "--source", "notes", "--type", "contacts"});
    ASSERT_EQ(dump.status, 0) << dump.err;
    EXPECT_NE(dump.out.find("555-1234x12"), std::string::npos) << dump.out;
}

// The commands of the README, as a new user types them: act import into a folder that does not
// exist yet, the .pad file as a setting, migrate with the login for this run, and a second
// migrate that finds every contact the same. The login never reaches the settings file, and a
// .pad file named relative to the working folder is found by the helpers as well.
TEST_F(CliEndToEndTest, ACTContactsComeAcrossAsTheReadmeSays)
{
    const std::string pad = m_home.Path("ACT/Contacts.pad");
    const std::string exported =
        m_home.WriteFile("contacts.txt", "First Name,Last Name,Company,Business Phone\n"
                                         "Ada,Byron,Engines Ltd,555-1234\n"
                                         "Alan,Turing,,555-0000\n"
                                         "Grace,Hopper,Navy,\n");
    m_input = "s3cret\n";
    Result imported = Run({"act", "import", "--pad", pad, "--user", "chris", exported});
    ASSERT_EQ(imported.status, 0) << imported.err << imported.out;
    EXPECT_NE(imported.out.find("Imported 3 contacts"), std::string::npos) << imported.out;
    m_input.clear();
    ASSERT_EQ(Run({"settings", "set", "ACTPadName", pad}).status, 0);

    const std::vector<std::string> migrate = {"migrate",  "--source",   "act",   "--types",
                                              "contacts", "--act-user", "chris", "--act-password-stdin"};
    struct Pass
    {
        const char* compared;
        const char* migrated;
    };
    for (const Pass& pass :
         {Pass{"contacts: 3 new, 0 diff, 0 same", "Migrated to Lotus Notes:\n  contacts: 3\n"},
          Pass{"contacts: 0 new, 0 diff, 3 same", "Migrated to Lotus Notes:\n  contacts: 0\n"}}) {
        SCOPED_TRACE(pass.compared);
        m_input = "s3cret\n";
        Result r = Run(migrate);
        ASSERT_EQ(r.status, 0) << r.err << r.out;
        EXPECT_NE(r.out.find(pass.compared), std::string::npos) << r.out;
        EXPECT_NE(r.out.find(pass.migrated), std::string::npos) << r.out;
    }
    const std::string settings = m_home.ReadFile(kSettingsFile);
    EXPECT_NE(settings.find("ACTPadName=" + pad), std::string::npos) << settings;
    EXPECT_EQ(settings.find("chris"), std::string::npos) << settings;
    EXPECT_EQ(settings.find("ACTPassword=\r\n"), settings.find("ACTPassword=")) << settings;

    Result notes = Run({"dump", "--source", "notes", "--type", "contacts", "--format", "csv"});
    ASSERT_EQ(notes.status, 0) << notes.err;
    EXPECT_EQ(std::count(notes.out.begin(), notes.out.end(), '\n'), 1 + 3) << notes.out; // no duplicates

    // Without the password the login fails; with a relative .pad file the helpers find it.
    Result refused = Run({"dump", "--source", "act", "--type", "contacts", "--act-user", "chris"});
    EXPECT_EQ(refused.status, 1) << refused.out;
    EXPECT_NE(refused.err.find("wrong user name or password"), std::string::npos) << refused.err;
    m_input = "s3cret\n";
    const std::string relative = std::filesystem::relative(pad, std::filesystem::current_path()).string();
    ASSERT_EQ(relative.rfind('/', 0), std::string::npos) << relative;
    Result dumped = Run({"dump", "--source", "act", "--type", "contacts", "--act-pad", relative, "--act-user",
                         "CHRIS", "--act-password-stdin"});
    ASSERT_EQ(dumped.status, 0) << dumped.err;
    EXPECT_NE(dumped.out.find("\"LastName\": \"Hopper\""), std::string::npos) << dumped.out;
}

// Bad input: each gets a clear message and changes nothing.
TEST_F(CliEndToEndTest, ACTImportRefusalsChangeNothing)
{
    const std::string pad = m_home.Path("act/Contacts.pad");
    m_home.WriteFile("act/.keep", "");
    const std::string good = m_home.WriteFile("good.csv", "First Name,Last Name\nAda,Byron\n");
    m_input = "s3cret\n";
    ASSERT_EQ(Run({"act", "import", "--pad", pad, "--user", "chris", good}).status, 0);
    const std::string database = m_home.ReadFile("act/Contacts.fwact");
    ASSERT_FALSE(database.empty());

    struct Case
    {
        const char* name;
        std::string file;
        std::string pad;
        const char* password;
        const char* message;
        int status;
    };
    const std::string noDatabasePad = m_home.WriteFile("act/Other.pad", "[Database]\r\n");
    const Case cases[] = {
        {"BrokenQuote", m_home.WriteFile("broken.csv", "First Name\n\"Grace\nHopper\n"), pad, "s3cret\n",
         "line 2: a quoted cell does not close; nothing was imported.", 1},
        {"WrongPassword", good, pad, "guess\n", "failed: wrong user name or password. Nothing was imported.",
         1},
        {"PadNamesNoDatabase", good, noDatabasePad, "s3cret\n", "names no database. Nothing was imported.",
         1},
        {"NoKnownColumn", m_home.WriteFile("unknown.csv", "Shoe Size\n5\n"), pad, "s3cret\n",
         "no column names an ACT! contact field; nothing was imported.", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_input = c.password;
        Result r = Run({"act", "import", "--pad", c.pad, "--user", "chris", c.file});
        EXPECT_EQ(r.status, c.status) << r.out << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(m_home.ReadFile("act/Contacts.fwact"), database);
    }

    // An unknown column is reported and skipped; the rest is imported.
    m_input = "s3cret\n";
    Result skipped = Run({"act", "import", "--pad", pad, "--user", "chris",
                          m_home.WriteFile("extra.csv", "First Name,Shoe Size\nGrace,5\n")});
    EXPECT_EQ(skipped.status, 0) << skipped.err;
    EXPECT_NE(skipped.err.find("Column \"Shoe Size\" is not an ACT! contact field; skipped."),
              std::string::npos)
        << skipped.err;
    EXPECT_NE(skipped.out.find("Imported 1 contact into"), std::string::npos) << skipped.out;

    // A migration with a wrong password stops with the helper's word and migrates nothing.
    m_input.clear();
    for (const std::vector<std::string>& set : {std::vector<std::string>{"ACTSaveUser", "1"},
                                                {"ACTSavePassword", "1"},
                                                {"ACTPadName", pad},
                                                {"ACTUserName", "chris"},
                                                {"ACTPassword", "guess"}}) {
        ASSERT_EQ(Run({"settings", "set", set[0], set[1]}).status, 0) << set[0];
    }
    Result migrate = Run({"migrate", "--source", "act", "--types", "contacts"});
    EXPECT_EQ(migrate.status, 1) << migrate.out;
    EXPECT_NE((migrate.out + migrate.err).find("wrong user name or password"), std::string::npos)
        << migrate.out << migrate.err;
}

// The stand-in CRM services end to end: an account made with "crm add-user", the user's contacts
// migrated from Lotus Notes into the service and loaded back, and a wrong password refused with
// the service's message. Only salesforce contacts carry their values.
TEST_F(CliEndToEndTest, CrmServicesTakeContactsFromLotusNotesAndRefuseAWrongPassword)
{
    struct Case
    {
        const char* source;
        const char* name;
        std::vector<std::string> addUser;
        const char* secrets; // standard input of add-user
        std::vector<std::pair<std::string, std::string>> settings;
        const char* passwordKey;
        const char* refusal;
        bool carriesValues;
    };
    const Case cases[] = {
        {"salesforce",
         "salesforce",
         {"--user", "ada"},
         "s3cret\ntoken-1\n",
         {{"SFUserName", "ada"}, {"SFSavePassword", "1"}, {"SFPassword", "s3cret"}, {"SFToken", "token-1"}},
         "SFPassword",
         "salesforce refused the login of \"ada\": the user name, password or security token is incorrect.",
         true},
        {"sugarcrm",
         "SugarCRM",
         {"--user", "ada", "--host", "crm.example.org"},
         "s3cret\n",
         {{"SGHostName", "crm.example.org"},
          {"SGUserName", "ada"},
          {"SGSavePassword", "1"},
          {"SGPassword", "s3cret"}},
         "SGPassword",
         "SugarCRM refused the login of \"ada\": the user name or password is incorrect.",
         false},
        {"dynamics",
         "Dynamics CRM",
         {"--user", "ada@example.org", "--host", "dyn.example.org", "--organisation", "Ships"},
         "s3cret\n",
         {{"DNHostName", "dyn.example.org"},
          {"DNOrg", "Ships"},
          {"DNLiveID", "ada@example.org"},
          {"DNSavePassword", "1"},
          {"DNPassword", "s3cret"}},
         "DNPassword",
         "Dynamics CRM refused the login of \"ada@example.org\": the user name or password is incorrect.",
         false},
    };
    // Two contacts in the local Lotus Notes.
    ASSERT_EQ(Run({"dump", "--source", "notes", "--type", "contacts"}).status, 0);
    {
        NotesStore names;
        std::string error;
        ASSERT_TRUE(names.Open(m_home.Path(".local/share/corvane/notes/names.nsf"), error)) << error;
        ASSERT_TRUE(names.BeginWrite(NotesItemKind::Contacts, error)) << error;
        for (const char* first : {"Ada", "Grace"}) {
            auto rec = std::make_unique<LNAddrRec>();
            std::snprintf(rec->FirstName, sizeof rec->FirstName, "%s", first);
            std::snprintf(rec->LastName, sizeof rec->LastName, "%s", "Navigator");
            ASSERT_TRUE(names.Insert(rec.get(), nullptr, error)) << error;
        }
        ASSERT_TRUE(names.CommitWrite(error)) << error;
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        // Before the account exists, the service says how to make one.
        for (const auto& [key, value] : c.settings) {
            ASSERT_EQ(Run({"settings", "set", key, value}).status, 0);
        }
        Result none = Run({"dump", "--source", c.source, "--type", "contacts"});
        EXPECT_EQ(none.status, 1);
        EXPECT_NE(none.err.find("add one with 'ferrywise-cli crm add-user'"), std::string::npos) << none.err;

        std::vector<std::string> add = {"crm", "add-user", "--source", c.source};
        add.insert(add.end(), c.addUser.begin(), c.addUser.end());
        m_input = c.secrets;
        Result added = Run(add);
        m_input.clear();
        ASSERT_EQ(added.status, 0) << added.err;
        EXPECT_EQ(added.out.rfind(std::string("Added ") + c.name + " user ", 0), 0u) << added.out;

        Result empty = Run({"dump", "--source", c.source, "--type", "contacts"});
        ASSERT_EQ(empty.status, 0) << empty.err;
        EXPECT_EQ(empty.out, "[]\n");

        Result migrated = Run({"migrate", "--source", "notes", "--target", c.source, "--types", "contacts"});
        ASSERT_EQ(migrated.status, 0) << migrated.out << migrated.err;
        EXPECT_NE(migrated.out.find(std::string("Compared Lotus Notes with ") + c.name +
                                    ":\n  contacts: 2 new, 0 diff"),
                  std::string::npos)
            << migrated.out;
        EXPECT_NE(migrated.out.find(std::string("Migrated to ") + c.name + ":\n  contacts: 2\n"),
                  std::string::npos)
            << migrated.out;
        const std::string log = m_home.ReadFile(kMigrationLog);
        EXPECT_EQ(log.rfind(std::string("Migrating information to ") + c.name + " ...\r\n", 0), 0u) << log;

        Result loaded = Run({"dump", "--source", c.source, "--type", "contacts", "--format", "csv"});
        ASSERT_EQ(loaded.status, 0) << loaded.err;
        std::size_t lines = 0;
        for (char ch : loaded.out) {
            lines += ch == '\n' ? 1 : 0;
        }
        EXPECT_EQ(lines, 3u) << "a header and two contacts:\n" << loaded.out;
        EXPECT_EQ(loaded.out.find("Grace") != std::string::npos, c.carriesValues) << loaded.out;

        // A second migration finds the salesforce contacts the same, as they carry their values;
        // the other services' records carry none, so the contacts are new to them again.
        Result again = Run({"migrate", "--source", "notes", "--target", c.source, "--types", "contacts"});
        ASSERT_EQ(again.status, 0) << again.err;
        EXPECT_NE(again.out.find(c.carriesValues ? "contacts: 0 new, 0 diff, 2 same" : "contacts: 2 new"),
                  std::string::npos)
            << again.out;

        ASSERT_EQ(Run({"settings", "set", c.passwordKey, "wrong"}).status, 0);
        Result refused = Run({"dump", "--source", c.source, "--type", "tasks"});
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.err.find(c.refusal), std::string::npos) << refused.err;
        Result refusedMigration =
            Run({"migrate", "--source", "notes", "--target", c.source, "--types", "contacts"});
        EXPECT_EQ(refusedMigration.status, 1);
        EXPECT_NE(refusedMigration.err.find(c.refusal), std::string::npos) << refusedMigration.err;
    }
    // The service keeps no secret as it was typed.
    for (const char* file :
         {"salesforce.db", "sugarcrm-crm.example.org.db", "dynamics-dyn.example.org-Ships.db"}) {
        const std::string db = m_home.ReadFile(std::string(".local/share/corvane/crm/") + file);
        EXPECT_FALSE(db.empty()) << file;
        EXPECT_EQ(db.find("s3cret"), std::string::npos) << file;
        EXPECT_EQ(db.find("token-1"), std::string::npos) << file;
    }
}

} // namespace
