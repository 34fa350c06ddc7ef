#pragma once
// An Outlook data file (.pst, .ost) read with libpff: its default folders and their items.
//
// PstFile::Open checks the file and its password and opens it; DefaultFolder finds a default
// folder as Outlook finds it (the store's entry IDs, else the folder of the right container
// class nearest the top) and reads its own items of the folder's message class, in the file's
// order. A PstItem holds its properties, copied out of the file: typed values by MAPI
// property, and Outlook's view of them by Outlook property name (texts in the product's ANSI
// code page, times as local OLE dates). Nothing here keeps libpff types in its interface.
//
// libpff does not check much of what it reads: every value is checked before it is trusted,
// and an item is left out with a log line when a value it is read by does not hold together
// (an unreadable property, a time outside 1601..4501, a text of an odd number of UTF-16
// bytes, a size beyond kMaxValueSize, a body or recurrence pattern that cannot be decoded).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "outlook/pst/PstBlobs.h"
#include "outlook/pst/PstProperties.h"

namespace pst {

// Outlook's default folder numbers (OlDefaultFolders).
enum class DefaultFolderKind : int
{
    Calendar = 9,
    Contacts = 10,
    Notes = 12,
    Tasks = 13,
};

// A value as Outlook's object model gives it.
struct OutlookValue
{
    OutlookType type = OutlookType::Text;
    bool present = false; // false: the item has no such value (Outlook gives "", 0, false)
    std::string text;     // Text: in the product's ANSI code page
    std::int32_t number = 0;
    bool flag = false;
    double date = 0.0; // Date: local OLE date, 0 = none
};

// A recurrence pattern as Outlook's RecurrencePattern object gives it.
struct RecurrencePattern
{
    int recurrenceType = 0; // 0 daily, 1 weekly, 2 monthly, 3 month-nth, 5 yearly, 6 year-nth
    int interval = 0;
    int dayOfWeekMask = 0; // OlDaysOfWeek: 1 Sunday, 2 Monday, ... 64 Saturday
    int dayOfMonth = 0;
    int instance = 0; // 1..5 (5 = last)
    int monthOfYear = 0;
    double patternStartDate = 0.0; // local OLE date (midnight)
    double patternEndDate = 0.0;   // local OLE date (midnight); 0 when noEndDate
    bool noEndDate = false;
    int occurrences = 0;
    double startTime = 0.0; // time of day as an OLE fraction (appointments)
    double endTime = 0.0;
    int duration = 0; // minutes
};

// Outlook's view of a pattern blob; nullopt for a pattern Outlook does not know.
std::optional<RecurrencePattern> ToRecurrencePattern(const RecurrenceBlob& blob);

// A user-defined field of an item (UserProperties).
struct UserProperty
{
    std::string name; // ANSI
    OutlookValue value;
};

class PstItem
{
public:
    PstItem() = default;
    // An item from its properties (as the file gives them); codePage reads 8-bit texts,
    // storeKey (16 bytes, the store's record key) and id make the entry ID.
    PstItem(std::vector<RawProperty> properties, unsigned codePage, std::uint32_t id, Bytes storeKey = {});

    std::uint32_t Id() const { return m_id; }
    const std::vector<RawProperty>& Properties() const { return m_properties; }
    const RawProperty* Find(const PropertyKey& key) const;
    // The typed value; nullopt when the item has none or its bytes do not fit its type.
    std::optional<PropertyValue> Get(const PropertyKey& key) const;

    std::u16string MessageClass() const;
    // The subject without the prefix marker.
    std::u16string Subject() const;
    // The plain body: PidTagBody, else the text of PidTagRtfCompressed.
    std::u16string Body() const;
    // The entry ID in hexadecimal: flags, store record key and node id (24 bytes).
    std::string EntryId() const;
    // The item's class in ItemClassMask terms (0 for other classes).
    unsigned ItemClass() const;

    // The value of an Outlook property by its name ("FirstName", "Start", ...); nullopt when
    // the name is not one of the item's class.
    std::optional<OutlookValue> Outlook(std::string_view name) const;
    // The item's recurrence pattern (appointments: PidLidAppointmentRecur, tasks:
    // PidLidTaskRecurrence); nullopt when it has none or the blob is damaged.
    std::optional<RecurrencePattern> Recurrence() const;
    std::optional<RecurrenceBlob> RecurrenceBlobValue() const;
    // The user-defined fields, in the order of the item's field definitions.
    std::vector<UserProperty> UserProperties() const;

