#pragma once
// The record stores' search and compare all as a plain walk: every source record walks the
// target store from its first record. This is the reference the indexed stores are checked
// against (tests) and measured against (bench_compare). It reads every text within its field
// and stops where two texts both end in a line break, but is otherwise the step-by-step
// algorithm, slow on purpose.
#include <cstddef>
#include <span>

#include "misc/CommAddrMgr.h"
#include "misc/CommDateMgr.h"
#include "misc/CommNoteMgr.h"
#include "misc/CommTaskMgr.h"
#include "platform/CodePage.h"

namespace commliteral {

inline constexpr int AddrMatch[] = {1, 3, 41};
inline constexpr int AddrCompare[] = {28, 29, 30, 41, 38, 39, 69, 71, 13, 11, 12, 10,
                                      9,  20, 18, 19, 17, 16, 27, 25, 26, 24, 23, 48};
inline constexpr int DateMatch[] = {1, 2, 3, 13};
inline constexpr int DateCompare[] = {9};
inline constexpr int TaskMatch[] = {0};
inline constexpr int TaskCompare[] = {2, 4, 0, 0};
inline constexpr int NoteMatch[] = {2};
inline constexpr int NoteCompare[] = {3};

// A character of a field; the end of the field reads as a terminator.
struct Field
{
    const char* text;
    std::size_t capacity;
    unsigned char At(std::size_t i) const { return i < capacity ? static_cast<unsigned char>(text[i]) : 0; }
};

template <std::size_t N> Field F(const char (&field)[N])
{
    return {field, N};
}

inline unsigned char Upper(unsigned char c)
{
    return platform::AnsiToUpper(c);
}

// The text comparison ignoring line breaks, step by step.
inline bool LineTextEqual(Field a, Field b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    for (;;) {
        // 1. the first text ended: go to 5; the second ended: they differ
        if (a.At(i) == 0) {
            break;
        }
        if (b.At(j) == 0) {
            return false;
        }
        // 2. step over the character; a run of CR and LF gives the character after it
        unsigned char ca = a.At(i++);
        while (ca == 13 || ca == 10) {
            ca = a.At(i++);
        }
        unsigned char cb = b.At(j++);
        while (cb == 13 || cb == 10) {
            cb = b.At(j++);
        }
        // 3., 4.
        if (Upper(ca) != Upper(cb)) {
            return false;
        }
        if (ca == 0) {
            return true; // both ended in a line break: equal, and not a step further
        }
    }
    // 5.
    return b.At(j) == 0;
}

// Case-insensitive comparison of at most limit characters, like strnicmp.
inline bool NoCaseEqual(Field a, Field b, std::size_t limit = static_cast<std::size_t>(-1))
{
    for (std::size_t i = 0; i < limit; ++i) {
        const unsigned char ca = a.At(i);
        const unsigned char cb = b.At(i);
        if (Upper(ca) != Upper(cb)) {
            return false;
        }
        if (ca == 0) {
            return true;
        }
    }
    return true;
}

inline bool SameDate(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

inline bool AddrField(const CommAddrRec& r, int key, Field& out)
{
    const AddressBlock* block = nullptr;
    int part = 0;
    if (key >= 9 && key <= 13) {
        block = &r.WorkAddress, part = key - 9;
    } else if (key >= 16 && key <= 20) {
        block = &r.HomeAddress, part = key - 16;
    } else if (key >= 23 && key <= 27) {
        block = &r.OtherAddress, part = key - 23;
    }
    if (block != nullptr) {
        const Field parts[] = {F(block->Street), F(block->City), F(block->State), F(block->Postal),
                               F(block->Country)};
        out = parts[part];
        return true;
    }
    if (key >= 49 && key <= 57) {
        out = F(r.CustomValues[key - 49]);
        return true;
    }
    if (key >= 59 && key <= 67) {
        out = F(r.CustomLabels[key - 59]);
        return true;
    }
    switch (key) {
    case 1:
        out = F(r.FirstName);
        return true;
    case 2:
        out = F(r.MiddleName);
        return true;
    case 3:
        out = F(r.LastName);
        return true;
    case 4:
        out = F(r.Prefix);
        return true;
    case 5:
        out = F(r.Suffix);
        return true;
    case 6:
        out = F(r.NickName);
        return true;
    case 7:
        out = F(r.DisplayName);
        return true;
    case 28:
        out = F(r.HomePhone);
        return true;
    case 29:
        out = F(r.WorkPhone);
        return true;
    case 30:
        out = F(r.MobilePhone);
        return true;
    case 31:
        out = F(r.OtherPhone);
        return true;
    case 32:
        out = F(r.PrimaryPhone);
        return true;
    case 33:
        out = F(r.CallbackPhone);
        return true;
    case 34:
        out = F(r.CarPhone);
        return true;
    case 35:
        out = F(r.RadioPhone);
        return true;
    case 36:
        out = F(r.WorkPhone2);
        return true;
    case 37:
        out = F(r.HomePhone2);
        return true;
    case 38:
        out = F(r.WorkFax);
        return true;
    case 39:
        out = F(r.HomeFax);
        return true;
    case 40:
        out = F(r.Pager);
        return true;
    case 41:
        out = F(r.Email);
        return true;
    case 42:
        out = F(r.Email2);
        return true;
    case 43:
        out = F(r.Email3);
        return true;
    case 44:
        out = F(r.PersonalHomePage);
        return true;
    case 45:
        out = F(r.WorkHomePage);
        return true;
    case 47:
        out = F(r.FtpSite);
        return true;
    case 48:
        out = F(r.Note);
        return true;
    case 69:
        out = F(r.Company);
        return true;
    case 70:
        out = F(r.Department);
        return true;
    case 71:
        out = F(r.Title);
        return true;
    case 72:
        out = F(r.IM1);
        return true;
    case 73:
        out = F(r.IM2);
        return true;
    case 74:
        out = F(r.ManagerName);
        return true;
    case 75:
        out = F(r.AssistantName);
        return true;
    case 76:
        out = F(r.AssistantPhone);
        return true;
    case 77:
        out = F(r.SpouseName);
        return true;
    case 82:
        out = F(r.Account);
        return true;
    case 85:
        out = F(r.Keyword);
        return true;
    case 86:
        out = F(r.Language);
        return true;
    case 87:
        out = F(r.Location);
        return true;
    default:
        return false;
    }
}

inline bool KeyAgrees(const CommAddrRec& a, const CommAddrRec& b, int key)
{
    if (key == 83) {
        return a.Anniversary == b.Anniversary;
    }
    if (key == 84) {
        return a.Birthday == b.Birthday;
    }
    Field fa{};
    Field fb{};
    if (!AddrField(a, key, fa) || !AddrField(b, key, fb)) {
        return true;
    }
    return LineTextEqual(fa, fb);
}

inline bool KeyAgrees(const CommDateRec& a, const CommDateRec& b, int key)
{
    switch (key) {
    case 1:
        return NoCaseEqual(F(a.Subject), F(b.Subject));
    case 9:
        return NoCaseEqual(F(a.Location), F(b.Location));
    case 2:
        return SameDate(a.Start, b.Start);
    case 3:
        return SameDate(a.End, b.End);
    case 7:
        return LineTextEqual(F(a.Notes), F(b.Notes));
    case 13:
        return a.AllDay == b.AllDay;
    default:
        return true;
    }
}

inline bool KeyAgrees(const CommTaskRec& a, const CommTaskRec& b, int key)
{
    switch (key) {
    case 0:
        return NoCaseEqual(F(a.Subject), F(b.Subject));
    case 1:
        return NoCaseEqual(F(a.Notes), F(b.Notes));
    case 2:
        return a.Priority == b.Priority;
    case 3:
        return a.Completed == b.Completed;
    case 5:
        return a.AlarmSet == b.AlarmSet;
    case 6:
        return a.Private == b.Private;
    default:
        return true;
    }
}

inline bool KeyAgrees(const CommNoteRec& a, const CommNoteRec& b, int key)
{
    switch (key) {
    case 2:
        return NoCaseEqual(F(a.Title), F(b.Title), 255);
    case 3:
        return NoCaseEqual(F(a.Body), F(b.Body), 20479);
    default:
        return true;
    }
}

template <class Rec> bool Agree(std::span<const int> keys, const Rec* a, const Rec* b)
{
    if (keys.empty() || a == nullptr || b == nullptr) {
        return false;
    }
    for (int key : keys) {
        if (!KeyAgrees(*a, *b, key)) {
            return false;
        }
    }
    return true;
}

inline std::span<const int> MatchKeys(const CommAddrMgr&)
{
    return AddrMatch;
}
inline std::span<const int> CompareKeys(const CommAddrMgr&)
{
    return AddrCompare;
}
inline std::span<const int> MatchKeys(const CommDateMgr&)
{
    return DateMatch;
}
inline std::span<const int> CompareKeys(const CommDateMgr&)
{
    return DateCompare;
}
inline std::span<const int> MatchKeys(const CommTaskMgr&)
{
    return TaskMatch;
}
inline std::span<const int> CompareKeys(const CommTaskMgr&)
{
    return TaskCompare;
}
inline std::span<const int> MatchKeys(const CommNoteMgr&)
{
    return NoteMatch;
}
inline std::span<const int> CompareKeys(const CommNoteMgr&)
{
    return NoteCompare;
}

// The search: walks the store with its own cursor.
template <class Store, class Rec = typename Store::Record>
int Search(Store& store, const Rec* record, Rec** found, int* index)
{
    if (record == nullptr) {
        return -1;
    }
    int i = 0;
    int remembered = -1;
    int result = 2;
    Rec* reported = nullptr;
    for (Rec* r = store.First(); r != nullptr; r = store.Next(), ++i) {
        if (r == record) {
            *found = r;
            *index = i;
            return 1;
        }
        if (Agree(MatchKeys(store), r, record)) {
            if (Agree(CompareKeys(store), r, record)) {
                *found = r;
                *index = i;
                return 1;
            }
            result = 3;
            reported = r;
            remembered = i;
        }
    }
    *found = reported;
    *index = remembered >= 0 ? remembered : store.GetCount();
    return result;
}

// Compare all. Source and target must be different stores: both walks move a cursor.
template <class Store> bool CompareAll(Store& source, Store* target)
{
    if (target == nullptr) {
        return false;
    }
    for (auto* r = source.First(); r != nullptr; r = source.Next()) {
        typename Store::Record* found = nullptr;
        int index = 0;
        const int result = Search(*target, r, &found, &index);
        r->Status = result == 2 ? 1 : result == 3 ? 2 : 0;
    }
    return true;
}

} // namespace commliteral
