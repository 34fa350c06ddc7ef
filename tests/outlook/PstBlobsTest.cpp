// The reader's own parsers on small fixtures: multi-values, recurrence blobs, compressed RTF,
// RTF text, property definitions, password checksums, code pages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "outlook/pst/PstBlobs.h"
#include "outlook/pst/PstStore.h"
#include "platform/OleDate.h"

namespace pst {
namespace {

Bytes FromHex(std::string_view hex)
{
    Bytes out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        out.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return out;
}

Bytes Le32(std::initializer_list<std::uint32_t> values)
{
    Bytes out;
    for (std::uint32_t v : values) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    }
    return out;
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

// Weekly on Tuesday 08:00-08:30, no end, 3 deleted and 2 modified instances with exceptional
// bodies (the appointment "Test appointment" of a public sample file, byte for byte).
const char kWeeklyBlob[] =
    "043004300b2001000000c0210000010000000000000004000000232000000a0000000000000003000000805c070d40ab070da0d2"
    "070d"
    "0200000040ab070da0d2070d2035070ddf80e95a0630000009300000e0010000fe01000002005cad070d7aad070d20ad070d0002"
    "f8d4"
    "070d16d5070d80d4070d00020000000004000000000000000000000004000000000000000000000000000000";
// A task's pattern: monthly on day 1 from 2018-04-01 to 2019-03-06, 12 occurrences.
const char kMonthlyTaskBlob[] = "043004300c200200000000000000010000000000000001000000212000000c00000000000000"
                                "0000000000000000808b140d60fe1b0d";

TEST(PstMultiValue, VariableValuesAndDamage)
{
    // count 2, offsets 12 and 18, then "Blue\0\0" and "Red".
    Bytes good = Le32({2, 12, 18});
    for (char c : std::string("Blue\0\0Red", 9)) {
        good.push_back(static_cast<std::uint8_t>(c));
    }
    auto values = ParseMultiValueVariable(good);
    ASSERT_TRUE(values);
    ASSERT_EQ(values->size(), 2u);
    EXPECT_EQ((*values)[0].size(), 6u);
    EXPECT_EQ(std::string((*values)[1].begin(), (*values)[1].end()), "Red");

    struct Case
    {
        const char* what;
        Bytes data;
    };
    const std::vector<Case> bad = {
        {"empty", {}},
        {"count beyond the bytes", Le32({1000000, 8})},
        {"offsets going backwards", Le32({2, 14, 12, 0})},
        {"offset past the end", Le32({1, 99})},
        {"offset inside the offset table", Le32({1, 4})},
    };
    for (const Case& c : bad) {
        EXPECT_FALSE(ParseMultiValueVariable(c.data)) << c.what;
    }
    EXPECT_EQ(ParseMultiValueVariable(Le32({0})).value().size(), 0u);

    auto longs = ParseMultiValueFixed(Le32({1, 0xFFFFFFFF}), 4);
    ASSERT_TRUE(longs);
    EXPECT_EQ(*longs, (std::vector<std::int64_t>{1, -1}));
    EXPECT_FALSE(ParseMultiValueFixed(Bytes{1, 2, 3}, 4));
}

TEST(PstRecurrence, WeeklySeriesWithExceptions)
{
    const Bytes data = FromHex(kWeeklyBlob);
    auto blob = ParseRecurrenceBlob(data);
    ASSERT_TRUE(blob);
    EXPECT_EQ(blob->consumed, data.size());
    EXPECT_EQ(blob->recurFrequency, 0x200B);
    EXPECT_EQ(blob->dayMask, 4u);
    EXPECT_EQ(blob->deletedInstanceDates.size(), 3u);
    EXPECT_EQ(blob->modifiedInstanceDates.size(), 2u);
    ASSERT_EQ(blob->exceptions.size(), 2u);
    EXPECT_EQ(blob->exceptions[0].overrideFlags, 0x0200);
    EXPECT_EQ(Date(MinutesToOleDate(blob->exceptions[1].startMinutes)), "2016-08-30 10:00");
    EXPECT_TRUE(blob->NoEnd());

    auto p = ToRecurrencePattern(*blob);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->recurrenceType, 1);
    EXPECT_EQ(p->interval, 1);
    EXPECT_EQ(p->dayOfWeekMask, 4); // Tuesday
    EXPECT_TRUE(p->noEndDate);
    EXPECT_EQ(p->patternEndDate, 0.0);
    EXPECT_EQ(Date(p->patternStartDate), "2016-08-02 00:00");
    EXPECT_EQ(Date(p->startTime), "1899-12-30 08:00");
    EXPECT_EQ(p->duration, 30);
    EXPECT_EQ(p->occurrences, 10);
}

TEST(PstRecurrence, MonthlyTaskPattern)
{
    auto blob = ParseRecurrenceBlob(FromHex(kMonthlyTaskBlob));
    ASSERT_TRUE(blob);
    EXPECT_FALSE(blob->hasAppointmentPart);
    auto p = ToRecurrencePattern(*blob);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->recurrenceType, 2);
    EXPECT_EQ(p->dayOfMonth, 1);
    EXPECT_FALSE(p->noEndDate);
    EXPECT_EQ(Date(p->patternStartDate), "2018-04-01 00:00");
    EXPECT_EQ(Date(p->patternEndDate), "2019-03-06 00:00");
    EXPECT_EQ(p->occurrences, 12);
}

