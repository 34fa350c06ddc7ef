// The reader on the public sample data files (skipped when the shared samples are absent):
// default folders, counts, texts, times, recurrences, passwords, and bad or damaged files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "common/TempHome.h"
#include "outlook/pst/PstStore.h"
#include "platform/OleDate.h"

namespace fs = std::filesystem;

namespace pst {
namespace {

const std::string kSamples = std::string(FW_SHARED_DIR) + "/samples/pst/";

std::string Sample(const std::string& name)
{
    return kSamples + name;
}

#define REQUIRE_SAMPLES()                                                                                    \
    if (!fs::exists(kSamples)) {                                                                             \
        GTEST_SKIP() << "no shared samples at " << kSamples;                                                 \
    }

std::string Date(double ole)
{
    SYSTEMTIME st{};
    if (!platform::VariantTimeToSystemTime(ole, &st)) {
        return "invalid";
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", st.wYear, st.wMonth, st.wDay, st.wHour,
                  st.wMinute);
    return buf;
}

std::unique_ptr<PstFile> OpenOrFail(const std::string& name, unsigned codePage = 1252,
                                    std::string_view password = {})
{
    std::string error;
    auto file = PstFile::Open(Sample(name), password, codePage, &error);
    EXPECT_TRUE(file) << name << ": " << error;
    return file;
}

std::string Text(const PstItem& item, const char* name)
{
    auto v = item.Outlook(name);
    return v ? v->text : "<unknown name>";
}

class PstStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        home.SetEnv("TZ", "Europe/Berlin");
        tzset();
    }
    void TearDown() override { tzset(); }
    fwtest::TempHome home;
};

TEST_F(PstStoreTest, DefaultFoldersAndTheirItems)
{
    REQUIRE_SAMPLES();
    // File, folder kind, the folder's node id (0: the file has none), its items of the kind,
    // the first item's subject.
    struct Case
    {
        const char* file;
        DefaultFolderKind kind;
        std::uint32_t folder;
        std::size_t items;
        const char* firstSubject;
    };
    using K = DefaultFolderKind;
    const std::vector<Case> cases = {
        // Entry IDs on the root folder of an Outlook-made PST.
        {"java-libpst__dist-list.pst", K::Calendar, 0x8122, 1, "Test appointment"},
        {"java-libpst__dist-list.pst", K::Contacts, 0x8142, 1, "contact name 1"}, // not the distribution list
        {"java-libpst__dist-list.pst", K::Notes, 0x8182, 0, ""},
        {"java-libpst__dist-list.pst", K::Tasks, 0x81A2, 0, ""},
        // Entry IDs whose provider UID is not the store's: the node id still names the folder.
        {"aspose-net__Outlook.pst", K::Calendar, 0x8122, 1, "Weekly meeting"},
        {"aspose-net__Outlook.pst", K::Contacts, 0x8142, 1, "Saqib Razzaq"},
        // No entry IDs: the folder of the class nearest the top.
        {"go-pst__32-bit.pst", K::Calendar, 0x8082, 1, "Updated: Olympus training for new hires"},
        {"hht-pst-extractor__contacts.pst", K::Contacts, 0x80C2, 1, "\xE3\x82\xB3"}, // prefix only, see below
        {"aspose-net__SampleContacts.pst", K::Contacts, 0x8082, 6, "Sebastian Wright"},
        // Contacts in a mail folder are no default Contacts folder.
        {"aspose-java__PersonalStorage.pst", K::Contacts, 0, 0, ""},
        {"hht-pst-extractor__alpha-beta-gamma-delta.pst", K::Calendar, 0, 0, ""},
        // OSTs: 46-byte entry IDs on the Inbox, matched by their global counter.
        {"pst-extractor__mtnman1965@outlook.com.ost", K::Calendar, 0x8102, 2, "get lunch"},
        {"pst-extractor__mtnman1965@outlook.com.ost", K::Contacts, 0x80E2, 2, "Ed Pfromer"},
        {"pst-extractor__mtnman1965@outlook.com.ost", K::Notes, 0x81A2, 1, "a pretty yellow sticky note"},
        {"pst-extractor__mtnman1965@outlook.com.ost", K::Tasks, 0x81C2, 2, "basic task"},
        {"aspose-net__SampleOstFile.ost", K::Calendar, 0x8022, 1, "05 - test email - single meeting request"},
        {"aspose-net__SampleOstFile.ost", K::Contacts, 0x8042, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " folder " + std::to_string(static_cast<int>(c.kind)));
        auto file = OpenOrFail(c.file);
        ASSERT_TRUE(file);
        EXPECT_EQ(file->DefaultFolderId(c.kind), c.folder);
        std::string error;
        auto folder = file->DefaultFolder(c.kind, &error);
        if (c.folder == 0) {
            EXPECT_FALSE(folder);
            EXPECT_NE(error.find("has no"), std::string::npos) << error;
            continue;
        }
        ASSERT_TRUE(folder) << error;
        EXPECT_EQ(folder->Id(), c.folder);
        EXPECT_EQ(folder->StoreId(), file->StoreId());
        EXPECT_FALSE(folder->Name().empty());
        ASSERT_EQ(folder->Items().size(), c.items);
        EXPECT_EQ(folder->SkippedItems(), 0u);
        if (c.items > 0) {
            const std::u16string subject = folder->Items()[0].Subject();
            EXPECT_EQ(Utf16ToUtf8(subject).rfind(c.firstSubject, 0), 0u) << Utf16ToUtf8(subject);
        }
    }
}

