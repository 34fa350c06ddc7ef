// The vCard reader layer by layer: logical lines (folding, quoted-printable soft breaks),
// properties (groups, parameters, quoting), and cards as Google contacts, with Google's
// labels and extensions, vCard 2.1 and 4.0, bad input, and the Google samples.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "google/contacts/VCardLines.h"
#include "google/contacts/VCardReader.h"

namespace fs = std::filesystem;

namespace gcontacts {
namespace {

const std::string kSamples = std::string(FW_SHARED_DIR) + "/samples/google/";

#define REQUIRE_SAMPLES()                                                                                    \
    if (!fs::exists(kSamples)) {                                                                             \
        GTEST_SKIP() << "no shared samples at " << kSamples;                                                 \
    }

GContact ReadOne(const std::string& text)
{
    std::vector<GContact> contacts;
    std::string error;
    EXPECT_TRUE(ReadVCards(text, contacts, error)) << error;
    EXPECT_EQ(contacts.size(), 1u);
    return contacts.empty() ? GContact{} : contacts.front();
}

std::string Card(const std::string& body, const std::string& version = "3.0")
{
    return "BEGIN:VCARD\r\nVERSION:" + version + "\r\n" + body + "END:VCARD\r\n";
}

TEST(GoogleContactsVCardLines, JoinsFoldedAndSoftBrokenLines)
{
    struct Case
    {
        const char* what;
        std::string text;
        std::vector<std::string> lines;
        std::vector<std::size_t> lineNos;
    };
    const Case cases[] = {
        {"CRLF", "A:1\r\nB:2\r\n", {"A:1", "B:2"}, {1, 2}},
        {"LF, no final break", "A:1\nB:2", {"A:1", "B:2"}, {1, 2}},
        {"lone CR", "A:1\rB:2\r", {"A:1", "B:2"}, {1, 2}},
        {"folded with a blank", "NOTE:abc\r\n def\r\nB:2\r\n", {"NOTE:abcdef", "B:2"}, {1, 3}},
        {"folded with a tab, twice", "NOTE:a\r\n\tb\r\n  c\r\n", {"NOTE:ab c"}, {1}},
        {"empty lines left out", "A:1\r\n\r\n\r\nB:2\r\n", {"A:1", "B:2"}, {1, 4}},
        {"quoted-printable soft break",
         "NOTE;ENCODING=QUOTED-PRINTABLE:ab=\r\ncd\r\nB:2\r\n",
         {"NOTE;ENCODING=QUOTED-PRINTABLE:abcd", "B:2"},
         {1, 3}},
        {"bare quoted-printable, two soft breaks",
         "NOTE;QUOTED-PRINTABLE:a=\r\nb=\r\nc\r\n",
         {"NOTE;QUOTED-PRINTABLE:abc"},
         {1}},
        {"a final = without quoted-printable is text", "NOTE:a=\r\nB:2\r\n", {"NOTE:a=", "B:2"}, {1, 2}},
    };
    for (const auto& c : cases) {
        std::vector<VCardLine> lines;
        std::string error;
        ASSERT_TRUE(SplitVCardLines(c.text, lines, error)) << c.what << ": " << error;
        ASSERT_EQ(lines.size(), c.lines.size()) << c.what;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].text, c.lines[i]) << c.what;
            EXPECT_EQ(lines[i].lineNo, c.lineNos[i]) << c.what;
        }
    }
}

