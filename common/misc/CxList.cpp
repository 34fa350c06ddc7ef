#include "misc/CxList.h"

#include <cassert>
#include <new>

bool CxList::Append(void* element)
{
    if (element == nullptr || m_elements.size() >= UINT32_MAX) {
        return false;
    }
    try {
        m_elements.push_back(element);
    } catch (const std::bad_alloc&) {
        const void* pContainer = nullptr;
        assert(pContainer);
        (void)pContainer;
        return false;
    }
    m_cursorIndex = static_cast<std::uint32_t>(m_elements.size() - 1);
    return true;
}

void* CxList::First()
{
    m_cursorIndex = 0;
    return m_elements.empty() ? nullptr : m_elements.front();
}

void* CxList::Next()
{
    if (static_cast<std::uint64_t>(m_cursorIndex) + 1 >= m_elements.size()) {
        return nullptr;
    }
    return GetAt(m_cursorIndex + 1);
}

void* CxList::GetAt(std::uint32_t index)
{
    if (index >= m_elements.size()) {
        return nullptr;
    }
    m_cursorIndex = index;
    return m_elements[index];
}

void CxList::RemoveAll(ReleaseFunction release)
{
    if (release != nullptr) {
        for (void* element : m_elements) {
            if (element != nullptr) {
                release(element);
            }
        }
    }
    m_elements.clear();
    m_elements.shrink_to_fit();
    m_cursorIndex = 0;
}
