#pragma once
// Outlook appointment <-> common calendar event.
#include "misc/CommRecords.h"
#include "outlook/OlDateRec.h"
#include "platform/OleDate.h"

// A pattern end from this year on is Outlook's way of saying that a series has no end.
constexpr int kOlNoEndYear = 4500;

// Fills a zeroed common event from the appointment; versionClass decides how the reminder is read.
void FromNative(const OlDateRec& native, CommDateRec& rec, int versionClass);
// Fills the appointment's record from the common event.
void ToNative(const CommDateRec& rec, OlDateRec& native, int versionClass);

// A common repeat pattern in Outlook's pattern fields (RecurrenceType ... PatternEndDate) of an
// appointment or a task: kind 0 gives RecurrenceType -1 and touches nothing else.
template <class Rec> void OlPatternToNative(const RecurrenceRule& r, Rec& o)
{
    switch (r.Kind) {
    case 1:
        o.RecurrenceType = kOlRecursDaily;
        o.Interval = r.Interval;
        o.DayOfWeekMask = r.DayOfWeekMask;
        break;
    case 2:
        o.RecurrenceType = kOlRecursWeekly;
        o.Interval = r.Interval;
        o.DayOfWeekMask = r.DayOfWeekMask;
        break;
    case 3:
        o.RecurrenceType = kOlRecursMonthNth;
        o.Interval = r.Interval;
        o.Instance = r.Instance;
        o.DayOfWeekMask = r.DayOfWeekMask;
        break;
    case 4:
        o.RecurrenceType = kOlRecursMonthly;
        o.Interval = r.Interval;
        o.DayOfMonth = r.DayOfMonth;
        break;
    case 5:
        o.RecurrenceType = kOlRecursYearNth;
        o.Interval = r.Interval;
        o.Instance = r.Instance;
        o.MonthOfYear = r.MonthOfYear;
        o.DayOfWeekMask = r.DayOfWeekMask;
        break;
    case 6:
        o.RecurrenceType = kOlRecursYearly;
        o.DayOfMonth = r.DayOfMonth;
        o.MonthOfYear = r.MonthOfYear;
        break;
    default:
        o.RecurrenceType = kOlRecursNone;
        return;
    }
    if (r.HasEnd != 0) {
        double end = 0;
        o.PatternEndDate = platform::SystemTimeToVariantTime(&r.PatternEnd, &end) ? end : 0;
    }
}