TEST(GoogleContactsVCardLines, ParsesGroupsAndParameters)
{
    struct Case
    {
        const char* line;
        std::string group, name, value;
        std::vector<std::pair<std::string, std::vector<std::string>>> params;
    };
    const Case cases[] = {
        {"item1.EMAIL;TYPE=INTERNET:a@b.c", "item1", "EMAIL", "a@b.c", {{"TYPE", {"INTERNET"}}}},
        {"tel;type=HOME,FAX:1", "", "TEL", "1", {{"TYPE", {"HOME", "FAX"}}}},
        {"TEL;HOME;VOICE:1", "", "TEL", "1", {{"TYPE", {"HOME"}}, {"TYPE", {"VOICE"}}}},
        {"NOTE;QUOTED-PRINTABLE;CHARSET=UTF-8:x",
         "",
         "NOTE",
         "x",
         {{"ENCODING", {"QUOTED-PRINTABLE"}}, {"CHARSET", {"UTF-8"}}}},
        {"ADR;LABEL=\"1 Main St\\nNY; NY\":;;1 Main St",
         "",
         "ADR",
         ";;1 Main St",
         {{"LABEL", {"1 Main St\\nNY; NY"}}}},
        {"ADR;LABEL=\"a^nb ^'c^' ^^\":;;", "", "ADR", ";;", {{"LABEL", {"a\nb \"c\" ^"}}}},
        {"URL:http\\://x.org", "", "URL", "http\\://x.org", {}},
        {"X-ABLabel:_$!<Anniversary>!$_", "", "X-ABLABEL", "_$!<Anniversary>!$_", {}},
        {"NOTE:", "", "NOTE", "", {}},
    };
    for (const auto& c : cases) {
        VCardProperty p;
        std::string error;
        ASSERT_TRUE(ParseVCardProperty({c.line, 7}, p, error)) << c.line << ": " << error;
        EXPECT_EQ(p.group, c.group) << c.line;
        EXPECT_EQ(p.name, c.name) << c.line;
        EXPECT_EQ(p.value, c.value) << c.line;
        ASSERT_EQ(p.params.size(), c.params.size()) << c.line;
        for (std::size_t i = 0; i < p.params.size(); ++i) {
            EXPECT_EQ(p.params[i].name, c.params[i].first) << c.line;
            EXPECT_EQ(p.params[i].values, c.params[i].second) << c.line;
        }
    }
}

TEST(GoogleContactsVCardLines, RefusesLinesWithoutNameOrColon)
{
    const std::pair<const char*, const char*> cases[] = {
        {":value", "line 7: a property without a name"},
        {"NOTE value", "line 7: no ':' between the property NOTE and its value"},
        {"ADR;LABEL=\"open:;;", "line 7: a parameter value whose quote does not close"},
        {"NOTE;CH\xC3\xA4RSET=x:v", "line 7: a parameter name that holds other than letters, digits and '-'"},
    };
    for (const auto& [line, expected] : cases) {
        VCardProperty p;
        std::string error;
        EXPECT_FALSE(ParseVCardProperty({line, 7}, p, error)) << line;
        EXPECT_EQ(error, expected);
    }
}

TEST(GoogleContactsVCard, ReadsNamesAndEscapedTexts)
{
    const GContact c = ReadOne(Card("FN:Anne Smith\\, Jr.\r\n"
                                    "N:Smith;Anne;Maria;Dr.;Jr.\r\n"
                                    "NICKNAME:Annie\r\n"
                                    "ORG:Acme\\; Sons;Research\r\n"
                                    "TITLE:Chief\\nScientist\r\n"
                                    "NOTE:line 1\\nline 2\\Nline 3\\, with \\; and \\\\ and \\:\r\n"));
    EXPECT_EQ(c.displayName, "Anne Smith, Jr.");
    EXPECT_EQ(c.lastName, "Smith");
    EXPECT_EQ(c.firstName, "Anne");
    EXPECT_EQ(c.middleName, "Maria");
    EXPECT_EQ(c.prefix, "Dr.");
    EXPECT_EQ(c.suffix, "Jr.");
    EXPECT_EQ(c.nickname, "Annie");
    EXPECT_EQ(c.company, "Acme; Sons");
    EXPECT_EQ(c.department, "Research");
    EXPECT_EQ(c.jobTitle, "Chief\nScientist");
    EXPECT_EQ(c.note, "line 1\nline 2\nline 3, with ; and \\ and :");
}

