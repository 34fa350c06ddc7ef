#pragma once
// Conversions between SYSTEMTIME fields and OLE Automation dates, with the Windows rules.
//
// An OLE Automation date counts days since 1899-12-30 00:00 as a double; the fraction is
// the time of day. Before 1899-12-30 the whole part still counts days, but the fraction is
// the time of day counted away from zero: -5.25 is 1899-12-25 06:00, and +0.25 and -0.25
// are the same moment (1899-12-30 06:00). Valid dates run from -657434 (0100-01-01) to
// 2958465 (9999-12-31), each with a fraction below one day. The calendar is the proleptic
// Gregorian one.
#include "platform/WinTypes.h"

namespace platform {

// Smallest and largest whole day of the valid range.
constexpr double kOleDateMin = -657434.0;
constexpr double kOleDateMax = 2958465.0;

// VariantTimeToSystemTime: the date broken into fields, rounded to the nearest second
// (milliseconds 0), day of week filled (Sunday = 0). False, with *time untouched, for a
// null time, a date outside the valid range (NaN included) or one that rounds past
// 9999-12-31 23:59:59.
bool VariantTimeToSystemTime(double date, SYSTEMTIME* time);

// SystemTimeToVariantTime: the fields as a date; milliseconds and day of week are ignored.
// As in Windows, the day is mended: day 0 is the last day of the month before (2001-02-00
// is 2001-01-31), and a day up to 31 past the end of its month runs on into the next month
// (2001-02-29 is 2001-03-01). A year of 0..29 is 2000..2029, a year of 30..99 is
// 1930..1999. False, with *date untouched, for a null argument, a year above 9999, a month
// outside 1..12, a day above 31, an hour, minute or second beyond 23, 59, 59, or a date
// that the mending takes before 0100-01-01.
bool SystemTimeToVariantTime(const SYSTEMTIME* time, double* date);

} // namespace platform
