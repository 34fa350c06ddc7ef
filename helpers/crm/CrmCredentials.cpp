#include "crm/CrmCredentials.h"

#include <cstring>
#include <random>

namespace crm {

namespace {

constexpr std::uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::uint32_t kIterations = 20000;
constexpr std::size_t kSaltBytes = 16;

std::uint32_t Rotr(std::uint32_t x, int n)
{
    return (x >> n) | (x << (32 - n));
}

class Sha256State
{
public:
    void Update(std::string_view data)
    {
        for (char c : data) {
            m_block[m_used++] = static_cast<std::uint8_t>(c);
            if (m_used == 64) {
                Compress();
                m_used = 0;
            }
        }
        m_length += static_cast<std::uint64_t>(data.size()) * 8;
    }

    Sha256Digest Finish()
    {
        const std::uint64_t length = m_length;
        const char one = static_cast<char>(0x80);
        Update(std::string_view(&one, 1));
        const char zero = 0;
        while (m_used != 56) {
            Update(std::string_view(&zero, 1));
        }
        for (int i = 7; i >= 0; --i) {
            const char byte = static_cast<char>((length >> (i * 8)) & 0xff);
            Update(std::string_view(&byte, 1));
        }
        Sha256Digest digest{};
        for (int i = 0; i < 8; ++i) {
            for (int j = 0; j < 4; ++j) {
                digest[static_cast<std::size_t>(i * 4 + j)] =
                    static_cast<std::uint8_t>(m_h[i] >> (24 - j * 8));
            }
        }
        return digest;
    }

private:
    void Compress()
    {
        std::uint32_t w[64];
        for (int i = 0; i < 16; ++i) {
            w[i] = static_cast<std::uint32_t>(m_block[i * 4]) << 24 |
                   static_cast<std::uint32_t>(m_block[i * 4 + 1]) << 16 |
                   static_cast<std::uint32_t>(m_block[i * 4 + 2]) << 8 | m_block[i * 4 + 3];
        }
        for (int i = 16; i < 64; ++i) {
            const std::uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
            const std::uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        std::uint32_t a = m_h[0], b = m_h[1], c = m_h[2], d = m_h[3], e = m_h[4], f = m_h[5], g = m_h[6],
                      h = m_h[7];
        for (int i = 0; i < 64; ++i) {
            const std::uint32_t t1 =
                h + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + ((e & f) ^ (~e & g)) + kRound[i] + w[i];
            const std::uint32_t t2 = (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
            h = g;
            g = f;
            f = e;
            e = d + t1;
            d = c;
            c = b;
            b = a;
            a = t1 + t2;
        }
        m_h[0] += a;
        m_h[1] += b;
        m_h[2] += c;
        m_h[3] += d;
        m_h[4] += e;
        m_h[5] += f;
        m_h[6] += g;
        m_h[7] += h;
    }

    std::uint32_t m_h[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                            0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::uint8_t m_block[64] = {};
    std::size_t m_used = 0;
    std::uint64_t m_length = 0;
};

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
    Sha256State state;
    state.Update(data);
    return state.Finish();
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
    Sha256State first;
    first.Update(inner);
    first.Update(data);
    const Sha256Digest innerDigest = first.Finish();
    Sha256State second;
    second.Update(outer);
    second.Update(View(innerDigest));
    return second.Finish();
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
