// The SQLite item store of the stand-in helpers: every field survives, identifiers are the
// store's own, writes are all or nothing, and bad files are refused with a clear reason.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include "NotesTestSupport.h"

using notestest::DifferentFields;
using notestest::FillRecord;

namespace {

struct StoreKind
{
    const char* name;
    NotesItemKind kind;
    std::size_t size;
};

const StoreKind kStoreKinds[] = {
    {"Contacts", NotesItemKind::Contacts, sizeof(LNAddrRec)},
    {"Calendar", NotesItemKind::Calendar, sizeof(LNDateRec)},
    {"Tasks", NotesItemKind::Tasks, sizeof(LNTaskRec)},
    {"Notes", NotesItemKind::Notes, sizeof(LNNoteRec)},
};

// Room for one record of any layout.
struct Buffer
{
    explicit Buffer(std::size_t size) : data(size / sizeof(double) + 1) {}
    void* Get() { return data.data(); }
    const char* ItemId() const { return reinterpret_cast<const char*>(data.data()) + 2 * sizeof(int); }
    int Int(int at) const
    {
        int value;
        std::memcpy(&value, reinterpret_cast<const char*>(data.data()) + at * sizeof(int), sizeof value);
        return value;
    }
    std::vector<double> data;
};

class NotesStoreTest : public ::testing::Test
{
protected:
    std::string NewDatabase(const char* name = "names.nsf") { return m_home.CreateDatabase(name); }
    notestest::NotesHome m_home;
};

class NotesStoreKindTest : public NotesStoreTest, public ::testing::WithParamInterface<StoreKind>
{
};

std::vector<Buffer> ReadAll(NotesStore& store, const StoreKind& kind)
{
    std::vector<Buffer> items;
    std::string error;
    int count = -1;
    EXPECT_TRUE(store.BeginRead(kind.kind, &count, error)) << error;
    for (Buffer rec(kind.size); store.Next(rec.Get(), error); rec = Buffer(kind.size)) {
        items.push_back(rec);
    }
    store.EndRead();
    EXPECT_EQ(error, "");
    EXPECT_EQ(count, static_cast<int>(items.size()));
    return items;
}

} // namespace

TEST_P(NotesStoreKindTest, EveryFieldComesBackInInsertOrderWithFreshIdentifiers)
{
    const StoreKind& kind = GetParam();
    auto fields = NotesStore::Fields(kind.kind);
    NotesStore store;
    std::string error;
    ASSERT_TRUE(store.Open(NewDatabase(), error)) << error;

    std::vector<Buffer> written;
    ASSERT_TRUE(store.BeginWrite(kind.kind, error)) << error;
    std::vector<std::string> newIds;
    for (int seed = 1; seed <= 3; ++seed) {
        Buffer rec(kind.size);
        FillRecord(fields, rec.Get(), seed);
        std::snprintf(static_cast<char*>(rec.Get()) + 2 * sizeof(int), 64, "caller's id is ignored");
        std::string id;
        ASSERT_TRUE(store.Insert(rec.Get(), &id, error)) << error;
        newIds.push_back(id);
        written.push_back(rec);
    }
    ASSERT_TRUE(store.CommitWrite(error)) << error;

    std::vector<Buffer> items = ReadAll(store, kind);
    ASSERT_EQ(items.size(), 3u);
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(DifferentFields(fields, items[i].Get(), written[i].Get()), std::vector<std::string>{});
        EXPECT_EQ(items[i].ItemId(), newIds[i]);
        EXPECT_EQ(std::strlen(items[i].ItemId()), 32u);
        EXPECT_EQ(items[i].Int(0), 0) << "change mark";
        EXPECT_EQ(items[i].Int(1), 0) << "action";
    }
    EXPECT_NE(newIds[0], newIds[1]);
    EXPECT_NE(newIds[1], newIds[2]);
}

TEST_P(NotesStoreKindTest, UpdateReplacesOnlyTheNamedItemAndRollbackLeavesNothing)
{
    const StoreKind& kind = GetParam();
    auto fields = NotesStore::Fields(kind.kind);
    NotesStore store;
    std::string error;
    ASSERT_TRUE(store.Open(NewDatabase(), error)) << error;
    ASSERT_TRUE(store.BeginWrite(kind.kind, error)) << error;
    for (int seed = 1; seed <= 2; ++seed) {
        Buffer rec(kind.size);
        FillRecord(fields, rec.Get(), seed);
        ASSERT_TRUE(store.Insert(rec.Get(), nullptr, error)) << error;
    }
    ASSERT_TRUE(store.CommitWrite(error)) << error;
    std::vector<Buffer> before = ReadAll(store, kind);

    Buffer changed(kind.size);
    FillRecord(fields, changed.Get(), 9);
    std::memcpy(static_cast<char*>(changed.Get()) + 2 * sizeof(int), before[1].ItemId(), 33);
    ASSERT_TRUE(store.BeginWrite(kind.kind, error)) << error;
    ASSERT_TRUE(store.Update(changed.Get(), error)) << error;
    ASSERT_TRUE(store.CommitWrite(error)) << error;

    // A write that is rolled back leaves no trace, whether insert or update.
    Buffer other(kind.size);
    FillRecord(fields, other.Get(), 5);
    std::memcpy(static_cast<char*>(other.Get()) + 2 * sizeof(int), before[0].ItemId(), 33);
    ASSERT_TRUE(store.BeginWrite(kind.kind, error)) << error;
    ASSERT_TRUE(store.Update(other.Get(), error)) << error;
    ASSERT_TRUE(store.Insert(other.Get(), nullptr, error)) << error;
    store.Rollback();

    std::vector<Buffer> after = ReadAll(store, kind);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(DifferentFields(fields, after[0].Get(), before[0].Get()), std::vector<std::string>{});
    EXPECT_EQ(DifferentFields(fields, after[1].Get(), changed.Get()), std::vector<std::string>{});
    EXPECT_STREQ(after[1].ItemId(), before[1].ItemId());
}

