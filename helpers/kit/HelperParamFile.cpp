#include "kit/HelperParamFile.h"

#include <cstdio>
#include <cstdlib>

bool HelperParamFile::Load(const char* path, std::string& error)
{
    if (path == nullptr || !m_parser.ReadParamFile(path)) {
        error = std::string("Cannot read the parameter file ") + (path != nullptr ? path : "") +
                ": it is missing or damaged.";
        m_parser.ClearParams();
        return false;
    }
    return true;
}

std::string HelperParamFile::Text(int id, const char* fallback) const
{
    const CxParamParser::Entry* entry = m_parser.FindParam(id);
    if (entry == nullptr) {
        return fallback != nullptr ? fallback : "";
    }
    switch (entry->type) {
    case CxParamParser::TypeText:
        return m_parser.GetText(id);
    case CxParamParser::TypeDouble: {
        char text[64];
        std::snprintf(text, sizeof text, "%.17g", entry->doubleValue);
        return text;
    }
    default:
        return std::to_string(entry->intValue);
    }
}

int HelperParamFile::Int(int id, int fallback) const
{
    if (!Has(id)) {
        return fallback;
    }
    std::string text = Text(id);
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    return end == text.c_str() ? fallback : static_cast<int>(value);
}
