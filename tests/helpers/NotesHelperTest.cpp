// The four helper programs run as real child processes on a database in a temporary home:
// load and submit round trips, every failure reported in the error file with nothing
// changed, and a stop request honoured.
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <thread>

#include "NotesTestSupport.h"
#include "notes/NotesHelper.h"
#include "platform/KnownFolders.h"

using notestest::DifferentFields;
using notestest::FillRecord;
using notestest::KindCase;

namespace {

// One record of any layout, as raw bytes.
struct Rec
{
    Rec(NotesItemKind kind, int seed, int changeMark, int action, const std::string& id = "")
        : kind(kind), bytes(Size(kind) / sizeof(double) + 1)
    {
        FillRecord(NotesStore::Fields(kind), Get(), seed);
        SetInt(0, changeMark);
        SetInt(1, action);
        SetId(id);
    }
    static std::size_t Size(NotesItemKind kind)
    {
        switch (kind) {
        case NotesItemKind::Contacts:
            return sizeof(LNAddrRec);
        case NotesItemKind::Calendar:
            return sizeof(LNDateRec);
        case NotesItemKind::Tasks:
            return sizeof(LNTaskRec);
        case NotesItemKind::Notes:
            break;
        }
        return sizeof(LNNoteRec);
    }
    void* Get() { return bytes.data(); }
    const void* Get() const { return bytes.data(); }
    std::string Id() const { return reinterpret_cast<const char*>(bytes.data()) + 2 * sizeof(int); }
    void SetId(const std::string& id)
    {
        std::snprintf(reinterpret_cast<char*>(bytes.data()) + 2 * sizeof(int), 64, "%s", id.c_str());
    }
    int GetInt(int at) const
    {
        int value;
        std::memcpy(&value, reinterpret_cast<const char*>(bytes.data()) + at * sizeof(int), sizeof value);
        return value;
    }
    void SetInt(int at, int value)
    {
        std::memcpy(reinterpret_cast<char*>(bytes.data()) + at * sizeof(int), &value, sizeof value);
    }
    std::vector<std::string> Differences(const Rec& other) const
    {
        return DifferentFields(NotesStore::Fields(kind), Get(), other.Get());
    }

    NotesItemKind kind;
    std::vector<double> bytes;
};

class NotesHelperTest : public ::testing::Test
{
protected:
    std::string RecordPath(const KindCase& kind) const { return m_home.Work() + kind.recordFile; }

    void WriteRecords(const KindCase& kind, std::vector<Rec>& records, int count = -1)
    {
        CxFile file;
        ASSERT_TRUE(file.Open(RecordPath(kind).c_str(), "wb"));
        ASSERT_TRUE(file.WriteInt(count >= 0 ? count : static_cast<int>(records.size())));
        for (Rec& rec : records) {
            ASSERT_TRUE(SaveLNRecord(file, NotesStore::Fields(kind.kind), rec.Get()));
        }
        ASSERT_TRUE(file.Close());
    }

    // Runs a load and gives what the record file holds.
    std::vector<Rec> Load(const KindCase& kind, const std::string& database = "names.nsf")
    {
        std::vector<Rec> records;
        EXPECT_EQ(m_home.Run(kind, 1, database), 0) << m_home.LastError(kind);
        CxFile file;
        int count = 0;
        EXPECT_TRUE(file.Open(RecordPath(kind).c_str(), "rb"));
        EXPECT_TRUE(LoadLNRecordCount(file, &count));
        for (int i = 0; i < count; ++i) {
            Rec rec(kind.kind, 0, 0, 0);
            std::memset(rec.Get(), 0, rec.bytes.size() * sizeof(double));
            EXPECT_TRUE(LoadLNRecord(file, NotesStore::Fields(kind.kind), rec.Get()));
            records.push_back(rec);
        }
        EXPECT_TRUE(file.AtEnd());
        return records;
    }

    // Adds count new items through the helper; gives them as loaded back.
    std::vector<Rec> Seed(const KindCase& kind, int count, const std::string& database = "names.nsf")
    {
        std::vector<Rec> records;
        for (int i = 0; i < count; ++i) {
            records.emplace_back(kind.kind, i + 1, LNChangeMarkSubmit, LNActionNew);
        }
        WriteRecords(kind, records);
        EXPECT_EQ(m_home.Run(kind, 2, database), 0) << m_home.LastError(kind);
        return Load(kind, database);
    }

