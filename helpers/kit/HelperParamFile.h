#pragma once
// The parameter file a connector hands to its helper, read with the connectors' own parser.
// Every value is offered as text: numbers and flags in decimal, as the connectors write
// them anyway.
#include <string>

#include "exchange/CxParamParser.h"

class HelperParamFile
{
public:
    // Reads the whole file. False with a readable reason in error when the file does not
    // open or is damaged (an unknown value type, or an end inside an entry).
    bool Load(const char* path, std::string& error);

    bool Has(int id) const { return m_parser.FindParam(id) != nullptr; }
    // The value's text, or fallback when the parameter is absent.
    std::string Text(int id, const char* fallback = "") const;
    // The value read as a decimal integer (leading digits; fallback when absent or no digits).
    int Int(int id, int fallback) const;
    int Count() const { return m_parser.GetCount(); }

private:
    CxParamParser m_parser;
};
