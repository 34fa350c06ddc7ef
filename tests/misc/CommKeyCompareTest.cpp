#include "misc/CommKeyCompare.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "../bench/CommLiteralSearch.h"
#include "misc/CommAddrMgr.h"
#include "misc/CommDateMgr.h"
#include "misc/CommNoteMgr.h"
#include "misc/CommTaskMgr.h"

namespace {

std::uint64_t HashBreaks(std::string_view s)
{
    CommKeyHash h;
    CommKeyCompare::HashIgnoringBreaks(h, s);
    return h.Value();
}

std::uint64_t HashNoCase(std::string_view s)
{
    CommKeyHash h;
    CommKeyCompare::HashNoCase(h, s);
    return h.Value();
}

struct TextCase
{
    const char* name;
    const char* a;
    const char* b;
    bool equal;

    friend void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }
};

// Code page 1252: E4 is a-umlaut, C4 its capital.
const TextCase g_breakCases[] = {
    {"BothEmpty", "", "", true},
    {"CaseOnly", "Anna Berg", "ANNA berg", true},
    {"BreaksInside", "line one\r\nline two", "line oneline two", true},
    {"DifferentBreaksInside", "a\r\n\r\nb", "a\nb", true},
    {"LeadingBreaks", "\r\n\nx", "x", true},
    {"ExtraBreakAtEnd", "abc", "abc\r\n", false},
    {"ExtraBreakAtEndOfFirst", "abc\n", "abc", false},
    {"BothEndInBreaks", "abc\r\n", "ABC\n", true},
    {"OnlyBreaksAgainstEmpty", "\r\n", "", false},
    {"OnlyBreaksBoth", "\r", "\n\n", true},
    {"FirstShorter", "ab", "abc", false},
    {"FirstLonger", "abc", "ab", false},
    {"BreaksEverywhere", "\na\nb\n", "AB\r", true},
    {"BreakAgainstLetter", "a\nb", "a b", false},
    {"AnsiLetters", "\xe4rger", "\xc4RGER", true},
};