TEST(GoogleContactsVCard, KindsFromTypesAndLabels)
{
    const GContact c = ReadOne(Card("EMAIL;TYPE=INTERNET;TYPE=HOME:h@x\r\n"
                                    "EMAIL;TYPE=INTERNET;TYPE=WORK;TYPE=PREF:w@x\r\n"
                                    "EMAIL;TYPE=INTERNET:o@x\r\n"
                                    "item1.EMAIL;TYPE=INTERNET:c@x\r\n"
                                    "item1.X-ABLabel:CustomEmailCategory\r\n"
                                    "item2.EMAIL:l@x\r\n"
                                    "item2.X-ABLabel:_$!<Work>!$_\r\n"
                                    "TEL;TYPE=HOME:1\r\n"
                                    "TEL;TYPE=WORK:2\r\n"
                                    "TEL;TYPE=CELL:3\r\n"
                                    "TEL;TYPE=HOME;TYPE=FAX:4\r\n"
                                    "TEL;TYPE=WORK;TYPE=FAX:5\r\n"
                                    "TEL;TYPE=PAGER:6\r\n"
                                    "TEL:7\r\n"
                                    "TEL;TYPE=MAIN:8\r\n"
                                    "item3.TEL:9\r\n"
                                    "item3.X-ABLabel:GRAND_CENTRAL\r\n"
                                    "item4.TEL;TYPE=PREF:10\r\n"
                                    "item4.X-ABLabel:_$!<Mobile>!$_\r\n"
                                    "URL;TYPE=HOME:u1\r\n"
                                    "URL;TYPE=WORK:u2\r\n"
                                    "item5.URL:u3\r\n"
                                    "item5.X-ABLabel:_$!<HomePage>!$_\r\n"
                                    "item6.URL:u4\r\n"
                                    "item6.X-ABLabel:FTP\r\n"
                                    "item7.URL:u5\r\n"
                                    "item7.X-ABLabel:BLOG\r\n"
                                    "item8.URL:u6\r\n"
                                    "item8.X-ABLabel:PROFILE\r\n"
                                    "URL:http\\://u7\r\n"));
    const std::vector<GEmail> emails = {{EmailKind::Home, "", "h@x", false},
                                        {EmailKind::Work, "", "w@x", true},
                                        {EmailKind::Other, "", "o@x", false},
                                        {EmailKind::Other, "CustomEmailCategory", "c@x", false},
                                        {EmailKind::Work, "", "l@x", false}};
    EXPECT_EQ(c.emails, emails);
    const std::vector<GPhone> phones = {{PhoneKind::Home, "", "1", false},
                                        {PhoneKind::Work, "", "2", false},
                                        {PhoneKind::Mobile, "", "3", false},
                                        {PhoneKind::HomeFax, "", "4", false},
                                        {PhoneKind::WorkFax, "", "5", false},
                                        {PhoneKind::Pager, "", "6", false},
                                        {PhoneKind::Other, "", "7", false},
                                        {PhoneKind::Other, "MAIN", "8", false},
                                        {PhoneKind::Other, "GRAND_CENTRAL", "9", false},
                                        {PhoneKind::Mobile, "", "10", true}};
    EXPECT_EQ(c.phones, phones);
    const std::vector<GWebSite> sites = {
        {WebKind::Home, "", "u1", false},        {WebKind::Work, "", "u2", false},
        {WebKind::HomePage, "", "u3", false},    {WebKind::Ftp, "", "u4", false},
        {WebKind::Blog, "", "u5", false},        {WebKind::Profile, "", "u6", false},
        {WebKind::Other, "", "http://u7", false}};
    EXPECT_EQ(c.webSites, sites);
    EXPECT_TRUE(c.extras.empty());
}

TEST(GoogleContactsVCard, InstantMessagingKinds)
{
    struct Case
    {
        const char* line;
        ImKind kind;
        const char* value;
    };
    const Case cases[] = {
        {"X-GTALK:g", ImKind::GTalk, "g"},
        {"X-AIM:a", ImKind::Aim, "a"},
        {"X-YAHOO:y", ImKind::Yahoo, "y"},
        {"X-SKYPE:s", ImKind::Skype, "s"},
        {"X-QQ:q", ImKind::QQ, "q"},
        {"X-MSN:m", ImKind::Msn, "m"},
        {"X-ICQ:i", ImKind::Icq, "i"},
        {"X-JABBER:j", ImKind::Jabber, "j"},
        {"IMPP:xmpp:j@x", ImKind::Jabber, "j@x"},
        {"IMPP;X-SERVICE-TYPE=GoogleTalk:xmpp:g@x", ImKind::GTalk, "g@x"},
        {"IMPP:skype:someone", ImKind::Skype, "someone"},
        {"IMPP:aim:goim?screenname=scr", ImKind::Aim, "scr"},
        {"IMPP:ymsgr:y", ImKind::Yahoo, "y"},
        {"IMPP:msnim:m", ImKind::Msn, "m"},
        {"IMPP;X-SERVICE-TYPE=ICQ:icq:123", ImKind::Icq, "123"},
    };
    for (const auto& c : cases) {
        const GContact contact = ReadOne(Card(std::string(c.line) + "\r\n", "4.0"));
        ASSERT_EQ(contact.ims.size(), 1u) << c.line;
        EXPECT_EQ(contact.ims[0].kind, c.kind) << c.line;
        EXPECT_EQ(contact.ims[0].value, c.value) << c.line;
    }
    // A service we do not know is kept as it was.
    const GContact other = ReadOne(Card("IMPP:sip:someone@x\r\n"));
    EXPECT_TRUE(other.ims.empty());
    ASSERT_EQ(other.extras.size(), 1u);
    EXPECT_EQ(other.extras[0].name, "IMPP");
    EXPECT_EQ(other.extras[0].value, "sip:someone@x");
}

