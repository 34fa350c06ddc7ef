#include "misc/Base64.h"

#include <array>
#include <cstring>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr unsigned char kNotInAlphabet = 0xFF;

constexpr std::array<unsigned char, 256> MakeDecodeTable()
{
    std::array<unsigned char, 256> table{};
    for (auto& entry : table) {
        entry = kNotInAlphabet;
    }
    for (unsigned char i = 0; i < 64; ++i) {
        table[static_cast<unsigned char>(kAlphabet[i])] = i;
    }
    return table;
}

constexpr std::array<unsigned char, 256> kDecode = MakeDecodeTable();

// Encodes one group of 1..3 bytes into four characters.
void EncodeGroup(const unsigned char* in, std::size_t count, char* out)
{
    const unsigned bits = (in[0] << 16) | (count > 1 ? in[1] << 8 : 0) | (count > 2 ? in[2] : 0);
    out[0] = kAlphabet[(bits >> 18) & 0x3F];
    out[1] = kAlphabet[(bits >> 12) & 0x3F];
    out[2] = count > 1 ? kAlphabet[(bits >> 6) & 0x3F] : '=';
    out[3] = count > 2 ? kAlphabet[bits & 0x3F] : '=';
}

// Decodes one group of four characters into out; gives the number of bytes (0..3).
std::size_t DecodeGroup(const char* group, unsigned char* out)
{
    unsigned char values[4];
    std::size_t valid = 0;
    while (valid < 4 &&
           (values[valid] = kDecode[static_cast<unsigned char>(group[valid])]) != kNotInAlphabet) {
        ++valid;
    }
    if (valid < 2) {
        return 0;
    }
    out[0] = static_cast<unsigned char>((values[0] << 2) | (values[1] >> 4));
    if (valid > 2) {
        out[1] = static_cast<unsigned char>((values[1] << 4) | (values[2] >> 2));
    }
    if (valid > 3) {
        out[2] = static_cast<unsigned char>((values[2] << 6) | values[3]);
    }
    return valid - 1;
}

} // namespace

bool Base64Encode(const void* data, std::size_t length, char* output, std::size_t outputSize)
{
    if (output == nullptr || outputSize == 0) {
        return false;
    }
    output[0] = '\0';
    if (data == nullptr) {
        return false;
    }
    const auto* in = static_cast<const unsigned char*>(data);
    std::size_t written = 0;
    for (std::size_t i = 0; i < length && written + 4 <= outputSize - 1; i += 3) {
        EncodeGroup(in + i, length - i < 3 ? length - i : 3, output + written);
        written += 4;
    }
    output[written] = '\0';
    return written > 0;
}

bool Base64Decode(const char* text, unsigned char* output, std::size_t outputSize, std::size_t* lengthOut)
{
    if (lengthOut != nullptr) {
        *lengthOut = 0;
    }
    if (output == nullptr || outputSize == 0) {
        return false;
    }
    output[0] = '\0';
    if (text == nullptr) {
        return false;
    }
    const std::size_t textLength = std::strlen(text);
    const std::size_t room = outputSize - 1;
    std::size_t written = 0;
    for (std::size_t i = 0; i + 4 <= textLength && written < room; i += 4) {
        unsigned char bytes[3];
        const std::size_t count = DecodeGroup(text + i, bytes);
        const std::size_t keep = count < room - written ? count : room - written;
        std::memcpy(output + written, bytes, keep);
        written += keep;
    }
    output[written] = '\0';
    if (lengthOut != nullptr) {
        *lengthOut = written;
    }
    return written > 0;
}

std::string Base64Encode(std::string_view data)
{
    std::string text;
    text.reserve((data.size() + 2) / 3 * 4);
    char group[4];
    for (std::size_t i = 0; i < data.size(); i += 3) {
        EncodeGroup(reinterpret_cast<const unsigned char*>(data.data()) + i,
                    data.size() - i < 3 ? data.size() - i : 3, group);
        text.append(group, 4);
    }
    return text;
}

std::string Base64Decode(std::string_view text)
{
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i + 4 <= text.size(); i += 4) {
        unsigned char group[3];
        const std::size_t count = DecodeGroup(text.data() + i, group);
        bytes.append(reinterpret_cast<const char*>(group), count);
    }
    return bytes;
}