TEST_F(PstStoreTest, ContactFields)
{
    REQUIRE_SAMPLES();
    auto file = OpenOrFail("aspose-net__SampleContacts.pst");
    ASSERT_TRUE(file);
    auto folder = file->DefaultFolder(DefaultFolderKind::Contacts);
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->Name(), "Contacts");
    const PstItem& tolle = folder->Items()[3];
    struct Case
    {
        const char* name;
        const char* value;
    };
    for (const Case& c : std::vector<Case>{{"FullName", "Margaret J. Tolle"},
                                           {"FirstName", "Margaret"},
                                           {"MiddleName", "J."},
                                           {"LastName", "Tolle"},
                                           {"FileAs", "Tolle, Margaret J."},
                                           {"CompanyName", "Adaptaz"},
                                           {"JobTitle", "Recording engineer"},
                                           {"Email1Address", "MargaretJTolle@dayrep.com"},
                                           {"BusinessTelephoneNumber", "(08)9080-1183"},
                                           {"HomeTelephoneNumber", ""}}) {
        EXPECT_EQ(Text(tolle, c.name), c.value) << c.name;
    }
    EXPECT_EQ(tolle.EntryId().size(), 48u);
    EXPECT_EQ(tolle.EntryId().substr(40), "84002000");

    // The same Japanese contact in a Unicode file and in an ANSI file read with code page 932.
    for (auto [name, codePage] : {std::pair{"hht-pst-extractor__contacts.pst", 1252u},
                                  std::pair{"hht-pst-extractor__contacts97-2002.pst", 932u}}) {
        SCOPED_TRACE(name);
        auto jp = OpenOrFail(name, codePage);
        ASSERT_TRUE(jp);
        auto contacts = jp->DefaultFolder(DefaultFolderKind::Contacts);
        ASSERT_TRUE(contacts);
        ASSERT_EQ(contacts->Items().size(), 1u);
        const PstItem& c = contacts->Items()[0];
        EXPECT_EQ(c.Get(PropertyKey::Tag(0x3A06))->text, u"\u30B3\u30E0"); // コム
        EXPECT_EQ(c.Get(PropertyKey::Tag(0x3A11))->text, u"\u30A4\u30B0\u30B6\u30F3\u30D7\u30EB");
        EXPECT_EQ(Utf16ToUtf8(contacts->NameUtf16()),
                  "\xE9\x80\xA3\xE7\xB5\xA1\xE5\x85\x88 (Contact dedicated)");
        EXPECT_EQ(Text(c, "CompanyName"), "My work company");
        EXPECT_EQ(Text(c, "Email1Address"), "test@example.com");
        EXPECT_EQ(Text(c, "BusinessFaxNumber"), "06-0001-0003");
        EXPECT_EQ(Text(c, "BusinessHomePage"), "https://example.com");
        // In the product's code page 1252 Japanese characters become '?'.
        EXPECT_EQ(Text(c, "FirstName"), "??");
        EXPECT_EQ(Date(c.Outlook("Birthday")->date), "2000-01-01 00:00");
    }
    // Read with the default code page the ANSI file gives other characters.
    auto wrong = OpenOrFail("hht-pst-extractor__contacts97-2002.pst");
    ASSERT_TRUE(wrong);
    auto mojibake = wrong->DefaultFolder(DefaultFolderKind::Contacts);
    ASSERT_TRUE(mojibake);
    EXPECT_NE(mojibake->Items().at(0).Get(PropertyKey::Tag(0x3A06))->text, u"\u30B3\u30E0");
}

