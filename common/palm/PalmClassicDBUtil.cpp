#include "palm/PalmClassicDBUtil.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "misc/CxDebugUtil.h"
#include "palm/PalmEnv.h"
#include "palm/PalmLoadError.h"

PmClassicDBUtil::PmClassicDBUtil(const Traits& traits) : m_traits(traits), m_messages(*traits.messages)
{
    SetDefaults();
}

PmClassicDBUtil::~PmClassicDBUtil() = default;

void PmClassicDBUtil::SetDefaults()
{
    m_schema = PmClassicSchema{};
    m_schema.resourceId = m_traits.resourceId;
    m_schema.fieldsPerRow = m_traits.fieldCount;
    m_schema.fieldCount = m_traits.fieldCount;
    m_schema.fieldTypes.assign(m_traits.fieldTypes, m_traits.fieldTypes + m_traits.fieldCount);
}

void PmClassicDBUtil::Reset()
{
    // Nothing of an earlier file stays: a failed load holds only what this one read.
    SetDefaults();
    ClearStore();
    m_categories.reset();
    m_databaseFileName.clear();
    m_tableString.clear();
}

void PmClassicDBUtil::Log(int level, const char* file, int line, const char* format, ...) const
{
    if (!g_debugLog.Wants(level)) {
        return;
    }
    char text[CxDebugUtil::kMessageSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    FW_LOG_AT(level, file, line, "%s", text);
}

bool PmClassicDBUtil::LoadByUser(std::int32_t userId)
{
    std::string folder;
    if (!PmGetUserDataPath(userId, folder)) {
        Say(0, m_messages.noUserFolder, static_cast<int>(userId));
        Reset();
        m_loaded = false;
        m_recognised = false;
        m_loadError = "no Palm Desktop data folder for user " + std::to_string(userId);
        return false;
    }
    const std::string path = PmDataFilePath(folder, m_traits.subFolder, m_traits.fileName);
    Say(2, m_messages.loadingByUser, static_cast<int>(userId), path.c_str());
    return Load(path);
}

bool PmClassicDBUtil::Load(const std::string& path)
{
    m_loaded = LoadFile(path);
    Close();
    if (!m_loaded) {
        Say(0, m_messages.loadFailed, path.c_str());
    }
    return m_loaded;
}

bool PmClassicDBUtil::LoadFile(const std::string& path)
{
    m_recognised = false;
    m_loadError.clear();
    if (path.empty() && m_messages.emptyPath != nullptr) {
        Say(0, m_messages.emptyPath);
        m_loadError = kPmReasonNoFileName;
        return false;
    }
    Say(2, m_messages.loading, path.c_str());
    Reset();
    // Palm Desktop is only ever read: a read-only file (a copy from a CD) loads as any other.
    if (!Open(path.c_str(), 0)) {
        Say(0, m_messages.openFailed, path.c_str());
        m_loadError = PmReadProblem(path);
        if (m_loadError.empty()) {
            m_loadError = std::strerror(EIO);
        }
        return false;
    }
    const bool empty = BytesLeft() == 0;
    std::int32_t tag = 0;
    if (!ReadInt32(tag) || tag != m_traits.versionTag) {
        Say(0, m_messages.versionFailed);
        m_loadError = empty ? kPmReasonEmpty : kPmReasonForeign;
        return false;
    }
    m_recognised = true;
    if (!ReadCString(m_databaseFileName, m_traits.fileNameCapacity)) {
        Say(0, m_messages.fileNameFailed);
        return Damaged();
    }
    Say(2, m_messages.fileNameRead, m_databaseFileName.c_str());
    if (!ReadTableString()) {
        Say(0, m_messages.tableFailed);
        return Damaged();
    }
    if (!ReadCategoryBlock()) {
        Say(0, m_messages.categoryFailed);
        return Damaged();
    }
    if (!ReadSchema()) {
        Say(0, m_messages.schemaFailed);
        return Damaged();
    }
    if (!ReadRecords()) {
        Say(0, m_messages.recordsFailed);
        return Damaged();
    }
    Close();
    Say(2, m_messages.loaded);
    return true;
}

bool PmClassicDBUtil::Damaged()
{
    m_loadError = PmDamagedReason(GetPosition());
    return false;
}

bool PmClassicDBUtil::ReadTableString()
{
    // A longer table string than the reader keeps is read whole and cut: it is not used.
    std::uint8_t shortLength = 0;
    if (!ReadByte(shortLength)) {
        return false;
    }
    std::size_t length = shortLength;
    if (shortLength == 0xFF) {
        std::uint16_t longLength = 0;
        if (!ReadUInt16(longLength)) {
            return false;
        }
        length = longLength;
    }
    const std::size_t keep = std::min(length, m_traits.tableCapacity);
    if (static_cast<std::int64_t>(length) > BytesLeft()) {
        return false;
    }
    m_tableString.resize(keep);
    return ReadBytes(m_tableString.data(), keep) && SkipBytes(length - keep);
}

bool PmClassicDBUtil::ReadCategoryBlock()
{
    m_categories = std::make_unique<PmCategoryMgr>();
    Say(2, m_messages.categoryStart);
    std::int32_t nextFreeId = 0;
    if (!ReadInt32(nextFreeId)) {
        Say(0, m_messages.nextFreeIdFailed);
        return false;
    }
    m_categories->SetNextFreeID(nextFreeId);
    std::int32_t count = 0;
    if (!ReadInt32(count)) {
        Say(0, m_messages.categoryCountFailed);
        return false;
    }
    PmCategory unfiled;
    unfiled.SetIndex(0);
    unfiled.SetID(0);
    unfiled.SetName("Unfiled");
    m_categories->Add(unfiled);
    // A negative count reads nothing; a large one ends at the first entry the file lacks or
    // at the seventeenth, which the table refuses.
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t index = 0;
        std::int32_t id = 0;
        std::int32_t dirty = 0;
        std::string name;
        std::string fileName;
        if (!ReadInt32(index)) {
            Say(0, m_messages.categoryIndexFailed);
            return false;
        }
        if (!ReadInt32(id)) {
            Say(0, m_messages.categoryIdFailed);
            return false;
        }
        if (!ReadInt32(dirty)) {
            Say(0, m_messages.categoryDirtyFailed);
            return false;
        }
        if (!ReadCString(name, 256)) {
            Say(0, m_messages.categoryNameFailed);
            return false;
        }
        if (!ReadCString(fileName, 256)) {
            Say(0, m_messages.categoryFileNameFailed);
            return false;
        }
        PmCategory category;
        category.SetIndex(index);
        category.SetID(id);
        category.SetName(name);
        category.SetFileName(fileName);
        category.SetDirty(dirty != 0);
        if (!m_categories->Add(category)) {
            Say(0, m_messages.categoryAddFailed);
            return false;
        }
    }
    m_categories->SetModified(false);
    Say(2, m_messages.categoryDone);
    return true;
}

