// The Google calendar helper's reading and writing of iCalendar exports: date values, repeat
// rules, Google's quirks, bad input, local times, the recurrence text, the real exports and
// writing back. The test runs with TZ=Europe/Berlin.
#include <gtest/gtest.h>

#include <libical/ical.h>

#include <filesystem>
#include <functional>

#include "GoogleCalendarFile.h"
#include "common/TempHome.h"
#include "platform/Files.h"
#include "platform/OleDate.h"

using namespace gcal;

namespace {

const std::string kSamples = std::string(FW_SHARED_DIR) + "/samples/google/ics/";

std::string Calendar(const std::string& body)
{
    return "BEGIN:VCALENDAR\r\nPRODID:-//Google Inc//Google Calendar 70.9054//EN\r\nVERSION:2.0\r\n"
           "X-WR-CALNAME:Test\r\nX-WR-TIMEZONE:Europe/Berlin\r\n" +
           body + "END:VCALENDAR\r\n";
}

std::string VEvent(const std::string& lines)
{
    return "BEGIN:VEVENT\r\n" + lines + "END:VEVENT\r\n";
}

CalendarFile LoadOk(const std::string& text)
{
    CalendarFile cal;
    std::string error;
    EXPECT_TRUE(cal.LoadText(text, "/x/test.ics", error)) << error;
    return cal;
}

bool LibicalReads(const std::string& text)
{
    icalcomponent* c = icalparser_parse_string(text.c_str());
    const bool ok = c != nullptr && icalcomponent_isa(c) == ICAL_VCALENDAR_COMPONENT;
    if (c != nullptr) {
        icalcomponent_free(c);
    }
    return ok;
}

} // namespace

TEST(GoogleCalendarTime, ValuesAsWritten)
{
    struct Case
    {
        const char* text;
        bool isDate;
        const char* zone;
        bool ok;
        EventTime want;
    };
    const Case cases[] = {
        {"20141210", true, "", true, EventTime::MakeDate(2014, 12, 10)},
        {"20131210Z", false, "", true, EventTime::MakeDate(2013, 12, 10)}, // Google's RDATE
        {"20201113T141500Z", false, "", true, EventTime::MakeUtc(2020, 11, 13, 14, 15, 0)},
        {"20201116T081500", false, "America/Chicago", true,
         EventTime::MakeZoned("America/Chicago", 2020, 11, 16, 8, 15, 0)},
        {"20201116T081500", false, "", true, EventTime::MakeFloating(2020, 11, 16, 8, 15, 0)},
        {"20200229", true, "", true, EventTime::MakeDate(2020, 2, 29)},
        {"20190229", true, "", false, {}},
        {"20201301", true, "", false, {}},
        {"2020111", true, "", false, {}},
        {"20201116T2515", false, "", false, {}},
        {"20201116T251500", false, "", false, {}},
        {"20201116X081500", false, "", false, {}},
        {"20201116T081500ZZ", false, "", false, {}},
        {"garbage", false, "", false, {}},
        {"", false, "", false, {}},
    };
    for (const Case& c : cases) {
        EventTime t;
        EXPECT_EQ(ParseTimeValue(c.text, c.isDate, c.zone, &t), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(t, c.want) << c.text;
        }
    }
    EXPECT_EQ(FormatTimeLine("DTSTART", EventTime::MakeDate(2014, 12, 10)), "DTSTART;VALUE=DATE:20141210");
    EXPECT_EQ(FormatTimeLine("DTEND", EventTime::MakeZoned("Europe/London", 2013, 3, 1, 9, 0, 0)),
              "DTEND;TZID=Europe/London:20130301T090000");
    EXPECT_EQ(FormatTimeLine("EXDATE", EventTime::MakeUtc(2020, 1, 2, 3, 4, 5)), "EXDATE:20200102T030405Z");
}

