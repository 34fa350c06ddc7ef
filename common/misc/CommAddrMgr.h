#pragma once
// Store of common contact records: one per connector, in load order.
#include <cstdint>
#include <span>

#include "misc/CommRecords.h"
#include "misc/CommStore.h"

class CommAddrMgr : public CommStore<CommAddrRec, CommAddrMgr>
{
public:
    // First name, last name and e-mail decide the item; 24 fields (phones, e-mail, company,
    // title, the three addresses, the note) decide whether it changed.
    CommAddrMgr() noexcept;
    ~CommAddrMgr() = default;

    // Copies the changeable fields of record into the stored record at index: texts only when
    // not empty (cut to the field), Birthday and Anniversary always. Salutation, POBox,
    // Neighborhood, ExtraText, the tenth custom label, the times and the bookkeeping fields
    // stay. False for a null record or a bad index.
    bool Update(const CommAddrRec* record, int index) noexcept;

    // Texts compare ignoring case and CR/LF inside them; Birthday and Anniversary exactly.
    // Texts as far as the limits keep them. A key with no comparison agrees; an empty list
    // never does.
    static bool KeysAgree(const CommAddrRec& a, const CommAddrRec& b, std::span<const int> keys,
                          CommTextLimits limits = {}) noexcept;
    static bool KeysHash(const CommAddrRec& record, std::span<const int> keys, std::uint64_t& hash,
                         CommTextLimits limits = {}) noexcept;
};
