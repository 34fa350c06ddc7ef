#include "platform/OleDate.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <ostream>

namespace {

// Cases print as their names, so that test listings stay readable.
template <class Case> auto operator<<(std::ostream& os, const Case& c) -> decltype(c.name, os)
{
    return os << c.name;
}

using platform::SystemTimeToVariantTime;
using platform::VariantTimeToSystemTime;

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

struct DateToFieldsCase
{
    const char* name;
    double date;
    int year, month, day, hour, minute, second, dayOfWeek;
};

class DateToFields : public testing::TestWithParam<DateToFieldsCase>
{
};

TEST_P(DateToFields, GivesTheFieldsRoundedToTheSecond)
{
    const auto& c = GetParam();
    SYSTEMTIME t;
    t.wMilliseconds = 999;
    ASSERT_TRUE(VariantTimeToSystemTime(c.date, &t));
    EXPECT_EQ(t.wYear, c.year);
    EXPECT_EQ(t.wMonth, c.month);
    EXPECT_EQ(t.wDay, c.day);
    EXPECT_EQ(t.wHour, c.hour);
    EXPECT_EQ(t.wMinute, c.minute);
    EXPECT_EQ(t.wSecond, c.second);
    EXPECT_EQ(t.wMilliseconds, 0);
    EXPECT_EQ(t.wDayOfWeek, c.dayOfWeek);
}

const DateToFieldsCase kDateToFields[] = {
    {"Epoch", 0.0, 1899, 12, 30, 0, 0, 0, 6},
    {"FirstOfMarch2013", 41334.0, 2013, 3, 1, 0, 0, 0, 5},
    {"LastSecondOfRange", 2958465.99999, 9999, 12, 31, 23, 59, 59, 5},
    {"FirstDayOfRange", -657434.0, 100, 1, 1, 0, 0, 0, 5},
    {"FirstDayOfRangeLate", -657434.99, 100, 1, 1, 23, 45, 36, 5},
    {"NegativeHalfDay", -1.5, 1899, 12, 29, 12, 0, 0, 5},
    {"NegativeQuarterDay", -5.25, 1899, 12, 25, 6, 0, 0, 1},
    {"PositiveQuarter", 0.25, 1899, 12, 30, 6, 0, 0, 6},
    {"NegativeQuarterIsSameMoment", -0.25, 1899, 12, 30, 6, 0, 0, 6},
    {"RoundsToNextDay", 0.99999999, 1899, 12, 31, 0, 0, 0, 0},
    {"NegativeRoundsToNextDay", -1.99999999, 1899, 12, 30, 0, 0, 0, 6},
    {"RoundsUpAtMoreThanHalfSecond", 41334.0 + 1.6 / 86400.0, 2013, 3, 1, 0, 0, 2, 5},
    {"RoundsDownBelowHalfSecond", 41334.0 + 1.4 / 86400.0, 2013, 3, 1, 0, 0, 1, 5},
    {"NoLeapDayIn1900", 61.0, 1900, 3, 1, 0, 0, 0, 4},
    {"Millennium", 36526.0, 2000, 1, 1, 0, 0, 0, 6},
    {"LeapDay1600", -109512.0, 1600, 2, 29, 0, 0, 0, 2},
    {"AfternoonOfTenthOfMay", 41404.0 + 15.5 / 24.0, 2013, 5, 10, 15, 30, 0, 5},
};

INSTANTIATE_TEST_SUITE_P(Known, DateToFields, testing::ValuesIn(kDateToFields),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DateToFieldsRefused, OutsideTheRangeOrNotANumber)
{
    const double refused[] = {-657435.0,
                              -657500.0,
                              2958466.0,
                              2958465.999999999, // rounds to 10000-01-01
                              std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity(),
                              1e300};
    for (double date : refused) {
        SYSTEMTIME t = Fields(2001, 2, 3, 4, 5, 6, 7);
        EXPECT_FALSE(VariantTimeToSystemTime(date, &t)) << date;
        EXPECT_EQ(t.wYear, 2001) << "untouched on failure: " << date;
        EXPECT_EQ(t.wMilliseconds, 7) << date;
    }
    EXPECT_FALSE(VariantTimeToSystemTime(0.0, nullptr));
}

struct FieldsToDateCase
{
    const char* name;
    SYSTEMTIME fields;
    double date;
};

class FieldsToDate : public testing::TestWithParam<FieldsToDateCase>
{
};

TEST_P(FieldsToDate, GivesTheDate)
{
    const auto& c = GetParam();
    double date = 12345.0;
    ASSERT_TRUE(SystemTimeToVariantTime(&c.fields, &date));
    EXPECT_DOUBLE_EQ(date, c.date);
}

const FieldsToDateCase kFieldsToDate[] = {
    {"Epoch", Fields(1899, 12, 30), 0.0},
    {"FirstOfMarch2013", Fields(2013, 3, 1), 41334.0},
    {"MillisecondsIgnored", Fields(2013, 3, 1, 12, 0, 0, 999), 41334.5},
    {"NegativeHalfDay", Fields(1899, 12, 29, 12), -1.5},
    {"NegativeQuarterDay", Fields(1899, 12, 25, 6), -5.25},
    {"FirstDayOfRange", Fields(100, 1, 1), -657434.0},
    {"LastSecondOfRange", Fields(9999, 12, 31, 23, 59, 59), 2958465.0 + 86399.0 / 86400.0},
    {"LeapDay2000", Fields(2000, 2, 29), 36585.0},
    {"FirstOfMarch1900", Fields(1900, 3, 1), 61.0},
    {"Year100IsKept", Fields(100, 12, 31), -657070.0},
    // Day 0 is the last day of the month before.
    {"DayZeroIsLastDayOfMonthBefore", Fields(2001, 2, 0), 36922.0},
    {"DayZeroOfJanuaryIsNewYearsEve", Fields(1980, 1, 0), 29220.0},
    {"DayZeroOfMarchInLeapYear", Fields(2000, 3, 0), 36585.0},
    {"DayZeroKeepsTheTime", Fields(2001, 2, 0, 18), 36922.75},
    // A day up to 31 past the end of its month runs on into the next month.
    {"February29NotLeap", Fields(2001, 2, 29), 36951.0},
    {"February29In1900", Fields(1900, 2, 29), 61.0},
    {"February30LeapYear", Fields(2000, 2, 30), 36586.0},
    {"February31", Fields(2013, 2, 31), 41336.0},
    {"April31", Fields(2013, 4, 31), 41395.0},
    // Two-digit years: 0..29 are this century, 30..99 the last one.
    {"YearZeroIs2000", Fields(0, 1, 1), 36526.0},
    {"Year29Is2029", Fields(29, 1, 1), 47119.0},
    {"Year30Is1930", Fields(30, 1, 1), 10959.0},
    {"Year90Is1990", Fields(90, 12, 31), 33238.0},
    {"Year99Is1999", Fields(99, 12, 31), 36525.0},
    {"DayZeroOfYearZero", Fields(0, 1, 0), 36525.0},
};

INSTANTIATE_TEST_SUITE_P(Known, FieldsToDate, testing::ValuesIn(kFieldsToDate),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FieldsToDateIgnores, TheDayOfWeek)
{
    SYSTEMTIME t = Fields(2013, 3, 1);
    t.wDayOfWeek = 3; // wrong on purpose
    double date = 0;
    ASSERT_TRUE(SystemTimeToVariantTime(&t, &date));
    EXPECT_EQ(date, 41334.0);
}

struct RefusedFieldsCase
{
    const char* name;
    SYSTEMTIME fields;
};

class FieldsToDateRefused : public testing::TestWithParam<RefusedFieldsCase>
{
};

TEST_P(FieldsToDateRefused, LeavesTheDateUntouched)
{
    double date = 777.0;
    EXPECT_FALSE(SystemTimeToVariantTime(&GetParam().fields, &date));
    EXPECT_EQ(date, 777.0);
}

const RefusedFieldsCase kRefused[] = {
    {"MonthZero", Fields(2013, 0, 1)},
    {"Month13", Fields(2013, 13, 1)},
    {"Day32", Fields(2013, 1, 32)},
    {"Day32OfFebruary", Fields(2013, 2, 32)},
    {"AllFieldsZero", Fields(0, 0, 0)},
    {"DayZeroBeforeTheRange", Fields(100, 1, 0)},
    {"Year10000", Fields(10000, 1, 1)},
    {"NegativeYear", Fields(-1, 1, 1)},
    {"Hour24", Fields(2013, 3, 1, 24)},
    {"Minute60", Fields(2013, 3, 1, 0, 60)},
    {"Second60", Fields(2013, 3, 1, 0, 0, 60)},
};

INSTANTIATE_TEST_SUITE_P(Invalid, FieldsToDateRefused, testing::ValuesIn(kRefused),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FieldsToDateNull, Refused)
{
    SYSTEMTIME t = Fields(2013, 3, 1);
    double date = 0;
    EXPECT_FALSE(SystemTimeToVariantTime(nullptr, &date));
    EXPECT_FALSE(SystemTimeToVariantTime(&t, nullptr));
}

// Every day of the range converts both ways, and the day of week advances by one each day.
TEST(OleDateRoundTrip, EveryDayOfTheRange)
{
    SYSTEMTIME previous{};
    ASSERT_TRUE(VariantTimeToSystemTime(platform::kOleDateMin, &previous));
    for (double day = platform::kOleDateMin; day <= platform::kOleDateMax; day += 1.0) {
        // A time of day that lies in the fraction on both sides of day 0.
        const double date = day < 0 ? day - 0.75 : day + 0.75;
        SYSTEMTIME t{};
        ASSERT_TRUE(VariantTimeToSystemTime(date, &t)) << day;
        ASSERT_EQ(t.wHour, 18) << day;
        if (day > platform::kOleDateMin) {
            ASSERT_EQ(t.wDayOfWeek, (previous.wDayOfWeek + 1) % 7) << day;
        }
        double back = 0;
        ASSERT_TRUE(SystemTimeToVariantTime(&t, &back)) << day;
        ASSERT_EQ(back, date) << day;
        previous = t;
    }
    EXPECT_EQ(previous.wYear, 9999);
}

} // namespace
