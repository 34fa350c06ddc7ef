#include "palm/PalmMemoEx2.h"

#include "misc/CxDebugUtil.h"

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

namespace {

void Fill(PmMemoEx2Rec& rec, const PmRow& row)
{
    PmEx2Int(row[0], rec.recordId);
    PmEx2Int(row[1], rec.status);
    PmEx2Int(row[2], rec.placement);
    PmEx2Bool(row[3], rec.isPrivate);
    PmEx2Int(row[4], rec.categoryId);
    rec.note = PmEx2Text(row[5], PmMemoEx2Rec::kMaxNote + 1);
    rec.noteLength = static_cast<std::int32_t>(rec.note.size());
}

// A memo has nothing to work out after reading.
void Finish(PmMemoEx2Rec&) {}

const PmEx2Messages kMessages = {
    .emptyPath = "Invalid Palm Desktop Notes database name.",
    .loading = "Loading Palm Desktop Notes: ",
    .openFailed = "Open Palm Desktop Memos database failed: ",
    .mainStart = "Start loading Palm Desktop Memo main records.",
    .firstFetched = "Query first record in the Memo database table successfully.",
    .firstFailed = "Failed to query the first record of the Memo main table. Check if there is any records "
                   "in the database table.",
    .nextFailed = "Failed to query the next record of the Memo main table. Check if it is the end of the "
                  "table.",
    .mainDone = "Loading Palm Desktop Memo main records completed successfully.",
    .loadingByUser = "Start loading Palm Desktop Memos by user ID: ",
};

} // namespace

bool PmMemoEx2Util::Load(const std::string& path)
{
    m_loaded = LoadMain(kMessages, kPmAccessorMemo, path, Columns(), m_records, Fill, Finish);
    return m_loaded;
}

bool PmMemoEx2Util::LoadByUser(std::int32_t userId)
{
    std::string path;
    m_loaded = FindUserFile(kMessages, userId, "MemoPad", "MemoPad.mdb", path) && Load(path);
    return m_loaded;
}
