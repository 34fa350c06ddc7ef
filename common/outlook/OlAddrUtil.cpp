#include "outlook/OlAddrUtil.h"

#include <cstddef>

#include "misc/CustomFieldMap.h"

namespace {

const OlItemTexts kTexts = {
    "Failed to get the name of the Contact folder. hr=0x%x",
    "Got the name of the Contacts folder: %s",
    "Failed to get the StoreID of the Contact folder. hr=0x%x",
    "Got the StoreID of the Contact folder: %s",
    "Failed to get the \"Items\" property of the Contact folder. hr=0x%x",
    "Failed to get the \"Items\" property of the Contact folder. hr=0x%x",
    "Failed to get the \"Items\" property of the Contact folder. hr=0x%x",
    "Failed to call the \"Add\" method. hr=0x%x",
    "Failed to get the Contact item by index: %d. hr=0x%x",
    nullptr,
    nullptr,
};

constexpr OlItemKind kKind = {olFolderContacts, olContactItem, true, false, false};

enum class Kind
{
    Text,
    Date,
    Long,
};

// One property of a contact item: where it lives in the record, how it is read, and whether it
// is written.
struct Property
{
    const OLECHAR* name;
    std::size_t offset;
    int size; // the buffer read into: the width, or less where fewer characters are read
    Kind kind;
    bool written;
};

#define FW_TEXT(field)                                                                                       \
    {                                                                                                        \
        u## #field, offsetof(OlAddrRec, field), static_cast<int>(sizeof(OlAddrRec::field)), Kind::Text, true \
    }
#define FW_DATE(field)                                                                                       \
    {                                                                                                        \
        u## #field, offsetof(OlAddrRec, field), 0, Kind::Date, true                                          \
    }

// In the order of the reads; the writes keep the same order (the times and the entry id are
// not written).
const Property kProperties[] = {
    {u"EntryID", offsetof(OlAddrRec, EntryID), static_cast<int>(sizeof(OlAddrRec::EntryID)) - 1, Kind::Text,
     false},
    FW_TEXT(Account),
    FW_DATE(Anniversary),
    FW_TEXT(AssistantName),
    FW_TEXT(AssistantTelephoneNumber),
    FW_DATE(Birthday),
    FW_TEXT(Business2TelephoneNumber),
    FW_TEXT(BusinessAddressCity),
    FW_TEXT(BusinessAddressCountry),
    FW_TEXT(BusinessAddressPostalCode),
    FW_TEXT(BusinessAddressPostOfficeBox),
    FW_TEXT(BusinessAddressState),
    FW_TEXT(BusinessAddressStreet),
    FW_TEXT(BusinessFaxNumber),
    FW_TEXT(BusinessHomePage),
    FW_TEXT(BusinessTelephoneNumber),
    FW_TEXT(CallbackTelephoneNumber),
    FW_TEXT(CarTelephoneNumber),
    FW_TEXT(CompanyMainTelephoneNumber),
    FW_TEXT(CompanyName),
    FW_TEXT(ComputerNetworkName),
    FW_TEXT(CustomerID),
    FW_TEXT(Department),
    FW_TEXT(Email1Address),
    FW_TEXT(Email1AddressType),
    FW_TEXT(Email1DisplayName),
    FW_TEXT(Email2Address),
    FW_TEXT(Email2AddressType),
    FW_TEXT(Email2DisplayName),
    FW_TEXT(Email3Address),
    FW_TEXT(Email3AddressType),
    FW_TEXT(Email3DisplayName),
    FW_TEXT(FirstName),
    FW_TEXT(FTPSite),
    FW_TEXT(FullName),
    {u"Gender", offsetof(OlAddrRec, Gender), 0, Kind::Long, true},
    FW_TEXT(Hobby),
    FW_TEXT(Home2TelephoneNumber),
    FW_TEXT(HomeAddressCity),
    FW_TEXT(HomeAddressCountry),
    FW_TEXT(HomeAddressPostalCode),
    FW_TEXT(HomeAddressPostOfficeBox),
    FW_TEXT(HomeAddressState),
    FW_TEXT(HomeAddressStreet),
    FW_TEXT(HomeFaxNumber),
    FW_TEXT(HomeTelephoneNumber),
    FW_TEXT(IMAddress),
    FW_TEXT(Initials),
    FW_TEXT(ISDNNumber),
    FW_TEXT(JobTitle),
    FW_TEXT(Language),
    FW_TEXT(LastName),
    FW_TEXT(MailingAddressCity),
    FW_TEXT(MailingAddressCountry),
    FW_TEXT(MailingAddressPostalCode),
    FW_TEXT(MailingAddressPostOfficeBox),
    FW_TEXT(MailingAddressState),
    FW_TEXT(MailingAddressStreet),
    FW_TEXT(ManagerName),
    FW_TEXT(MiddleName),
    FW_TEXT(MobileTelephoneNumber),
    FW_TEXT(NickName),
    FW_TEXT(OtherAddressCity),
    FW_TEXT(OtherAddressCountry),
    FW_TEXT(OtherAddressPostalCode),
    FW_TEXT(OtherAddressPostOfficeBox),
    FW_TEXT(OtherAddressState),
    FW_TEXT(OtherAddressStreet),
    FW_TEXT(OtherTelephoneNumber),
    FW_TEXT(PagerNumber),
    FW_TEXT(PersonalHomePage),
    FW_TEXT(PrimaryTelephoneNumber),
    FW_TEXT(Profession),
    FW_TEXT(RadioTelephoneNumber),
    FW_TEXT(Spouse),
    FW_TEXT(WebPage),
    FW_TEXT(Body),
    {u"CreationTime", offsetof(OlAddrRec, CreationTime), 0, Kind::Date, false},
    {u"LastModificationTime", offsetof(OlAddrRec, LastModificationTime), 0, Kind::Date, false},
    FW_TEXT(Categories),
};

#undef FW_TEXT
#undef FW_DATE

template <class T> T* At(OlAddrRec& rec, std::size_t offset)
{
    return reinterpret_cast<T*>(reinterpret_cast<char*>(&rec) + offset);
}
template <class T> const T* At(const OlAddrRec& rec, std::size_t offset)
{
    return reinterpret_cast<const T*>(reinterpret_cast<const char*>(&rec) + offset);
}

constexpr int kUserPropSize = static_cast<int>(sizeof(OlAddrRec::UserPropNames[0]));

template <class... Args> void Log(int level, const FwLogText& text, Args... args)
{
    FW_LOG_AT(level, text.file, text.line, text.text, args...);
}

unsigned Hex(HRESULT hr)
{
    return static_cast<unsigned>(hr);
}

// The item's UserProperties collection; null, logged, when there is none.
IDispatch* UserProperties(CDispCmd& item)
{
    IDispatch* object = nullptr;
    const HRESULT hr = item.GetObjectProp(u"UserProperties", &object);
    if (hr != S_OK) {
        Log(0, "Failed to get the \"UserProperties\" of contact item, hr=0x%x.", Hex(hr));
        return nullptr;
    }
    return object;
}

} // namespace

