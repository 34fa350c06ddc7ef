#pragma once
// The native records of the Google calendar exchange, shared by the calendar connector and
// the Google calendar helper program so that both sides read and write them with the same
// code:
//   "GDate.dat"  the events: an integer record count, then the records (GDateRec)
//   "GCal.dat"   the calendar definitions: an integer count, then the definitions (GCalRec)
// Each field is stored in the order of its struct below (CxFile encodings: integers 4 bytes,
// dates 8-byte OLE Automation dates in local time, texts length-prefixed). Every text buffer
// is the field's capacity, terminator included.
//
// Each layout is also described by a table of fields (name, kind, offset, capacity), which
// the readers and writers here walk, and which a helper may walk too.
//
// Fields named KeptN are carried unchanged between load and submit; what they mean, like the
// calendar definition texts other than the time zone name and the attributes A and B, lies
// with the helper.
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "exchange/CxHelperProtocol.h"
#include "exchange/CxRecordLayout.h"

class CxFile;

// The calendar's exchange files and helper program, and its calendar definitions file.
inline constexpr CxHelperFiles GDateExchangeFiles{"fw-google-calendar", "GDate.dat",       "GDateParam.dat",
                                                  "GDateErr.dat",       "GDateStatus.dat", "GDateData.ini"};
inline constexpr char GCalFileName[] = "GCal.dat";

// Change marks and actions of an event record.
constexpr int GDateChangeMarkLoaded = 1;
constexpr int GDateChangeMarkSubmit = 2;
constexpr int GDateActionNew = 1;
constexpr int GDateActionChanged = 2;

// The mark of an all-day event in Kept9 (the record has no field of its own for it).
constexpr int GDateAllDayMark = 1;

// Reminder methods and units of an event record.
constexpr int GDateReminderPopup = 1; // any other method is 0
constexpr int GDateUnitMinutes = 0;
constexpr int GDateUnitHours = 1;
constexpr int GDateUnitDays = 2;
constexpr int GDateUnitWeeks = 3;

struct GDateRec
{
    int Kept1;
    int ChangeMark; // 2 for records added or changed by the system
    int Action;     // 1 new, 2 changed
    char Kept4[32];
    char Subject[256];
    char Location[256];
    double Start; // OLE Automation date, local time
    double End;
    int Kept9; // GDateAllDayMark for an all-day event, else 0
    int AttrB; // 0, 1, 2
    int AttrA; // 0, 1, 2
    int ReminderCount;
    int ReminderMethods[3]; // 1 or 0
    int ReminderAmounts[3];
    int ReminderUnits[3]; // GDateUnit...
    // iCalendar lines: DTSTART, DTEND, RRULE and a VTIMEZONE block, CR LF between them.
    char Recurrence[4096];
    int RepeatKind; // 0..6 as RecurrenceRule::Kind
    int HasEnd;
    double PatternStart;
    double PatternEnd;
    int Interval;
    int DayOfWeekMask;
    int DayOfMonth;
    int MonthOfYear;
    int Instance;
    char Kept26[4096];
    char Calendar[4096]; // the calendar of the event; empty: the default calendar
    char Body[10240];
    char Categories[256];
    double Kept30;
    double Kept31;
};

struct GCalRec
{
    char CalendarID[256];
    char Title[1024];
    char Summary[1024];
    char TimeZone[256]; // a zone name of the time zone database, e.g. "Europe/London"
};

// One field of a layout, in file order.
// The fields of the record structs, as the record file holds them.
using GDateFieldKind = CxFieldKind;
using GDateFieldDesc = CxLayoutField;

std::span<const GDateFieldDesc> GDateFields();
std::span<const GDateFieldDesc> GCalFields();

// Reads one record or definition into rec, which the caller has zeroed. Each text keeps what
// fits its capacity; a record cut short by the end of the file keeps zeros in the fields that
// are missing. False when it was not there in full or held a damaged length (it is still
// usable: it then holds what could be read).
bool LoadGDateRecord(CxFile& file, GDateRec& rec);
bool LoadGCalRecord(CxFile& file, GCalRec& rec);
// Writes one record or definition; false when a write failed.
bool SaveGDateRecord(CxFile& file, const GDateRec& rec);
bool SaveGCalRecord(CxFile& file, const GCalRec& rec);

// Reads a whole file that is open for reading: the count, then up to count records, stopping
// at the end of the file (a damaged count never makes the reader allocate or loop beyond
// what the file holds; a negative count reads as 0). records is replaced. False when the
// count is missing or any record was not read in full; the records read are kept either way.
bool LoadGDateRecordFile(CxFile& file, std::vector<GDateRec>& records);
bool LoadGCalRecordFile(CxFile& file, std::vector<GCalRec>& records);
// Writes the count and every record to a file open for writing; false when a write failed.
bool SaveGDateRecordFile(CxFile& file, std::span<const GDateRec> records);
bool SaveGCalRecordFile(CxFile& file, std::span<const GCalRec> records);

// A field of a record as text: integers in decimal, dates as OLE Automation dates ("%.6f"),
// texts up to their terminator.
inline std::string GDateFieldText(const GDateFieldDesc& field, const void* rec)
{
    return LayoutFieldText(field, rec);
}
