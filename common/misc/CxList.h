#pragma once
// An indexed list of untyped element pointers with a walking cursor. Indexes are 0..count-1
// in insertion order and never change; there is no removal of single elements.
//
// The list does not own its elements: the destructor and RemoveAll() forget them. An owner
// that wants them released passes a release function to RemoveAll, for example
// list.RemoveAll(CxList::Delete<OlContact>).
//
// The elements are kept in one array, so every access by index costs one step; the cursor
// (the element of the last successful First, Next, GetAt or Append) is kept all the same,
// because Next walks on from it. Each walk moves the cursor: one walker at a time.
#include <cstdint>
#include <vector>

class CxList
{
public:
    using ReleaseFunction = void (*)(void* element);

    CxList() = default;
    ~CxList() { RemoveAll(); }
    CxList(const CxList&) = delete;
    CxList& operator=(const CxList&) = delete;

    // Adds a non-null element with index GetCount(); it becomes the cursor. False for a null
    // element (or a list that already holds 2^32 - 1 elements).
    bool Append(void* element);
    // The first element (null for an empty list); the cursor moves to index 0.
    void* First();
    // The element after the cursor, or null after the last one.
    void* Next();
    // The element of an index, which becomes the cursor; null, cursor unchanged, when the
    // index is not below GetCount().
    void* GetAt(std::uint32_t index);
    std::uint32_t GetCount() const { return static_cast<std::uint32_t>(m_elements.size()); }
    // Forgets every element; with a release function, each element is passed to it first.
    // Afterwards the list is as new: the next Append gets index 0.
    void RemoveAll(ReleaseFunction release = nullptr);

    // A release function for elements made with new T.
    template <class T> static void Delete(void* element) { delete static_cast<T*>(element); }

private:
    std::vector<void*> m_elements;
    std::uint32_t m_cursorIndex = 0;
};