class CommTextIgnoringBreaksTest : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(CommTextIgnoringBreaksTest, AgreesWithTheWalk)
{
    const TextCase& c = GetParam();
    EXPECT_EQ(CommKeyCompare::TextIgnoringBreaks(c.a, c.b), c.equal);
    EXPECT_EQ(CommKeyCompare::TextIgnoringBreaks(c.b, c.a), c.equal);
    const std::string a(c.a), b(c.b);
    EXPECT_EQ(commliteral::LineTextEqual({a.c_str(), a.size() + 1}, {b.c_str(), b.size() + 1}), c.equal);
    if (c.equal) {
        EXPECT_EQ(HashBreaks(c.a), HashBreaks(c.b));
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, CommTextIgnoringBreaksTest, ::testing::ValuesIn(g_breakCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Every text of up to four characters from a small alphabet, in a four-byte field (so the
// longest are unterminated): the normalised comparisons decide exactly as the step-by-step
// ones, and texts that compare equal hash alike.
TEST(CommKeyCompareTest, NormalisedComparisonsEqualTheWalkOnAllShortTexts)
{
    const char alphabet[] = {'a', 'A', 'b', '\r', '\n'};
    struct Text
    {
        char field[4];
        std::uint64_t breaksHash;
        std::uint64_t noCaseHash;
    };
    std::vector<Text> texts;
    std::vector<std::string> frontier{""};
    for (int length = 0; length <= 4; ++length) {
        std::vector<std::string> longer;
        for (const std::string& s : frontier) {
            Text t{};
            std::memcpy(t.field, s.data(), s.size());
            t.breaksHash = HashBreaks(FieldText(t.field));
            t.noCaseHash = HashNoCase(FieldText(t.field));
            texts.push_back(t);
            for (char c : alphabet) {
                longer.push_back(s + c);
            }
        }
        frontier = std::move(longer);
    }
    ASSERT_EQ(texts.size(), 1u + 5 + 25 + 125 + 625);

    int mismatches = 0;
    for (const Text& x : texts) {
        for (const Text& y : texts) {
            const bool breaks = CommKeyCompare::TextIgnoringBreaks(FieldText(x.field), FieldText(y.field));
            const bool noCase = CommKeyCompare::TextNoCase(FieldText(x.field), FieldText(y.field));
            const bool ok =
                breaks == commliteral::LineTextEqual(commliteral::F(x.field), commliteral::F(y.field)) &&
                noCase == commliteral::NoCaseEqual(commliteral::F(x.field), commliteral::F(y.field)) &&
                (!breaks || x.breaksHash == y.breaksHash) && (!noCase || x.noCaseHash == y.noCaseHash);
            if (!ok && ++mismatches <= 5) {
                ADD_FAILURE() << "texts '" << std::string(FieldText(x.field)) << "' and '"
                              << std::string(FieldText(y.field)) << "'";
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(CommKeyCompareTest, ExactDoubles)
{
    CommKeyHash zero, minusZero, nan;
    EXPECT_TRUE(CommKeyCompare::HashExactDouble(zero, 0.0));
    EXPECT_TRUE(CommKeyCompare::HashExactDouble(minusZero, -0.0));
    EXPECT_EQ(zero.Value(), minusZero.Value());
    EXPECT_FALSE(CommKeyCompare::HashExactDouble(nan, std::numeric_limits<double>::quiet_NaN()));
}

// Each contact key compares its own field and no other: changing the field that the key
// names makes that key, and only that key, disagree.
TEST(CommAddrKeysTest, EachKeyComparesItsOwnField)
{
    for (int key = 0; key <= 100; ++key) {
        SCOPED_TRACE(key);
        CommAddrRec a{};
        CommAddrRec b{};
        commliteral::Field field{};
        bool known = true;
        if (key == AddrKey::Birthday) {
            b.Birthday = 40000.5;
        } else if (key == AddrKey::Anniversary) {
            b.Anniversary = 40000.5;
        } else if (commliteral::AddrField(b, key, field)) {
            const_cast<char*>(field.text)[0] = 'x';
        } else {
            known = false;
        }
        for (int other = 0; other <= 100; ++other) {
            const int keys[] = {other};
            EXPECT_EQ(CommAddrMgr::KeysAgree(a, b, keys), !known || other != key)
                << "compared with key " << other;
        }
    }
}

struct KeyCase
{
    const char* name;
    std::function<bool()> agree;
    bool expected;

    friend void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }
};

template <class Mgr, class Rec>
std::function<bool()> Agree(std::vector<int> keys, std::function<void(Rec&, Rec&)> fill)
{
    return [keys, fill] {
        Rec a{};
        Rec b{};
        fill(a, b);
        return Mgr::KeysAgree(a, b, keys);
    };
}

using D = CommDateRec;
using T = CommTaskRec;
using N = CommNoteRec;

const KeyCase g_keyCases[] = {
    {"DateSubjectIgnoresCase",
     Agree<CommDateMgr, D>({DateKey::Subject},
                           [](D& a, D& b) {
                               CopyText(a.Subject, "Review");
                               CopyText(b.Subject, "REVIEW");
                           }),
     true},
    {"DateSubjectCountsLineBreaks",
     Agree<CommDateMgr, D>({DateKey::Subject},
                           [](D& a, D& b) {
                               CopyText(a.Subject, "Review");
                               CopyText(b.Subject, "Review\r\n");
                           }),
     false},
    {"DateStartSameDayOtherTime",
     Agree<CommDateMgr, D>({DateKey::Start},
                           [](D& a, D& b) {
                               a.Start = {2024, 5, 3, 17, 9, 0, 0, 0};
                               b.Start = {2024, 5, 5, 17, 14, 30, 15, 500};
                           }),
     true},
    {"DateEndOtherMonth",
     Agree<CommDateMgr, D>({DateKey::End},
                           [](D& a, D& b) {
                               a.End = {2024, 5, 0, 17, 9, 0, 0, 0};
                               b.End = {2024, 6, 0, 17, 9, 0, 0, 0};
                           }),
     false},
    {"DateNotesIgnoreInnerBreaks",
     Agree<CommDateMgr, D>({DateKey::Notes},
                           [](D& a, D& b) {
                               CopyText(a.Notes, "bring\r\nslides");
                               CopyText(b.Notes, "BRINGSLIDES");
                           }),
     true},
    {"DateNotesExtraBreakAtEnd",
     Agree<CommDateMgr, D>({DateKey::Notes},
                           [](D& a, D& b) {
                               CopyText(a.Notes, "bring slides");
                               CopyText(b.Notes, "bring slides\n");
                           }),
     false},
    {"DateAllDay", Agree<CommDateMgr, D>({DateKey::AllDay}, [](D&, D& b) { b.AllDay = 1; }), false},
    {"DateLocationIgnoresCase",
     Agree<CommDateMgr, D>({DateKey::Location},
                           [](D& a, D& b) {
                               CopyText(a.Location, "Room 4");
                               CopyText(b.Location, "room 4");
                           }),
     true},
    {"DateKeyWithoutComparison",
     Agree<CommDateMgr, D>({4, 8, 14},
                           [](D&, D& b) {
                               CopyText(b.Subject, "x");
                               b.Private = 1;
                           }),
     true},
    {"TaskNotesIgnoreCase",
     Agree<CommTaskMgr, T>({TaskKey::Notes},
                           [](T& a, T& b) {
                               CopyText(a.Notes, "call back");
                               CopyText(b.Notes, "CALL BACK");
                           }),
     true},
    {"TaskNotesCountLineBreaks",
     Agree<CommTaskMgr, T>({TaskKey::Notes},
                           [](T& a, T& b) {
                               CopyText(a.Notes, "call back");
                               CopyText(b.Notes, "call\nback");
                           }),
     false},
    {"TaskCompleted", Agree<CommTaskMgr, T>({TaskKey::Completed}, [](T&, T& b) { b.Completed = 1; }), false},
    {"TaskAlarmSet", Agree<CommTaskMgr, T>({TaskKey::AlarmSet}, [](T&, T& b) { b.AlarmSet = 1; }), false},
    {"TaskPrivate", Agree<CommTaskMgr, T>({TaskKey::Private}, [](T&, T& b) { b.Private = 1; }), false},
    {"TaskDueDateHasNoComparison",
     Agree<CommTaskMgr, T>({TaskKey::DueDate}, [](T&, T& b) { b.DueDate = 86400; }), true},
    {"NoteTitleComparesItsFirst255Characters",
     Agree<CommNoteMgr, N>({NoteKey::Title},
                           [](N& a, N& b) {
                               std::memset(a.Title, 'q', sizeof a.Title); // unterminated
                               std::memset(b.Title, 'Q', sizeof b.Title);
                               b.Title[255] = 'z';
                           }),
     true},
    {"NoteTitleDiffersAtCharacter255",
     Agree<CommNoteMgr, N>({NoteKey::Title},
                           [](N& a, N& b) {
                               std::memset(a.Title, 'q', 255);
                               std::memset(b.Title, 'q', 255);
                               b.Title[254] = 'z';
                           }),
     false},
    {"NoteBodyComparesItsFirst20479Characters",
     Agree<CommNoteMgr, N>({NoteKey::Body},
                           [](N& a, N& b) {
                               std::memset(a.Body, 'w', sizeof a.Body);
                               std::memset(b.Body, 'w', sizeof b.Body);
                               b.Body[20479] = 'z';
                           }),
     true},
    {"NoteBodyCountsLineBreaks",
     Agree<CommNoteMgr, N>({NoteKey::Body},
                           [](N& a, N& b) {
                               CopyText(a.Body, "milk\r\neggs");
                               CopyText(b.Body, "milkeggs");
                           }),
     false},
    {"EmptyKeyListNeverAgrees", Agree<CommNoteMgr, N>({}, [](N&, N&) {}), false},
};

class CommStoreKeysTest : public ::testing::TestWithParam<KeyCase>
{
};

TEST_P(CommStoreKeysTest, Agree)
{
    EXPECT_EQ(GetParam().agree(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Keys, CommStoreKeysTest, ::testing::ValuesIn(g_keyCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CommAddrKeysTest, DatesCompareExactly)
{
    CommAddrRec a{};
    CommAddrRec b{};
    const int birthday[] = {AddrKey::Birthday};
    a.Birthday = 0.0;
    b.Birthday = -0.0;
    EXPECT_TRUE(CommAddrMgr::KeysAgree(a, b, birthday));
    b.Birthday = std::nextafter(0.0, 1.0);
    EXPECT_FALSE(CommAddrMgr::KeysAgree(a, b, birthday));
    a.Birthday = b.Birthday = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(CommAddrMgr::KeysAgree(a, b, birthday));
    std::uint64_t hash = 0;
    EXPECT_FALSE(CommAddrMgr::KeysHash(a, birthday, hash)) << "a NaN agrees with nothing, so it has no hash";
}

} // namespace
