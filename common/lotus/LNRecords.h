#pragma once
// The native records of the Lotus Notes record files ("LNAddr.dat", "LNDate.dat",
// "LNTask.dat", "LNNote.dat"), shared by the connectors and the helper programs so that
// both sides read and write them with the same code.
//
// A record file is an integer record count followed by the records, each field in the
// order of its struct below (CxFile encodings: integers and booleans 4 bytes, dates 8-byte
// OLE Automation dates, texts length-prefixed). Every text buffer is the field's capacity,
// terminator included.
//
// Each layout is also described by a table of fields (name, kind, offset, capacity), so
// code that must handle every field (the readers and writers here, a database schema in a
// helper) walks the table instead of repeating the layout.
//
// Fields named KeptN are carried unchanged between load and submit, but one: the calendar
// record's Kept28 holds the Lotus Notes appointment type, "2" (LNAppointmentAllDay) for an
// all-day event. Any other value, an empty one included (as in records that other helpers
// wrote), is not an all-day event. The system writes "2" for an all-day event and "0" (an
// appointment) when an entry stops being one, and otherwise leaves the field as it was. Our
// helpers store it like every other field.
#include <cstddef>
#include <span>
#include <vector>

#include "exchange/CxRecordLayout.h"

class CxFile;

// The change mark and action of a record that the system added or changed.
constexpr int LNChangeMarkSubmit = 2;
constexpr int LNActionNew = 1;
constexpr int LNActionChanged = 2;

// Appointment types of LNDateRec::Kept28.
constexpr char LNAppointmentAllDay[] = "2";
constexpr char LNAppointmentTimed[] = "0";

struct LNAddrRec
{
    int ChangeMark;
    int Action;
    char ItemID[64];
    char FirstName[64];
    char MiddleName[64];
    char LastName[64];
    char Suffix[64];
    char DisplayName[256];
    char Company[64];
    char Department[64];
    char JobTitle[64];
    char Location[256];
    char AssistantName[64];
    char ManagerName[64];
    char BusinessEmail[128];
    char PersonalEmail[128];
    char ThirdEmail[128];
    char BusinessEmail2[128];
    char PersonalEmail2[128];
    char BusinessStreet[256];
    char BusinessCity[32];
    char BusinessState[32];
    char BusinessCountry[32];
    char BusinessPostal[32];
    char HomeStreet[256];
    char HomeCity[32];
    char HomeState[32];
    char HomeCountry[32];
    char HomePostal[32];
    char OtherStreet[256];
    char OtherCity[32];
    char OtherState[32];
    char OtherCountry[32];
    char OtherPostal[32];
    char PrimaryPhone[32];
    char BusinessPhone[32];
    char HomePhone[32];
    char MobilePhone[32];
    char BusinessFax[32];
    char HomeFax[32];
    char Pager[32];
    char InstantMessenger[64];
    char WebSite[256];
    char BlogSite[256];
    char SpouseName[64];
    char ChildrenNames[256];
    char Note[4096];
    char Category[256];
    char CustomFields[10][256];
    char CustomLabels[10][64];
    double BirthDate;   // OLE Automation date
    double Anniversary; // OLE Automation date
};

struct LNDateRec
{
    int ChangeMark;
    int Action;
    char ItemID[64];
    char Subject[256];
    char Location[256];
    char Body[20480];
    char Repeats[10]; // "1" for a repeating entry
    char Kept8[256];
    char Kept9[64];
    char Kept10[70];
    double Kept11[4];
    double Start; // OLE Automation date
    double End;
    char RepeatUnit[10];     // "D", "W", "MP", "MD", "Y"
    char RepeatInterval[10]; // decimal
    char RepeatDays[10];     // decimal weekday mask or day of month
    char Field20[10];        // "MP": the occurrence 1..5 (5 the last) in decimal; else empty
    double RepeatStartDay;   // the start's date at midnight
    char RepeatPeriod[16];   // "D", "W", "M", "Y"
    double RepeatUntil;      // 0 when the pattern has no end
    char RepeatPeriod2[10];
    int RepeatCount;
    char Kept26[16];
    double RepeatStartDay2; // copy of RepeatStartDay
    char Kept28[10];        // appointment type: "2" for an all-day event (see above)
    char Kept29[10];
    int Private; // boolean
};

