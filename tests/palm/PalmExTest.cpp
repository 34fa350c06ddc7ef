// The readers of the 4.1.x Palm Desktop databases and the conversion of their records. Every
// file is built by the test writer from the records it should load.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "common/PinnedLocale.h"
#include "common/TempHome.h"
#include "misc/CxDebugUtil.h"
#include "palm/PalmEnv.h"
#include "palm/PalmExConvert.h"
#include "palm/PalmExFileWriter.h"
#include "platform/Files.h"

namespace {

const fwtest::PinnedLocale kPinned{"Europe/Berlin"}; // local times below are Berlin's, texts code page 1252

using fwtest::PalmCategoryEntry;
using fwtest::PalmExFileOptions;
using fwtest::PalmExFileWriter;
using fwtest::PalmExOffsets;

// ---- Records as text, so that a mismatch shows which field differs ----------------------

std::string Dump(const PmBinaryField& b)
{
    std::ostringstream out;
    out << "{" << b.typeCode << "," << b.sizeWord << "," << b.value1 << "," << b.value2 << "," << b.dataLength
        << ",[" << std::string(b.data.begin(), b.data.end()) << "]}";
    return out.str();
}

std::string Dump(const PmRepeat& r)
{
    std::ostringstream out;
    out << "repeat{" << r.kind << "," << r.interval << "," << r.endDate << "," << r.firstDayOfWeek << ","
        << r.dayIndex << "," << int(r.dayMask) << "," << r.weekIndex << "," << r.monthIndex << ","
        << r.dayOfMonth << "}";
    return out.str();
}

std::string DumpBase(const PmExRecBase& r)
{
    std::ostringstream out;
    out << "id=" << r.recordId << " int1=" << r.int1 << " status=" << r.status << " int3=" << r.int3
        << " placement=" << r.placement << " cat=" << r.categoryId << "/'" << r.categoryName
        << "' private=" << r.isPrivate << " bin=";
    for (const PmBinaryField& b : r.binary) {
        out << Dump(b);
    }
    out << " t11='" << r.text11 << "' t12='" << r.text12 << "'";
    return out.str();
}

std::string Dump(const PmAddrExRec& r)
{
    std::ostringstream out;
    out << DumpBase(r) << "\n name='" << r.firstName << "' '" << r.lastName << "' title='" << r.title
        << "' company='" << r.company << "' int17=" << r.int17 << " note='" << r.note << "'\n phones=";
    for (std::size_t i = 0; i < r.phones.size(); ++i) {
        out << r.phoneLabels[i] << ":'" << r.phones[i] << "' ";
    }
    out << "\n customs=";
    for (const std::string& c : r.customs) {
        out << "'" << c << "' ";
    }
    for (const PmAddrExAddress& a : r.addresses) {
        out << "\n address=" << a.type << " '" << a.street << "' '" << a.city << "' '" << a.state << "' '"
            << a.zipCode << "' '" << a.country << "'";
    }
    out << "\n ims=" << r.imLabels[0] << ":'" << r.ims[0] << "' " << r.imLabels[1] << ":'" << r.ims[1]
        << "' home='" << r.homePage << "' birthday=" << r.birthday << " " << r.bool66 << " " << r.int67 << " "
        << r.int68;
    for (const std::string& t : r.texts69) {
        out << " '" << t << "'";
    }
    return out.str();
}

std::string Dump(const PmDateExRec& r)
{
    std::ostringstream out;
    out << DumpBase(r) << "\n " << r.startTime << "-" << r.endTime << " '" << r.description << "' " << r.int16
        << " note='" << r.note << "' untimed=" << r.untimed << " alarm=" << r.alarmSet << ","
        << r.alarmAdvance << "," << r.alarmAdvanceUnit << " " << Dump(r.repeat) << " location='" << r.location
        << "' " << r.int24 << " '" << r.text25 << "' '" << r.text26 << "'";
    return out.str();
}

std::string Dump(const PmMemoExRec& r)
{
    return DumpBase(r) + "\n text='" + r.text + "'";
}

std::string Dump(const PmTodoExRec& r)
{
    std::ostringstream out;
    out << DumpBase(r) << "\n '" << r.description << "' due=" << r.dueDate << " done=" << r.completed
        << " prio=" << r.priority << " note='" << r.note << "' " << r.bool18 << " " << r.date19
        << " alarm=" << r.alarmSet << " " << r.date21 << " " << r.int22 << " " << r.date23 << " "
        << Dump(r.repeat);
    return out.str();
}

// ---- Records as Palm Desktop writes them -------------------------------------------------

PmBinaryField Bin(std::int32_t code, std::int32_t sizeWord = 0, const std::string& data = {},
                  std::int32_t value1 = 0, std::int32_t value2 = 0)
{
    PmBinaryField b;
    b.typeCode = code;
    b.sizeWord = sizeWord;
    if (sizeWord != 0) {
        b.data.assign(data.begin(), data.end());
        b.dataLength = static_cast<std::int32_t>(data.size());
    }
    if (sizeWord > 0 && sizeWord < 4) {
        b.value1 = value1;
        b.value2 = value2;
    }
    return b;
}

// The common positions of record n; categoryName is what the reader should look up.
template <class Rec>
Rec Base(std::int32_t id, std::int32_t categoryId, const std::string& categoryName, std::int32_t status = 0,
         bool isPrivate = false)
{
    Rec r;
    r.recordId = id;
    r.int1 = 0x1000 + id;
    r.status = status;
    r.int3 = 25 * id;
    r.placement = id;
    r.categoryId = categoryId;
    r.categoryName = categoryName;
    r.isPrivate = isPrivate ? 1 : 0;
    r.binary = {Bin(64), Bin(65), Bin(66), Bin(67)};
    return r;
}

const std::vector<PalmCategoryEntry> kCategories = {
    {1, 1, 0, "Business", "Business"},
    {2, 2, 0, "Personal", "Personal"},
    {3, 7, 1, "QuickList", "QuickList"},
    {4, 9, 0, "Customers & Friends", "Customers___Friends"}, // a name over 15 characters
};

std::vector<PmAddrExRec> Contacts()
{
    PmAddrExRec anna = Base<PmAddrExRec>(1, 1, "Business");
    anna.firstName = "Anna";
    anna.lastName = "M\xFCller"; // Windows-1252, as the files of Western machines hold it
    anna.title = "Buyer";
    anna.company = "Ferry & Sons Trading Company of the Northern Sea Shores and Harbours Ltd.";
    anna.note = "Met at the fair.\r\nCall back in May.";
    anna.phones = {"+49 30 1234567", "+49 30 7654321", "+49 170 5550101", "anna@example.com", "", "", ""};
    anna.phoneLabels = {0, 1, 7, 4, 0, 0, 0};
    anna.customs = {"Gold", "", "", "", "", "", "", "", "Last custom"};
    anna.addresses[0] = {1,
                         "Hafenstra\xDF"
                         "e 12",
                         "Berlin",
                         "BE",
                         "10115",
                         "Germany"};
    anna.addresses[1] = {2, "Gartenweg 3", "Potsdam", "BB", "14467", "Germany"};
    anna.addresses[2] = {3, "PO Box 99", "Hamburg", "HH", "20095", "Germany"};
    anna.ims = {"anna.aim", "anna.msn"};
    anna.imLabels = {1, 2};
    anna.homePage = "http://anna.example.com/";
    anna.birthday = kPmExBirthdayOffset + 38000;
    anna.bool66 = 1;
    anna.int67 = 4;
    anna.int68 = 5;
    anna.texts69 = {"a", "b", "c", "d"};

    PmAddrExRec bob = Base<PmAddrExRec>(2, 4, "Customers & Fri", 0x04); // deleted: the reader keeps it
    bob.firstName = "Bob";
    bob.lastName = "O'Brien";
    bob.phones = {"555-0100", "555-0101", "", "", "", "", "555-0199"};
    bob.phoneLabels = {0, 0, 2, 3, 5, 6, 6};
    bob.binary[1] = Bin(65, 2, "xy", 3, 4);

    PmAddrExRec carl = Base<PmAddrExRec>(3, 42, ""); // a category the table does not have
    carl.lastName = "Carlsson";

    PmAddrExRec dora = Base<PmAddrExRec>(4, 0, "Unfiled", 0, true);
    dora.firstName = "Dora";
    dora.note = std::string(300, 'n'); // a length byte of 0xFF and a 16-bit length
    return {anna, bob, carl, dora};
}

PmRepeat Repeat(std::int32_t kind, std::int32_t interval, std::int32_t endDate = kPmNoEndDate)
{
    PmRepeat r;
    r.kind = kind;
    r.interval = interval;
    r.endDate = endDate;
    r.firstDayOfWeek = 1;
    return r;
}

// One repeat of every kind, each carrying its kind's data.
std::vector<PmRepeat> EveryRepeat()
{
    std::vector<PmRepeat> repeats;
    repeats.push_back(PmRepeat{});
    PmRepeat daily = Repeat(1, 2, 1262300400);
    daily.dayIndex = 3;
    repeats.push_back(daily);
    PmRepeat weekly = Repeat(2, 1);
    weekly.dayIndex = 1;
    weekly.dayMask = 0x2A;
    repeats.push_back(weekly);
    PmRepeat monthlyByDay = Repeat(3, 1);
    monthlyByDay.dayIndex = 5;
    monthlyByDay.weekIndex = 2;
    repeats.push_back(monthlyByDay);
    PmRepeat monthlyByDate = Repeat(4, 3);
    monthlyByDate.dayOfMonth = 15;
    repeats.push_back(monthlyByDate);
    PmRepeat yearly = Repeat(5, 1);
    yearly.dayOfMonth = 25;
    yearly.monthIndex = 11;
    repeats.push_back(yearly);
    repeats.push_back(Repeat(6, 1));
    repeats.push_back(Repeat(9, 1)); // an unknown kind carries no data
    return repeats;
}

std::vector<PmDateExRec> Events()
{
    std::vector<PmDateExRec> events;
    const std::vector<PmRepeat> repeats = EveryRepeat();
    // Every kind twice: the second time the repeat class is a back-reference.
    for (int round = 0; round < 2; ++round) {
        for (std::size_t k = 0; k < repeats.size(); ++k) {
            const auto id = static_cast<std::int32_t>(events.size() + 1);
            PmDateExRec e = Base<PmDateExRec>(id, id % 2 == 0 ? 2 : 1, id % 2 == 0 ? "Personal" : "Business");
            e.startTime = 1104750000 + id * 86400;
            e.endTime = e.startTime + 3600;
            e.description = "Meeting " + std::to_string(id);
            e.note = k == 2 ? "Agenda:\r\n1. Budget" : "";
            e.untimed = k == 6 ? 1 : 0;
            e.alarmSet = k % 3 == 0 ? 1 : 0;
            e.alarmAdvance = 5 * static_cast<std::int32_t>(k);
            e.alarmAdvanceUnit = static_cast<std::int32_t>(k % 3);
            e.repeat = repeats[k];
            e.location = "Room " + std::to_string(100 + id);
            e.int24 = id;
            events.push_back(e);
        }
    }
    return events;
}

std::vector<PmTodoExRec> Todos()
{
    std::vector<PmTodoExRec> todos;
    const std::vector<PmRepeat> repeats = EveryRepeat();
    for (int round = 0; round < 2; ++round) {
        for (std::size_t k = 0; k < repeats.size(); ++k) {
            const auto id = static_cast<std::int32_t>(todos.size() + 1);
            PmTodoExRec t = Base<PmTodoExRec>(id, 2, "Personal", k == 3 ? 0x80 : 0, k == 1);
            t.description = "Task " + std::to_string(id);
            t.dueDate = k == 0 ? -1 : 1104750000 + id * 86400;
            t.completed = k % 2;
            t.priority = static_cast<std::int32_t>(k % 6);
            t.note = k == 4 ? std::string(2000, 'x') : "";
            t.bool18 = 1;
            t.date19 = -1;
            t.alarmSet = k == 5 ? 1 : 0;
            t.date21 = -1;
            t.int22 = 7;
            t.date23 = -1;
            t.repeat = repeats[k];
            todos.push_back(t);
        }
    }
    return todos;
}

std::vector<PmMemoExRec> Memos()
{
    PmMemoExRec shopping = Base<PmMemoExRec>(1, 2, "Personal");
    shopping.text = "Shopping\r\nMilk\r\nBread";
    PmMemoExRec secret = Base<PmMemoExRec>(2, 3, "QuickList", 0, true);
    secret.text = "PIN hint";
    secret.binary[0] = Bin(64, 16, "0123456789abcdef");
    PmMemoExRec archived = Base<PmMemoExRec>(3, 0, "Unfiled", 0x80);
    archived.text = "Old memo";
    return {shopping, secret, archived};
}

template <class Rec> void ExpectRecords(const std::vector<Rec>& loaded, const std::vector<Rec>& expected)
{
    ASSERT_EQ(loaded.size(), expected.size());
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        EXPECT_EQ(Dump(loaded[i]), Dump(expected[i])) << "record " << i;
    }
}

