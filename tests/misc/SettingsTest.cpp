#include "misc/Settings.h"

#include "common/TempHome.h"
#include "platform/KnownFolders.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t kNoField = static_cast<std::size_t>(-1);

enum class Kind
{
    Int,
    Flag,
    Text,
    Password,
};

// One key of the settings file: where its field lies in the record, its default, a value to
// store in a round trip (keep flags stay on there) and how that value looks on file.
struct KeyRow
{
    std::string key;
    Kind kind;
    std::size_t offset; // the plain-text field for a password
    std::size_t size;
    std::size_t codeOffset; // a password's encoded field; kNoField otherwise
    std::size_t codeSize;
    std::string defaultValue;
    std::string setValue;
    std::string setOnFile;
};

// clang-format off
#define INT_KEY(name, def, set) \
    KeyRow{#name, Kind::Int, offsetof(FWSettings, name), sizeof(int), kNoField, 0, def, set, set}
#define FLAG_KEY(name, def, set) \
    KeyRow{#name, Kind::Flag, offsetof(FWSettings, name), sizeof(bool), kNoField, 0, def, set, set}
#define TEXT_KEY(name, set) \
    KeyRow{#name, Kind::Text, offsetof(FWSettings, name), sizeof(FWSettings::name), kNoField, 0, "", set, set}
#define PASSWORD_KEY(name, set, encoded) \
    KeyRow{#name, Kind::Password, offsetof(FWSettings, name##Text), sizeof(FWSettings::name##Text), \
           offsetof(FWSettings, name), sizeof(FWSettings::name), "", set, encoded}
// clang-format on

// Every key in file order, written out here independently of the store's own list.
std::vector<KeyRow> AllKeys()
{
    std::vector<KeyRow> rows = {
        INT_KEY(SourceApp, "0", "5"),
        FLAG_KEY(EnableDebug, "0", "1"),
        INT_KEY(LogLevel, "3", "1"),
        FLAG_KEY(SyncAddr, "1", "0"),
        FLAG_KEY(SyncDate, "1", "0"),
        FLAG_KEY(SyncTask, "1", "0"),
        FLAG_KEY(SyncNote, "1", "0"),
        INT_KEY(NewColor, "32768", "255"),
        INT_KEY(DiffColor, "16711680", "65280"),
        INT_KEY(SameColor, "0", "8421504"),
        TEXT_KEY(LNAppName, "/opt/notes/Notes.exe"),
        FLAG_KEY(LNSavePassword, "0", "1"),
        FLAG_KEY(LNNeedPassword, "0", "1"),
        TEXT_KEY(LNAddrName, "names.nsf"),
        TEXT_KEY(LNDateName, "mail/jsmith.nsf"),
        TEXT_KEY(LNNoteName, "notebook.nsf"),
        PASSWORD_KEY(LNPassword, "notes secret", "bm90ZXMgc2VjcmV0"),
        TEXT_KEY(LNIDFile, "/opt/notes/Data/user.id"),
        TEXT_KEY(ACTPadName, "/home/u/Documents/ACT/Databases/Demo.pad"),
        TEXT_KEY(ACTUserName, "Chris Huffman"),
        FLAG_KEY(ACTSaveUser, "1", "1"),
        FLAG_KEY(ACTSavePassword, "0", "1"),
        PASSWORD_KEY(ACTPassword, "act pass", "YWN0IHBhc3M="),
        TEXT_KEY(ACTAppName, "/opt/act/Act.exe"),
        FLAG_KEY(Opp, "1", "0"),
        FLAG_KEY(OppNotes, "1", "0"),
        INT_KEY(PDUserID, "0", "3"),
        FLAG_KEY(PDUseAddrFile, "0", "1"),
        FLAG_KEY(PDUseDateFile, "0", "1"),
        FLAG_KEY(PDUseTaskFile, "0", "1"),
        FLAG_KEY(PDUseNoteFile, "0", "1"),
        TEXT_KEY(PDAddrFileName, "/palm/address.dat"),
        TEXT_KEY(PDDateFileName, "/palm/datebook.dat"),
        TEXT_KEY(PDTaskFileName, "/palm/todo.dat"),
        TEXT_KEY(PDNoteFileName, "/palm/memopad.dat"),
        TEXT_KEY(PDFolder, "/home/u/Palm"),
        FLAG_KEY(GGSaveEmail, "1", "1"),
        TEXT_KEY(GGEmail, "someone@example.com"),
        FLAG_KEY(GGSavePassword, "0", "1"),
        PASSWORD_KEY(GGPassword, "g00gle!", "ZzAwZ2xlIQ=="),
        TEXT_KEY(GGFolder, "/home/u/Takeout"),
        INT_KEY(OLMode, "1", "2"),
        TEXT_KEY(OLAppName, "/opt/office/OUTLOOK.EXE"),
        TEXT_KEY(OLDataFile, "/home/u/backup/outlook.pst"),
        INT_KEY(OLCodePage, "1252", "932"),
        TEXT_KEY(DNHostName, "crm.example.com"),
        FLAG_KEY(DNSaveOrg, "1", "1"),
        FLAG_KEY(DNSaveID, "1", "1"),
        FLAG_KEY(DNSavePassword, "0", "1"),
        INT_KEY(DNAuthMode, "0", "2"),
        TEXT_KEY(DNOrg, "Example Org"),
        TEXT_KEY(DNLiveID, "dn.login@example.com"),
        PASSWORD_KEY(DNPassword, "dyn:pw", "ZHluOnB3"),
        FLAG_KEY(DNAddrAccount, "1", "0"),
        FLAG_KEY(DNAddrContact, "1", "0"),
        FLAG_KEY(DNAddrLead, "1", "0"),
        FLAG_KEY(SFSaveUser, "1", "1"),
        FLAG_KEY(SFSavePassword, "0", "1"),
        FLAG_KEY(SFSaveToken, "1", "1"),
        TEXT_KEY(SFUserName, "sf.login@example.com"),
        PASSWORD_KEY(SFPassword, "sf pass", "c2YgcGFzcw=="),
        PASSWORD_KEY(SFToken, "SFtoken-123456", "U0Z0b2tlbi0xMjM0NTY="),
        FLAG_KEY(SFAddrAccount, "1", "0"),
        FLAG_KEY(SFAddrContact, "1", "0"),
        FLAG_KEY(SFAddrLead, "1", "0"),
        TEXT_KEY(SGHostName, "sugar.example.com"),
        FLAG_KEY(SGSaveUser, "1", "1"),
        FLAG_KEY(SGSavePassword, "0", "1"),
        TEXT_KEY(SGUserName, "sugar-user"),
        PASSWORD_KEY(SGPassword, "sugar pw", "c3VnYXIgcHc="),
        FLAG_KEY(SGAddrAccount, "1", "0"),
        FLAG_KEY(SGAddrContact, "1", "0"),
        FLAG_KEY(SGAddrLead, "1", "0"),
    };
    const char* prefixes[] = {"ACT", "GG", "LN", "OL", "PD"};
    for (int i = 0; i < 45; ++i) {
        std::string set = std::to_string(100 + i);
        rows.push_back({prefixes[i / 9] + std::string("CustomID") + std::to_string(i % 9 + 1), Kind::Int,
                        offsetof(FWSettings, CustomID) + i * sizeof(int), sizeof(int), kNoField, 0, "0", set,
                        set});
    }
    const std::pair<const char*, std::size_t> labels[] = {{"OL", offsetof(FWSettings, OLCustomLabel)},
                                                          {"GG", offsetof(FWSettings, GGCustomLabel)}};
    for (const auto& [prefix, base] : labels) {
        for (int i = 0; i < 9; ++i) {
            std::string n = std::to_string(i + 1);
            rows.push_back({prefix + std::string("CustomLabel") + n, Kind::Text, base + i * kSettingsNameSize,
                            kSettingsNameSize, kNoField, 0, "Custom " + n,
                            prefix + std::string(" field ") + n, prefix + std::string(" field ") + n});
        }
    }
    rows.insert(rows.end(), {
                                FLAG_KEY(ACTCustom, "0", "1"),
                                FLAG_KEY(GGCustom, "0", "1"),
                                FLAG_KEY(LNCustom, "0", "1"),
                                FLAG_KEY(PDCustom, "0", "1"),
                                FLAG_KEY(OLCustom, "0", "1"),
                            });
    return rows;
}

const char* FieldAt(const FWSettings& s, std::size_t offset)
{
    return reinterpret_cast<const char*>(&s) + offset;
}

char* FieldAt(FWSettings& s, std::size_t offset)
{
    return reinterpret_cast<char*>(&s) + offset;
}

std::string TextAt(const FWSettings& s, std::size_t offset, std::size_t size)
{
    const char* field = FieldAt(s, offset);
    return std::string(field, strnlen(field, size));
}

// The field of a row as it would be written: ints in decimal, flags as 0 or 1, the plain text
// of passwords.
std::string FieldText(const FWSettings& s, const KeyRow& row)
{
    switch (row.kind) {
    case Kind::Int: {
        int value;
        std::memcpy(&value, FieldAt(s, row.offset), sizeof value);
        return std::to_string(value);
    }
    case Kind::Flag: {
        bool value;
        std::memcpy(&value, FieldAt(s, row.offset), sizeof value);
        return value ? "1" : "0";
    }
    default:
        return TextAt(s, row.offset, row.size);
    }
}

void SetField(FWSettings& s, const KeyRow& row, const std::string& text)
{
    switch (row.kind) {
    case Kind::Int: {
        int value = std::stoi(text);
        std::memcpy(FieldAt(s, row.offset), &value, sizeof value);
        break;
    }
    case Kind::Flag: {
        bool value = text == "1";
        std::memcpy(FieldAt(s, row.offset), &value, sizeof value);
        break;
    }
    default: {
        ASSERT_LT(text.size(), row.size);
        std::memcpy(FieldAt(s, row.offset), text.c_str(), text.size() + 1);
        break;
    }
    }
}

std::string FileOf(const std::vector<KeyRow>& rows, std::string KeyRow::*value)
{
    std::string text = "[FWLN]\r\n";
    for (const KeyRow& row : rows) {
        text += row.key + "=" + row.*value + "\r\n";
    }
    return text;
}

unsigned ModeOf(const std::string& path)
{
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) != 0) {
        return 0;
    }
    return st.st_mode & 07777;
}

class SettingsTest : public ::testing::Test
{
protected:
    SettingsTest()
        : m_ini((m_home.Root() + "/").c_str(), kSettingsFileName), m_savedPath(g_SettingsIni().GetPath())
    {
    }
    ~SettingsTest() override
    {
        g_SettingsIni().SetPath(m_savedPath.c_str());
        g_Settings() = FWSettings{};
    }

    void WriteSettingsFile(const std::string& text) const { m_home.WriteFile(kSettingsFileName, text); }
    std::string SettingsFileText() const { return m_home.ReadFile(kSettingsFileName); }

    // Loads a record from a settings file of the given text.
    FWSettings LoadFrom(const std::string& text) const
    {
        WriteSettingsFile(text);
        FWSettings s;
        std::memset(&s, 0x5A, sizeof s); // whatever was there before must not survive
        LoadSettings(s, m_ini);
        return s;
    }

    fwtest::TempHome m_home;
    CxIniUtil m_ini;
    std::string m_savedPath;
};

TEST_F(SettingsTest, EveryKeyHasItsDefaultWhenTheFileIsMissing)
{
    FWSettings s;
    std::memset(&s, 0x5A, sizeof s);
    LoadSettings(s, m_ini);
    for (const KeyRow& row : AllKeys()) {
        EXPECT_EQ(FieldText(s, row), row.defaultValue) << row.key;
        if (row.kind == Kind::Password) {
            EXPECT_EQ(TextAt(s, row.codeOffset, row.codeSize), "") << row.key;
        }
    }
}

TEST_F(SettingsTest, SavingTheDefaultsWritesEveryKeyInOrder)
{
    FWSettings s;
    LoadSettings(s, m_ini);
    EXPECT_TRUE(SaveSettings(s, m_ini));
    EXPECT_EQ(SettingsFileText(), FileOf(AllKeys(), &KeyRow::defaultValue));
}

TEST_F(SettingsTest, EveryKeyRoundTrips)
{
    const std::vector<KeyRow> rows = AllKeys();
    FWSettings s{};
    for (const KeyRow& row : rows) {
        SetField(s, row, row.setValue);
    }
    ASSERT_TRUE(SaveSettings(s, m_ini));
    EXPECT_EQ(SettingsFileText(), FileOf(rows, &KeyRow::setOnFile));

    FWSettings loaded;
    std::memset(&loaded, 0x5A, sizeof loaded);
    LoadSettings(loaded, m_ini);
    for (const KeyRow& row : rows) {
        EXPECT_EQ(FieldText(loaded, row), row.setValue) << row.key;
        if (row.kind == Kind::Password) {
            EXPECT_EQ(TextAt(loaded, row.codeOffset, row.codeSize), row.setOnFile) << row.key;
        }
    }
}

// A key governed by a keep flag: read only when kept (ACTUserName always), saved empty when
// not kept.
struct KeptCase
{
    const char* flag;
    const char* key;
    std::size_t flagOffset;
    std::size_t offset; // plain text
    std::size_t size;
    std::size_t codeOffset; // passwords only
    std::size_t codeSize;
    bool alwaysRead;
    const char* plain;
    const char* onFile;
};

void PrintTo(const KeptCase& c, std::ostream* os)
{
    *os << c.key;
}

// clang-format off
#define KEPT_NAME(flag, name, always, value) \
    KeptCase{#flag, #name, offsetof(FWSettings, flag), offsetof(FWSettings, name), sizeof(FWSettings::name), \
             kNoField, 0, always, value, value}
#define KEPT_PASSWORD(flag, name, value, encoded) \
    KeptCase{#flag, #name, offsetof(FWSettings, flag), offsetof(FWSettings, name##Text), \
             sizeof(FWSettings::name##Text), offsetof(FWSettings, name), sizeof(FWSettings::name), false, \
             value, encoded}
// clang-format on

const KeptCase kKeptCases[] = {
    KEPT_PASSWORD(LNSavePassword, LNPassword, "notes secret", "bm90ZXMgc2VjcmV0"),
    KEPT_PASSWORD(ACTSavePassword, ACTPassword, "act pass", "YWN0IHBhc3M="),
    KEPT_PASSWORD(GGSavePassword, GGPassword, "g00gle!", "ZzAwZ2xlIQ=="),
    KEPT_PASSWORD(DNSavePassword, DNPassword, "dyn:pw", "ZHluOnB3"),
    KEPT_PASSWORD(SFSavePassword, SFPassword, "sf pass", "c2YgcGFzcw=="),
    KEPT_PASSWORD(SFSaveToken, SFToken, "SFtoken-123456", "U0Z0b2tlbi0xMjM0NTY="),
    KEPT_PASSWORD(SGSavePassword, SGPassword, "sugar pw", "c3VnYXIgcHc="),
    KEPT_NAME(ACTSaveUser, ACTUserName, true, "Chris Huffman"),
    KEPT_NAME(GGSaveEmail, GGEmail, false, "someone@example.com"),
    KEPT_NAME(DNSaveOrg, DNOrg, false, "Example Org"),
    KEPT_NAME(DNSaveID, DNLiveID, false, "dn.login@example.com"),
    KEPT_NAME(SFSaveUser, SFUserName, false, "sf.login@example.com"),
    KEPT_NAME(SGSaveUser, SGUserName, false, "sugar-user"),
};

class SettingsKeptTest : public SettingsTest, public ::testing::WithParamInterface<KeptCase>
{
protected:
    static bool FlagOf(const FWSettings& s, const KeptCase& c) { return *FieldAt(s, c.flagOffset) != 0; }
    static void SetFlag(FWSettings& s, const KeptCase& c, bool value)
    {
        std::memcpy(FieldAt(s, c.flagOffset), &value, sizeof value);
    }
};

TEST_P(SettingsKeptTest, LoadsOnlyWhenKept)
{
    const KeptCase& c = GetParam();
    for (bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "kept" : "not kept");
        const FWSettings s = LoadFrom(std::string("[FWLN]\r\n") + c.flag + "=" + (keep ? "1" : "0") + "\r\n" +
                                      c.key + "=" + c.onFile + "\r\n");
        EXPECT_EQ(FlagOf(s, c), keep);
        const bool read = keep || c.alwaysRead;
        EXPECT_EQ(TextAt(s, c.offset, c.size), read ? c.plain : "");
        if (c.codeOffset != kNoField) {
            EXPECT_EQ(TextAt(s, c.codeOffset, c.codeSize), read ? c.onFile : "");
        }
    }
}

TEST_P(SettingsKeptTest, SavedEmptyWhenNotKept)
{
    const KeptCase& c = GetParam();
    for (bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "kept" : "not kept");
        FWSettings s{};
        SetFlag(s, c, keep);
        std::memcpy(FieldAt(s, c.offset), c.plain, std::strlen(c.plain) + 1);
        ASSERT_TRUE(SaveSettings(s, m_ini));
        const std::string line = std::string("\r\n") + c.key + "=" + (keep ? c.onFile : "") + "\r\n";
        EXPECT_NE(SettingsFileText().find(line), std::string::npos) << SettingsFileText();
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, SettingsKeptTest, ::testing::ValuesIn(kKeptCases),
                         [](const auto& info) { return std::string(info.param.key); });

TEST_F(SettingsTest, AStoredPasswordThatIsNotKeptIsDroppedOnTheNextSave)
{
    FWSettings s = LoadFrom("[FWLN]\r\nLNSavePassword=0\r\nLNPassword=bm90ZXMgc2VjcmV0\r\n");
    EXPECT_STREQ(s.LNPasswordText, "");
    ASSERT_TRUE(SaveSettings(s, m_ini));
    EXPECT_NE(SettingsFileText().find("\r\nLNPassword=\r\n"), std::string::npos);
    EXPECT_EQ(SettingsFileText().find("bm90ZXMgc2VjcmV0"), std::string::npos);
}

TEST_F(SettingsTest, SugarUserNameFollowsItsOwnKeepFlagOnly)
{
    struct Case
    {
        bool sgSaveUser;
        bool sfSaveUser;
    };
    for (const Case& c : {Case{true, false}, Case{false, true}, Case{true, true}, Case{false, false}}) {
        SCOPED_TRACE(testing::Message() << "SGSaveUser=" << c.sgSaveUser << " SFSaveUser=" << c.sfSaveUser);
        FWSettings s{};
        s.SGSaveUser = c.sgSaveUser;
        s.SFSaveUser = c.sfSaveUser;
        std::strcpy(s.SGUserName, "sugar-user");
        ASSERT_TRUE(SaveSettings(s, m_ini));
        FWSettings next;
        LoadSettings(next, m_ini);
        EXPECT_STREQ(next.SGUserName, c.sgSaveUser ? "sugar-user" : "");
    }
}

TEST_F(SettingsTest, LogLevelValues)
{
    struct Case
    {
        const char* file;
        int expected;
    };
    const Case cases[] = {
        {"[FWLN]\r\nLogLevel=abc\r\n", 0},
        {"[FWLN]\r\nLogLevel=\r\n", 3},
        {"[FWLN]\r\n", 3},
        {"[FWLN]\r\nLogLevel=2\r\n", 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LoadFrom(c.file).LogLevel, c.expected) << c.file;
    }
}

// The encoded form of a full password field is longer than the field: it must be stored whole.
TEST_F(SettingsTest, LongestPasswordsAndTokenAreStoredWhole)
{
    struct Case
    {
        const char* key;
        char* (*plain)(FWSettings&);
        std::size_t capacity;
    };
    const Case cases[] = {
        {"LNPassword", [](FWSettings& s) { return s.LNPasswordText; }, sizeof(FWSettings::LNPasswordText)},
        {"SGPassword", [](FWSettings& s) { return s.SGPasswordText; }, sizeof(FWSettings::SGPasswordText)},
        {"SFToken", [](FWSettings& s) { return s.SFTokenText; }, sizeof(FWSettings::SFTokenText)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        // Blanks and quotes at the ends would be trimmed from a plain value; encoded they survive.
        std::string password = " \"";
        while (password.size() < c.capacity - 3) {
            password += static_cast<char>('!' + password.size() % 90);
        }
        password += "\" ";
        ASSERT_EQ(password.size(), c.capacity - 1);

        FWSettings s{};
        s.LNSavePassword = s.SGSavePassword = s.SFSaveToken = true;
        std::memcpy(c.plain(s), password.c_str(), password.size() + 1);
        ASSERT_TRUE(SaveSettings(s, m_ini));

        FWSettings loaded;
        LoadSettings(loaded, m_ini);
        EXPECT_EQ(std::string(c.plain(loaded)), password);
    }
}

TEST_F(SettingsTest, OversizedEncodedValueIsCutToItsField)
{
    std::string encoded;
    for (int i = 0; i < 300; ++i) {
        encoded += "QUJD"; // "ABC"
    }
    FWSettings s = LoadFrom("[FWLN]\r\nLNSavePassword=1\r\nLNPassword=" + encoded + "\r\n");
    std::string expected;
    for (int i = 0; i < 85; ++i) {
        expected += "ABC";
    }
    EXPECT_EQ(std::string(s.LNPasswordText), expected);
    EXPECT_EQ(std::string(s.LNPassword), encoded.substr(0, sizeof s.LNPassword - 1));
}

TEST_F(SettingsTest, GarbageInAnEncodedValueLoadsWithoutHarm)
{
    FWSettings s = LoadFrom("[FWLN]\r\nGGSavePassword=1\r\nGGPassword=!!!!\r\nGGEmail=a@b\r\n");
    EXPECT_STREQ(s.GGPasswordText, "");
    EXPECT_STREQ(s.GGEmail, "a@b");
}

TEST_F(SettingsTest, TextsAreCutToTheirFields)
{
    const std::string longName(500, 'n');
    FWSettings s = LoadFrom("[FWLN]\r\nDNHostName=" + longName + "\r\nSGUserName=" + longName + "\r\n");
    EXPECT_EQ(std::string(s.DNHostName), longName.substr(0, sizeof s.DNHostName - 1));
    EXPECT_EQ(std::string(s.SGUserName), longName.substr(0, sizeof s.SGUserName - 1));
}

TEST_F(SettingsTest, AnUnterminatedFieldIsNotReadPastItsEnd)
{
    FWSettings s{};
    std::memset(s.DNHostName, 'h', sizeof s.DNHostName);
    s.DNSaveOrg = true;
    std::strcpy(s.DNOrg, "Org");
    ASSERT_TRUE(SaveSettings(s, m_ini));
    EXPECT_NE(SettingsFileText().find("\r\nDNHostName=" + std::string(sizeof s.DNHostName, 'h') + "\r\n"),
              std::string::npos);
    FWSettings loaded;
    LoadSettings(loaded, m_ini);
    EXPECT_EQ(std::string(loaded.DNHostName), std::string(sizeof s.DNHostName - 1, 'h'));
    EXPECT_STREQ(loaded.DNOrg, "Org");
}

TEST_F(SettingsTest, ProcessWideFileStartsInTheProgramFolder)
{
    std::string programFolder;
    ASSERT_TRUE(platform::GetProgramFolder(programFolder));
    EXPECT_EQ(m_savedPath, programFolder + "/corvane.ini");
}

// Two runs of the wizard: what one leaves in the record, the next finds.
TEST_F(SettingsTest, ChoicesPersistAcrossRuns)
{
    for (int run = 0; run < 2; ++run) {
        std::string folder;
        ASSERT_TRUE(GetWorkingFolder(folder));
        ASSERT_TRUE(g_SettingsIni().SetPath((folder + kSettingsFileName).c_str()));
        LoadSettings();
        if (run == 0) {
            EXPECT_FALSE(g_Settings().PDUseAddrFile);
            g_Settings().PDUseAddrFile = true;
            std::strcpy(g_Settings().DNHostName, "crm.example.com");
            EXPECT_TRUE(SaveSettings());
        } else {
            EXPECT_TRUE(g_Settings().PDUseAddrFile);
            EXPECT_STREQ(g_Settings().DNHostName, "crm.example.com");
        }
    }
}

TEST_F(SettingsTest, WorkingFolderIsMadePrivateWithItsSibling)
{
    std::string folder;
    ASSERT_TRUE(GetWorkingFolder(folder));
    const std::string company = m_home.ConfigHome() + "/corvane";
    EXPECT_EQ(folder, company + "/FWLN/");
    for (const std::string& made : {company, company + "/FWLN", company + "/FWCommon"}) {
        EXPECT_TRUE(platform::FolderExists(made)) << made;
        EXPECT_EQ(ModeOf(made), 0700u) << made;
    }
    // A second call finds them there.
    std::string again;
    EXPECT_TRUE(GetWorkingFolder(again));
    EXPECT_EQ(again, folder);
}

TEST_F(SettingsTest, NewSettingsFileIsReadableByItsOwnerOnly)
{
    std::string folder;
    ASSERT_TRUE(GetWorkingFolder(folder));
    CxIniUtil ini(folder.c_str(), kSettingsFileName);
    FWSettings s{};
    ASSERT_TRUE(SaveSettings(s, ini));
    EXPECT_EQ(ModeOf(folder + kSettingsFileName), 0600u);
}

struct FolderCase
{
    const char* name;
    // Prepares the temporary home; gives the XDG_CONFIG_HOME to use (empty: leave it).
    std::string (*prepare)(const fwtest::TempHome&);
    bool made;
};

void PrintTo(const FolderCase& c, std::ostream* os)
{
    *os << c.name;
}

// A config folder named so that <it>/corvane/FWLN/ is exactly length characters long.
std::string ConfigHomeOfResultLength(const fwtest::TempHome& home, std::size_t length)
{
    const std::size_t fixed = home.Root().size() + 1 + std::string("/corvane/FWLN/").size();
    return home.Root() + "/" + std::string(length - fixed, 'c');
}

const FolderCase kFolderCases[] = {
    {"ConfigHomeBelowARegularFile",
     [](const fwtest::TempHome& home) {
         home.WriteFile("blocker", "x");
         return home.Path("blocker/config");
     },
     false},
    {"CompanyFolderIsARegularFile",
     [](const fwtest::TempHome& home) {
         home.WriteFile("config/corvane", "x");
         return std::string();
     },
     false},
    {"CommonFolderIsARegularFile",
     [](const fwtest::TempHome& home) {
         home.WriteFile("config/corvane/FWCommon", "x");
         return std::string();
     },
     false},
    {"WorkingFolderIsARegularFile",
     [](const fwtest::TempHome& home) {
         home.WriteFile("config/corvane/FWLN", "x");
         return std::string();
     },
     false},
    {"PathOf259Characters", [](const fwtest::TempHome& home) { return ConfigHomeOfResultLength(home, 259); },
     true},
    {"PathOf260Characters", [](const fwtest::TempHome& home) { return ConfigHomeOfResultLength(home, 260); },
     false},
};

class SettingsFolderTest : public SettingsTest, public ::testing::WithParamInterface<FolderCase>
{
};

// Mirrors the session start: only a working folder that was made moves the settings file.
TEST_P(SettingsFolderTest, SessionStart)
{
    const FolderCase& c = GetParam();
    const std::string config = c.prepare(m_home);
    if (!config.empty()) {
        setenv("XDG_CONFIG_HOME", config.c_str(), 1); // TempHome restores it
    }
    const std::string startPath = m_home.Path("start.ini");
    ASSERT_TRUE(g_SettingsIni().SetPath(startPath.c_str()));

    std::string folder = "stale";
    const bool made = GetWorkingFolder(folder);
    EXPECT_EQ(made, c.made);
    if (made) {
        EXPECT_EQ(folder.size(), 259u);
        EXPECT_EQ(folder.back(), '/');
        EXPECT_TRUE(platform::FolderExists(folder));
        return;
    }
    EXPECT_EQ(folder, "");
    g_Settings().LogLevel = 1;
    LoadSettings();
    EXPECT_EQ(std::string(g_SettingsIni().GetPath()), startPath);
    EXPECT_EQ(g_Settings().LogLevel, 3);
    EXPECT_TRUE(g_Settings().SyncAddr);
    EXPECT_EQ(g_Settings().OLMode, 1);
    EXPECT_STREQ(g_Settings().GGCustomLabel[8], "Custom 9");
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsFolderTest, ::testing::ValuesIn(kFolderCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
