#pragma once
// The recurrence text of a Google calendar event (GDateRec::Recurrence): iCalendar lines
// DTSTART, DTEND and RRULE, then the VTIMEZONE block of the zone they name, joined by CR LF.
// The connector writes it for the events it adds or changes and reads start, end and repeat
// pattern back out of it on load; the calendar connector's members call these functions.
#include <functional>
#include <string_view>

#include "google/GGDateRecord.h"

// The time zone that new texts name: its name and its VTIMEZONE block (null when the time
// zone table does not know the name; the text then has no block).
struct GGRecurrenceZone
{
    std::string_view name;
    const char* vtimezone;
};

// Asked for the zone only when a new text is made; null when there is none to name.
using GGRecurrenceZoneSource = std::function<const GGRecurrenceZone*()>;

// Writes the recurrence text of an event from its start, end and structured repeat fields:
// - repeat kind 0: the text stays as it is (true);
// - an event whose calendar is not the default calendar (compared ignoring case) and that
//   already has a text keeps it (true);
// - otherwise the text is made anew: false, with the text as it was, when there is no zone
//   or the repeat kind is outside 1..6 (or the start or end is not a valid date).
// The rule line is "RRULE:FREQ=..." with INTERVAL and every other part only when not 0:
// DAILY; WEEKLY with BYDAY; MONTHLY with BYWEEKNO (the instance) and BYDAY; MONTHLY with
// BYMONTHDAY; YEARLY; YEARLY with BYMONTH and BYMONTHDAY. A pattern with an end ends the
// rule with UNTIL, the end's local date and time marked "Z".
bool BuildRecurrenceText(GDateRec& rec, std::string_view defaultCalendar, const GGRecurrenceZoneSource& zone);

// Reads the recurrence text into the record's structured fields before the record is
// converted on load: the DTSTART and DTEND date-times (taken as local time) replace start
// and end; the RRULE line sets the repeat kind and the interval, weekday mask, day of month,
// month of year and instance it names; the lines of VTIMEZONE blocks are the zone's and are
// not read. An empty text, or one without a rule, gives kind 0.
// False, with the repeat fields as they were, when the rule has no FREQ part, no ";" after
// its value, or a monthly rule names neither a day of the month nor a weekday with its
// occurrence.
bool ParseRecurrenceText(GDateRec& rec);
