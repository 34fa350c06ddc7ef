#include "lotus/LNConvert.h"

#include <climits>
#include <cmath>
#include <cstdio>

#include "lotus/LNFieldTable.h"
#include "misc/DateUtil.h"
#include "platform/OleDate.h"
#include "platform/Thread.h"

namespace {

// Pairs of a common text field and a native one, walked in both directions.
template <class Native, class Comm> struct TextPair
{
    std::string_view (*get)(const Native&);
    void (*set)(Native&, std::string_view);
    std::string_view (*getComm)(const Comm&);
    void (*setComm)(Comm&, std::string_view);
};

#define LN_PAIR(C, N)                                                                                        \
    {                                                                                                        \
        [](const LNAddrRec& n) { return FieldText(n.N); },                                                   \
            [](LNAddrRec& n, std::string_view t) { CopyText(n.N, t); },                                      \
            [](const CommAddrRec& c) { return FieldText(c.C); },                                             \
            [](CommAddrRec& c, std::string_view t) { CopyText(c.C, t); }                                     \
    }

const TextPair<LNAddrRec, CommAddrRec> kAddrPairs[] = {
    LN_PAIR(FirstName, FirstName),
    LN_PAIR(MiddleName, MiddleName),
    LN_PAIR(LastName, LastName),
    LN_PAIR(Suffix, Suffix),
    LN_PAIR(DisplayName, DisplayName),
    LN_PAIR(Company, Company),
    LN_PAIR(Department, Department),
    LN_PAIR(Title, JobTitle),
    LN_PAIR(Location, Location),
    LN_PAIR(ManagerName, ManagerName),
    LN_PAIR(AssistantName, AssistantName),
    LN_PAIR(Email, BusinessEmail),
    LN_PAIR(Email2, PersonalEmail),
    LN_PAIR(Email3, ThirdEmail),
    LN_PAIR(PrimaryPhone, PrimaryPhone),
    LN_PAIR(WorkPhone, BusinessPhone),
    LN_PAIR(HomePhone, HomePhone),
    LN_PAIR(MobilePhone, MobilePhone),
    LN_PAIR(WorkFax, BusinessFax),
    LN_PAIR(HomeFax, HomeFax),
    LN_PAIR(Pager, Pager),
    LN_PAIR(WorkAddress.Street, BusinessStreet),
    LN_PAIR(WorkAddress.City, BusinessCity),
    LN_PAIR(WorkAddress.State, BusinessState),
    LN_PAIR(WorkAddress.Country, BusinessCountry),
    LN_PAIR(WorkAddress.Postal, BusinessPostal),
    LN_PAIR(HomeAddress.Street, HomeStreet),
    LN_PAIR(HomeAddress.City, HomeCity),
    LN_PAIR(HomeAddress.State, HomeState),
    LN_PAIR(HomeAddress.Country, HomeCountry),
    LN_PAIR(HomeAddress.Postal, HomePostal),
    LN_PAIR(OtherAddress.Street, OtherStreet),
    LN_PAIR(OtherAddress.City, OtherCity),
    LN_PAIR(OtherAddress.State, OtherState),
    LN_PAIR(OtherAddress.Country, OtherCountry),
    LN_PAIR(OtherAddress.Postal, OtherPostal),
    LN_PAIR(IM1, InstantMessenger),
    LN_PAIR(WorkHomePage, WebSite),
    LN_PAIR(PersonalHomePage, BlogSite),
    LN_PAIR(SpouseName, SpouseName),
    LN_PAIR(ChildrenNames, ChildrenNames),
    LN_PAIR(Category, Category),
    LN_PAIR(Note, Note),
};

#undef LN_PAIR

// An OLE date into fields; a date that is not valid leaves the fields zero.
SYSTEMTIME ToSystemTime(double date)
{
    SYSTEMTIME time{};
    platform::VariantTimeToSystemTime(date, &time);
    return time;
}

void SetDecimal(char (&field)[10], int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    CopyText(field, text);
}

} // namespace

int LNTextToInt(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                               text[i] == '\v' || text[i] == '\f')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    value = negative ? -value : value;
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

double LNNowAsVariantTime()
{
    SYSTEMTIME now{};
    platform::GetLocalTime(now);
    double date = 0;
    platform::SystemTimeToVariantTime(&now, &date);
    return date;
}

