#include "palm/PalmExDBUtil.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "misc/WinUtil.h"
#include "palm/PalmEnv.h"
#include "palm/PalmLoadError.h"

namespace {

// After a failing field the calendar, memo and to-do readers log one line per remaining
// record. The count comes from the file, so the lines are bounded by what the file could have
// held, and never fewer than this many.
constexpr std::int64_t kMinErrorLines = 256;

// Every field of a record takes at least a type code and a 32-bit value.
constexpr std::int64_t kMinFieldBytes = 8;

} // namespace

PmExDBUtil::PmExDBUtil(const Traits& traits) : m_traits(traits)
{
    SetDefaults();
}

PmExDBUtil::~PmExDBUtil() = default;

void PmExDBUtil::SetDefaults()
{
    m_schema.resourceId = m_traits.resourceId;
    m_schema.fieldsPerRow = m_traits.fieldCount;
    m_schema.recordIdPosition = 0;
    m_schema.statusPosition = 2;
    m_schema.placementPosition = 4;
    m_schema.fieldCount = m_traits.fieldCount;
    m_schema.fieldTypes.assign(m_traits.fieldTypes, m_traits.fieldTypes + m_traits.fieldCount);
}

void PmExDBUtil::LogFormatted(int level, const char* file, int line, const char* format, ...) const
{
    char stackBuffer[512];
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(stackBuffer, sizeof stackBuffer, format, args);
    va_end(args);
    if (needed < 0) {
        va_end(copy);
        return;
    }
    if (static_cast<std::size_t>(needed) < sizeof stackBuffer) {
        va_end(copy);
        FW_LOG_AT(level, file, line, "%s", stackBuffer);
        return;
    }
    std::string text(static_cast<std::size_t>(needed) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, copy);
    va_end(copy);
    FW_LOG_AT(level, file, line, "%s", text.c_str());
}

bool PmExDBUtil::LoadByUser(std::int32_t userId)
{
    Log(2, "Start loading Palm Desktop %s by user ID: %d", m_traits.kind, userId);
    std::string folder;
    if (!PmGetUserDataPath(userId, folder)) {
        Log(0, "Failed to get user database path by user ID.");
        m_loaded = false;
        m_recognised = false;
        m_loadError = "no Palm Desktop data folder for user " + std::to_string(userId);
        ClearStore();
        m_categories.reset();
        return false;
    }
    const std::string path = PmDataFilePath(folder, m_traits.subFolder, m_traits.fileName);
    Log(2, "Get user file successfully, try loading file:%s", path.c_str());
    return Load(path);
}

bool PmExDBUtil::Load(const std::string& path)
{
    // Nothing of an earlier load may pass for this file's records or categories.
    m_loaded = false;
    m_recognised = false;
    m_loadError.clear();
    ClearStore();
    m_categories.reset();
    if (m_traits.rejectEmptyPath && path.empty()) {
        Log(0, "Invalid Palm Desktop Notes database file name.");
        m_loadError = kPmReasonNoFileName;
        return false;
    }
    m_loaded = LoadFile(path);
    Close();
    if (!m_loaded) {
        Log(0, "%s%s", m_traits.loadFailed, path.c_str());
    }
    return m_loaded;
}

bool PmExDBUtil::LoadFile(const std::string& path)
{
    Log(2, "Loading Palm Desktop %s: %s", m_traits.kind, path.c_str());
    // Palm Desktop is only ever read: a read-only file (a copy from a CD) loads as any other.
    if (!Open(path.c_str(), 0)) {
        Log(0, "Failed to open file: %s", path.c_str());
        m_loadError = PmReadProblem(path);
        if (m_loadError.empty()) {
            m_loadError = std::strerror(EIO);
        }
        return false;
    }
    const bool empty = BytesLeft() == 0;
    if (!CheckMagic()) {
        Log(0, "Failed to check magic code.");
        m_loadError = empty ? kPmReasonEmpty : kPmReasonForeign;
        return false;
    }
    if (!CheckVersion()) {
        Log(0, "Failed to check database version.");
        if (m_recognised) {
            return Damaged();
        }
        m_loadError = kPmReasonForeign; // a 4.1.x file of another database
        return false;
    }
    if (!ReadFileDescription()) {
        Log(0, "Failed to load database file descriptions.");
        return Damaged();
    }
    if (m_traits.customLabels && !ReadCustomLabels()) {
        Log(0, "Failed to load custom labels information.");
        return Damaged();
    }
    if (!ReadCategoryBlock()) {
        Log(0, "Failed to load category information.");
        return Damaged();
    }
    if (!ReadSchema()) {
        Log(0, "Failed to load database schema information.");
        return Damaged();
    }
    if (!ReadRecords()) {
        Log(0, "%s", m_traits.recordsFailed);
        return Damaged();
    }
    Close();
    if (m_traits.logLoaded) {
        Log(2, "Palm Desktop %s information is loaded successfully.", m_traits.kind);
    }
    return true;
}

