// The vCard 3.0 writer: Google's form, folding, the atomic file replacement, and round trips
// (what it writes reads back as the same contacts) from a full contact, from both readers'
// cases and from the Google samples.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "google/contacts/GoogleCsvReader.h"
#include "google/contacts/TextUtil.h"
#include "google/contacts/VCardReader.h"
#include "google/contacts/VCardWriter.h"

namespace fs = std::filesystem;

namespace gcontacts {
namespace {

const std::string kSamples = std::string(FW_SHARED_DIR) + "/samples/google/";

std::vector<GContact> ReadBack(const std::string& text)
{
    std::vector<GContact> contacts;
    std::string error;
    EXPECT_TRUE(ReadVCards(text, contacts, error)) << error << "\n" << text;
    return contacts;
}

GContact FullContact()
{
    GContact c;
    c.uid = "u-1;2";
    c.firstName = "Anne";
    c.middleName = "M";
    c.lastName = "Smith, Jr";
    c.prefix = "Dr.";
    c.suffix = "III";
    c.displayName = "Dr. Anne M Smith";
    c.nickname = "Annie";
    c.company = "Acme; Sons";
    c.department = "R&D";
    c.jobTitle = "Chief";
    c.emails = {{EmailKind::Home, "", "h@x", false},
                {EmailKind::Work, "", "w@x", true},
                {EmailKind::Other, "", "o@x", false},
                {EmailKind::Other, "Private", "p@x", false}};
    for (int k = 1; k <= 7; ++k) {
        c.phones.push_back({static_cast<PhoneKind>(k), "", "+1 555 000" + std::to_string(k), k == 3});
        c.webSites.push_back(
            {static_cast<WebKind>(k), "", "http://site" + std::to_string(k) + ".example", false});
    }
    c.phones.push_back({PhoneKind::Other, "Google Voice", "9", false});
    c.webSites.push_back({WebKind::Other, "Shop", "http://shop", false});
    for (int k = 1; k <= 8; ++k) {
        c.ims.push_back(
            {static_cast<ImKind>(k), k == 8 ? "Work chat" : "", "im" + std::to_string(k), k == 1});
    }
    GAddress home;
    home.kind = AddressKind::Home;
    home.formatted = "1 Main St\nSpringfield, IL";
    home.poBox = "PO 1";
    home.extended = "Apt 2";
    home.street = "1 Main St";
    home.city = "Springfield";
    home.region = "IL";
    home.postalCode = "62701";
    home.country = "USA";
    home.neighborhood = "Old Town";
    home.primary = true;
    GAddress other;
    other.label = "Cottage";
    other.street = "2 Lane";
    c.addresses = {home, other};
    c.customFields = {{"Shoe size", "38"}, {"Favourite; colour", "blue, green"}};
    c.dates = {{DateKind::Birthday, "", 0, 6, 23},
               {DateKind::Anniversary, "", 2001, 5, 4},
               {DateKind::Other, "", 1776, 7, 4},
               {DateKind::Other, "First met", 1999, 12, 31},
               {DateKind::Anniversary, "Engagement", 2000, 1, 2}};
    for (int k = 0; k <= 14; ++k) {
        c.relations.push_back(
            {static_cast<RelationKind>(k), k == 0 ? "Godmother" : "", "R" + std::to_string(k)});
    }
    c.relations.push_back({RelationKind::Custom, "", "Unlabelled"});
    c.note = "line 1\nline 2 \\ with a backslash, comma; semicolon: colon\n" + std::string(200, 'n');
    c.groups = {{"My Contacts", true}, {"Friends, old", false}, {"Starred", true}};
    c.extras = {{"", "X-PHONETIC-FIRST-NAME", {}, "Ay"},
                {"item1", "X-THING", {{"X-A", {"1", "a:b"}}}, "v\\,w"},
                {"item1", "X-ABLABEL", {}, "Thing"},
                {"", "PHOTO", {{"ENCODING", {"b"}}, {"TYPE", {"JPEG"}}}, std::string(300, 'A')}};
    return c;
}

TEST(GoogleContactsWriter, WritesGoogleStyleAndReadsBackTheSame)
{
    const GContact c = FullContact();
    const std::string text = WriteVCard(c);
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line.back(), '\r');
        EXPECT_LE(line.size(), 76u) << line; // 75 bytes and the CR
    }
    for (const char* expected :
         {"BEGIN:VCARD\r\nVERSION:3.0\r\n", "\r\nN:Smith\\, Jr;Anne;M;Dr.;III\r\n",
          "\r\nEMAIL;TYPE=INTERNET;TYPE=WORK;TYPE=PREF:w@x\r\n", "\r\nTEL;TYPE=HOME;TYPE=FAX:+1 555 0004\r\n",
          "\r\nX-GTALK;TYPE=PREF:im1\r\n", ".X-ABLabel:_$!<HomePage>!$_\r\n", ".X-ABLabel:PROFILE\r\n",
          ".X-ABRELATEDNAMES:R1\r\n", ".X-ABLabel:_$!<Spouse>!$_\r\n", ".X-ABLabel:REFERRED_BY\r\n",
          "\r\nBDAY:--06-23\r\n", ".X-ABDATE:2001-05-04\r\n", ".X-ABLabel:_$!<Anniversary>!$_\r\n",
          "\r\nCATEGORIES:myContacts,Friends\\, old,starred\r\n", "\r\nitem1.X-THING;X-A=1,\"a:b\":v\\,w\r\n",
          // The identity comes before the kept properties, which end the card.
          "\r\nCATEGORIES:myContacts,Friends\\, old,starred\r\nUID:u-1\\;2\r\nX-PHONETIC-FIRST-NAME:"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\nin\n" << text;
    }
    // The kept group keeps its name; the groups made for labels go round it.
    EXPECT_EQ(text.find("item1.EMAIL"), std::string::npos);
    const auto back = ReadBack(text);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0], c);
}

