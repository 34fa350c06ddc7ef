#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "common/PinnedLocale.h"
#include "common/TempHome.h"
#include "misc/CxDebugUtil.h"
#include "palm/PalmAddr.h"
#include "palm/PalmClassicConvert.h"
#include "palm/PalmDate.h"
#include "palm/PalmEnv.h"
#include "palm/PalmFileWriter.h"
#include "palm/PalmMemo.h"
#include "palm/PalmTodo.h"

namespace {

const fwtest::PinnedLocale kPinned{"Europe/Berlin"}; // local times below are Berlin's, texts code page 1252

using fwtest::PalmCategoryEntry;
using fwtest::PalmFileWriter;
using fwtest::PalmSchema;

// ---- Writing classic files ---------------------------------------------------------------

const std::vector<std::uint16_t> kAddrTypes = {1, 1, 1, 5, 5, 5, 5, 1, 5, 1, 5, 1, 5, 1, 5,
                                               1, 5, 5, 5, 5, 5, 5, 5, 6, 1, 5, 5, 5, 5, 1};
const std::vector<std::uint16_t> kDateTypes = {1, 1, 1, 3, 1, 5, 1, 5, 6, 6, 1, 6, 1, 1, 8};
const std::vector<std::uint16_t> kMemoTypes = {1, 1, 1, 5, 6, 1};
const std::vector<std::uint16_t> kTodoTypes = {1, 1, 1, 5, 3, 6, 1, 6, 1, 5};

const std::vector<PalmCategoryEntry> kCategories = {
    {1, 1, 0, "Business", "Business"},
    {2, 2, 1, "Personal", "Personal"},
    {3, 7, 0, "QuickList", "QuickList"},
};

// Everything of a classic file before its records.
struct Header
{
    std::int32_t tag;
    std::string databaseName;
    std::string table;
    std::vector<PalmCategoryEntry> categories = kCategories;
    PalmSchema schema;
};

Header AddrHeader()
{
    return {PmAddrUtil::kVersionTag, "C:\\Palm\\User1\\address\\address.dat",
            "Birthday\nSpouse\nHobby\nWeb\n", kCategories, PalmSchema{74, 30, 0, 1, 2, kAddrTypes}};
}
Header DateHeader()
{
    return {PmDateUtil::kVersionTag, "datebook.dat", "", kCategories,
            PalmSchema{54, 15, 0, 1, 2, kDateTypes}};
}
Header MemoHeader()
{
    return {PmMemoUtil::kVersionTag, "memopad.dat", "", kCategories, PalmSchema{64, 6, 0, 1, 2, kMemoTypes}};
}
Header TodoHeader()
{
    return {PmTodoUtil::kVersionTag, "todo.dat", "", kCategories, PalmSchema{44, 10, 0, 1, 2, kTodoTypes}};
}

// Offsets of the sections of a written file, for cutting it.
struct Layout
{
    std::size_t tagEnd = 0;
    std::size_t nameEnd = 0;
    std::size_t tableEnd = 0;
    std::size_t categoriesEnd = 0;
    std::size_t schemaEnd = 0;
    std::size_t totalEnd = 0;
    std::vector<std::size_t> recordEnds;
};

// The 30 typed fields of a contact, one per position.
std::vector<std::string> AddrFields(const PmAddrRec& r)
{
    std::vector<PalmFileWriter> f(30);
    f[0].IntField(r.recordId);
    f[1].IntField(r.status);
    f[2].IntField(r.placement);
    f[3].StringField(r.lastName);
    f[4].StringField(r.firstName);
    f[5].StringField(r.title);
    f[6].StringField(r.company);
    for (std::size_t i = 0; i < 5; ++i) {
        f[7 + 2 * i].IntField(r.phoneLabels[i]);
        f[8 + 2 * i].StringField(r.phones[i]);
    }
    f[17].StringField(r.address);
    f[18].StringField(r.city);
    f[19].StringField(r.state);
    f[20].StringField(r.zipCode);
    f[21].StringField(r.country);
    f[22].StringField(r.note);
    f[23].BoolField(r.isPrivate != 0);
    f[24].IntField(r.categoryId);
    for (std::size_t i = 0; i < 4; ++i) {
        f[25 + i].StringField(r.customs[i]);
    }
    f[29].IntField(r.int29);
    std::vector<std::string> fields;
    for (const PalmFileWriter& w : f) {
        fields.push_back(w.Data());
    }
    return fields;
}

void WriteRecord(PalmFileWriter& w, const PmAddrRec& r)
{
    for (const std::string& field : AddrFields(r)) {
        w.Bytes(field);
    }
}

// Repeat fields are written with a class definition unless the test says otherwise.
struct DateIn
{
    PmDateRec rec;
    std::uint16_t classTag = kPmRepeatClassDef;
    std::vector<std::int32_t> exceptions;
};

void WriteRecord(PalmFileWriter& w, const DateIn& in)
{
    const PmDateRec& r = in.rec;
    w.IntField(r.recordId).IntField(r.status).IntField(r.placement).DateField(r.startDate);
    w.IntField(r.endDate).StringField(r.description).IntField(r.int6).StringField(r.note);
    w.BoolField(r.untimed != 0).BoolField(r.isPrivate != 0).IntField(r.categoryId).BoolField(r.alarmSet != 0);
    w.IntField(r.alarmAdvance).IntField(r.alarmUnit).RepeatField(r.repeat, in.classTag, in.exceptions);
}

void WriteRecord(PalmFileWriter& w, const PmMemoRec& r)
{
    w.IntField(r.recordId).IntField(r.status).IntField(r.placement).StringField(r.text);
    w.BoolField(r.isPrivate != 0).IntField(r.categoryId);
}

void WriteRecord(PalmFileWriter& w, const PmTodoRec& r)
{
    w.IntField(r.recordId).IntField(r.status).IntField(r.placement).StringField(r.description);
    w.DateField(r.dueDate).BoolField(r.completed != 0).IntField(r.priority).BoolField(r.isPrivate != 0);
    w.IntField(r.categoryId).StringField(r.note);
}

// A whole file; the total number of fields is records x fields per row unless given.
template <class In>
PalmFileWriter ClassicFile(const Header& h, const std::vector<In>& records, Layout* layout = nullptr,
                           std::int64_t totalFields = -1)
{
    Layout l;
    PalmFileWriter w;
    w.Int32(h.tag);
    l.tagEnd = w.Size();
    w.CString(h.databaseName);
    l.nameEnd = w.Size();
    w.CString(h.table);
    l.tableEnd = w.Size();
    w.CategoryBlock(128, h.categories);
    l.categoriesEnd = w.Size();
    w.SchemaBlock(h.schema);
    l.schemaEnd = w.Size();
    w.UInt32(totalFields >= 0 ? static_cast<std::uint32_t>(totalFields)
                              : static_cast<std::uint32_t>(records.size() * h.schema.fieldTypes.size()));
    l.totalEnd = w.Size();
    for (const In& rec : records) {
        WriteRecord(w, rec);
        l.recordEnds.push_back(w.Size());
    }
    if (layout != nullptr) {
        *layout = l;
    }
    return w;
}

// ---- Sample records ----------------------------------------------------------------------

PmAddrRec Contact(std::int32_t id, const char* first, const char* last, std::int32_t category)
{
    PmAddrRec r;
    r.recordId = id;
    r.placement = id * 10;
    r.firstName = first;
    r.lastName = last;
    r.title = "Sales Manager";
    r.company = "Acme Handels GmbH";
    r.phoneLabels = {0, 1, 2, 4, 7};
    r.phones = {"+49 30 1234", "+49 30 5678", "+49 30 9999", std::string(first) + "@acme.example",
                "0170 1111"};
    r.address = "Hauptstra\xDF"
                "e 1";
    r.city = "Berlin";
    r.state = "BE";
    r.zipCode = "10115";
    r.country = "Germany";
    r.note = "Met at the fair.\r\nCall back in May.";
    r.isPrivate = 0;
    r.categoryId = category;
    r.customs = {"1970-01-02", "Anna", "", "www.acme.example"};
    r.int29 = 3;
    return r;
}

std::vector<PmAddrRec> Contacts()
{
    std::vector<PmAddrRec> list = {Contact(101, "John", "Smith", 1),
                                   Contact(102, "J\xFCrgen", "M\xFCller", 2),
                                   Contact(103, "Ana", "Lima", 99)};
    list[1].status = 0x01;
    list[1].phoneLabels = {0, 0, 3, 5, 6};
    list[1].isPrivate = 1;
    list[2].status = 0x84; // the reader keeps it; the conversion filters
    list[2].phones = {"", "", "", "", ""};
    list[2].customs = {"", "", "", ""};
    list[2].note.clear();
    return list;
}

PmRepeat Repeat(std::int32_t kind)
{
    PmRepeat r;
    r.kind = kind;
    r.interval = kind == 0 ? 0 : 1 + kind % 3;
    r.endDate = kind == 0 ? 0 : (kind % 2 != 0 ? kPmNoEndDate : 1262300400);
    r.firstDayOfWeek = kind == 0 ? 0 : 1;
    switch (kind) {
    case 1:
        r.dayIndex = 2;
        break;
    case 2:
        r.dayIndex = 1;
        r.dayMask = 0x2A; // Monday, Wednesday, Friday
        break;
    case 3:
        r.dayIndex = 4;
        r.weekIndex = 3;
        break;
    case 4:
        r.dayOfMonth = 15;
        break;
    case 5:
        r.dayOfMonth = 25;
        r.monthIndex = 11;
        break;
    default:
        break;
    }
    return r;
}

DateIn Entry(std::int32_t id, std::int32_t kind, std::uint16_t tag = kPmRepeatClassDef,
             std::vector<std::int32_t> exceptions = {})
{
    DateIn in;
    PmDateRec& r = in.rec;
    r.recordId = id;
    r.placement = id;
    r.startDate = 1104750000 + id * 86400;
    r.endDate = r.startDate + 3600;
    r.description = "Meeting " + std::to_string(id);
    r.int6 = 7;
    r.note = "Room 4." + std::string(id % 2 == 0 ? "\r\nBring slides." : "");
    r.untimed = id % 3 == 0 ? 1 : 0;
    r.isPrivate = id % 2;
    r.categoryId = id % 2 == 0 ? 1 : 0;
    r.alarmSet = 1;
    r.alarmAdvance = 15;
    r.alarmUnit = id % 3;
    r.repeat = Repeat(kind);
    in.classTag = tag;
    in.exceptions = std::move(exceptions);
    return in;
}

PmMemoRec Memo(std::int32_t id, std::int32_t status, std::string text)
{
    PmMemoRec r;
    r.recordId = id;
    r.status = status;
    r.placement = id;
    r.text = std::move(text);
    r.isPrivate = id % 2;
    r.categoryId = 2;
    return r;
}

PmTodoRec Todo(std::int32_t id, std::int32_t status, std::int32_t priority)
{
    PmTodoRec r;
    r.recordId = id;
    r.status = status;
    r.placement = id;
    r.description = "Task " + std::to_string(id);
    r.dueDate = id % 2 == 0 ? -1 : 1104537600 + id;
    r.completed = id % 2;
    r.priority = priority;
    r.isPrivate = id % 3 == 0 ? 1 : 0;
    r.categoryId = 7;
    r.note = "Details of " + std::to_string(id);
    return r;
}

// ---- Comparing --------------------------------------------------------------------------

void ExpectSame(const PmAddrRec& got, const PmAddrRec& want, const std::string& category)
{
    EXPECT_EQ(got.recordId, want.recordId);
    EXPECT_EQ(got.status, want.status);
    EXPECT_EQ(got.placement, want.placement);
    EXPECT_EQ(got.lastName, want.lastName);
    EXPECT_EQ(got.firstName, want.firstName);
    EXPECT_EQ(got.title, want.title);
    EXPECT_EQ(got.company, want.company);
    EXPECT_EQ(got.phoneLabels, want.phoneLabels);
    EXPECT_EQ(got.phones, want.phones);
    EXPECT_EQ(got.address, want.address);
    EXPECT_EQ(got.city, want.city);
    EXPECT_EQ(got.state, want.state);
    EXPECT_EQ(got.zipCode, want.zipCode);
    EXPECT_EQ(got.country, want.country);
    EXPECT_EQ(got.note, want.note);
    EXPECT_EQ(got.isPrivate, want.isPrivate);
    EXPECT_EQ(got.categoryId, want.categoryId);
    EXPECT_EQ(got.customs, want.customs);
    EXPECT_EQ(got.int29, want.int29);
    EXPECT_EQ(got.categoryName, category);
}

void ExpectSame(const PmRepeat& got, const PmRepeat& want)
{
    EXPECT_EQ(got.kind, want.kind);
    EXPECT_EQ(got.interval, want.interval);
    EXPECT_EQ(got.endDate, want.endDate);
    EXPECT_EQ(got.firstDayOfWeek, want.firstDayOfWeek);
    EXPECT_EQ(got.dayIndex, want.dayIndex);
    EXPECT_EQ(got.dayMask, want.dayMask);
    EXPECT_EQ(got.weekIndex, want.weekIndex);
    EXPECT_EQ(got.monthIndex, want.monthIndex);
    EXPECT_EQ(got.dayOfMonth, want.dayOfMonth);
}

void ExpectSame(const PmDateRec& got, const PmDateRec& want)
{
    EXPECT_EQ(got.recordId, want.recordId);
    EXPECT_EQ(got.status, want.status);
    EXPECT_EQ(got.placement, want.placement);
    EXPECT_EQ(got.startDate, want.startDate);
    EXPECT_EQ(got.endDate, want.endDate);
    EXPECT_EQ(got.description, want.description);
    EXPECT_EQ(got.int6, want.int6);
    EXPECT_EQ(got.note, want.note);
    EXPECT_EQ(got.untimed, want.untimed);
    EXPECT_EQ(got.isPrivate, want.isPrivate);
    EXPECT_EQ(got.categoryId, want.categoryId);
    EXPECT_EQ(got.alarmSet, want.alarmSet);
    EXPECT_EQ(got.alarmAdvance, want.alarmAdvance);
    EXPECT_EQ(got.alarmUnit, want.alarmUnit);
    ExpectSame(got.repeat, want.repeat);
}

void ExpectSame(const PmMemoRec& got, const PmMemoRec& want)
{
    EXPECT_EQ(got.recordId, want.recordId);
    EXPECT_EQ(got.status, want.status);
    EXPECT_EQ(got.placement, want.placement);
    EXPECT_EQ(got.text, want.text);
    EXPECT_EQ(got.isPrivate, want.isPrivate);
    EXPECT_EQ(got.categoryId, want.categoryId);
}

void ExpectSame(const PmTodoRec& got, const PmTodoRec& want)
{
    EXPECT_EQ(got.recordId, want.recordId);
    EXPECT_EQ(got.status, want.status);
    EXPECT_EQ(got.placement, want.placement);
    EXPECT_EQ(got.description, want.description);
    EXPECT_EQ(got.dueDate, want.dueDate);
    EXPECT_EQ(got.completed, want.completed);
    EXPECT_EQ(got.priority, want.priority);
    EXPECT_EQ(got.isPrivate, want.isPrivate);
    EXPECT_EQ(got.categoryId, want.categoryId);
    EXPECT_EQ(got.note, want.note);
}

// ---- Fixture: a temporary home whose diagnostic log is read back ---------------------------

class ClassicTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_debugLog.SetLogFolder((m_home.Root() + "/").c_str());
        g_debugLog.EnableLog(true);
        g_debugLog.SetLogLevel(3);
    }
    void TearDown() override { g_debugLog.EnableLog(false); }

    std::string Write(const PalmFileWriter& w, const std::string& name = "file.dat")
    {
        const std::string path = m_home.Path(name);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        EXPECT_TRUE(w.WriteFile(path));
        return path;
    }
    std::string Log() const
    {
        const std::string path = m_home.Path("appdebug.log");
        return std::filesystem::exists(path) ? m_home.ReadFile("appdebug.log") : std::string();
    }
    // The log line that holds a message, empty when none does.
    std::string LineOf(const std::string& message) const
    {
        const std::string log = Log();
        const auto at = log.find("] - " + message + "\r\n");
        if (at == std::string::npos) {
            return {};
        }
        const auto start = log.rfind('\n', at);
        return log.substr(start == std::string::npos ? 0 : start + 1, at + 4 + message.size() - start - 1);
    }
    int Count(const std::string& message) const
    {
        const std::string log = Log();
        const std::string needle = "] - " + message + "\r\n";
        int n = 0;
        for (auto at = log.find(needle); at != std::string::npos; at = log.find(needle, at + 1)) {
            ++n;
        }
        return n;
    }
    // The message was logged at its level by the named reader's source file.
    void ExpectLogged(const std::string& message, int level, const char* source)
    {
        const std::string line = LineOf(message);
        ASSERT_FALSE(line.empty()) << "not logged: " << message << "\n" << Log();
        EXPECT_NE(line.find(std::string("[") + source), std::string::npos) << line;
        EXPECT_NE(line.find(level == 0 ? "[!!!]" : "[   ]"), std::string::npos) << line;
    }

    fwtest::TempHome m_home;
};

