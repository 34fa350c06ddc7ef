#include "google/GGRecurrence.h"

#include <cstdio>
#include <string>

#include "misc/CSV.h"
#include "misc/CommRecords.h"
#include "platform/OleDate.h"

namespace {

constexpr const char* kWeekdays[7] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};
constexpr char kLineBreak[] = "\r\n";

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// ---- Building -------------------------------------------------------------------------

std::string DateTimeLine(const char* key, std::string_view zone, const SYSTEMTIME& time)
{
    char line[128];
    std::snprintf(line, sizeof line, "%s;TZID=%.*s:%04d%02d%02dT%02d%02d%02d", key,
                  static_cast<int>(zone.size()), zone.data(), time.wYear, time.wMonth, time.wDay, time.wHour,
                  time.wMinute, time.wSecond);
    return line;
}

void AppendNumber(std::string& rule, const char* key, int value)
{
    if (value != 0) {
        char part[32];
        std::snprintf(part, sizeof part, ";%s=%d", key, value);
        rule += part;
    }
}

void AppendWeekdays(std::string& rule, int mask)
{
    if (mask == 0) {
        return;
    }
    rule += ";BYDAY=";
    bool first = true;
    for (int day = 0; day < 7; ++day) {
        if ((mask & (1 << day)) != 0) {
            if (!first) {
                rule += ",";
            }
            rule += kWeekdays[day];
            first = false;
        }
    }
}

// ---- Parsing --------------------------------------------------------------------------

// A date-time value: eight date digits, "T" as the ninth character, and, when a digit
// follows it, six time digits; anything after them (a "Z") is ignored. Taken as local time.
bool ParseDateTime(std::string_view value, double* date)
{
    if (value.size() < 9 || value[8] != 'T') {
        return false;
    }
    for (std::size_t i = 0; i < 8; ++i) {
        if (!IsDigit(value[i])) {
            return false;
        }
    }
    const auto number = [&](std::size_t at, std::size_t length) {
        int result = 0;
        for (std::size_t i = at; i < at + length; ++i) {
            result = result * 10 + (value[i] - '0');
        }
        return static_cast<WORD>(result);
    };
    SYSTEMTIME time{};
    time.wYear = number(0, 4);
    time.wMonth = number(4, 2);
    time.wDay = number(6, 2);
    if (value.size() > 9 && IsDigit(value[9])) {
        if (value.size() < 15) {
            return false;
        }
        for (std::size_t i = 9; i < 15; ++i) {
            if (!IsDigit(value[i])) {
                return false;
            }
        }
        time.wHour = number(9, 2);
        time.wMinute = number(11, 2);
        time.wSecond = number(13, 2);
    }
    return platform::SystemTimeToVariantTime(&time, date);
}

// The first occurrence of key, then the value after the first ":" that follows it: replaces
// date when it is a date-time.
void ReplaceDate(std::string_view text, std::string_view key, double& date)
{
    const std::size_t at = text.find(key);
    if (at == std::string_view::npos) {
        return;
    }
    const std::size_t colon = text.find(':', at + key.size());
    if (colon == std::string_view::npos) {
        return;
    }
    double value = 0;
    if (ParseDateTime(text.substr(colon + 1), &value)) {
        date = value;
    }
}

// A number part: up to ten digits after the key are read in decimal (0 when there are none);
// a part with ten digits or more is ignored, as is a key that does not occur.
void ReadNumber(std::string_view parts, std::string_view key, int& field)
{
    const std::size_t at = parts.find(key);
    if (at == std::string_view::npos) {
        return;
    }
    std::string_view digits = parts.substr(at + key.size());
    std::size_t count = 0;
    while (count < digits.size() && count < 10 && IsDigit(digits[count])) {
        ++count;
    }
    if (count == 10) {
        return;
    }
    int value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        value = value * 10 + (digits[i] - '0');
    }
    field = value;
}

// The items of the "BYDAY=" list: the text after the key up to the end, a CR, a LF or a ";"
// (at most 255 characters), split at commas. Empty when there is no such part.
std::vector<std::string> WeekdayItems(std::string_view parts)
{
    std::vector<std::string> items;
    const std::size_t at = parts.find("BYDAY=");
    if (at == std::string_view::npos) {
        return items;
    }
    std::string_view list = parts.substr(at + 6);
    list = list.substr(0, list.find_first_of("\r\n;"));
    list = list.substr(0, 255);
    const std::string copy(list);
    CSV csv(copy.c_str(), false);
    for (std::uint32_t i = 0; i < csv.GetCount(); ++i) {
        items.emplace_back(std::string(csv.GetItem(i)).substr(0, 9));
    }
    return items;
}

