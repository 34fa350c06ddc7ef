#include "lotus/LNFieldTable.h"

#include <array>
#include <cstddef>
#include <cstring>

#include "lotus/LNRecords.h"

namespace {

// Identifier, label, type, width, and where the field lies in the native record (npos when
// it gives no value to the mapping).
struct Entry
{
    LNFieldInfo Info;
    std::size_t Offset;
};

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

#define LN_T(ID, LABEL, F)                                                                                   \
    {                                                                                                        \
        {ID, LABEL, LNFieldTypeText, sizeof(LNAddrRec::F)}, offsetof(LNAddrRec, F)                           \
    }
#define LN_X(ID, LABEL, W)                                                                                   \
    {                                                                                                        \
        {ID, LABEL, LNFieldTypeText, W}, kNone                                                               \
    }
#define LN_D(ID, LABEL)                                                                                      \
    {                                                                                                        \
        {ID, LABEL, LNFieldTypeDate, 8}, kNone                                                               \
    }

const Entry kTable[] = {
    LN_X(1, "ID", sizeof(LNAddrRec::ItemID)),
    LN_T(2, "First Name", FirstName),
    LN_T(3, "Middle Name / Initial", MiddleName),
    LN_T(4, "Last Name", LastName),
    LN_T(5, "Suffix", Suffix),
    LN_T(6, "Display Name", DisplayName),
    LN_T(7, "Company Name", Company),
    LN_T(8, "Department", Department),
    LN_T(9, "Job Title", JobTitle),
    LN_T(10, "Location", Location),
    LN_T(11, "Assistant Name", AssistantName),
    LN_T(12, "Manager Name", ManagerName),
    LN_T(13, "Business Email", BusinessEmail),
    LN_T(14, "Personal Email", PersonalEmail),
    LN_T(15, "Assistant Phone", ThirdEmail),
    LN_T(16, "Business Email 2", BusinessEmail2),
    LN_T(17, "Personal Email 2", PersonalEmail2),
    LN_T(18, "Business Street", BusinessStreet),
    LN_T(19, "Business City", BusinessCity),
    LN_T(20, "Business State", BusinessState),
    LN_T(21, "Business Country", BusinessCountry),
    LN_T(22, "Business Postal", BusinessPostal),
    LN_T(23, "Home Street", HomeStreet),
    LN_T(24, "Home City", HomeCity),
    LN_T(25, "Home State", HomeState),
    LN_T(26, "Home Country", HomeCountry),
    LN_T(27, "Home Postal", HomePostal),
    LN_T(28, "Other Street", OtherStreet),
    LN_T(29, "Other City", OtherCity),
    LN_T(30, "Other State", OtherState),
    LN_T(31, "Other Country", OtherCountry),
    LN_T(32, "Other Postal", OtherPostal),
    LN_T(33, "Primary Phone", PrimaryPhone),
    LN_T(34, "Business Phone", BusinessPhone),
    LN_T(35, "Home Phone", HomePhone),
    LN_T(36, "Mobile Phone", MobilePhone),
    LN_T(37, "Business Fax", BusinessFax),
    LN_T(38, "Home Fax", HomeFax),
    LN_T(39, "Pager", Pager),
    LN_T(40, "Instant Messenger", InstantMessenger),
    LN_T(41, "Web Site", WebSite),
    LN_T(42, "Blog Site", BlogSite),
    LN_T(43, "Spouse Name", SpouseName),
    LN_T(44, "Children's Names", ChildrenNames),
    LN_X(45, "Custom Field 1", sizeof(LNAddrRec::CustomFields[0])),
    LN_X(46, "Custom Field 2", sizeof(LNAddrRec::CustomFields[0])),
    LN_X(47, "Custom Field 3", sizeof(LNAddrRec::CustomFields[0])),
    LN_X(48, "Custom Label 1", sizeof(LNAddrRec::CustomLabels[0])),
    LN_X(49, "Custom Label 2", sizeof(LNAddrRec::CustomLabels[0])),
    LN_X(50, "Custom Label 3", sizeof(LNAddrRec::CustomLabels[0])),
    LN_T(51, "Note", Note),
    LN_T(52, "Category", Category),
    LN_D(53, "Birth Date"),
    LN_D(54, "Anniversary"),
};

#undef LN_T
#undef LN_X
#undef LN_D

constexpr std::size_t kCount = sizeof(kTable) / sizeof(kTable[0]);
static_assert(kCount == 54);

const Entry* FindEntry(int id)
{
    // Identifiers are 1..54 in order.
    if (id < 1 || id > static_cast<int>(kCount)) {
        return nullptr;
    }
    return &kTable[id - 1];
}

} // namespace

std::span<const LNFieldInfo> LNContactFieldTable()
{
    static const std::array<LNFieldInfo, kCount> infos = [] {
        std::array<LNFieldInfo, kCount> out{};
        for (std::size_t i = 0; i < kCount; ++i) {
            out[i] = kTable[i].Info;
        }
        return out;
    }();
    return infos;
}

const LNFieldInfo* FindLNContactField(int id)
{
    const Entry* entry = FindEntry(id);
    return entry != nullptr ? &LNContactFieldTable()[static_cast<std::size_t>(id - 1)] : nullptr;
}

bool LNMappedFieldText(const LNAddrRec& rec, int id, std::string_view* text)
{
    const Entry* entry = FindEntry(id);
    if (entry == nullptr || entry->Offset == kNone || entry->Info.Type != LNFieldTypeText ||
        entry->Info.Width <= 1) {
        return false;
    }
    // Never past the field, even when it lacks its terminator.
    const char* field = reinterpret_cast<const char*>(&rec) + entry->Offset;
    *text = std::string_view(field, strnlen(field, static_cast<std::size_t>(entry->Info.Width)));
    return true;
}
