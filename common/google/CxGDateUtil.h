#pragma once
// Google calendar, through the helper "fw-google-calendar": the events in "GDate.dat" and
// the calendar definitions in "GCal.dat" (GGDateRecord.h). Every event carries its repeat
// pattern twice: in structured fields and as an iCalendar recurrence text (GGRecurrence.h),
// which the connector writes for the events it adds or changes and reads back on load.
#include <string>
#include <vector>

#include "exchange/CxGAppBaseUtil.h"
#include "exchange/CxHelperRecordUtil.h"
#include "google/GGDateRecord.h"
#include "google/GGRecurrence.h"
#include "misc/CommDateMgr.h"
#include "misc/CxAppDescriptor.h"

// Load: the native fields into a zeroed common record (SourceType 8).
void GDateToComm(const GDateRec& native, CommDateRec& rec);
// Submit: the common record's fields over the native record's current contents; the
// recurrence text is the connector's (CxGDateUtil::BuildRecurrenceText).
void CommToGDate(const CommDateRec& rec, GDateRec& native);

// The native record behind an event, field by field, as the record detail dialogs show it.
CxRecordLines DescribeGDateEvent(const CommDateRec& record);

class CxGDateUtil : public CxHelperRecordUtil<CxGAppBaseUtil, GDateRec, CommDateRec, CommDateMgr>
{
    using Base = CxHelperRecordUtil<CxGAppBaseUtil, GDateRec, CommDateRec, CommDateMgr>;

public:
    static constexpr int kZoneNameSize = 256;

    CxGDateUtil();
    ~CxGDateUtil() override;

    // Releases the events and the definitions, deletes "GCal.dat", then the status and error
    // files. The time zone in use stays.
    void Clear() override;
    // True at once when nothing changed; otherwise writes the events and the definitions,
    // runs the helper with command 2 and clears dirty. False when either file cannot be
    // written (nothing is run then), or when the helper's run failed.
    bool Commit() override;

    // The record files; a null or empty name is the connector's own file in the working
    // folder ("GDate.dat", "GCal.dat"), another name a file in the working folder.
    virtual bool LoadEvents(const char* fileName = nullptr);
    virtual bool SaveEvents(const char* fileName = nullptr);
    virtual bool LoadCalendars(const char* fileName = nullptr);
    virtual bool SaveCalendars(const char* fileName = nullptr);

    // The calendar definitions in file order: the first, then the next after the last one
    // given; null at the end.
    const GCalRec* FirstCalendar();
    const GCalRec* NextCalendar();
    int GetCalendarCount() const { return static_cast<int>(m_calendars.size()); }

    // The connector's recurrence text of an event (see GGRecurrence.h): the zone is the time
    // zone of the first calendar definition, taken when a text is first made and kept.
    bool BuildRecurrenceText(GDateRec& rec);
    bool ParseRecurrenceText(GDateRec& rec);

    // The time zone in use: empty and null until a text first needs it.
    const char* GetZoneName() const { return m_szZoneName; }
    const char* GetZoneText() const { return m_pZoneText; }

protected:
    // Loads the events, and after them the definitions.
    bool LoadFromFile() override;
    bool SaveToFile() override;

    // Each event read is parsed (its recurrence text over its structured fields) and marked
    // as read (change mark 1) before it is converted.
    bool LoadRecFromFile_(CxFile& file, GDateRec& native) override;
    bool SaveRecToFile_(CxFile& file, const GDateRec& native) override
    {
        return SaveGDateRecord(file, native);
    }
    void NativeToComm_(const GDateRec& native, CommDateRec& record) override { GDateToComm(native, record); }
    void CommToNative_(const CommDateRec& record, GDateRec& native) override;
    void MarkChanged_(GDateRec& native, int action) override
    {
        native.ChangeMark = GDateChangeMarkSubmit;
        native.Action = action;
    }

private:
    std::string FolderFile(const char* fileName, const char* ownName) const;
    const GGRecurrenceZone* CurrentZone_();
    void ReleaseCalendars();

    std::vector<GCalRec> m_calendars;
    std::size_t m_nextCalendar = 0;
    std::string m_defaultCalendar; // empty: events that name no calendar
    char m_szZoneName[kZoneNameSize] = {};
    const char* m_pZoneText = nullptr;
    GGRecurrenceZone m_zone{};
};