bool PmExDBUtil::Damaged()
{
    m_loadError = PmDamagedReason(GetPosition());
    return false;
}

bool PmExDBUtil::CheckMagic()
{
    Log(2, "Start checking Palm Desktop %s database magic code.", m_traits.kind);
    std::uint8_t magic[kPmExMagicSize];
    if (!ReadBytes(magic, sizeof magic)) {
        return false;
    }
    constexpr std::size_t kMagicLength = sizeof kPmExMagic - 1;
    static_assert(5 + kMagicLength == kPmExMagicSize);
    if (std::memcmp(magic + 5, kPmExMagic, kMagicLength) != 0) {
        // What stands there comes from an unknown file: up to its first zero byte, and no
        // control character that could break the log's lines.
        std::string found;
        for (std::size_t i = 5; i < kPmExMagicSize && magic[i] != 0; ++i) {
            found.push_back(magic[i] < 0x20 || magic[i] == 0x7F ? '.' : static_cast<char>(magic[i]));
        }
        Log(0, "Incorrect database magic code: %s", found.c_str());
        return false;
    }
    Log(2, "Check magic code successfully.");
    return true;
}

bool PmExDBUtil::ReadReserved(int block, std::uint8_t* data, std::size_t size)
{
    std::fill(data, data + size, std::uint8_t{0});
    const std::size_t got = ReadAtMost(data, size);
    if (got != size) {
        Log(0, "Failed to read reserved %d field. Content=%s, Size=%d", block, HexDump(data, got),
            static_cast<int>(got));
        return false;
    }
    return true;
}

bool PmExDBUtil::CheckVersion()
{
    Log(2, "Start checking Palm Desktop %s database file version.", m_traits.kind);
    std::int32_t tag = 0;
    if (!ReadInt32(tag)) {
        return false;
    }
    if (tag != m_traits.versionTag) {
        Log(0, "Incorrect database version:%d", tag);
        return false;
    }
    m_recognised = true;
    m_versionTag = tag;
    Log(2, "Database version: %d", tag);
    if (!ReadReserved(1, m_reserved1.data(), m_reserved1.size())) {
        return false;
    }
    if (m_traits.logReserved1) {
        Log(2, "Reserved 1 Field: %s", HexDump(m_reserved1.data(), m_reserved1.size()));
    }
    Log(2, "Check database version successfully.");
    return true;
}

bool PmExDBUtil::ReadFileDescription()
{
    Log(2, "Start loading Palm Desktop %s database file description.", m_traits.kind);
    std::string name;
    if (!ReadCString(name, 260)) {
        Log(0, "Failed to read database file name.");
        return false;
    }
    // The file's own name for itself goes into the path field, as the readers always kept it.
    m_databaseFileName = name.substr(0, 255);
    m_path = m_databaseFileName;
    Log(2, "Database file name:%s", m_databaseFileName.c_str());
    m_reserved2.assign(m_traits.reserved2Size, 0);
    if (!ReadReserved(2, m_reserved2.data(), m_reserved2.size())) {
        return false;
    }
    Log(2, "Reserved 2 Fields: %s", HexDump(m_reserved2.data(), m_reserved2.size()));
    Log(2, "Load database description information successfully.");
    return true;
}