// ---- Address book ------------------------------------------------------------------------

TEST_F(ClassicTest, AddressBookWithCategoriesLabelsAndPhones)
{
    const std::vector<PmAddrRec> contacts = Contacts();
    const std::string path = Write(ClassicFile(AddrHeader(), contacts));
    PmAddrUtil util(path);
    ASSERT_TRUE(util.IsLoaded()) << Log();
    EXPECT_EQ(util.GetPath(), path);
    EXPECT_EQ(util.GetDatabaseFileName(), "C:\\Palm\\User1\\address\\address.dat");
    const char* const labels[] = {"Birthday", "Spouse", "Hobby", "Web"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(util.GetCustomLabel(i), labels[i]);
    }
    EXPECT_EQ(util.GetCustomLabel(4), "");

    ASSERT_EQ(util.GetRecords().size(), 3u);
    ExpectSame(util.GetRecords()[0], contacts[0], "Business");
    ExpectSame(util.GetRecords()[1], contacts[1], "Personal");
    ExpectSame(util.GetRecords()[2], contacts[2], ""); // category 99 is not in the table

    std::string name;
    ASSERT_TRUE(util.GetCategoryName(0, name));
    EXPECT_EQ(name, "Unfiled");
    ASSERT_TRUE(util.GetCategoryName(3, name)); // the place in the table, not the ID 7
    EXPECT_EQ(name, "QuickList");
    EXPECT_FALSE(util.GetCategoryName(99, name));
    const PmCategoryMgr* table = util.GetCategories();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetCount(), 4);
    EXPECT_FALSE(table->IsModified());
    EXPECT_TRUE(table->FindByID(2)->IsDirty());
    EXPECT_FALSE(table->FindByID(1)->IsDirty());
    EXPECT_EQ(table->GetNextFreeID(), 128);
    EXPECT_EQ(util.GetSchema().resourceId, 74);
    EXPECT_EQ(util.GetSchema().fieldTypes, kAddrTypes);

    ExpectLogged("Loading Palm Desktop Address Book:" + path, 2, "PalmClassicDBUtil.cpp");
    ExpectLogged("Read Palm Desktop address book database file name: C:\\Palm\\User1\\address\\address.dat",
                 2, "PalmClassicDBUtil.cpp");
    ExpectLogged("Based on calculation, there are 3 records in total.", 2, "PalmClassicDBUtil.cpp");
    ExpectLogged(
        "Palm Desktop address book database is loaded successfully. 3 record(s) are loaded in total.", 2,
        "PalmClassicDBUtil.cpp");
    ExpectLogged("Palm Desktop address book was loaded successfully.", 2, "PalmClassicDBUtil.cpp");
    EXPECT_EQ(Count("For Palm Desktop ealier than v4.1.2, the max custom label is 4. Break now."), 1)
        << "the fourth label ends the reading";
    EXPECT_EQ(Log().find("[!!!]"), std::string::npos) << Log();

    // A second load replaces the records rather than adding to them.
    ASSERT_TRUE(util.Load(path));
    EXPECT_EQ(util.GetRecords().size(), 3u);
    util.ClearRecords();
    EXPECT_TRUE(util.GetRecords().empty());
}

