#pragma once
// A text-file emulation of the registry reads the program makes. The file is a profile
// file with one section per key path:
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Vendor\Product]
//   Path=/opt/product/
//
//   [FileVersions]
//   /opt/product/product.exe=9.0.1.0
//
// It lives at $FERRYWISE_REGISTRY, or else at <config folder>/corvane/registry.ini.
#include <cstdint>
#include <string>

namespace platform {

enum class RegistryHive
{
    LocalMachine, // HKEY_LOCAL_MACHINE
    CurrentUser,  // HKEY_CURRENT_USER
};

// The path of the emulation file in use.
std::string RegistryFilePath();

// RegOpenKeyExA + RegQueryValueExA + RegCloseKey for a text value: true with the value
// terminated in out when the key and value exist and value plus terminator fit in size bytes.
// On false, out is left empty (when size > 0). Key paths match without regard to case; a
// null or empty subKey is the hive itself, a null or empty valueName the key's default
// value, written "@" in the file.
bool RegQueryString(RegistryHive hive, const char* subKey, const char* valueName, char* out,
                    std::uint32_t size);

// The version recorded for a file (major, minor, build, revision); false with all four 0
// when the path is empty or no version is recorded for it. The recorded text is "a.b.c.d"
// with each part 0..65535; missing trailing parts are 0; anything else counts as no version.
bool QueryFileVersion(const char* path, std::uint16_t version[4]);

} // namespace platform
