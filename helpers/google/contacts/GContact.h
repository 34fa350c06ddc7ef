#pragma once
// A Google contact as an export holds it: everything the contact record of the Google
// helper can carry, by kind, plus whatever else the export held (kept as vCard properties)
// so that a contact written back loses nothing. Texts are UTF-8; line breaks are "\n".
//
// The kind codes of e-mails, addresses, phones, web sites, instant-messaging addresses and
// dates are those of the record layout "GAddr.dat". Relations use the same codes where the
// layout names them (1 spouse, 3 mother, 4 father, 11 manager, 12 assistant) and ours for the
// others. An element whose label names no kind keeps that label in `label`.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace gcontacts {

enum class EmailKind
{
    Home = 1,
    Work = 2,
    Other = 3
};

enum class AddressKind
{
    Home = 1,
    Work = 2,
    Other = 3
};

enum class PhoneKind
{
    Home = 1,
    Work = 2,
    Mobile = 3,
    HomeFax = 4,
    WorkFax = 5,
    Pager = 6,
    Other = 7
};

enum class WebKind
{
    Home = 1,
    Work = 2,
    HomePage = 3,
    Ftp = 4,
    Blog = 5,
    Profile = 6,
    Other = 7
};

enum class ImKind
{
    GTalk = 1,
    Aim = 2,
    Yahoo = 3,
    Skype = 4,
    QQ = 5,
    Msn = 6,
    Icq = 7,
    Jabber = 8
};

enum class DateKind
{
    Birthday = 1,
    Anniversary = 2,
    Other = 3
};

enum class RelationKind
{
    Custom = 0, // the label says what it is (or nothing does)
    Spouse = 1,
    Child = 2,
    Mother = 3,
    Father = 4,
    Parent = 5,
    Brother = 6,
    Sister = 7,
    Friend = 8,
    Relative = 9,
    DomesticPartner = 10,
    Manager = 11,
    Assistant = 12,
    ReferredBy = 13,
    Partner = 14
};

// An e-mail address, phone number, web site or instant-messaging address.
template <typename Kind> struct GTyped
{
    Kind kind{};
    std::string label; // a label that names no kind ("CustomEmailCategory"), else empty
    std::string value;
    bool primary = false;

    bool operator==(const GTyped&) const = default;
};

using GEmail = GTyped<EmailKind>;
using GPhone = GTyped<PhoneKind>;
using GWebSite = GTyped<WebKind>;
using GIm = GTyped<ImKind>;

struct GAddress
{
    AddressKind kind = AddressKind::Other;
    std::string label;
    std::string formatted; // the address as one text, with its line breaks
    std::string poBox;
    std::string extended; // the extended address (apartment, suite)
    std::string street;
    std::string city;
    std::string region;
    std::string postalCode;
    std::string country;
    std::string neighborhood;
    bool primary = false;

    bool operator==(const GAddress&) const = default;
};

// A calendar date; year 0 for a date without a year (a birthday whose year is not known).
struct GDate
{
    DateKind kind = DateKind::Other;
    std::string label;
    int year = 0;
    int month = 1;
    int day = 1;

    bool operator==(const GDate&) const = default;
};

struct GRelation
{
    RelationKind kind = RelationKind::Custom;
    std::string label; // for Custom: the label as the export wrote it (may be empty)
    std::string name;

    bool operator==(const GRelation&) const = default;
};

struct GCustomField
{
    std::string label;
    std::string value;

    bool operator==(const GCustomField&) const = default;
};

struct GGroup
{
    std::string name;     // "My Contacts", "Friends"
    bool builtIn = false; // one of Google's own groups ("* My Contacts" in Google CSV)

    bool operator==(const GGroup&) const = default;
};

// A property of the export that the contact does not model, kept as vCard 3.0 would write
// it: the value in its escaped form, without a transfer encoding or character set.
struct GExtraProperty
{
    std::string group; // "item3", or empty
    std::string name;  // upper case: "X-PHONETIC-FIRST-NAME", "PHOTO"
    std::vector<std::pair<std::string, std::vector<std::string>>> params; // names upper case
    std::string value;

    bool operator==(const GExtraProperty&) const = default;
};

struct GContact
{
    // The identity used to find the contact again when it is written back: the card's UID,
    // or, when it has none, a key derived from what the export held for it.
    std::string uid;

    std::string firstName;
    std::string middleName;
    std::string lastName;
    std::string prefix;
    std::string suffix;
    std::string displayName;
    std::string nickname;
    std::string company;
    std::string department;
    std::string jobTitle;

    std::vector<GEmail> emails;
    std::vector<GAddress> addresses;
    std::vector<GPhone> phones;
    std::vector<GWebSite> webSites;
    std::vector<GIm> ims;
    std::vector<GCustomField> customFields;
    std::vector<GDate> dates;
    std::vector<GRelation> relations;
    std::string note;
    std::vector<GGroup> groups;
    std::vector<GExtraProperty> extras;

    bool operator==(const GContact&) const = default;

    // The first element of a kind, or null.
    const GEmail* Email(EmailKind kind) const;
    const GPhone* Phone(PhoneKind kind) const;
    const GWebSite* WebSite(WebKind kind) const;
    const GIm* Im(ImKind kind) const;
    const GAddress* Address(AddressKind kind) const;
    const GDate* Date(DateKind kind) const;
    const GRelation* Relation(RelationKind kind) const;
    // The groups as one text ("My Contacts, Friends"), for the record's category.
    std::string Category() const;
};

// Names of the kinds as Google's own forms show them ("Home Fax", "Google Talk").
const char* KindName(EmailKind kind);
const char* KindName(PhoneKind kind);
const char* KindName(WebKind kind);
const char* KindName(ImKind kind);
const char* KindName(DateKind kind);
const char* KindName(RelationKind kind);

// Gives every contact without a uid a key derived from what it holds (its names, values and
// kept properties), and makes equal keys within one file unique by a suffix "-2", "-3" ...
// A contact that keeps its contents keeps its key from one read to the next.
void AssignDerivedKeys(std::vector<GContact>& contacts);

} // namespace gcontacts
