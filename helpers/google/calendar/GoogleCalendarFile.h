#pragma once
// One Google Calendar iCalendar export (Google Calendar -> Export, or a calendar file of an
// account archive): the calendar's definition and its events, read through libical, and
// written back with every unchanged event kept as the file had it.
//
// Reading keeps each event's component text exactly as the file holds it. Saving writes
// that text again for every event whose fields were not changed, and builds the text of
// changed and new events from the fields (a changed event keeps every property that the
// model does not carry). The file is replaced atomically.
#include <memory>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

namespace gcal {

// How a date or date-time value was written.
enum class TimeForm
{
    None,     // no value
    Zoned,    // wall-clock time in the zone named by TZID
    Utc,      // date-time ending in "Z"
    Floating, // date-time without zone: the wall-clock time wherever one is
    Date      // VALUE=DATE: a whole day (also Google's dates with a stray "Z")
};

struct EventTime
{
    TimeForm form = TimeForm::None;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    std::string zone; // the TZID of a zoned value

    bool IsSet() const { return form != TimeForm::None; }
    bool IsDate() const { return form == TimeForm::Date; }
    bool operator==(const EventTime&) const = default;

    static EventTime MakeDate(int y, int m, int d);
    static EventTime MakeUtc(int y, int m, int d, int hh, int mm, int ss);
    static EventTime MakeZoned(const std::string& zone, int y, int m, int d, int hh, int mm, int ss);
    static EventTime MakeFloating(int y, int m, int d, int hh, int mm, int ss);
};

// Parses one iCalendar date or date-time value ("20201116T081500", "20201113T141500Z",
// "20141210", and Google's "20131210Z", which is read as a date). valueIsDate is the
// property's VALUE=DATE, zone its TZID (empty when none). False for anything else.
bool ParseTimeValue(const std::string& text, bool valueIsDate, const std::string& zone, EventTime* out);
// The value part as iCalendar writes it ("20201116T081500", "...Z", "20141210").
std::string FormatTimeValue(const EventTime& t);
// A whole property line: "DTSTART;TZID=America/Chicago:20201116T081500",
// "DTSTART;VALUE=DATE:20141210", "DTSTART:20201113T141500Z".
std::string FormatTimeLine(const std::string& name, const EventTime& t);

// Reminder methods and units carry the values of the Google event record.
enum ReminderMethod
{
    kReminderEmail = 0, // ACTION:EMAIL
    kReminderPopup = 1  // ACTION:DISPLAY (and AUDIO, or anything that is not e-mail)
};
enum ReminderUnit
{
    kUnitMinutes = 0,
    kUnitHours = 1,
    kUnitDays = 2,
    kUnitWeeks = 3
};

struct Reminder
{
    int method = kReminderPopup;
    int amount = 0; // lead time before the start, in units (negative: after the start)
    int unit = kUnitMinutes;
    bool operator==(const Reminder&) const = default;
};

// The repeat pattern in the common record's terms: kind 0 none, 1 daily, 2 weekly, 3 monthly
// on the n-th weekday, 4 monthly on a day of the month, 5 yearly on the n-th weekday of a
// month, 6 yearly on a date. Weekday mask bit 0 is Sunday ... bit 6 Saturday; instance 1..5,
// 5 being the last occurrence in the month.
struct RepeatPattern
{
    int kind = 0;
    int interval = 0;
    int dayOfWeekMask = 0;
    int dayOfMonth = 0;
    int monthOfYear = 0;
    int instance = 0;
    bool hasEnd = false;
    EventTime patternStart; // the event's start
    EventTime patternEnd;   // from UNTIL, or the last occurrence that COUNT gives
    bool operator==(const RepeatPattern&) const = default;
};

// The pattern of an RRULE value ("FREQ=WEEKLY;BYDAY=MO,FR") for an event starting at start.
// A weekly rule without BYDAY repeats on the start's weekday; a monthly or yearly rule
// without BYDAY or BYMONTHDAY repeats on the start's day (and month). Frequencies below a
// day, and a rule that libical cannot read, give kind 0 (false for the latter).
bool PatternFromRule(const std::string& rule, const EventTime& start, RepeatPattern* out);
// An RRULE value for a pattern (kind 1..6; empty for kind 0): the inverse of the above.
std::string RuleFromPattern(const RepeatPattern& p);

struct Event
{
    std::string uid;
    std::string summary;
    std::string location;
    std::string description;
    std::vector<std::string> categories;
    EventTime start;
    EventTime end; // exclusive for all-day events; filled in when the file has no DTEND
    std::vector<Reminder> reminders;
    std::string rrule; // the RRULE value as the file has it, without "RRULE:"; empty when none
    RepeatPattern repeat;
    std::vector<EventTime> exdates;
    std::vector<EventTime> rdates;
    EventTime recurrenceId;            // set for a moved instance of a series
    std::vector<Event> movedInstances; // the series' moved instances found in the file

