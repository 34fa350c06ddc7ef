#include "platform/CodePage.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

#include "common/TempHome.h"

namespace {

using platform::AnsiCompareNoCase;
using platform::AnsiToLower;
using platform::AnsiToUpper;
using platform::AnsiToUtf16;
using platform::AnsiToUtf8;
using platform::Utf16ToAnsi;
using platform::Utf8ToAnsi;

// Every test starts and ends on Windows-1252, whatever a test switched to.
class CodePageTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(platform::SetAnsiCodePage("1252")); }
    void TearDown() override { platform::SetAnsiCodePage("1252"); }
};

struct Mapping
{
    unsigned char ansi;
    char16_t unicode;
    const char* utf8;
};

class CodePage1252Test : public CodePageTest, public ::testing::WithParamInterface<Mapping>
{
};

TEST_P(CodePage1252Test, RoundTrips)
{
    const Mapping& m = GetParam();
    const std::string ansi(1, static_cast<char>(m.ansi));
    EXPECT_EQ(AnsiToUtf16(ansi), std::u16string(1, m.unicode));
    EXPECT_EQ(Utf16ToAnsi(std::u16string(1, m.unicode)), ansi);
    EXPECT_EQ(AnsiToUtf8(ansi), m.utf8);
    EXPECT_EQ(Utf8ToAnsi(m.utf8), ansi);
}

// 0x81, 0x8D, 0x8F, 0x90 and 0x9D are undefined in 1252 and keep their C1 code points.
INSTANTIATE_TEST_SUITE_P(
    Cases, CodePage1252Test,
    ::testing::Values(Mapping{'A', u'A', "A"}, Mapping{0x80, u'\u20AC', "\u20AC"},
                      Mapping{0x9F, u'\u0178', "\u0178"}, Mapping{0x8A, u'\u0160', "\u0160"},
                      Mapping{0x96, u'\u2013', "\u2013"}, Mapping{0xE9, u'\u00E9', "\u00E9"},
                      Mapping{0xFF, u'\u00FF', "\u00FF"}, Mapping{0xA0, u'\u00A0', "\u00A0"},
                      Mapping{0x81, u'\u0081', "\xC2\x81"}, Mapping{0x8D, u'\u008D', "\xC2\x8D"},
                      Mapping{0x8F, u'\u008F', "\xC2\x8F"}, Mapping{0x90, u'\u0090', "\xC2\x90"},
                      Mapping{0x9D, u'\u009D', "\xC2\x9D"}));

TEST_F(CodePageTest, EveryByteRoundTrips)
{
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(Utf16ToAnsi(AnsiToUtf16(all)), all);
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
    EXPECT_EQ(platform::AnsiCodePage(), "CP1252");
}

struct Conversion
{
    const char* name;
    std::u16string utf16;
    std::string utf8;
    std::string ansi;
};

void PrintTo(const Conversion& c, std::ostream* os)
{
    *os << c.name;
}

class CodePageUnmappableTest : public CodePageTest, public ::testing::WithParamInterface<Conversion>
{
};

