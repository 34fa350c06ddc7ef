#include "google/serve/GoogleCalendarHelper.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <vector>

#include "google/serve/GoogleExport.h"
#include "kit/HelperSession.h"
#include "misc/CxDebugUtil.h"
#include "misc/CxFile.h"
#include "platform/CodePage.h"
#include "platform/OleDate.h"

namespace gexport {

using gcal::CalendarFile;
using gcal::Event;
using gcal::EventTime;
using gcal::TimeForm;

namespace {

double Ole(const CalendarFile& cal, const EventTime& t)
{
    double ole = 0;
    return t.IsSet() && cal.OleDate(t, &ole) ? ole : 0;
}

// The wall-clock time of this machine as a floating time (a date for an all-day value).
EventTime FromOle(double ole, bool date)
{
    SYSTEMTIME st{};
    if (ole == 0 || !std::isfinite(ole) || !platform::VariantTimeToSystemTime(ole, &st)) {
        return {};
    }
    return date ? EventTime::MakeDate(st.wYear, st.wMonth, st.wDay)
                : EventTime::MakeFloating(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
}

std::string JoinCategories(const std::vector<std::string>& categories)
{
    std::string text;
    for (const std::string& c : categories) {
        text += (text.empty() ? "" : ", ") + c;
    }
    return text;
}

std::vector<std::string> SplitCategories(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string c = text.substr(start, end - start);
        c.erase(0, c.find_first_not_of(' '));
        c.erase(c.find_last_not_of(' ') + 1);
        if (!c.empty()) {
            out.push_back(c);
        }
        start = end + 1;
    }
    return out;
}

// The recurrence text with DTSTART and DTEND as local wall-clock time, cut at a line's end
// to fit the record.
std::string RecordRecurrenceText(const CalendarFile& cal, const Event& e, double start, double end)
{
    const std::string text = cal.RecurrenceText(e);
    if (text.empty()) {
        return text;
    }
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t eol = text.find("\r\n", pos);
        if (eol == std::string::npos) {
            eol = text.size();
        }
        std::string line = text.substr(pos, eol - pos);
        pos = eol + 2;
        const bool timed = !e.start.IsDate();
        if (timed && line.starts_with("DTSTART")) {
            line = gcal::FormatTimeLine("DTSTART", FromOle(start, false));
        } else if (timed && line.starts_with("DTEND")) {
            line = gcal::FormatTimeLine("DTEND", FromOle(end, false));
        }
        const std::string next = (out.empty() ? "" : "\r\n") + line;
        if (out.size() + next.size() >= sizeof(GDateRec::Recurrence)) {
            break;
        }
        out += next;
    }
    return out;
}

} // namespace

void EventToRecord(const CalendarFile& cal, const Event& e, GDateRec& r)
{
    std::memset(&r, 0, sizeof r);
    r.ChangeMark = GDateChangeMarkLoaded;
    ToRecordText(e.IsMovedInstance() ? gcal::FormatTimeValue(e.recurrenceId) : std::string(), r.Kept4);
    ToRecordText(e.summary, r.Subject);
    ToRecordText(e.location, r.Location);
    r.Start = Ole(cal, e.start);
    r.End = Ole(cal, e.end);
    r.Kept9 = e.IsAllDay() ? GDateAllDayMark : 0;
    const std::size_t reminders = std::min<std::size_t>(e.reminders.size(), 3);
    r.ReminderCount = static_cast<int>(reminders);
    for (std::size_t i = 0; i < reminders; ++i) {
        r.ReminderMethods[i] = e.reminders[i].method == gcal::kReminderPopup ? GDateReminderPopup : 0;
        r.ReminderAmounts[i] = e.reminders[i].amount;
        r.ReminderUnits[i] = e.reminders[i].unit;
    }
    ToRecordText(RecordRecurrenceText(cal, e, r.Start, r.End), r.Recurrence);
    r.RepeatKind = e.repeat.kind;
    r.HasEnd = e.repeat.hasEnd ? 1 : 0;
    r.PatternStart = e.repeat.kind != 0 ? Ole(cal, e.repeat.patternStart) : 0;
    r.PatternEnd = e.repeat.hasEnd ? Ole(cal, e.repeat.patternEnd) : 0;
    r.Interval = e.repeat.interval;
    r.DayOfWeekMask = e.repeat.dayOfWeekMask;
    r.DayOfMonth = e.repeat.dayOfMonth;
    r.MonthOfYear = e.repeat.monthOfYear;
    r.Instance = e.repeat.instance;
    ToRecordText(e.uid, r.Kept26);
    ToRecordText(cal.definition.id, r.Calendar);
    ToRecordText(e.description, r.Body);
    ToRecordText(JoinCategories(e.categories), r.Categories);
}

