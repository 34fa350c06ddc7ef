// The ACT! connectors over their record files, without a real helper: each connector is
// given a launcher whose helper ends at once, so the connectors work on the files as they
// are. Also the parameter tables of the real connectors as the descriptor configures them,
// and the field table lookups.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ACT/ACTApp.h"
#include "ACT/ACTFieldTable.h"
#include "ACT/ACTProtocol.h"
#include "ACT/CxACTAddrUtil.h"
#include "ACT/CxACTDateUtil.h"
#include "ACT/CxACTNoteUtil.h"
#include "ACT/CxACTTaskUtil.h"
#include "common/TempHome.h"
#include "exchange/CxHelperLauncher.h"
#include "misc/CustomFieldMap.h"
#include "misc/CxDebugUtil.h"
#include "misc/CxFile.h"
#include "misc/Settings.h"

namespace {

class EndsAtOnce : public CxHelperLauncher
{
public:
    CxHelperRunResult Run(const std::vector<std::string>&, const std::string&, std::uint32_t,
                          const StartedFn& started) override
    {
        CxHelperRunResult result;
        result.started = true;
        result.ended = true;
        result.exitStatus = 0;
        result.processId = 1;
        started(result.processId);
        return result;
    }
    void Release() override {}
};

// The record at an index of a store, by its walk.
template <class Store> auto At(Store* store, int index) -> decltype(store->First())
{
    auto* rec = store->First();
    for (int i = 0; i < index && rec != nullptr; ++i) {
        rec = store->Next();
    }
    return rec;
}

class CxACTUtilTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = m_home.Path("work/");
        m_home.WriteFile("work/.keep", "");
        setenv("FERRYWISE_HELPER_DIR", m_home.Path("nohelpers").c_str(), 1);
        g_debugLog.SetLogFolder(m_folder.c_str());
        g_debugLog.SetLogLevel(3);
        g_debugLog.EnableLog(true);
        ClearMappedFields();
    }
    void TearDown() override
    {
        unsetenv("FERRYWISE_HELPER_DIR");
        g_debugLog.EnableLog(false);
        ClearMappedFields();
    }

    template <class Connector> void Prepare(Connector& connector)
    {
        connector.SetHelperLauncher(std::make_unique<EndsAtOnce>());
        connector.SetFolder(m_folder.c_str());
    }

    template <class Rec> void WriteRecords(const char* name, const std::vector<Rec>& records)
    {
        CxFile file;
        ASSERT_TRUE(file.Open((m_folder + name).c_str(), "wb"));
        ASSERT_TRUE(file.WriteInt(static_cast<int>(records.size())));
        for (const Rec& rec : records) {
            ASSERT_TRUE(SaveACTRecord(file, rec));
        }
        ASSERT_TRUE(file.Close());
    }
    template <class Rec> std::vector<Rec> ReadRecords(const char* name)
    {
        std::vector<Rec> records;
        CxFile file;
        EXPECT_TRUE(file.Open((m_folder + name).c_str(), "rb"));
        int count = 0;
        EXPECT_TRUE(file.ReadInt(&count));
        for (int i = 0; i < count && !file.AtEnd(); ++i) {
            Rec rec{};
            EXPECT_TRUE(LoadACTRecord(file, rec));
            records.push_back(rec);
        }
        return records;
    }
    std::string Log() { return m_home.ReadFile("work/appdebug.log"); }

    fwtest::TempHome m_home;
    std::string m_folder;
};

ACTAddrRec Contact(const char* id, const char* first, const char* last, const char* phone, const char* ext)
{
    ACTAddrRec rec{};
    rec.ChangeMark = 1;
    std::snprintf(rec.RecordID, sizeof rec.RecordID, "%s", id);
    std::snprintf(rec.FirstName, sizeof rec.FirstName, "%s", first);
    std::snprintf(rec.LastName, sizeof rec.LastName, "%s", last);
    std::snprintf(rec.BusinessPhone, sizeof rec.BusinessPhone, "%s", phone);
    std::snprintf(rec.BusinessPhoneExtension, sizeof rec.BusinessPhoneExtension, "%s", ext);
    std::snprintf(rec.LastResults, sizeof rec.LastResults, "kept-%s", id);
    rec.IsImported = 1;
    return rec;
}

