#include "palm/PalmTime.h"

#include <cstdint>
#include <cstdio>
#include <ctime>

namespace {

// The no-date moment, 2031-12-31 23:59:59, in the zones from UTC+14 to UTC-12, in UTC.
constexpr std::int32_t kNoDateFirst = 1956477599; // 2031-12-31 09:59:59 UTC
constexpr std::int32_t kNoDateLast = 1956571199;  // 2032-01-01 11:59:59 UTC
// OLE automation dates of 2031-12-31 and of 2032-01-02.
constexpr double kNoDateDayFirst = 48213.0;
constexpr double kNoDateDayEnd = 48215.0;

bool LocalParts(std::int32_t value, std::tm& parts)
{
    const std::time_t t = value;
    return ::localtime_r(&t, &parts) != nullptr;
}

// Writes the text when it fits; otherwise the buffer is left empty.
bool FitText(char* buffer, std::size_t size, const char* format, int a, int b, int c)
{
    if (buffer == nullptr || size == 0) {
        return false;
    }
    const int length = std::snprintf(buffer, size, format, a, b, c);
    if (length < 0 || static_cast<std::size_t>(length) >= size) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

} // namespace

PmTime::PmTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    parts.tm_isdst = -1; // the system decides whether daylight saving applies
    // Times beyond the 32-bit range are held at its ends rather than wrapped.
    const std::time_t t = std::mktime(&parts);
    m_value = t > INT32_MAX ? INT32_MAX : t < INT32_MIN ? INT32_MIN : static_cast<std::int32_t>(t);
}

PmTime::PmTime(std::int32_t value)
    : m_value(value != 0 ? value : static_cast<std::int32_t>(std::time(nullptr)))
{
}

int PmTime::GetYear() const
{
    std::tm parts{};
    return LocalParts(m_value, parts) ? parts.tm_year + 1900 : 0;
}

int PmTime::GetDay() const
{
    std::tm parts{};
    return LocalParts(m_value, parts) ? parts.tm_mday : 0;
}

bool PmTime::GetDateText(char* buffer, std::size_t size) const
{
    std::tm parts{};
    if (!LocalParts(m_value, parts)) {
        parts = std::tm{};
    }
    return FitText(buffer, size, "%02d/%02d/%04d", parts.tm_mon + 1, parts.tm_mday, parts.tm_year + 1900);
}

bool PmTime::GetTimeText(char* buffer, std::size_t size) const
{
    std::tm parts{};
    if (!LocalParts(m_value, parts)) {
        parts = std::tm{};
    }
    return FitText(buffer, size, "%02d:%02d:%02d", parts.tm_hour, parts.tm_min, parts.tm_sec);
}

SYSTEMTIME PmTime::ToSystemTime() const
{
    SYSTEMTIME st{};
    std::tm parts{};
    if (!LocalParts(m_value, parts)) {
        return st;
    }
    st.wYear = static_cast<WORD>(parts.tm_year + 1900);
    st.wMonth = static_cast<WORD>(parts.tm_mon + 1);
    st.wDay = static_cast<WORD>(parts.tm_mday);
    st.wHour = static_cast<WORD>(parts.tm_hour);
    st.wMinute = static_cast<WORD>(parts.tm_min);
    st.wSecond = static_cast<WORD>(parts.tm_sec);
    return st;
}

bool PmTime::IsNoDate(std::int32_t value)
{
    return value == -1 || (value >= kNoDateFirst && value <= kNoDateLast);
}

std::int32_t PmTime::ToTimeValue(std::int32_t value)
{
    return IsNoDate(value) ? 0 : value;
}

bool PmTime::IsRealDate(std::int32_t value)
{
    return value != 0 && value != INT32_MIN && value != INT32_MAX && !IsNoDate(value);
}

bool PmTime::IsNoDateDay(double oleDate)
{
    return oleDate >= kNoDateDayFirst && oleDate < kNoDateDayEnd;
}
