// The Google calendar connector over its record files, without a real helper: each
// connector is given a launcher whose helper ends at once, so it works on the files as they
// are. The conversions both ways, the load and the submit with their log lines, and the time
// zone that new recurrence texts name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/LogLines.h"
#include "common/TempHome.h"
#include "exchange/CxHelperLauncher.h"
#include "google/CxGDateUtil.h"
#include "google/GGApp.h"
#include "google/GGTimeZones.h"
#include "misc/CxDebugUtil.h"
#include "misc/CxFile.h"
#include "platform/OleDate.h"

namespace {

// The helper's stand-in: it ends at once, having moved the files staged for the next load
// (if any) into the working folder, as a helper writes them.
class ServesStaged : public CxHelperLauncher
{
public:
    ServesStaged(std::string stage, std::string folder)
        : m_stage(std::move(stage)), m_folder(std::move(folder))
    {
    }

    CxHelperRunResult Run(const std::vector<std::string>&, const std::string&, std::uint32_t,
                          const StartedFn& started) override
    {
        for (const char* name : {"GDate.dat", "GCal.dat"}) {
            std::rename((m_stage + name).c_str(), (m_folder + name).c_str());
        }
        CxHelperRunResult result;
        result.started = true;
        result.ended = true;
        result.exitStatus = 0;
        result.processId = 1;
        started(result.processId);
        return result;
    }
    void Release() override {}

private:
    std::string m_stage;
    std::string m_folder;
};

SYSTEMTIME Time(int year, int month, int day, int hour = 0, int minute = 0)
{
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    return time;
}

double Ole(int year, int month, int day, int hour = 0, int minute = 0)
{
    const SYSTEMTIME time = Time(year, month, day, hour, minute);
    double date = 0;
    EXPECT_TRUE(platform::SystemTimeToVariantTime(&time, &date));
    return date;
}

GDateRec Native(const char* subject, double start)
{
    GDateRec rec;
    std::memset(&rec, 0, sizeof rec);
    rec.ChangeMark = 0;
    CopyText(rec.Kept4, std::string("id-") + subject);
    CopyText(rec.Subject, subject);
    rec.Start = start;
    rec.End = start + 1.0 / 24;
    return rec;
}

GCalRec Calendar(const char* id, const char* zone)
{
    GCalRec rec;
    std::memset(&rec, 0, sizeof rec);
    CopyText(rec.CalendarID, id);
    CopyText(rec.Title, id);
    CopyText(rec.TimeZone, zone);
    return rec;
}

CommDateRec Event(const char* subject, const SYSTEMTIME& start)
{
    CommDateRec rec{};
    CopyText(rec.Subject, subject);
    rec.Start = start;
    rec.End = start;
    rec.End.wHour = static_cast<WORD>(rec.End.wHour + 1);
    return rec;
}

// The store's record at an index, in load order.
const CommDateRec* At(CommDateMgr* store, int index)
{
    CommDateRec* rec = store->First();
    for (int i = 0; i < index && rec != nullptr; ++i) {
        rec = store->Next();
    }
    return rec;
}

class GGDateUtilTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = m_home.Path("work/");
        m_home.WriteFile("work/.keep", "");
        m_stage = m_home.Path("stage/");
        m_home.WriteFile("stage/.keep", "");
        setenv("FERRYWISE_HELPER_DIR", m_home.Path("nohelpers").c_str(), 1);
        g_debugLog.SetLogFolder(m_folder.c_str());
        g_debugLog.SetLogLevel(3);
        g_debugLog.EnableLog(true);
    }
    void TearDown() override
    {
        unsetenv("FERRYWISE_HELPER_DIR");
        g_debugLog.EnableLog(false);
    }

    std::unique_ptr<CxGDateUtil> Connector()
    {
        auto connector = std::make_unique<CxGDateUtil>();
        connector->SetHelperLauncher(std::make_unique<ServesStaged>(m_stage, m_folder));
        connector->SetFolder(m_folder.c_str());
        return connector;
    }
    // The files the helper writes on the next load.
    void WriteEvents(const std::vector<GDateRec>& events)
    {
        CxFile file;
        ASSERT_TRUE(file.Open((m_stage + "GDate.dat").c_str(), "wb"));
        ASSERT_TRUE(SaveGDateRecordFile(file, events));
        ASSERT_TRUE(file.Close());
    }
    void WriteCalendars(const std::vector<GCalRec>& calendars)
    {
        CxFile file;
        ASSERT_TRUE(file.Open((m_stage + "GCal.dat").c_str(), "wb"));
        ASSERT_TRUE(SaveGCalRecordFile(file, calendars));
        ASSERT_TRUE(file.Close());
    }
    std::vector<GDateRec> ReadEvents()
    {
        std::vector<GDateRec> events;
        CxFile file;
        EXPECT_TRUE(file.Open((m_folder + "GDate.dat").c_str(), "rb"));
        EXPECT_TRUE(LoadGDateRecordFile(file, events));
        return events;
    }
    std::vector<GCalRec> ReadCalendars()
    {
        std::vector<GCalRec> calendars;
        CxFile file;
        EXPECT_TRUE(file.Open((m_folder + "GCal.dat").c_str(), "rb"));
        EXPECT_TRUE(LoadGCalRecordFile(file, calendars));
        return calendars;
    }
    // The log's messages from the line that starts the given one on.
    std::vector<std::string> Messages()
    {
        std::vector<std::string> messages;
        for (const fwtest::LogLine& line : fwtest::ReadLogLines(m_folder + "appdebug.log")) {
            messages.push_back((line.failure ? "!!! " : "") + line.message);
        }
        return messages;
    }
    // Whether the log holds the lines in this order (other lines may lie between them).
    ::testing::AssertionResult LogHas(const std::vector<std::string>& expected)
    {
        const std::vector<std::string> messages = Messages();
        std::size_t at = 0;
        for (const std::string& line : expected) {
            while (at < messages.size() && messages[at] != line) {
                ++at;
            }
            if (at == messages.size()) {
                std::string log;
                for (const std::string& m : messages) {
                    log += m + "\n";
                }
                return ::testing::AssertionFailure() << "missing \"" << line << "\" in:\n" << log;
            }
            ++at;
        }
        return ::testing::AssertionSuccess();
    }

    fwtest::TempHome m_home;
    std::string m_folder;
    std::string m_stage;
};

