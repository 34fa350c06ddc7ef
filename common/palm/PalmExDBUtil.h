#pragma once
// What the four readers of the 4.1.x Palm Desktop databases share: the header steps (magic
// code, version tag, reserved blocks, file description, category block, schema), the record
// block loop, the binary and 8-byte fields, and the eleven positions every record starts with.
//
// Every line of the diagnostic log carries the file and line of the call that logs it, also
// when that call is here in the shared part.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "misc/CxDebugUtil.h"
#include "palm/PalmDBUtil.h"
#include "palm/PalmRepeat.h"

// A binary field (type codes 64 to 67): a size word of 0 carries nothing, one of 4 or more
// that many bytes of data, one of 1 to 3 two values and a counted block of data.
struct PmBinaryField
{
    std::int32_t typeCode = 0;
    std::int32_t sizeWord = 0;
    std::int32_t value1 = 0;
    std::int32_t value2 = 0;
    std::int32_t dataLength = 0;
    std::vector<std::uint8_t> data; // empty when there is no data

    bool operator==(const PmBinaryField&) const = default;
};

// Positions 0 to 12 of every 4.1.x record.
struct PmExRecBase
{
    std::int32_t recordId = 0; // 0
    std::int32_t int1 = 0;     // 1, kept and not used
    std::int32_t status = 0;   // 2: 0x04 deleted, 0x80 archived
    std::int32_t int3 = 0;     // 3, kept and not used
    std::int32_t placement = 0;
    std::int32_t categoryId = 0; // the category's place in the table (0..15)
    std::string categoryName;    // of the category at that place, at most 15 characters
    std::int32_t isPrivate = 0;
    std::array<PmBinaryField, 4> binary; // 7 to 10
    std::string text11;                  // 11 and 12, kept and not used
    std::string text12;
};

// The schema block of a 4.1.x file.
struct PmExSchema
{
    std::int32_t resourceId = 0;
    std::int32_t fieldsPerRow = 0;
    std::int32_t recordIdPosition = 0;
    std::int32_t statusPosition = 0;
    std::int32_t placementPosition = 0;
    std::uint16_t fieldCount = 0;
    std::vector<std::uint16_t> fieldTypes; // never more than the database's own field count
};

// The magic text at bytes 5 to 23 of a 4.1.x file.
inline constexpr char kPmExMagic[] = "PalmSG Database00RV";
inline constexpr std::size_t kPmExMagicSize = 24;
inline constexpr std::size_t kPmExReserved1Size = 24;
inline constexpr std::size_t kPmExReserved3Size = 42;

// The version tags and the default field types of the four databases.
inline constexpr std::int32_t kPmAddrExTag = 0x41420200;
inline constexpr std::int32_t kPmDateExTag = 0x44420200;
inline constexpr std::int32_t kPmMemoExTag = 0x4D500200;
inline constexpr std::int32_t kPmTodoExTag = 0x54440200;

inline constexpr std::array<std::uint16_t, 73> kPmAddrExFieldTypes = {
    1, 1, 1, 1, 1, 1,  6, 64, 65, 66, 67, 5, 5,                // 0-12
    5, 5, 5, 5, 1, 5,                                          // 13-18
    5, 5, 5, 5, 5, 5,  5, 1,  1,  1,  1,  1, 1, 1,             // 19-32 phones and labels
    5, 5, 5, 5, 5, 5,  5, 5,  5,                               // 33-41 custom
    1, 5, 5, 5, 5, 5,  1, 5,  5,  5,  5,  5, 1, 5, 5, 5, 5, 5, // 42-59 addresses
    5, 5, 1, 1, 5, 68, 6, 1,  1,  5,  5,  5, 5,                // 60-72
};
inline constexpr std::array<std::uint16_t, 27> kPmDateExFieldTypes = {
    1, 1, 1, 1, 1, 1, 6, 64, 65, 66, 67, 5, 5, 3, 3, 5, 1, 5, 6, 6, 1, 1, 8, 5, 1, 5, 5,
};
inline constexpr std::array<std::uint16_t, 14> kPmMemoExFieldTypes = {
    1, 1, 1, 1, 1, 1, 6, 64, 65, 66, 67, 5, 5, 5,
};
inline constexpr std::array<std::uint16_t, 25> kPmTodoExFieldTypes = {
    1, 1, 1, 1, 1, 1, 6, 64, 65, 66, 67, 5, 5, 5, 3, 6, 1, 5, 6, 3, 6, 3, 1, 3, 8,
};

