#include "misc/CommAddrMgr.h"

#include <string_view>

#include "misc/CommKeyCompare.h"

namespace {

constexpr int g_matchKeys[] = {AddrKey::FirstName, AddrKey::LastName, AddrKey::Email};
constexpr int g_compareKeys[] = {
    AddrKey::HomePhone,   AddrKey::WorkPhone,   AddrKey::MobilePhone,  AddrKey::Email,
    AddrKey::WorkFax,     AddrKey::HomeFax,     AddrKey::Company,      AddrKey::Title,
    AddrKey::WorkCountry, AddrKey::WorkState,   AddrKey::WorkPostal,   AddrKey::WorkCity,
    AddrKey::WorkStreet,  AddrKey::HomeCountry, AddrKey::HomeState,    AddrKey::HomePostal,
    AddrKey::HomeCity,    AddrKey::HomeStreet,  AddrKey::OtherCountry, AddrKey::OtherState,
    AddrKey::OtherPostal, AddrKey::OtherCity,   AddrKey::OtherStreet,  AddrKey::Note,
};

// The value a key compares: a text, a date, or nothing (a key with no comparison).
struct KeyValue
{
    enum Kind
    {
        None,
        Text,
        Date,
    } kind = None;
    std::string_view text;
    double date = 0.0;
};

template <std::size_t N> KeyValue TextOf(const char (&field)[N]) noexcept
{
    return {KeyValue::Text, FieldText(field), 0.0};
}

KeyValue DateOf(double value) noexcept
{
    return {KeyValue::Date, {}, value};
}

KeyValue AddressValue(const AddressBlock& a, int offset) noexcept
{
    switch (offset) {
    case 0:
        return TextOf(a.Street);
    case 1:
        return TextOf(a.City);
    case 2:
        return TextOf(a.State);
    case 3:
        return TextOf(a.Postal);
    default:
        return TextOf(a.Country);
    }
}

KeyValue ValueOf(const CommAddrRec& r, int key) noexcept
{
    if (key >= AddrKey::WorkStreet && key <= AddrKey::WorkCountry) {
        return AddressValue(r.WorkAddress, key - AddrKey::WorkStreet);
    }
    if (key >= AddrKey::HomeStreet && key <= AddrKey::HomeCountry) {
        return AddressValue(r.HomeAddress, key - AddrKey::HomeStreet);
    }
    if (key >= AddrKey::OtherStreet && key <= AddrKey::OtherCountry) {
        return AddressValue(r.OtherAddress, key - AddrKey::OtherStreet);
    }
    if (key >= AddrKey::CustomValue1 && key < AddrKey::CustomValue1 + 9) {
        return TextOf(r.CustomValues[key - AddrKey::CustomValue1]);
    }
    if (key >= AddrKey::CustomLabel1 && key < AddrKey::CustomLabel1 + 9) {
        return TextOf(r.CustomLabels[key - AddrKey::CustomLabel1]);
    }
    switch (key) {
    case AddrKey::FirstName:
        return TextOf(r.FirstName);
    case AddrKey::MiddleName:
        return TextOf(r.MiddleName);
    case AddrKey::LastName:
        return TextOf(r.LastName);
    case AddrKey::Prefix:
        return TextOf(r.Prefix);
    case AddrKey::Suffix:
        return TextOf(r.Suffix);
    case AddrKey::NickName:
        return TextOf(r.NickName);
    case AddrKey::DisplayName:
        return TextOf(r.DisplayName);
    case AddrKey::HomePhone:
        return TextOf(r.HomePhone);
    case AddrKey::WorkPhone:
        return TextOf(r.WorkPhone);
    case AddrKey::MobilePhone:
        return TextOf(r.MobilePhone);
    case AddrKey::OtherPhone:
        return TextOf(r.OtherPhone);
    case AddrKey::PrimaryPhone:
        return TextOf(r.PrimaryPhone);
    case AddrKey::CallbackPhone:
        return TextOf(r.CallbackPhone);
    case AddrKey::CarPhone:
        return TextOf(r.CarPhone);
    case AddrKey::RadioPhone:
        return TextOf(r.RadioPhone);
    case AddrKey::WorkPhone2:
        return TextOf(r.WorkPhone2);
    case AddrKey::HomePhone2:
        return TextOf(r.HomePhone2);
    case AddrKey::WorkFax:
        return TextOf(r.WorkFax);
    case AddrKey::HomeFax:
        return TextOf(r.HomeFax);
    case AddrKey::Pager:
        return TextOf(r.Pager);
    case AddrKey::Email:
        return TextOf(r.Email);
    case AddrKey::Email2:
        return TextOf(r.Email2);
    case AddrKey::Email3:
        return TextOf(r.Email3);
    case AddrKey::PersonalHomePage:
        return TextOf(r.PersonalHomePage);
    case AddrKey::WorkHomePage:
        return TextOf(r.WorkHomePage);
    case AddrKey::FtpSite:
        return TextOf(r.FtpSite);
    case AddrKey::Note:
        return TextOf(r.Note);
    case AddrKey::Company:
        return TextOf(r.Company);
    case AddrKey::Department:
        return TextOf(r.Department);
    case AddrKey::Title:
        return TextOf(r.Title);
    case AddrKey::IM1:
        return TextOf(r.IM1);
    case AddrKey::IM2:
        return TextOf(r.IM2);
    case AddrKey::ManagerName:
        return TextOf(r.ManagerName);
    case AddrKey::AssistantName:
        return TextOf(r.AssistantName);
    case AddrKey::AssistantPhone:
        return TextOf(r.AssistantPhone);
    case AddrKey::SpouseName:
        return TextOf(r.SpouseName);
    case AddrKey::Account:
        return TextOf(r.Account);
    case AddrKey::Anniversary:
        return DateOf(r.Anniversary);
    case AddrKey::Birthday:
        return DateOf(r.Birthday);
    case AddrKey::Keyword:
        return TextOf(r.Keyword);
    case AddrKey::Language:
        return TextOf(r.Language);
    case AddrKey::Location:
        return TextOf(r.Location);
    default:
        return {}; // 8, 14, 15, 21, 22, 46, 58, 68, 78-81, 88 and above
    }
}

// Texts from another record go in only when they say something.
template <std::size_t N> void CopyIfSet(char (&field)[N], const char (&text)[N]) noexcept
{
    if (text[0] != '\0') {
        CopyText(field, text);
    }
}

void CopyAddress(AddressBlock& to, const AddressBlock& from) noexcept
{
    CopyIfSet(to.Country, from.Country);
    CopyIfSet(to.State, from.State);
    CopyIfSet(to.City, from.City);
    CopyIfSet(to.Street, from.Street);
    CopyIfSet(to.Postal, from.Postal);
}

} // namespace

