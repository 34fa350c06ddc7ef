#pragma once
// The time zone table of the Google calendar connector: for each zone of the time zone
// database that it knows, the VTIMEZONE text that recurrence texts naming the zone carry.
// Every text has the lines "BEGIN:VTIMEZONE", "TZID:" and "X-LIC-LOCATION:" with the zone
// name, either one STANDARD component (a zone without daylight saving time) or a DAYLIGHT
// and a STANDARD component each with a DTSTART in 1970 and a yearly RRULE, and
// "END:VTIMEZONE", joined by CR LF without a final line break.
//
// The table (GGTimeZoneTable.cpp) is written by scripts/gen-google-timezones from the
// system's time zone database.
#include <span>
#include <string_view>

struct GGTimeZone
{
    const char* Name; // e.g. "Europe/London", at most 63 characters
    const char* Text; // the VTIMEZONE block
};

// Every zone, in the table's order.
std::span<const GGTimeZone> GGTimeZoneTable();

// The VTIMEZONE text of a zone name, compared ignoring case; null for a name not in the table.
const char* FindGGTimeZone(std::string_view name);
