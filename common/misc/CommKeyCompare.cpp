#include "misc/CommKeyCompare.h"

#include <cmath>
#include <cstring>

#include "platform/CodePage.h"

namespace {

bool IsBreak(unsigned char c) noexcept
{
    return c == '\r' || c == '\n';
}

bool EndsInBreak(std::string_view text) noexcept
{
    return !text.empty() && IsBreak(static_cast<unsigned char>(text.back()));
}

} // namespace

std::uint64_t CommKeyHash::Value() const noexcept
{
    std::uint64_t h = m_state;
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ULL;
    h ^= h >> 33;
    return h;
}

// Walking both texts character by character with CR and LF skipped pairs their remaining
// characters; the texts agree when those pairs agree but for case, both run out together,
// and either both or neither end in a line break. That last condition is what the walk's
// terminator check decides, without ever reading past a terminator.
bool CommKeyCompare::TextIgnoringBreaks(std::string_view a, std::string_view b) noexcept
{
    const unsigned char* upper = platform::AnsiUpperTable();
    const auto* x = reinterpret_cast<const unsigned char*>(a.data());
    const auto* y = reinterpret_cast<const unsigned char*>(b.data());
    std::size_t i = 0;
    std::size_t j = 0;
    for (;;) {
        while (i < a.size() && IsBreak(x[i])) {
            ++i;
        }
        while (j < b.size() && IsBreak(y[j])) {
            ++j;
        }
        if (i == a.size() || j == b.size()) {
            break;
        }
        if (upper[x[i]] != upper[y[j]]) {
            return false;
        }
        ++i;
        ++j;
    }
    return i == a.size() && j == b.size() && EndsInBreak(a) == EndsInBreak(b);
}

void CommKeyCompare::HashIgnoringBreaks(CommKeyHash& hash, std::string_view text) noexcept
{
    const unsigned char* upper = platform::AnsiUpperTable();
    for (char c : text) {
        auto u = static_cast<unsigned char>(c);
        if (!IsBreak(u)) {
            hash.AddByte(upper[u]);
        }
    }
    // A text holds no zero byte, so the zero ends it unambiguously.
    hash.AddByte(0);
    hash.AddByte(EndsInBreak(text) ? 1 : 0);
}

bool CommKeyCompare::TextNoCase(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size()) {
        return false;
    }
    const unsigned char* upper = platform::AnsiUpperTable();
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upper[static_cast<unsigned char>(a[i])] != upper[static_cast<unsigned char>(b[i])]) {
            return false;
        }
    }
    return true;
}

void CommKeyCompare::HashNoCase(CommKeyHash& hash, std::string_view text) noexcept
{
    const unsigned char* upper = platform::AnsiUpperTable();
    for (char c : text) {
        hash.AddByte(upper[static_cast<unsigned char>(c)]);
    }
    hash.AddByte(0);
}

void CommKeyCompare::HashDay(CommKeyHash& hash, const SYSTEMTIME& t) noexcept
{
    hash.AddWord((std::uint64_t{t.wYear} << 32) | (std::uint64_t{t.wMonth} << 16) | t.wDay);
}

bool CommKeyCompare::HashExactDouble(CommKeyHash& hash, double value) noexcept
{
    if (std::isnan(value)) {
        return false;
    }
    if (value == 0.0) {
        value = 0.0; // -0.0 equals 0.0
    }
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    hash.AddWord(bits);
    return true;
}
