#include "misc/CommDateMgr.h"

#include "misc/CommKeyCompare.h"

namespace {

constexpr int g_matchKeys[] = {DateKey::Subject, DateKey::Start, DateKey::End, DateKey::AllDay};
constexpr int g_compareKeys[] = {DateKey::Location};

// The text of a key's field as the limits keep it.
template <std::size_t N>
std::string_view TextOf(const char (&field)[N], int key, CommTextLimits limits) noexcept
{
    return CommKeyCompare::Limited(FieldText(field), limits, key);
}

bool KeyAgrees(const CommDateRec& a, const CommDateRec& b, int key, CommTextLimits limits) noexcept
{
    switch (key) {
    case DateKey::Subject:
        return CommKeyCompare::TextNoCase(TextOf(a.Subject, key, limits), TextOf(b.Subject, key, limits));
    case DateKey::Location:
        return CommKeyCompare::TextNoCase(TextOf(a.Location, key, limits), TextOf(b.Location, key, limits));
    case DateKey::Start:
        return CommKeyCompare::SameDay(a.Start, b.Start);
    case DateKey::End:
        return CommKeyCompare::SameDay(a.End, b.End);
    case DateKey::Notes:
        return CommKeyCompare::TextIgnoringBreaks(TextOf(a.Notes, key, limits), TextOf(b.Notes, key, limits));
    case DateKey::AllDay:
        return a.AllDay == b.AllDay;
    default:
        return true;
    }
}

void KeyHash(CommKeyHash& h, const CommDateRec& r, int key, CommTextLimits limits) noexcept
{
    switch (key) {
    case DateKey::Subject:
        CommKeyCompare::HashNoCase(h, TextOf(r.Subject, key, limits));
        break;
    case DateKey::Location:
        CommKeyCompare::HashNoCase(h, TextOf(r.Location, key, limits));
        break;
    case DateKey::Start:
        CommKeyCompare::HashDay(h, r.Start);
        break;
    case DateKey::End:
        CommKeyCompare::HashDay(h, r.End);
        break;
    case DateKey::Notes:
        CommKeyCompare::HashIgnoringBreaks(h, TextOf(r.Notes, key, limits));
        break;
    case DateKey::AllDay:
        h.AddWord(static_cast<std::uint32_t>(r.AllDay));
        break;
    default:
        break;
    }
}

} // namespace

CommDateMgr::CommDateMgr() noexcept : CommStore(g_matchKeys, g_compareKeys) {}

bool CommDateMgr::KeysAgree(const CommDateRec& a, const CommDateRec& b, std::span<const int> keys,
                            CommTextLimits limits) noexcept
{
    return CommKeyCompare::AllKeysAgree(keys, [&](int key) { return KeyAgrees(a, b, key, limits); });
}

bool CommDateMgr::KeysHash(const CommDateRec& record, std::span<const int> keys, std::uint64_t& hash,
                           CommTextLimits limits) noexcept
{
    return CommKeyCompare::HashKeys(keys, hash, [&](CommKeyHash& h, int key) {
        KeyHash(h, record, key, limits);
        return true;
    });
}

bool CommDateMgr::Update(const CommDateRec* record, int index) noexcept
{
    if (record == nullptr) {
        return false;
    }
    CommDateRec* to = RecordAt(index);
    if (to == nullptr) {
        return false;
    }
    const CommDateRec& from = *record;
    CopyTextIfSet(to->Subject, from.Subject);
    CopyTextIfSet(to->Location, from.Location);
    CopyTextIfSet(to->Notes, from.Notes);
    CopyTextIfSet(to->Categories, from.Categories);
    to->ReminderSet = from.ReminderSet;
    to->AllDay = from.AllDay;
    to->Private = from.Private;
    to->Recurrence = from.Recurrence;
    to->Start = from.Start;
    to->End = from.End;
    Reindex(index);
    return true;
}
