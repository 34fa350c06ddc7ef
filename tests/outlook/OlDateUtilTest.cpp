// The Outlook calendar connector over a scripted Outlook: the reads of an appointment in
// order, the reminder by the Outlook version, the repeat pattern through
// GetRecurrencePattern, the failures' log lines, and the submit of new and changed events.
#include "outlook/OlDateUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "outlook/OutlookFixture.h"

namespace fwtest {
namespace {

LogLine Progress(const char* message)
{
    return LogLine{"OlDateUtil.cpp", false, message};
}
LogLine Failure(const char* message)
{
    return LogLine{"OlDateUtil.cpp", true, message};
}

constexpr double kNineOClock = 45000.375; // 2023-03-15 09:00

const std::vector<std::string> kWrites = {
    "AllDayEvent",  "Duration", "Start", "ReminderSet", "ReminderMinutesBeforeStart",
    "ReminderTime", "Subject",  "Body",  "Location",    "Categories"};
const std::vector<std::string> kPatternFields = {
    "RecurrenceType", "Interval", "DayOfWeekMask", "DayOfMonth", "Instance", "MonthOfYear", "PatternEndDate"};

class OlDateUtilTest : public OutlookFixture
{
protected:
    // An appointment whose GetRecurrencePattern gives a pattern object.
    ScriptedObject* AddAppointment(ScriptedFolder& folder, const Props& props)
    {
        ScriptedObject* item = AddItem(folder, props);
        GivePattern(item);
        return item;
    }
    ScriptedObject* GivePattern(ScriptedObject* item)
    {
        patterns.push_back(std::make_unique<ScriptedRef>());
        ScriptedObject* pattern = patterns.back()->get();
        DeclareProperties(pattern, kPatternFields);
        item->SetObjectMethod("GetRecurrencePattern", pattern);
        return pattern;
    }
    void PrepareNewItem(ScriptedObject* item) override
    {
        DeclareProperties(item, kWrites);
        AcceptSave(item);
        GivePattern(item);
    }