TEST_F(CxACTUtilTest, ContactsLoadAndSubmitMarkExactlyTheChanges)
{
    WriteRecords<ACTAddrRec>("ACTAddr.dat", {Contact("C1", "Ada", "Byron", "555-1234", "12"),
                                             Contact("C2", "Alan", "Turing", "555-0000", "")});
    CxACTAddrUtil contacts;
    Prepare(contacts);
    ASSERT_TRUE(contacts.Load());
    EXPECT_FALSE(contacts.HasError());
    ASSERT_EQ(contacts.GetStore()->GetCount(), 2);
    const CommAddrRec* first = At(contacts.GetStore(), 0);
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first->WorkPhone, "555-1234x12");
    EXPECT_EQ(first->SourceType, SourceACT);
    ASSERT_NE(first->NativeRecord, nullptr);

    // The same contact unchanged, the same one changed, and a new one.
    CommAddrRec same = *first;
    same.NativeRecord = nullptr;
    EXPECT_FALSE(contacts.SubmitRecord(same, false));
    CommAddrRec changed = *At(contacts.GetStore(), 1);
    changed.NativeRecord = nullptr;
    std::snprintf(changed.WorkPhone, sizeof changed.WorkPhone, "555-0001x3");
    EXPECT_TRUE(contacts.SubmitRecord(changed, false));
    CommAddrRec added{};
    std::snprintf(added.FirstName, sizeof added.FirstName, "Grace");
    std::snprintf(added.LastName, sizeof added.LastName, "Hopper");
    EXPECT_TRUE(contacts.SubmitRecord(added, false));
    ASSERT_TRUE(contacts.Commit());

    const auto written = ReadRecords<ACTAddrRec>("ACTAddr.dat");
    ASSERT_EQ(written.size(), 3u);
    const ACTAddrRec untouched = Contact("C1", "Ada", "Byron", "555-1234", "12");
    EXPECT_EQ(0, std::memcmp(&written[0], &untouched, sizeof untouched));
    EXPECT_EQ(written[1].ChangeMark, 2);
    EXPECT_EQ(written[1].Action, 2);
    EXPECT_STREQ(written[1].RecordID, "C2");
    EXPECT_STREQ(written[1].BusinessPhone, "555-0001");
    EXPECT_STREQ(written[1].BusinessPhoneExtension, "3");
    EXPECT_STREQ(written[1].LastResults, "kept-C2");
    EXPECT_EQ(written[1].IsImported, 1);
    EXPECT_EQ(written[2].ChangeMark, 2);
    EXPECT_EQ(written[2].Action, 1);
    EXPECT_STREQ(written[2].RecordID, "");
    EXPECT_STREQ(written[2].FirstName, "Grace");

    // Nothing changed since: the second Commit says so and writes nothing.
    std::remove((m_folder + "ACTAddr.dat").c_str());
    EXPECT_TRUE(contacts.Commit());
    EXPECT_EQ(CxFile::FileSize((m_folder + "ACTAddr.dat").c_str()), -1);
    EXPECT_NE(Log().find("There is no new changes and no need to submit information to server."),
              std::string::npos);
}

TEST_F(CxACTUtilTest, ContactsLoadFillsTheMappedValuesOfTheACTSlots)
{
    WriteRecords<ACTAddrRec>("ACTAddr.dat", {Contact("C1", "Ada", "Byron", "1", "")});
    CxACTAddrUtil contacts;
    Prepare(contacts);
    EXPECT_TRUE(contacts.SetCustomMapping(0, 58)); // Last Results
    EXPECT_TRUE(contacts.SetCustomMapping(9, 8));  // First Name
    EXPECT_FALSE(contacts.SetCustomMapping(10, 8));
    EXPECT_FALSE(contacts.SetCustomMapping(-1, 8));
    EXPECT_EQ(contacts.GetCustomMapping(0), 58);
    EXPECT_EQ(GetMappedField(kAppACT, 1), 58);
    ASSERT_TRUE(contacts.Load());
    const CommAddrRec* rec = At(contacts.GetStore(), 0);
    ASSERT_NE(rec, nullptr);
    EXPECT_STREQ(rec->MappedValues[0], "kept-C1");
    EXPECT_STREQ(rec->MappedValues[9], "Ada");
    EXPECT_STREQ(rec->MappedValues[1], "");
}

