#include "lotus/LNEnv.h"

#include "common/TempHome.h"

#include <cstddef>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

// Every case in a temporary home of its own, registry file included.
class LNEnvTest : public ::testing::Test
{
protected:
    fwtest::TempHome m_home;
};

// Default locations. "{home}" in a registry text or path stands for the temporary home.
struct LocationCase
{
    const char* name;
    bool (*helper)(std::string&);
    const char* registry;
    const char* existingFile; // made below the home first; nullptr: none
    bool found;
    const char* path;
};

void PrintTo(const LocationCase& c, std::ostream* os)
{
    *os << c.name;
}

constexpr const char kNotesPath[] = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lotus\\Notes]\r\nPath=/opt/notes/\r\n";
constexpr const char kNoRegistry[] = "";

const LocationCase kLocationCases[] = {
    {"Program", GetDefaultNotesProgram, kNotesPath, nullptr, true, "/opt/notes/Notes.exe"},
    {"ProgramWithoutRegistry", GetDefaultNotesProgram, kNoRegistry, nullptr, false, ""},
    {"ProgramOfEmptyPath", GetDefaultNotesProgram,
     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lotus\\Notes]\r\nPath=\r\n", nullptr, false, ""},
    {"IDFile", GetDefaultNotesIDFile, kNotesPath, nullptr, true, "/opt/notes/Data/user.id"},
    {"IDFileWithoutRegistry", GetDefaultNotesIDFile, kNoRegistry, nullptr, false, ""},
    {"AddrBookAppendsSeparator", GetDefaultNotesAddrBook,
     "[HKEY_CURRENT_USER\\SOFTWARE\\Lotus\\Notes\\Installer]\r\nDATADIR=/home/u/notesdata\r\n", nullptr, true,
     "/home/u/notesdata/names.nsf"},
    {"AddrBookKeepsSeparator", GetDefaultNotesAddrBook,
     "[HKEY_CURRENT_USER\\SOFTWARE\\Lotus\\Notes\\Installer]\r\nDATADIR=/home/u/notesdata/\r\n", nullptr,
     true, "/home/u/notesdata/names.nsf"},
    {"AddrBookOfEmptyDataDir", GetDefaultNotesAddrBook,
     "[HKEY_CURRENT_USER\\SOFTWARE\\Lotus\\Notes\\Installer]\r\nDATADIR=\r\n", nullptr, false, ""},
    {"AddrBookInTheWrongHive", GetDefaultNotesAddrBook,
     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lotus\\Notes\\Installer]\r\nDATADIR=/home/u/notesdata\r\n", nullptr,
     false, ""},
    {"NotebookPresent", GetDefaultNotesNotebook,
     "[HKEY_CURRENT_USER\\SOFTWARE\\Lotus\\Notes\\Installer]\r\nDATADIR={home}/data\r\n", "data/notebook.nsf",
     true, "{home}/data/notebook.nsf"},
    {"NotebookAbsent", GetDefaultNotesNotebook,
     "[HKEY_CURRENT_USER\\SOFTWARE\\Lotus\\Notes\\Installer]\r\nDATADIR={home}/data\r\n", "data/names.nsf",
     true, ""},
    {"NotebookWithoutDataDir", GetDefaultNotesNotebook, kNotesPath, "data/notebook.nsf", false, ""},
};

std::string WithHome(std::string text, const std::string& home)
{
    for (std::size_t at; (at = text.find("{home}")) != std::string::npos;) {
        text.replace(at, 6, home);
    }
    return text;
}

class LNEnvLocationTest : public LNEnvTest, public ::testing::WithParamInterface<LocationCase>
{
};

TEST_P(LNEnvLocationTest, Finds)
{
    const LocationCase& c = GetParam();
    m_home.WriteFile("registry.ini", WithHome(c.registry, m_home.Root()));
    if (c.existingFile != nullptr) {
        m_home.WriteFile(c.existingFile, "");
    }
    std::string path = "stale";
    EXPECT_EQ(c.helper(path), c.found);
    EXPECT_EQ(path, WithHome(c.path, m_home.Root()));
}

