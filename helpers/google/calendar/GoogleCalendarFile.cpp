#include "GoogleCalendarFile.h"

#include <libical/ical.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <random>

#include "ICalText.h"
#include "platform/Files.h"
#include "platform/OleDate.h"

namespace gcal {

namespace {

constexpr std::size_t kMaxFileBytes = 64u << 20;
// COUNT is expanded to find the pattern's last day; a longer series counts as endless.
constexpr int kMaxCountExpanded = 10000;

std::string Upper(std::string s)
{
    for (char& c : s) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return s;
}

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
long long DaysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int* y, int* m, int* d)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    *d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    *m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    *y = static_cast<int>(yoe + era * 400 + (*m <= 2));
}

int DaysInMonth(int y, int m)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0)) {
        return 29;
    }
    return days[m - 1];
}

// 0 Sunday ... 6 Saturday.
int Weekday(int y, int m, int d)
{
    const long long days = DaysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d));
    return static_cast<int>(((days % 7) + 11) % 7);
}

long long WallSeconds(const EventTime& t)
{
    return DaysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day)) * 86400 +
           t.hour * 3600 + t.minute * 60 + t.second;
}

// The same form and zone, moved by seconds of wall-clock time (whole days for a date).
EventTime AddSeconds(const EventTime& t, long long seconds)
{
    EventTime r = t;
    long long s = WallSeconds(t) + (t.IsDate() ? seconds / 86400 * 86400 : seconds);
    long long days = s >= 0 ? s / 86400 : -((-s + 86399) / 86400);
    long long rest = s - days * 86400;
    CivilFromDays(days, &r.year, &r.month, &r.day);
    r.hour = static_cast<int>(rest / 3600);
    r.minute = static_cast<int>(rest / 60 % 60);
    r.second = static_cast<int>(rest % 60);
    return r;
}

icaltimetype ToIcal(const EventTime& t)
{
    icaltimetype it = icaltime_null_time();
    it.year = t.year;
    it.month = t.month;
    it.day = t.day;
    if (t.IsDate()) {
        it.is_date = 1;
    } else {
        it.hour = t.hour;
        it.minute = t.minute;
        it.second = t.second;
    }
    return it;
}

bool Digits(const std::string& s, std::size_t from, std::size_t count)
{
    if (from + count > s.size()) {
        return false;
    }
    for (std::size_t i = from; i < from + count; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) {
            return false;
        }
    }
    return true;
}

int Number(const std::string& s, std::size_t from, std::size_t count)
{
    return std::stoi(s.substr(from, count));
}

std::string NowUtc()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d%02d%02dT%02d%02d%02dZ", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

std::string NewUid()
{
    std::random_device rd;
    std::mt19937_64 gen((static_cast<unsigned long long>(rd()) << 32) ^ rd() ^
                        static_cast<unsigned long long>(std::time(nullptr)));
    static const char* hex = "0123456789abcdef";
    std::string uid;
    for (int i = 0; i < 26; ++i) {
        uid.push_back(hex[gen() % 16]);
    }
    return uid + "@ferrywise";
}

const char* const kDayNames[] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};

struct RuleDay
{
    int position = 0; // 0 none, else signed occurrence
    int weekday = 0;  // 0 Sunday ... 6 Saturday
};

std::vector<std::string> SplitList(const std::string& s, char sep)
{
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos <= s.size()) {
        std::size_t next = s.find(sep, pos);
        if (next == std::string::npos) {
            next = s.size();
        }
        out.push_back(s.substr(pos, next - pos));
        pos = next + 1;
    }
    return out;
}

bool ParseInt(const std::string& s, int* out)
{
    if (s.empty() || s.size() > 9) {
        return false;
    }
    std::size_t i = s[0] == '-' || s[0] == '+' ? 1 : 0;
    if (i == s.size() || !Digits(s, i, s.size() - i)) {
        return false;
    }
    *out = std::stoi(s);
    return true;
}

int InstanceOf(int position)
{
    if (position < 0 || position >= 5) {
        return 5;
    }
    return position;
}

} // namespace

EventTime EventTime::MakeDate(int y, int m, int d)
{
    EventTime t;
    t.form = TimeForm::Date;
    t.year = y;
    t.month = m;
    t.day = d;
    return t;
}

EventTime EventTime::MakeUtc(int y, int m, int d, int hh, int mm, int ss)
{
    EventTime t = MakeFloating(y, m, d, hh, mm, ss);
    t.form = TimeForm::Utc;
    return t;
}

EventTime EventTime::MakeZoned(const std::string& zone, int y, int m, int d, int hh, int mm, int ss)
{
    EventTime t = MakeFloating(y, m, d, hh, mm, ss);
    t.form = TimeForm::Zoned;
    t.zone = zone;
    return t;
}

EventTime EventTime::MakeFloating(int y, int m, int d, int hh, int mm, int ss)
{
    EventTime t;
    t.form = TimeForm::Floating;
    t.year = y;
    t.month = m;
    t.day = d;
    t.hour = hh;
    t.minute = mm;
    t.second = ss;
    return t;
}

bool ParseTimeValue(const std::string& raw, bool valueIsDate, const std::string& zone, EventTime* out)
{
    std::string text = raw;
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.pop_back();
    }
    EventTime t;
    if (!Digits(text, 0, 8)) {
        return false;
    }
    t.year = Number(text, 0, 4);
    t.month = Number(text, 4, 2);
    t.day = Number(text, 6, 2);
    if (t.year < 1 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > DaysInMonth(t.year, t.month)) {
        return false;
    }
    if (text.size() == 8 || (text.size() == 9 && (text[8] == 'Z' || text[8] == 'z'))) {
        t.form = TimeForm::Date; // "20131210Z": Google's date with a stray zone mark
        *out = t;
        return true;
    }
    if (valueIsDate && text.size() < 15) {
        return false;
    }
    if (text.size() < 15 || (text[8] != 'T' && text[8] != 't') || !Digits(text, 9, 6)) {
        return false;
    }
    t.hour = Number(text, 9, 2);
    t.minute = Number(text, 11, 2);
    t.second = std::min(Number(text, 13, 2), 59);
    if (t.hour > 23 || t.minute > 59 || Number(text, 13, 2) > 60) {
        return false;
    }
    if (text.size() == 16 && (text[15] == 'Z' || text[15] == 'z')) {
        t.form = TimeForm::Utc;
    } else if (text.size() == 15) {
        t.form = zone.empty() ? TimeForm::Floating : TimeForm::Zoned;
        t.zone = zone;
    } else {
        return false;
    }
    *out = t;
    return true;
}

