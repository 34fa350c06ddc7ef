// The Palm Desktop fronts: the generation each chooses by release, by the user's files and by
// file name, the conversion pass into the stores, the custom-field mapping and the file check.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "common/TempHome.h"
#include "misc/CustomFieldMap.h"
#include "misc/CxDebugUtil.h"
#include "palm/PalmConvert.h"
#include "palm/PalmEnv.h"
#include "palm/PalmExFileWriter.h"
#include "palm/PalmFileWriter.h"
#include "palm/PalmInfo.h"
#include "palm/PalmItems.h"
#include "platform/KnownFolders.h"

namespace {

using fwtest::PalmCategoryEntry;
using fwtest::PalmExFileWriter;
using fwtest::PalmFileWriter;

const std::string kSamples = std::string(FW_SHARED_DIR) + "/samples";
const std::string kSampleUser = "palm6";

bool HaveSamples()
{
    return std::filesystem::exists(kSamples + "/" + kSampleUser + "/address/Address.mdb");
}

const std::vector<PalmCategoryEntry> kCategories = {{1, 1, 0, "Business", "Business"},
                                                    {2, 2, 0, "Personal", "Personal"}};

// ---- Classic files ------------------------------------------------------------------------

// A classic file: header, categories, schema, then rows written by the caller.
template <class Rows>
std::string ClassicFile(std::int32_t tag, std::int32_t resourceId, const std::vector<std::uint16_t>& types,
                        std::size_t rows, Rows writeRows)
{
    PalmFileWriter w;
    w.Int32(tag).CString("classic.dat").CString("");
    w.CategoryBlock(128, kCategories);
    w.SchemaBlock(fwtest::PalmSchema{resourceId, static_cast<std::int32_t>(types.size()), 0, 1, 2, types});
    w.UInt32(static_cast<std::uint32_t>(rows * types.size()));
    writeRows(w);
    return w.Data();
}

struct ClassicContact
{
    std::int32_t status;
    const char* first;
    const char* last;
    std::array<std::int32_t, 5> labels;
    std::array<const char*, 5> phones;
    const char* street;
    const char* note;
};

std::string ClassicAddressBook(const std::vector<ClassicContact>& contacts)
{
    const std::vector<std::uint16_t> types = {1, 1, 1, 5, 5, 5, 5, 1, 5, 1, 5, 1, 5, 1, 5,
                                              1, 5, 5, 5, 5, 5, 5, 5, 6, 1, 5, 5, 5, 5, 1};
    return ClassicFile(0x41420100, 74, types, contacts.size(), [&](PalmFileWriter& w) {
        std::int32_t id = 1;
        for (const auto& c : contacts) {
            w.IntField(id++).IntField(c.status).IntField(0);
            w.StringField(c.last).StringField(c.first).StringField("Title").StringField("Company");
            for (std::size_t i = 0; i < 5; ++i) {
                w.IntField(c.labels[i]).StringField(c.phones[i]);
            }
            w.StringField(c.street).StringField("City").StringField("State").StringField("12345");
            w.StringField("Country").StringField(c.note).BoolField(false).IntField(1);
            w.StringField("c1").StringField("c2").StringField("c3").StringField("c4").IntField(0);
        }
    });
}

std::vector<ClassicContact> ClassicContacts()
{
    return {
        {0x00,
         "Anna",
         "Classic",
         {0, 1, 2, 3, 4},
         {"111", "222", "333", "444", "anna@example.com"},
         "1 Old Road",
         "A note that is longer than sixty-three characters, so that the mapping cuts it."},
        {0x04, "Deleted", "Classic", {0, 1, 2, 3, 4}, {"", "", "", "", ""}, "", ""},
        {0x01, "Bert", "Classic", {1, 2, 7, 6, 3}, {"h1", "", "m1", "p1", ""}, "2 Old Road", "short"},
    };
}

std::string ClassicDatebook()
{
    const std::vector<std::uint16_t> types = {1, 1, 1, 3, 1, 5, 1, 5, 6, 6, 1, 6, 1, 1, 8};
    const std::int32_t statuses[] = {0, 0x80, 0};
    return ClassicFile(0x44420100, 54, types, 3, [&](PalmFileWriter& w) {
        for (std::int32_t i = 0; i < 3; ++i) {
            w.IntField(i + 1).IntField(statuses[i]).IntField(0).DateField(1104570000 + i * 86400);
            w.IntField(1104573600 + i * 86400).StringField("Classic event").IntField(0).StringField("");
            w.BoolField(false).BoolField(false).IntField(1).BoolField(true).IntField(5).IntField(0);
            w.RepeatField(PmRepeat{});
        }
    });
}

std::string ClassicMemos()
{
    const std::vector<std::uint16_t> types = {1, 1, 1, 5, 6, 1};
    const std::int32_t statuses[] = {0, 0x04, 0};
    return ClassicFile(0x4D500100, 64, types, 3, [&](PalmFileWriter& w) {
        for (std::int32_t i = 0; i < 3; ++i) {
            w.IntField(i + 1).IntField(statuses[i]).IntField(0).StringField("Classic memo\r\nbody");
            w.BoolField(false).IntField(1);
        }
    });
}

std::string ClassicTodos()
{
    const std::vector<std::uint16_t> types = {1, 1, 1, 5, 3, 6, 1, 6, 1, 5};
    const std::int32_t statuses[] = {0, 0x84, 0};
    return ClassicFile(0x54440100, 44, types, 3, [&](PalmFileWriter& w) {
        for (std::int32_t i = 0; i < 3; ++i) {
            w.IntField(i + 1).IntField(statuses[i]).IntField(0).StringField("Classic task");
            w.DateField(-1).BoolField(false).IntField(5).BoolField(false).IntField(1).StringField("");
        }
    });
}

// ---- 4.1.x files --------------------------------------------------------------------------

template <class Rec> std::string ExFile(const std::vector<Rec>& records)
{
    PalmExFileWriter w;
    fwtest::PalmExFileOptions options;
    options.categories = kCategories;
    w.File(records, options);
    return w.Data();
}

std::string ExAddressBook()
{
    std::vector<PmAddrExRec> records(3);
    const std::int32_t statuses[] = {0, 0x04, 0};
    const char* const names[] = {"Carla", "Deleted", "Dieter"};
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i].recordId = static_cast<std::int32_t>(i + 1);
        records[i].status = statuses[i];
        records[i].firstName = names[i];
        records[i].lastName = "Ex";
        records[i].phoneLabels = {0, 1, 0, 0, 4, 5, 6}; // no fax, no other phone
        records[i].phones = {"w", "h", "", "", "", "", ""};
        records[i].note = "4.1.x note";
        records[i].birthday = 129080608.0 + 30000.0;
        records[i].addresses[0].street = "1 Work Street";
        records[i].ims = {"aim-name", ""};
        records[i].imLabels = {1, 0};
    }
    return ExFile(records);
}

