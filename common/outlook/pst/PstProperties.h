#pragma once
// MAPI properties as an Outlook data file holds them, and Outlook's names for them.
//
// A property is either tagged (an id below 0x8000, the same in every file) or named (a
// property set GUID with a numeric id or a string name, which each file maps to a tag of its
// own at 0x8000 or above). PropertyKey says which property is meant; RawProperty is one
// property as read from the file; PropertyValue is its value decoded by its MAPI type.
//
// The Outlook name table maps the property names of Outlook's object model that the
// connectors read (FirstName, Email1Address, Start, AllDayEvent, DueDate, Color, ...) to the
// MAPI property behind each, with the value type Outlook gives it.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "outlook/pst/PstBlobs.h"

namespace pst {

// MAPI value types.
enum PropType : std::uint16_t
{
    kTypeShort = 0x0002,
    kTypeLong = 0x0003,
    kTypeFloat = 0x0004,
    kTypeDouble = 0x0005,
    kTypeCurrency = 0x0006,
    kTypeAppTime = 0x0007,
    kTypeError = 0x000A,
    kTypeBoolean = 0x000B,
    kTypeInt64 = 0x0014,
    kTypeString8 = 0x001E,
    kTypeUnicode = 0x001F,
    kTypeSysTime = 0x0040,
    kTypeGuid = 0x0048,
    kTypeBinary = 0x0102,
    kTypeMvShort = 0x1002,
    kTypeMvLong = 0x1003,
    kTypeMvInt64 = 0x1014,
    kTypeMvString8 = 0x101E,
    kTypeMvUnicode = 0x101F,
    kTypeMvSysTime = 0x1040,
    kTypeMvBinary = 0x1102,
};

// A property set GUID in the byte order the file stores it.
using Guid = std::array<std::uint8_t, 16>;

extern const Guid kPsetidAddress;     // {00062004-0000-0000-C000-000000000046}
extern const Guid kPsetidAppointment; // {00062002-...}
extern const Guid kPsetidTask;        // {00062003-...}
extern const Guid kPsetidCommon;      // {00062008-...}
extern const Guid kPsetidNote;        // {0006200E-...}
extern const Guid kPsPublicStrings;   // {00020329-...}

struct PropertyKey
{
    enum class Kind
    {
        Tag,
        NamedId,
        NamedString
    };
    Kind kind = Kind::Tag;
    std::uint16_t tag = 0; // Kind::Tag
    Guid set{};            // named kinds
    std::uint32_t lid = 0; // Kind::NamedId
    std::string name;      // Kind::NamedString (UTF-8)

    static PropertyKey Tag(std::uint16_t id);
    static PropertyKey Named(const Guid& set, std::uint32_t lid);
    static PropertyKey Named(const Guid& set, std::string name);
};

// One property of a file's item, as the file holds it.
struct RawProperty
{
    std::uint16_t fileTag = 0; // the tag in this file
    std::uint16_t type = 0;    // MAPI value type
    bool named = false;        // resolved through the name-to-id map
    Guid set{};
    bool stringName = false;
    std::uint32_t lid = 0;
    std::string name; // UTF-8, for string-named properties
    Bytes data;       // the value's bytes as stored

