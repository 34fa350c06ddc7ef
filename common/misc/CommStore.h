#pragma once
// What the four record stores share: an ordered list of owned heap copies of common records
// with one walking cursor, fixed match and compare key lists, and the search that tells
// whether a record stands for an item of the store and whether that item is unchanged.
//
// The walk the search is defined by visits every stored record and keeps the first that
// agrees on both key lists (or the searched record itself, when it belongs to the store), else
// the last that agrees on the match keys. The store answers the same from an index of its
// records' keys, which Add, Update, Reindex and Clear keep current.
//
// Writing into a stored record's key fields through a pointer the store handed out leaves
// the index behind: change stored records through Update, or call Reindex afterwards.
//
// A store may hold texts that its connector keeps only in part (SetTextLimits): all its
// comparisons then use only the start of such texts that the connector keeps.
//
// Stores are used from one thread at a time. Derived stores supply the key comparison:
//   static bool KeysAgree(const Rec& a, const Rec& b, std::span<const int> keys,
//                         CommTextLimits limits) noexcept;
//   static bool KeysHash(const Rec& r, std::span<const int> keys, std::uint64_t& hash,
//                        CommTextLimits limits) noexcept;
// KeysHash gives equal hashes whenever KeysAgree says the records agree under the same
// limits, and false for a list the record cannot agree on with any record.
#include <cstdint>
#include <new>
#include <span>
#include <unordered_map>
#include <vector>

#include "misc/CommKeyCompare.h"
#include "misc/CommMatchIndex.h"
#include "misc/CommRecords.h"

// Gives memory the process freed back to the system (the heap's free pages), as a store does
// when it is cleared.
void CommReturnFreedMemory() noexcept;

template <class Rec, class Derived> class CommStore
{
public:
    using Record = Rec;

    CommStore(const CommStore&) = delete;
    CommStore& operator=(const CommStore&) = delete;

    // Appends a copy of the record (its owned native block duplicated); the store's copy, or
    // null when the record is null or memory runs out.
    Rec* Add(const Rec* record) noexcept;
    // Appends a heap record made with new (and its native block) without copying it: the
    // store owns it from now on, and releases it itself when it cannot be kept. The record,
    // or null when it is null or memory runs out.
    Rec* Adopt(Rec* record) noexcept;
    // Releases every record (owned native blocks first) and gives the freed memory back to
    // the system.
    void Clear() noexcept;
    int GetCount() const noexcept { return static_cast<int>(m_records.size()); }
    // The walk in load order; null at the end. One cursor per store, also moved by Add,
    // Update and Search.
    Rec* First() noexcept;
    Rec* Next() noexcept;

    // Result: SearchInvalid for a null record, SearchSame, SearchNotFound or SearchChanged.
    // found gets the deciding store record (null when not found); index its position, or
    // the count when not found. Either may be null.
    int Search(const Rec* record, Rec** found = nullptr, int* index = nullptr) noexcept;

    // Sets Status of every record of this store by searching the target store: New, Diff or
    // Same. False, changing nothing, when there is no target.
    bool CompareAll(CommStore* target) noexcept;

    // Files the record at an index again after its key fields were written directly.
    bool Reindex(int index) noexcept;

    // The most characters of a key's texts that this store's connector keeps: searches of
    // this store compare only that start of such texts, on both sides. The table must
    // outlive the store; none by default.
    void SetTextLimits(CommTextLimits limits) noexcept
    {
        m_textLimits = limits;
        DropIndex(); // filed under the old limits; filed again by the next search
    }
    CommTextLimits GetTextLimits() const noexcept { return m_textLimits; }

protected:
    CommStore(std::span<const int> matchKeys, std::span<const int> compareKeys) noexcept
        : m_matchKeys(matchKeys), m_compareKeys(compareKeys)
    {
    }
    ~CommStore() { Clear(); }

    // The record at an index, which becomes the cursor; null for a bad index.
    Rec* RecordAt(int index) noexcept;

private:
    CommMatchIndex::KeyHashes HashesOf(const Rec& record) const noexcept;
    bool Agree(const Rec& a, const Rec& b, bool compareKeys) const noexcept
    {
        return Derived::KeysAgree(a, b, compareKeys ? m_compareKeys : m_matchKeys, m_textLimits);
    }
    void FileRecord(int index);
    void Refile(int index) noexcept;
    bool EnsureIndex() noexcept;
    void DropIndex() noexcept;
    int Report(int result, int position, Rec** found, int* index) noexcept;
    int SearchFiled(const Rec* record, const CommMatchIndex::KeyHashes* known, Rec** found,
                    int* index) noexcept;
    int SearchByWalk(const Rec* record, Rec** found, int* index) noexcept;

    std::span<const int> m_matchKeys;
    std::span<const int> m_compareKeys;
    CommTextLimits m_textLimits;
    std::vector<Rec*> m_records;
    std::size_t m_cursor = 0;
    CommMatchIndex m_index;
    std::unordered_map<const Rec*, int> m_positions; // the store's own records, for identity
    bool m_indexValid = true;
};

