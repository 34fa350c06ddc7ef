#include "GLabels.h"

#include <utility>

#include "TextUtil.h"

namespace gcontacts {

namespace {

// Upper case without blanks, "_" and "-": "Home Fax", "HOME_FAX" and "homefax" meet.
std::string Fold(std::string_view text)
{
    std::string out;
    for (char c : StripBuiltInLabel(Trim(text))) {
        if (c == ' ' || c == '_' || c == '-' || c == '\t') {
            continue;
        }
        out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return out;
}

template <typename Kind, std::size_t N>
std::optional<Kind> Find(std::string_view label, const std::pair<const char*, Kind> (&table)[N])
{
    const std::string folded = Fold(label);
    for (const auto& [name, kind] : table) {
        if (folded == name) {
            return kind;
        }
    }
    return std::nullopt;
}

} // namespace

std::string_view StripBuiltInLabel(std::string_view label)
{
    if (label.size() >= 8 && label.substr(0, 4) == "_$!<" && label.substr(label.size() - 4) == ">!$_") {
        return label.substr(4, label.size() - 8);
    }
    return label;
}

std::string BuiltInLabel(std::string_view name)
{
    return "_$!<" + std::string(name) + ">!$_";
}

std::optional<EmailKind> EmailKindFromLabel(std::string_view label)
{
    static const std::pair<const char*, EmailKind> table[] = {
        {"HOME", EmailKind::Home}, {"WORK", EmailKind::Work}, {"OTHER", EmailKind::Other}};
    return Find(label, table);
}

std::optional<AddressKind> AddressKindFromLabel(std::string_view label)
{
    static const std::pair<const char*, AddressKind> table[] = {
        {"HOME", AddressKind::Home}, {"WORK", AddressKind::Work}, {"OTHER", AddressKind::Other}};
    return Find(label, table);
}

std::optional<PhoneKind> PhoneKindFromLabel(std::string_view label)
{
    static const std::pair<const char*, PhoneKind> table[] = {
        {"HOME", PhoneKind::Home},       {"WORK", PhoneKind::Work},     {"MOBILE", PhoneKind::Mobile},
        {"CELL", PhoneKind::Mobile},     {"IPHONE", PhoneKind::Mobile}, {"HOMEFAX", PhoneKind::HomeFax},
        {"WORKFAX", PhoneKind::WorkFax}, {"PAGER", PhoneKind::Pager},   {"OTHER", PhoneKind::Other}};
    return Find(label, table);
}

std::optional<WebKind> WebKindFromLabel(std::string_view label)
{
    static const std::pair<const char*, WebKind> table[] = {
        {"HOME", WebKind::Home},  {"WORK", WebKind::Work}, {"HOMEPAGE", WebKind::HomePage},
        {"FTP", WebKind::Ftp},    {"BLOG", WebKind::Blog}, {"PROFILE", WebKind::Profile},
        {"OTHER", WebKind::Other}};
    return Find(label, table);
}

std::optional<ImKind> ImKindFromLabel(std::string_view label)
{
    static const std::pair<const char*, ImKind> table[] = {
        {"GOOGLETALK", ImKind::GTalk}, {"GTALK", ImKind::GTalk},     {"HANGOUTS", ImKind::GTalk},
        {"AIM", ImKind::Aim},          {"YAHOO", ImKind::Yahoo},     {"YMSGR", ImKind::Yahoo},
        {"SKYPE", ImKind::Skype},      {"QQ", ImKind::QQ},           {"MSN", ImKind::Msn},
        {"MSNIM", ImKind::Msn},        {"WINDOWSLIVE", ImKind::Msn}, {"ICQ", ImKind::Icq},
        {"JABBER", ImKind::Jabber},    {"XMPP", ImKind::Jabber}};
    return Find(label, table);
}

std::optional<DateKind> DateKindFromLabel(std::string_view label)
{
    static const std::pair<const char*, DateKind> table[] = {
        {"BIRTHDAY", DateKind::Birthday}, {"ANNIVERSARY", DateKind::Anniversary}, {"OTHER", DateKind::Other}};
    return Find(label, table);
}

std::optional<RelationKind> RelationKindFromLabel(std::string_view label)
{
    static const std::pair<const char*, RelationKind> table[] = {
        {"SPOUSE", RelationKind::Spouse},         {"CHILD", RelationKind::Child},
        {"MOTHER", RelationKind::Mother},         {"FATHER", RelationKind::Father},
        {"PARENT", RelationKind::Parent},         {"BROTHER", RelationKind::Brother},
        {"SISTER", RelationKind::Sister},         {"FRIEND", RelationKind::Friend},
        {"RELATIVE", RelationKind::Relative},     {"DOMESTICPARTNER", RelationKind::DomesticPartner},
        {"MANAGER", RelationKind::Manager},       {"ASSISTANT", RelationKind::Assistant},
        {"REFERREDBY", RelationKind::ReferredBy}, {"PARTNER", RelationKind::Partner}};
    return Find(label, table);
}

} // namespace gcontacts
