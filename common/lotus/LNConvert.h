#pragma once
// Conversions between the Lotus Notes native records and the common records. Loading fills
// a zeroed common record; submitting writes over a native record's current contents, so the
// fields that the conversion does not touch go back to Lotus Notes as they came.
#include <string_view>

#include "lotus/LNRecords.h"
#include "misc/CommKeyCompare.h"
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

// AllDay travels as the appointment type (LNRecords.h).
void LNDateToComm(const LNDateRec& native, CommDateRec& rec);
void CommToLNDate(const CommDateRec& rec, LNDateRec& native);

// now: the current local time as an OLE Automation date; a task completed later than now
// is not yet completed.
void LNTaskToComm(const LNTaskRec& native, double now, CommTaskRec& rec);
void LNTaskToComm(const LNTaskRec& native, CommTaskRec& rec);
// A completed task keeps a completion date it already has (not later than now); otherwise it
// gets the task's LastModificationTime, or now when there is none or it is later than now
// (it would not load as completed). An open task leaves the completion date as it was: a
// task completed in Lotus Notes is never reopened.
void CommToLNTask(const CommTaskRec& rec, LNTaskRec& native);
// The same with now given: the current local time as an OLE Automation date.
void CommToLNTaskAt(const CommTaskRec& rec, double now, LNTaskRec& native);

void LNNoteToComm(const LNNoteRec& native, CommNoteRec& rec);
void CommToLNNote(const CommNoteRec& rec, LNNoteRec& native);

// The current local time as an OLE Automation date.
double LNNowAsVariantTime();

// The common texts that a Lotus Notes record holds only in part: for each, the store key it
// is compared by, the common field and the most characters of its native field. The
// connectors' stores compare these texts as far as Lotus Notes keeps them. Calendar entries
// and tasks hold every text whole.
CommTextLimits LNAddrTextLimits();
CommTextLimits LNNoteTextLimits();