template <class Rec, class Derived> Rec* CommStore<Rec, Derived>::Add(const Rec* record) noexcept
{
    if (record == nullptr) {
        return nullptr;
    }
    return Adopt(CommCopyRecord(*record));
}

template <class Rec, class Derived> Rec* CommStore<Rec, Derived>::Adopt(Rec* copy) noexcept
{
    if (copy == nullptr) {
        return nullptr;
    }
    try {
        m_records.push_back(copy);
    } catch (const std::bad_alloc&) {
        CommReleaseRecord(copy);
        return nullptr;
    }
    m_cursor = m_records.size() - 1;
    if (m_indexValid) {
        try {
            FileRecord(GetCount() - 1);
        } catch (const std::bad_alloc&) {
            DropIndex();
        }
    }
    return copy;
}

template <class Rec, class Derived> void CommStore<Rec, Derived>::Clear() noexcept
{
    for (Rec* record : m_records) {
        CommReleaseRecord(record);
    }
    const bool released = !m_records.empty();
    std::vector<Rec*>().swap(m_records);
    m_cursor = 0;
    m_index.Clear();
    std::unordered_map<const Rec*, int>().swap(m_positions);
    m_indexValid = true;
    if (released) {
        CommReturnFreedMemory();
    }
}

template <class Rec, class Derived> Rec* CommStore<Rec, Derived>::First() noexcept
{
    m_cursor = 0;
    return m_records.empty() ? nullptr : m_records.front();
}

template <class Rec, class Derived> Rec* CommStore<Rec, Derived>::Next() noexcept
{
    if (m_cursor + 1 >= m_records.size()) {
        return nullptr;
    }
    return m_records[++m_cursor];
}

template <class Rec, class Derived> Rec* CommStore<Rec, Derived>::RecordAt(int index) noexcept
{
    if (index < 0 || index >= GetCount()) {
        return nullptr;
    }
    m_cursor = static_cast<std::size_t>(index);
    return m_records[m_cursor];
}

template <class Rec, class Derived>
CommMatchIndex::KeyHashes CommStore<Rec, Derived>::HashesOf(const Rec& record) const noexcept
{
    CommMatchIndex::KeyHashes h;
    h.HasMatch = Derived::KeysHash(record, m_matchKeys, h.Match, m_textLimits);
    h.HasCompare = Derived::KeysHash(record, m_compareKeys, h.Compare, m_textLimits);
    return h;
}

template <class Rec, class Derived> void CommStore<Rec, Derived>::FileRecord(int index)
{
    const Rec& record = *m_records[static_cast<std::size_t>(index)];
    m_positions.emplace(&record, index);
    auto agrees = [&](int position, bool compareKeys) {
        return Agree(*m_records[static_cast<std::size_t>(position)], record, compareKeys);
    };
    m_index.Insert(index, HashesOf(record), agrees);
}

template <class Rec, class Derived> void CommStore<Rec, Derived>::Refile(int index) noexcept
{
    if (!m_indexValid) {
        return;
    }
    m_index.Remove(index);
    try {
        FileRecord(index);
    } catch (const std::bad_alloc&) {
        DropIndex();
    }
}

template <class Rec, class Derived> void CommStore<Rec, Derived>::DropIndex() noexcept
{
    m_index.Clear();
    m_positions.clear();
    m_indexValid = false;
}

