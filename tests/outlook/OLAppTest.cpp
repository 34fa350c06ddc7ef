// The Outlook descriptor: without a session it makes no connectors; on a session it makes the
// four, each with the store of its data type and its default folder open.
#include "outlook/OLApp.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "misc/CommRecords.h"
#include "outlook/OlAddrRec.h"
#include "outlook/OlDateRec.h"
#include "outlook/OlTaskRec.h"
#include "outlook/OutlookFixture.h"

namespace fwtest {
namespace {

using OLAppTest = OutlookFixture;

TEST_F(OLAppTest, MakesTheFourConnectorsOnTheSession)
{
    for (DataType type : kAllDataTypes) {
        EXPECT_FALSE(OLAppDescriptor().creators[type]) << type;
    }
    outlook.AddFolder(olFolderContacts, "Contacts");
    outlook.AddFolder(olFolderCalendar, "Calendar");
    outlook.AddFolder(olFolderTasks, "Tasks");
    outlook.AddFolder(olFolderNotes, "Notes");
    const CxAppDescriptor app = OLAppDescriptor(Session());
    EXPECT_EQ(app.kind, kAppOutlook);
    std::unique_ptr<CxConnector> connectors[kDataTypeCount];
    for (DataType type : kAllDataTypes) {
        ASSERT_TRUE(app.creators[type]) << type;
        connectors[type] = app.creators[type]();
        ASSERT_NE(connectors[type], nullptr);
        EXPECT_TRUE(connectors[type]->Load()) << type;
    }
    EXPECT_NE(connectors[kDataContacts]->GetAddrStore(), nullptr);
    EXPECT_NE(connectors[kDataCalendar]->GetDateStore(), nullptr);
    EXPECT_NE(connectors[kDataTasks]->GetTaskStore(), nullptr);
    EXPECT_NE(connectors[kDataNotes]->GetNoteStore(), nullptr);
    EXPECT_EQ(connectors[kDataContacts]->GetDateStore(), nullptr);
    EXPECT_EQ(Session().GetRefCount(), 4);
    for (auto& connector : connectors) {
        connector.reset();
    }
    EXPECT_FALSE(Session().IsStarted());
    EXPECT_EQ(outlook.OutsideRefs(), 0u);
}

std::string LineOf(const CxRecordLines& lines, const std::string& label)
{
    for (const CxRecordLine& line : lines) {
        if (line.label == label) {
            return line.text;
        }
    }
    return "(none)";
}

// The record detail lines of the native records: labelled fields, the repeat pattern only
// for a recurring item, nothing without a native record of the right size.
TEST(OLAppDescribers, NativeRecordsAsTheDetailDialogsShowThem)
{
    const CxAppDescriptor app = OLAppDescriptor();
    auto contact = std::make_unique<OlAddrRec>();
    std::strcpy(contact->FirstName, "J\xFCrgen");
    std::strcpy(contact->CompanyName, "F\xE4hre Nord");
    CommAddrRec person{};
    person.NativeRecord = contact.get();
    person.NativeSize = sizeof(OlAddrRec);
    const CxRecordLines contactLines = app.describeContact(person);
    EXPECT_EQ(LineOf(contactLines, "First Name"), "J\xFCrgen");
    EXPECT_EQ(LineOf(contactLines, "Company Name"), "F\xE4hre Nord");

    auto event = std::make_unique<OlDateRec>();
    std::strcpy(event->Subject, "Crossing");
    event->Start = 45000.375; // 2023-03-15 09:00
    event->IsRecurring = 1;
    event->RecurrenceType = 1;
    event->Interval = 2;
    CommDateRec appointment{};
    appointment.NativeRecord = event.get();
    appointment.NativeSize = sizeof(OlDateRec);
    const CxRecordLines eventLines = app.describeEvent(appointment);
    EXPECT_EQ(LineOf(eventLines, "Subject"), "Crossing");
    EXPECT_EQ(LineOf(eventLines, "Start"), "03/15/2023 09:00:00");
    EXPECT_EQ(LineOf(eventLines, "Recurrence Type"), "Weekly");
    EXPECT_EQ(LineOf(eventLines, "Interval"), "2");
    event->IsRecurring = 0;
    EXPECT_EQ(LineOf(app.describeEvent(appointment), "Recurrence Type"), "(none)");

    auto task = std::make_unique<OlTaskRec>();
    std::strcpy(task->Subject, "Renew permit");
    task->Complete = 1;
    task->Importance = 2;
    CommTaskRec todo{};
    todo.NativeRecord = task.get();
    todo.NativeSize = sizeof(OlTaskRec);
    const CxRecordLines taskLines = app.describeTask(todo);
    EXPECT_EQ(LineOf(taskLines, "Complete"), "Yes");
    EXPECT_EQ(LineOf(taskLines, "Importance"), "High");

    CommDateRec foreign{};
    foreign.NativeRecord = task.get();
    foreign.NativeSize = sizeof(OlTaskRec); // not an appointment
    EXPECT_TRUE(app.describeEvent(foreign).empty());
    EXPECT_TRUE(app.describeNote(CommNoteRec{}).empty());
}

} // namespace
} // namespace fwtest
