#include "google/CxGAddrUtil.h"

#include <cstring>
#include <string_view>

#include "misc/CustomFieldMap.h"
#include "misc/CxDebugUtil.h"

namespace {

const CxHelperWords kWords = {"Start loading Google Contacts.", "Load Google Contacts successfully.",
                              "Error loading Google Contacts.", "Failed to open file: %s", nullptr};

// The texts that a Google record holds only in part: the address parts that are smaller there
// than in the common record.
constexpr CommTextLimit kTextLimits[] = {
    {AddrKey::WorkStreet, "WorkAddress.Street", sizeof(GGAddrRec::Streets[0]) - 1},
    {AddrKey::WorkState, "WorkAddress.State", sizeof(GGAddrRec::States[0]) - 1},
    {AddrKey::WorkCountry, "WorkAddress.Country", sizeof(GGAddrRec::Countries[0]) - 1},
    {AddrKey::HomeStreet, "HomeAddress.Street", sizeof(GGAddrRec::Streets[0]) - 1},
    {AddrKey::HomeState, "HomeAddress.State", sizeof(GGAddrRec::States[0]) - 1},
    {AddrKey::HomeCountry, "HomeAddress.Country", sizeof(GGAddrRec::Countries[0]) - 1},
    {AddrKey::OtherStreet, "OtherAddress.Street", sizeof(GGAddrRec::Streets[0]) - 1},
    {AddrKey::OtherState, "OtherAddress.State", sizeof(GGAddrRec::States[0]) - 1},
    {AddrKey::OtherCountry, "OtherAddress.Country", sizeof(GGAddrRec::Countries[0]) - 1},
};

// A text field of the table, without making its slot: empty when there is none.
std::string_view Get(const GGAddrRec& native, int id)
{
    std::string_view text;
    return GGAddrTextField(native, id, &text) ? text : std::string_view();
}

// A slot date without making its slot: 0 when there is none.
double GetDate(const GGAddrRec& native, int id)
{
    const int slot = GGAddrFindSlot(native, id);
    return slot < 0 ? 0 : native.Dates[slot];
}

// Writes a text field, making its slot; cut to the field. Nothing when the array is full.
void Set(GGAddrRec& native, int id, std::string_view text)
{
    const GGAddrFieldRef ref = GGAddrFieldPtr(native, id);
    if (ref.Text == nullptr || ref.Width < 1) {
        return;
    }
    const std::size_t most = static_cast<std::size_t>(ref.Width) - 1;
    const std::size_t length = text.size() < most ? text.size() : most;
    if (length > 0) {
        std::memmove(ref.Text, text.data(), length);
    }
    ref.Text[length] = '\0';
}

void SetDate(GGAddrRec& native, int id, double date)
{
    const GGAddrFieldRef ref = GGAddrFieldPtr(native, id);
    if (ref.Date != nullptr) {
        *ref.Date = date;
    }
}

// The three postal addresses of the common record and their place among an address part's
// identifiers, in the order they are written.
struct AddressPlace
{
    AddressBlock CommAddrRec::*block;
    int offset;
};
constexpr AddressPlace kAddresses[] = {
    {&CommAddrRec::WorkAddress, GGAddrFieldWorkOffset},
    {&CommAddrRec::HomeAddress, 0},
    {&CommAddrRec::OtherAddress, GGAddrFieldOtherOffset},
};

// The phones of kinds 1..7.
char (CommAddrRec::*const kPhones[])[24] = {
    &CommAddrRec::HomePhone, &CommAddrRec::WorkPhone, &CommAddrRec::MobilePhone, &CommAddrRec::HomeFax,
    &CommAddrRec::WorkFax,   &CommAddrRec::Pager,     &CommAddrRec::OtherPhone,
};

void ToComm(const GGAddrRec& native, CommAddrRec& record)
{
    CopyText(record.FirstName, native.FirstName);
    CopyText(record.MiddleName, native.MiddleName);
    CopyText(record.LastName, native.LastName);
    CopyText(record.DisplayName, native.DisplayName);
    CopyText(record.NickName, native.NickName);
    CopyText(record.Company, native.Company);
    CopyText(record.Title, native.JobTitle);

    const std::string_view work = Get(native, GGAddrFieldEmailWork);
    CopyText(record.Email, !work.empty() ? work : FieldText(native.PrimaryEmail));
    CopyText(record.Email2, Get(native, GGAddrFieldEmailHome));
    CopyText(record.Email3, Get(native, GGAddrFieldEmailOther));

    for (const AddressPlace& place : kAddresses) {
        AddressBlock& address = record.*place.block;
        CopyText(address.Street, Get(native, GGAddrFieldStreetHome + place.offset));
        CopyText(address.City, Get(native, GGAddrFieldCityHome + place.offset));
        CopyText(address.State, Get(native, GGAddrFieldStateHome + place.offset));
        CopyText(address.Postal, Get(native, GGAddrFieldPostalHome + place.offset));
        CopyText(address.Country, Get(native, GGAddrFieldCountryHome + place.offset));
        CopyText(address.POBox, Get(native, GGAddrFieldPOBoxHome + place.offset));
        CopyText(address.Neighborhood, Get(native, GGAddrFieldNeighborhoodHome + place.offset));
    }

    for (int kind = 1; kind <= 7; ++kind) {
        CopyText(record.*kPhones[kind - 1], Get(native, GGAddrFieldPhoneHome + kind - 1));
    }
    CopyText(record.PrimaryPhone, native.PrimaryPhone);

    record.Birthday = GetDate(native, GGAddrFieldBirthday);
    record.Anniversary = GetDate(native, GGAddrFieldAnniversary);
    CopyText(record.IM1, Get(native, GGAddrFieldIMGTalk));
    CopyText(record.IM2, Get(native, GGAddrFieldIMMsn));
    CopyText(record.SpouseName, Get(native, GGAddrFieldSpouse));
    CopyText(record.ManagerName, Get(native, GGAddrFieldManager));
    CopyText(record.AssistantName, Get(native, GGAddrFieldAssistant));

    for (int i = 0; i < GGCustomSlots; ++i) {
        CopyText(record.CustomValues[i], native.CustomFields[i]);
        CopyText(record.CustomLabels[i], native.CustomLabels[i]);
    }
    CopyText(record.Note, native.Note);
    CopyText(record.Category, native.Category);

    for (int slot = 0; slot < kMappedFieldSlots; ++slot) {
        const int id = GetMappedField(kAppGoogle, slot + 1);
        std::string_view value;
        if (id != 0 && GGAddrTextField(native, id, &value)) {
            CopyText(record.MappedValues[slot], value);
        }
    }
    record.SourceType = SourceGoogle;
}

void ToNative(const CommAddrRec& record, GGAddrRec& native)
{
    // 1. Names, company, job title.
    CopyText(native.FirstName, record.FirstName);
    CopyText(native.MiddleName, record.MiddleName);
    CopyText(native.LastName, record.LastName);
    CopyText(native.DisplayName, record.DisplayName);
    CopyText(native.NickName, record.NickName);
    CopyText(native.Company, record.Company);
    CopyText(native.JobTitle, record.Title);

    // 2. E-mail addresses: the work one is also the primary one.
    Set(native, GGAddrFieldEmailWork, FieldText(record.Email));
    Set(native, GGAddrFieldEmailHome, FieldText(record.Email2));
    Set(native, GGAddrFieldEmailOther, FieldText(record.Email3));
    CopyText(native.PrimaryEmail, record.Email);

    // 3. Postal addresses (the formatted addresses are left as they are).
    for (const AddressPlace& place : kAddresses) {
        const AddressBlock& address = record.*place.block;
        Set(native, GGAddrFieldStreetHome + place.offset, FieldText(address.Street));
        Set(native, GGAddrFieldCityHome + place.offset, FieldText(address.City));
        Set(native, GGAddrFieldStateHome + place.offset, FieldText(address.State));
        Set(native, GGAddrFieldPostalHome + place.offset, FieldText(address.Postal));
        Set(native, GGAddrFieldCountryHome + place.offset, FieldText(address.Country));
        Set(native, GGAddrFieldPOBoxHome + place.offset, FieldText(address.POBox));
        Set(native, GGAddrFieldNeighborhoodHome + place.offset, FieldText(address.Neighborhood));
    }

    // 4. Phones; without a primary phone the first number of the slots is the primary one.
    for (int kind = 1; kind <= 7; ++kind) {
        Set(native, GGAddrFieldPhoneHome + kind - 1, FieldText(record.*kPhones[kind - 1]));
    }
    CopyText(native.PrimaryPhone, record.PrimaryPhone);
    for (int slot = 0; native.PrimaryPhone[0] == '\0' && slot < GGPhoneSlots; ++slot) {
        CopyText(native.PrimaryPhone, native.Phones[slot]);
    }

    // 5. Dates.
    SetDate(native, GGAddrFieldBirthday, record.Birthday);
    SetDate(native, GGAddrFieldAnniversary, record.Anniversary);

    // 6. Instant messaging and relations.
    Set(native, GGAddrFieldIMGTalk, FieldText(record.IM1));
    Set(native, GGAddrFieldIMMsn, FieldText(record.IM2));
    Set(native, GGAddrFieldSpouse, FieldText(record.SpouseName));
    Set(native, GGAddrFieldManager, FieldText(record.ManagerName));
    Set(native, GGAddrFieldAssistant, FieldText(record.AssistantName));

    // 7. Custom fields and labels, note, category.
    for (int i = 0; i < GGCustomSlots; ++i) {
        CopyText(native.CustomFields[i], record.CustomValues[i]);
        CopyText(native.CustomLabels[i], record.CustomLabels[i]);
    }
    CopyText(native.Note, record.Note);
    CopyText(native.Category, record.Category);

    // 8. The mapped values take the custom fields of their slots.
    for (int i = 0; i < GGCustomSlots; ++i) {
        if (record.MappedValues[i][0] != '\0') {
            CopyText(native.CustomFields[i], record.MappedValues[i]);
        }
    }
}

} // namespace

