#include "misc/CommTaskMgr.h"

#include "misc/CommKeyCompare.h"

namespace {

constexpr int g_matchKeys[] = {TaskKey::Subject};
// Subject twice, as it has always been; the repeat changes nothing.
constexpr int g_compareKeys[] = {TaskKey::Priority, TaskKey::DueDate, TaskKey::Subject, TaskKey::Subject};

bool KeyAgrees(const CommTaskRec& a, const CommTaskRec& b, int key) noexcept
{
    switch (key) {
    case TaskKey::Subject:
        return CommKeyCompare::TextNoCase(FieldText(a.Subject), FieldText(b.Subject));
    case TaskKey::Notes:
        return CommKeyCompare::TextNoCase(FieldText(a.Notes), FieldText(b.Notes));
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

void KeyHash(CommKeyHash& h, const CommTaskRec& r, int key) noexcept
{
    switch (key) {
    case TaskKey::Subject:
        CommKeyCompare::HashNoCase(h, FieldText(r.Subject));
        break;
    case TaskKey::Notes:
        CommKeyCompare::HashNoCase(h, FieldText(r.Notes));
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

bool CommTaskMgr::KeysAgree(const CommTaskRec& a, const CommTaskRec& b, std::span<const int> keys) noexcept
{
    return CommKeyCompare::AllKeysAgree(keys, [&](int key) { return KeyAgrees(a, b, key); });
}

bool CommTaskMgr::KeysHash(const CommTaskRec& record, std::span<const int> keys, std::uint64_t& hash) noexcept
{
    return CommKeyCompare::HashKeys(keys, hash, [&](CommKeyHash& h, int key) {
        KeyHash(h, record, key);
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