OlAddrUtil::OlAddrUtil(OlSession& session) : OlItemUtil(session, kKind, kTexts)
{
    OlAddrUtil::Init();
}

OlAddrUtil::~OlAddrUtil()
{
    OlAddrUtil::Close();
}

void OlAddrUtil::Init()
{
    for (int index = 0; index < kOlUserProps; ++index) {
        SetFieldMapEntry(index, 0);
    }
    OlItemUtil::Init();
}

bool OlAddrUtil::SetFieldMapEntry(int index, int code)
{
    if (index < 0 || index >= kOlUserProps) {
        return false;
    }
    SetMappedField(kAppOutlook, index + 1, code);
    return true;
}

int OlAddrUtil::GetFieldMapEntry(int index)
{
    return index >= 0 && index < kOlUserProps ? GetMappedField(kAppOutlook, index + 1) : 0;
}

bool OlAddrUtil::Load()
{
    for (int index = 0; index < kOlUserProps; ++index) {
        m_fieldMap[index] = GetFieldMapEntry(index);
    }
    return OlItemUtil::Load();
}

bool OlAddrUtil::SubmitRecord(const CommAddrRec& record, bool /*writeNow*/)
{
    return Submit(record);
}

void OlAddrUtil::ToCommon(const OlAddrRec& native, CommAddrRec& record)
{
    FromNative(native, record, m_fieldMap);
}

