#pragma once
// The values of a record file, field by field: how a record struct described by its fields
// (kind, offset, capacity) is read from and written to a record file. Every family's record
// layouts are tables of such fields; the kinds are the file format's.
#include <cstddef>
#include <span>
#include <string>

class CxFile;

enum class CxFieldKind
{
    Integer, // 4 bytes
    Boolean, // 4 bytes, 0 or 1 (any non-zero read is kept as stored)
    Date,    // 8-byte double, OLE Automation date
    Text     // length-prefixed, Capacity bytes in the record, terminator included
};

// One value at `at` in the record. Read: false when the file ends or the value does not fit
// (a text is cut to capacity - 1 bytes and terminated). Write: a text buffer filled without
// its terminator is written up to its capacity only.
bool ReadLayoutValue(CxFile& file, CxFieldKind kind, void* at, int capacity);
bool WriteLayoutValue(CxFile& file, CxFieldKind kind, const void* at, int capacity);

// A field of a record struct: its name (a plain identifier, usable as a column name), kind,
// offset into the struct and, for texts, capacity.
struct CxLayoutField
{
    const char* Name;
    CxFieldKind Kind;
    std::size_t Offset;
    int Capacity;
};

// Every field in order; a value that cannot be read leaves its field as it was and makes the
// result false (the rest are still read), as a write that fails does.
// A field of a record as text, for diagnostics and the record detail lines: numbers and flags
// in decimal, dates as OLE dates ("%.6f"), texts up to their terminator or capacity.
std::string LayoutFieldText(const CxLayoutField& field, const void* rec);

bool LoadLayoutFields(CxFile& file, std::span<const CxLayoutField> fields, void* rec);
bool SaveLayoutFields(CxFile& file, std::span<const CxLayoutField> fields, const void* rec);
