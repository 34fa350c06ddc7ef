// The Google CSV reader: cells (quotes, doubled quotes, line breaks), encodings, columns by
// name, " ::: " lists, the "* " marks, what it keeps, bad input, and the Google sample.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "google/contacts/GoogleCsvReader.h"

namespace fs = std::filesystem;

namespace gcontacts {
namespace {

const std::string kSamples = std::string(FW_SHARED_DIR) + "/samples/google/";

GContact ReadOne(const std::string& text)
{
    std::vector<GContact> contacts;
    std::string error;
    EXPECT_TRUE(ReadGoogleCsv(text, contacts, error)) << error;
    EXPECT_EQ(contacts.size(), 1u);
    return contacts.empty() ? GContact{} : contacts.front();
}

std::string Utf16Le(const std::u16string& text)
{
    std::string out = "\xFF\xFE";
    for (char16_t u : text) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    }
    return out;
}

TEST(GoogleContactsCsv, SplitsCells)
{
    struct Case
    {
        const char* what;
        std::string text;
        std::vector<std::vector<std::string>> rows;
        std::vector<std::size_t> lines;
    };
    const Case cases[] = {
        {"plain", "a,b\nc,d\n", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        {"CRLF, empty cells", "a,,\r\n,b\r\n", {{"a", "", ""}, {"", "b"}}, {1, 2}},
        {"doubled quotes", "\"note\"\"note\",x\n", {{"note\"note", "x"}}, {1}},
        {"line breaks in a quoted cell", "\"a\nb\nc\",d\ne\n", {{"a\nb\nc", "d"}, {"e"}}, {1, 4}},
        {"comma in quotes", "\"a, b\",c", {{"a, b", "c"}}, {1}},
        {"empty lines", "a\n\n\nb\n", {{"a"}, {"b"}}, {1, 4}},
    };
    for (const auto& c : cases) {
        std::vector<std::vector<std::string>> rows;
        std::vector<std::size_t> lines;
        std::string error;
        ASSERT_TRUE(SplitCsvRows(c.text, rows, lines, error)) << c.what << ": " << error;
        EXPECT_EQ(rows, c.rows) << c.what;
        EXPECT_EQ(lines, c.lines) << c.what;
    }
}

TEST(GoogleContactsCsv, ColumnsByNameWithListsAndMarks)
{
    const std::string text =
        "Family Name,Given Name,Name,E-mail 1 - Type,E-mail 1 - Value,E-mail 2 - Type,E-mail 2 - Value,"
        "Phone 1 - Type,Phone 1 - Value,Phone 2 - Type,Phone 2 - Value,Group Membership,Birthday,"
        "Website 1 - Type,Website 1 - Value,IM 1 - Type,IM 1 - Service,IM 1 - Value,Event 1 - Type,"
        "Event 1 - Value,Relation 1 - Type,Relation 1 - Value,Custom Field 1 - Type,Custom Field 1 - Value,"
        "Organization 1 - Name,Organization 1 - Title,Gender,Notes\r\n"
        "Smith,Anne,Anne Smith,* Work,a@w ::: b@w,Private,p@x,Home Fax,1,Google Voice,2,"
        "* My Contacts ::: Friends,--06-23,Home Page,http://a,Other,Skype,anne.s,Anniversary,2001-05-04,"
        "Assistant,Bob,Shoe size,38,Acme,Boss,female,\"first\r\nsecond\"\r\n";
    const GContact c = ReadOne(text);
    EXPECT_EQ(c.lastName, "Smith");
    EXPECT_EQ(c.firstName, "Anne");
    EXPECT_EQ(c.displayName, "Anne Smith");
    const std::vector<GEmail> emails = {{EmailKind::Work, "", "a@w", true},
                                        {EmailKind::Work, "", "b@w", false},
                                        {EmailKind::Other, "Private", "p@x", false}};
    EXPECT_EQ(c.emails, emails);
    const std::vector<GPhone> phones = {{PhoneKind::HomeFax, "", "1", false},
                                        {PhoneKind::Other, "Google Voice", "2", false}};
    EXPECT_EQ(c.phones, phones);
    const std::vector<GGroup> groups = {{"My Contacts", true}, {"Friends", false}};
    EXPECT_EQ(c.groups, groups);
    const std::vector<GDate> dates = {{DateKind::Birthday, "", 0, 6, 23},
                                      {DateKind::Anniversary, "", 2001, 5, 4}};
    EXPECT_EQ(c.dates, dates);
    ASSERT_EQ(c.webSites.size(), 1u);
    EXPECT_EQ(c.webSites[0].kind, WebKind::HomePage);
    ASSERT_EQ(c.ims.size(), 1u);
    EXPECT_EQ(c.ims[0].kind, ImKind::Skype);
    EXPECT_EQ(c.ims[0].value, "anne.s");
    const std::vector<GRelation> relations = {{RelationKind::Assistant, "", "Bob"}};
    EXPECT_EQ(c.relations, relations);
    const std::vector<GCustomField> customs = {{"Shoe size", "38"}};
    EXPECT_EQ(c.customFields, customs);
    EXPECT_EQ(c.company, "Acme");
    EXPECT_EQ(c.jobTitle, "Boss");
    EXPECT_EQ(c.note, "first\nsecond");
    const std::vector<GExtraProperty> extras = {{"", "X-GOOGLE-CSV", {{"X-COLUMN", {"Gender"}}}, "female"}};
    EXPECT_EQ(c.extras, extras);
    EXPECT_FALSE(c.uid.empty());
}

TEST(GoogleContactsCsv, EncodingsGiveTheSameContact)
{
    const std::u16string wide = u"Given Name,E-mail 1 - Value\r\nZo\u00EB,z@x\r\n";
    const std::string utf8 = "Given Name,E-mail 1 - Value\r\nZo\xC3\xAB,z@x\r\n";
    const GContact a = ReadOne(Utf16Le(wide));
    EXPECT_EQ(a.firstName, "Zo\xC3\xAB");
    EXPECT_EQ(ReadOne(utf8), a);
    EXPECT_EQ(ReadOne("\xEF\xBB\xBF" + utf8), a);
}

TEST(GoogleContactsCsv, BadInputNamesTheLine)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", "line 1: no header row"},
        {"Colour,Size\nred,1\n", "line 1: not a Google CSV header"},
        {"Given Name,Notes\nA,\"open\nB\n", "line 2: a quoted cell whose quote does not close"},
        {"Given Name\nA\nB,extra\n", "line 3: a row with more cells than the header has columns (2 for 1)"},
        {"Given Name\n" + std::string(kMaxCsvColumns + 1, ','), "line 2: a row of more than"},
        {"Given Name\n\"" + std::string(kMaxCsvCellBytes + 1, 'x') + "\"", "line 2: a cell longer than"},
    };
    for (const auto& [text, expected] : cases) {
        std::vector<GContact> contacts;
        std::string error;
        EXPECT_FALSE(ReadGoogleCsv(text, contacts, error)) << expected;
        EXPECT_EQ(error.substr(0, expected.size()), expected);
    }
    // Trailing empty cells are no fault.
    EXPECT_EQ(ReadOne("Given Name\nA,,\n").firstName, "A");
}