bool PmExDBUtil::ReadCategoryBlock()
{
    m_categories = std::make_unique<PmCategoryMgr>();
    Log(2, "Start loading Palm Desktop %s category information.", m_traits.kind);
    std::int32_t nextFreeId = 0;
    if (!ReadInt32(nextFreeId)) {
        Log(0, "Failed to read the next feed ID.");
        return false;
    }
    m_categories->SetNextFreeID(nextFreeId);
    std::int32_t count = 0;
    if (!ReadInt32(count)) {
        Log(0, "Failed to read categories count.");
        return false;
    }
    PmCategory unfiled;
    unfiled.SetIndex(0);
    unfiled.SetID(0);
    unfiled.SetName("Unfiled");
    m_categories->Add(unfiled);
    // A count beyond the table's 16 slots ends at the first add that finds no room.
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t index = 0;
        std::int32_t id = 0;
        std::int32_t dirty = 0;
        if (!ReadInt32(index) || !ReadInt32(id) || !ReadInt32(dirty)) {
            return false;
        }
        std::string name;
        if (!ReadCString(name, 256)) {
            Log(0, "Failed to read category name.");
            return false;
        }
        std::string fileName;
        if (!ReadCString(fileName, 256)) {
            if (m_traits.customLabels) {
                Log(0, "Failed to read category file name.");
            }
            return false;
        }
        PmCategory category;
        category.SetIndex(index);
        category.SetID(id);
        category.SetName(name);
        category.SetFileName(fileName);
        category.SetDirty(dirty != 0);
        if (!m_categories->Add(category)) {
            Log(0, "Failed to add category information.");
            return false;
        }
        Log(2, "Read category:%s", category.GetName().c_str());
    }
    m_categories->SetModified(false);
    Log(2, "Load Palm Desktop %s categories successfully.", m_traits.kind);
    return true;
}

bool PmExDBUtil::ReadSchema()
{
    Log(2, "Start loading Palm Desktop %s database schema.", m_traits.kind);
    if (!ReadInt32(m_schema.resourceId)) {
        Log(0, "Failed to read resource ID.");
        return false;
    }
    Log(2, "Resource ID:%d", m_schema.resourceId);
    if (!ReadInt32(m_schema.fieldsPerRow)) {
        Log(0, "Failed to read fields per row.");
        return false;
    }
    Log(2, "Fields Per Row:%d", m_schema.fieldsPerRow);
    if (!ReadInt32(m_schema.recordIdPosition)) {
        Log(0, "Failed to read Record ID Position.");
        return false;
    }
    Log(2, "Record ID Position:%d", m_schema.recordIdPosition);
    if (!ReadInt32(m_schema.statusPosition)) {
        Log(0, "Failed to read Record Status Position.");
        return false;
    }
    Log(2, "Record Status Position:%d", m_schema.statusPosition);
    if (!ReadInt32(m_schema.placementPosition)) {
        Log(0, "Failed to read Placement Position.");
        return false;
    }
    Log(2, "Placement Position:%d", m_schema.placementPosition);
    std::uint16_t fieldCount = 0;
    if (!ReadUInt16(fieldCount)) {
        Log(0, "Failed to read Fields Count.");
        return false;
    }
    Log(2, "Fields Count:%d", fieldCount);
    // The field-type list holds the database's own field count; a file that announces more
    // fields per record than the reader knows is not one of these databases.
    if (fieldCount > m_traits.fieldCount) {
        Log(0, "Failed to read Fields Count.");
        return false;
    }
    m_schema.fieldCount = fieldCount;
    m_schema.fieldTypes.assign(fieldCount, 0);
    for (std::uint16_t i = 0; i < fieldCount; ++i) {
        if (!ReadUInt16(m_schema.fieldTypes[i])) {
            Log(0, "Failed to read Field Type. Index=%d", static_cast<int>(i));
            return false;
        }
        Log(2, "Field (%d) - %d", i + 1, m_schema.fieldTypes[i]);
    }
    Log(2, "Palm Desktop %s database schema is loaded successfully.", m_traits.kind);
    return true;
}