TEST(GoogleContactsVCard, DatesKeepYearlessOnes)
{
    struct Case
    {
        std::string lines;
        GDate date;
    };
    const Case cases[] = {
        {"BDAY:1912-06-23\r\n", {DateKind::Birthday, "", 1912, 6, 23}},
        {"BDAY:19120623\r\n", {DateKind::Birthday, "", 1912, 6, 23}},
        {"BDAY;VALUE=date:1975-12-12T00:00:00Z\r\n", {DateKind::Birthday, "", 1975, 12, 12}},
        {"BDAY:--06-23\r\n", {DateKind::Birthday, "", 0, 6, 23}},
        {"BDAY:--0623\r\n", {DateKind::Birthday, "", 0, 6, 23}},
        {"BDAY;X-APPLE-OMIT-YEAR=1604:1604-06-23\r\n", {DateKind::Birthday, "", 0, 6, 23}},
        {"item9.X-ABDATE:1930-03-20\r\nitem9.X-ABLabel:_$!<Anniversary>!$_\r\n",
         {DateKind::Anniversary, "", 1930, 3, 20}},
        {"X-ABDATE:1776-07-04\r\n", {DateKind::Other, "", 1776, 7, 4}},
        {"item2.X-ABDATE:--09-12\r\nitem2.X-ABLabel:CustomDateCategory\r\n",
         {DateKind::Other, "CustomDateCategory", 0, 9, 12}},
        {"ANNIVERSARY:20000912\r\n", {DateKind::Anniversary, "", 2000, 9, 12}},
    };
    for (const auto& c : cases) {
        const GContact contact = ReadOne(Card(c.lines));
        ASSERT_EQ(contact.dates.size(), 1u) << c.lines;
        EXPECT_EQ(contact.dates[0], c.date) << c.lines;
    }
    // A date that is none is kept as it was, not turned into a wrong one.
    for (const char* bad : {"BDAY:1912-13-01\r\n", "BDAY:June 1912\r\n", "BDAY:--1\r\n"}) {
        const GContact contact = ReadOne(Card(bad));
        EXPECT_TRUE(contact.dates.empty()) << bad;
        ASSERT_EQ(contact.extras.size(), 1u) << bad;
        EXPECT_EQ(contact.extras[0].name, "BDAY") << bad;
    }
}

TEST(GoogleContactsVCard, RelationsByLabel)
{
    struct Case
    {
        std::string lines;
        GRelation relation;
    };
    const Case cases[] = {
        {"item1.X-ABRELATEDNAMES:A\r\nitem1.X-ABLabel:_$!<Spouse>!$_\r\n", {RelationKind::Spouse, "", "A"}},
        {"item1.X-ABRELATEDNAMES:A\r\nitem1.X-ABLabel:_$!<Mother>!$_\r\n", {RelationKind::Mother, "", "A"}},
        {"item1.X-ABRELATEDNAMES:A\r\nitem1.X-ABLabel:_$!<Father>!$_\r\n", {RelationKind::Father, "", "A"}},
        {"item1.X-ABRELATEDNAMES:A\r\nitem1.X-ABLabel:_$!<Manager>!$_\r\n", {RelationKind::Manager, "", "A"}},
        {"item1.X-ABRELATEDNAMES:A\r\nitem1.X-ABLabel:_$!<Assistant>!$_\r\n",
         {RelationKind::Assistant, "", "A"}},
        {"item1.X-ABRELATEDNAMES:A\r\nitem1.X-ABLabel:RELATIVE\r\n", {RelationKind::Relative, "", "A"}},
        {"item1.X-ABRELATEDNAMES:A\r\nitem1.X-ABLabel:REFERRED_BY\r\n", {RelationKind::ReferredBy, "", "A"}},
        {"item1.X-ABRELATEDNAMES:A\r\nitem1.X-ABLabel:DOMESTIC_PARTNER\r\n",
         {RelationKind::DomesticPartner, "", "A"}},
        {"item1.X-ABRELATEDNAMES:A\r\nitem1.X-ABLabel:Godmother\r\n",
         {RelationKind::Custom, "Godmother", "A"}},
        {"X-ABRELATEDNAMES:A\r\n", {RelationKind::Custom, "", "A"}},
        {"RELATED;TYPE=spouse;VALUE=text:A\r\n", {RelationKind::Spouse, "", "A"}},
        {"X-MANAGER:A\r\n", {RelationKind::Manager, "", "A"}},
    };
    for (const auto& c : cases) {
        const GContact contact = ReadOne(Card(c.lines));
        ASSERT_EQ(contact.relations.size(), 1u) << c.lines;
        EXPECT_EQ(contact.relations[0], c.relation) << c.lines;
        EXPECT_TRUE(contact.extras.empty()) << c.lines;
    }
}

