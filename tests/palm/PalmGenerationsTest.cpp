// What every Palm Desktop generation must read alike: the same repeat rule, due date, birthday
// or category, stored the way the classic files, the 4.1.x files and the 6.x databases store
// it, gives the same common record. Classic and 4.1.x files are written byte by byte and loaded
// by their readers; a 6.x row is a record filled as its reader fills it from the columns.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <iterator>
#include <string>
#include <vector>

#include "common/TempHome.h"
#include "palm/PalmAddr.h"
#include "palm/PalmAddrEx2.h"
#include "palm/PalmClassicConvert.h"
#include "palm/PalmCommEx2.h"
#include "palm/PalmDate.h"
#include "palm/PalmDateEx2.h"
#include "palm/PalmEx2Convert.h"
#include "palm/PalmExConvert.h"
#include "palm/PalmExFileWriter.h"
#include "palm/PalmRepeatRule.h"
#include "palm/PalmTime.h"
#include "palm/PalmTodo.h"
#include "palm/PalmTodoEx2.h"

namespace {

using fwtest::PalmCategoryEntry;
using fwtest::PalmExFileOptions;
using fwtest::PalmExFileWriter;
using fwtest::PalmFileWriter;
using fwtest::PalmSchema;

// Local dates below are those of Berlin.
class BerlinZone : public testing::Environment
{
public:
    void SetUp() override
    {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }
};
[[maybe_unused]] testing::Environment* const kBerlin = testing::AddGlobalTestEnvironment(new BerlinZone);

constexpr std::int32_t kStart = 1231873200; // 2009-01-13 19:00 UTC

std::int32_t LocalMidnight(int year, int month, int day)
{
    return PmTime(year, month, day, 0, 0, 0).GetValue();
}

// ---- Classic files --------------------------------------------------------------------------

const std::vector<PalmCategoryEntry> kOneCategory = {{1, 1, 0, "Business", "Business"}};

PalmFileWriter ClassicHeader(std::uint32_t tag, std::int32_t resourceId,
                             const std::vector<std::uint16_t>& types,
                             const std::vector<PalmCategoryEntry>& categories, std::size_t records)
{
    PalmFileWriter w;
    w.UInt32(tag).CString("C:\\Palm\\User\\db.dat").CString("");
    w.CategoryBlock(128, categories);
    PalmSchema schema;
    schema.resourceId = resourceId;
    schema.fieldsPerRow = static_cast<std::int32_t>(types.size());
    schema.fieldTypes = types;
    w.SchemaBlock(schema);
    w.UInt32(static_cast<std::uint32_t>(records * types.size()));
    return w;
}

std::string ClassicDatebook(const PmRepeat& repeat)
{
    PalmFileWriter w = ClassicHeader(PmDateUtil::kVersionTag, 54,
                                     {1, 1, 1, 3, 1, 5, 1, 5, 6, 6, 1, 6, 1, 1, 8}, kOneCategory, 1);
    w.IntField(1).IntField(0).IntField(1).DateField(kStart).IntField(kStart + 3600).StringField("Meeting");
    w.IntField(0).StringField("").BoolField(false).BoolField(false).IntField(1).BoolField(false);
    w.IntField(0).IntField(0).RepeatField(repeat);
    return w.Data();
}

std::string ClassicTodos(const std::vector<std::int32_t>& dueDates)
{
    PalmFileWriter w = ClassicHeader(PmTodoUtil::kVersionTag, 44, {1, 1, 1, 5, 3, 6, 1, 6, 1, 5},
                                     kOneCategory, dueDates.size());
    std::int32_t id = 0;
    for (std::int32_t due : dueDates) {
        ++id;
        w.IntField(id).IntField(0).IntField(id).StringField("Task").DateField(due).BoolField(false);
        w.IntField(1).BoolField(false).IntField(1).StringField("");
    }
    return w.Data();
}

std::string ClassicContacts(const std::vector<PalmCategoryEntry>& categories,
                            const std::vector<std::int32_t>& values)
{
    PalmFileWriter w =
        ClassicHeader(PmAddrUtil::kVersionTag, 74, {1, 1, 1, 5, 5, 5, 5, 1, 5, 1, 5, 1, 5, 1, 5,
                                                    1, 5, 5, 5, 5, 5, 5, 5, 6, 1, 5, 5, 5, 5, 1},
                      categories, values.size());
    std::int32_t id = 0;
    for (std::int32_t category : values) {
        ++id;
        w.IntField(id).IntField(0).IntField(id).StringField("Smith").StringField("John").StringField("");
        w.StringField("");
        for (int i = 0; i < 5; ++i) { // phone labels and phones
            w.IntField(i).StringField("");
        }
        for (int i = 0; i < 6; ++i) { // street, city, state, zip code, country, note
            w.StringField("");
        }
        w.BoolField(false).IntField(category);
        for (int i = 0; i < 4; ++i) {
            w.StringField("");
        }
        w.IntField(0);
    }
    return w.Data();
}

// ---- 4.1.x files ----------------------------------------------------------------------------

template <class Rec> Rec ExBase(std::int32_t id, std::int32_t category = 1)
{
    Rec r;
    r.recordId = id;
    r.placement = id;
    r.categoryId = category;
    for (std::size_t i = 0; i < r.binary.size(); ++i) {
        r.binary[i].typeCode = static_cast<std::int32_t>(64 + i);
    }
    return r;
}

template <class Rec>
std::string ExFile(const std::vector<Rec>& records,
                   const std::vector<PalmCategoryEntry>& categories = kOneCategory)
{
    PalmExFileOptions o;
    o.categories = categories;
    PalmExFileWriter w;
    w.File(records, o);
    return w.Data();
}

class PalmGenerationsTest : public ::testing::Test
{
protected:
    std::string Write(const std::string& bytes, const std::string& name)
    {
        return m_home.WriteFile(name, bytes);
    }

