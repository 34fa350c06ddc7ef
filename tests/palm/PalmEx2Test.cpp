// The Palm Desktop 6.x readers on the sample Access databases of the shared folder (skipped
// when it is absent): every row of each database, the statements and log lines, the category
// tables, missing, foreign and damaged files, and the conversion into the common records.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/PinnedLocale.h"
#include "common/TempHome.h"
#include "misc/CxDebugUtil.h"
#include "palm/PalmAddrEx2.h"
#include "palm/PalmCommEx2.h"
#include "palm/PalmDataModule.h"
#include "palm/PalmDateEx2.h"
#include "palm/PalmEnv.h"
#include "palm/PalmEx2Convert.h"
#include "palm/PalmMDBAccessor.h"
#include "palm/PalmMemoEx2.h"
#include "palm/PalmRepeatRule.h"
#include "palm/PalmTime.h"
#include "palm/PalmTodoEx2.h"

namespace {

const fwtest::PinnedLocale kPinned{"Europe/Berlin"}; // local times below are Berlin's, texts code page 1252

namespace fs = std::filesystem;

std::string SamplePath(const char* relative)
{
    return std::string(FW_SHARED_DIR) + "/samples/palm6/" + relative;
}

#define FW_REQUIRE_SAMPLE(relative)                                                                          \
    if (!fs::exists(SamplePath(relative))) {                                                                 \
        GTEST_SKIP() << "no sample " << SamplePath(relative);                                                \
    }

// Local midnight of a day, as the rule texts' end dates are read.
std::int32_t LocalMidnight(int year, int month, int day)
{
    return PmTime(year, month, day, 0, 0, 0).GetValue();
}

class PalmEx2Test : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = m_home.Path("work/");
        m_home.WriteFile("work/.keep", "");
        g_debugLog.SetLogFolder(m_folder.c_str());
        g_debugLog.SetLogLevel(3);
        g_debugLog.EnableLog(true);
    }
    void TearDown() override
    {
        g_debugLog.EnableLog(false);
        dmMain.CloseAll();
    }
    std::string Log() { return m_home.ReadFile("work/appdebug.log"); }
    void ClearLog() { std::remove((m_folder + "appdebug.log").c_str()); }
    // A copy of a sample cut to size bytes, in the temporary home.
    std::string TruncatedCopy(const char* relative, std::uintmax_t size)
    {
        const std::string path =
            m_home.Path("damaged/" + std::to_string(size) + "-" + fs::path(relative).filename().string());
        fs::create_directories(fs::path(path).parent_path());
        fs::copy_file(SamplePath(relative), path, fs::copy_options::overwrite_existing);
        fs::resize_file(path, size);
        return path;
    }

    fwtest::TempHome m_home;
    std::string m_folder;
};

// ---------------------------------------------------------------------------------------------
// Statements

TEST(PalmEx2StatementTest, SelectStatementsEndWithABlank)
{
    struct Case
    {
        const char* table;
        PmColumnList columns;
        const char* condition;
        const char* expected;
    } cases[] = {
        {"Main",
         {"Record ID", "Status", "Placement"},
         "",
         "SELECT [Record ID], [Status], [Placement] FROM Main "},
        {"Category",
         {"ID", "Name", "Status", "Color"},
         "",
         "SELECT [ID], [Name], [Status], [Color] FROM Category "},
        {"Main", {"Note"}, "WHERE [Status] = 0", "SELECT [Note] FROM Main WHERE [Status] = 0"},
        {"Main", {}, "", ""}, // nothing to select
        {"", {"Note"}, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PmDataAccessor::BuildSelect(c.table, c.columns, c.condition), c.expected) << c.expected;
    }
    PmDataAccessor accessor;
    EXPECT_EQ(accessor.BuildCategorySelect({"ID"}), "SELECT [ID] FROM Category ");
    EXPECT_EQ(accessor.BuildMainSelect({"ID"}), "SELECT [ID] FROM Main ");
    EXPECT_EQ(accessor.BuildInformationSelect({"ID"}), "SELECT [ID] FROM Information ");
    // A statement longer than the accessor keeps is not built at all rather than cut.
    EXPECT_EQ(PmDataAccessor::BuildSelect("Main", PmColumnList(300, "Some Column Name")), "");
    // The base runs nothing.
    PmRow row;
    EXPECT_FALSE(accessor.SelectFirst("Main", {"ID"}, row));
    EXPECT_FALSE(accessor.Execute("SELECT [ID] FROM Main "));
}

TEST(PalmEx2StatementTest, ColumnListsHaveTheDatabasesColumnCounts)
{
    EXPECT_EQ(PmAddrEx2Util::Columns().size(), 95u);
    EXPECT_EQ(PmDateEx2Util::Columns().size(), 16u);
    EXPECT_EQ(PmMemoEx2Util::Columns().size(), 6u);
    EXPECT_EQ(PmTodoEx2Util::Columns().size(), 17u);
    EXPECT_EQ(PmAddrEx2Util::Columns()[41], "Other Fax");
    EXPECT_EQ(PmAddrEx2Util::Columns()[94], "Ringtone Sync counter");
}

TEST(PalmEx2StatementTest, IntColumnsTakeIntegersAndTextsOfDigits)
{
    struct Case
    {
        PmColumnValue value;
        bool ok;
        std::int32_t expected;
    } cases[] = {
        {PmColumnValue::Integer(42), true, 42},
        {PmColumnValue::Text("1235984400"), true, 1235984400},
        {PmColumnValue::Text("-5"), true, -5},
        {PmColumnValue::Text("2147483648"), false, 0}, // beyond 32 bits
        {PmColumnValue::Text("12a"), false, 0},
        {PmColumnValue::Text(""), false, 0},
        {PmColumnValue::Text(" 1"), false, 0},
        {PmColumnValue::Boolean(true), false, 0},
        {PmColumnValue(), false, 0},
    };
    for (const Case& c : cases) {
        std::int32_t value = 0;
        EXPECT_EQ(c.value.ToInteger(value), c.ok) << c.value.GetText();
        EXPECT_EQ(value, c.expected) << c.value.GetText();
    }
    // A field keeps its value when the column has another kind.
    std::int32_t field = 7;
    PmEx2Int(PmColumnValue::Boolean(true), field);
    PmEx2Bool(PmColumnValue::Integer(1), field);
    EXPECT_EQ(field, 7);
    EXPECT_EQ(PmEx2Text(PmColumnValue::Integer(3), 32), "");
    EXPECT_EQ(PmEx2Text(PmColumnValue::Text("Gr\xC3\xBC\xC3\x9F"
                                            "e"),
                        32),
              "Gr\xFC\xDF"
              "e");
    EXPECT_EQ(PmEx2Text(PmColumnValue::Text("\xE2\x82\xAC 5 \xE6\x97\xA5"), 32),
              "\x80 5 ?"); // euro sign, CJK
    EXPECT_EQ(PmEx2Text(PmColumnValue::Text("\xC3\xA4\xC3\xB6\xC3\xBC"), 3),
              "\xE4\xF6"); // bytes after conversion
}

// ---------------------------------------------------------------------------------------------
// Repeat rule texts

struct RuleCase
{
    const char* rule;
    bool yearly; // read as the calendar does
    std::int32_t kind;
    std::int32_t interval;
    std::uint8_t dayMask;
    std::int32_t weekIndex;
    std::int32_t monthIndex;
    std::int32_t dayOfMonth;
    int endYear, endMonth, endDay; // 0: no end
};

class PalmEx2RuleTest : public ::testing::TestWithParam<RuleCase>
{
};