    bool IsAllDay() const { return start.IsDate(); }
    bool IsMovedInstance() const { return recurrenceId.IsSet(); }

    // The component's text as read (lines as the file has them, without the final line
    // break); empty for an event that was not read from a file.
    const std::string& RawText() const { return m_raw; }

private:
    friend class CalendarFile;
    struct Loaded;
    std::shared_ptr<const Loaded> m_loaded; // the fields as read, to see what changed
    std::string m_raw;
    int m_order = -1; // position among the file's components
};

struct CalendarDefinition
{
    std::string id;       // the file's name without ".ics" (Google names its export files so)
    std::string title;    // X-WR-CALNAME
    std::string summary;  // X-WR-CALDESC
    std::string timeZone; // X-WR-TIMEZONE
    bool operator==(const CalendarDefinition&) const = default;
};

class CalendarFile
{
public:
    CalendarFile();
    ~CalendarFile();
    CalendarFile(CalendarFile&&) noexcept;
    CalendarFile& operator=(CalendarFile&&) noexcept;

    // Reads a file. On failure error is "<path>: <reason>" and the object is empty.
    bool Load(const std::string& path, std::string& error);
    // Reads text as if it were the file path (for tests and the fuzz target).
    bool LoadText(const std::string& text, const std::string& path, std::string& error);
    // Writes the calendar back into path (the loaded file when empty), atomically. New
    // events get a new UID; after success, the written state is the new "as read".
    bool Save(std::string& error, const std::string& path = {});
    // The file's text as Save writes it (new events get their UID here).
    bool BuildText(std::string* text, std::string& error);

    const std::string& Path() const { return m_path; }
    CalendarDefinition definition;
    // Series, single events and moved instances whose series is not in the file, in file
    // order; moved instances of a series are in that series' movedInstances.
    std::vector<Event> events;
    // Problems that did not stop the reading (a property that libical could not read).
    std::vector<std::string> warnings;

    // The event's start or end as wall-clock time of this machine (SYSTEMTIME, local) and as
    // an OLE Automation date. All-day dates are taken at midnight of their day. Zones come
    // from the file's VTIMEZONE, else from the system's time zone database; a zone known to
    // neither is taken as local time.
    bool LocalTime(const EventTime& t, SYSTEMTIME* out) const;
    bool OleDate(const EventTime& t, double* out) const;

    // The recurrence text of the Google event record: DTSTART, DTEND, the RRULE line, the
    // EXDATE and RDATE lines, joined by CR LF, then the VTIMEZONE block of the start's zone
    // when the file has one. Empty for an event that does not repeat.
    std::string RecurrenceText(const Event& e) const;
    // The file's VTIMEZONE component for a zone name (CR LF joined, no final line break).
    std::string TimeZoneText(const std::string& zone) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    std::string m_path;
};

} // namespace gcal
