// The real Lotus Notes connectors against the real helper programs: what a migration submits
// arrives in the database and nothing else moves; a helper's error reaches the connector; and
// ferrywise-cli dumps a new user's local store, including what was submitted to it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>

#include "NotesTestSupport.h"
#include "lotus/CxLNAddrUtil.h"
#include "lotus/CxLNDateUtil.h"
#include "lotus/CxLNNoteUtil.h"
#include "lotus/CxLNTaskUtil.h"
#include "platform/KnownFolders.h"

using notestest::DifferentFields;

namespace {

class LNConnectorEndToEndTest : public ::testing::Test
{
protected:
    LNConnectorEndToEndTest()
    {
        const char* old = std::getenv("FERRYWISE_HELPER_DIR");
        m_oldHelperDir = old != nullptr ? old : "";
        m_hadHelperDir = old != nullptr;
        ::setenv("FERRYWISE_HELPER_DIR", FW_HELPER_DIR, 1);
    }
    ~LNConnectorEndToEndTest() override
    {
        if (m_hadHelperDir) {
            ::setenv("FERRYWISE_HELPER_DIR", m_oldHelperDir.c_str(), 1);
        } else {
            ::unsetenv("FERRYWISE_HELPER_DIR");
        }
    }

    void Configure(CxConnector& connector, const std::string& database)
    {
        ConnectorConfig config;
        config.dataFolder = m_home.Work();
        config.logFolder = m_home.Work();
        config.enableDebug = true;
        config.logLevel = 3;
        config.database = database;
        connector.Configure(config);
    }

    // Every item of a table, straight from the database.
    template <class Rec> std::vector<Rec> Items(const std::string& path, NotesItemKind kind)
    {
        std::vector<Rec> items;
        NotesStore store;
        std::string error;
        int count = 0;
        EXPECT_TRUE(store.Open(path, error)) << error;
        EXPECT_TRUE(store.BeginRead(kind, &count, error)) << error;
        for (Rec rec{}; store.Next(&rec, error); rec = Rec{}) {
            items.push_back(rec);
        }
        return items;
    }

    // The store's records in load order.
    static std::vector<CommNoteRec> Records(CommNoteMgr* store)
    {
        std::vector<CommNoteRec> records;
        for (CommNoteRec* rec = store->First(); rec != nullptr; rec = store->Next()) {
            records.push_back(*rec);
        }
        return records;
    }

    template <class Connector>
    using Record = typename std::remove_cvref_t<decltype(*std::declval<Connector&>().GetStore()->First())>;
    template <class Connector, class Native>
    void ExpectSameOnTheNextRun(const char* database, NotesItemKind kind, const Record<Connector>& source,
                                const std::function<void(const Record<Connector>&)>& check);

    notestest::NotesHome m_home;
    std::string m_oldHelperDir;
    bool m_hadHelperDir = false;
};

CommNoteRec Note(const char* title, const char* body)
{
    CommNoteRec rec{};
    std::snprintf(rec.Title, sizeof rec.Title, "%s", title);
    std::snprintf(rec.Body, sizeof rec.Body, "%s", body);
    return rec;
}

CommAddrRec Contact(const char* first, const char* last, const char* company)
{
    CommAddrRec rec{};
    std::snprintf(rec.FirstName, sizeof rec.FirstName, "%s", first);
    std::snprintf(rec.LastName, sizeof rec.LastName, "%s", last);
    std::snprintf(rec.Company, sizeof rec.Company, "%s", company);
    return rec;
}

} // namespace