    std::vector<std::unique_ptr<ScriptedRef>> patterns;
};

TEST_F(OlDateUtilTest, LoadsAppointmentsWithTheirPatternAndTheReminderOfTheVersion)
{
    struct Case
    {
        const char* version;
        const char* reminderProperty; // the one read
        int amount;
        int unit;
    };
    const Case cases[] = {
        {"11.0.0.0", "ReminderTime", 15, 1},              // Outlook 2003: from ReminderTime
        {"12.0.0.0", "ReminderMinutesBeforeStart", 2, 2}, // 2007: 120 minutes, 2 hours
        {"16.0.0.0", "ReminderMinutesBeforeStart", 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        m_session.reset();
        patterns.clear();
        ScriptedFolder& folder = outlook.AddFolder(olFolderCalendar, "Calendar");
        Props props;
        props.Text("Subject", "Review")
            .Text("EntryID", "00EE")
            .Date("Start", kNineOClock)
            .Date("End", kNineOClock + 1.0 / 24)
            .Long("Duration", 60)
            .Bool("ReminderSet", true)
            .Date("ReminderTime", kNineOClock - 15.0 / 1440)
            .Long("ReminderMinutesBeforeStart", 120)
            .Bool("IsRecurring", true);
        ScriptedObject* item = AddAppointment(folder, props);
        ScriptedObject* pattern = patterns.back()->get();
        Props weekly;
        weekly.Long("RecurrenceType", 1)
            .Long("Interval", 2)
            .Long("DayOfWeekMask", 10)
            .Date("PatternEndDate", 45100.0);
        weekly.ApplyTo(pattern);
        Props single;
        single.Text("Subject", "Once").Bool("IsRecurring", false);
        ScriptedObject* once = AddAppointment(folder, single);

        OlDateUtil connector(Session(c.version));
        ASSERT_TRUE(connector.Load());
        EXPECT_EQ(AskedNames(item),
                  (std::vector<std::string>{"EntryID", "AllDayEvent", "Duration", "End", "Start",
                                            "ReminderSet", c.reminderProperty, "Subject", "Body", "Location",
                                            "Categories", "IsRecurring", "GetRecurrencePattern",
                                            "CreationTime", "LastModificationTime"}));
        EXPECT_EQ(AskedNames(pattern), kPatternFields);
        EXPECT_TRUE(CallsOf(once, "GetRecurrencePattern").empty());

        CommDateMgr* store = connector.GetDateStore();
        ASSERT_EQ(store->GetCount(), 2);
        const CommDateRec* rec = store->First();
        EXPECT_STREQ(rec->Subject, "Review");
        EXPECT_EQ(rec->SourceType, SourceOutlook);
        ASSERT_EQ(rec->ReminderCount, 1);
        EXPECT_EQ(rec->Reminders[0].Amount, c.amount);
        EXPECT_EQ(rec->Reminders[0].Unit, c.unit);
        EXPECT_EQ(rec->Recurrence.Kind, 2);
        EXPECT_EQ(rec->Recurrence.Interval, 2);
        EXPECT_EQ(rec->Recurrence.DayOfWeekMask, 10);
        EXPECT_EQ(rec->Recurrence.HasEnd, 1);
        const auto* native = static_cast<const OlDateRec*>(rec->NativeRecord);
        ASSERT_NE(native, nullptr);
        EXPECT_STREQ(native->FolderName, "Calendar");
        EXPECT_STREQ(native->StoreID, "0000STORE");
        EXPECT_STREQ(native->EntryID, "00EE");
        EXPECT_EQ(native->Item, item);
        const CommDateRec* second = store->Next();
        EXPECT_EQ(second->Recurrence.Kind, 0);
        EXPECT_EQ(static_cast<const OlDateRec*>(second->NativeRecord)->RecurrenceType, -1);
        EXPECT_EQ(LogOf("OlDateUtil.cpp"), (std::vector<LogLine>{
                                               Progress("Get Outlook Calendar root folder successfully."),
                                               Progress("Got the name of the Calendar folder: Calendar"),
                                               Progress("Got the StoreID of the Calendar folder: 0000STORE"),
                                           }));
        ForgetLog();
    }
}

TEST_F(OlDateUtilTest, EveryFailureOfTheLoadIsLogged)
{
    struct Case
    {
        const char* name;
        const char* member; // of the folder; null: no calendar folder at all
        std::vector<LogLine> lines;
        bool loads;
    };
    const LogLine opened = Progress("Get Outlook Calendar root folder successfully.");
    const LogLine name = Progress("Got the name of the Calendar folder: Calendar");
    const LogLine storeId = Progress("Got the StoreID of the Calendar folder: 0000STORE");
    const Case cases[] = {
        {"name",
         "Name",
         {opened, Failure("Failed to get the name of the folder. hr=0x80004005"), storeId},
         true},
        {"store id",
         "StoreID",
         {opened, name, Failure("Failed to get the StoreID of the Calendar folder. hr=0x80004005")},
         true},
        {"items", "Items", {opened, name, storeId, Failure("Failed to get Calendar Items property.")}, false},
        {"no folder", nullptr, {Failure("Failed to call \"GetDefaultFolder\" method. hr=0x1")}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ForgetLog();
        outlook.folders.clear();
        if (c.member != nullptr) {
            ScriptedFolder& folder = outlook.AddFolder(olFolderCalendar, "Calendar");
            folder.folder->FailCall(c.member, E_FAIL);
        }
        OlDateUtil connector(Session());
        EXPECT_EQ(connector.Load(), c.loads);
        EXPECT_EQ(LogOf("OlDateUtil.cpp"), c.lines);
    }
}

CommDateRec Event(const char* subject)
{
    CommDateRec rec{};
    CopyText(rec.Subject, subject);
    rec.Start = SYSTEMTIME{2023, 3, 3, 15, 9, 0, 0, 0};
    rec.End = SYSTEMTIME{2023, 3, 3, 15, 10, 0, 0, 0};
    return rec;
}

TEST_F(OlDateUtilTest, ANewEventBecomesAnAppointmentWithItsPattern)
{
    ScriptedFolder& folder = outlook.AddFolder(olFolderCalendar, "Calendar");
    LetFolderAdd(folder);
    OlDateUtil connector(Session("12.0.0.0"));
    ASSERT_TRUE(connector.Load());

    CommDateRec rec = Event("Standup");
    rec.ReminderSet = 1;
    rec.ReminderCount = 1;
    rec.Reminders[0] = Reminder{0, 30, 1};
    rec.Recurrence.Kind = 2;
    rec.Recurrence.Interval = 2;
    rec.Recurrence.DayOfWeekMask = 10;
    rec.Recurrence.HasEnd = 1;
    rec.Recurrence.PatternEnd = SYSTEMTIME{2023, 6, 5, 30, 0, 0, 0, 0};
    ASSERT_TRUE(connector.SubmitRecord(rec, true));

    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(CallsOf(folder.items.get(), "Add").at(0).args.at(0).v.lVal, olAppointmentItem);
    ScriptedObject* item = added[0]->get();
    EXPECT_EQ(CallNames(item, DISPATCH_PROPERTYPUT),
              (std::vector<std::string>{"AllDayEvent", "Duration", "Start", "ReminderSet",
                                        "ReminderMinutesBeforeStart", "Subject"}));
    EXPECT_EQ(item->Value("Duration").v.lVal, 60);
    EXPECT_EQ(item->Value("ReminderMinutesBeforeStart").v.lVal, 30);
    EXPECT_EQ(CallNames(item, DISPATCH_METHOD), (std::vector<std::string>{"GetRecurrencePattern", "Save"}));
    ScriptedObject* pattern = patterns.back()->get();
    EXPECT_EQ(CallNames(pattern, DISPATCH_PROPERTYPUT),
              (std::vector<std::string>{"RecurrenceType", "Interval", "DayOfWeekMask", "PatternEndDate"}));
    EXPECT_EQ(pattern->Value("RecurrenceType").v.lVal, 1);

    CommDateMgr* store = connector.GetDateStore();
    ASSERT_EQ(store->GetCount(), 1);
    EXPECT_EQ(store->First()->SourceType, SourceOutlook);
    EXPECT_EQ(static_cast<const OlDateRec*>(store->First()->NativeRecord)->Item, item);
}

TEST_F(OlDateUtilTest, AChangedEventIsWrittenFromTheSubmittedRecordAlone)
{
    ScriptedFolder& folder = outlook.AddFolder(olFolderCalendar, "Calendar");
    Props props;
    props.Text("Subject", "Standup")
        .Text("Location", "Room 1")
        .Date("Start", kNineOClock)
        .Date("End", kNineOClock + 1.0 / 24)
        .Bool("IsRecurring", false);
    ScriptedObject* item = AddAppointment(folder, props);
    DeclareProperties(item, kWrites);
    AcceptSave(item);
    OlDateUtil connector(Session("11.0.0.0"));
    ASSERT_TRUE(connector.Load());
    item->ForgetCalls();

    EXPECT_FALSE(connector.SubmitRecord(*connector.GetDateStore()->First(), true));
    EXPECT_TRUE(item->Calls().empty());

    CommDateRec rec = Event("Standup");
    CopyText(rec.Notes, "agenda");
    ASSERT_TRUE(connector.SubmitRecord(rec, true));
    EXPECT_EQ(
        CallNames(item, DISPATCH_PROPERTYPUT),
        (std::vector<std::string>{"AllDayEvent", "Duration", "Start", "ReminderSet", "Subject", "Body"}));
    EXPECT_EQ(item->Value("Location").Text(), "Room 1"); // not in the record: left as it was
    EXPECT_EQ(CallNames(item, DISPATCH_METHOD), (std::vector<std::string>{"Save"})); // no pattern touched
    EXPECT_STREQ(connector.GetDateStore()->First()->Notes, "agenda");
}

} // namespace
} // namespace fwtest
