#include "palm/PalmDateEx2.h"

#include "misc/CxDebugUtil.h"
#include "palm/PalmEnv.h"

PmDateEx2Util::PmDateEx2Util() = default;

PmDateEx2Util::PmDateEx2Util(const std::string& path)
{
    m_loaded = Load(path);
}

PmDateEx2Util::~PmDateEx2Util() = default;

const PmColumnList& PmDateEx2Util::Columns()
{
    static const PmColumnList columns = {"Record ID", "Status",        "Placement",  "Private",
                                         "Category",  "Note",          "Start Time", "End Time",
                                         "Untimed",   "Time Zone",     "Location",   "Summary",
                                         "Alarm",     "Alarm Advance", "Alarm Unit", "Repeated Event"};
    return columns;
}

namespace {

void Fill(PmDateEx2Rec& rec, const PmRow& row)
{
    PmEx2Int(row[0], rec.recordId);
    PmEx2Int(row[1], rec.status);
    PmEx2Int(row[2], rec.placement);
    PmEx2Bool(row[3], rec.isPrivate);
    PmEx2Int(row[4], rec.categoryId);
    rec.note = PmEx2Text(row[5], 8192);
    // Real files keep the times as text holding decimal seconds.
    PmEx2Int(row[6], rec.startTime);
    PmEx2Int(row[7], rec.endTime);
    PmEx2Bool(row[8], rec.untimed);
    rec.timeZone = PmEx2Text(row[9], 64);
    rec.location = PmEx2Text(row[10], 256);
    rec.summary = PmEx2Text(row[11], 256);
    PmEx2Bool(row[12], rec.alarm);
    PmEx2Int(row[13], rec.alarmAdvance);
    PmEx2Int(row[14], rec.alarmUnit);
    rec.repeatedEvent = PmEx2Text(row[15], 256);
}

} // namespace

bool PmDateEx2Util::Load(const std::string& path)
{
    m_loaded = false;
    m_records.clear();
    FW_LOG(2, "Loading Palm Desktop Calendar: %s", path.c_str());
    if (!Open(kPmAccessorDate, path)) {
        FW_LOG(0, "Open Palm Desktop Calendar database failed: %s", path.c_str());
        return false;
    }
    FW_LOG(2, "Start loading Palm Desktop Calendar main records.");
    const PmColumnList& columns = Columns();
    PmRow row;
    bool fetched = m_accessor->SelectFirst("Main", columns, row);
    if (fetched) {
        FW_LOG(2, "Query first record in the Calendar database table successfully.");
    } else {
        FW_LOG(
            2,
            "Failed to query the first record of the Calendar main table. Check if there is any records in "
            "the database table.");
    }
    while (fetched) {
        PmDateEx2Rec rec;
        if (row.size() == columns.size()) {
            Fill(rec, row);
        }
        rec.startTimeText = std::to_string(rec.startTime);
        rec.endTimeText = std::to_string(rec.endTime);
        PmParseRepeatRule(rec.repeatedEvent, true, rec.startTime, rec.repeat);
        GetCategoryName(rec.categoryId, rec.categoryName);
        m_records.push_back(std::move(rec));
        fetched = m_accessor->SelectNext("Main", columns, row);
        if (!fetched) {
            FW_LOG(
                2,
                "Failed to query the next record of the Calendar main table. Check if it is the end of the "
                "table.");
        }
    }
    FW_LOG(2, "Loading Palm Desktop Calendar main records completed successfully.");
    m_loaded = true;
    return true;
}

bool PmDateEx2Util::LoadByUser(std::int32_t userId)
{
    FW_LOG(2, "Start loading Palm Desktop Calendar by user ID: %d", userId);
    std::string folder;
    if (!PmGetUserDataPath(userId, folder)) {
        FW_LOG(0, "Failed to get user database path by user ID.");
        m_loaded = false;
        return false;
    }
    const std::string path = PmDataFilePath(folder, "datebook", "DateBook.mdb");
    FW_LOG(2, "Get user file successfully, try loading file:%s", path.c_str());
    return Load(path);
}