std::string FormatTimeValue(const EventTime& t)
{
    char buf[40];
    if (t.IsDate()) {
        std::snprintf(buf, sizeof buf, "%04d%02d%02d", t.year, t.month, t.day);
    } else {
        std::snprintf(buf, sizeof buf, "%04d%02d%02dT%02d%02d%02d%s", t.year, t.month, t.day, t.hour,
                      t.minute, t.second, t.form == TimeForm::Utc ? "Z" : "");
    }
    return buf;
}

std::string FormatTimeLine(const std::string& name, const EventTime& t)
{
    switch (t.form) {
    case TimeForm::Date:
        return name + ";VALUE=DATE:" + FormatTimeValue(t);
    case TimeForm::Zoned:
        return name + ";TZID=" + t.zone + ":" + FormatTimeValue(t);
    default:
        return name + ":" + FormatTimeValue(t);
    }
}

bool PatternFromRule(const std::string& rule, const EventTime& start, RepeatPattern* out)
{
    RepeatPattern p;
    p.patternStart = start;
    std::map<std::string, std::string> parts;
    for (const std::string& item : SplitList(rule, ';')) {
        const std::size_t eq = item.find('=');
        if (eq != std::string::npos) {
            parts[Upper(item.substr(0, eq))] = item.substr(eq + 1);
        }
    }
    const std::string freq = Upper(parts["FREQ"]);
    static const char* const known[] = {"SECONDLY", "MINUTELY", "HOURLY", "DAILY",
                                        "WEEKLY",   "MONTHLY",  "YEARLY"};
    if (std::find(std::begin(known), std::end(known), freq) == std::end(known)) {
        *out = p;
        return false;
    }
    std::vector<RuleDay> days;
    if (!parts["BYDAY"].empty()) {
        for (std::string item : SplitList(parts["BYDAY"], ',')) {
            item = Upper(item);
            if (item.size() < 2) {
                continue;
            }
            const std::string name = item.substr(item.size() - 2);
            const auto it = std::find(std::begin(kDayNames), std::end(kDayNames), name);
            if (it == std::end(kDayNames)) {
                continue;
            }
            RuleDay d;
            d.weekday = static_cast<int>(it - std::begin(kDayNames));
            ParseInt(item.substr(0, item.size() - 2), &d.position);
            days.push_back(d);
        }
    }
    int mask = 0;
    int position = 0;
    for (const RuleDay& d : days) {
        mask |= 1 << d.weekday;
        if (position == 0) {
            position = d.position;
        }
    }
    int setPos = 0;
    if (!parts["BYSETPOS"].empty()) {
        ParseInt(SplitList(parts["BYSETPOS"], ',')[0], &setPos);
    }
    int weekNo = 0;
    if (!parts["BYWEEKNO"].empty()) {
        ParseInt(SplitList(parts["BYWEEKNO"], ',')[0], &weekNo);
    }
    if (position == 0) {
        position = setPos != 0 ? setPos : weekNo;
    }
    int monthDay = 0;
    if (!parts["BYMONTHDAY"].empty() && ParseInt(SplitList(parts["BYMONTHDAY"], ',')[0], &monthDay)) {
        if (monthDay < 0) {
            monthDay = std::max(1, 32 + monthDay);
        }
        monthDay = std::min(monthDay, 31);
    }
    int month = 0;
    if (!parts["BYMONTH"].empty() && ParseInt(SplitList(parts["BYMONTH"], ',')[0], &month)) {
        month = month >= 1 && month <= 12 ? month : 0;
    }
    const int startWeekday = start.IsSet() ? Weekday(start.year, start.month, start.day) : 0;

    if (freq == "DAILY") {
        if (mask != 0) {
            p.kind = 2; // every weekday and the like
            p.dayOfWeekMask = mask;
        } else {
            p.kind = 1;
        }
    } else if (freq == "WEEKLY") {
        p.kind = 2;
        p.dayOfWeekMask = mask != 0 ? mask : 1 << startWeekday;
    } else if (freq == "MONTHLY") {
        if (monthDay != 0) {
            p.kind = 4;
            p.dayOfMonth = monthDay;
        } else if (mask != 0 && position != 0) {
            p.kind = 3;
            p.dayOfWeekMask = mask;
            p.instance = InstanceOf(position);
        } else if (mask != 0) {
            p.kind = 2; // every such weekday of every month: as near as the pattern gets
            p.dayOfWeekMask = mask;
        } else {
            p.kind = 4;
            p.dayOfMonth = start.day;
        }
    } else if (freq == "YEARLY") {
        p.monthOfYear = month != 0 ? month : start.month;
        if (mask != 0 && position != 0) {
            p.kind = 5;
            p.dayOfWeekMask = mask;
            p.instance = InstanceOf(position);
        } else {
            p.kind = 6;
            p.dayOfMonth = monthDay != 0 ? monthDay : start.day;
        }
    } else {
        *out = p; // below a day: not a pattern of the common record
        return true;
    }
    int interval = 1;
    if (!parts["INTERVAL"].empty() && ParseInt(parts["INTERVAL"], &interval) && interval < 1) {
        interval = 1;
    }
    p.interval = interval;

    if (!parts["UNTIL"].empty()) {
        EventTime until;
        if (ParseTimeValue(parts["UNTIL"], false, {}, &until)) {
            p.hasEnd = true;
            p.patternEnd = until;
        }
    } else if (!parts["COUNT"].empty() && start.IsSet()) {
        int count = 0;
        if (ParseInt(parts["COUNT"], &count) && count >= 1 && count <= kMaxCountExpanded) {
            icalrecurrencetype rt = icalrecurrencetype_from_string(rule.c_str());
            icalerror_clear_errno();
            if (rt.freq != ICAL_NO_RECURRENCE) {
                icalrecur_iterator* it = icalrecur_iterator_new(rt, ToIcal(start));
                if (it != nullptr) {
                    icaltimetype last = icaltime_null_time();
                    for (int i = 0; i < count; ++i) {
                        const icaltimetype next = icalrecur_iterator_next(it);
                        if (icaltime_is_null_time(next)) {
                            break;
                        }
                        last = next;
                    }
                    icalrecur_iterator_free(it);
                    if (!icaltime_is_null_time(last)) {
                        p.hasEnd = true;
                        p.patternEnd = start;
                        p.patternEnd.year = last.year;
                        p.patternEnd.month = last.month;
                        p.patternEnd.day = last.day;
                        if (!start.IsDate()) {
                            p.patternEnd.hour = last.hour;
                            p.patternEnd.minute = last.minute;
                            p.patternEnd.second = last.second;
                        }
                    }
                }
            }
        }
    }
    *out = p;
    return true;
}

