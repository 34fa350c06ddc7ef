#include "palm/PalmCategoryEx2.h"

PmCategoryEx2::PmCategoryEx2(std::int32_t id, const std::string& name, std::int32_t status,
                             std::int32_t color)
    : m_id(id), m_status(status), m_color(color)
{
    SetName(name);
}

void PmCategoryEx2::SetName(const std::string& name)
{
    m_name = name.substr(0, 255);
}

void PmCategoryEx2Mgr::Clear()
{
    m_categories.clear();
    m_cursor = 0;
}

void PmCategoryEx2Mgr::Add(const PmCategoryEx2& category)
{
    m_categories.push_back(category);
}

const PmCategoryEx2* PmCategoryEx2Mgr::FindByID(std::int32_t id) const
{
    for (const auto& category : m_categories) {
        if (category.GetID() == id) {
            return &category;
        }
    }
    return nullptr;
}

const PmCategoryEx2* PmCategoryEx2Mgr::GetAt(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_categories.size()) {
        return nullptr;
    }
    return &m_categories[static_cast<std::size_t>(index)];
}

const PmCategoryEx2* PmCategoryEx2Mgr::FindByName(const std::string& name) const
{
    for (const auto& category : m_categories) {
        if (category.GetName() == name) {
            return &category;
        }
    }
    return nullptr;
}

const PmCategoryEx2* PmCategoryEx2Mgr::First()
{
    m_cursor = 0;
    return Next();
}

const PmCategoryEx2* PmCategoryEx2Mgr::Next()
{
    if (m_cursor >= m_categories.size()) {
        return nullptr;
    }
    return &m_categories[m_cursor++];
}