CommAddrMgr::CommAddrMgr() noexcept : CommStore(g_matchKeys, g_compareKeys) {}

bool CommAddrMgr::KeysAgree(const CommAddrRec& a, const CommAddrRec& b, std::span<const int> keys) noexcept
{
    if (keys.empty()) {
        return false;
    }
    for (int key : keys) {
        const KeyValue x = ValueOf(a, key);
        if (x.kind == KeyValue::Text) {
            if (!CommKeyCompare::TextIgnoringBreaks(x.text, ValueOf(b, key).text)) {
                return false;
            }
        } else if (x.kind == KeyValue::Date) {
            if (!(x.date == ValueOf(b, key).date)) {
                return false;
            }
        }
    }
    return true;
}

bool CommAddrMgr::KeysHash(const CommAddrRec& record, std::span<const int> keys, std::uint64_t& hash) noexcept
{
    if (keys.empty()) {
        return false;
    }
    CommKeyHash h;
    for (int key : keys) {
        const KeyValue v = ValueOf(record, key);
        if (v.kind == KeyValue::Text) {
            CommKeyCompare::HashIgnoringBreaks(h, v.text);
        } else if (v.kind == KeyValue::Date && !CommKeyCompare::HashExactDouble(h, v.date)) {
            return false;
        }
    }
    hash = h.Value();
    return true;
}