TEST(GoogleContactsVCard, AddressesWithFormattedText)
{
    const GContact c =
        ReadOne(Card("ADR;TYPE=HOME;TYPE=PREF:PO 1;Apt 2;1 Main St;Springfield;IL;62701;USA\r\n"
                     "LABEL;TYPE=HOME:1 Main St\\nSpringfield\\, IL\r\n"
                     "item1.ADR:;;2 Side St;Town;;;\r\n"
                     "item1.X-ABLabel:Cottage\r\n"
                     "ADR;TYPE=WORK:;;3 Work Rd\r\n"));
    ASSERT_EQ(c.addresses.size(), 3u);
    const GAddress& home = c.addresses[0];
    EXPECT_EQ(home.kind, AddressKind::Home);
    EXPECT_TRUE(home.primary);
    EXPECT_EQ(home.poBox, "PO 1");
    EXPECT_EQ(home.extended, "Apt 2");
    EXPECT_EQ(home.street, "1 Main St");
    EXPECT_EQ(home.city, "Springfield");
    EXPECT_EQ(home.region, "IL");
    EXPECT_EQ(home.postalCode, "62701");
    EXPECT_EQ(home.country, "USA");
    EXPECT_EQ(home.formatted, "1 Main St\nSpringfield, IL");
    EXPECT_EQ(c.addresses[1].kind, AddressKind::Other);
    EXPECT_EQ(c.addresses[1].label, "Cottage");
    EXPECT_EQ(c.addresses[1].street, "2 Side St");
    EXPECT_EQ(c.addresses[2].kind, AddressKind::Work);
    EXPECT_EQ(c.addresses[2].street, "3 Work Rd");
    EXPECT_EQ(c.addresses[2].city, "");

    const GContact v4 =
        ReadOne(Card("ADR;TYPE=work;LABEL=\"3 Work Rd^nTown\":;;3 Work Rd;Town;;;\r\n", "4.0"));
    ASSERT_EQ(v4.addresses.size(), 1u);
    EXPECT_EQ(v4.addresses[0].formatted, "3 Work Rd\nTown");
    EXPECT_EQ(v4.addresses[0].kind, AddressKind::Work);
}

