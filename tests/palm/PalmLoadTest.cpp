// Palm Desktop loads that cannot read their database: a file that is there but is no database,
// is empty, damaged or unreadable fails and names the file and the reason; a database that is
// simply not in the user's folder loads nothing and says so. And every line the readers and
// fronts write to the diagnostic log carries the file and line of its call.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "common/TempHome.h"
#include "misc/CxDebugUtil.h"
#include "palm/PalmAddrEx.h"
#include "palm/PalmClassicFiles.h"
#include "palm/PalmEnv.h"
#include "palm/PalmExFileWriter.h"
#include "palm/PalmInfo.h"
#include "palm/PalmTodo.h"
#include "palm/PalmTodoEx.h"
#include "palm/PalmTodoEx2.h"
#include "platform/KnownFolders.h"

namespace fs = std::filesystem;

namespace {

// The sources: the shared folder lies beside them ("<sources>/../shared").
std::string SourceRoot()
{
    const std::string shared = FW_SHARED_DIR;
    const std::string tail = "/../shared";
    return shared.substr(0, shared.size() - tail.size());
}

// The outcome of one front's load.
struct Outcome
{
    bool ok = false;
    int count = -1;
    std::string error;
    std::string notice;
};

template <class Front> Outcome ByUser(std::int32_t user)
{
    Front front;
    Outcome o;
    o.ok = front.LoadByUser(user);
    o.count = front.GetStore()->GetCount();
    o.error = front.GetLoadError();
    o.notice = front.GetLoadNotice();
    return o;
}

template <class Front> Outcome ByFile(const std::string& path)
{
    Front front;
    Outcome o;
    o.ok = front.LoadByFile(path);
    o.count = front.GetStore()->GetCount();
    o.error = front.GetLoadError();
    o.notice = front.GetLoadNotice();
    return o;
}

std::string ExTodoFile()
{
    std::vector<PmTodoExRec> todos(2);
    todos[0].recordId = 1;
    todos[0].description = "Book the ferry";
    todos[1].recordId = 2;
    todos[1].description = "Pack";
    fwtest::PalmExFileWriter w;
    w.File(todos);
    return w.Data();
}

std::string ExAddressFile()
{
    std::vector<PmAddrExRec> contacts(1);
    contacts[0].recordId = 1;
    contacts[0].firstName = "Anna";
    fwtest::PalmExFileWriter w;
    w.File(contacts);
    return w.Data();
}

class PalmLoadTest : public testing::Test
{
protected:
    void SetUp() override
    {
        platform::MakeFolder(m_home.Path("bin"));
        platform::SetProgramFolderOverride(m_home.Path("bin"));
        g_debugLog.SetLogFolder((m_home.Root() + "/").c_str());
        g_debugLog.EnableLog(true);
        g_debugLog.SetLogLevel(3);
        SetVersion(nullptr);
        platform::MakeFolder(m_home.Path("Palm"));
        platform::MakeFolder(m_home.Path("Palm/User1"));
        PmSetDesktopFolderOverride(m_home.Path("Palm"));
    }
    void TearDown() override
    {
        g_debugLog.EnableLog(false);
        PmSetDesktopFolderOverride("");
        PmResetUserList();
        platform::SetProgramFolderOverride("");
    }

    // The version of palm.exe in the Palm folder; null: none recorded (the files decide).
    void SetVersion(const char* version)
    {
        std::string text = "[FileVersions]\n";
        if (version != nullptr) {
            text += m_home.Path("Palm") + "/palm.exe=" + version + "\n";
        }
        m_home.WriteFile("registry.ini", text);
    }

    // The ID of the one user, after the folder has been filled.
    std::int32_t User() const
    {
        PmResetUserList();
        PmBuildUserList();
        return PmGetUsers().empty() ? 0 : PmGetUsers().front().userId;
    }

    std::string UserFile(const std::string& relative) const { return m_home.Path("Palm/User1/" + relative); }
    std::string Write(const std::string& relative, const std::string& data) const
    {
        return m_home.WriteFile("Palm/User1/" + relative, data);
    }

    std::string Log() const
    {
        return fs::exists(m_home.Path("appdebug.log")) ? m_home.ReadFile("appdebug.log") : "";
    }

