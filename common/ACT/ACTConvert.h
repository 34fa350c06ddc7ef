#pragma once
// Conversions between the ACT! native records and the common records. Loading fills a zeroed
// common record; submitting writes over a native record's current contents, so the fields
// that the conversion does not touch go back to ACT! as they came.
#include <string>
#include <string_view>

#include "ACT/ACTRecords.h"
#include "misc/CommKeyCompare.h"
#include "misc/CommRecords.h"

// Mapping slots of the contacts connector: the field identifiers of the ACT! contact field
// table whose values fill MappedValues 1..10 on load and take them on submit (0 = none).
struct ACTCustomMapping
{
    int FieldId[10];
};

// A phone number and its extension as one text: "<number>x<extension>", or the number alone
// when the extension is empty.
std::string JoinACTPhone(std::string_view number, std::string_view extension);
// The other way: the text before the first "x" is the number, without the blanks that end
// it ("555-1234 x12" and "555-1234x12" both give 555-1234), the text after it the extension.
// Without an "x" the whole text is the number.
void SplitACTPhone(std::string_view text, std::string& number, std::string& extension);

// Three address lines as one street: the non-empty lines in order, separated by CR LF.
std::string JoinACTStreet(std::string_view line1, std::string_view line2, std::string_view line3);
// The other way: up to the first CR LF is line 1, up to the next line 2, and the rest line 3
// (further line breaks included, so that nothing is lost). Without a line break the whole
// text is line 1.
void SplitACTStreet(std::string_view street, std::string& line1, std::string& line2, std::string& line3);

// Priorities: ACT! 0 high, 1 normal, 2 low; common 1 high, 0 normal, 2 low.
int ACTPriorityToComm(int priority);
int CommPriorityToACT(int priority);

void ACTAddrToComm(const ACTAddrRec& native, const ACTCustomMapping& mapping, CommAddrRec& rec);
void CommToACTAddr(const CommAddrRec& rec, const ACTCustomMapping& mapping, ACTAddrRec& native);

void ACTDateToComm(const ACTDateRec& native, CommDateRec& rec);
void CommToACTDate(const CommDateRec& rec, ACTDateRec& native);

void ACTTaskToComm(const ACTTaskRec& native, CommTaskRec& rec);
void CommToACTTask(const CommTaskRec& rec, ACTTaskRec& native);

void ACTNoteToComm(const ACTNoteRec& native, CommNoteRec& rec);
void CommToACTNote(const CommNoteRec& rec, ACTNoteRec& native);

// The common texts that an ACT! record holds only in part, compared as far as ACT! keeps
// them: a note's body.
CommTextLimits ACTNoteTextLimits();
