// Conversions between Lotus Notes native records and the common records.
#include "lotus/LNConvert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "misc/CommRecordFields.h"
#include "misc/DateUtil.h"
#include "platform/OleDate.h"

namespace {

template <class T> T Zeroed()
{
    T value;
    std::memset(&value, 0, sizeof value);
    return value;
}

SYSTEMTIME Time(int y, int mo, int d, int h = 0, int mi = 0)
{
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(y);
    t.wMonth = static_cast<WORD>(mo);
    t.wDay = static_cast<WORD>(d);
    t.wHour = static_cast<WORD>(h);
    t.wMinute = static_cast<WORD>(mi);
    return t;
}

double Ole(int y, int mo, int d, int h = 0, int mi = 0)
{
    const SYSTEMTIME t = Time(y, mo, d, h, mi);
    double date = 0;
    EXPECT_TRUE(platform::SystemTimeToVariantTime(&t, &date));
    return date;
}

// ---- contacts ----------------------------------------------------------------------------

// A text field of each side, by pointer to the first character and capacity.
struct AddrPair
{
    const char* name;
    std::size_t nativeOffset;
    std::size_t nativeSize;
    std::size_t commOffset;
    std::size_t commSize;
};

#define PAIR(N, C)                                                                                           \
    {                                                                                                        \
#N, offsetof(LNAddrRec, N), sizeof(LNAddrRec::N), offsetof(CommAddrRec, C), sizeof(CommAddrRec::C)   \
    }

const AddrPair kAddrPairs[] = {
    PAIR(FirstName, FirstName),
    PAIR(MiddleName, MiddleName),
    PAIR(LastName, LastName),
    PAIR(Suffix, Suffix),
    PAIR(DisplayName, DisplayName),
    PAIR(Company, Company),
    PAIR(Department, Department),
    PAIR(JobTitle, Title),
    PAIR(Location, Location),
    PAIR(ManagerName, ManagerName),
    PAIR(AssistantName, AssistantName),
    PAIR(BusinessEmail, Email),
    PAIR(PersonalEmail, Email2),
    PAIR(ThirdEmail, Email3),
    PAIR(PrimaryPhone, PrimaryPhone),
    PAIR(BusinessPhone, WorkPhone),
    PAIR(HomePhone, HomePhone),
    PAIR(MobilePhone, MobilePhone),
    PAIR(BusinessFax, WorkFax),
    PAIR(HomeFax, HomeFax),
    PAIR(Pager, Pager),
    PAIR(BusinessStreet, WorkAddress.Street),
    PAIR(BusinessCity, WorkAddress.City),
    PAIR(BusinessState, WorkAddress.State),
    PAIR(BusinessCountry, WorkAddress.Country),
    PAIR(BusinessPostal, WorkAddress.Postal),
    PAIR(HomeStreet, HomeAddress.Street),
    PAIR(HomeCity, HomeAddress.City),
    PAIR(HomeState, HomeAddress.State),
    PAIR(HomeCountry, HomeAddress.Country),
    PAIR(HomePostal, HomeAddress.Postal),
    PAIR(OtherStreet, OtherAddress.Street),
    PAIR(OtherCity, OtherAddress.City),
    PAIR(OtherState, OtherAddress.State),
    PAIR(OtherCountry, OtherAddress.Country),
    PAIR(OtherPostal, OtherAddress.Postal),
    PAIR(InstantMessenger, IM1),
    PAIR(WebSite, WorkHomePage),
    PAIR(BlogSite, PersonalHomePage),
    PAIR(SpouseName, SpouseName),
    PAIR(ChildrenNames, ChildrenNames),
    PAIR(Category, Category),
    PAIR(Note, Note),
};

#undef PAIR

char* At(void* rec, std::size_t offset)
{
    return static_cast<char*>(rec) + offset;
}

class AddrPairTest : public ::testing::TestWithParam<AddrPair>
{
};

// Each pair carries its text both ways, cut to the receiving field.
TEST_P(AddrPairTest, TextGoesBothWaysCutToTheReceivingField)
{
    const AddrPair& p = GetParam();
    const std::string longText(5000, 'a');

    auto native = Zeroed<LNAddrRec>();
    std::snprintf(At(&native, p.nativeOffset), p.nativeSize, "%s", longText.c_str());
    auto rec = Zeroed<CommAddrRec>();
    LNAddrToComm(native, LNCustomMapping{}, rec);
    const std::size_t loaded = std::min(p.nativeSize, p.commSize) - 1;
    EXPECT_EQ(std::string(At(&rec, p.commOffset)), std::string(loaded, 'a'));
    EXPECT_EQ(rec.SourceType, SourceLotusNotes);

    auto back = Zeroed<LNAddrRec>();
    auto source = Zeroed<CommAddrRec>();
    std::snprintf(At(&source, p.commOffset), p.commSize, "%s", longText.c_str());
    CommToLNAddr(source, back);
    const std::size_t written = std::min(p.nativeSize, p.commSize) - 1;
    EXPECT_EQ(std::string(At(&back, p.nativeOffset)), std::string(written, 'a'));
}

INSTANTIATE_TEST_SUITE_P(Pairs, AddrPairTest, ::testing::ValuesIn(kAddrPairs),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LNAddrConvert, SubmitKeepsTheFieldsTheConversionDoesNotTouch)
{
    auto native = Zeroed<LNAddrRec>();
    native.ChangeMark = 1;
    native.Action = 0;
    std::snprintf(native.ItemID, sizeof native.ItemID, "ID-7");
    std::snprintf(native.BusinessEmail2, sizeof native.BusinessEmail2, "b2@example.com");
    std::snprintf(native.PersonalEmail2, sizeof native.PersonalEmail2, "p2@example.com");
    std::snprintf(native.FirstName, sizeof native.FirstName, "Old");
    native.BirthDate = 30000.0;

    auto rec = Zeroed<CommAddrRec>();
    LNAddrToComm(native, LNCustomMapping{}, rec);
    std::snprintf(rec.FirstName, sizeof rec.FirstName, "New");
    LNAddrRec changed = native;
    CommToLNAddr(rec, changed);

    EXPECT_STREQ(changed.FirstName, "New");
    EXPECT_STREQ(changed.ItemID, "ID-7");
    EXPECT_STREQ(changed.BusinessEmail2, "b2@example.com");
    EXPECT_STREQ(changed.PersonalEmail2, "p2@example.com");
    EXPECT_EQ(changed.ChangeMark, 1);
    EXPECT_EQ(changed.BirthDate, 30000.0);
    // Everything else came back as it was.
    changed.FirstName[0] = 'O';
    changed.FirstName[1] = 'l';
    changed.FirstName[2] = 'd';
    EXPECT_EQ(0, std::memcmp(&native, &changed, sizeof native));
}

TEST(LNAddrConvert, DatesAndCustomFieldsAndLabels)
{
    auto native = Zeroed<LNAddrRec>();
    native.BirthDate = Ole(1980, 5, 17);
    native.Anniversary = Ole(2005, 9, 1);
    for (int i = 0; i < 10; ++i) {
        std::snprintf(native.CustomFields[i], sizeof native.CustomFields[i], "%s-%d",
                      std::string(100, 'v').c_str(), i);
        std::snprintf(native.CustomLabels[i], sizeof native.CustomLabels[i], "label %d", i);
    }
    auto rec = Zeroed<CommAddrRec>();
    LNAddrToComm(native, LNCustomMapping{}, rec);
    EXPECT_EQ(rec.Birthday, native.BirthDate);
    EXPECT_EQ(rec.Anniversary, native.Anniversary);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(std::string(rec.CustomValues[i]), std::string(63, 'v')) << i;
        EXPECT_EQ(std::string(rec.CustomLabels[i]), "label " + std::to_string(i));
        EXPECT_STREQ(rec.MappedValues[i], "");
    }