// ---- Fixture: a temporary home that holds the files and the diagnostic log --------------

struct LogLine
{
    std::string source;
    bool failure;
    std::string message;
};

class PalmExTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_debugLog.SetLogFolder((m_home.Root() + "/").c_str());
        g_debugLog.EnableLog(true);
        g_debugLog.SetLogLevel(3);
    }
    void TearDown() override
    {
        g_debugLog.EnableLog(false);
        PmSetDesktopFolderOverride("");
    }

    std::string Write(const PalmExFileWriter& writer, const std::string& name = "db.dat") const
    {
        return m_home.WriteFile(name, writer.Data());
    }

    std::vector<LogLine> Lines() const
    {
        std::vector<LogLine> lines;
        std::istringstream in(m_home.ReadFile("appdebug.log"));
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            const auto dash = line.find("] - ");
            const auto source = line.find("][");
            if (dash == std::string::npos || source == std::string::npos) {
                continue;
            }
            const std::string name = line.substr(source + 2, line.find('(', source) - source - 2);
            lines.push_back({name.substr(0, name.find(' ')), line.find("[!!!]") != std::string::npos,
                             line.substr(dash + 4)});
        }
        return lines;
    }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> out;
        for (const LogLine& l : Lines()) {
            out.push_back(l.message);
        }
        return out;
    }
    int Count(const std::string& message) const
    {
        int n = 0;
        for (const LogLine& l : Lines()) {
            n += l.message == message ? 1 : 0;
        }
        return n;
    }
    // The messages appear in this order (others may come between them).
    void ExpectInOrder(const std::vector<std::string>& expected) const
    {
        const std::vector<std::string> messages = Messages();
        std::size_t at = 0;
        for (const std::string& want : expected) {
            while (at < messages.size() && messages[at] != want) {
                ++at;
            }
            ASSERT_LT(at, messages.size()) << "missing or out of order: " << want << "\nlog:\n"
                                           << m_home.ReadFile("appdebug.log");
            ++at;
        }
    }

    fwtest::TempHome m_home;
};

// ---- Whole files of the four databases ---------------------------------------------------

