#pragma once
// Store of common note records: one per connector, in load order.
#include <cstdint>
#include <span>

#include "misc/CommRecords.h"
#include "misc/CommStore.h"

class CommNoteMgr : public CommStore<CommNoteRec, CommNoteMgr>
{
public:
    // The title decides the item; the body decides whether it changed.
    CommNoteMgr() noexcept;
    virtual ~CommNoteMgr() = default;

    // Copies Color and Private, and Title and Body when not empty (cut to the field), as the
    // other stores keep a stored text that the update leaves empty; the stored record becomes
    // Same. False for a null record or a bad index.
    bool Update(const CommNoteRec* record, int index) noexcept;

    // Title: the first 255 characters ignoring case; Body: the first 20479 characters ignoring
    // case; each as far as the limits keep it. A key with no comparison agrees; an empty list
    // never does.
    static bool KeysAgree(const CommNoteRec& a, const CommNoteRec& b, std::span<const int> keys,
                          CommTextLimits limits = {}) noexcept;
    static bool KeysHash(const CommNoteRec& record, std::span<const int> keys, std::uint64_t& hash,
                         CommTextLimits limits = {}) noexcept;
};
