#include "outlook/pst/PstProperties.h"

#include <cmath>
#include <cstring>
#include <ctime>
#include <strings.h>

#include "platform/OleDate.h"

namespace pst {

namespace {

constexpr Guid MapiGuid(std::uint8_t first)
{
    return Guid{first, 0x20, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00,
                0xC0,  0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
}

std::int64_t ReadLe(ByteSpan data, std::size_t size)
{
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < size; ++i) {
        v |= static_cast<std::uint64_t>(data[i]) << (8 * i);
    }
    if (size < 8 && (v >> (8 * size - 1)) != 0) {
        v |= ~std::uint64_t{0} << (8 * size);
    }
    return static_cast<std::int64_t>(v);
}

} // namespace

const Guid kPsetidAddress = MapiGuid(0x04);
const Guid kPsetidAppointment = MapiGuid(0x02);
const Guid kPsetidTask = MapiGuid(0x03);
const Guid kPsetidCommon = MapiGuid(0x08);
const Guid kPsetidNote = MapiGuid(0x0E);
const Guid kPsPublicStrings =
    Guid{0x29, 0x03, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

PropertyKey PropertyKey::Tag(std::uint16_t id)
{
    PropertyKey k;
    k.kind = Kind::Tag;
    k.tag = id;
    return k;
}

PropertyKey PropertyKey::Named(const Guid& set, std::uint32_t lid)
{
    PropertyKey k;
    k.kind = Kind::NamedId;
    k.set = set;
    k.lid = lid;
    return k;
}

PropertyKey PropertyKey::Named(const Guid& set, std::string name)
{
    PropertyKey k;
    k.kind = Kind::NamedString;
    k.set = set;
    k.name = std::move(name);
    return k;
}

bool RawProperty::Matches(const PropertyKey& key) const
{
    switch (key.kind) {
    case PropertyKey::Kind::Tag:
        return !named && fileTag == key.tag;
    case PropertyKey::Kind::NamedId:
        return named && !stringName && lid == key.lid && set == key.set;
    case PropertyKey::Kind::NamedString:
        return named && stringName && set == key.set && strcasecmp(name.c_str(), key.name.c_str()) == 0;
    }
    return false;
}

std::optional<PropertyValue> DecodeProperty(std::uint16_t type, ByteSpan data, unsigned codePage)
{
    if (data.size() > kMaxValueSize) {
        return std::nullopt;
    }
    PropertyValue v;
    v.type = type;
    auto fixed = [&](std::size_t size) {
        if (data.size() < size) {
            return false;
        }
        v.integer = ReadLe(data, size);
        return true;
    };
    switch (type) {
    case kTypeShort:
        return fixed(2) ? std::optional(v) : std::nullopt;
    case kTypeLong:
    case kTypeError:
        return fixed(4) ? std::optional(v) : std::nullopt;
    case kTypeBoolean:
        if (data.empty()) {
            return std::nullopt;
        }
        v.integer = data[0] != 0 ? 1 : 0;
        return v;
    case kTypeInt64:
    case kTypeCurrency:
        return fixed(8) ? std::optional(v) : std::nullopt;
    case kTypeSysTime:
        if (!fixed(8) || !IsTrustedFileTime(v.integer)) {
            return std::nullopt;
        }
        return v;
    case kTypeFloat: {
        if (data.size() < 4) {
            return std::nullopt;
        }
        const std::uint32_t bits = static_cast<std::uint32_t>(ReadLe(data, 4));
        float f;
        std::memcpy(&f, &bits, 4);
        v.real = f;
        return std::isfinite(v.real) ? std::optional(v) : std::nullopt;
    }
    case kTypeDouble:
    case kTypeAppTime: {
        if (data.size() < 8) {
            return std::nullopt;
        }
        const std::uint64_t bits = static_cast<std::uint64_t>(ReadLe(data, 8));
        std::memcpy(&v.real, &bits, 8);
        return std::isfinite(v.real) ? std::optional(v) : std::nullopt;
    }
    case kTypeString8:
        v.text = DecodeCodePage(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()),
                                codePage);
        return v;
    case kTypeUnicode: {
        auto text = DecodeUtf16Le(data);
        if (!text) {
            return std::nullopt;
        }
        v.text = std::move(*text);
        return v;
    }
    case kTypeGuid:
        if (data.size() != 16) {
            return std::nullopt;
        }
        v.binary.assign(data.begin(), data.end());
        return v;
    case kTypeBinary:
        v.binary.assign(data.begin(), data.end());
        return v;
    case kTypeMvShort:
    case kTypeMvLong:
    case kTypeMvInt64:
    case kTypeMvSysTime: {
        const std::size_t size = type == kTypeMvShort ? 2 : type == kTypeMvLong ? 4 : 8;
        auto values = ParseMultiValueFixed(data, size);
        if (!values) {
            return std::nullopt;
        }
        for (std::int64_t t : *values) {
            if (type == kTypeMvSysTime && !IsTrustedFileTime(t)) {
                return std::nullopt;
            }
        }
        v.integers = std::move(*values);
        return v;
    }
    case kTypeMvString8:
    case kTypeMvUnicode:
    case kTypeMvBinary: {
        auto values = ParseMultiValueVariable(data);
        if (!values) {
            return std::nullopt;
        }
        for (const Bytes& b : *values) {
            if (type == kTypeMvBinary) {
                v.binaries.push_back(b);
            } else if (type == kTypeMvString8) {
                v.texts.push_back(DecodeCodePage(
                    std::string_view(reinterpret_cast<const char*>(b.data()), b.size()), codePage));
            } else {
                auto text = DecodeUtf16Le(b);
                if (!text) {
                    return std::nullopt;
                }
                v.texts.push_back(std::move(*text));
            }
        }
        return v;
    }
    default:
        v.binary.assign(data.begin(), data.end());
        return v;
    }
}

bool IsTrustedFileTime(std::int64_t fileTime)
{
    return fileTime >= 0 && fileTime < kFileTimeMax;
}

std::optional<double> FileTimeToOleDate(std::int64_t fileTime)
{
    if (fileTime <= 0 || fileTime >= kFileTimeNone) {
        return std::nullopt;
    }
    const std::int64_t seconds = fileTime / 10000000;
    const double days = static_cast<double>(seconds / 86400) - 109205.0;
    const double fraction = static_cast<double>(seconds % 86400) / 86400.0;
    // Before 1899-12-30 the fraction counts away from zero.
    return days < 0 ? days - fraction : days + fraction;
}

std::optional<double> FileTimeToLocalOleDate(std::int64_t fileTime)
{
    if (fileTime <= 0 || fileTime >= kFileTimeNone) {
        return std::nullopt;
    }
    const std::int64_t unixSeconds = fileTime / 10000000 - 11644473600LL;
    const std::time_t t = static_cast<std::time_t>(unixSeconds);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) {
        return std::nullopt;
    }
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(local.tm_year + 1900);
    st.wMonth = static_cast<WORD>(local.tm_mon + 1);
    st.wDay = static_cast<WORD>(local.tm_mday);
    st.wHour = static_cast<WORD>(local.tm_hour);
    st.wMinute = static_cast<WORD>(local.tm_min);
    st.wSecond = static_cast<WORD>(local.tm_sec);
    if (local.tm_year + 1900 < 100) {
        return std::nullopt; // SystemTimeToVariantTime would read it as 19xx/20xx
    }
    double date = 0;
    if (!platform::SystemTimeToVariantTime(&st, &date)) {
        return std::nullopt;
    }
    return date;
}