template <class Rec> std::string ExFileOfThree(const std::vector<std::int32_t>& statuses)
{
    std::vector<Rec> records(statuses.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i].recordId = static_cast<std::int32_t>(i + 1);
        records[i].status = statuses[i];
    }
    if constexpr (std::is_same_v<Rec, PmDateExRec>) {
        for (auto& r : records) {
            r.startTime = 1104570000;
            r.endTime = 1104573600;
            r.description = "4.1.x event";
        }
    } else if constexpr (std::is_same_v<Rec, PmMemoExRec>) {
        for (auto& r : records) {
            r.text = "4.1.x memo";
        }
    } else if constexpr (std::is_same_v<Rec, PmTodoExRec>) {
        for (auto& r : records) {
            r.description = "4.1.x task";
            r.dueDate = -1;
        }
    }
    return ExFile(records);
}

// ---- Fixture ------------------------------------------------------------------------------

enum class Files
{
    None,
    Classic,
    Ex,
    Samples, // the 6.x samples, as a user folder of their own
};

struct FrontResult
{
    bool ok;
    int generation;
    int count;
};

class PalmInfoTest : public testing::Test
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
        UseFiles(Files::None);
    }
    void TearDown() override
    {
        g_debugLog.EnableLog(false);
        PmSetDesktopFolderOverride("");
        PmSetContactVersionKind(0);
        platform::SetProgramFolderOverride("");
    }

    // The version of palm.exe in the Palm folder of the home; null: none recorded.
    void SetVersion(const char* version)
    {
        std::string text = "[FileVersions]\n";
        if (version != nullptr) {
            text += m_home.Path("Palm") + "/palm.exe=" + version + "\n";
            text += kSamples + "/palm.exe=" + version + "\n";
        }
        m_home.WriteFile("registry.ini", text);
    }

    // Points the Palm Desktop folder at a folder holding one user with files of one generation;
    // answers that user's ID.
    std::int32_t UseFiles(Files files)
    {
        if (files == Files::Samples) {
            PmSetDesktopFolderOverride(kSamples);
        } else {
            const std::string user = "Palm/User1/";
            std::filesystem::remove_all(m_home.Path(user));
            platform::MakeFolder(m_home.Path("Palm"));
            platform::MakeFolder(m_home.Path(user));
            if (files == Files::Classic) {
                Write(user + "address/address.dat", ClassicAddressBook(ClassicContacts()));
                Write(user + "datebook/datebook.dat", ClassicDatebook());
                Write(user + "memopad/memopad.dat", ClassicMemos());
                Write(user + "todo/todo.dat", ClassicTodos());
            } else if (files == Files::Ex) {
                Write(user + "Address/Address.dat", ExAddressBook());
                Write(user + "datebook/datebook.dat", ExFileOfThree<PmDateExRec>({0, 0x80, 0}));
                Write(user + "memopad/memopad.dat", ExFileOfThree<PmMemoExRec>({0, 0x04, 0}));
                Write(user + "todo/todo.dat", ExFileOfThree<PmTodoExRec>({0, 0x84, 0}));
            } else {
                platform::MakeFolder(m_home.Path(user + "address"));
            }
            PmSetDesktopFolderOverride(m_home.Path("Palm"));
        }
        PmResetUserList();
        PmBuildUserList();
        return PmGetUsers().empty() ? 0 : PmGetUsers().front().userId;
    }

    std::string Write(const std::string& relative, const std::string& data) const
    {
        return m_home.WriteFile(relative, data);
    }

    template <class Front> static FrontResult LoadByUser(std::int32_t user)
    {
        Front front;
        const bool ok = front.LoadByUser(user);
        return {ok, front.GetLoadedGeneration(), front.GetStore()->GetCount()};
    }

    std::string Log() const
    {
        return std::filesystem::exists(m_home.Path("appdebug.log")) ? m_home.ReadFile("appdebug.log") : "";
    }
    // Whether a line holds the message, written by the named source file when one is given.
    bool Logged(const std::string& message, const char* source = nullptr) const
    {
        const std::string log = Log();
        const std::string needle = "] - " + message + "\r\n";
        for (auto at = log.find(needle); at != std::string::npos; at = log.find(needle, at + 1)) {
            const auto start = log.rfind('\n', at);
            const std::string line = log.substr(start == std::string::npos ? 0 : start + 1, at - start);
            if (source == nullptr || line.find(std::string("[") + source) != std::string::npos) {
                return true;
            }
        }
        return false;
    }
    void ForgetLog() const { std::filesystem::remove(m_home.Path("appdebug.log")); }

    fwtest::TempHome m_home;
};