    fwtest::TempHome m_home;
};

// ---- Files that are there but cannot be read -------------------------------------------------

struct FailureCase
{
    const char* name;
    const char* version;  // of palm.exe; null: none, the user's files decide
    const char* relative; // the database in the user folder
    std::function<void(const std::string& path)> make;
    std::function<Outcome(std::int32_t user)> load;
    std::string reason; // after "<path>: "
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.name;
}

void WriteText(const std::string& path, const std::string& text)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

const FailureCase kFailures[] = {
    {"text file named Address.mdb", nullptr, "address/Address.mdb",
     [](const std::string& p) { WriteText(p, "Name,Phone\r\nAnna,123\r\n"); }, ByUser<PmAddrInfo>,
     "not a Palm Desktop database"},
    {"text file named todo.dat", nullptr, "todo/todo.dat",
     [](const std::string& p) { WriteText(p, "shopping list: milk\n"); }, ByUser<PmTodoInfo>,
     "not a Palm Desktop database"},
    {"empty memopad.dat", nullptr, "memopad/memopad.dat", [](const std::string& p) { WriteText(p, ""); },
     ByUser<PmMemoInfo>, "the file is empty"},
    {"empty DateBook.mdb", nullptr, "datebook/DateBook.mdb", [](const std::string& p) { WriteText(p, ""); },
     ByUser<PmDateInfo>, "the file is empty"},
    {"4.1.x to-do list cut after its header", nullptr, "todo/todo.dat",
     [](const std::string& p) { WriteText(p, ExTodoFile().substr(0, 200)); }, ByUser<PmTodoInfo>,
     "damaged Palm Desktop database (unreadable from byte "},
    {"link that leads to itself", nullptr, "memopad/memopad.dat",
     [](const std::string& p) {
         fs::create_directories(fs::path(p).parent_path());
         fs::create_symlink("memopad.dat", p);
     },
     ByUser<PmMemoInfo>, "Too many levels of symbolic links"},
    {"folder named Todolist.mdb", nullptr, "todo/Todolist.mdb",
     [](const std::string& p) { fs::create_directories(p); }, ByUser<PmTodoInfo>, "Is a directory"},
    {"classic file where the release reads 4.1.x files", "4.1.2.0", "todo/todo.dat",
     [](const std::string& p) { WriteText(p, fwtest::ClassicTodoFile({})); }, ByUser<PmTodoInfo>,
     "not a Palm Desktop 4.1.x database"},
    {"4.1.x file where the release reads classic files", "4.1.0.0", "todo/todo.dat",
     [](const std::string& p) { WriteText(p, ExTodoFile()); }, ByUser<PmTodoInfo>,
     "not a Palm Desktop database of release 4.1 or earlier"},
};

class PalmLoadFailureTest : public PalmLoadTest, public testing::WithParamInterface<FailureCase>
{
};

// Before, each of these loaded nothing and answered true (memos and tasks whatever happened),
// or failed without saying why.
TEST_P(PalmLoadFailureTest, FailsNamingTheFileAndTheReason)
{
    const FailureCase& c = GetParam();
    SetVersion(c.version);
    const std::string path = UserFile(c.relative);
    c.make(path);
    const std::int32_t user = User();
    ASSERT_NE(user, 0);
    const Outcome o = c.load(user);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.count, 0);
    EXPECT_EQ(o.error.rfind(path + ": " + c.reason, 0), 0u) << o.error;
    EXPECT_EQ(o.notice, "");
}

INSTANTIATE_TEST_SUITE_P(Files, PalmLoadFailureTest, testing::ValuesIn(kFailures),
                         [](const testing::TestParamInfo<FailureCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p != '\0'; ++p) {
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             }
                             return name;
                         });