INSTANTIATE_TEST_SUITE_P(Kinds, NotesStoreKindTest, ::testing::ValuesIn(kStoreKinds),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NotesStoreTest, UpdateOfAnUnknownIdentifierFails)
{
    NotesStore store;
    std::string error;
    ASSERT_TRUE(store.Open(NewDatabase(), error)) << error;
    const char* ids[] = {"", "not an identifier", "00000000000000000000000000000063",
                         "0000000000000000000000000000001"};
    for (const char* id : ids) {
        SCOPED_TRACE(id);
        LNNoteRec rec{};
        std::snprintf(rec.ItemID, sizeof rec.ItemID, "%s", id);
        ASSERT_TRUE(store.BeginWrite(NotesItemKind::Notes, error)) << error;
        error.clear();
        EXPECT_FALSE(store.Update(&rec, error));
        EXPECT_NE(error.find("Unknown item identifier"), std::string::npos) << error;
        store.Rollback();
    }
}

TEST_F(NotesStoreTest, ItemIdentifiersRoundTripAndRejectForeignTexts)
{
    struct Case
    {
        const char* text;
        bool valid;
        std::int64_t row;
    };
    const Case cases[] = {
        {"00000000000000000000000000000001", true, 1},  {"000000000000000000000000000000FF", true, 255},
        {"000000000000000000000000000000ff", false, 0}, // we only make upper case
        {"00000000000000000000000000000000", false, 0}, // no row 0
        {"10000000000000000000000000000001", false, 0}, // beyond any row number
        {"0000000000000000000000000000001", false, 0},  // one digit short
        {"0000000000000000000000000000000G", false, 0}, {"", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::int64_t row = 0;
        EXPECT_EQ(NotesStore::RowFromItemId(c.text, &row), c.valid);
        if (c.valid) {
            EXPECT_EQ(row, c.row);
            EXPECT_EQ(NotesStore::ItemIdFromRow(row), c.text);
        }
    }
}

TEST_F(NotesStoreTest, OpenRefusesWhatIsNotOneOfOurDatabases)
{
    struct Case
    {
        const char* name;
        const char* contents; // null: no file at all
        const char* expected;
    };
    const Case cases[] = {
        {"missing.nsf", nullptr, "does not exist"},
        {"garbage.nsf", "this is no database, just some text that is long enough to matter............",
         "damaged or is not a Lotus Notes database"},
        {"empty.nsf", "", "damaged or is not a Lotus Notes database"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = m_home.Data() + c.name;
        if (c.contents != nullptr) {
            m_home.Home().WriteFile(std::string("notesdata/") + c.name, c.contents);
        }
        NotesStore store;
        std::string error;
        EXPECT_FALSE(store.Open(path, error));
        EXPECT_NE(error.find(c.expected), std::string::npos) << error;
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_FALSE(store.IsOpen());
    }

    // A SQLite file of some other program.
    std::string foreign = m_home.Data() + "foreign.nsf";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(foreign.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE t(x)", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    NotesStore store;
    std::string error;
    EXPECT_FALSE(store.Open(foreign, error));
    EXPECT_NE(error.find("not a Lotus Notes database"), std::string::npos) << error;
}

TEST_F(NotesStoreTest, CreateNeverReplacesAnExistingFile)
{
    std::string path = m_home.Home().WriteFile("notesdata/mail.nsf", "precious");
    std::string error;
    EXPECT_FALSE(NotesStore::Create(path, error));
    EXPECT_NE(error.find("already exists"), std::string::npos) << error;
    EXPECT_EQ(m_home.Home().ReadFile("notesdata/mail.nsf"), "precious");
}

TEST_F(NotesStoreTest, WriteLockedByAnotherProgramFailsClearly)
{
    std::string path = NewDatabase();
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

    NotesStore store;
    std::string error;
    bool opened = store.Open(path, error);
    if (opened) {
        EXPECT_FALSE(store.BeginWrite(NotesItemKind::Contacts, error));
    }
    EXPECT_NE(error.find("is locked by another program"), std::string::npos) << error;
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
}
