#pragma once
// Outlook appointment <-> common calendar event.
#include "misc/CommRecords.h"
#include "outlook/OlDateRec.h"

// A pattern end from this year on is Outlook's way of saying that a series has no end.
constexpr int kOlNoEndYear = 4500;

// Fills a zeroed common event from the appointment; versionClass decides how the reminder is read.
void FromNative(const OlDateRec& native, CommDateRec& rec, int versionClass);
// Fills the appointment's record from the common event.
void ToNative(const CommDateRec& rec, OlDateRec& native, int versionClass);
