#include "misc/DateUtil.h"

#include "common/PinnedLocale.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <limits>
#include <ostream>
#include <string>

namespace {

// Cases print as their names, so that test listings stay readable.
template <class Case> auto operator<<(std::ostream& os, const Case& c) -> decltype(c.name, os)
{
    return os << c.name;
}

// The expected calendar times below are those of Berlin (CET, CEST in summer).
const fwtest::PinnedLocale kPinned{"Europe/Berlin"};

SYSTEMTIME Fields(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0)
{
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    t.wMilliseconds = static_cast<WORD>(ms);
    return t;
}

std::string Text(const SYSTEMTIME& t)
{
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d dow %d", t.wYear, t.wMonth, t.wDay,
                  t.wHour, t.wMinute, t.wSecond, t.wMilliseconds, t.wDayOfWeek);
    return text;
}

// ---- AddDays ----

struct AddDaysCase
{
    const char* name;
    SYSTEMTIME from;
    int days;
    bool ok;
    const char* expect;
};

class AddDaysTest : public testing::TestWithParam<AddDaysCase>
{
};

TEST_P(AddDaysTest, GivesMidnightOfTheNewDay)
{
    const auto& c = GetParam();
    bool ok = !c.ok;
    EXPECT_EQ(Text(AddDays(c.from, c.days, &ok)), c.expect);
    EXPECT_EQ(ok, c.ok);
}

const AddDaysCase kAddDays[] = {
    {"NextDay", Fields(2013, 5, 10, 15, 30), 1, true, "2013-05-11 00:00:00.000 dow 6"},
    {"PreviousDay", Fields(2013, 5, 10, 15, 30), -1, true, "2013-05-09 00:00:00.000 dow 4"},
    {"SameDay", Fields(2013, 5, 10, 23, 59, 59, 999), 0, true, "2013-05-10 00:00:00.000 dow 5"},
    {"IntoLeapDay", Fields(2012, 2, 28, 8), 1, true, "2012-02-29 00:00:00.000 dow 3"},
    {"AcrossTheYear", Fields(2013, 12, 31, 8), 1, true, "2014-01-01 00:00:00.000 dow 3"},
    {"ReminderDaysBefore", Fields(2013, 3, 1, 9), -7, true, "2013-02-22 00:00:00.000 dow 5"},
    {"AcrossDayZero", Fields(1899, 12, 25, 6), 10, true, "1900-01-04 00:00:00.000 dow 4"},
    {"BeforeDayZero", Fields(1899, 12, 31, 18), -3, true, "1899-12-28 00:00:00.000 dow 4"},
    // Failures give the time back unchanged.
    {"InvalidMonth", Fields(2013, 13, 1, 8), 1, false, "2013-13-01 08:00:00.000 dow 0"},
    {"PastTheLastDay", Fields(9999, 12, 31, 8), 1, false, "9999-12-31 08:00:00.000 dow 0"},
    {"BeforeTheFirstDay", Fields(100, 1, 1, 8), -1, false, "0100-01-01 08:00:00.000 dow 0"},
    {"HugeCount", Fields(2013, 5, 10), INT_MAX, false, "2013-05-10 00:00:00.000 dow 0"},
};

