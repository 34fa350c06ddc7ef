#include "outlook/OlAddrConvert.h"

#include <string>
#include <type_traits>

#include "outlook/OlAddrFieldTable.h"

namespace {

constexpr std::int32_t kSourceOutlook = 3;

// The pairs that go both ways: a common-record field and the Outlook field it comes from.
template <class Common, class Outlook, class Visit> void VisitPairs(Common& c, Outlook& o, Visit&& pair)
{
    pair(c.FirstName, o.FirstName);
    pair(c.LastName, o.LastName);
    pair(c.MiddleName, o.MiddleName);
    pair(c.Prefix, o.Initials);
    pair(c.Suffix, o.Suffix);
    pair(c.NickName, o.NickName);
    pair(c.DisplayName, o.FullName);
    pair(c.WorkAddress.Street, o.BusinessAddressStreet);
    pair(c.WorkAddress.City, o.BusinessAddressCity);
    pair(c.WorkAddress.State, o.BusinessAddressState);
    pair(c.WorkAddress.Postal, o.BusinessAddressPostalCode);
    pair(c.WorkAddress.Country, o.BusinessAddressCountry);
    pair(c.HomeAddress.Street, o.HomeAddressStreet);
    pair(c.HomeAddress.City, o.HomeAddressCity);
    pair(c.HomeAddress.State, o.HomeAddressState);
    pair(c.HomeAddress.Postal, o.HomeAddressPostalCode);
    pair(c.HomeAddress.Country, o.HomeAddressCountry);
    pair(c.OtherAddress.Street, o.OtherAddressStreet);
    pair(c.OtherAddress.City, o.OtherAddressCity);
    pair(c.OtherAddress.State, o.OtherAddressState);
    pair(c.OtherAddress.Postal, o.OtherAddressPostalCode);
    pair(c.OtherAddress.Country, o.OtherAddressCountry);
    pair(c.HomePhone, o.HomeTelephoneNumber);
    pair(c.WorkPhone, o.BusinessTelephoneNumber);
    pair(c.MobilePhone, o.MobileTelephoneNumber);
    pair(c.PrimaryPhone, o.PrimaryTelephoneNumber);
    pair(c.OtherPhone, o.OtherTelephoneNumber);
    pair(c.CallbackPhone, o.CallbackTelephoneNumber);
    pair(c.RadioPhone, o.RadioTelephoneNumber);
    pair(c.CarPhone, o.CarTelephoneNumber);
    pair(c.WorkFax, o.BusinessFaxNumber);
    pair(c.HomeFax, o.HomeFaxNumber);
    pair(c.Email, o.Email1Address);
    pair(c.Email2, o.Email2Address);
    pair(c.Email3, o.Email3Address);
    pair(c.WorkHomePage, o.BusinessHomePage);
    pair(c.PersonalHomePage, o.PersonalHomePage);
    pair(c.FtpSite, o.FTPSite);
    pair(c.Note, o.Body);
    for (int i = 0; i < kOlUserProps; ++i) {
        pair(c.CustomLabels[i], o.UserPropNames[i]);
        pair(c.CustomValues[i], o.UserPropValues[i]);
    }
    pair(c.Company, o.CompanyName);
    pair(c.Title, o.JobTitle);
    pair(c.Department, o.Department);
    pair(c.IM1, o.IMAddress);
    pair(c.ManagerName, o.ManagerName);
    pair(c.AssistantName, o.AssistantName);
    pair(c.AssistantPhone, o.AssistantTelephoneNumber);
    pair(c.SpouseName, o.Spouse);
    pair(c.Profession, o.Profession);
    pair(c.Hobby, o.Hobby);
    pair(c.Account, o.Account);
    pair(c.Birthday, o.Birthday);
    pair(c.Anniversary, o.Anniversary);
    pair(c.Language, o.Language);
    pair(c.CustomerId, o.CustomerID);
    pair(c.Category, o.Categories);
}

} // namespace

void FromNative(const OlAddrRec& native, CommAddrRec& rec, const OlAddrFieldMap& fieldMap)
{
    VisitPairs(rec, native, [](auto& common, const auto& outlook) {
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(common)>, double>) {
            common = outlook;
        } else {
            CopyText(common, outlook);
        }
    });
    rec.CreationTime = native.CreationTime;
    rec.LastModificationTime = native.LastModificationTime;
    for (int i = 0; i < kOlUserProps; ++i) {
        std::string text;
        if (fieldMap[i] != 0 && OlAddrFieldText(native, fieldMap[i], text)) {
            CopyText(rec.MappedValues[i], text);
        }
    }
    rec.SourceType = kSourceOutlook;
}

void ToNative(const CommAddrRec& rec, OlAddrRec& native)
{
    VisitPairs(rec, native, [](const auto& common, auto& outlook) {
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(common)>, double>) {
            outlook = common;
        } else {
            CopyText(outlook, common);
        }
    });
    CopyText(native.BusinessAddressPostOfficeBox, rec.WorkAddress.POBox);
    CopyText(native.HomeAddressPostOfficeBox, rec.HomeAddress.POBox);
    CopyText(native.OtherAddressPostOfficeBox, rec.OtherAddress.POBox);
    for (int i = 0; i < kOlUserProps; ++i) {
        if (rec.MappedValues[i][0] != '\0') {
            CopyText(native.UserPropValues[i], rec.MappedValues[i]);
        }
    }
}
