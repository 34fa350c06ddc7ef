#pragma once
// How the stand-in CRM services keep their users' secrets: never the text itself, only a salted,
// stretched hash of it (PBKDF2 with HMAC-SHA-256), beside the salt it was made with.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace crm {

using Sha256Digest = std::array<std::uint8_t, 32>;

Sha256Digest Sha256(std::string_view data);
Sha256Digest HmacSha256(std::string_view key, std::string_view data);
// PBKDF2-HMAC-SHA-256, the first 32 bytes of the derived key.
Sha256Digest Pbkdf2Sha256(std::string_view password, std::string_view salt, std::uint32_t iterations);

std::string ToHex(const std::uint8_t* data, std::size_t size);

// A secret as it is stored: "<iterations>$<salt in hex>$<hash in hex>".
std::string HashSecret(std::string_view secret);
// The same with a salt given (tests); salt is raw bytes.
std::string HashSecret(std::string_view secret, std::string_view salt, std::uint32_t iterations);
// The parts of a stored secret; false for a text that is not one of ours (iterations 1 to
// 1,000,000, a salt and a 32-byte hash in lower-case hex).
bool ParseStoredSecret(std::string_view stored, std::uint32_t* iterations, std::string* salt,
                       std::string* hash);
// True when secret is the one stored; false for any other, and for a stored text that is not
// one of ours.
bool SecretMatches(std::string_view secret, std::string_view stored);

} // namespace crm
