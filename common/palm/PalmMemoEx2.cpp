#include "palm/PalmMemoEx2.h"

#include "misc/CxDebugUtil.h"
#include "palm/PalmEnv.h"

PmMemoEx2Util::PmMemoEx2Util() = default;

PmMemoEx2Util::PmMemoEx2Util(const std::string& path)
{
    m_loaded = Load(path);
}

PmMemoEx2Util::~PmMemoEx2Util() = default;

const PmColumnList& PmMemoEx2Util::Columns()
{
    static const PmColumnList columns = {"Record ID", "Status", "Placement", "Private", "Category", "Note"};
    return columns;
}

bool PmMemoEx2Util::Load(const std::string& path)
{
    m_loaded = false;
    m_records.clear();
    if (path.empty()) {
        FW_LOG(0, "Invalid Palm Desktop Notes database name.");
        return false;
    }
    FW_LOG(2, "Loading Palm Desktop Notes: %s", path.c_str());
    if (!Open(kPmAccessorMemo, path)) {
        FW_LOG(0, "Open Palm Desktop Memos database failed: %s", path.c_str());
        return false;
    }
    FW_LOG(2, "Start loading Palm Desktop Memo main records.");
    const PmColumnList& columns = Columns();
    PmRow row;
    bool fetched = m_accessor->SelectFirst("Main", columns, row);
    if (fetched) {
        FW_LOG(2, "Query first record in the Memo database table successfully.");
    } else {
        FW_LOG(
            2,
            "Failed to query the first record of the Memo main table. Check if there is any records in the "
            "database table.");
    }
    while (fetched) {
        PmMemoEx2Rec rec;
        if (row.size() == columns.size()) {
            PmEx2Int(row[0], rec.recordId);
            PmEx2Int(row[1], rec.status);
            PmEx2Int(row[2], rec.placement);
            PmEx2Bool(row[3], rec.isPrivate);
            PmEx2Int(row[4], rec.categoryId);
            rec.note = PmEx2Text(row[5], PmMemoEx2Rec::kMaxNote + 1);
            rec.noteLength = static_cast<std::int32_t>(rec.note.size());
        }
        GetCategoryName(rec.categoryId, rec.categoryName);
        m_records.push_back(std::move(rec));
        fetched = m_accessor->SelectNext("Main", columns, row);
        if (!fetched) {
            FW_LOG(2, "Failed to query the next record of the Memo main table. Check if it is the end of the "
                      "table.");
        }
    }
    FW_LOG(2, "Loading Palm Desktop Memo main records completed successfully.");
    m_loaded = true;
    return true;
}

bool PmMemoEx2Util::LoadByUser(std::int32_t userId)
{
    FW_LOG(2, "Start loading Palm Desktop Memos by user ID: %d", userId);
    std::string folder;
    if (!PmGetUserDataPath(userId, folder)) {
        FW_LOG(0, "Failed to get user database path by user ID.");
        m_loaded = false;
        return false;
    }
    const std::string path = PmDataFilePath(folder, "MemoPad", "MemoPad.mdb");
    FW_LOG(2, "Get user file successfully, try loading file:%s", path.c_str());
    return Load(path);
}
