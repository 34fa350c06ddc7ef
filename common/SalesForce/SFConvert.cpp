#include "SalesForce/SFConvert.h"

namespace {

// The text pairs of both directions: the common field, the native field.
// Const or not on either side, so that one list serves both directions.
template <class Rec, class Native, class Visit> void VisitTextPairs(Rec& record, Native& native, Visit visit)
{
    visit(record.FirstName, native.FirstName);
    visit(record.LastName, native.LastName);
    visit(record.Salutation, native.Salutation);
    visit(record.Department, native.Department);
    visit(record.Title, native.Title);
    visit(record.DisplayName, native.Name);
    visit(record.AssistantName, native.AssistantName);
    visit(record.AssistantPhone, native.AssistantPhone);
    visit(record.Email, native.Email);
    visit(record.MobilePhone, native.MobilePhone);
    visit(record.OtherPhone, native.OtherPhone);
    visit(record.WorkPhone, native.Phone);
    visit(record.HomePhone, native.HasPhone);
    visit(record.WorkFax, native.Fax);
    visit(record.WorkAddress.Street, native.MailingStreet);
    visit(record.WorkAddress.City, native.MailingCity);
    visit(record.WorkAddress.State, native.MailingState);
    visit(record.WorkAddress.Postal, native.MailingPostalCode);
    visit(record.WorkAddress.Country, native.MailingCountry);
    visit(record.OtherAddress.Street, native.OtherStreet);
    visit(record.OtherAddress.City, native.OtherCity);
    visit(record.OtherAddress.State, native.OtherState);
    visit(record.OtherAddress.Postal, native.OtherPostalCode);
    visit(record.OtherAddress.Country, native.OtherCountry);
    visit(record.Note, native.Description);
    visit(record.ExtraText, native.LeadSource);
}

template <class Native> auto CustomFields(Native& native)
{
    struct Fields
    {
        decltype(&native.Custom1) at[10];
    };
    return Fields{{&native.Custom1, &native.Custom2, &native.Custom3, &native.Custom4, &native.Custom5,
                   &native.Custom6, &native.Custom7, &native.Custom8, &native.Custom9, &native.Custom10}};
}

} // namespace

void SFAddrToComm(const SFAddrRec& native, CommAddrRec& record)
{
    VisitTextPairs(record, native, [](auto& common, const auto& field) { CopyText(common, field); });
    const auto custom = CustomFields(native);
    for (int i = 0; i < 10; ++i) {
        CopyText(record.CustomValues[i], *custom.at[i]);
    }
    record.Birthday = native.BirthDate;
    record.CreationTime = native.Created;
    record.LastModificationTime = native.LastModified;
}

void CommToSFAddr(const CommAddrRec& record, SFAddrRec& native)
{
    VisitTextPairs(record, native, [](const auto& common, auto& field) { CopyText(field, common); });
    const auto custom = CustomFields(native);
    for (int i = 0; i < 10; ++i) {
        CopyText(*custom.at[i],
                 record.MappedValues[i][0] != '\0' ? record.MappedValues[i] : record.CustomValues[i]);
    }
}
