#pragma once
// Shared part of the Palm Desktop fuzz targets: the input becomes one file in a private folder
// (memory-backed where /dev/shm exists) for the readers to load, and the checks abort on a
// broken condition.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "misc/CxDebugUtil.h"

namespace palmfuzz {

inline void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

template <std::size_t N> void CheckTerminated(const char (&field)[N])
{
    Check(std::memchr(field, 0, N) != nullptr);
}

// Writes the input to the file and gives its path. The folder is made on the first call,
// named after the target; the diagnostic log goes there too, disabled.
inline const std::string& WriteInput(const char* target, const std::uint8_t* data, std::size_t size)
{
    static const std::string path = [target] {
        std::string pattern = std::string("/dev/shm/") + target + "-XXXXXX";
        std::string fallback = std::string("/tmp/") + target + "-XXXXXX";
        const char* folder = mkdtemp(pattern.data());
        if (folder == nullptr) {
            folder = mkdtemp(fallback.data());
        }
        Check(folder != nullptr);
        g_debugLog.SetLogFolder((std::string(folder) + "/").c_str());
        g_debugLog.EnableLog(false);
        return std::string(folder) + "/input.dat";
    }();
    std::FILE* out = std::fopen(path.c_str(), "wb");
    Check(out != nullptr);
    Check(size == 0 || std::fwrite(data, 1, size, out) == size);
    std::fclose(out);
    return path;
}

} // namespace palmfuzz
