#include "outlook/OlAddrFieldTable.h"

#include <cstddef>
#include <cstring>
#include <iterator>

#include "outlook/OlAddrRec.h"

namespace {

struct Entry
{
    OlFieldInfo info;
    std::size_t offset; // of the field in OlAddrRec
    std::size_t size;   // of the field's own buffer: the entry's width may say otherwise (Suffix)
};

#define OL_TEXT(F) offsetof(OlAddrRec, F), sizeof(OlAddrRec::F)
#define OL_DATE(F) offsetof(OlAddrRec, F), sizeof(OlAddrRec::F)
#define OL_LONG(F) offsetof(OlAddrRec, F), sizeof(OlAddrRec::F)

const Entry kTable[] = {
    {{1, "Account", kOlFieldText, 32}, OL_TEXT(Account)},
    {{2, "Anniversary", kOlFieldDate, 8}, OL_DATE(Anniversary)},
    {{3, "Assistant Name", kOlFieldText, 64}, OL_TEXT(AssistantName)},
    {{4, "Assistant Phone", kOlFieldText, 24}, OL_TEXT(AssistantTelephoneNumber)},
    {{5, "Birthday", kOlFieldDate, 8}, OL_DATE(Birthday)},
    {{6, "Business Phone 2", kOlFieldText, 24}, OL_TEXT(Business2TelephoneNumber)},
    {{7, "Business City", kOlFieldText, 24}, OL_TEXT(BusinessAddressCity)},
    {{8, "Business Country", kOlFieldText, 24}, OL_TEXT(BusinessAddressCountry)},
    {{9, "Business Postal", kOlFieldText, 12}, OL_TEXT(BusinessAddressPostalCode)},
    {{10, "Business P/O Box", kOlFieldText, 12}, OL_TEXT(BusinessAddressPostOfficeBox)},
    {{11, "Business State", kOlFieldText, 24}, OL_TEXT(BusinessAddressState)},
    {{12, "Business Street", kOlFieldText, 128}, OL_TEXT(BusinessAddressStreet)},
    {{13, "Business Fax", kOlFieldText, 24}, OL_TEXT(BusinessFaxNumber)},
    {{14, "Business Home Page", kOlFieldText, 256}, OL_TEXT(BusinessHomePage)},
    {{15, "Business Phone", kOlFieldText, 24}, OL_TEXT(BusinessTelephoneNumber)},
    {{16, "Callback Phone", kOlFieldText, 24}, OL_TEXT(CallbackTelephoneNumber)},
    {{17, "Car Phone", kOlFieldText, 24}, OL_TEXT(CarTelephoneNumber)},
    {{18, "Company Phone", kOlFieldText, 24}, OL_TEXT(CompanyMainTelephoneNumber)},
    {{19, "Company Name", kOlFieldText, 64}, OL_TEXT(CompanyName)},
    {{20, "Computer Name", kOlFieldText, 32}, OL_TEXT(ComputerNetworkName)},
    {{21, "Customer ID", kOlFieldText, 24}, OL_TEXT(CustomerID)},
    {{22, "Department", kOlFieldText, 32}, OL_TEXT(Department)},
    {{23, "Email 1", kOlFieldText, 64}, OL_TEXT(Email1Address)},
    {{25, "Email 1 Display Name", kOlFieldText, 64}, OL_TEXT(Email1DisplayName)},
    {{26, "Email 2", kOlFieldText, 64}, OL_TEXT(Email2Address)},
    {{28, "Email 2 Display Name", kOlFieldText, 64}, OL_TEXT(Email2DisplayName)},
    {{29, "Email 3", kOlFieldText, 64}, OL_TEXT(Email3Address)},
    {{31, "Email 3 Display Name", kOlFieldText, 64}, OL_TEXT(Email3DisplayName)},
    {{32, "First Name", kOlFieldText, 64}, OL_TEXT(FirstName)},
    {{33, "FTP Site", kOlFieldText, 256}, OL_TEXT(FTPSite)},
    {{34, "Gender", kOlFieldLong, 4}, OL_LONG(Gender)},
    {{35, "Hobbies", kOlFieldText, 128}, OL_TEXT(Hobby)},
    {{36, "Home Phone 2", kOlFieldText, 24}, OL_TEXT(Home2TelephoneNumber)},
    {{37, "Home City", kOlFieldText, 24}, OL_TEXT(HomeAddressCity)},
    {{38, "Home Country", kOlFieldText, 24}, OL_TEXT(HomeAddressCountry)},
    {{39, "Home Postal", kOlFieldText, 12}, OL_TEXT(HomeAddressPostalCode)},
    {{40, "Home P/O Box", kOlFieldText, 12}, OL_TEXT(HomeAddressPostOfficeBox)},
    {{41, "Home State", kOlFieldText, 24}, OL_TEXT(HomeAddressState)},
    {{42, "Home Street", kOlFieldText, 128}, OL_TEXT(HomeAddressStreet)},
    {{43, "Home Fax", kOlFieldText, 24}, OL_TEXT(HomeFaxNumber)},
    {{44, "Home Phone", kOlFieldText, 24}, OL_TEXT(HomeTelephoneNumber)},
    {{45, "ISDN Number", kOlFieldText, 24}, OL_TEXT(ISDNNumber)},
    {{46, "Job Title", kOlFieldText, 32}, OL_TEXT(JobTitle)},
    {{47, "Last Name", kOlFieldText, 64}, OL_TEXT(LastName)},
    {{48, "Mail City", kOlFieldText, 24}, OL_TEXT(MailingAddressCity)},
    {{49, "Mail Country", kOlFieldText, 24}, OL_TEXT(MailingAddressCountry)},
    {{50, "Mail Postal", kOlFieldText, 12}, OL_TEXT(MailingAddressPostalCode)},
    {{51, "Mail P/O Box", kOlFieldText, 12}, OL_TEXT(MailingAddressPostOfficeBox)},
    {{52, "Mail State", kOlFieldText, 24}, OL_TEXT(MailingAddressState)},
    {{53, "Mail Street", kOlFieldText, 128}, OL_TEXT(MailingAddressStreet)},
    {{54, "Manager Name", kOlFieldText, 64}, OL_TEXT(ManagerName)},
    {{55, "Middle Name", kOlFieldText, 64}, OL_TEXT(MiddleName)},
    {{56, "Mobile Phone", kOlFieldText, 24}, OL_TEXT(MobileTelephoneNumber)},
    {{57, "Nick Name", kOlFieldText, 64}, OL_TEXT(NickName)},
    {{58, "Other City", kOlFieldText, 24}, OL_TEXT(OtherAddressCity)},
    {{59, "Other Country", kOlFieldText, 24}, OL_TEXT(OtherAddressCountry)},
    {{60, "Other Postal", kOlFieldText, 12}, OL_TEXT(OtherAddressPostalCode)},
    {{61, "Other P/O Box", kOlFieldText, 12}, OL_TEXT(OtherAddressPostOfficeBox)},
    {{62, "Other State", kOlFieldText, 24}, OL_TEXT(OtherAddressState)},
    {{63, "Other Street", kOlFieldText, 128}, OL_TEXT(OtherAddressStreet)},
    {{64, "Home Page", kOlFieldText, 256}, OL_TEXT(BusinessHomePage)},
    {{65, "Phone Number", kOlFieldText, 24}, OL_TEXT(PrimaryTelephoneNumber)},
    {{66, "Profession", kOlFieldText, 32}, OL_TEXT(Profession)},
    {{67, "Web", kOlFieldText, 256}, OL_TEXT(WebPage)},
    {{68, "Notes", kOlFieldText, 2048}, OL_TEXT(Body)},
    {{69, "Folder Name", kOlFieldText, 32}, OL_TEXT(FolderName)},
    {{70, "Other Phone", kOlFieldText, 24}, OL_TEXT(OtherTelephoneNumber)},
    {{71, "Radio Phone", kOlFieldText, 24}, OL_TEXT(RadioTelephoneNumber)},
    {{72, "Pager", kOlFieldText, 24}, OL_TEXT(PagerNumber)},
    {{73, "Full Name", kOlFieldText, 64}, OL_TEXT(FullName)},
    {{74, "Spouse Name", kOlFieldText, 64}, OL_TEXT(Spouse)},
    {{75, "Suffix", kOlFieldText, 64}, OL_TEXT(Suffix)},
    {{76, "Language", kOlFieldText, 8}, OL_TEXT(Language)},
    {{77, "IM Address", kOlFieldText, 32}, OL_TEXT(IMAddress)},
    {{78, "Category", kOlFieldText, 256}, OL_TEXT(Categories)},
};

#undef OL_TEXT
#undef OL_DATE
#undef OL_LONG

const Entry* Find(std::int32_t code)
{
    for (const Entry& entry : kTable) {
        if (entry.info.Code == code) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace

int OlAddrFieldCount()
{
    return static_cast<int>(std::size(kTable));
}

std::int32_t OlAddrFieldCode(int index)
{
    return index >= 0 && index < OlAddrFieldCount() ? kTable[index].info.Code : 0;
}

const char* OlAddrFieldLabel(int index)
{
    return index >= 0 && index < OlAddrFieldCount() ? kTable[index].info.Label : "N/A";
}

bool OlAddrFieldEntry(std::int32_t code, OlFieldInfo* info)
{
    const Entry* entry = Find(code);
    if (entry == nullptr) {
        return false;
    }
    if (info != nullptr) {
        *info = entry->info;
    }
    return true;
}

bool OlAddrFieldText(const OlAddrRec& rec, std::int32_t code, std::string& text)
{
    const Entry* entry = Find(code);
    if (entry == nullptr || entry->info.Type != kOlFieldText) {
        return false;
    }
    const char* field = reinterpret_cast<const char*>(&rec) + entry->offset;
    text.assign(field, ::strnlen(field, entry->size));
    return true;
}
