#pragma once
// The ACT! contact field table: the 89 fields of the contact record, each with its
// identifier, label, type and width. It is what the custom field mapping offers; the
// identifiers are the values stored in the settings ACTCustomID1..ACTCustomID9.
#include <span>
#include <string>
#include <string_view>

#include "ACT/ACTRecords.h"

struct ACTFieldInfo
{
    int Id;
    char Label[32];
    int Type;  // ACTFieldTypeText, ACTFieldTypeFlag or ACTFieldTypeDate
    int Width; // text capacity, terminator included; 4 for flags, 8 for dates
};

// All 89 entries in identifier order (1..89).
std::span<const ACTFieldInfo> ACTContactFieldTable();
// The entry at index 0..88; null outside.
const ACTFieldInfo* ACTContactFieldAt(int index);
// The entry of an identifier; null when there is none.
const ACTFieldInfo* FindACTContactField(int id);
// The entry of a label, matched without regard to case; null when there is none.
const ACTFieldInfo* FindACTContactFieldByLabel(std::string_view label);

// Where a field lives in a contact record: its layout field (kind, offset, capacity). Null
// for an identifier that is no field.
const CxLayoutField* ACTContactFieldStorage(int id);

// The text that a mapping slot naming this identifier copies: only text fields wider than
// one character. False when the identifier gives no value to the mapping.
bool ACTMappedFieldText(const ACTAddrRec& rec, int id, std::string_view* text);

// A field of a contact record as text (flags "0"/"1", dates as OLE dates), for the record
// detail lines; empty for an identifier that is no field.
std::string ACTContactFieldText(const ACTAddrRec& rec, int id);
// Sets a text field from text, cut to its capacity; false for a field that is not a text.
bool SetACTContactText(ACTAddrRec& rec, int id, std::string_view text);
