#include "palm/PalmTodoEx2.h"

#include "misc/CxDebugUtil.h"
#include "palm/PalmEnv.h"

PmTodoEx2Util::PmTodoEx2Util() = default;

PmTodoEx2Util::PmTodoEx2Util(const std::string& path)
{
    m_loaded = Load(path);
}

PmTodoEx2Util::~PmTodoEx2Util() = default;

const PmColumnList& PmTodoEx2Util::Columns()
{
    static const PmColumnList columns = {"Record ID",
                                         "Status",
                                         "Placement",
                                         "Private",
                                         "Category",
                                         "Note",
                                         "Description",
                                         "Due Date",
                                         "Completed",
                                         "Priority",
                                         "Repeat On Complete Date",
                                         "Complete Date",
                                         "Alarm Set",
                                         "Alarm Time",
                                         "Alarm Advance",
                                         "Repeat Start Date",
                                         "Repeat Info"};
    return columns;
}

namespace {

void Fill(PmTodoEx2Rec& rec, const PmRow& row)
{
    PmEx2Int(row[0], rec.recordId);
    PmEx2Int(row[1], rec.status);
    PmEx2Int(row[2], rec.placement);
    PmEx2Bool(row[3], rec.isPrivate);
    PmEx2Int(row[4], rec.categoryId);
    rec.note = PmEx2Text(row[5], 8192);
    rec.description = PmEx2Text(row[6], 256);
    PmEx2Int(row[7], rec.dueDate);
    PmEx2Bool(row[8], rec.completed);
    PmEx2Int(row[9], rec.priority);
    PmEx2Bool(row[10], rec.repeatOnCompleteDate);
    PmEx2Int(row[11], rec.completeDate);
    PmEx2Bool(row[12], rec.alarmSet);
    PmEx2Int(row[13], rec.alarmTime);
    PmEx2Int(row[14], rec.alarmAdvance);
    PmEx2Int(row[15], rec.repeatStartDate);
    rec.repeatInfo = PmEx2Text(row[16], 256);
}

} // namespace

bool PmTodoEx2Util::Load(const std::string& path)
{
    m_loaded = false;
    m_records.clear();
    if (path.empty()) {
        FW_LOG(0, "Invalid Palm Desktop Task database file name.");
        return false;
    }
    FW_LOG(2, "Loading Palm Desktop Tasks: %s", path.c_str());
    if (!Open(kPmAccessorTodo, path)) {
        FW_LOG(0, "Open Palm Desktop Tasks database failed: %s", path.c_str());
        return false;
    }
    FW_LOG(2, "Start loading Palm Desktop Task main records.");
    const PmColumnList& columns = Columns();
    PmRow row;
    bool fetched = m_accessor->SelectFirst("Main", columns, row);
    if (fetched) {
        FW_LOG(2, "Query first record in the Task database table successfully.");
    } else {
        FW_LOG(
            2,
            "Failed to query the first record of the Task main table. Check if there is any records in the "
            "database table.");
    }
    while (fetched) {
        PmTodoEx2Rec rec;
        if (row.size() == columns.size()) {
            Fill(rec, row);
        }
        rec.dueDateText = std::to_string(rec.dueDate);
        rec.completeDateText = std::to_string(rec.completeDate);
        rec.alarmTimeText = std::to_string(rec.alarmTime);
        // The to-do list knows no yearly rules: "Y" gives no repeat.
        PmParseRepeatRule(rec.repeatInfo, false, 0, rec.repeat);
        GetCategoryName(rec.categoryId, rec.categoryName);
        m_records.push_back(std::move(rec));
        fetched = m_accessor->SelectNext("Main", columns, row);
        if (!fetched) {
            FW_LOG(2, "Failed to query the next record of the Task main table. Check if it is the end of the "
                      "table.");
        }
    }
    FW_LOG(2, "Loading Palm Desktop Task main records completed successfully.");
    m_loaded = true;
    return true;
}

bool PmTodoEx2Util::LoadByUser(std::int32_t userId)
{
    FW_LOG(2, "Start loading Palm Desktop Tasks by user ID: %d", userId);
    std::string folder;
    if (!PmGetUserDataPath(userId, folder)) {
        FW_LOG(0, "Failed to get user database path by user ID.");
        m_loaded = false;
        return false;
    }
    const std::string path = PmDataFilePath(folder, "todo", "Todolist.mdb");
    FW_LOG(2, "Get user file successfully, try loading file:%s", path.c_str());
    return Load(path);
}
