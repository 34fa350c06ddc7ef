// The Palm Desktop installation on this platform: its folder from the in-process override,
// "corvane.ini" beside the program or the emulated registry; the version of palm.exe; the
// users found in the folder and their data paths.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/PinnedLocale.h"
#include "common/TempHome.h"
#include "palm/PalmEnv.h"
#include "platform/KnownFolders.h"

namespace {

const fwtest::PinnedLocale kPinned; // texts below are in code page 1252

constexpr const char* kUserKey = "HKEY_CURRENT_USER\\Software\\U.S. Robotics\\Pilot Desktop\\Core";
constexpr const char* kMachineKey = "HKEY_LOCAL_MACHINE\\Software\\PalmSource\\Desktop\\Core";

// A temporary home whose "program folder" is a folder of its own, so that corvane.ini can be
// placed beside the program without touching the build tree.
class PalmEnvTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::MakeFolder(m_home.Path("bin"));
        platform::SetProgramFolderOverride(m_home.Path("bin"));
        PmSetDesktopFolderOverride("");
    }
    void TearDown() override
    {
        PmSetDesktopFolderOverride("");
        platform::SetProgramFolderOverride("");
    }

    void WriteIni(const std::string& pdPath) const
    {
        m_home.WriteFile("bin/corvane.ini", "[Path]\nPDPath=" + pdPath + "\n");
    }
    void WriteRegistry(const std::string& text) const { m_home.WriteFile("registry.ini", text); }
    static std::string Section(const char* key, const std::string& lines)
    {
        return std::string("[") + key + "]\n" + lines;
    }
    void MakeFolders(const std::vector<std::string>& relative) const
    {
        for (const auto& path : relative) {
            std::string sofar = m_home.Root();
            std::size_t start = 0;
            while (start <= path.size()) {
                const auto slash = path.find('/', start);
                sofar += "/" + path.substr(start, slash - start);
                platform::MakeFolder(sofar);
                if (slash == std::string::npos) {
                    break;
                }
                start = slash + 1;
            }
        }
    }

    fwtest::TempHome m_home;
};

TEST_F(PalmEnvTest, FolderSources)
{
    struct Case
    {
        const char* name;
        const char* overrideFolder;
        const char* pdPath; // null: no corvane.ini
        std::string registry;
        const char* expected; // null: none (-101)
    } const cases[] = {
        {"nothing", "", nullptr, "", nullptr},
        {"override wins over all", "/mnt/override", "/mnt/ini", Section(kUserKey, "DesktopPath=/mnt/user\n"),
         "/mnt/override"},
        {"PDPath wins over the registry", "", "/mnt/ini", Section(kUserKey, "DesktopPath=/mnt/user\n"),
         "/mnt/ini"},
        {"empty PDPath falls through", "", "", Section(kUserKey, "DesktopPath=/mnt/user\n"), "/mnt/user"},
        {"current user's DesktopPath", "", nullptr,
         Section(kUserKey, "DesktopPath=/mnt/user\nHotSyncPath=/mnt/hs/HotSync.exe\n") +
             Section(kMachineKey, "DesktopPath=/mnt/machine\n"),
         "/mnt/user"},
        {"HotSyncPath gives its folder", "", nullptr,
         Section(kUserKey, "HotSyncPath=/mnt/Palm/HotSync.exe\n"), "/mnt/Palm/"},
        {"HotSyncPath in Windows form", "", nullptr, Section(kUserKey, "HotSyncPath=D:\\Palm\\HotSync.exe\n"),
         "D:\\Palm\\"},
        {"empty DesktopPath", "", nullptr,
         Section(kUserKey, "DesktopPath=\nHotSyncPath=/mnt/hs/HotSync.exe\n"), "/mnt/hs/"},
        {"HotSyncPath without folder", "", nullptr, Section(kUserKey, "HotSyncPath=HotSync.exe\n"), nullptr},
        {"local machine's key", "", nullptr, Section(kMachineKey, "DesktopPath=/mnt/machine\n"),
         "/mnt/machine"},
        {"key without either value", "", nullptr, Section(kUserKey, "Other=1\n"), nullptr},
    };
    for (const auto& c : cases) {
        m_home.WriteFile("bin/corvane.ini", c.pdPath != nullptr
                                                ? "[Path]\nPDPath=" + std::string(c.pdPath) + "\n"
                                                : "[Other]\n");
        WriteRegistry(c.registry);
        PmSetDesktopFolderOverride(c.overrideFolder);
        char buffer[260];
        const int result = PmGetDesktopFolder(buffer, sizeof buffer);
        if (c.expected == nullptr) {
            EXPECT_EQ(result, -101) << c.name;
            EXPECT_EQ(PmGetDesktopFolder(), "") << c.name;
        } else {
            EXPECT_EQ(result, 0) << c.name;
            EXPECT_STREQ(buffer, c.expected) << c.name;
            EXPECT_EQ(PmGetDesktopFolder(), c.expected) << c.name;
        }
    }
}

