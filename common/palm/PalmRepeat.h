#pragma once
// The repeat fields of a Palm Desktop calendar entry or to-do, as every database generation
// holds them after loading.
#include <cstdint>

struct PmRepeat
{
    std::int32_t kind = 0; // 0 none, 1 daily, 2 weekly, 3 monthly by day, 4 monthly by date,
                           // 5 yearly by date, 6 yearly by day
    std::int32_t interval = 0;
    std::int32_t endDate = 0; // seconds since 1970-01-01 UTC; kPmNoEndDate (or another zone's
                              // "no date", PmTime::IsNoDate): no end
    std::int32_t firstDayOfWeek = 0;
    std::int32_t dayIndex = 0;   // 0 Sunday ... 6 Saturday
    std::uint8_t dayMask = 0;    // bit 0x01 Sunday ... 0x40 Saturday
    std::int32_t weekIndex = 0;  // 0 first ... 4 last week of the month
    std::int32_t monthIndex = 0; // 0..11
    std::int32_t dayOfMonth = 0;
};

// The end date that stands for a repeat without end: 2031-12-31 15:59:59 UTC, Palm Desktop's
// "no date" as a machine at UTC+8 writes it.
inline constexpr std::int32_t kPmNoEndDate = 0x749DCEFF;
