#pragma once
// Splits one line of comma-separated text into fields. Fields are neither trimmed nor
// unescaped; empty fields are kept (",," holds an empty field).
//
// In quote mode a comma between double quotes does not split, and a field that begins
// with a quote loses it and the quote that closes it at its end. Without quote mode every
// comma splits.
#include <cstdint>
#include <vector>

class CSV
{
public:
    CSV(const char* text, bool quoteMode);
    virtual ~CSV() = default;
    CSV(const CSV&) = delete;
    CSV& operator=(const CSV&) = delete;

    // One more than the number of splitting commas; 0 for an empty (or null) text.
    std::uint32_t GetCount() const { return static_cast<std::uint32_t>(m_fields.size()); }
    // The field of an index, or an empty text when the index is out of range.
    const char* GetItem(std::uint32_t index) const;

private:
    void Split();
    void AddField(char* start, char* end);

    std::vector<char> m_text;          // the private copy, terminated
    std::vector<const char*> m_fields; // field starts into m_text
    bool m_quoteMode;
    static constexpr char m_quote = '"';
};
