#include "misc/CxDateTime.h"

#include "misc/DateUtil.h"

#include "common/PinnedLocale.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
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

const fwtest::PinnedLocale kPinned{"Europe/Berlin"}; // local times below are Berlin's

SYSTEMTIME Fields(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    return t;
}

// ---- The display formats ----

struct FormatCase
{
    const char* name;
    CxDateTime value;
    const char* date;
    const char* time;
    const char* dateTime;
};

class CxDateTimeFormat : public testing::TestWithParam<FormatCase>
{
};

TEST_P(CxDateTimeFormat, GivesTheDisplayTexts)
{
    const auto& c = GetParam();
    char date[32] = "junk";
    char time[32] = "junk";
    char dateTime[64] = "junk";
    EXPECT_STREQ(c.value.FormatDate(date, sizeof date), c.date);
    EXPECT_STREQ(c.value.FormatTime(time, sizeof time), c.time);
    EXPECT_STREQ(c.value.FormatDateTime(dateTime, sizeof dateTime), c.dateTime);
}

const FormatCase kFormats[] = {
    {"FirstOfMarch2013", CxDateTime(Fields(2013, 3, 1)), "03/01/2013", "00:00:00", "03/01/2013 00:00:00"},
    {"FromADate", CxDateTime(41334.5), "03/01/2013", "12:00:00", "03/01/2013 12:00:00"},
    {"Afternoon", CxDateTime(Fields(2013, 11, 9, 15, 4, 5)), "11/09/2013", "15:04:05", "11/09/2013 15:04:05"},
    {"LastDayOf1930", CxDateTime(Fields(1930, 12, 31, 10, 20, 30)), "", "10:20:30", " 10:20:30"},
    {"FirstDayOf1931", CxDateTime(Fields(1931, 1, 1)), "01/01/1931", "00:00:00", "01/01/1931 00:00:00"},
    {"LastSecondOf2030", CxDateTime(Fields(2030, 12, 31, 23, 59, 59)), "12/31/2030", "23:59:59",
     "12/31/2030 23:59:59"},
    {"FirstDayOf2031", CxDateTime(Fields(2031, 1, 1, 8)), "", "08:00:00", " 08:00:00"},
    {"DateZero", CxDateTime(0.0), "", "00:00:00", " 00:00:00"},
    // A failed conversion formats the fields as they stand.
    {"InvalidFields", CxDateTime(Fields(2013, 13, 1, 25)), "13/01/2013", "25:00:00", "13/01/2013 25:00:00"},
};

INSTANTIATE_TEST_SUITE_P(Texts, CxDateTimeFormat, testing::ValuesIn(kFormats),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CxDateTimeFormatBuffer, NeverWritesPastItsSize)
{
    const CxDateTime value(Fields(2013, 3, 1, 12, 34, 56));
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    value.FormatDate(buffer, 6);
    EXPECT_STREQ(buffer, "03/01");
    EXPECT_EQ(buffer[6], 'x');
    value.FormatDateTime(buffer, 12);
    EXPECT_STREQ(buffer, "03/01/2013 ");
    value.FormatTime(buffer, 1);
    EXPECT_STREQ(buffer, "");
    buffer[0] = 'y';
    value.FormatTime(buffer, 0);
    EXPECT_EQ(buffer[0], 'y') << "a size of 0 writes nothing";

    char exact[11];
    EXPECT_STREQ(value.FormatDate(exact), "03/01/2013");
}

#ifdef NDEBUG
TEST(CxDateTimeFormatBuffer, NullBufferIsHarmlessInARelease)
{
    const CxDateTime value(41334.0);
    EXPECT_EQ(value.FormatDate(nullptr, 10), nullptr);
    EXPECT_EQ(value.FormatTime(nullptr, 10), nullptr);
    EXPECT_EQ(value.FormatDateTime(nullptr, 10), nullptr);
}
#else
TEST(CxDateTimeFormatBufferDeathTest, NullBufferAsserts)
{
    const CxDateTime value(41334.0);
    EXPECT_DEATH(value.FormatDate(nullptr, 10), "szBuf!=NULL");
    EXPECT_DEATH(value.FormatTime(nullptr, 10), "szBuf!=NULL");
    EXPECT_DEATH(value.FormatDateTime(nullptr, 10), "szBuf!=NULL");
}
#endif

// ---- Both forms and the valid flag ----

TEST(CxDateTime, EachFormFollowsTheOther)
{
    CxDateTime value(Fields(2013, 3, 1, 12));
    EXPECT_TRUE(value.IsValid());
    EXPECT_EQ(value.GetDate(), 41334.5);
    EXPECT_EQ(value.GetTime().wDayOfWeek, 0) << "fields are taken as given";

    value.SetDate(41404.0 + 15.5 / 24);
    EXPECT_TRUE(value.IsValid());
    EXPECT_EQ(value.GetTime().wYear, 2013);
    EXPECT_EQ(value.GetTime().wMonth, 5);
    EXPECT_EQ(value.GetTime().wDay, 10);
    EXPECT_EQ(value.GetTime().wHour, 15);
    EXPECT_EQ(value.GetTime().wMinute, 30);
    EXPECT_EQ(value.GetTime().wDayOfWeek, 5);

    value.SetTime(Fields(1899, 12, 29, 12));
    EXPECT_TRUE(value.IsValid());
    EXPECT_EQ(value.GetDate(), -1.5);
}

TEST(CxDateTime, AFailedConversionKeepsTheOtherForm)
{
    CxDateTime value(41334.5);
    value.SetDate(std::numeric_limits<double>::quiet_NaN());
    EXPECT_FALSE(value.IsValid());
    EXPECT_EQ(value.GetTime().wDay, 1);
    EXPECT_EQ(value.GetTime().wHour, 12);

    value.SetDate(41334.5);
    value.SetTime(Fields(2013, 2, 32));
    EXPECT_FALSE(value.IsValid());
    EXPECT_EQ(value.GetDate(), 41334.5);
    EXPECT_EQ(value.GetTime().wDay, 32) << "the fields are kept as given";
}

TEST(CxDateTime, SetTimeTBreaksDownLocalTime)
{
    struct Case
    {
        std::int32_t time;
        int hour;
        int dayOfWeek;
        double date;
    };
    const Case cases[] = {
        {1362139200, 13, 5, 41334.0 + 13.0 / 24}, // 2013-03-01 12:00 UTC, CET
        {1372680000, 14, 1, 41456.0 + 14.0 / 24}, // 2013-07-01 12:00 UTC, CEST
    };
    for (const auto& c : cases) {
        CxDateTime value(0.0);
        value.SetTimeT(c.time);
        EXPECT_TRUE(value.IsValid());
        EXPECT_EQ(value.GetTime().wHour, c.hour);
        EXPECT_EQ(value.GetTime().wDayOfWeek, c.dayOfWeek);
        EXPECT_EQ(value.GetTime().wMilliseconds, 0);
        EXPECT_NEAR(value.GetDate(), c.date, 1e-9);
    }
}

TEST(CxDateTime, DefaultIsNow)
{
    const std::time_t before = std::time(nullptr);
    const CxDateTime now;
    const std::time_t after = std::time(nullptr);
    EXPECT_TRUE(now.IsValid());
    const std::int32_t seconds = VariantTimeToTimeT(now.GetDate());
    EXPECT_GE(seconds, before - 1);
    EXPECT_LE(seconds, after + 1);
    EXPECT_LT(now.GetTime().wMilliseconds, 1000);
}

} // namespace
