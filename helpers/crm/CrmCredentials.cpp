#include "crm/CrmCredentials.h"

#include <cstring>
#include <random>

#include "misc/Sha256.h"

namespace crm {

namespace {

constexpr std::uint32_t kIterations = 20000;
constexpr std::size_t kSaltBytes = 16;

std::string_view View(const Sha256Digest& digest)
{
    return std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size());
}

bool FromHex(std::string_view hex, std::string& out)
{
    if (hex.size() % 2 != 0) {
        return false;
    }
    out.clear();
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        int value = 0;
        for (std::size_t j = i; j < i + 2; ++j) {
            const char c = hex[j];
            const int digit = c >= '0' && c <= '9' ? c - '0' : (c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1);
            if (digit < 0) {
                return false;
            }
            value = value * 16 + digit;
        }
        out += static_cast<char>(value);
    }
    return true;
}

} // namespace

Sha256Digest Sha256(std::string_view data)
{
    return ::Sha256(data);
}

Sha256Digest HmacSha256(std::string_view key, std::string_view data)
{
    std::uint8_t block[64] = {};
    if (key.size() > 64) {
        const Sha256Digest hashed = Sha256(key);
        std::memcpy(block, hashed.data(), hashed.size());
    } else {
        std::memcpy(block, key.data(), key.size());
    }
    std::string inner(64, '\0');
    std::string outer(64, '\0');
    for (int i = 0; i < 64; ++i) {
        inner[static_cast<std::size_t>(i)] = static_cast<char>(block[i] ^ 0x36);
        outer[static_cast<std::size_t>(i)] = static_cast<char>(block[i] ^ 0x5c);
    }
    inner.append(data);
    const Sha256Digest innerDigest = ::Sha256(inner);
    outer.append(View(innerDigest));
    return ::Sha256(outer);
}

Sha256Digest Pbkdf2Sha256(std::string_view password, std::string_view salt, std::uint32_t iterations)
{
    std::string first(salt);
    first += std::string("\0\0\0\1", 4);
    Sha256Digest u = HmacSha256(password, first);
    Sha256Digest result = u;
    for (std::uint32_t i = 1; i < iterations; ++i) {
        u = HmacSha256(password, View(u));
        for (std::size_t j = 0; j < result.size(); ++j) {
            result[j] ^= u[j];
        }
    }
    return result;
}

std::string ToHex(const std::uint8_t* data, std::size_t size)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < size; ++i) {
        hex += kDigits[data[i] >> 4];
        hex += kDigits[data[i] & 15];
    }
    return hex;
}

std::string HashSecret(std::string_view secret, std::string_view salt, std::uint32_t iterations)
{
    const Sha256Digest hash = Pbkdf2Sha256(secret, salt, iterations);
    return std::to_string(iterations) + "$" +
           ToHex(reinterpret_cast<const std::uint8_t*>(salt.data()), salt.size()) + "$" +
           ToHex(hash.data(), hash.size());
}

std::string HashSecret(std::string_view secret)
{
    std::string salt(kSaltBytes, '\0');
    std::random_device random; // the system's entropy source
    for (char& c : salt) {
        c = static_cast<char>(random() & 0xff);
    }
    return HashSecret(secret, salt, kIterations);
}

bool ParseStoredSecret(std::string_view stored, std::uint32_t* iterations, std::string* salt,
                       std::string* hash)
{
    const std::size_t first = stored.find('$');
    const std::size_t second = first == std::string_view::npos ? first : stored.find('$', first + 1);
    if (second == std::string_view::npos || first == 0 || first > 7) {
        return false;
    }
    std::uint32_t count = 0;
    for (char c : stored.substr(0, first)) {
        if (c < '0' || c > '9') {
            return false;
        }
        count = count * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (count == 0 || count > 1000000 || !FromHex(stored.substr(first + 1, second - first - 1), *salt) ||
        !FromHex(stored.substr(second + 1), *hash) || hash->size() != 32) {
        return false;
    }
    *iterations = count;
    return true;
}

bool SecretMatches(std::string_view secret, std::string_view stored)
{
    std::uint32_t iterations = 0;
    std::string salt;
    std::string hash;
    if (!ParseStoredSecret(stored, &iterations, &salt, &hash)) {
        return false;
    }
    const Sha256Digest computed = Pbkdf2Sha256(secret, salt, iterations);
    // Compared in full, whatever the first difference.
    unsigned difference = 0;
    for (std::size_t i = 0; i < computed.size(); ++i) {
        difference |= computed[i] ^ static_cast<std::uint8_t>(hash[i]);
    }
    return difference == 0;
}

} // namespace crm