class PmExDBUtil : public PmDBUtil
{
public:
    // What tells the four readers apart.
    struct Traits
    {
        const char* kind;      // "Contacts", "Calendar", "Memos", "Tasks"
        const char* subFolder; // below the user's data folder
        const char* fileName;
        std::int32_t versionTag;
        std::size_t reserved2Size;
        std::int32_t resourceId;
        const std::uint16_t* fieldTypes; // default types; their count is the list's capacity
        std::uint16_t fieldCount;
        const char* recordsFailed;    // "Failed to load Contacts records."
        const char* loadFailed;       // "Can not load Palm Desktop Contacts: ", the path follows
        bool customLabels;            // contacts: nine labels and reserved block 3
        bool logReserved1;            // all but the calendar
        bool logLoaded;               // all but the memos
        bool rejectEmptyPath;         // memos
        bool errorPerRemainingRecord; // all but the contacts
    };

    ~PmExDBUtil() override;

    bool IsLoaded() const { return m_loaded; }
    // Loads a file; the records read before a failing field stay, the result is false.
    bool Load(const std::string& path);
    // Why the last load failed, for the user (PalmLoadError.h); empty after a load that worked.
    const std::string& GetLoadError() const { return m_loadError; }
    // Whether the last load found this database's magic code and version tag, so that the file
    // is one of these databases even when a later part failed.
    bool IsRecognised() const { return m_recognised; }
    // The user's data folder, then the database's sub-folder and file name.
    bool LoadByUser(std::int32_t userId);

    std::int32_t GetVersionTag() const { return m_versionTag; }
    const PmExSchema& GetSchema() const { return m_schema; }
    const std::array<std::uint8_t, kPmExReserved1Size>& GetReserved1() const { return m_reserved1; }
    const std::vector<std::uint8_t>& GetReserved2() const { return m_reserved2; }
    // The database file name the file carries (at most 255 characters).
    const std::string& GetDatabaseFileName() const { return m_databaseFileName; }

    // Reads a binary field: type code (stored unchecked), size word and what it announces.
    bool ReadBinaryField(PmBinaryField& field);
    // Reads an 8-byte floating point field; its type code is ignored.
    bool ReadDoubleField(double& value);

protected:
    explicit PmExDBUtil(const Traits& traits);

    // A printf-style line; the file and line of the log are those of the call.
    template <class... Args> void Log(int level, FwLogText format, Args... args) const
    {
        if constexpr (sizeof...(Args) == 0) {
            FW_LOG_AT(level, format.file, format.line, "%s", format.text);
        } else {
            LogFormatted(level, format.file, format.line, format.text, args...);
        }
    }
    void LogFormatted(int level, const char* file, int line, const char* format, ...) const
        __attribute__((format(printf, 5, 6)));

    // Contacts: the nine custom labels and reserved block 3.
    virtual bool ReadCustomLabels() { return true; }
    // The record store.
    virtual void ClearStore() = 0;
    virtual std::size_t StoreCount() const = 0;
    virtual void ReserveStore(std::size_t count) = 0;
    // Reads one record of fieldCount positions into the store; false when a field fails.
    virtual bool ReadRecord(int fieldCount) = 0;
    // Positions 0 to 12; the category name is looked up after position 5.
    bool ReadBaseField(int position, PmExRecBase& rec);

    // Reads reserved block 1, 2 or 3 in full; a short read logs what arrived and fails.
    bool ReadReserved(int block, std::uint8_t* data, std::size_t size);

    const Traits& m_traits;
    bool m_loaded = false;
    bool m_recognised = false;
    std::string m_loadError;
    std::int32_t m_versionTag = 0;
    PmExSchema m_schema;
    std::array<std::uint8_t, kPmExReserved1Size> m_reserved1{};
    std::vector<std::uint8_t> m_reserved2;
    std::string m_databaseFileName;

private:
    void SetDefaults();
    bool LoadFile(const std::string& path);
    // A part after the version tag failed: the file is one of these databases, but damaged.
    bool Damaged();
    bool CheckMagic();
    bool CheckVersion();
    bool ReadFileDescription();
    bool ReadCategoryBlock();
    bool ReadSchema();
    bool ReadRecords();
};

// The record store of a reader of Rec records (Rec derives from PmExRecBase).
template <class Rec> class PmExReader : public PmExDBUtil
{
public:
    const std::vector<Rec>& GetRecords() const { return m_records; }
    void ClearRecords() { m_records.clear(); }

protected:
    using PmExDBUtil::PmExDBUtil;

    // Decodes the field of one position (13 and up) into the record.
    virtual bool ReadField(int position, Rec& rec) = 0;

    void ClearStore() override { m_records.clear(); }
    std::size_t StoreCount() const override { return m_records.size(); }
    void ReserveStore(std::size_t count) override { m_records.reserve(count); }
    bool ReadRecord(int fieldCount) override
    {
        Rec rec;
        for (int position = 0; position < fieldCount; ++position) {
            if (!(position <= 12 ? ReadBaseField(position, rec) : ReadField(position, rec))) {
                return false;
            }
        }
        m_records.push_back(std::move(rec));
        return true;
    }

    std::vector<Rec> m_records;
};