// Permissions do not bind root: there this case cannot be made.
TEST_F(PalmLoadTest, UnreadableFileFailsWithPermissionDenied)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads a file of mode 0000";
    }
    for (const char* relative : {"memopad/memopad.dat", "address/Address.mdb"}) {
        SCOPED_TRACE(relative);
        const std::string path = Write(relative, fwtest::ClassicMemoFile({}));
        ASSERT_EQ(::chmod(path.c_str(), 0), 0);
        const std::int32_t user = User();
        const Outcome o = std::string(relative).find("memo") != std::string::npos ? ByUser<PmMemoInfo>(user)
                                                                                  : ByUser<PmAddrInfo>(user);
        EXPECT_FALSE(o.ok);
        EXPECT_EQ(o.error, path + ": Permission denied");
        fs::remove(path);
    }
}

TEST_F(PalmLoadTest, PickedFilesAndMissingUsersFailWithTheReason)
{
    const std::string missing = m_home.Path("f/todo.dat");
    const std::string bak = m_home.WriteFile("f/todo.bak", ExTodoFile());
    const std::string text = m_home.WriteFile("f/Todolist.mdb", "not a database");
    EXPECT_EQ(ByFile<PmTodoInfo>(missing).error, missing + ": No such file or directory");
    EXPECT_EQ(ByFile<PmTodoInfo>(bak).error, bak + ": not a Palm Desktop database file (.dat or .mdb)");
    EXPECT_EQ(ByFile<PmTodoInfo>(text).error, text + ": not a Palm Desktop database");
    EXPECT_EQ(ByFile<PmMemoInfo>("").error, "no file name given");
    EXPECT_EQ(ByFile<PmAddrInfo>("").error, "no file name given");

    // A user the Palm Desktop folder does not have.
    Write("address/address.dat", fwtest::ClassicAddressFile({}));
    User();
    for (const Outcome& o : {ByUser<PmAddrInfo>(12345), ByUser<PmDateInfo>(12345), ByUser<PmMemoInfo>(12345),
                             ByUser<PmTodoInfo>(12345)}) {
        EXPECT_FALSE(o.ok);
        EXPECT_EQ(o.error, "no Palm Desktop data folder for user 12345");
    }

    // A release the fronts do not know.
    SetVersion("3.0.0.0");
    EXPECT_EQ(ByUser<PmAddrInfo>(User()).error, "unsupported Palm Desktop version 3.0.0");

    // A load that works leaves no error behind.
    SetVersion(nullptr);
    const Outcome good = ByUser<PmAddrInfo>(User());
    EXPECT_TRUE(good.ok);
    EXPECT_EQ(good.error, "");
}

// ---- Databases that are not there ----------------------------------------------------------

// A user who keeps only contacts: the other data types load nothing, and say so; before, the
// calendar failed without a reason and the memos and tasks answered true in silence.
TEST_F(PalmLoadTest, DatabasesNotInTheUserFolderLoadNothingAndSaySo)
{
    Write("address/address.dat", fwtest::ClassicAddressFile({{"Anna", "Berg", "", "1", "", ""}}));
    const std::int32_t user = User();
    const Outcome contacts = ByUser<PmAddrInfo>(user);
    EXPECT_TRUE(contacts.ok);
    EXPECT_EQ(contacts.count, 1);
    EXPECT_EQ(contacts.notice, "");

    struct Case
    {
        Outcome outcome;
        std::string notice;
        const char* source;
    } const cases[] = {
        {ByUser<PmDateInfo>(user),
         "No Palm Desktop Calendar file in the user folder, nothing to load: " +
             UserFile("datebook/DateBook.mdb"),
         "PalmInfo.cpp"},
        {ByUser<PmMemoInfo>(user),
         "No Palm Desktop Memos file in the user folder, nothing to load: " + UserFile("MemoPad/MemoPad.mdb"),
         "PalmInfo.cpp"},
        {ByUser<PmTodoInfo>(user),
         "No Palm Desktop Tasks file in the user folder, nothing to load: " + UserFile("todo/Todolist.mdb"),
         "PalmInfo.cpp"},
    };
    const std::string log = Log();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        EXPECT_TRUE(c.outcome.ok);
        EXPECT_EQ(c.outcome.count, 0);
        EXPECT_EQ(c.outcome.error, "");
        EXPECT_EQ(c.outcome.notice, c.notice);
        // Written whatever the log's level, so that the log explains the empty load.
        const auto at = log.find("[!!!] - " + c.notice + "\r\n");
        ASSERT_NE(at, std::string::npos) << log;
        EXPECT_NE(log.rfind(std::string("[") + c.source, at), std::string::npos);
    }

    // With the release known, the path is that of its generation.
    SetVersion("4.1.2.0");
    EXPECT_EQ(ByUser<PmTodoInfo>(user).notice,
              "No Palm Desktop Tasks file in the user folder, nothing to load: " + UserFile("todo/todo.dat"));
}