// ---- Version kinds ------------------------------------------------------------------------

TEST_F(PalmInfoTest, VersionKindsOfTheFronts)
{
    struct Case
    {
        const char* version;
        int contactsAndMemos;
        int calendarAndTasks;
        int number;
    } const cases[] = {
        {"4.1.2.0", 2, 2, 40102}, {"4.1.0.0", 1, 1, 40100}, {"6.0.0.0", 3, 3, 60000},
        {"3.0.0.0", 0, 1, 30000}, {nullptr, 3, 3, -1},
    };
    for (const auto& c : cases) {
        SetVersion(c.version);
        ForgetLog();
        PmAddrInfo addr;
        PmMemoInfo memo;
        PmDateInfo date;
        PmTodoInfo todo;
        const std::string which = c.version != nullptr ? c.version : "none";
        EXPECT_EQ(addr.GetVersionKind(), c.contactsAndMemos) << which;
        EXPECT_EQ(memo.GetVersionKind(), c.contactsAndMemos) << which;
        EXPECT_EQ(date.GetVersionKind(), c.calendarAndTasks) << which;
        EXPECT_EQ(todo.GetVersionKind(), c.calendarAndTasks) << which;
        EXPECT_EQ(PmGetContactVersionKind(), c.contactsAndMemos) << which;
        EXPECT_EQ(addr.GetLoadedGeneration(), kPmNothingLoaded);
        EXPECT_TRUE(Logged("Palm Desktop Version: " + std::to_string(c.number), "PalmInfo.cpp")) << which;
    }
}

// ---- Load by user -------------------------------------------------------------------------

struct ByUserCase
{
    const char* name;
    const char* version;
    Files files;
    FrontResult contacts, calendar, memos, tasks;
};

