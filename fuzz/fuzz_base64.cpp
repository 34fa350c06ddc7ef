// Decodes arbitrary text into a small and a large buffer, and checks that encoding any bytes
// and decoding the result gives the bytes back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "misc/Base64.h"

namespace {

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = bytes.substr(0, bytes.find('\0'));

    // Decoding into fixed buffers: never more than size - 1 bytes, always terminated, and
    // the small result is the start of the large one.
    const std::string whole = Base64Decode(std::string_view(text));
    unsigned char small[5];
    std::vector<unsigned char> large(text.size() + 1);
    std::size_t smallLength = 99;
    std::size_t largeLength = 99;
    Check(Base64Decode(text.c_str(), small, sizeof small, &smallLength) == (smallLength > 0));
    Check(Base64Decode(text.c_str(), large.data(), large.size(), &largeLength) == (largeLength > 0));
    Check(smallLength <= sizeof small - 1 && small[smallLength] == 0);
    Check(largeLength == whole.size() && large[largeLength] == 0);
    Check(std::memcmp(large.data(), whole.data(), largeLength) == 0);
    Check(std::memcmp(small, large.data(), smallLength) == 0);

    // Round trip of arbitrary bytes through both interfaces.
    const std::string encoded = Base64Encode(std::string_view(bytes));
    Check(encoded.size() == (size + 2) / 3 * 4);
    Check(Base64Decode(std::string_view(encoded)) == bytes);
    std::vector<char> text2(encoded.size() + 1);
    Check(Base64Encode(data, size, text2.data(), text2.size()) == (size > 0));
    Check(encoded == text2.data());
    std::vector<unsigned char> back(size + 1);
    std::size_t backLength = 0;
    Base64Decode(text2.data(), back.data(), back.size(), &backLength);
    Check(backLength == size && std::memcmp(back.data(), data, size) == 0);

    // A buffer too small for everything takes whole groups only.
    char cut[11];
    Base64Encode(data, size, cut, sizeof cut);
    Check(std::strlen(cut) % 4 == 0 && encoded.compare(0, std::strlen(cut), cut) == 0);
    return 0;
}
