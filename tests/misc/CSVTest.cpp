#include "misc/CSV.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

// Cases print as their names, so that test listings stay readable.
template <class Case> auto operator<<(std::ostream& os, const Case& c) -> decltype(c.name, os)
{
    return os << c.name;
}

struct SplitCase
{
    const char* name;
    const char* text;
    bool quoteMode;
    std::vector<std::string> fields;
};

class CSVSplit : public testing::TestWithParam<SplitCase>
{
};

TEST_P(CSVSplit, GivesTheFields)
{
    const auto& c = GetParam();
    const CSV csv(c.text, c.quoteMode);
    ASSERT_EQ(csv.GetCount(), c.fields.size());
    for (std::uint32_t i = 0; i < csv.GetCount(); ++i) {
        EXPECT_EQ(csv.GetItem(i), c.fields[i]) << "field " << i;
    }
    EXPECT_STREQ(csv.GetItem(csv.GetCount()), "");
    EXPECT_STREQ(csv.GetItem(0xFFFFFFFFu), "");
}

const SplitCase kSplits[] = {
    // Without quote mode: every comma splits, nothing is trimmed or removed.
    {"Weekdays", "SU,MO,,FR", false, {"SU", "MO", "", "FR"}},
    {"EmptyText", "", false, {}},
    {"NullText", nullptr, false, {}},
    {"OneField", "MO", false, {"MO"}},
    {"LoneComma", ",", false, {"", ""}},
    {"OnlyCommas", ",,", false, {"", "", ""}},
    {"TrailingComma", "a,", false, {"a", ""}},
    {"NotTrimmed", " a , b ", false, {" a ", " b "}},
    {"QuotesAreText", "\"a,b\"", false, {"\"a", "b\""}},
    // Quote mode: quoted commas do not split, the quotes around a field go.
    {"QuotedFields", "\"a,b\",\"c\"", true, {"a,b", "c"}},
    {"QuotedEmpty", "\"a\",\"\",\"c\"", true, {"a", "", "c"}},
    {"QuotedComma", "\",\"", true, {","}},
    {"QuoteModeEmptyFields", ",,", true, {"", "", ""}},
    {"QuoteModeEmptyText", "", true, {}},
    {"LoneQuote", "\"", true, {""}},
    {"TwoQuotes", "\"\"", true, {""}},
    {"UnquotedFieldKeptWhole", "abc,\"def\"", true, {"abc", "def"}},
    {"QuoteOnlyAtTheEnd", "x\",y", true, {"x\",y"}},
    {"UnclosedQuote", "\"open,x", true, {"open,x"}},
    {"DoubledQuotesKept", "\"a\"\"b\"", true, {"a\"\"b"}},
    {"QuotedThenEmpty", "\"a\",", true, {"a", ""}},
    {"EmptyThenLoneQuote", ",\"", true, {"", ""}},
};

INSTANTIATE_TEST_SUITE_P(Lines, CSVSplit, testing::ValuesIn(kSplits),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CSV, KeepsItsOwnCopy)
{
    std::string text = "one,two";
    const CSV csv(text.c_str(), false);
    text.assign("XXXXXXX");
    EXPECT_STREQ(csv.GetItem(0), "one");
    EXPECT_STREQ(csv.GetItem(1), "two");
}

} // namespace
