#include "misc/CSV.h"

#include <cstring>

CSV::CSV(const char* text, bool quoteMode) : m_quoteMode(quoteMode)
{
    if (text == nullptr || *text == '\0') {
        return;
    }
    const std::size_t length = std::strlen(text);
    m_text.assign(text, text + length + 1);
    Split();
}

const char* CSV::GetItem(std::uint32_t index) const
{
    return index < m_fields.size() ? m_fields[index] : "";
}

// [start, end) is one field; *end is the comma that ends it or the terminator.
void CSV::AddField(char* start, char* end)
{
    // Only quotes that are there are removed: an empty field or a lone quote has nothing
    // more to give up, and an unquoted field keeps every character.
    if (m_quoteMode && start < end && *start == m_quote) {
        ++start;
        if (start < end && *(end - 1) == m_quote) {
            --end;
        }
    }
    *end = '\0';
    m_fields.push_back(start);
}

void CSV::Split()
{
    char* const begin = m_text.data();
    char* const finish = begin + m_text.size() - 1; // the terminator

    std::size_t count = 1;
    bool inside = false;
    for (const char* p = begin; p < finish; ++p) {
        if (m_quoteMode && *p == m_quote) {
            inside = !inside;
        } else if (*p == ',' && !inside) {
            ++count;
        }
    }
    m_fields.reserve(count);

    inside = false;
    char* start = begin;
    for (char* p = begin; p < finish; ++p) {
        if (m_quoteMode && *p == m_quote) {
            inside = !inside;
        } else if (*p == ',' && !inside) {
            AddField(start, p);
            start = p + 1;
        }
    }
    AddField(start, finish);
}