TEST_F(PstStoreTest, AppointmentsTimesAndRecurrence)
{
    REQUIRE_SAMPLES();
    {
        auto file = OpenOrFail("java-libpst__dist-list.pst");
        ASSERT_TRUE(file);
        auto calendar = file->DefaultFolder(DefaultFolderKind::Calendar);
        ASSERT_TRUE(calendar);
        const PstItem& a = calendar->Items().at(0);
        EXPECT_EQ(Date(a.Outlook("Start")->date), "2016-08-02 17:00"); // 15:00 UTC in Berlin summer time
        EXPECT_EQ(Date(a.Outlook("End")->date), "2016-08-02 17:30");
        EXPECT_FALSE(a.Outlook("AllDayEvent")->flag);
        EXPECT_TRUE(a.Outlook("IsRecurring")->flag);
        auto p = a.Recurrence();
        ASSERT_TRUE(p);
        EXPECT_EQ(p->recurrenceType, 1);
        EXPECT_EQ(p->interval, 1);
        EXPECT_EQ(p->dayOfWeekMask, 4);
        EXPECT_TRUE(p->noEndDate);
        EXPECT_EQ(p->patternEndDate, 0.0);
        EXPECT_EQ(Date(p->patternStartDate), "2016-08-02 00:00");
        EXPECT_EQ(p->duration, 30);
        EXPECT_EQ(a.RecurrenceBlobValue()->exceptions.size(), 2u);
    }
    {
        auto file = OpenOrFail("go-pst__32-bit.pst");
        ASSERT_TRUE(file);
        auto calendar = file->DefaultFolder(DefaultFolderKind::Calendar);
        ASSERT_TRUE(calendar);
        const PstItem& a = calendar->Items().at(0);
        EXPECT_EQ(Text(a, "Subject"), "Updated: Olympus training for new hires");
        EXPECT_EQ(Date(a.Outlook("Start")->date), "2004-08-19 20:30");
        EXPECT_EQ(a.Outlook("BusyStatus")->number, 1);
        EXPECT_FALSE(a.Outlook("ReminderSet")->flag);
        EXPECT_FALSE(a.Outlook("IsRecurring")->flag);
        EXPECT_EQ(Text(a, "Body").rfind("Patty will provide Olympus training", 0), 0u);
    }
    {
        auto file = OpenOrFail("pst-extractor__mtnman1965@outlook.com.ost");
        ASSERT_TRUE(file);
        auto calendar = file->DefaultFolder(DefaultFolderKind::Calendar);
        ASSERT_TRUE(calendar);
        const PstItem& workout = calendar->Items().at(1);
        EXPECT_EQ(Text(workout, "Subject"), "workout");
        auto p = workout.Recurrence();
        ASSERT_TRUE(p);
        EXPECT_EQ(p->recurrenceType, 0);
        EXPECT_EQ(p->interval, 1);
        EXPECT_FALSE(p->noEndDate);
        EXPECT_EQ(Date(p->patternEndDate), "2018-05-28 00:00");
        EXPECT_EQ(Date(p->startTime), "1899-12-30 10:00");

        // All-day events of a calendar that is not the default one.
        auto holidays = file->Folder(0x82A2, DefaultFolderKind::Calendar);
        ASSERT_TRUE(holidays);
        ASSERT_EQ(holidays->Items().size(), 168u);
        std::size_t allDay = 0;
        for (const PstItem& h : holidays->Items()) {
            allDay += h.Outlook("AllDayEvent")->flag ? 1 : 0;
        }
        EXPECT_EQ(allDay, 168u);
        const PstItem& christmas = holidays->Items()[0];
        EXPECT_EQ(Text(christmas, "Subject"), "Christmas Holiday (Observed)");
        EXPECT_EQ(Text(christmas, "Location"), "United States");
        EXPECT_EQ(Date(christmas.Outlook("Start")->date), "2022-12-26 08:00"); // 07:00 UTC in Berlin
        EXPECT_EQ(christmas.Outlook("Duration")->number, 1440);
    }
}

