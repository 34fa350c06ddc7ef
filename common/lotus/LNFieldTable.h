#pragma once
// The Lotus Notes contact field table: the 54 fields that the custom field mapping offers,
// each with its identifier, label, type and width. The identifiers are the values stored in
// the settings LNCustomID1..LNCustomID9.
#include <cstddef>
#include <span>
#include <string_view>

struct LNAddrRec;

constexpr int LNFieldTypeText = 1;
constexpr int LNFieldTypeDate = 6;

struct LNFieldInfo
{
    int Id;
    char Label[32];
    int Type;  // LNFieldTypeText or LNFieldTypeDate
    int Width; // capacity of the native field; 8 for dates
};

// All 54 entries in identifier order (1..54).
std::span<const LNFieldInfo> LNContactFieldTable();
// The entry of an identifier; null when there is none.
const LNFieldInfo* FindLNContactField(int id);

// The native text that a mapping slot naming this identifier copies: only text fields of the
// contact record wider than one character, never the item identifier or the custom fields and
// labels. False when the identifier gives no value to the mapping.
bool LNMappedFieldText(const LNAddrRec& rec, int id, std::string_view* text);