// ---- The log's source lines ------------------------------------------------------------------

// The number of the first line of a source file that holds the text; 0 when none does.
int SourceLine(const std::string& relative, const std::string& text)
{
    std::ifstream in(SourceRoot() + "/" + relative);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.find(text) != std::string::npos) {
            return number;
        }
    }
    return 0;
}

// The line number the log gives for the last line with this message written in this source
// name; -1 when there is none.
int LoggedLine(const std::string& log, const std::string& source, const std::string& message)
{
    const std::string needle = "] - " + message + "\r\n";
    int found = -1;
    for (auto at = log.find(needle); at != std::string::npos; at = log.find(needle, at + 1)) {
        const auto start = log.rfind('\n', at) + 1; // npos + 1 is 0
        const std::string head = log.substr(start, at - start);
        // The name is padded to 20 characters; a longer one meets the bracket directly.
        const auto name = head.find("][" + source);
        const auto after = name + 2 + source.size();
        if (name == std::string::npos || after >= head.size() || (head[after] != ' ' && head[after] != '(')) {
            continue;
        }
        const auto open = head.find('(', name);
        found = std::stoi(head.substr(open + 1));
    }
    return found;
}

// Before, every reader line carried the line of the reader's own logging function (for
// example "PalmTodoEx.cpp (38)"), then the line of the call under the reader's name, and the
// fronts' lines another file's name. Now the file and the line are both the call's, also for
// a call in a shared base.
TEST_F(PalmLoadTest, LogLinesCarryTheLineOfTheirCall)
{
    const std::string foreign = Write("todo/todo.dat", "not a Palm file");
    const std::string contacts = m_home.WriteFile("f/address.dat", ExAddressFile());
    const std::string absent = m_home.Path("f/Todolist.mdb");
    PmTodoUtil classic(foreign);
    PmTodoExUtil ex(foreign);
    PmTodoEx2Util ex2(absent);
    PmTodoEx2Util().LoadByUser(12345);
    PmAddrExUtil addr(contacts);
    PmTodoInfo().LoadByFile(foreign + ".bak");
    const std::string log = Log();

    struct Case
    {
        std::string message; // as logged
        const char* file;    // where the call is
        const char* call;    // the text of the call
    } const cases[] = {
        // the classic base
        {"Load Palm Desktop todo list failed: " + foreign, "common/palm/PalmClassicDBUtil.cpp",
         "Say(0, m_messages.loadFailed"},
        // the 4.1.x base
        {"Failed to check magic code.", "common/palm/PalmExDBUtil.cpp",
         "Log(0, \"Failed to check magic code.\");"},
        // the 6.x base, in its header and in its source
        {"Loading Palm Desktop Tasks: " + absent, "common/palm/PalmCommEx2.h",
         "LogWith(2, messages.loading, path);"},
        {"Failed to get user database path by user ID.", "common/palm/PalmCommEx2.cpp",
         "Say(0, \"Failed to get user database path by user ID.\");"},
        // a reader's own call
        {"Load custom label information successfully.", "common/palm/PalmAddrEx.cpp",
         "Log(2, \"Load custom label information successfully.\");"},
        // a front
        {"Failed to load Palm Desktop Tasks file (" + foreign + ".bak)", "common/palm/PalmInfo.cpp",
         "FW_LOG(0, Traits::kTexts.fileFailed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const int line = SourceLine(c.file, c.call);
        ASSERT_GT(line, 0) << "no " << c.call << " in " << c.file;
        // The log names the file that holds the call, by its base name.
        const std::string source = fs::path(c.file).filename().string();
        EXPECT_EQ(LoggedLine(log, source, c.message), line) << "no line in the name of " << source << "\n"
                                                            << log;
    }
}

} // namespace
