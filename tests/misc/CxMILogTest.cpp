#include "misc/CxMILog.h"

#include <gtest/gtest.h>
#include <string>

#include "common/TempHome.h"
#include "platform/CodePage.h"
#include "platform/KnownFolders.h"

namespace {

class CxMILogTest : public testing::Test
{
protected:
    std::string Folder() const { return home.Root() + "/"; }
    std::string Text() const { return home.ReadFile("MILog.txt"); }

    fwtest::TempHome home;
};

TEST_F(CxMILogTest, LogsAContactWithEmptyFieldsMarked)
{
    CommAddrRec rec{};
    CopyText(rec.DisplayName, "Ann Lee");
    CopyText(rec.Title, "CEO");
    CopyText(rec.Email, "ann@example.com");
    CopyText(rec.PrimaryPhone, "555 0100");
    CxMILog log(Folder());
    ASSERT_TRUE(log.Open());
    log.WriteLine("Migrating contacts to Lotus Notes...");
    log.LogContact(&rec);
    log.LogContact(nullptr);
    log.Close();
    EXPECT_EQ(Text(), "Migrating contacts to Lotus Notes...\r\n"
                      "Migrating Contact item:\r\n"
                      "\tDisplay Name: Ann Lee\r\n"
                      "\tCompany: <empty>\r\n"
                      "\tTitle: CEO\r\n"
                      "\tEmail: ann@example.com\r\n"
                      "\tPrimary Phone: 555 0100\r\n"
                      "Contact item migrated successfully...\r\n\r\n");
}

TEST_F(CxMILogTest, LogsCalendarTaskAndNoteEntries)
{
    CommDateRec event{};
    CopyText(event.Subject, "Review");
    event.Start = SYSTEMTIME{2013, 3, 5, 1, 9, 30, 0, 0};
    event.End = SYSTEMTIME{2013, 3, 5, 1, 10, 45, 15, 0};
    CommDateRec old{};
    CopyText(old.Subject, "Ancient");
    old.Start = SYSTEMTIME{1930, 6, 0, 1, 8, 0, 0, 0};
    old.End = old.Start;
    CommTaskRec task{};
    CopyText(task.Subject, "Call back");
    CommNoteRec note{};
    CopyText(note.Body, "Shopping\r\nmilk\r\n");

    CxMILog log(Folder());
    ASSERT_TRUE(log.Open());
    log.LogCalendar(&event);
    log.LogCalendar(&old);
    log.LogTask(&task);
    log.LogNote(&note);
    log.Close();
    EXPECT_EQ(Text(), "Migrating Calendar item:\r\n"
                      "\tSubject: Review\r\n"
                      "\tLocation: <empty>\r\n"
                      "\tDate: 03/01/2013\r\n"
                      "\tStart Time: 09:30:00\r\n"
                      "\tEnd Time: 10:45:15\r\n"
                      "Calendar item migrated successfully...\r\n\r\n"
                      "Migrating Calendar item:\r\n"
                      "\tSubject: Ancient\r\n"
                      "\tLocation: <empty>\r\n"
                      "\tDate: <empty>\r\n"
                      "\tStart Time: 08:00:00\r\n"
                      "\tEnd Time: 08:00:00\r\n"
                      "Calendar item migrated successfully...\r\n\r\n"
                      "Migrating Task item:\r\n"
                      "\tSubject: Call back\r\n"
                      "Task item migrated successfully...\r\n\r\n"
                      "Migrating Note item:\r\n"
                      "\tBrief Note: Shopping\r\n"
                      "Note item migrated successfully...\r\n\r\n");
}

struct BriefCase
{
    const char* name;
    std::string body;
    std::string brief;
};

class BriefNoteTest : public testing::TestWithParam<BriefCase>
{
};

TEST_P(BriefNoteTest, TakesTheFirstLineUpTo255Characters)
{
    CommNoteRec note{};
    CopyText(note.Body, GetParam().body.c_str());
    EXPECT_EQ(CxMILog::BriefNote(note), GetParam().brief);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, BriefNoteTest,
    testing::Values(BriefCase{"crlf", "one\r\ntwo", "one"},
                    BriefCase{"lf_only", "one\ntwo\r\nthree", "one\ntwo"},
                    BriefCase{"leading_break", "\r\nrest", ""}, BriefCase{"no_break", "plain", "plain"},
                    BriefCase{"long_line", std::string(300, 'n'), std::string(255, 'n')},
                    BriefCase{"long_first_line", std::string(300, 'n') + "\nx", std::string(255, 'n')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CxMILogTest, EmptyBriefNoteIsMarked)
{
    CommNoteRec note{};
    CopyText(note.Body, "\nsecond line");
    CxMILog log(Folder());
    ASSERT_TRUE(log.Open());
    log.LogNote(&note);
    log.Close();
    EXPECT_NE(Text().find("\tBrief Note: <empty>\r\n"), std::string::npos);
}

// A text that the target keeps only in part is told of after the item's entry lines; one that
// fits, a limit naming no text field and a missing field say nothing.
TEST_F(CxMILogTest, TellsOfTextsTheTargetCuts)
{
    static constexpr CommTextLimit kNoteCuts[] = {
        {NoteKey::Body, "Body", 8191}, {NoteKey::Title, "Title", 300}, {0, "Color", 0}, {0, "NoSuch", 0}};
    static constexpr CommTextLimit kContactCuts[] = {{AddrKey::Note, "Note", 4095}};
    CommNoteRec memo{};
    CopyText(memo.Title, "Long memo");
    CopyText(memo.Body, "Long memo\r\n" + std::string(9000, 'x'));
    CommNoteRec exact{};
    CopyText(exact.Body, std::string(8191, 'y'));
    CommAddrRec contact{};
    CopyText(contact.DisplayName, "Ann Lee");
    CopyText(contact.Note, std::string(5000, 'n'));

    CxMILog log(Folder());
    ASSERT_TRUE(log.Open());
    log.LogNote(&memo, kNoteCuts);
    log.LogNote(&exact, kNoteCuts);
    log.LogContact(&contact, kContactCuts);
    log.LogTask(nullptr, kNoteCuts);
    log.Close();
    EXPECT_EQ(Text(), "Migrating Note item:\r\n"
                      "\tBrief Note: Long memo\r\n"
                      "\tBody: cut to 8191 characters\r\n"
                      "Note item migrated successfully...\r\n\r\n"
                      "Migrating Note item:\r\n"
                      "\tBrief Note: " +
                          std::string(255, 'y') +
                          "\r\n"
                          "Note item migrated successfully...\r\n\r\n"
                          "Migrating Contact item:\r\n"
                          "\tDisplay Name: Ann Lee\r\n"
                          "\tCompany: <empty>\r\n"
                          "\tTitle: <empty>\r\n"
                          "\tEmail: <empty>\r\n"
                          "\tPrimary Phone: <empty>\r\n"
                          "\tNote: cut to 4095 characters\r\n"
                          "Contact item migrated successfully...\r\n\r\n");
}

// Each run starts a new log; the one before is kept as MILog.old.txt, and only that one.
TEST_F(CxMILogTest, EachOpenReplacesThePreviousLogAndKeepsItAsOld)
{
    {
        CxMILog log(Folder());
        ASSERT_TRUE(log.Open());
        log.WriteLine("first run");
    }
    EXPECT_FALSE(platform::FileExists(Folder() + "MILog.old.txt"));
    for (const char* run : {"second run", "third run"}) {
        CxMILog log(Folder());
        EXPECT_EQ(log.GetOldPath(), Folder() + "MILog.old.txt");
        ASSERT_TRUE(log.Open());
        log.WriteLine(run);
        log.Close();
    }
    EXPECT_EQ(Text(), "third run\r\n");
    EXPECT_EQ(home.ReadFile("MILog.old.txt"), "second run\r\n");
}

// A previous log that cannot be moved aside is emptied as before: the new run is still logged.
TEST_F(CxMILogTest, PreviousLogThatCannotBeKeptIsReplaced)
{
    ASSERT_TRUE(platform::MakeFolder(Folder() + "MILog.old.txt"));
    home.WriteFile("MILog.old.txt/keep", "x");
    home.WriteFile("MILog.txt", "first run\r\n");
    CxMILog log(Folder());
    ASSERT_TRUE(log.Open());
    log.WriteLine("second run");
    log.Close();
    EXPECT_EQ(Text(), "second run\r\n");
}

// Record texts are in the ANSI code page; the log is UTF-8 whatever that code page is, in
// entries, plain lines and lines held for a commit alike.
TEST_F(CxMILogTest, WritesRecordTextsAsUtf8)
{
    struct Case
    {
        const char* codePage;
        const char* ansi;
        const char* utf8;
    };
    const Case cases[] = {
        {"1252", "Librairie \x9cuvre", "Librairie \xc5\x93uvre"},
        {"1252", "J\xf6rg M\xfcller \x80", "J\xc3\xb6rg M\xc3\xbcller \xe2\x82\xac"},
        {"1251", "\xc8\xe2\xe0\xed", "\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd"},
        {"1250", "\x8akoda", "\xc5\xa0koda"},
    };
    const std::string original = platform::AnsiCodePage();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ansi);
        ASSERT_TRUE(platform::SetAnsiCodePage(c.codePage));
        CommAddrRec contact{};
        CopyText(contact.DisplayName, c.ansi);
        CommTaskRec task{};
        CopyText(task.Subject, c.ansi);
        CxMILog log(Folder());
        ASSERT_TRUE(log.Open());
        log.WriteLine((std::string("Run ") + c.ansi).c_str());
        log.LogContact(&contact);
        log.HoldEntries();
        log.LogTask(&task);
        log.FailHeld((std::string("Failed: ") + c.ansi).c_str());
        log.Close();
        const std::string text = Text();
        const std::string utf8 = c.utf8;
        EXPECT_EQ(text.find("Run " + utf8 + "\r\n"), 0u) << text;
        EXPECT_NE(text.find("\tDisplay Name: " + utf8 + "\r\n"), std::string::npos) << text;
        EXPECT_NE(text.find("\tSubject: " + utf8 + "\r\n"), std::string::npos) << text;
        EXPECT_NE(text.find("Failed: " + utf8 + "\r\n"), std::string::npos) << text;
    }
    platform::SetAnsiCodePage(original);
}

TEST_F(CxMILogTest, WritesNothingWhenClosedOrUnopenable)
{
    CxMILog closed(Folder());
    closed.WriteLine("never");
    CommTaskRec task{};
    closed.LogTask(&task);
    EXPECT_EQ(Text(), "");

    CxMILog missing("/nonexistent-folder/for/sure/");
    EXPECT_FALSE(missing.Open());
    missing.WriteLine("dropped");
    EXPECT_FALSE(missing.IsOpen());
}

// Entries held for a commit: confirmed, they are byte for byte what writing them at once
// gives; failed or never settled, no item reads as migrated and the reason ends them.
TEST_F(CxMILogTest, HeldEntriesReadAsMigratedOnlyOnceConfirmed)
{
    CommAddrRec contact{};
    CopyText(contact.DisplayName, "Ann Lee");
    CommTaskRec task{};
    CopyText(task.Subject, "Call back");
    CommNoteRec note{};
    CopyText(note.Body, "Ferry times");
    auto entries = [&](CxMILog& log) {
        log.LogContact(&contact);
        log.LogTask(&task);
        log.LogNote(&note);
    };
    std::string direct;
    {
        CxMILog log(Folder());
        ASSERT_TRUE(log.Open());
        log.WriteLine("Start.");
        entries(log);
        log.WriteLine("End.");
        log.Close();
        direct = Text();
    }
    const std::string items = direct.substr(std::string("Start.\r\n").size(),
                                            direct.size() - std::string("Start.\r\nEnd.\r\n").size());
    std::string unconfirmed = items;
    for (const char* kind : {"Contact", "Task", "Note"}) {
        const std::string migrated = std::string(kind) + " item migrated successfully...";
        unconfirmed.replace(unconfirmed.find(migrated), migrated.size(),
                            std::string(kind) + " item was not migrated...");
    }
    ASSERT_EQ(unconfirmed.find("migrated successfully"), std::string::npos);

    struct Case
    {
        const char* name;
        int ending; // 0 confirmed, 1 failed with a reason, 2 closed while held
        std::string expected;
    };
    const Case cases[] = {
        {"confirmed", 0, direct},
        {"failed", 1, "Start.\r\n" + unconfirmed + "Failed to submit, Error=read-only\r\nEnd.\r\n"},
        {"closed while held", 2, "Start.\r\n" + unconfirmed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CxMILog log(Folder());
        ASSERT_TRUE(log.Open());
        log.WriteLine("Start.");
        log.HoldEntries();
        EXPECT_TRUE(log.IsHolding());
        entries(log);
        if (c.ending == 2) {
            log.Close();
        } else {
            if (c.ending == 0) {
                log.ConfirmHeld();
            } else {
                log.FailHeld("Failed to submit, Error=read-only");
            }
            EXPECT_FALSE(log.IsHolding());
            log.WriteLine("End.");
            log.Close();
        }
        EXPECT_EQ(Text(), c.expected);
    }
}

TEST_F(CxMILogTest, DefaultsToTheWorkingFolder)
{
    CxMILog log;
    std::string path = log.GetPath();
    EXPECT_EQ(path, home.ConfigHome() + "/corvane/FWLN/MILog.txt");
}

} // namespace