TEST_F(PstStoreTest, TasksAndNotes)
{
    REQUIRE_SAMPLES();
    auto file = OpenOrFail("pst-extractor__mtnman1965@outlook.com.ost");
    ASSERT_TRUE(file);
    auto tasks = file->DefaultFolder(DefaultFolderKind::Tasks);
    ASSERT_TRUE(tasks);
    const PstItem& basic = tasks->Items().at(0);
    EXPECT_EQ(Date(basic.Outlook("DueDate")->date), "2018-03-06 00:00");
    EXPECT_EQ(basic.Outlook("Status")->number, 0);
    EXPECT_FALSE(basic.Outlook("IsRecurring")->flag);
    EXPECT_EQ(Text(basic, "Body"), "Vanilla task, not started\r\n");

    const PstItem& loaded = tasks->Items().at(1);
    EXPECT_EQ(Text(loaded, "Subject"), "fully loaded task");
    EXPECT_EQ(loaded.Outlook("PercentComplete")->number, 75);
    EXPECT_EQ(loaded.Outlook("Status")->number, 1);
    EXPECT_EQ(loaded.Outlook("Importance")->number, 2);
    EXPECT_FALSE(loaded.Outlook("Complete")->flag);
    EXPECT_EQ(Text(loaded, "Categories"), "Blue category");
    EXPECT_EQ(Text(loaded, "Owner"), "Mountain Man");
    EXPECT_TRUE(loaded.Outlook("IsRecurring")->flag);
    auto p = loaded.Recurrence();
    ASSERT_TRUE(p);
    EXPECT_EQ(p->recurrenceType, 2);
    EXPECT_EQ(p->dayOfMonth, 1);
    EXPECT_EQ(Date(p->patternEndDate), "2019-03-06 00:00");

    auto notes = file->DefaultFolder(DefaultFolderKind::Notes);
    ASSERT_TRUE(notes);
    const PstItem& note = notes->Items().at(0);
    EXPECT_EQ(note.Outlook("Color")->number, 3);
    EXPECT_TRUE(note.Outlook("Saved")->flag);
    // The note has no plain body, only compressed RTF.
    EXPECT_FALSE(note.Find(PropertyKey::Tag(tag::kBody)));
    EXPECT_EQ(Text(note, "Body").rfind("a pretty yellow sticky note", 0), 0u) << Text(note, "Body");
}

TEST_F(PstStoreTest, PasswordProtectedFile)
{
    REQUIRE_SAMPLES();
    // The file's password is not published; this one has the same checksum (0xE61EB50F).
    const std::string path = Sample("java-libpst__passworded.pst");
    struct Case
    {
        const char* password;
        bool opens;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"pstqnp`4sT", true, ""},
        {"", false, "is protected by a password"},
        {"password", false, "password for the Outlook data file"},
    };
    for (const Case& c : cases) {
        std::string error;
        auto file = PstFile::Open(path, c.password, 1252, &error);
        EXPECT_EQ(file != nullptr, c.opens) << c.password;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        if (file) {
            auto contacts = file->DefaultFolder(DefaultFolderKind::Contacts);
            ASSERT_TRUE(contacts);
            EXPECT_EQ(contacts->Items().size(), 1u);
        }
    }
    // A file without a password opens whatever password is given.
    std::string error;
    EXPECT_TRUE(PstFile::Open(Sample("java-libpst__dist-list.pst"), "anything", 1252, &error)) << error;
}

