#pragma once
// Builds classic and 4.1.x Palm Desktop database files byte by byte for the tests: the
// little-endian primitives, counted strings, typed fields, repeat fields, the category block
// and the schema block. Calls chain: PalmFileWriter w; w.Int32(1).CString("x").WriteFile(p);
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "palm/PalmDBUtil.h"
#include "palm/PalmRepeat.h"

namespace fwtest {

struct PalmCategoryEntry
{
    std::int32_t index;
    std::int32_t id;
    std::int32_t dirty;
    std::string name;
    std::string fileName;
};

struct PalmSchema
{
    std::int32_t resourceId = 0;
    std::int32_t fieldsPerRow = 0;
    std::int32_t idPosition = 0;
    std::int32_t statusPosition = 1;
    std::int32_t placementPosition = 2;
    std::vector<std::uint16_t> fieldTypes;
    int fieldCount = -1; // -1: the number of field types
};

class PalmFileWriter
{
public:
    PalmFileWriter& Int32(std::int32_t value) { return UInt32(static_cast<std::uint32_t>(value)); }
    PalmFileWriter& UInt32(std::uint32_t value)
    {
        for (int i = 0; i < 4; ++i) {
            m_bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        }
        return *this;
    }
    PalmFileWriter& UInt16(std::uint16_t value)
    {
        m_bytes.push_back(static_cast<char>(value & 0xFF));
        m_bytes.push_back(static_cast<char>(value >> 8));
        return *this;
    }
    PalmFileWriter& Byte(std::uint8_t value)
    {
        m_bytes.push_back(static_cast<char>(value));
        return *this;
    }
    PalmFileWriter& Bytes(std::string_view data)
    {
        m_bytes.append(data);
        return *this;
    }
    PalmFileWriter& Bytes(const std::vector<std::uint8_t>& data)
    {
        for (std::uint8_t b : data) {
            Byte(b);
        }
        return *this;
    }
    PalmFileWriter& Double(double value)
    {
        char raw[sizeof value];
        std::memcpy(raw, &value, sizeof value);
        m_bytes.append(raw, sizeof raw); // the build machines are little-endian, as the files
        return *this;
    }

    // A length byte, or 0xFF and a 16-bit length from 255 characters on; then the text.
    PalmFileWriter& CString(std::string_view text)
    {
        if (text.size() < 0xFF) {
            Byte(static_cast<std::uint8_t>(text.size()));
        } else {
            Byte(0xFF).UInt16(static_cast<std::uint16_t>(text.size()));
        }
        return Bytes(text.substr(0, 0xFFFF));
    }

    // Typed fields.
    PalmFileWriter& IntField(std::int32_t value, std::int32_t type = kPmTypeInteger)
    {
        return Int32(type).Int32(value);
    }
    PalmFileWriter& DateField(std::int32_t value) { return IntField(value, kPmTypeDate); }
    PalmFileWriter& BoolField(bool value) { return IntField(value ? 1 : 0, kPmTypeBoolean); }
    PalmFileWriter& StringField(std::string_view text, std::int32_t word = 0)
    {
        return Int32(kPmTypeString).Int32(word).CString(text);
    }

    // Repeat field with type code 8. classTag 0xFFFF writes a class definition (schema
    // schemaNumber, the class name of the kind); another tag is a back-reference. Kind 0
    // writes the marker 0 and nothing more.
    PalmFileWriter& RepeatField(const PmRepeat& repeat, std::uint16_t classTag = kPmRepeatClassDef,
                                const std::vector<std::int32_t>& exceptions = {},
                                std::uint16_t schemaNumber = 1)
    {
        Int32(kPmTypeRepeat);
        return RepeatPayload(repeat, classTag, exceptions, schemaNumber);
    }
    PalmFileWriter& RepeatPayload(const PmRepeat& repeat, std::uint16_t classTag = kPmRepeatClassDef,
                                  const std::vector<std::int32_t>& exceptions = {},
                                  std::uint16_t schemaNumber = 1)
    {
        UInt16(static_cast<std::uint16_t>(exceptions.size()));
        for (std::int32_t date : exceptions) {
            Int32(date);
        }
        if (repeat.kind == 0) {
            return UInt16(kPmRepeatNone);
        }
        UInt16(classTag);
        if (classTag == kPmRepeatClassDef) {
            const std::string name = ClassName(repeat.kind);
            UInt16(schemaNumber).UInt16(static_cast<std::uint16_t>(name.size())).Bytes(name);
        }
        Int32(repeat.kind).Int32(repeat.interval).Int32(repeat.endDate).Int32(repeat.firstDayOfWeek);
        switch (repeat.kind) {
        case 1:
            return Int32(repeat.dayIndex);
        case 2:
            return Int32(repeat.dayIndex).Byte(repeat.dayMask);
        case 3:
            return Int32(repeat.dayIndex).Int32(repeat.weekIndex);
        case 4:
            return Int32(repeat.dayOfMonth);
        case 5:
            return Int32(repeat.dayOfMonth).Int32(repeat.monthIndex);
        default:
            return *this;
        }
    }
    static std::string ClassName(std::int32_t kind)
    {
        static const char* const names[] = {
            "", "CDayName", "CWeekly", "CDayOfMonth", "CDateOfMonth", "CDateOfYear", "CDayOfYear"};
        return kind >= 1 && kind <= 6 ? names[kind] : "CUnknown";
    }

    // Category block: next free ID, count, then index, ID, dirty, name and file name each.
    PalmFileWriter& CategoryBlock(std::int32_t nextFreeId, const std::vector<PalmCategoryEntry>& categories)
    {
        Int32(nextFreeId).Int32(static_cast<std::int32_t>(categories.size()));
        for (const PalmCategoryEntry& c : categories) {
            Int32(c.index).Int32(c.id).Int32(c.dirty).CString(c.name).CString(c.fileName);
        }
        return *this;
    }

    // Schema block: five values, the field count and the field types.
    PalmFileWriter& SchemaBlock(const PalmSchema& schema)
    {
        Int32(schema.resourceId)
            .Int32(schema.fieldsPerRow)
            .Int32(schema.idPosition)
            .Int32(schema.statusPosition)
            .Int32(schema.placementPosition);
        UInt16(static_cast<std::uint16_t>(
            schema.fieldCount >= 0 ? schema.fieldCount : static_cast<int>(schema.fieldTypes.size())));
        for (std::uint16_t type : schema.fieldTypes) {
            UInt16(type);
        }
        return *this;
    }

    const std::string& Data() const { return m_bytes; }
    std::size_t Size() const { return m_bytes.size(); }
    // Cuts the buffer to its first size bytes (a truncated file).
    PalmFileWriter& Truncate(std::size_t size)
    {
        if (size < m_bytes.size()) {
            m_bytes.resize(size);
        }
        return *this;
    }

    bool WriteFile(const std::string& path) const
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(m_bytes.data(), static_cast<std::streamsize>(m_bytes.size()));
        return static_cast<bool>(out);
    }

private:
    std::string m_bytes;
};

} // namespace fwtest
