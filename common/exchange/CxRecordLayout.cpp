#include "exchange/CxRecordLayout.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "misc/CxFile.h"

bool ReadLayoutValue(CxFile& file, CxFieldKind kind, void* at, int capacity)
{
    switch (kind) {
    case CxFieldKind::Integer:
    case CxFieldKind::Boolean: {
        int value = 0;
        if (!file.ReadInt(&value)) {
            return false;
        }
        std::memcpy(at, &value, sizeof value);
        return true;
    }
    case CxFieldKind::Date: {
        double value = 0;
        if (!file.ReadDouble(&value)) {
            return false;
        }
        std::memcpy(at, &value, sizeof value);
        return true;
    }
    case CxFieldKind::Text:
        return file.ReadString(static_cast<char*>(at), capacity);
    }
    return false;
}

bool WriteLayoutValue(CxFile& file, CxFieldKind kind, const void* at, int capacity)
{
    switch (kind) {
    case CxFieldKind::Integer:
    case CxFieldKind::Boolean: {
        int value = 0;
        std::memcpy(&value, at, sizeof value);
        return file.WriteInt(value);
    }
    case CxFieldKind::Date: {
        double value = 0;
        std::memcpy(&value, at, sizeof value);
        return file.WriteDouble(value);
    }
    case CxFieldKind::Text: {
        const char* text = static_cast<const char*>(at);
        const std::size_t limit = capacity > 0 ? static_cast<std::size_t>(capacity - 1) : 0;
        return file.WriteString(std::string_view(text, strnlen(text, limit)));
    }
    }
    return false;
}

bool LoadLayoutFields(CxFile& file, std::span<const CxLayoutField> fields, void* rec)
{
    auto* base = static_cast<unsigned char*>(rec);
    bool whole = true;
    for (const CxLayoutField& field : fields) {
        whole = ReadLayoutValue(file, field.Kind, base + field.Offset, field.Capacity) && whole;
    }
    return whole;
}

bool SaveLayoutFields(CxFile& file, std::span<const CxLayoutField> fields, const void* rec)
{
    const auto* base = static_cast<const unsigned char*>(rec);
    bool ok = true;
    for (const CxLayoutField& field : fields) {
        ok = WriteLayoutValue(file, field.Kind, base + field.Offset, field.Capacity) && ok;
    }
    return ok;
}

std::string LayoutFieldText(const CxLayoutField& field, const void* rec)
{
    const char* at = static_cast<const char*>(rec) + field.Offset;
    switch (field.Kind) {
    case CxFieldKind::Integer:
    case CxFieldKind::Boolean: {
        std::int32_t value = 0;
        std::memcpy(&value, at, sizeof value);
        return std::to_string(value);
    }
    case CxFieldKind::Date: {
        double value = 0;
        std::memcpy(&value, at, sizeof value);
        char text[32];
        std::snprintf(text, sizeof text, "%.6f", value);
        return text;
    }
    case CxFieldKind::Text:
        return std::string(at, strnlen(at, static_cast<std::size_t>(field.Capacity)));
    }
    return std::string();
}
