#pragma once
// Base64 with the RFC 4648 alphabet and "=" padding, no line breaks.
#include <cstddef>
#include <string>
#include <string_view>

// Encodes length bytes into output, a buffer of outputSize bytes: at most outputSize - 1
// characters, whole groups of four only, then a terminator. The full text needs
// 4 * ceil(length / 3) + 1 bytes. True when at least one character was written.
bool Base64Encode(const void* data, std::size_t length, char* output, std::size_t outputSize);

// Decodes text four characters at a time. A group cut short by the end of the text ends
// decoding. Within a group the characters give bytes up to the first one outside the
// alphabet ("=" included): none when it is the first or second, one when the third, two
// when the fourth; the next group is still decoded. At most outputSize - 1 bytes are written
// and then a terminator; lengthOut gets the number of bytes. True when at least one byte
// was written.
bool Base64Decode(const char* text, unsigned char* output, std::size_t outputSize,
                  std::size_t* lengthOut = nullptr);

// The same without size limits.
std::string Base64Encode(std::string_view data);
std::string Base64Decode(std::string_view text);
