#pragma once
// Categories of the classic and 4.1.x Palm Desktop databases and their table of 16 slots.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

class PmCategory
{
public:
    static constexpr std::uint32_t kDirty = 0x10;

    virtual ~PmCategory() = default;
    std::int32_t GetIndex() const { return m_index; }
    std::int32_t GetID() const { return m_id; }
    const std::string& GetName() const { return m_name; }
    const std::string& GetFileName() const { return m_fileName; }
    std::uint32_t GetFlags() const { return m_flags; }
    void SetIndex(std::int32_t index) { m_index = index; }
    void SetID(std::int32_t id) { m_id = id; }
    void SetName(const std::string& name);         // at most 15 characters kept
    void SetFileName(const std::string& fileName); // at most 255 characters kept
    void SetFlags(std::uint32_t flags) { m_flags = flags; }
    void SetDirty(bool dirty);
    bool IsDirty() const { return (m_flags & kDirty) != 0; }
    bool operator==(const PmCategory& other) const;

private:
    std::int32_t m_index = -1;
    std::int32_t m_id = -1;
    std::string m_name;
    std::string m_fileName;
    std::uint32_t m_flags = 0;
};

class PmCategoryMgr
{
public:
    static constexpr int kSlots = 16;

    virtual ~PmCategoryMgr() = default;
    int GetCount() const { return m_count; }
    const PmCategory* FindByID(std::int32_t id) const;
    const PmCategory* GetByIndex(int index) const;               // null outside 0..15
    const PmCategory* FindByName(const std::string& name) const; // ASCII case-insensitive
    const PmCategory* First();
    const PmCategory* Next();
    // Stores a copy; see the rules in the implementation. False when it cannot be added.
    bool Add(const PmCategory& category);
    void SetModified(bool modified) { m_modified = modified; }
    bool IsModified() const { return m_modified; }
    std::int32_t GetNextFreeID() const { return m_nextFreeId; }
    void SetNextFreeID(std::int32_t id) { m_nextFreeId = id; }

private:
    std::int32_t m_nextFreeId = 128;
    int m_cursor = 0;
    int m_count = 0;
    std::array<std::unique_ptr<PmCategory>, kSlots> m_slots;
    bool m_modified = false;
};
