#include "misc/CommRecords.h"

#include "misc/CommStore.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

void* CommDuplicateNative(const void* block, std::uint32_t size) noexcept
{
    if (block == nullptr || size == 0) {
        return nullptr;
    }
    auto* copy = new (std::nothrow) unsigned char[size];
    if (copy != nullptr) {
        std::memcpy(copy, block, size);
    }
    return copy;
}

void CommReturnFreedMemory() noexcept
{
#if defined(__GLIBC__)
    ::malloc_trim(0);
#endif
}

void CommFreeNative(void* block) noexcept
{
    delete[] static_cast<unsigned char*>(block);
}

namespace {

#define FW_WIDTH(field) static_cast<int>(sizeof(CommAddrRec::field))

// In key order, so that a key can be found by binary search.
constexpr std::array g_addrKeys{
    CommAddrKeyInfo{1, "First Name", FW_WIDTH(FirstName)},
    CommAddrKeyInfo{2, "Middle Name", FW_WIDTH(MiddleName)},
    CommAddrKeyInfo{3, "Last Name", FW_WIDTH(LastName)},
    CommAddrKeyInfo{4, "Prefix", FW_WIDTH(Prefix)},
    CommAddrKeyInfo{5, "Suffix", FW_WIDTH(Suffix)},
    CommAddrKeyInfo{6, "Nick Name", FW_WIDTH(NickName)},
    CommAddrKeyInfo{7, "Display Name", FW_WIDTH(DisplayName)},
    CommAddrKeyInfo{9, "(Work) Street", FW_WIDTH(WorkAddress.Street)},
    CommAddrKeyInfo{10, "(Work) City", FW_WIDTH(WorkAddress.City)},
    CommAddrKeyInfo{11, "(Work) State", FW_WIDTH(WorkAddress.State)},
    CommAddrKeyInfo{12, "(Work) Postal", FW_WIDTH(WorkAddress.Postal)},
    CommAddrKeyInfo{13, "(Work) Country", FW_WIDTH(WorkAddress.Country)},
    CommAddrKeyInfo{16, "(Home) Street", FW_WIDTH(HomeAddress.Street)},
    CommAddrKeyInfo{17, "(Home) City", FW_WIDTH(HomeAddress.City)},
    CommAddrKeyInfo{18, "(Home) State", FW_WIDTH(HomeAddress.State)},
    CommAddrKeyInfo{19, "(Home) Postal", FW_WIDTH(HomeAddress.Postal)},
    CommAddrKeyInfo{20, "(Home) Country", FW_WIDTH(HomeAddress.Country)},
    CommAddrKeyInfo{23, "(Other) Street", FW_WIDTH(OtherAddress.Street)},
    CommAddrKeyInfo{24, "(Other) City", FW_WIDTH(OtherAddress.City)},
    CommAddrKeyInfo{25, "(Other) State", FW_WIDTH(OtherAddress.State)},
    CommAddrKeyInfo{26, "(Other) Postal", FW_WIDTH(OtherAddress.Postal)},
    CommAddrKeyInfo{27, "(Other) Country", FW_WIDTH(OtherAddress.Country)},
    CommAddrKeyInfo{28, "Home Phone", FW_WIDTH(HomePhone)},
    CommAddrKeyInfo{29, "Work Phone", FW_WIDTH(WorkPhone)},
    CommAddrKeyInfo{30, "Mobile Phone", FW_WIDTH(MobilePhone)},
    CommAddrKeyInfo{31, "Other Phone", FW_WIDTH(OtherPhone)},
    CommAddrKeyInfo{32, "Primary Phone", FW_WIDTH(PrimaryPhone)},
    CommAddrKeyInfo{33, "Callback Phone", FW_WIDTH(CallbackPhone)},
    CommAddrKeyInfo{34, "Car Phone", FW_WIDTH(CarPhone)},
    CommAddrKeyInfo{35, "Radio Phone", FW_WIDTH(RadioPhone)},
    CommAddrKeyInfo{36, "Work Phone 2", FW_WIDTH(WorkPhone2)},
    CommAddrKeyInfo{37, "Home Phone 2", FW_WIDTH(HomePhone2)},
    CommAddrKeyInfo{38, "Work Fax", FW_WIDTH(WorkFax)},
    CommAddrKeyInfo{39, "Home Fax", FW_WIDTH(HomeFax)},
    CommAddrKeyInfo{40, "Pager", FW_WIDTH(Pager)},
    CommAddrKeyInfo{41, "Email", FW_WIDTH(Email)},
    CommAddrKeyInfo{42, "Email 2", FW_WIDTH(Email2)},
    CommAddrKeyInfo{43, "Email 3", FW_WIDTH(Email3)},
    CommAddrKeyInfo{44, "Personal Home Page", FW_WIDTH(PersonalHomePage)},
    CommAddrKeyInfo{45, "Work Home Page", FW_WIDTH(WorkHomePage)},
    CommAddrKeyInfo{47, "FTP Site", FW_WIDTH(FtpSite)},
    CommAddrKeyInfo{48, "Note", FW_WIDTH(Note)},
    CommAddrKeyInfo{49, "Custom 1", FW_WIDTH(CustomValues[0])},
    CommAddrKeyInfo{50, "Custom 2", FW_WIDTH(CustomValues[0])},
    CommAddrKeyInfo{51, "Custom 3", FW_WIDTH(CustomValues[0])},
    CommAddrKeyInfo{52, "Custom 4", FW_WIDTH(CustomValues[0])},
    CommAddrKeyInfo{53, "Custom 5", FW_WIDTH(CustomValues[0])},
    CommAddrKeyInfo{54, "Custom 6", FW_WIDTH(CustomValues[0])},
    CommAddrKeyInfo{55, "Custom 7", FW_WIDTH(CustomValues[0])},
    CommAddrKeyInfo{56, "Custom 8", FW_WIDTH(CustomValues[0])},
    CommAddrKeyInfo{57, "Custom 9", FW_WIDTH(CustomValues[0])},
    CommAddrKeyInfo{59, "Custom Label 1", FW_WIDTH(CustomLabels[0])},
    CommAddrKeyInfo{60, "Custom Label 2", FW_WIDTH(CustomLabels[0])},
    CommAddrKeyInfo{61, "Custom Label 3", FW_WIDTH(CustomLabels[0])},
    CommAddrKeyInfo{62, "Custom Label 4", FW_WIDTH(CustomLabels[0])},
    CommAddrKeyInfo{63, "Custom Label 5", FW_WIDTH(CustomLabels[0])},
    CommAddrKeyInfo{64, "Custom Label 6", FW_WIDTH(CustomLabels[0])},
    CommAddrKeyInfo{65, "Custom Label 7", FW_WIDTH(CustomLabels[0])},
    CommAddrKeyInfo{66, "Custom Label 8", FW_WIDTH(CustomLabels[0])},
    CommAddrKeyInfo{67, "Custom Label 9", FW_WIDTH(CustomLabels[0])},
    CommAddrKeyInfo{69, "Company", FW_WIDTH(Company)},
    CommAddrKeyInfo{70, "Department", FW_WIDTH(Department)},
    CommAddrKeyInfo{71, "Title", FW_WIDTH(Title)},
    CommAddrKeyInfo{72, "IM 1", FW_WIDTH(IM1)},
    CommAddrKeyInfo{73, "IM 2", FW_WIDTH(IM2)},
    CommAddrKeyInfo{74, "Manager Name", FW_WIDTH(ManagerName)},
    CommAddrKeyInfo{75, "Assistant Name", FW_WIDTH(AssistantName)},
    CommAddrKeyInfo{76, "Assistant Phone", FW_WIDTH(AssistantPhone)},
    CommAddrKeyInfo{77, "Spouse Name", FW_WIDTH(SpouseName)},
    CommAddrKeyInfo{78, "Children's Names", FW_WIDTH(ChildrenNames)},
    CommAddrKeyInfo{80, "Profession", FW_WIDTH(Profession)},
    CommAddrKeyInfo{81, "Hobby", FW_WIDTH(Hobby)},
    CommAddrKeyInfo{82, "Account", FW_WIDTH(Account)},
    CommAddrKeyInfo{83, "Anniversary", FW_WIDTH(Anniversary)},
    CommAddrKeyInfo{84, "Birthday", FW_WIDTH(Birthday)},
    CommAddrKeyInfo{85, "Keyword", FW_WIDTH(Keyword)},
    CommAddrKeyInfo{86, "Language", FW_WIDTH(Language)},
    CommAddrKeyInfo{87, "Location", FW_WIDTH(Location)},
    CommAddrKeyInfo{88, "MHS Common Name", FW_WIDTH(MhsCommonName)},
    CommAddrKeyInfo{89, "Customer ID", FW_WIDTH(CustomerId)},
    CommAddrKeyInfo{90, "Government ID", FW_WIDTH(GovernmentId)},
    CommAddrKeyInfo{91, "Organization ID", FW_WIDTH(OrganizationId)},
    CommAddrKeyInfo{92, "Category", FW_WIDTH(Category)},
    CommAddrKeyInfo{93, "Creation Time", FW_WIDTH(CreationTime)},
    CommAddrKeyInfo{94, "Last Modification Time", FW_WIDTH(LastModificationTime)},
    CommAddrKeyInfo{95, "Source Type", FW_WIDTH(SourceType)},
    CommAddrKeyInfo{96, "Status", FW_WIDTH(Status)},
};

#undef FW_WIDTH

static_assert(std::is_sorted(g_addrKeys.begin(), g_addrKeys.end(),
                             [](const CommAddrKeyInfo& a, const CommAddrKeyInfo& b) {
                                 return a.Key < b.Key;
                             }));

} // namespace

std::span<const CommAddrKeyInfo> CommAddrKeyTable() noexcept
{
    return g_addrKeys;
}

const CommAddrKeyInfo* CommAddrKeyFind(int key) noexcept
{
    auto it = std::lower_bound(g_addrKeys.begin(), g_addrKeys.end(), key,
                               [](const CommAddrKeyInfo& entry, int k) { return entry.Key < k; });
    return it != g_addrKeys.end() && it->Key == key ? &*it : nullptr;
}