bool PmExDBUtil::ReadRecords()
{
    ClearStore();
    Log(2, "Start loading Palm Desktop %s records.", m_traits.kind);
    std::int32_t total = 0;
    if (!ReadInt32(total)) {
        Log(0, "Failed to read total fields count.");
        return false;
    }
    const std::int64_t totalFields = static_cast<std::uint32_t>(total);
    Log(2, "Total Fields: %lld", static_cast<long long>(totalFields));
    // No fields per row, or no field in a record, gives no records.
    const int fieldCount = m_schema.fieldCount;
    const std::int64_t recordCount =
        m_schema.fieldsPerRow > 0 && fieldCount > 0 ? totalFields / m_schema.fieldsPerRow : 0;
    Log(2, "Calculated Record Count: %lld", static_cast<long long>(recordCount));

    // Every record reads at least kMinFieldBytes per field, so the file bounds the records.
    const std::int64_t minRecordBytes = kMinFieldBytes * std::max(fieldCount, 1);
    const std::int64_t fileRecords = BytesLeft() / minRecordBytes;
    ReserveStore(static_cast<std::size_t>(std::min(recordCount, fileRecords)));
    for (std::int64_t i = 0; i < recordCount; ++i) {
        if (ReadRecord(fieldCount)) {
            continue;
        }
        const std::int64_t position = GetPosition();
        std::int64_t lines = 1;
        if (m_traits.errorPerRemainingRecord) {
            lines += std::min(recordCount - i - 1, std::max(fileRecords, kMinErrorLines));
        }
        for (std::int64_t line = 0; line < lines; ++line) {
            Log(0, "Error reading Palm Desktop %s, current file position: %lld", m_traits.kind,
                static_cast<long long>(position));
        }
        Log(0, "Palm Desktop %s records are not saved successfully.", m_traits.kind);
        return false;
    }
    Log(2, "Palm Desktop %s records information is saved successfully.", m_traits.kind);
    return true;
}

bool PmExDBUtil::ReadBaseField(int position, PmExRecBase& rec)
{
    switch (position) {
    case 0:
        return ReadIntField(rec.recordId);
    case 1:
        return ReadIntField(rec.int1);
    case 2:
        return ReadIntField(rec.status);
    case 3:
        return ReadIntField(rec.int3);
    case 4:
        return ReadIntField(rec.placement);
    case 5:
        if (!ReadIntField(rec.categoryId)) {
            return false;
        }
        if (!GetCategoryName(rec.categoryId, rec.categoryName)) {
            rec.categoryName.clear();
        }
        return true;
    case 6:
        return ReadIntField(rec.isPrivate);
    case 7:
    case 8:
    case 9:
    case 10:
        return ReadBinaryField(rec.binary[static_cast<std::size_t>(position - 7)]);
    case 11:
        return ReadStringField(rec.text11, 32);
    case 12:
        return ReadStringField(rec.text12, 32);
    default:
        return true; // beyond the common positions: nothing to read here
    }
}

bool PmExDBUtil::ReadBinaryField(PmBinaryField& field)
{
    field = PmBinaryField{};
    if (!ReadInt32(field.typeCode) || !ReadInt32(field.sizeWord)) {
        return false;
    }
    if (field.sizeWord == 0) {
        return true;
    }
    if (field.sizeWord < 0) {
        return false;
    }
    if (field.sizeWord >= 4) {
        field.dataLength = field.sizeWord;
    } else if (!ReadInt32(field.value1) || !ReadInt32(field.value2) || !ReadInt32(field.dataLength) ||
               field.dataLength < 0) {
        return false;
    }
    if (field.dataLength == 0) {
        return true;
    }
    // The size comes from the file: nothing is allocated for bytes the file does not hold.
    if (field.dataLength > BytesLeft()) {
        return false;
    }
    field.data.resize(static_cast<std::size_t>(field.dataLength));
    return ReadBytes(field.data.data(), field.data.size());
}

bool PmExDBUtil::ReadDoubleField(double& value)
{
    std::int32_t ignored = 0;
    std::uint8_t bytes[8];
    if (!ReadInt32(ignored) || !ReadBytes(bytes, sizeof bytes)) {
        return false;
    }
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) {
        bits = (bits << 8) | bytes[i];
    }
    value = std::bit_cast<double>(bits);
    return true;
}