TEST(GoogleContactsWriter, EmptyAndNewContactsRoundTrip)
{
    GContact empty;
    empty.uid = "x";
    GContact multibyte;
    multibyte.uid = "y";
    for (int i = 0; i < 80; ++i) {
        multibyte.note += "\xC3\xA9"; // é: folding never cuts it
    }
    const std::vector<GContact> contacts = {empty, multibyte};
    EXPECT_EQ(ReadBack(WriteVCards(contacts)), contacts);
    // A contact without a uid gets one from what it holds, and keeps it when written.
    std::vector<GContact> fresh(1);
    fresh[0].displayName = "New";
    AssignDerivedKeys(fresh);
    EXPECT_FALSE(fresh[0].uid.empty());
    EXPECT_EQ(ReadBack(WriteVCards(fresh)), fresh);
}

TEST(GoogleContactsWriter, ReplacesTheFileAtomically)
{
    const fs::path dir = fs::temp_directory_path() / ("gcontacts-writer-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "contacts.vcf").string();
    {
        std::ofstream(path) << "old contents";
    }
    const std::vector<GContact> contacts = {FullContact()};
    std::string error;
    ASSERT_TRUE(WriteVCardFile(path, contacts, error)) << error;
    std::vector<GContact> back;
    ASSERT_TRUE(ReadVCardFile(path, back, error)) << error;
    EXPECT_EQ(back, contacts);
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1u); // no temporary file left behind
    EXPECT_FALSE(WriteVCardFile((dir / "missing" / "c.vcf").string(), contacts, error));
    EXPECT_NE(error.find("missing/c.vcf: cannot be written"), std::string::npos) << error;
    fs::remove_all(dir);
}

