#include "platform/OleDate.h"

#include <cmath>
#include <cstdint>

namespace platform {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Days since 1970-01-01 of a proleptic Gregorian date (era-based, exact for any year). The
// result moves by one for each step of d, so day 0 is the day before the 1st and a day past
// the end of its month runs on into the next month.
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
    // A year above 9999 is refused; so is a negative year, which arrives as 65535 and down.
    if (t.wYear > 9999 || t.wMonth < 1 || t.wMonth > 12 || t.wDay > 31 || t.wHour > 23 || t.wMinute > 59 ||
        t.wSecond > 59) {
        return false;
    }
    // Two-digit years: 0..29 are 2000..2029, 30..99 are 1930..1999.
    std::int64_t year = t.wYear;
    if (year < 30) {
        year += 2000;
    } else if (year < 100) {
        year += 1900;
    }
    const std::int64_t day = DaysFromCivil(year, t.wMonth, t.wDay) - kOleEpoch;
    if (day < static_cast<std::int64_t>(kOleDateMin) || day > static_cast<std::int64_t>(kOleDateMax)) {
        // Day 0 of January of the year 100 lies before the range.
        return false;
    }
    const double timeOfDay = static_cast<double>(t.wHour * 3600 + t.wMinute * 60 + t.wSecond) /
                             static_cast<double>(kSecondsPerDay);
    // Before day 0 the time of day counts away from zero.
    *date = day >= 0 ? static_cast<double>(day) + timeOfDay : static_cast<double>(day) - timeOfDay;
    return true;
}

} // namespace platform
