// The rules that every Palm Desktop generation's conversion shares, the contact field
// catalogues and the time values.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>

#include "common/PinnedLocale.h"
#include "common/TempHome.h"
#include "palm/PalmConvert.h"
#include "palm/PalmEnv.h"
#include "palm/PalmTime.h"

namespace {

const fwtest::PinnedLocale kPinned{"Europe/Berlin"}; // local times below are Berlin's, texts code page 1252

template <class Rec> Rec Zeroed()
{
    Rec rec;
    std::memset(static_cast<void*>(&rec), 0, sizeof rec);
    return rec;
}

// ---- Status filter and text copies ------------------------------------------------------

TEST(PalmConvertTest, StatusFilterLooksAtDeletedAndArchivedBitsOfTheLowByte)
{
    struct Case
    {
        std::uint32_t status;
        bool skipped;
    } const cases[] = {
        {0x00, false}, {0x01, false}, {0x04, true},   {0x80, true},    {0x84, true},
        {0x41, false}, {0x104, true}, {0x400, false}, {0x8000, false}, {0xFFFFFF7B, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PmIsSkippedStatus(c.status), c.skipped) << std::hex << c.status;
    }
}

TEST(PalmConvertTest, CopyTextCutsToTheSmallerOfFieldAndLimit)
{
    struct Case
    {
        std::string text;
        std::size_t maxChars;
        std::string expected;
    } const cases[] = {
        {"short", SIZE_MAX, "short"},
        {"exactly7", SIZE_MAX, "exactly"}, // 8 bytes hold 7 characters
        {"limited text", 3, "lim"},
        {"", SIZE_MAX, ""},
        {"zero", 0, ""},
    };
    for (const auto& c : cases) {
        char field[8];
        std::memset(field, 'x', sizeof field);
        PmCopyText(field, c.text, c.maxChars);
        EXPECT_EQ(std::string(field), c.expected) << c.text;
    }
    // No room, nothing written; one byte holds only the terminator.
    char guard[2] = {'a', 'b'};
    PmCopyText(guard, 0, "text");
    EXPECT_EQ(guard[0], 'a');
    PmCopyText(guard, 1, "text");
    EXPECT_EQ(guard[0], '\0');
    EXPECT_EQ(guard[1], 'b');
}

// ---- Phones -----------------------------------------------------------------------------

TEST(PalmConvertTest, PhonesGoToTheFieldOfTheirLabel)
{
    struct Case
    {
        int label;
        char (CommAddrRec::*field)[24];
    } const cases[] = {
        {0, &CommAddrRec::WorkPhone},   {1, &CommAddrRec::HomePhone},    {2, &CommAddrRec::WorkFax},
        {3, &CommAddrRec::OtherPhone},  {5, &CommAddrRec::PrimaryPhone}, {6, &CommAddrRec::Pager},
        {7, &CommAddrRec::MobilePhone},
    };
    for (const auto& c : cases) {
        auto rec = Zeroed<CommAddrRec>();
        PmPlacePhone(rec, c.label, "555-0100");
        EXPECT_STREQ(rec.*c.field, "555-0100") << c.label;
    }
    auto rec = Zeroed<CommAddrRec>();
    PmPlacePhone(rec, 4, "someone@example.com");
    EXPECT_STREQ(rec.Email, "someone@example.com");
}

TEST(PalmConvertTest, LaterPhoneWinsAndEmptyOrUnknownPhonesAreDropped)
{
    auto rec = Zeroed<CommAddrRec>();
    PmPlacePhone(rec, 0, "first");
    PmPlacePhone(rec, 0, "second");
    PmPlacePhone(rec, 1, "home");
    PmPlacePhone(rec, 1, ""); // an empty phone does not wipe the earlier one
    PmPlacePhone(rec, 8, "label eight");
    PmPlacePhone(rec, -1, "negative");
    PmPlacePhone(rec, 7, "a mobile number far longer than the field can hold");
    EXPECT_STREQ(rec.WorkPhone, "second");
    EXPECT_STREQ(rec.HomePhone, "home");
    EXPECT_EQ(std::strlen(rec.MobilePhone), sizeof rec.MobilePhone - 1);

    auto untouched = Zeroed<CommAddrRec>();
    PmPlacePhone(untouched, 8, "label eight");
    PmPlacePhone(untouched, -1, "negative");
    const auto zero = Zeroed<CommAddrRec>();
    EXPECT_EQ(std::memcmp(&untouched, &zero, sizeof zero), 0);
}

TEST(PalmConvertTest, PhoneLabelTexts)
{
    const char* const expected[] = {"Work Phone", "Home Phone", "Fax",   "Other Phone",
                                    "E-mail",     "Main Phone", "Pager", "Mobile Phone"};
    for (int label = 0; label < 8; ++label) {
        EXPECT_STREQ(PmPhoneLabelText(label), expected[label]);
    }
    EXPECT_STREQ(PmPhoneLabelText(8), "Work Phone");
    EXPECT_STREQ(PmPhoneLabelText(-1), "Work Phone");
}

// ---- Alarm and priority -----------------------------------------------------------------

TEST(PalmConvertTest, AlarmUnits)
{
    struct Case
    {
        std::int32_t unit;
        std::int32_t expected;
    } const cases[] = {{0, 1}, {1, 2}, {2, 3}, {7, 1}, {-1, 1}};
    for (const auto& c : cases) {
        auto rec = Zeroed<CommDateRec>();
        PmConvertAlarm(rec, true, 15, c.unit);
        EXPECT_EQ(rec.ReminderSet, 1);
        EXPECT_EQ(rec.ReminderCount, 1);
        EXPECT_EQ(rec.Reminders[0].Amount, 15);
        EXPECT_EQ(rec.Reminders[0].Unit, c.expected) << c.unit;
        EXPECT_EQ(rec.Reminders[0].Method, 0);
    }
    auto rec = Zeroed<CommDateRec>();
    rec.ReminderSet = 1;
    rec.ReminderCount = 2;
    PmConvertAlarm(rec, false, 15, 1);
    EXPECT_EQ(rec.ReminderSet, 0);
    EXPECT_EQ(rec.ReminderCount, 0);
}

TEST(PalmConvertTest, Priorities)
{
    const std::int32_t expected[] = {0, 1, 0, 0, 0, 2, 0}; // Palm 0..6
    for (std::int32_t palm = 0; palm <= 6; ++palm) {
        EXPECT_EQ(PmConvertPriority(palm), expected[palm]) << palm;
    }
    EXPECT_EQ(PmConvertPriority(-5), 0);
}

// ---- Repeat patterns --------------------------------------------------------------------

std::int32_t LocalTime(int year, int month, int day)
{
    return PmTime(year, month, day, 0, 0, 0).GetValue();
}

TEST(PalmConvertTest, RepeatKindsAndTheirFields)
{
    struct Case
    {
        const char* name;
        PmRepeat repeat;
        RecurrenceRule expected; // only Kind, Interval, DayOfWeekMask, DayOfMonth, MonthOfYear, Instance
    };
    auto repeat = [](std::int32_t kind, std::int32_t interval, std::int32_t dayIndex, std::uint8_t dayMask,
                     std::int32_t weekIndex, std::int32_t monthIndex, std::int32_t dayOfMonth) {
        PmRepeat r;
        r.kind = kind;
        r.interval = interval;
        r.endDate = kPmNoEndDate;
        r.dayIndex = dayIndex;
        r.dayMask = dayMask;
        r.weekIndex = weekIndex;
        r.monthIndex = monthIndex;
        r.dayOfMonth = dayOfMonth;
        return r;
    };
    auto rule = [](std::int32_t kind, std::int32_t interval, std::int32_t mask, std::int32_t dayOfMonth,
                   std::int32_t month, std::int32_t instance) {
        RecurrenceRule r{};
        r.Kind = kind;
        r.Interval = interval;
        r.DayOfWeekMask = mask;
        r.DayOfMonth = dayOfMonth;
        r.MonthOfYear = month;
        r.Instance = instance;
        return r;
    };
    const Case cases[] = {
        {"none", repeat(0, 1, 3, 0x7F, 2, 4, 9), rule(0, 0, 0, 0, 0, 0)},
        {"daily", repeat(1, 2, 3, 0x7F, 2, 4, 9), rule(1, 2, 3, 0, 0, 0)},
        {"weekly", repeat(2, 1, 3, 0x0A, 2, 4, 9), rule(2, 1, 0x0A, 0, 0, 1)},
        // Day index 0 Sunday ... 6 Saturday gives the weekday's bit; week index 0 first ... 4
        // last gives the occurrence 1 ... 5.
        {"monthly by day, index", repeat(3, 1, 2, 0, 3, 4, 9), rule(3, 1, 0x04, 0, 0, 4)},
        {"monthly by day, Sunday first", repeat(3, 12, 0, 0, 0, 4, 9), rule(3, 12, 0x01, 0, 0, 1)},
        {"monthly by day, last Friday", repeat(3, 1, 5, 0, 4, 4, 9), rule(3, 1, 0x20, 0, 0, 5)},
        {"monthly by day, Saturday", repeat(3, 1, 6, 0, 1, 4, 9), rule(3, 1, 0x40, 0, 0, 2)},
        {"monthly by day, mask", repeat(3, 1, 0, 0x04, 2, 4, 9), rule(3, 1, 0x04, 0, 0, 3)},
        // Values no file of Palm Desktop holds: no weekday, and the nearest occurrence.
        {"monthly by day, day index 7", repeat(3, 1, 7, 0, 5, 4, 9), rule(3, 1, 0, 0, 0, 5)},
        {"monthly by day, day index -1", repeat(3, 1, -1, 0, -1, 4, 9), rule(3, 1, 0, 0, 0, 1)},
        {"monthly by date", repeat(4, 3, 3, 0x7F, 2, 4, 15), rule(4, 3, 0, 15, 0, 0)},
        {"yearly by date", repeat(5, 1, 3, 0x7F, 2, 11, 25), rule(6, 1, 0, 25, 12, 0)},
        {"yearly by day", repeat(6, 1, 3, 0x7F, 2, 4, 9), rule(0, 0, 0, 0, 0, 0)},
        {"unknown", repeat(9, 1, 3, 0x7F, 2, 4, 9), rule(0, 0, 0, 0, 0, 0)},
    };
    for (const auto& c : cases) {
        RecurrenceRule out;
        std::memset(&out, 0x5A, sizeof out); // everything the rule does not name ends up 0
        PmConvertRepeat(out, c.repeat);
        EXPECT_EQ(out.Kind, c.expected.Kind) << c.name;
        EXPECT_EQ(out.Interval, c.expected.Interval) << c.name;
        EXPECT_EQ(out.DayOfWeekMask, c.expected.DayOfWeekMask) << c.name;
        EXPECT_EQ(out.DayOfMonth, c.expected.DayOfMonth) << c.name;
        EXPECT_EQ(out.MonthOfYear, c.expected.MonthOfYear) << c.name;
        EXPECT_EQ(out.Instance, c.expected.Instance) << c.name;
        EXPECT_EQ(out.HasEnd, 0) << c.name;
        EXPECT_EQ(out.PatternStart.wYear, 0) << c.name;
    }
}

TEST(PalmConvertTest, RepeatEndDates)
{
    struct Case
    {
        const char* name;
        std::int32_t endDate;
        std::uint8_t hasEnd;
        WORD year, month, day;
    } const cases[] = {
        {"end of 2009", LocalTime(2009, 12, 31), 1, 2009, 12, 31},
        {"last day of 2020", LocalTime(2020, 12, 31), 1, 2020, 12, 31},
        // Any real day ends the pattern, whatever its year.
        {"first day of 2021", LocalTime(2021, 1, 1), 1, 2021, 1, 1},
        {"mid 2025", LocalTime(2025, 6, 30), 1, 2025, 6, 30},
        {"end of 2030", LocalTime(2030, 12, 31), 1, 2030, 12, 31},
        {"early 1990", LocalTime(1990, 1, 2), 1, 1990, 1, 2},
        // "No date", 2031-12-31 23:59:59 where the file was written, ends nothing.
        {"no end", kPmNoEndDate, 0, 2031, 12, 31}, // UTC+8; 15:59:59 UTC is 16:59:59 in Berlin
        {"no end written at UTC-4", 0x749E77BF, 0, 2032, 1, 1},
        {"no end written at UTC-8", 1956556799, 0, 2032, 1, 1},
        {"no end written at UTC-7", 0x749EA1EF, 0, 2032, 1, 1},
        {"no end written at UTC+14", 1956477599, 0, 2031, 12, 31},
        {"no end written at UTC-12", 1956571199, 0, 2032, 1, 1},
        {"a second before UTC+14's", 1956477598, 1, 2031, 12, 31},
        {"a second after UTC-12's", 1956571200, 1, 2032, 1, 1},
        {"the files' none", -1, 0, 1970, 1, 1}, // 1969-12-31 23:59:59 UTC is 00:59:59 in Berlin
        // 0 was never an end: it must not turn into the current time.
        {"not given", 0, 0, 2031, 12, 31},
        // The ends at which times beyond the 32-bit range are held.
        {"held at the end of the range", INT32_MAX, 0, 2038, 1, 19},
    };
    for (const auto& c : cases) {
        PmRepeat repeat;
        repeat.kind = 1;
        repeat.interval = 1;
        repeat.endDate = c.endDate;
        RecurrenceRule out{};
        PmConvertRepeat(out, repeat);
        EXPECT_EQ(out.HasEnd, c.hasEnd) << c.name;
        EXPECT_EQ(out.PatternEnd.wYear, c.year) << c.name;
        EXPECT_EQ(out.PatternEnd.wMonth, c.month) << c.name;
        EXPECT_EQ(out.PatternEnd.wDay, c.day) << c.name;
    }
}

// ---- Memos ------------------------------------------------------------------------------

TEST(PalmConvertTest, MemoTitleIsTheFirstLineAndBodyTheWholeText)
{
    const std::string longLine(300, 'm');
    struct Case
    {
        const char* name;
        std::string text;
        std::string title;
    } const cases[] = {
        {"two lines", "Shopping\r\nmilk, bread", "Shopping"},
        {"one line", "Only line", "Only line"},
        {"no line break, long", longLine, std::string(255, 'm')},
        {"bare line feed", "Unix\nedited", "Unix"},
        {"empty first line", "\r\nsecond", ""},
        {"empty", "", ""},
    };
    for (const auto& c : cases) {
        auto rec = Zeroed<CommNoteRec>();
        PmConvertMemo(rec, c.text);
        EXPECT_EQ(std::string(rec.Title), c.title) << c.name;
        EXPECT_EQ(std::string(rec.Body), c.text) << c.name;
    }
    auto rec = Zeroed<CommNoteRec>();
    PmConvertMemo(rec, std::string(30000, 'b'));
    EXPECT_EQ(std::strlen(rec.Body), 20479u);
}

// ---- The contact field catalogue --------------------------------------------------------

TEST(PalmConvertTest, VersionKinds)
{
    struct Case
    {
        int version;
        int kind;
    } const cases[] = {
        {-1, 3},    {60000, 3}, {60105, 3}, {59999, 2}, {40104, 2}, {40102, 2},
        {40101, 1}, {40100, 1}, {30500, 1}, {30499, 0}, {30000, 0}, {0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PmVersionKindOf(c.version), c.kind) << c.version;
    }
}

TEST(PalmConvertTest, CatalogueEntries)
{
    struct Case
    {
        int versionKind;
        std::int32_t key;
        const char* name;
        std::int32_t kind;
        std::int32_t width;
    } const cases[] = {
        {1, 1, "First Name", kPmFieldText, 32},     {1, 3, "Company", kPmFieldText, 256},
        {1, 13, "Street", kPmFieldText, 256},       {1, 16, "Zip Code", kPmFieldText, 32},
        {1, 18, "Custom 1", kPmFieldText, 64},      {1, 21, "Custom 4", kPmFieldText, 64},
        {1, 22, "Category", kPmFieldText, 16},      {1, 23, "Note", kPmFieldText, 2048},
        {2, 13, "Work Street", kPmFieldText, 256},  {2, 23, "Other Street", kPmFieldText, 256},
        {2, 27, "Other Country", kPmFieldText, 32}, {2, 32, "IM IM", kPmFieldText, 32},
        {2, 33, "Home Page", kPmFieldText, 256},    {2, 34, "Birthday", kPmFieldOleDate, 8},
        {2, 43, "Custom 9", kPmFieldText, 256},     {2, 44, "Category", kPmFieldText, 16},
        {2, 45, "Note", kPmFieldText, 2048},        {3, 1, "First Name", kPmFieldText, 64},
        {3, 4, "English Name", kPmFieldText, 128},  {3, 5, "Prefix", kPmFieldText, 32},
        {3, 10, "Profession", kPmFieldText, 128},   {3, 12, "Assistant Phone", kPmFieldText, 64},
        {3, 17, "E-mail", kPmFieldText, 32},        {3, 31, "Other Street", kPmFieldText, 256},
        {3, 40, "IM IM", kPmFieldText, 32},         {3, 42, "Anniversary", kPmFieldTime, 4},
        {3, 43, "Birthday", kPmFieldTime, 4},       {3, 52, "Custom 9", kPmFieldText, 256},
        {3, 53, "Category", kPmFieldText, 32},      {3, 54, "Note", kPmFieldText, 2048},
    };
    for (const auto& c : cases) {
        const PmFieldDef* def = PmCatalogueFind(c.versionKind, c.key);
        ASSERT_NE(def, nullptr) << c.versionKind << "/" << c.key;
        EXPECT_EQ(def->key, c.key);
        EXPECT_STREQ(def->name, c.name) << c.versionKind << "/" << c.key;
        EXPECT_EQ(def->kind, c.kind) << c.name;
        EXPECT_EQ(def->width, c.width) << c.name;
    }
}

TEST(PalmConvertTest, CatalogueSizesAndKeysInTableOrder)
{
    struct Case
    {
        int versionKind;
        int count;
    } const cases[] = {{0, 0}, {1, 23}, {2, 45}, {3, 54}, {4, 0}};
    for (const auto& c : cases) {
        ASSERT_EQ(PmCatalogueCount(c.versionKind), c.count) << c.versionKind;
        for (int key = 1; key <= c.count; ++key) {
            const PmFieldDef* def = PmCatalogueFind(c.versionKind, key);
            ASSERT_NE(def, nullptr);
            EXPECT_EQ(def->key, key);
            EXPECT_GT(def->width, 1);
            EXPECT_LT(std::strlen(def->name), sizeof def->name);
        }
        EXPECT_EQ(PmCatalogueFind(c.versionKind, 0), nullptr);
        EXPECT_EQ(PmCatalogueFind(c.versionKind, c.count + 1), nullptr);
    }
}

// The operations of the mapping page follow the contact front's version kind, else the
// installed Palm Desktop (here: none, which counts as 6.x).
class PalmCatalogueKindTest : public ::testing::Test
{
protected:
    void SetUp() override { PmSetContactVersionKind(0); }
    void TearDown() override { PmSetContactVersionKind(0); }
    fwtest::TempHome m_home;
};

TEST_F(PalmCatalogueKindTest, FollowsTheContactFrontsKind)
{
    struct Case
    {
        int kind;
        int count;
        const char* nameOfLast;
    } const cases[] = {{1, 23, "Note"}, {2, 45, "Note"}, {3, 54, "Note"}};
    for (const auto& c : cases) {
        PmSetContactVersionKind(c.kind);
        EXPECT_EQ(PmGetContactVersionKind(), c.kind);
        EXPECT_EQ(PmCatalogueCount(), c.count);
        EXPECT_EQ(PmCatalogueKey(c.count - 1), c.count);
        EXPECT_STREQ(PmCatalogueName(c.count - 1), c.nameOfLast);
        EXPECT_EQ(PmCatalogueKey(c.count), 0);
        EXPECT_EQ(PmCatalogueKey(-1), 0);
        EXPECT_STREQ(PmCatalogueName(c.count), "N/A");
        EXPECT_STREQ(PmCatalogueName(-1), "N/A");
        PmFieldDef def{};
        EXPECT_TRUE(PmCatalogueEntry(1, &def));
        EXPECT_STREQ(def.name, "First Name");
        EXPECT_FALSE(PmCatalogueEntry(c.count + 1, &def));
    }
    PmSetContactVersionKind(1);
    EXPECT_STREQ(PmCatalogueName(12), "Street");
    PmSetContactVersionKind(2);
    EXPECT_STREQ(PmCatalogueName(12), "Work Street");
}

TEST_F(PalmCatalogueKindTest, WithoutFrontTheInstalledVersionDecides)
{
    PmSetDesktopFolderOverride("");
    EXPECT_EQ(PmCatalogueCount(), 54); // no palm.exe: -1, the largest version
    EXPECT_STREQ(PmCatalogueName(1), "Middle Name");

    const std::string folder = m_home.Path("Palm");
    m_home.WriteFile("registry.ini", "[FileVersions]\n" + folder + "/palm.exe=4.1.4.10\n");
    PmSetDesktopFolderOverride(folder);
    EXPECT_EQ(PmCatalogueCount(), 45);
    m_home.WriteFile("registry.ini", "[FileVersions]\n" + folder + "/palm.exe=3.0.0.0\n");
    EXPECT_EQ(PmCatalogueCount(), 0);
    EXPECT_EQ(PmCatalogueKey(0), 0);
    EXPECT_STREQ(PmCatalogueName(0), "N/A");
    EXPECT_FALSE(PmCatalogueEntry(1, nullptr));
    PmSetDesktopFolderOverride("");
}

// ---- Time values ------------------------------------------------------------------------

TEST(PalmTimeTest, TextsAndPartsInLocalTime)
{
    struct Case
    {
        int year, month, day, hour, minute, second;
        const char* date;
        const char* time;
    } const cases[] = {
        {2005, 1, 15, 9, 5, 7, "01/15/2005", "09:05:07"},
        {2009, 7, 1, 23, 59, 59, "07/01/2009", "23:59:59"}, // summer time in Berlin
        {1999, 12, 31, 0, 0, 0, "12/31/1999", "00:00:00"},
    };
    for (const auto& c : cases) {
        const PmTime t(c.year, c.month, c.day, c.hour, c.minute, c.second);
        char date[11];
        char time[9];
        ASSERT_TRUE(t.GetDateText(date, sizeof date)) << c.date;
        ASSERT_TRUE(t.GetTimeText(time, sizeof time)) << c.time;
        EXPECT_STREQ(date, c.date);
        EXPECT_STREQ(time, c.time);
        EXPECT_EQ(t.GetYear(), c.year);
        EXPECT_EQ(t.GetDay(), c.day);
        const SYSTEMTIME st = t.ToSystemTime();
        EXPECT_EQ(st.wYear, c.year);
        EXPECT_EQ(st.wMonth, c.month);
        EXPECT_EQ(st.wDay, c.day);
        EXPECT_EQ(st.wHour, c.hour);
        EXPECT_EQ(st.wMinute, c.minute);
        EXPECT_EQ(st.wSecond, c.second);
        EXPECT_EQ(st.wDayOfWeek, 0);
        EXPECT_EQ(st.wMilliseconds, 0);
    }
}

TEST(PalmTimeTest, ValuesAreSecondsSince1970Utc)
{
    EXPECT_EQ(PmTime(1970, 1, 1, 1, 0, 0).GetValue(), 0); // Berlin is UTC+1 in winter
    EXPECT_EQ(PmTime(2009, 7, 1, 2, 0, 0).GetValue(), 1246406400);
    const SYSTEMTIME noEnd = PmTime(kPmNoEndDate).ToSystemTime();
    EXPECT_EQ(noEnd.wYear, 2031);
    EXPECT_EQ(noEnd.wHour, 16);
    EXPECT_EQ(noEnd.wSecond, 59);
}

TEST(PalmTimeTest, NoDateIsTheLastSecondOf2031WhereTheFileWasWritten)
{
    // 2031-12-31 23:59:59 in every whole and half hour zone from UTC-12 to UTC+14.
    constexpr std::int32_t kLastSecondUtc = 1956527999; // 2031-12-31 23:59:59 UTC
    for (int halfHours = -24; halfHours <= 28; ++halfHours) {
        const std::int32_t written = kLastSecondUtc - halfHours * 1800;
        EXPECT_TRUE(PmTime::IsNoDate(written)) << halfHours / 2.0;
        EXPECT_EQ(PmTime::ToTimeValue(written), 0) << halfHours / 2.0;
        EXPECT_FALSE(PmTime::IsRealDate(written)) << halfHours / 2.0;
    }
    struct Case
    {
        const char* name;
        std::int32_t value;
        bool noDate;
        bool real;
    } const cases[] = {
        {"UTC+8", 0x749DCEFF, true, false},
        {"UTC-4", 0x749E77BF, true, false},
        {"UTC-8", 1956556799, true, false},
        {"UTC-7", 0x749EA1EF, true, false},
        {"the files' none", -1, true, false},
        {"not given", 0, false, false},
        {"a second before UTC+14's", 1956477598, false, true},
        {"a second after UTC-12's", 1956571200, false, true},
        {"2025-06-30 00:00 UTC", 1751241600, false, true},
        {"1999-05-24 00:00 UTC", 927504000, false, true},
        {"held at the lower end", INT32_MIN, false, false},
        {"held at the upper end", INT32_MAX, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PmTime::IsNoDate(c.value), c.noDate) << c.name;
        EXPECT_EQ(PmTime::ToTimeValue(c.value), c.noDate ? 0 : c.value) << c.name;
        EXPECT_EQ(PmTime::IsRealDate(c.value), c.real) << c.name;
    }
    // Day numbers: the days of that moment, 2031-12-31 and 2032-01-01, whatever the time.
    struct DayCase
    {
        double oleDate;
        bool noDate;
    } const days[] = {
        {48213.0, true},      {48213.99998842, true}, {48214.0, true},  {48214.5, true},
        {48212.99999, false}, {48215.0, false},       {38000.0, false}, {0.0, false},
    };
    for (const auto& d : days) {
        EXPECT_EQ(PmTime::IsNoDateDay(d.oleDate), d.noDate) << d.oleDate;
    }
}

TEST(PalmTimeTest, ZeroMeansNowOnlyWhenConstructed)
{
    const auto before = static_cast<std::int32_t>(std::time(nullptr));
    const PmTime now(0);
    const auto after = static_cast<std::int32_t>(std::time(nullptr));
    EXPECT_GE(now.GetValue(), before);
    EXPECT_LE(now.GetValue(), after);

    PmTime set(100);
    set.SetValue(0);
    EXPECT_EQ(set.GetValue(), 0);
}

TEST(PalmTimeTest, TextThatDoesNotFitLeavesTheBufferEmpty)
{
    const PmTime t(2005, 1, 15, 9, 5, 7);
    char buffer[10];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_FALSE(t.GetDateText(buffer, 10)); // ten characters need eleven bytes
    EXPECT_EQ(buffer[0], '\0');
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_FALSE(t.GetTimeText(buffer, 8));
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_FALSE(t.GetDateText(nullptr, 20));
    EXPECT_FALSE(t.GetTimeText(buffer, 0));
}

TEST(PalmTimeTest, TimesBeyondThe32BitRangeAreHeldAtItsEnd)
{
    EXPECT_EQ(PmTime(2100, 1, 1, 0, 0, 0).GetValue(), INT32_MAX);
    EXPECT_EQ(PmTime(1800, 1, 1, 0, 0, 0).GetValue(), INT32_MIN);
}

} // namespace
