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

void CopyAddress(AddressBlock& to, const AddressBlock& from) noexcept
{
    CopyTextIfSet(to.Country, from.Country);
    CopyTextIfSet(to.State, from.State);
    CopyTextIfSet(to.City, from.City);
    CopyTextIfSet(to.Street, from.Street);
    CopyTextIfSet(to.Postal, from.Postal);
}

} // namespace

CommAddrMgr::CommAddrMgr() noexcept : CommStore(g_matchKeys, g_compareKeys) {}

bool CommAddrMgr::KeysAgree(const CommAddrRec& a, const CommAddrRec& b, std::span<const int> keys,
                            CommTextLimits limits) noexcept
{
    return CommKeyCompare::AllKeysAgree(keys, [&](int key) {
        const KeyValue x = ValueOf(a, key);
        if (x.kind == KeyValue::Text) {
            return CommKeyCompare::TextIgnoringBreaks(
                CommKeyCompare::Limited(x.text, limits, key),
                CommKeyCompare::Limited(ValueOf(b, key).text, limits, key));
        }
        return x.kind != KeyValue::Date || x.date == ValueOf(b, key).date;
    });
}

bool CommAddrMgr::KeysHash(const CommAddrRec& record, std::span<const int> keys, std::uint64_t& hash,
                           CommTextLimits limits) noexcept
{
    return CommKeyCompare::HashKeys(keys, hash, [&](CommKeyHash& h, int key) {
        const KeyValue v = ValueOf(record, key);
        if (v.kind == KeyValue::Text) {
            CommKeyCompare::HashIgnoringBreaks(h, CommKeyCompare::Limited(v.text, limits, key));
        } else if (v.kind == KeyValue::Date) {
            return CommKeyCompare::HashExactDouble(h, v.date);
        }
        return true;
    });
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
    CopyTextIfSet(to->FirstName, from.FirstName);
    CopyTextIfSet(to->MiddleName, from.MiddleName);
    CopyTextIfSet(to->LastName, from.LastName);
    CopyTextIfSet(to->Prefix, from.Prefix);
    CopyTextIfSet(to->Suffix, from.Suffix);
    CopyTextIfSet(to->NickName, from.NickName);
    CopyTextIfSet(to->DisplayName, from.DisplayName);
    CopyAddress(to->WorkAddress, from.WorkAddress);
    CopyAddress(to->HomeAddress, from.HomeAddress);
    CopyAddress(to->OtherAddress, from.OtherAddress);
    CopyTextIfSet(to->HomePhone, from.HomePhone);
    CopyTextIfSet(to->WorkPhone, from.WorkPhone);
    CopyTextIfSet(to->MobilePhone, from.MobilePhone);
    CopyTextIfSet(to->PrimaryPhone, from.PrimaryPhone);
    CopyTextIfSet(to->OtherPhone, from.OtherPhone);
    CopyTextIfSet(to->CallbackPhone, from.CallbackPhone);
    CopyTextIfSet(to->RadioPhone, from.RadioPhone);
    CopyTextIfSet(to->CarPhone, from.CarPhone);
    CopyTextIfSet(to->WorkPhone2, from.WorkPhone2);
    CopyTextIfSet(to->HomePhone2, from.HomePhone2);
    CopyTextIfSet(to->WorkFax, from.WorkFax);
    CopyTextIfSet(to->HomeFax, from.HomeFax);
    CopyTextIfSet(to->Pager, from.Pager);
    CopyTextIfSet(to->Email, from.Email);
    CopyTextIfSet(to->Email2, from.Email2);
    CopyTextIfSet(to->Email3, from.Email3);
    CopyTextIfSet(to->WorkHomePage, from.WorkHomePage);
    CopyTextIfSet(to->PersonalHomePage, from.PersonalHomePage);
    CopyTextIfSet(to->FtpSite, from.FtpSite);
    CopyTextIfSet(to->Note, from.Note);
    for (int i = 0; i < 10; ++i) {
        CopyTextIfSet(to->CustomValues[i], from.CustomValues[i]);
        CopyTextIfSet(to->MappedValues[i], from.MappedValues[i]);
    }
    CopyTextIfSet(to->Company, from.Company);
    CopyTextIfSet(to->Title, from.Title);
    CopyTextIfSet(to->Department, from.Department);
    CopyTextIfSet(to->IM1, from.IM1);
    CopyTextIfSet(to->IM2, from.IM2);
    CopyTextIfSet(to->ManagerName, from.ManagerName);
    CopyTextIfSet(to->AssistantName, from.AssistantName);
    CopyTextIfSet(to->AssistantPhone, from.AssistantPhone);
    CopyTextIfSet(to->SpouseName, from.SpouseName);
    CopyTextIfSet(to->ChildrenNames, from.ChildrenNames);
    CopyTextIfSet(to->Profession, from.Profession);
    CopyTextIfSet(to->Hobby, from.Hobby);
    CopyTextIfSet(to->Account, from.Account);
    CopyTextIfSet(to->Keyword, from.Keyword);
    CopyTextIfSet(to->Language, from.Language);
    CopyTextIfSet(to->Location, from.Location);
    CopyTextIfSet(to->MhsCommonName, from.MhsCommonName);
    CopyTextIfSet(to->CustomerId, from.CustomerId);
    CopyTextIfSet(to->GovernmentId, from.GovernmentId);
    CopyTextIfSet(to->OrganizationId, from.OrganizationId);
    CopyTextIfSet(to->Category, from.Category);
    for (int i = 0; i < 9; ++i) {
        CopyTextIfSet(to->CustomLabels[i], from.CustomLabels[i]);
    }
    to->Birthday = from.Birthday;
    to->Anniversary = from.Anniversary;
    Reindex(index);
    return true;
}