// Items come with fields the connector only carries; a New and a Diff go in, a Same record
// does not, and every other item and field stays exactly as it was.
TEST_F(LNConnectorEndToEndTest, NewAndDiffArriveAndNothingElseMoves)
{
    std::string path = m_home.CreateDatabase("notebook.nsf");
    {
        std::vector<LNNoteRec> seed;
        for (int i = 1; i <= 3; ++i) {
            seed.push_back(
                notestest::MakeRecord<LNNoteRec>(LNNoteFields(), i, LNChangeMarkSubmit, LNActionNew));
        }
        m_home.WriteRecords(notestest::kNotes, seed);
        ASSERT_EQ(m_home.Run(notestest::kNotes, 2, "notebook.nsf"), 0) << m_home.LastError(notestest::kNotes);
    }
    std::vector<LNNoteRec> before = Items<LNNoteRec>(path, NotesItemKind::Notes);
    ASSERT_EQ(before.size(), 3u);

    CxLNNoteUtil connector;
    Configure(connector, "notebook.nsf");
    ASSERT_TRUE(connector.Load());
    ASSERT_FALSE(connector.HasError()) << connector.ErrorText();
    ASSERT_EQ(connector.GetNoteStore()->GetCount(), 3);

    std::vector<CommNoteRec> loaded = Records(connector.GetNoteStore());
    CommNoteRec same = loaded[0];
    CommNoteRec diff = loaded[1];
    std::snprintf(diff.Body, sizeof diff.Body, "%s", "The body as the source has it.");
    EXPECT_FALSE(connector.SubmitRecord(same, false));
    EXPECT_TRUE(connector.SubmitRecord(diff, false));
    EXPECT_TRUE(connector.SubmitRecord(Note("Fresh", "A note from the source."), false));
    ASSERT_TRUE(connector.Commit());
    ASSERT_FALSE(connector.HasError()) << connector.ErrorText();

    std::vector<LNNoteRec> after = Items<LNNoteRec>(path, NotesItemKind::Notes);
    ASSERT_EQ(after.size(), 4u);
    EXPECT_EQ(DifferentFields(LNNoteFields(), &after[0], &before[0]), std::vector<std::string>{});
    EXPECT_EQ(DifferentFields(LNNoteFields(), &after[1], &before[1]), std::vector<std::string>{"Body"});
    EXPECT_STREQ(after[1].Body, "The body as the source has it.");
    EXPECT_EQ(DifferentFields(LNNoteFields(), &after[2], &before[2]), std::vector<std::string>{});
    EXPECT_STREQ(after[3].Title, "Fresh");
    EXPECT_STREQ(after[3].Body, "A note from the source.");
    EXPECT_EQ(after[3].Kept7, 0);

    // A fresh connector loads exactly that.
    CxLNNoteUtil again;
    Configure(again, "notebook.nsf");
    ASSERT_TRUE(again.Load());
    ASSERT_EQ(again.GetNoteStore()->GetCount(), 4);
    std::vector<CommNoteRec> reloaded = Records(again.GetNoteStore());
    EXPECT_STREQ(reloaded[1].Body, "The body as the source has it.");
    EXPECT_STREQ(reloaded[3].Title, "Fresh");
}

// A source item that Lotus Notes held only in part before, migrated twice through the
// helpers: the first run adds it, it loads back as the source has it, the next comparison is
// Same and a second submit writes nothing, so the database holds it once.
template <class Connector, class Native>
void LNConnectorEndToEndTest::ExpectSameOnTheNextRun(
    const char* database, NotesItemKind kind, const Record<Connector>& source,
    const std::function<void(const Record<Connector>&)>& check)
{
    using Store = std::remove_pointer_t<decltype(std::declval<Connector&>().GetStore())>;
    const std::string path = m_home.Data() + database;
    if (!platform::FileExists(path)) {
        m_home.CreateDatabase(database);
    }
    const std::size_t before = Items<Native>(path, kind).size();
    Store sourceStore;
    ASSERT_NE(sourceStore.Add(&source), nullptr);

    Connector first;
    Configure(first, database);
    ASSERT_TRUE(first.Load());
    ASSERT_TRUE(sourceStore.CompareAll(first.GetStore()));
    EXPECT_EQ(sourceStore.First()->Status, MatchNew);
    EXPECT_TRUE(first.SubmitRecord(*sourceStore.First(), false));
    ASSERT_TRUE(first.Commit());
    ASSERT_FALSE(first.HasError()) << first.ErrorText();
    EXPECT_EQ(Items<Native>(path, kind).size(), before + 1);

    Connector next;
    Configure(next, database);
    ASSERT_TRUE(next.Load());
    ASSERT_EQ(next.GetStore()->GetCount(), static_cast<int>(before + 1));
    int index = -1;
    Record<Connector>* found = nullptr;
    EXPECT_EQ(next.GetStore()->Search(&source, &found, &index), SearchSame);
    ASSERT_NE(found, nullptr);
    check(*found);
    ASSERT_TRUE(sourceStore.CompareAll(next.GetStore()));
    EXPECT_EQ(sourceStore.First()->Status, MatchSame);
    EXPECT_FALSE(next.SubmitRecord(*sourceStore.First(), false));
    ASSERT_TRUE(next.Commit());
    EXPECT_EQ(Items<Native>(path, kind).size(), before + 1);
}