const ByUserCase kByUserCases[] = {
    {"4.1.2 reads 4.1.x files", "4.1.2.0", Files::Ex, {true, 2, 2}, {true, 2, 2}, {true, 2, 2}, {true, 2, 2}},
    {"4.1.0 reads classic files",
     "4.1.0.0",
     Files::Classic,
     {true, 1, 2},
     {true, 1, 2},
     {true, 1, 2},
     {true, 1, 2}},
    {"3.0 knows no contacts or memos",
     "3.0.0.0",
     Files::Classic,
     {false, 255, 0},
     {true, 1, 2},
     {false, 255, 0},
     {true, 1, 2}},
    // The 4.1.x reader refuses classic files: every front fails (memos and tasks answered
    // true with nothing loaded before), and says why (PalmLoadTest).
    {"4.1.2 with classic files",
     "4.1.2.0",
     Files::Classic,
     {false, 0, 0},
     {false, 0, 0},
     {false, 0, 0},
     {false, 0, 0}},
    {"no palm.exe, classic files",
     nullptr,
     Files::Classic,
     {true, 1, 2},
     {true, 1, 2},
     {true, 1, 2},
     {true, 1, 2}},
    {"no palm.exe, 4.1.x files", nullptr, Files::Ex, {true, 2, 2}, {true, 2, 2}, {true, 2, 2}, {true, 2, 2}},
    // A user folder without databases loads nothing and says so (PalmLoadTest); contacts and
    // calendar failed before.
    {"no palm.exe, no files", nullptr, Files::None, {true, 0, 0}, {true, 0, 0}, {true, 0, 0}, {true, 0, 0}},
    {"6.0 reads the 6.x samples",
     "6.0.0.0",
     Files::Samples,
     {true, 3, 4},
     {true, 3, 13},
     {true, 3, 7},
     {true, 3, 10}},
    {"no palm.exe, 6.x samples",
     nullptr,
     Files::Samples,
     {true, 3, 4},
     {true, 3, 13},
     {true, 3, 7},
     {true, 3, 10}},
};

void PrintTo(const ByUserCase& c, std::ostream* os)
{
    *os << c.name;
}

class PalmInfoByUserTest : public PalmInfoTest, public testing::WithParamInterface<ByUserCase>
{
};

TEST_P(PalmInfoByUserTest, ChoosesTheGenerationAndConverts)
{
    const ByUserCase& c = GetParam();
    if (c.files == Files::Samples && !HaveSamples()) {
        GTEST_SKIP() << "no 6.x samples in " << kSamples;
    }
    SetVersion(c.version);
    const std::int32_t user = UseFiles(c.files);
    ASSERT_NE(user, 0);
    const FrontResult got[] = {LoadByUser<PmAddrInfo>(user), LoadByUser<PmDateInfo>(user),
                               LoadByUser<PmMemoInfo>(user), LoadByUser<PmTodoInfo>(user)};
    const FrontResult want[] = {c.contacts, c.calendar, c.memos, c.tasks};
    const char* const fronts[] = {"contacts", "calendar", "memos", "tasks"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(got[i].ok, want[i].ok) << fronts[i];
        EXPECT_EQ(got[i].generation, want[i].generation) << fronts[i];
        EXPECT_EQ(got[i].count, want[i].count) << fronts[i];
    }
    EXPECT_TRUE(Logged("Load Palm Desktop Contacts by user: " + std::to_string(user), "PalmInfo.cpp"));
    EXPECT_TRUE(Logged("Load Palm Desktop Tasks by user: " + std::to_string(user), "PalmInfo.cpp"));
}

INSTANTIATE_TEST_SUITE_P(Releases, PalmInfoByUserTest, testing::ValuesIn(kByUserCases),
                         [](const testing::TestParamInfo<ByUserCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p != '\0'; ++p) {
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             }
                             return name;
                         });

TEST_F(PalmInfoTest, ByUserFailureLines)
{
    SetVersion("3.0.0.0");
    const std::int32_t user = UseFiles(Files::Classic);
    LoadByUser<PmAddrInfo>(user);
    LoadByUser<PmMemoInfo>(user);
    EXPECT_TRUE(Logged("Unknown Palm Desktop version", "PalmInfo.cpp"));
    EXPECT_TRUE(Logged("Unknown Palm Desktop version.", "PalmInfo.cpp"));

    SetVersion("4.1.2.0");
    LoadByUser<PmAddrInfo>(user);
    LoadByUser<PmDateInfo>(user);
    LoadByUser<PmMemoInfo>(user);
    LoadByUser<PmTodoInfo>(user);
    const std::string id = std::to_string(user);
    EXPECT_TRUE(Logged("Could not open Palm Desktop Contacts database by User: " + id, "PalmInfo.cpp"));
    EXPECT_TRUE(Logged("Failed to open Palm Desktop Calendar database by User: " + id, "PalmInfo.cpp"));
    EXPECT_TRUE(Logged("Failed to load Palm Desktop Memo database by User: " + id, "PalmInfo.cpp"));
    EXPECT_TRUE(Logged("Failed to load Palm Desktop Tasks database by User: " + id, "PalmInfo.cpp"));
}

