// The real ACT! connectors against the real ACT! helper programs over a stand-in database:
// loading each kind, the opportunity flags, a submit applied in one transaction, and the
// refusals (wrong login, a .pad that names no database, a missing database) reaching the
// connector as its error text with nothing changed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ACT/CxACTAddrUtil.h"
#include "ACT/CxACTDateUtil.h"
#include "ACT/CxACTNoteUtil.h"
#include "ACT/CxACTTaskUtil.h"
#include "act/ACTStore.h"
#include "common/TempHome.h"
#include "misc/Sha256.h"

namespace {

class ACTHelperEndToEndTest : public ::testing::Test
{
protected:
    ACTHelperEndToEndTest()
    {
        ::setenv("FERRYWISE_HELPER_DIR", FW_HELPER_DIR, 1);
        m_work = m_home.Path("work/");
        m_home.WriteFile("work/.keep", "");
        m_pad = m_home.Path("act/Demo.pad");
        m_home.WriteFile("act/.keep", "");
        std::string error;
        EXPECT_TRUE(ACTStore::Create(m_home.Path("act/Demo.fwact"), error)) << error;
        EXPECT_TRUE(ACTStore::WritePad(m_pad, "Demo.fwact", error)) << error;
        ACTStore store;
        EXPECT_TRUE(store.Open(m_home.Path("act/Demo.fwact"), error)) << error;
        EXPECT_TRUE(store.AddUser("Chris", "s3cret", error)) << error;
    }
    ~ACTHelperEndToEndTest() override { ::unsetenv("FERRYWISE_HELPER_DIR"); }

    void Configure(CxConnector& connector, const std::string& user = "chris",
                   const std::string& password = "s3cret", bool opportunities = false,
                   bool opportunityNotes = false)
    {
        ConnectorConfig config;
        config.dataFolder = m_work;
        config.logFolder = m_work;
        config.enableDebug = true;
        config.logLevel = 3;
        config.database = m_pad;
        config.userName = user;
        config.password = password;
        config.opportunities = opportunities;
        config.opportunityNotes = opportunityNotes;
        connector.Configure(config);
    }

    // Adds items straight to the database; the identifiers they got.
    template <class Rec> std::vector<std::string> Seed(ACTItemKind kind, const std::vector<Rec>& items)
    {
        std::vector<std::string> ids;
        ACTStore store;
        std::string error;
        EXPECT_TRUE(store.Open(m_home.Path("act/Demo.fwact"), error)) << error;
        EXPECT_TRUE(store.BeginWrite(kind, error)) << error;
        for (const Rec& rec : items) {
            std::string id;
            EXPECT_TRUE(store.Insert(&rec, &id, error)) << error;
            ids.push_back(id);
        }
        EXPECT_TRUE(store.CommitWrite(error)) << error;
        return ids;
    }

    template <class Rec> std::vector<Rec> Items(ACTItemKind kind, ACTReadOptions options = {})
    {
        std::vector<Rec> items;
        ACTStore store;
        std::string error;
        int count = 0;
        EXPECT_TRUE(store.Open(m_home.Path("act/Demo.fwact"), error)) << error;
        EXPECT_TRUE(store.BeginRead(kind, options, &count, error)) << error;
        for (Rec rec{}; store.Next(&rec, error); rec = Rec{}) {
            items.push_back(rec);
        }
        return items;
    }