TEST_F(LNConnectorEndToEndTest, WhatLotusNotesHeldInPartIsTheSameOnTheNextRun)
{
    {
        SCOPED_TRACE("an all-day event");
        CommDateRec event{};
        CopyText(event.Subject, "Christmas");
        event.AllDay = 1;
        event.Start = SYSTEMTIME{2024, 12, 3, 25, 0, 0, 0, 0};
        event.End = event.Start;
        ExpectSameOnTheNextRun<CxLNDateUtil, LNDateRec>(
            "mail.nsf", NotesItemKind::Calendar, event,
            [](const CommDateRec& back) { EXPECT_EQ(back.AllDay, 1); });
        // A timed entry of the same subject and day is another item beside it.
        CommDateRec timed = event;
        timed.AllDay = 0;
        timed.Start.wHour = 18;
        timed.End.wHour = 20;
        ExpectSameOnTheNextRun<CxLNDateUtil, LNDateRec>(
            "mail.nsf", NotesItemKind::Calendar, timed,
            [](const CommDateRec& back) { EXPECT_EQ(back.AllDay, 0); });
    }
    {
        SCOPED_TRACE("a completed task");
        CommTaskRec task{};
        CopyText(task.Subject, "File taxes");
        task.Completed = 1;
        task.LastModificationTime = 45000.5; // 2023-03-15 12:00
        ExpectSameOnTheNextRun<CxLNTaskUtil, LNTaskRec>(
            "mail.nsf", NotesItemKind::Tasks, task,
            [](const CommTaskRec& back) { EXPECT_EQ(back.Completed, 1); });
        std::vector<LNTaskRec> stored = Items<LNTaskRec>(m_home.Data() + "mail.nsf", NotesItemKind::Tasks);
        ASSERT_EQ(stored.size(), 1u);
        EXPECT_EQ(stored[0].CompletionDate, 45000.5);
    }
    {
        SCOPED_TRACE("a memo longer than a Lotus Notes note");
        std::string body = "Long memo\r\n";
        while (body.size() < 20000) {
            body += "A line of a long memo, \xE9t\xE9 \x80 included.\r\n";
        }
        CommNoteRec memo = Note("Long memo", body.c_str());
        ExpectSameOnTheNextRun<CxLNNoteUtil, LNNoteRec>(
            "notebook.nsf", NotesItemKind::Notes, memo,
            [&](const CommNoteRec& back) { EXPECT_EQ(std::string(back.Body), body.substr(0, 8191)); });
    }
    {
        SCOPED_TRACE("a contact note longer than Lotus Notes keeps");
        CommAddrRec contact = Contact("Ada", "Lovelace", "Analytical Engines");
        CopyText(contact.Note, std::string(6000, 'n'));
        ExpectSameOnTheNextRun<CxLNAddrUtil, LNAddrRec>(
            "names.nsf", NotesItemKind::Contacts, contact,
            [](const CommAddrRec& back) { EXPECT_EQ(std::string(back.Note), std::string(4095, 'n')); });
    }
}

