// The recurrence text of a Google calendar event: what BuildRecurrenceText writes for every
// repeat kind and end, and what ParseRecurrenceText reads back, in the connector's own form
// and in the forms other calendars write.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "google/GGRecurrence.h"
#include "google/GGTimeZones.h"
#include "misc/CommRecords.h"
#include "platform/OleDate.h"

namespace {

double Ole(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    double date = 0;
    EXPECT_TRUE(platform::SystemTimeToVariantTime(&time, &date));
    return date;
}

GDateRec Event()
{
    GDateRec rec;
    std::memset(&rec, 0, sizeof rec);
    rec.Start = Ole(2013, 3, 1, 9, 0);
    rec.End = Ole(2013, 3, 1, 10, 0);
    return rec;
}

GGRecurrenceZoneSource Zone(const char* name)
{
    return [name, zone = GGRecurrenceZone{}]() mutable {
        zone = GGRecurrenceZone{name, FindGGTimeZone(name)};
        return &zone;
    };
}

const GGRecurrenceZoneSource kNoZone = [] { return static_cast<const GGRecurrenceZone*>(nullptr); };

std::string Text(const GDateRec& rec)
{
    return std::string(FieldText(rec.Recurrence));
}

TEST(GGRecurrenceBuild, WeeklyEventGetsItsLinesAndTheZoneBlock)
{
    GDateRec rec = Event();
    rec.RepeatKind = 2;
    rec.Interval = 2;
    rec.DayOfWeekMask = (1 << 1) | (1 << 5);
    ASSERT_TRUE(BuildRecurrenceText(rec, "", Zone("Europe/London")));
    EXPECT_EQ(Text(rec), std::string("DTSTART;TZID=Europe/London:20130301T090000\r\n"
                                     "DTEND;TZID=Europe/London:20130301T100000\r\n"
                                     "RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,FR\r\n") +
                             FindGGTimeZone("Europe/London"));
}

struct BuildCase
{
    const char* name;
    int kind;
    int interval;
    int mask;
    int dayOfMonth;
    int monthOfYear;
    int instance;
    double patternEnd; // with HasEnd when above 0
    const char* rule;
};

class GGRecurrenceBuildRule : public ::testing::TestWithParam<BuildCase>
{
};

TEST_P(GGRecurrenceBuildRule, WritesTheRuleLine)
{
    const BuildCase& c = GetParam();
    GDateRec rec = Event();
    rec.RepeatKind = c.kind;
    rec.Interval = c.interval;
    rec.DayOfWeekMask = c.mask;
    rec.DayOfMonth = c.dayOfMonth;
    rec.MonthOfYear = c.monthOfYear;
    rec.Instance = c.instance;
    rec.HasEnd = c.patternEnd > 0 ? 1 : 0;
    rec.PatternEnd = c.patternEnd;
    ASSERT_TRUE(BuildRecurrenceText(rec, "", Zone("Not/A_Zone")));
    // An unknown zone gives the three lines without a block.
    EXPECT_EQ(Text(rec), std::string("DTSTART;TZID=Not/A_Zone:20130301T090000\r\n"
                                     "DTEND;TZID=Not/A_Zone:20130301T100000\r\n") +
                             c.rule);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, GGRecurrenceBuildRule,
    ::testing::Values(
        BuildCase{"Daily", 1, 0, 0, 0, 0, 0, 0, "RRULE:FREQ=DAILY"},
        BuildCase{"DailyEvery3", 1, 3, 0, 0, 0, 0, 0, "RRULE:FREQ=DAILY;INTERVAL=3"},
        BuildCase{"WeeklyNoDays", 2, 1, 0, 0, 0, 0, 0, "RRULE:FREQ=WEEKLY;INTERVAL=1"},
        BuildCase{"WeeklyEveryDay", 2, 0, 127, 0, 0, 0, 0, "RRULE:FREQ=WEEKLY;BYDAY=SU,MO,TU,WE,TH,FR,SA"},
        BuildCase{"MonthlyThirdSaturday", 3, 1, 64, 0, 0, 3, 0,
                  "RRULE:FREQ=MONTHLY;INTERVAL=1;BYWEEKNO=3;BYDAY=SA"},
        BuildCase{"MonthlyNoInstance", 3, 0, 2, 0, 0, 0, 0, "RRULE:FREQ=MONTHLY;BYDAY=MO"},
        BuildCase{"MonthlyDay", 4, 0, 0, 15, 0, 0, 0, "RRULE:FREQ=MONTHLY;BYMONTHDAY=15"},
        BuildCase{"MonthlyDayNone", 4, 2, 0, 0, 0, 0, 0, "RRULE:FREQ=MONTHLY;INTERVAL=2"},
        BuildCase{"Yearly", 5, 1, 0, 0, 0, 0, 0, "RRULE:FREQ=YEARLY;INTERVAL=1"},
        BuildCase{"YearlyDate", 6, 0, 0, 15, 3, 0, 0, "RRULE:FREQ=YEARLY;BYMONTH=3;BYMONTHDAY=15"},
        BuildCase{"EndIn2019", 2, 2, 34, 0, 0, 0, Ole(2019, 12, 31),
                  "RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,FR;UNTIL=20191231T000000Z"},
        BuildCase{"EndIn2021", 1, 1, 0, 0, 0, 0, Ole(2021, 6, 30, 18, 30),
                  "RRULE:FREQ=DAILY;INTERVAL=1;UNTIL=20210630T183000Z"},
        BuildCase{"EndIn2002", 4, 0, 0, 1, 0, 0, Ole(2002, 1, 1),
                  "RRULE:FREQ=MONTHLY;BYMONTHDAY=1;UNTIL=20020101T000000Z"},
        BuildCase{"EndIn1999", 6, 0, 0, 15, 3, 0, Ole(1999, 3, 15, 9),
                  "RRULE:FREQ=YEARLY;BYMONTH=3;BYMONTHDAY=15;UNTIL=19990315T090000Z"}),
    [](const ::testing::TestParamInfo<BuildCase>& info) { return std::string(info.param.name); });

TEST(GGRecurrenceBuild, AnEndThatIsNotSetWritesNoUntil)
{
    GDateRec rec = Event();
    rec.RepeatKind = 1;
    rec.PatternEnd = Ole(2015, 1, 1); // without HasEnd
    ASSERT_TRUE(BuildRecurrenceText(rec, "", Zone("Europe/London")));
    EXPECT_EQ(Text(rec).find("UNTIL"), std::string::npos);
    rec.HasEnd = 1;
    rec.PatternEnd = 0; // an end without its date
    ASSERT_TRUE(BuildRecurrenceText(rec, "", Zone("Europe/London")));
    EXPECT_EQ(Text(rec).find("UNTIL"), std::string::npos);
}

TEST(GGRecurrenceBuild, WhenTheTextStaysAsItWas)
{
    struct Case
    {
        const char* name;
        int kind;
        const char* calendar;
        const char* text;
        bool zone;
        bool result;
        bool kept;
    };
    const Case cases[] = {
        {"no repeat", 0, "", "OLD", true, true, true},
        {"no repeat, no zone", 0, "", "", false, true, true},
        {"named calendar with a text", 1, "work@group", "OLD", true, true, true},
        {"named calendar without a text", 1, "work@group", "", true, true, false},
        {"default calendar with a text", 1, "", "OLD", true, true, false},
        {"no zone", 1, "", "OLD", false, false, true},
        {"kind beyond 6", 7, "", "OLD", true, false, true},
        {"negative kind", -1, "", "OLD", true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GDateRec rec = Event();
        rec.RepeatKind = c.kind;
        CopyText(rec.Calendar, c.calendar);
        CopyText(rec.Recurrence, c.text);
        EXPECT_EQ(BuildRecurrenceText(rec, "", c.zone ? Zone("Europe/London") : kNoZone), c.result);
        if (c.kept) {
            EXPECT_EQ(Text(rec), c.text);
        } else {
            EXPECT_EQ(Text(rec).rfind("DTSTART;TZID=Europe/London:", 0), 0u) << Text(rec);
        }
    }
}

TEST(GGRecurrenceBuild, TheDefaultCalendarIsComparedIgnoringCase)
{
    GDateRec rec = Event();
    rec.RepeatKind = 1;
    CopyText(rec.Calendar, "Home");
    CopyText(rec.Recurrence, "OLD");
    ASSERT_TRUE(BuildRecurrenceText(rec, "hOME", Zone("Europe/London")));
    EXPECT_NE(Text(rec), "OLD");
}

// The structured fields of a record read from the file, before its text is parsed: each
// parse case shows which of them the text replaces.
constexpr int kFromFile = 99;

GDateRec FromFile(const std::string& text)
{
    GDateRec rec = Event();
    rec.RepeatKind = 6;
    rec.Interval = kFromFile;
    rec.DayOfWeekMask = kFromFile;
    rec.DayOfMonth = kFromFile;
    rec.MonthOfYear = kFromFile;
    rec.Instance = kFromFile;
    CopyText(rec.Recurrence, text);
    return rec;
}

struct ParseCase
{
    const char* name;
    const char* rule; // the text's RRULE line, after the DTSTART and DTEND lines
    bool result;
    int kind;
    int interval;
    int mask;
    int dayOfMonth;
    int monthOfYear;
    int instance;
};

class GGRecurrenceParseRule : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(GGRecurrenceParseRule, ReadsTheStructuredFields)
{
    const ParseCase& c = GetParam();
    // 1 March 2013 is a Friday.
    GDateRec rec = FromFile(std::string("DTSTART;TZID=Europe/London:20130301T090000\r\n"
                                        "DTEND;TZID=Europe/London:20130301T100000\r\n") +
                            c.rule + "\r\n" + FindGGTimeZone("Europe/London"));
    EXPECT_EQ(ParseRecurrenceText(rec), c.result);
    EXPECT_EQ(rec.RepeatKind, c.kind);
    EXPECT_EQ(rec.Interval, c.interval);
    EXPECT_EQ(rec.DayOfWeekMask, c.mask);
    EXPECT_EQ(rec.DayOfMonth, c.dayOfMonth);
    EXPECT_EQ(rec.MonthOfYear, c.monthOfYear);
    EXPECT_EQ(rec.Instance, c.instance);
}

constexpr int F = kFromFile;

INSTANTIATE_TEST_SUITE_P(
    Rules, GGRecurrenceParseRule,
    ::testing::Values(
        ParseCase{"NoRule", "X-NONE:1", true, 0, F, F, F, F, F},
        ParseCase{"DailyWithoutSemicolonFails", "RRULE:FREQ=DAILY", false, 6, F, F, F, F, F},
        ParseCase{"NoFreqFails", "RRULE:INTERVAL=2;COUNT=3", false, 6, F, F, F, F, F},
        ParseCase{"Daily", "RRULE:FREQ=DAILY;INTERVAL=3", true, 1, 3, F, F, F, F},
        ParseCase{"DailyCount", "RRULE:FREQ=DAILY;COUNT=3", true, 1, F, F, F, F, F},
        ParseCase{"Weekly", "RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,FR", true, 2, 2, 34, F, F, F},
        ParseCase{"WeeklyPartsInAnyOrder", "RRULE:FREQ=WEEKLY;BYDAY=SU,SA;INTERVAL=4", true, 2, 4, 65, F, F,
                  F},
        ParseCase{"WeeklyUnknownDaysIgnored", "RRULE:FREQ=WEEKLY;BYDAY=XX,MO,MONDAY", true, 2, F, 2, F, F, F},
        ParseCase{"WeeklyValueIgnoresCase", "RRULE:FREQ=weekly;BYDAY=TU", true, 2, F, 4, F, F, F},
        // No weekday: the start's, a Friday.
        ParseCase{"WeeklyWithoutDays", "RRULE:FREQ=WEEKLY;INTERVAL=1", true, 2, 1, 32, F, F, F},
        ParseCase{"WeeklyWithoutKnownDays", "RRULE:FREQ=WEEKLY;BYDAY=XX", true, 2, F, 32, F, F, F},
        ParseCase{"MonthlyDay", "RRULE:FREQ=MONTHLY;BYMONTHDAY=15", true, 4, F, F, 15, F, F},
        ParseCase{"MonthlyOwnForm", "RRULE:FREQ=MONTHLY;INTERVAL=2;BYWEEKNO=3;BYDAY=SA", true, 3, 2, 64, F, F,
                  3},
        ParseCase{"MonthlyOwnFormNoDays", "RRULE:FREQ=MONTHLY;BYWEEKNO=2", true, 3, F, 0, F, F, 2},
        ParseCase{"MonthlyThirdSaturday", "RRULE:FREQ=MONTHLY;BYDAY=3SA", true, 3, F, 64, F, F, 3},
        ParseCase{"MonthlyLastFriday", "RRULE:FREQ=MONTHLY;INTERVAL=1;BYDAY=-1FR", true, 3, 1, 32, F, F, 5},
        ParseCase{"MonthlySecondMondaySigned", "RRULE:FREQ=MONTHLY;BYDAY=+2MO;UNTIL=20201231T000000Z", true,
                  3, F, 2, F, F, 2},
        ParseCase{"MonthlyFirstTuesdayAndThursday", "RRULE:FREQ=MONTHLY;BYDAY=1TU,1TH", true, 3, F, 20, F, F,
                  1},
        ParseCase{"MonthlyFifthSunday", "RRULE:FREQ=MONTHLY;BYDAY=5SU", true, 3, F, 1, F, F, 5},
        ParseCase{"MonthlySecondToLastFails", "RRULE:FREQ=MONTHLY;INTERVAL=2;BYDAY=-2FR", false, 6, F, F, F,
                  F, F},
        ParseCase{"MonthlyPlainWeekdayFails", "RRULE:FREQ=MONTHLY;BYDAY=MO", false, 6, F, F, F, F, F},
        ParseCase{"MonthlyNothingFails", "RRULE:FREQ=MONTHLY;INTERVAL=1", false, 6, F, F, F, F, F},
        ParseCase{"YearlyDayWithoutMonth", "RRULE:FREQ=YEARLY;BYMONTHDAY=15", true, 5, F, F, F, F, F},
        ParseCase{"YearlyDate", "RRULE:FREQ=YEARLY;BYMONTH=3;BYMONTHDAY=15", true, 6, F, F, 15, 3, F},
        ParseCase{"YearlyDateReversed", "RRULE:FREQ=YEARLY;BYMONTHDAY=15;BYMONTH=3", true, 6, F, F, 15, 3, F},
        ParseCase{"YearlyMonthOnly", "RRULE:FREQ=YEARLY;INTERVAL=1;BYMONTH=7", true, 6, 1, F, F, 7, F},
        // The zone block after the rule has BYMONTH and BYDAY parts of its own.
        ParseCase{"YearlyBesideTheZoneBlock", "RRULE:FREQ=YEARLY;INTERVAL=1", true, 5, 1, F, F, F, F},
        ParseCase{"OtherFrequency", "RRULE:FREQ=HOURLY;INTERVAL=2", true, 6, F, F, F, F, F},
        ParseCase{"NineDigits", "RRULE:FREQ=DAILY;INTERVAL=123456789", true, 1, 123456789, F, F, F, F},
        ParseCase{"TenDigitsIgnored", "RRULE:FREQ=DAILY;INTERVAL=1234567890", true, 1, F, F, F, F, F},
        ParseCase{"NoDigitsIsZero", "RRULE:FREQ=DAILY;INTERVAL=X", true, 1, 0, F, F, F, F},
        ParseCase{"DigitsUpToTheFirstOther", "RRULE:FREQ=MONTHLY;BYMONTHDAY=12x", true, 4, F, F, 12, F, F}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(GGRecurrenceParse, EmptyTextIsNoRepeat)
{
    GDateRec rec = FromFile("");
    EXPECT_TRUE(ParseRecurrenceText(rec));
    EXPECT_EQ(rec.RepeatKind, 0);
    EXPECT_EQ(rec.Interval, kFromFile);
}

TEST(GGRecurrenceParse, TheZoneBlocksLinesAreNotTheEvents)
{
    // A text with its block first: the block's DTSTART and RRULE lines are the zone's.
    GDateRec rec = FromFile(std::string(FindGGTimeZone("America/New_York")) +
                            "\r\nDTSTART;TZID=America/New_York:20140702T081500\r\n"
                            "RRULE:FREQ=WEEKLY;BYDAY=TU;INTERVAL=1");
    EXPECT_TRUE(ParseRecurrenceText(rec));
    EXPECT_EQ(rec.RepeatKind, 2);
    EXPECT_EQ(rec.DayOfWeekMask, 4);
    EXPECT_EQ(rec.MonthOfYear, kFromFile);
    SYSTEMTIME start{};
    ASSERT_TRUE(platform::VariantTimeToSystemTime(rec.Start, &start));
    EXPECT_EQ(start.wYear, 2014);
    // A block without a rule of the event's own is no repeat.
    rec = FromFile(std::string("DTSTART;TZID=Europe/London:20140702T081500\r\n") +
                   FindGGTimeZone("Europe/London"));
    EXPECT_TRUE(ParseRecurrenceText(rec));
    EXPECT_EQ(rec.RepeatKind, 0);
    EXPECT_EQ(rec.MonthOfYear, kFromFile);
}

TEST(GGRecurrenceParse, StartAndEndLinesReplaceTheTimesWhenTheyHoldADateTime)
{
    struct Case
    {
        const char* name;
        const char* text;
        double start;
        double end;
    };
    const double start = Event().Start;
    const double end = Event().End;
    const Case cases[] = {
        {"zoned", "DTSTART;TZID=Europe/London:20140702T081500\r\nDTEND;TZID=Europe/London:20140702T091545",
         Ole(2014, 7, 2, 8, 15), Ole(2014, 7, 2, 9, 15, 45)},
        {"UTC mark ignored", "DTSTART:20140702T081500Z\r\nDTEND:20140702T091500Z", Ole(2014, 7, 2, 8, 15),
         Ole(2014, 7, 2, 9, 15)},
        {"a date only", "DTSTART;VALUE=DATE:20130305\r\nDTEND;VALUE=DATE:20130306", start, end},
        {"no time after T", "DTSTART:20140702T\r\nDTEND:20140703TZ", Ole(2014, 7, 2), Ole(2014, 7, 3)},
        {"short time", "DTSTART:20140702T0815\r\nDTEND:20140702T09", start, end},
        {"no such month", "DTSTART:20141302T081500\r\nDTEND:20140231T250000", start, end},
        {"not digits", "DTSTART:2014O702T081500\r\nDTEND:+0140702T081500", start, end},
        {"no value", "DTSTART\r\nDTEND", start, end},
        {"only the end", "DTEND:20140702T091500", start, Ole(2014, 7, 2, 9, 15)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GDateRec rec = FromFile(c.text);
        EXPECT_TRUE(ParseRecurrenceText(rec));
        EXPECT_EQ(rec.RepeatKind, 0);
        EXPECT_DOUBLE_EQ(rec.Start, c.start);
        EXPECT_DOUBLE_EQ(rec.End, c.end);
    }
}

TEST(GGRecurrenceParse, WhatTheConnectorWritesReadsBackTheSame)
{
    struct Case
    {
        int kind;
        int interval;
        int mask;
        int dayOfMonth;
        int monthOfYear;
        int instance;
    };
    const Case cases[] = {
        {1, 2, 0, 0, 0, 0},  {2, 1, 34, 0, 0, 0}, {2, 3, 127, 0, 0, 0}, {3, 1, 64, 0, 0, 3},
        {3, 2, 32, 0, 0, 5}, {4, 1, 0, 31, 0, 0}, {5, 1, 0, 0, 0, 0},   {6, 1, 0, 29, 2, 0},
    };
    for (const char* zone : {"Europe/London", "America/Santiago", "Asia/Tokyo", "Unknown/Zone"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(zone) + " kind " + std::to_string(c.kind));
            GDateRec rec = Event();
            rec.RepeatKind = c.kind;
            rec.Interval = c.interval;
            rec.DayOfWeekMask = c.mask;
            rec.DayOfMonth = c.dayOfMonth;
            rec.MonthOfYear = c.monthOfYear;
            rec.Instance = c.instance;
            rec.HasEnd = 1;
            rec.PatternEnd = Ole(2022, 5, 1);
            ASSERT_TRUE(BuildRecurrenceText(rec, "", Zone(zone)));
            GDateRec read = FromFile(Text(rec));
            read.Start = 0;
            read.End = 0;
            read.DayOfMonth = c.dayOfMonth;
            read.MonthOfYear = c.monthOfYear;
            read.Instance = c.instance;
            read.DayOfWeekMask = c.mask;
            ASSERT_TRUE(ParseRecurrenceText(read));
            EXPECT_EQ(read.RepeatKind, c.kind);
            EXPECT_EQ(read.Interval, c.interval);
            EXPECT_EQ(read.DayOfWeekMask, c.mask);
            EXPECT_EQ(read.DayOfMonth, c.dayOfMonth);
            EXPECT_EQ(read.MonthOfYear, c.monthOfYear);
            EXPECT_EQ(read.Instance, c.instance);
            EXPECT_DOUBLE_EQ(read.Start, rec.Start);
            EXPECT_DOUBLE_EQ(read.End, rec.End);
        }
    }
}

} // namespace