TEST_F(CxACTUtilTest, OtherKindsLoadTheirRecords)
{
    ACTDateRec event{};
    std::snprintf(event.Subject, sizeof event.Subject, "Monthly");
    event.RepeatFrequency = 3;
    event.RepeatType = 2;
    event.RepeatInstance = 2;
    event.RepeatValue = 2;
    event.RepeatInterval = 1;
    WriteRecords<ACTDateRec>("ACTDate.dat", {event});
    ACTTaskRec task{};
    std::snprintf(task.Subject, sizeof task.Subject, "Todo");
    task.Private = 1;
    task.Completed = 1;
    WriteRecords<ACTTaskRec>("ACTTask.dat", {task});
    ACTNoteRec note{};
    std::snprintf(note.Text, sizeof note.Text, "A note");
    WriteRecords<ACTNoteRec>("ACTNote.dat", {note});

    CxACTDateUtil calendar;
    Prepare(calendar);
    ASSERT_TRUE(calendar.Load());
    ASSERT_EQ(calendar.GetStore()->GetCount(), 1);
    EXPECT_EQ(At(calendar.GetStore(), 0)->Recurrence.Kind, 3);
    EXPECT_EQ(At(calendar.GetStore(), 0)->Recurrence.Instance, 2);
    EXPECT_EQ(At(calendar.GetStore(), 0)->Recurrence.DayOfWeekMask, 2);

    CxACTTaskUtil tasks;
    Prepare(tasks);
    ASSERT_TRUE(tasks.Load());
    ASSERT_EQ(tasks.GetStore()->GetCount(), 1);
    EXPECT_EQ(At(tasks.GetStore(), 0)->Private, 1);
    EXPECT_EQ(At(tasks.GetStore(), 0)->Completed, 1);

    CxACTNoteUtil notes;
    Prepare(notes);
    ASSERT_TRUE(notes.Load());
    ASSERT_EQ(notes.GetStore()->GetCount(), 1);
    EXPECT_STREQ(At(notes.GetStore(), 0)->Body, "A note");
    EXPECT_STREQ(At(notes.GetStore(), 0)->Title, "");
}

