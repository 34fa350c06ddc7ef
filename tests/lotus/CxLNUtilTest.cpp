// The Lotus Notes connectors over their record files, without a real helper: each connector is
// given a launcher whose helper ends at once, so the connectors work on the files as they are.
#include <gtest/gtest.h>

#include <filesystem>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/TempHome.h"
#include "exchange/CxHelperLauncher.h"
#include "lotus/CxLNAddrUtil.h"
#include "lotus/CxLNDateUtil.h"
#include "lotus/CxLNNoteUtil.h"
#include "lotus/CxLNTaskUtil.h"
#include "misc/CustomFieldMap.h"
#include "misc/CxDebugUtil.h"
#include "misc/CxFile.h"

namespace {

// Starts nothing: every helper ends at once with exit status 0.
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

template <class Connector> Connector& AtOnce(Connector& connector)
{
    connector.SetHelperLauncher(std::make_unique<EndsAtOnce>());
    return connector;
}

class CxLNUtilTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = m_home.Path("work/");
        m_home.WriteFile("work/.keep", "");
        // No helper lies there: a connector not given its launcher cannot start one.
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

    template <class Rec> void WriteRecords(const char* name, const std::vector<Rec>& records, int count = -1)
    {
        CxFile file;
        ASSERT_TRUE(file.Open((m_folder + name).c_str(), "wb"));
        ASSERT_TRUE(file.WriteInt(count < 0 ? static_cast<int>(records.size()) : count));
        for (const Rec& rec : records) {
            ASSERT_TRUE(SaveLNRecord(file, rec));
        }
        ASSERT_TRUE(file.Close());
    }
    template <class Rec> std::vector<Rec> ReadRecords(const char* name)
    {
        std::vector<Rec> records;
        CxFile file;
        EXPECT_TRUE(file.Open((m_folder + name).c_str(), "rb"));
        EXPECT_TRUE(LoadLNRecordFile(file, records));
        return records;
    }
    std::string Log() { return m_home.ReadFile("work/appdebug.log"); }

    fwtest::TempHome m_home;
    std::string m_folder;
};

LNNoteRec Note(const char* id, const char* title, const char* body, int mark = 1)
{
    LNNoteRec rec{};
    rec.ChangeMark = mark;
    std::snprintf(rec.ItemID, sizeof rec.ItemID, "%s", id);
    std::snprintf(rec.Title, sizeof rec.Title, "%s", title);
    std::snprintf(rec.Body, sizeof rec.Body, "%s", body);
    std::snprintf(rec.Kept6, sizeof rec.Kept6, "kept-%s", id);
    rec.Kept7 = 11;
    rec.Kept8[2] = 3.5;
    return rec;
}

TEST_F(CxLNUtilTest, SubmitWritesEveryRecordWithExactlyTheChangesMarked)
{
    WriteRecords<LNNoteRec>("LNNote.dat", {Note("N1", "Shopping", "milk"), Note("N2", "Ideas", "many")});
    CxLNNoteUtil notes;
    AtOnce(notes);
    notes.SetFolder(m_folder.c_str());
    ASSERT_TRUE(notes.Load());
    ASSERT_EQ(notes.GetStore()->GetCount(), 2);
    EXPECT_FALSE(notes.HasError());

    CommNoteRec changed{};
    std::snprintf(changed.Title, sizeof changed.Title, "Ideas");
    std::snprintf(changed.Body, sizeof changed.Body, "fewer");
    CommNoteRec added{};
    std::snprintf(added.Title, sizeof added.Title, "New one");
    std::snprintf(added.Body, sizeof added.Body, "hello");
    CommNoteRec same{};
    std::snprintf(same.Title, sizeof same.Title, "Shopping");
    std::snprintf(same.Body, sizeof same.Body, "milk");
    EXPECT_TRUE(notes.SubmitRecord(changed, false));
    EXPECT_TRUE(notes.SubmitRecord(added, false));
    EXPECT_FALSE(notes.SubmitRecord(same, false));
    ASSERT_TRUE(notes.Commit());

    const auto written = ReadRecords<LNNoteRec>("LNNote.dat");
    ASSERT_EQ(written.size(), 3u);
    const LNNoteRec untouched = Note("N1", "Shopping", "milk");
    EXPECT_EQ(0, std::memcmp(&written[0], &untouched, sizeof untouched));
    LNNoteRec expectChanged = Note("N2", "Ideas", "fewer", 2);
    expectChanged.Action = 2;
    EXPECT_EQ(0, std::memcmp(&written[1], &expectChanged, sizeof expectChanged));
    EXPECT_EQ(written[2].ChangeMark, 2);
    EXPECT_EQ(written[2].Action, 1);
    EXPECT_STREQ(written[2].ItemID, "");
    EXPECT_STREQ(written[2].Title, "New one");
    EXPECT_STREQ(written[2].Kept6, "");
    EXPECT_EQ(written[2].Kept7, 0);

    // Nothing changed since: the second Commit writes nothing.
    std::remove((m_folder + "LNNote.dat").c_str());
    EXPECT_TRUE(notes.Commit());
    EXPECT_EQ(CxFile::FileSize((m_folder + "LNNote.dat").c_str()), -1);
}