TEST_F(PalmEnvTest, FolderBufferChecks)
{
    WriteIni("/mnt/palm"); // nine characters
    char buffer[16];
    EXPECT_EQ(PmGetDesktopFolder(nullptr, 16), -100);
    EXPECT_EQ(PmGetDesktopFolder(buffer, 0), -100);
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(PmGetDesktopFolder(buffer, 9), -102);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(PmGetDesktopFolder(buffer, 10), 0);
    EXPECT_STREQ(buffer, "/mnt/palm");
}

TEST_F(PalmEnvTest, VersionOfPalmExe)
{
    struct Case
    {
        const char* name;
        const char* folder; // PDPath
        const char* recordedFor;
        const char* version;
        int expected;
    } const cases[] = {
        {"4.1.4 build 10", "/mnt/Palm", "/mnt/Palm/palm.exe", "4.1.4.10", 40104},
        {"6.0.1", "/mnt/Palm", "/mnt/Palm/palm.exe", "6.0.1.0", 60001},
        {"folder with separator", "/mnt/Palm/", "/mnt/Palm/palm.exe", "4.1.2.0", 40102},
        {"program name in another case", "/mnt/Palm", "/mnt/Palm/Palm.exe", "4.1.0.0", 40100},
        {"no version recorded", "/mnt/Palm", "/mnt/Other/palm.exe", "4.1.4.10", -1},
        {"no folder", "", "/mnt/Palm/palm.exe", "4.1.4.10", -1},
    };
    for (const auto& c : cases) {
        WriteIni(c.folder);
        WriteRegistry(std::string("[FileVersions]\n") + c.recordedFor + "=" + c.version + "\n");
        int parts[4] = {-7, -7, -7, -7};
        EXPECT_EQ(PmGetDesktopVersion(parts), c.expected) << c.name;
        EXPECT_EQ(PmGetDesktopVersion(), c.expected) << c.name;
        if (c.expected < 0) {
            EXPECT_EQ(parts[0], -7) << c.name; // untouched
        }
    }
    WriteIni("/mnt/Palm");
    WriteRegistry("[FileVersions]\n/mnt/Palm/palm.exe=4.1.4.10\n");
    int parts[4] = {};
    ASSERT_EQ(PmGetDesktopVersion(parts), 40104);
    EXPECT_EQ(parts[0], 4);
    EXPECT_EQ(parts[1], 1);
    EXPECT_EQ(parts[2], 4);
    EXPECT_EQ(parts[3], 10);
}

TEST_F(PalmEnvTest, VersionThroughHotSyncPath)
{
    WriteRegistry(Section(kUserKey, "HotSyncPath=/mnt/Palm/HotSync.exe\n") +
                  "[FileVersions]\n/mnt/Palm/palm.exe=4.1.4.10\n");
    EXPECT_EQ(PmGetDesktopVersion(), 40104);
}

