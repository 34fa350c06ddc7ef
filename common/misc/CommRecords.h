#pragma once
// The four common records into which every connector converts what it reads, and from
// which it writes. They are plain fixed-size values: connectors fill a zeroed record on the
// stack and hand it to a record store, which copies it. Text is 8-bit ANSI in fixed buffers;
// a buffer of N bytes holds at most N-1 characters and a terminator.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <span>
#include <string_view>
#include <type_traits>

#include "platform/WinTypes.h"

// Result of the last comparison, kept in every record's Status.
enum MatchStatus : int
{
    MatchSame = 0,
    MatchNew = 1,
    MatchDiff = 2,
};

// Result codes of a store's Search.
enum CommSearchResult : int
{
    SearchInvalid = -1,
    SearchSame = 1, // same item, unchanged
    SearchNotFound = 2,
    SearchChanged = 3, // same item, changed
};

// Which connector filled a record (informational only).
enum CommSourceType : int
{
    SourcePalmDesktop = 1,
    SourceOutlook = 3, // also the MAPI connector
    SourceGoogle = 8,
    SourceLotusNotes = 9,
    SourceACT = 17,
    SourceSalesforce = 19,
    SourceSugarCRM = 21,
    SourceDynamicsCRM = 21,
};

// Comparison key numbers. They are fixed: the stores' key lists are written in them.
namespace AddrKey {
enum : int
{
    FirstName = 1,
    MiddleName = 2,
    LastName = 3,
    Prefix = 4,
    Suffix = 5,
    NickName = 6,
    DisplayName = 7,
    WorkStreet = 9,
    WorkCity = 10,
    WorkState = 11,
    WorkPostal = 12,
    WorkCountry = 13,
    HomeStreet = 16,
    HomeCity = 17,
    HomeState = 18,
    HomePostal = 19,
    HomeCountry = 20,
    OtherStreet = 23,
    OtherCity = 24,
    OtherState = 25,
    OtherPostal = 26,
    OtherCountry = 27,
    HomePhone = 28,
    WorkPhone = 29,
    MobilePhone = 30,
    OtherPhone = 31,
    PrimaryPhone = 32,
    CallbackPhone = 33,
    CarPhone = 34,
    RadioPhone = 35,
    WorkPhone2 = 36,
    HomePhone2 = 37,
    WorkFax = 38,
    HomeFax = 39,
    Pager = 40,
    Email = 41,
    Email2 = 42,
    Email3 = 43,
    PersonalHomePage = 44,
    WorkHomePage = 45,
    FtpSite = 47,
    Note = 48,
    CustomValue1 = 49, // ... CustomValue9 = 57: CustomValues[0..8]
    CustomLabel1 = 59, // ... CustomLabel9 = 67: CustomLabels[0..8]
    Company = 69,
    Department = 70,
    Title = 71,
    IM1 = 72,
    IM2 = 73,
    ManagerName = 74,
    AssistantName = 75,
    AssistantPhone = 76,
    SpouseName = 77,
    ChildrenNames = 78,
    Profession = 80,
    Hobby = 81,
    Account = 82,
    Anniversary = 83,
    Birthday = 84,
    Keyword = 85,
    Language = 86,
    Location = 87,
    MhsCommonName = 88,
    CustomerId = 89,
    GovernmentId = 90,
    OrganizationId = 91,
    Category = 92,
    CreationTime = 93,
    LastModificationTime = 94,
    SourceType = 95,
    Status = 96,
};
} // namespace AddrKey

namespace DateKey {
enum : int
{
    Subject = 1,
    Start = 2,
    End = 3,
    Notes = 7,
    Location = 9,
    AllDay = 13,
};
} // namespace DateKey

namespace TaskKey {
enum : int
{
    Subject = 0,
    Notes = 1,
    Priority = 2,
    Completed = 3,
    DueDate = 4, // carried in the key lists, but has no comparison
    AlarmSet = 5,
    Private = 6,
};
} // namespace TaskKey

namespace NoteKey {
enum : int
{
    Title = 2,
    Body = 3,
};
} // namespace NoteKey

// One postal address of a contact.
struct AddressBlock
{
    char Street[256];
    char City[32];
    char State[32];
    char Postal[16];
    char Country[32];
    char POBox[16];
    char Neighborhood[32];
};

