// Reads arbitrary bytes as an exchange file: texts into small and large buffers and into
// strings, integers and reals, in an order taken from the bytes themselves, until the end.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "misc/CxFile.h"

namespace {

// One file per process, rewritten for every input.
const std::string& InputPath()
{
    static const std::string path = [] {
        char pattern[] = "/tmp/fuzz_cxfile-XXXXXX";
        const int fd = mkstemp(pattern);
        if (fd < 0) {
            std::abort();
        }
        close(fd);
        return std::string(pattern);
    }();
    return path;
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
    const std::string& path = InputPath();
    std::FILE* out = std::fopen(path.c_str(), "wb");
    Check(out != nullptr);
    Check(size == 0 || std::fwrite(data, 1, size, out) == size);
    std::fclose(out);

    CxFile file;
    Check(file.Open(path.c_str(), "rb"));
    for (std::size_t step = 0; !file.AtEnd() && step <= size; ++step) {
        const unsigned op = size > 0 ? data[step % size] % 5 : 0;
        int length = 0;
        switch (op) {
        case 0: {
            char small[4] = "xyz";
            file.ReadString(small, &length);
            Check(std::memchr(small, '\0', sizeof small) != nullptr);
            break;
        }
        case 1: {
            char large[300];
            large[0] = 'x';
            if (file.ReadString(large, &length)) {
                Check(length >= 0 && std::strlen(large) <= static_cast<std::size_t>(length));
            }
            break;
        }
        case 2: {
            std::string text;
            if (file.ReadString(text, &length)) {
                Check(text.size() == static_cast<std::size_t>(length) && text.size() <= size);
            }
            break;
        }
        case 3: {
            int value = 0;
            file.ReadInt(&value);
            break;
        }
        default: {
            double value = 0;
            file.ReadDouble(&value);
            break;
        }
        }
    }
    Check(file.AtEnd());
    return 0;
}