// After running out of memory the index is built again on the next search; if that fails
// too, the search walks the store.
template <class Rec, class Derived> bool CommStore<Rec, Derived>::EnsureIndex() noexcept
{
    if (m_indexValid) {
        return true;
    }
    try {
        for (int i = 0; i < GetCount(); ++i) {
            FileRecord(i);
        }
    } catch (const std::bad_alloc&) {
        DropIndex();
        return false;
    }
    m_indexValid = true;
    return true;
}

template <class Rec, class Derived> bool CommStore<Rec, Derived>::Reindex(int index) noexcept
{
    if (RecordAt(index) == nullptr) {
        return false;
    }
    Refile(index);
    return true;
}

template <class Rec, class Derived>
int CommStore<Rec, Derived>::Report(int result, int position, Rec** found, int* index) noexcept
{
    // The cursor stays where the walk stopped: on a Same, else on the last record.
    if (result == SearchSame) {
        m_cursor = static_cast<std::size_t>(position);
    } else {
        m_cursor = m_records.empty() ? 0 : m_records.size() - 1;
    }
    if (found != nullptr) {
        *found = position < GetCount() ? m_records[static_cast<std::size_t>(position)] : nullptr;
    }
    if (index != nullptr) {
        *index = position;
    }
    return result;
}

template <class Rec, class Derived>
int CommStore<Rec, Derived>::Search(const Rec* record, Rec** found, int* index) noexcept
{
    if (record == nullptr) {
        if (found != nullptr) {
            *found = nullptr;
        }
        if (index != nullptr) {
            *index = -1;
        }
        return SearchInvalid;
    }
    return SearchFiled(record, nullptr, found, index);
}

// known: the record's hashes when another store of this kind has them already.
template <class Rec, class Derived>
int CommStore<Rec, Derived>::SearchFiled(const Rec* record, const CommMatchIndex::KeyHashes* known,
                                         Rec** found, int* index) noexcept
{
    if (!EnsureIndex()) {
        return SearchByWalk(record, found, index);
    }
    auto agrees = [&](int position, bool compareKeys) {
        return Agree(*m_records[static_cast<std::size_t>(position)], *record, compareKeys);
    };
    const CommMatchIndex::Hit hit = m_index.Find(known != nullptr ? *known : HashesOf(*record), agrees);
    int same = hit.FirstSame;
    // Every key comparison agrees with itself, so one of the store's own records finds at
    // least itself; only a record whose keys agree with nothing needs the identity check.
    if (same < 0) {
        if (auto own = m_positions.find(record); own != m_positions.end()) {
            same = own->second;
        }
    }
    if (same >= 0) {
        return Report(SearchSame, same, found, index);
    }
    if (hit.LastMatch >= 0) {
        return Report(SearchChanged, hit.LastMatch, found, index);
    }
    return Report(SearchNotFound, GetCount(), found, index);
}

template <class Rec, class Derived>
int CommStore<Rec, Derived>::SearchByWalk(const Rec* record, Rec** found, int* index) noexcept
{
    int changed = -1;
    for (int i = 0; i < GetCount(); ++i) {
        const Rec& stored = *m_records[static_cast<std::size_t>(i)];
        if (&stored == record) {
            return Report(SearchSame, i, found, index);
        }
        if (Agree(stored, *record, false)) {
            if (Agree(stored, *record, true)) {
                return Report(SearchSame, i, found, index);
            }
            changed = i;
        }
    }
    return changed >= 0 ? Report(SearchChanged, changed, found, index)
                        : Report(SearchNotFound, GetCount(), found, index);
}

template <class Rec, class Derived> bool CommStore<Rec, Derived>::CompareAll(CommStore* target) noexcept
{
    if (target == nullptr) {
        return false;
    }
    // Walked by position, so that a target that is this very store cannot disturb the walk.
    // The hashes this store filed its records with serve the target too when it has the same
    // text limits: same kind, same keys.
    const bool sameLimits = target->m_textLimits.data() == m_textLimits.data() &&
                            target->m_textLimits.size() == m_textLimits.size();
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        Rec* record = m_records[i];
        const int result = target->SearchFiled(
            record, m_indexValid && sameLimits ? m_index.HashesAt(static_cast<int>(i)) : nullptr, nullptr,
            nullptr);
        m_cursor = i;
        record->Status = result == SearchNotFound  ? MatchNew
                         : result == SearchChanged ? MatchDiff
                                                   : MatchSame;
    }
    return true;
}