void LNAddrToComm(const LNAddrRec& native, const LNCustomMapping& mapping, CommAddrRec& rec)
{
    for (const auto& pair : kAddrPairs) {
        pair.setComm(rec, pair.get(native));
    }
    rec.Birthday = native.BirthDate;
    rec.Anniversary = native.Anniversary;
    for (int i = 0; i < 10; ++i) {
        CopyText(rec.CustomValues[i], native.CustomFields[i]);
        CopyText(rec.CustomLabels[i], native.CustomLabels[i]);
        std::string_view value;
        if (mapping.FieldId[i] != 0 && LNMappedFieldText(native, mapping.FieldId[i], &value)) {
            CopyText(rec.MappedValues[i], value);
        }
    }
    rec.SourceType = SourceLotusNotes;
}

void CommToLNAddr(const CommAddrRec& rec, LNAddrRec& native)
{
    for (const auto& pair : kAddrPairs) {
        pair.set(native, pair.getComm(rec));
    }
    native.BirthDate = rec.Birthday;
    native.Anniversary = rec.Anniversary;
    for (int i = 0; i < 10; ++i) {
        CopyText(native.CustomFields[i], rec.CustomValues[i]);
        CopyText(native.CustomLabels[i], rec.CustomLabels[i]);
        if (!FieldText(rec.MappedValues[i]).empty()) {
            CopyText(native.CustomFields[i], rec.MappedValues[i]);
        }
    }
}

void LNDateToComm(const LNDateRec& native, CommDateRec& rec)
{
    CopyText(rec.Subject, native.Subject);
    CopyText(rec.Location, native.Location);
    CopyText(rec.Notes, native.Body);
    rec.Start = ToSystemTime(native.Start);
    rec.End = ToSystemTime(native.End);
    rec.Private = native.Private != 0 ? 1 : 0;
    rec.AllDay = FieldText(native.Kept28) == LNAppointmentAllDay ? 1 : 0;
    rec.SourceType = SourceLotusNotes;

    RecurrenceRule& rule = rec.Recurrence;
    if (FieldText(native.Repeats).substr(0, 1) != "1") {
        rule.Kind = 0;
        return;
    }
    const std::string_view unit = FieldText(native.RepeatUnit);
    const int days = LNTextToInt(FieldText(native.RepeatDays));
    if (unit == "D") {
        rule.Kind = 1;
    } else if (unit == "W") {
        rule.Kind = 2;
        rule.DayOfWeekMask = days;
    } else if (unit == "MD") {
        rule.Kind = 4;
        rule.DayOfMonth = days;
    } else if (unit == "MP") {
        rule.Kind = 3;
        rule.DayOfWeekMask = days;
        // Which of the month's weekdays; records that leave it empty (or hold anything but
        // 1..5) name none.
        const int instance = LNTextToInt(FieldText(native.Field20));
        rule.Instance = instance >= 1 && instance <= 5 ? instance : 0;
    } else if (unit == "Y") {
        rule.Kind = 6;
        rule.MonthOfYear = rec.Start.wMonth;
        rule.DayOfMonth = rec.Start.wDay;
    } else {
        rule.Kind = 0;
    }
    rule.Interval = LNTextToInt(FieldText(native.RepeatInterval));
    if (native.RepeatUntil > 0) {
        rule.HasEnd = 1;
        rule.PatternEnd = ToSystemTime(native.RepeatUntil);
    } else {
        rule.HasEnd = 0;
    }
}