CxGAddrUtil::CxGAddrUtil() : CxHelperRecordUtil(GGAddrFiles, kWords)
{
    GetStore()->SetTextLimits(kTextLimits);
}

bool CxGAddrUtil::SetCustomMapping(int slot, int fieldId)
{
    if (slot < 0 || slot >= kMappedFieldSlots) {
        return false;
    }
    SetMappedField(kAppGoogle, slot + 1, fieldId);
    return true;
}

int CxGAddrUtil::GetCustomMapping(int slot) const
{
    return GetMappedField(kAppGoogle, slot + 1);
}

int CxGAddrUtil::FindSlot(GGAddrRec& native, int fieldId, bool create)
{
    return GGAddrFindSlot(native, fieldId, create);
}

GGAddrFieldRef CxGAddrUtil::FieldPtr(GGAddrRec& native, int fieldId)
{
    return GGAddrFieldPtr(native, fieldId);
}

std::string CxGAddrUtil::FieldText(const GGAddrRec& native, int fieldId)
{
    return GGAddrFieldText(native, fieldId);
}

bool CxGAddrUtil::ConvertToComm(const GGAddrRec* native, CommAddrRec* record)
{
    if (native == nullptr || record == nullptr) {
        FW_LOG(0, "Invalid parameter to convert Google Contact record to Common Contact record.");
        return false;
    }
    ToComm(*native, *record);
    return true;
}

