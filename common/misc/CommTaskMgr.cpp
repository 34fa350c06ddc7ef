#include "misc/CommTaskMgr.h"

#include "misc/CommKeyCompare.h"

namespace {

constexpr int g_matchKeys[] = {TaskKey::Subject};
// Subject twice, as it has always been; the repeat changes nothing.
constexpr int g_compareKeys[] = {TaskKey::Priority, TaskKey::DueDate, TaskKey::Subject, TaskKey::Subject};

// The text of a key's field as the limits keep it.
template <std::size_t N>
std::string_view TextOf(const char (&field)[N], int key, CommTextLimits limits) noexcept
{
    return CommKeyCompare::Limited(FieldText(field), limits, key);
}

bool KeyAgrees(const CommTaskRec& a, const CommTaskRec& b, int key, CommTextLimits limits) noexcept
{
    switch (key) {
    case TaskKey::Subject:
        return CommKeyCompare::TextNoCase(TextOf(a.Subject, key, limits), TextOf(b.Subject, key, limits));
    case TaskKey::Notes:
        return CommKeyCompare::TextNoCase(TextOf(a.Notes, key, limits), TextOf(b.Notes, key, limits));
    case TaskKey::Priority:
        return a.Priority == b.Priority;
    case TaskKey::Completed:
        return a.Completed == b.Completed;
    case TaskKey::AlarmSet:
        return a.AlarmSet == b.AlarmSet;
    case TaskKey::Private:
        return a.Private == b.Private;
    default:
        return true;
    }
}

void KeyHash(CommKeyHash& h, const CommTaskRec& r, int key, CommTextLimits limits) noexcept
{
    switch (key) {
    case TaskKey::Subject:
        CommKeyCompare::HashNoCase(h, TextOf(r.Subject, key, limits));
        break;
    case TaskKey::Notes:
        CommKeyCompare::HashNoCase(h, TextOf(r.Notes, key, limits));
        break;
    case TaskKey::Priority:
        h.AddWord(static_cast<std::uint32_t>(r.Priority));
        break;
    case TaskKey::Completed:
        h.AddByte(r.Completed);
        break;
    case TaskKey::AlarmSet:
        h.AddByte(r.AlarmSet);
        break;
    case TaskKey::Private:
        h.AddByte(r.Private);
        break;
    default:
        break;
    }
}

} // namespace

CommTaskMgr::CommTaskMgr() noexcept : CommStore(g_matchKeys, g_compareKeys) {}

bool CommTaskMgr::KeysAgree(const CommTaskRec& a, const CommTaskRec& b, std::span<const int> keys,
                            CommTextLimits limits) noexcept
{
    return CommKeyCompare::AllKeysAgree(keys, [&](int key) { return KeyAgrees(a, b, key, limits); });
}

bool CommTaskMgr::KeysHash(const CommTaskRec& record, std::span<const int> keys, std::uint64_t& hash,
                           CommTextLimits limits) noexcept
{
    return CommKeyCompare::HashKeys(keys, hash, [&](CommKeyHash& h, int key) {
        KeyHash(h, record, key, limits);
        return true;
    });
}

bool CommTaskMgr::Update(const CommTaskRec* record, int index) noexcept
{
    if (record == nullptr) {
        return false;
    }
    CommTaskRec* to = RecordAt(index);
    if (to == nullptr) {
        return false;
    }
    const CommTaskRec& from = *record;
    CopyTextIfSet(to->Subject, from.Subject);
    CopyTextIfSet(to->Notes, from.Notes);
    to->DueDate = from.DueDate;
    to->AlarmSet = from.AlarmSet;
    to->Private = from.Private;
    to->Completed = from.Completed;
    to->Priority = from.Priority;
    Reindex(index);
    return true;
}