TEST_F(PalmExTest, ContactsLoadWithCategoriesLabelsAndEveryField)
{
    PalmExFileOptions o;
    o.categories = kCategories;
    o.customLabels = {"Spouse", "Anniversary", "Hobby", "", "", "", "", "", "Ninth"};
    o.reserved3.assign(kPmExReserved3Size, 0x5A);
    o.fileName = "C:\\Palm\\AnnaM\\address\\address.dat";
    PalmExFileWriter w;
    w.File(Contacts(), o);
    const std::string path = Write(w);

    PmAddrExUtil util(path);
    ASSERT_TRUE(util.IsLoaded());
    ExpectRecords(util.GetRecords(), Contacts());
    EXPECT_EQ(util.GetVersionTag(), kPmAddrExTag);
    EXPECT_EQ(util.GetDatabaseFileName(), o.fileName);
    EXPECT_EQ(std::vector<std::uint8_t>(util.GetReserved1().begin(), util.GetReserved1().end()), o.reserved1);
    EXPECT_EQ(util.GetReserved2(), std::vector<std::uint8_t>(11, 0));
    EXPECT_EQ(std::vector<std::uint8_t>(util.GetReserved3().begin(), util.GetReserved3().end()), o.reserved3);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(util.GetCustomLabel(i), o.customLabels[static_cast<std::size_t>(i)]) << i;
    }
    EXPECT_EQ(util.GetCustomLabel(9), "");
    EXPECT_EQ(util.GetSchema().fieldCount, 73);
    EXPECT_EQ(util.GetSchema().fieldTypes,
              std::vector<std::uint16_t>(kPmAddrExFieldTypes.begin(), kPmAddrExFieldTypes.end()));
    std::string name;
    EXPECT_TRUE(util.GetCategoryName(0, name));
    EXPECT_EQ(name, "Unfiled");
    EXPECT_TRUE(util.GetCategoryName(3, name)); // the place in the table, not the ID 7
    EXPECT_EQ(name, "QuickList");
    EXPECT_FALSE(util.GetCategoryName(42, name));

    util.ClearRecords();
    EXPECT_TRUE(util.GetRecords().empty());
    // Loading again gives the same; a failed load keeps nothing of the earlier one.
    ASSERT_TRUE(util.Load(path));
    EXPECT_EQ(util.GetRecords().size(), 4u);
    EXPECT_FALSE(util.Load(m_home.Path("missing.dat")));
    EXPECT_FALSE(util.IsLoaded());
    EXPECT_TRUE(util.GetRecords().empty());
    EXPECT_FALSE(util.GetCategoryName(3, name));
}

TEST_F(PalmExTest, CalendarAndTasksReadEveryRepeatKindWithClassesAndBackReferences)
{
    PalmExFileOptions o;
    o.categories = kCategories;
    // Exception dates before the class marker, on a defining and on a back-referring record.
    o.exceptions[1] = {1104836400, 1105441200};
    o.exceptions[9] = {1104836400};
    o.exceptions[12] = std::vector<std::int32_t>(40, 1104836400);

    PalmExFileWriter dates;
    dates.File(Events(), o);
    PmDateExUtil dateUtil(Write(dates, "datebook.dat"));
    ASSERT_TRUE(dateUtil.IsLoaded());
    ExpectRecords(dateUtil.GetRecords(), Events());
    EXPECT_EQ(dateUtil.GetReserved2(), std::vector<std::uint8_t>(43, 0));

    PalmExFileWriter todos;
    todos.File(Todos(), o);
    PmTodoExUtil todoUtil(Write(todos, "todo.dat"));
    ASSERT_TRUE(todoUtil.IsLoaded());
    ExpectRecords(todoUtil.GetRecords(), Todos()); // archived ones too: the conversion filters
}

TEST_F(PalmExTest, MemosLoadWithBinaryDataAndStatusKept)
{
    PalmExFileOptions o;
    o.categories = kCategories;
    PalmExFileWriter w;
    w.File(Memos(), o);
    PmMemoExUtil util(Write(w, "memopad.dat"));
    ASSERT_TRUE(util.IsLoaded());
    ExpectRecords(util.GetRecords(), Memos());
}

// ---- Field encodings ---------------------------------------------------------------------

struct BinaryCase
{
    const char* name;
    PmBinaryField field;
    std::size_t fileBytes; // what the field takes in the file
};

void PrintTo(const BinaryCase& c, std::ostream* os)
{
    *os << c.name;
}

class PalmExBinaryTest : public PalmExTest, public ::testing::WithParamInterface<BinaryCase>
{
};

TEST_P(PalmExBinaryTest, EveryFormIsReadAndTheNextFieldFollows)
{
    const BinaryCase& c = GetParam();
    PalmExFileWriter alone;
    alone.BinaryField(c.field);
    EXPECT_EQ(alone.Size(), c.fileBytes);

    std::vector<PmMemoExRec> memos = Memos();
    memos[0].binary[1] = c.field;
    memos[1].binary[3] = c.field;
    PalmExFileWriter w;
    w.File(memos, {});
    for (PmMemoExRec& m : memos) {
        m.categoryName = m.categoryId == 0 ? "Unfiled" : "";
    }
    PmMemoExUtil util(Write(w));
    ASSERT_TRUE(util.IsLoaded());
    ExpectRecords(util.GetRecords(), memos);
}