TEST_F(PalmInfoTest, WithoutReleaseTheUsersFilesDecideAndTheChoiceIsLogged)
{
    const std::int32_t user = UseFiles(Files::Classic);
    PmAddrInfo front;
    ASSERT_TRUE(front.LoadByUser(user));
    EXPECT_EQ(front.GetLoadedGeneration(), kPmClassic);
    EXPECT_TRUE(Logged("Palm Desktop version unknown, the user's files decide: " +
                       m_home.Path("Palm/User1/address/address.dat")));
    EXPECT_TRUE(Logged(".dat file, try Palm Desktop 4.1.4 database loader."));
    EXPECT_TRUE(
        Logged("Unable to load this file with Palm Desktop 4.1.4 file loader, try earlier loader version."));
}

// ---- The conversion pass ------------------------------------------------------------------

TEST_F(PalmInfoTest, ConvertedRecordsPointAtTheirItems)
{
    SetVersion("4.1.0.0");
    const std::int32_t user = UseFiles(Files::Classic);
    PmAddrInfo front;
    ASSERT_TRUE(front.LoadByUser(user));
    CommAddrMgr* store = front.GetStore();
    ASSERT_EQ(store->GetCount(), 2); // the deleted contact is skipped

    const CommAddrRec* anna = store->First();
    ASSERT_NE(anna, nullptr);
    EXPECT_STREQ(anna->FirstName, "Anna");
    EXPECT_STREQ(anna->WorkPhone, "111");
    EXPECT_STREQ(anna->Email, "anna@example.com");
    EXPECT_STREQ(anna->WorkAddress.Street, "1 Old Road");
    EXPECT_EQ(anna->SourceType, 1);
    EXPECT_EQ(anna->Status, 0);
    EXPECT_EQ(anna->NativeSize, 0u);
    const auto* item = static_cast<const PmAddrItem*>(anna->NativeRecord);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->generation, kPmClassic);
    EXPECT_EQ(item->commonRecord, anna);
    ASSERT_TRUE(std::holds_alternative<PmAddrRec>(item->native));
    EXPECT_EQ(std::get<PmAddrRec>(item->native).firstName, "Anna");

    const CommAddrRec* bert = store->Next();
    ASSERT_NE(bert, nullptr);
    EXPECT_STREQ(bert->FirstName, "Bert");
    EXPECT_EQ(bert->Status, 1); // the Palm status as stored
    EXPECT_STREQ(bert->HomePhone, "h1");
    EXPECT_STREQ(bert->MobilePhone, "m1");
    EXPECT_STREQ(bert->Pager, "p1");
}

TEST_F(PalmInfoTest, LoadingTwiceKeepsOnlyTheSecondLoad)
{
    SetVersion("4.1.0.0");
    const std::int32_t user = UseFiles(Files::Classic);
    PmAddrInfo front;
    ASSERT_TRUE(front.LoadByUser(user));
    ASSERT_EQ(front.GetStore()->GetCount(), 2);
    Write("Palm/User1/address/address.dat", ClassicAddressBook({ClassicContacts()[2]}));
    ASSERT_TRUE(front.LoadByUser(user));
    ASSERT_EQ(front.GetStore()->GetCount(), 1);
    EXPECT_STREQ(front.GetStore()->First()->FirstName, "Bert");

    const std::string other = Write("other/ADDRESS.DAT", ClassicAddressBook(ClassicContacts()));
    ASSERT_TRUE(front.LoadByFile(other));
    EXPECT_EQ(front.GetStore()->GetCount(), 2);
    front.Clear();
    EXPECT_EQ(front.GetStore()->GetCount(), 0);
    EXPECT_EQ(front.GetLoadedGeneration(), kPmNothingLoaded);
}

// ---- Load by file -------------------------------------------------------------------------