// Repeat pattern of an event or a task. Kind 0: no repeat, and the other fields mean nothing.
struct RecurrenceRule
{
    std::int32_t Kind; // 0 none, 1 daily, 2 weekly, 3 monthly n-th weekday, 4 monthly day, 5 yearly n-th
                       // weekday, 6 yearly date
    std::uint8_t HasEnd;
    SYSTEMTIME PatternStart;
    SYSTEMTIME PatternEnd; // valid when HasEnd
    std::int32_t Interval;
    std::int32_t DayOfWeekMask; // bit d for SYSTEMTIME weekday d (bit 0 Sunday)
    std::int32_t DayOfMonth;
    std::int32_t MonthOfYear; // 1-12
    std::int32_t Instance;    // 1-5
};

// One alarm of an event.
struct Reminder
{
    std::int32_t Method; // 1 or 2 from the Google reader, 0 from readers with one kind of alarm
    std::int32_t Amount; // lead time before Start, in Units
    std::int32_t Unit;   // 1 minutes, 2 hours, 3 days, 4 (Google only)
};

// Contact.
struct CommAddrRec
{
    char FirstName[32];
    char LastName[32];
    char MiddleName[32];
    char Prefix[32];
    char Suffix[32];
    char NickName[32];
    char DisplayName[32];
    char Salutation[32];
    AddressBlock WorkAddress;
    AddressBlock HomeAddress;
    AddressBlock OtherAddress;
    char HomePhone[24];
    char WorkPhone[24];
    char MobilePhone[24];
    char PrimaryPhone[24];
    char OtherPhone[24];
    char CallbackPhone[24];
    char RadioPhone[24];
    char CarPhone[24];
    char WorkPhone2[24];
    char HomePhone2[24];
    char WorkFax[24];
    char HomeFax[24];
    char Pager[24];
    char Email[64];
    char Email2[64];
    char Email3[64];
    char WorkHomePage[256];
    char PersonalHomePage[256];
    char FtpSite[256];
    char Note[8192];
    char CustomValues[10][64];
    char MappedValues[10][64];
    char CustomLabels[10][64];
    char Company[64];
    char Title[32];
    char Department[32];
    char IM1[32];
    char IM2[32];
    char ManagerName[32];
    char AssistantName[32];
    char AssistantPhone[24];
    char SpouseName[32];
    char ChildrenNames[32];
    char ExtraText[32]; // salesforce only
    char Profession[64];
    char Hobby[64];
    char Account[32];
    double Birthday; // OLE automation date, local time
    double Anniversary;
    char Keyword[64];
    char Language[64];
    char Location[64];
    char MhsCommonName[32];
    char CustomerId[32];
    char GovernmentId[32];
    char OrganizationId[32];
    char Category[256];
    double CreationTime;
    double LastModificationTime;
    std::int32_t SourceType;
    std::int32_t Status; // MatchStatus
    void* NativeRecord;
    std::uint32_t NativeSize; // 0: NativeRecord is borrowed; > 0: owned copy of that many bytes
};

// Calendar event.
struct CommDateRec
{
    std::int32_t EventType; // 0-3 from the ACT! connector, else 0
    char Subject[256];
    std::int32_t AllDay;
    SYSTEMTIME Start; // local time
    SYSTEMTIME End;
    std::int32_t ReminderSet;
    std::int32_t DurationMinutes;
    char Notes[8192];
    char Location[256];
    RecurrenceRule Recurrence;
    std::int32_t Private;
    char Categories[64];
    std::int32_t ReminderCount; // valid entries of Reminders, 0-3
    Reminder Reminders[3];
    std::int32_t GoogleAttrA; // 0, 1 or 2
    std::int32_t GoogleAttrB;
    double CreationTime;
    double LastModificationTime;
    std::int32_t SourceType;
    std::int32_t Status;
    void* NativeRecord;
    std::uint32_t NativeSize;
};

// Task. Time values are seconds since 1970-01-01 UTC made with mktime; 0 = no date.
struct CommTaskRec
{
    char Subject[256];
    char Notes[8192];
    char Categories[256];
    std::int32_t Priority; // 0 normal, 1 high, 2 low
    std::uint8_t Completed;
    std::int32_t DueDate;
    std::uint8_t AlarmSet;
    std::uint8_t Private;
    std::uint8_t ReminderSet;
    std::uint8_t ReminderOverrideDefault;
    std::uint8_t ReminderPlaySound;
    char ReminderSoundFile[260];
    std::int32_t ReminderTime;
    RecurrenceRule Recurrence;
    char Role[32];
    char Mileage[32];
    char CardData[256];
    std::int32_t Ordinal;
    std::uint8_t TeamTask;
    std::int32_t TotalWork; // minutes
    std::int32_t PercentComplete;
    std::uint8_t IsRecurring;
    std::int32_t StartDate;
    std::int32_t Sensitivity;   // 0 normal, 1 personal, 2 private, 3 confidential
    std::int32_t TaskStatus;    // Outlook's task status values
    std::int32_t ResponseState; // 0-3
    double CreationTime;
    double LastModificationTime;
    std::int32_t SourceType;
    std::int32_t Status;
    void* NativeRecord;
    std::uint32_t NativeSize;
};