TEST(GGDateConvert, NativeToCommon)
{
    struct Case
    {
        int native;
        int common;
    };
    GDateRec native = Native("Review", Ole(2013, 3, 1, 9));
    CopyText(native.Location, std::string(300, 'L'));
    CopyText(native.Body, std::string(9000, 'B'));
    CopyText(native.Categories, std::string(100, 'C'));
    native.RepeatKind = 4;
    native.HasEnd = 7;
    native.PatternStart = Ole(2013, 3, 1);
    native.PatternEnd = Ole(2013, 12, 31);
    native.Interval = 2;
    native.DayOfWeekMask = 34;
    native.DayOfMonth = 15;
    native.MonthOfYear = 3;
    native.Instance = 5;
    native.ReminderCount = 5; // at most three are taken
    const int methods[3] = {1, 0, 7};
    const int units[3] = {0, 3, 9};
    for (int i = 0; i < 3; ++i) {
        native.ReminderMethods[i] = methods[i];
        native.ReminderAmounts[i] = 10 * (i + 1);
        native.ReminderUnits[i] = units[i];
    }
    CommDateRec rec{};
    GDateToComm(native, rec);
    EXPECT_STREQ(rec.Subject, "Review");
    EXPECT_EQ(std::string(rec.Location), std::string(255, 'L'));
    EXPECT_EQ(std::string(rec.Notes), std::string(8191, 'B'));
    EXPECT_EQ(std::string(rec.Categories), std::string(63, 'C'));
    EXPECT_EQ(rec.Start.wHour, 9);
    EXPECT_EQ(rec.End.wHour, 10);
    EXPECT_EQ(rec.SourceType, SourceGoogle);
    EXPECT_EQ(rec.Recurrence.Kind, 4);
    EXPECT_EQ(rec.Recurrence.HasEnd, 1);
    EXPECT_EQ(rec.Recurrence.PatternEnd.wMonth, 12);
    EXPECT_EQ(rec.Recurrence.PatternStart.wDay, 1);
    EXPECT_EQ(rec.Recurrence.Interval, 2);
    EXPECT_EQ(rec.Recurrence.DayOfWeekMask, 34);
    EXPECT_EQ(rec.Recurrence.DayOfMonth, 15);
    EXPECT_EQ(rec.Recurrence.MonthOfYear, 3);
    EXPECT_EQ(rec.Recurrence.Instance, 5);
    ASSERT_EQ(rec.ReminderCount, 3);
    EXPECT_EQ(rec.Reminders[0].Method, 1);
    EXPECT_EQ(rec.Reminders[1].Method, 2);
    EXPECT_EQ(rec.Reminders[2].Method, 2);
    EXPECT_EQ(rec.Reminders[0].Unit, 1);
    EXPECT_EQ(rec.Reminders[1].Unit, 4);
    EXPECT_EQ(rec.Reminders[2].Unit, 1);
    EXPECT_EQ(rec.Reminders[2].Amount, 30);

    // Attributes keep 1 and 2; repeat kinds keep 0..6; anything else is 0.
    const Case attributes[] = {{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}};
    for (const Case& c : attributes) {
        native.AttrA = c.native;
        native.AttrB = c.native;
        GDateToComm(native, rec);
        EXPECT_EQ(rec.GoogleAttrA, c.common) << c.native;
        EXPECT_EQ(rec.GoogleAttrB, c.common) << c.native;
    }
    const Case kinds[] = {{0, 0}, {3, 3}, {6, 6}, {7, 0}, {-2, 0}};
    for (const Case& c : kinds) {
        native.RepeatKind = c.native;
        GDateToComm(native, rec);
        EXPECT_EQ(rec.Recurrence.Kind, c.common) << c.native;
    }
    // The helper marks an all-day event: it stays one in Lotus Notes.
    const Case allDay[] = {{0, 0}, {GDateAllDayMark, 1}, {7, 0}};
    for (const Case& c : allDay) {
        native.Kept9 = c.native;
        GDateToComm(native, rec);
        EXPECT_EQ(rec.AllDay, c.common) << c.native;
    }
}

