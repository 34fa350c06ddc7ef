#pragma once
// One Outlook appointment as the calendar connector keeps it, by Outlook's property names.
#include <cstdint>

// Outlook's recurrence types as the connector uses them; -1 when the item does not repeat.
constexpr std::int32_t kOlRecursNone = -1;
constexpr std::int32_t kOlRecursDaily = 0;
constexpr std::int32_t kOlRecursWeekly = 1;
constexpr std::int32_t kOlRecursMonthly = 2;
constexpr std::int32_t kOlRecursMonthNth = 3;
constexpr std::int32_t kOlRecursYearly = 5;
constexpr std::int32_t kOlRecursYearNth = 6;

struct OlDateRec
{
    std::uint8_t AllDayEvent;
    std::int32_t Duration; // minutes
    double End;            // OLE automation date, local time
    char EntryID[1024];
    char StoreID[1024];
    std::uint8_t IsRecurring;
    char Location[256];
    std::uint8_t ReminderSet;
    double ReminderTime; // Outlook before 2007 (version classes 0-3)
    std::int32_t ReminderMinutesBeforeStart;
    double Start;
    char Subject[256];
    char Body[20480];
    std::int32_t RecurrenceType;
    std::int32_t Interval;
    std::int32_t DayOfWeekMask;
    std::int32_t DayOfMonth;
    std::int32_t Instance;
    std::int32_t MonthOfYear;
    double PatternEndDate;
    char FolderName[32];
    char Categories[256];
    double CreationTime;
    double LastModificationTime;
    void* Item; // the Outlook item the record was read from; not owned
};

// Version classes 0-3 carry a reminder as ReminderTime, 4 and above as
// ReminderMinutesBeforeStart.
constexpr bool OlUsesReminderTime(int versionClass)
{
    return versionClass >= 0 && versionClass <= 3;
}
