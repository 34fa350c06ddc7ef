#pragma once
// Index of a record store by its records' keys, so that a search costs about one lookup
// instead of a walk over the whole store.
//
// Records are known by their position in the store. Records that agree on the match keys form
// a bucket; within a bucket, records that also agree on the compare keys form a group. A search
// needs the first position of the group that agrees with the searched record (Same) and the
// last position of its bucket (the changed match a Diff reports). Hashes only choose where to
// look: the store's own key comparison confirms every bucket and group, so a hash collision
// never joins records that do not agree.
#include <cstdint>
#include <unordered_map>
#include <vector>

class CommMatchIndex
{
public:
    // Hashes of one record's keys; a list the record can never agree on (an empty list, a
    // key value that equals nothing) has none.
    struct KeyHashes
    {
        bool HasMatch = false;
        std::uint64_t Match = 0;
        bool HasCompare = false;
        std::uint64_t Compare = 0;
    };

    // Positions a search reports; -1 for none.
    struct Hit
    {
        int FirstSame = -1; // first record agreeing on match and compare keys
        int LastMatch = -1; // last record agreeing on the match keys
    };

    // Asks whether the stored record at a position agrees with the record in question on the
    // match keys, or on the compare keys when compareKeys is set.
    class Agrees
    {
    public:
        template <class F>
        Agrees(const F& f) noexcept // NOLINT: made from a lambda at each call
            : m_context(&f), m_call([](const void* c, int position, bool compareKeys) {
                  return (*static_cast<const F*>(c))(position, compareKeys);
              })
        {
        }
        bool operator()(int position, bool compareKeys) const
        {
            return m_call(m_context, position, compareKeys);
        }

    private:
        const void* m_context;
        bool (*m_call)(const void*, int, bool);
    };

    // Files the record at a position; agrees compares stored records with that record.
    // May throw std::bad_alloc, leaving the index unusable until Clear.
    void Insert(int position, const KeyHashes& hashes, const Agrees& agrees);
    // Takes a position out, for example before its record's keys change.
    void Remove(int position) noexcept;
    // agrees compares stored records with the searched record.
    Hit Find(const KeyHashes& hashes, const Agrees& agrees) const;
    // The hashes the record at a position was filed with, or null.
    const KeyHashes* HashesAt(int position) const noexcept;
    void Clear() noexcept;

private:
    struct Group
    {
        std::uint64_t Key = 0;
        int Bucket = -1;          // the bucket a group belongs to; -1 for a bucket itself
        std::vector<int> Members; // positions, ascending
    };
    struct Place
    {
        int Bucket = -1;
        int Group = -1;
        bool Filed = false;
        KeyHashes Hashes;
    };

    static std::uint64_t GroupKey(int bucket, std::uint64_t compareHash) noexcept;
    int FindIn(const std::unordered_multimap<std::uint64_t, int>& map, const std::vector<Group>& groups,
               std::uint64_t key, int bucket, bool compareKeys, const Agrees& agrees) const;
    static int Create(std::unordered_multimap<std::uint64_t, int>& map, std::vector<Group>& groups,
                      std::uint64_t key, int bucket);
    static void Leave(std::unordered_multimap<std::uint64_t, int>& map, std::vector<Group>& groups, int id,
                      int position) noexcept;

    std::vector<Group> m_buckets;
    std::vector<Group> m_groups;
    std::unordered_multimap<std::uint64_t, int> m_bucketByHash;
    std::unordered_multimap<std::uint64_t, int> m_groupByKey;
    std::vector<Place> m_places; // by position
};