TEST(PstRecurrence, PatternKindsAndEnds)
{
    // A pattern part built field by field: frequency, pattern type, period, specific fields,
    // end type and end date.
    auto make = [](std::uint16_t frequency, std::uint16_t patternType, std::uint32_t period,
                   std::vector<std::uint32_t> specific, std::uint32_t endType, std::uint32_t endDate) {
        Bytes b = {0x04,
                   0x30,
                   0x04,
                   0x30,
                   static_cast<std::uint8_t>(frequency),
                   static_cast<std::uint8_t>(frequency >> 8),
                   static_cast<std::uint8_t>(patternType),
                   0,
                   0,
                   0};
        auto add = [&b](std::initializer_list<std::uint32_t> v) {
            Bytes x = Le32(v);
            b.insert(b.end(), x.begin(), x.end());
        };
        add({0, period, 0});
        for (std::uint32_t s : specific) {
            add({s});
        }
        add({endType, 5, 0, 0, 0, 219450240 /* 2018-04-01 */, endDate});
        return b;
    };
    const std::uint32_t end2019 = 219938400;
    const std::uint32_t year4500 = 1058838u * 1440u;
    struct Case
    {
        const char* what;
        Bytes blob;
        int type, interval, mask, day, instance, month;
        bool noEnd;
    };
    const std::vector<Case> cases = {
        {"every 2 days", make(0x200A, 0, 2880, {}, 0x2021, end2019), 0, 2, 0, 0, 0, 0, false},
        {"every weekday", make(0x200A, 1, 1440, {62}, 0x2021, end2019), 1, 1, 62, 0, 0, 0, false},
        {"every 2 weeks Mon+Wed", make(0x200B, 1, 2, {10}, 0x2022, end2019), 1, 2, 10, 0, 0, 0, false},
        {"monthly day 15", make(0x200C, 2, 1, {15}, 0x2021, end2019), 2, 1, 0, 15, 0, 0, false},
        {"monthly last Friday", make(0x200C, 3, 1, {32, 5}, 0x2021, end2019), 3, 1, 32, 0, 5, 0, false},
        {"yearly 14th", make(0x200D, 2, 12, {14}, 0x2021, end2019), 5, 1, 0, 14, 0, 4, false},
        {"yearly 2nd Monday", make(0x200D, 3, 12, {2, 2}, 0x2021, end2019), 6, 1, 2, 0, 2, 4, false},
        {"ends in 4500: no end", make(0x200C, 2, 1, {15}, 0x2021, year4500), 2, 1, 0, 15, 0, 0, true},
        {"never", make(0x200C, 2, 1, {15}, 0x2023, end2019), 2, 1, 0, 15, 0, 0, true},
    };
    for (const Case& c : cases) {
        auto blob = ParseRecurrenceBlob(c.blob);
        ASSERT_TRUE(blob) << c.what;
        auto p = ToRecurrencePattern(*blob);
        ASSERT_TRUE(p) << c.what;
        EXPECT_EQ(p->recurrenceType, c.type) << c.what;
        EXPECT_EQ(p->interval, c.interval) << c.what;
        EXPECT_EQ(p->dayOfWeekMask, c.mask) << c.what;
        EXPECT_EQ(p->dayOfMonth, c.day) << c.what;
        EXPECT_EQ(p->instance, c.instance) << c.what;
        EXPECT_EQ(p->monthOfYear, c.month) << c.what;
        EXPECT_EQ(p->noEndDate, c.noEnd) << c.what;
        EXPECT_EQ(p->patternEndDate == 0.0, c.noEnd) << c.what;
    }
    // Values no pattern can have.
    EXPECT_FALSE(ToRecurrencePattern(*ParseRecurrenceBlob(make(0x200C, 2, 1, {40}, 0x2021, end2019))));
    EXPECT_FALSE(ToRecurrencePattern(*ParseRecurrenceBlob(make(0x200B, 1, 1, {0}, 0x2021, end2019))));
    EXPECT_FALSE(ToRecurrencePattern(*ParseRecurrenceBlob(make(0x200C, 2, 1, {15}, 0x2021, 1000))));
    EXPECT_FALSE(ParseRecurrenceBlob(make(0x2099, 2, 1, {15}, 0x2021, end2019)));
}

