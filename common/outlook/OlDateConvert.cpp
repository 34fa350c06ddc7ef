#include "outlook/OlDateConvert.h"

#include <cmath>

#include "misc/DateUtil.h"
#include "platform/OleDate.h"

namespace {

constexpr std::int32_t kSourceOutlook = 3;

SYSTEMTIME ToSystemTime(double date)
{
    SYSTEMTIME time{};
    if (!platform::VariantTimeToSystemTime(date, &time)) {
        time = SYSTEMTIME{};
    }
    return time;
}

double ToOleDate(const SYSTEMTIME& time)
{
    double date = 0;
    if (!platform::SystemTimeToVariantTime(&time, &date)) {
        date = 0;
    }
    return date;
}

// Minutes, hours or days, whichever the lead time fills.
Reminder ReminderOf(int minutes)
{
    Reminder reminder{};
    if (minutes < 60) {
        reminder.Unit = 1;
        reminder.Amount = minutes;
    } else if (minutes < 1440) {
        reminder.Unit = 2;
        reminder.Amount = minutes / 60;
    } else {
        reminder.Unit = 3;
        reminder.Amount = minutes / 1440;
    }
    return reminder;
}

void PatternFromNative(const OlDateRec& o, RecurrenceRule& r)
{
    if (o.RecurrenceType < 0) {
        r.Kind = 0;
        return;
    }
    switch (o.RecurrenceType) {
    case kOlRecursDaily:
        r.Kind = 1;
        r.Interval = o.Interval;
        r.DayOfWeekMask = o.DayOfWeekMask;
        break;
    case kOlRecursWeekly:
        r.Kind = 2;
        r.Interval = o.Interval;
        r.DayOfWeekMask = o.DayOfWeekMask;
        break;
    case kOlRecursMonthly:
        r.Kind = 4;
        r.Interval = o.Interval;
        r.DayOfMonth = o.DayOfMonth;
        break;
    case kOlRecursMonthNth:
        r.Kind = 3;
        r.Interval = o.Interval;
        r.Instance = o.Instance;
        r.DayOfWeekMask = o.DayOfWeekMask;
        break;
    case kOlRecursYearly:
        r.Kind = 6;
        r.Interval = 1;
        r.MonthOfYear = o.MonthOfYear;
        r.DayOfMonth = o.DayOfMonth;
        break;
    case kOlRecursYearNth:
        r.Kind = 5;
        r.Interval = o.Interval;
        r.MonthOfYear = o.MonthOfYear;
        r.Instance = o.Instance;
        r.DayOfWeekMask = o.DayOfWeekMask;
        break;
    default:
        r.Kind = 0;
        break;
    }
    // A series without an end carries a pattern end in the year 4500: no end in Lotus Notes.
    const SYSTEMTIME end = ToSystemTime(o.PatternEndDate);
    if (o.PatternEndDate > 1.0 && end.wYear != 0 && end.wYear < kOlNoEndYear) {
        r.HasEnd = 1;
        r.PatternEnd = end;
    } else {
        r.HasEnd = 0;
    }
}

} // namespace

void FromNative(const OlDateRec& native, CommDateRec& rec, int versionClass)
{
    CopyText(rec.Subject, native.Subject);
    CopyText(rec.Notes, native.Body);
    CopyText(rec.Categories, native.Categories);
    CopyText(rec.Location, native.Location);
    rec.Start = ToSystemTime(native.Start);
    rec.End = ToSystemTime(native.End);
    rec.ReminderSet = native.ReminderSet;

    int minutes = 0;
    if (OlUsesReminderTime(versionClass)) {
        if (native.ReminderTime > 0) {
            // To the nearest minute: the two dates' difference in floating point may fall just
            // short of a whole minute (09:00 - 08:45 = 14.9999...), which truncation would cut.
            minutes = static_cast<int>(std::lround((native.Start - native.ReminderTime) * 60 * 24));
        }
    } else if (native.ReminderSet != 0) {
        minutes = native.ReminderMinutesBeforeStart;
    }
    if (minutes > 0) {
        rec.ReminderCount = 1;
        rec.Reminders[0] = ReminderOf(minutes);
    }

    rec.DurationMinutes = MinutesBetween(rec.End, rec.Start);
    rec.AllDay = native.AllDayEvent != 0 ? 1 : 0;
    PatternFromNative(native, rec.Recurrence);
    rec.CreationTime = native.CreationTime;
    rec.LastModificationTime = native.LastModificationTime;
    rec.SourceType = kSourceOutlook;
}

void ToNative(const CommDateRec& rec, OlDateRec& native, int versionClass)
{
    CopyText(native.Subject, rec.Subject);
    CopyText(native.Body, rec.Notes);
    CopyText(native.Categories, rec.Categories);
    CopyText(native.Location, rec.Location);
    native.Start = ToOleDate(rec.Start);
    native.End = ToOleDate(rec.End);
    native.AllDayEvent = rec.AllDay != 0 ? 1 : 0;
    native.ReminderSet = rec.ReminderSet != 0 ? 1 : 0;

    if (rec.ReminderSet != 0 && rec.ReminderCount > 0) {
        const Reminder& first = rec.Reminders[0];
        int minutes = 0;
        switch (first.Unit) {
        case 1:
            minutes = first.Amount;
            break;
        case 2:
            minutes = first.Amount * 60;
            break;
        case 3:
            minutes = first.Amount * 1440;
            break;
        default:
            break;
        }
        native.ReminderMinutesBeforeStart = first.Unit >= 1 && first.Unit <= 3 ? minutes : 15;
        if (OlUsesReminderTime(versionClass)) {
            const SYSTEMTIME reminder = first.Unit == 3 ? AddDays(rec.Start, -first.Amount)
                                        : minutes == 0  ? AddMinutes(rec.Start, -5)
                                                        : AddMinutes(rec.Start, -minutes);
            native.ReminderTime = ToOleDate(reminder);
        }
    }

    native.Duration = rec.AllDay != 0 ? 1440 : MinutesBetween(rec.End, rec.Start);
    OlPatternToNative(rec.Recurrence, native);
}