TEST(GoogleContactsVCard, Version21QuotedPrintableAndCharsets)
{
    const std::string text = "BEGIN:VCARD\r\nVERSION:2.1\r\n"
                             "N;CHARSET=ISO-8859-1:M\xFCller;J\xFCrgen\r\n"
                             "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:J=C3=BCrgen M=C3=BCller\r\n"
                             "NOTE;ENCODING=QUOTED-PRINTABLE:first line=0D=0Asecond =\r\n"
                             "line=0D=0A=3D end\r\n"
                             "TEL;WORK;VOICE;PREF:+49 1\r\n"
                             "TEL;CELL:+49 2\r\n"
                             "EMAIL;INTERNET;HOME:j@x\r\n"
                             "ADR;HOME;CHARSET=windows-1252;QUOTED-PRINTABLE:;;Stra=DFe 1;K=F6ln;;;\r\n"
                             "PHOTO;ENCODING=BASE64;TYPE=JPEG:\r\n"
                             "  /9j/4AAQ\r\n"
                             "  SkZJRg==\r\n"
                             "\r\n"
                             "END:VCARD\r\n";
    const GContact c = ReadOne(text);
    EXPECT_EQ(c.lastName, "M\xC3\xBCller");
    EXPECT_EQ(c.firstName, "J\xC3\xBCrgen");
    EXPECT_EQ(c.displayName, "J\xC3\xBCrgen M\xC3\xBCller");
    EXPECT_EQ(c.note, "first line\nsecond line\n= end");
    const std::vector<GPhone> phones = {{PhoneKind::Work, "", "+49 1", true},
                                        {PhoneKind::Mobile, "", "+49 2", false}};
    EXPECT_EQ(c.phones, phones);
    ASSERT_EQ(c.emails.size(), 1u);
    EXPECT_EQ(c.emails[0].kind, EmailKind::Home);
    ASSERT_EQ(c.addresses.size(), 1u);
    EXPECT_EQ(c.addresses[0].street, "Stra\xC3\x9F"
                                     "e 1");
    EXPECT_EQ(c.addresses[0].city, "K\xC3\xB6ln");
    // The photo is kept in vCard 3.0's form.
    ASSERT_EQ(c.extras.size(), 1u);
    EXPECT_EQ(c.extras[0].name, "PHOTO");
    const decltype(c.extras[0].params) params = {{"ENCODING", {"b"}}, {"TYPE", {"JPEG"}}};
    EXPECT_EQ(c.extras[0].params, params);
    EXPECT_EQ(c.extras[0].value, "/9j/4AAQSkZJRg==");
}

TEST(GoogleContactsVCard, KeepsWhatItDoesNotModelAndGivesEveryCardAnIdentity)
{
    std::vector<GContact> contacts;
    std::string error;
    ASSERT_TRUE(ReadVCards(Card("UID:abc-1\\,2\r\nFN:A\r\nX-PHONETIC-FIRST-NAME:Ay\r\n"
                                "item4.X-CUSTOM-THING;X-A=1,2:v\r\nitem4.X-ABLabel:Thing\r\n"
                                "CATEGORIES:myContacts,Friends\\, old,starred\r\n") +
                               Card("FN:B\r\n") + Card("FN:B\r\n") + Card("FN:C\r\n"),
                           contacts, error))
        << error;
    ASSERT_EQ(contacts.size(), 4u);
    const GContact& a = contacts[0];
    EXPECT_EQ(a.uid, "abc-1,2");
    const std::vector<GGroup> groups = {{"My Contacts", true}, {"Friends, old", false}, {"Starred", true}};
    EXPECT_EQ(a.groups, groups);
    EXPECT_EQ(a.Category(), "My Contacts, Friends, old, Starred");
    const std::vector<GExtraProperty> extras = {{"", "X-PHONETIC-FIRST-NAME", {}, "Ay"},
                                                {"item4", "X-CUSTOM-THING", {{"X-A", {"1", "2"}}}, "v"},
                                                {"item4", "X-ABLABEL", {}, "Thing"}};
    EXPECT_EQ(a.extras, extras);
    // Cards without a UID get a key from what they hold; equal cards are told apart.
    EXPECT_EQ(contacts[1].uid.rfind("derived-", 0), 0u);
    EXPECT_EQ(contacts[2].uid, contacts[1].uid + "-2");
    EXPECT_NE(contacts[3].uid.substr(0, 24), contacts[1].uid.substr(0, 24));
    std::vector<GContact> again;
    ASSERT_TRUE(ReadVCards(Card("FN:C\r\n"), again, error));
    EXPECT_EQ(again[0].uid, contacts[3].uid);
}

TEST(GoogleContactsVCard, ByteOrderMarksAndAnsiText)
{
    // UTF-16LE with a mark, UTF-8 with a mark, and Windows-1252 text without one.
    std::string utf16 = "\xFF\xFE";
    const std::u16string wide = u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Zo\u00EB\r\nEND:VCARD\r\n";
    for (char16_t u : wide) {
        utf16 += static_cast<char>(u & 0xFF);
        utf16 += static_cast<char>(u >> 8);
    }
    EXPECT_EQ(ReadOne(utf16).displayName, "Zo\xC3\xAB");
    EXPECT_EQ(ReadOne("\xEF\xBB\xBF" + Card("FN:Zo\xC3\xAB\r\n")).displayName, "Zo\xC3\xAB");
    EXPECT_EQ(ReadOne(Card("FN:Zo\xEB\r\n")).displayName, "Zo\xC3\xAB");
}

