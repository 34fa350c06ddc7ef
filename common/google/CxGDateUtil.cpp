#include "google/CxGDateUtil.h"

#include <cstdio>
#include <cstring>

#include "google/GGTimeZones.h"
#include "misc/CxDebugUtil.h"
#include "misc/CxFile.h"
#include "platform/OleDate.h"

namespace {

// The load's start and end; the failures are logged by the steps that fail.
const CxHelperWords kWords = {"Start loading Google Calendar.", "Load Google Calendar successfully.", nullptr,
                              "Failed to open file: %s", "Failed to open file:%s"};

SYSTEMTIME ToSystemTime(double date)
{
    SYSTEMTIME time{};
    platform::VariantTimeToSystemTime(date, &time);
    return time;
}

// 2 and 1 stay, anything else is 0.
int Attribute(int value)
{
    return value == 1 || value == 2 ? value : 0;
}

int RepeatKind(int kind)
{
    return kind >= 0 && kind <= 6 ? kind : 0;
}

int ReminderCount(int count)
{
    return count < 0 ? 0 : count > 3 ? 3 : count;
}

} // namespace

void GDateToComm(const GDateRec& native, CommDateRec& rec)
{
    CopyText(rec.Subject, native.Subject);
    CopyText(rec.Location, native.Location);
    rec.Start = ToSystemTime(native.Start);
    rec.End = ToSystemTime(native.End);
    rec.AllDay = native.Kept9 == GDateAllDayMark ? 1 : 0;
    rec.GoogleAttrB = Attribute(native.AttrB);
    rec.GoogleAttrA = Attribute(native.AttrA);

    RecurrenceRule& rule = rec.Recurrence;
    rule.Kind = RepeatKind(native.RepeatKind);
    rule.HasEnd = native.HasEnd != 0 ? 1 : 0;
    rule.PatternStart = ToSystemTime(native.PatternStart);
    rule.PatternEnd = ToSystemTime(native.PatternEnd);
    rule.Interval = native.Interval;
    rule.DayOfWeekMask = native.DayOfWeekMask;
    rule.DayOfMonth = native.DayOfMonth;
    rule.MonthOfYear = native.MonthOfYear;
    rule.Instance = native.Instance;

    rec.ReminderCount = ReminderCount(native.ReminderCount);
    for (int i = 0; i < rec.ReminderCount; ++i) {
        Reminder& reminder = rec.Reminders[i];
        reminder.Method = native.ReminderMethods[i] == GDateReminderPopup ? 1 : 2;
        reminder.Amount = native.ReminderAmounts[i];
        const int unit = native.ReminderUnits[i];
        reminder.Unit = unit >= GDateUnitMinutes && unit <= GDateUnitWeeks ? unit + 1 : 1;
    }

    CopyText(rec.Notes, native.Body);
    CopyText(rec.Categories, native.Categories);
    rec.SourceType = SourceGoogle;
}

void CommToGDate(const CommDateRec& rec, GDateRec& native)
{
    CopyText(native.Subject, rec.Subject);
    CopyText(native.Location, rec.Location);
    // A time that is not a valid date leaves the native date as it was.
    platform::SystemTimeToVariantTime(&rec.Start, &native.Start);
    platform::SystemTimeToVariantTime(&rec.End, &native.End);
    native.Kept9 = rec.AllDay != 0 ? GDateAllDayMark : 0;
    native.AttrB = Attribute(rec.GoogleAttrB);
    native.AttrA = Attribute(rec.GoogleAttrA);

    const RecurrenceRule& rule = rec.Recurrence;
    native.RepeatKind = RepeatKind(rule.Kind);
    native.HasEnd = rule.HasEnd != 0 ? 1 : 0;
    // A pattern date that is not a valid date is none (0).
    if (!platform::SystemTimeToVariantTime(&rule.PatternStart, &native.PatternStart)) {
        native.PatternStart = 0;
    }
    if (rule.HasEnd == 0 || !platform::SystemTimeToVariantTime(&rule.PatternEnd, &native.PatternEnd)) {
        native.PatternEnd = 0;
    }
    native.Interval = rule.Interval;
    native.DayOfWeekMask = rule.DayOfWeekMask;
    native.DayOfMonth = rule.DayOfMonth;
    native.MonthOfYear = rule.MonthOfYear;
    native.Instance = rule.Instance;

    native.ReminderCount = ReminderCount(rec.ReminderCount);
    for (int i = 0; i < 3; ++i) {
        const bool used = i < native.ReminderCount;
        const Reminder& reminder = rec.Reminders[i];
        native.ReminderMethods[i] = used && reminder.Method == 1 ? GDateReminderPopup : 0;
        native.ReminderAmounts[i] = used ? reminder.Amount : 0;
        native.ReminderUnits[i] = used && reminder.Unit >= 1 && reminder.Unit <= 4 ? reminder.Unit - 1 : 0;
    }

    CopyText(native.Body, rec.Notes);
    CopyText(native.Categories, rec.Categories);
}

CxRecordLines DescribeGDateEvent(const CommDateRec& record)
{
    CxRecordLines lines;
    if (record.NativeRecord == nullptr) {
        return lines;
    }
    for (const GDateFieldDesc& field : GDateFields()) {
        lines.push_back(CxRecordLine{field.Name, GDateFieldText(field, record.NativeRecord)});
    }
    return lines;
}

CxGDateUtil::CxGDateUtil() : Base(GDateExchangeFiles, kWords, GCalFileName) {}

CxGDateUtil::~CxGDateUtil()
{
    ReleaseCalendars();
}

void CxGDateUtil::ReleaseCalendars()
{
    m_calendars.clear();
    m_nextCalendar = 0;
    std::remove(FolderFile(nullptr, GetCalendarFile()).c_str());
}