struct LabelCase
{
    const char* name;
    std::string table;
    std::vector<std::string> kept;
    int breakLines;
};

const LabelCase kLabelCases[] = {
    {"six_labels_keep_four", "One\nTwo\nThree\nFour\nFive\nSix\n", {"One", "Two", "Three", "Four"}, 1},
    {"two_labels", "Home\nWork\n", {"Home", "Work", "", ""}, 0},
    {"no_labels", "", {"", "", "", ""}, 0},
    {"escaped_long_labels",
     std::string(300, 'a') + "\n" + std::string(100, 'b') + "\nc\nd\ne\n",
     {std::string(300, 'a'), std::string(100, 'b'), "c", "d"},
     1},
    // More text than the 512-byte buffer holds before a fourth label ends: the buffer keeps
    // its first 511 bytes and the rest of the string is still read past.
    {"longer_than_the_buffer", std::string(600, 'x') + "\ny\n", {"", "", "", ""}, 0},
};

class LabelTest : public ClassicTest, public testing::WithParamInterface<LabelCase>
{
};

TEST_P(LabelTest, KeepsAtMostFourAndReadsTheCategoriesAfterThem)
{
    const LabelCase& c = GetParam();
    Header h = AddrHeader();
    h.table = c.table;
    const std::string path = Write(ClassicFile(h, std::vector<PmAddrRec>{Contact(1, "A", "B", 3)}));
    PmAddrUtil util(path);
    ASSERT_TRUE(util.IsLoaded()) << Log();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(util.GetCustomLabel(i), c.kept[static_cast<std::size_t>(i)]) << i;
    }
    EXPECT_LE(util.GetTableString().size(), PmAddrUtil::kLabelBufferSize - 1);
    EXPECT_EQ(Count("For Palm Desktop ealier than v4.1.2, the max custom label is 4. Break now."),
              c.breakLines);
    ASSERT_EQ(util.GetRecords().size(), 1u);
    EXPECT_EQ(util.GetRecords()[0].categoryName, "QuickList");
}

