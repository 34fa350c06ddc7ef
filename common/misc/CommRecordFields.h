#pragma once
// The field catalogue of the four common records: every field in record order with its name,
// kind, offset and size, so that dumps, detail views and tests can walk a record without
// knowing its type. Nested fields are named "WorkAddress.Street", array entries
// "CustomValues[1]" .. "CustomValues[10]" and "Reminders[1].Method" (counted from 1, as the
// users of these names count them).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "misc/CommRecords.h"
#include "platform/WinTypes.h"

enum class CommFieldKind
{
    Text,       // fixed 8-bit ANSI buffer of Size bytes, terminated
    Int32,      // signed 32-bit integer
    Flag8,      // 8-bit flag, non-zero = true
    Flag32,     // 32-bit flag, non-zero = true
    OleDate,    // double: days since 1899-12-30, local time
    SystemTime, // SYSTEMTIME, local time
    TimeValue,  // signed 32-bit seconds since 1970-01-01 UTC; 0 = no date
    Pointer,    // NativeRecord: a link, meaningless outside the process
    Size32,     // NativeSize: unsigned 32-bit
};

struct CommField
{
    std::string Name;
    CommFieldKind Kind;
    std::size_t Offset; // from the start of the record
    std::size_t Size;   // bytes the field takes; a text's capacity, terminator included
};

// The catalogue of each record type, in field order.
std::span<const CommField> CommAddrFields();
std::span<const CommField> CommDateFields();
std::span<const CommField> CommTaskFields();
std::span<const CommField> CommNoteFields();

template <class Rec> std::span<const CommField> CommFieldsOf();
template <> inline std::span<const CommField> CommFieldsOf<CommAddrRec>()
{
    return CommAddrFields();
}
template <> inline std::span<const CommField> CommFieldsOf<CommDateRec>()
{
    return CommDateFields();
}
template <> inline std::span<const CommField> CommFieldsOf<CommTaskRec>()
{
    return CommTaskFields();
}
template <> inline std::span<const CommField> CommFieldsOf<CommNoteRec>()
{
    return CommNoteFields();
}

// The entry of a name, or null.
const CommField* CommFindField(std::span<const CommField> fields, std::string_view name);

// Size and alignment that a field of a kind has in the records (a text's size is its own).
std::size_t CommFieldKindSize(CommFieldKind kind);
std::size_t CommFieldKindAlignment(CommFieldKind kind);

// Readers of one field of a record laid out by the catalogue. They copy bytes, so the record
// needs no particular alignment; each reads only within the field.
// Text up to the terminator, or the whole field when a careless writer left none.
std::string_view CommFieldText(const void* record, const CommField& field);
// Int32, Flag8, Flag32, TimeValue and Size32 as a number (a flag as stored, not as 0/1).
std::int64_t CommFieldInteger(const void* record, const CommField& field);
double CommFieldOleDate(const void* record, const CommField& field);
SYSTEMTIME CommFieldSystemTime(const void* record, const CommField& field);
const void* CommFieldPointer(const void* record, const CommField& field);