// Reference FNV-1a, computed apart from the code under test.
std::int32_t ExpectedId(const std::string& name)
{
    std::uint32_t h = 0x811C9DC5u;
    for (unsigned char c : name) {
        h = (h ^ c) * 0x01000193u;
    }
    return static_cast<std::int32_t>(h & 0x7FFFFFFF) != 0 ? static_cast<std::int32_t>(h & 0x7FFFFFFF) : 1;
}

TEST_F(PalmEnvTest, UsersAreTheFoldersThatHoldPalmData)
{
    MakeFolders({"Palm/User1/address", "Palm/Bob/MemoPad", "Palm/anna/TODO", "Palm/carl/DateBook",
                 "Palm/Empty", "Palm/Help/Other", "Palm/Mixed/notes"});
    m_home.WriteFile("Palm/NotAFolder/address", "a file, not a folder");
    m_home.WriteFile("Palm/readme.txt", "text");
    WriteIni(m_home.Path("Palm"));

    ASSERT_EQ(PmBuildUserList(), 4);
    const auto& users = PmGetUsers();
    ASSERT_EQ(users.size(), 4u);
    const char* const expected[] = {"Bob", "User1", "anna", "carl"}; // byte order
    for (std::size_t i = 0; i < users.size(); ++i) {
        EXPECT_EQ(users[i].folderName, expected[i]);
        EXPECT_EQ(users[i].name, expected[i]);
        EXPECT_EQ(users[i].userId, ExpectedId(expected[i]));
        EXPECT_GT(users[i].userId, 0);
    }

    // Built once: a new folder is seen only after the list is forgotten.
    MakeFolders({"Palm/Dora/address"});
    EXPECT_EQ(PmBuildUserList(), 4);
    PmResetUserList();
    EXPECT_EQ(PmBuildUserList(), 5);
}

TEST_F(PalmEnvTest, NoUsersOrNoFolderGivesMinusOne)
{
    EXPECT_EQ(PmBuildUserList(), -1); // no folder at all
    MakeFolders({"Palm/Empty"});
    WriteIni(m_home.Path("Palm"));
    EXPECT_EQ(PmBuildUserList(), -1);
    EXPECT_TRUE(PmGetUsers().empty());
    EXPECT_EQ(PmBuildUserList(), -1); // answered from the list built
    // A missing folder: no users either.
    PmSetDesktopFolderOverride(m_home.Path("gone"));
    EXPECT_EQ(PmBuildUserList(), -1);
}

TEST_F(PalmEnvTest, NamesOutsideAsciiAreShownInTheAnsiCodePage)
{
    MakeFolders({"Palm/M\xC3\xBCller/address"});
    PmSetDesktopFolderOverride(m_home.Path("Palm"));
    ASSERT_EQ(PmBuildUserList(), 1);
    EXPECT_EQ(PmGetUsers()[0].name, "M\xFCller");
    EXPECT_EQ(PmGetUsers()[0].folderName, "M\xC3\xBCller");
    std::string path;
    ASSERT_TRUE(PmGetUserDataPath(PmGetUsers()[0].userId, path));
    EXPECT_EQ(path, m_home.Path("Palm/M\xC3\xBCller/"));
}

TEST_F(PalmEnvTest, ChangingTheOverrideForgetsTheUsers)
{
    MakeFolders({"A/u1/address", "B/u2/address", "B/u3/todo"});
    PmSetDesktopFolderOverride(m_home.Path("A"));
    EXPECT_EQ(PmBuildUserList(), 1);
    PmSetDesktopFolderOverride(m_home.Path("B"));
    EXPECT_EQ(PmBuildUserList(), 2);
}