const BinaryCase kBinaryCases[] = {
    {"size_0", Bin(64), 8},
    {"size_2_length_0", Bin(65, 2, "", 7, 9), 20},
    {"size_2_with_data", Bin(66, 2, "hello", 1, 2), 25},
    {"size_1_with_data", Bin(64, 1, "a", -1, 0x7FFFFFFF), 21},
    {"size_3_with_data", Bin(67, 3, "abc", 0, 0), 23},
    {"size_4", Bin(67, 4, "wxyz"), 12},
    {"size_300", Bin(64, 300, std::string(300, 'q')), 308},
    {"unexpected_type_code_kept", Bin(70, 5, "12345"), 13},
};
INSTANTIATE_TEST_SUITE_P(Forms, PalmExBinaryTest, ::testing::ValuesIn(kBinaryCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PalmExTest, LongStringsAreReadWholeAndCutToTheirField)
{
    struct Case
    {
        std::size_t length;
        std::size_t kept;
    };
    // Memo text keeps 8191 characters; a contact note 2047; a first name 31.
    const Case memoCases[] = {{254, 254}, {255, 255}, {8191, 8191}, {9000, 8191}, {65535, 8191}};
    for (const Case& c : memoCases) {
        std::vector<PmMemoExRec> memos = Memos();
        memos[0].text = std::string(c.length, 'm');
        PalmExFileWriter w;
        w.File(memos, {});
        PmMemoExUtil util(Write(w));
        ASSERT_TRUE(util.IsLoaded()) << c.length;
        ASSERT_EQ(util.GetRecords().size(), 3u);
        EXPECT_EQ(util.GetRecords()[0].text, std::string(c.kept, 'm')) << c.length;
        EXPECT_EQ(util.GetRecords()[1].text, "PIN hint") << c.length;
    }

    std::vector<PmAddrExRec> contacts = Contacts();
    contacts[0].note = std::string(3000, 'n');
    contacts[0].firstName = std::string(40, 'f');
    contacts[0].customs[8] = std::string(400, 'c');
    contacts[0].homePage = std::string(255, 'h');
    PalmExFileOptions o;
    o.categories = kCategories;
    PalmExFileWriter w;
    w.File(contacts, o);
    PmAddrExUtil util(Write(w));
    ASSERT_TRUE(util.IsLoaded());
    const PmAddrExRec& first = util.GetRecords()[0];
    EXPECT_EQ(first.note, std::string(2047, 'n'));
    EXPECT_EQ(first.firstName, std::string(31, 'f'));
    EXPECT_EQ(first.customs[8], std::string(255, 'c'));
    EXPECT_EQ(first.homePage, std::string(255, 'h'));
    EXPECT_EQ(Dump(util.GetRecords()[1]), Dump(contacts[1]));
}

// ---- Header steps that fail ----------------------------------------------------------------

struct HeaderCase
{
    const char* name;
    std::function<void(PalmExFileOptions&)> setup;
    std::size_t PalmExOffsets::*cutAt; // null: the whole file
    std::ptrdiff_t cutPlus;
    std::vector<std::string> lines; // in this order, before the final failure line
};

void PrintTo(const HeaderCase& c, std::ostream* os)
{
    *os << c.name;
}

class PalmExHeaderTest : public PalmExTest, public ::testing::WithParamInterface<HeaderCase>
{
};

TEST_P(PalmExHeaderTest, FailsTheLoadWithItsMessages)
{
    const HeaderCase& c = GetParam();
    PalmExFileOptions o;
    o.categories = kCategories;
    if (c.setup) {
        c.setup(o);
    }
    PalmExFileWriter w;
    const PalmExOffsets at = w.File(Contacts(), o);
    if (c.cutAt != nullptr) {
        w.Truncate(static_cast<std::size_t>(static_cast<std::ptrdiff_t>(at.*c.cutAt) + c.cutPlus));
    }
    const std::string path = Write(w);
    PmAddrExUtil util(path);
    EXPECT_FALSE(util.IsLoaded());
    EXPECT_TRUE(util.GetRecords().empty());
    std::vector<std::string> lines = c.lines;
    lines.push_back("Can not load Palm Desktop Contacts: " + path);
    ExpectInOrder(lines);
    // Each line names the file of its call: the shared base or the contacts reader.
    for (const LogLine& l : Lines()) {
        EXPECT_TRUE(l.source == "PalmExDBUtil.cpp" || l.source == "PalmAddrEx.cpp")
            << l.source << ": " << l.message;
    }
}

const std::string kZeros10 = "00 00 00 00 00 00 00 00 00 00";

const HeaderCase kHeaderCases[] = {
    {"magic_cut", nullptr, &PalmExOffsets::version, -10, {"Failed to check magic code."}},
    {"magic_text_wrong",
     [](PalmExFileOptions& o) { o.magicText = "PalmSG Database00RW"; },
     nullptr,
     0,
     {"Start checking Palm Desktop Contacts database magic code.",
      "Incorrect database magic code: PalmSG Database00RW", "Failed to check magic code."}},
    {"magic_control_characters_not_logged",
     [](PalmExFileOptions& o) { o.magicText = std::string("Palm\r\nX\x01Y\0Z", 11); },
     nullptr,
     0,
     {"Incorrect database magic code: Palm..X.Y", "Failed to check magic code."}},
    {"classic_version_tag",
     [](PalmExFileOptions& o) { o.versionTag = 0x41420100; },
     nullptr,
     0,
     {"Check magic code successfully.", "Incorrect database version:1094844672",
      "Failed to check database version."}},
    {"calendar_tag",
     [](PalmExFileOptions& o) { o.versionTag = kPmDateExTag; },
     nullptr,
     0,
     {"Incorrect database version:" + std::to_string(kPmDateExTag), "Failed to check database version."}},
    {"version_cut", nullptr, &PalmExOffsets::version, 2, {"Failed to check database version."}},
    {"reserved1_short",
     nullptr,
     &PalmExOffsets::reserved1,
     10,
     {"Database version: " + std::to_string(kPmAddrExTag),
      "Failed to read reserved 1 field. Content=" + kZeros10 + ", Size=10",
      "Failed to check database version."}},
    {"file_name_cut",
     nullptr,
     &PalmExOffsets::fileName,
     5,
     {"Failed to read database file name.", "Failed to load database file descriptions."}},
    {"file_name_over_260",
     [](PalmExFileOptions& o) { o.fileName = std::string(261, 'p'); },
     nullptr,
     0,
     {"Failed to read database file name.", "Failed to load database file descriptions."}},
    {"reserved2_short",
     nullptr,
     &PalmExOffsets::reserved2,
     5,
     {"Failed to read reserved 2 field. Content=00 00 00 00 00, Size=5",
      "Failed to load database file descriptions."}},
    {"label_cut", nullptr, &PalmExOffsets::labels, 3, {"Failed to load custom labels information."}},
    {"label_over_256",
     [](PalmExFileOptions& o) { o.customLabels[4] = std::string(257, 'l'); },
     nullptr,
     0,
     {"Failed to load custom labels information."}},
    {"reserved3_short",
     nullptr,
     &PalmExOffsets::categories,
     -32,
     {"Failed to read reserved 3 field. Content=" + kZeros10 + ", Size=10",
      "Failed to load custom labels information."}},
    {"next_free_id_cut",
     nullptr,
     &PalmExOffsets::categories,
     2,
     {"Start loading Palm Desktop Contacts category information.", "Failed to read the next feed ID.",
      "Failed to load category information."}},
    {"category_name_cut",
     nullptr,
     &PalmExOffsets::categories,
     8 + 12 + 3,
     {"Failed to read category name.", "Failed to load category information."}},
    {"category_file_name_cut",
     nullptr,
     &PalmExOffsets::categories,
     8 + 12 + 9 + 2,
     {"Failed to read category file name.", "Failed to load category information."}},
    {"category_id_0_taken_by_unfiled",
     [](PalmExFileOptions& o) {
         o.categories = {{1, 1, 0, "Business", ""}, {2, 0, 0, "Zero", ""}};
     },
     nullptr,
     0,
     {"Read category:Business", "Failed to load category information."}},
    {"seventeen_categories",
     [](PalmExFileOptions& o) {
         o.categories.clear();
         for (int i = 1; i <= 16; ++i) {
             o.categories.push_back({-1, 100 + i, 0, "C" + std::to_string(i), ""});
         }
     },
     nullptr,
     0,
     {"Read category:C15", "Failed to load category information."}},
    {"resource_id_cut", nullptr, &PalmExOffsets::schema, 2, {"Failed to read resource ID."}},
    {"fields_per_row_cut",
     nullptr,
     &PalmExOffsets::schema,
     6,
     {"Resource ID:74", "Failed to read fields per row."}},
    {"record_id_position_cut", nullptr, &PalmExOffsets::schema, 10, {"Failed to read Record ID Position."}},
    {"status_position_cut", nullptr, &PalmExOffsets::schema, 14, {"Failed to read Record Status Position."}},
    {"placement_position_cut", nullptr, &PalmExOffsets::schema, 18, {"Failed to read Placement Position."}},
    {"field_count_cut", nullptr, &PalmExOffsets::schema, 21, {"Failed to read Fields Count."}},
    {"field_type_cut",
     nullptr,
     &PalmExOffsets::schema,
     22 + 3,
     {"Fields Count:73", "Field (1) - 1", "Failed to read Field Type. Index=1",
      "Failed to load database schema information."}},
    {"more_fields_than_the_list_holds",
     [](PalmExFileOptions& o) {
         std::vector<std::uint16_t> types(kPmAddrExFieldTypes.begin(), kPmAddrExFieldTypes.end());
         types.push_back(1);
         o.fieldTypes = types;
     },
     nullptr,
     0,
     {"Fields Count:74", "Failed to read Fields Count.", "Failed to load database schema information."}},
    {"total_cut",
     nullptr,
     &PalmExOffsets::total,
     3,
     {"Palm Desktop Contacts database schema is loaded successfully.", "Failed to read total fields count.",
      "Failed to load Contacts records."}},
};
INSTANTIATE_TEST_SUITE_P(Steps, PalmExHeaderTest, ::testing::ValuesIn(kHeaderCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PalmExTest, ClassicFileFailsAtTheMagicCode)
{
    // A classic address book: its tag, then the database file name.
    PalmExFileWriter w;
    w.Int32(0x41420100)
        .CString("C:\\Palm\\User1\\address\\address.dat")
        .Int32(0)
        .Bytes(std::string(64, '\0'));
    const std::string path = Write(w);
    PmAddrExUtil util(path);
    EXPECT_FALSE(util.IsLoaded());
    ExpectInOrder({"Incorrect database magic code: C:\\Palm\\User1\\addre", "Failed to check magic code.",
                   "Can not load Palm Desktop Contacts: " + path});
}

TEST_F(PalmExTest, OpenFailuresAndTheEmptyMemoPath)
{
    const std::string missing = m_home.Path("missing.dat");
    PmTodoExUtil todo(missing);
    EXPECT_FALSE(todo.IsLoaded());
    ExpectInOrder({"Loading Palm Desktop Tasks: " + missing, "Failed to open file: " + missing,
                   "Load Palm Desktop Tasks failed: " + missing});

    EXPECT_EQ(todo.GetLoadError(), "No such file or directory");

    // Palm Desktop is only ever read: a read-only database (a copy from a CD) loads. The file
    // access refuses a writing open of a file without write permission, for root as well.
    PalmExFileWriter w;
    w.File(Events(), {});
    const std::string readOnly = Write(w, "ro.dat");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    PmDateExUtil date(readOnly);
    EXPECT_TRUE(date.IsLoaded());
    EXPECT_EQ(date.GetRecords().size(), Events().size());
    EXPECT_EQ(Count("Failed to open file: " + readOnly), 0);

    PmMemoExUtil memo;
    EXPECT_FALSE(memo.Load(""));
    EXPECT_EQ(Messages().back(), "Invalid Palm Desktop Notes database file name.");
    EXPECT_EQ(Count("Loading Palm Desktop Memos: "), 0);
}

// ---- The record block ----------------------------------------------------------------------

// Loads records of one database from a file whose records are cut or corrupted.
struct BlockRun
{
    bool loaded = false;
    std::size_t records = 0;
};

template <class Util> BlockRun RunBlock(const std::string& path)
{
    Util util(path);
    return {util.IsLoaded(), util.GetRecords().size()};
}

struct FailCase
{
    const char* name;
    int database;        // 0 contacts, 1 calendar, 2 memos, 3 to-dos
    std::size_t records; // written
    int failing;         // record whose first type code is spoiled; -1: cut instead
    std::size_t cutRecord;
    std::size_t cutPlus;
    std::size_t kept;
    int errorLines;
};

void PrintTo(const FailCase& c, std::ostream* os)
{
    *os << c.name;
}

class PalmExRecordFailTest : public PalmExTest, public ::testing::WithParamInterface<FailCase>
{
};

template <class Rec> std::vector<Rec> FirstN(std::vector<Rec> all, std::size_t n)
{
    while (all.size() < n) {
        all.push_back(all[all.size() % 2]);
    }
    all.resize(n);
    return all;
}

TEST_P(PalmExRecordFailTest, KeepsTheRecordsBeforeTheFailureAndFailsTheLoad)
{
    const FailCase& c = GetParam();
    PalmExFileWriter w;
    PalmExOffsets at;
    switch (c.database) {
    case 0:
        at = w.File(FirstN(Contacts(), c.records), {});
        break;
    case 1:
        at = w.File(FirstN(Events(), c.records), {});
        break;
    case 2:
        at = w.File(FirstN(Memos(), c.records), {});
        break;
    default:
        at = w.File(FirstN(Todos(), c.records), {});
        break;
    }
    std::string bytes = w.Data();
    if (c.failing >= 0) {
        bytes[at.records[static_cast<std::size_t>(c.failing)]] = 99; // type code of the record ID
    } else {
        bytes.resize(at.records[c.cutRecord] + c.cutPlus);
    }
    PalmExFileWriter spoiled;
    spoiled.Bytes(bytes);
    const std::string path = Write(spoiled);

    static const char* const kinds[] = {"Contacts", "Calendar", "Memos", "Tasks"};
    static const char* const sources[] = {"PalmAddrEx.cpp", "PalmDateEx.cpp", "PalmMemoEx.cpp",
                                          "PalmTodoEx.cpp"};
    static const char* const finals[] = {
        "Can not load Palm Desktop Contacts: ", "Load Palm Desktop Calendar failed: ",
        "Load Palm Desktop Memos failed: ", "Load Palm Desktop Tasks failed: "};
    BlockRun run;
    switch (c.database) {
    case 0:
        run = RunBlock<PmAddrExUtil>(path);
        break;
    case 1:
        run = RunBlock<PmDateExUtil>(path);
        break;
    case 2:
        run = RunBlock<PmMemoExUtil>(path);
        break;
    default:
        run = RunBlock<PmTodoExUtil>(path);
        break;
    }
    EXPECT_FALSE(run.loaded);
    EXPECT_EQ(run.records, c.kept);
    const std::string kind = kinds[c.database];
    // A spoiled type code stops the reader right after it; a cut file where its read ended.
    const std::string prefix = "Error reading Palm Desktop " + kind + ", current file position: ";
    std::vector<std::string> errors;
    for (const std::string& m : Messages()) {
        if (m.rfind(prefix, 0) == 0) {
            errors.push_back(m);
        }
    }
    ASSERT_EQ(static_cast<int>(errors.size()), c.errorLines) << m_home.ReadFile("appdebug.log");
    const std::string error = errors.front();
    if (c.failing >= 0) {
        EXPECT_EQ(error, prefix + std::to_string(at.records[static_cast<std::size_t>(c.failing)] + 4));
    }
    for (const std::string& e : errors) {
        EXPECT_EQ(e, error);
    }
    std::string recordsFailed = std::string("Failed to load ") + kind + " records.";
    ExpectInOrder({"Calculated Record Count: " + std::to_string(c.records), error,
                   "Palm Desktop " + kind + " records are not saved successfully.", recordsFailed,
                   finals[c.database] + path});
    EXPECT_EQ(Count("Palm Desktop " + kind + " records information is saved successfully."), 0);
    // Each line names the file of its call: the shared base or this reader.
    for (const LogLine& l : Lines()) {
        EXPECT_TRUE(l.source == "PalmExDBUtil.cpp" || l.source == sources[c.database])
            << l.source << ": " << l.message;
    }
}

const FailCase kFailCases[] = {
    // The third of five calendar entries fails: one line for it and one for each later one.
    {"calendar_third_of_five", 1, 5, 2, 0, 0, 2, 3},
    {"calendar_first", 1, 3, 0, 0, 0, 0, 3},
    {"calendar_last", 1, 4, 3, 0, 0, 3, 1},
    {"contacts_stop_at_the_first_error", 0, 4, 1, 0, 0, 1, 1},
    {"memos_second_of_three", 2, 3, 1, 0, 0, 1, 2},
    {"tasks_fifth_of_six", 3, 6, 4, 0, 0, 4, 2},
    // Files that end early: the position is the end of the file.
    {"calendar_cut_in_second", 1, 4, -1, 1, 40, 1, 3},
    {"calendar_cut_in_repeat", 1, 4, -1, 2, 232, 2, 2},
    {"calendar_cut_before_last", 1, 4, -1, 3, 0, 3, 1},
    {"contacts_cut_in_third", 0, 4, -1, 2, 300, 2, 1},
    {"memos_cut_in_first", 2, 3, -1, 0, 3, 0, 3},
    {"tasks_cut_in_last", 3, 5, -1, 4, 100, 4, 1},
};
INSTANTIATE_TEST_SUITE_P(Records, PalmExRecordFailTest, ::testing::ValuesIn(kFailCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PalmExTest, FieldFailuresInsideARecord)
{
    // Each spoils one field of the second calendar entry; the first one stays.
    struct Case
    {
        const char* name;
        std::function<void(PmDateExRec&, PalmExFileOptions&)> spoil;
    };
    const Case cases[] = {
        {"negative_binary_size", [](PmDateExRec& e, PalmExFileOptions&) { e.binary[2] = Bin(66, -4); }},
        {"negative_binary_length",
         [](PmDateExRec& e, PalmExFileOptions&) {
             e.binary[0] = Bin(64, 2, "");
             e.binary[0].dataLength = -1;
         }},
        {"binary_size_beyond_the_file",
         [](PmDateExRec& e, PalmExFileOptions&) {
             e.binary[1] = Bin(65, 4, "abcd");
             e.binary[1].sizeWord = 0x7FFFFFF0;
         }},
        {"binary_length_beyond_the_file",
         [](PmDateExRec& e, PalmExFileOptions&) {
             e.binary[3] = Bin(67, 3, "abc");
             e.binary[3].dataLength = 0x40000000;
         }},
        {"exceptions_beyond_the_file",
         [](PmDateExRec&, PalmExFileOptions& o) { o.exceptions[1] = std::vector<std::int32_t>(60000, 1); }},
    };
    for (const Case& c : cases) {
        std::vector<PmDateExRec> events = FirstN(Events(), 3);
        PalmExFileOptions o;
        o.categories = kCategories;
        c.spoil(events[1], o);
        PalmExFileWriter w;
        const PalmExOffsets at = w.File(events, o);
        if (std::string(c.name) == "exceptions_beyond_the_file") {
            // The count says 70000 but only a few dates follow.
            w.Truncate(at.records[1] + 400);
        }
        PmDateExUtil util(Write(w));
        EXPECT_FALSE(util.IsLoaded()) << c.name;
        ASSERT_EQ(util.GetRecords().size(), 1u) << c.name;
        EXPECT_EQ(Dump(util.GetRecords()[0]), Dump(Events()[0])) << c.name;
    }

    // A repeat class whose schema number is not 1, and a repeat field without its type code 8.
    for (int variant = 0; variant < 2; ++variant) {
        PalmExFileWriter w;
        const PalmExOffsets at = w.File(FirstN(Todos(), 3), {});
        std::string bytes = w.Data();
        // The second to-do ends with the daily class definition: type code, no exceptions,
        // marker 0xFFFF, schema number, name length, "CDayName", four values and the day index.
        const std::size_t repeat = at.records[2] - (4 + 2 + 2 + 2 + 2 + 8 + 16 + 4);
        ASSERT_EQ(bytes.substr(repeat, 10), std::string("\x08\0\0\0\0\0\xFF\xFF\x01\0", 10));
        bytes[repeat + (variant == 0 ? 8 : 0)] = 2; // schema number 2, or type code 2
        PalmExFileWriter spoiled;
        spoiled.Bytes(bytes);
        PmTodoExUtil util(Write(spoiled));
        EXPECT_FALSE(util.IsLoaded()) << variant;
        EXPECT_EQ(util.GetRecords().size(), 1u) << variant;
    }
}

TEST_F(PalmExTest, ErrorLinesAreBoundedByWhatTheFileCanHold)
{
    // A total of 2^32-1 fields with one field per row announces four billion entries.
    PalmExFileOptions o;
    o.fieldsPerRow = 1;
    o.totalFields = 0xFFFFFFFFu;
    PalmExFileWriter w;
    w.File(FirstN(Events(), 2), o);
    PmDateExUtil util(Write(w));
    EXPECT_FALSE(util.IsLoaded());
    EXPECT_EQ(util.GetRecords().size(), 2u);
    int errors = 0;
    for (const LogLine& l : Lines()) {
        errors += l.message.rfind("Error reading Palm Desktop Calendar", 0) == 0 ? 1 : 0;
    }
    EXPECT_GE(errors, 1);
    EXPECT_LE(errors, 257);
    EXPECT_EQ(Count("Calculated Record Count: 4294967295"), 1);
}

TEST_F(PalmExTest, SchemaShapesThatGiveFewerRecords)
{
    struct Case
    {
        const char* name;
        std::function<void(PalmExFileOptions&)> setup;
        std::size_t records;
    };
    const Case cases[] = {
        {"no_fields_per_row", [](PalmExFileOptions& o) { o.fieldsPerRow = 0; }, 0},
        {"no_fields", [](PalmExFileOptions& o) { o.fieldTypes = std::vector<std::uint16_t>{}; }, 0},
        {"remainder_ignored", [](PalmExFileOptions& o) { o.totalFields = 3 * 27 + 26; }, 3},
        {"fewer_rows_than_written", [](PalmExFileOptions& o) { o.totalFields = 2 * 27; }, 2},
    };
    for (const Case& c : cases) {
        PalmExFileOptions o;
        c.setup(o);
        PalmExFileWriter w;
        w.File(FirstN(Events(), 4), o);
        PmDateExUtil util(Write(w));
        EXPECT_TRUE(util.IsLoaded()) << c.name;
        EXPECT_EQ(util.GetRecords().size(), c.records) << c.name;
    }

    // A schema of fourteen fields: each record holds the common fields and the start only.
    PalmExFileOptions o;
    o.fieldTypes = std::vector<std::uint16_t>(kPmDateExFieldTypes.begin(), kPmDateExFieldTypes.begin() + 14);
    o.fieldsPerRow = 14;
    o.categories = kCategories;
    PalmExFileWriter w;
    w.File(FirstN(Events(), 3), o);
    PmDateExUtil util(Write(w));
    ASSERT_TRUE(util.IsLoaded());
    ASSERT_EQ(util.GetRecords().size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        PmDateExRec expected = Base<PmDateExRec>(static_cast<std::int32_t>(i + 1), i % 2 == 0 ? 1 : 2,
                                                 i % 2 == 0 ? "Business" : "Personal");
        expected.startTime = Events()[i].startTime;
        EXPECT_EQ(Dump(util.GetRecords()[i]), Dump(expected));
    }
}

// ---- Log lines of a load -------------------------------------------------------------------

TEST_F(PalmExTest, ASuccessfulLoadLogsEachStep)
{
    PalmExFileOptions o;
    o.categories = kCategories;
    PalmExFileWriter w;
    w.File(Contacts(), o);
    const std::string path = Write(w);
    ASSERT_TRUE(PmAddrExUtil(path).IsLoaded());
    ExpectInOrder({
        "Loading Palm Desktop Contacts: " + path,
        "Start checking Palm Desktop Contacts database magic code.",
        "Check magic code successfully.",
        "Start checking Palm Desktop Contacts database file version.",
        "Database version: " + std::to_string(kPmAddrExTag),
        "Reserved 1 Field: 00 00 00 00 00 00 00 00 00 00 00 00 65 11 00 00 00 00 00 00 00 00 00 00",
        "Check database version successfully.",
        "Start loading Palm Desktop Contacts database file description.",
        "Database file name:C:\\Palm\\User\\db.dat",
        "Reserved 2 Fields: 00 00 00 00 00 00 00 00 00 00 00",
        "Load database description information successfully.",
        "Load custom label information successfully.",
        "Start loading Palm Desktop Contacts category information.",
        "Read category:Business",
        "Read category:Customers & Fri",
        "Load Palm Desktop Contacts categories successfully.",
        "Start loading Palm Desktop Contacts database schema.",
        "Resource ID:74",
        "Fields Per Row:73",
        "Record ID Position:0",
        "Record Status Position:2",
        "Placement Position:4",
        "Fields Count:73",
        "Field (1) - 1",
        "Field (8) - 64",
        "Field (66) - 68",
        "Field (73) - 5",
        "Palm Desktop Contacts database schema is loaded successfully.",
        "Start loading Palm Desktop Contacts records.",
        "Total Fields: 292",
        "Calculated Record Count: 4",
        "Palm Desktop Contacts records information is saved successfully.",
        "Palm Desktop Contacts information is loaded successfully.",
    });
    for (const LogLine& l : Lines()) {
        EXPECT_FALSE(l.failure) << l.message;
    }

    // The calendar does not log reserved block 1; the memo reader logs no closing line.
    PalmExFileWriter dates;
    dates.File(Events(), {});
    ASSERT_TRUE(PmDateExUtil(Write(dates)).IsLoaded());
    PalmExFileWriter memos;
    memos.File(Memos(), {});
    ASSERT_TRUE(PmMemoExUtil(Write(memos)).IsLoaded());
    int reserved1 = 0;
    for (const LogLine& l : Lines()) {
        if (l.message.rfind("Reserved 1 Field: ", 0) == 0) {
            ++reserved1;
            EXPECT_EQ(l.source, "PalmExDBUtil.cpp"); // the file of the call, whichever reader
        }
    }
    EXPECT_EQ(reserved1, 2); // the contacts and the memos, not the calendar
    EXPECT_EQ(Count("Palm Desktop Calendar information is loaded successfully."), 1);
    EXPECT_EQ(Count("Palm Desktop Memos records information is saved successfully."), 1);
    EXPECT_EQ(Count("Palm Desktop Memos information is loaded successfully."), 0);
}

TEST_F(PalmExTest, LoadByUserFindsTheFilesWhateverTheirCase)
{
    PalmExFileWriter contacts;
    contacts.File(Contacts(), {});
    PalmExFileWriter dates;
    dates.File(Events(), {});
    PalmExFileWriter memos;
    memos.File(Memos(), {});
    PalmExFileWriter todos;
    todos.File(Todos(), {});
    Write(contacts, "Palm/Anna/Address/ADDRESS.DAT");
    Write(dates, "Palm/Anna/datebook/DateBook.dat");
    Write(memos, "Palm/Anna/MemoPad/memopad.dat");
    Write(todos, "Palm/Anna/todo/todo.dat");
    PmSetDesktopFolderOverride(m_home.Path("Palm"));
    ASSERT_EQ(PmBuildUserList(), 1);
    const std::int32_t user = PmGetUsers()[0].userId;

    PmAddrExUtil addr;
    EXPECT_TRUE(addr.LoadByUser(user));
    EXPECT_EQ(addr.GetRecords().size(), 4u);
    PmDateExUtil date;
    EXPECT_TRUE(date.LoadByUser(user));
    EXPECT_EQ(date.GetRecords().size(), Events().size());
    PmMemoExUtil memo;
    EXPECT_TRUE(memo.LoadByUser(user));
    EXPECT_EQ(memo.GetRecords().size(), 3u);
    PmTodoExUtil todo;
    EXPECT_TRUE(todo.LoadByUser(user));
    EXPECT_EQ(todo.GetRecords().size(), Todos().size());
    ExpectInOrder(
        {"Start loading Palm Desktop Contacts by user ID: " + std::to_string(user),
         "Get user file successfully, try loading file:" + m_home.Path("Palm/Anna/Address/ADDRESS.DAT"),
         "Palm Desktop Contacts information is loaded successfully."});

    const std::int32_t stranger = user == 1 ? 2 : 1;
    EXPECT_FALSE(todo.LoadByUser(stranger));
    EXPECT_FALSE(todo.IsLoaded());
    EXPECT_TRUE(todo.GetRecords().empty());
    ExpectInOrder({"Start loading Palm Desktop Tasks by user ID: " + std::to_string(stranger),
                   "Failed to get user database path by user ID."});
}

// ---- Conversion ----------------------------------------------------------------------------

TEST(PalmExConvert, BirthdayIsTheStoredValueLessTheOffset)
{
    const struct
    {
        double stored;
        double expected;
    } cases[] = {
        {129080608.0 + 38000, 38000}, // 2004-01-14
        {129080608.0 + 0.5, 0.5},     // a time of day stays
        {129080608.0 - 1000, -1000},  // before 1900
        {0, 0},                       // no birthday
        {129080608.0 - 700000, 0},    // before the year 100
        {129080608.0 + 3000000, 0},   // after the year 9999
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {std::numeric_limits<double>::infinity(), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PmExBirthdayToOleDate(c.stored), c.expected) << c.stored;
    }
}

TEST(PalmExConvert, ContactFields)
{
    const std::vector<PmAddrExRec> contacts = Contacts();
    CommAddrRec out{};
    PmToComm(contacts[0], out);
    EXPECT_STREQ(out.FirstName, "Anna");
    EXPECT_STREQ(out.LastName, "M\xFCller");
    EXPECT_STREQ(out.Title, "Buyer");
    EXPECT_EQ(std::string(out.Company), contacts[0].company.substr(0, 63));
    EXPECT_STREQ(out.WorkAddress.Street, "Hafenstra\xDF"
                                         "e 12");
    EXPECT_STREQ(out.WorkAddress.City, "Berlin");
    EXPECT_STREQ(out.WorkAddress.State, "BE");
    EXPECT_STREQ(out.WorkAddress.Postal, "10115");
    EXPECT_STREQ(out.WorkAddress.Country, "Germany");
    EXPECT_STREQ(out.HomeAddress.Street, "Gartenweg 3");
    EXPECT_STREQ(out.OtherAddress.City, "Hamburg");
    EXPECT_STREQ(out.Note, "Met at the fair.\r\nCall back in May.");
    EXPECT_STREQ(out.CustomValues[0], "Gold");
    EXPECT_STREQ(out.CustomValues[8], "Last custom");
    EXPECT_STREQ(out.CustomValues[9], "");
    EXPECT_STREQ(out.WorkPhone, "+49 30 1234567");
    EXPECT_STREQ(out.HomePhone, "+49 30 7654321");
    EXPECT_STREQ(out.MobilePhone, "+49 170 5550101");
    EXPECT_STREQ(out.Email, "anna@example.com");
    EXPECT_STREQ(out.Category, "Business");
    EXPECT_EQ(out.Birthday, 38000);
    EXPECT_STREQ(out.IM1, "") << "instant messaging goes only through the custom-field mapping";
    EXPECT_STREQ(out.MappedValues[0], "");

    // Two work phones: the later one wins; label 6 is the pager, an empty phone is not copied.
    CommAddrRec bob{};
    PmToComm(contacts[1], bob);
    EXPECT_STREQ(bob.WorkPhone, "555-0101");
    EXPECT_STREQ(bob.Pager, "555-0199");
    EXPECT_STREQ(bob.WorkFax, "");
    EXPECT_STREQ(bob.Category, "Customers & Fri");
    EXPECT_EQ(bob.Birthday, 0);

    // A zip code wider than the common field is cut.
    PmAddrExRec wide = contacts[2];
    wide.addresses[1].zipCode = std::string(31, '9');
    CommAddrRec cut{};
    PmToComm(wide, cut);
    EXPECT_EQ(std::string(cut.HomeAddress.Postal), std::string(15, '9'));
}

TEST(PalmExConvert, CalendarEntries)
{
    const std::vector<PmDateExRec> events = Events();
    // Entry 6: a yearly repeat on 25 December without end, alarm in hours.
    PmDateExRec e = events[5];
    e.description = std::string(300, 'd');
    e.note = std::string(9000, 'n');
    e.alarmSet = 1;
    e.alarmAdvance = 2;
    e.alarmAdvanceUnit = 1;
    e.startTime = 1105780800; // 2005-01-15 09:20 UTC
    e.endTime = 1105784400;
    CommDateRec out{};
    PmToComm(e, out);
    EXPECT_EQ(std::string(out.Subject), std::string(255, 'd'));
    EXPECT_EQ(std::string(out.Notes), std::string(8191, 'n'));
    EXPECT_STREQ(out.Location, "Room 106");
    EXPECT_EQ(out.AllDay, 0);
    EXPECT_EQ(out.Start.wYear, 2005);
    EXPECT_EQ(out.Start.wMonth, 1);
    EXPECT_EQ(out.Start.wDay, 15);
    EXPECT_EQ(out.Start.wHour, 10); // Berlin
    EXPECT_EQ(out.Start.wMinute, 20);
    EXPECT_EQ(out.End.wHour, 11);
    EXPECT_EQ(out.ReminderSet, 1);
    EXPECT_EQ(out.ReminderCount, 1);
    EXPECT_EQ(out.Reminders[0].Amount, 2);
    EXPECT_EQ(out.Reminders[0].Unit, 2);
    EXPECT_EQ(out.Recurrence.Kind, 6);
    EXPECT_EQ(out.Recurrence.DayOfMonth, 25);
    EXPECT_EQ(out.Recurrence.MonthOfYear, 12);
    EXPECT_EQ(out.Recurrence.HasEnd, 0);

    // Entry 7 is untimed; entry 2 repeats daily until 2010 without an alarm.
    CommDateRec untimed{};
    PmToComm(events[6], untimed);
    EXPECT_EQ(untimed.AllDay, 1);
    CommDateRec daily{};
    PmToComm(events[1], daily);
    EXPECT_EQ(daily.ReminderSet, 0);
    EXPECT_EQ(daily.Recurrence.Kind, 1);
    EXPECT_EQ(daily.Recurrence.Interval, 2);
    EXPECT_EQ(daily.Recurrence.HasEnd, 1);
    EXPECT_EQ(daily.Recurrence.PatternEnd.wYear, 2010);
}

TEST(PalmExConvert, TasksAndMemos)
{
    const std::vector<PmTodoExRec> todos = Todos();
    struct Case
    {
        std::size_t index;
        std::int32_t priority;
        std::uint8_t completed;
        std::uint8_t alarm;
        std::uint8_t isPrivate;
        std::int32_t recurrence;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0, 0}, // priority 0, no repeat
        {1, 1, 1, 0, 1, 1}, // priority 1 high, private, daily
        {4, 0, 0, 0, 0, 4}, // priority 4 normal, monthly by date
        {5, 2, 1, 1, 0, 6}, // priority 5 low, alarm, yearly by date
    };
    for (const Case& c : cases) {
        CommTaskRec out{};
        PmToComm(todos[c.index], out);
        EXPECT_EQ(out.Priority, c.priority) << c.index;
        EXPECT_EQ(out.Completed, c.completed) << c.index;
        EXPECT_EQ(out.AlarmSet, c.alarm) << c.index;
        EXPECT_EQ(out.ReminderSet, c.alarm) << c.index;
        EXPECT_EQ(out.Private, c.isPrivate) << c.index;
        EXPECT_EQ(out.Sensitivity, c.isPrivate != 0 ? 2 : 0) << c.index;
        EXPECT_EQ(out.Recurrence.Kind, c.recurrence) << c.index;
        EXPECT_STREQ(out.Subject, todos[c.index].description.c_str());
    }
    CommTaskRec none{};
    PmToComm(todos[0], none);
    EXPECT_EQ(none.DueDate, 0) << "-1 in the file is no due date";
    CommTaskRec due{};
    PmToComm(todos[2], due);
    EXPECT_EQ(due.DueDate, todos[2].dueDate);
    PmTodoExRec longTask = todos[3];
    longTask.description = std::string(300, 's');
    longTask.note = std::string(8191, 'n');
    CommTaskRec cut{};
    PmToComm(longTask, cut);
    EXPECT_EQ(std::string(cut.Subject), std::string(254, 's'));
    EXPECT_EQ(std::string(cut.Notes), std::string(8190, 'n'));

    const std::vector<PmMemoExRec> memos = Memos();
    CommNoteRec note{};
    PmToComm(memos[0], note);
    EXPECT_STREQ(note.Title, "Shopping");
    EXPECT_STREQ(note.Body, "Shopping\r\nMilk\r\nBread");
    EXPECT_EQ(note.Private, 0);
    CommNoteRec secret{};
    PmToComm(memos[1], secret);
    EXPECT_STREQ(secret.Title, "PIN hint");
    EXPECT_EQ(secret.Private, 1);
}

struct ValueCase
{
    std::int32_t key;
    bool claim;
    bool found;
    const char* value;
};

TEST(PalmExConvert, ContactValuesByCatalogueKey)
{
    const ValueCase cases[] = {
        {1, false, true, "Anna"},
        {2, false, true, "M\xFCller"},
        {4, false, true, "Buyer"},
        {5, false, true, "+49 30 1234567"},   // work phone: label 0
        {9, false, true, "anna@example.com"}, // e-mail: label 4
        {12, false, true, "+49 170 5550101"}, // mobile: label 7
        {7, false, false, ""},                // no fax
        {7, true, true, ""},                  // the first empty phone takes the fax label
        {13, false, true,
         "Hafenstra\xDF"
         "e 12"},
        {16, false, true, "10115"},
        {19, false, true, "Potsdam"},
        {27, false, true, "Germany"},
        {28, false, true, "anna.aim"}, // AIM: label 1
        {29, false, true, "anna.msn"}, // MSN: label 2
        {30, false, false, ""},        // no Yahoo slot, both slots labelled
        {30, true, false, ""},
        {33, false, true, "http://anna.example.com/"},
        {34, false, false, ""}, // the birthday is a date
        {35, false, true, "Gold"},
        {43, false, true, "Last custom"},
        {44, false, true, "Business"},
        {45, false, true, "Met at the fair.\r\nCall back in May."},
        {0, false, false, ""},
        {46, false, false, ""},
    };
    for (const ValueCase& c : cases) {
        PmAddrExRec rec = Contacts()[0];
        std::string value = "unchanged";
        EXPECT_EQ(PmContactValue(rec, c.key, value, c.claim), c.found) << c.key;
        if (c.found) {
            EXPECT_EQ(value, c.value) << c.key;
        }
    }

    // A claimed phone slot keeps its new label: the next lookup finds it without claiming.
    PmAddrExRec rec = Contacts()[0];
    std::string value;
    ASSERT_TRUE(PmContactValue(rec, 11, value, true)); // pager
    EXPECT_EQ(rec.phoneLabels[4], 6);
    EXPECT_TRUE(PmContactValue(rec, 11, value, false));
    EXPECT_EQ(value, "");

    // Instant-messaging slots without a label are claimed in order, slot 1 first.
    PmAddrExRec im = Contacts()[0];
    im.imLabels = {0, 0};
    EXPECT_FALSE(PmContactValue(im, 31, value, false));
    ASSERT_TRUE(PmContactValue(im, 31, value, true)); // AOL takes slot 1
    EXPECT_EQ(value, "anna.aim");
    EXPECT_EQ(im.imLabels[0], 4);
    ASSERT_TRUE(PmContactValue(im, 32, value, true)); // IM takes slot 2
    EXPECT_EQ(value, "anna.msn");
    EXPECT_EQ(im.imLabels[1], 5);
    EXPECT_FALSE(PmContactValue(im, 30, value, true)); // no slot left for Yahoo

    // Every phone carries a text: a missing label finds no empty slot.
    PmAddrExRec full = Contacts()[0];
    full.phones.fill("x");
    EXPECT_FALSE(PmContactValue(full, 7, value, true));
}

TEST_F(PalmExTest, BirthdayFromAFile)
{
    std::vector<PmAddrExRec> contacts = Contacts();
    contacts[3].birthday = 129080608.0 + 38000;
    PalmExFileWriter w;
    w.File(contacts, {});
    PmAddrExUtil util(Write(w));
    ASSERT_TRUE(util.IsLoaded());
    CommAddrRec out{};
    PmToComm(util.GetRecords()[3], out);
    EXPECT_EQ(out.Birthday, 38000);
}

} // namespace
