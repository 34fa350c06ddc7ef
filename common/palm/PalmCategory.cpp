#include "palm/PalmCategory.h"

#include <algorithm>
#include <cctype>

void PmCategory::SetName(const std::string& name)
{
    m_name = name.substr(0, 15);
}

void PmCategory::SetFileName(const std::string& fileName)
{
    m_fileName = fileName.substr(0, 255);
}

void PmCategory::SetDirty(bool dirty)
{
    m_flags = dirty ? (m_flags | kDirty) : (m_flags & ~kDirty);
}

bool PmCategory::operator==(const PmCategory& other) const
{
    return m_index == other.m_index && m_id == other.m_id && m_name == other.m_name;
}

const PmCategory* PmCategoryMgr::FindByID(std::int32_t id) const
{
    for (const auto& slot : m_slots) {
        if (slot && slot->GetID() == id) {
            return slot.get();
        }
    }
    return nullptr;
}

const PmCategory* PmCategoryMgr::GetByIndex(int index) const
{
    if (index < 0 || index >= kSlots) {
        return nullptr;
    }
    return m_slots[static_cast<std::size_t>(index)].get();
}

const PmCategory* PmCategoryMgr::FindByName(const std::string& name) const
{
    if (name.empty()) {
        return nullptr;
    }
    auto same = [&name](const std::string& other) {
        return std::equal(name.begin(), name.end(), other.begin(), other.end(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        });
    };
    for (const auto& slot : m_slots) {
        if (slot && same(slot->GetName())) {
            return slot.get();
        }
    }
    return nullptr;
}

const PmCategory* PmCategoryMgr::First()
{
    m_cursor = 0;
    return Next();
}

const PmCategory* PmCategoryMgr::Next()
{
    while (m_cursor < kSlots) {
        const PmCategory* category = m_slots[static_cast<std::size_t>(m_cursor++)].get();
        if (category) {
            return category;
        }
    }
    return nullptr;
}

bool PmCategoryMgr::Add(const PmCategory& category)
{
    if (m_count >= kSlots) {
        return false;
    }
    auto copy = std::make_unique<PmCategory>(category);
    if (copy->GetIndex() == -1) {
        int free = -1;
        for (int i = 1; i < kSlots; ++i) {
            if (!m_slots[static_cast<std::size_t>(i)]) {
                free = i;
                break;
            }
        }
        if (free < 0) {
            return false;
        }
        copy->SetIndex(free);
        copy->SetDirty(true);
    }
    // An index outside the 16 slots has no place in the table.
    if (copy->GetIndex() < 0 || copy->GetIndex() >= kSlots) {
        return false;
    }
    if (copy->GetID() == -1) {
        std::int32_t largest = 0;
        for (const auto& slot : m_slots) {
            if (!slot) {
                break; // the occupied slots before the first empty one
            }
            largest = std::max(largest, slot->GetID());
        }
        copy->SetID(largest + 1);
        copy->SetDirty(true);
    } else if (FindByID(copy->GetID())) {
        return false;
    }
    std::string fileName = copy->GetName().substr(0, 255);
    for (char& c : fileName) {
        if (std::string_view("\"*+,./:;<=>?[\\]^|").find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    copy->SetFileName(fileName);
    auto& slot = m_slots[static_cast<std::size_t>(copy->GetIndex())];
    if (!slot) {
        ++m_count;
    }
    slot = std::move(copy);
    m_modified = true;
    return true;
}