INSTANTIATE_TEST_SUITE_P(Known, AddDaysTest, testing::ValuesIn(kAddDays),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Clock-time helpers ----

struct AddMinutesCase
{
    const char* name;
    SYSTEMTIME from;
    int minutes;
    const char* expect;
};

class AddMinutesTest : public testing::TestWithParam<AddMinutesCase>
{
};

TEST_P(AddMinutesTest, MovesTheClockTimeWithinItsDay)
{
    const auto& c = GetParam();
    EXPECT_EQ(Text(AddMinutes(c.from, c.minutes)), c.expect);
}

const AddMinutesCase kAddMinutes[] = {
    {"NeverBeforeMidnight", Fields(2013, 3, 1, 0, 10), -20, "2013-03-01 00:00:00.000 dow 0"},
    {"BackWithinTheHour", Fields(2013, 3, 1, 10, 30), -15, "2013-03-01 10:15:00.000 dow 0"},
    {"BackAcrossAnHour", Fields(2013, 3, 1, 10, 30), -45, "2013-03-01 09:45:00.000 dow 0"},
    {"SecondsStay", Fields(2013, 3, 1, 10, 30, 17, 250), -5, "2013-03-01 10:25:17.250 dow 0"},
    {"Forward", Fields(2013, 3, 1, 10, 30), 95, "2013-03-01 12:05:00.000 dow 0"},
    {"NeverPastTheDay", Fields(2013, 3, 1, 23, 50), 20, "2013-03-01 23:59:00.000 dow 0"},
    {"SmallestCount", Fields(2013, 3, 1, 12), INT_MIN, "2013-03-01 00:00:00.000 dow 0"},
    {"LargestCount", Fields(2013, 3, 1, 12), INT_MAX, "2013-03-01 23:59:00.000 dow 0"},
};

INSTANTIATE_TEST_SUITE_P(Known, AddMinutesTest, testing::ValuesIn(kAddMinutes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ClockTime, MinutesOfDayAndBetween)
{
    EXPECT_EQ(MinutesOfDay(Fields(2013, 3, 1)), 0);
    EXPECT_EQ(MinutesOfDay(Fields(2013, 3, 1, 23, 59, 59)), 1439);
    EXPECT_EQ(MinutesOfDay(Fields(2013, 3, 1, 10, 30)), 630);
    // Only the clock times count, not the dates.
    EXPECT_EQ(MinutesBetween(Fields(2013, 3, 1, 11, 15), Fields(2013, 3, 1, 10, 30)), 45);
    EXPECT_EQ(MinutesBetween(Fields(2013, 3, 2, 1, 0), Fields(2013, 3, 1, 23, 0)), -1320);
    EXPECT_EQ(MinutesBetween(Fields(2013, 3, 1, 9, 0), Fields(2099, 1, 1, 9, 0)), 0);
}

// ---- Calendar rules ----

struct MonthCase
{
    int year;
    int month;
    int days;
};

TEST(Calendar, DaysInMonth)
{
    const MonthCase cases[] = {
        {2000, 2, 29}, {1900, 2, 28},  {2012, 2, 29}, {2013, 2, 28}, {2400, 2, 29},
        {2100, 2, 28}, {2013, 1, 31},  {2013, 4, 30}, {2013, 7, 31}, {2013, 8, 31},
        {2013, 9, 30}, {2013, 12, 31}, {2013, 13, 0}, {2013, 0, 0},  {2013, -1, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DaysInMonth(c.year, c.month), c.days) << c.year << "-" << c.month;
        if (c.month == 2) {
            EXPECT_EQ(IsLeapYear(c.year), c.days == 29) << c.year;
        }
    }
}

// ---- Calendar time ----

struct TimeTCase
{
    const char* name;
    double date;
    std::int32_t time;
};

class CalendarTime : public testing::TestWithParam<TimeTCase>
{
};

TEST_P(CalendarTime, ConvertsBothWaysThroughLocalTime)
{
    const auto& c = GetParam();
    EXPECT_EQ(VariantTimeToTimeT(c.date), c.time);
    double date = -1;
    ASSERT_TRUE(TimeTToVariantTime(c.time, &date));
    EXPECT_NEAR(date, c.date, 0.5 / 86400);
}

const TimeTCase kTimeT[] = {
    {"Winter", 41334.5, 1362135600},                                          // 2013-03-01 12:00 CET
    {"Summer", 41456.5, 1372672800},                                          // 2013-07-01 12:00 CEST
    {"LocalEpoch", 25569.0, -3600},                                           // 1970-01-01 00:00 CET
    {"LastSecond", 50424.0 + (4 * 3600 + 14 * 60 + 7) / 86400.0, INT32_MAX},  // 2038-01-19 04:14:07
    {"FirstSecond", 713.0 + (21 * 3600 + 45 * 60 + 52) / 86400.0, INT32_MIN}, // 1901-12-13 21:45:52
};

INSTANTIATE_TEST_SUITE_P(Berlin, CalendarTime, testing::ValuesIn(kTimeT),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CalendarTimeRefused, DatesThatCalendarTimeCannotHold)
{
    const double dates[] = {73051.0 /* 2100-01-01 */, 2958465.0, -657434.0, 3e6,
                            std::numeric_limits<double>::quiet_NaN()};
    for (double date : dates) {
        EXPECT_EQ(VariantTimeToTimeT(date), -1) << date;
    }
    EXPECT_FALSE(TimeTToVariantTime(0, nullptr));
}

} // namespace