const std::vector<OutlookProperty>& OutlookProperties()
{
    using T = OutlookType;
    using C = OutlookConversion;
    const auto tagKey = [](std::uint16_t id) { return PropertyKey::Tag(id); };
    const auto addr = [](std::uint32_t id) { return PropertyKey::Named(kPsetidAddress, id); };
    const auto appt = [](std::uint32_t id) { return PropertyKey::Named(kPsetidAppointment, id); };
    const auto task = [](std::uint32_t id) { return PropertyKey::Named(kPsetidTask, id); };
    const auto common = [](std::uint32_t id) { return PropertyKey::Named(kPsetidCommon, id); };
    const auto note = [](std::uint32_t id) { return PropertyKey::Named(kPsetidNote, id); };
    constexpr unsigned kC = kClassContact, kA = kClassAppointment, kT = kClassTask, kN = kClassNote,
                       kAll = kClassAny;
    static const std::vector<OutlookProperty> table = {
        // Every item.
        {"EntryID", kAll, T::Text, C::EntryId, {}},
        {"MessageClass", kAll, T::Text, C::Plain, tagKey(tag::kMessageClass)},
        {"Subject", kAll, T::Text, C::Subject, tagKey(tag::kSubject)},
        {"Body", kAll, T::Text, C::Body, tagKey(tag::kBody)},
        {"Categories", kAll, T::Text, C::Categories, PropertyKey::Named(kPsPublicStrings, "Keywords")},
        {"CreationTime", kAll, T::Date, C::Plain, tagKey(tag::kCreationTime)},
        {"LastModificationTime", kAll, T::Date, C::Plain, tagKey(tag::kLastModificationTime)},
        {"Importance", kAll, T::Long, C::Plain, tagKey(tag::kImportance)},
        {"Sensitivity", kAll, T::Long, C::Plain, tagKey(tag::kSensitivity)},
        {"Mileage", kAll, T::Text, C::Plain, common(0x8534)},
        {"BillingInformation", kAll, T::Text, C::Plain, common(0x8535)},
        {"ReminderSet", kA | kT, T::Bool, C::Plain, common(0x8503)},
        {"ReminderTime", kA | kT, T::Date, C::Plain, common(0x8502)},
        {"ReminderMinutesBeforeStart", kA | kT, T::Long, C::Plain, common(0x8501)},
        {"ReminderOverrideDefault", kA | kT, T::Bool, C::Plain, common(0x851C)},
        {"ReminderPlaySound", kA | kT, T::Bool, C::Plain, common(0x851E)},
        {"ReminderSoundFile", kA | kT, T::Text, C::Plain, common(0x851F)},
        // Contacts.
        {"Account", kC, T::Text, C::Plain, tagKey(0x3A00)},
        {"Anniversary", kC, T::Date, C::WallClock, addr(0x80DF),
         0x3A41}, // ...Local, else PidTagWeddingAnniversary
        {"AssistantName", kC, T::Text, C::Plain, tagKey(0x3A30)},
        {"AssistantTelephoneNumber", kC, T::Text, C::Plain, tagKey(0x3A2E)},
        {"Birthday", kC, T::Date, C::WallClock, addr(0x80DE),
         0x3A42}, // PidLidBirthdayLocal, else PidTagBirthday
        {"Business2TelephoneNumber", kC, T::Text, C::Plain, tagKey(0x3A1B)},
        {"BusinessAddressCity", kC, T::Text, C::Plain, addr(0x8046)},
        {"BusinessAddressCountry", kC, T::Text, C::Plain, addr(0x8049)},
        {"BusinessAddressPostalCode", kC, T::Text, C::Plain, addr(0x8048)},
        {"BusinessAddressPostOfficeBox", kC, T::Text, C::Plain, addr(0x804A)},
        {"BusinessAddressState", kC, T::Text, C::Plain, addr(0x8047)},
        {"BusinessAddressStreet", kC, T::Text, C::Plain, addr(0x8045)},
        {"BusinessAddress", kC, T::Text, C::Plain, addr(0x801B)},
        {"BusinessFaxNumber", kC, T::Text, C::Plain, tagKey(0x3A24)},
        {"BusinessHomePage", kC, T::Text, C::Plain, tagKey(0x3A51)},
        {"BusinessTelephoneNumber", kC, T::Text, C::Plain, tagKey(0x3A08)},
        {"CallbackTelephoneNumber", kC, T::Text, C::Plain, tagKey(0x3A02)},
        {"CarTelephoneNumber", kC, T::Text, C::Plain, tagKey(0x3A1E)},
        {"CompanyMainTelephoneNumber", kC, T::Text, C::Plain, tagKey(0x3A57)},
        {"CompanyName", kC, T::Text, C::Plain, tagKey(0x3A16)},
        {"ComputerNetworkName", kC, T::Text, C::Plain, tagKey(0x3A49)},
        {"CustomerID", kC, T::Text, C::Plain, tagKey(0x3A4A)},
        {"Department", kC, T::Text, C::Plain, tagKey(0x3A18)},
        {"Email1Address", kC, T::Text, C::Plain, addr(0x8083)},
        {"Email1AddressType", kC, T::Text, C::Plain, addr(0x8082)},
        {"Email1DisplayName", kC, T::Text, C::Plain, addr(0x8080)},
        {"Email2Address", kC, T::Text, C::Plain, addr(0x8093)},
        {"Email2AddressType", kC, T::Text, C::Plain, addr(0x8092)},
        {"Email2DisplayName", kC, T::Text, C::Plain, addr(0x8090)},
        {"Email3Address", kC, T::Text, C::Plain, addr(0x80A3)},
        {"Email3AddressType", kC, T::Text, C::Plain, addr(0x80A2)},
        {"Email3DisplayName", kC, T::Text, C::Plain, addr(0x80A0)},
        {"FileAs", kC, T::Text, C::Plain, addr(0x8005)},
        {"FirstName", kC, T::Text, C::Plain, tagKey(0x3A06)},
        {"FTPSite", kC, T::Text, C::Plain, tagKey(0x3A4C)},
        {"FullName", kC, T::Text, C::Plain, tagKey(tag::kDisplayName)},
        {"Gender", kC, T::Long, C::Plain, tagKey(0x3A4D)},
        {"Hobby", kC, T::Text, C::Plain, tagKey(0x3A43)},
        {"Home2TelephoneNumber", kC, T::Text, C::Plain, tagKey(0x3A2F)},
        {"HomeAddressCity", kC, T::Text, C::Plain, tagKey(0x3A59)},
        {"HomeAddressCountry", kC, T::Text, C::Plain, tagKey(0x3A5A)},
        {"HomeAddressPostalCode", kC, T::Text, C::Plain, tagKey(0x3A5B)},
        {"HomeAddressPostOfficeBox", kC, T::Text, C::Plain, tagKey(0x3A5E)},
        {"HomeAddressState", kC, T::Text, C::Plain, tagKey(0x3A5C)},
        {"HomeAddressStreet", kC, T::Text, C::Plain, tagKey(0x3A5D)},
        {"HomeFaxNumber", kC, T::Text, C::Plain, tagKey(0x3A25)},
        {"HomeTelephoneNumber", kC, T::Text, C::Plain, tagKey(0x3A09)},
        {"IMAddress", kC, T::Text, C::Plain, addr(0x8062)},
        {"Initials", kC, T::Text, C::Plain, tagKey(0x3A0A)},
        {"ISDNNumber", kC, T::Text, C::Plain, tagKey(0x3A2D)},
        {"JobTitle", kC, T::Text, C::Plain, tagKey(0x3A17)},
        {"Language", kC, T::Text, C::Plain, tagKey(0x3A0C)},
        {"LastName", kC, T::Text, C::Plain, tagKey(0x3A11)},
        {"MailingAddressCity", kC, T::Text, C::Plain, tagKey(0x3A27)},
        {"MailingAddressCountry", kC, T::Text, C::Plain, tagKey(0x3A26)},
        {"MailingAddressPostalCode", kC, T::Text, C::Plain, tagKey(0x3A2A)},
        {"MailingAddressPostOfficeBox", kC, T::Text, C::Plain, tagKey(0x3A2B)},
        {"MailingAddressState", kC, T::Text, C::Plain, tagKey(0x3A28)},
        {"MailingAddressStreet", kC, T::Text, C::Plain, tagKey(0x3A29)},
        {"ManagerName", kC, T::Text, C::Plain, tagKey(0x3A4E)},
        {"MiddleName", kC, T::Text, C::Plain, tagKey(0x3A44)},
        {"MobileTelephoneNumber", kC, T::Text, C::Plain, tagKey(0x3A1C)},
        {"NickName", kC, T::Text, C::Plain, tagKey(0x3A4F)},
        {"OtherAddressCity", kC, T::Text, C::Plain, tagKey(0x3A5F)},
        {"OtherAddressCountry", kC, T::Text, C::Plain, tagKey(0x3A60)},
        {"OtherAddressPostalCode", kC, T::Text, C::Plain, tagKey(0x3A61)},
        {"OtherAddressPostOfficeBox", kC, T::Text, C::Plain, tagKey(0x3A64)},
        {"OtherAddressState", kC, T::Text, C::Plain, tagKey(0x3A62)},
        {"OtherAddressStreet", kC, T::Text, C::Plain, tagKey(0x3A63)},
        {"OtherTelephoneNumber", kC, T::Text, C::Plain, tagKey(0x3A1F)},
        {"PagerNumber", kC, T::Text, C::Plain, tagKey(0x3A21)},
        {"PersonalHomePage", kC, T::Text, C::Plain, tagKey(0x3A50)},
        {"PrimaryTelephoneNumber", kC, T::Text, C::Plain, tagKey(0x3A1A)},
        {"Profession", kC, T::Text, C::Plain, tagKey(0x3A46)},
        {"RadioTelephoneNumber", kC, T::Text, C::Plain, tagKey(0x3A1D)},
        {"Spouse", kC, T::Text, C::Plain, tagKey(0x3A48)},
        {"Suffix", kC, T::Text, C::Plain, tagKey(0x3A05)},
        {"Title", kC, T::Text, C::Plain, tagKey(0x3A45)},
        {"WebPage", kC, T::Text, C::Plain, addr(0x802B)},
        // Appointments.
        {"Start", kA, T::Date, C::Plain, appt(0x820D)},
        {"End", kA, T::Date, C::Plain, appt(0x820E)},
        {"Duration", kA, T::Long, C::Plain, appt(0x8213)},
        {"AllDayEvent", kA, T::Bool, C::Plain, appt(0x8215)},
        {"Location", kA, T::Text, C::Plain, appt(0x8208)},
        {"BusyStatus", kA, T::Long, C::Plain, appt(0x8205)},
        {"IsRecurring", kA, T::Bool, C::Recurring, appt(lid::kRecurring)},
        // Tasks.
        {"Complete", kT, T::Bool, C::Plain, task(0x811C)},
        {"DueDate", kT, T::Date, C::WallClock, task(0x8105)},
        {"StartDate", kT, T::Date, C::WallClock, task(0x8104)},
        {"DateCompleted", kT, T::Date, C::WallClock, task(0x810F)},
        {"Status", kT, T::Long, C::Plain, task(0x8101)},
        {"PercentComplete", kT, T::Long, C::Percent, task(0x8102)},
        {"Owner", kT, T::Text, C::Plain, task(0x811F)},
        {"Ordinal", kT, T::Long, C::Plain, task(0x8123)},
        {"ResponseState", kT, T::Long, C::Plain, task(0x812A)},
        {"Role", kT, T::Text, C::Plain, task(0x8127)},
        {"TeamTask", kT, T::Bool, C::Plain, task(0x8103)},
        {"TotalWork", kT, T::Long, C::Plain, task(0x8111)},
        {"ActualWork", kT, T::Long, C::Plain, task(0x8110)},
        {"CardData", kT, T::Text, C::Plain, task(0x812B)},
        {"IsRecurring", kT, T::Bool, C::Recurring, task(lid::kTaskFRecurring)},
        // Notes.
        {"Color", kN, T::Long, C::Plain, note(0x8B00)},
        {"Width", kN, T::Long, C::Plain, note(0x8B02)},
        {"Height", kN, T::Long, C::Plain, note(0x8B03)},
        {"Left", kN, T::Long, C::Plain, note(0x8B04)},
        {"Top", kN, T::Long, C::Plain, note(0x8B05)},
        {"Saved", kN, T::Bool, C::Constant, {}},
    };
    return table;
}

const OutlookProperty* FindOutlookProperty(std::string_view name, unsigned itemClass)
{
    for (const OutlookProperty& p : OutlookProperties()) {
        if ((p.classes & itemClass) != 0 && name.size() == std::strlen(p.name) &&
            strncasecmp(p.name, name.data(), name.size()) == 0) {
            return &p;
        }
    }
    return nullptr;
}

} // namespace pst
