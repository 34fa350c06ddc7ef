#include "misc/DateUtil.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "platform/OleDate.h"

SYSTEMTIME AddDays(const SYSTEMTIME& time, int days, bool* ok)
{
    double date = 0;
    SYSTEMTIME result{};
    const bool done = platform::SystemTimeToVariantTime(&time, &date) &&
                      platform::VariantTimeToSystemTime(std::trunc(date) + days, &result);
    if (ok != nullptr) {
        *ok = done;
    }
    return done ? result : time;
}

int MinutesOfDay(const SYSTEMTIME& time)
{
    return time.wHour * 60 + time.wMinute;
}

SYSTEMTIME AddMinutes(const SYSTEMTIME& time, int minutes)
{
    constexpr std::int64_t kLastMinute = 23 * 60 + 59;
    const std::int64_t m =
        std::clamp<std::int64_t>(std::int64_t{MinutesOfDay(time)} + minutes, 0, kLastMinute);
    SYSTEMTIME result = time;
    result.wHour = static_cast<WORD>(m / 60);
    result.wMinute = static_cast<WORD>(m % 60);
    return result;
}

int MinutesBetween(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return MinutesOfDay(a) - MinutesOfDay(b);
}

bool IsLeapYear(int year)
{
    return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0);
}

int DaysInMonth(int year, int month)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::int32_t VariantTimeToTimeT(double date)
{
    SYSTEMTIME fields{};
    if (!platform::VariantTimeToSystemTime(date, &fields)) {
        return -1;
    }
    std::tm broken{};
    broken.tm_sec = fields.wSecond;
    broken.tm_min = fields.wMinute;
    broken.tm_hour = fields.wHour;
    broken.tm_mday = fields.wDay;
    broken.tm_mon = fields.wMonth - 1;
    broken.tm_year = fields.wYear - 1900;
    broken.tm_isdst = -1;
    const std::time_t result = std::mktime(&broken);
    if (result < INT32_MIN || result > INT32_MAX) {
        return -1;
    }
    return static_cast<std::int32_t>(result);
}

bool TimeTToSystemTime(std::int64_t time, SYSTEMTIME* out)
{
    const std::time_t value = static_cast<std::time_t>(time);
    std::tm broken{};
    if (out == nullptr || localtime_r(&value, &broken) == nullptr || broken.tm_year + 1900 < 100 ||
        broken.tm_year + 1900 > 9999) {
        return false;
    }
    out->wYear = static_cast<WORD>(broken.tm_year + 1900);
    out->wMonth = static_cast<WORD>(broken.tm_mon + 1);
    out->wDayOfWeek = static_cast<WORD>(broken.tm_wday);
    out->wDay = static_cast<WORD>(broken.tm_mday);
    out->wHour = static_cast<WORD>(broken.tm_hour);
    out->wMinute = static_cast<WORD>(broken.tm_min);
    // A leap second is shown as the last second of its minute.
    out->wSecond = static_cast<WORD>(std::min(broken.tm_sec, 59));
    out->wMilliseconds = 0;
    return true;
}

bool TimeTToVariantTime(std::int32_t time, double* date)
{
    SYSTEMTIME fields{};
    double result = 0;
    if (date == nullptr || !TimeTToSystemTime(time, &fields) ||
        !platform::SystemTimeToVariantTime(&fields, &result)) {
        return false;
    }
    *date = result;
    return true;
}