    // Why the item cannot be trusted, or empty: a property whose bytes do not fit its type.
    std::string Damage() const;

private:
    OutlookValue Convert(const OutlookProperty& p) const;

    std::vector<RawProperty> m_properties;
    unsigned m_codePage = 1252;
    std::uint32_t m_id = 0;
    Bytes m_storeKey;
};

class PstFolder
{
public:
    std::uint32_t Id() const { return m_id; }
    const std::string& Name() const { return m_name; } // ANSI
    const std::u16string& NameUtf16() const { return m_nameUtf16; }
    const std::string& ContainerClass() const { return m_containerClass; }
    const std::string& StoreId() const { return m_storeId; }
    // The folder's own items of its message class, in the file's order.
    const std::vector<PstItem>& Items() const { return m_items; }
    // Items left out because they were damaged or unreadable.
    std::size_t SkippedItems() const { return m_skipped; }

private:
    friend class PstFile;
    std::uint32_t m_id = 0;
    std::string m_name;
    std::u16string m_nameUtf16;
    std::string m_containerClass;
    std::string m_storeId;
    std::vector<PstItem> m_items;
    std::size_t m_skipped = 0;
};

// Why a file did not open: the front ends ask for a password on the last two.
enum class OpenFailure : int
{
    None = 0,
    CodePage,       // the code page is not one the reader knows
    Unreadable,     // the file cannot be read (missing, no permission)
    NotDataFile,    // not an Outlook data file
    Damaged,        // an Outlook data file that cannot be opened
    PasswordNeeded, // protected, and no password was given
    PasswordWrong,  // protected, and the password is not its password
};

class PstFile
{
public:
    // What the file's header says it is: "ANSI PST", "Unicode PST", "ANSI OST" or "OST"; empty
    // when the file cannot be read or is no Outlook data file. Reads the header only.
    static std::string FormatOf(const std::string& path);

    // Opens the file. password: the password's 8-bit bytes (empty for none); a protected file
    // opens only with its password. codePage: the code page of the 8-bit texts of an ANSI
    // file (1252 by default; 932 for a Japanese file). On failure returns null and puts a
    // message for the user into *error.
    // *failure, when given, says why it failed (None on success).
    static std::unique_ptr<PstFile> Open(const std::string& path, std::string_view password,
                                         unsigned codePage, std::string* error,
                                         OpenFailure* failure = nullptr);
    ~PstFile();
    PstFile(const PstFile&) = delete;
    PstFile& operator=(const PstFile&) = delete;

    bool IsOst() const { return m_ost; }
    unsigned CodePage() const { return m_codePage; }
    // The store's display name (ANSI) and its StoreID (hexadecimal store entry ID).
    const std::string& DisplayName() const { return m_displayName; }
    const std::string& StoreId() const { return m_storeId; }

    // The default folder of that kind with its items; null with *error set when the file has
    // no such folder.
    std::unique_ptr<PstFolder> DefaultFolder(DefaultFolderKind kind, std::string* error = nullptr);
    // A default folder of that kind with no items, for a file that has none (Outlook makes
    // the missing default folders of a store it opens): its name is the kind's ("Contacts"),
    // its id 0.
    std::unique_ptr<PstFolder> EmptyDefaultFolder(DefaultFolderKind kind) const;
    // The node id of the default folder, 0 when none (for tests and diagnostics).
    std::uint32_t DefaultFolderId(DefaultFolderKind kind);
    // Any folder by its node id, with its own items of the message class that folders of
    // that kind hold (a sub-folder, a calendar that is not the default one).
    std::unique_ptr<PstFolder> Folder(std::uint32_t id, DefaultFolderKind itemsOf,
                                      std::string* error = nullptr);

    struct Impl;

private:
    PstFile();
    std::unique_ptr<PstFolder> ReadFolder(std::uint32_t id, DefaultFolderKind kind);
    std::unique_ptr<Impl> m_impl;
    bool m_ost = false;
    unsigned m_codePage = 1252;
    std::string m_displayName;
    std::string m_storeId;
};

} // namespace pst