TEST_F(PstStoreTest, FilesThatCannotBeRead)
{
    REQUIRE_SAMPLES();
    const std::string text = home.WriteFile("notes.pst", "This is a text file, not an Outlook data file.\n");
    std::string header;
    {
        std::ifstream in(Sample("java-libpst__dist-list.pst"), std::ios::binary);
        header.assign(4096, '\0');
        in.read(header.data(), static_cast<std::streamsize>(header.size()));
    }
    const std::string truncated = home.WriteFile("truncated.pst", header.substr(0, 600));
    struct Case
    {
        std::string path;
        unsigned codePage;
        const char* message;
    };
    const std::vector<Case> cases = {
        {text, 1252, "is not an Outlook data file"},
        {Sample("aspose-c__SMTP_Outlook.pst"), 1252, "is not an Outlook data file"}, // an mbox file
        {Sample("aspose-net__AddingBulkMessagesWithImprovedPerformance.pst"), 1252, "is damaged"},
        {truncated, 1252, "is damaged"},
        {home.Path("missing.pst"), 1252, "cannot be opened"},
        {Sample("java-libpst__dist-list.pst"), 99999, "code page 99999 is not supported"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(PstFile::Open(c.path, {}, c.codePage, &error)) << c.path;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.path << ": " << error;
    }
}

TEST_F(PstStoreTest, SplitChunkWithDanglingRows)
{
    REQUIRE_SAMPLES();
    auto file = OpenOrFail("aspose-net__Test_part1.pst");
    ASSERT_TRUE(file);
    auto contacts = file->DefaultFolder(DefaultFolderKind::Contacts);
    ASSERT_TRUE(contacts);
    EXPECT_EQ(contacts->Items().size(), 9u);
    EXPECT_EQ(contacts->SkippedItems(), 12u); // rows that point to missing nodes
    auto calendar = file->DefaultFolder(DefaultFolderKind::Calendar);
    ASSERT_TRUE(calendar);
    EXPECT_EQ(calendar->Items().size(), 9u);
    // The name map does not fit the data: values of the wrong type are not taken.
    for (const PstItem& item : calendar->Items()) {
        auto start = item.Outlook("Start");
        EXPECT_TRUE(!start->present || Date(start->date) != "invalid");
    }
}

// Every item of every default folder, every Outlook property: a value is either absent or
// of its type, and dates are real dates.
void ReadEverything(PstFile& file, std::size_t* itemsRead)
{
    for (auto kind : {DefaultFolderKind::Calendar, DefaultFolderKind::Contacts, DefaultFolderKind::Notes,
                      DefaultFolderKind::Tasks}) {
        auto folder = file.DefaultFolder(kind);
        if (!folder) {
            continue;
        }
        for (const PstItem& item : folder->Items()) {
            ++*itemsRead;
            for (const OutlookProperty& p : OutlookProperties()) {
                if ((p.classes & item.ItemClass()) == 0) {
                    continue;
                }
                auto v = item.Outlook(p.name);
                ASSERT_TRUE(v);
                if (v->type == OutlookType::Date && v->present) {
                    SYSTEMTIME st{};
                    ASSERT_TRUE(platform::VariantTimeToSystemTime(v->date, &st)) << p.name;
                    EXPECT_GE(st.wYear, 1601) << p.name;
                    EXPECT_LT(st.wYear, 4501) << p.name;
                }
            }
            if (auto r = item.Recurrence()) {
                EXPECT_GE(r->interval, 1);
            }
            item.UserProperties();
        }
    }
}

TEST_F(PstStoreTest, DamagedCopiesNeverCrash)
{
    REQUIRE_SAMPLES();
    const std::vector<std::string> originals = {
        "java-libpst__dist-list.pst",
        "java-libpst__passworded.pst",
        "go-pst__32-bit.pst",
        "pst-extractor__mtnman1965@outlook.com.ost",
        "aspose-net__SampleOstFile.ost",
        "aspose-net__SampleContacts.pst",
        "aspose-java__PersonalStorage.pst",
        "aspose-net__Outlook.pst",
        "aspose-net__Test_part1.pst",
        "hht-pst-extractor__contacts.pst",
        "hht-pst-extractor__contacts97-2002.pst",
        "hht-pst-extractor__alpha-beta-gamma-delta.pst",
    };
    std::mt19937 random(20240611);
    std::size_t opened = 0;
    std::size_t items = 0;
    for (const std::string& name : originals) {
        std::ifstream in(Sample(name), std::ios::binary);
        const std::string original((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_GT(original.size(), 0x4400u) << name;
        // Bytes changed past the header (a header change only makes the open fail), and a copy
        // cut in half.
        for (int copy = 0; copy < 3; ++copy) {
            std::string damaged = original;
            if (copy == 2) {
                damaged.resize(original.size() / 2);
            } else {
                std::uniform_int_distribution<std::size_t> where(0x4400, original.size() - 1);
                for (int flip = 0; flip < 64; ++flip) {
                    damaged[where(random)] ^= static_cast<char>(1 << (flip % 8));
                }
            }
            SCOPED_TRACE(name + " copy " + std::to_string(copy));
            const std::string path = home.WriteFile("damaged-" + std::to_string(copy) + ".pst", damaged);
            std::string error;
            auto file = PstFile::Open(path, "pstqnp`4sT",
                                      name.find("97-2002") != std::string::npos ? 932 : 1252, &error);
            if (!file) {
                EXPECT_FALSE(error.empty());
                continue;
            }
            ++opened;
            ReadEverything(*file, &items);
        }
    }
    EXPECT_GT(opened, 0u);
    EXPECT_GT(items, 0u);
}

TEST_F(PstStoreTest, EveryOriginalReadsCleanly)
{
    REQUIRE_SAMPLES();
    std::size_t items = 0;
    for (const char* name :
         {"java-libpst__dist-list.pst", "go-pst__32-bit.pst", "pst-extractor__mtnman1965@outlook.com.ost",
          "aspose-net__SampleOstFile.ost", "aspose-net__Outlook.pst", "hht-pst-extractor__contacts.pst"}) {
        SCOPED_TRACE(name);
        auto file = OpenOrFail(name);
        ASSERT_TRUE(file);
        ReadEverything(*file, &items);
    }
    EXPECT_EQ(items, 2u + 1u + 7u + 1u + 2u + 1u);
}

} // namespace
} // namespace pst
