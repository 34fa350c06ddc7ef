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

private:
    std::int32_t m_value;
};