    auto back = Zeroed<LNAddrRec>();
    CommToLNAddr(rec, back);
    EXPECT_EQ(back.BirthDate, native.BirthDate);
    EXPECT_EQ(back.Anniversary, native.Anniversary);
    EXPECT_EQ(std::string(back.CustomFields[3]), std::string(63, 'v'));
    EXPECT_STREQ(back.CustomLabels[9], "label 9");
}

TEST(LNAddrConvert, CustomMappingCopiesOnlyTextFieldsOfTheRecord)
{
    struct Case
    {
        int fieldId;
        const char* expected;
    };
    const Case cases[] = {
        {16, "b2@example.com"}, // Business Email 2
        {2, "Ada"},             // First Name
        {51, "a note"},         // Note
        {52, "VIP"},            // Category
        {53, ""},               // Birth Date: a date gives nothing
        {54, ""},               // Anniversary
        {1, ""},                // ID
        {45, ""},               // Custom Field 1
        {50, ""},               // Custom Label 3
        {0, ""},                // no mapping
        {55, ""},               // not in the table
        {-3, ""},
    };
    auto native = Zeroed<LNAddrRec>();
    std::snprintf(native.ItemID, sizeof native.ItemID, "ID-1");
    std::snprintf(native.FirstName, sizeof native.FirstName, "Ada");
    std::snprintf(native.BusinessEmail2, sizeof native.BusinessEmail2, "b2@example.com");
    std::snprintf(native.Note, sizeof native.Note, "a note");
    std::snprintf(native.Category, sizeof native.Category, "VIP");
    std::snprintf(native.CustomFields[0], sizeof native.CustomFields[0], "cf1");
    std::snprintf(native.CustomLabels[2], sizeof native.CustomLabels[2], "cl3");
    native.BirthDate = Ole(1980, 5, 17);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fieldId);
        LNCustomMapping mapping{};
        mapping.FieldId[0] = c.fieldId;
        mapping.FieldId[7] = c.fieldId;
        auto rec = Zeroed<CommAddrRec>();
        LNAddrToComm(native, mapping, rec);
        EXPECT_STREQ(rec.MappedValues[0], c.expected);
        EXPECT_STREQ(rec.MappedValues[7], c.expected);
        EXPECT_STREQ(rec.MappedValues[1], "");
    }
}

