#pragma once
// The Outlook contact fields that a custom field can be mapped from: code, label, type and width.
// The code is what the settings keep for a mapping (OLCustomID1..9), the label what the mapping
// page shows.
#include <cstdint>
#include <string>

struct OlAddrRec;

constexpr std::int32_t kOlFieldText = 1;
constexpr std::int32_t kOlFieldLong = 4;
constexpr std::int32_t kOlFieldDate = 6;

struct OlFieldInfo
{
    std::int32_t Code;
    char Label[32];
    std::int32_t Type; // kOlFieldText, kOlFieldLong or kOlFieldDate
    std::int32_t Width;
};

// 75 entries, in table order.
int OlAddrFieldCount();
// The code of the entry at a 0-based index; 0 at or beyond the end.
std::int32_t OlAddrFieldCode(int index);
// The label of the entry at a 0-based index; "N/A" at or beyond the end.
const char* OlAddrFieldLabel(int index);
// The entry with the code; false when there is none.
bool OlAddrFieldEntry(std::int32_t code, OlFieldInfo* info);

// The text of a text field of the record, by its code; false for a code outside the table or a
// field that is no text. The text never runs past the field's own buffer.
bool OlAddrFieldText(const OlAddrRec& rec, std::int32_t code, std::string& text);
