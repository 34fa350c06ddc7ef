#pragma once
// The Google contacts helper (fw-google-contacts): serves the contacts of a Google account's
// export folder (vCard files, Google CSV files) as the record file "GAddr.dat", and writes
// the records that the connector added or changed back into the folder's vCard files.
#include <string>
#include <vector>

#include "google/GGAddrRecord.h"
#include "google/contacts/GContact.h"

namespace gexport {

// A contact as a record: every element in a slot of its kind while there is room (the first
// of a kind is the one the connector reads), the primary elements, the uid in Kept38. A date
// without a year is given the year kNoYear.
inline constexpr int kNoYear = 1604;
void ContactToRecord(const gcontacts::GContact& contact, GGAddrRec& rec);

// Applies what a submitted record changed against the record the contact gave on load: only
// the fields whose values differ are written into the contact, so that whatever the record
// cannot carry (more elements than slots, labels, text outside the code page) is kept.
void ApplyRecord(const GGAddrRec& submitted, gcontacts::GContact& contact);

int RunGoogleContactsHelper(int argc, char** argv);

} // namespace gexport
