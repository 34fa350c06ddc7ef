#include "google/GGTimeZones.h"

#include <cstring>

namespace {

bool SameIgnoringCase(std::string_view a, const char* b)
{
    const std::size_t length = std::strlen(b);
    if (a.size() != length) {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

const char* FindGGTimeZone(std::string_view name)
{
    for (const GGTimeZone& zone : GGTimeZoneTable()) {
        if (SameIgnoringCase(name, zone.Name)) {
            return zone.Text;
        }
    }
    return nullptr;
}