TEST_F(PalmInfoTest, LoadByFileChoosesByExtensionAndTriesTheEarlierLoader)
{
    SetVersion("6.0.0.0"); // the release does not matter for a picked file
    struct Case
    {
        const char* name;
        std::string path;
        bool ok;
        int generation;
        int count;
    } const cases[] = {
        {"classic, upper case", Write("f/ADDRESS.DAT", ClassicAddressBook(ClassicContacts())), true, 1, 2},
        {"4.1.x", Write("f/address.dat", ExAddressBook()), true, 2, 2},
        {"back-up copy", Write("f/address.bak", ClassicAddressBook(ClassicContacts())), false, 255, 0},
        {"no extension", Write("f/address", ClassicAddressBook(ClassicContacts())), false, 255, 0},
        {"dot in the folder only", Write("f.d/address", ClassicAddressBook(ClassicContacts())), false, 255,
         0},
        {"neither generation", Write("f/broken.dat", "not a Palm file"), false, 255, 0},
        {"missing", m_home.Path("f/missing.dat"), false, 255, 0},
        {"6.x sample", kSamples + "/" + kSampleUser + "/address/Address.mdb", true, 3, 4},
    };
    for (const auto& c : cases) {
        if (c.generation == 3 && !HaveSamples()) {
            continue;
        }
        PmAddrInfo front;
        EXPECT_EQ(front.LoadByFile(c.path), c.ok) << c.name;
        EXPECT_EQ(front.GetLoadedGeneration(), c.generation) << c.name;
        EXPECT_EQ(front.GetStore()->GetCount(), c.count) << c.name;
        EXPECT_TRUE(Logged("Load Palm Desktop Contacts by file: " + c.path, "PalmInfo.cpp")) << c.name;
        if (!c.ok) {
            EXPECT_TRUE(Logged("Failed to load Palm Desktop Contacts data file: " + c.path, "PalmInfo.cpp"))
                << c.name;
        }
    }
}

TEST_F(PalmInfoTest, ClassicAddressBookPickedByFile)
{
    const std::string path = Write("f/ADDRESS.DAT", ClassicAddressBook(ClassicContacts()));
    PmAddrInfo front;
    ForgetLog();
    ASSERT_TRUE(front.LoadByFile(path));
    EXPECT_EQ(front.GetLoadedGeneration(), kPmClassic);
    const std::string log = Log();
    const auto tried = log.find("] - .dat file, try Palm Desktop 4.1.4 database loader.");
    const auto magic = log.find("] - Failed to check magic code.");
    const auto earlier = log.find(
        "] - Unable to load this file with Palm Desktop 4.1.4 file loader, try earlier loader version.");
    ASSERT_NE(tried, std::string::npos) << log;
    ASSERT_NE(magic, std::string::npos) << log;
    ASSERT_NE(earlier, std::string::npos) << log;
    EXPECT_LT(tried, magic);
    EXPECT_LT(magic, earlier);
}

TEST_F(PalmInfoTest, LoadByFileOfTheOtherFronts)
{
    struct Case
    {
        const char* name;
        std::string path;
        int generation;
    } const cases[] = {
        {"classic", Write("f/datebook.dat", ClassicDatebook()), 1},
        {"4.1.x", Write("f/datebook41.Dat", ExFileOfThree<PmDateExRec>({0, 0x80, 0})), 2},
        {"other", Write("f/datebook.txt", ClassicDatebook()), 255},
    };
    for (const auto& c : cases) {
        PmDateInfo date;
        EXPECT_EQ(date.LoadByFile(c.path), c.generation != 255) << c.name;
        EXPECT_EQ(date.GetLoadedGeneration(), c.generation) << c.name;
        EXPECT_EQ(date.GetStore()->GetCount(), c.generation != 255 ? 2 : 0) << c.name;
    }
    EXPECT_TRUE(Logged("Failed to load Palm Desktop Calendar data file: " + m_home.Path("f/datebook.txt")));
    EXPECT_FALSE(Logged("Load Palm Desktop Calendar by file: " + m_home.Path("f/datebook.txt")));

    const std::string memo = Write("f/memopad.dat", ClassicMemos());
    PmMemoInfo memos;
    EXPECT_TRUE(memos.LoadByFile(memo));
    EXPECT_EQ(memos.GetStore()->GetCount(), 2);
    EXPECT_STREQ(memos.GetStore()->First()->Title, "Classic memo");
    EXPECT_TRUE(Logged("Load Palm Desktop Memos by file: " + memo, "PalmInfo.cpp"));
    EXPECT_FALSE(memos.LoadByFile(""));
    EXPECT_TRUE(Logged("Failed to load Palm Desktop Memos data file ()", "PalmInfo.cpp"));

    const std::string todo = Write("f/todo.dat", ExFileOfThree<PmTodoExRec>({0, 0x84, 0}));
    PmTodoInfo todos;
    EXPECT_TRUE(todos.LoadByFile(todo));
    EXPECT_EQ(todos.GetLoadedGeneration(), kPmEx);
    EXPECT_EQ(todos.GetStore()->GetCount(), 2);
    EXPECT_FALSE(todos.LoadByFile(m_home.Path("f/todo.bak")));
    EXPECT_EQ(todos.GetStore()->GetCount(), 0);
    EXPECT_TRUE(Logged("Failed to load Palm Desktop Tasks file (" + m_home.Path("f/todo.bak") + ")"));
}

