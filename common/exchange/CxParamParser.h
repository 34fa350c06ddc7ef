#pragma once
// The parameter file a helper utility reads: an entry count, then per entry its identifier,
// its value type and its value, in the order in which the entries were first set. The value
// types are the Automation variant codes; texts are held as wide strings and written back in
// the ANSI code page, at most kTextBytes bytes.
#include <cstdint>
#include <string>
#include <vector>

class CxParamParser
{
public:
    enum ValueType : int
    {
        TypeInt = 3,
        TypeDouble = 5,
        TypeText = 8,
        TypeBool = 11,
    };

    // A text value holds at most this many wide characters, and is written as at most this
    // many bytes.
    static constexpr int kTextChars = 1023;
    static constexpr int kTextBytes = 1023;

    struct Entry
    {
        int id = 0;
        int type = 0;
        int intValue = 0; // TypeInt; TypeBool as 0 or 1
        double doubleValue = 0.0;
        std::u16string textValue;
    };

    // Sets a text (ANSI, cut at kTextChars characters); a null text is empty. An identifier
    // that exists keeps its place and gets the new value when its type is the same; a
    // different type is refused (false) and the entry stays as it was.
    bool SetParam(int id, const char* text);
    bool SetParamInt(int id, int value);
    bool SetParamDouble(int id, double value);
    bool SetParamBool(int id, bool value);

    // The entry of an identifier; null when there is none.
    const Entry* FindParam(int id) const;
    // The text of a text entry in the ANSI code page; empty for any other.
    std::string GetText(int id) const;

    const std::vector<Entry>& Entries() const { return m_entries; }
    int GetCount() const { return static_cast<int>(m_entries.size()); }

    // Writes the whole file (to a temporary file renamed over path); false when it cannot be
    // written, and the old file, if any, stays.
    bool WriteParamFile(const char* path) const;
    // Reads a parameter file written by WriteParamFile. Every length and the count are judged
    // by the file's size: damaged data gives false, keeping the entries read before it.
    bool ReadParamFile(const char* path);

    void ClearParams() { m_entries.clear(); }

private:
    Entry* Find(int id);
    bool Set(const Entry& entry);

    std::vector<Entry> m_entries;
};

// One parser serves every family of helper utilities.
using CxLNParamParser = CxParamParser;
using CxGAppParamParser = CxParamParser;
using CxACTParamParser = CxParamParser;