std::string RuleFromPattern(const RepeatPattern& p)
{
    static const char* const freqs[] = {"", "DAILY", "WEEKLY", "MONTHLY", "MONTHLY", "YEARLY", "YEARLY"};
    if (p.kind < 1 || p.kind > 6) {
        return {};
    }
    std::string rule = std::string("FREQ=") + freqs[p.kind];
    if (p.interval > 1) {
        rule += ";INTERVAL=" + std::to_string(p.interval);
    }
    auto dayList = [&](const std::string& prefix) {
        std::string list;
        for (int d = 0; d < 7; ++d) {
            if (p.dayOfWeekMask & (1 << d)) {
                list += (list.empty() ? "" : ",") + prefix + kDayNames[d];
            }
        }
        return list;
    };
    const std::string nth = p.instance >= 5 ? "-1" : std::to_string(std::max(p.instance, 1));
    switch (p.kind) {
    case 2:
        if (p.dayOfWeekMask != 0) {
            rule += ";BYDAY=" + dayList("");
        }
        break;
    case 3:
        rule += ";BYDAY=" + dayList(nth);
        break;
    case 4:
        rule += ";BYMONTHDAY=" + std::to_string(p.dayOfMonth);
        break;
    case 5:
        rule += ";BYMONTH=" + std::to_string(p.monthOfYear) + ";BYDAY=" + dayList(nth);
        break;
    case 6:
        rule += ";BYMONTH=" + std::to_string(p.monthOfYear) + ";BYMONTHDAY=" + std::to_string(p.dayOfMonth);
        break;
    default:
        break;
    }
    if (p.hasEnd && p.patternEnd.IsSet()) {
        rule += ";UNTIL=" + FormatTimeValue(p.patternEnd);
    }
    return rule;
}

// ---------------------------------------------------------------------------------------

struct Event::Loaded
{
    Event fields; // without moved instances
};

namespace {

bool SameFields(const Event& a, const Event& b)
{
    return a.uid == b.uid && a.summary == b.summary && a.location == b.location &&
           a.description == b.description && a.categories == b.categories && a.start == b.start &&
           a.end == b.end && a.reminders == b.reminders && a.rrule == b.rrule && a.repeat == b.repeat &&
           a.exdates == b.exdates && a.rdates == b.rdates && a.recurrenceId == b.recurrenceId;
}

struct IcalDeleter
{
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using IcalPtr = std::unique_ptr<icalcomponent, IcalDeleter>;

} // namespace

struct CalendarFile::Impl
{
    std::string text; // the file as read
    ical::Layout layout;
    IcalPtr root;
    CalendarDefinition loadedDefinition;
    std::string newline = "\r\n";

    icaltimezone* Zone(const std::string& name) const
    {
        icaltimezone* z = nullptr;
        if (root) {
            z = icalcomponent_get_timezone(root.get(), name.c_str());
        }
        if (z == nullptr) {
            z = icaltimezone_get_builtin_timezone(name.c_str());
        }
        icalerror_clear_errno();
        return z;
    }

    // Seconds since 1970 UTC; false for a value without a moment (none).
    bool UtcSeconds(const EventTime& t, long long* out) const
    {
        switch (t.form) {
        case TimeForm::None:
            return false;
        case TimeForm::Utc:
            *out = WallSeconds(t);
            return true;
        case TimeForm::Zoned:
            if (icaltimezone* z = Zone(t.zone)) {
                *out = icaltime_as_timet_with_zone(ToIcal(t), z);
                return true;
            }
            [[fallthrough]];
        default: {
            std::tm tm{};
            tm.tm_year = t.year - 1900;
            tm.tm_mon = t.month - 1;
            tm.tm_mday = t.day;
            tm.tm_hour = t.hour;
            tm.tm_min = t.minute;
            tm.tm_sec = t.second;
            tm.tm_isdst = -1;
            *out = std::mktime(&tm);
            return true;
        }
        }
    }
};

CalendarFile::CalendarFile() : m_impl(std::make_unique<Impl>()) {}
CalendarFile::~CalendarFile() = default;
CalendarFile::CalendarFile(CalendarFile&&) noexcept = default;
CalendarFile& CalendarFile::operator=(CalendarFile&&) noexcept = default;

bool CalendarFile::Load(const std::string& path, std::string& error)
{
    std::string text;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        error = path + ": the file does not exist";
        return false;
    }
    if (!platform::ReadWholeFile(path, text, kMaxFileBytes)) {
        error = path + ": the file cannot be read (not a regular file, or larger than 64 MiB)";
        return false;
    }
    return LoadText(text, path, error);
}

