#include "palm/PalmTodoEx2.h"

#include "misc/CxDebugUtil.h"
#include "palm/PalmRepeatRule.h"

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

void Finish(PmTodoEx2Rec& rec)
{
    rec.dueDateText = std::to_string(rec.dueDate);
    rec.completeDateText = std::to_string(rec.completeDate);
    rec.alarmTimeText = std::to_string(rec.alarmTime);
    // The to-do list knows no yearly rules: "Y" gives no repeat.
    PmParseRepeatRule(rec.repeatInfo, false, 0, rec.repeat);
}

const PmEx2Messages kMessages = {
    .emptyPath = "Invalid Palm Desktop Task database file name.",
    .loading = "Loading Palm Desktop Tasks: ",
    .openFailed = "Open Palm Desktop Tasks database failed: ",
    .mainStart = "Start loading Palm Desktop Task main records.",
    .firstFetched = "Query first record in the Task database table successfully.",
    .firstFailed = "Failed to query the first record of the Task main table. Check if there is any records "
                   "in the database table.",
    .nextFailed = "Failed to query the next record of the Task main table. Check if it is the end of the "
                  "table.",
    .mainDone = "Loading Palm Desktop Task main records completed successfully.",
    .loadingByUser = "Start loading Palm Desktop Tasks by user ID: ",
};

} // namespace

bool PmTodoEx2Util::Load(const std::string& path)
{
    m_loaded = LoadMain(kMessages, kPmAccessorTodo, path, Columns(), m_records, Fill, Finish);
    return m_loaded;
}

bool PmTodoEx2Util::LoadByUser(std::int32_t userId)
{
    std::string path;
    m_loaded = FindUserFile(kMessages, userId, "todo", "Todolist.mdb", path) && Load(path);
    return m_loaded;
}
