#pragma once
// The records of the 4.1.x Palm Desktop databases in the common record model, and the values
// of the contact field catalogue (version kind 2) in a 4.1.x contact.
#include <cstdint>
#include <string>

#include "misc/CommRecords.h"
#include "palm/PalmAddrEx.h"
#include "palm/PalmDateEx.h"
#include "palm/PalmMemoEx.h"
#include "palm/PalmTodoEx.h"

// The stored birthday is the OLE automation date plus this.
inline constexpr double kPmExBirthdayOffset = 129080608.0;

// The OLE automation date of a stored birthday; 0 (no date) for a field left 0, for Palm
// Desktop's "no date" (a day of 2031-12-31 or 2032-01-01) and for any value that is no date
// of the years 100 to 9999.
double PmExBirthdayToOleDate(double stored);

// Fill every field that a 4.1.x record maps to; MappedValues, SourceType, Status,
// NativeRecord and NativeSize are left to the caller.
void PmToComm(const PmAddrExRec& rec, CommAddrRec& out);
void PmToComm(const PmDateExRec& rec, CommDateRec& out);
void PmToComm(const PmTodoExRec& rec, CommTaskRec& out);
void PmToComm(const PmMemoExRec& rec, CommNoteRec& out);

// The text of catalogue key (version kind 2) in a 4.1.x contact; false when it has none. A
// phone or instant-messaging key looks for the slot carrying its label. With claimEmptySlot
// (the custom-field mapping) a phone key that finds none gives its label to the first phone
// with an empty text, an instant-messaging key to slot 1 or else slot 2 when that has no label
// yet, and the value is that slot's text. The birthday is a date, not a text: no value.
bool PmContactValue(PmAddrExRec& rec, std::int32_t key, std::string& value, bool claimEmptySlot);