namespace {

std::string BaseId(const std::string& path)
{
    std::string name = std::filesystem::path(path).filename().string();
    if (name.size() > 4 && Upper(name.substr(name.size() - 4)) == ".ICS") {
        name.resize(name.size() - 4);
    }
    return name;
}

// A VALARM's lead time in seconds before the start (negative: after it).
bool AlarmLead(icalcomponent* alarm, long long eventSeconds, long long startUtc, bool haveStartUtc,
               long long* lead)
{
    icalproperty* trig = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
    if (trig == nullptr) {
        return false;
    }
    const icaltriggertype t = icalproperty_get_trigger(trig);
    if (!icaltime_is_null_time(t.time)) {
        if (!haveStartUtc) {
            return false;
        }
        *lead = startUtc -
                static_cast<long long>(icaltime_as_timet_with_zone(t.time, icaltimezone_get_utc_timezone()));
        return true;
    }
    if (icaldurationtype_is_bad_duration(t.duration)) {
        return false;
    }
    long long offset = icaldurationtype_as_int(t.duration);
    icalparameter* rel = icalproperty_get_first_parameter(trig, ICAL_RELATED_PARAMETER);
    if (rel != nullptr && icalparameter_get_related(rel) == ICAL_RELATED_END) {
        offset += eventSeconds;
    }
    *lead = -offset;
    return true;
}

Reminder ReminderOf(int method, long long lead)
{
    Reminder r;
    r.method = method;
    const long long minutes = lead / 60;
    if (minutes != 0 && minutes % (7 * 1440) == 0) {
        r.unit = kUnitWeeks;
        r.amount = static_cast<int>(minutes / (7 * 1440));
    } else if (minutes != 0 && minutes % 1440 == 0) {
        r.unit = kUnitDays;
        r.amount = static_cast<int>(minutes / 1440);
    } else if (minutes != 0 && minutes % 60 == 0) {
        r.unit = kUnitHours;
        r.amount = static_cast<int>(minutes / 60);
    } else {
        r.unit = kUnitMinutes;
        r.amount = static_cast<int>(std::clamp<long long>(minutes, -1000000000, 1000000000));
    }
    return r;
}

bool TimeProperty(const ical::Property& p, std::vector<EventTime>* out)
{
    const bool isDate = Upper(p.Param("VALUE")) == "DATE";
    const std::string zone = p.Param("TZID");
    bool ok = true;
    for (std::string v : SplitList(p.value, ',')) {
        const std::size_t slash = v.find('/');
        if (slash != std::string::npos) {
            v.resize(slash); // a period: its start
        }
        EventTime t;
        if (ParseTimeValue(v, isDate, zone, &t)) {
            out->push_back(t);
        } else {
            ok = false;
        }
    }
    return ok;
}

} // namespace