void CxGDateUtil::Clear()
{
    ReleaseCalendars();
    Base::Clear();
}

std::string CxGDateUtil::FolderFile(const char* fileName, const char* ownName) const
{
    return std::string(GetFolder()) + (fileName != nullptr && fileName[0] != '\0' ? fileName : ownName);
}

bool CxGDateUtil::LoadFromFile()
{
    if (!LoadEvents()) {
        FW_LOG(0, "Failed to load Calendar events information from file.");
        return false;
    }
    if (!LoadCalendars()) {
        FW_LOG(0, "Failed to load Calendar definition information from file.");
        return false;
    }
    return true;
}

bool CxGDateUtil::SaveToFile()
{
    if (!SaveEvents()) {
        FW_LOG(0, "Failed to save Calendar records information to temperary file.");
        return false;
    }
    if (!SaveCalendars()) {
        FW_LOG(0, "Failed to save Calendar definition to temperary file.");
        return false;
    }
    return true;
}

bool CxGDateUtil::Commit()
{
    if (!IsDirty()) {
        return true;
    }
    if (!SaveToFile()) {
        return false;
    }
    SetCommand(CommandSubmit);
    if (!InvokeHelper_()) {
        return false;
    }
    SetDirty(false);
    return true;
}

bool CxGDateUtil::LoadEvents(const char* fileName)
{
    const std::string path = FolderFile(fileName, Files().dataFile);
    FW_LOG(2, "Start loading Calendar events information from file: %s", path.c_str());
    if (!LoadRecordsFrom_(path)) {
        return false;
    }
    FW_LOG(2, "There are %d event records in total", GetNativeCount());
    FW_LOG(2, "Load Calendar events information from file successfully.");
    return true;
}

bool CxGDateUtil::SaveEvents(const char* fileName)
{
    const std::string path = FolderFile(fileName, Files().dataFile);
    FW_LOG(2, "Start saving Calendar events information to file: %s", path.c_str());
    FW_LOG(2, "There are %d event records in total.", GetNativeCount());
    if (!SaveRecordsTo_(path)) {
        return false;
    }
    FW_LOG(2, "Save Calendar events information to file successfully.");
    return true;
}

bool CxGDateUtil::LoadCalendars(const char* fileName)
{
    const std::string path = FolderFile(fileName, GetCalendarFile());
    FW_LOG(2, "Start loading Calendar definition information from file: %s", path.c_str());
    CxFile file;
    if (!file.Open(path.c_str(), "rb")) {
        FW_LOG(0, "Failed to open file: %s", path.c_str());
        return false;
    }
    int count = 0;
    file.ReadInt(&count);
    FW_LOG(2, "There are %d calendars in total.", count);
    m_calendars.clear();
    m_nextCalendar = 0;
    // The count is only a promise: a file that ends early ends the loop.
    for (int i = 0; i < count && !file.AtEnd(); ++i) {
        GCalRec definition;
        std::memset(&definition, 0, sizeof definition);
        LoadGCalRecord(file, definition);
        m_calendars.push_back(definition);
    }
    file.Close();
    FW_LOG(2, "Load Calendar definition information successfully.");
    return true;
}

bool CxGDateUtil::SaveCalendars(const char* fileName)
{
    const std::string path = FolderFile(fileName, GetCalendarFile());
    FW_LOG(2, "Start saving Calendar definition information to file: %s", path.c_str());
    CxFile file;
    if (!file.Open(path.c_str(), "wb")) {
        FW_LOG(2, "Failed to open file: %s", path.c_str());
        return false;
    }
    const bool written = SaveGCalRecordFile(file, m_calendars);
    if (!file.Close() || !written) {
        return false;
    }
    FW_LOG(2, "Save Calendar definition information to file successfully.");
    return true;
}

const GCalRec* CxGDateUtil::FirstCalendar()
{
    m_nextCalendar = 0;
    return NextCalendar();
}

const GCalRec* CxGDateUtil::NextCalendar()
{
    if (m_nextCalendar >= m_calendars.size()) {
        return nullptr;
    }
    return &m_calendars[m_nextCalendar++];
}

const GGRecurrenceZone* CxGDateUtil::CurrentZone_()
{
    if (m_szZoneName[0] == '\0') {
        if (m_calendars.empty()) {
            return nullptr;
        }
        std::snprintf(m_szZoneName, sizeof m_szZoneName, "%.*s",
                      static_cast<int>(FieldText(m_calendars.front().TimeZone).size()),
                      m_calendars.front().TimeZone);
    }
    if (m_pZoneText == nullptr) {
        m_pZoneText = FindGGTimeZone(m_szZoneName);
    }
    m_zone = GGRecurrenceZone{m_szZoneName, m_pZoneText};
    return &m_zone;
}

bool CxGDateUtil::BuildRecurrenceText(GDateRec& rec)
{
    return ::BuildRecurrenceText(rec, m_defaultCalendar, [this] { return CurrentZone_(); });
}

bool CxGDateUtil::ParseRecurrenceText(GDateRec& rec)
{
    return ::ParseRecurrenceText(rec);
}

bool CxGDateUtil::LoadRecFromFile_(CxFile& file, GDateRec& native)
{
    const bool whole = LoadGDateRecord(file, native);
    // A text that cannot be read leaves the structured fields as the helper wrote them.
    ParseRecurrenceText(native);
    native.ChangeMark = GDateChangeMarkLoaded;
    return whole;
}

void CxGDateUtil::CommToNative_(const CommDateRec& record, GDateRec& native)
{
    CommToGDate(record, native);
    // Without a calendar definition the event keeps the text it had (none for a new one).
    BuildRecurrenceText(native);
}