    fwtest::TempHome m_home;
    std::string m_work;
    std::string m_pad;
};

ACTAddrRec Contact(const char* first, const char* last, const char* phone, const char* extension)
{
    ACTAddrRec rec{};
    std::snprintf(rec.FirstName, sizeof rec.FirstName, "%s", first);
    std::snprintf(rec.LastName, sizeof rec.LastName, "%s", last);
    std::snprintf(rec.BusinessPhone, sizeof rec.BusinessPhone, "%s", phone);
    std::snprintf(rec.BusinessPhoneExtension, sizeof rec.BusinessPhoneExtension, "%s", extension);
    std::snprintf(rec.ReferredBy, sizeof rec.ReferredBy, "carried");
    return rec;
}

TEST_F(ACTHelperEndToEndTest, ContactsLoadAndASubmitArrivesWithTheRestCarried)
{
    const auto ids = Seed<ACTAddrRec>(ACTItemKind::Contacts, {Contact("Ada", "Byron", "555-1234", "12"),
                                                              Contact("Alan", "Turing", "555-0000", "")});
    CxACTAddrUtil contacts;
    Configure(contacts);
    ASSERT_TRUE(contacts.Load()) << contacts.ErrorText();
    ASSERT_FALSE(contacts.HasError()) << contacts.ErrorText();
    ASSERT_EQ(contacts.GetStore()->GetCount(), 2);
    CommAddrRec first = *contacts.GetStore()->First();
    EXPECT_STREQ(first.WorkPhone, "555-1234x12");
    EXPECT_STREQ(static_cast<const ACTAddrRec*>(first.NativeRecord)->RecordID, ids[0].c_str());

    // The phone written back as the join wrote it comes back whole.
    first.NativeRecord = nullptr;
    std::snprintf(first.Company, sizeof first.Company, "Engines Ltd");
    ASSERT_TRUE(contacts.SubmitRecord(first, false));
    CommAddrRec added{};
    std::snprintf(added.FirstName, sizeof added.FirstName, "Grace");
    std::snprintf(added.WorkPhone, sizeof added.WorkPhone, "555-7777 x5");
    ASSERT_TRUE(contacts.SubmitRecord(added, false));
    ASSERT_TRUE(contacts.Commit());
    ASSERT_FALSE(contacts.HasError()) << contacts.ErrorText();

    const auto items = Items<ACTAddrRec>(ACTItemKind::Contacts);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_STREQ(items[0].Company, "Engines Ltd");
    EXPECT_STREQ(items[0].BusinessPhone, "555-1234");
    EXPECT_STREQ(items[0].BusinessPhoneExtension, "12");
    EXPECT_STREQ(items[0].ReferredBy, "carried");
    EXPECT_STREQ(items[1].FirstName, "Alan");
    EXPECT_STREQ(items[2].FirstName, "Grace");
    EXPECT_STREQ(items[2].BusinessPhone, "555-7777");
    EXPECT_STREQ(items[2].BusinessPhoneExtension, "5");
}

TEST_F(ACTHelperEndToEndTest, TasksHonourTheTwoOpportunityFlags)
{
    ACTTaskRec todo{};
    std::snprintf(todo.Subject, sizeof todo.Subject, "Call Ada");
    ACTTaskRec deal{};
    std::snprintf(deal.Subject, sizeof deal.Subject, "Engine deal");
    std::snprintf(deal.Details, sizeof deal.Details, "Ten engines");
    const auto ids = Seed<ACTTaskRec>(ACTItemKind::Tasks, {todo, deal});
    {
        ACTStore store;
        std::string error;
        ASSERT_TRUE(store.Open(m_home.Path("act/Demo.fwact"), error));
        ASSERT_TRUE(store.MarkOpportunity(ids[1], "Send the quote", error)) << error;
    }
    struct Case
    {
        bool opportunities;
        bool notes;
        std::vector<std::string> subjects;
        std::string dealNotes;
    };
    const Case cases[] = {
        {false, false, {"Call Ada"}, ""},
        {false, true, {"Call Ada"}, ""},
        {true, false, {"Call Ada", "Engine deal"}, "Ten engines"},
        {true,
         true,
         {"Call Ada", "Engine deal"},
         std::string("Ten engines") + ACTStore::kNotesSeparator + "Send the quote"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.opportunities << c.notes);
        CxACTTaskUtil tasks;
        Configure(tasks, "Chris", "s3cret", c.opportunities, c.notes);
        ASSERT_TRUE(tasks.Load());
        ASSERT_FALSE(tasks.HasError()) << tasks.ErrorText();
        std::vector<std::string> subjects;
        std::string notes;
        for (CommTaskRec* rec = tasks.GetStore()->First(); rec != nullptr; rec = tasks.GetStore()->Next()) {
            subjects.push_back(rec->Subject);
            if (subjects.back() == "Engine deal") {
                notes = rec->Notes;
            }
        }
        EXPECT_EQ(subjects, c.subjects);
        EXPECT_EQ(notes, c.dealNotes);
    }

    // Changing the opportunity loaded with its notes keeps the notes out of its details.
    CxACTTaskUtil tasks;
    Configure(tasks, "Chris", "s3cret", true, true);
    ASSERT_TRUE(tasks.Load());
    CommTaskRec* rec = tasks.GetStore()->First();
    rec = tasks.GetStore()->Next();
    ASSERT_NE(rec, nullptr);
    CommTaskRec changed = *rec;
    changed.NativeRecord = nullptr;
    changed.Priority = 2; // low
    ASSERT_TRUE(tasks.SubmitRecord(changed, false));
    ASSERT_TRUE(tasks.Commit());
    ASSERT_FALSE(tasks.HasError()) << tasks.ErrorText();
    const auto items = Items<ACTTaskRec>(ACTItemKind::Tasks, ACTReadOptions{true, false});
    ASSERT_EQ(items.size(), 2u);
    EXPECT_STREQ(items[1].Details, "Ten engines");
    EXPECT_EQ(items[1].Priority, 2);
}

TEST_F(ACTHelperEndToEndTest, CalendarAndNotesLoad)
{
    ACTDateRec event{};
    std::snprintf(event.Subject, sizeof event.Subject, "Board meeting");
    event.Start = 45000.375;
    event.End = 45000.5;
    event.RepeatFrequency = 2;
    event.RepeatValue = 0x04;
    event.RepeatInterval = 1;
    event.RepeatType = 2;
    Seed<ACTDateRec>(ACTItemKind::Calendar, {event});
    ACTNoteRec note{};
    std::snprintf(note.Text, sizeof note.Text, "Remember the engines");
    Seed<ACTNoteRec>(ACTItemKind::Notes, {note});

    CxACTDateUtil calendar;
    Configure(calendar);
    ASSERT_TRUE(calendar.Load());
    ASSERT_FALSE(calendar.HasError()) << calendar.ErrorText();
    ASSERT_EQ(calendar.GetStore()->GetCount(), 1);
    EXPECT_STREQ(calendar.GetStore()->First()->Subject, "Board meeting");
    EXPECT_EQ(calendar.GetStore()->First()->Recurrence.Kind, 2);
    EXPECT_EQ(calendar.GetStore()->First()->Start.wHour, 9);

    CxACTNoteUtil notes;
    Configure(notes);
    ASSERT_TRUE(notes.Load());
    ASSERT_FALSE(notes.HasError()) << notes.ErrorText();
    ASSERT_EQ(notes.GetStore()->GetCount(), 1);
    EXPECT_STREQ(notes.GetStore()->First()->Body, "Remember the engines");
}

TEST_F(ACTHelperEndToEndTest, RefusalsReachTheConnectorAndChangeNothing)
{
    Seed<ACTAddrRec>(ACTItemKind::Contacts, {Contact("Ada", "Byron", "1", "")});
    struct Case
    {
        const char* name;
        const char* user;
        const char* password;
        const char* pad;         // written into m_pad; null keeps it
        const char* padContents; // when pad is set
        const char* error;
    };
    const Case cases[] = {
        {"WrongPassword", "Chris", "guess", nullptr, nullptr, "failed: wrong user name or password."},
        {"UnknownUser", "Eve", "s3cret", nullptr, nullptr, "failed: wrong user name or password."},
        {"PadNamesNoDatabase", "Chris", "s3cret", "act/Empty.pad", "[Other]\nPath=x\n", "names no database."},
        {"MissingDatabase", "Chris", "s3cret", "act/Gone.pad", "[Database]\nPath=Gone.fwact\n",
         "does not exist."},
        {"MissingPad", "Chris", "s3cret", "act/None.pad", nullptr, "does not exist."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string pad = m_pad;
        if (c.pad != nullptr) {
            pad = m_home.Path(c.pad);
            if (c.padContents != nullptr) {
                m_home.WriteFile(c.pad, c.padContents);
            }
        }
        CxACTAddrUtil contacts;
        ConnectorConfig config;
        config.dataFolder = m_work;
        config.logFolder = m_work;
        config.database = pad;
        config.userName = c.user;
        config.password = c.password;
        contacts.Configure(config);
        contacts.Load();
        EXPECT_TRUE(contacts.HasError());
        EXPECT_NE(std::string(contacts.ErrorText()).find(c.error), std::string::npos) << contacts.ErrorText();
        EXPECT_EQ(contacts.GetStore()->GetCount(), 0);
        // A submit is refused the same way and adds nothing.
        CommAddrRec added{};
        std::snprintf(added.FirstName, sizeof added.FirstName, "Mallory");
        contacts.SubmitRecord(added, false);
        contacts.Commit();
        EXPECT_TRUE(contacts.HasError());
        EXPECT_EQ(Items<ACTAddrRec>(ACTItemKind::Contacts).size(), 1u);
    }
}

TEST_F(ACTHelperEndToEndTest, PasswordsAreKeptAsSaltedHashes)
{
    ACTStore store;
    std::string error;
    ASSERT_TRUE(store.Open(m_home.Path("act/Demo.fwact"), error));
    ASSERT_TRUE(store.AddUser("Dana", "s3cret", error)) << error;
    EXPECT_FALSE(store.AddUser("dana", "other", error));
    EXPECT_NE(error.find("exists already"), std::string::npos);
    EXPECT_TRUE(store.Login("DANA", "s3cret", error));
    EXPECT_FALSE(store.Login("Dana", "s3cret ", error));
    store.Close();
    // Neither the password nor its plain hash lies in the file; the two users with the same
    // password have different salts.
    const std::string bytes = m_home.ReadFile("act/Demo.fwact");
    EXPECT_EQ(bytes.find("s3cret"), std::string::npos);
    EXPECT_EQ(bytes.find(Sha256Hex("s3cret")), std::string::npos);
}

} // namespace
