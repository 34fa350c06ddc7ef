#include "kit/HelperParamFile.h"

#include <cstdio>
#include <cstdlib>

#include "misc/CxFile.h"

namespace {

constexpr int kTypeInt = 3;
constexpr int kTypeDouble = 5;
constexpr int kTypeText = 8;
constexpr int kTypeBool = 11;

} // namespace

bool HelperParamFile::Load(const char* path, std::string& error)
{
    m_values.clear();
    CxFile file;
    if (path == nullptr || !file.Open(path, "rb")) {
        error = std::string("Cannot open parameter file: ") + (path != nullptr ? path : "");
        return false;
    }
    int count = 0;
    if (!file.ReadInt(&count) || count < 0) {
        error = std::string("Parameter file is damaged: ") + path;
        return false;
    }
    // The count is only a hint: a damaged one must not make us loop long, so stop at the end.
    for (int i = 0; i < count && !file.AtEnd(); ++i) {
        int id = 0;
        int type = 0;
        if (!file.ReadInt(&id) || !file.ReadInt(&type)) {
            error = std::string("Parameter file ends inside an entry: ") + path;
            return false;
        }
        std::string value;
        bool ok = false;
        switch (type) {
        case kTypeInt:
        case kTypeBool: {
            int n = 0;
            ok = file.ReadInt(&n);
            value = std::to_string(type == kTypeBool ? (n != 0 ? 1 : 0) : n);
            break;
        }
        case kTypeDouble: {
            double d = 0;
            ok = file.ReadDouble(&d);
            char text[64];
            std::snprintf(text, sizeof text, "%.17g", d);
            value = text;
            break;
        }
        case kTypeText: {
            char text[kMaxText + 1] = {};
            ok = file.ReadString(text);
            value = text;
            break;
        }
        default:
            error = "Parameter file holds an unknown value type " + std::to_string(type) + ": " + path;
            return false;
        }
        if (!ok) {
            error = std::string("Parameter file ends inside an entry: ") + path;
            return false;
        }
        m_values[id] = value;
    }
    return true;
}

std::string HelperParamFile::Text(int id, const char* fallback) const
{
    auto it = m_values.find(id);
    return it != m_values.end() ? it->second : std::string(fallback != nullptr ? fallback : "");
}

int HelperParamFile::Int(int id, int fallback) const
{
    auto it = m_values.find(id);
    if (it == m_values.end()) {
        return fallback;
    }
    const char* text = it->second.c_str();
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (end == text) {
        return fallback;
    }
    return static_cast<int>(value);
}