TEST_F(CxACTUtilTest, LogLinesOfLoadAndSubmit)
{
    struct Case
    {
        const char* name;
        std::unique_ptr<CxHelperBaseUtil> (*make)();
        const char* dataFile;
        std::vector<const char*> lines;
    };
    const Case cases[] = {
        {"contacts",
         [] { return std::unique_ptr<CxHelperBaseUtil>(new CxACTAddrUtil); },
         "ACTAddr.dat",
         {"Start loading ACT! Contacts.", "Start loading ACT! Contacts from temperary file: ",
          "There are 0 Contact records in total.", "Load ACT! Contacts information from file successfully.",
          "Load ACT! Contacts information successfully.", "Start submitting changes to server.",
          "Start saving ACT! Contacts information to file: ",
          "Save ACT! Contacts information to file successfully."}},
        {"calendar",
         [] { return std::unique_ptr<CxHelperBaseUtil>(new CxACTDateUtil); },
         "ACTDate.dat",
         {"Start loading ACT! Calendar Events.", "There are 0 Calendar event records in total.",
          "Load ACT! Calendar events information successfully.",
          "Start saving ACT! Calendar events information to file: ",
          "Save ACT! Calendar event information to file successfully."}},
        {"tasks",
         [] { return std::unique_ptr<CxHelperBaseUtil>(new CxACTTaskUtil); },
         "ACTTask.dat",
         {"Start loading ACT! Todos and Opportunities.", "There are 0 records in total.",
          "Load ACT! Todos and Opportunities information successfully."}},
        {"notes",
         [] { return std::unique_ptr<CxHelperBaseUtil>(new CxACTNoteUtil); },
         "ACTNote.dat",
         {"Start loading ACT! Notes.", "Load ACT! Notes information successfully."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove((m_folder + "appdebug.log").c_str());
        m_home.WriteFile(std::string("work/") + c.dataFile, std::string(4, '\0'));
        auto connector = c.make();
        connector->SetHelperLauncher(std::make_unique<EndsAtOnce>());
        connector->SetFolder(m_folder.c_str());
        ASSERT_TRUE(connector->Load());
        ASSERT_TRUE(connector->Commit()); // dirty after construction: one submit
        const std::string log = Log();
        std::size_t at = 0;
        for (const char* line : c.lines) {
            const std::size_t found = log.find(line, at);
            EXPECT_NE(found, std::string::npos) << line;
            at = found == std::string::npos ? at : found;
        }
    }
}

TEST_F(CxACTUtilTest, MissingRecordFileFailsTheLoadWithTheKindsLine)
{
    struct Case
    {
        const char* name;
        std::unique_ptr<CxHelperBaseUtil> (*make)();
        const char* line;
    };
    const Case cases[] = {
        {"contacts", [] { return std::unique_ptr<CxHelperBaseUtil>(new CxACTAddrUtil); },
         "Failed to open file: "},
        {"notes", [] { return std::unique_ptr<CxHelperBaseUtil>(new CxACTNoteUtil); },
         "Cannot load ACT! Notes records from temperary file: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove((m_folder + "appdebug.log").c_str());
        auto connector = c.make();
        connector->SetHelperLauncher(std::make_unique<EndsAtOnce>());
        connector->SetFolder(m_folder.c_str());
        EXPECT_FALSE(connector->Load());
        EXPECT_NE(Log().find(c.line), std::string::npos);
    }
}

// Shows a connector's parameter table.
template <class Connector> class Params : public Connector
{
public:
    CxParamParser Table()
    {
        CxParamParser params;
        this->FillParams_(params);
        return params;
    }
};

template <class Connector> CxParamParser TableOf(const ConnectorConfig& config)
{
    Params<Connector> connector;
    connector.Configure(config);
    return connector.Table();
}

TEST_F(CxACTUtilTest, ParameterTablesAsTheDescriptorConfiguresThem)
{
    FWSettings settings{};
    std::snprintf(settings.ACTPadName, sizeof settings.ACTPadName, "/data/Demo.pad");
    std::snprintf(settings.ACTUserName, sizeof settings.ACTUserName, "Chris");
    std::snprintf(settings.ACTPasswordText, sizeof settings.ACTPasswordText, "secret");
    settings.Opp = true;
    settings.OppNotes = false;
    settings.LogLevel = 2;
    settings.EnableDebug = true;
    const CxAppDescriptor app = ACTAppDescriptor();
    using Table = std::vector<std::pair<int, std::string>>;
    struct Case
    {
        const char* name;
        DataType type;
        CxParamParser (*table)(const ConnectorConfig&);
        const char* dataFile;
        bool opportunities;
    };
    const Case cases[] = {
        {"contacts", kDataContacts, &TableOf<CxACTAddrUtil>, "ACTAddr", false},
        {"calendar", kDataCalendar, &TableOf<CxACTDateUtil>, "ACTDate", false},
        {"tasks", kDataTasks, &TableOf<CxACTTaskUtil>, "ACTTask", true},
        {"notes", kDataNotes, &TableOf<CxACTNoteUtil>, "ACTNote", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto config = app.makeConfig(c.type, settings, "/w/");
        ASSERT_TRUE(config.has_value());
        const CxParamParser params = c.table(*config);
        const std::string file = c.dataFile;
        Table expected = {{1000, "/data/Demo.pad"},
                          {1001, "Chris"},
                          {1002, "secret"},
                          {1003, file + ".dat"},
                          {1004, "/w/"},
                          {1005, "1"},
                          {1006, file + "Err.dat"},
                          {1007, file + "Status.dat"}};
        if (c.opportunities) {
            expected.push_back({1008, "1"});
            expected.push_back({1009, "0"});
        }
        for (auto entry : Table{{1012, "/w/"}, {1013, "appdebug.log"}, {1014, "2"}, {1015, "1"}}) {
            expected.push_back(entry);
        }
        ASSERT_EQ(params.GetCount(), static_cast<int>(expected.size()));
        for (std::size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(params.Entries()[i].id, expected[i].first);
            EXPECT_EQ(params.Entries()[i].type, CxParamParser::TypeText);
            EXPECT_EQ(params.GetText(expected[i].first), expected[i].second);
        }
    }
}

TEST(ACTFieldTableTest, EightyNineFieldsInIdentifierOrderWithTheirStorage)
{
    const auto table = ACTContactFieldTable();
    ASSERT_EQ(table.size(), 89u);
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].Id, static_cast<int>(i) + 1);
        EXPECT_EQ(ACTContactFieldAt(static_cast<int>(i)), &table[i]);
        EXPECT_EQ(FindACTContactField(table[i].Id), &table[i]);
        const CxLayoutField* storage = ACTContactFieldStorage(table[i].Id);
        ASSERT_NE(storage, nullptr);
        if (table[i].Type == ACTFieldTypeText) {
            EXPECT_EQ(storage->Capacity, table[i].Width) << table[i].Label;
        }
    }
    struct Case
    {
        int id;
        const char* label;
        int type;
        int width;
        std::size_t offset;
    };
    const Case cases[] = {
        {1, "Record ID", ACTFieldTypeText, 64, offsetof(ACTAddrRec, RecordID)},
        {31, "Business Phone", ACTFieldTypeText, 24, offsetof(ACTAddrRec, BusinessPhone)},
        {43, "Business E-mail", ACTFieldTypeText, 64, offsetof(ACTAddrRec, BusinessEmail)},
        {59, "Is User", ACTFieldTypeFlag, 4, offsetof(ACTAddrRec, IsUser)},
        {62, "Birthday", ACTFieldTypeDate, 8, offsetof(ACTAddrRec, Birthday)},
        {89, "Secondary Is Private", ACTFieldTypeFlag, 4, offsetof(ACTAddrRec, SecondaryIsPrivate)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const ACTFieldInfo* info = CxACTAddrUtil::FindField(c.id);
        ASSERT_NE(info, nullptr);
        EXPECT_STREQ(info->Label, c.label);
        EXPECT_EQ(info->Type, c.type);
        EXPECT_EQ(info->Width, c.width);
        EXPECT_EQ(CxACTAddrUtil::FieldStorage(c.id)->Offset, c.offset);
        EXPECT_EQ(FindACTContactFieldByLabel(c.label), info);
    }
    EXPECT_EQ(FindACTContactFieldByLabel("business e-MAIL")->Id, 43);
    EXPECT_EQ(FindACTContactFieldByLabel("Business Email"), nullptr);
    for (int id : {0, 90, -1}) {
        EXPECT_EQ(FindACTContactField(id), nullptr);
        EXPECT_EQ(ACTContactFieldStorage(id), nullptr);
    }
    EXPECT_EQ(CxACTAddrUtil::FieldAt(89), nullptr);
}

TEST(ACTRecordFileTest, EveryLayoutRoundTripsAndACutShortRecordKeepsZeros)
{
    fwtest::TempHome home;
    const std::string path = home.Path("rec.dat");
    ACTAddrRec contact = Contact("C9", "Ada", "Byron", "1", "2");
    contact.Birthday = 123.5;
    contact.SecondaryIsPrivate = 1;
    {
        CxFile file;
        ASSERT_TRUE(file.Open(path.c_str(), "wb"));
        ASSERT_TRUE(SaveACTRecord(file, contact));
        ASSERT_TRUE(file.Close());
    }
    const long size = CxFile::FileSize(path.c_str());
    {
        CxFile file;
        ASSERT_TRUE(file.Open(path.c_str(), "rb"));
        ACTAddrRec back{};
        EXPECT_TRUE(LoadACTRecord(file, back));
        EXPECT_EQ(0, std::memcmp(&back, &contact, sizeof back));
    }
    // Cut short after the first half: what was there is read, the rest stays zero.
    std::filesystem::resize_file(path, static_cast<std::uintmax_t>(size / 2));
    CxFile file;
    ASSERT_TRUE(file.Open(path.c_str(), "rb"));
    ACTAddrRec back{};
    EXPECT_FALSE(LoadACTRecord(file, back));
    EXPECT_STREQ(back.RecordID, "C9");
    EXPECT_EQ(back.SecondaryIsPrivate, 0);
    EXPECT_EQ(back.Birthday, 0.0);
}

} // namespace
