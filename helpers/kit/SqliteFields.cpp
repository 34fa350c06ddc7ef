#include "kit/SqliteFields.h"

#include <cstring>

void BindLayoutField(sqlite3_stmt* stmt, int index, const CxLayoutField& field, const void* rec)
{
    const unsigned char* at = static_cast<const unsigned char*>(rec) + field.Offset;
    switch (field.Kind) {
    case CxFieldKind::Text: {
        // Never trust the terminator: read at most the field's capacity.
        const char* text = reinterpret_cast<const char*>(at);
        const std::size_t size = strnlen(text, static_cast<std::size_t>(field.Capacity - 1));
        sqlite3_bind_text(stmt, index, text, static_cast<int>(size), SQLITE_TRANSIENT);
        break;
    }
    case CxFieldKind::Date: {
        double value;
        std::memcpy(&value, at, sizeof value);
        sqlite3_bind_double(stmt, index, value);
        break;
    }
    default: {
        int value;
        std::memcpy(&value, at, sizeof value);
        sqlite3_bind_int(stmt, index, value);
        break;
    }
    }
}

void ReadLayoutField(sqlite3_stmt* stmt, int column, const CxLayoutField& field, void* rec)
{
    unsigned char* at = static_cast<unsigned char*>(rec) + field.Offset;
    switch (field.Kind) {
    case CxFieldKind::Text: {
        const void* text = sqlite3_column_blob(stmt, column);
        int size = sqlite3_column_bytes(stmt, column);
        if (size > field.Capacity - 1) {
            size = field.Capacity - 1;
        }
        if (size > 0 && text != nullptr) {
            std::memcpy(at, text, static_cast<std::size_t>(size));
        }
        at[size > 0 ? size : 0] = '\0';
        break;
    }
    case CxFieldKind::Date: {
        const double value = sqlite3_column_double(stmt, column);
        std::memcpy(at, &value, sizeof value);
        break;
    }
    default: {
        const int value = sqlite3_column_int(stmt, column);
        std::memcpy(at, &value, sizeof value);
        break;
    }
    }
}
