#pragma once
// The Palm Desktop 6.x records into the common records, and the contact catalogue keys
// (version kind 3) as a 6.x contact answers them.
//
// PmToComm starts from a zeroed record and fills every mapped field; MappedValues,
// SourceType, Status, NativeRecord and NativeSize are the caller's.
#include <cstdint>
#include <string>

#include "misc/CommRecords.h"
#include "palm/PalmAddrEx2.h"
#include "palm/PalmDateEx2.h"
#include "palm/PalmMemoEx2.h"
#include "palm/PalmTodoEx2.h"

// The offset of the 6.x contact day numbers from OLE automation dates.
inline constexpr double kPmEx2DayOffset = 129080608.0;

void PmToComm(const PmAddrEx2Rec& rec, CommAddrRec& out);
void PmToComm(const PmDateEx2Rec& rec, CommDateRec& out);
void PmToComm(const PmTodoEx2Rec& rec, CommTaskRec& out);
void PmToComm(const PmMemoEx2Rec& rec, CommNoteRec& out);

// The value of catalogue key 1..54 in a 6.x contact: 1 first, 2 middle, 3 last name,
// 4 English name, 5 prefix, 6 suffix, 7 nick name, 8 company, 9 job title, 10 profession,
// 11 assistant name, 12 assistant phone, 13-20 the phone slot carrying label 0-7, 21-25 work
// street to country, 26-30 home, 31-35 other, 36-40 the chat slot carrying label 1-5, 41 website,
// 44-52 custom 1-9, 53 category name, 54 note. 42 and 43 (anniversary, birthday) are dates and
// give no text. A phone key with no slot carrying its label has no value unless claimEmptySlot:
// then the first phone slot with an empty text takes the label and gives its empty text; a
// chat key likewise takes the first chat slot without a label, and gives its text. False when
// there is no value.
bool PmContactValue(PmAddrEx2Rec& rec, std::int32_t key, std::string& value, bool claimEmptySlot);