bool PmClassicDBUtil::ReadSchema()
{
    Say(2, m_messages.schemaStart);
    PmClassicSchema schema;
    if (!ReadInt32(schema.resourceId)) {
        Say(0, m_messages.resourceIdFailed);
        return false;
    }
    if (!ReadInt32(schema.fieldsPerRow)) {
        Say(0, m_messages.fieldsPerRowFailed);
        return false;
    }
    if (!ReadInt32(schema.recordIdPosition)) {
        Say(0, m_messages.recordIdPositionFailed);
        return false;
    }
    if (!ReadInt32(schema.statusPosition)) {
        Say(0, m_messages.statusPositionFailed);
        return false;
    }
    if (!ReadInt32(schema.placementPosition)) {
        Say(0, m_messages.placementPositionFailed);
        return false;
    }
    // The field-type list has room for the database's own field count only.
    if (!ReadUInt16(schema.fieldCount) || schema.fieldCount > m_traits.fieldCount) {
        Say(0, m_messages.fieldCountFailed);
        return false;
    }
    schema.fieldTypes.resize(schema.fieldCount);
    for (int i = 0; i < schema.fieldCount; ++i) {
        if (!ReadUInt16(schema.fieldTypes[static_cast<std::size_t>(i)])) {
            Say(0, m_messages.fieldTypeFailed, i);
            return false;
        }
    }
    m_schema = std::move(schema);
    Say(2, m_messages.schemaDone);
    return true;
}

bool PmClassicDBUtil::ReadRecords()
{
    ClearStore();
    Say(2, m_messages.recordsStart);
    std::int32_t rawTotal = 0;
    if (!ReadInt32(rawTotal)) {
        Say(0, m_messages.totalFieldsFailed);
        return false;
    }
    const auto total = static_cast<std::uint32_t>(rawTotal);
    const std::int32_t perRow = m_schema.fieldsPerRow;
    // Without a positive row width there are no records to count.
    const std::uint32_t count = perRow > 0 ? total / static_cast<std::uint32_t>(perRow) : 0;
    Say(2, m_messages.recordCount, static_cast<int>(count));
    for (std::uint32_t r = 0; r < count; ++r) {
        BeginRecord();
        bool complete = true;
        for (std::int32_t position = 0; position < perRow; ++position) {
            if (position >= m_traits.layoutSize) {
                // The rest of the row reads nothing; one line per record is enough to say so.
                Say(0, m_messages.unknownField, static_cast<int>(position));
                break;
            }
            if (!ReadField(position)) {
                complete = false;
                break;
            }
        }
        if (!complete) {
            break; // the records before it stay, and the load goes on
        }
        EndRecord();
    }
    Say(2, m_messages.recordsLoaded, static_cast<int>(StoreCount()));
    return true;
}
