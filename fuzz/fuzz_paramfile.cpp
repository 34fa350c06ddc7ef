// Reads arbitrary bytes as a helper's parameter file. What is read never exceeds what the
// file could hold, and a file read whole writes back to the same entries.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "exchange/CxParamParser.h"

namespace {

std::string TempPath(const char* tag)
{
    std::string pattern = std::string("/tmp/fuzz_paramfile-") + tag + "-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) {
        std::abort();
    }
    close(fd);
    return pattern;
}

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string input = TempPath("in");
    static const std::string output = TempPath("out");
    std::FILE* out = std::fopen(input.c_str(), "wb");
    Check(out != nullptr);
    Check(size == 0 || std::fwrite(data, 1, size, out) == size);
    std::fclose(out);

    CxParamParser params;
    const bool whole = params.ReadParamFile(input.c_str());
    // Every entry takes at least 12 bytes of the file after the 4-byte count.
    Check(static_cast<std::size_t>(params.GetCount()) * 12 <= size);
    for (const CxParamParser::Entry& entry : params.Entries()) {
        Check(entry.textValue.size() <= static_cast<std::size_t>(CxParamParser::kTextChars));
    }
    if (whole) {
        Check(params.WriteParamFile(output.c_str()));
        CxParamParser back;
        Check(back.ReadParamFile(output.c_str()));
        Check(back.GetCount() == params.GetCount());
        for (int i = 0; i < params.GetCount(); ++i) {
            const CxParamParser::Entry& a = params.Entries()[i];
            const CxParamParser::Entry& b = back.Entries()[i];
            Check(a.id == b.id && a.type == b.type && a.intValue == b.intValue && a.textValue == b.textValue);
            Check(a.doubleValue == b.doubleValue || (std::isnan(a.doubleValue) && std::isnan(b.doubleValue)));
        }
    }
    return 0;
}
