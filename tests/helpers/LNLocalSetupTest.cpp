// A local Lotus Notes for a new user: made and registered once, never over what exists.
#include <filesystem>
#include <gtest/gtest.h>

#include "common/TempHome.h"
#include "notes/LNLocalSetup.h"
#include "notes/NotesStore.h"
#include "platform/KnownFolders.h"
#include "platform/Profile.h"

namespace {

constexpr char kInstaller[] = "HKEY_CURRENT_USER\\SOFTWARE\\Lotus\\Notes\\Installer";
constexpr char kNotes[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Lotus\\Notes";

class LNLocalSetupTest : public ::testing::Test
{
protected:
    std::string Value(const char* section, const char* key)
    {
        std::string value;
        platform::FindPrivateProfileValue(section, key, m_home.RegistryFile().c_str(), value);
        return value;
    }
    std::string DataFolder() const { return m_home.Path(".local/share/corvane/notes/"); }
    std::string NotesIni(const char* key)
    {
        std::string value;
        platform::FindPrivateProfileValue("Notes", key, (DataFolder() + "notes.ini").c_str(), value);
        return value;
    }

    fwtest::TempHome m_home;
};

} // namespace

TEST_F(LNLocalSetupTest, ANewUserGetsEmptyRegisteredDatabases)
{
    LNLocalSetupResult result;
    std::string error;
    ASSERT_TRUE(EnsureLocalLotusNotes(result, error)) << error;
    EXPECT_TRUE(result.Created);
    EXPECT_EQ(result.DataFolder, DataFolder());
    EXPECT_EQ(Value(kInstaller, "DATADIR"), DataFolder());
    std::string program;
    ASSERT_TRUE(platform::GetProgramFolder(program));
    EXPECT_EQ(Value(kNotes, "Path"), program + "/");

    // Its notes.ini names the mail database as Lotus Notes does, relative to the data folder.
    EXPECT_EQ(NotesIni("MailFile"), "mail.nsf");
    EXPECT_EQ(NotesIni("Directory"), DataFolder().substr(0, DataFolder().size() - 1));

    for (const char* name : {"names.nsf", "mail.nsf", "notebook.nsf"}) {
        SCOPED_TRACE(name);
        NotesStore store;
        ASSERT_TRUE(store.Open(DataFolder() + name, error)) << error;
        for (NotesItemKind kind :
             {NotesItemKind::Contacts, NotesItemKind::Calendar, NotesItemKind::Tasks, NotesItemKind::Notes}) {
            int count = -1;
            ASSERT_TRUE(store.BeginRead(kind, &count, error)) << error;
            EXPECT_EQ(count, 0);
            store.EndRead();
        }
    }

    // Once registered, a second start changes nothing.
    LNLocalSetupResult again;
    ASSERT_TRUE(EnsureLocalLotusNotes(again, error)) << error;
    EXPECT_FALSE(again.Created);
    EXPECT_EQ(again.DataFolder, DataFolder());
}

TEST_F(LNLocalSetupTest, ExistingEntriesAndFilesAreKept)
{
    struct Case
    {
        const char* name;
        std::string registry;
        bool expectCreated;
        std::string dataDir; // registered afterwards
        std::string path;    // registered afterwards
    };
    const Case cases[] = {
        {"program folder known", std::string("[") + kNotes + "]\r\nPath=/opt/notes/\r\n", true, DataFolder(),
         "/opt/notes/"},
        {"data folder known", std::string("[") + kInstaller + "]\r\nDATADIR=/srv/notes/data/\r\n", false,
         "/srv/notes/data/", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_home.WriteFile("registry.ini", "[Other]\r\nKey=kept\r\n" + c.registry);
        LNLocalSetupResult result;
        std::string error;
        ASSERT_TRUE(EnsureLocalLotusNotes(result, error)) << error;
        EXPECT_EQ(result.Created, c.expectCreated);
        EXPECT_EQ(Value(kInstaller, "DATADIR"), c.dataDir);
        if (!c.path.empty()) {
            EXPECT_EQ(Value(kNotes, "Path"), c.path);
        }
        EXPECT_EQ(Value("Other", "Key"), "kept");
    }
    EXPECT_FALSE(platform::FolderExists("/srv/notes/data"));
}

TEST_F(LNLocalSetupTest, ADatabaseThatExistsIsNeverReplaced)
{
    m_home.WriteFile(".local/share/corvane/notes/mail.nsf", "someone's mail");
    LNLocalSetupResult result;
    std::string error;
    ASSERT_TRUE(EnsureLocalLotusNotes(result, error)) << error;
    EXPECT_EQ(m_home.ReadFile(".local/share/corvane/notes/mail.nsf"), "someone's mail");
    EXPECT_TRUE(platform::FileExists(DataFolder() + "names.nsf"));
}

// A notes.ini that exists is never replaced; the local installation of an earlier version,
// registered without one, gets it; another Lotus Notes data folder is never given one.
TEST_F(LNLocalSetupTest, ANotesIniIsWrittenOnlyWhereTheLocalInstallationHasNone)
{
    struct Case
    {
        const char* name;
        std::string registry;
        const char* existingIni; // null: none
        const char* mailFile;    // in the local data folder's notes.ini afterwards; null: no file
    };
    const Case cases[] = {
        {"kept", "", "[Notes]\r\nMailFile=mail\\jdoe.nsf\r\n", "mail\\jdoe.nsf"},
        {"local one registered before",
         std::string("[") + kInstaller + "]\r\nDATADIR=" + DataFolder() + "\r\n", nullptr, "mail.nsf"},
        {"another data folder",
         std::string("[") + kInstaller + "]\r\nDATADIR=" + m_home.Path("other/") + "\r\n", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(m_home.Path(".local"));
        m_home.WriteFile(".local/share/corvane/notes/mail.nsf", "");
        m_home.WriteFile("other/mail.nsf", "");
        if (c.existingIni != nullptr) {
            m_home.WriteFile(".local/share/corvane/notes/notes.ini", c.existingIni);
        }
        m_home.WriteFile("registry.ini", c.registry);
        LNLocalSetupResult result;
        std::string error;
        ASSERT_TRUE(EnsureLocalLotusNotes(result, error)) << error;
        EXPECT_EQ(platform::FileExists(DataFolder() + "notes.ini"), c.mailFile != nullptr);
        if (c.mailFile != nullptr) {
            EXPECT_EQ(NotesIni("MailFile"), c.mailFile);
        }
        if (c.existingIni != nullptr) {
            EXPECT_EQ(m_home.ReadFile(".local/share/corvane/notes/notes.ini"), c.existingIni);
        }
        EXPECT_FALSE(platform::FileExists(m_home.Path("other/notes.ini")));
    }
}

// The data folder lies in the XDG data home: $XDG_DATA_HOME when it is an absolute path, else
// ~/.local/share.
TEST_F(LNLocalSetupTest, TheDataFolderLiesInTheXdgDataHome)
{
    const struct
    {
        const char* name;
        std::string dataHome;
        std::string expected;
    } cases[] = {
        {"set", m_home.Path("elsewhere"), m_home.Path("elsewhere/corvane/notes/")},
        {"relative", "relative/data", DataFolder()},
        {"empty", "", DataFolder()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_home.WriteFile("registry.ini", "");
        m_home.SetEnv("XDG_DATA_HOME", c.dataHome);
        LNLocalSetupResult result;
        std::string error;
        ASSERT_TRUE(EnsureLocalLotusNotes(result, error)) << error;
        EXPECT_EQ(result.DataFolder, c.expected);
        EXPECT_TRUE(std::filesystem::exists(c.expected + "names.nsf"));
    }
}