INSTANTIATE_TEST_SUITE_P(Labels, LabelTest, testing::ValuesIn(kLabelCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClassicTest, LongStringsAreCutToTheirFields)
{
    const std::string longText = [] {
        std::string s(9000, ' ');
        for (std::size_t i = 0; i < s.size(); ++i) {
            s[i] = static_cast<char>('a' + i % 26);
        }
        return s;
    }();
    PmAddrRec in = Contact(5, "X", "Y", 1);
    in.note = longText;
    in.company = longText.substr(0, 300);
    in.firstName = longText.substr(0, 255); // the first length that takes the 0xFF escape
    in.phones[0] = longText.substr(0, 40);
    in.customs[3] = longText.substr(0, 64);
    in.address = longText.substr(0, 254); // the last length of one byte
    std::vector<PmAddrRec> list = {in, Contact(6, "Next", "One", 2)};
    const std::string path = Write(ClassicFile(AddrHeader(), list));
    PmAddrUtil util(path);
    ASSERT_TRUE(util.IsLoaded()) << Log();
    ASSERT_EQ(util.GetRecords().size(), 2u);
    const PmAddrRec& got = util.GetRecords()[0];
    EXPECT_EQ(got.note, longText.substr(0, 8191));
    EXPECT_EQ(got.company, longText.substr(0, 255));
    EXPECT_EQ(got.firstName, longText.substr(0, 31));
    EXPECT_EQ(got.phones[0], longText.substr(0, 31));
    EXPECT_EQ(got.customs[3], longText.substr(0, 63));
    EXPECT_EQ(got.address, longText.substr(0, 254));
    ExpectSame(util.GetRecords()[1], list[1], "Personal");

    // The other databases cut at their own widths.
    DateIn entry = Entry(1, 0);
    entry.rec.description = longText;
    entry.rec.note = longText;
    PmDateUtil date(Write(ClassicFile(DateHeader(), std::vector<DateIn>{entry, Entry(2, 1)}), "d.dat"));
    ASSERT_EQ(date.GetRecords().size(), 2u);
    EXPECT_EQ(date.GetRecords()[0].description, longText.substr(0, 511));
    EXPECT_EQ(date.GetRecords()[0].note, longText.substr(0, 8191));
    PmMemoUtil memo(Write(ClassicFile(MemoHeader(), std::vector<PmMemoRec>{Memo(1, 0, longText)}), "m.dat"));
    ASSERT_EQ(memo.GetRecords().size(), 1u);
    EXPECT_EQ(memo.GetRecords()[0].text, longText.substr(0, 8191));
    PmTodoRec todo = Todo(1, 0, 1);
    todo.description = longText;
    todo.note = longText;
    PmTodoUtil todos(Write(ClassicFile(TodoHeader(), std::vector<PmTodoRec>{todo}), "t.dat"));
    ASSERT_EQ(todos.GetRecords().size(), 1u);
    EXPECT_EQ(todos.GetRecords()[0].description, longText.substr(0, 8191));
    EXPECT_EQ(todos.GetRecords()[0].note, longText.substr(0, 8191));
}

// ---- Datebook ----------------------------------------------------------------------------

TEST_F(ClassicTest, DatebookWithEveryRepeatKindAndBackReferences)
{
    const std::vector<DateIn> entries = {
        Entry(1, 0),
        Entry(2, 1),
        Entry(3, 2, kPmRepeatClassDef, {1104800000, 1105400000}),
        Entry(4, 2, 0x8003),                     // a weekly class defined before
        Entry(5, 3),                             //
        Entry(6, 4),                             // one value after the four common ones
        Entry(7, 4, 0x8001, {1106000000}),       // back-reference after exception dates
        Entry(8, 5),                             //
        Entry(9, 6),                             //
        Entry(10, 5, 0x800F),                    //
        Entry(11, 0, kPmRepeatClassDef, {1, 2}), // no repeat, with exceptions
    };
    const std::string path = Write(ClassicFile(DateHeader(), entries));
    PmDateUtil util(path);
    ASSERT_TRUE(util.IsLoaded()) << Log();
    ASSERT_EQ(util.GetRecords().size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        ExpectSame(util.GetRecords()[i], entries[i].rec);
    }
    ExpectLogged("Loading Palm Desktop datebook: " + path, 2, "PalmClassicDBUtil.cpp");
    EXPECT_EQ(Log().find("[!!!]"), std::string::npos) << Log();
}

TEST_F(ClassicTest, DatebookDropsEntriesWithoutStartOrEnd)
{
    std::vector<DateIn> entries = {Entry(1, 1), Entry(2, 2), Entry(3, 4), Entry(4, 0)};
    entries[1].rec.startDate = -1;
    entries[2].rec.endDate = -1;
    PmDateUtil util(Write(ClassicFile(DateHeader(), entries)));
    ASSERT_TRUE(util.IsLoaded());
    ASSERT_EQ(util.GetRecords().size(), 2u);
    ExpectSame(util.GetRecords()[0], entries[0].rec);
    ExpectSame(util.GetRecords()[1], entries[3].rec);
}

TEST_F(ClassicTest, RepeatClassWithAnotherSchemaNumberEndsTheRecords)
{
    std::vector<DateIn> entries = {Entry(1, 1), Entry(2, 2), Entry(3, 3)};
    Layout layout;
    PalmFileWriter w = ClassicFile(DateHeader(), entries, &layout);
    // The schema number of the second entry's class definition: after its type code,
    // exception count and marker.
    const std::size_t repeatStart = layout.recordEnds[1] - (4 + 2 + 2 + 4 + 7 + 16 + 5);
    std::string bytes = w.Data();
    ASSERT_EQ(bytes.substr(repeatStart + 12, 7), "CWeekly");
    bytes[repeatStart + 8] = 2;
    PalmFileWriter changed;
    changed.Bytes(bytes);
    PmDateUtil util(Write(changed));
    EXPECT_TRUE(util.IsLoaded()) << "a record that cannot be decoded does not fail the load";
    ASSERT_EQ(util.GetRecords().size(), 1u);
    ExpectSame(util.GetRecords()[0], entries[0].rec);
}

// ---- Memos and to-dos --------------------------------------------------------------------

TEST_F(ClassicTest, MemosAndTodosDropDeletedAndArchived)
{
    struct StatusCase
    {
        std::int32_t status;
        bool kept;
    };
    const StatusCase cases[] = {{0x00, true},  {0x01, true}, {0x04, false}, {0x80, false},
                                {0x84, false}, {0x40, true}, {0x104, false}};
    std::vector<PmMemoRec> memos;
    std::vector<PmTodoRec> todos;
    std::vector<std::int32_t> keptIds;
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(std::size(cases)); ++i) {
        memos.push_back(Memo(i + 1, cases[i].status, "Memo " + std::to_string(i) + "\r\nbody"));
        todos.push_back(Todo(i + 1, cases[i].status, 1 + i % 5));
        if (cases[i].kept) {
            keptIds.push_back(i + 1);
        }
    }
    const std::string memoPath = Write(ClassicFile(MemoHeader(), memos), "memopad.dat");
    const std::string todoPath = Write(ClassicFile(TodoHeader(), todos), "todo.dat");
    PmMemoUtil memo(memoPath);
    PmTodoUtil todo(todoPath);
    ASSERT_TRUE(memo.IsLoaded()) << Log();
    ASSERT_TRUE(todo.IsLoaded()) << Log();
    ASSERT_EQ(memo.GetRecords().size(), keptIds.size());
    ASSERT_EQ(todo.GetRecords().size(), keptIds.size());
    for (std::size_t i = 0; i < keptIds.size(); ++i) {
        const auto source = static_cast<std::size_t>(keptIds[i] - 1);
        ExpectSame(memo.GetRecords()[i], memos[source]);
        ExpectSame(todo.GetRecords()[i], todos[source]);
    }
    ExpectLogged("Loading Palm Desktop memopad: " + memoPath, 2, "PalmClassicDBUtil.cpp");
    ExpectLogged("Loading Palm Desktop todo list: " + todoPath, 2, "PalmClassicDBUtil.cpp");
}

// ---- Damaged and foreign files -----------------------------------------------------------

// Each reader over a file, through one interface.
struct AnyReader
{
    std::function<bool(const std::string&)> load;
    std::function<std::size_t()> count;
};

template <class Util> AnyReader MakeReader(std::shared_ptr<Util> util)
{
    return {[util](const std::string& path) { return util->Load(path); },
            [util] { return util->GetRecords().size(); }};
}

enum class Db
{
    Addr,
    Date,
    Memo,
    Todo
};

AnyReader ReaderFor(Db db)
{
    switch (db) {
    case Db::Addr:
        return MakeReader(std::make_shared<PmAddrUtil>());
    case Db::Date:
        return MakeReader(std::make_shared<PmDateUtil>());
    case Db::Memo:
        return MakeReader(std::make_shared<PmMemoUtil>());
    default:
        return MakeReader(std::make_shared<PmTodoUtil>());
    }
}

// A file of three records of the database, with its layout.
PalmFileWriter SampleFile(Db db, Layout& layout)
{
    switch (db) {
    case Db::Addr:
        return ClassicFile(AddrHeader(), Contacts(), &layout);
    case Db::Date:
        return ClassicFile(DateHeader(),
                           std::vector<DateIn>{Entry(1, 2), Entry(2, 5, 0x8001, {9}), Entry(3, 4)}, &layout);
    case Db::Memo:
        return ClassicFile(
            MemoHeader(), std::vector<PmMemoRec>{Memo(1, 0, "a"), Memo(2, 0, "b"), Memo(3, 0, "c")}, &layout);
    default:
        return ClassicFile(TodoHeader(), std::vector<PmTodoRec>{Todo(1, 0, 1), Todo(2, 0, 2), Todo(3, 0, 5)},
                           &layout);
    }
}

const char* const kLoadFailed[] = {
    "Can not load Palm Desktop Contacts: ", "Failed to load Palm Desktop datebook: ",
    "Load Palm Desktop memopad failed: ", "Load Palm Desktop todo list failed: "};

enum class Cut
{
    InTag,
    InName,
    InTable,
    InCategories,
    InSchema,
    InTotal,
    InFirstRecord,
    AfterSecondRecord,
    InThirdRecord,
    LastByteOfThirdRecord,
};

struct CutCase
{
    const char* name;
    Db db;
    Cut cut;
    bool loads;
    std::size_t records;
};

const CutCase kCutCases[] = {
    {"addr_tag", Db::Addr, Cut::InTag, false, 0},
    {"addr_name", Db::Addr, Cut::InName, false, 0},
    {"addr_labels", Db::Addr, Cut::InTable, false, 0},
    {"addr_categories", Db::Addr, Cut::InCategories, false, 0},
    {"addr_schema", Db::Addr, Cut::InSchema, false, 0},
    {"addr_total", Db::Addr, Cut::InTotal, false, 0},
    {"addr_first_record", Db::Addr, Cut::InFirstRecord, true, 0},
    {"addr_after_second_record", Db::Addr, Cut::AfterSecondRecord, true, 2},
    {"addr_third_record", Db::Addr, Cut::InThirdRecord, true, 2},
    {"addr_last_byte", Db::Addr, Cut::LastByteOfThirdRecord, true, 2},
    {"date_table", Db::Date, Cut::InTable, false, 0},
    {"date_categories", Db::Date, Cut::InCategories, false, 0},
    {"date_schema", Db::Date, Cut::InSchema, false, 0},
    {"date_third_record", Db::Date, Cut::InThirdRecord, true, 2},
    {"date_last_byte_in_repeat", Db::Date, Cut::LastByteOfThirdRecord, true, 2},
    {"memo_name", Db::Memo, Cut::InName, false, 0},
    {"memo_total", Db::Memo, Cut::InTotal, false, 0},
    {"memo_after_second_record", Db::Memo, Cut::AfterSecondRecord, true, 2},
    {"todo_categories", Db::Todo, Cut::InCategories, false, 0},
    {"todo_first_record", Db::Todo, Cut::InFirstRecord, true, 0},
    {"todo_third_record", Db::Todo, Cut::InThirdRecord, true, 2},
};