TEST_F(PalmEnvTest, UserDataPaths)
{
    MakeFolders({"Palm/User1/address", "Palm/User2/todo"});
    struct Case
    {
        const char* folder;
        const char* expected;
    } const cases[] = {
        {"Palm", "Palm/User1/"},
        {"Palm/", "Palm/User1/"},
    };
    for (const auto& c : cases) {
        PmSetDesktopFolderOverride(m_home.Path(c.folder));
        std::string path;
        // Without a list built first: the lookup builds it.
        ASSERT_TRUE(PmGetUserDataPath(ExpectedId("User1"), path)) << c.folder;
        EXPECT_EQ(path, m_home.Path(c.expected));
        EXPECT_FALSE(PmGetUserDataPath(ExpectedId("User3"), path));
        EXPECT_FALSE(PmGetUserDataPath(0, path));
    }
    PmSetDesktopFolderOverride("");
    std::string path = "kept";
    EXPECT_FALSE(PmGetUserDataPath(ExpectedId("User1"), path));
}

TEST_F(PalmEnvTest, TheUserToLoadIsTheConfiguredOneOrTheFirst)
{
    MakeFolders({"Palm/User1/address", "Palm/User2/todo"});
    struct Case
    {
        const char* folder; // null: no Palm Desktop folder
        std::int32_t wanted;
        std::int32_t expected;
    } const cases[] = {
        {"Palm", ExpectedId("User2"), ExpectedId("User2")}, // the folder has the user
        {"Palm", ExpectedId("User3"), ExpectedId("User1")}, // not there: the first user
        {"Palm", 0, ExpectedId("User1")},
        {nullptr, ExpectedId("User3"), ExpectedId("User3")}, // no users: as configured
    };
    for (const auto& c : cases) {
        PmSetDesktopFolderOverride(c.folder != nullptr ? m_home.Path(c.folder) : m_home.Path("gone"));
        EXPECT_EQ(PmResolveUser(c.wanted), c.expected) << (c.folder != nullptr ? c.folder : "none");
    }
}

TEST_F(PalmEnvTest, DataFilesAreFoundWithoutRegardToCase)
{
    m_home.WriteFile("Palm/u/memopad/memopad.MDB", "");
    m_home.WriteFile("Palm/u/ADDRESS/Address.dat", "");
    m_home.WriteFile("Palm/u/todo/todo.dat", "");
    m_home.WriteFile("Palm/u/todo/ToDo.dat", "");
    const std::string user = m_home.Path("Palm/u/");
    struct Case
    {
        const char* sub;
        const char* file;
        const char* expected;
    } const cases[] = {
        {"MemoPad", "MemoPad.mdb", "memopad/memopad.MDB"},
        {"address", "address.dat", "ADDRESS/Address.dat"},
        {"todo", "ToDo.dat", "todo/ToDo.dat"}, // the exact name wins
        {"todo", "todo.dat", "todo/todo.dat"},
        {"datebook", "datebook.dat", "datebook/datebook.dat"}, // nothing there: as given
        {"address", "address.mdb", "ADDRESS/address.mdb"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PmDataFilePath(user, c.sub, c.file), user + c.expected) << c.sub << "/" << c.file;
    }
    EXPECT_EQ(PmDataFilePath(m_home.Path("Palm/u"), "memopad", "memopad.mdb"), user + "memopad/memopad.MDB");
}

TEST(PalmEnvProgramFolderTest, CorvaneIniIsReadFromTheProgramsFolder)
{
    // The override is what the tests use; the real folder stays the running program's.
    fwtest::TempHome home;
    platform::SetProgramFolderOverride("");
    std::string real;
    ASSERT_TRUE(platform::GetProgramFolder(real));
    platform::SetProgramFolderOverride(home.Path("bin/"));
    std::string overridden;
    ASSERT_TRUE(platform::GetProgramFolder(overridden));
    EXPECT_EQ(overridden, home.Path("bin"));
    platform::SetProgramFolderOverride("");
    std::string again;
    ASSERT_TRUE(platform::GetProgramFolder(again));
    EXPECT_EQ(again, real);
}

} // namespace