TEST_P(PalmEx2RuleTest, ReadsKindIntervalDaysAndEnd)
{
    const RuleCase& c = GetParam();
    // 2006-06-24 12:00 UTC: the day of month of yearly rules.
    PmRepeat repeat;
    repeat.kind = 99;
    PmParseRepeatRule(c.rule, c.yearly, 1151150400, repeat);
    EXPECT_EQ(repeat.kind, c.kind);
    EXPECT_EQ(repeat.interval, c.interval);
    EXPECT_EQ(repeat.dayMask, c.dayMask);
    EXPECT_EQ(repeat.weekIndex, c.weekIndex);
    EXPECT_EQ(repeat.monthIndex, c.monthIndex);
    EXPECT_EQ(repeat.dayOfMonth, c.dayOfMonth);
    if (c.kind == 0) {
        EXPECT_EQ(repeat.endDate, 0);
    } else if (c.endYear == 0) {
        EXPECT_EQ(repeat.endDate, kPmNoEndDate);
    } else {
        EXPECT_EQ(repeat.endDate, LocalMidnight(c.endYear, c.endMonth, c.endDay));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PalmEx2RuleTest,
    ::testing::Values(
        // The design's examples.
        RuleCase{"W1 MO WE #0", true, 2, 1, 0x0A, 0, 0, 0, 0, 0, 0},
        RuleCase{"MD1 15 20071231T000000", true, 4, 1, 0, 0, 0, 15, 2007, 12, 31},
        RuleCase{"D2 #0", true, 1, 2, 0, 0, 0, 0, 0, 0, 0},
        RuleCase{"MP1 2+ TU 20091231T000000", true, 3, 1, 0x04, 1, 0, 0, 2009, 12, 31},
        RuleCase{"YM1 6 #0", true, 5, 1, 0, 0, 5, 24, 0, 0, 0},
        RuleCase{"W2 TU TH 20091231T000000", true, 2, 2, 0x14, 0, 0, 0, 2009, 12, 31},
        // Rules as real files write them: a trailing Z, several days, two-digit intervals.
        RuleCase{"D1 19990524T000000Z", true, 1, 1, 0, 0, 0, 0, 1999, 5, 24},
        RuleCase{"W1 TU WE TH FR 20090807T070000Z", true, 2, 1, 0x3C, 0, 0, 0, 2009, 8, 7},
        RuleCase{"MD3 24 20040723T000000Z", true, 4, 3, 0, 0, 0, 24, 2004, 7, 23},
        RuleCase{"MP12 2+ SU #0", true, 3, 12, 0x01, 1, 0, 0, 0, 0, 0},
        RuleCase{"YM1 12 19991231T000000Z", true, 5, 1, 0, 0, 11, 24, 1999, 12, 31},
        RuleCase{"W1 SU SA #0", true, 2, 1, 0x41, 0, 0, 0, 0, 0, 0},
        // Exception dates after the end never become the end.
        RuleCase{"W1 FR 20091231T000000;20090101T000000", true, 2, 1, 0x20, 0, 0, 0, 2009, 12, 31},
        RuleCase{"D1 20091231T000000Z,20090601T000000Z", true, 1, 1, 0, 0, 0, 0, 2009, 12, 31},
        RuleCase{"D1 20091231T000000Z 20090601T000000Z", true, 1, 1, 0, 0, 0, 0, 2009, 12, 31},
        RuleCase{"W1 MO #0;20090101T000000", true, 2, 1, 0x02, 0, 0, 0, 0, 0, 0},
        RuleCase{"MD1 5 20101231 20100105", true, 4, 1, 0, 0, 0, 5, 2010, 12, 31},
        // An end a time value cannot hold, or no date at all, is no end.
        RuleCase{"D1 20991231T000000", true, 1, 1, 0, 0, 0, 0, 0, 0, 0},
        RuleCase{"D1 20091331T000000", true, 1, 1, 0, 0, 0, 0, 0, 0, 0},
        RuleCase{"D1 #5", true, 1, 1, 0, 0, 0, 0, 0, 0, 0},
        // A rule without any blank, or without an end, has no end (not the end date 0).
        RuleCase{"D1", true, 1, 1, 0, 0, 0, 0, 0, 0, 0},
        RuleCase{"W1 MO WE", true, 2, 1, 0x0A, 0, 0, 0, 0, 0, 0},
        // The last week of the month.
        RuleCase{"MP1 1- FR #0", true, 3, 1, 0x20, 4, 0, 0, 0, 0, 0},
        // No repeat: unknown letters, empty texts, and "Y" in the to-do list.
        RuleCase{"X1 #0", true, 0, 0, 0, 0, 0, 0, 0, 0, 0}, RuleCase{"", true, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        RuleCase{"Y1 3 #0", false, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        RuleCase{"W1 FR #0", false, 2, 1, 0x20, 0, 0, 0, 0, 0, 0}));

// ---------------------------------------------------------------------------------------------
// Contacts

TEST_F(PalmEx2Test, ContactsSampleEveryRow)
{
    FW_REQUIRE_SAMPLE("address/Address.mdb");
    PmAddrEx2Util reader(SamplePath("address/Address.mdb"));
    ASSERT_TRUE(reader.IsLoaded());
    const auto& recs = reader.GetRecords();
    ASSERT_EQ(recs.size(), 7u);

    struct Row
    {
        std::int32_t id, status, isPrivate, categoryId;
        const char* category;
        const char* first;
        const char* last;
        std::int32_t birthday, anniversary;
        std::array<const char*, 8> byLabel; // work, home, fax, other, e-mail, main, pager, mobile
    } rows[] = {
        {1001,
         0,
         0,
         1,
         "Business",
         "Anna",
         "Schmidt",
         129118608,
         129117666,
         {"+1 555 0101", "+1 555 0102", "+1 555 0103", "+1 555 0104", "anna@example.com", "+1 555 0106", "",
          "+1 555 0107"}},
        {1002,
         1,
         1,
         2,
         "Pers\xF6nlich",
         "J\xF6rg",
         "M\xFCller-L\xFC"
         "denscheidt",
         0,
         0,
         {"+49 89 1000004", "", "", "", "joerg@example.de", "", "+49 89 1000002", "+49 171 1000001"}},
        {1003,
         0,
         0,
         3,
         "??",
         "??",
         "??",
         129108082,
         129117417,
         {"", "", "", "", "taro@example.jp", "+81 3 1234 5678", "", "+81 90 1234 5678"}},
        {1004,
         4,
         0,
         1,
         "Business",
         "Deleted",
         "Person",
         129106177,
         0,
         {"+1 555 0400", "", "", "", "", "", "", ""}},
        {1005,
         128,
         1,
         0,
         "Unfiled",
         "Archived",
         "Person",
         129110049,
         0,
         {"+1 555 0500", "", "", "", "", "", "", ""}},
        {1006,
         132,
         0,
         2,
         "Pers\xF6nlich",
         "Gel\xF6scht",
         "Archiviert",
         0,
         0,
         {"+1 555 0600", "", "", "", "", "", "", ""}},
        {1007,
         0,
         0,
         42,
         "",
         "Maximilian",
         "von Hohenzollern-Sigmaringen",
         129102583,
         129111849,
         {"+44 20 7946 0000", "", "", "", "", "", "", ""}},
    };
    for (std::size_t i = 0; i < recs.size(); ++i) {
        const PmAddrEx2Rec& r = recs[i];
        const Row& e = rows[i];
        SCOPED_TRACE(e.id);
        EXPECT_EQ(r.recordId, e.id);
        EXPECT_EQ(r.status, e.status);
        EXPECT_EQ(r.placement, static_cast<std::int32_t>(i));
        EXPECT_EQ(r.isPrivate, e.isPrivate);
        EXPECT_EQ(r.categoryId, e.categoryId);
        EXPECT_EQ(r.categoryName, e.category);
        EXPECT_EQ(r.firstName, e.first);
        EXPECT_EQ(r.lastName, e.last);
        EXPECT_EQ(r.birthday, e.birthday);
        EXPECT_EQ(r.anniversary, e.anniversary);
        for (std::size_t label = 0; label < 8; ++label) {
            EXPECT_EQ(r.phoneByLabel[label], e.byLabel[label]) << "label " << label;
        }
    }

    const PmAddrEx2Rec& anna = recs[0];
    EXPECT_EQ(anna.prefix, "Dr.");
    EXPECT_EQ(anna.middleName, "Maria");
    EXPECT_EQ(anna.suffix, "PhD");
    EXPECT_EQ(anna.nickName, "Anni");
    EXPECT_EQ(anna.englishName, "Anna M. Schmidt");
    EXPECT_EQ(anna.company, "Acme Widgets Inc.");
    EXPECT_EQ(anna.jobTitle, "CTO");
    EXPECT_EQ(anna.profession, "Engineer");
    EXPECT_EQ(anna.assistantName, "Bob Helper");
    EXPECT_EQ(anna.assistantPhone, "+1 555 0100");
    EXPECT_EQ(anna.work.street, "1 Main Street\r\nSuite 200");
    EXPECT_EQ(anna.work.city, "Springfield");
    EXPECT_EQ(anna.home.zip, "62565");
    EXPECT_EQ(anna.other.city, "Capital City");
    EXPECT_EQ(anna.note, "Met at CeBIT 2005\r\nLikes green tea");
    EXPECT_EQ(anna.phoneLabels, (std::array<std::int32_t, 7>{0, 1, 2, 3, 4, 5, 7}));
    EXPECT_EQ(anna.chats[0], "anna_aim");
    EXPECT_EQ(anna.chatLabels, (std::array<std::int32_t, 2>{1, 2}));
    EXPECT_EQ(anna.website, "http://www.example.com/anna");
    for (int c = 0; c < 4; ++c) {
        static const char* const kWords[] = {"one", "two", "three", "four"};
        EXPECT_EQ(anna.customs[static_cast<std::size_t>(c)], std::string("Custom ") + kWords[c]);
    }
    for (int c = 5; c <= 14; ++c) {
        EXPECT_EQ(anna.customs[static_cast<std::size_t>(c - 1)], "C" + std::to_string(c) + " value");
    }
    EXPECT_EQ(anna.birthdayAlarmSet, 1);
    EXPECT_EQ(anna.birthdayAlarmAdv, 3);
    EXPECT_EQ(anna.addrLabels, (std::array<std::int32_t, 3>{0, 1, 2}));
    EXPECT_EQ(anna.pictureUrl, "file:///C:/Pictures/anna.jpg");
    EXPECT_EQ(anna.pictureSyncCounter, "3");
    EXPECT_EQ(anna.ringtoneMimeType, "audio/midi");

    // Latin-1 names arrive in Windows-1252; the en dash is 0x96 there.
    const PmAddrEx2Rec& joerg = recs[1];
    EXPECT_EQ(joerg.company, "B\xE4"
                             "ckerei Gr\xF6\xDF"
                             "e & S\xF6hne");
    EXPECT_EQ(joerg.work.street, "K\xF6nigstra\xDF"
                                 "e 5");
    EXPECT_EQ(joerg.note, "Gr\xFC\xDF"
                          "e an die Familie \x96 bis bald!");
    EXPECT_EQ(joerg.phoneLabels[4], 9);
    EXPECT_EQ(joerg.phones[6], ""); // an empty slot labelled 1 is not copied
    EXPECT_EQ(joerg.chatLabels, (std::array<std::int32_t, 2>{3, 0}));
    // The selected columns without a field leave no trace in any field.
    for (const char* dropped :
         {"+49 89 1999991", "+49 170 9999999", "work.joerg@example.de", "drop.me@example.de",
          "drop2@example.de", "drop3@example.de", "+49 89 1999992"}) {
        for (const std::string& phone : joerg.phones) {
            EXPECT_NE(phone, dropped);
        }
        for (const std::string& text : joerg.phoneByLabel) {
            EXPECT_NE(text, dropped);
        }
        for (const std::string& text : joerg.customs) {
            EXPECT_NE(text, dropped);
        }
    }

    // Characters outside Windows-1252 become "?".
    const PmAddrEx2Rec& taro = recs[2];
    EXPECT_EQ(taro.note, "????\r\n??????");
    EXPECT_EQ(taro.company, "???????");
    EXPECT_EQ(taro.companyYomi, std::string(11, '?'));
    EXPECT_EQ(taro.englishName, "Taro Yamada");

    // Texts longer than their fields are cut to the width minus one byte.
    const PmAddrEx2Rec& max = recs[6];
    EXPECT_EQ(max.prefix, "Seine Exzellenz der Herr Botsch");
    EXPECT_EQ(max.work.city, "Llanfairpwllgwyngyllgogerychwyr");
    EXPECT_EQ(max.work.state, "Free State of Thuringia (Freist");
    ASSERT_EQ(max.note.size(), 2047u);
    EXPECT_EQ(max.note.substr(0, 21), "Long contact note A\r\n");
    EXPECT_EQ(max.note.substr(2037), "qrstuvwxyz");

    // Categories: the table as loaded, the names of records cut to 31 characters.
    const PmCategoryEx2Mgr& categories = reader.GetCategories();
    ASSERT_EQ(categories.GetCount(), 6);
    EXPECT_EQ(categories.GetAt(5)->GetID(), 6);
    EXPECT_EQ(categories.GetAt(5)->GetName(), "Kategorie mit einem sehr langen Namen \xFC"
                                              "ber 31 Zeichen");
    EXPECT_EQ(categories.GetAt(5)->GetColor(), -1);
    EXPECT_EQ(categories.FindByName("QuickList")->GetStatus(), 1);
    EXPECT_EQ(categories.FindByName("quicklist"), nullptr); // exact
    EXPECT_EQ(categories.GetAt(6), nullptr);
    std::string name;
    EXPECT_TRUE(reader.GetCategoryName(6, name));
    EXPECT_EQ(name, "Kategorie mit einem sehr langen");
    EXPECT_FALSE(reader.GetCategoryName(42, name));
    EXPECT_EQ(name, "");
}

TEST_F(PalmEx2Test, ContactsIntoCommonRecords)
{
    FW_REQUIRE_SAMPLE("address/Address.mdb");
    PmAddrEx2Util reader(SamplePath("address/Address.mdb"));
    ASSERT_EQ(reader.GetRecords().size(), 7u);

    CommAddrRec anna;
    PmToComm(reader.GetRecords()[0], anna);
    EXPECT_STREQ(anna.FirstName, "Anna");
    EXPECT_STREQ(anna.MiddleName, "Maria");
    EXPECT_STREQ(anna.Prefix, "Dr.");
    EXPECT_STREQ(anna.DisplayName, "Anna M. Schmidt");
    EXPECT_STREQ(anna.Title, "CTO");
    EXPECT_STREQ(anna.HomeAddress.City, "Shelbyville");
    EXPECT_STREQ(anna.OtherAddress.Postal, "62702");
    EXPECT_STREQ(anna.IM1, "anna_aim");
    EXPECT_STREQ(anna.IM2, "anna@hotmail.example");
    EXPECT_STREQ(anna.AssistantPhone, "+1 555 0100");
    EXPECT_STREQ(anna.Category, "Business");
    EXPECT_STREQ(anna.CustomValues[0], "Custom one");
    EXPECT_STREQ(anna.CustomValues[9], "C10 value");
    EXPECT_STREQ(anna.WorkPhone, "+1 555 0101");
    EXPECT_STREQ(anna.HomePhone, "+1 555 0102");
    EXPECT_STREQ(anna.WorkFax, "+1 555 0103");
    EXPECT_STREQ(anna.OtherPhone, "+1 555 0104");
    EXPECT_STREQ(anna.Email, "anna@example.com");
    EXPECT_STREQ(anna.PrimaryPhone, "+1 555 0106");
    EXPECT_STREQ(anna.MobilePhone, "+1 555 0107");
    EXPECT_DOUBLE_EQ(anna.Birthday, 38000.0);
    EXPECT_DOUBLE_EQ(anna.Anniversary, 37058.0);
    EXPECT_EQ(anna.NativeRecord, nullptr);

    // Two phones labelled work: the later one; a phone labelled 6 goes to Pager. An empty
    // birthday counts as 0.
    CommAddrRec joerg;
    PmToComm(reader.GetRecords()[1], joerg);
    EXPECT_STREQ(joerg.WorkPhone, "+49 89 1000004");
    EXPECT_STREQ(joerg.Pager, "+49 89 1000002");
    EXPECT_STREQ(joerg.MobilePhone, "+49 171 1000001");
    EXPECT_STREQ(joerg.HomePhone, "");
    EXPECT_DOUBLE_EQ(joerg.Birthday, 0.0); // an empty column is no date
    EXPECT_DOUBLE_EQ(joerg.Anniversary, 0.0);

    CommAddrRec max;
    PmToComm(reader.GetRecords()[6], max);
    EXPECT_DOUBLE_EQ(max.Birthday, 21975.0); // 1960-02-29
    EXPECT_STREQ(max.Category, "");
    EXPECT_EQ(std::string(max.Note).size(), 2047u);
}

TEST_F(PalmEx2Test, ContactCatalogueKeys)
{
    FW_REQUIRE_SAMPLE("address/Address.mdb");
    PmAddrEx2Util reader(SamplePath("address/Address.mdb"));
    ASSERT_EQ(reader.GetRecords().size(), 7u);

    struct Case
    {
        std::size_t row;
        std::int32_t key;
        bool claim;
        bool found;
        const char* value;
    } cases[] = {
        {0, 1, false, true, "Anna"},
        {0, 2, false, true, "Maria"},
        {0, 4, false, true, "Anna M. Schmidt"},
        {0, 7, false, true, "Anni"},
        {0, 10, false, true, "Engineer"},
        {0, 12, false, true, "+1 555 0100"},
        {0, 13, false, true, "+1 555 0101"}, // label 0
        {0, 17, false, true, "anna@example.com"},
        {0, 19, false, false, ""},           // no slot labelled pager
        {0, 19, true, false, ""},            // and no empty slot to take the label
        {0, 22, false, true, "Springfield"}, // work city
        {0, 30, false, true, "USA"},         // home country
        {0, 31, false, true, "PO Box 9"},    // other street
        {0, 36, false, true, "anna_aim"},    // AIM
        {0, 37, false, true, "anna@hotmail.example"},
        {0, 38, false, false, ""}, // Yahoo: both chat slots carry labels
        {0, 38, true, false, ""},
        {0, 41, false, true, "http://www.example.com/anna"},
        {0, 42, false, false, ""}, // dates give no text
        {0, 43, false, false, ""},
        {0, 44, false, true, "Custom one"},
        {0, 52, false, true, "C9 value"},
        {0, 53, false, true, "Business"},
        {0, 54, false, true, "Met at CeBIT 2005\r\nLikes green tea"},
        {0, 55, false, false, ""},
        {0, 0, false, false, ""},
        {1, 19, false, true, "+49 89 1000002"}, // pager
        {1, 13, false, true, "+49 89 1000003"}, // the first slot labelled work
        {1, 18, false, false, ""},              // no main phone
        {1, 18, true, true, ""},                // the empty slot 7 takes the label
        {1, 36, false, false, ""},              // no AIM slot
        {1, 36, true, true, "joerg-nolabel"},   // the slot without a label takes it
    };
    std::vector<PmAddrEx2Rec> recs = reader.GetRecords();
    for (const Case& c : cases) {
        std::string value = "unchanged";
        const bool found = PmContactValue(recs[c.row], c.key, value, c.claim);
        EXPECT_EQ(found, c.found) << "row " << c.row << " key " << c.key;
        if (c.found) {
            EXPECT_EQ(value, c.value) << "row " << c.row << " key " << c.key;
        }
    }
    // The claimed slots keep their new labels.
    EXPECT_EQ(recs[1].phoneLabels[6], 5);
    EXPECT_EQ(recs[1].chatLabels[1], 1);
    std::string value;
    EXPECT_TRUE(PmContactValue(recs[1], 18, value, false));
    EXPECT_TRUE(PmContactValue(recs[1], 36, value, false));
    EXPECT_EQ(value, "joerg-nolabel");
}

// ---------------------------------------------------------------------------------------------
// Calendar

TEST_F(PalmEx2Test, CalendarSampleEveryRow)
{
    FW_REQUIRE_SAMPLE("datebook/DateBook.mdb");
    PmDateEx2Util reader(SamplePath("datebook/DateBook.mdb"));
    ASSERT_TRUE(reader.IsLoaded());
    const auto& recs = reader.GetRecords();
    ASSERT_EQ(recs.size(), 16u);

    struct Row
    {
        std::int32_t id, status, isPrivate;
        const char* category;
        const char* summary;
        std::int32_t start, end, untimed, alarm, advance, unit;
        std::int32_t kind, interval;
        std::uint8_t mask;
        std::int32_t week, month, dom;
        int endYear, endMonth, endDay; // 0: no end
    } rows[] = {
        {3001, 0, 0, "B\xFCro", "Team meeting", 1235984400, 1235988000, 0, 1, 15, 0, 2, 1, 0x0A, 0, 0,
         0,    0, 0, 0},
        {3002, 0, 1, "Pers\xF6nlich", "Gym", 1199728800, 1199734200, 0, 1, 2, 1, 1, 2, 0, 0, 0, 0, 0, 0, 0},
        {3003,       1,          0,    "B\xFCro", "Daily stand-up (ended)",
         1104741000, 1104741900, 0,    0,         5,
         0,          1,          1,    0,         0,
         0,          0,          1999, 5,         24},
        {3004, 0,    0,  "B\xFCro", "Biweekly sync", 1231250400, 1231254000, 0, 1, 1, 2, 2, 2, 0x14, 0, 0,
         0,    2009, 12, 31},
        {3005,       0,          0,    "Unfiled", "User group (2nd Tuesday)",
         1231873200, 1231880400, 0,    0,         0,
         0,          3,          1,    0x04,      1,
         0,          0,          2009, 12,        31},
        {3006, 0,  0, "Pers\xF6nlich", "Pay rent", 1168862400, 1168864200, 0, 1, 30, 7, 4, 1, 0, 0, 0, 15,
         2007, 12, 31},
        {3007, 0, 0, "Pers\xF6nlich", "Midsommar", 1151150400, 1151154000, 0, 0, 0, 0, 5, 1, 0, 0, 5, 24,
         0,    0, 0},
        {3008, 0,  0,  "Geburtstage", "Christmas", 1135512000, 1135512000, 1, 0, 0, 0, 5, 1, 0,
         0,    11, 25, 1999,          12,          31},
        {3009, 0, 0, "Pers\xF6nlich", "Dentist", 1286264700, 1286267400, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0,
         0,    0, 0},
        {3010, 0, 0, "Unfiled", "Unknown rule letter", 1301652000, 1301655600, 0, 0, 0, 0, 0, 0, 0, 0, 0,
         0,    0, 0, 0},
        {3011, 0, 0, "Unfiled", "Rule without blank", 1341208800, 1341210600, 0, 0, 0, 0, 1, 1, 0, 0, 0,
         0,    0, 0, 0},
        {3012,
         0,
         0,
         "????",
         "Geburtstag J\xFCrgen \x96 Caf\xE9 Gr\xF6\xDF"
         "enwahn",
         1330516800,
         1330516800,
         1,
         1,
         2,
         2,
         0,
         0,
         0,
         0,
         0,
         0,
         0,
         0,
         0},
        {3013, 4, 0, "B\xFCro", "Deleted event", 1262336400, 1262340000, 0, 0, 0, 0, 0, 0, 0, 0, 0,
         0,    0, 0, 0},
        {3014, 128, 0, "B\xFCro", "Archived event", 1262422800, 1262426400, 0, 0, 0, 0, 1, 1, 0, 0, 0,
         0,    0,   0, 0},
        {3015, 132, 1, "B\xFCro", "Deleted+archived event", 1262509200, 1262512800, 0, 0, 0, 0, 0, 0, 0, 0, 0,
         0,    0,   0, 0},
        {3016, 0, 0, "", "Long note, missing category", 1321009200, 1321012800, 0, 0, 0, 0, 0, 0, 0, 0, 0,
         0,    0, 0, 0},
    };
    for (std::size_t i = 0; i < recs.size(); ++i) {
        const PmDateEx2Rec& r = recs[i];
        const Row& e = rows[i];
        SCOPED_TRACE(e.id);
        EXPECT_EQ(r.recordId, e.id);
        EXPECT_EQ(r.status, e.status);
        EXPECT_EQ(r.placement, static_cast<std::int32_t>(i));
        EXPECT_EQ(r.isPrivate, e.isPrivate);
        EXPECT_EQ(r.categoryName, e.category);
        EXPECT_EQ(r.summary, e.summary);
        // "Start Time" and "End Time" are text columns in this file.
        EXPECT_EQ(r.startTime, e.start);
        EXPECT_EQ(r.endTime, e.end);
        EXPECT_EQ(r.startTimeText, std::to_string(e.start));
        EXPECT_EQ(r.endTimeText, std::to_string(e.end));
        EXPECT_EQ(r.untimed, e.untimed);
        EXPECT_EQ(r.alarm, e.alarm);
        EXPECT_EQ(r.alarmAdvance, e.advance);
        EXPECT_EQ(r.alarmUnit, e.unit);
        EXPECT_EQ(r.repeat.kind, e.kind);
        EXPECT_EQ(r.repeat.interval, e.interval);
        EXPECT_EQ(r.repeat.dayMask, e.mask);
        EXPECT_EQ(r.repeat.weekIndex, e.week);
        EXPECT_EQ(r.repeat.monthIndex, e.month);
        EXPECT_EQ(r.repeat.dayOfMonth, e.dom);
        if (e.kind != 0) {
            EXPECT_EQ(r.repeat.endDate,
                      e.endYear == 0 ? kPmNoEndDate : LocalMidnight(e.endYear, e.endMonth, e.endDay));
        }
    }
    EXPECT_EQ(recs[0].note, "Agenda:\r\n1. Status\r\n2. Planning");
    EXPECT_EQ(recs[0].timeZone, "Europe/Berlin");
    EXPECT_EQ(recs[0].location, "Room 4.01");
    EXPECT_EQ(recs[0].repeatedEvent, "W1 MO WE #0");
    EXPECT_EQ(recs[8].location, "Praxis Dr. Wei\xDF");
    EXPECT_EQ(recs[11].location, "?????");
    EXPECT_EQ(recs[11].note, "Geschenk kaufen: Blumen\r\n??");
    ASSERT_EQ(recs[15].note.size(), 8191u);
    EXPECT_EQ(recs[15].note.substr(0, 28), "Calendar note A first line\r\n");
    EXPECT_EQ(recs[15].note.substr(8179), "0165:nopABCD");
}

TEST_F(PalmEx2Test, CalendarIntoCommonRecords)
{
    FW_REQUIRE_SAMPLE("datebook/DateBook.mdb");
    PmDateEx2Util reader(SamplePath("datebook/DateBook.mdb"));
    const auto& recs = reader.GetRecords();
    ASSERT_EQ(recs.size(), 16u);

    struct Case
    {
        std::size_t row;
        std::int32_t reminderSet, unit, kind, interval, hasEnd, allDay;
    } cases[] = {
        {0, 1, 1, 2, 1, 0, 0},  // weekly, no end, 15 minutes
        {1, 1, 2, 1, 2, 0, 0},  // every 2nd day, hours
        {2, 0, 0, 1, 1, 1, 0},  // daily until 1999
        {3, 1, 3, 2, 2, 1, 0},  // days
        {4, 0, 0, 3, 1, 1, 0},  // monthly by weekday
        {5, 1, 1, 4, 1, 1, 0},  // unit 7 counts as minutes
        {6, 0, 0, 6, 1, 0, 0},  // yearly
        {7, 0, 0, 6, 1, 1, 1},  // yearly until 1999, untimed
        {8, 1, 2, 0, 0, 0, 0},  // single event
        {10, 0, 0, 1, 1, 0, 0}, // a rule without a blank never ends
        {11, 1, 3, 0, 0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(recs[c.row].recordId);
        CommDateRec out;
        PmToComm(recs[c.row], out);
        EXPECT_EQ(out.ReminderSet, c.reminderSet);
        EXPECT_EQ(out.ReminderCount, c.reminderSet);
        if (c.reminderSet != 0) {
            EXPECT_EQ(out.Reminders[0].Unit, c.unit);
            EXPECT_EQ(out.Reminders[0].Amount, recs[c.row].alarmAdvance);
        }
        EXPECT_EQ(out.Recurrence.Kind, c.kind);
        EXPECT_EQ(out.Recurrence.Interval, c.interval);
        EXPECT_EQ(out.Recurrence.HasEnd, c.hasEnd);
        EXPECT_EQ(out.AllDay, c.allDay);
        EXPECT_STREQ(out.Subject, recs[c.row].summary.c_str());
    }

    CommDateRec meeting;
    PmToComm(recs[0], meeting);
    EXPECT_EQ(meeting.Start.wYear, 2009);
    EXPECT_EQ(meeting.Start.wMonth, 3);
    EXPECT_EQ(meeting.Start.wDay, 2);
    EXPECT_EQ(meeting.Start.wHour, 10); // Europe/Berlin
    EXPECT_EQ(meeting.End.wHour, 11);
    EXPECT_STREQ(meeting.Location, "Room 4.01");
    EXPECT_EQ(meeting.Recurrence.DayOfWeekMask, 0x0A);

    CommDateRec group;
    PmToComm(recs[4], group);
    EXPECT_EQ(group.Recurrence.DayOfWeekMask, 0x04); // Tuesday, from the rule's day
    EXPECT_EQ(group.Recurrence.PatternEnd.wYear, 2009);
    EXPECT_EQ(group.Recurrence.PatternEnd.wMonth, 12);
    EXPECT_EQ(group.Recurrence.PatternEnd.wDay, 31);

    CommDateRec christmas;
    PmToComm(recs[7], christmas);
    EXPECT_EQ(christmas.Recurrence.DayOfMonth, 25);
    EXPECT_EQ(christmas.Recurrence.MonthOfYear, 12);

    CommDateRec longNote;
    PmToComm(recs[15], longNote);
    EXPECT_EQ(std::string(longNote.Notes).size(), 8191u);
}

// ---------------------------------------------------------------------------------------------
// Memos

TEST_F(PalmEx2Test, MemosSampleEveryRow)
{
    FW_REQUIRE_SAMPLE("MemoPad/MemoPad.mdb");
    PmMemoEx2Util reader(SamplePath("MemoPad/MemoPad.mdb"));
    ASSERT_TRUE(reader.IsLoaded());
    const auto& recs = reader.GetRecords();
    ASSERT_EQ(recs.size(), 10u);

    struct Row
    {
        std::int32_t id, status, isPrivate;
        const char* category;
        std::size_t length;
        const char* title; // the common record's
    } rows[] = {
        {4001, 0, 0, "Einkauf", 32, "Shopping list"},
        {4002, 1, 1, "Unfiled", 35, "Call Bob about the quarterly report"},
        {4003, 0, 0, "Pers\xF6nlich", 42,
         "Gr\xFC\xDF"
         "e aus K\xF6ln"},
        {4004, 0, 0, "??", 13, "??????"},
        {4005, 0, 0, "Unfiled", 40959, "Long memo A: first line before CR LF"},
        {4006, 0, 0, "Einkauf", 300, nullptr},
        {4007, 4, 0, "Einkauf", 31, "Deleted memo"},
        {4008, 128, 0, "Pers\xF6nlich", 13, "Archived memo"},
        {4009, 132, 1, "Unfiled", 25, "Deleted and archived memo"},
        {4010, 0, 0, "", 53, "Orphan memo"},
    };
    for (std::size_t i = 0; i < recs.size(); ++i) {
        const PmMemoEx2Rec& r = recs[i];
        const Row& e = rows[i];
        SCOPED_TRACE(e.id);
        EXPECT_EQ(r.recordId, e.id);
        EXPECT_EQ(r.status, e.status);
        EXPECT_EQ(r.isPrivate, e.isPrivate);
        EXPECT_EQ(r.categoryName, e.category);
        EXPECT_EQ(r.note.size(), e.length);
        EXPECT_EQ(r.noteLength, static_cast<std::int32_t>(e.length));
        auto out = std::make_unique<CommNoteRec>();
        PmToComm(r, *out);
        EXPECT_EQ(out->Private, e.isPrivate);
        if (e.title != nullptr) {
            EXPECT_STREQ(out->Title, e.title);
        }
    }
    EXPECT_EQ(recs[2].note, "Gr\xFC\xDF"
                            "e aus K\xF6ln\r\n\xC4rger \xFC"
                            "ber \xD6l \x96 na\xEFve Caf\xE9");
    EXPECT_EQ(recs[3].note, "??????\r\n?????");
    // The long memo lies on a chain of pages: kept whole up to 40959 characters.
    EXPECT_EQ(recs[4].note.substr(recs[4].note.size() - 10), "TUVWXYZabc");
    EXPECT_EQ(recs[4].note.substr(36, 8), "\r\n00002:");
    // A first line without CR LF gives its first 255 characters as title.
    auto note = std::make_unique<CommNoteRec>();
    PmToComm(recs[5], *note);
    EXPECT_EQ(std::string(note->Title), recs[5].note.substr(0, 255));
    PmToComm(recs[4], *note);
    EXPECT_EQ(std::string(note->Body).size(), 20479u);
}

// ---------------------------------------------------------------------------------------------
// To-dos

TEST_F(PalmEx2Test, TodosSampleEveryRow)
{
    FW_REQUIRE_SAMPLE("todo/Todolist.mdb");
    PmTodoEx2Util reader(SamplePath("todo/Todolist.mdb"));
    ASSERT_TRUE(reader.IsLoaded());
    const auto& recs = reader.GetRecords();
    ASSERT_EQ(recs.size(), 13u);

    struct Row
    {
        std::int32_t id, status, isPrivate;
        const char* category;
        std::int32_t due, completed, completeDate, priority, commonPriority, alarmSet, alarmTime, advance;
        std::int32_t kind;
    } rows[] = {
        {5001, 0, 0, "Arbeit", 1273838400, 0, 0, 1, 1, 1, 1273834800, 1, 2},
        {5002, 0, 0, "Arbeit", 1265025600, 0, 0, 2, 0, 0, 0, 0, 4},
        {5003, 0, 0, "Pers\xF6nlich", 1300190400, 0, 0, 3, 0, 0, 0, 0, 0},
        {5004, 0, 0, "Unfiled", 0, 0, 0, 4, 0, 0, 0, 0, 0},
        {5005, 0, 0, "Arbeit", 1239796800, 1, 1239381000, 5, 2, 0, 0, 0, 0},
        {5006, 0, 0, "Unfiled", 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {5007, 1, 0, "Unfiled", 1356091200, 0, 0, 9, 0, 0, 1356080400, 3, 0},
        {5008, 0, 1, "Pers\xF6nlich", 1218196800, 0, 0, 3, 0, 0, 0, 0, 0},
        {5009, 0, 0, "??", 1149595200, 1, 1149508800, 1, 1, 0, 0, 0, 0},
        {5010, 4, 0, "Arbeit", 0, 0, 0, 1, 1, 0, 0, 0, 0},
        {5011, 128, 0, "Arbeit", 0, 1, 0, 2, 0, 0, 0, 0, 0},
        {5012, 132, 0, "Arbeit", 0, 0, 0, 3, 0, 0, 0, 0, 0},
        {5013, 0, 0, "", 1296475200, 0, 0, 2, 0, 0, 0, 0, 0},
    };
    for (std::size_t i = 0; i < recs.size(); ++i) {
        const PmTodoEx2Rec& r = recs[i];
        const Row& e = rows[i];
        SCOPED_TRACE(e.id);
        EXPECT_EQ(r.recordId, e.id);
        EXPECT_EQ(r.status, e.status);
        EXPECT_EQ(r.isPrivate, e.isPrivate);
        EXPECT_EQ(r.categoryName, e.category);
        EXPECT_EQ(r.dueDate, e.due);
        EXPECT_EQ(r.dueDateText, std::to_string(e.due));
        EXPECT_EQ(r.completed, e.completed);
        EXPECT_EQ(r.completeDate, e.completeDate);
        EXPECT_EQ(r.priority, e.priority);
        EXPECT_EQ(r.alarmSet, e.alarmSet);
        EXPECT_EQ(r.alarmTime, e.alarmTime);
        EXPECT_EQ(r.alarmTimeText, std::to_string(e.alarmTime));
        EXPECT_EQ(r.alarmAdvance, e.advance);
        EXPECT_EQ(r.repeat.kind, e.kind);

        auto out = std::make_unique<CommTaskRec>();
        PmToComm(r, *out);
        EXPECT_EQ(out->Priority, e.commonPriority);
        EXPECT_EQ(out->DueDate, e.due);
        EXPECT_EQ(out->Completed, e.completed);
        EXPECT_EQ(out->AlarmSet, e.alarmSet);
        EXPECT_EQ(out->ReminderSet, e.alarmSet);
        EXPECT_EQ(out->Private, e.isPrivate);
        EXPECT_EQ(out->Sensitivity, e.isPrivate != 0 ? 2 : 0);
        EXPECT_EQ(out->Recurrence.Kind, e.kind);
    }
    EXPECT_EQ(recs[0].description, "Pay invoice #4711");
    EXPECT_EQ(recs[0].note, "Invoice from ACME\r\nAccount 12345");
    EXPECT_EQ(recs[0].repeat.dayMask, 0x20);
    EXPECT_EQ(recs[0].repeat.endDate, kPmNoEndDate);
    EXPECT_EQ(recs[0].repeatStartDate, 1273838400);
    EXPECT_EQ(recs[1].repeat.interval, 2);
    EXPECT_EQ(recs[1].repeat.dayOfMonth, 1);
    EXPECT_EQ(recs[1].repeat.endDate, LocalMidnight(2010, 12, 31));
    EXPECT_EQ(recs[1].repeatOnCompleteDate, 1);
    EXPECT_EQ(recs[2].repeatInfo, "Y1 3 #0"); // kept, but no repeat in the to-do list
    EXPECT_EQ(recs[7].description, "Einkaufsliste f\xFCr Gr\xF6\xDF"
                                   "e-M\xFCller \x96 Caf\xE9");
    EXPECT_EQ(recs[7].note, "??\r\n???");
    EXPECT_EQ(recs[8].description, "????????");
    EXPECT_EQ(recs[12].description.size(), 255u);
    ASSERT_EQ(recs[12].note.size(), 8191u);
    EXPECT_EQ(recs[12].note.substr(8179), "5:56789abcde");

    auto longTask = std::make_unique<CommTaskRec>();
    PmToComm(recs[12], *longTask);
    EXPECT_EQ(std::string(longTask->Subject).size(), 254u);
    EXPECT_EQ(std::string(longTask->Subject).substr(244), "-char desc");
    EXPECT_EQ(std::string(longTask->Notes).size(), 8190u);
}

// ---------------------------------------------------------------------------------------------
// Connections, log lines and failures

TEST_F(PalmEx2Test, LoadLogsStatementsAndKeepsTheConnectionOpen)
{
    FW_REQUIRE_SAMPLE("address/Address.mdb");
    const std::string path = SamplePath("address/Address.mdb");
    PmAddrEx2Util reader;
    ASSERT_TRUE(reader.Load(path));
    EXPECT_TRUE(dmMain.connAddr.IsOpen());
    EXPECT_FALSE(dmMain.connDate.IsOpen());
    EXPECT_EQ(reader.GetAccessor()->GetStatement().substr(0, 48),
              "SELECT [Record ID], [Status], [Placement], [Priv");

    const std::string log = Log();
    const std::string connection = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"" + path + "\"";
    for (const std::string& line : {
             "Loading Palm Desktop Contacts:" + path,
             "Set database file to be opened: " + path,
             "Connection String: " + connection,
             std::string("Start loading Palm Desktop category information."),
             std::string("Execute SQL Query: SELECT [ID], [Name], [Status], [Color] FROM Category \r\n"),
             std::string("Query executed successfully."),
             std::string("Category loaded: Pers\xF6nlich"),
             std::string("Categories information loaded successfully."),
             std::string("Start loading Palm Desktop Contacts main records."),
             std::string(
                 "Execute SQL Query: SELECT [Record ID], [Status], [Placement], [Private], [Category], "
                 "[Note], [Prefix], "),
             std::string("[Ringtone MIME type], [Ringtone Sync counter] FROM Main \r\n"),
             std::string("Query first record in the Contacts database table successfully."),
             std::string(
                 "Failed to query the next record of the Contacts main table. Check if it is the end of "
                 "the table."),
             std::string("Loading Palm Desktop Contacts main records completed successfully."),
         }) {
        EXPECT_NE(log.find(line), std::string::npos) << line;
    }
    // Each line names the source file of its call, also where the shared base logs.
    EXPECT_NE(log.find("[PalmCommEx2.h "), std::string::npos);
    EXPECT_NE(log.find("PalmCommEx2.cpp"), std::string::npos);
    EXPECT_EQ(log.find("already opened"), std::string::npos);
    EXPECT_EQ(log.find("!!!"), std::string::npos); // no failure

    // A second open of the same kind closes the open connection and opens it on the new file:
    // the calendar database has no contact columns, so the query fails, and so does the load.
    FW_REQUIRE_SAMPLE("datebook/DateBook.mdb");
    ClearLog();
    PmAddrEx2Util other;
    EXPECT_FALSE(other.Load(SamplePath("datebook/DateBook.mdb")));
    EXPECT_EQ(other.GetLoadError(),
              "not a Palm Desktop database, or a damaged one (its table Main cannot be read)");
    EXPECT_TRUE(other.GetRecords().empty());
    EXPECT_EQ(other.GetCategories().GetCount(), 5); // the calendar's categories
    EXPECT_EQ(reader.GetRecords().size(), 7u);      // the first reader keeps its copies
    const std::string second = Log();
    EXPECT_NE(second.find("The connection is already opened, close it now."), std::string::npos);
    EXPECT_NE(second.find("Database Query Error, Query String=SELECT [Record ID]"), std::string::npos);
    EXPECT_NE(
        second.find("Failed to query the first record of the Contacts main table. Check if there is any "
                    "records in the database table."),
        std::string::npos);
    EXPECT_EQ(second.find("Loading Palm Desktop Contacts main records completed successfully."),
              std::string::npos);
}

TEST_F(PalmEx2Test, AccessorRunsStatementsAsGiven)
{
    FW_REQUIRE_SAMPLE("address/Address.mdb");
    PmMDBAccessor accessor;
    ASSERT_TRUE(accessor.Open(kPmAccessorAddr, SamplePath("address/Address.mdb")));
    EXPECT_EQ(accessor.GetConnection(), &dmMain.connAddr);
    EXPECT_EQ(accessor.GetQuery(), &dmMain.qryAddr);

    // The samples' own query check.
    const std::pair<std::int32_t, std::int32_t> expected[] = {{1001, 0},   {1002, 1},   {1003, 0}, {1004, 4},
                                                              {1005, 128}, {1006, 132}, {1007, 0}};
    std::vector<std::pair<std::int32_t, std::int32_t>> rows;
    PmRow row;
    for (bool more = accessor.QueryFirst("SELECT [Record ID], [Status] FROM Main ", row); more;
         more = accessor.QueryNext(row)) {
        ASSERT_EQ(row.size(), 2u);
        ASSERT_EQ(row[0].GetKind(), PmColumnValue::kInteger);
        rows.emplace_back(row[0].GetInteger(), row[1].GetInteger());
    }
    const std::vector<std::pair<std::int32_t, std::int32_t>> wanted(std::begin(expected), std::end(expected));
    EXPECT_EQ(rows, wanted);
    EXPECT_TRUE(row.empty());

    // Column kinds: booleans, null integers and texts as they come.
    ASSERT_TRUE(accessor.SelectFirst("Main", {"Private", "Birthday", "Prefix", "Note"}, row));
    EXPECT_EQ(row[0].GetKind(), PmColumnValue::kBoolean);
    EXPECT_FALSE(row[0].GetBoolean());
    ASSERT_TRUE(accessor.SelectNext("Main", {"Private", "Birthday", "Prefix", "Note"}, row));
    EXPECT_TRUE(row[0].GetBoolean());
    EXPECT_TRUE(row[1].IsEmpty()); // null
    EXPECT_EQ(row[2].GetKind(), PmColumnValue::kText);
    EXPECT_EQ(row[2].GetText(), ""); // null reads as an empty text
    EXPECT_EQ(row[3].GetText(), "Gr\xC3\xBC\xC3\x9F"
                                "e an die Familie \xE2\x80\x93 bis bald!");

    // The next row of another statement than the one remembered is not fetched.
    ClearLog();
    EXPECT_FALSE(accessor.SelectNext("Main", {"Private"}, row));
    EXPECT_NE(Log().find("This query is not same with former query. Ignore this query."), std::string::npos);
    // Statements that fail are logged with the library's message; nothing is written.
    EXPECT_FALSE(accessor.QueryFirst("SELECT [Nothing] FROM Main ", row));
    EXPECT_FALSE(accessor.Execute("DELETE FROM Main "));
    EXPECT_FALSE(accessor.QueryFirst("", row));
    const std::string log = Log();
    EXPECT_NE(log.find("Database Query Error, Query String=SELECT [Nothing] FROM Main , Error="),
              std::string::npos);
    EXPECT_NE(log.find("Database Query Error, Query String=DELETE FROM Main \r\n"), std::string::npos);
    EXPECT_NE(log.find("Invalid query string found."), std::string::npos);

    // A kind without a connection.
    ClearLog();
    PmMDBAccessor unknown;
    EXPECT_FALSE(unknown.Open(9, SamplePath("address/Address.mdb")));
    EXPECT_NE(Log().find("There is no valid database connection to open this file."), std::string::npos);
}

// Loads a file with a fresh reader; loaded tells what the reader says afterwards.
template <class Reader> bool LoadWith(const std::string& path, bool& loaded)
{
    Reader reader;
    const bool ok = reader.Load(path);
    loaded = reader.IsLoaded();
    return ok;
}

TEST_F(PalmEx2Test, MissingFilesAndEmptyPathsFailTheLoad)
{
    const std::string missing = m_home.Path("nothing/here.mdb");
    struct Case
    {
        const char* name;
        bool (*load)(const std::string&, bool&);
        const char* openFailed;
        const char* emptyPath; // null: an empty path is a missing file
    } cases[] = {
        {"contacts", LoadWith<PmAddrEx2Util>, "Open Palm Desktop Contacts database failed: ", nullptr},
        {"calendar", LoadWith<PmDateEx2Util>, "Open Palm Desktop Calendar database failed: ", nullptr},
        {"memos", LoadWith<PmMemoEx2Util>,
         "Open Palm Desktop Memos database failed: ", "Invalid Palm Desktop Notes database name."},
        {"to-dos", LoadWith<PmTodoEx2Util>,
         "Open Palm Desktop Tasks database failed: ", "Invalid Palm Desktop Task database file name."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearLog();
        bool loaded = true;
        EXPECT_FALSE(c.load(missing, loaded));
        EXPECT_FALSE(loaded);
        std::string log = Log();
        EXPECT_NE(log.find("The file doesn't exist. Abort."), std::string::npos);
        EXPECT_NE(log.find(c.openFailed + missing), std::string::npos);
        EXPECT_EQ(log.find("Execute SQL Query"), std::string::npos);

        ClearLog();
        EXPECT_FALSE(c.load("", loaded));
        log = Log();
        if (c.emptyPath != nullptr) {
            EXPECT_NE(log.find(c.emptyPath), std::string::npos);
            EXPECT_EQ(log.find("Set database file"), std::string::npos);
        } else {
            EXPECT_NE(log.find("The file doesn't exist. Abort."), std::string::npos);
        }
    }
    // A folder is no database file either.
    PmMemoEx2Util folder;
    EXPECT_FALSE(folder.Load(m_home.Root()));
}

TEST_F(PalmEx2Test, PathsAreTakenLiterally)
{
    FW_REQUIRE_SAMPLE("MemoPad/MemoPad.mdb");
    // Blanks, quotes and shell characters are part of the name: nothing expands or splits it.
    const std::string folder = m_home.Path("Palm Data $(touch injected) 'x' ~");
    fs::create_directories(folder);
    const std::string path = folder + "/Memo Pad*.mdb";
    fs::create_symlink(SamplePath("MemoPad/MemoPad.mdb"), path);
    PmMemoEx2Util reader(path);
    EXPECT_TRUE(reader.IsLoaded());
    EXPECT_EQ(reader.GetRecords().size(), 10u);
    EXPECT_FALSE(fs::exists("injected"));
    EXPECT_FALSE(fs::exists(folder + "/injected"));
    EXPECT_EQ(dmMain.connMemo.GetDataSource(), path);
}

// Before, such a file loaded as an empty database, and a migration went on with no memos.
TEST_F(PalmEx2Test, AFileThatIsNoAccessDatabaseFailsToLoad)
{
    const std::string path =
        m_home.WriteFile("MemoPad/MemoPad.mdb", "This is a plain text file, not a database.\n");
    testing::internal::CaptureStderr();
    PmMemoEx2Util reader(path);
    const std::string stderrText = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(reader.IsLoaded());
    EXPECT_EQ(reader.GetLoadError(), "not a Palm Desktop database");
    EXPECT_TRUE(reader.GetRecords().empty());
    EXPECT_EQ(reader.GetCategories().GetCount(), 0);
    EXPECT_FALSE(dmMain.connMemo.IsOpen());
    EXPECT_EQ(stderrText, "");
    const std::string log = Log();
    const std::string connection = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"" + path + "\"";
    EXPECT_NE(log.find("Database Connection Error, Connection String=" + connection + ", Error="),
              std::string::npos);
    EXPECT_NE(
        log.find(
            "Database Query Error, Query String=SELECT [ID], [Name], [Status], [Color] FROM Category \r\n"),
        std::string::npos);
    EXPECT_NE(log.find("[!!!] - Open Palm Desktop Memos database failed: " + path), std::string::npos);
    EXPECT_EQ(log.find("Loading Palm Desktop Memo main records completed successfully."), std::string::npos);
}

// Access modes of an open descriptor as /proc/self/fdinfo shows them (O_ACCMODE, O_RDONLY).
constexpr int kAccessModeMask = 03;
constexpr int kReadOnly = 0;

// The access mode of each of the process's open descriptors of a file, from /proc; empty when
// none is open.
std::vector<int> OpenModesOf(const std::string& path)
{
    std::vector<int> modes;
    std::error_code failed;
    const fs::path wanted = fs::canonical(path, failed);
    for (const auto& entry : fs::directory_iterator("/proc/self/fd", failed)) {
        std::error_code e;
        if (fs::read_symlink(entry.path(), e) != wanted) {
            continue;
        }
        std::ifstream info("/proc/self/fdinfo/" + entry.path().filename().string());
        std::string key;
        std::string value;
        while (info >> key >> value) {
            if (key == "flags:") {
                modes.push_back(static_cast<int>(std::stoul(value, nullptr, 8)) & kAccessModeMask);
            }
        }
    }
    return modes;
}

// Palm Desktop is only ever read: the database library opens the file for reading only, so a
// folder copied from a CD or a backup loads. (Root may write a file of mode 0444; the open
// descriptor's mode shows what was asked for.)
TEST_F(PalmEx2Test, DatabasesAreOpenedForReadingOnly)
{
    FW_REQUIRE_SAMPLE("address/Address.mdb");
    const std::string path = m_home.Path("ro/Address.mdb");
    fs::create_directories(fs::path(path).parent_path());
    fs::copy_file(SamplePath("address/Address.mdb"), path);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    PmAddrEx2Util reader(path);
    EXPECT_TRUE(reader.IsLoaded()) << reader.GetLoadError();
    EXPECT_EQ(reader.GetRecords().size(), 7u);
    // The connection stays open after the load.
    EXPECT_EQ(OpenModesOf(path), std::vector<int>{kReadOnly});
    dmMain.CloseAll();
    EXPECT_TRUE(OpenModesOf(path).empty());
}

TEST_F(PalmEx2Test, LibraryWarningsGoToTheLogAndStandardErrorStaysUsable)
{
    FW_REQUIRE_SAMPLE("todo/Todolist.mdb");
    // Cut inside the catalogue: mdbtools complains on standard error while reading.
    const std::string path = TruncatedCopy("todo/Todolist.mdb", 6000);
    testing::internal::CaptureStderr();
    PmTodoEx2Util reader(path);
    std::fprintf(stderr, "still here\n");
    const std::string stderrText = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(reader.IsLoaded()); // its table Main cannot be read
    EXPECT_TRUE(reader.GetRecords().empty());
    EXPECT_EQ(stderrText, "still here\n");
    const std::string log = Log();
    EXPECT_NE(log.find("mdbtools: "), std::string::npos);
    EXPECT_NE(log.find("[!!!] - mdbtools: "), std::string::npos);
}

TEST_F(PalmEx2Test, DamagedDatabasesNeitherCrashNorHang)
{
    struct Case
    {
        const char* sample;
        std::size_t rows;
        bool (*load)(const std::string&, std::size_t&);
    } cases[] = {
        {"address/Address.mdb", 7,
         [](const std::string& p, std::size_t& n) {
             PmAddrEx2Util r(p);
             n = r.GetRecords().size();
             return r.IsLoaded();
         }},
        {"datebook/DateBook.mdb", 16,
         [](const std::string& p, std::size_t& n) {
             PmDateEx2Util r(p);
             n = r.GetRecords().size();
             return r.IsLoaded();
         }},
        {"MemoPad/MemoPad.mdb", 10,
         [](const std::string& p, std::size_t& n) {
             PmMemoEx2Util r(p);
             n = r.GetRecords().size();
             return r.IsLoaded();
         }},
        {"todo/Todolist.mdb", 13,
         [](const std::string& p, std::size_t& n) {
             PmTodoEx2Util r(p);
             n = r.GetRecords().size();
             return r.IsLoaded();
         }},
    };
    for (const Case& c : cases) {
        FW_REQUIRE_SAMPLE(c.sample);
        const std::uintmax_t size = fs::file_size(SamplePath(c.sample));
        for (std::uintmax_t cut : {std::uintmax_t{0}, std::uintmax_t{100}, std::uintmax_t{4096},
                                   std::uintmax_t{9000}, size / 2, size - 4096, size - 1}) {
            SCOPED_TRACE(std::string(c.sample) + " cut at " + std::to_string(cut));
            std::size_t rows = 0;
            // A load either reads what is left or fails with nothing; an empty file fails.
            const bool loaded = c.load(TruncatedCopy(c.sample, cut), rows);
            EXPECT_LE(rows, loaded ? c.rows : 0u);
            if (cut == 0) {
                EXPECT_FALSE(loaded);
            }
        }
    }
}

TEST_F(PalmEx2Test, LoadByUserFindsTheDatabasesWhateverTheirCase)
{
    FW_REQUIRE_SAMPLE("address/Address.mdb");
    // A Palm folder copied from Windows, with the case of its names lost.
    const struct
    {
        const char* sample;
        const char* link;
    } links[] = {
        {"address/Address.mdb", "Palm/Anna/ADDRESS/address.mdb"},
        {"datebook/DateBook.mdb", "Palm/Anna/Datebook/datebook.MDB"},
        {"MemoPad/MemoPad.mdb", "Palm/Anna/memopad/memopad.mdb"},
        {"todo/Todolist.mdb", "Palm/Anna/todo/TodoList.mdb"},
    };
    for (const auto& l : links) {
        fs::create_directories(fs::path(m_home.Path(l.link)).parent_path());
        fs::create_symlink(SamplePath(l.sample), m_home.Path(l.link));
    }
    PmSetDesktopFolderOverride(m_home.Path("Palm"));
    PmResetUserList();
    ASSERT_EQ(PmBuildUserList(), 1);
    const std::int32_t user = PmGetUsers()[0].userId;

    PmAddrEx2Util addr;
    EXPECT_TRUE(addr.LoadByUser(user));
    EXPECT_EQ(addr.GetRecords().size(), 7u);
    PmDateEx2Util date;
    EXPECT_TRUE(date.LoadByUser(user));
    EXPECT_EQ(date.GetRecords().size(), 16u);
    PmMemoEx2Util memo;
    EXPECT_TRUE(memo.LoadByUser(user));
    EXPECT_EQ(memo.GetRecords().size(), 10u);
    PmTodoEx2Util todo;
    EXPECT_TRUE(todo.LoadByUser(user));
    EXPECT_EQ(todo.GetRecords().size(), 13u);
    // Every kind has its own connection, all open at once.
    EXPECT_TRUE(dmMain.connAddr.IsOpen() && dmMain.connDate.IsOpen() && dmMain.connMemo.IsOpen() &&
                dmMain.connTodo.IsOpen());
    const std::string log = Log();
    EXPECT_NE(log.find("Start loading Palm Desktop Contacts by user ID: " + std::to_string(user)),
              std::string::npos);
    EXPECT_NE(log.find("Get user file successfully, try loading file:" +
                       m_home.Path("Palm/Anna/ADDRESS/address.mdb")),
              std::string::npos);
    EXPECT_NE(log.find("Start loading Palm Desktop Tasks by user ID: "), std::string::npos);

    ClearLog();
    EXPECT_FALSE(addr.LoadByUser(user + 1));
    EXPECT_FALSE(addr.IsLoaded());
    EXPECT_NE(Log().find("Failed to get user database path by user ID."), std::string::npos);
    PmSetDesktopFolderOverride("");
    PmResetUserList();
}

} // namespace