class CutTest : public ClassicTest, public testing::WithParamInterface<CutCase>
{
};

TEST_P(CutTest, HeaderCutFailsRecordCutKeepsTheRecordsBefore)
{
    const CutCase& c = GetParam();
    Layout l;
    PalmFileWriter w = SampleFile(c.db, l);
    const auto middle = [](std::size_t from, std::size_t to) { return from + (to - from) / 2; };
    std::size_t at = 0;
    switch (c.cut) {
    case Cut::InTag:
        at = 2;
        break;
    case Cut::InName:
        at = middle(l.tagEnd, l.nameEnd);
        break;
    case Cut::InTable:
        at = middle(l.nameEnd, l.tableEnd);
        break;
    case Cut::InCategories:
        at = middle(l.tableEnd, l.categoriesEnd);
        break;
    case Cut::InSchema:
        at = middle(l.categoriesEnd, l.schemaEnd);
        break;
    case Cut::InTotal:
        at = l.schemaEnd + 3;
        break;
    case Cut::InFirstRecord:
        at = middle(l.totalEnd, l.recordEnds[0]);
        break;
    case Cut::AfterSecondRecord:
        at = l.recordEnds[1];
        break;
    case Cut::InThirdRecord:
        at = middle(l.recordEnds[1], l.recordEnds[2]);
        break;
    case Cut::LastByteOfThirdRecord:
        at = l.recordEnds[2] - 1;
        break;
    }
    ASSERT_LT(at, w.Size());
    const std::string path = Write(w.Truncate(at));
    AnyReader reader = ReaderFor(c.db);
    EXPECT_EQ(reader.load(path), c.loads);
    EXPECT_EQ(reader.count(), c.records);
    const auto db = static_cast<std::size_t>(c.db);
    if (!c.loads) {
        ExpectLogged(kLoadFailed[db] + path, 0, "PalmClassicDBUtil.cpp");
    } else {
        EXPECT_EQ(Count(kLoadFailed[db] + path), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Cuts, CutTest, testing::ValuesIn(kCutCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClassicTest, WrongVersionTagsFailAtTheVersionCheck)
{
    struct TagCase
    {
        Db db;
        std::int32_t tag;
    };
    const TagCase cases[] = {
        {Db::Addr, PmDateUtil::kVersionTag}, {Db::Addr, 0x41420200}, {Db::Date, PmAddrUtil::kVersionTag},
        {Db::Memo, PmTodoUtil::kVersionTag}, {Db::Todo, 0x00000000}, {Db::Memo, 0x4D500200},
    };
    for (const TagCase& c : cases) {
        Layout l;
        PalmFileWriter w = SampleFile(c.db, l);
        std::string bytes = w.Data();
        PalmFileWriter tag;
        tag.Int32(c.tag);
        bytes.replace(0, 4, tag.Data());
        PalmFileWriter changed;
        changed.Bytes(bytes);
        const std::string path = Write(changed);
        AnyReader reader = ReaderFor(c.db);
        EXPECT_FALSE(reader.load(path)) << static_cast<int>(c.db) << " " << std::hex << c.tag;
        EXPECT_EQ(reader.count(), 0u);
    }
    EXPECT_EQ(Count("Failed to check Palm Desktop address book file version."), 2);
    EXPECT_EQ(Log().find("Read Palm Desktop address book database file name"), std::string::npos)
        << "nothing is read after the tag";

    // A 4.1.x file starts with its magic code, not with a classic tag.
    PalmFileWriter ex;
    ex.Bytes(std::vector<std::uint8_t>{0xBE, 0xBA, 0xFE, 0xCA, 0x0F})
        .Bytes("PalmSG Database00RV")
        .Int32(0x41420200);
    PmAddrUtil util(Write(ex, "ex.dat"));
    EXPECT_FALSE(util.IsLoaded());
}

TEST_F(ClassicTest, EmptyMissingAndReadOnlyFiles)
{
    PmMemoUtil memo;
    EXPECT_FALSE(memo.Load(""));
    ExpectLogged("Invalid Palm Desktop memopad database file name.", 0, "PalmClassicDBUtil.cpp");
    EXPECT_EQ(Log().find("Loading Palm Desktop memopad"), std::string::npos) << "rejected before loading";

    const std::string missing = m_home.Path("none/address.dat");
    PmAddrUtil addr(missing);
    EXPECT_FALSE(addr.IsLoaded());
    ExpectLogged("Failed to open Palm Desktop address book file: " + missing, 0, "PalmClassicDBUtil.cpp");
    ExpectLogged("Can not load Palm Desktop Contacts: " + missing, 0, "PalmClassicDBUtil.cpp");

    EXPECT_EQ(addr.GetLoadError(), "No such file or directory");

    // Palm Desktop is only ever read: a read-only database (a copy from a CD) loads. The file
    // access refuses a writing open of a file without write permission, for root as well.
    Layout l;
    const std::string path = Write(SampleFile(Db::Todo, l), "ro/todo.dat");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    PmTodoUtil todo(path);
    EXPECT_TRUE(todo.IsLoaded());
    EXPECT_EQ(todo.GetRecords().size(), 3u);
    EXPECT_EQ(todo.GetLoadError(), "");
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);

    // A failed load after a good one holds nothing of the earlier file.
    EXPECT_FALSE(todo.Load(missing));
    EXPECT_TRUE(todo.GetRecords().empty());
    EXPECT_EQ(todo.GetCategories(), nullptr);
    std::string name;
    EXPECT_FALSE(todo.GetCategoryName(0, name));
}

// ---- Categories and schema ---------------------------------------------------------------

TEST_F(ClassicTest, CategoryBlockRules)
{
    struct CategoryCase
    {
        const char* name;
        std::vector<PalmCategoryEntry> categories;
        bool loads;
        std::int32_t index0Id;
        const char* index0Name;
    };
    const std::vector<CategoryCase> cases = {
        {"id_0_collides_with_unfiled", {{1, 1, 0, "Business", ""}, {2, 0, 0, "Zero", ""}}, false, 0, ""},
        {"index_0_replaces_unfiled", {{0, 5, 0, "Keine", ""}, {1, 1, 0, "Business", ""}}, true, 5, "Keine"},
        {"duplicate_id", {{1, 3, 0, "A", ""}, {2, 3, 0, "B", ""}}, false, 0, ""},
        {"index_beyond_the_table", {{16, 3, 0, "Far", ""}}, false, 0, ""},
        {"seventeen_categories", std::vector<PalmCategoryEntry>(17, {-1, -1, 0, "Auto", ""}), false, 0, ""},
        {"fifteen_more_fill_the_table", std::vector<PalmCategoryEntry>(15, {-1, -1, 0, "Auto", ""}), true, 0,
         "Unfiled"},
    };
    for (const CategoryCase& c : cases) {
        SCOPED_TRACE(c.name);
        Header h = MemoHeader();
        h.categories = c.categories;
        const std::string path = Write(ClassicFile(h, std::vector<PmMemoRec>{Memo(1, 0, "x")}));
        PmMemoUtil util(path);
        EXPECT_EQ(util.IsLoaded(), c.loads);
        EXPECT_EQ(util.GetRecords().size(), c.loads ? 1u : 0u);
        if (c.loads) {
            const PmCategory* first = util.GetCategories()->GetByIndex(0);
            ASSERT_NE(first, nullptr);
            EXPECT_EQ(first->GetID(), c.index0Id);
            EXPECT_EQ(first->GetName(), c.index0Name);
        }
    }
    EXPECT_EQ(Count("Failed to add category information."), 4);
    EXPECT_EQ(Count("Failed to load category information."), 4);
}

TEST_F(ClassicTest, CategoryNamesAreCutAndFileNamesMadeFromThem)
{
    Header h = AddrHeader();
    h.categories = {{1, 1, 0, "A very long category", "ignored"}, {2, 2, 0, "A/B", "ignored too"}};
    std::vector<PmAddrRec> list = {Contact(1, "A", "B", 1), Contact(2, "C", "D", 2)};
    PmAddrUtil util(Write(ClassicFile(h, list)));
    ASSERT_TRUE(util.IsLoaded());
    EXPECT_EQ(util.GetRecords()[0].categoryName, "A very long cat");
    EXPECT_EQ(util.GetRecords()[1].categoryName, "A/B");
    EXPECT_EQ(util.GetCategories()->FindByID(2)->GetFileName(), "A_B");
    EXPECT_EQ(util.GetCategories()->FindByID(1)->GetFileName(), "A very long cat");
}

TEST_F(ClassicTest, AddressBookLogsEachFailingHeaderStep)
{
    struct StepCase
    {
        const char* name;
        std::function<void(PalmFileWriter&)> write;
        const char* message;
    };
    const Header h = AddrHeader();
    const auto upToCategories = [h](PalmFileWriter& w) {
        w.Int32(h.tag).CString(h.databaseName).CString("");
    };
    const auto upToSchema = [=](PalmFileWriter& w) {
        upToCategories(w);
        w.CategoryBlock(128, {});
    };
    const std::vector<StepCase> cases = {
        {"name_too_long",
         [](PalmFileWriter& w) { w.Int32(PmAddrUtil::kVersionTag).CString(std::string(261, 'n')); },
         "Failed to read Palm Desktop address book database file name."},
        {"label_length", [h](PalmFileWriter& w) { w.Int32(h.tag).CString(h.databaseName); },
         "Failed to read the length of custom labels."},
        {"label_long_length",
         [h](PalmFileWriter& w) { w.Int32(h.tag).CString(h.databaseName).Byte(0xFF).Byte(1); },
         "Incorrect custom label length reading."},
        {"label_content",
         [h](PalmFileWriter& w) { w.Int32(h.tag).CString(h.databaseName).Byte(10).Bytes("ab"); },
         "Custom label content reading error."},
        {"next_free_id", upToCategories, "Failed to read the next feed ID of the categories."},
        {"category_count", [=](PalmFileWriter& w) { upToCategories(w), w.Int32(128); },
         "Failed to read categories count."},
        {"category_index", [=](PalmFileWriter& w) { upToCategories(w), w.Int32(128).Int32(1); },
         "Failed to read category index."},
        {"category_id", [=](PalmFileWriter& w) { upToCategories(w), w.Int32(128).Int32(1).Int32(1); },
         "Failed to read category ID."},
        {"category_dirty",
         [=](PalmFileWriter& w) { upToCategories(w), w.Int32(128).Int32(1).Int32(1).Int32(3); },
         "Failed to read category dirty field."},
        {"category_name",
         [=](PalmFileWriter& w) { upToCategories(w), w.Int32(128).Int32(1).Int32(1).Int32(3).Int32(0); },
         "Failed to read the name of the category."},
        {"category_file_name",
         [=](PalmFileWriter& w) {
             upToCategories(w), w.Int32(128).Int32(1).Int32(1).Int32(3).Int32(0).CString("Name").Byte(5);
         },
         "Failed to read category file name."},
        {"resource_id", upToSchema, "Failed to read schema resource ID."},
        {"fields_per_row", [=](PalmFileWriter& w) { upToSchema(w), w.Int32(74); },
         "Failed to read fields per row."},
        {"id_position", [=](PalmFileWriter& w) { upToSchema(w), w.Int32(74).Int32(30); },
         "Failed to read resource ID field position."},
        {"status_position", [=](PalmFileWriter& w) { upToSchema(w), w.Int32(74).Int32(30).Int32(0); },
         "Failed to read status field position."},
        {"placement_position",
         [=](PalmFileWriter& w) { upToSchema(w), w.Int32(74).Int32(30).Int32(0).Int32(1); },
         "Failed to read placement field position."},
        {"field_count",
         [=](PalmFileWriter& w) { upToSchema(w), w.Int32(74).Int32(30).Int32(0).Int32(1).Int32(2); },
         "Failed to read field count."},
        {"field_count_above_the_list",
         [=](PalmFileWriter& w) {
             upToSchema(w), w.SchemaBlock(PalmSchema{74, 30, 0, 1, 2, std::vector<std::uint16_t>(31, 1)});
         },
         "Failed to read field count."},
        {"field_type",
         [=](PalmFileWriter& w) {
             upToSchema(w), w.SchemaBlock(PalmSchema{74, 30, 0, 1, 2, {1, 1, 1}, 30});
         },
         "Failed to read field type information. Field index=3"},
        {"total_fields",
         [=](PalmFileWriter& w) {
             upToSchema(w), w.SchemaBlock(PalmSchema{74, 30, 0, 1, 2, kAddrTypes}).UInt16(0);
         },
         "Failed to read field count information."},
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(c.name);
        PalmFileWriter w;
        c.write(w);
        const std::string path = Write(w, std::string(c.name) + ".dat");
        PmAddrUtil util(path);
        EXPECT_FALSE(util.IsLoaded());
        // The custom labels are the address reader's own; every other step is the shared base's.
        const bool label = std::string(c.name).rfind("label_", 0) == 0;
        ExpectLogged(c.message, 0, label ? "PalmAddr.cpp" : "PalmClassicDBUtil.cpp");
        ExpectLogged("Can not load Palm Desktop Contacts: " + path, 0, "PalmClassicDBUtil.cpp");
    }
    EXPECT_EQ(Count("Failed to load custom labels information."), 3);
    EXPECT_EQ(Count("Failed to load category information."), 7);
    EXPECT_EQ(Count("Failed to load database schema information."), 8);
    EXPECT_EQ(Count("Failed to load Palm Desktop address book records."), 1);
}

TEST_F(ClassicTest, RowWidthsAndTotals)
{
    struct RowCase
    {
        const char* name;
        std::int32_t fieldsPerRow;
        std::int64_t total; // -1: records x 6
        std::size_t records;
        int unknownLines;
    };
    const RowCase cases[] = {
        {"remainder_ignored", 6, 6 * 3 + 4, 3, 0},
        {"total_short_of_the_records", 6, 6 * 2, 2, 0},
        {"zero_fields_per_row", 0, -1, 0, 0},
        {"negative_fields_per_row", -6, -1, 0, 0},
        {"total_far_beyond_the_file", 6, 0xFFFFFFFF, 3, 0},
    };
    for (const RowCase& c : cases) {
        SCOPED_TRACE(c.name);
        Header h = MemoHeader();
        h.schema.fieldsPerRow = c.fieldsPerRow;
        const std::vector<PmMemoRec> memos = {Memo(1, 0, "a"), Memo(2, 0, "b"), Memo(3, 0, "c")};
        PmMemoUtil util(Write(ClassicFile(h, memos, nullptr, c.total)));
        EXPECT_TRUE(util.IsLoaded());
        ASSERT_EQ(util.GetRecords().size(), c.records);
        for (std::size_t i = 0; i < c.records; ++i) {
            ExpectSame(util.GetRecords()[i], memos[i]);
        }
    }
}

TEST_F(ClassicTest, PositionsBeyondTheLayoutReadNothing)
{
    // An address row of 31 positions: the 31st reads nothing, so the next record starts with
    // what the file holds there. Here each record is followed by one more integer field that
    // the next row then takes as its record ID.
    Header h = AddrHeader();
    h.schema.fieldsPerRow = 31;
    PalmFileWriter w;
    w.Int32(h.tag).CString(h.databaseName).CString(h.table).CategoryBlock(128, h.categories);
    w.SchemaBlock(h.schema).UInt32(31 * 2);
    WriteRecord(w, Contact(1, "A", "B", 1));
    WriteRecord(w, Contact(2, "C", "D", 2));
    PmAddrUtil util(Write(w));
    ASSERT_TRUE(util.IsLoaded());
    ASSERT_EQ(util.GetRecords().size(), 2u);
    EXPECT_EQ(util.GetRecords()[1].firstName, "C");
    EXPECT_EQ(Count("Unknown field ID read (ID=30), ignore it."), 2);
    ExpectLogged("Unknown field ID read (ID=30), ignore it.", 0, "PalmClassicDBUtil.cpp");
}

TEST_F(ClassicTest, FieldOfAnotherTypeEndsTheRecordsButNotTheLoad)
{
    struct TypeCase
    {
        const char* name;
        int position;
        std::function<void(PalmFileWriter&)> field;
        bool decodes;
    };
    const std::vector<TypeCase> cases = {
        {"date_code_at_an_integer", 0, [](PalmFileWriter& w) { w.DateField(55); }, true},
        {"boolean_code_at_an_integer", 24, [](PalmFileWriter& w) { w.BoolField(true); }, true},
        {"integer_code_at_a_string", 4, [](PalmFileWriter& w) { w.IntField(1); }, false},
        {"string_code_at_an_integer", 1, [](PalmFileWriter& w) { w.StringField("x"); }, false},
        {"unknown_code", 7, [](PalmFileWriter& w) { w.IntField(0, 2); }, false},
    };
    for (const TypeCase& c : cases) {
        SCOPED_TRACE(c.name);
        // Record 2 carries the odd field at its position; records 1 and 3 are plain.
        std::vector<std::string> fields = AddrFields(Contact(2, "C", "D", 2));
        const Header h = AddrHeader();
        PalmFileWriter w;
        w.Int32(h.tag).CString(h.databaseName).CString(h.table).CategoryBlock(128, h.categories);
        w.SchemaBlock(h.schema).UInt32(30 * 3);
        WriteRecord(w, Contact(1, "A", "B", 1));
        for (int p = 0; p < 30; ++p) {
            if (p == c.position) {
                c.field(w);
            } else {
                w.Bytes(fields[static_cast<std::size_t>(p)]);
            }
        }
        WriteRecord(w, Contact(3, "E", "F", 1));
        PmAddrUtil util(Write(w, std::string(c.name) + ".dat"));
        EXPECT_TRUE(util.IsLoaded());
        ASSERT_EQ(util.GetRecords().size(), c.decodes ? 3u : 1u);
        EXPECT_EQ(util.GetRecords()[0].recordId, 1);
        if (c.decodes) {
            EXPECT_EQ(util.GetRecords()[2].recordId, 3);
        }
    }
    EXPECT_EQ(
        Count("Palm Desktop address book database is loaded successfully. 1 record(s) are loaded in total."),
        3);
}

// ---- Loading by user ---------------------------------------------------------------------

TEST_F(ClassicTest, LoadByUserFindsTheFilesWhateverTheirCase)
{
    const std::string root = m_home.Path("Palm");
    m_home.WriteFile("registry.ini", "[HKEY_CURRENT_USER\\Software\\U.S. Robotics\\Pilot Desktop\\Core]\n"
                                     "DesktopPath=" +
                                         root + "/\n");
    Layout l;
    Write(SampleFile(Db::Addr, l), "Palm/User1/Address/ADDRESS.DAT");
    Write(SampleFile(Db::Date, l), "Palm/User1/datebook/datebook.dat");
    Write(SampleFile(Db::Memo, l), "Palm/User1/MemoPad/MemoPad.dat");
    Write(SampleFile(Db::Todo, l), "Palm/User1/todo/todo.dat");
    PmResetUserList();
    ASSERT_EQ(PmBuildUserList(), 1);
    const std::int32_t user = PmGetUsers()[0].userId;

    PmAddrUtil addr;
    PmDateUtil date;
    PmMemoUtil memo;
    PmTodoUtil todo;
    EXPECT_TRUE(addr.LoadByUser(user)) << Log();
    EXPECT_TRUE(date.LoadByUser(user)) << Log();
    EXPECT_TRUE(memo.LoadByUser(user)) << Log();
    EXPECT_TRUE(todo.LoadByUser(user)) << Log();
    EXPECT_EQ(addr.GetRecords().size(), 3u);
    EXPECT_EQ(date.GetRecords().size(), 3u);
    EXPECT_EQ(memo.GetRecords().size(), 3u);
    EXPECT_EQ(todo.GetRecords().size(), 3u);
    EXPECT_TRUE(addr.IsLoaded());
    ExpectLogged("Loading Palm Desktop address book file by user: User(" + std::to_string(user) +
                     ") - File(" + addr.GetPath() + ")",
                 2, "PalmClassicDBUtil.cpp");
    EXPECT_NE(addr.GetPath().find("/Address/ADDRESS.DAT"), std::string::npos) << addr.GetPath();

    const std::int32_t stranger = user == 12345 ? 12346 : 12345;
    EXPECT_FALSE(addr.LoadByUser(stranger));
    EXPECT_FALSE(addr.IsLoaded());
    EXPECT_FALSE(date.LoadByUser(stranger));
    EXPECT_FALSE(memo.LoadByUser(stranger));
    EXPECT_FALSE(todo.LoadByUser(stranger));
    for (std::size_t count : {addr.GetRecords().size(), date.GetRecords().size(), memo.GetRecords().size(),
                              todo.GetRecords().size()}) {
        EXPECT_EQ(count, 0u) << "nothing of the earlier load stays";
    }
    const std::string id = std::to_string(stranger);
    ExpectLogged("Failed to get Palm Desktop data path by user, User ID=" + id, 0, "PalmClassicDBUtil.cpp");
    ExpectLogged("Can not get Palm Desktop user data path. User ID=" + id, 0, "PalmClassicDBUtil.cpp");
    PmResetUserList();
}

// ---- Fuzz seeds ---------------------------------------------------------------------------

// Writes the seeds of fuzz/seeds/fuzz_palm_classic into $FW_PALM_SEED_DIR; skipped without it.
TEST_F(ClassicTest, WritesFuzzSeeds)
{
    const char* dir = std::getenv("FW_PALM_SEED_DIR");
    if (dir == nullptr) {
        GTEST_SKIP() << "FW_PALM_SEED_DIR is not set";
    }
    PmAddrRec contact = Contact(1, "Ann", "Lee", 1);
    contact.note = "n";
    const std::vector<std::pair<std::string, PalmFileWriter>> seeds = {
        {"address.dat", ClassicFile(AddrHeader(), std::vector<PmAddrRec>{contact, Contact(2, "B", "C", 2)})},
        {"datebook.dat", ClassicFile(DateHeader(), std::vector<DateIn>{Entry(1, 2), Entry(2, 2, 0x8001, {7}),
                                                                        Entry(3, 4), Entry(4, 5), Entry(5, 0)})},
        {"memopad.dat",
         ClassicFile(MemoHeader(), std::vector<PmMemoRec>{Memo(1, 0, "Title\r\nBody"), Memo(2, 0x80, "gone")})},
        {"todo.dat", ClassicFile(TodoHeader(), std::vector<PmTodoRec>{Todo(1, 0, 1), Todo(2, 4, 5)})},
        {"datebook-long.dat", [] {
             DateIn entry = Entry(1, 3);
             entry.rec.note = std::string(300, 'x');
             return ClassicFile(DateHeader(), std::vector<DateIn>{entry});
         }()},
    };
    for (const auto& [name, writer] : seeds) {
        EXPECT_TRUE(writer.WriteFile(std::string(dir) + "/" + name)) << name;
    }
}

// ---- Conversion into the common records ---------------------------------------------------

TEST(ClassicConvert, ContactFieldsPhonesAndCategory)
{
    PmAddrRec rec = Contacts()[1]; // labels 0, 0, 3, 5, 6
    rec.company = std::string(100, 'c');
    rec.zipCode = "D-12345-67890-1234";
    rec.categoryName = "Personal";
    rec.phones[3] = "";
    CommAddrRec out;
    std::memset(&out, 0x5A, sizeof out); // whatever was there goes
    PmToComm(rec, out);
    EXPECT_STREQ(out.FirstName, rec.firstName.c_str());
    EXPECT_STREQ(out.LastName, rec.lastName.c_str());
    EXPECT_STREQ(out.Title, "Sales Manager");
    EXPECT_EQ(std::string(out.Company), std::string(63, 'c'));
    EXPECT_STREQ(out.WorkAddress.Street, rec.address.c_str());
    EXPECT_STREQ(out.WorkAddress.City, "Berlin");
    EXPECT_STREQ(out.WorkAddress.State, "BE");
    EXPECT_STREQ(out.WorkAddress.Postal, "D-12345-67890-1");
    EXPECT_STREQ(out.WorkAddress.Country, "Germany");
    EXPECT_STREQ(out.HomeAddress.Street, "");
    EXPECT_STREQ(out.Note, rec.note.c_str());
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_STREQ(out.CustomValues[i], rec.customs[i].c_str()) << i;
    }
    EXPECT_STREQ(out.CustomValues[4], "");
    EXPECT_STREQ(out.WorkPhone, "+49 30 5678") << "the second work phone wins";
    EXPECT_STREQ(out.OtherPhone, "+49 30 9999");
    EXPECT_STREQ(out.PrimaryPhone, "") << "an empty phone is not copied";
    EXPECT_STREQ(out.Pager, "0170 1111");
    EXPECT_STREQ(out.HomePhone, "");
    EXPECT_STREQ(out.Category, "Personal");
    EXPECT_STREQ(out.MappedValues[0], "");
    EXPECT_EQ(out.NativeRecord, nullptr);
}

TEST(ClassicConvert, CalendarEntry)
{
    PmDateRec rec;
    rec.startDate = 1103968800; // 2004-12-25 10:00 UTC, 11:00 in Berlin
    rec.endDate = 1103976000;
    rec.description = std::string(400, 'd');
    rec.note = "Bring cake";
    rec.untimed = 5;
    rec.alarmSet = 1;
    rec.alarmAdvance = 2;
    rec.alarmUnit = 1;
    rec.repeat.kind = 5;
    rec.repeat.interval = 1;
    rec.repeat.dayOfMonth = 25;
    rec.repeat.monthIndex = 11;
    rec.repeat.endDate = kPmNoEndDate;
    CommDateRec out;
    PmToComm(rec, out);
    EXPECT_EQ(std::string(out.Subject), std::string(255, 'd'));
    EXPECT_STREQ(out.Notes, "Bring cake");
    EXPECT_EQ(out.AllDay, 1);
    EXPECT_EQ(out.Start.wYear, 2004);
    EXPECT_EQ(out.Start.wMonth, 12);
    EXPECT_EQ(out.Start.wDay, 25);
    EXPECT_EQ(out.Start.wHour, 11);
    EXPECT_EQ(out.End.wHour, 13);
    EXPECT_EQ(out.ReminderSet, 1);
    EXPECT_EQ(out.ReminderCount, 1);
    EXPECT_EQ(out.Reminders[0].Amount, 2);
    EXPECT_EQ(out.Reminders[0].Unit, 2);
    EXPECT_EQ(out.Recurrence.Kind, 6);
    EXPECT_EQ(out.Recurrence.DayOfMonth, 25);
    EXPECT_EQ(out.Recurrence.MonthOfYear, 12);
    EXPECT_EQ(out.Recurrence.HasEnd, 0);

    rec.alarmSet = 0;
    rec.untimed = 0;
    rec.repeat = PmRepeat{};
    PmToComm(rec, out);
    EXPECT_EQ(out.AllDay, 0);
    EXPECT_EQ(out.ReminderSet, 0);
    EXPECT_EQ(out.ReminderCount, 0);
    EXPECT_EQ(out.Recurrence.Kind, 0);
}

TEST(ClassicConvert, TodoItems)
{
    struct TodoCase
    {
        std::int32_t priority;
        std::int32_t isPrivate;
        std::int32_t completed;
        std::int32_t wantPriority;
    };
    const TodoCase cases[] = {{1, 0, 0, 1}, {2, 1, 1, 0}, {4, 0, 7, 0},
                              {5, 3, 0, 2}, {0, 0, 0, 0}, {9, 0, 0, 0}};
    for (const TodoCase& c : cases) {
        PmTodoRec rec = Todo(1, 0, c.priority);
        rec.isPrivate = c.isPrivate;
        rec.completed = c.completed;
        rec.description = std::string(300, 's');
        rec.note = std::string(8191, 'n');
        CommTaskRec out;
        PmToComm(rec, out);
        EXPECT_EQ(out.Priority, c.wantPriority) << c.priority;
        EXPECT_EQ(out.Private, c.isPrivate != 0 ? 1 : 0);
        EXPECT_EQ(out.Sensitivity, c.isPrivate != 0 ? 2 : 0);
        EXPECT_EQ(out.Completed, c.completed != 0 ? 1 : 0);
        EXPECT_EQ(std::string(out.Subject).size(), 254u);
        EXPECT_EQ(std::string(out.Notes).size(), 8190u);
        EXPECT_EQ(out.DueDate, rec.dueDate);
        EXPECT_EQ(out.AlarmSet, 0);
        EXPECT_EQ(out.ReminderSet, 0);
        EXPECT_EQ(out.Recurrence.Kind, 0);
    }
    // -1 in the file is "no due date", which the common record holds as 0.
    PmTodoRec none = Todo(2, 0, 1);
    ASSERT_EQ(none.dueDate, -1);
    CommTaskRec out;
    PmToComm(none, out);
    EXPECT_EQ(out.DueDate, 0);
}

TEST(ClassicConvert, MemoTitleAndBody)
{
    CommNoteRec out;
    PmToComm(Memo(3, 0, "Shopping\r\nMilk\r\nBread"), out);
    EXPECT_STREQ(out.Title, "Shopping");
    EXPECT_STREQ(out.Body, "Shopping\r\nMilk\r\nBread");
    EXPECT_EQ(out.Private, 1);
    PmToComm(Memo(4, 0, std::string(8191, 'm')), out);
    EXPECT_EQ(std::string(out.Title), std::string(255, 'm'));
    EXPECT_EQ(std::string(out.Body).size(), 8191u);
    EXPECT_EQ(out.Private, 0);
}

struct ValueCase
{
    const char* name;
    std::int32_t key;
    bool claim;
    bool found;
    std::string value;
    int claimedSlot; // -1: no label changes
};

// On Contacts()[0] with its fourth phone emptied: labels 0 work, 1 home, 2 fax, 4 e-mail,
// 7 mobile.
const ValueCase kValueCases[] = {
    {"first_name", 1, false, true, "John", -1},
    {"last_name", 2, false, true, "Smith", -1},
    {"company", 3, false, true, "Acme Handels GmbH", -1},
    {"job_title", 4, false, true, "Sales Manager", -1},
    {"work_phone", 5, false, true, "+49 30 1234", -1},
    {"fax", 7, true, true, "+49 30 9999", -1},
    {"e_mail_slot_with_empty_text", 9, false, true, "", -1},
    {"mobile", 12, false, true, "0170 1111", -1},
    {"pager_without_a_slot", 11, false, false, "", -1},
    {"pager_claims_the_empty_slot", 11, true, true, "", 3},
    {"main_phone_claims_the_empty_slot", 10, true, true, "", 3},
    {"street", 13, false, true,
     "Hauptstra\xDF"
     "e 1",
     -1},
    {"city", 14, false, true, "Berlin", -1},
    {"state", 15, false, true, "BE", -1},
    {"zip", 16, false, true, "10115", -1},
    {"country", 17, false, true, "Germany", -1},
    {"custom_1", 18, false, true, "1970-01-02", -1},
    {"custom_4", 21, false, true, "www.acme.example", -1},
    {"category", 22, false, true, "Business", -1},
    {"note", 23, false, true, "Met at the fair.\r\nCall back in May.", -1},
    {"key_0", 0, true, false, "", -1},
    {"key_24", 24, true, false, "", -1},
};

class ContactValueTest : public testing::TestWithParam<ValueCase>
{
};

TEST_P(ContactValueTest, AnswersTheCatalogueKey)
{
    const ValueCase& c = GetParam();
    PmAddrRec rec = Contacts()[0];
    rec.categoryName = "Business";
    rec.phones[3].clear();
    const auto labelsBefore = rec.phoneLabels;
    std::string value = "old";
    ASSERT_EQ(PmContactValue(rec, c.key, value, c.claim), c.found);
    if (c.found) {
        EXPECT_EQ(value, c.value);
    }
    auto labelsAfter = labelsBefore;
    if (c.claimedSlot >= 0) {
        labelsAfter[static_cast<std::size_t>(c.claimedSlot)] = c.key - 5;
    }
    EXPECT_EQ(rec.phoneLabels, labelsAfter);
}

INSTANTIATE_TEST_SUITE_P(Keys, ContactValueTest, testing::ValuesIn(kValueCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ClassicConvert, PhoneKeyWithoutAnEmptySlotHasNoValue)
{
    PmAddrRec rec = Contacts()[0]; // five phones, all with text, none labelled 6
    std::string value;
    EXPECT_FALSE(PmContactValue(rec, 11, value, true));
    EXPECT_EQ(rec.phoneLabels, Contacts()[0].phoneLabels);
}

} // namespace
