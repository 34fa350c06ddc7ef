#include "ACT/ACTFieldTable.h"

#include <algorithm>
#include <cstring>

namespace {

#define ACT_INFO(id, member, label, type, width) {id, label, type, width},
const ACTFieldInfo kTable[] = {ACT_CONTACT_FIELDS(ACT_INFO)};
#undef ACT_INFO
static_assert(std::size(kTable) == ACTContactFieldCount);

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::span<const ACTFieldInfo> ACTContactFieldTable()
{
    return kTable;
}

const ACTFieldInfo* ACTContactFieldAt(int index)
{
    return index >= 0 && index < ACTContactFieldCount ? &kTable[index] : nullptr;
}

const ACTFieldInfo* FindACTContactField(int id)
{
    // The table is in identifier order, 1..89.
    return ACTContactFieldAt(id - 1);
}

const ACTFieldInfo* FindACTContactFieldByLabel(std::string_view label)
{
    for (const ACTFieldInfo& info : kTable) {
        const std::string_view name(info.Label);
        if (name.size() == label.size() && std::equal(name.begin(), name.end(), label.begin(),
                                                      [](char a, char b) { return Lower(a) == Lower(b); })) {
            return &info;
        }
    }
    return nullptr;
}

const CxLayoutField* ACTContactFieldStorage(int id)
{
    if (FindACTContactField(id) == nullptr) {
        return nullptr;
    }
    // The layout is the change mark, the action, then the table's fields in order.
    return &ACTAddrFields()[static_cast<std::size_t>(id) + 1];
}

bool ACTMappedFieldText(const ACTAddrRec& rec, int id, std::string_view* text)
{
    const ACTFieldInfo* info = FindACTContactField(id);
    const CxLayoutField* field = ACTContactFieldStorage(id);
    if (info == nullptr || field == nullptr || info->Type != ACTFieldTypeText || info->Width <= 1) {
        return false;
    }
    const char* at = reinterpret_cast<const char*>(&rec) + field->Offset;
    *text = std::string_view(at, strnlen(at, static_cast<std::size_t>(field->Capacity)));
    return true;
}

std::string ACTContactFieldText(const ACTAddrRec& rec, int id)
{
    const CxLayoutField* field = ACTContactFieldStorage(id);
    return field != nullptr ? LayoutFieldText(*field, &rec) : std::string();
}

bool SetACTContactText(ACTAddrRec& rec, int id, std::string_view text)
{
    const CxLayoutField* field = ACTContactFieldStorage(id);
    if (field == nullptr || field->Kind != CxFieldKind::Text || field->Capacity < 1) {
        return false;
    }
    char* at = reinterpret_cast<char*>(&rec) + field->Offset;
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(field->Capacity - 1));
    if (length > 0) {
        std::memcpy(at, text.data(), length);
    }
    at[length] = '\0';
    return true;
}