TEST(GoogleContactsVCard, BadInputNamesTheLine)
{
    const std::pair<std::string, std::string> cases[] = {
        {"FN:A\r\n", "line 1: BEGIN:VCARD expected, found FN"},
        {"BEGIN:VCARD\r\nFN:A\r\n", "line 2: the card begun on line 1 has no END:VCARD"},
        {"BEGIN:VCARD\r\nBEGIN:VCARD\r\nEND:VCARD\r\n",
         "line 2: BEGIN:VCARD inside the card begun on line 1"},
        {"BEGIN:VCARD\r\nVERSION:3.0\r\n\r\nFN A\r\nEND:VCARD\r\n",
         "line 4: no ':' between the property FN and its value"},
        {Card("FN:A\r\n") + "END:VCARD\r\n", "line 5: BEGIN:VCARD expected, found END"},
        {"BEGIN:VCARD\r\nPHOTO:" + std::string(kMaxVCardLineBytes, 'x') + "\r\nEND:VCARD\r\n",
         "line 2: a line longer than " + std::to_string(kMaxVCardLineBytes) + " bytes"},
        {std::string("BEGIN:VCARD\r\n\0\0\r\n", 17), "line 2: a property without a name"},
    };
    for (const auto& [text, expected] : cases) {
        std::vector<GContact> contacts;
        std::string error;
        EXPECT_FALSE(ReadVCards(text, contacts, error)) << expected;
        EXPECT_EQ(error.substr(0, expected.size()), expected);
        EXPECT_TRUE(contacts.empty());
    }
    std::string many = "BEGIN:VCARD\r\n";
    for (std::size_t i = 0; i <= kMaxVCardProperties; ++i) {
        many += "X-A:1\r\n";
    }
    std::vector<GContact> contacts;
    std::string error;
    EXPECT_FALSE(ReadVCards(many + "END:VCARD\r\n", contacts, error));
    EXPECT_EQ(error, "line " + std::to_string(kMaxVCardProperties + 2) + ": a card with more than " +
                         std::to_string(kMaxVCardProperties) + " properties");
    EXPECT_FALSE(ReadVCardFile("/nonexistent/contacts.vcf", contacts, error));
    EXPECT_EQ(error.rfind("/nonexistent/contacts.vcf: ", 0), 0u);
}

