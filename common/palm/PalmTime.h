#pragma once
// A calendar time of the Palm Desktop readers: one time value, seconds since 1970-01-01 UTC.
#include <cstddef>
#include <cstdint>

#include "platform/WinTypes.h"

class PmTime
{
public:
    // Local wall-clock time (month 1-12); daylight saving is left to the system.
    PmTime(int year, int month, int day, int hour, int minute, int second);
    // A time value; 0 means the current time.
    explicit PmTime(std::int32_t value = 0);

    void SetValue(std::int32_t value) { m_value = value; }
    std::int32_t GetValue() const { return m_value; }

    // Year and day of the month in local time.
    int GetYear() const;
    int GetDay() const;

    // "MM/DD/YYYY" and "hh:mm:ss"; false (and an empty buffer) when the text does not fit.
    bool GetDateText(char* buffer, std::size_t size) const;
    bool GetTimeText(char* buffer, std::size_t size) const;

    // Local time; day of week and milliseconds 0.
    SYSTEMTIME ToSystemTime() const;

    // "No date" of the Palm Desktop files (no due date, no repeat end, no birthday). Palm
    // Desktop writes it as 2031-12-31 23:59:59 in the local time of the machine that wrote the
    // file, so the stored value depends on that machine's zone (0x749DCEFF at UTC+8, 0x749E77BF
    // at UTC-4, 0x749EA1EF at UTC-7). Every value that is that moment in a zone from UTC-12 to
    // UTC+14, that is from 2031-12-31 09:59:59 to 2032-01-01 11:59:59 UTC, means no date; so
    // does -1, the files' own "none".
    static bool IsNoDate(std::int32_t value);
    // A date of the files as a time value: 0 (no date) for the no-date values, else unchanged.
    static std::int32_t ToTimeValue(std::int32_t value);
    // A real day: not 0 (not given), not no date, and not one of the ends at which times
    // beyond the 32-bit range are held.
    static bool IsRealDate(std::int32_t value);
    // The same for a date held as a day number (an OLE automation date, local time): no date
    // when it falls on 2031-12-31 or 2032-01-01, the days of the no-date moment in those zones.
    static bool IsNoDateDay(double oleDate);

private:
    std::int32_t m_value;
};
