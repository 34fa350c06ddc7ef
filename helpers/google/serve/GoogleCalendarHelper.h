#pragma once
// The Google calendar helper (fw-google-calendar): serves the calendars of a Google
// account's export folder (one iCalendar file per calendar) as the record files "GDate.dat"
// (events) and "GCal.dat" (calendar definitions), and writes the events that the connector
// added or changed back into the calendar files.
//
// The helper's own use of the record's kept fields: Kept4 the RECURRENCE-ID value of a moved
// instance, Kept9 1 for an all-day event, Kept26 the event's UID, Calendar the calendar's
// identifier (its file name without ".ics").
#include <string>

#include "GoogleCalendarFile.h"
#include "google/GGDateRecord.h"

namespace gexport {

// An event as a record. The recurrence text's DTSTART and DTEND lines give the start and the
// end as this machine's wall-clock time, the time the record's Start and End hold, since the
// connector reads them as local time.
void EventToRecord(const gcal::CalendarFile& cal, const gcal::Event& event, GDateRec& rec);

// Applies what a submitted record changed against the record the event gave on load (all
// of it for a new event, which starts empty).
void ApplyRecord(const GDateRec& submitted, const gcal::CalendarFile& cal, gcal::Event& event);

int RunGoogleCalendarHelper(int argc, char** argv);

} // namespace gexport