int WeekdayBit(std::string_view name)
{
    for (int day = 0; day < 7; ++day) {
        if (name == kWeekdays[day]) {
            return 1 << day;
        }
    }
    return 0;
}

// The weekday mask of the "BYDAY=" list: each item that is a weekday name sets its bit;
// other items are ignored.
int WeekdayMask(std::string_view parts)
{
    int mask = 0;
    for (const std::string& item : WeekdayItems(parts)) {
        mask |= WeekdayBit(item);
    }
    return mask;
}

// "Monthly on the n-th weekday" as most calendars write it: "BYDAY=" items with an
// occurrence before the weekday ("3SA", "+2MO", "-1FR"). The occurrence 1..5 is the
// instance, -1 (the last) is instance 5; the weekdays of those items make the mask. False
// when no item has an occurrence the instance can hold.
bool OrdinalWeekdays(std::string_view parts, int* instance, int* mask)
{
    int found = 0;
    int days = 0;
    for (const std::string& item : WeekdayItems(parts)) {
        std::string_view rest = item;
        bool negative = false;
        if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
            negative = rest[0] == '-';
            rest.remove_prefix(1);
        }
        int occurrence = 0;
        std::size_t digits = 0;
        while (digits < rest.size() && digits < 2 && IsDigit(rest[digits])) {
            occurrence = occurrence * 10 + (rest[digits] - '0');
            ++digits;
        }
        const int bit = WeekdayBit(rest.substr(digits));
        if (digits == 0 || bit == 0) {
            continue;
        }
        const int which = negative ? (occurrence == 1 ? 5 : 0) : occurrence;
        if (which < 1 || which > 5 || (found != 0 && which != found)) {
            continue;
        }
        found = which;
        days |= bit;
    }
    if (found == 0) {
        return false;
    }
    *instance = found;
    *mask = days;
    return true;
}

// The text without its VTIMEZONE blocks: their DTSTART and RRULE lines are the zone's, not
// the event's.
std::string WithoutZones(std::string_view text)
{
    static constexpr std::string_view kBegin = "BEGIN:VTIMEZONE";
    static constexpr std::string_view kEnd = "END:VTIMEZONE";
    std::string result;
    while (true) {
        const std::size_t begin = text.find(kBegin);
        result += text.substr(0, begin);
        if (begin == std::string_view::npos) {
            return result;
        }
        const std::size_t end = text.find(kEnd, begin);
        if (end == std::string_view::npos) {
            return result;
        }
        text.remove_prefix(end + kEnd.size());
    }
}

} // namespace

bool BuildRecurrenceText(GDateRec& rec, std::string_view defaultCalendar, const GGRecurrenceZoneSource& zone)
{
    if (rec.RepeatKind == 0) {
        return true;
    }
    if (!SameIgnoringCase(FieldText(rec.Calendar), defaultCalendar) && rec.Recurrence[0] != '\0') {
        return true;
    }
    const GGRecurrenceZone* current = zone ? zone() : nullptr;
    if (current == nullptr) {
        return false;
    }

    std::string rule = "RRULE:";
    switch (rec.RepeatKind) {
    case 1:
        rule += "FREQ=DAILY";
        AppendNumber(rule, "INTERVAL", rec.Interval);
        break;
    case 2:
        rule += "FREQ=WEEKLY";
        AppendNumber(rule, "INTERVAL", rec.Interval);
        AppendWeekdays(rule, rec.DayOfWeekMask);
        break;
    case 3:
        rule += "FREQ=MONTHLY";
        AppendNumber(rule, "INTERVAL", rec.Interval);
        AppendNumber(rule, "BYWEEKNO", rec.Instance);
        AppendWeekdays(rule, rec.DayOfWeekMask);
        break;
    case 4:
        rule += "FREQ=MONTHLY";
        AppendNumber(rule, "INTERVAL", rec.Interval);
        AppendNumber(rule, "BYMONTHDAY", rec.DayOfMonth);
        break;
    case 5:
        rule += "FREQ=YEARLY";
        AppendNumber(rule, "INTERVAL", rec.Interval);
        break;
    case 6:
        rule += "FREQ=YEARLY";
        AppendNumber(rule, "INTERVAL", rec.Interval);
        AppendNumber(rule, "BYMONTH", rec.MonthOfYear);
        AppendNumber(rule, "BYMONTHDAY", rec.DayOfMonth);
        break;
    default:
        return false;
    }

    SYSTEMTIME start{};
    SYSTEMTIME end{};
    if (!platform::VariantTimeToSystemTime(rec.Start, &start) ||
        !platform::VariantTimeToSystemTime(rec.End, &end)) {
        return false;
    }
    // A pattern with an end always says so, whatever the year it ends in. The end is the
    // local date and time, marked as UTC.
    SYSTEMTIME until{};
    if (rec.HasEnd != 0 && rec.PatternEnd > 0 && platform::VariantTimeToSystemTime(rec.PatternEnd, &until)) {
        char part[64];
        std::snprintf(part, sizeof part, ";UNTIL=%04d%02d%02dT%02d%02d%02dZ", until.wYear, until.wMonth,
                      until.wDay, until.wHour, until.wMinute, until.wSecond);
        rule += part;
    }

    std::string text = DateTimeLine("DTSTART", current->name, start);
    text += kLineBreak;
    text += DateTimeLine("DTEND", current->name, end);
    text += kLineBreak;
    text += rule;
    if (current->vtimezone != nullptr) {
        text += kLineBreak;
        text += current->vtimezone;
    }
    CopyText(rec.Recurrence, text);
    return true;
}

