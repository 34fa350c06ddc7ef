#pragma once
// The categories of a Palm Desktop 6.x database.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class PmDataAccessor;

// A category of a 6.x database.
class PmCategoryEx2
{
public:
    PmCategoryEx2() = default;
    PmCategoryEx2(std::int32_t id, const std::string& name, std::int32_t status, std::int32_t color);

    std::int32_t GetID() const { return m_id; }
    const std::string& GetName() const { return m_name; }
    std::int32_t GetStatus() const { return m_status; }
    std::int32_t GetColor() const { return m_color; }
    void SetID(std::int32_t id) { m_id = id; }
    void SetName(const std::string& name); // at most 255 bytes kept
    void SetStatus(std::int32_t status) { m_status = status; }
    void SetColor(std::int32_t color) { m_color = color; }

private:
    std::int32_t m_id = 0;
    std::string m_name;
    std::int32_t m_status = 0;
    std::int32_t m_color = 0;
};

// The category table of a 6.x database, in load order.
class PmCategoryEx2Mgr
{
public:
    explicit PmCategoryEx2Mgr(PmDataAccessor* accessor = nullptr) : m_accessor(accessor) {}
    virtual ~PmCategoryEx2Mgr() = default;

    void SetAccessor(PmDataAccessor* accessor) { m_accessor = accessor; }
    PmDataAccessor* GetAccessor() const { return m_accessor; }

    int GetCount() const { return static_cast<int>(m_categories.size()); }
    void Clear();
    void Add(const PmCategoryEx2& category);
    const PmCategoryEx2* FindByID(std::int32_t id) const;
    const PmCategoryEx2* GetAt(int index) const;                    // null outside the table
    const PmCategoryEx2* FindByName(const std::string& name) const; // exact
    const PmCategoryEx2* First();
    const PmCategoryEx2* Next();

private:
    PmDataAccessor* m_accessor;
    std::vector<PmCategoryEx2> m_categories;
    std::size_t m_cursor = 0;
};
