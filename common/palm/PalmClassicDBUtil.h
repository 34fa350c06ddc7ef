#pragma once
// What the four readers of the classic Palm Desktop databases share: the header (version tag,
// database file name, table string), the category block, the schema block and the record
// block loop.
//
// Every line of the diagnostic log carries the file and line of the call that logs it, also
// when that call is here in the shared part. Which lines a reader writes is its Messages
// table: a null text is not logged.
#include <cstdint>
#include <string>
#include <vector>

#include "misc/CxDebugUtil.h"
#include "palm/PalmDBUtil.h"

// The schema block of a classic file.
struct PmClassicSchema
{
    std::int32_t resourceId = 0;
    std::int32_t fieldsPerRow = 0;
    std::int32_t recordIdPosition = 0;
    std::int32_t statusPosition = 1;
    std::int32_t placementPosition = 2;
    std::uint16_t fieldCount = 0;
    std::vector<std::uint16_t> fieldTypes; // never more than the database's own field count
};

// Log lines of one reader, in the order of the load. Failures are written at level 0,
// progress (the lines marked so) at level 2.
struct PmClassicMessages
{
    const char* loading = nullptr;    // progress, with the path
    const char* emptyPath = nullptr;  // before anything else
    const char* openFailed = nullptr; // with the path
    const char* versionFailed = nullptr;
    const char* fileNameFailed = nullptr;
    const char* fileNameRead = nullptr; // progress, with the name
    const char* tableFailed = nullptr;
    const char* categoryFailed = nullptr;
    const char* schemaFailed = nullptr;
    const char* recordsFailed = nullptr;
    const char* loaded = nullptr;        // progress
    const char* loadFailed = nullptr;    // with the path
    const char* loadingByUser = nullptr; // progress, with the user ID and the path
    const char* noUserFolder = nullptr;  // with the user ID
    // Category block.
    const char* categoryStart = nullptr; // progress
    const char* nextFreeIdFailed = nullptr;
    const char* categoryCountFailed = nullptr;
    const char* categoryIndexFailed = nullptr;
    const char* categoryIdFailed = nullptr;
    const char* categoryDirtyFailed = nullptr;
    const char* categoryNameFailed = nullptr;
    const char* categoryFileNameFailed = nullptr;
    const char* categoryAddFailed = nullptr;
    const char* categoryDone = nullptr; // progress
    // Schema block.
    const char* schemaStart = nullptr; // progress
    const char* resourceIdFailed = nullptr;
    const char* fieldsPerRowFailed = nullptr;
    const char* recordIdPositionFailed = nullptr;
    const char* statusPositionFailed = nullptr;
    const char* placementPositionFailed = nullptr;
    const char* fieldCountFailed = nullptr;
    const char* fieldTypeFailed = nullptr; // with the index
    const char* schemaDone = nullptr;      // progress
    // Record block.
    const char* recordsStart = nullptr; // progress
    const char* totalFieldsFailed = nullptr;
    const char* recordCount = nullptr;   // progress, with the count
    const char* unknownField = nullptr;  // with the position
    const char* recordsLoaded = nullptr; // progress, with the number of records stored
};

class PmClassicDBUtil : public PmDBUtil
{
public:
    // What tells the four readers apart.
    struct Traits
    {
        const char* subFolder; // below the user's data folder
        const char* fileName;
        std::int32_t versionTag;
        std::size_t fileNameCapacity; // characters of the database file name
        std::size_t tableCapacity;    // characters of the table string
        std::int32_t resourceId;
        const std::uint16_t* fieldTypes; // default types; their count is the list's capacity
        std::uint16_t fieldCount;
        int layoutSize; // positions the reader decodes
        const PmClassicMessages* messages;
    };

    ~PmClassicDBUtil() override;

    bool IsLoaded() const { return m_loaded; }
    // Loads a file. A record that cannot be decoded ends the records without failing the load.
    bool Load(const std::string& path);
    // Why the last load failed, for the user (PalmLoadError.h); empty after a load that worked.
    const std::string& GetLoadError() const { return m_loadError; }
    // Whether the last load found this database's version tag, so that the file is one of
    // these databases even when a later part failed.
    bool IsRecognised() const { return m_recognised; }
    // The user's data folder, then the database's sub-folder and file name.
    bool LoadByUser(std::int32_t userId);

    std::int32_t GetVersionTag() const { return m_traits.versionTag; }
    const PmClassicSchema& GetSchema() const { return m_schema; }
    // The database file name the file carries.
    const std::string& GetDatabaseFileName() const { return m_databaseFileName; }
    // The table string as read (the address book's custom labels, 0x0A after each).
    const std::string& GetTableString() const { return m_tableString; }

protected:
    explicit PmClassicDBUtil(const Traits& traits);

    // A printf-style line in the name and line of the call given.
    void Log(int level, const char* file, int line, const char* format, ...) const
        __attribute__((format(printf, 5, 6)));
    // Logs a line of the table when the reader has one (a format with at most one argument).
    template <class... Args> void Say(int level, FwLogText text, Args... args) const
    {
        if (text.text == nullptr) {
            return;
        }
        if constexpr (sizeof...(Args) == 0) {
            FW_LOG_AT(level, text.file, text.line, "%s", text.text);
        } else {
            Log(level, text.file, text.line, text.text, args...);
        }
    }

    // The table string; the address book reads its custom labels instead.
    virtual bool ReadTableString();
    // The record store.
    virtual void ClearStore() = 0;
    virtual std::size_t StoreCount() const = 0;
    // Starts a new record (cleared).
    virtual void BeginRecord() = 0;
    // Decodes the field of one position (below layoutSize) into the record.
    virtual bool ReadField(int position) = 0;
    // Stores the record unless the database drops it.
    virtual void EndRecord() = 0;

    const Traits& m_traits;
    const PmClassicMessages& m_messages;
    bool m_loaded = false;
    bool m_recognised = false;
    std::string m_loadError;
    PmClassicSchema m_schema;
    std::string m_databaseFileName;
    std::string m_tableString;

private:
    void SetDefaults();
    void Reset();
    bool LoadFile(const std::string& path);
    // A part after the version tag failed: the file is one of these databases, but damaged.
    bool Damaged();
    bool ReadCategoryBlock();
    bool ReadSchema();
    bool ReadRecords();
};

// The record store of a reader of Rec records.
template <class Rec> class PmClassicReader : public PmClassicDBUtil
{
public:
    const std::vector<Rec>& GetRecords() const { return m_records; }
    void ClearRecords() { m_records.clear(); }

protected:
    using PmClassicDBUtil::PmClassicDBUtil;

    // Whether a complete record goes into the store.
    virtual bool Keep(const Rec&) const { return true; }

    void ClearStore() override { m_records.clear(); }
    std::size_t StoreCount() const override { return m_records.size(); }
    void BeginRecord() override { m_rec = Rec{}; }
    void EndRecord() override
    {
        if (Keep(m_rec)) {
            m_records.push_back(std::move(m_rec));
        }
    }

    Rec m_rec; // the record being read
    std::vector<Rec> m_records;
};