bool CalendarFile::LoadText(const std::string& text, const std::string& path, std::string& error)
{
    *this = CalendarFile();
    m_path = path;
    auto fail = [&](const std::string& reason) {
        const std::string p = path;
        *this = CalendarFile();
        error = p + ": " + reason;
        return false;
    };
    if (text.find('\0') != std::string::npos) {
        return fail("the file is not an iCalendar text file (it holds a zero byte)");
    }
    icalerror_clear_errno();
    IcalPtr root(icalparser_parse_string(text.c_str()));
    const icalerrorenum parseError = icalerrno;
    icalerror_clear_errno();
    if (!root) {
        std::string reason = "libical cannot parse the file";
        if (parseError != ICAL_NO_ERROR) {
            reason += std::string(" (") + icalerror_strerror(parseError) + ")";
        }
        return fail(reason + "; it is not an iCalendar file");
    }
    if (icalcomponent_isa(root.get()) == ICAL_XROOT_COMPONENT) {
        return fail("the file holds more than one calendar; a Google export holds one");
    }
    if (icalcomponent_isa(root.get()) != ICAL_VCALENDAR_COMPONENT) {
        return fail("the file holds no VCALENDAR");
    }
    ical::Layout layout;
    std::string reason;
    if (!ical::ReadLayout(text, &layout, reason)) {
        return fail("the calendar is damaged: " + reason);
    }
    m_impl->text = text;
    m_impl->newline = ical::NewlineOf(text);
    m_impl->root = std::move(root);

    // The calendar's own properties: the lines outside its components.
    definition.id = BaseId(path);
    {
        std::size_t next = 0;
        for (std::size_t i = 1; i < layout.closeLine; ++i) {
            if (next < layout.components.size() && i == layout.components[next].firstLine) {
                i = layout.components[next].lastLine;
                ++next;
                continue;
            }
            ical::Property p;
            if (!ical::ParseProperty(layout.lines[i].text, &p)) {
                continue;
            }
            if (p.name == "X-WR-CALNAME") {
                definition.title = ical::Unescape(p.value);
            } else if (p.name == "X-WR-CALDESC") {
                definition.summary = ical::Unescape(p.value);
            } else if (p.name == "X-WR-TIMEZONE") {
                definition.timeZone = ical::Unescape(p.value);
            }
        }
    }
    m_impl->loadedDefinition = definition;

    std::vector<Event> all;
    std::size_t counted = 0, lineNo = 1;
    for (std::size_t ci = 0; ci < layout.components.size(); ++ci) {
        const ical::Component& c = layout.components[ci];
        if (c.name != "VEVENT") {
            continue;
        }
        Event e;
        e.m_raw = text.substr(c.begin, c.end - c.begin);
        e.m_order = static_cast<int>(ci);
        lineNo += static_cast<std::size_t>(std::count(text.begin() + static_cast<long>(counted),
                                                      text.begin() + static_cast<long>(c.begin), '\n'));
        counted = c.begin;
        const std::string where = "the event at line " + std::to_string(lineNo);

        // The component's own properties, line by line (not those of its alarms).
        bool haveStart = false, haveEnd = false, haveDuration = false;
        std::map<std::string, std::string> texts; // as written: libical trims trailing blanks
        icaldurationtype duration = icaldurationtype_null_duration();
        int depth = 0;
        for (std::size_t li = c.firstLine + 1; li < c.lastLine; ++li) {
            const std::string& line = layout.lines[li].text;
            ical::Property p;
            if (!ical::ParseProperty(line, &p)) {
                continue;
            }
            if (p.name == "BEGIN") {
                ++depth;
                continue;
            }
            if (p.name == "END") {
                --depth;
                continue;
            }
            if (depth != 0) {
                continue;
            }
            std::vector<EventTime> times;
            if (p.name == "DTSTART" || p.name == "DTEND" || p.name == "RECURRENCE-ID") {
                if (!TimeProperty(p, &times) || times.size() != 1) {
                    if (p.name == "DTSTART") {
                        return fail(where + " has a DTSTART that is not a date or date-time: \"" +
                                    p.value.substr(0, 40) + "\"");
                    }
                    warnings.push_back(path + ": " + where + ": " + p.name + " \"" + p.value.substr(0, 40) +
                                       "\" is not a date or date-time; ignored");
                    continue;
                }
                if (p.name == "DTSTART") {
                    e.start = times[0];
                    haveStart = true;
                } else if (p.name == "DTEND") {
                    e.end = times[0];
                    haveEnd = true;
                } else {
                    e.recurrenceId = times[0];
                }
            } else if (p.name == "EXDATE" || p.name == "RDATE") {
                if (!TimeProperty(p, p.name == "EXDATE" ? &e.exdates : &e.rdates)) {
                    warnings.push_back(path + ": " + where + ": a value of " + p.name + " \"" +
                                       p.value.substr(0, 40) + "\" is not a date or date-time; ignored");
                }
            } else if (p.name == "DURATION") {
                duration = icaldurationtype_from_string(p.value.c_str());
                icalerror_clear_errno();
                haveDuration = !icaldurationtype_is_bad_duration(duration);
            } else if (p.name == "RRULE" && e.rrule.empty()) {
                e.rrule = p.value;
            } else if (p.name == "SUMMARY" || p.name == "LOCATION" || p.name == "DESCRIPTION") {
                texts.emplace(p.name, ical::Unescape(p.value));
            }
        }
        if (!haveStart) {
            return fail(where + " has no DTSTART");
        }
        if (!haveEnd) {
            if (haveDuration) {
                e.end = AddSeconds(e.start, icaldurationtype_as_int(duration));
            } else {
                e.end = e.IsAllDay() ? AddSeconds(e.start, 86400) : e.start;
            }
        }
        if (!e.rrule.empty() && !PatternFromRule(e.rrule, e.start, &e.repeat)) {
            warnings.push_back(path + ": " + where + ": the repeat rule \"" + e.rrule.substr(0, 60) +
                               "\" is not one libical reads; kept as text");
        }

        // Texts and alarms through libical.
        IcalPtr comp(icalparser_parse_string(e.m_raw.c_str()));
        icalerror_clear_errno();
        icalcomponent* ev = comp.get();
        if (ev != nullptr && icalcomponent_isa(ev) != ICAL_VEVENT_COMPONENT) {
            ev = icalcomponent_get_first_component(ev, ICAL_VEVENT_COMPONENT);
        }
        if (ev == nullptr) {
            return fail(where + " cannot be read by libical");
        }
        auto textOf = [&](icalproperty_kind kind) {
            icalproperty* prop = icalcomponent_get_first_property(ev, kind);
            icalvalue* value = prop != nullptr ? icalproperty_get_value(prop) : nullptr;
            const char* v = value != nullptr ? icalvalue_get_text(value) : nullptr;
            icalerror_clear_errno();
            return v != nullptr ? std::string(v) : std::string();
        };
        e.uid = textOf(ICAL_UID_PROPERTY);
        e.summary = textOf(ICAL_SUMMARY_PROPERTY);
        e.location = textOf(ICAL_LOCATION_PROPERTY);
        e.description = textOf(ICAL_DESCRIPTION_PROPERTY);
        for (const auto& [name, value] : texts) {
            (name == "SUMMARY" ? e.summary : name == "LOCATION" ? e.location : e.description) = value;
        }
        for (icalproperty* prop = icalcomponent_get_first_property(ev, ICAL_CATEGORIES_PROPERTY);
             prop != nullptr; prop = icalcomponent_get_next_property(ev, ICAL_CATEGORIES_PROPERTY)) {
            const char* v = icalproperty_get_categories(prop);
            if (v != nullptr && *v != '\0') {
                e.categories.push_back(v);
            }
        }
        for (icalproperty* prop = icalcomponent_get_first_property(ev, ICAL_XLICERROR_PROPERTY);
             prop != nullptr; prop = icalcomponent_get_next_property(ev, ICAL_XLICERROR_PROPERTY)) {
            const char* v = icalproperty_get_xlicerror(prop);
            const std::string msg = v != nullptr ? v : "";
            // Empty texts (Google's "DESCRIPTION:" and "LOCATION:") are empty values; the
            // date properties were read from the lines above.
            if (msg.find("No value for") != std::string::npos || msg.find(" RDATE ") != std::string::npos ||
                msg.find(" EXDATE ") != std::string::npos || msg.find(" DTSTART ") != std::string::npos ||
                msg.find(" DTEND ") != std::string::npos ||
                msg.find(" RECURRENCE-ID ") != std::string::npos ||
                msg.find(" RRULE ") != std::string::npos) {
                continue;
            }
            warnings.push_back(path + ": " + where + ": " + msg);
        }
        long long startUtc = 0, endUtc = 0;
        const bool haveStartUtc = m_impl->UtcSeconds(e.start, &startUtc);
        const bool haveEndUtc = m_impl->UtcSeconds(e.end, &endUtc);
        const long long eventSeconds = haveStartUtc && haveEndUtc ? endUtc - startUtc : 0;
        for (icalcomponent* alarm = icalcomponent_get_first_component(ev, ICAL_VALARM_COMPONENT);
             alarm != nullptr; alarm = icalcomponent_get_next_component(ev, ICAL_VALARM_COMPONENT)) {
            long long lead = 0;
            if (!AlarmLead(alarm, eventSeconds, startUtc, haveStartUtc, &lead)) {
                warnings.push_back(path + ": " + where + ": an alarm without a usable TRIGGER; ignored");
                continue;
            }
            icalproperty* action = icalcomponent_get_first_property(alarm, ICAL_ACTION_PROPERTY);
            const bool email = action != nullptr && icalproperty_get_action(action) == ICAL_ACTION_EMAIL;
            e.reminders.push_back(ReminderOf(email ? kReminderEmail : kReminderPopup, lead));
        }
        icalerror_clear_errno();

        auto loaded = std::make_shared<Event::Loaded>();
        loaded->fields = e;
        e.m_loaded = std::move(loaded);
        all.push_back(std::move(e));
    }

    // Moved instances join their series when the file has it, wherever they stand.
    std::map<std::string, std::size_t> seriesByUid;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (!all[i].IsMovedInstance() && !seriesByUid.count(all[i].uid)) {
            seriesByUid[all[i].uid] = i;
        }
    }
    std::vector<std::vector<Event>> moved(all.size());
    std::vector<bool> attached(all.size(), false);
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (!all[i].IsMovedInstance()) {
            continue;
        }
        const auto it = seriesByUid.find(all[i].uid);
        if (it != seriesByUid.end()) {
            moved[it->second].push_back(all[i]);
            attached[i] = true;
        }
    }
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (!attached[i]) {
            all[i].movedInstances = std::move(moved[i]);
            events.push_back(std::move(all[i]));
        }
    }
    m_impl->layout = std::move(layout);
    return true;
}