TEST(GoogleContactsCsvSamples, RoundcubeGmailUtf16)
{
    if (!fs::exists(kSamples)) {
        GTEST_SKIP() << "no shared samples at " << kSamples;
    }
    std::vector<GContact> contacts;
    std::string error;
    ASSERT_TRUE(ReadContactsFile(kSamples + "csv/roundcube-gmail-utf16le.csv", contacts, error)) << error;
    ASSERT_EQ(contacts.size(), 1u);
    const GContact& c = contacts[0];
    EXPECT_EQ(c.displayName, "Prefix Firstname Middle Lastname Suffix");
    EXPECT_EQ(c.firstName, "Firstname");
    EXPECT_EQ(c.middleName, "Middle");
    EXPECT_EQ(c.lastName, "Lastname");
    EXPECT_EQ(c.prefix, "Prefix");
    EXPECT_EQ(c.suffix, "Suffix");
    EXPECT_EQ(c.nickname, "nick");
    EXPECT_EQ(c.note, "note\"note");
    const std::vector<GGroup> groups = {{"My Contacts", true}, {"Test", false}};
    EXPECT_EQ(c.groups, groups);
    const std::vector<GDate> dates = {{DateKind::Birthday, "", 1975, 12, 12}};
    EXPECT_EQ(c.dates, dates);
    const std::vector<GEmail> emails = {{EmailKind::Home, "", "home@aaa.pl", true},
                                        {EmailKind::Work, "", "work@email.pl", false},
                                        {EmailKind::Other, "", "unknown@email.com", false},
                                        {EmailKind::Other, "", "other@email.com", false}};
    EXPECT_EQ(c.emails, emails);
    const std::vector<GPhone> phones = {
        {PhoneKind::Pager, "", "pager", false},    {PhoneKind::Other, "Main", "mainphone", false},
        {PhoneKind::Home, "", "homephone", false}, {PhoneKind::HomeFax, "", "homefax", false},
        {PhoneKind::Mobile, "", "mobile", false},  {PhoneKind::Work, "", "workphone", false},
        {PhoneKind::WorkFax, "", "workfax", false}};
    EXPECT_EQ(c.phones, phones);
    ASSERT_EQ(c.addresses.size(), 2u);
    const GAddress& home = c.addresses[0];
    EXPECT_EQ(home.kind, AddressKind::Home);
    EXPECT_EQ(home.formatted, "home_street\nhome_pobox\nhome_city, home_state home_zip\nhome_country");
    EXPECT_EQ(home.street, "home_street");
    EXPECT_EQ(home.city, "home_city");
    EXPECT_EQ(home.poBox, "home_pobox");
    EXPECT_EQ(home.region, "home_state");
    EXPECT_EQ(home.postalCode, "home_zip");
    EXPECT_EQ(home.country, "home_country");
    EXPECT_EQ(c.addresses[1].kind, AddressKind::Work);
    EXPECT_EQ(c.addresses[1].formatted, "work_street\nwork_city work_zip\nwork_country");
    EXPECT_EQ(c.company, "company");
    EXPECT_EQ(c.jobTitle, "jobtitle");
    const std::vector<GRelation> relations = {{RelationKind::Spouse, "", "spouse"}};
    EXPECT_EQ(c.relations, relations);
    const std::vector<GWebSite> sites = {{WebKind::Profile, "", "test.com", false},
                                         {WebKind::HomePage, "", "home.page.com", false}};
    EXPECT_EQ(c.webSites, sites);
    EXPECT_TRUE(c.extras.empty());
}

} // namespace
} // namespace gcontacts
