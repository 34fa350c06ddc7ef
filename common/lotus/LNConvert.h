#pragma once
// Conversions between the Lotus Notes native records and the common records. Loading fills
// a zeroed common record; submitting writes over a native record's current contents, so the
// fields that the conversion does not touch go back to Lotus Notes as they came.
#include <string_view>

#include "lotus/LNRecords.h"
#include "misc/CommRecords.h"

// Mapping slots of the contacts connector: the field identifiers of the Lotus Notes field
// table whose values fill MappedValues 1..10 (0 = none).
struct LNCustomMapping
{
    int FieldId[10];
};

// Decimal text to integer: optional blanks and sign, then the leading digits; 0 when there
// are none. Values beyond the int range are held at its limits.
int LNTextToInt(std::string_view text);

void LNAddrToComm(const LNAddrRec& native, const LNCustomMapping& mapping, CommAddrRec& rec);
void CommToLNAddr(const CommAddrRec& rec, LNAddrRec& native);

void LNDateToComm(const LNDateRec& native, CommDateRec& rec);
void CommToLNDate(const CommDateRec& rec, LNDateRec& native);

// now: the current local time as an OLE Automation date; a task completed later than now
// is not yet completed.
void LNTaskToComm(const LNTaskRec& native, double now, CommTaskRec& rec);
void LNTaskToComm(const LNTaskRec& native, CommTaskRec& rec);
void CommToLNTask(const CommTaskRec& rec, LNTaskRec& native);

void LNNoteToComm(const LNNoteRec& native, CommNoteRec& rec);
void CommToLNNote(const CommNoteRec& rec, LNNoteRec& native);

// The current local time as an OLE Automation date.
double LNNowAsVariantTime();
