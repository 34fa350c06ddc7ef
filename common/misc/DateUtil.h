#pragma once
// Free helpers on SYSTEMTIME values, OLE Automation dates and calendar time.
// Calendar time is a signed 32-bit count of seconds since 1970-01-01 00:00 UTC; it is
// turned into fields and back through the local time zone.
#include <cstdint>

#include "platform/WinTypes.h"

// Midnight of the day n days after (or before) the day of time. On a time that is not a
// valid date, or a result outside 0100-01-01..9999-12-31, the time is given back unchanged
// and *ok (when given) is false.
SYSTEMTIME AddDays(const SYSTEMTIME& time, int days, bool* ok = nullptr);

// hour * 60 + minute.
int MinutesOfDay(const SYSTEMTIME& time);

// The clock time moved by minutes within its day: never before 00:00 and never past 23:59.
// The date, seconds and milliseconds are not touched.
SYSTEMTIME AddMinutes(const SYSTEMTIME& time, int minutes);

// MinutesOfDay(a) - MinutesOfDay(b): the difference of the clock times, dates not used.
int MinutesBetween(const SYSTEMTIME& a, const SYSTEMTIME& b);

bool IsLeapYear(int year);
// Days of a month 1..12 (February by the leap-year rule); 0 for any other month.
int DaysInMonth(int year, int month);

// The date as local calendar time (daylight saving left to the runtime); -1, the runtime's
// error value, for a date that is not valid or that 32-bit calendar time cannot hold.
std::int32_t VariantTimeToTimeT(double date);

// The calendar time as a local OLE Automation date in *date; false, *date untouched, when
// it cannot be broken down (or date is null).
bool TimeTToVariantTime(std::int32_t time, double* date);

// Broken-down local time of calendar time (milliseconds 0, day of week filled); false when
// it cannot be broken down.
bool TimeTToSystemTime(std::int64_t time, SYSTEMTIME* out);
