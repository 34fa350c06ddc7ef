#pragma once
// SHA-256 (FIPS 180-4) of a byte string, for the salted password hashes of the stand-in
// ACT! databases.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

std::array<std::uint8_t, 32> Sha256(std::string_view data);
// The digest as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view data);
