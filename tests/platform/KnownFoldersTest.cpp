#include "platform/KnownFolders.h"

#include <cerrno>
#include <cstdlib>
#include <gtest/gtest.h>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "common/TempHome.h"

namespace {

using platform::FileExists;
using platform::FolderExists;
using platform::MakeFolder;

unsigned ModeOf(const std::string& path)
{
    struct stat st = {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0xFFFFFFFF;
}

// Sets a umask for one scope.
class ScopedUmask
{
public:
    explicit ScopedUmask(mode_t mask) : m_old(::umask(mask)) {}
    ~ScopedUmask() { ::umask(m_old); }

private:
    mode_t m_old;
};

class KnownFoldersTest : public ::testing::Test
{
protected:
    fwtest::TempHome m_home;
};

TEST_F(KnownFoldersTest, RoamingFolderFromEnvironment)
{
    std::string out;
    ASSERT_TRUE(platform::GetRoamingAppDataFolder(out, false));
    EXPECT_EQ(out, m_home.ConfigHome());

    setenv("XDG_CONFIG_HOME", (m_home.ConfigHome() + "//").c_str(), 1);
    ASSERT_TRUE(platform::GetRoamingAppDataFolder(out, false));
    EXPECT_EQ(out, m_home.ConfigHome());

    // Unset, empty or relative: ~/.config.
    for (const char* value : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        if (value == nullptr) {
            unsetenv("XDG_CONFIG_HOME");
        } else {
            setenv("XDG_CONFIG_HOME", value, 1);
        }
        ASSERT_TRUE(platform::GetRoamingAppDataFolder(out, false));
        EXPECT_EQ(out, m_home.Root() + "/.config") << (value ? value : "(unset)");
    }
}

TEST_F(KnownFoldersTest, RoamingFolderCreatedPrivate)
{
    std::string wanted = m_home.Path("a/b/config");
    setenv("XDG_CONFIG_HOME", wanted.c_str(), 1);
    std::string out;
    EXPECT_TRUE(platform::GetRoamingAppDataFolder(out, false));
    EXPECT_FALSE(FolderExists(wanted)) << "made without being asked";

    ScopedUmask mask(0077);
    ASSERT_TRUE(platform::GetRoamingAppDataFolder(out, true));
    EXPECT_EQ(out, wanted);
    EXPECT_EQ(ModeOf(wanted), 0700u);
}

TEST_F(KnownFoldersTest, RoamingFolderFailsWhenItCannotBeMade)
{
    m_home.WriteFile("blocker", "a file, not a folder");
    setenv("XDG_CONFIG_HOME", m_home.Path("blocker/config").c_str(), 1);
    std::string out = "unchanged";
    EXPECT_FALSE(platform::GetRoamingAppDataFolder(out, true));
    EXPECT_EQ(out, "unchanged");
}

TEST_F(KnownFoldersTest, HomeFromPasswordDatabaseWhenUnset)
{
    unsetenv("HOME");
    unsetenv("XDG_CONFIG_HOME");
    struct passwd* entry = ::getpwuid(::getuid());
    ASSERT_NE(entry, nullptr);
    std::string home = entry->pw_dir;
    while (home.size() > 1 && home.back() == '/') {
        home.pop_back();
    }
    std::string out;
    ASSERT_TRUE(platform::GetRoamingAppDataFolder(out, false));
    EXPECT_EQ(out, home + "/.config");
}

struct DocumentsCase
{
    const char* name;
    const char* userDirs; // null: no user-dirs.dirs
    const char* expected; // relative to the home root; "" is the root itself
};

class DocumentsFolderTest : public KnownFoldersTest, public ::testing::WithParamInterface<DocumentsCase>
{
};

TEST_P(DocumentsFolderTest, FromUserDirsOrDefault)
{
    const DocumentsCase& c = GetParam();
    unsetenv("XDG_DOCUMENTS_DIR");
    if (c.userDirs != nullptr) {
        m_home.WriteFile("config/user-dirs.dirs", c.userDirs);
    }
    std::string out;
    ASSERT_TRUE(platform::GetDocumentsFolder(out));
    std::string expected = c.expected[0] == '/' ? c.expected : m_home.Root();
    if (c.expected[0] != '/' && c.expected[0] != '\0') {
        expected += std::string("/") + c.expected;
    }
    EXPECT_EQ(out, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DocumentsFolderTest,
    ::testing::Values(
        DocumentsCase{"NoFile", nullptr, "Documents"},
        DocumentsCase{"HomeRelative",
                      "# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n",
                      "Docs"},
        DocumentsCase{"Absolute", "XDG_DOCUMENTS_DIR=\"/srv/docs/\"\n", "/srv/docs"},
        DocumentsCase{"IndentedCrLf", "  XDG_DOCUMENTS_DIR=\"$HOME/My Files\"\r\n", "My Files"},
        DocumentsCase{"Escaped", "XDG_DOCUMENTS_DIR=\"$HOME/a\\\"b\"\n", "a\"b"},
        DocumentsCase{"HomeItself", "XDG_DOCUMENTS_DIR=\"$HOME/\"\n", ""},
        DocumentsCase{"RelativeIgnored", "XDG_DOCUMENTS_DIR=\"docs\"\n", "Documents"},
        DocumentsCase{"HomePrefixOnlyAsFolder", "XDG_DOCUMENTS_DIR=\"$HOMEX/d\"\n", "Documents"},
        DocumentsCase{"Unquoted", "XDG_DOCUMENTS_DIR=$HOME/Docs\n", "Documents"},
        DocumentsCase{"CommentedOut", "#XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n", "Documents"},
        DocumentsCase{"OtherNamesOnly", "XDG_MUSIC_DIR=\"$HOME/Music\"\n", "Documents"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KnownFoldersTest, DocumentsFromEnvironmentFirst)
{
    m_home.WriteFile("config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n");
    std::string out;
    ASSERT_TRUE(platform::GetDocumentsFolder(out));
    EXPECT_EQ(out, m_home.Documents());
}

TEST_F(KnownFoldersTest, ProgramFolderHoldsThisProgram)
{
    std::string out;
    ASSERT_TRUE(platform::GetProgramFolder(out));
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out.front(), '/');
    EXPECT_NE(out.back(), '/');
    EXPECT_TRUE(FileExists(out + "/" + program_invocation_short_name)) << out;
}

TEST_F(KnownFoldersTest, MakeFolderGivesExactMode)
{
    ScopedUmask mask(0077);
    for (unsigned mode : {0700u, 0750u, 0755u}) {
        std::string path = m_home.Path("made" + std::to_string(mode));
        ASSERT_TRUE(MakeFolder(path, mode));
        EXPECT_EQ(ModeOf(path), mode);
        EXPECT_TRUE(MakeFolder(path, mode)) << "already there";
    }
}

TEST_F(KnownFoldersTest, MakeFolderFailures)
{
    std::string file = m_home.WriteFile("plain", "x");
    EXPECT_FALSE(MakeFolder(file));
    EXPECT_FALSE(MakeFolder(m_home.Path("missing/parent")));
    EXPECT_FALSE(MakeFolder(""));
}

TEST_F(KnownFoldersTest, ExistenceChecks)
{
    std::string file = m_home.WriteFile("plain", "x");
    std::string link = m_home.Path("link");
    ASSERT_EQ(::symlink(file.c_str(), link.c_str()), 0);
    struct Case
    {
        std::string path;
        bool folder;
        bool file;
    } cases[] = {
        {m_home.Root(), true, false},           {file, false, true}, {link, false, true},
        {m_home.Path("missing"), false, false}, {"", false, false},  {"/dev/null", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FolderExists(c.path), c.folder) << c.path;
        EXPECT_EQ(FileExists(c.path), c.file) << c.path;
    }
}

} // namespace