TEST(LNAddrConvert, MappedValueIsCutTo63Characters)
{
    auto native = Zeroed<LNAddrRec>();
    std::memset(native.Note, 'n', 1000);
    LNCustomMapping mapping{};
    mapping.FieldId[4] = 51;
    auto rec = Zeroed<CommAddrRec>();
    LNAddrToComm(native, mapping, rec);
    EXPECT_EQ(std::string(rec.MappedValues[4]), std::string(63, 'n'));
}

TEST(LNAddrConvert, MappedValueOverridesTheCustomFieldOnSubmit)
{
    auto rec = Zeroed<CommAddrRec>();
    std::snprintf(rec.CustomValues[0], sizeof rec.CustomValues[0], "keep");
    std::snprintf(rec.CustomValues[1], sizeof rec.CustomValues[1], "replaced");
    std::snprintf(rec.MappedValues[1], sizeof rec.MappedValues[1], "X");
    auto native = Zeroed<LNAddrRec>();
    CommToLNAddr(rec, native);
    EXPECT_STREQ(native.CustomFields[0], "keep");
    EXPECT_STREQ(native.CustomFields[1], "X");
    EXPECT_STREQ(native.CustomFields[2], "");
}

// ---- calendar ----------------------------------------------------------------------------

struct RepeatCase
{
    const char* name;
    int kind;
    int mask;
    int dayOfMonth;
    const char* period;
    const char* unit;
    const char* days;
    int kindBack; // the kind that the written record loads as
    int instance = 0;
    const char* field20 = ""; // the occurrence of a monthly-by-weekday rule
};

const RepeatCase kRepeatCases[] = {
    {"Daily", 1, 0, 0, "D", "D", "", 1},
    {"WeeklyMondayWednesday", 2, 10, 0, "W", "W", "10", 2, 1},
    {"MonthlyByWeekday", 3, 4, 0, "M", "MP", "4", 3},
    {"MonthlyOnTheSecondTuesday", 3, 4, 0, "M", "MP", "4", 3, 2, "2"},
    {"MonthlyOnTheLastFriday", 3, 32, 0, "M", "MP", "32", 3, 5, "5"},
    {"MonthlyByDate", 4, 0, 21, "M", "MD", "21", 4},
    {"YearlyByWeekday", 5, 0, 0, "Y", "Y", "", 6, 4},
    {"YearlyByDate", 6, 0, 0, "Y", "Y", "", 6},
};

class RepeatTest : public ::testing::TestWithParam<RepeatCase>
{
};