bool CxGAddrUtil::ConvertToNative(const CommAddrRec* record, GGAddrRec* native)
{
    if (native == nullptr || record == nullptr) {
        return false;
    }
    ToNative(*record, *native);
    return true;
}

bool CxGAddrUtil::LoadRecFromFile_(CxFile& file, GGAddrRec& native)
{
    return LoadGGAddrRecord(file, native);
}

bool CxGAddrUtil::SaveRecToFile_(CxFile& file, const GGAddrRec& native)
{
    return SaveGGAddrRecord(file, native);
}

void CxGAddrUtil::NativeToComm_(const GGAddrRec& native, CommAddrRec& record)
{
    ConvertToComm(&native, &record);
}

void CxGAddrUtil::CommToNative_(const CommAddrRec& record, GGAddrRec& native)
{
    ConvertToNative(&record, &native);
}

void CxGAddrUtil::MarkChanged_(GGAddrRec& native, int action)
{
    native.ChangeMark = GGAddrChangeMarkSubmit;
    native.Action = action;
}

bool CxGAddrUtil::LoadFromFile()
{
    FW_LOG(2, "Start loading Google Contacts from temperary file: %s", DataFilePath().c_str());
    if (!CxHelperRecordUtil::LoadFromFile()) {
        return false;
    }
    FW_LOG(2, "There are %d Contact records in total.", GetNativeCount());
    FW_LOG(2, "Load Google Contacts information from file successfully.");
    return true;
}

bool CxGAddrUtil::SaveToFile()
{
    FW_LOG(2, "Start saving Google Contacts information to file: %s", DataFilePath().c_str());
    if (!CxHelperRecordUtil::SaveToFile()) {
        FW_LOG(0, "Failed to save Contacts record information to temperary file.");
        return false;
    }
    FW_LOG(2, "Save Google Contacts information to file successfully.");
    return true;
}
