#include "google/GGAddrFieldTable.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <type_traits>

#include "misc/CxDateTime.h"

namespace {

// Which slot array an identifier lies in; None for a single field.
enum class Slots
{
    None,
    Email,
    Address,
    Phone,
    WebSite,
    IM,
    Date,
    Relation,
};

// Where an identifier's value lies: for a single field its offset; for a slot field the
// array, the kind, and the value array's offset and element size.
struct Entry
{
    GGAddrFieldInfo Info;
    Slots Array;
    int Kind;
    std::size_t Offset;
    std::size_t Stride;
};

constexpr int kText = GGAddrFieldTypeText;
constexpr int kDate = GGAddrFieldTypeDate;

#define GG_ONE(ID, LABEL, F)                                                                                 \
    {                                                                                                        \
        {ID, LABEL, kText, sizeof(GGAddrRec::F)}, Slots::None, 0, offsetof(GGAddrRec, F), 0                  \
    }
#define GG_ONE_AT(ID, LABEL, F, I)                                                                           \
    {                                                                                                        \
        {ID, LABEL, kText, sizeof(GGAddrRec::F[0])}, Slots::None, 0,                                         \
            offsetof(GGAddrRec, F) + (I) * sizeof(GGAddrRec::F[0]), 0                                        \
    }
#define GG_SLOT(ID, LABEL, ARRAY, KIND, F)                                                                   \
    {                                                                                                        \
        {ID, LABEL, kText, sizeof(GGAddrRec::F[0])}, Slots::ARRAY, KIND, offsetof(GGAddrRec, F),             \
            sizeof(GGAddrRec::F[0])                                                                          \
    }
#define GG_SLOT_DATE(ID, LABEL, KIND)                                                                        \
    {                                                                                                        \
        {ID, LABEL, kDate, 8}, Slots::Date, KIND, offsetof(GGAddrRec, Dates), sizeof(double)                 \
    }
#define GG_DATE(ID, LABEL, F)                                                                                \
    {                                                                                                        \
        {ID, LABEL, kDate, 8}, Slots::None, 0, offsetof(GGAddrRec, F), 0                                     \
    }
// The three kinds of an address part: home, work, other.
#define GG_ADDRESS(ID, PART, F)                                                                              \
    GG_SLOT(ID, PART "(Home)", Address, GGAddressHome, F),                                                   \
        GG_SLOT(ID + 1, PART "(Work)", Address, GGAddressWork, F),                                           \
        GG_SLOT(ID + 2, PART "(Other)", Address, GGAddressOther, F)

const Entry kTable[] = {
    GG_ONE(1, "First Name", FirstName),
    GG_ONE(2, "Middle Name", MiddleName),
    GG_ONE(3, "Last Name", LastName),
    GG_ONE(4, "Display Name", DisplayName),
    GG_ONE(5, "Nick Name", NickName),
    GG_ONE(6, "Company Name", Company),
    GG_ONE(7, "Job Title", JobTitle),
    GG_SLOT(8, "Email(Home)", Email, GGEmailHome, Emails),
    GG_SLOT(9, "Email(Work)", Email, GGEmailWork, Emails),
    GG_SLOT(10, "Email(Other)", Email, GGEmailOther, Emails),
    GG_ONE(11, "Email(Primary)", PrimaryEmail),
    GG_ADDRESS(12, "Address", FormattedAddresses),
    GG_ADDRESS(15, "City", Cities),
    GG_ADDRESS(18, "State", States),
    GG_ADDRESS(21, "Country", Countries),
    GG_ADDRESS(24, "Postal", PostalCodes),
    GG_ADDRESS(27, "Street", Streets),
    GG_ADDRESS(30, "P.O.Box", POBoxes),
    GG_ADDRESS(33, "Neighborhood", Neighborhoods),
    GG_SLOT(36, "Phone(Home)", Phone, GGPhoneHome, Phones),
    GG_SLOT(37, "Phone(Work)", Phone, GGPhoneWork, Phones),
    GG_SLOT(38, "Phone(Mobile)", Phone, GGPhoneMobile, Phones),
    GG_SLOT(39, "Fax(Home)", Phone, GGPhoneHomeFax, Phones),
    GG_SLOT(40, "Fax(Work)", Phone, GGPhoneWorkFax, Phones),
    GG_SLOT(41, "Pager", Phone, GGPhonePager, Phones),
    GG_SLOT(42, "Phone(Other)", Phone, GGPhoneOther, Phones),
    GG_ONE(43, "Phone(Primary)", PrimaryPhone),
    GG_SLOT(44, "Web Site(Home)", WebSite, GGWebSiteHome, WebSites),
    GG_SLOT(45, "Web Site(Work)", WebSite, GGWebSiteWork, WebSites),
    GG_SLOT(46, "Home Page", WebSite, GGWebSiteHomePage, WebSites),
    GG_SLOT(47, "FTP", WebSite, GGWebSiteFtp, WebSites),
    GG_SLOT(48, "Blog", WebSite, GGWebSiteBlog, WebSites),
    GG_SLOT(49, "Profile", WebSite, GGWebSiteProfile, WebSites),
    GG_SLOT(50, "Web Site(Other)", WebSite, GGWebSiteOther, WebSites),
    GG_ONE(51, "Web Site(Primary)", PrimaryWebSite),
    GG_SLOT(52, "IM(GTalk)", IM, GGIMGTalk, IMs),
    GG_SLOT(53, "IM(AIM)", IM, GGIMAim, IMs),
    GG_SLOT(54, "IM(Yahoo)", IM, GGIMYahoo, IMs),
    GG_SLOT(55, "IM(Skype)", IM, GGIMSkype, IMs),
    GG_SLOT(56, "IM(QQ)", IM, GGIMQQ, IMs),
    GG_SLOT(57, "IM(MSN)", IM, GGIMMsn, IMs),
    GG_SLOT(58, "IM(ICQ)", IM, GGIMIcq, IMs),
    GG_SLOT(59, "IM(Jabber)", IM, GGIMJabber, IMs),
    GG_ONE(60, "IM(Primary)", PrimaryIM),
    GG_ONE_AT(61, "Custom Label 1", CustomLabels, 0),
    GG_ONE_AT(62, "Custom Label 2", CustomLabels, 1),
    GG_ONE_AT(63, "Custom Label 3", CustomLabels, 2),
    GG_ONE_AT(64, "Custom Label 4", CustomLabels, 3),
    GG_ONE_AT(65, "Custom Label 5", CustomLabels, 4),
    GG_ONE_AT(66, "Custom Label 6", CustomLabels, 5),
    GG_ONE_AT(67, "Custom Label 7", CustomLabels, 6),
    GG_ONE_AT(68, "Custom Label 8", CustomLabels, 7),
    GG_ONE_AT(69, "Custom Label 9", CustomLabels, 8),
    GG_ONE_AT(70, "Custom Label 10", CustomLabels, 9),
    GG_ONE_AT(71, "Custom Field 1", CustomFields, 0),
    GG_ONE_AT(72, "Custom Field 2", CustomFields, 1),
    GG_ONE_AT(73, "Custom Field 3", CustomFields, 2),
    GG_ONE_AT(74, "Custom Field 4", CustomFields, 3),
    GG_ONE_AT(75, "Custom Field 5", CustomFields, 4),
    GG_ONE_AT(76, "Custom Field 6", CustomFields, 5),
    GG_ONE_AT(77, "Custom Field 7", CustomFields, 6),
    GG_ONE_AT(78, "Custom Field 8", CustomFields, 7),
    GG_ONE_AT(79, "Custom Field 9", CustomFields, 8),
    GG_ONE_AT(80, "Custom Field 10", CustomFields, 9),
    GG_SLOT_DATE(81, "Birthday", GGDateBirthday),
    GG_SLOT_DATE(82, "Anniversary", GGDateAnniversary),
    GG_SLOT_DATE(83, "Date(Other)", GGDateOther),
    GG_SLOT(84, "Spouse", Relation, GGRelationSpouse, Relations),
    GG_SLOT(85, "Mother", Relation, GGRelationMother, Relations),
    GG_SLOT(86, "Father", Relation, GGRelationFather, Relations),
    GG_SLOT(87, "Manager", Relation, GGRelationManager, Relations),
    GG_SLOT(88, "Assistant", Relation, GGRelationAssistant, Relations),
    GG_ONE(90, "Note", Note),
    GG_DATE(91, "Creation Time", CreationTime),
    GG_DATE(92, "Last Modification Time", LastModificationTime),
};

#undef GG_ONE
#undef GG_ONE_AT
#undef GG_SLOT
#undef GG_SLOT_DATE
#undef GG_DATE
#undef GG_ADDRESS

constexpr std::size_t kCount = sizeof(kTable) / sizeof(kTable[0]);
static_assert(kCount == 91);

const Entry* FindEntry(int id)
{
    // Identifiers 1..88 lie at index id - 1, 90..92 one place earlier (there is no 89).
    if (id >= 1 && id <= 88) {
        return &kTable[id - 1];
    }
    if (id >= 90 && id <= 92) {
        return &kTable[id - 2];
    }
    return nullptr;
}

// The kinds of a slot array and its length; a null span for Slots::None.
template <class Rec> auto KindsOf(Rec& rec, Slots array)
{
    using Int = std::conditional_t<std::is_const_v<Rec>, const int, int>;
    switch (array) {
    case Slots::Email:
        return std::span<Int>(rec.EmailKinds);
    case Slots::Address:
        return std::span<Int>(rec.AddressKinds);
    case Slots::Phone:
        return std::span<Int>(rec.PhoneKinds);
    case Slots::WebSite:
        return std::span<Int>(rec.WebSiteKinds);
    case Slots::IM:
        return std::span<Int>(rec.IMKinds);
    case Slots::Date:
        return std::span<Int>(rec.DateKinds);
    case Slots::Relation:
        return std::span<Int>(rec.RelationKinds);
    case Slots::None:
        break;
    }
    return std::span<Int>();
}

int Lookup(std::span<const int> kinds, int kind)
{
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        if (kinds[i] == kind) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The value's offset in the record for a field of the entry; npos when its slot is missing.
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

std::size_t ValueOffset(const Entry& entry, int slot)
{
    if (entry.Array == Slots::None) {
        return entry.Offset;
    }
    return slot < 0 ? kNone : entry.Offset + static_cast<std::size_t>(slot) * entry.Stride;
}

} // namespace

std::span<const GGAddrFieldInfo> GGAddrFieldTable()
{
    static const std::array<GGAddrFieldInfo, kCount> infos = [] {
        std::array<GGAddrFieldInfo, kCount> out{};
        for (std::size_t i = 0; i < kCount; ++i) {
            out[i] = kTable[i].Info;
        }
        return out;
    }();
    return infos;
}

const GGAddrFieldInfo* FindGGAddrField(int id)
{
    const Entry* entry = FindEntry(id);
    return entry != nullptr ? &GGAddrFieldTable()[static_cast<std::size_t>(entry - kTable)] : nullptr;
}

int GGAddrFindSlot(GGAddrRec& rec, int id, bool create)
{
    const Entry* entry = FindEntry(id);
    if (entry == nullptr || entry->Array == Slots::None) {
        return -1;
    }
    const std::span<int> kinds = KindsOf(rec, entry->Array);
    const int found = Lookup(kinds, entry->Kind);
    if (found >= 0 || !create) {
        return found;
    }
    const int free = Lookup(kinds, 0);
    if (free >= 0) {
        kinds[static_cast<std::size_t>(free)] = entry->Kind;
    }
    return free;
}

int GGAddrFindSlot(const GGAddrRec& rec, int id)
{
    const Entry* entry = FindEntry(id);
    if (entry == nullptr || entry->Array == Slots::None) {
        return -1;
    }
    return Lookup(KindsOf(rec, entry->Array), entry->Kind);
}

GGAddrFieldRef GGAddrFieldPtr(GGAddrRec& rec, int id)
{
    GGAddrFieldRef ref{nullptr, nullptr, 0};
    const Entry* entry = FindEntry(id);
    if (entry == nullptr) {
        return ref;
    }
    ref.Width = entry->Info.Width;
    const std::size_t offset = ValueOffset(*entry, GGAddrFindSlot(rec, id, true));
    if (offset == kNone) {
        return ref;
    }
    char* at = reinterpret_cast<char*>(&rec) + offset;
    if (entry->Info.Type == kDate) {
        ref.Date = reinterpret_cast<double*>(at);
    } else {
        ref.Text = at;
    }
    return ref;
}

bool GGAddrTextField(const GGAddrRec& rec, int id, std::string_view* text)
{
    const Entry* entry = FindEntry(id);
    if (entry == nullptr || entry->Info.Type != kText || entry->Info.Width <= 1) {
        return false;
    }
    const std::size_t offset = ValueOffset(*entry, GGAddrFindSlot(rec, id));
    if (offset == kNone) {
        *text = std::string_view();
        return true;
    }
    // Never past the field, even when it lacks its terminator.
    const char* field = reinterpret_cast<const char*>(&rec) + offset;
    *text = std::string_view(field, strnlen(field, static_cast<std::size_t>(entry->Info.Width)));
    return true;
}

std::string GGAddrFieldText(const GGAddrRec& rec, int id)
{
    const Entry* entry = FindEntry(id);
    if (entry == nullptr) {
        return std::string();
    }
    if (entry->Info.Type == kText) {
        std::string_view text;
        return GGAddrTextField(rec, id, &text) ? std::string(text) : std::string();
    }
    const std::size_t offset = ValueOffset(*entry, GGAddrFindSlot(rec, id));
    if (offset == kNone) {
        return std::string();
    }
    double date = 0;
    std::memcpy(&date, reinterpret_cast<const char*>(&rec) + offset, sizeof date);
    if (date == 0) {
        return std::string();
    }
    const CxDateTime value(date);
    if (!value.IsValid()) {
        return std::string();
    }
    char text[64];
    if (entry->Array == Slots::Date) {
        value.FormatDate(text);
    } else {
        value.FormatDateTime(text);
    }
    return text;
}