TEST(GGDateConvert, CommonToNative)
{
    CommDateRec rec = Event("Planning", Time(2013, 3, 1, 9));
    CopyText(rec.Location, "Room 2");
    CopyText(rec.Notes, "agenda\r\nitems");
    CopyText(rec.Categories, "Work");
    rec.GoogleAttrA = 2;
    rec.GoogleAttrB = 5;
    rec.Recurrence.Kind = 9;
    rec.Recurrence.HasEnd = 0;
    rec.Recurrence.PatternEnd = Time(2014, 1, 1);
    rec.ReminderCount = 2;
    rec.Reminders[0] = Reminder{1, 15, 1};
    rec.Reminders[1] = Reminder{2, 2, 4};
    rec.Reminders[2] = Reminder{1, 9, 2}; // beyond the count
    GDateRec native = Native("old", Ole(2000, 1, 1));
    native.ReminderAmounts[2] = 44;
    CopyText(native.Kept26, "kept");
    CommToGDate(rec, native);
    EXPECT_STREQ(native.Subject, "Planning");
    EXPECT_STREQ(native.Location, "Room 2");
    EXPECT_STREQ(native.Body, "agenda\r\nitems");
    EXPECT_STREQ(native.Categories, "Work");
    EXPECT_STREQ(native.Kept26, "kept");
    EXPECT_DOUBLE_EQ(native.Start, Ole(2013, 3, 1, 9));
    EXPECT_DOUBLE_EQ(native.End, Ole(2013, 3, 1, 10));
    EXPECT_EQ(native.AttrA, 2);
    EXPECT_EQ(native.AttrB, 0);
    EXPECT_EQ(native.RepeatKind, 0);
    EXPECT_EQ(native.HasEnd, 0);
    EXPECT_EQ(native.PatternEnd, 0.0);
    EXPECT_EQ(native.ReminderCount, 2);
    EXPECT_EQ(native.ReminderMethods[0], 1);
    EXPECT_EQ(native.ReminderMethods[1], 0);
    EXPECT_EQ(native.ReminderAmounts[0], 15);
    EXPECT_EQ(native.ReminderAmounts[1], 2);
    EXPECT_EQ(native.ReminderUnits[0], 0);
    EXPECT_EQ(native.ReminderUnits[1], 3);
    EXPECT_EQ(native.ReminderAmounts[2], 0);

    // Units 1..4 are 0..3, anything else 0.
    const int units[][2] = {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {0, 0}, {5, 0}};
    for (const auto& unit : units) {
        rec.ReminderCount = 1;
        rec.Reminders[0].Unit = unit[0];
        CommToGDate(rec, native);
        EXPECT_EQ(native.ReminderUnits[0], unit[1]) << unit[0];
    }
    rec.Recurrence.Kind = 2;
    rec.Recurrence.HasEnd = 1;
    CommToGDate(rec, native);
    EXPECT_EQ(native.RepeatKind, 2);
    EXPECT_DOUBLE_EQ(native.PatternEnd, Ole(2014, 1, 1));
    EXPECT_EQ(native.Kept9, 0);
    rec.AllDay = 1;
    CommToGDate(rec, native);
    EXPECT_EQ(native.Kept9, GDateAllDayMark);
}

