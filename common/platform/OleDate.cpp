#include "platform/OleDate.h"

#include <cmath>
#include <cstdint>

namespace platform {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

constexpr bool IsLeap(std::int64_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr int DaysOfMonth(std::int64_t year, int month)
{
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date (era-based, exact for any year).
constexpr std::int64_t DaysFromCivil(std::int64_t y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& y, int& m, int& d)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2 ? 1 : 0);
}

// Day 0 of the OLE calendar, 1899-12-30, counted from 1970-01-01. A constant, so that
// conversions made while other files initialise their statics see it already.
constexpr std::int64_t kOleEpoch = DaysFromCivil(1899, 12, 30);

} // namespace

bool VariantTimeToSystemTime(double date, SYSTEMTIME* time)
{
    // Written so that NaN fails as well.
    if (time == nullptr || !(date > kOleDateMin - 1.0 && date < kOleDateMax + 1.0)) {
        return false;
    }
    const double whole = std::trunc(date);
    const double fraction = std::fabs(date - whole);
    std::int64_t day = static_cast<std::int64_t>(whole);
    std::int64_t seconds = std::llround(fraction * static_cast<double>(kSecondsPerDay));
    if (seconds >= kSecondsPerDay) {
        // Rounding reached midnight: the time of day moves on to the next calendar day.
        seconds -= kSecondsPerDay;
        ++day;
    }
    std::int64_t year = 0;
    int month = 0;
    int dayOfMonth = 0;
    CivilFromDays(day + kOleEpoch, year, month, dayOfMonth);
    if (year < 100 || year > 9999) {
        return false;
    }
    // 1899-12-30 was a Saturday.
    const std::int64_t weekday = ((day + 6) % 7 + 7) % 7;

    time->wYear = static_cast<WORD>(year);
    time->wMonth = static_cast<WORD>(month);
    time->wDayOfWeek = static_cast<WORD>(weekday);
    time->wDay = static_cast<WORD>(dayOfMonth);
    time->wHour = static_cast<WORD>(seconds / 3600);
    time->wMinute = static_cast<WORD>(seconds / 60 % 60);
    time->wSecond = static_cast<WORD>(seconds % 60);
    time->wMilliseconds = 0;
    return true;
}

bool SystemTimeToVariantTime(const SYSTEMTIME* time, double* date)
{
    if (time == nullptr || date == nullptr) {
        return false;
    }
    const SYSTEMTIME& t = *time;
    if (t.wYear < 100 || t.wYear > 9999 || t.wMonth < 1 || t.wMonth > 12 || t.wDay < 1 ||
        t.wDay > DaysOfMonth(t.wYear, t.wMonth) || t.wHour > 23 || t.wMinute > 59 || t.wSecond > 59) {
        return false;
    }
    const std::int64_t day = DaysFromCivil(t.wYear, t.wMonth, t.wDay) - kOleEpoch;
    const double timeOfDay = static_cast<double>(t.wHour * 3600 + t.wMinute * 60 + t.wSecond) /
                             static_cast<double>(kSecondsPerDay);
    // Before day 0 the time of day counts away from zero.
    *date = day >= 0 ? static_cast<double>(day) + timeOfDay : static_cast<double>(day) - timeOfDay;
    return true;
}

} // namespace platform