bool CommAddrMgr::Update(const CommAddrRec* record, int index) noexcept
{
    if (record == nullptr) {
        return false;
    }
    CommAddrRec* to = RecordAt(index);
    if (to == nullptr) {
        return false;
    }
    const CommAddrRec& from = *record;
    CopyIfSet(to->FirstName, from.FirstName);
    CopyIfSet(to->MiddleName, from.MiddleName);
    CopyIfSet(to->LastName, from.LastName);
    CopyIfSet(to->Prefix, from.Prefix);
    CopyIfSet(to->Suffix, from.Suffix);
    CopyIfSet(to->NickName, from.NickName);
    CopyIfSet(to->DisplayName, from.DisplayName);
    CopyAddress(to->WorkAddress, from.WorkAddress);
    CopyAddress(to->HomeAddress, from.HomeAddress);
    CopyAddress(to->OtherAddress, from.OtherAddress);
    CopyIfSet(to->HomePhone, from.HomePhone);
    CopyIfSet(to->WorkPhone, from.WorkPhone);
    CopyIfSet(to->MobilePhone, from.MobilePhone);
    CopyIfSet(to->PrimaryPhone, from.PrimaryPhone);
    CopyIfSet(to->OtherPhone, from.OtherPhone);
    CopyIfSet(to->CallbackPhone, from.CallbackPhone);
    CopyIfSet(to->RadioPhone, from.RadioPhone);
    CopyIfSet(to->CarPhone, from.CarPhone);
    CopyIfSet(to->WorkPhone2, from.WorkPhone2);
    CopyIfSet(to->HomePhone2, from.HomePhone2);
    CopyIfSet(to->WorkFax, from.WorkFax);
    CopyIfSet(to->HomeFax, from.HomeFax);
    CopyIfSet(to->Pager, from.Pager);
    CopyIfSet(to->Email, from.Email);
    CopyIfSet(to->Email2, from.Email2);
    CopyIfSet(to->Email3, from.Email3);
    CopyIfSet(to->WorkHomePage, from.WorkHomePage);
    CopyIfSet(to->PersonalHomePage, from.PersonalHomePage);
    CopyIfSet(to->FtpSite, from.FtpSite);
    CopyIfSet(to->Note, from.Note);
    for (int i = 0; i < 10; ++i) {
        CopyIfSet(to->CustomValues[i], from.CustomValues[i]);
        CopyIfSet(to->MappedValues[i], from.MappedValues[i]);
    }
    CopyIfSet(to->Company, from.Company);
    CopyIfSet(to->Title, from.Title);
    CopyIfSet(to->Department, from.Department);
    CopyIfSet(to->IM1, from.IM1);
    CopyIfSet(to->IM2, from.IM2);
    CopyIfSet(to->ManagerName, from.ManagerName);
    CopyIfSet(to->AssistantName, from.AssistantName);
    CopyIfSet(to->AssistantPhone, from.AssistantPhone);
    CopyIfSet(to->SpouseName, from.SpouseName);
    CopyIfSet(to->ChildrenNames, from.ChildrenNames);
    CopyIfSet(to->Profession, from.Profession);
    CopyIfSet(to->Hobby, from.Hobby);
    CopyIfSet(to->Account, from.Account);
    CopyIfSet(to->Keyword, from.Keyword);
    CopyIfSet(to->Language, from.Language);
    CopyIfSet(to->Location, from.Location);
    CopyIfSet(to->MhsCommonName, from.MhsCommonName);
    CopyIfSet(to->CustomerId, from.CustomerId);
    CopyIfSet(to->GovernmentId, from.GovernmentId);
    CopyIfSet(to->OrganizationId, from.OrganizationId);
    CopyIfSet(to->Category, from.Category);
    for (int i = 0; i < 9; ++i) {
        CopyIfSet(to->CustomLabels[i], from.CustomLabels[i]);
    }
    to->Birthday = from.Birthday;
    to->Anniversary = from.Anniversary;
    Reindex(index);
    return true;
}