TEST(GoogleContactsVCardSamples, EveryFieldOfGmailSingle)
{
    REQUIRE_SAMPLES();
    std::vector<GContact> contacts;
    std::string error;
    ASSERT_TRUE(ReadVCardFile(kSamples + "vcard/gmail-single2.vcf", contacts, error)) << error;
    ASSERT_EQ(contacts.size(), 1u);
    const GContact& c = contacts[0];
    EXPECT_EQ(c.displayName, "VCard Test");
    EXPECT_EQ(c.firstName, "VCard");
    EXPECT_EQ(c.lastName, "Test");
    EXPECT_EQ(c.nickname, "TheNickname");
    EXPECT_EQ(c.company, "TheCompany");
    EXPECT_EQ(c.jobTitle, "TheJobTitle");
    const std::vector<GEmail> emails = {
        {EmailKind::Other, "", "email@example.com", false},
        {EmailKind::Home, "", "homeemail@example.com", false},
        {EmailKind::Work, "", "workemail@example.com", false},
        {EmailKind::Other, "", "otheremail@example.com", false},
        {EmailKind::Other, "CustomEmailCategory", "customcategory@example.com", false}};
    EXPECT_EQ(c.emails, emails);
    ASSERT_EQ(c.ims.size(), 8u);
    for (int k = 1; k <= 8; ++k) {
        EXPECT_EQ(static_cast<int>(c.ims[k - 1].kind), k);
        EXPECT_EQ(c.ims[k - 1].value, "IM" + std::to_string(k + 1));
    }
    ASSERT_EQ(c.phones.size(), 11u);
    EXPECT_EQ(c.Phone(PhoneKind::Home)->value, "5555551112");
    EXPECT_EQ(c.Phone(PhoneKind::Work)->value, "5555551113");
    EXPECT_EQ(c.Phone(PhoneKind::Mobile)->value, "5555551115");
    EXPECT_EQ(c.Phone(PhoneKind::HomeFax)->value, "5555551117");
    EXPECT_EQ(c.Phone(PhoneKind::WorkFax)->value, "5555551118");
    EXPECT_EQ(c.Phone(PhoneKind::Pager)->value, "5555551120");
    EXPECT_EQ(c.phones[5].label, "MAIN");
    EXPECT_EQ(c.phones[8].label, "GRAND_CENTRAL");
    EXPECT_EQ(c.phones[10].label, "CustomePhoneCategory");
    ASSERT_EQ(c.addresses.size(), 5u);
    EXPECT_EQ(c.Address(AddressKind::Home)->street, "112 Main St");
    EXPECT_EQ(c.Address(AddressKind::Home)->city, "NY");
    EXPECT_EQ(c.Address(AddressKind::Home)->region, "New York");
    EXPECT_EQ(c.Address(AddressKind::Home)->postalCode, "10011");
    EXPECT_EQ(c.Address(AddressKind::Work)->street, "113 Main St");
    EXPECT_EQ(c.addresses[4].label, "CustomAddressCategory");
    ASSERT_EQ(c.webSites.size(), 6u);
    EXPECT_EQ(c.webSites[0].value, "http://www.example1.com");
    EXPECT_EQ(c.WebSite(WebKind::Profile)->value, "http://www.example2.com");
    EXPECT_EQ(c.WebSite(WebKind::Blog)->value, "http://www.example3.com");
    EXPECT_EQ(c.WebSite(WebKind::HomePage)->value, "http://www.example4.com");
    EXPECT_EQ(c.WebSite(WebKind::Work)->value, "http://www.example5.com");
    EXPECT_EQ(c.webSites[5].label, "CustomWebsiteCategory");
    const std::vector<GDate> dates = {{DateKind::Birthday, "", 1912, 6, 23},
                                      {DateKind::Anniversary, "", 1930, 3, 20},
                                      {DateKind::Other, "", 1776, 7, 4},
                                      {DateKind::Other, "CustomDateCategory", 2000, 9, 12}};
    EXPECT_EQ(c.dates, dates);
    ASSERT_EQ(c.relations.size(), 16u);
    const RelationKind kinds[] = {
        RelationKind::Custom,     RelationKind::Spouse,  RelationKind::Child,
        RelationKind::Mother,     RelationKind::Father,  RelationKind::Parent,
        RelationKind::Brother,    RelationKind::Sister,  RelationKind::Friend,
        RelationKind::Relative,   RelationKind::Manager, RelationKind::Assistant,
        RelationKind::ReferredBy, RelationKind::Partner, RelationKind::DomesticPartner,
        RelationKind::Custom};
    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(c.relations[i].kind, kinds[i]) << i;
        EXPECT_EQ(c.relations[i].name, "Name" + std::to_string(i + 1));
    }
    EXPECT_EQ(c.relations[15].label, "CustomRelationCategory");
    EXPECT_EQ(c.note, "note line 1\nnote line 2\nCustomField: field value");
    const std::vector<GExtraProperty> extras = {{"", "X-PHONETIC-FIRST-NAME", {}, "ThePhoneticFirstName"},
                                                {"", "X-PHONETIC-LAST-NAME", {}, "ThePhoneticLastName"}};
    EXPECT_EQ(c.extras, extras);
    EXPECT_FALSE(c.uid.empty());
}

TEST(GoogleContactsVCardSamples, GmailListWithoutFinalLineBreak)
{
    REQUIRE_SAMPLES();
    std::vector<GContact> contacts;
    std::string error;
    ASSERT_TRUE(ReadVCardFile(kSamples + "vcard/gmail-list.vcf", contacts, error)) << error;
    ASSERT_EQ(contacts.size(), 3u);
    const char* const names[][3] = {{"Arnold Smith", "Arnold", "asmithk@gmail.com"},
                                    {"Chris Beatle", "Chris", "chrisy55d@yahoo.com"},
                                    {"Doug White", "Doug", "dwhite@gmail.com"}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(contacts[i].displayName, names[i][0]);
        EXPECT_EQ(contacts[i].firstName, names[i][1]);
        ASSERT_EQ(contacts[i].emails.size(), 1u);
        EXPECT_EQ(contacts[i].emails[0].value, names[i][2]);
        EXPECT_EQ(contacts[i].emails[0].kind, EmailKind::Other);
    }
}

} // namespace
} // namespace gcontacts