TEST(GoogleCalendarRepeat, RulesToPatterns)
{
    const EventTime fri = EventTime::MakeZoned("America/Chicago", 2020, 9, 25, 14, 15, 0); // a Friday
    const EventTime mon = EventTime::MakeZoned("America/Chicago", 2020, 11, 16, 8, 15, 0); // a Monday
    const EventTime day = EventTime::MakeDate(2014, 12, 10);
    struct Case
    {
        const char* rule;
        EventTime start;
        bool ok;
        int kind, interval, mask, dayOfMonth, month, instance;
        bool hasEnd;
        EventTime end;
    };
    const Case cases[] = {
        {"FREQ=DAILY", mon, true, 1, 1, 0, 0, 0, 0, false, {}},
        {"FREQ=DAILY;INTERVAL=3", mon, true, 1, 3, 0, 0, 0, 0, false, {}},
        {"FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR", mon, true, 2, 1, 62, 0, 0, 0, false, {}},
        {"FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,FR", mon, true, 2, 2, 34, 0, 0, 0, false, {}},
        {"FREQ=WEEKLY;WKST=SU;INTERVAL=1;BYDAY=MO,TU,TH,FR", mon, true, 2, 1, 54, 0, 0, 0, false, {}},
        {"FREQ=WEEKLY;WKST=MO", fri, true, 2, 1, 32, 0, 0, 0, false, {}}, // the start's weekday
        {"FREQ=MONTHLY;BYMONTHDAY=15", mon, true, 4, 1, 0, 15, 0, 0, false, {}},
        {"FREQ=MONTHLY;BYMONTHDAY=-1", mon, true, 4, 1, 0, 31, 0, 0, false, {}},
        {"FREQ=MONTHLY", fri, true, 4, 1, 0, 25, 0, 0, false, {}},
        {"FREQ=MONTHLY;BYDAY=3SA", mon, true, 3, 1, 64, 0, 0, 3, false, {}},
        {"FREQ=MONTHLY;BYDAY=-1FR", fri, true, 3, 1, 32, 0, 0, 5, false, {}},
        {"FREQ=MONTHLY;INTERVAL=2;BYDAY=FR;BYSETPOS=-1", fri, true, 3, 2, 32, 0, 0, 5, false, {}},
        {"FREQ=MONTHLY;BYWEEKNO=2;BYDAY=TU", mon, true, 3, 1, 4, 0, 0, 2, false, {}}, // the connector's form
        {"FREQ=YEARLY", day, true, 6, 1, 0, 10, 12, 0, false, {}},
        {"FREQ=YEARLY;BYMONTH=3;BYMONTHDAY=15", day, true, 6, 1, 0, 15, 3, 0, false, {}},
        {"FREQ=YEARLY;BYMONTH=11;BYDAY=4TH", day, true, 5, 1, 16, 0, 11, 4, false, {}},
        {"FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU", day, true, 5, 1, 1, 0, 3, 5, false, {}},
        {"FREQ=WEEKLY;UNTIL=20200923T045959Z;BYDAY=FR,MO,TH,TU,WE", mon, true, 2, 1, 62, 0, 0, 0, true,
         EventTime::MakeUtc(2020, 9, 23, 4, 59, 59)},
        {"FREQ=DAILY;UNTIL=20201231", day, true, 1, 1, 0, 0, 0, 0, true, EventTime::MakeDate(2020, 12, 31)},
        {"FREQ=DAILY;COUNT=5", mon, true, 1, 1, 0, 0, 0, 0, true,
         EventTime::MakeZoned("America/Chicago", 2020, 11, 20, 8, 15, 0)},
        {"FREQ=WEEKLY;COUNT=3;BYDAY=MO,WE", mon, true, 2, 1, 10, 0, 0, 0, true,
         EventTime::MakeZoned("America/Chicago", 2020, 11, 23, 8, 15, 0)},
        {"FREQ=DAILY;INTERVAL=1;COUNT=1", day, true, 1, 1, 0, 0, 0, 0, true, day},
        {"FREQ=HOURLY;INTERVAL=4", mon, true, 0, 0, 0, 0, 0, 0, false, {}},
        {"FREQ=BOGUS", mon, false, 0, 0, 0, 0, 0, 0, false, {}},
        {"", mon, false, 0, 0, 0, 0, 0, 0, false, {}},
    };
    for (const Case& c : cases) {
        RepeatPattern p;
        EXPECT_EQ(PatternFromRule(c.rule, c.start, &p), c.ok) << c.rule;
        EXPECT_EQ(p.kind, c.kind) << c.rule;
        EXPECT_EQ(p.interval, c.interval) << c.rule;
        EXPECT_EQ(p.dayOfWeekMask, c.mask) << c.rule;
        EXPECT_EQ(p.dayOfMonth, c.dayOfMonth) << c.rule;
        EXPECT_EQ(p.monthOfYear, c.month) << c.rule;
        EXPECT_EQ(p.instance, c.instance) << c.rule;
        EXPECT_EQ(p.hasEnd, c.hasEnd) << c.rule;
        if (c.hasEnd) {
            EXPECT_EQ(p.patternEnd, c.end) << c.rule;
        }
        if (c.ok) {
            EXPECT_EQ(p.patternStart, c.start) << c.rule;
        }
        // A pattern written as a rule reads back as itself.
        if (c.kind != 0 && !c.hasEnd) {
            RepeatPattern again;
            const std::string rule = RuleFromPattern(p);
            ASSERT_TRUE(PatternFromRule(rule, c.start, &again)) << rule;
            EXPECT_EQ(again, p) << c.rule << " -> " << rule;
        }
    }
    RepeatPattern ended;
    ended.kind = 2;
    ended.interval = 2;
    ended.dayOfWeekMask = 34;
    ended.hasEnd = true;
    ended.patternEnd = EventTime::MakeUtc(2021, 6, 30, 22, 0, 0);
    EXPECT_EQ(RuleFromPattern(ended), "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,FR;UNTIL=20210630T220000Z");
    EXPECT_EQ(RuleFromPattern(RepeatPattern{}), "");
}

