#pragma once
// Outlook tasks and notes <-> common tasks and notes.
#include "misc/CommRecords.h"
#include "outlook/OlTaskRec.h"

// Tasks are written to Outlook with a due date only in these years.
constexpr int kOlFirstDueYear = 2000;
constexpr int kOlLastDueYear = 2020;

void FromNative(const OlTaskRec& native, CommTaskRec& rec);
void ToNative(const CommTaskRec& rec, OlTaskRec& native);

void FromNative(const OlNoteRec& native, CommNoteRec& rec);
void ToNative(const CommNoteRec& rec, OlNoteRec& native);

// An Outlook date as a time value: 0 for none, for Outlook's "no date" (the year 4500 and later)
// and for a date a time value cannot hold.
std::int32_t OlDateToTimeValue(double date);
