#include "platform/Registry.h"

#include <cstdlib>
#include <string_view>

#include "platform/KnownFolders.h"
#include "platform/Profile.h"

namespace platform {
namespace {

const char* HiveName(RegistryHive hive)
{
    return hive == RegistryHive::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

// One part of a version: digits only, at most 65535.
bool ParseVersionPart(std::string_view text, std::uint16_t& part)
{
    if (text.empty()) {
        return false;
    }
    std::uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
        if (value > 0xFFFF) {
            return false; // checked per digit, so a long run cannot wrap
        }
    }
    part = static_cast<std::uint16_t>(value);
    return true;
}

} // namespace

std::string RegistryFilePath()
{
    if (const char* env = std::getenv("FERRYWISE_REGISTRY"); env != nullptr && *env != '\0') {
        return env;
    }
    std::string folder;
    if (!GetRoamingAppDataFolder(folder, false)) {
        return std::string();
    }
    return folder + kPathSeparator + "corvane" + kPathSeparator + "registry.ini";
}

bool RegQueryString(RegistryHive hive, const char* subKey, const char* valueName, char* out,
                    std::uint32_t size)
{
    if (out != nullptr && size > 0) {
        out[0] = '\0';
    }
    if (out == nullptr || size == 0) {
        return false;
    }
    std::string section = HiveName(hive);
    if (subKey != nullptr && *subKey != '\0') {
        section += '\\';
        section += subKey;
    }
    const char* name = (valueName != nullptr && *valueName != '\0') ? valueName : "@";
    std::string value;
    std::string path = RegistryFilePath();
    if (!FindPrivateProfileValue(section.c_str(), name, path.c_str(), value)) {
        return false;
    }
    // RegQueryValueExA: the value and its terminator must fit.
    if (value.size() + 1 > size) {
        return false;
    }
    value.copy(out, value.size());
    out[value.size()] = '\0';
    return true;
}

bool QueryFileVersion(const char* path, std::uint16_t version[4])
{
    if (version == nullptr) {
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        version[i] = 0;
    }
    if (path == nullptr || *path == '\0') {
        return false;
    }
    std::string text;
    std::string registry = RegistryFilePath();
    if (!FindPrivateProfileValue("FileVersions", path, registry.c_str(), text)) {
        return false;
    }
    std::uint16_t parts[4] = {0, 0, 0, 0};
    std::string_view rest = text;
    for (int i = 0;; ++i) {
        if (i == 4) {
            return false; // a fifth part
        }
        std::size_t dot = rest.find('.');
        if (!ParseVersionPart(rest.substr(0, dot), parts[i])) {
            return false;
        }
        if (dot == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(dot + 1);
    }
    for (int i = 0; i < 4; ++i) {
        version[i] = parts[i];
    }
    return true;
}

} // namespace platform
