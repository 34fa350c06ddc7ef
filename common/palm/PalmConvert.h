#pragma once
// Rules that the conversion of every Palm Desktop database generation shares: status filter,
// text copies, phone placement, alarms, priorities, repeat patterns, memo titles, and the
// Palm contact field catalogue of each Palm Desktop version kind.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "misc/CommRecords.h"
#include "palm/PalmRepeat.h"

// A record whose status has bit 0x04 (deleted) or 0x80 (archived) in its low byte is skipped.
bool PmIsSkippedStatus(std::uint32_t status);

// Copies at most min(maxChars, size - 1) bytes of text and terminates.
void PmCopyText(char* dest, std::size_t size, std::string_view text, std::size_t maxChars = SIZE_MAX);
template <std::size_t N>
void PmCopyText(char (&dest)[N], std::string_view text, std::size_t maxChars = SIZE_MAX)
{
    PmCopyText(dest, N, text, maxChars);
}

// Label 0 work, 1 home, 2 fax, 3 other, 4 e-mail, 5 main, 6 pager, 7 mobile; an empty text or
// another label is not copied; a later phone overwrites an earlier one with the same label.
void PmPlacePhone(CommAddrRec& rec, int label, std::string_view text);
// "Work Phone" ... "Mobile Phone"; any other number gives "Work Phone".
const char* PmPhoneLabelText(int label);

// The text of the phone slot that carries the label. With claimEmptySlot (the custom-field
// mapping), when no slot carries it, the first slot with an empty text is given the label and
// its empty text is the value. False when there is no such slot.
template <std::size_t N>
bool PmPhoneSlotValue(std::array<std::string, N>& phones, std::array<std::int32_t, N>& labels,
                      std::int32_t label, std::string& value, bool claimEmptySlot)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (labels[i] == label) {
            value = phones[i];
            return true;
        }
    }
    if (!claimEmptySlot) {
        return false;
    }
    for (std::size_t i = 0; i < N; ++i) {
        if (phones[i].empty()) {
            labels[i] = label;
            value.clear();
            return true;
        }
    }
    return false;
}

// Alarm of a calendar entry: advance unit 0 minutes, 1 hours, 2 days.
void PmConvertAlarm(CommDateRec& rec, bool alarmSet, std::int32_t advance, std::int32_t unit);
// Palm priority 1 high, 2-4 normal, 5 low.
std::int32_t PmConvertPriority(std::int32_t priority);
// Repeat fields into a recurrence rule.
void PmConvertRepeat(RecurrenceRule& rule, const PmRepeat& repeat);
// Body and title of a note from a memo text.
void PmConvertMemo(CommNoteRec& rec, std::string_view text);

// The Palm contact field catalogue.
enum PmFieldKind : std::int32_t
{
    kPmFieldText = 1,
    kPmFieldTime = 5,    // date held as a 32-bit time value
    kPmFieldOleDate = 6, // date held as an OLE automation date
};
struct PmFieldDef
{
    std::int32_t key;
    char name[32];
    std::int32_t kind;
    std::int32_t width;
};

// The version kind of the installed Palm Desktop, shared by the contact front and the
// catalogue: 0 unknown, 1 classic, 2 4.1.x, 3 6.x. Set by the contact front; when it is
// still 0 the catalogue works it out from the installed version.
int PmGetContactVersionKind();
void PmSetContactVersionKind(int kind);
// The version kind of a version number for the contact and memo fronts (-1 counts as the
// largest unsigned value).
int PmVersionKindOf(int versionNumber);

int PmCatalogueCount();                 // 23, 45 or 54; 0 for an unknown version kind
std::int32_t PmCatalogueKey(int index); // 0 outside the table
const char* PmCatalogueName(int index); // "N/A" outside the table
bool PmCatalogueEntry(std::int32_t key, PmFieldDef* def);
// The same for a given version kind (the conversion of a record uses its own generation).
int PmCatalogueCount(int versionKind);
const PmFieldDef* PmCatalogueFind(int versionKind, std::int32_t key);