    notestest::NotesHome m_home;
};

class NotesHelperKindTest : public NotesHelperTest, public ::testing::WithParamInterface<KindCase>
{
};

} // namespace

TEST_P(NotesHelperKindTest, SubmitThenLoadChangesExactlyWhatWasMarked)
{
    const KindCase& kind = GetParam();
    m_home.CreateDatabase("names.nsf");
    EXPECT_TRUE(Load(kind).empty());

    std::vector<Rec> first = Seed(kind, 3);
    ASSERT_EQ(first.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(first[static_cast<std::size_t>(i)].Differences(Rec(kind.kind, i + 1, 0, 0)),
                  std::vector<std::string>{});
        EXPECT_NE(first[static_cast<std::size_t>(i)].GetInt(0), LNChangeMarkSubmit);
        EXPECT_EQ(first[static_cast<std::size_t>(i)].Id().size(), 32u);
    }
    EXPECT_NE(first[0].Id(), first[1].Id());

    // The connector sends back every record: the loaded ones as they came, one changed (Diff),
    // one new (New), and one whose fields differ but which is not marked: it is left alone.
    std::vector<Rec> submit = first;
    submit[1] = Rec(kind.kind, 20, LNChangeMarkSubmit, LNActionChanged, first[1].Id());
    submit[2] = Rec(kind.kind, 30, 0, LNActionChanged, first[2].Id());
    submit.emplace_back(kind.kind, 40, LNChangeMarkSubmit, LNActionNew, "ignored");
    WriteRecords(kind, submit);
    ASSERT_EQ(m_home.Run(kind, 2, "names.nsf"), 0) << m_home.LastError(kind);
    EXPECT_EQ(m_home.LastError(kind), "");

    std::vector<Rec> second = Load(kind);
    ASSERT_EQ(second.size(), 4u);
    EXPECT_EQ(second[0].Differences(first[0]), std::vector<std::string>{});
    EXPECT_EQ(second[1].Differences(submit[1]), std::vector<std::string>{});
    EXPECT_EQ(second[2].Differences(first[2]), std::vector<std::string>{});
    EXPECT_EQ(second[3].Differences(submit[3]), std::vector<std::string>{});
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(second[static_cast<std::size_t>(i)].Id(), first[static_cast<std::size_t>(i)].Id());
    }
    EXPECT_EQ(second[3].Id().size(), 32u);
    EXPECT_NE(second[3].Id(), "ignored");
}

INSTANTIATE_TEST_SUITE_P(Kinds, NotesHelperKindTest,
                         ::testing::Values(notestest::kContacts, notestest::kCalendar, notestest::kTasks,
                                           notestest::kNotes),
                         [](const auto& info) { return std::string(info.param.helper).substr(9); });