TEST_F(CxLNUtilTest, TruncatedRecordFileStillGivesItsRecords)
{
    WriteRecords<LNNoteRec>("LNNote.dat", {Note("N1", "One", "body one"), Note("N2", "Two", "body two")});
    const std::string bytes = m_home.ReadFile("work/LNNote.dat");
    // Cut inside the second record's title.
    const std::size_t cut = bytes.find("Two") + 1;
    m_home.WriteFile("work/LNNote.dat", bytes.substr(0, cut));

    CxLNNoteUtil notes;
    AtOnce(notes);
    notes.SetFolder(m_folder.c_str());
    ASSERT_TRUE(notes.Load());
    ASSERT_EQ(notes.GetStore()->GetCount(), 2);
    ASSERT_EQ(notes.GetNativeCount(), 2);
    EXPECT_STREQ(notes.GetNative(0)->Body, "body one");
    EXPECT_STREQ(notes.GetNative(1)->ItemID, "N2");
    EXPECT_STREQ(notes.GetNative(1)->Title, "");
    EXPECT_EQ(notes.GetNative(1)->Kept7, 0);
}

TEST_F(CxLNUtilTest, ContactsLoadFillsTheMappedValuesOfTheLotusNotesSlots)
{
    LNAddrRec rec{};
    std::snprintf(rec.ItemID, sizeof rec.ItemID, "A1");
    std::snprintf(rec.FirstName, sizeof rec.FirstName, "Ada");
    std::snprintf(rec.BusinessEmail2, sizeof rec.BusinessEmail2, "ada2@example.com");
    WriteRecords<LNAddrRec>("LNAddr.dat", {rec});

    CxLNAddrUtil contacts;
    AtOnce(contacts);
    EXPECT_TRUE(contacts.SetCustomMapping(0, 16));
    EXPECT_TRUE(contacts.SetCustomMapping(9, 53));
    EXPECT_FALSE(contacts.SetCustomMapping(10, 2));
    EXPECT_FALSE(contacts.SetCustomMapping(-1, 2));
    EXPECT_EQ(contacts.GetCustomMapping(0), 16);
    EXPECT_EQ(GetMappedField(kAppNotes, 1), 16);

    contacts.SetFolder(m_folder.c_str());
    ASSERT_TRUE(contacts.Load());
    CommAddrRec* loaded = contacts.GetStore()->First();
    ASSERT_NE(loaded, nullptr);
    EXPECT_STREQ(loaded->FirstName, "Ada");
    EXPECT_STREQ(loaded->MappedValues[0], "ada2@example.com");
    EXPECT_STREQ(loaded->MappedValues[9], "");
    EXPECT_EQ(loaded->SourceType, SourceLotusNotes);
    EXPECT_EQ(loaded->NativeRecord, contacts.GetNative(0));
}