bool CalendarFile::LocalTime(const EventTime& t, SYSTEMTIME* out) const
{
    if (!t.IsSet()) {
        return false;
    }
    SYSTEMTIME st{};
    if (t.IsDate() || t.form == TimeForm::Floating ||
        (t.form == TimeForm::Zoned && m_impl->Zone(t.zone) == nullptr)) {
        st.wYear = static_cast<WORD>(t.year);
        st.wMonth = static_cast<WORD>(t.month);
        st.wDay = static_cast<WORD>(t.day);
        st.wDayOfWeek = static_cast<WORD>(Weekday(t.year, t.month, t.day));
        if (!t.IsDate()) {
            st.wHour = static_cast<WORD>(t.hour);
            st.wMinute = static_cast<WORD>(t.minute);
            st.wSecond = static_cast<WORD>(t.second);
        }
        *out = st;
        return true;
    }
    long long utc = 0;
    if (!m_impl->UtcSeconds(t, &utc)) {
        return false;
    }
    const std::time_t tt = static_cast<std::time_t>(utc);
    std::tm tm{};
    if (localtime_r(&tt, &tm) == nullptr) {
        return false;
    }
    st.wYear = static_cast<WORD>(tm.tm_year + 1900);
    st.wMonth = static_cast<WORD>(tm.tm_mon + 1);
    st.wDay = static_cast<WORD>(tm.tm_mday);
    st.wDayOfWeek = static_cast<WORD>(tm.tm_wday);
    st.wHour = static_cast<WORD>(tm.tm_hour);
    st.wMinute = static_cast<WORD>(tm.tm_min);
    st.wSecond = static_cast<WORD>(tm.tm_sec);
    *out = st;
    return true;
}

bool CalendarFile::OleDate(const EventTime& t, double* out) const
{
    SYSTEMTIME st;
    return LocalTime(t, &st) && platform::SystemTimeToVariantTime(&st, out);
}

std::string CalendarFile::TimeZoneText(const std::string& zone) const
{
    const ical::Layout& layout = m_impl->layout;
    for (const ical::Component& c : layout.components) {
        if (c.name != "VTIMEZONE") {
            continue;
        }
        bool match = false;
        for (std::size_t li = c.firstLine + 1; li < c.lastLine && !match; ++li) {
            ical::Property p;
            match = ical::ParseProperty(layout.lines[li].text, &p) && p.name == "TZID" && p.value == zone;
        }
        if (!match) {
            continue;
        }
        std::string out;
        const std::string raw = m_impl->text.substr(c.begin, c.end - c.begin);
        std::size_t pos = 0;
        while (pos <= raw.size()) {
            std::size_t stop = raw.find_first_of("\r\n", pos);
            if (stop == std::string::npos) {
                stop = raw.size();
            }
            if (stop > pos) {
                out += (out.empty() ? "" : "\r\n") + raw.substr(pos, stop - pos);
            }
            pos = stop + 1;
        }
        return out;
    }
    return {};
}

std::string CalendarFile::RecurrenceText(const Event& e) const
{
    if (e.rrule.empty() && e.rdates.empty()) {
        return {};
    }
    std::vector<std::string> lines{FormatTimeLine("DTSTART", e.start)};
    if (e.end.IsSet()) {
        lines.push_back(FormatTimeLine("DTEND", e.end));
    }
    if (!e.rrule.empty()) {
        lines.push_back("RRULE:" + e.rrule);
    }
    for (const EventTime& t : e.exdates) {
        lines.push_back(FormatTimeLine("EXDATE", t));
    }
    for (const EventTime& t : e.rdates) {
        lines.push_back(FormatTimeLine("RDATE", t));
    }
    if (e.start.form == TimeForm::Zoned) {
        const std::string zone = TimeZoneText(e.start.zone);
        if (!zone.empty()) {
            lines.push_back(zone);
        }
    }
    std::string text;
    for (const std::string& l : lines) {
        text += (text.empty() ? "" : "\r\n") + l;
    }
    return text;
}

// ---------------------------------------------------------------------------------------
// Writing.