TEST(GoogleCalendarQuirks, GoogleFilesReadAsMeant)
{
    const std::string timed = "DTSTART;TZID=Europe/Berlin:20211126T213000\r\n";
    struct Case
    {
        const char* name;
        std::string body;
        std::function<void(const CalendarFile&)> check;
    };
    const Case cases[] = {
        {"empty DESCRIPTION and LOCATION",
         VEvent("UID:a\r\n" + timed + "DESCRIPTION:\r\nLOCATION:\r\nSUMMARY:s\r\n"),
         [](const CalendarFile& cal) {
             ASSERT_EQ(cal.events.size(), 1u);
             EXPECT_EQ(cal.events[0].description, "");
             EXPECT_EQ(cal.events[0].location, "");
             EXPECT_EQ(cal.events[0].summary, "s");
         }},
        {"RDATE dates with a Z",
         VEvent("UID:b\r\nDTSTART;VALUE=DATE:20141210\r\nDTEND;VALUE=DATE:20141211\r\n"
                "RRULE:FREQ=DAILY;INTERVAL=1;COUNT=1\r\nRDATE:20131210Z\r\nRDATE:20121210Z\r\n"),
         [](const CalendarFile& cal) {
             ASSERT_EQ(cal.events.size(), 1u);
             const std::vector<EventTime> want{EventTime::MakeDate(2013, 12, 10),
                                               EventTime::MakeDate(2012, 12, 10)};
             EXPECT_EQ(cal.events[0].rdates, want);
             EXPECT_EQ(cal.events[0].rrule, "FREQ=DAILY;INTERVAL=1;COUNT=1");
         }},
        {"moved instance before its series",
         VEvent("UID:c\r\nRECURRENCE-ID;TZID=Europe/Berlin:20211231T213000\r\n"
                "DTSTART;TZID=Europe/Berlin:20211217T213000\r\nSUMMARY:moved\r\n") +
             VEvent("UID:c\r\n" + timed + "RRULE:FREQ=MONTHLY;BYDAY=-1FR\r\nSUMMARY:series\r\n"),
         [](const CalendarFile& cal) {
             ASSERT_EQ(cal.events.size(), 1u);
             const gcal::Event& series = cal.events[0];
             EXPECT_EQ(series.summary, "series");
             ASSERT_EQ(series.movedInstances.size(), 1u);
             EXPECT_EQ(series.movedInstances[0].summary, "moved");
             EXPECT_EQ(series.movedInstances[0].recurrenceId,
                       EventTime::MakeZoned("Europe/Berlin", 2021, 12, 31, 21, 30, 0));
             // No DTEND and no DURATION: a timed event ends at its start.
             EXPECT_EQ(series.movedInstances[0].end, series.movedInstances[0].start);
         }},
        {"moved instances without a series",
         VEvent("UID:d\r\nDTSTART;VALUE=DATE:20121210\r\nRECURRENCE-ID;VALUE=DATE:20121210\r\n") +
             VEvent("UID:d\r\nDTSTART;VALUE=DATE:20131210\r\nRECURRENCE-ID;VALUE=DATE:20131210\r\n"),
         [](const CalendarFile& cal) {
             ASSERT_EQ(cal.events.size(), 2u);
             EXPECT_TRUE(cal.events[0].IsMovedInstance());
             EXPECT_TRUE(cal.events[1].IsMovedInstance());
             // No DTEND: an all-day event lasts its day.
             EXPECT_EQ(cal.events[0].end, EventTime::MakeDate(2012, 12, 11));
         }},
        {"EXDATE lines",
         VEvent("UID:e\r\nDTSTART;TZID=America/Chicago:20201106T123000\r\nRRULE:FREQ=WEEKLY;BYDAY=FR\r\n"
                "EXDATE;TZID=America/Chicago:20201127T123000\r\n"
                "EXDATE;TZID=America/Chicago:20201106T123000,20201113T123000\r\n"),
         [](const CalendarFile& cal) {
             ASSERT_EQ(cal.events.size(), 1u);
             const std::vector<EventTime> want{
                 EventTime::MakeZoned("America/Chicago", 2020, 11, 27, 12, 30, 0),
                 EventTime::MakeZoned("America/Chicago", 2020, 11, 6, 12, 30, 0),
                 EventTime::MakeZoned("America/Chicago", 2020, 11, 13, 12, 30, 0)};
             EXPECT_EQ(cal.events[0].exdates, want);
         }},
        {"DTEND from DURATION", VEvent("UID:f\r\n" + timed + "DURATION:PT1H30M\r\n"),
         [](const CalendarFile& cal) {
             ASSERT_EQ(cal.events.size(), 1u);
             EXPECT_EQ(cal.events[0].end, EventTime::MakeZoned("Europe/Berlin", 2021, 11, 26, 23, 0, 0));
         }},
        {"all-day DTEND from DURATION", VEvent("UID:g\r\nDTSTART;VALUE=DATE:20211231\r\nDURATION:P2D\r\n"),
         [](const CalendarFile& cal) {
             ASSERT_EQ(cal.events.size(), 1u);
             EXPECT_TRUE(cal.events[0].IsAllDay());
             EXPECT_EQ(cal.events[0].end, EventTime::MakeDate(2022, 1, 2));
         }},
        {"reminders",
         VEvent("UID:h\r\n" + timed +
                "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-P0DT0H30M0S\r\nEND:VALARM\r\n"
                "BEGIN:VALARM\r\nACTION:EMAIL\r\nTRIGGER:-P1D\r\nEND:VALARM\r\n"
                "BEGIN:VALARM\r\nACTION:AUDIO\r\nTRIGGER:-PT2H\r\nEND:VALARM\r\n"
                "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-P2W\r\nEND:VALARM\r\n"
                "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER;RELATED=END:PT0S\r\nEND:VALARM\r\n"
                "DURATION:PT1H\r\n"),
         [](const CalendarFile& cal) {
             ASSERT_EQ(cal.events.size(), 1u);
             const std::vector<Reminder> want{{kReminderPopup, 30, kUnitMinutes},
                                              {kReminderEmail, 1, kUnitDays},
                                              {kReminderPopup, 2, kUnitHours},
                                              {kReminderPopup, 2, kUnitWeeks},
                                              {kReminderPopup, -1, kUnitHours}};
             EXPECT_EQ(cal.events[0].reminders, want);
         }},
        {"texts, categories and folded lines",
         VEvent("UID:i\r\n" + timed +
                "SUMMARY:a\\, b\\; c\r\nDESCRIPTION:line one\\nline t\r\n wo\r\n"
                "CATEGORIES:Work,Home\r\n"),
         [](const CalendarFile& cal) {
             ASSERT_EQ(cal.events.size(), 1u);
             EXPECT_EQ(cal.events[0].summary, "a, b; c");
             EXPECT_EQ(cal.events[0].description, "line one\nline two");
             const std::vector<std::string> want{"Work", "Home"};
             EXPECT_EQ(cal.events[0].categories, want);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CalendarFile cal = LoadOk(Calendar(c.body));
        EXPECT_TRUE(cal.warnings.empty()) << cal.warnings.front();
        c.check(cal);
    }
}

TEST(GoogleCalendarErrors, BadInputNamesFileAndReason)
{
    struct Case
    {
        std::string text;
        const char* reason;
    };
    const Case cases[] = {
        {"", "libical cannot parse"},
        {"hello world\r\n", "libical cannot parse"},
        {std::string("BEGIN:VCALENDAR\r\n\0\r\nEND:VCALENDAR\r\n", 34), "zero byte"},
        {"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:1\r\n", "libical cannot parse"},
        {"BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\nBEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n",
         "more than one calendar"},
        {"BEGIN:VEVENT\r\nUID:1\r\nEND:VEVENT\r\n", "no VCALENDAR"},
        {"BEGIN:VCALENDAR\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n", "has no matching BEGIN"},
        {Calendar(VEvent("UID:1\r\nSUMMARY:x\r\n")), "has no DTSTART"},
        {Calendar(VEvent("UID:1\r\nDTSTART:garbage\r\n")), "not a date or date-time: \"garbage\""},
    };
    for (const Case& c : cases) {
        CalendarFile cal;
        std::string error;
        EXPECT_FALSE(cal.LoadText(c.text, "/x/bad.ics", error)) << c.text;
        EXPECT_EQ(error.rfind("/x/bad.ics: ", 0), 0u) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_TRUE(cal.events.empty());
    }
    CalendarFile cal;
    std::string error;
    EXPECT_FALSE(cal.Load("/nonexistent/folder/cal.ics", error));
    EXPECT_EQ(error, "/nonexistent/folder/cal.ics: the file does not exist");

    // A property libical cannot read is a warning, not a failure.
    CalendarFile warned = LoadOk(Calendar(VEvent("UID:1\r\nDTSTART:20200101T100000Z\r\nGEO:x;y\r\n")));
    ASSERT_EQ(warned.events.size(), 1u);
    ASSERT_EQ(warned.warnings.size(), 1u);
    EXPECT_EQ(warned.warnings[0].rfind("/x/test.ics: the event at line 6: ", 0), 0u) << warned.warnings[0];
}

TEST(GoogleCalendarTime, LocalWallClockAndOleDates)
{
    CalendarFile cal = LoadOk(Calendar(""));
    struct Case
    {
        EventTime t;
        int y, mo, d, h, mi, dow;
    };
    const Case cases[] = {
        // A zone without a VTIMEZONE in the file comes from the system's database.
        {EventTime::MakeZoned("America/Chicago", 2020, 11, 16, 8, 15, 0), 2020, 11, 16, 15, 15, 1},
        {EventTime::MakeZoned("America/Chicago", 2020, 7, 16, 8, 15, 0), 2020, 7, 16, 15, 15, 4},
        {EventTime::MakeUtc(2020, 11, 13, 14, 15, 0), 2020, 11, 13, 15, 15, 5},
        {EventTime::MakeUtc(2020, 7, 13, 23, 30, 0), 2020, 7, 14, 1, 30, 2},
        {EventTime::MakeDate(2014, 12, 10), 2014, 12, 10, 0, 0, 3},
        {EventTime::MakeFloating(2021, 1, 2, 3, 4, 0), 2021, 1, 2, 3, 4, 6},
        {EventTime::MakeZoned("No/Such_Zone", 2021, 1, 2, 3, 4, 0), 2021, 1, 2, 3, 4, 6},
    };
    for (const Case& c : cases) {
        SYSTEMTIME st{};
        ASSERT_TRUE(cal.LocalTime(c.t, &st)) << FormatTimeValue(c.t);
        EXPECT_EQ(st.wYear, c.y);
        EXPECT_EQ(st.wMonth, c.mo);
        EXPECT_EQ(st.wDay, c.d);
        EXPECT_EQ(st.wHour, c.h) << FormatTimeLine("T", c.t);
        EXPECT_EQ(st.wMinute, c.mi);
        EXPECT_EQ(st.wDayOfWeek, c.dow) << FormatTimeLine("T", c.t);
    }
    double ole = 0;
    ASSERT_TRUE(cal.OleDate(EventTime::MakeZoned("America/Chicago", 2020, 11, 16, 8, 15, 0), &ole));
    EXPECT_DOUBLE_EQ(ole, 44151.0 + 15.25 / 24.0);
    ASSERT_TRUE(cal.OleDate(EventTime::MakeDate(2014, 12, 10), &ole));
    EXPECT_DOUBLE_EQ(ole, 41983.0);
    EXPECT_FALSE(cal.OleDate(EventTime{}, &ole));

    // The file's own VTIMEZONE wins over the system's: here a zone whose offset is fixed.
    CalendarFile own = LoadOk(Calendar("BEGIN:VTIMEZONE\r\nTZID:America/Chicago\r\nBEGIN:STANDARD\r\n"
                                       "TZOFFSETFROM:-0300\r\nTZOFFSETTO:-0300\r\nTZNAME:XX\r\n"
                                       "DTSTART:19700101T000000\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n"));
    SYSTEMTIME st{};
    ASSERT_TRUE(own.LocalTime(EventTime::MakeZoned("America/Chicago", 2020, 11, 16, 8, 15, 0), &st));
    EXPECT_EQ(st.wHour, 12);
}

TEST(GoogleCalendarRecurrenceText, LinesThenTheZone)
{
    const std::string zone = "BEGIN:VTIMEZONE\r\nTZID:Europe/London\r\nX-LIC-LOCATION:Europe/London\r\n"
                             "BEGIN:STANDARD\r\nTZOFFSETFROM:+0000\r\nTZOFFSETTO:+0000\r\nTZNAME:GMT\r\n"
                             "DTSTART:19700101T000000\r\nEND:STANDARD\r\nEND:VTIMEZONE";
    CalendarFile cal = LoadOk(Calendar(
        zone + "\r\n" +
        VEvent("UID:a\r\nDTSTART;TZID=Europe/London:20130301T090000\r\nDTEND;TZID=Europe/"
               "London:20130301T100000\r\n"
               "RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,FR\r\nEXDATE;TZID=Europe/London:20130311T090000\r\n") +
        VEvent("UID:b\r\nDTSTART;VALUE=DATE:20141210\r\nDTEND;VALUE=DATE:20141211\r\nRDATE:20131210Z\r\n") +
        VEvent("UID:c\r\nDTSTART:20201113T141500Z\r\nDTEND:20201113T143000Z\r\n")));
    ASSERT_EQ(cal.events.size(), 3u);
    EXPECT_EQ(cal.TimeZoneText("Europe/London"), zone);
    EXPECT_EQ(cal.TimeZoneText("Europe/Paris"), "");
    EXPECT_EQ(cal.RecurrenceText(cal.events[0]), "DTSTART;TZID=Europe/London:20130301T090000\r\n"
                                                 "DTEND;TZID=Europe/London:20130301T100000\r\n"
                                                 "RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,FR\r\n"
                                                 "EXDATE;TZID=Europe/London:20130311T090000\r\n" +
                                                     zone);
    EXPECT_EQ(cal.RecurrenceText(cal.events[1]),
              "DTSTART;VALUE=DATE:20141210\r\nDTEND;VALUE=DATE:20141211\r\nRDATE;VALUE=DATE:20131210");
    EXPECT_EQ(cal.RecurrenceText(cal.events[2]), ""); // does not repeat
}

TEST(GoogleCalendarSamples, RealExports)
{
    if (!std::filesystem::exists(kSamples)) {
        GTEST_SKIP() << "no samples at " << kSamples;
    }
    struct Case
    {
        const char* file;
        const char* title;
        const char* zone;
        std::size_t events;
        std::function<void(const CalendarFile&)> check;
    };
    const Case cases[] = {
        {"issue_48_dst.ics", "School", "America/Chicago", 13,
         [](const CalendarFile& cal) {
             std::size_t repeating = 0, exdates = 0;
             for (const gcal::Event& e : cal.events) {
                 repeating += e.rrule.empty() ? 0 : 1;
                 exdates += e.exdates.size();
                 if (!e.rrule.empty()) {
                     EXPECT_EQ(e.repeat.kind, 2) << e.uid;
                 }
             }
             EXPECT_EQ(repeating, 12u);
             EXPECT_EQ(exdates, 14u);
             const gcal::Event& first = cal.events[0];
             EXPECT_EQ(first.uid, "c4p6@google.com");
             EXPECT_EQ(first.summary, "Event#1 ");
             EXPECT_EQ(first.repeat.dayOfWeekMask, 54);
             EXPECT_EQ(first.start, EventTime::MakeZoned("America/Chicago", 2020, 11, 16, 8, 15, 0));
             EXPECT_EQ(cal.events[1].start, EventTime::MakeUtc(2020, 11, 13, 14, 15, 0));
             EXPECT_EQ(cal.events[6].repeat.dayOfWeekMask, 32); // WEEKLY;WKST=MO from a Friday
             const gcal::Event& last = cal.events[12];
             EXPECT_TRUE(last.repeat.hasEnd);
             EXPECT_EQ(last.repeat.patternEnd, EventTime::MakeUtc(2020, 9, 23, 4, 59, 59));
             const std::string text = cal.RecurrenceText(first);
             EXPECT_EQ(text.rfind("DTSTART;TZID=America/Chicago:20201116T081500\r\n"
                                  "DTEND;TZID=America/Chicago:20201116T083000\r\n"
                                  "RRULE:FREQ=WEEKLY;WKST=SU;INTERVAL=1;BYDAY=MO,TU,TH,FR\r\n"
                                  "EXDATE;TZID=America/Chicago:20201127T081500\r\n"
                                  "EXDATE;TZID=America/Chicago:20201126T081500\r\n"
                                  "BEGIN:VTIMEZONE\r\nTZID:America/Chicago\r\n",
                                  0),
                       0u)
                 << text;
             EXPECT_TRUE(text.ends_with("END:STANDARD\r\nEND:VTIMEZONE"));
             double ole = 0;
             ASSERT_TRUE(cal.OleDate(first.start, &ole));
             EXPECT_DOUBLE_EQ(ole, 44151.0 + 15.25 / 24.0);
         }},
        {"issue_62_moved_event.ics", "Partyborn Zeitgeist", "Europe/Berlin", 1,
         [](const CalendarFile& cal) {
             EXPECT_EQ(cal.definition.summary, "Alle Events des Zeitgeist Paderborn f\xc3\xbcr den Partyborn "
                                               "Partyalarm\nhttps://partyborn.de/partyalarm");
             const gcal::Event& series = cal.events[0];
             EXPECT_EQ(series.repeat.kind, 3);
             EXPECT_EQ(series.repeat.instance, 5);
             EXPECT_EQ(series.repeat.dayOfWeekMask, 32);
             EXPECT_NE(series.description.find("<a href=\"https://www.instagram.com/p/CWwxmqbKXsC/\">"),
                       std::string::npos);
             ASSERT_EQ(series.movedInstances.size(), 1u);
             EXPECT_EQ(series.movedInstances[0].end, series.movedInstances[0].start);
             EXPECT_EQ(series.location, "");
         }},
        {"issue_44_double_event.ics", "agy35@gmail.com", "Europe/London", 1,
         [](const CalendarFile& cal) {
             const gcal::Event& e = cal.events[0];
             EXPECT_TRUE(e.IsAllDay());
             EXPECT_EQ(e.start, EventTime::MakeDate(2020, 8, 14));
             EXPECT_EQ(e.end, EventTime::MakeDate(2020, 8, 15));
             EXPECT_EQ(e.description, "");
             EXPECT_EQ(e.summary, "test2");
         }},
        {"google_birthday.ics", "Contacts' birthdays and events", "America/Los_Angeles", 4,
         [](const CalendarFile& cal) {
             EXPECT_EQ(cal.definition.summary, "Your contacts' birthdays and anniversaries");
             EXPECT_EQ(cal.events[0].rdates.size(), 2u);
             EXPECT_EQ(cal.events[0].repeat.kind, 1);
             EXPECT_TRUE(cal.events[0].repeat.hasEnd);
             for (std::size_t i = 1; i < 4; ++i) {
                 EXPECT_TRUE(cal.events[i].IsMovedInstance()); // their series has another UID
             }
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        CalendarFile cal;
        std::string error;
        ASSERT_TRUE(cal.Load(kSamples + c.file, error)) << error;
        EXPECT_TRUE(cal.warnings.empty()) << cal.warnings.front();
        EXPECT_EQ(cal.definition.id, std::string(c.file).substr(0, std::string(c.file).size() - 4));
        EXPECT_EQ(cal.definition.title, c.title);
        EXPECT_EQ(cal.definition.timeZone, c.zone);
        ASSERT_EQ(cal.events.size(), c.events);
        c.check(cal);

        // Unchanged, the file is written back byte for byte.
        std::string original, text;
        ASSERT_TRUE(platform::ReadWholeFile(kSamples + c.file, original));
        ASSERT_TRUE(cal.BuildText(&text, error)) << error;
        EXPECT_EQ(text, original);
    }
}

TEST(GoogleCalendarWrite, EventWithoutUidKeepsItsTextUntilChanged)
{
    const std::string original = Calendar(VEvent("DTSTART;VALUE=DATE:20230106\r\nSUMMARY:no id\r\n"));
    CalendarFile cal;
    std::string error;
    ASSERT_TRUE(cal.LoadText(original, "cal.ics", error)) << error;
    ASSERT_EQ(cal.events.size(), 1u);
    std::string text;
    ASSERT_TRUE(cal.BuildText(&text, error)) << error;
    EXPECT_EQ(text, original) << "an unchanged event is not given an id of its own";

    cal.events[0].summary = "changed";
    ASSERT_TRUE(cal.BuildText(&text, error)) << error;
    CalendarFile again;
    ASSERT_TRUE(again.LoadText(text, "cal.ics", error)) << error;
    ASSERT_EQ(again.events.size(), 1u);
    EXPECT_EQ(again.events[0].summary, "changed");
    EXPECT_FALSE(again.events[0].uid.empty()) << "an event written from its fields has an id";
}

TEST(GoogleCalendarWrite, ChangedAndNewEventsRoundTrip)
{
    fwtest::TempHome home;
    const std::string original = Calendar(
        VEvent("UID:keep@google.com\r\nDTSTART;VALUE=DATE:20141210\r\nDTEND;VALUE=DATE:20141211\r\n"
               "RDATE:20131210Z\r\nDESCRIPTION:\r\nSUMMARY:kept\r\nX-GOOGLE-CALENDAR-CONTENT-ICON:https://"
               "calend\r\n"
               " ar.google.com/cake.gif\r\n") +
        VEvent("UID:edit@google.com\r\nDTSTART;TZID=Europe/Berlin:20211126T213000\r\nDURATION:PT1H\r\n"
               "RRULE:FREQ=MONTHLY;BYDAY=-1FR\r\nRDATE:20211224Z\r\nLOCATION:\r\nSUMMARY:old\r\n"
               "ATTENDEE;CN=Someone:mailto:someone@example.com\r\n"
               "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-P0DT0H30M0S\r\nEND:VALARM\r\n"));
    const std::string path = home.WriteFile("cal/mine@gmail.com.ics", original);
    CalendarFile cal;
    std::string error;
    ASSERT_TRUE(cal.Load(path, error)) << error;
    ASSERT_EQ(cal.events.size(), 2u);
    const std::string keptRaw = cal.events[0].RawText();

    gcal::Event& edit = cal.events[1];
    edit.summary = "new, with; marks";
    edit.end = EventTime::MakeZoned("Europe/Berlin", 2021, 11, 26, 23, 0, 0);
    edit.reminders.push_back({kReminderEmail, 2, kUnitDays});

    gcal::Event added;
    added.summary = "added";
    added.description = "two\nlines";
    added.categories = {"Work"};
    added.start = EventTime::MakeZoned("Europe/Berlin", 2022, 3, 1, 9, 0, 0);
    added.end = EventTime::MakeZoned("Europe/Berlin", 2022, 3, 1, 10, 0, 0);
    added.repeat.kind = 2;
    added.repeat.interval = 2;
    added.repeat.dayOfWeekMask = 34;
    added.reminders = {{kReminderPopup, 10, kUnitMinutes}};
    cal.events.push_back(added);

    ASSERT_TRUE(cal.Save(error)) << error;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.Path("cal")), {}), 1)
        << "the temporary file is gone";
    const std::string written = home.ReadFile("cal/mine@gmail.com.ics");
    EXPECT_TRUE(LibicalReads(written));
    EXPECT_NE(written.find(keptRaw + "\r\n"), std::string::npos) << "the unchanged event keeps its text";
    EXPECT_EQ(written.find("X-LIC-ERROR"), std::string::npos);

    CalendarFile again;
    ASSERT_TRUE(again.Load(path, error)) << error;
    EXPECT_TRUE(again.warnings.empty()) << again.warnings.front();
    EXPECT_EQ(again.definition.id, "mine@gmail.com");
    ASSERT_EQ(again.events.size(), 3u);
    EXPECT_EQ(again.events[0].RawText(), keptRaw);

    const gcal::Event& e = again.events[1];
    EXPECT_EQ(e.uid, "edit@google.com");
    EXPECT_EQ(e.summary, "new, with; marks");
    EXPECT_EQ(e.end, EventTime::MakeZoned("Europe/Berlin", 2021, 11, 26, 23, 0, 0));
    EXPECT_EQ(e.rrule, "FREQ=MONTHLY;BYDAY=-1FR");
    EXPECT_EQ(e.rdates, std::vector<EventTime>{EventTime::MakeDate(2021, 12, 24)});
    const std::vector<Reminder> reminders{{kReminderPopup, 30, kUnitMinutes}, {kReminderEmail, 2, kUnitDays}};
    EXPECT_EQ(e.reminders, reminders);
    EXPECT_NE(e.RawText().find("ATTENDEE;CN=Someone:mailto:someone@example.com"), std::string::npos);
    EXPECT_EQ(e.RawText().find("DURATION"), std::string::npos);

    const gcal::Event& n = again.events[2];
    EXPECT_FALSE(n.uid.empty());
    EXPECT_EQ(n.uid, cal.events[2].uid);
    EXPECT_EQ(n.summary, "added");
    EXPECT_EQ(n.description, "two\nlines");
    EXPECT_EQ(n.categories, std::vector<std::string>{"Work"});
    EXPECT_EQ(n.start, added.start);
    EXPECT_EQ(n.end, added.end);
    EXPECT_EQ(n.rrule, "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,FR");
    EXPECT_EQ(n.repeat.kind, 2);
    EXPECT_EQ(n.repeat.interval, 2);
    EXPECT_EQ(n.repeat.dayOfWeekMask, 34);
    EXPECT_EQ(n.reminders, added.reminders);

    // Saved again unchanged, nothing moves.
    std::string text;
    ASSERT_TRUE(again.BuildText(&text, error)) << error;
    EXPECT_EQ(text, written);

    // A calendar of its own, new: a file that reads back.
    CalendarFile fresh;
    fresh.definition.title = "New";
    fresh.definition.timeZone = "Europe/Berlin";
    fresh.events.push_back(added);
    ASSERT_TRUE(fresh.Save(error, home.Path("cal/new.ics"))) << error;
    CalendarFile freshAgain;
    ASSERT_TRUE(freshAgain.Load(home.Path("cal/new.ics"), error)) << error;
    EXPECT_EQ(freshAgain.definition.title, "New");
    ASSERT_EQ(freshAgain.events.size(), 1u);
    EXPECT_EQ(freshAgain.events[0].summary, "added");
}