// Note. A source without titles puts the body up to its first line break into Title.
struct CommNoteRec
{
    std::int32_t Color;
    std::int32_t Private;
    char Title[256];
    char Body[20480];
    char Categories[256];
    double CreationTime;
    double LastModificationTime;
    std::int32_t SourceType;
    std::int32_t Status;
    char EntryId[32];
    void* NativeRecord;
    std::uint32_t NativeSize;
};

// Records are copied bytewise between connectors and stores.
template <class Rec>
inline constexpr bool IsCommRecord = std::is_trivially_copyable_v<Rec>&& std::is_standard_layout_v<Rec>;
static_assert(IsCommRecord<CommAddrRec> && IsCommRecord<CommDateRec> && IsCommRecord<CommTaskRec> &&
              IsCommRecord<CommNoteRec> && IsCommRecord<AddressBlock> && IsCommRecord<RecurrenceRule> &&
              IsCommRecord<Reminder>);

// The text of a fixed field, up to its terminator or, when a careless writer left none, up to
// the end of the field. Never reads past the field.
template <std::size_t N> std::string_view FieldText(const char (&field)[N]) noexcept
{
    const void* end = std::memchr(field, 0, N);
    return {field, end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : N};
}

// Writes a text into a fixed field: cut to N-1 characters, always terminated. The text may
// overlap the field (a record updated from itself).
template <std::size_t N> void CopyText(char (&field)[N], std::string_view text) noexcept
{
    static_assert(N > 0);
    const std::size_t length = text.size() < N - 1 ? text.size() : N - 1;
    if (length > 0) {
        std::memmove(field, text.data(), length);
    }
    field[length] = '\0';
}

// From a terminated text; a null text empties the field. Reads at most N-1 characters.
template <std::size_t N, class Text>
requires std::is_convertible_v<Text, const char*>
void CopyText(char (&field)[N], Text text) noexcept
{
    const char* p = text;
    CopyText(field, p != nullptr ? std::string_view(p, ::strnlen(p, N - 1)) : std::string_view());
}

// From another fixed field (or a literal): never reads past the source field either.
template <std::size_t N, std::size_t M> void CopyText(char (&field)[N], const char (&text)[M]) noexcept
{
    CopyText(field, FieldText(text));
}

// Copies a text from another record of the same kind only when it says something: an empty
// text leaves the field as it was.
template <std::size_t N> void CopyTextIfSet(char (&field)[N], const char (&text)[N]) noexcept
{
    if (text[0] != '\0') {
        CopyText(field, text);
    }
}

// Owned native blocks: duplicated with the record, freed with it. Null when out of memory.
void* CommDuplicateNative(const void* block, std::uint32_t size) noexcept;
void CommFreeNative(void* block) noexcept;

// A heap copy of a record (plain byte copy); when NativeSize > 0 the copy gets its own
// duplicate of the native block, or a null NativeRecord when that cannot be allocated.
// Null when the record itself cannot be allocated.
template <class Rec> Rec* CommCopyRecord(const Rec& source) noexcept
{
    static_assert(IsCommRecord<Rec>);
    Rec* copy = new (std::nothrow) Rec;
    if (copy == nullptr) {
        return nullptr;
    }
    std::memcpy(static_cast<void*>(copy), &source, sizeof(Rec));
    if (copy->NativeSize > 0 && copy->NativeRecord != nullptr) {
        copy->NativeRecord = CommDuplicateNative(source.NativeRecord, source.NativeSize);
    }
    return copy;
}

// Frees an owned native block (NativeSize > 0), then the record. A borrowed block stays.
template <class Rec> void CommReleaseRecord(Rec* record) noexcept
{
    if (record == nullptr) {
        return;
    }
    if (record->NativeSize > 0 && record->NativeRecord != nullptr) {
        CommFreeNative(record->NativeRecord);
    }
    delete record;
}

// The contact key catalogue: key number, display label and the field's capacity in bytes.
struct CommAddrKeyInfo
{
    int Key;
    const char* Label;
    int Width;
};
std::span<const CommAddrKeyInfo> CommAddrKeyTable() noexcept;
// The catalogue entry of a key, or null.
const CommAddrKeyInfo* CommAddrKeyFind(int key) noexcept;