namespace {

struct Chunk
{
    std::string name; // property name, or "VALARM" for an alarm block
    std::string text; // with its line break (the END:VEVENT chunk has none)
};

// The lines of one group of properties for the event, unfolded.
std::vector<std::string> GroupLines(const std::string& group, const Event& e, const std::string& now)
{
    std::vector<std::string> out;
    auto text = [&](const char* name, const std::string& value) {
        if (!value.empty()) {
            out.push_back(std::string(name) + ":" + ical::Escape(value));
        }
    };
    if (group == "UID") {
        out.push_back("UID:" + e.uid);
    } else if (group == "SUMMARY") {
        text("SUMMARY", e.summary);
    } else if (group == "LOCATION") {
        text("LOCATION", e.location);
    } else if (group == "DESCRIPTION") {
        text("DESCRIPTION", e.description);
    } else if (group == "CATEGORIES") {
        std::string list;
        for (const std::string& c : e.categories) {
            list += (list.empty() ? "" : ",") + ical::Escape(c);
        }
        if (!list.empty()) {
            out.push_back("CATEGORIES:" + list);
        }
    } else if (group == "DTSTART") {
        out.push_back(FormatTimeLine("DTSTART", e.start));
        if (e.end.IsSet()) {
            out.push_back(FormatTimeLine("DTEND", e.end));
        }
    } else if (group == "RRULE") {
        if (!e.rrule.empty()) {
            out.push_back("RRULE:" + e.rrule);
        }
    } else if (group == "EXDATE" || group == "RDATE") {
        for (const EventTime& t : group == "EXDATE" ? e.exdates : e.rdates) {
            out.push_back(FormatTimeLine(group, t));
        }
    } else if (group == "RECURRENCE-ID") {
        if (e.recurrenceId.IsSet()) {
            out.push_back(FormatTimeLine("RECURRENCE-ID", e.recurrenceId));
        }
    } else if (group == "DTSTAMP" || group == "LAST-MODIFIED") {
        out.push_back(group + ":" + now);
    } else if (group == "VALARM") {
        for (const Reminder& r : e.reminders) {
            const long long amount = r.amount < 0 ? -static_cast<long long>(r.amount) : r.amount;
            std::string trigger = r.amount < 0 ? "TRIGGER:P" : "TRIGGER:-P";
            switch (r.unit) {
            case kUnitHours:
                trigger += "T" + std::to_string(amount) + "H";
                break;
            case kUnitDays:
                trigger += std::to_string(amount) + "D";
                break;
            case kUnitWeeks:
                trigger += std::to_string(amount) + "W";
                break;
            default:
                trigger += "T" + std::to_string(amount) + "M";
                break;
            }
            out.push_back("BEGIN:VALARM");
            out.push_back(r.method == kReminderEmail ? "ACTION:EMAIL" : "ACTION:DISPLAY");
            out.push_back("DESCRIPTION:This is an event reminder");
            if (r.method == kReminderEmail) {
                out.push_back("SUMMARY:Alarm notification");
            }
            out.push_back(trigger);
            out.push_back("END:VALARM");
        }
    }
    return out;
}

// Which property names a group replaces.
std::vector<std::string> GroupNames(const std::string& group)
{
    if (group == "DTSTART") {
        return {"DTSTART", "DTEND", "DURATION"};
    }
    return {group};
}

// The event's text: from its lines as read with the changed groups replaced, or whole for a
// new event.
std::string EventText(const Event& e, const Event* loaded, const std::string& raw, const std::string& nl)
{
    std::vector<Chunk> chunks;
    if (loaded != nullptr) {
        const std::vector<ical::Line> lines = ical::SplitLines(raw);
        int depth = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            ical::Property p;
            const bool ok = ical::ParseProperty(lines[i].text, &p);
            const std::string piece = raw.substr(lines[i].begin, lines[i].end - lines[i].begin);
            const std::string value = ok ? Upper(p.value) : std::string();
            if (ok && p.name == "BEGIN" && i > 0) {
                if (depth++ == 0) {
                    chunks.push_back(Chunk{value == "VALARM" ? "VALARM" : "BEGIN:" + value, piece});
                    continue;
                }
            } else if (ok && p.name == "END" && i + 1 < lines.size()) {
                --depth;
                chunks.back().text += piece;
                continue;
            }
            if (depth > 0) {
                chunks.back().text += piece;
                continue;
            }
            chunks.push_back(Chunk{ok ? p.name : std::string(), piece});
        }
    } else {
        chunks.push_back(Chunk{"BEGIN", "BEGIN:VEVENT" + nl});
        chunks.push_back(Chunk{"END", "END:VEVENT"});
    }
    if (chunks.empty() || chunks.back().name != "END") {
        chunks.push_back(Chunk{"END", nl + "END:VEVENT"}); // cannot happen for a component read
    }

    std::vector<std::string> groups;
    auto changed = [&](bool differs, const char* group) {
        if (loaded == nullptr || differs) {
            groups.push_back(group);
        }
    };
    changed(false, "DTSTART");
    if (loaded != nullptr && (e.start != loaded->start || e.end != loaded->end)) {
        groups.push_back("DTSTART");
    }
    changed(e.rrule != (loaded ? loaded->rrule : ""), "RRULE");
    changed(e.exdates != (loaded ? loaded->exdates : std::vector<EventTime>{}), "EXDATE");
    changed(e.rdates != (loaded ? loaded->rdates : std::vector<EventTime>{}), "RDATE");
    changed(e.recurrenceId != (loaded ? loaded->recurrenceId : EventTime{}), "RECURRENCE-ID");
    groups.push_back("DTSTAMP");
    changed(loaded && e.uid != loaded->uid, "UID");
    changed(loaded && e.summary != loaded->summary, "SUMMARY");
    changed(loaded && e.location != loaded->location, "LOCATION");
    changed(loaded && e.description != loaded->description, "DESCRIPTION");
    changed(loaded && e.categories != loaded->categories, "CATEGORIES");
    groups.push_back("LAST-MODIFIED");
    changed(loaded && e.reminders != loaded->reminders, "VALARM");

    const std::string now = NowUtc();
    for (const std::string& group : groups) {
        const std::vector<std::string> names = GroupNames(group);
        std::size_t at = chunks.size() - 1; // before END:VEVENT, or where the group stood
        bool found = false;
        for (std::size_t i = 0; i < chunks.size();) {
            if (std::find(names.begin(), names.end(), chunks[i].name) != names.end()) {
                if (!found) {
                    at = i;
                    found = true;
                }
                chunks.erase(chunks.begin() + static_cast<long>(i));
            } else {
                ++i;
            }
        }
        if (group == "VALARM" && !found) {
            at = chunks.size() - 1;
        }
        std::string text;
        for (const std::string& line : GroupLines(group, e, now)) {
            text += ical::Fold(line, nl) + nl;
        }
        if (!text.empty()) {
            chunks.insert(chunks.begin() + static_cast<long>(at), Chunk{group, text});
        }
    }
    // Libical's notes about lines it could not read do not belong in the file.
    std::string out;
    for (const Chunk& c : chunks) {
        if (c.name != "X-LIC-ERROR") {
            out += c.text;
        }
    }
    return out;
}

} // namespace

