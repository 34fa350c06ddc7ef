#pragma once
// The parameter file a connector hands to its helper: an entry count, then per entry an
// identifier, a value type (3 integer, 5 double, 8 text, 11 boolean) and the value. Every
// value is kept as text: numbers and flags in decimal, as the connectors write them anyway.
#include <map>
#include <string>

class HelperParamFile
{
public:
    // Reads the whole file. False with a readable reason in error when the file does not
    // open, holds an unknown value type, or ends inside an entry; entries read before the
    // damage are kept. A count larger than the file could hold stops at the end of the file.
    bool Load(const char* path, std::string& error);

    bool Has(int id) const { return m_values.count(id) != 0; }
    // The value's text, or fallback when the parameter is absent.
    std::string Text(int id, const char* fallback = "") const;
    // The value read as a decimal integer (leading digits; fallback when absent or no digits).
    int Int(int id, int fallback) const;
    std::size_t Count() const { return m_values.size(); }

    // Longest text a parameter may carry; longer stored texts are cut.
    static constexpr int kMaxText = 1023;

private:
    std::map<int, std::string> m_values;
};