bool ParseRecurrenceText(GDateRec& rec)
{
    if (rec.Recurrence[0] == '\0') {
        rec.RepeatKind = 0;
        return true;
    }
    const std::string event = WithoutZones(FieldText(rec.Recurrence));
    const std::string_view text = event;
    ReplaceDate(text, "DTSTART", rec.Start);
    ReplaceDate(text, "DTEND", rec.End);

    const std::size_t rrule = text.find("RRULE:");
    if (rrule == std::string_view::npos) {
        rec.RepeatKind = 0;
        return true;
    }
    // The rule's parts are read from its own line.
    std::string_view line = text.substr(rrule + 6);
    line = line.substr(0, line.find_first_of("\r\n"));
    const std::size_t freq = line.find("FREQ=");
    if (freq == std::string_view::npos) {
        return false;
    }
    const std::size_t semicolon = line.find(';', freq + 5);
    if (semicolon == std::string_view::npos) {
        return false;
    }
    const std::string_view value = line.substr(freq + 5, semicolon - freq - 5);
    const std::string_view parts = line.substr(semicolon);

    if (SameIgnoringCase(value, "DAILY")) {
        rec.RepeatKind = 1;
        ReadNumber(parts, ";INTERVAL=", rec.Interval);
    } else if (SameIgnoringCase(value, "WEEKLY")) {
        rec.RepeatKind = 2;
        ReadNumber(parts, "INTERVAL=", rec.Interval);
        rec.DayOfWeekMask = WeekdayMask(parts);
        // A weekly rule that names no weekday repeats on the start's weekday.
        SYSTEMTIME start{};
        if (rec.DayOfWeekMask == 0 && platform::VariantTimeToSystemTime(rec.Start, &start)) {
            rec.DayOfWeekMask = 1 << start.wDayOfWeek;
        }
    } else if (SameIgnoringCase(value, "MONTHLY")) {
        int instance = 0;
        int mask = 0;
        if (parts.find("BYMONTHDAY=") != std::string_view::npos) {
            rec.RepeatKind = 4;
            ReadNumber(parts, "BYMONTHDAY=", rec.DayOfMonth);
        } else if (parts.find("BYWEEKNO=") != std::string_view::npos) {
            // The form the connector writes: the instance apart from the weekdays.
            rec.RepeatKind = 3;
            ReadNumber(parts, "BYWEEKNO=", rec.Instance);
            rec.DayOfWeekMask = WeekdayMask(parts);
        } else if (OrdinalWeekdays(parts, &instance, &mask)) {
            rec.RepeatKind = 3;
            rec.Instance = instance;
            rec.DayOfWeekMask = mask;
        } else {
            return false;
        }
        ReadNumber(parts, "INTERVAL=", rec.Interval);
    } else if (SameIgnoringCase(value, "YEARLY")) {
        ReadNumber(parts, "INTERVAL=", rec.Interval);
        if (parts.find("BYMONTH=") != std::string_view::npos) {
            rec.RepeatKind = 6;
            ReadNumber(parts, "BYMONTH=", rec.MonthOfYear);
            ReadNumber(parts, "BYMONTHDAY=", rec.DayOfMonth);
        } else {
            rec.RepeatKind = 5;
        }
    }
    return true;
}
