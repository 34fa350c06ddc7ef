#include "exchange/CxParamParser.h"

#include <cstdint>

#include "misc/CxFile.h"
#include "platform/CodePage.h"

CxParamParser::Entry* CxParamParser::Find(int id)
{
    for (Entry& entry : m_entries) {
        if (entry.id == id) {
            return &entry;
        }
    }
    return nullptr;
}

const CxParamParser::Entry* CxParamParser::FindParam(int id) const
{
    for (const Entry& entry : m_entries) {
        if (entry.id == id) {
            return &entry;
        }
    }
    return nullptr;
}

bool CxParamParser::Set(const Entry& entry)
{
    Entry* existing = Find(entry.id);
    if (existing == nullptr) {
        m_entries.push_back(entry);
        return true;
    }
    if (existing->type != entry.type) {
        return false;
    }
    *existing = entry;
    return true;
}

bool CxParamParser::SetParam(int id, const char* text)
{
    Entry entry;
    entry.id = id;
    entry.type = TypeText;
    if (text != nullptr) {
        entry.textValue = platform::AnsiToUtf16(text);
        if (entry.textValue.size() > static_cast<std::size_t>(kTextChars)) {
            entry.textValue.resize(kTextChars);
        }
    }
    return Set(entry);
}

bool CxParamParser::SetParamInt(int id, int value)
{
    Entry entry;
    entry.id = id;
    entry.type = TypeInt;
    entry.intValue = value;
    return Set(entry);
}

bool CxParamParser::SetParamDouble(int id, double value)
{
    Entry entry;
    entry.id = id;
    entry.type = TypeDouble;
    entry.doubleValue = value;
    return Set(entry);
}

bool CxParamParser::SetParamBool(int id, bool value)
{
    Entry entry;
    entry.id = id;
    entry.type = TypeBool;
    entry.intValue = value ? 1 : 0;
    return Set(entry);
}

std::string CxParamParser::GetText(int id) const
{
    const Entry* entry = FindParam(id);
    if (entry == nullptr || entry->type != TypeText) {
        return std::string();
    }
    return platform::Utf16ToAnsi(entry->textValue);
}

bool CxParamParser::WriteParamFile(const char* path) const
{
    if (path == nullptr || *path == '\0') {
        return false;
    }
    CxFile file;
    if (!file.Open(path, "wb")) {
        return false;
    }
    bool written = file.WriteInt(static_cast<int>(m_entries.size()));
    for (const Entry& entry : m_entries) {
        written = file.WriteInt(entry.id) && written;
        written = file.WriteInt(entry.type) && written;
        switch (entry.type) {
        case TypeDouble:
            written = file.WriteDouble(entry.doubleValue) && written;
            break;
        case TypeText: {
            std::string text = platform::Utf16ToAnsi(entry.textValue);
            if (text.size() > static_cast<std::size_t>(kTextBytes)) {
                text.resize(kTextBytes);
            }
            written = file.WriteString(std::string_view(text)) && written;
            break;
        }
        default:
            written = file.WriteInt(entry.intValue) && written;
            break;
        }
    }
    return file.Close() && written;
}

bool CxParamParser::ReadParamFile(const char* path)
{
    ClearParams();
    CxFile file;
    if (path == nullptr || !file.Open(path, "rb")) {
        return false;
    }
    int count = 0;
    if (!file.ReadInt(&count) || count < 0) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        Entry entry;
        if (!file.ReadInt(&entry.id) || !file.ReadInt(&entry.type)) {
            return false;
        }
        bool good = false;
        switch (entry.type) {
        case TypeInt:
            good = file.ReadInt(&entry.intValue);
            break;
        case TypeBool:
            good = file.ReadInt(&entry.intValue);
            entry.intValue = entry.intValue != 0 ? 1 : 0;
            break;
        case TypeDouble:
            good = file.ReadDouble(&entry.doubleValue);
            break;
        case TypeText: {
            char text[kTextBytes + 1] = {};
            good = file.ReadString(text);
            entry.textValue = platform::AnsiToUtf16(text);
            break;
        }
        default:
            good = false; // an unknown type leaves no way to find the next entry
            break;
        }
        if (!good || !Set(entry)) {
            return false;
        }
    }
    return true;
}