TEST(GoogleContactsWriter, ReaderCasesRoundTrip)
{
    const std::string cases[] = {
        "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=ISO-8859-1:M\xFCller;J\r\nNOTE;ENCODING=QUOTED-PRINTABLE:a="
        "0D=0Ab\r\n"
        "TEL;WORK;VOICE;PREF:1\r\nPHOTO;ENCODING=BASE64;TYPE=JPEG:\r\n  "
        "/9j/\r\n\r\nX-Q;QUOTED-PRINTABLE:x=0Ay\r\n"
        "END:VCARD\r\n",
        "BEGIN:VCARD\r\nVERSION:4.0\r\nADR;TYPE=work;LABEL=\"3 Rd^nTown\":;;3 Rd;Town;;;\r\nIMPP:xmpp:j@x\r\n"
        "RELATED;TYPE=spouse;VALUE=text:A\r\nRELATED:urn:uuid:1\r\nBDAY:--0623\r\nANNIVERSARY:20000912\r\n"
        "END:VCARD\r\n",
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\nFN:second\r\nTEL;TYPE=MAIN:8\r\nitem3.X-ABLabel:orphan\r\n"
        "X-ABLabel:nogroup\r\nBDAY:not a date\r\nLABEL;TYPE=HOME:nowhere\r\nORG:a;b;c\r\nEND:VCARD\r\n",
    };
    for (const auto& text : cases) {
        const auto first = ReadBack(text);
        ASSERT_EQ(first.size(), 1u) << text;
        EXPECT_EQ(ReadBack(WriteVCards(first)), first) << text << "\nwritten as\n" << WriteVCards(first);
    }
}

TEST(GoogleContactsWriterSamples, SamplesRoundTrip)
{
    if (!fs::exists(kSamples)) {
        GTEST_SKIP() << "no shared samples at " << kSamples;
    }
    for (const char* name :
         {"vcard/gmail-single2.vcf", "vcard/gmail-list.vcf", "csv/roundcube-gmail-utf16le.csv"}) {
        std::vector<GContact> contacts;
        std::string error;
        ASSERT_TRUE(ReadContactsFile(kSamples + name, contacts, error)) << error;
        const std::string written = WriteVCards(contacts);
        EXPECT_EQ(ReadBack(written), contacts) << name << "\n" << written;
    }
}

} // namespace
} // namespace gcontacts

using namespace gcontacts;

// Odd cards read, written and read again give the same contacts, and what is written is UTF-8.
TEST(GoogleContactsWriter, OddCardsComeBackTheSame)
{
    struct Case
    {
        const char* what;
        std::string card;
    };
    const Case cases[] = {
        {"a kept property whose type names quoted-printable, folded where a '=' ends the line",
         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\nX-THING;TYPE=ENCODING=QUOTED-PRINTABLE:" +
             std::string(60, 'x') + "=0D=y=z\r\nEND:VCARD\r\n"},
        {"a second UID kept where it stands",
         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\nUID:one\r\nX-A:1\r\nUID:two\r\nX-B:2\r\nEND:VCARD\r\n"},
        {"an empty NOTE before the one that holds the note",
         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\nNOTE:\r\nX-A:1\r\nNOTE:the note\r\nEND:VCARD\r\n"},
        {"bytes that are not UTF-8 in a kept base64 value",
         "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:A\r\nX-PIC;B:\xe6nn\r\nEND:VCARD\r\n"},
        {"a 2.1 quoted-printable note with a soft line break, Latin-1 name, a tab in a type",
         "BEGIN:VCARD\r\nVERSION:2.1\r\nN;C:HARSET=ISO-8859-1:M\xfcller;J\r\n"
         "NOTE;ENCODING=QUOTED-PRINTABLE:x=0D=0Ay=\r\nz\r\nTEL;W\tORK;PREF:1\r\nEND:VCARD\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<GContact> first = ReadBack(c.card);
        ASSERT_EQ(first.size(), 1u);
        const std::string written = WriteVCards(first);
        EXPECT_TRUE(IsValidUtf8(written)) << written;
        EXPECT_EQ(ReadBack(written), first) << written;
    }
    const std::vector<GContact> notes =
        ReadBack("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\nNOTE:\r\nNOTE:the note\r\nEND:VCARD\r\n");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].note, "the note");
}