TEST_F(GGDateUtilTest, LoadReadsEventsWithTheirTextsAndTheDefinitions)
{
    GDateRec weekly = Native("Weekly", Ole(2013, 1, 1, 8));
    weekly.RepeatKind = 1;
    weekly.Interval = 9;
    weekly.ChangeMark = 3;
    CopyText(weekly.Recurrence, "DTSTART;TZID=Europe/London:20130301T090000\r\n"
                                "DTEND;TZID=Europe/London:20130301T100000\r\n"
                                "RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,FR");
    GDateRec broken = Native("Broken", Ole(2013, 2, 1, 8));
    broken.RepeatKind = 1;
    broken.Interval = 4;
    CopyText(broken.Recurrence, "RRULE:FREQ=DAILY");
    WriteEvents({weekly, broken});
    WriteCalendars({Calendar("me@example.com", "Europe/London"), Calendar("team@group", "Asia/Tokyo")});

    auto connector = Connector();
    ASSERT_TRUE(connector->Load());
    EXPECT_FALSE(connector->HasError());
    CommDateMgr* store = connector->GetStore();
    ASSERT_EQ(store->GetCount(), 2);
    const CommDateRec* first = At(store, 0);
    EXPECT_STREQ(first->Subject, "Weekly");
    EXPECT_EQ(first->Start.wMonth, 3);
    EXPECT_EQ(first->Start.wHour, 9);
    EXPECT_EQ(first->End.wHour, 10);
    EXPECT_EQ(first->Recurrence.Kind, 2);
    EXPECT_EQ(first->Recurrence.Interval, 2);
    EXPECT_EQ(first->Recurrence.DayOfWeekMask, 34);
    EXPECT_EQ(first->SourceType, SourceGoogle);
    EXPECT_EQ(first->NativeRecord, connector->GetNative(0));
    // A text that cannot be read leaves the fields as the helper wrote them.
    EXPECT_EQ(At(store, 1)->Recurrence.Kind, 1);
    EXPECT_EQ(At(store, 1)->Recurrence.Interval, 4);
    EXPECT_EQ(connector->GetNative(0)->ChangeMark, 1);
    EXPECT_EQ(connector->GetNative(1)->ChangeMark, 1);

    ASSERT_EQ(connector->GetCalendarCount(), 2);
    const GCalRec* calendar = connector->FirstCalendar();
    ASSERT_NE(calendar, nullptr);
    EXPECT_STREQ(calendar->CalendarID, "me@example.com");
    calendar = connector->NextCalendar();
    ASSERT_NE(calendar, nullptr);
    EXPECT_STREQ(calendar->TimeZone, "Asia/Tokyo");
    EXPECT_EQ(connector->NextCalendar(), nullptr);
    EXPECT_STREQ(connector->FirstCalendar()->CalendarID, "me@example.com");

    EXPECT_TRUE(LogHas(
        {"Start loading Google Calendar.",
         "Start loading Calendar events information from file: " + m_folder + "GDate.dat",
         "There are 2 event records in total", "Load Calendar events information from file successfully.",
         "Start loading Calendar definition information from file: " + m_folder + "GCal.dat",
         "There are 2 calendars in total.", "Load Calendar definition information successfully.",
         "Load Google Calendar successfully."}));
}

TEST_F(GGDateUtilTest, LoadFailsWithoutEitherFile)
{
    {
        auto connector = Connector();
        EXPECT_FALSE(connector->Load());
        EXPECT_TRUE(
            LogHas({"Start loading Google Calendar.", "!!! Failed to open file: " + m_folder + "GDate.dat",
                    "!!! Failed to load Calendar events information from file."}));
    }
    WriteEvents({Native("One", Ole(2013, 1, 1))});
    auto connector = Connector();
    EXPECT_FALSE(connector->Load());
    EXPECT_TRUE(LogHas({"Load Calendar events information from file successfully.",
                        "!!! Failed to open file: " + m_folder + "GCal.dat",
                        "!!! Failed to load Calendar definition information from file."}));
    const std::vector<std::string> messages = Messages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Load Google Calendar successfully."), 0);
}