    fwtest::TempHome m_home;
};

// ---- Repeat rules ---------------------------------------------------------------------------

struct RuleCase
{
    const char* name;
    PmRepeat stored;  // as the classic and 4.1.x files hold it
    const char* text; // as a 6.x database holds it
    RecurrenceRule expected;
};

PmRepeat Stored(std::int32_t kind, std::int32_t interval, std::int32_t endDate, std::int32_t dayIndex,
                std::uint8_t dayMask = 0, std::int32_t weekIndex = 0)
{
    PmRepeat r;
    r.kind = kind;
    r.interval = interval;
    r.endDate = endDate;
    r.firstDayOfWeek = kind == 2 ? 1 : 0;
    r.dayIndex = dayIndex;
    r.dayMask = dayMask;
    r.weekIndex = weekIndex;
    return r;
}

RecurrenceRule Rule(std::int32_t kind, std::int32_t interval, std::int32_t mask, std::int32_t instance,
                    std::int32_t endDate)
{
    RecurrenceRule r{};
    r.Kind = kind;
    r.Interval = interval;
    r.DayOfWeekMask = mask;
    r.Instance = instance;
    r.HasEnd = endDate != 0 ? 1 : 0;
    r.PatternEnd = PmTime(endDate != 0 ? endDate : kPmNoEndDate).ToSystemTime();
    return r;
}

std::vector<RuleCase> RuleCases()
{
    const std::int32_t end2025 = LocalMidnight(2025, 6, 30);
    const std::int32_t end2009 = LocalMidnight(2009, 12, 31);
    return {
        // Monthly on the n-th weekday: day index 0 Sunday ... 6 Saturday, week index 0 first ...
        // 4 last; the common rule has the weekday's bit and the occurrence 1 ... 5.
        {"second Tuesday until 2009", Stored(3, 1, end2009, 2, 0, 1), "MP1 2+ TU 20091231T000000",
         Rule(3, 1, 0x04, 2, end2009)},
        {"last Friday", Stored(3, 1, kPmNoEndDate, 5, 0, 4), "MP1 1- FR #0", Rule(3, 1, 0x20, 5, 0)},
        {"second Sunday every 12 months", Stored(3, 12, kPmNoEndDate, 0, 0, 1), "MP12 2+ SU #0",
         Rule(3, 12, 0x01, 2, 0)},
        {"first Monday", Stored(3, 1, kPmNoEndDate, 1, 0, 0), "MP1 1+ MO #0", Rule(3, 1, 0x02, 1, 0)},
        {"fourth Saturday until mid 2025", Stored(3, 2, end2025, 6, 0, 3), "MP2 4+ SA 20250630T000000",
         Rule(3, 2, 0x40, 4, end2025)},
        {"fifth Thursday", Stored(3, 1, kPmNoEndDate, 4, 0, 4), "MP1 5+ TH #0", Rule(3, 1, 0x10, 5, 0)},
        // Ends after 2020, and "no date" of other zones.
        {"weekly until mid 2025", Stored(2, 1, end2025, 1, 0x0A), "W1 MO WE 20250630T000000",
         Rule(2, 1, 0x0A, 1, end2025)},
        {"weekly, no end written at UTC-8", Stored(2, 1, 1956556799, 1, 0x0A), "W1 MO WE 20320101T075959Z",
         Rule(2, 1, 0x0A, 1, 0)},
        {"weekly, no end written at UTC-4", Stored(2, 1, 0x749E77BF, 1, 0x0A), "W1 MO WE 20320101T035959Z",
         Rule(2, 1, 0x0A, 1, 0)},
        {"weekly, no end written at UTC+8", Stored(2, 1, kPmNoEndDate, 1, 0x0A), "W1 MO WE 20311231T155959Z",
         Rule(2, 1, 0x0A, 1, 0)},
        {"weekly, no end written at UTC-7", Stored(2, 1, 0x749EA1EF, 1, 0x0A), "W1 MO WE 20320101T065959Z",
         Rule(2, 1, 0x0A, 1, 0)},
        {"weekly, no end written here", Stored(2, 1, PmTime(2031, 12, 31, 23, 59, 59).GetValue(), 1, 0x0A),
         "W1 MO WE 20311231T235959", Rule(2, 1, 0x0A, 1, 0)},
        {"weekly, no end as a day", Stored(2, 1, kPmNoEndDate, 1, 0x0A), "W1 MO WE 20311231",
         Rule(2, 1, 0x0A, 1, 0)},
    };
}

void ExpectRule(const RecurrenceRule& got, const RecurrenceRule& want, const char* generation)
{
    SCOPED_TRACE(generation);
    EXPECT_EQ(got.Kind, want.Kind);
    EXPECT_EQ(got.Interval, want.Interval);
    EXPECT_EQ(got.DayOfWeekMask, want.DayOfWeekMask);
    EXPECT_EQ(got.Instance, want.Instance);
    EXPECT_EQ(got.HasEnd, want.HasEnd);
    if (want.HasEnd != 0) {
        EXPECT_EQ(got.PatternEnd.wYear, want.PatternEnd.wYear);
        EXPECT_EQ(got.PatternEnd.wMonth, want.PatternEnd.wMonth);
        EXPECT_EQ(got.PatternEnd.wDay, want.PatternEnd.wDay);
    }
}

TEST_F(PalmGenerationsTest, TheSameRepeatRuleGivesTheSameCommonRuleInEveryGeneration)
{
    for (const RuleCase& c : RuleCases()) {
        SCOPED_TRACE(c.name);

        PmDateUtil classic(Write(ClassicDatebook(c.stored), "classic/datebook.dat"));
        ASSERT_EQ(classic.GetRecords().size(), 1u);
        CommDateRec classicEvent{};
        PmToComm(classic.GetRecords()[0], classicEvent);
        ExpectRule(classicEvent.Recurrence, c.expected, "classic calendar");

        PmDateExRec exEvent = ExBase<PmDateExRec>(1);
        exEvent.startTime = kStart;
        exEvent.endTime = kStart + 3600;
        exEvent.repeat = c.stored;
        PmDateExUtil ex(Write(ExFile(std::vector<PmDateExRec>{exEvent}), "ex/datebook.dat"));
        ASSERT_EQ(ex.GetRecords().size(), 1u);
        CommDateRec exCommon{};
        PmToComm(ex.GetRecords()[0], exCommon);
        ExpectRule(exCommon.Recurrence, c.expected, "4.1.x calendar");

        PmTodoExRec exTodo = ExBase<PmTodoExRec>(1);
        exTodo.dueDate = kStart;
        exTodo.repeat = c.stored;
        PmTodoExUtil exTodos(Write(ExFile(std::vector<PmTodoExRec>{exTodo}), "ex/todo.dat"));
        ASSERT_EQ(exTodos.GetRecords().size(), 1u);
        CommTaskRec exTask{};
        PmToComm(exTodos.GetRecords()[0], exTask);
        ExpectRule(exTask.Recurrence, c.expected, "4.1.x to-do");

        PmDateEx2Rec row;
        row.startTime = kStart;
        row.endTime = kStart + 3600;
        row.repeatedEvent = c.text;
        PmParseRepeatRule(row.repeatedEvent, true, row.startTime, row.repeat);
        CommDateRec ex2Event{};
        PmToComm(row, ex2Event);
        ExpectRule(ex2Event.Recurrence, c.expected, "6.x calendar");

        PmTodoEx2Rec todoRow;
        todoRow.repeatInfo = c.text;
        PmParseRepeatRule(todoRow.repeatInfo, false, 0, todoRow.repeat);
        CommTaskRec ex2Task{};
        PmToComm(todoRow, ex2Task);
        ExpectRule(ex2Task.Recurrence, c.expected, "6.x to-do");
    }
}

// ---- Due dates and birthdays ----------------------------------------------------------------

TEST_F(PalmGenerationsTest, NoDueDateOfAnyZoneIsNoDueDateInEveryGeneration)
{
    struct Case
    {
        const char* name;
        std::int32_t stored;
        std::int32_t dueDate; // 0: no due date
    } const cases[] = {
        {"the files' none", -1, 0},
        {"not given", 0, 0},
        {"no date written at UTC+8", 0x749DCEFF, 0},
        {"no date written at UTC-4", 0x749E77BF, 0},
        {"no date written at UTC-8", 1956556799, 0},
        {"no date written at UTC-7", 0x749EA1EF, 0},
        {"no date written at UTC+14", 1956477599, 0},
        {"no date written at UTC-12", 1956571199, 0},
        {"a second before UTC+14's", 1956477598, 1956477598},
        {"a second after UTC-12's", 1956571200, 1956571200},
        {"mid 2025", 1751284800, 1751284800},
        {"2008", 1218196800, 1218196800},
    };
    std::vector<std::int32_t> stored;
    std::vector<PmTodoExRec> exTodos;
    for (const Case& c : cases) {
        stored.push_back(c.stored);
        PmTodoExRec t = ExBase<PmTodoExRec>(static_cast<std::int32_t>(exTodos.size() + 1));
        t.dueDate = c.stored;
        exTodos.push_back(t);
    }
    PmTodoUtil classic(Write(ClassicTodos(stored), "classic/todo.dat"));
    PmTodoExUtil ex(Write(ExFile(exTodos), "ex/todo.dat"));
    ASSERT_EQ(classic.GetRecords().size(), std::size(cases));
    ASSERT_EQ(ex.GetRecords().size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        CommTaskRec out{};
        PmToComm(classic.GetRecords()[i], out);
        EXPECT_EQ(out.DueDate, c.dueDate) << "classic";
        out = CommTaskRec{};
        PmToComm(ex.GetRecords()[i], out);
        EXPECT_EQ(out.DueDate, c.dueDate) << "4.1.x";
        // "Due Date" of a 6.x database is a number column of seconds.
        PmTodoEx2Rec row;
        row.dueDate = c.stored;
        out = CommTaskRec{};
        PmToComm(row, out);
        EXPECT_EQ(out.DueDate, c.dueDate) << "6.x";
    }
}

TEST_F(PalmGenerationsTest, NoDateIsNoBirthdayInThe41AndThe6Generations)
{
    // Both keep a day number: the OLE automation date plus 129080608, as an 8-byte float in a
    // 4.1.x file and as a whole number in a 6.x database.
    struct Case
    {
        const char* name;
        double oleDate;
        double birthday; // 0: no birthday
    } const cases[] = {
        {"2031-12-31 23:59:59", 48213.99998842592, 0},
        {"2031-12-31", 48213, 0},
        {"2032-01-01", 48214, 0},
        {"2032-01-02", 48215, 48215},
        {"2031-12-30", 48212, 48212},
        {"2004-01-14", 38000, 38000},
        {"none", -kPmExBirthdayOffset, 0},
    };
    std::vector<PmAddrExRec> contacts;
    for (const Case& c : cases) {
        PmAddrExRec r = ExBase<PmAddrExRec>(static_cast<std::int32_t>(contacts.size() + 1));
        r.birthday = c.oleDate + kPmExBirthdayOffset;
        contacts.push_back(r);
    }
    PmAddrExUtil ex(Write(ExFile(contacts), "ex/address.dat"));
    ASSERT_EQ(ex.GetRecords().size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        CommAddrRec out{};
        PmToComm(ex.GetRecords()[i], out);
        EXPECT_EQ(out.Birthday, c.birthday) << "4.1.x";
        if (c.oleDate == static_cast<std::int32_t>(c.oleDate)) {
            PmAddrEx2Rec row;
            row.birthday = static_cast<std::int32_t>(c.oleDate + kPmExBirthdayOffset);
            row.anniversary = row.birthday;
            out = CommAddrRec{};
            PmToComm(row, out);
            EXPECT_EQ(out.Birthday, c.birthday) << "6.x";
            EXPECT_EQ(out.Anniversary, c.birthday) << "6.x";
        }
    }
}

// ---- Categories -----------------------------------------------------------------------------

TEST_F(PalmGenerationsTest, ARecordNamesItsCategoryByItsPlaceInTheTable)
{
    // IDs that differ from the places, some equal to another category's place; place 4 is free.
    const std::vector<PalmCategoryEntry> categories = {
        {1, 2, 0, "Business", "Business"},
        {2, 1, 0, "Personal", "Personal"},
        {3, 7, 0, "QuickList", "QuickList"},
        {5, 3, 0, "Travel", "Travel"},
    };
    struct Case
    {
        std::int32_t value;
        const char* name;
    } const cases[] = {
        {0, "Unfiled"}, {1, "Business"}, {2, "Personal"}, {3, "QuickList"}, {5, "Travel"},
        {4, ""},        {7, ""},         {15, ""},        {16, ""},         {-1, ""},
    };
    std::vector<std::int32_t> values;
    std::vector<PmAddrExRec> exContacts;
    std::vector<PmTodoExRec> exTodos;
    std::vector<PmMemoExRec> exMemos;
    for (const Case& c : cases) {
        values.push_back(c.value);
        const auto id = static_cast<std::int32_t>(values.size());
        exContacts.push_back(ExBase<PmAddrExRec>(id, c.value));
        exTodos.push_back(ExBase<PmTodoExRec>(id, c.value));
        exMemos.push_back(ExBase<PmMemoExRec>(id, c.value));
    }
    PmAddrUtil classic(Write(ClassicContacts(categories, values), "classic/address.dat"));
    PmAddrExUtil ex(Write(ExFile(exContacts, categories), "ex/address.dat"));
    PmTodoExUtil exTodo(Write(ExFile(exTodos, categories), "ex/todo.dat"));
    PmMemoExUtil exMemo(Write(ExFile(exMemos, categories), "ex/memopad.dat"));
    ASSERT_EQ(classic.GetRecords().size(), std::size(cases));
    ASSERT_EQ(ex.GetRecords().size(), std::size(cases));
    ASSERT_EQ(exTodo.GetRecords().size(), std::size(cases));
    ASSERT_EQ(exMemo.GetRecords().size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.value);
        CommAddrRec out{};
        PmToComm(classic.GetRecords()[i], out);
        EXPECT_STREQ(out.Category, c.name) << "classic";
        out = CommAddrRec{};
        PmToComm(ex.GetRecords()[i], out);
        EXPECT_STREQ(out.Category, c.name) << "4.1.x";
        EXPECT_EQ(exTodo.GetRecords()[i].categoryName, c.name) << "4.1.x to-do";
        EXPECT_EQ(exMemo.GetRecords()[i].categoryName, c.name) << "4.1.x memo";
        // The catalogue key of the category gives the same name.
        PmAddrRec classicCopy = classic.GetRecords()[i];
        std::string value;
        ASSERT_TRUE(PmContactValue(classicCopy, 22, value, false));
        EXPECT_EQ(value, c.name) << "classic key";
        PmAddrExRec exCopy = ex.GetRecords()[i];
        ASSERT_TRUE(PmContactValue(exCopy, 44, value, false));
        EXPECT_EQ(value, c.name) << "4.1.x key";
    }
}

} // namespace