INSTANTIATE_TEST_SUITE_P(Cases, LNEnvLocationTest, ::testing::ValuesIn(kLocationCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The mail database as Lotus Notes names it: MailFile of the notes.ini in the program
// folder, else in the data folder. "{home}" as above.
struct MailFileCase
{
    const char* name;
    const char* registry;
    std::vector<std::pair<const char*, const char*>> files; // below the home: name, contents
    bool found;
    const char* path;
};

void PrintTo(const MailFileCase& c, std::ostream* os)
{
    *os << c.name;
}

constexpr const char kNotesFolders[] = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lotus\\Notes]\r\nPath={home}/notes\r\n"
                                       "[HKEY_CURRENT_USER\\SOFTWARE\\Lotus\\Notes\\Installer]\r\n"
                                       "DATADIR={home}/data\r\n";

const MailFileCase kMailFileCases[] = {
    {"InTheDataFolder",
     kNotesFolders,
     {{"data/notes.ini", "[Notes]\r\nMailFile=mail\\jdoe.nsf\r\n"}},
     true,
     "{home}/data/mail/jdoe.nsf"},
    {"ProgramFolderFirst",
     kNotesFolders,
     {{"notes/notes.ini", "[Notes]\r\nMailFile=mail.nsf\r\n"},
      {"data/notes.ini", "[Notes]\r\nMailFile=other.nsf\r\n"}},
     true,
     "{home}/data/mail.nsf"},
    {"ProgramFolderWithoutMailFile",
     kNotesFolders,
     {{"notes/notes.ini", "[Notes]\r\nDirectory=C:\\Notes\\Data\r\n"},
      {"data/notes.ini", "[Notes]\r\nMailFile=other.nsf\r\n"}},
     true,
     "{home}/data/other.nsf"},
    {"UpperCaseFileName",
     kNotesFolders,
     {{"data/NOTES.INI", "[Notes]\r\nMailFile=mail.nsf\r\n"}},
     true,
     "{home}/data/mail.nsf"},
    {"AbsoluteMailFile",
     kNotesFolders,
     {{"data/notes.ini", "[Notes]\r\nMailFile=/srv/mail/jdoe.nsf\r\n"}},
     true,
     "/srv/mail/jdoe.nsf"},
    {"OnAServer",
     kNotesFolders,
     {{"data/notes.ini", "[Notes]\r\nMailServer=CN=Hub/O=Acme\r\nMailFile=mail\\jdoe.nsf\r\n"}},
     true,
     "CN=Hub/O=Acme!!mail\\jdoe.nsf"},
    {"EmptyMailServer",
     kNotesFolders,
     {{"data/notes.ini", "[Notes]\r\nMailServer=\r\nMailFile=mail.nsf\r\n"}},
     true,
     "{home}/data/mail.nsf"},
    {"NoDataFolder",
     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lotus\\Notes]\r\nPath={home}/notes/\r\n",
     {{"notes/notes.ini", "[Notes]\r\nMailFile=mail\\jdoe.nsf\r\n"}},
     true,
     "mail/jdoe.nsf"},
    {"EmptyMailFile", kNotesFolders, {{"data/notes.ini", "[Notes]\r\nMailFile=\r\n"}}, false, ""},
    {"OtherSection", kNotesFolders, {{"data/notes.ini", "[Other]\r\nMailFile=mail.nsf\r\n"}}, false, ""},
    {"NoNotesIni", kNotesFolders, {{"data/mail.nsf", ""}}, false, ""},
    {"NoRegistry", kNoRegistry, {{"data/notes.ini", "[Notes]\r\nMailFile=mail.nsf\r\n"}}, false, ""},
};

class LNEnvMailFileTest : public LNEnvTest, public ::testing::WithParamInterface<MailFileCase>
{
};

TEST_P(LNEnvMailFileTest, Finds)
{
    const MailFileCase& c = GetParam();
    m_home.WriteFile("registry.ini", WithHome(c.registry, m_home.Root()));
    for (const auto& [name, contents] : c.files) {
        m_home.WriteFile(name, contents);
    }
    std::string path = "stale";
    EXPECT_EQ(GetDefaultNotesMailFile(path), c.found);
    EXPECT_EQ(path, WithHome(c.path, m_home.Root()));
}

INSTANTIATE_TEST_SUITE_P(Cases, LNEnvMailFileTest, ::testing::ValuesIn(kMailFileCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