TEST_F(CxLNUtilTest, LogLinesOfLoadAndSubmit)
{
    struct Case
    {
        const char* name;
        std::unique_ptr<CxHelperBaseUtil> (*make)();
        const char* dataFile;
        std::vector<const char*> loadLines;
        const char* submitLine;
    };
    const Case cases[] = {
        {"contacts",
         [] { return std::unique_ptr<CxHelperBaseUtil>(new CxLNAddrUtil); },
         "LNAddr.dat",
         {"Start loading Lotus Notes Contacts.",
          "Start loading Lotus Notes Contacts from temperary file: ", "There are 0 Contact records in total.",
          "Load Lotus Notes Contact information from file successfully.",
          "Load Lotus Notes Contacts information successfully."},
         "Submit changes to Lotus Notes contacts database"},
        {"calendar",
         [] { return std::unique_ptr<CxHelperBaseUtil>(new CxLNDateUtil); },
         "LNDate.dat",
         {"Start loading Lotus Notes Calendar.", "Start loading Lotus Notes Calendar from temperary file: ",
          "There are 0 Calendar records in total.",
          "Load Lotus Notes Calendar information from file successfully.",
          "Load Lotus Notes Calendar information successfully."},
         "Submit changes to Lotus Notes calendar database"},
        {"tasks",
         [] { return std::unique_ptr<CxHelperBaseUtil>(new CxLNTaskUtil); },
         "LNTask.dat",
         {"Start loading Lotus Notes Tasks.", "Start loading Lotus Notes Tasks from temperary file: ",
          "There are 0 Task records in total.", "Load Lotus Notes Tasks information from file successfully.",
          "Load Lotus Notes Tasks information successfully."},
         "Submit changes to Lotus Notes task database"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove((m_folder + "appdebug.log").c_str());
        m_home.WriteFile(std::string("work/") + c.dataFile, std::string(4, '\0'));
        auto connector = c.make();
        AtOnce(*connector);
        connector->SetFolder(m_folder.c_str());
        ASSERT_TRUE(connector->Load());
        ASSERT_TRUE(connector->Commit()); // dirty after construction: one submit
        const std::string log = Log();
        std::size_t at = 0;
        for (const char* line : c.loadLines) {
            const std::size_t found = log.find(line, at);
            EXPECT_NE(found, std::string::npos) << line;
            at = found == std::string::npos ? at : found;
        }
        EXPECT_NE(log.find(std::string("Start saving Lotus Notes ")), std::string::npos);
        EXPECT_NE(log.find(c.submitLine), std::string::npos);
    }
}

TEST_F(CxLNUtilTest, MissingRecordFileLogsWhereTheKindSaysSo)
{
    struct Case
    {
        const char* name;
        std::unique_ptr<CxHelperBaseUtil> (*make)();
        const char* expected; // null: no open-failure line
        const char* absent;
    };
    const Case cases[] = {
        {"contacts", [] { return std::unique_ptr<CxHelperBaseUtil>(new CxLNAddrUtil); },
         "Failed to open file: ", nullptr},
        {"calendar", [] { return std::unique_ptr<CxHelperBaseUtil>(new CxLNDateUtil); },
         "Failed to open file: ", nullptr},
        {"tasks", [] { return std::unique_ptr<CxHelperBaseUtil>(new CxLNTaskUtil); }, nullptr,
         "Failed to open file"},
        {"notes", [] { return std::unique_ptr<CxHelperBaseUtil>(new CxLNNoteUtil); },
         "Cannot load Lotus Notes Note records from temperary file: ", "Start loading Lotus Notes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove((m_folder + "appdebug.log").c_str());
        auto connector = c.make();
        AtOnce(*connector);
        connector->SetFolder(m_folder.c_str());
        EXPECT_FALSE(connector->Load());
        const std::string log = Log();
        if (c.expected != nullptr) {
            EXPECT_NE(log.find(c.expected), std::string::npos) << log;
        }
        if (c.absent != nullptr) {
            EXPECT_EQ(log.find(c.absent), std::string::npos) << log;
        }
    }
}

TEST_F(CxLNUtilTest, DatabaseParameterOfEachKind)
{
    struct Case
    {
        const char* name;
        std::unique_ptr<CxHelperBaseUtil> (*make)();
        const char* paramFile;
        int databaseId;
    };
    const Case cases[] = {
        {"contacts", [] { return std::unique_ptr<CxHelperBaseUtil>(new CxLNAddrUtil); }, "LNAddrParam.dat",
         1009},
        {"calendar", [] { return std::unique_ptr<CxHelperBaseUtil>(new CxLNDateUtil); }, "LNDateParam.dat",
         1008},
        {"tasks", [] { return std::unique_ptr<CxHelperBaseUtil>(new CxLNTaskUtil); }, "LNTaskParam.dat",
         1008},
        {"notes", [] { return std::unique_ptr<CxHelperBaseUtil>(new CxLNNoteUtil); }, "LNNoteParam.dat",
         1008},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto connector = c.make();
        AtOnce(*connector);
        connector->SetFolder(m_folder.c_str());
        connector->SetDatabase("names.nsf");
        connector->Load();
        CxFile file;
        ASSERT_TRUE(file.Open((m_folder + c.paramFile).c_str(), "rb"));
        int count = 0;
        ASSERT_TRUE(file.ReadInt(&count));
        EXPECT_EQ(count, 14);
        bool found = false;
        for (int i = 0; i < count; ++i) {
            int id = 0;
            int type = 0;
            std::string value;
            ASSERT_TRUE(file.ReadInt(&id));
            ASSERT_TRUE(file.ReadInt(&type));
            ASSERT_EQ(type, 8);
            ASSERT_TRUE(file.ReadString(value));
            if (id == c.databaseId) {
                found = true;
                EXPECT_EQ(value, "names.nsf");
            }
        }
        EXPECT_TRUE(found);
    }
}

} // namespace