TEST_F(NotesHelperTest, FailuresAreReportedAndChangeNothing)
{
    const KindCase& kind = notestest::kContacts;
    std::string names = m_home.CreateDatabase("names.nsf");
    std::vector<Rec> before = Seed(kind, 2);
    ASSERT_EQ(before.size(), 2u);

    struct Case
    {
        const char* name;
        int command;
        const char* database;
        int records; // of the submit below; -1 no record file
        int damage;  // 0 none, 1 unknown identifier, 2 unknown action, 3 cut short
        std::string expected;
    };
    const Case cases[] = {
        {"remote database", 1, "mailsrv!!names.nsf", -1, 0, "is on a server"},
        {"missing database", 1, "nosuch.nsf", -1, 0,
         "Database " + m_home.Data() + "nosuch.nsf does not exist."},
        {"missing absolute database", 2, "/no/such/dir/x.nsf", 1, 0,
         "Database /no/such/dir/x.nsf does not exist."},
        {"no database named", 1, "", -1, 0, "No Lotus Notes database was named."},
        {"unknown command", 3, "names.nsf", -1, 0, "Unknown command \"3\"."},
        {"no record file", 2, "names.nsf", -1, 0, "Cannot open the record file"},
        {"unknown identifier", 2, "names.nsf", 3, 1,
         "Unknown item identifier \"000000000000000000000000000000FF\""},
        {"unknown action", 2, "names.nsf", 3, 2, "has the unknown action 7"},
        {"cut short", 2, "names.nsf", 3, 3, "is cut short or damaged at record 3 of 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(RecordPath(kind).c_str());
        if (c.records >= 0) {
            // A new item and a change come first, so a rollback shows.
            std::vector<Rec> submit = {
                Rec(kind.kind, 50, LNChangeMarkSubmit, LNActionNew),
                Rec(kind.kind, 51, LNChangeMarkSubmit, LNActionChanged, before[0].Id()),
                Rec(kind.kind, 52, LNChangeMarkSubmit, LNActionChanged, before[1].Id())};
            if (c.damage == 1) {
                submit[2].SetId("000000000000000000000000000000FF");
            } else if (c.damage == 2) {
                submit[2].SetInt(1, 7);
            } else if (c.damage == 3) {
                submit.pop_back();
            }
            WriteRecords(kind, submit, c.records);
        }
        EXPECT_EQ(m_home.Run(kind, c.command, c.database), 1);
        std::string error = m_home.LastError(kind);
        EXPECT_NE(error.find(c.expected), std::string::npos) << error;
        if (c.command == 1) {
            EXPECT_FALSE(platform::FileExists(RecordPath(kind))) << "no record file after a failed load";
        }
        std::vector<Rec> after = Load(kind);
        ASSERT_EQ(after.size(), before.size());
        for (std::size_t i = 0; i < after.size(); ++i) {
            EXPECT_EQ(after[i].Differences(before[i]), std::vector<std::string>{});
        }
    }
}

TEST_F(NotesHelperTest, AFailedLoadLeavesNoEarlierRecordFileBehind)
{
    m_home.Home().WriteFile("work/LNNote.dat", std::string("\x01\x00\x00\x00", 4));
    EXPECT_EQ(m_home.Run(notestest::kNotes, 1, "notebook.nsf"), 1);
    EXPECT_NE(m_home.LastError(notestest::kNotes).find("does not exist"), std::string::npos);
    EXPECT_FALSE(platform::FileExists(RecordPath(notestest::kNotes)));
}

TEST_F(NotesHelperTest, ARelativeNameNeedsARegisteredDataFolder)
{
    m_home.Home().WriteFile("registry.ini", "");
    std::string path;
    std::string error;
    EXPECT_FALSE(ResolveNotesDatabase("names.nsf", path, error));
    EXPECT_NE(error.find("no Lotus Notes data folder is registered"), std::string::npos) << error;
    EXPECT_TRUE(ResolveNotesDatabase("/abs/names.nsf", path, error));
    EXPECT_EQ(path, "/abs/names.nsf");
}

// A stop request arriving while the helper runs: held up on the database's lock until the
// request is in place, the helper then stops at its next look and changes nothing.
TEST_F(NotesHelperTest, StopRequestRollsTheSubmitBack)
{
    const KindCase& kind = notestest::kContacts;
    std::string database = m_home.CreateDatabase("names.nsf");
    std::vector<Rec> before = Seed(kind, 1);
    std::vector<Rec> submit = before;
    for (int i = 0; i < 150; ++i) {
        submit.emplace_back(kind.kind, 100 + i, LNChangeMarkSubmit, LNActionNew);
    }
    WriteRecords(kind, submit);

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(database.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    platform::Process process;
    ASSERT_EQ(m_home.Start(kind, m_home.WriteParams(kind, 2, "names.nsf"), process), 0);
    std::string control = m_home.Work() + kind.controlFile;
    for (int i = 0; i < 500 && platform::GetPrivateProfileInt("Status", "Running", 0, control.c_str()) == 0;
         ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    // The helper has begun (it withdraws stale requests as it does); now ask it to stop.
    ASSERT_TRUE(platform::WritePrivateProfileString("Status", "Stop", "1", control.c_str()));
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    ASSERT_EQ(process.Wait(60000), platform::Process::WaitResult::Exited);
    EXPECT_EQ(process.ExitCode(), 1);
    EXPECT_NE(
        m_home.LastError(kind).find("Submitting Lotus Notes contacts was stopped. Nothing was changed."),
        std::string::npos)
        << m_home.LastError(kind);
    EXPECT_EQ(platform::GetPrivateProfileInt("Status", "Running", 9, control.c_str()), 0u);
    EXPECT_EQ(Load(kind).size(), 1u);
}

TEST_F(NotesHelperTest, ALockedDatabaseIsReportedAsSuch)
{
    std::string database = m_home.CreateDatabase("mail.nsf");
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(database.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(m_home.Run(notestest::kTasks, 1, "mail.nsf"), 1);
    EXPECT_NE(m_home.LastError(notestest::kTasks).find("is locked by another program"), std::string::npos)
        << m_home.LastError(notestest::kTasks);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
}