TEST_P(RepeatTest, PatternIsWrittenAndReadBack)
{
    const RepeatCase& c = GetParam();
    auto rec = Zeroed<CommDateRec>();
    rec.Start = Time(2024, 3, 18, 9, 30);
    rec.End = Time(2024, 3, 18, 10, 0);
    rec.Recurrence.Kind = c.kind;
    rec.Recurrence.DayOfWeekMask = c.mask;
    rec.Recurrence.DayOfMonth = c.dayOfMonth;
    rec.Recurrence.Instance = c.instance;
    rec.Recurrence.Interval = 2;
    rec.Recurrence.HasEnd = 1;
    rec.Recurrence.PatternEnd = Time(2024, 12, 31);

    auto native = Zeroed<LNDateRec>();
    CommToLNDate(rec, native);
    EXPECT_STREQ(native.Repeats, "1");
    EXPECT_STREQ(native.RepeatPeriod, c.period);
    EXPECT_STREQ(native.RepeatUnit, c.unit);
    EXPECT_STREQ(native.RepeatPeriod2, c.period);
    EXPECT_STREQ(native.RepeatDays, c.days);
    EXPECT_STREQ(native.RepeatInterval, "2");
    EXPECT_STREQ(native.Field20, c.field20);
    EXPECT_EQ(native.RepeatCount, 5);
    EXPECT_EQ(native.RepeatStartDay, Ole(2024, 3, 18));
    EXPECT_EQ(native.RepeatStartDay2, native.RepeatStartDay);
    EXPECT_EQ(native.RepeatUntil, Ole(2024, 12, 31));

    auto back = Zeroed<CommDateRec>();
    LNDateToComm(native, back);
    EXPECT_EQ(back.Recurrence.Kind, c.kindBack);
    EXPECT_EQ(back.Recurrence.Interval, 2);
    EXPECT_TRUE(back.Recurrence.HasEnd);
    EXPECT_EQ(back.Recurrence.PatternEnd.wYear, 2024);
    EXPECT_EQ(back.Recurrence.PatternEnd.wMonth, 12);
    EXPECT_EQ(back.Recurrence.PatternEnd.wDay, 31);
    if (c.kindBack == 2 || c.kindBack == 3) {
        EXPECT_EQ(back.Recurrence.DayOfWeekMask, c.mask);
    }
    if (c.kindBack == 3) {
        EXPECT_EQ(back.Recurrence.Instance, c.instance);
    }
    if (c.kindBack == 4) {
        EXPECT_EQ(back.Recurrence.DayOfMonth, c.dayOfMonth);
    }
    if (c.kindBack == 6) {
        EXPECT_EQ(back.Recurrence.MonthOfYear, 3);
        EXPECT_EQ(back.Recurrence.DayOfMonth, 18);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, RepeatTest, ::testing::ValuesIn(kRepeatCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The occurrence of a monthly-by-weekday rule, as records of other writers may hold it.
TEST(LNDateConvert, MonthlyByWeekdayOccurrenceReadsOnlyOneToFive)
{
    const struct
    {
        const char* field20;
        int instance;
    } cases[] = {{"", 0}, {"1", 1}, {"5", 5}, {"0", 0}, {"6", 0}, {"-1", 0}, {"old", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field20);
        auto native = Zeroed<LNDateRec>();
        std::snprintf(native.Repeats, sizeof native.Repeats, "1");
        std::snprintf(native.RepeatUnit, sizeof native.RepeatUnit, "MP");
        std::snprintf(native.RepeatDays, sizeof native.RepeatDays, "4");
        std::snprintf(native.Field20, sizeof native.Field20, "%s", c.field20);
        auto rec = Zeroed<CommDateRec>();
        LNDateToComm(native, rec);
        EXPECT_EQ(rec.Recurrence.Kind, 3);
        EXPECT_EQ(rec.Recurrence.DayOfWeekMask, 4);
        EXPECT_EQ(rec.Recurrence.Instance, c.instance);
    }
}

TEST(LNDateConvert, UnknownRepeatUnitLoadsWithoutKindButWithIntervalAndEnd)
{
    struct Case
    {
        const char* repeats;
        const char* unit;
        double until;
        int kind;
        int interval;
        bool hasEnd;
    };
    const Case cases[] = {
        {"1", "YD", 45000.0, 0, 3, true}, {"1", "", 0.0, 0, 3, false},
        {"1", "w", 0.0, 0, 3, false},                                      // units are compared exactly
        {"10", "D", -2.0, 1, 3, false},   {"", "D", 45000.0, 0, 0, false}, // not repeating: nothing read
        {"0", "W", 45000.0, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.repeats) + "/" + c.unit);
        auto native = Zeroed<LNDateRec>();
        std::snprintf(native.Repeats, sizeof native.Repeats, "%s", c.repeats);
        std::snprintf(native.RepeatUnit, sizeof native.RepeatUnit, "%s", c.unit);
        std::snprintf(native.RepeatInterval, sizeof native.RepeatInterval, "3");
        native.RepeatUntil = c.until;
        auto rec = Zeroed<CommDateRec>();
        LNDateToComm(native, rec);
        EXPECT_EQ(rec.Recurrence.Kind, c.kind);
        EXPECT_EQ(rec.Recurrence.Interval, c.interval);
        EXPECT_EQ(static_cast<bool>(rec.Recurrence.HasEnd), c.hasEnd);
    }
}

TEST(LNDateConvert, SingleEntryAndTexts)
{
    auto rec = Zeroed<CommDateRec>();
    std::memset(rec.Subject, 's', sizeof rec.Subject - 1);
    std::memset(rec.Notes, 'b', sizeof rec.Notes - 1);
    std::snprintf(rec.Location, sizeof rec.Location, "Room 1");
    rec.Start = Time(2024, 7, 1, 14, 15);
    rec.End = Time(2024, 7, 1, 15, 45);
    rec.Private = 1;

    auto native = Zeroed<LNDateRec>();
    std::snprintf(native.Kept8, sizeof native.Kept8, "kept");
    CommToLNDate(rec, native);
    EXPECT_STREQ(native.Repeats, "");
    EXPECT_STREQ(native.RepeatUnit, "");
    EXPECT_EQ(native.RepeatCount, 0);
    EXPECT_EQ(std::strlen(native.Subject), 255u);
    EXPECT_EQ(std::strlen(native.Body), 8191u);
    EXPECT_STREQ(native.Location, "Room 1");
    EXPECT_STREQ(native.Kept8, "kept");
    EXPECT_EQ(native.Start, Ole(2024, 7, 1, 14, 15));
    EXPECT_EQ(native.End, Ole(2024, 7, 1, 15, 45));
    EXPECT_EQ(native.Private, 1);

    // A body longer than the common field is cut on load.
    std::memset(native.Body, 'x', sizeof native.Body - 1);
    native.Private = 7;
    auto back = Zeroed<CommDateRec>();
    LNDateToComm(native, back);
    EXPECT_EQ(std::strlen(back.Notes), 8191u);
    EXPECT_EQ(back.Private, 1);
    EXPECT_EQ(back.Start.wHour, 14);
    EXPECT_EQ(back.End.wMinute, 45);
    EXPECT_EQ(back.Recurrence.Kind, 0);
    EXPECT_EQ(back.SourceType, SourceLotusNotes);
}

TEST(LNDateConvert, ChangedPatternOverwritesTheOldOne)
{
    auto native = Zeroed<LNDateRec>();
    std::snprintf(native.Field20, sizeof native.Field20, "old");
    native.RepeatCount = 9;
    native.RepeatUntil = Ole(2030, 1, 1);

    auto rec = Zeroed<CommDateRec>();
    rec.Start = Time(2024, 1, 2, 8, 0);
    rec.End = Time(2024, 1, 2, 9, 0);
    rec.Recurrence.Kind = 1;
    rec.Recurrence.Interval = 1;
    rec.Recurrence.HasEnd = 0;
    CommToLNDate(rec, native);
    EXPECT_STREQ(native.Field20, "");
    EXPECT_EQ(native.RepeatCount, 9); // only a count of 0 becomes 5
    // A pattern without an end does not keep the earlier end.
    EXPECT_EQ(native.RepeatUntil, 0.0);

    // A kind that Lotus Notes has no pattern for is written as a single entry.
    rec.Recurrence.Kind = 9;
    CommToLNDate(rec, native);
    EXPECT_STREQ(native.Repeats, "");
}

// All-day travels as the appointment type (Kept28); records that other helpers wrote, with
// an empty or another type, are not all-day.
TEST(LNDateConvert, AllDayTravelsAsTheAppointmentType)
{
    struct LoadCase
    {
        const char* type;
        int allDay;
    };
    const LoadCase loads[] = {{"", 0}, {"2", 1}, {"0", 0}, {"3", 0}, {"20", 0}, {" 2", 0}, {"x", 0}};
    for (const LoadCase& c : loads) {
        SCOPED_TRACE(std::string("load \"") + c.type + '"');
        auto native = Zeroed<LNDateRec>();
        std::snprintf(native.Kept28, sizeof native.Kept28, "%s", c.type);
        auto rec = Zeroed<CommDateRec>();
        LNDateToComm(native, rec);
        EXPECT_EQ(rec.AllDay, c.allDay);
    }

    struct SaveCase
    {
        int allDay;
        const char* before;
        const char* after;
    };
    const SaveCase saves[] = {
        {1, "", "2"},  // a new all-day event
        {1, "3", "2"}, // an entry that becomes one
        {0, "", ""},   // a new timed entry: nothing to say
        {0, "2", "0"}, // no longer all-day: an appointment
        {0, "3", "3"}, // any other type stays
        {7, "0", "2"}, // any non-zero flag
    };
    for (const SaveCase& c : saves) {
        SCOPED_TRACE(std::to_string(c.allDay) + " over \"" + c.before + '"');
        auto native = Zeroed<LNDateRec>();
        std::snprintf(native.Kept28, sizeof native.Kept28, "%s", c.before);
        auto rec = Zeroed<CommDateRec>();
        rec.AllDay = c.allDay;
        rec.Start = Time(2024, 12, 25);
        rec.End = Time(2024, 12, 25);
        CommToLNDate(rec, native);
        EXPECT_STREQ(native.Kept28, c.after);
        auto back = Zeroed<CommDateRec>();
        LNDateToComm(native, back);
        EXPECT_EQ(back.AllDay, c.allDay != 0 ? 1 : 0);
    }
}

// ---- tasks -------------------------------------------------------------------------------

TEST(LNTaskConvert, PriorityBothWays)
{
    struct Case
    {
        int common;
        int native;
        int commonBack;
    };
    // Submit: 1 high -> 0, 2 low -> 2, anything else -> 1 (normal). Load: 0 -> 1, 2 -> 2, else 0.
    const Case cases[] = {{0, 1, 0}, {1, 0, 1}, {2, 2, 2}, {3, 1, 0}, {-1, 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.common);
        auto rec = Zeroed<CommTaskRec>();
        rec.Priority = c.common;
        auto native = Zeroed<LNTaskRec>();
        CommToLNTask(rec, native);
        EXPECT_EQ(native.Priority, c.native);
        auto back = Zeroed<CommTaskRec>();
        LNTaskToComm(native, 0, back);
        EXPECT_EQ(back.Priority, c.commonBack);
    }
    const int nativeOnly[][2] = {{5, 0}, {-1, 0}, {1, 0}};
    for (const auto& c : nativeOnly) {
        auto native = Zeroed<LNTaskRec>();
        native.Priority = c[0];
        auto back = Zeroed<CommTaskRec>();
        LNTaskToComm(native, 0, back);
        EXPECT_EQ(back.Priority, c[1]) << c[0];
    }
}

TEST(LNTaskConvert, CompletionDependsOnTheCompletionDateAndNow)
{
    const double now = Ole(2024, 6, 1, 12, 0);
    struct Case
    {
        const char* name;
        double completion;
        bool completed;
    };
    const Case cases[] = {
        {"none", 0.0, false},
        {"negative", -3.0, false},
        {"in the past", Ole(2024, 5, 1), true},
        {"exactly now", now, true},
        {"in the future", Ole(2024, 6, 2), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto native = Zeroed<LNTaskRec>();
        native.CompletionDate = c.completion;
        auto rec = Zeroed<CommTaskRec>();
        LNTaskToComm(native, now, rec);
        EXPECT_EQ(static_cast<bool>(rec.Completed), c.completed);
    }
}

// A completed task is written with a completion date that loads back as completed; an open
// one leaves the date as it was (a task completed in Lotus Notes is not reopened).
TEST(LNTaskConvert, CompletedTaskIsWrittenWithACompletionDate)
{
    const double now = Ole(2024, 6, 1, 12, 0);
    struct Case
    {
        const char* name;
        bool completed;
        double modified; // the source's LastModificationTime
        double before;   // the native completion date before the submit
        double after;
    };
    const Case cases[] = {
        {"completed, when it was last changed", true, Ole(2024, 5, 20, 8, 30), 0.0, Ole(2024, 5, 20, 8, 30)},
        {"completed, no modification time: now", true, 0.0, 0.0, now},
        {"completed, changed in the future: now", true, Ole(2024, 7, 1), 0.0, now},
        {"completed, not a date: now", true, std::nan(""), 0.0, now},
        {"already completed: its date stays", true, Ole(2024, 5, 20), Ole(2024, 1, 2), Ole(2024, 1, 2)},
        {"completed later than now: now", true, 0.0, Ole(2024, 8, 1), now},
        {"open, new", false, Ole(2024, 5, 20), 0.0, 0.0},
        {"open over a completed one", false, 0.0, Ole(2024, 1, 2), Ole(2024, 1, 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto rec = Zeroed<CommTaskRec>();
        std::snprintf(rec.Subject, sizeof rec.Subject, "File taxes");
        rec.Completed = c.completed ? 1 : 0;
        rec.LastModificationTime = c.modified;
        auto native = Zeroed<LNTaskRec>();
        native.CompletionDate = c.before;
        CommToLNTaskAt(rec, now, native);
        EXPECT_EQ(native.CompletionDate, c.after);
        if (c.completed) {
            auto back = Zeroed<CommTaskRec>();
            LNTaskToComm(native, now, back);
            EXPECT_EQ(back.Completed, 1);
        }
    }

    // Without a time given, the task is completed by the time of the submit.
    auto rec = Zeroed<CommTaskRec>();
    rec.Completed = 1;
    auto native = Zeroed<LNTaskRec>();
    const double before = LNNowAsVariantTime();
    CommToLNTask(rec, native);
    EXPECT_GE(native.CompletionDate, before);
    EXPECT_LE(native.CompletionDate, LNNowAsVariantTime());
}

TEST(LNTaskConvert, DueDateAndTexts)
{
    auto rec = Zeroed<CommTaskRec>();
    std::snprintf(rec.Subject, sizeof rec.Subject, "Call back");
    std::memset(rec.Notes, 'n', sizeof rec.Notes - 1);
    rec.Private = 1;
    SYSTEMTIME due = Time(2024, 8, 15, 0, 0);
    double dueOle = 0;
    ASSERT_TRUE(platform::SystemTimeToVariantTime(&due, &dueOle));
    rec.DueDate = VariantTimeToTimeT(dueOle);
    ASSERT_GT(rec.DueDate, 0);

    auto native = Zeroed<LNTaskRec>();
    std::snprintf(native.Kept20, sizeof native.Kept20, "kept");
    native.CompletionDate = 123.0;
    CommToLNTask(rec, native);
    EXPECT_STREQ(native.Subject, "Call back");
    EXPECT_EQ(std::strlen(native.Body), 8191u);
    EXPECT_DOUBLE_EQ(native.DueDate, dueOle);
    EXPECT_EQ(native.Private, 1);
    EXPECT_STREQ(native.Kept20, "kept");
    EXPECT_EQ(native.CompletionDate, 123.0);

    auto back = Zeroed<CommTaskRec>();
    LNTaskToComm(native, 0, back);
    EXPECT_EQ(back.DueDate, rec.DueDate);
    EXPECT_EQ(back.Private, 1);
    EXPECT_EQ(back.SourceType, SourceLotusNotes);

    // No due date either way.
    rec.DueDate = 0;
    CommToLNTask(rec, native);
    EXPECT_EQ(native.DueDate, 0.0);
    native.DueDate = 0;
    auto none = Zeroed<CommTaskRec>();
    LNTaskToComm(native, 0, none);
    EXPECT_EQ(none.DueDate, 0);

    // A due date that calendar time cannot hold is no due date, not the error value -1.
    native.DueDate = Ole(9000, 1, 1);
    auto far = Zeroed<CommTaskRec>();
    LNTaskToComm(native, 0, far);
    EXPECT_EQ(far.DueDate, 0);
}

// ---- notes -------------------------------------------------------------------------------

TEST(LNNoteConvert, TitleAndBodyCutBothWays)
{
    auto rec = Zeroed<CommNoteRec>();
    std::memset(rec.Title, 't', sizeof rec.Title - 1);
    std::memset(rec.Body, 'b', sizeof rec.Body - 1);
    auto native = Zeroed<LNNoteRec>();
    native.Kept7 = 4;
    CommToLNNote(rec, native);
    EXPECT_EQ(std::strlen(native.Title), 255u);
    EXPECT_EQ(std::strlen(native.Body), 8191u);
    EXPECT_EQ(native.Kept7, 4);

    auto back = Zeroed<CommNoteRec>();
    LNNoteToComm(native, back);
    EXPECT_EQ(std::strlen(back.Title), 255u);
    EXPECT_EQ(std::string(back.Body), std::string(8191, 'b'));
    EXPECT_EQ(back.SourceType, SourceLotusNotes);
}

// ---- round trips -------------------------------------------------------------------------

// A loaded record written back unchanged goes to Lotus Notes exactly as it came, the fields
// that only the helper knows included.
template <class Native, class Comm, class Load, class Save>
void ExpectRoundTripKeepsRecord(const Native& native, Load load, Save save)
{
    auto rec = Zeroed<Comm>();
    load(native, rec);
    Native back = native;
    save(rec, back);
    EXPECT_EQ(0, std::memcmp(&native, &back, sizeof native));
}

TEST(LNRoundTrip, LoadedRecordsWrittenBackUnchanged)
{
    {
        SCOPED_TRACE("calendar, weekly until a date");
        auto native = Zeroed<LNDateRec>();
        auto rec = Zeroed<CommDateRec>();
        std::snprintf(rec.Subject, sizeof rec.Subject, "Standup");
        rec.Start = Time(2024, 3, 18, 9, 30);
        rec.End = Time(2024, 3, 18, 9, 45);
        rec.Recurrence = {2, 1, {}, Time(2024, 6, 30), 1, 10, 0, 0, 0};
        CommToLNDate(rec, native);
        native.ChangeMark = 1;
        std::snprintf(native.ItemID, sizeof native.ItemID, "D-1");
        std::snprintf(native.Kept9, sizeof native.Kept9, "k9");
        native.Kept11[3] = 44.5;
        std::snprintf(native.Kept29, sizeof native.Kept29, "k29");
        ExpectRoundTripKeepsRecord<LNDateRec, CommDateRec>(native, LNDateToComm, CommToLNDate);
    }
    {
        SCOPED_TRACE("task");
        auto native = Zeroed<LNTaskRec>();
        std::snprintf(native.Subject, sizeof native.Subject, "Report");
        native.Priority = 2;
        native.Private = 1;
        native.DueDate = Ole(2024, 9, 1);
        native.CompletionDate = Ole(2024, 8, 1);
        native.Kept12 = 7.25;
        native.Kept19 = 19;
        std::snprintf(native.Kept10, sizeof native.Kept10, "k10");
        ExpectRoundTripKeepsRecord<LNTaskRec, CommTaskRec>(
            native, [](const LNTaskRec& n, CommTaskRec& c) { LNTaskToComm(n, 0, c); }, CommToLNTask);
    }
    {
        SCOPED_TRACE("note");
        LNNoteRec native = Zeroed<LNNoteRec>();
        std::snprintf(native.Title, sizeof native.Title, "Title");
        std::snprintf(native.Body, sizeof native.Body, "Body");
        native.Kept7 = 3;
        native.Kept8[1] = 2.5;
        ExpectRoundTripKeepsRecord<LNNoteRec, CommNoteRec>(native, LNNoteToComm, CommToLNNote);
    }
}

// ---- texts Lotus Notes keeps in part ---------------------------------------------------

// Every common text filled to its capacity goes to Lotus Notes and back: each text that comes
// back shorter (but not empty: a field Lotus Notes does not carry) is one of the connector's
// text limits, limited to exactly what came back, and every limit is such a text.
template <class Comm, class Native, class Save, class Load>
void ExpectLimitsAreTheCutTexts(CommTextLimits limits, Save save, Load load)
{
    auto rec = Zeroed<Comm>();
    const std::span<const CommField> fields = CommFieldsOf<Comm>();
    for (const CommField& field : fields) {
        if (field.Kind == CommFieldKind::Text) {
            auto* at = reinterpret_cast<char*>(&rec) + field.Offset;
            for (std::size_t i = 0; i + 1 < field.Size; ++i) {
                at[i] = static_cast<char>('a' + i % 26);
            }
        }
    }
    auto native = Zeroed<Native>();
    save(rec, native);
    auto back = Zeroed<Comm>();
    load(native, back);
    std::vector<std::string> cut;
    for (const CommField& field : fields) {
        if (field.Kind != CommFieldKind::Text) {
            continue;
        }
        const std::size_t length = CommFieldText(&back, field).size();
        if (length == 0 || length == field.Size - 1) {
            continue;
        }
        cut.push_back(field.Name);
        const CommTextLimit* limit = nullptr;
        for (const CommTextLimit& l : limits) {
            if (field.Name == l.Field) {
                limit = &l;
            }
        }
        ASSERT_NE(limit, nullptr) << field.Name << " is cut to " << length << " but has no limit";
        EXPECT_EQ(limit->MaxChars, length) << field.Name;
    }
    EXPECT_EQ(cut.size(), limits.size());
}

TEST(LNTextLimits, AreTheTextsTheRecordsHoldInPart)
{
    {
        SCOPED_TRACE("contacts");
        ExpectLimitsAreTheCutTexts<CommAddrRec, LNAddrRec>(
            LNAddrTextLimits(), CommToLNAddr,
            [](const LNAddrRec& n, CommAddrRec& c) { LNAddrToComm(n, LNCustomMapping{}, c); });
        EXPECT_EQ(LNAddrTextLimits()[0].Key, AddrKey::Note);
    }
    {
        SCOPED_TRACE("calendar");
        ExpectLimitsAreTheCutTexts<CommDateRec, LNDateRec>({}, CommToLNDate, LNDateToComm);
    }
    {
        SCOPED_TRACE("tasks");
        ExpectLimitsAreTheCutTexts<CommTaskRec, LNTaskRec>(
            {}, CommToLNTask, [](const LNTaskRec& n, CommTaskRec& c) { LNTaskToComm(n, 0, c); });
    }
    {
        SCOPED_TRACE("notes");
        ExpectLimitsAreTheCutTexts<CommNoteRec, LNNoteRec>(LNNoteTextLimits(), CommToLNNote, LNNoteToComm);
        EXPECT_EQ(LNNoteTextLimits()[0].Key, NoteKey::Body);
    }
}

// ---- numbers -----------------------------------------------------------------------------

TEST(LNTextToInt, LeadingDigits)
{
    struct Case
    {
        const char* text;
        int value;
    };
    const Case cases[] = {
        {"", 0},
        {"abc", 0},
        {"10", 10},
        {"  42x", 42},
        {"-7", -7},
        {"+3", 3},
        {"12 34", 12},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
        {"-", 0},
        {"0010", 10},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LNTextToInt(c.text), c.value) << '"' << c.text << '"';
    }
}

} // namespace
