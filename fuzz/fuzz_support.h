#pragma once
// What the record-file fuzz targets share: the check that stops a run, a private working
// folder, the input written as a connector's record file, and the comparison of two records
// field by field.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <unistd.h>

#include "exchange/CxRecordLayout.h"
#include "misc/CxDebugUtil.h"

namespace fuzzsupport {

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

// One working folder per process, ending in a separator; the diagnostic log goes there, off.
inline const std::string& Folder()
{
    static const std::string folder = [] {
        char pattern[] = "/tmp/fuzz_records-XXXXXX";
        Check(mkdtemp(pattern) != nullptr);
        g_debugLog.SetLogFolder((std::string(pattern) + "/").c_str());
        g_debugLog.EnableLog(false);
        return std::string(pattern) + "/";
    }();
    return folder;
}

// The input as the file at path.
inline void WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::FILE* out = std::fopen(path.c_str(), "wb");
    Check(out != nullptr);
    Check(size == 0 || std::fwrite(data, 1, size, out) == size);
    std::fclose(out);
}

// Two records hold the same values: numbers bit for bit, texts up to their terminator (a
// stored text may hold a zero byte, which ends it).
inline void CheckSameFields(const void* first, const void* second, std::span<const CxLayoutField> fields)
{
    const auto* a = static_cast<const char*>(first);
    const auto* b = static_cast<const char*>(second);
    for (const CxLayoutField& field : fields) {
        switch (field.Kind) {
        case CxFieldKind::Text:
            Check(std::strncmp(a + field.Offset, b + field.Offset,
                               static_cast<std::size_t>(field.Capacity)) == 0);
            break;
        case CxFieldKind::Date:
            Check(std::memcmp(a + field.Offset, b + field.Offset, sizeof(double)) == 0);
            break;
        default:
            Check(std::memcmp(a + field.Offset, b + field.Offset, sizeof(int)) == 0);
            break;
        }
    }
}

} // namespace fuzzsupport