TEST_F(PalmInfoTest, EmptyPathLeavesTheContactsAsTheyWere)
{
    const std::string path = Write("f/address.dat", ClassicAddressBook(ClassicContacts()));
    PmAddrInfo front;
    ASSERT_TRUE(front.LoadByFile(path));
    EXPECT_FALSE(front.LoadByFile(""));
    EXPECT_EQ(front.GetLoadedGeneration(), kPmClassic);
    EXPECT_EQ(front.GetStore()->GetCount(), 2);
}

// ---- File check ---------------------------------------------------------------------------

TEST_F(PalmInfoTest, FileCheck)
{
    const std::string classicAddr = Write("c/ADDRESS.DAT", ClassicAddressBook(ClassicContacts()));
    const std::string exAddr = Write("c/address.dat", ExAddressBook());
    const std::string bak = Write("c/address.bak", ClassicAddressBook(ClassicContacts()));
    const std::string classicTodo = Write("c/todo.dat", ClassicTodos());
    const std::string exMemo = Write("c/memopad.dat", ExFileOfThree<PmMemoExRec>({0}));
    const std::string classicDate = Write("c/datebook.dat", ClassicDatebook());
    const std::string sample = kSamples + "/" + kSampleUser + "/todo/Todolist.mdb";
    struct Case
    {
        int (*check)(const std::string&);
        std::string path;
        int expected;
        std::string line; // logged with the path in place of %s
    } const cases[] = {
        {PmCheckAddrFile, "", 0, ""},
        {PmCheckAddrFile, classicAddr, 1,
         "Check Palm Desktop Contacts file type: (%s) - Palm Desktop 4.1 or earlier"},
        {PmCheckAddrFile, exAddr, 2, "Check Palm Desktop Contacts file type: (%s) - Palm Desktop 4.1.x"},
        {PmCheckAddrFile, bak, 255, "Failed to check Palm Desktop Contacts file type: (%s)"},
        {PmCheckAddrFile, classicTodo, 255, "Failed to check Palm Desktop Contacts file type: (%s)"},
        {PmCheckTodoFile, classicTodo, 1,
         "Check Palm Desktop Task file type: (%s) - Palm Desktop 4.1 or earlier"},
        {PmCheckTodoFile, m_home.Path("c/none.mdb"), 255,
         "Failed to check Palm Desktop Tasks file type: (%s)"},
        {PmCheckMemoFile, exMemo, 2, "Check Palm Desktop Memos file type: (%s) - Palm Desktop 4.1.x"},
        {PmCheckMemoFile, bak, 255, "Failed to check Palm Desktop Memos data file type (%s)"},
        {PmCheckDateFile, classicDate, 1,
         "Check Palm Desktop Calendar file type: (%s) - Palm Desktop 4.1 or earlier"},
        {PmCheckTodoFile, sample, 3, "Check Palm Desktop Task file type: (%s) - Palm Desktop 6.x"},
    };
    for (const auto& c : cases) {
        if (c.expected == 3 && !HaveSamples()) {
            continue;
        }
        EXPECT_EQ(c.check(c.path), c.expected) << c.path;
        if (!c.line.empty()) {
            std::string line = c.line;
            line.replace(line.find("%s"), 2, c.path);
            EXPECT_TRUE(Logged(line)) << line;
        }
    }
    EXPECT_EQ(PmAddrInfo::CheckFile(exAddr), 2);
    EXPECT_TRUE(Logged("Check Palm Desktop Contacts file version, file: " + exAddr, "PalmInfo.cpp"));
    EXPECT_TRUE(Logged("Check Palm Desktop Tasks file version, file: " + classicTodo, "PalmInfo.cpp"));
}

// ---- Custom-field mapping -----------------------------------------------------------------

TEST_F(PalmInfoTest, MappingSlotIndexes)
{
    PmAddrInfo front;
    EXPECT_TRUE(front.SetMappingSlot(0, 1));
    EXPECT_TRUE(front.SetMappingSlot(9, 1));
    EXPECT_FALSE(front.SetMappingSlot(10, 1));
    EXPECT_FALSE(front.SetMappingSlot(-1, 1));
}

struct MappingCase
{
    const char* name;
    const char* version;
    Files files;
    std::array<std::int32_t, 10> slots;
    std::array<const char*, 10> values; // of the first contact
};