void ApplyRecord(const GDateRec& s, const CalendarFile& cal, Event& e)
{
    auto loaded = std::make_unique<GDateRec>();
    EventToRecord(cal, e, *loaded);
    const GDateRec& l = *loaded;
    auto text = [](const auto& now, const auto& was, std::string& field) {
        if (strncmp(now, was, sizeof now) != 0) {
            field = FromRecordText(now);
        }
    };
    text(s.Subject, l.Subject, e.summary);
    text(s.Location, l.Location, e.location);
    text(s.Body, l.Body, e.description);
    if (strncmp(s.Categories, l.Categories, sizeof s.Categories) != 0) {
        e.categories = SplitCategories(FromRecordText(s.Categories));
    }
    const bool allDay = s.Kept9 == GDateAllDayMark;
    if (s.Start != l.Start || s.Kept9 != l.Kept9) {
        e.start = FromOle(s.Start, allDay);
    }
    if (s.End != l.End || s.Kept9 != l.Kept9) {
        e.end = FromOle(s.End, allDay);
    }
    bool remindersChanged = s.ReminderCount != l.ReminderCount;
    for (int i = 0; i < 3 && !remindersChanged; ++i) {
        remindersChanged = s.ReminderMethods[i] != l.ReminderMethods[i] ||
                           s.ReminderAmounts[i] != l.ReminderAmounts[i] ||
                           s.ReminderUnits[i] != l.ReminderUnits[i];
    }
    if (remindersChanged) {
        e.reminders.clear();
        for (int i = 0; i < std::clamp(s.ReminderCount, 0, 3); ++i) {
            gcal::Reminder r;
            r.method =
                s.ReminderMethods[i] == GDateReminderPopup ? gcal::kReminderPopup : gcal::kReminderEmail;
            r.amount = s.ReminderAmounts[i];
            r.unit = std::clamp(s.ReminderUnits[i], 0, 3);
            e.reminders.push_back(r);
        }
    }
    const bool repeatChanged = s.RepeatKind != l.RepeatKind || s.HasEnd != l.HasEnd ||
                               s.PatternEnd != l.PatternEnd || s.Interval != l.Interval ||
                               s.DayOfWeekMask != l.DayOfWeekMask || s.DayOfMonth != l.DayOfMonth ||
                               s.MonthOfYear != l.MonthOfYear || s.Instance != l.Instance;
    if (repeatChanged) {
        gcal::RepeatPattern p;
        p.kind = s.RepeatKind >= 0 && s.RepeatKind <= 6 ? s.RepeatKind : 0;
        p.interval = s.Interval;
        p.dayOfWeekMask = s.DayOfWeekMask;
        p.dayOfMonth = s.DayOfMonth;
        p.monthOfYear = s.MonthOfYear;
        p.instance = s.Instance;
        p.hasEnd = s.HasEnd != 0;
        p.patternStart = e.start;
        if (p.hasEnd) {
            // UNTIL of an all-day series is a date; of a timed one, the end of that day.
            p.patternEnd = FromOle(s.PatternEnd, allDay);
        }
        e.repeat = p;
        e.rrule.clear(); // written again from the pattern
        if (p.kind == 0) {
            e.exdates.clear();
            e.rdates.clear();
        }
    }
}