TEST_F(LNConnectorEndToEndTest, TheHelpersErrorReachesTheConnector)
{
    struct Case
    {
        const char* database;
        std::string expected;
    };
    const Case cases[] = {
        {"nosuch.nsf", "Database " + m_home.Data() + "nosuch.nsf does not exist."},
        {"hub/acme!!names.nsf", "is on a server"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.database);
        CxLNAddrUtil connector;
        Configure(connector, c.database);
        connector.Load();
        EXPECT_TRUE(connector.HasError());
        EXPECT_NE(std::string(connector.ErrorText()).find(c.expected), std::string::npos)
            << connector.ErrorText();
        EXPECT_EQ(connector.GetAddrStore()->GetCount(), 0);
    }
}

// A submit whose helper cannot be started fails, naming the helper, and writes nothing; the
// changes stay for the next commit, which writes them once the helper is there again.
TEST_F(LNConnectorEndToEndTest, ACommitWhoseHelperCannotStartFailsAndKeepsItsChanges)
{
    std::string path = m_home.CreateDatabase("notebook.nsf");
    CxLNNoteUtil connector;
    Configure(connector, "notebook.nsf");
    ASSERT_TRUE(connector.Load());
    ASSERT_TRUE(connector.SubmitRecord(Note("Fresh", "A note from the source."), false));

    const std::string empty = m_home.Home().Path("no-helpers/");
    m_home.Home().WriteFile("no-helpers/.keep", "");
    ::setenv("FERRYWISE_HELPER_DIR", empty.c_str(), 1);
    EXPECT_FALSE(connector.Commit());
    EXPECT_TRUE(connector.HasError());
    EXPECT_EQ(std::string(connector.ErrorText()),
              "The helper utility program " + empty +
                  "fw-notes-notes cannot be started: No such file or directory");
    EXPECT_TRUE(connector.IsDirty());
    EXPECT_TRUE(Items<LNNoteRec>(path, NotesItemKind::Notes).empty());

    ::setenv("FERRYWISE_HELPER_DIR", FW_HELPER_DIR, 1);
    ASSERT_TRUE(connector.Commit());
    ASSERT_FALSE(connector.HasError()) << connector.ErrorText();
    std::vector<LNNoteRec> after = Items<LNNoteRec>(path, NotesItemKind::Notes);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_STREQ(after[0].Title, "Fresh");
}

#ifdef FW_CLI_PATH
// A new user: the program makes and registers the local databases, dumps the empty address
// book, and then shows what a submit put there.
TEST_F(LNConnectorEndToEndTest, TheProgramDumpsTheLocalAddressBook)
{
    m_home.Home().WriteFile("registry.ini", ""); // no Lotus Notes registered
    auto dump = [] {
        std::string command =
            std::string("'") + FW_CLI_PATH + "' dump --source notes --type contacts --format csv";
        std::string output;
        std::FILE* pipe = ::popen(command.c_str(), "r");
        EXPECT_NE(pipe, nullptr);
        if (pipe == nullptr) {
            return output;
        }
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            output.append(buffer, n);
        }
        EXPECT_EQ(::pclose(pipe), 0) << output;
        return output;
    };
    std::string empty = dump();
    std::string data = m_home.Home().Root() + "/.local/share/corvane/notes/";
    EXPECT_TRUE(platform::FileExists(data + "names.nsf"));
    EXPECT_TRUE(platform::FileExists(data + "mail.nsf"));
    EXPECT_TRUE(platform::FileExists(data + "notebook.nsf"));
    EXPECT_EQ(empty.find("Ada"), std::string::npos);

    // What a migration's submit does, through the connector the program uses.
    CxLNAddrUtil connector;
    Configure(connector, "names.nsf");
    ASSERT_TRUE(connector.Load());
    EXPECT_TRUE(connector.SubmitRecord(Contact("Ada", "Lovelace", "Analytical Engines"), false));
    EXPECT_TRUE(connector.SubmitRecord(Contact("Charles", "Babbage", "Difference Ltd"), false));
    ASSERT_TRUE(connector.Commit());
    ASSERT_FALSE(connector.HasError()) << connector.ErrorText();

    std::string full = dump();
    EXPECT_NE(full.find("Lovelace"), std::string::npos) << full;
    EXPECT_NE(full.find("Analytical Engines"), std::string::npos) << full;
    EXPECT_NE(full.find("Babbage"), std::string::npos) << full;
}
#endif
