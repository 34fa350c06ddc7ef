#pragma once
// A date-time value held both as an OLE Automation date and as SYSTEMTIME fields, with the
// display formats of the program. Each setter computes the other form; IsValid() tells
// whether that conversion succeeded (on failure the other form keeps its old value).
#include <cstddef>
#include <cstdint>

#include "platform/WinTypes.h"

class CxDateTime
{
public:
    // The current local time.
    CxDateTime();
    explicit CxDateTime(const SYSTEMTIME& time);
    explicit CxDateTime(double date);
    virtual ~CxDateTime() = default;

    void SetDate(double date);
    void SetTime(const SYSTEMTIME& time);
    // Calendar time broken down as local time (day of week filled, milliseconds 0). When it
    // cannot be broken down, only the valid flag changes (to false).
    void SetTimeT(std::int32_t time);

    double GetDate() const { return m_date; }
    const SYSTEMTIME& GetTime() const { return m_time; }
    bool IsValid() const { return m_valid; }

    // Each writes at most size - 1 characters and a terminator into szBuf and gives szBuf.
    // A null buffer is a programming error: it asserts, and in a release build does nothing.
    // "MM/DD/YYYY"; an empty text for years above 2030 or at most 1930.
    char* FormatDate(char* szBuf, std::size_t size) const;
    // "HH:MM:SS".
    char* FormatTime(char* szBuf, std::size_t size) const;
    // The date and the time joined by one blank (" HH:MM:SS" when the date is empty).
    char* FormatDateTime(char* szBuf, std::size_t size) const;

    template <std::size_t N> char* FormatDate(char (&szBuf)[N]) const { return FormatDate(szBuf, N); }
    template <std::size_t N> char* FormatTime(char (&szBuf)[N]) const { return FormatTime(szBuf, N); }
    template <std::size_t N> char* FormatDateTime(char (&szBuf)[N]) const { return FormatDateTime(szBuf, N); }

private:
    double m_date = 0;
    SYSTEMTIME m_time{};
    bool m_valid = false;
};
