// Profile reads and writes over arbitrary file contents: no crash, no read outside the
// buffer, results within the caller's size, and a write that changes only its own key.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "platform/Profile.h"

namespace {

const char* const kSections[] = {"s", "FWLN", "S ", ""};
const char* const kKeys[] = {"k", "Path", "a", "K"};
constexpr const char* kValue = "v=1 \"x\"";

// A plain array, not a std::string: the exit handler runs after static objects are gone.
char g_inputPath[64];

const char* InputPath()
{
    if (g_inputPath[0] == '\0') {
        // tmpfs when there is one: every write syncs, and a disk would make that the whole cost.
        std::strcpy(g_inputPath, ::access("/dev/shm", W_OK) == 0 ? "/dev/shm/fuzz_profile-XXXXXX"
                                                                 : "/tmp/fuzz_profile-XXXXXX");
        int fd = ::mkstemp(g_inputPath);
        if (fd < 0) {
            std::abort();
        }
        ::close(fd);
        std::atexit([] { ::unlink(g_inputPath); });
    }
    return g_inputPath;
}

void Store(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || (size > 0 && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) {
        std::abort();
    }
}

std::string Read(const char* section, const char* key, std::uint32_t size, const std::string& path)
{
    char buffer[64];
    std::memset(buffer, 'Z', sizeof buffer);
    std::uint32_t n = platform::GetPrivateProfileString(section, key, "dflt ", buffer, size, path.c_str());
    if (size == 0) {
        if (n != 0 || buffer[0] != 'Z') {
            std::abort();
        }
        return std::string();
    }
    if (n >= size || buffer[n] != '\0' || std::memchr(buffer, '\0', n) != nullptr || buffer[size] != 'Z') {
        std::abort();
    }
    return std::string(buffer, n);
}

// Names match without regard to case or surrounding blanks: "S " is "s", "K" is "k".
bool SameSection(int a, int b)
{
    return (a == 2 ? 0 : a) == (b == 2 ? 0 : b);
}

bool SameKey(int a, int b)
{
    return (a == 3 ? 0 : a) == (b == 3 ? 0 : b);
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
    const std::string path = InputPath();
    Store(path, data, size);

    const std::uint8_t pick = size > 0 ? data[0] : 0;
    const std::uint32_t sizes[] = {0, 1, 4, 63};
    std::string before[4][4];
    for (int s = 0; s < 4; ++s) {
        for (int k = 0; k < 4; ++k) {
            Read(kSections[s], kKeys[k], sizes[(s + k) % 4], path);
            before[s][k] = Read(kSections[s], kKeys[k], 63, path);
            platform::GetPrivateProfileInt(kSections[s], kKeys[k], -7, path.c_str());
        }
    }

    const int ws = pick % 4;
    const int wk = (pick / 4) % 4;
    switch ((pick / 16) % 3) {
    case 0: // set a value: it reads back, nothing else changes
        Check(platform::WritePrivateProfileString(kSections[ws], kKeys[wk], kValue, path.c_str()));
        for (int s = 0; s < 4; ++s) {
            for (int k = 0; k < 4; ++k) {
                std::string now = Read(kSections[s], kKeys[k], 63, path);
                bool written = SameSection(s, ws) && SameKey(k, wk);
                Check(written ? now == kValue : now == before[s][k]);
            }
        }
        break;
    case 1: // delete a key
        Check(platform::WritePrivateProfileString(kSections[ws], kKeys[wk], nullptr, path.c_str()));
        Check(Read(kSections[ws], kKeys[wk], 63, path) == "dflt");
        break;
    default: // delete a section
        Check(platform::WritePrivateProfileString(kSections[ws], nullptr, nullptr, path.c_str()));
        for (int k = 0; k < 4; ++k) {
            Check(Read(kSections[ws], kKeys[k], 63, path) == "dflt");
        }
        break;
    }
    return 0;
}