namespace {

struct Account
{
    std::vector<CalendarFile> calendars;
};

bool ReadAccount(HelperSession& session, const std::string& folder, Account& account)
{
    const std::vector<std::string> paths = FindExportFiles(folder, {".ics"});
    if (paths.empty()) {
        session.ReportError("The folder " + folder +
                            " holds no exported Google calendars: no iCalendar (.ics) file was found in it.");
        return false;
    }
    for (const std::string& path : paths) {
        CalendarFile cal;
        std::string error;
        if (!cal.Load(path, error)) {
            session.ReportError("The calendar file " + error + ".");
            return false;
        }
        for (const std::string& warning : cal.warnings) {
            FW_LOG(1, "%s", warning.c_str());
        }
        FW_LOG(2, "%s: %d events.", path.c_str(), static_cast<int>(cal.events.size()));
        account.calendars.push_back(std::move(cal));
    }
    return true;
}

template <typename Visit> void ForEachEvent(Account& account, Visit visit)
{
    for (CalendarFile& cal : account.calendars) {
        for (Event& e : cal.events) {
            visit(cal, e);
            for (Event& moved : e.movedInstances) {
                visit(cal, moved);
            }
        }
    }
}

bool LoadEvents(HelperSession& session, Account& account)
{
    const std::string calPath = session.Folder() + session.Params().Text(CxGAppBaseUtil::ParamCalendarFile);
    std::vector<GCalRec> definitions(account.calendars.size());
    for (std::size_t i = 0; i < account.calendars.size(); ++i) {
        const gcal::CalendarDefinition& d = account.calendars[i].definition;
        std::memset(&definitions[i], 0, sizeof definitions[i]);
        ToRecordText(d.id, definitions[i].CalendarID);
        ToRecordText(d.title, definitions[i].Title);
        ToRecordText(d.summary, definitions[i].Summary);
        ToRecordText(d.timeZone, definitions[i].TimeZone);
    }
    CxFile calFile;
    if (!calFile.Open(calPath.c_str(), "wb") || !SaveGCalRecordFile(calFile, definitions) ||
        !calFile.Close()) {
        session.ReportError("Cannot write the calendar definitions file " + calPath + ".");
        return false;
    }

    int total = 0;
    ForEachEvent(account, [&](CalendarFile&, Event&) { ++total; });
    const std::string recordPath = session.RecordPath();
    CxFile file;
    if (!file.Open(recordPath.c_str(), "wb")) {
        session.ReportError("Cannot write the record file " + recordPath + ".");
        return false;
    }
    bool ok = file.WriteInt(total);
    auto rec = std::make_unique<GDateRec>();
    int written = 0;
    const char* what = "Loading Google calendar";
    bool stopped = !session.Progress(what, 0, total);
    ForEachEvent(account, [&](CalendarFile& cal, Event& e) {
        if (!ok || stopped) {
            return;
        }
        const platform::AnsiLossWatch loss;
        EventToRecord(cal, e, *rec);
        if (loss.Lost()) {
            session.NoteLossyRecord();
        }
        ok = SaveGDateRecord(file, *rec);
        ++written;
        stopped = !session.Progress(what, written, total);
    });
    if (stopped || !ok) {
        file.Close();
        std::remove(recordPath.c_str()); // half a record file must not pass for the export
        session.ReportError(stopped ? "Loading Google calendar was stopped."
                                    : "Cannot write the record file " + recordPath + ".");
        return false;
    }
    if (!file.Close()) {
        session.ReportError("Cannot write the record file " + recordPath + ".");
        return false;
    }
    FW_LOG(2, "Wrote %d Google calendar events to %s", total, recordPath.c_str());
    return true;
}

bool SubmitEvents(HelperSession& session, Account& account)
{
    const std::string recordPath = session.RecordPath();
    CxFile file;
    std::vector<GDateRec> records;
    if (!file.Open(recordPath.c_str(), "rb") || !LoadGDateRecordFile(file, records)) {
        session.ReportError("The record file " + recordPath +
                            " cannot be read, or is damaged; nothing was changed.");
        return false;
    }
    std::set<std::size_t> changed;
    int added = 0;
    int updated = 0;
    for (std::size_t n = 0; n < records.size(); ++n) {
        const GDateRec& rec = records[n];
        if (rec.ChangeMark != GDateChangeMarkSubmit) {
            continue;
        }
        const std::string calendarId = FromRecordText(rec.Calendar);
        std::size_t target = account.calendars.size();
        for (std::size_t c = 0; c < account.calendars.size(); ++c) {
            if (account.calendars[c].definition.id == calendarId) {
                target = c;
                break;
            }
        }
        if (rec.Action == GDateActionNew) {
            if (target == account.calendars.size()) {
                target = 0; // the default calendar: the first file
            }
            Event e;
            ApplyRecord(rec, account.calendars[target], e);
            account.calendars[target].events.push_back(std::move(e));
            changed.insert(target);
            ++added;
        } else if (rec.Action == GDateActionChanged) {
            const std::string uid = FromRecordText(rec.Kept26);
            const std::string recurrenceId = FromRecordText(rec.Kept4);
            Event* found = nullptr;
            std::size_t where = 0;
            ForEachEvent(account, [&](CalendarFile& cal, Event& e) {
                const std::string id =
                    e.IsMovedInstance() ? gcal::FormatTimeValue(e.recurrenceId) : std::string();
                if (found == nullptr && e.uid == uid && id == recurrenceId &&
                    (calendarId.empty() || cal.definition.id == calendarId)) {
                    found = &e;
                    where = static_cast<std::size_t>(&cal - account.calendars.data());
                }
            });
            if (found == nullptr) {
                session.ReportError("Record " + std::to_string(n + 1) + " names the event " + uid +
                                    ", which the export does not hold; nothing was changed.");
                return false;
            }
            ApplyRecord(rec, account.calendars[where], *found);
            changed.insert(where);
            ++updated;
        } else {
            session.ReportError("Record " + std::to_string(n + 1) + " has the unknown action " +
                                std::to_string(rec.Action) + "; nothing was changed.");
            return false;
        }
    }
    // Every file is built first, so that a calendar that cannot be written changes none.
    for (std::size_t c : changed) {
        std::string text;
        std::string error;
        if (!account.calendars[c].BuildText(&text, error)) {
            session.ReportError(error + "; nothing was changed.");
            return false;
        }
    }
    for (std::size_t c : changed) {
        std::string error;
        if (!account.calendars[c].Save(error)) {
            session.ReportError(error);
            return false;
        }
    }
    FW_LOG(2, "Google calendar: %d added, %d changed.", added, updated);
    return true;
}

} // namespace

int RunGoogleCalendarHelper(int argc, char** argv)
{
    return RunExportHelper(argc, argv, GDateExchangeFiles.controlFile, "Google calendar",
                           [](HelperSession& session, const std::string& folder, bool load) {
                               Account account;
                               if (!ReadAccount(session, folder, account)) {
                                   return;
                               }
                               if (load) {
                                   LoadEvents(session, account);
                               } else {
                                   SubmitEvents(session, account);
                               }
                           });
}

} // namespace gexport
