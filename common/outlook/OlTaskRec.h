#pragma once
// One Outlook task and one Outlook note as their connectors keep them, by Outlook's names.
#include <cstdint>

struct OlTaskRec
{
    char Body[20480];
    char CardData[256];
    std::uint8_t Complete;
    double DueDate; // OLE automation date, local time
    char EntryID[1024];
    std::int32_t Importance; // 0 low, 1 normal, 2 high
    std::uint8_t IsRecurring;
    char Mileage[256];
    std::int32_t Ordinal;
    std::int32_t PercentComplete;
    std::uint8_t ReminderOverrideDefault;
    std::uint8_t ReminderPlaySound;
    std::uint8_t ReminderSet;
    char ReminderSoundFile[260];
    double ReminderTime;
    std::int32_t ResponseState;
    char Role[32];
    std::int32_t Sensitivity;
    double StartDate;
    std::int32_t Status;
    char Subject[256];
    std::uint8_t TeamTask;
    std::int32_t TotalWork;
    std::int32_t RecurrenceType; // -1 when the task does not repeat
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

struct OlNoteRec
{
    char FolderName[32];
    char Categories[256];
    char EntryID[1024];
    char Subject[256];
    char Body[20480];
    double CreationTime;
    double LastModificationTime;
    std::uint8_t Saved;
    std::int32_t Color;
    void* Item; // the Outlook item the record was read from; not owned
};
