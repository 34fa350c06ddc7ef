#pragma once
// The classic Palm Desktop records into the common records, and the contact catalogue keys
// (version kind 1) as a classic contact answers them.
//
// PmToComm starts from a zeroed record and fills every mapped field; MappedValues,
// SourceType, Status, NativeRecord and NativeSize are the caller's.
#include <cstdint>
#include <string>

#include "misc/CommRecords.h"
#include "palm/PalmAddr.h"
#include "palm/PalmDate.h"
#include "palm/PalmMemo.h"
#include "palm/PalmTodo.h"

void PmToComm(const PmAddrRec& rec, CommAddrRec& out);
void PmToComm(const PmDateRec& rec, CommDateRec& out);
void PmToComm(const PmTodoRec& rec, CommTaskRec& out);
void PmToComm(const PmMemoRec& rec, CommNoteRec& out);

// The value of catalogue key 1..23 in a classic contact: 1 first name, 2 last name, 3 company,
// 4 title, 5-12 the phone carrying label 0-7, 13-17 street, city, state, zip code, country,
// 18-21 custom 1-4, 22 category name, 23 note. A phone key with no phone carrying its label
// has no value, unless claimEmptySlot: then the first phone with an empty text takes the
// label and gives its empty text. False when there is no value.
bool PmContactValue(PmAddrRec& rec, std::int32_t key, std::string& value, bool claimEmptySlot);
