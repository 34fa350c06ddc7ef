#pragma once
// How the record stores compare one key of two records, and a hash that is equal whenever
// the comparison says equal, so that a store can index its records by their keys.
// Letter case follows the ANSI code page (platform::AnsiUpperTable); records indexed under
// one code page must not be searched under another.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/WinTypes.h"

// The most characters of a key's texts that a record store keeps. A target whose fields are
// smaller than the common record's holds only the start of a longer text; its store then
// compares only that start of every text of the key, so that a text it had to cut still
// counts as the same. Field is the common record's field of the key, as the record catalogue
// names it (e.g. "Body"), for telling the user which text was cut.
struct CommTextLimit
{
    int Key;
    const char* Field;
    std::size_t MaxChars;
};
using CommTextLimits = std::span<const CommTextLimit>;

// A 64-bit hash fed value by value (FNV-1a, finished with a mixer).
class CommKeyHash
{
public:
    void AddByte(unsigned char b) noexcept { m_state = (m_state ^ b) * 0x100000001b3ULL; }
    void AddWord(std::uint64_t v) noexcept
    {
        for (int i = 0; i < 8; ++i) {
            AddByte(static_cast<unsigned char>(v >> (8 * i)));
        }
    }
    std::uint64_t Value() const noexcept;

private:
    std::uint64_t m_state = 0xcbf29ce484222325ULL;
};

class CommKeyCompare
{
public:
    // The start of a key's text that the limits keep: the text itself when no limit names
    // the key or the text is no longer than the limit.
    static std::string_view Limited(std::string_view text, CommTextLimits limits, int key) noexcept
    {
        for (const CommTextLimit& limit : limits) {
            if (limit.Key == key && text.size() > limit.MaxChars) {
                return text.substr(0, limit.MaxChars);
            }
        }
        return text;
    }

    // Texts equal when they differ only in letter case and in CR and LF characters, except
    // that a text ending in a run of CR/LF differs from one that does not. (The stores'
    // step-by-step walk, bounded: it never steps past either text's end.)
    static bool TextIgnoringBreaks(std::string_view a, std::string_view b) noexcept;
    static void HashIgnoringBreaks(CommKeyHash& hash, std::string_view text) noexcept;

    // Whole texts equal but for letter case.
    static bool TextNoCase(std::string_view a, std::string_view b) noexcept;
    static void HashNoCase(CommKeyHash& hash, std::string_view text) noexcept;

    // Same calendar day: year, month and day; time, weekday and seconds are ignored.
    static bool SameDay(const SYSTEMTIME& a, const SYSTEMTIME& b) noexcept
    {
        return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
    }
    static void HashDay(CommKeyHash& hash, const SYSTEMTIME& t) noexcept;

    // Exact equality of two dates held as doubles: a NaN equals nothing, not even itself, so
    // it has no hash (false); -0.0 and 0.0 hash alike.
    static bool HashExactDouble(CommKeyHash& hash, double value) noexcept;

    // Whether every key of a list agrees, tested in list order (the first disagreement ends
    // the test); an empty list never agrees.
    template <class KeyAgrees> static bool AllKeysAgree(std::span<const int> keys, KeyAgrees agrees)
    {
        if (keys.empty()) {
            return false;
        }
        for (int key : keys) {
            if (!agrees(key)) {
                return false;
            }
        }
        return true;
    }

    // The hash of every key of a list, fed by hashKey(hash, key); false for an empty list or
    // when a key has no hash.
    template <class HashKey>
    static bool HashKeys(std::span<const int> keys, std::uint64_t& hash, HashKey hashKey)
    {
        if (keys.empty()) {
            return false;
        }
        CommKeyHash h;
        for (int key : keys) {
            if (!hashKey(h, key)) {
                return false;
            }
        }
        hash = h.Value();
        return true;
    }
};