void CommToLNDate(const CommDateRec& rec, LNDateRec& native)
{
    CopyText(native.Subject, rec.Subject);
    CopyText(native.Location, rec.Location);
    CopyText(native.Body, rec.Notes);
    native.Private = rec.Private != 0 ? 1 : 0;
    // Any other appointment type (a meeting, a reminder) stays what it was.
    if (rec.AllDay != 0) {
        CopyText(native.Kept28, LNAppointmentAllDay);
    } else if (FieldText(native.Kept28) == LNAppointmentAllDay) {
        CopyText(native.Kept28, LNAppointmentTimed);
    }
    // A time that is not a valid date leaves the native date as it was.
    platform::SystemTimeToVariantTime(&rec.Start, &native.Start);
    platform::SystemTimeToVariantTime(&rec.End, &native.End);

    struct Pattern
    {
        const char* period;
        const char* unit;
        int days; // 0 none, 1 weekday mask, 2 day of month
    };
    static constexpr Pattern kPatterns[] = {
        {"D", "D", 0}, {"W", "W", 1}, {"M", "MP", 1}, {"M", "MD", 2}, {"Y", "Y", 0}, {"Y", "Y", 0},
    };
    const RecurrenceRule& rule = rec.Recurrence;
    // A kind outside 1..6 has no Lotus Notes pattern: it is written as a single entry
    // rather than as a repeat of no known unit.
    if (rule.Kind < 1 || rule.Kind > 6) {
        CopyText(native.Repeats, "");
        return;
    }
    const Pattern& pattern = kPatterns[rule.Kind - 1];
    CopyText(native.Repeats, "1");
    CopyText(native.RepeatPeriod, pattern.period);
    CopyText(native.RepeatUnit, pattern.unit);
    CopyText(native.RepeatPeriod2, pattern.period);
    if (pattern.days == 1) {
        SetDecimal(native.RepeatDays, rule.DayOfWeekMask);
    } else if (pattern.days == 2) {
        SetDecimal(native.RepeatDays, rule.DayOfMonth);
    } else {
        CopyText(native.RepeatDays, "");
    }
    SetDecimal(native.RepeatInterval, rule.Interval);
    // Without its occurrence a monthly-by-weekday rule would say only the weekday.
    if (rule.Kind == 3 && rule.Instance >= 1 && rule.Instance <= 5) {
        SetDecimal(native.Field20, rule.Instance);
    } else {
        CopyText(native.Field20, "");
    }
    if (native.RepeatCount == 0) {
        native.RepeatCount = 5;
    }
    native.RepeatStartDay = std::trunc(native.Start);
    native.RepeatStartDay2 = native.RepeatStartDay;
    double until = 0;
    // A pattern without an end must not keep the end that an earlier version had.
    if (rule.HasEnd && !platform::SystemTimeToVariantTime(&rule.PatternEnd, &until)) {
        until = native.RepeatUntil;
    }
    native.RepeatUntil = until;
}

void LNTaskToComm(const LNTaskRec& native, double now, CommTaskRec& rec)
{
    CopyText(rec.Subject, native.Subject);
    CopyText(rec.Notes, native.Body);
    rec.Priority = native.Priority == 0 ? 1 : native.Priority == 2 ? 2 : 0;
    rec.DueDate = 0;
    if (native.DueDate != 0) {
        const std::int32_t due = VariantTimeToTimeT(native.DueDate);
        // -1 is the conversion's error value, not a date.
        rec.DueDate = due == -1 ? 0 : due;
    }
    rec.Private = native.Private != 0 ? 1 : 0;
    if (native.CompletionDate > 0) {
        rec.Completed = native.CompletionDate <= now ? 1 : 0;
    }
    rec.SourceType = SourceLotusNotes;
}

void LNTaskToComm(const LNTaskRec& native, CommTaskRec& rec)
{
    LNTaskToComm(native, LNNowAsVariantTime(), rec);
}

void CommToLNTaskAt(const CommTaskRec& rec, double now, LNTaskRec& native)
{
    CopyText(native.Subject, rec.Subject);
    CopyText(native.Body, rec.Notes);
    native.Priority = rec.Priority == 1 ? 0 : rec.Priority == 2 ? 2 : 1;
    double due = 0;
    if (rec.DueDate != 0 && !TimeTToVariantTime(rec.DueDate, &due)) {
        due = 0;
    }
    native.DueDate = due;
    native.Private = rec.Private != 0 ? 1 : 0;
    if (rec.Completed != 0 && !(native.CompletionDate > 0 && native.CompletionDate <= now)) {
        const double changed = rec.LastModificationTime;
        native.CompletionDate = changed > 0 && changed <= now ? changed : now;
    }
}

void CommToLNTask(const CommTaskRec& rec, LNTaskRec& native)
{
    CommToLNTaskAt(rec, LNNowAsVariantTime(), native);
}

CommTextLimits LNAddrTextLimits()
{
    static constexpr CommTextLimit kLimits[] = {{AddrKey::Note, "Note", sizeof(LNAddrRec::Note) - 1}};
    return kLimits;
}

CommTextLimits LNNoteTextLimits()
{
    static constexpr CommTextLimit kLimits[] = {{NoteKey::Body, "Body", sizeof(LNNoteRec::Body) - 1}};
    return kLimits;
}

void LNNoteToComm(const LNNoteRec& native, CommNoteRec& rec)
{
    CopyText(rec.Title, native.Title);
    CopyText(rec.Body, native.Body);
    rec.SourceType = SourceLotusNotes;
}

void CommToLNNote(const CommNoteRec& rec, LNNoteRec& native)
{
    CopyText(native.Title, rec.Title);
    CopyText(native.Body, rec.Body);
}
