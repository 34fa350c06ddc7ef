// The delimited contacts export: separators, quotes, headers matched without regard to case,
// unknown columns skipped with a word, typed values, and the inputs that fail the whole read.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "ACT/ACTContactExport.h"
#include "ACT/ACTFieldTable.h"

namespace {

struct ExportCase
{
    const char* name;
    std::string text;
    bool ok;
    const char* error;                                              // part of the error when not ok
    std::vector<std::vector<std::pair<int, std::string>>> contacts; // field id, its text
    int warnings;
};

void PrintTo(const ExportCase& c, std::ostream* os)
{
    *os << c.name;
}

const ExportCase kCases[] = {
    {"Comma",
     "First Name,Last Name\nAda,Byron\nAlan,Turing\n",
     true,
     "",
     {{{8, "Ada"}, {10, "Byron"}}, {{8, "Alan"}, {10, "Turing"}}},
     0},
    {"TabAndCrLf",
     "first name\tBUSINESS PHONE\r\nAda\t555-1234\r\n",
     true,
     "",
     {{{8, "Ada"}, {31, "555-1234"}}},
     0},
    {"QuotedCells",
     "Company,Home Address 1\n\"Engines, Ltd\",\"1 \"\"Sea\"\" Road\nFlat 2\"\n",
     true,
     "",
     {{{14, "Engines, Ltd"}, {27, "1 \"Sea\" Road\nFlat 2"}}},
     0},
    {"UnknownColumnSkipped",
     "First Name,Nickname,Last Name\nAda,Addie,Byron\n",
     true,
     "",
     {{{8, "Ada"}, {10, "Byron"}}},
     1},
    {"DuplicateColumnSkipped", "First Name,First Name\nAda,Other\n", true, "", {{{8, "Ada"}}}, 1},
    {"BlankLinesAndShortRows", "First Name,Last Name\n\nAda\n", true, "", {{{8, "Ada"}, {10, ""}}}, 0},
    {"ExtraCells", "First Name\nAda,extra\n", true, "", {{{8, "Ada"}}}, 1},
    {"FlagsAndDates",
     "Is Private,Birthday\nyes,2001-02-03\n0,2001-02-30\n",
     true,
     "",
     {{{61, "1"}}, {{61, "0"}, {62, "0.000000"}}},
     1},
    {"Utf8BecomesTheCodePage",
     "\xEF\xBB\xBF"
     "First Name\nJ\xC3\xBCrgen\n",
     true,
     "",
     {{{8, "J\xFCrgen"}}},
     0},
    {"TooLongIsCut", "Pager\n" + std::string(40, '9') + "\n", true, "", {{{34, std::string(23, '9')}}}, 1},
    {"BrokenQuote", "First Name\n\"Ada\nAlan\n", false, "line 2: a quoted cell does not close", {}, 0},
    {"TextAfterQuote", "First Name\n\"Ada\"x\n", false, "text after the quote", {}, 0},
    {"NoKnownColumn", "Nickname,Shoe Size\nAddie,5\n", false, "no column names an ACT! contact field", {}, 0},
    {"Empty", "", false, "empty", {}, 0},
};

class ACTContactExportTest : public ::testing::TestWithParam<ExportCase>
{
};

TEST_P(ACTContactExportTest, Reads)
{
    const ExportCase& c = GetParam();
    ACTContactExport result;
    std::string error;
    ASSERT_EQ(ReadACTContactExport(c.text, result, error), c.ok) << error;
    if (!c.ok) {
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
        EXPECT_TRUE(result.contacts.empty());
        return;
    }
    ASSERT_EQ(result.contacts.size(), c.contacts.size());
    for (std::size_t i = 0; i < c.contacts.size(); ++i) {
        for (const auto& [id, text] : c.contacts[i]) {
            EXPECT_EQ(ACTContactFieldText(result.contacts[i], id), text)
                << "contact " << i << " field " << id;
        }
    }
    EXPECT_EQ(static_cast<int>(result.warnings.size()), c.warnings);
}

INSTANTIATE_TEST_SUITE_P(Cases, ACTContactExportTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ACTContactExportDateTest, ADateWithATimeIsThatMoment)
{
    ACTContactExport result;
    std::string error;
    ASSERT_TRUE(ReadACTContactExport("Birthday,Create Date\n1899-12-31,1899-12-30 18:00\n", result, error))
        << error;
    ASSERT_EQ(result.contacts.size(), 1u);
    EXPECT_DOUBLE_EQ(result.contacts[0].Birthday, 1.0);
    EXPECT_DOUBLE_EQ(result.contacts[0].CreateDate, 0.75);
    EXPECT_TRUE(result.warnings.empty());
}

} // namespace
