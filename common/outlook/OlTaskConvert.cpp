#include "outlook/OlTaskConvert.h"

#include <cstring>
#include <string_view>

#include "misc/DateUtil.h"
#include "outlook/OlDateConvert.h"
#include "platform/OleDate.h"

namespace {

constexpr std::int32_t kSourceOutlook = 3;

// At most limit characters of a fixed field, never past either buffer.
template <std::size_t N, std::size_t M>
void CopyAtMost(char (&to)[N], const char (&from)[M], std::size_t limit)
{
    CopyText(to, std::string_view(from, ::strnlen(from, limit < M ? limit : M)));
}

std::int32_t InRange(std::int32_t value, std::int32_t last)
{
    return value >= 0 && value <= last ? value : 0;
}

double TimeValueToOle(std::int32_t time)
{
    double date = 0;
    if (!TimeTToVariantTime(time, &date)) {
        date = 0;
    }
    return date;
}

int YearOf(double date)
{
    SYSTEMTIME time{};
    return platform::VariantTimeToSystemTime(date, &time) ? time.wYear : 0;
}

} // namespace

std::int32_t OlDateToTimeValue(double date)
{
    if (date <= 0 || YearOf(date) >= kOlNoEndYear) {
        return 0;
    }
    const std::int32_t time = VariantTimeToTimeT(date);
    // A date before 1901 or after 2038 has no time value: no date rather than a wrong one.
    return time == -1 ? 0 : time;
}

void FromNative(const OlTaskRec& native, CommTaskRec& rec)
{
    CopyText(rec.Subject, native.Subject);
    CopyText(rec.Role, native.Role);
    CopyText(rec.Mileage, native.Mileage);
    CopyText(rec.ReminderSoundFile, native.ReminderSoundFile);
    CopyAtMost(rec.CardData, native.CardData, 254);
    CopyAtMost(rec.Categories, native.Categories, 254);
    CopyText(rec.Notes, native.Body);

    rec.ReminderSet = native.ReminderSet;
    rec.AlarmSet = native.ReminderSet;
    rec.ReminderOverrideDefault = native.ReminderOverrideDefault;
    rec.ReminderPlaySound = native.ReminderPlaySound;
    rec.Completed = native.Complete;
    rec.IsRecurring = native.IsRecurring;
    rec.TeamTask = native.TeamTask;
    rec.Ordinal = native.Ordinal;
    rec.PercentComplete = native.PercentComplete;
    rec.TotalWork = native.TotalWork;

    rec.ReminderTime = OlDateToTimeValue(native.ReminderTime);
    rec.DueDate = OlDateToTimeValue(native.DueDate);
    rec.StartDate = OlDateToTimeValue(native.StartDate);

    switch (native.Importance) {
    case 2:
        rec.Priority = 1;
        break;
    case 0:
        rec.Priority = 2;
        break;
    default:
        rec.Priority = 0;
        break;
    }
    rec.Sensitivity = InRange(native.Sensitivity, 3);
    if (rec.Sensitivity != 0) {
        rec.Private = 1;
    }
    rec.TaskStatus = InRange(native.Status, 4);
    rec.ResponseState = InRange(native.ResponseState, 3);
    rec.CreationTime = native.CreationTime;
    rec.LastModificationTime = native.LastModificationTime;
    rec.SourceType = kSourceOutlook;
}

void ToNative(const CommTaskRec& rec, OlTaskRec& native)
{
    CopyText(native.Subject, rec.Subject);
    CopyText(native.Role, rec.Role);
    CopyText(native.Mileage, rec.Mileage);
    CopyText(native.ReminderSoundFile, rec.ReminderSoundFile);
    CopyAtMost(native.CardData, rec.CardData, 254);
    CopyText(native.Body, rec.Notes);
    CopyAtMost(native.Categories, rec.Categories, 254);

    native.ReminderSet = rec.ReminderSet != 0 || rec.AlarmSet != 0 ? 1 : 0;
    native.ReminderOverrideDefault = rec.ReminderOverrideDefault;
    native.ReminderPlaySound = rec.ReminderPlaySound;
    native.Complete = rec.Completed;
    native.IsRecurring = rec.IsRecurring;
    native.Ordinal = rec.Ordinal;
    native.PercentComplete = rec.PercentComplete;
    native.TeamTask = rec.TeamTask;
    native.TotalWork = rec.TotalWork;

    native.ReminderTime = TimeValueToOle(rec.ReminderTime);
    native.DueDate = TimeValueToOle(rec.DueDate);
    native.StartDate = TimeValueToOle(rec.StartDate);
    const int dueYear = YearOf(native.DueDate);
    if (dueYear < kOlFirstDueYear || dueYear > kOlLastDueYear) {
        native.DueDate = 0;
    }

    native.Importance = rec.Priority == 1 ? 2 : rec.Priority == 2 ? 0 : 1;
    native.Sensitivity = InRange(rec.Sensitivity, 3);
    if (native.Sensitivity == 0 && rec.Private == 1) {
        native.Sensitivity = 2;
    }
    native.Status = InRange(rec.TaskStatus, 4);
    native.ResponseState = InRange(rec.ResponseState, 3);

    // The pattern as the calendar writes it, from empty fields: nothing of a pattern loaded
    // with the item survives into another one.
    native.Interval = native.DayOfWeekMask = native.DayOfMonth = native.Instance = native.MonthOfYear = 0;
    native.PatternEndDate = 0;
    OlPatternToNative(rec.Recurrence, native);
}

void FromNative(const OlNoteRec& native, CommNoteRec& rec)
{
    CopyAtMost(rec.Title, native.Subject, 254);
    CopyAtMost(rec.Body, native.Body, 20478);
    CopyAtMost(rec.Categories, native.Categories, 254);
    rec.Color = native.Color;
    rec.CreationTime = native.CreationTime;
    rec.LastModificationTime = native.LastModificationTime;
    CopyAtMost(rec.EntryId, native.EntryID, 30);
    rec.SourceType = kSourceOutlook;
}

void ToNative(const CommNoteRec& rec, OlNoteRec& native)
{
    CopyAtMost(native.Subject, rec.Title, 254);
    CopyAtMost(native.Body, rec.Body, 20478);
    CopyAtMost(native.Categories, rec.Categories, 254);
    native.Color = rec.Color;
}
