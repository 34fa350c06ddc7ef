#include "misc/CommMatchIndex.h"

#include <algorithm>

std::uint64_t CommMatchIndex::GroupKey(int bucket, std::uint64_t compareHash) noexcept
{
    std::uint64_t h = compareHash ^ (static_cast<std::uint64_t>(bucket) * 0x9e3779b97f4a7c15ULL);
    h ^= h >> 31;
    return h * 0xbf58476d1ce4e5b9ULL;
}

int CommMatchIndex::FindIn(const std::unordered_multimap<std::uint64_t, int>& map,
                           const std::vector<Group>& groups, std::uint64_t key, int bucket, bool compareKeys,
                           const Agrees& agrees) const
{
    auto [it, end] = map.equal_range(key);
    for (; it != end; ++it) {
        const Group& g = groups[static_cast<std::size_t>(it->second)];
        // Any member stands for the whole group: all of them agree with each other.
        if (g.Bucket == bucket && !g.Members.empty() && agrees(g.Members.front(), compareKeys)) {
            return it->second;
        }
    }
    return -1;
}

int CommMatchIndex::Create(std::unordered_multimap<std::uint64_t, int>& map, std::vector<Group>& groups,
                           std::uint64_t key, int bucket)
{
    const int id = static_cast<int>(groups.size());
    groups.push_back(Group{key, bucket, {}});
    map.emplace(key, id);
    return id;
}

void CommMatchIndex::Leave(std::unordered_multimap<std::uint64_t, int>& map, std::vector<Group>& groups,
                           int id, int position) noexcept
{
    Group& g = groups[static_cast<std::size_t>(id)];
    auto at = std::lower_bound(g.Members.begin(), g.Members.end(), position);
    if (at != g.Members.end() && *at == position) {
        g.Members.erase(at);
    }
    if (!g.Members.empty()) {
        return;
    }
    // An empty group is unlinked and stays behind as an unused slot.
    auto [it, end] = map.equal_range(g.Key);
    for (; it != end; ++it) {
        if (it->second == id) {
            map.erase(it);
            break;
        }
    }
    std::vector<int>().swap(g.Members);
}

namespace {

void AddMember(std::vector<int>& members, int position)
{
    // Records are mostly added at the end of the store.
    if (members.empty() || members.back() < position) {
        members.push_back(position);
    } else {
        members.insert(std::lower_bound(members.begin(), members.end(), position), position);
    }
}

} // namespace

void CommMatchIndex::Insert(int position, const KeyHashes& hashes, const Agrees& agrees)
{
    const auto slot = static_cast<std::size_t>(position);
    if (slot >= m_places.size()) {
        m_places.resize(slot + 1);
    }
    Place place;
    place.Filed = true;
    place.Hashes = hashes;
    if (hashes.HasMatch) {
        place.Bucket = FindIn(m_bucketByHash, m_buckets, hashes.Match, -1, false, agrees);
        if (place.Bucket < 0) {
            place.Bucket = Create(m_bucketByHash, m_buckets, hashes.Match, -1);
        }
        AddMember(m_buckets[static_cast<std::size_t>(place.Bucket)].Members, position);
        m_places[slot].Bucket = place.Bucket;
        if (hashes.HasCompare) {
            const std::uint64_t key = GroupKey(place.Bucket, hashes.Compare);
            place.Group = FindIn(m_groupByKey, m_groups, key, place.Bucket, true, agrees);
            if (place.Group < 0) {
                place.Group = Create(m_groupByKey, m_groups, key, place.Bucket);
            }
            AddMember(m_groups[static_cast<std::size_t>(place.Group)].Members, position);
        }
    }
    m_places[slot] = place;
}

void CommMatchIndex::Remove(int position) noexcept
{
    const auto slot = static_cast<std::size_t>(position);
    if (position < 0 || slot >= m_places.size()) {
        return;
    }
    const Place place = m_places[slot];
    if (place.Group >= 0) {
        Leave(m_groupByKey, m_groups, place.Group, position);
    }
    if (place.Bucket >= 0) {
        Leave(m_bucketByHash, m_buckets, place.Bucket, position);
    }
    m_places[slot] = Place{};
}

const CommMatchIndex::KeyHashes* CommMatchIndex::HashesAt(int position) const noexcept
{
    const auto slot = static_cast<std::size_t>(position);
    return position >= 0 && slot < m_places.size() && m_places[slot].Filed ? &m_places[slot].Hashes : nullptr;
}

CommMatchIndex::Hit CommMatchIndex::Find(const KeyHashes& hashes, const Agrees& agrees) const
{
    Hit hit;
    if (!hashes.HasMatch) {
        return hit;
    }
    const int bucket = FindIn(m_bucketByHash, m_buckets, hashes.Match, -1, false, agrees);
    if (bucket < 0) {
        return hit;
    }
    hit.LastMatch = m_buckets[static_cast<std::size_t>(bucket)].Members.back();
    if (hashes.HasCompare) {
        const int group =
            FindIn(m_groupByKey, m_groups, GroupKey(bucket, hashes.Compare), bucket, true, agrees);
        if (group >= 0) {
            hit.FirstSame = m_groups[static_cast<std::size_t>(group)].Members.front();
        }
    }
    return hit;
}

void CommMatchIndex::Clear() noexcept
{
    m_buckets.clear();
    m_groups.clear();
    m_bucketByHash.clear();
    m_groupByKey.clear();
    m_places.clear();
}
