#pragma once
// Store of common task records: one per connector, in load order.
#include <cstdint>
#include <span>

#include "misc/CommRecords.h"
#include "misc/CommStore.h"

class CommTaskMgr : public CommStore<CommTaskRec, CommTaskMgr>
{
public:
    // The subject decides the item; priority and subject decide whether it changed (the
    // compare list also names DueDate, which has no comparison).
    CommTaskMgr() noexcept;
    virtual ~CommTaskMgr() = default;

    // Copies Subject and Notes when not empty (cut to the field); DueDate, AlarmSet, Private,
    // Completed and Priority always. False for a null record or a bad index.
    bool Update(const CommTaskRec* record, int index) noexcept;

    // Subject and Notes: whole text ignoring case; Priority, Completed, AlarmSet, Private:
    // equal. Texts as far as the limits keep them. A key with no comparison (DueDate) agrees;
    // an empty list never does.
    static bool KeysAgree(const CommTaskRec& a, const CommTaskRec& b, std::span<const int> keys,
                          CommTextLimits limits = {}) noexcept;
    static bool KeysHash(const CommTaskRec& record, std::span<const int> keys, std::uint64_t& hash,
                         CommTextLimits limits = {}) noexcept;
};
