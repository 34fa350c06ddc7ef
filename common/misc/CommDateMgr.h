#pragma once
// Store of common calendar events: one per connector, in load order.
#include <cstdint>
#include <span>

#include "misc/CommRecords.h"
#include "misc/CommStore.h"

class CommDateMgr : public CommStore<CommDateRec, CommDateMgr>
{
public:
    // Subject, start day, end day and the all-day flag decide the item; the location decides
    // whether it changed.
    CommDateMgr() noexcept;
    ~CommDateMgr() = default;

    // Copies Subject, Location, Notes and Categories when not empty (cut to the field);
    // ReminderSet, AllDay, Private, Recurrence, Start and End always. False for a null record
    // or a bad index.
    bool Update(const CommDateRec* record, int index) noexcept;

    // Subject and Location: whole text ignoring case; Start and End: the calendar day only;
    // Notes: ignoring case and CR/LF inside; AllDay: equal. Texts as far as the limits keep
    // them. A key with no comparison agrees; an empty list never does.
    static bool KeysAgree(const CommDateRec& a, const CommDateRec& b, std::span<const int> keys,
                          CommTextLimits limits = {}) noexcept;
    static bool KeysHash(const CommDateRec& record, std::span<const int> keys, std::uint64_t& hash,
                         CommTextLimits limits = {}) noexcept;
};