void OlAddrUtil::ToOutlook(const CommAddrRec& record, OlAddrRec& native)
{
    ToNative(record, native);
}

bool OlAddrUtil::ReadItem(CDispCmd& item, OlAddrRec& native)
{
    for (const Property& p : kProperties) {
        switch (p.kind) {
        case Kind::Text:
            item.GetStringProp(p.name, At<char>(native, p.offset), p.size);
            break;
        case Kind::Date:
            item.GetDateProp(p.name, At<double>(native, p.offset));
            break;
        case Kind::Long:
            item.GetLongProp(p.name, At<int>(native, p.offset));
            break;
        }
    }
    ReadUserProperties(item, native);
    return true;
}

void OlAddrUtil::ReadUserProperties(CDispCmd& item, OlAddrRec& native)
{
    IDispatch* object = UserProperties(item);
    if (object == nullptr) {
        return;
    }
    CDispCmd properties(object);
    object->Release();
    int count = 0;
    HRESULT hr = properties.GetLongProp(u"Count", &count);
    if (hr != S_OK) {
        Log(0, "Failed to get the \"Count\" property of UserProperties collection, hr=0x%x", Hex(hr));
        return;
    }
    for (int i = 0; i < count && i < kOlUserProps; ++i) {
        VARIANT index = platform::MakeI4(i + 1);
        IDispatch* propertyObject = nullptr;
        hr = properties.CallObjectMethod(u"Item", &propertyObject, {platform::MakeByRef(&index)});
        if (hr != S_OK) {
            Log(0, "One user defined property is not loaded correctly, hr=0x%x", Hex(hr));
            return;
        }
        CDispCmd property(propertyObject);
        propertyObject->Release();
        hr = property.GetStringProp(u"Name", native.UserPropNames[i], kUserPropSize);
        if (FAILED(hr)) {
            Log(0, "Failed to get the name of user defined property. hr=0x%x", Hex(hr));
        }
        property.GetStringProp(u"Value", native.UserPropValues[i], kUserPropSize);
    }
}

void OlAddrUtil::WriteItem(CDispCmd& item, const OlAddrRec& native)
{
    for (const Property& p : kProperties) {
        if (!p.written) {
            continue;
        }
        switch (p.kind) {
        case Kind::Text:
            item.PutStringProp(p.name, At<char>(native, p.offset));
            break;
        case Kind::Date:
            item.PutDateProp(p.name, *At<double>(native, p.offset));
            break;
        case Kind::Long:
            item.PutLongProp(p.name, *At<int>(native, p.offset));
            break;
        }
    }
    WriteUserProperties(item, native);
    item.CallMethod(u"Save", nullptr);
}

void OlAddrUtil::WriteUserProperties(CDispCmd& item, const OlAddrRec& native)
{
    bool any = false;
    for (int i = 0; i < kOlUserProps; ++i) {
        any = any || native.UserPropNames[i][0] != '\0' || native.UserPropValues[i][0] != '\0';
    }
    if (!any) {
        return;
    }
    IDispatch* object = UserProperties(item);
    if (object == nullptr) {
        return;
    }
    CDispCmd properties(object);
    object->Release();
    for (int i = 0; i < kOlUserProps; ++i) {
        const std::string name(FieldText(native.UserPropNames[i]));
        const char* value = native.UserPropValues[i];
        if (name.empty() && value[0] == '\0') {
            continue;
        }
        IDispatch* propertyObject = nullptr;
        HRESULT hr =
            properties.CallObjectMethod(u"Find", &propertyObject, {platform::MakeBstr(name.c_str())});
        if (hr != S_OK) {
            // A text property, not added to the folder's fields, shown as text.
            hr = properties.CallObjectMethod(u"Add", &propertyObject,
                                             {platform::MakeBstr(name.c_str()), platform::MakeI4(1),
                                              platform::MakeBool(false), platform::MakeI4(1)});
            if (hr != S_OK) {
                Log(0, "Failed to add the user property. hr=0x%x", Hex(hr));
                continue;
            }
        }
        CDispCmd property(propertyObject);
        propertyObject->Release();
        hr = property.PutStringProp(u"Value", value);
        if (FAILED(hr)) {
            Log(0, "Failed to set the value of user property. hr=0x%x", Hex(hr));
        }
    }
}
