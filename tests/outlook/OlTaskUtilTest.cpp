// The Outlook tasks and notes connectors over a scripted Outlook: the reads in order, the codes
// of a task, the due-date window and the reminder of a task written, a note's title never
// written, and the failures' log lines.
#include "outlook/OlTaskUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "outlook/OlNoteUtil.h"
#include "outlook/OutlookFixture.h"

namespace fwtest {
namespace {

LogLine Line(const char* source, bool failure, const char* message)
{
    return LogLine{source, failure, message};
}

const std::vector<std::string> kTaskWrites = {"Body",
                                              "CardData",
                                              "Complete",
                                              "DueDate",
                                              "Importance",
                                              "IsRecurring",
                                              "Mileage",
                                              "Ordinal",
                                              "PercentComplete",
                                              "ReminderSet",
                                              "ReminderOverrideDefault",
                                              "ReminderPlaySound",
                                              "ReminderSoundFile",
                                              "ReminderTime",
                                              "ResponseState",
                                              "Role",
                                              "Sensitivity",
                                              "StartDate",
                                              "Status",
                                              "Subject",
                                              "TeamTask",
                                              "TotalWork",
                                              "Categories"};

class OlTaskUtilTest : public OutlookFixture
{
protected:
    void PrepareNewItem(ScriptedObject* item) override
    {
        DeclareProperties(item, kTaskWrites);
        DeclareProperties(item, {"Color"});
        AcceptSave(item);
    }
};

TEST_F(OlTaskUtilTest, LoadsTasksWithTheirCodes)
{
    ScriptedFolder& folder = outlook.AddFolder(olFolderTasks, "Tasks");
    Props props;
    props.Text("Subject", "Report")
        .Long("Importance", 2)
        .Long("Status", 3)
        .Long("ResponseState", 1)
        .Bool("IsRecurring", false);
    ScriptedObject* item = AddItem(folder, props);
    OlTaskUtil connector(Session());
    ASSERT_TRUE(connector.Load());
    EXPECT_EQ(AskedNames(item), (std::vector<std::string>{"Body",
                                                          "CardData",
                                                          "Complete",
                                                          "DueDate",
                                                          "EntryID",
                                                          "Importance",
                                                          "IsRecurring",
                                                          "Mileage",
                                                          "Ordinal",
                                                          "PercentComplete",
                                                          "ReminderOverrideDefault",
                                                          "ReminderPlaySound",
                                                          "ReminderSet",
                                                          "ReminderSoundFile",
                                                          "ReminderTime",
                                                          "ResponseState",
                                                          "Role",
                                                          "Sensitivity",
                                                          "StartDate",
                                                          "Status",
                                                          "Subject",
                                                          "TeamTask",
                                                          "TotalWork",
                                                          "IsRecurring",
                                                          "Categories",
                                                          "CreationTime",
                                                          "LastModificationTime"}));
    const CommTaskRec* rec = connector.GetTaskStore()->First();
    ASSERT_NE(rec, nullptr);
    EXPECT_STREQ(rec->Subject, "Report");
    EXPECT_EQ(rec->Priority, 1);
    EXPECT_EQ(rec->TaskStatus, 3);
    EXPECT_EQ(rec->ResponseState, 1);
    EXPECT_EQ(rec->SourceType, SourceOutlook);
    const auto* native = static_cast<const OlTaskRec*>(rec->NativeRecord);
    ASSERT_NE(native, nullptr);
    EXPECT_STREQ(native->FolderName, "Tasks");
    EXPECT_EQ(native->RecurrenceType, -1);
    EXPECT_EQ(native->Item, item);
    EXPECT_EQ(
        LogOf("OlTaskUtil.cpp"),
        (std::vector<LogLine>{Line("OlTaskUtil.cpp", false, "Got the name of the Task folder: Tasks")}));
}

TEST_F(OlTaskUtilTest, ANewTaskIsWrittenInsideTheDueWindowAndWithoutAnUnsetReminder)
{
    ScriptedFolder& folder = outlook.AddFolder(olFolderTasks, "Tasks");
    LetFolderAdd(folder);
    OlTaskUtil connector(Session());
    ASSERT_TRUE(connector.Load());
    struct Case
    {
        const char* subject;
        std::int32_t due; // time value
        bool written;
    };
    const Case cases[] = {
        {"late", 1749988800, false},  // 15 June 2025
        {"inside", 1609412400, true}, // 31 December 2020
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.subject);
        CommTaskRec rec{};
        CopyText(rec.Subject, c.subject);
        rec.DueDate = c.due;
        rec.Private = 1;
        rec.Priority = 1;
        ASSERT_TRUE(connector.SubmitRecord(rec, true));
        ScriptedObject* item = added.back()->get();
        EXPECT_EQ(CallsOf(folder.items.get(), "Add").back().args.at(0).v.lVal, olTaskItem);
        EXPECT_EQ(item->HasValue("DueDate"), c.written);
        EXPECT_EQ(item->Value("Sensitivity").v.lVal, 2);
        EXPECT_EQ(item->Value("Importance").v.lVal, 2);
        EXPECT_EQ(item->Value("ReminderSet").v.boolVal, VARIANT_FALSE);
        for (const char* reminder : {"ReminderOverrideDefault", "ReminderPlaySound", "ReminderTime"}) {
            EXPECT_TRUE(CallsOf(item, reminder).empty()) << reminder;
        }
        EXPECT_EQ(item->Calls().back().name, "Save");
    }
    EXPECT_EQ(connector.GetTaskStore()->GetCount(), 2);
}

TEST_F(OlTaskUtilTest, AChangedTaskOverwritesItsItemAndTheStore)
{
    ScriptedFolder& folder = outlook.AddFolder(olFolderTasks, "Tasks");
    Props props;
    props.Text("Subject", "Report").Text("Mileage", "12 km");
    ScriptedObject* item = AddItem(folder, props);
    DeclareProperties(item, kTaskWrites);
    AcceptSave(item);
    OlTaskUtil connector(Session());
    ASSERT_TRUE(connector.Load());
    CommTaskRec rec = *connector.GetTaskStore()->First();
    rec.NativeRecord = nullptr;
    rec.NativeSize = 0;
    CopyText(rec.Notes, "draft attached");
    rec.Priority = 1; // high: a change
    ASSERT_TRUE(connector.SubmitRecord(rec, true));
    EXPECT_EQ(item->Value("Body").Text(), "draft attached");
    EXPECT_EQ(item->Value("Importance").v.lVal, 2);
    EXPECT_EQ(item->Value("Mileage").Text(), "12 km");
    EXPECT_EQ(connector.GetTaskStore()->First()->Priority, 1);
    EXPECT_TRUE(CallsOf(folder.items.get(), "Item").empty());
}

TEST_F(OlTaskUtilTest, NotesLoadTheirTitleAndWriteOnlyBodyCategoriesAndColour)
{
    ScriptedFolder& folder = outlook.AddFolder(olFolderNotes, "Notes");
    LetFolderAdd(folder);
    Props props;
    props.Text("Subject", "Shopping")
        .Text("Body", "Shopping\r\nmilk")
        .Text("EntryID", std::string(48, 'e'))
        .Long("Color", 3);
    ScriptedObject* item = AddItem(folder, props);
    OlNoteUtil connector(Session());
    ASSERT_TRUE(connector.Load());
    EXPECT_EQ(AskedNames(item),
              (std::vector<std::string>{"EntryID", "Subject", "Body", "Categories", "CreationTime",
                                        "LastModificationTime", "Saved", "Color"}));
    const CommNoteRec* rec = connector.GetNoteStore()->First();
    ASSERT_NE(rec, nullptr);
    EXPECT_STREQ(rec->Title, "Shopping");
    EXPECT_EQ(std::string(rec->EntryId), std::string(30, 'e'));
    EXPECT_EQ(rec->Color, 3);
    EXPECT_EQ(static_cast<const OlNoteRec*>(rec->NativeRecord)->Item, item);

    CommNoteRec note{};
    CopyText(note.Title, "Ideas");
    CopyText(note.Body, "Ideas\r\nmore");
    note.Color = 1;
    ASSERT_TRUE(connector.SubmitRecord(note, true));
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(CallsOf(folder.items.get(), "Add").at(0).args.at(0).v.lVal, olNoteItem);
    EXPECT_EQ(CallNames(added[0]->get(), DISPATCH_PROPERTYPUT), (std::vector<std::string>{"Body", "Color"}));
    EXPECT_EQ(added[0]->get()->Calls().back().name, "Save");
}

TEST_F(OlTaskUtilTest, EveryFailureIsLogged)
{
    struct Case
    {
        const char* name;
        int folderNumber;
        const char* member; // of the folder or of its items
        bool ofItems;
        bool submit; // a new record submitted, else a load
        std::vector<LogLine> lines;
    };
    const char* task = "OlTaskUtil.cpp";
    const char* note = "OlNoteUtil.cpp";
    const Case cases[] = {
        {"task name",
         olFolderTasks,
         "Name",
         false,
         false,
         {Line(task, true, "Failed to get the name of the folder. hr=0x80004005")}},
        {"task items",
         olFolderTasks,
         "Items",
         false,
         false,
         {Line(task, false, "Got the name of the Task folder: Tasks"),
          Line(task, true, "Failed to get the \"Items\" property of the Task folder. hr=0x80004005")}},
        {"task add",
         olFolderTasks,
         "Add",
         true,
         true,
         {Line(task, true, "Failed to call the \"Add\" method. hr=0x80004005")}},
        {"note name",
         olFolderNotes,
         "Name",
         false,
         false,
         {Line(note, true, "Failed to get the name of the folder. hr=0x80004005")}},
        {"note items",
         olFolderNotes,
         "Items",
         false,
         false,
         {Line(note, false, "Got the name of the Notes folder: Notes"),
          Line(note, true, "Failed to get the \"Items\" property of the Notes folder. hr=0x80004005")}},
        {"note add",
         olFolderNotes,
         "Add",
         true,
         true,
         {Line(note, true, "Failed to call the \"Add\" method to add notes item. hr=0x80004005")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        outlook.folders.clear();
        ScriptedFolder& folder =
            outlook.AddFolder(c.folderNumber, c.folderNumber == olFolderTasks ? "Tasks" : "Notes");
        (c.ofItems ? folder.items : folder.folder)->FailCall(c.member, E_FAIL);
        std::unique_ptr<CxConnector> connector;
        if (c.folderNumber == olFolderTasks) {
            connector = std::make_unique<OlTaskUtil>(Session());
        } else {
            connector = std::make_unique<OlNoteUtil>(Session());
        }
        if (c.submit) {
            ASSERT_TRUE(connector->Load());
            ForgetLog();
            const bool submitted = c.folderNumber == olFolderTasks
                                       ? connector->SubmitRecord(CommTaskRec{}, true)
                                       : connector->SubmitRecord(CommNoteRec{}, true);
            EXPECT_TRUE(submitted); // the record still enters the store
        } else {
            connector->Load();
        }
        EXPECT_EQ(LogOf(c.folderNumber == olFolderTasks ? task : note), c.lines);
        ForgetLog();
    }
}

} // namespace
} // namespace fwtest