TEST_F(GGDateUtilTest, CommitWritesEveryEventAndTheDefinitionsBack)
{
    GDateRec kept = Native("Kept", Ole(2013, 1, 7, 8));
    kept.ChangeMark = 3;
    kept.Action = 0;
    CopyText(kept.Calendar, "team@group");
    CopyText(kept.Recurrence, "RRULE:FREQ=DAILY;INTERVAL=1");
    kept.RepeatKind = 1;
    kept.Interval = 1;
    GDateRec changed = Native("Changed", Ole(2013, 1, 8, 8));
    WriteEvents({kept, changed});
    const std::vector<GCalRec> calendars = {Calendar("me@example.com", "Europe/London"),
                                            Calendar("team@group", "Asia/Tokyo")};
    WriteCalendars(calendars);

    auto connector = Connector();
    ASSERT_TRUE(connector->Load());

    // The changed event repeats weekly now; the new one every two weeks on Monday and Friday.
    CommDateRec update = *At(connector->GetStore(), 1);
    update.Recurrence.Kind = 2;
    update.Recurrence.Interval = 1;
    update.Recurrence.DayOfWeekMask = 2;
    ASSERT_TRUE(connector->UpdateRecord(update, 1, false));
    CommDateRec added = Event("Added", Time(2013, 3, 1, 9));
    added.Recurrence.Kind = 2;
    added.Recurrence.Interval = 2;
    added.Recurrence.DayOfWeekMask = 34;
    added.Recurrence.HasEnd = 1;
    added.Recurrence.PatternEnd = Time(2021, 12, 31);
    ASSERT_TRUE(connector->AddRecord(added, false));
    ASSERT_TRUE(connector->Commit());
    EXPECT_FALSE(connector->IsDirty());
    EXPECT_EQ(connector->GetCommand(), CxHelperBaseUtil::CommandSubmit);

    const std::vector<GDateRec> events = ReadEvents();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].ChangeMark, 1);
    EXPECT_EQ(events[0].Action, 0);
    EXPECT_STREQ(events[0].Recurrence, "RRULE:FREQ=DAILY;INTERVAL=1");
    EXPECT_EQ(events[1].ChangeMark, 2);
    EXPECT_EQ(events[1].Action, 2);
    EXPECT_STREQ(events[1].Kept4, "id-Changed");
    EXPECT_EQ(
        std::string(events[1].Recurrence),
        std::string("DTSTART;TZID=Europe/London:20130108T080000\r\n"
                    "DTEND;TZID=Europe/London:20130108T090000\r\nRRULE:FREQ=WEEKLY;INTERVAL=1;BYDAY=MO\r\n") +
            FindGGTimeZone("Europe/London"));
    EXPECT_EQ(events[2].ChangeMark, 2);
    EXPECT_EQ(events[2].Action, 1);
    EXPECT_STREQ(events[2].Subject, "Added");
    EXPECT_EQ(std::string(events[2].Recurrence),
              std::string("DTSTART;TZID=Europe/London:20130301T090000\r\n"
                          "DTEND;TZID=Europe/London:20130301T100000\r\n"
                          "RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,FR;UNTIL=20211231T000000Z\r\n") +
                  FindGGTimeZone("Europe/London"));
    const std::vector<GCalRec> written = ReadCalendars();
    ASSERT_EQ(written.size(), 2u);
    for (std::size_t i = 0; i < written.size(); ++i) {
        EXPECT_EQ(std::memcmp(&written[i], &calendars[i], sizeof(GCalRec)), 0) << i;
    }
    EXPECT_TRUE(LogHas({"Start saving Calendar events information to file: " + m_folder + "GDate.dat",
                        "There are 3 event records in total.",
                        "Save Calendar events information to file successfully.",
                        "Start saving Calendar definition information to file: " + m_folder + "GCal.dat",
                        "Save Calendar definition information to file successfully."}));

    // Nothing changed since: nothing is written.
    std::remove((m_folder + "GDate.dat").c_str());
    EXPECT_TRUE(connector->Commit());
    EXPECT_FALSE(std::ifstream(m_folder + "GDate.dat").good());
}

