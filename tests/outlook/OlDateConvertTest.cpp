// Outlook appointments to and from common events: reminders by Outlook version, durations,
// all-day events and repeat patterns.
#include "outlook/OlDateConvert.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/OleDate.h"

namespace {

double Ole(int year, int month, int day, int hour = 0, int minute = 0)
{
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    double date = 0;
    EXPECT_TRUE(platform::SystemTimeToVariantTime(&time, &date));
    return date;
}

SYSTEMTIME Time(int year, int month, int day, int hour = 0, int minute = 0)
{
    SYSTEMTIME time{};
    EXPECT_TRUE(platform::VariantTimeToSystemTime(Ole(year, month, day, hour, minute), &time));
    return time;
}

TEST(OlDateConvertTest, RemindersLoadInTheLargestWholeUnit)
{
    struct Case
    {
        int versionClass;
        bool set;
        int minutesBefore;     // classes 4-6
        double reminderBefore; // classes 0-3: days before the start
        int count, unit, amount;
    };
    const Case cases[] = {
        {6, true, 30, 0, 1, 1, 30},
        {6, true, 120, 0, 1, 2, 2},
        {6, true, 2880, 0, 1, 3, 2},
        {6, true, 90, 0, 1, 2, 1},
        {4, false, 30, 0, 0, 0, 0},
        {6, true, 0, 0, 0, 0, 0},
        {3, true, 0, 15.0 / 1440, 1, 1, 15},
        {0, false, 0, 2.0, 1, 3, 2},
        {3, true, 0, 15.0 / 1440 - 1e-9, 1, 1,
         15}, // a hair short of 15 minutes is 15 minutes {3, true, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "class " << c.versionClass << ", " << c.minutesBefore << " min");
        OlDateRec native{};
        native.Start = Ole(2026, 3, 2, 9, 0);
        native.End = Ole(2026, 3, 2, 10, 0);
        native.ReminderSet = c.set ? 1 : 0;
        native.ReminderMinutesBeforeStart = c.minutesBefore;
        if (c.reminderBefore > 0) {
            native.ReminderTime = native.Start - c.reminderBefore;
        }
        native.RecurrenceType = kOlRecursNone;
        CommDateRec rec{};
        FromNative(native, rec, c.versionClass);
        EXPECT_EQ(rec.ReminderCount, c.count);
        EXPECT_EQ(rec.Reminders[0].Unit, c.unit);
        EXPECT_EQ(rec.Reminders[0].Amount, c.amount);
    }
}

TEST(OlDateConvertTest, ReminderTimeIsWrittenForOldOutlooksWithinTheStartDay)
{
    struct Case
    {
        int versionClass;
        int unit, amount;
        int startHour, startMinute;
        double reminderTime;
        int minutesBefore;
    };
    const Case cases[] = {
        {3, 1, 15, 0, 10, Ole(2026, 3, 2, 0, 0), 15}, // never before midnight of the start day
        {3, 1, 15, 9, 0, Ole(2026, 3, 2, 8, 45), 15},
        {3, 3, 2, 9, 0, Ole(2026, 2, 28, 0, 0), 2880},
        {2, 2, 1, 9, 0, Ole(2026, 3, 2, 8, 0), 60},
        {3, 7, 1, 9, 0, Ole(2026, 3, 2, 8, 55), 15},
        {6, 1, 15, 9, 0, 0.0, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "class " << c.versionClass << ", unit " << c.unit);
        CommDateRec rec{};
        rec.Start = Time(2026, 3, 2, c.startHour, c.startMinute);
        rec.End = Time(2026, 3, 2, 23, 0);
        rec.ReminderSet = 1;
        rec.ReminderCount = 1;
        rec.Reminders[0].Unit = c.unit;
        rec.Reminders[0].Amount = c.amount;
        OlDateRec native{};
        ToNative(rec, native, c.versionClass);
        EXPECT_EQ(native.ReminderSet, 1);
        EXPECT_EQ(native.ReminderMinutesBeforeStart, c.minutesBefore);
        EXPECT_NEAR(native.ReminderTime, c.reminderTime, 1e-6);
    }
}

TEST(OlDateConvertTest, DurationAllDayAndTexts)
{
    OlDateRec native{};
    std::strcpy(native.Subject, "Geburtstag Jürgen");
    std::memset(native.Body, 'b', 10000);
    std::strcpy(native.Categories,
                "A category name that is certainly longer than sixty-three characters, yes");
    std::strcpy(native.Location, "Café");
    native.AllDayEvent = 1;
    native.Start = Ole(2026, 12, 24);
    native.End = Ole(2026, 12, 25);
    native.RecurrenceType = kOlRecursNone;
    native.CreationTime = 45000.5;
    CommDateRec rec{};
    FromNative(native, rec, 6);
    EXPECT_STREQ(rec.Subject, "Geburtstag Jürgen");
    EXPECT_EQ(std::strlen(rec.Notes), 8191u);
    EXPECT_EQ(std::strlen(rec.Categories), 63u);
    EXPECT_STREQ(rec.Location, "Café");
    EXPECT_EQ(rec.AllDay, 1);
    EXPECT_EQ(rec.DurationMinutes, 0); // the clock times only
    EXPECT_EQ(rec.Start.wDay, 24);
    EXPECT_EQ(rec.End.wDay, 25);
    EXPECT_EQ(rec.Recurrence.Kind, 0);
    EXPECT_EQ(rec.CreationTime, 45000.5);
    EXPECT_EQ(rec.SourceType, 3);

    OlDateRec back{};
    ToNative(rec, back, 6);
    EXPECT_EQ(back.Duration, 1440);
    EXPECT_EQ(back.AllDayEvent, 1);
    EXPECT_EQ(back.RecurrenceType, kOlRecursNone);

    rec.AllDay = 0;
    rec.Start = Time(2026, 3, 2, 9, 0);
    rec.End = Time(2026, 3, 2, 10, 30);
    ToNative(rec, back, 6);
    EXPECT_EQ(back.Duration, 90);
}

TEST(OlDateConvertTest, RepeatPatternsBothWays)
{
    struct Case
    {
        const char* name;
        std::int32_t type;
        std::int32_t interval, mask, dayOfMonth, instance, month;
        int kind;
        std::int32_t kindInterval, kindMask, kindDay, kindInstance, kindMonth;
        std::int32_t backType, backInterval;
    };
    const Case cases[] = {
        {"daily", 0, 3, 0, 0, 0, 0, 1, 3, 0, 0, 0, 0, 0, 3},
        {"weekly Mon+Wed", 1, 2, 10, 0, 0, 0, 2, 2, 10, 0, 0, 0, 1, 2},
        {"monthly on the 15th", 2, 1, 0, 15, 0, 0, 4, 1, 0, 15, 0, 0, 2, 1},
        {"monthly 2nd Tuesday", 3, 1, 4, 0, 2, 0, 3, 1, 4, 0, 2, 0, 3, 1},
        {"yearly 14 March", 5, 12, 0, 14, 0, 3, 6, 1, 0, 14, 0, 3, 5, 0},
        {"yearly last Friday of May", 6, 1, 32, 0, 5, 5, 5, 1, 32, 0, 5, 5, 6, 1},
        {"an unknown type", 4, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OlDateRec native{};
        native.Start = Ole(2026, 3, 2, 9, 0);
        native.End = Ole(2026, 3, 2, 10, 0);
        native.IsRecurring = 1;
        native.RecurrenceType = c.type;
        native.Interval = c.interval;
        native.DayOfWeekMask = c.mask;
        native.DayOfMonth = c.dayOfMonth;
        native.Instance = c.instance;
        native.MonthOfYear = c.month;
        native.PatternEndDate = Ole(2026, 12, 31);
        CommDateRec rec{};
        FromNative(native, rec, 6);
        const RecurrenceRule& r = rec.Recurrence;
        EXPECT_EQ(r.Kind, c.kind);
        EXPECT_EQ(r.Interval, c.kindInterval);
        EXPECT_EQ(r.DayOfWeekMask, c.kindMask);
        EXPECT_EQ(r.DayOfMonth, c.kindDay);
        EXPECT_EQ(r.Instance, c.kindInstance);
        EXPECT_EQ(r.MonthOfYear, c.kindMonth);
        EXPECT_EQ(r.HasEnd, 1);
        EXPECT_EQ(r.PatternEnd.wYear, 2026);

        OlDateRec back{};
        ToNative(rec, back, 6);
        EXPECT_EQ(back.RecurrenceType, c.backType);
        EXPECT_EQ(back.Interval, c.backInterval);
        if (c.backType >= 0) {
            EXPECT_NEAR(back.PatternEndDate, Ole(2026, 12, 31), 1e-6);
        }
    }
}

TEST(OlDateConvertTest, APatternEndFromTheYear4500OnMeansNoEnd)
{
    struct Case
    {
        double end;
        int hasEnd;
    };
    const Case cases[] = {
        {Ole(4500, 12, 31), 0}, {Ole(4501, 1, 1), 0}, {Ole(4499, 12, 31), 1}, {1.0, 0}, {0.0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.end);
        OlDateRec native{};
        native.RecurrenceType = kOlRecursWeekly;
        native.Interval = 1;
        native.DayOfWeekMask = 2;
        native.PatternEndDate = c.end;
        CommDateRec rec{};
        FromNative(native, rec, 6);
        EXPECT_EQ(rec.Recurrence.HasEnd, c.hasEnd);
    }
}

} // namespace
