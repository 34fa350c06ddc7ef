#include "GContact.h"

#include <cstdio>
#include <map>

#include "VCardWriter.h"

namespace gcontacts {

namespace {

template <typename T, typename Kind> const T* First(const std::vector<T>& list, Kind kind)
{
    for (const auto& item : list) {
        if (item.kind == kind) {
            return &item;
        }
    }
    return nullptr;
}

} // namespace

const GEmail* GContact::Email(EmailKind kind) const
{
    return First(emails, kind);
}
const GPhone* GContact::Phone(PhoneKind kind) const
{
    return First(phones, kind);
}
const GWebSite* GContact::WebSite(WebKind kind) const
{
    return First(webSites, kind);
}
const GIm* GContact::Im(ImKind kind) const
{
    return First(ims, kind);
}
const GAddress* GContact::Address(AddressKind kind) const
{
    return First(addresses, kind);
}
const GDate* GContact::Date(DateKind kind) const
{
    return First(dates, kind);
}
const GRelation* GContact::Relation(RelationKind kind) const
{
    return First(relations, kind);
}

std::string GContact::Category() const
{
    std::string out;
    for (const auto& g : groups) {
        out += (out.empty() ? "" : ", ") + g.name;
    }
    return out;
}

const char* KindName(EmailKind kind)
{
    static const char* const names[] = {"", "Home", "Work", "Other"};
    return names[static_cast<int>(kind)];
}
const char* KindName(PhoneKind kind)
{
    static const char* const names[] = {"",         "Home",     "Work",  "Mobile",
                                        "Home Fax", "Work Fax", "Pager", "Other"};
    return names[static_cast<int>(kind)];
}
const char* KindName(WebKind kind)
{
    static const char* const names[] = {"", "Home", "Work", "Home Page", "FTP", "Blog", "Profile", "Other"};
    return names[static_cast<int>(kind)];
}
const char* KindName(ImKind kind)
{
    static const char* const names[] = {"",   "Google Talk", "AIM", "Yahoo", "Skype",
                                        "QQ", "MSN",         "ICQ", "Jabber"};
    return names[static_cast<int>(kind)];
}
const char* KindName(DateKind kind)
{
    static const char* const names[] = {"", "Birthday", "Anniversary", "Other"};
    return names[static_cast<int>(kind)];
}
const char* KindName(RelationKind kind)
{
    static const char* const names[] = {
        "",          "Spouse",      "Child",  "Mother",   "Father",           "Parent",
        "Brother",   "Sister",      "Friend", "Relative", "Domestic Partner", "Manager",
        "Assistant", "Referred By", "Partner"};
    return names[static_cast<int>(kind)];
}

void AssignDerivedKeys(std::vector<GContact>& contacts)
{
    std::map<std::string, int> seen;
    for (auto& c : contacts) {
        if (!c.uid.empty()) {
            continue;
        }
        // FNV-1a over the contact as vCard: the same contents give the same key.
        std::uint64_t hash = 1469598103934665603ull;
        for (unsigned char ch : WriteVCard(c)) {
            hash = (hash ^ ch) * 1099511628211ull;
        }
        char buf[32];
        std::snprintf(buf, sizeof buf, "derived-%016llx", static_cast<unsigned long long>(hash));
        std::string key = buf;
        const int n = ++seen[key];
        if (n > 1) {
            key += "-" + std::to_string(n);
        }
        c.uid = key;
    }
}

} // namespace gcontacts