// Whatever the code page cannot hold becomes one '?' per character.
TEST_P(CodePageUnmappableTest, BecomesQuestionMark)
{
    const Conversion& c = GetParam();
    // Each '?' that stands for a character is counted as lost (the tests' texts hold no '?').
    const auto lost = static_cast<std::size_t>(std::count(c.ansi.begin(), c.ansi.end(), '?'));
    if (!c.utf16.empty()) {
        const platform::AnsiLossWatch watch;
        const std::size_t before = platform::AnsiLostCharacters();
        EXPECT_EQ(Utf16ToAnsi(c.utf16), c.ansi);
        EXPECT_EQ(platform::AnsiLostCharacters() - before, lost);
        EXPECT_TRUE(watch.Lost());
    }
    if (!c.utf8.empty()) {
        const std::size_t before = platform::AnsiLostCharacters();
        EXPECT_EQ(Utf8ToAnsi(c.utf8), c.ansi);
        EXPECT_EQ(platform::AnsiLostCharacters() - before, lost);
    }
    const platform::AnsiLossWatch clean;
    EXPECT_EQ(Utf8ToAnsi("caf\xC3\xA9 ?"), "caf\xE9 ?");
    EXPECT_FALSE(clean.Lost());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CodePageUnmappableTest,
    ::testing::Values(Conversion{"Cyrillic", u"a\u0416b", "a\u0416b", "a?b"},
                      Conversion{"C1WithoutByte", u"\u0080", "\xC2\x80", "?"},
                      Conversion{"SurrogatePair", u"x\U0001F600y", "x\U0001F600y", "x?y"},
                      Conversion{"LoneHighSurrogate", std::u16string(1, char16_t(0xD800)) + u"z", "", "?z"},
                      Conversion{"LoneLowSurrogate", std::u16string(1, char16_t(0xDC00)), "", "?"},
                      Conversion{"TruncatedAtEnd", u"", "a\xE2\x82", "a?"},
                      Conversion{"TruncatedBeforeAscii", u"", "\xC3(", "?("},
                      Conversion{"StrayContinuation", u"", "\x80z", "?z"},
                      Conversion{"OverlongTwoBytes", u"", "\xC0\xAF", "??"},
                      Conversion{"OverlongThreeBytes", u"", "\xE0\x80\xAF", "?"},
                      Conversion{"EncodedSurrogate", u"", "\xED\xA0\x80", "?"},
                      Conversion{"BeyondUnicode", u"", "\xF4\x90\x80\x80", "?"},
                      Conversion{"InvalidLeadByte", u"", "\xFF\xFE", "??"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CodePageTest, CaseMapping)
{
    struct
    {
        unsigned char lower;
        unsigned char upper;
    } pairs[] = {{'a', 'A'},
                 {0xE9, 0xC9} /* é É */,
                 {0xFF, 0x9F} /* ÿ Ÿ */,
                 {0x9A, 0x8A} /* š Š */,
                 {0x9C, 0x8C} /* œ Œ */,
                 {0xFE, 0xDE} /* þ Þ */};
    for (const auto& p : pairs) {
        EXPECT_EQ(AnsiToUpper(p.lower), p.upper) << int(p.lower);
        EXPECT_EQ(AnsiToLower(p.upper), p.lower) << int(p.upper);
    }
    // No upper-case form in the code page: unchanged.
    for (unsigned char c : {0xDF /* ß */, 0xB5 /* µ */, 0x81, 0x31, 0xF7 /* ÷ */}) {
        EXPECT_EQ(AnsiToUpper(c), c) << int(c);
    }
    const unsigned char* table = platform::AnsiUpperTable();
    for (int c = 0; c < 256; ++c) {
        EXPECT_EQ(table[c], AnsiToUpper(static_cast<unsigned char>(c))) << c;
    }
}

TEST_F(CodePageTest, CompareNoCase)
{
    struct
    {
        const char* a;
        const char* b;
        int sign;
    } cases[] = {
        {"abc", "ABC", 0},
        {"\xE9t\xE9", "\xC9T\xC9", 0}, // été ÉTÉ
        {"\xFF", "\x9F", 0},           // ÿ Ÿ
        {"a", "b", -1},
        {"B", "a", 1},
        {"ab", "abc", -1},
        {"", "", 0},
        {"", "a", -1},
        // Like _stricmp, letters compare as lower case: '_' and '[' sort before letters.
        {"_", "a", -1},
        {"A", "[", 1},
    };
    for (const auto& c : cases) {
        int r = AnsiCompareNoCase(c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " / " << c.b;
    }
}

TEST_F(CodePageTest, SwitchToCyrillic)
{
    ASSERT_TRUE(platform::SetAnsiCodePage("1251"));
    EXPECT_EQ(platform::AnsiCodePage(), "CP1251");
    EXPECT_EQ(AnsiToUtf8("\xC6\xE6"), "\u0416\u0436"); // Жж
    EXPECT_EQ(Utf8ToAnsi("\u041C\u0438\u0440"), "\xCC\xE8\xF0");
    EXPECT_EQ(Utf16ToAnsi(u"\u0416"), "\xC6");
    EXPECT_EQ(AnsiToUpper(0xE6), 0xC6);
    EXPECT_EQ(AnsiCompareNoCase("\xE6", "\xC6"), 0);
    EXPECT_EQ(Utf8ToAnsi("\u00E9"), "?") << "é is not in 1251";
}

TEST_F(CodePageTest, UnusableNamesRefused)
{
    // Empty means the locale's charset to iconv; UTF-8 is not an 8-bit code page.
    for (const char* name : {"no-such-codepage", "", "99999", "UTF-8", "SHIFT_JIS"}) {
        EXPECT_FALSE(platform::SetAnsiCodePage(name)) << "'" << name << "'";
        EXPECT_EQ(platform::AnsiCodePage(), "CP1252");
    }
    EXPECT_TRUE(platform::SetAnsiCodePage("ISO-8859-15"));
    EXPECT_EQ(AnsiToUtf8("\xA4"), "\u20AC");
}

// The first use picks the code page; a fresh process shows it.
TEST(CodePageConfigTest, FromEnvironmentOrRegistry)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    fwtest::TempHome home;
    home.WriteFile("registry.ini", "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage]\n"
                                   "ACP=1251\n");
    // Runs in the child, which has its own temporary home to remove (exit skips destructors).
    auto exitWithCheck = [&home](const char* expected) {
        bool ok = platform::AnsiCodePage() == expected;
        std::error_code ignored;
        std::filesystem::remove_all(home.Root(), ignored);
        std::exit(ok ? 0 : 1);
    };
    struct
    {
        const char* environment;
        const char* expected;
    } cases[] = {{"", "CP1251"}, {"1250", "CP1250"}, {"nonsense", "CP1252"}, {"UTF-8", "CP1252"}};
    for (const auto& c : cases) {
        setenv("FERRYWISE_CODEPAGE", c.environment, 1);
        EXPECT_EXIT(exitWithCheck(c.expected), ::testing::ExitedWithCode(0), "")
            << "'" << c.environment << "'";
    }
    setenv("FERRYWISE_CODEPAGE", "1252", 1);
}

} // namespace