bool CalendarFile::BuildText(std::string* text, std::string& error)
{
    const std::string nl = m_impl->newline;
    // The events by their place in the file, and the new ones in model order.
    std::map<int, Event*> byOrder;
    std::vector<Event*> fresh;
    for (Event& e : events) {
        std::vector<Event*> group{&e};
        for (Event& m : e.movedInstances) {
            group.push_back(&m);
        }
        for (Event* g : group) {
            if (g->rrule.empty() && g->repeat.kind != 0 &&
                (!g->m_loaded || !(g->repeat == g->m_loaded->fields.repeat))) {
                g->rrule = RuleFromPattern(g->repeat);
            } else if (g->m_loaded && g->rrule == g->m_loaded->fields.rrule &&
                       !(g->repeat == g->m_loaded->fields.repeat)) {
                g->rrule = RuleFromPattern(g->repeat);
            }
            // An event read without a UID keeps its text as it was; one written from its fields
            // gets a UID.
            if (g->uid.empty() && !(g->m_order >= 0 && g->m_loaded && SameFields(*g, g->m_loaded->fields))) {
                g->uid = g != &e ? e.uid : NewUid();
            }
            if (!g->start.IsSet()) {
                error = m_path + ": the event \"" + g->summary + "\" has no start";
                return false;
            }
            if (g->m_order >= 0 && g->m_loaded && !byOrder.count(g->m_order)) {
                byOrder[g->m_order] = g;
            } else {
                fresh.push_back(g);
            }
        }
    }
    auto eventText = [&](Event* e) {
        const Event* loaded = e->m_order >= 0 && e->m_loaded ? &e->m_loaded->fields : nullptr;
        if (loaded != nullptr && SameFields(*e, *loaded)) {
            return e->m_raw;
        }
        return EventText(*e, loaded, loaded ? e->m_raw : std::string(), nl);
    };
    auto definitionLine = [&](const char* name, const std::string& value) {
        return value.empty() ? std::string()
                             : ical::Fold(std::string(name) + ":" + ical::Escape(value), nl) + nl;
    };

    std::string out;
    const std::string& src = m_impl->text;
    if (src.empty()) {
        out = "BEGIN:VCALENDAR" + nl + "PRODID:-//Ferrywise//Google Calendar helper//EN" + nl +
              "VERSION:2.0" + nl + "CALSCALE:GREGORIAN" + nl + "METHOD:PUBLISH" + nl +
              definitionLine("X-WR-CALNAME", definition.title) +
              definitionLine("X-WR-TIMEZONE", definition.timeZone) +
              definitionLine("X-WR-CALDESC", definition.summary);
        for (Event* e : fresh) {
            out += eventText(e) + nl;
        }
        out += "END:VCALENDAR" + nl;
        *text = std::move(out);
        return true;
    }

    const ical::Layout& layout = m_impl->layout;
    const std::size_t headerEnd =
        layout.components.empty() ? layout.lines[layout.closeLine].begin : layout.components[0].begin;
    if (definition == m_impl->loadedDefinition) {
        out = src.substr(0, headerEnd);
    } else {
        bool title = false, summary = false, zone = false;
        for (const ical::Line& l : layout.lines) {
            if (l.begin >= headerEnd) {
                break;
            }
            ical::Property p;
            const bool ok = ical::ParseProperty(l.text, &p);
            if (ok && p.name == "X-WR-CALNAME") {
                out += title ? "" : definitionLine("X-WR-CALNAME", definition.title);
                title = true;
            } else if (ok && p.name == "X-WR-CALDESC") {
                out += summary ? "" : definitionLine("X-WR-CALDESC", definition.summary);
                summary = true;
            } else if (ok && p.name == "X-WR-TIMEZONE") {
                out += zone ? "" : definitionLine("X-WR-TIMEZONE", definition.timeZone);
                zone = true;
            } else {
                out += src.substr(l.begin, l.end - l.begin);
            }
        }
        out += (title ? "" : definitionLine("X-WR-CALNAME", definition.title)) +
               (zone ? "" : definitionLine("X-WR-TIMEZONE", definition.timeZone)) +
               (summary ? "" : definitionLine("X-WR-CALDESC", definition.summary));
    }
    for (std::size_t ci = 0; ci < layout.components.size(); ++ci) {
        const ical::Component& c = layout.components[ci];
        const std::size_t gapEnd = ci + 1 < layout.components.size() ? layout.components[ci + 1].begin
                                                                     : layout.lines[layout.closeLine].begin;
        const std::string breakText = src.substr(c.end, c.endBreak - c.end);
        const std::string lineBreak = breakText.empty() ? nl : breakText;
        if (c.name == "VEVENT") {
            const auto it = byOrder.find(static_cast<int>(ci));
            if (it != byOrder.end()) {
                out += eventText(it->second) + lineBreak;
            }
        } else {
            out += src.substr(c.begin, c.endBreak - c.begin);
            if (breakText.empty()) {
                out += nl;
            }
        }
        out += src.substr(c.endBreak, gapEnd - c.endBreak); // calendar lines between components
    }
    for (Event* e : fresh) {
        out += eventText(e) + nl;
    }
    out += src.substr(layout.lines[layout.closeLine].begin);
    *text = std::move(out);
    return true;
}

bool CalendarFile::Save(std::string& error, const std::string& path)
{
    const std::string target = path.empty() ? m_path : path;
    if (target.empty()) {
        error = "The calendar has no file to be written into";
        return false;
    }
    std::string text;
    if (!BuildText(&text, error)) {
        return false;
    }
    if (!platform::WriteFileAtomically(target, text)) {
        error = target + ": the file cannot be written";
        return false;
    }
    CalendarFile reread;
    if (!reread.LoadText(text, target, error)) {
        return false;
    }
    reread.definition.id = definition.id;
    reread.m_impl->loadedDefinition.id = definition.id;
    *this = std::move(reread);
    return true;
}

} // namespace gcal