struct LNTaskRec
{
    int ChangeMark;
    int Action;
    char ItemID[64];
    char Subject[256];
    char Body[8192];
    char Kept6[256];
    char Kept7[256];
    int Priority; // 0 high, 1 normal, 2 low
    int Private;  // boolean
    char Kept10[36];
    double DueDate; // OLE Automation date, 0 when none
    double Kept12;
    double CompletionDate; // OLE Automation date, 0 while the task is open
    int Kept14;
    int Kept15;
    char Kept16[16];
    char Kept17[256];
    char Kept18[256];
    int Kept19;
    char Kept20[390];
};

struct LNNoteRec
{
    int ChangeMark;
    int Action;
    char ItemID[64];
    char Title[256];
    char Body[8192];
    char Kept6[256];
    int Kept7;
    double Kept8[3];
};

// One field of a layout, in file order.
// The fields of the record structs, as the record file holds them.
using LNFieldKind = CxFieldKind;
using LNFieldDesc = CxLayoutField;

std::span<const LNFieldDesc> LNAddrFields();
std::span<const LNFieldDesc> LNDateFields();
std::span<const LNFieldDesc> LNTaskFields();
std::span<const LNFieldDesc> LNNoteFields();

// Reads one record into rec, which the caller has zeroed. Each text keeps what fits its
// capacity; a record cut short by the end of the file keeps zeros in the fields that are
// missing. False when the record was not there in full or held a damaged length (the
// record is still usable: it then holds what could be read).
bool LoadLNRecord(CxFile& file, std::span<const LNFieldDesc> fields, void* rec);
// Writes one record; false when a write failed.
bool SaveLNRecord(CxFile& file, std::span<const LNFieldDesc> fields, const void* rec);

bool LoadLNRecord(CxFile& file, LNAddrRec& rec);
bool LoadLNRecord(CxFile& file, LNDateRec& rec);
bool LoadLNRecord(CxFile& file, LNTaskRec& rec);
bool LoadLNRecord(CxFile& file, LNNoteRec& rec);
bool SaveLNRecord(CxFile& file, const LNAddrRec& rec);
bool SaveLNRecord(CxFile& file, const LNDateRec& rec);
bool SaveLNRecord(CxFile& file, const LNTaskRec& rec);
bool SaveLNRecord(CxFile& file, const LNNoteRec& rec);

// Reads the record count at the start of a record file. A negative count reads as 0.
// The count is only an upper bound: readers stop at the end of the file, so a damaged
// count never makes them allocate or loop beyond what the file holds.
bool LoadLNRecordCount(CxFile& file, int* count);

// Reads a whole record file that is open for reading: the count, then up to count records,
// stopping at the end of the file. A record cut short at the end is kept with zeros in its
// missing fields. records is replaced. False when the count is missing or any record was
// not read in full; the records read are kept either way.
template <class Rec> bool LoadLNRecordFile(CxFile& file, std::vector<Rec>& records);
extern template bool LoadLNRecordFile(CxFile&, std::vector<LNAddrRec>&);
extern template bool LoadLNRecordFile(CxFile&, std::vector<LNDateRec>&);
extern template bool LoadLNRecordFile(CxFile&, std::vector<LNTaskRec>&);
extern template bool LoadLNRecordFile(CxFile&, std::vector<LNNoteRec>&);

// Writes the count and every record to a file open for writing; false when a write failed.
template <class Rec> bool SaveLNRecordFile(CxFile& file, std::span<const Rec> records);
extern template bool SaveLNRecordFile(CxFile&, std::span<const LNAddrRec>);
extern template bool SaveLNRecordFile(CxFile&, std::span<const LNDateRec>);
extern template bool SaveLNRecordFile(CxFile&, std::span<const LNTaskRec>);
extern template bool SaveLNRecordFile(CxFile&, std::span<const LNNoteRec>);