const MappingCase kMappingCases[] = {
    // Kind 1: "Note" copies 63 characters; "Work Phone" finds its phone; "Main Phone" finds no
    // phone with its label and no empty phone to claim; key 99 is no key.
    {"classic",
     "4.1.0.0",
     Files::Classic,
     {1, 5, 10, 23, 99, 13, 22, 0, 0, 0},
     {"Anna", "111", "", "A note that is longer than sixty-three characters, so that the ", "", "1 Old Road",
      "Business", "", "", ""}},
    // Kind 2: the birthday is a date and is skipped; "IM AIM" finds its slot; "Fax" claims the
    // first empty phone and gives its empty text.
    {"4.1.x",
     "4.1.2.0",
     Files::Ex,
     {34, 28, 7, 45, 13, 0, 0, 0, 0, 2},
     {"", "aim-name", "", "4.1.x note", "1 Work Street", "", "", "", "", "Ex"}},
    // No palm.exe: the catalogue is the 6.x one, and its keys are carried over to the classic
    // contact by name.
    {"6.x catalogue on classic contacts",
     nullptr,
     Files::Classic,
     {21, 2, 3, 13, 54, 43, 0, 0, 0, 0},
     {"1 Old Road", "", "Classic", "111", "A note that is longer than sixty-three characters, so that the ",
      "", "", "", "", ""}},
};

void PrintTo(const MappingCase& c, std::ostream* os)
{
    *os << c.name;
}

class PalmMappingTest : public PalmInfoTest, public testing::WithParamInterface<MappingCase>
{
};

TEST_P(PalmMappingTest, FillsMappedValues)
{
    const MappingCase& c = GetParam();
    SetVersion(c.version);
    const std::int32_t user = UseFiles(c.files);
    PmAddrInfo front;
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(front.SetMappingSlot(i, c.slots[static_cast<std::size_t>(i)]));
    }
    ASSERT_TRUE(front.LoadByUser(user));
    const CommAddrRec* rec = front.GetStore()->First();
    ASSERT_NE(rec, nullptr);
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_STREQ(rec->MappedValues[i], c.values[i]) << "slot " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, PalmMappingTest, testing::ValuesIn(kMappingCases),
                         [](const testing::TestParamInfo<MappingCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p != '\0'; ++p) {
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             }
                             return name;
                         });

TEST_F(PalmInfoTest, TheCustomFieldMapFillsSlotsOneToNine)
{
    SetVersion("4.1.0.0");
    const std::int32_t user = UseFiles(Files::Classic);
    ClearMappedFields();
    SetMappedField(kAppPalm, 1, 5);  // "Work Phone"
    SetMappedField(kAppPalm, 5, 13); // the address
    SetMappedField(kAppPalm, 10, 1); // beyond the front's slots
    PmAddrInfo front;
    front.UseCustomFieldMap();
    ClearMappedFields();
    ASSERT_TRUE(front.LoadByUser(user));
    const CommAddrRec* rec = front.GetStore()->First();
    ASSERT_NE(rec, nullptr);
    const std::array<const char*, 10> expected = {"", "111", "", "", "", "1 Old Road", "", "", "", ""};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_STREQ(rec->MappedValues[i], expected[i]) << "slot " << i;
    }
}

TEST_F(PalmInfoTest, MappingAPhoneKeyClaimsTheFirstEmptyPhoneOfTheItemsCopy)
{
    SetVersion("4.1.2.0");
    const std::int32_t user = UseFiles(Files::Ex);
    PmAddrInfo front;
    front.SetMappingSlot(0, 7); // "Fax": no phone carries label 2
    ASSERT_TRUE(front.LoadByUser(user));
    const CommAddrRec* rec = front.GetStore()->First();
    ASSERT_NE(rec, nullptr);
    EXPECT_STREQ(rec->MappedValues[0], "");
    const auto* item = static_cast<const PmAddrItem*>(rec->NativeRecord);
    ASSERT_TRUE(std::holds_alternative<PmAddrExRec>(item->native));
    EXPECT_EQ(std::get<PmAddrExRec>(item->native).phoneLabels[2], 2);
}

// ---- Detail values ------------------------------------------------------------------------

TEST_F(PalmInfoTest, DetailValuesOfAnItem)
{
    SetVersion("4.1.0.0");
    const std::int32_t user = UseFiles(Files::Classic);
    PmAddrInfo front;
    ASSERT_TRUE(front.LoadByUser(user));
    const CommAddrRec* bert = front.GetStore()->First();
    bert = front.GetStore()->Next();
    ASSERT_NE(bert, nullptr);
    const auto* item = static_cast<const PmAddrItem*>(bert->NativeRecord);
    struct Case
    {
        std::int32_t key;
        const char* expected;
    } const cases[] = {
        {1, "Bert"},   {6, "h1"}, // home phone
        {5, "N/A"},               // no work phone, and the dialog claims no slot
        {23, "short"}, {99, "N/A"}, {0, "N/A"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PmAddrItemValue(item, c.key), c.expected) << c.key;
    }
    EXPECT_EQ(PmAddrItemValue(nullptr, 1), "N/A");
}

} // namespace
