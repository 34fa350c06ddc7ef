#include "palm/PalmDateEx2.h"

#include "misc/CxDebugUtil.h"
#include "palm/PalmRepeatRule.h"

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

void Finish(PmDateEx2Rec& rec)
{
    rec.startTimeText = std::to_string(rec.startTime);
    rec.endTimeText = std::to_string(rec.endTime);
    PmParseRepeatRule(rec.repeatedEvent, true, rec.startTime, rec.repeat);
}

const PmEx2Messages kMessages = {
    .loading = "Loading Palm Desktop Calendar: ",
    .openFailed = "Open Palm Desktop Calendar database failed: ",
    .mainStart = "Start loading Palm Desktop Calendar main records.",
    .firstFetched = "Query first record in the Calendar database table successfully.",
    .firstFailed =
        "Failed to query the first record of the Calendar main table. Check if there is any records "
        "in the database table.",
    .nextFailed = "Failed to query the next record of the Calendar main table. Check if it is the end of the "
                  "table.",
    .mainDone = "Loading Palm Desktop Calendar main records completed successfully.",
    .loadingByUser = "Start loading Palm Desktop Calendar by user ID: ",
};

} // namespace

bool PmDateEx2Util::Load(const std::string& path)
{
    m_loaded = LoadMain(kMessages, kPmAccessorDate, path, Columns(), m_records, Fill, Finish);
    return m_loaded;
}

bool PmDateEx2Util::LoadByUser(std::int32_t userId)
{
    std::string path;
    m_loaded = FindUserFile(kMessages, userId, "datebook", "DateBook.mdb", path) && Load(path);
    return m_loaded;
}