TEST(PstRecurrence, EveryTruncationIsRefused)
{
    for (const char* hex : {kWeeklyBlob, kMonthlyTaskBlob}) {
        const Bytes whole = FromHex(hex);
        for (std::size_t n = 0; n < whole.size(); ++n) {
            const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
            auto blob = ParseRecurrenceBlob(cut);
            // A cut exactly after the pattern part is a task's pattern; anything else fails.
            EXPECT_TRUE(!blob || (n == 54 && !blob->hasAppointmentPart) ||
                        (n == 74 && !blob->hasAppointmentPart))
                << "cut at " << n;
        }
    }
    // A deleted-instance count that the bytes cannot hold.
    Bytes huge = FromHex(kMonthlyTaskBlob);
    huge[0x26] = 0xFF;
    huge[0x27] = 0xFF;
    huge[0x28] = 0xFF;
    EXPECT_FALSE(ParseRecurrenceBlob(huge));
}

TEST(PstRtf, DecompressesAndConvertsToText)
{
    // The example of the compressed RTF format's documentation.
    const Bytes compressed = FromHex(
        "2d0000002b0000004c5a4675f1c5c7a703000a007263706731323542320af32068656c090020627705b06c647d0a800fa0");
    auto rtf = DecompressRtf(compressed);
    ASSERT_TRUE(rtf);
    EXPECT_EQ(*rtf, "{\\rtf1\\ansi\\ansicpg1252\\pard hello world}\r\n");
    EXPECT_EQ(RtfToText(*rtf, 1252), u"hello world");

    // Uncompressed content, and damage.
    Bytes mela = Le32({12 + 5, 5, 0x414C454D, 0});
    for (char c : std::string("{\\rtf")) {
        mela.push_back(static_cast<std::uint8_t>(c));
    }
    EXPECT_EQ(DecompressRtf(mela).value_or(""), "{\\rtf");
    EXPECT_FALSE(DecompressRtf(Le32({1000, 5, 0x75465A4C, 0}))); // size past the bytes
    EXPECT_FALSE(DecompressRtf(Le32({12, 5, 0x12345678, 0})));   // unknown kind
    EXPECT_FALSE(DecompressRtf(Bytes(compressed.begin(), compressed.begin() + 10)));
    for (std::size_t n = 16; n < compressed.size(); ++n) {
        Bytes cut(compressed.begin(), compressed.begin() + static_cast<std::ptrdiff_t>(n));
        cut[0] = static_cast<std::uint8_t>(n - 4);
        DecompressRtf(cut); // no crash, whatever it gives
    }

    struct Case
    {
        const char* rtf;
        unsigned codePage;
        std::u16string text;
    };
    const std::vector<Case> cases = {
        {"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0;}\\f0 Caf\\'e9\\par Line 2}", 1252,
         u"Caf\u00E9\r\nLine 2"},
        {"{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa\\'96\\'7b}", 1252, u"\u65E5\u672C"},
        {"{\\rtf1 \\uc1\\u8364?uro}", 1252, u"\u20ACuro"},
        {"{\\rtf1{\\*\\htmltag19 <p>}\\htmlrtf {\\b\\htmlrtf0 Hi\\htmlrtf}\\htmlrtf0 !}", 1252, u"Hi!"},
        {"{\\rtf1 a\\tab b\\{c\\}\\\\}", 1252, u"a\tb{c}\\"},
        {"{\\rtf1{\\*\\generator Riched20;}{\\pict 0123abcd}x}", 1252, u"x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RtfToText(c.rtf, c.codePage), c.text) << c.rtf;
    }
    EXPECT_EQ(RtfToText(std::string(5000, '{') + "deep", 1252), u"");
}

// The text of an HTML body as Outlook's plain-text view gives it.
TEST(PstHtml, TextOfAnHtmlBody)
{
    struct Case
    {
        const char* name;
        std::string html;
        unsigned codePage;
        std::u16string text;
    };
    const std::vector<Case> cases = {
        {"paragraphs and breaks",
         "<html><head><title>T</title><style>p{color:red}</style></head><body><p>Hello</p><p>Line<br>two</p>"
         "</body></html>",
         1252, u"Hello\r\nLine\r\ntwo"},
        {"white space collapses", "<div>  a \r\n  b\t</div>", 1252, u"a b"},
        {"entities", "Caf&eacute; &amp; &lt;bar&gt; &#8364;5 &#x41;&nbsp;B &bogus; &", 1252,
         u"Caf\u00E9 & <bar> \u20AC5 A B &bogus; &"},
        {"comments and scripts", "a<!-- hidden <p> -->b<script>if (x<y) {}</script>c<SCRIPT>z</SCRIPT>", 1252,
         u"abc"},
        {"meta charset wins over the code page",
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"><p>M\xC3\xBCller</p>", 1252,
         u"M\u00FCller"},
        {"the code page without meta", "<p>M\xFCller</p>", 1252, u"M\u00FCller"},
        {"Shift-JIS by its code page", "<p>\x93\xFA\x96\x7B</p>", 932, u"\u65E5\u672C"},
        {"an unknown charset falls back", "<meta charset=\"x-nonsense\"><b>ok</b>", 1252, u"ok"},
        {"table cells", "<table><tr><td>a</td><td>b</td></tr><tr><td>c</td></tr></table>", 1252,
         u"a\tb\r\nc"},
        {"preformatted keeps its lines", "<pre>a  b\nc</pre>", 1252, u"a  b\r\nc"},
        {"a lone less-than", "1 < 2", 1252, u"1 < 2"},
        {"quoted greater-than in a tag", "<a title=\"x>y\">link</a>", 1252, u"link"},
        {"unterminated tag", "text<p", 1252, u"text"},
        {"unterminated comment", "text<!-- never closed", 1252, u"text"},
        {"empty", "", 1252, u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HtmlToText(c.html, c.codePage), c.text) << c.name;
    }
    // A body kept as text: the document's charset is not applied a second time.
    EXPECT_EQ(HtmlToText("<meta charset=\"iso-8859-1\"><p>M\xC3\xBCller</p>", 65001, false), u"M\u00FCller");
    // Deep or long input: no crash.
    EXPECT_EQ(HtmlToText(std::string(100000, '<'), 1252).size(), 100000u);
    HtmlToText(std::string(50000, '&') + "#99999999;", 1252);
}

TEST(PstPropertyDefinitions, NamesOfUserFields)
{
    // Version 0x0102, two fields "Hobby2" and "Team".
    Bytes s = {0x02, 0x01};
    Bytes count = Le32({2});
    s.insert(s.end(), count.begin(), count.end());
    for (std::u16string name : {std::u16string(u"Hobby2"), std::u16string(u"Team")}) {
        Bytes head = Le32({0x45});
        s.insert(s.end(), head.begin(), head.end());
        s.insert(s.end(), {0x1F, 0x00, 0, 0, 0, 0, static_cast<std::uint8_t>(name.size()), 0});
        for (char16_t c : name) {
            s.push_back(static_cast<std::uint8_t>(c));
            s.push_back(0);
        }
        s.insert(s.end(), {0, 0, 0, 0, 0});
    }
    auto names = ParsePropertyDefinitionNames(s);
    ASSERT_TRUE(names);
    EXPECT_EQ(*names, (std::vector<std::u16string>{u"Hobby2", u"Team"}));
    s.pop_back();
    EXPECT_FALSE(ParsePropertyDefinitionNames(s));
    EXPECT_FALSE(ParsePropertyDefinitionNames(Bytes{0x02, 0x01, 0xFF, 0xFF, 0xFF, 0x7F}));
}

TEST(PstTexts, ChecksumsCodePagesAndMarkers)
{
    // CRC-32, reflected, initial value 0, no final inversion.
    EXPECT_EQ(PasswordChecksum(""), 0u);
    EXPECT_EQ(PasswordChecksum("password"), 0x50E099BCu);
    EXPECT_EQ(PasswordChecksum("test"), 0xF93BA110u);

    EXPECT_EQ(DecodeCodePage("Caf\xE9", 1252), u"Caf\u00E9");
    EXPECT_EQ(DecodeCodePage("\x93\xFA\x96\x7B", 932), u"\u65E5\u672C");
    EXPECT_EQ(DecodeCodePage(std::string("ab\0\0", 4), 1252), u"ab");
    EXPECT_TRUE(IsKnownCodePage(932));
    EXPECT_FALSE(IsKnownCodePage(99999));

    EXPECT_FALSE(DecodeUtf16Le(Bytes{0x41, 0x00, 0x42}));
    EXPECT_EQ(DecodeUtf16Le(Bytes{0x41, 0x00, 0x00, 0xD8, 0x00, 0x00}).value(), u"A\uFFFD");

    EXPECT_EQ(StripSubjectMarker(u"\x01\x01Weekly meeting"), u"Weekly meeting");
    EXPECT_EQ(StripSubjectMarker(u"\x01\x0AUpdated: Training"), u"Updated: Training");
    EXPECT_EQ(StripSubjectMarker(u"Plain"), u"Plain");
}

} // namespace
} // namespace pst
