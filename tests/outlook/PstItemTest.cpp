// Items built from properties as a file holds them: typed values, Outlook's names, times,
// texts, user fields and the checks that keep damaged values out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "outlook/pst/PstStore.h"
#include "platform/OleDate.h"

namespace pst {
namespace {

Bytes Utf16(std::u16string_view text)
{
    Bytes b;
    for (char16_t c : text) {
        b.push_back(static_cast<std::uint8_t>(c));
        b.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return b;
}

Bytes Le(std::uint64_t v, int size)
{
    Bytes b;
    for (int i = 0; i < size; ++i) {
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    return b;
}

// FILETIME of a UTC time.
std::uint64_t FileTime(int y, int mo, int d, int h, int mi)
{
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    const std::int64_t unix = timegm(&tm);
    return static_cast<std::uint64_t>(unix + 11644473600LL) * 10000000ULL;
}

RawProperty Tagged(std::uint16_t tag, std::uint16_t type, Bytes data)
{
    RawProperty p;
    p.fileTag = tag;
    p.type = type;
    p.data = std::move(data);
    return p;
}

RawProperty Named(const Guid& set, std::uint32_t lid, std::uint16_t fileTag, std::uint16_t type, Bytes data)
{
    RawProperty p = Tagged(fileTag, type, std::move(data));
    p.named = true;
    p.set = set;
    p.lid = lid;
    return p;
}

RawProperty NamedString(const Guid& set, std::string name, std::uint16_t fileTag, std::uint16_t type,
                        Bytes data)
{
    RawProperty p = Tagged(fileTag, type, std::move(data));
    p.named = true;
    p.stringName = true;
    p.set = set;
    p.name = std::move(name);
    return p;
}

RawProperty Text(std::uint16_t tag, std::u16string_view text)
{
    return Tagged(tag, kTypeUnicode, Utf16(text));
}

RawProperty Class(std::u16string_view messageClass)
{
    return Text(tag::kMessageClass, messageClass);
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

class PstItemTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
    }
};

TEST_F(PstItemTest, ContactFieldsByOutlookName)
{
    // Named properties under file tags of their own, as every file numbers them differently.
    const PstItem item(
        {Class(u"IPM.Contact"), Text(tag::kSubject, u"\x01\x01Jos\u00E9 Garc\u00EDa"),
         Text(0x3A06, u"Jos\u00E9"), Text(0x3A11, u"Garc\u00EDa"),
         Named(kPsetidAddress, 0x8083, 0x8067, kTypeUnicode, Utf16(u"jose@example.com")),
         Named(kPsetidAddress, 0x8046, 0x8001, kTypeUnicode, Utf16(u"M\u00FCnchen")),
         Tagged(0x3A4D, kTypeShort, Le(2, 2)), Tagged(0x3A2E, kTypeString8, Bytes{'5', '5', '5'}),
         Named(kPsetidAddress, 0x80DE, 0x8002, kTypeSysTime, Le(FileTime(2000, 1, 1, 0, 0), 8)),
         Tagged(0x3A42, kTypeSysTime, Le(FileTime(1999, 12, 31, 15, 0), 8))},
        1252, 0x200024, Bytes(16, 0xAB));
    EXPECT_EQ(item.ItemClass(), kClassContact);
    struct Case
    {
        const char* name;
        std::string text;
    };
    const std::vector<Case> texts = {
        {"FirstName", "Jos\xE9"},
        {"lastname", "Garc\xED"
                     "a"},
        {"Email1Address", "jose@example.com"},
        {"BusinessAddressCity", "M\xFCnchen"},
        {"AssistantTelephoneNumber", "555"},
        {"Subject", "Jos\xE9 Garc\xED"
                    "a"},
        {"HomeAddressCity", ""},
        {"EntryID", "00000000ABABABABABABABABABABABABABABABAB24002000"},
    };
    for (const Case& c : texts) {
        auto v = item.Outlook(c.name);
        ASSERT_TRUE(v) << c.name;
        EXPECT_EQ(v->type, OutlookType::Text) << c.name;
        EXPECT_EQ(v->text, c.text) << c.name;
    }
    EXPECT_EQ(item.Outlook("Gender")->number, 2);
    // The birthday is the local date the contact shows, not the UTC time converted.
    EXPECT_EQ(Date(item.Outlook("Birthday")->date), "2000-01-01 00:00");
    EXPECT_FALSE(item.Outlook("Start")); // not a contact's property
    EXPECT_FALSE(item.Outlook("NoSuchProperty"));

    // Without the local birthday the UTC one is made local.
    const PstItem older(
        {Class(u"IPM.Contact"), Tagged(0x3A42, kTypeSysTime, Le(FileTime(1999, 12, 31, 15, 0), 8))}, 1252, 1);
    EXPECT_EQ(Date(older.Outlook("Birthday")->date), "1999-12-31 16:00");
}

TEST_F(PstItemTest, AppointmentTimesRemindersAndTypes)
{
    const PstItem item(
        {Class(u"IPM.Appointment"),
         Named(kPsetidAppointment, 0x820D, 0x8100, kTypeSysTime, Le(FileTime(2016, 8, 2, 15, 0), 8)),
         Named(kPsetidAppointment, 0x820E, 0x8101, kTypeSysTime, Le(FileTime(2016, 8, 2, 15, 30), 8)),
         Named(kPsetidAppointment, 0x8215, 0x8102, kTypeBoolean, Bytes{1}),
         Named(kPsetidCommon, 0x8503, 0x8103, kTypeBoolean, Bytes{1}),
         Named(kPsetidCommon, 0x8501, 0x8104, kTypeLong, Le(15, 4)),
         // A location of the wrong type, as a map that does not fit the data gives.
         Named(kPsetidAppointment, 0x8208, 0x8105, kTypeLong, Le(1, 4)),
         Named(kPsetidCommon, 0x8502, 0x8106, kTypeSysTime, Le(0x0CB34557A3DD4000ULL, 8))},
        1252, 1);
    EXPECT_EQ(Date(item.Outlook("Start")->date), "2016-08-02 17:00"); // CEST
    EXPECT_EQ(Date(item.Outlook("End")->date), "2016-08-02 17:30");
    EXPECT_TRUE(item.Outlook("AllDayEvent")->flag);
    EXPECT_TRUE(item.Outlook("ReminderSet")->flag);
    EXPECT_EQ(item.Outlook("ReminderMinutesBeforeStart")->number, 15);
    EXPECT_FALSE(item.Outlook("Location")->present);
    EXPECT_EQ(item.Outlook("Location")->text, "");
    // 4501-01-01 is Outlook's "none".
    EXPECT_FALSE(item.Outlook("ReminderTime")->present);
    EXPECT_EQ(item.Outlook("ReminderTime")->date, 0.0);
    EXPECT_FALSE(item.Outlook("IsRecurring")->flag);
    EXPECT_FALSE(item.Recurrence());
}

TEST_F(PstItemTest, TaskDatesPercentCategoriesAndBody)
{
    // Keywords ["Blue category", "Rot"] as the file stores a PT_MV_UNICODE value.
    Bytes keywords = Le(2, 4);
    const Bytes blue = Utf16(u"Blue category");
    const Bytes rot = Utf16(u"Rot");
    for (std::uint64_t off : {12ULL, 12ULL + blue.size()}) {
        Bytes o = Le(off, 4);
        keywords.insert(keywords.end(), o.begin(), o.end());
    }
    keywords.insert(keywords.end(), blue.begin(), blue.end());
    keywords.insert(keywords.end(), rot.begin(), rot.end());
    // "{\rtf1\ansi\ansicpg1252\pard hello world}\r\n" compressed.
    const Bytes rtf = {0x2d, 0x00, 0x00, 0x00, 0x2b, 0x00, 0x00, 0x00, 0x4c, 0x5a, 0x46, 0x75, 0xf1,
                       0xc5, 0xc7, 0xa7, 0x03, 0x00, 0x0a, 0x00, 0x72, 0x63, 0x70, 0x67, 0x31, 0x32,
                       0x35, 0x42, 0x32, 0x0a, 0xf3, 0x20, 0x68, 0x65, 0x6c, 0x09, 0x00, 0x20, 0x62,
                       0x77, 0x05, 0xb0, 0x6c, 0x64, 0x7d, 0x0a, 0x80, 0x0f, 0xa0};
    const std::uint64_t half = 0x3FE8000000000000ULL; // 0.75
    const PstItem item({Class(u"IPM.Task"),
                        Named(kPsetidTask, 0x8105, 0x8010, kTypeSysTime, Le(FileTime(2018, 3, 6, 0, 0), 8)),
                        Named(kPsetidTask, 0x8102, 0x8011, kTypeDouble, Le(half, 8)),
                        Named(kPsetidTask, 0x811C, 0x8012, kTypeBoolean, Bytes{0}),
                        Named(kPsetidTask, 0x8101, 0x8013, kTypeLong, Le(1, 4)),
                        NamedString(kPsPublicStrings, "Keywords", 0x8014, kTypeMvUnicode, keywords),
                        Tagged(tag::kRtfCompressed, kTypeBinary, rtf)},
                       1252, 1);
    EXPECT_EQ(Date(item.Outlook("DueDate")->date), "2018-03-06 00:00"); // a date, kept as it is
    EXPECT_EQ(item.Outlook("PercentComplete")->number, 75);
    EXPECT_TRUE(item.Outlook("Complete")->present);
    EXPECT_FALSE(item.Outlook("Complete")->flag);
    EXPECT_EQ(item.Outlook("Status")->number, 1);
    EXPECT_EQ(item.Outlook("Categories")->text, "Blue category, Rot");
    EXPECT_EQ(item.Outlook("Body")->text, "hello world");
    EXPECT_EQ(item.Damage(), "");
}

// The body is the plain text when there is one, else the RTF's, else the HTML's (in the
// code page the item names for it).
TEST_F(PstItemTest, BodyFromHtmlWhenThatIsAllTheItemHas)
{
    auto bytes = [](const std::string& text) { return Bytes(text.begin(), text.end()); };
    const RawProperty html = Tagged(tag::kHtml, kTypeBinary, bytes("<p>Caf\xE9</p><p>Deck 2</p>"));
    EXPECT_EQ(PstItem({Class(u"IPM.Appointment"), html}, 1252, 1).Outlook("Body")->text, "Caf\xE9\r\nDeck 2");
    const PstItem shiftJis({Class(u"IPM.Appointment"),
                            Tagged(tag::kHtml, kTypeBinary, bytes("<p>\x93\xFA</p>")),
                            Tagged(tag::kInternetCodepage, kTypeLong, Le(932, 4))},
                           1252, 1);
    EXPECT_EQ(shiftJis.Body(), u"\u65E5");
    const PstItem plainFirst(
        {Class(u"IPM.Appointment"), html, Tagged(tag::kBody, kTypeUnicode, Utf16(u"plain"))}, 1252, 1);
    EXPECT_EQ(plainFirst.Outlook("Body")->text, "plain");
}

TEST_F(PstItemTest, EightBitTextsInTheFilesCodePage)
{
    const std::vector<RawProperty> props = {Class(u"IPM.Contact"),
                                            Tagged(0x3A06, kTypeString8, Bytes{0x93, 0xFA, 0x96, 0x7B})};
    EXPECT_EQ(PstItem(props, 932, 1).Get(PropertyKey::Tag(0x3A06))->text, u"\u65E5\u672C");
    EXPECT_EQ(PstItem(props, 1252, 1).Get(PropertyKey::Tag(0x3A06))->text, u"\u201C\u00FA\u2013{");
    // In the product's code page (1252 here) a character it lacks becomes '?'.
    EXPECT_EQ(PstItem(props, 932, 1).Outlook("FirstName")->text, "??");
}

TEST_F(PstItemTest, UserProperties)
{
    Bytes stream = {0x02, 0x01, 0x01, 0x00, 0x00, 0x00, 0x45, 0x00, 0x00, 0x00, 0x1F, 0x00, 0, 0, 0, 0, 4, 0};
    const Bytes name = Utf16(u"Team");
    stream.insert(stream.end(), name.begin(), name.end());
    stream.insert(stream.end(), {0, 0, 0, 0, 0});
    const PstItem item({Class(u"IPM.Contact"), Named(kPsetidCommon, 0x8540, 0x8020, kTypeBinary, stream),
                        NamedString(kPsPublicStrings, "Team", 0x8021, kTypeUnicode, Utf16(u"Blue")),
                        NamedString(kPsPublicStrings, "Other", 0x8022, kTypeUnicode, Utf16(u"not a field"))},
                       1252, 1);
    auto fields = item.UserProperties();
    ASSERT_EQ(fields.size(), 1u);
    EXPECT_EQ(fields[0].name, "Team");
    EXPECT_EQ(fields[0].value.text, "Blue");
}

TEST_F(PstItemTest, DamagedValuesAreFound)
{
    struct Case
    {
        const char* what;
        RawProperty property;
    };
    const std::vector<Case> cases = {
        {"a time in year 29177", Tagged(tag::kCreationTime, kTypeSysTime, Le(0x7FFF0000FFFF0000ULL, 8))},
        {"a negative time", Tagged(tag::kCreationTime, kTypeSysTime, Le(0xFFFFFFFFFFFFFFFFULL, 8))},
        {"a truncated time", Tagged(tag::kCreationTime, kTypeSysTime, Bytes{1, 2, 3})},
        {"a text of an odd number of bytes", Tagged(tag::kSubject, kTypeUnicode, Bytes{'a', 0, 'b'})},
        {"a truncated long", Tagged(0x3A4D, kTypeLong, Bytes{1})},
        {"a multi-value whose count does not fit",
         NamedString(kPsPublicStrings, "Keywords", 0x8001, kTypeMvUnicode, Le(0x7FFFFFFF, 4))},
        {"a double that is no number", Tagged(0x3A4D, kTypeDouble, Le(0x7FF8000000000001ULL, 8))},
    };
    for (const Case& c : cases) {
        const PstItem item({Class(u"IPM.Contact"), c.property}, 1252, 1);
        EXPECT_NE(item.Damage(), "") << c.what;
    }
    const PstItem good({Class(u"IPM.Contact"),
                        Tagged(tag::kCreationTime, kTypeSysTime, Le(FileTime(2020, 1, 1, 0, 0), 8)),
                        // A property the item is never read by may hold anything.
                        Tagged(0x0E06, kTypeSysTime, Le(0x7FFFFFFFFFFFFFFFULL, 8))},
                       1252, 1);
    EXPECT_EQ(good.Damage(), "");
    // A body or a recurrence that cannot be decoded.
    EXPECT_NE(PstItem({Class(u"IPM.StickyNote"), Tagged(tag::kRtfCompressed, kTypeBinary, Bytes(20, 0x41))},
                      1252, 1)
                  .Damage(),
              "");
    EXPECT_NE(PstItem({Class(u"IPM.Appointment"), Named(kPsetidAppointment, lid::kAppointmentRecur, 0x8003,
                                                        kTypeBinary, Bytes{0x04, 0x30})},
                      1252, 1)
                  .Damage(),
              "");
}

TEST_F(PstItemTest, ItemClasses)
{
    struct Case
    {
        const char16_t* messageClass;
        unsigned itemClass;
    };
    const std::vector<Case> cases = {
        {u"IPM.Contact", kClassContact},
        {u"ipm.contact.custom", kClassContact},
        {u"IPM.DistList", 0},
        {u"IPM.ContactX", 0},
        {u"IPM.Appointment", kClassAppointment},
        {u"IPM.Schedule.Meeting.Request", 0},
        {u"IPM.Task", kClassTask},
        {u"IPM.TaskRequest", 0},
        {u"IPM.StickyNote", kClassNote},
        {u"IPM.Note", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PstItem({Class(c.messageClass)}, 1252, 1).ItemClass(), c.itemClass);
    }
}

} // namespace
} // namespace pst
