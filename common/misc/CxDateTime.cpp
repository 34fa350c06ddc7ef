#include "misc/CxDateTime.h"

#include <cassert>
#include <cstdio>
#include <ctime>

#include "misc/DateUtil.h"
#include "platform/OleDate.h"

CxDateTime::CxDateTime()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    SYSTEMTIME fields{};
    if (TimeTToSystemTime(now.tv_sec, &fields)) {
        fields.wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
        SetTime(fields);
    }
}

CxDateTime::CxDateTime(const SYSTEMTIME& time)
{
    SetTime(time);
}

CxDateTime::CxDateTime(double date)
{
    SetDate(date);
}

void CxDateTime::SetDate(double date)
{
    m_date = date;
    m_valid = platform::VariantTimeToSystemTime(date, &m_time);
}

void CxDateTime::SetTime(const SYSTEMTIME& time)
{
    m_time = time;
    m_valid = platform::SystemTimeToVariantTime(&m_time, &m_date);
}

void CxDateTime::SetTimeT(std::int32_t time)
{
    SYSTEMTIME fields{};
    if (!TimeTToSystemTime(time, &fields)) {
        m_valid = false;
        return;
    }
    SetTime(fields);
}

char* CxDateTime::FormatDate(char* szBuf, std::size_t size) const
{
    assert(szBuf != nullptr && "szBuf!=NULL");
    if (szBuf == nullptr || size == 0) {
        return szBuf;
    }
    if (m_time.wYear > 2030 || m_time.wYear <= 1930) {
        szBuf[0] = '\0';
    } else {
        std::snprintf(szBuf, size, "%02d/%02d/%04d", m_time.wMonth, m_time.wDay, m_time.wYear);
    }
    return szBuf;
}

char* CxDateTime::FormatTime(char* szBuf, std::size_t size) const
{
    assert(szBuf != nullptr && "szBuf!=NULL");
    if (szBuf == nullptr || size == 0) {
        return szBuf;
    }
    std::snprintf(szBuf, size, "%02d:%02d:%02d", m_time.wHour, m_time.wMinute, m_time.wSecond);
    return szBuf;
}

char* CxDateTime::FormatDateTime(char* szBuf, std::size_t size) const
{
    assert(szBuf != nullptr && "szBuf!=NULL");
    if (szBuf == nullptr || size == 0) {
        return szBuf;
    }
    char date[32];
    char time[32];
    FormatDate(date, sizeof date);
    FormatTime(time, sizeof time);
    std::snprintf(szBuf, size, "%s %s", date, time);
    return szBuf;
}