TEST_F(GGDateUtilTest, CommitFailsWhenTheFilesCannotBeWritten)
{
    auto connector = Connector();
    const std::string missing = m_folder + "missing/";
    connector->SetFolder(missing.c_str());
    ASSERT_TRUE(connector->AddRecord(Event("New", Time(2013, 3, 1, 9)), false));
    EXPECT_FALSE(connector->Commit());
    EXPECT_TRUE(connector->IsDirty());
    EXPECT_TRUE(
        LogHas({"Start saving Calendar events information to file: " + missing + "GDate.dat",
                "There are 1 event records in total.", "!!! Failed to open file:" + missing + "GDate.dat",
                "!!! Failed to save Calendar records information to temperary file."}));

    // The events written, the definitions not: a folder of that name stands in the way.
    connector->SetFolder(m_folder.c_str());
    m_home.WriteFile("work/GCal.dat/.keep", "");
    EXPECT_FALSE(connector->SaveCalendars());
    EXPECT_FALSE(connector->Commit());
    EXPECT_TRUE(LogHas({"Save Calendar events information to file successfully.",
                        "Start saving Calendar definition information to file: " + m_folder + "GCal.dat",
                        "Failed to open file: " + m_folder + "GCal.dat",
                        "!!! Failed to save Calendar definition to temperary file."}));
}

TEST_F(GGDateUtilTest, TheZoneOfTheFirstDefinitionIsKeptAcrossLoads)
{
    WriteEvents({});
    WriteCalendars({});
    auto connector = Connector();
    ASSERT_TRUE(connector->Load());
    // Without a definition a new event gets no text.
    CommDateRec daily = Event("Daily", Time(2013, 3, 1, 9));
    daily.Recurrence.Kind = 1;
    ASSERT_TRUE(connector->AddRecord(daily, false));
    EXPECT_STREQ(connector->GetNative(0)->Recurrence, "");
    EXPECT_STREQ(connector->GetZoneName(), "");

    WriteEvents({});
    WriteCalendars({Calendar("me@example.com", "europe/paris"), Calendar("other", "Asia/Tokyo")});
    ASSERT_TRUE(connector->Load());
    ASSERT_TRUE(connector->AddRecord(daily, false));
    EXPECT_STREQ(connector->GetZoneName(), "europe/paris");
    EXPECT_EQ(connector->GetZoneText(), FindGGTimeZone("Europe/Paris"));
    EXPECT_EQ(std::string(connector->GetNative(0)->Recurrence).rfind("DTSTART;TZID=europe/paris:", 0), 0u);

    // Clear deletes the definitions file but keeps the zone.
    connector->Clear();
    EXPECT_FALSE(std::ifstream(m_folder + "GCal.dat").good());
    EXPECT_EQ(connector->GetCalendarCount(), 0);
    WriteEvents({});
    WriteCalendars({Calendar("me@example.com", "Asia/Tokyo")});
    ASSERT_TRUE(connector->Load());
    ASSERT_TRUE(connector->AddRecord(daily, false));
    EXPECT_STREQ(connector->GetZoneName(), "europe/paris");
    EXPECT_NE(std::string(connector->GetNative(0)->Recurrence).find("TZID:Europe/Paris"), std::string::npos);
}

TEST_F(GGDateUtilTest, SubmitRecordAddsOnlyWhatIsNotThere)
{
    WriteEvents({Native("Kept", Ole(2013, 1, 7, 8))});
    WriteCalendars({Calendar("me@example.com", "Europe/London")});
    auto connector = Connector();
    ASSERT_TRUE(connector->Load());
    const CommDateRec same = *At(connector->GetStore(), 0);
    EXPECT_FALSE(connector->SubmitRecord(same, false));
    EXPECT_TRUE(connector->SubmitRecord(Event("Other", Time(2013, 4, 2, 9)), false));
    EXPECT_EQ(connector->GetNativeCount(), 2);
}

TEST_F(GGDateUtilTest, TheDescriptorMakesTheCalendarConnector)
{
    const CxAppDescriptor app = GGAppDescriptor();
    ASSERT_TRUE(app.creators[kDataCalendar]);
    std::unique_ptr<CxConnector> connector = app.creators[kDataCalendar]();
    ASSERT_NE(dynamic_cast<CxGDateUtil*>(connector.get()), nullptr);
    EXPECT_EQ(app.helperPrograms[kDataCalendar], "fw-google-calendar");
    EXPECT_EQ(app.statusFiles[kDataCalendar], "GDateStatus.dat");

    GDateRec native = Native("Shown", Ole(2013, 1, 7, 8));
    CommDateRec rec{};
    EXPECT_TRUE(DescribeNative(app, rec).empty());
    rec.NativeRecord = &native;
    const CxRecordLines lines = DescribeNative(app, rec);
    ASSERT_EQ(lines.size(), GDateFields().size());
    EXPECT_EQ(lines[4].label, "Subject");
    EXPECT_EQ(lines[4].text, "Shown");
}

} // namespace