    bool Matches(const PropertyKey& key) const;
};

// A value decoded by its MAPI type. Only the members of its type are set.
struct PropertyValue
{
    std::uint16_t type = 0;
    std::int64_t integer = 0; // short, long, boolean (0/1), int64, currency, systime (FILETIME)
    double real = 0.0;        // float, double, apptime
    std::u16string text;      // string8 (decoded with the file's code page), unicode
    Bytes binary;             // binary, guid
    std::vector<std::int64_t> integers;
    std::vector<std::u16string> texts;
    std::vector<Bytes> binaries;
};

// Decodes the stored bytes by the value type; nullopt when the bytes do not fit the type
// (a text of an odd number of UTF-16 bytes, a truncated number, a damaged multi-value).
// 8-bit texts are read in codePage.
std::optional<PropertyValue> DecodeProperty(std::uint16_t type, ByteSpan data, unsigned codePage);

// FILETIME ticks (100 ns since 1601-01-01 UTC).
constexpr std::int64_t kFileTimeTicksPerDay = 864000000000LL;
// The range of times the reader trusts: 1601-01-01 to 4501-01-01 (Outlook's "no date") and
// a day past it; anything outside is damage.
constexpr std::int64_t kFileTimeMax = 1059204LL * kFileTimeTicksPerDay;
// FILETIME of 4500-01-01 00:00: a time at or after it means "none".
constexpr std::int64_t kFileTimeNone = 1058838LL * kFileTimeTicksPerDay;
bool IsTrustedFileTime(std::int64_t fileTime);
// A UTC FILETIME as a local OLE date (the process's time zone); nullopt for "none"
// (0, 4500 or later) and times out of range.
std::optional<double> FileTimeToLocalOleDate(std::int64_t fileTime);
// A FILETIME that holds a wall-clock time (the task dates, local birthdays) as an OLE date,
// without conversion; nullopt as above.
std::optional<double> FileTimeToOleDate(std::int64_t fileTime);

// --- Outlook's names ------------------------------------------------------------------------

// The value type Outlook gives a property.
enum class OutlookType
{
    Text, // VT_BSTR
    Long, // VT_I4
    Bool, // VT_BOOL
    Date, // VT_DATE (local OLE date, 0 = none)
};

// How the value is made from the MAPI property.
enum class OutlookConversion
{
    Plain,      // the value as it is (a UTC time is made local)
    WallClock,  // a time kept as local wall-clock time: no time-zone conversion
    Subject,    // without the prefix marker
    Body,       // the plain body, from the compressed RTF where there is no plain body
    Categories, // the keywords joined with ", "
    EntryId,    // the item's entry ID in hexadecimal
    Percent,    // a fraction 0..1 as a whole percentage
    Recurring,  // an appointment's or task's recurrence flag
    Constant,   // a constant value (Saved)
};

// The item classes a name belongs to.
enum ItemClassMask : unsigned
{
    kClassContact = 1,
    kClassAppointment = 2,
    kClassTask = 4,
    kClassNote = 8,
    kClassAny = 15,
};

struct OutlookProperty
{
    const char* name; // Outlook's name, e.g. "Email1Address"
    unsigned classes; // ItemClassMask
    OutlookType type;
    OutlookConversion conversion;
    PropertyKey key; // the MAPI property (unused for EntryId and Constant)
    // A tagged property holding the UTC form of the same time, read (and made local) when the
    // item lacks the wall-clock one; 0 = none.
    std::uint16_t fallbackTag = 0;
};

// The whole table.
const std::vector<OutlookProperty>& OutlookProperties();
// The entry for a name (case-insensitive, as Outlook matches names) on an item class; null
// when the name is not known for that class.
const OutlookProperty* FindOutlookProperty(std::string_view name, unsigned itemClass);

// Some tagged properties by name.
namespace tag {
constexpr std::uint16_t kMessageClass = 0x001A;
constexpr std::uint16_t kImportance = 0x0017;
constexpr std::uint16_t kSensitivity = 0x0036;
constexpr std::uint16_t kSubject = 0x0037;
constexpr std::uint16_t kBody = 0x1000;
constexpr std::uint16_t kRtfCompressed = 0x1009;
constexpr std::uint16_t kHtml = 0x1013;             // the HTML body (binary, or text)
constexpr std::uint16_t kInternetCodepage = 0x3FDE; // the HTML body's code page
constexpr std::uint16_t kRecordKey = 0x0FF9;
constexpr std::uint16_t kDisplayName = 0x3001;
constexpr std::uint16_t kCreationTime = 0x3007;
constexpr std::uint16_t kLastModificationTime = 0x3008;
constexpr std::uint16_t kIpmSubtreeEntryId = 0x35E0;
constexpr std::uint16_t kContainerClass = 0x3613;
constexpr std::uint16_t kIpmAppointmentEntryId = 0x36D0;
constexpr std::uint16_t kIpmContactEntryId = 0x36D1;
constexpr std::uint16_t kIpmJournalEntryId = 0x36D2;
constexpr std::uint16_t kIpmNoteEntryId = 0x36D3;
constexpr std::uint16_t kIpmTaskEntryId = 0x36D4;
constexpr std::uint16_t kLongTermEntryIdFromTable = 0x67F4;
constexpr std::uint16_t kPstPassword = 0x67FF;
} // namespace tag

// Some named properties by name.
namespace lid {
constexpr std::uint32_t kAppointmentRecur = 0x8216;         // PSETID_Appointment
constexpr std::uint32_t kRecurring = 0x8223;                // PSETID_Appointment
constexpr std::uint32_t kTaskRecurrence = 0x8116;           // PSETID_Task
constexpr std::uint32_t kTaskFRecurring = 0x8126;           // PSETID_Task
constexpr std::uint32_t kPropertyDefinitionStream = 0x8540; // PSETID_Common
} // namespace lid

} // namespace pst
