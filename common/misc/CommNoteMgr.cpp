#include "misc/CommNoteMgr.h"

#include <string_view>

#include "misc/CommKeyCompare.h"

namespace {

constexpr int g_matchKeys[] = {NoteKey::Title};
constexpr int g_compareKeys[] = {NoteKey::Body};

constexpr std::size_t g_titleLength = 255;
constexpr std::size_t g_bodyLength = 20479;

std::string_view TitleOf(const CommNoteRec& r, CommTextLimits limits) noexcept
{
    return CommKeyCompare::Limited(FieldText(r.Title).substr(0, g_titleLength), limits, NoteKey::Title);
}

std::string_view BodyOf(const CommNoteRec& r, CommTextLimits limits) noexcept
{
    return CommKeyCompare::Limited(FieldText(r.Body).substr(0, g_bodyLength), limits, NoteKey::Body);
}

bool KeyAgrees(const CommNoteRec& a, const CommNoteRec& b, int key, CommTextLimits limits) noexcept
{
    switch (key) {
    case NoteKey::Title:
        return CommKeyCompare::TextNoCase(TitleOf(a, limits), TitleOf(b, limits));
    case NoteKey::Body:
        return CommKeyCompare::TextNoCase(BodyOf(a, limits), BodyOf(b, limits));
    default:
        return true;
    }
}

void KeyHash(CommKeyHash& h, const CommNoteRec& r, int key, CommTextLimits limits) noexcept
{
    switch (key) {
    case NoteKey::Title:
        CommKeyCompare::HashNoCase(h, TitleOf(r, limits));
        break;
    case NoteKey::Body:
        CommKeyCompare::HashNoCase(h, BodyOf(r, limits));
        break;
    default:
        break;
    }
}

} // namespace

CommNoteMgr::CommNoteMgr() noexcept : CommStore(g_matchKeys, g_compareKeys) {}

bool CommNoteMgr::KeysAgree(const CommNoteRec& a, const CommNoteRec& b, std::span<const int> keys,
                            CommTextLimits limits) noexcept
{
    return CommKeyCompare::AllKeysAgree(keys, [&](int key) { return KeyAgrees(a, b, key, limits); });
}

bool CommNoteMgr::KeysHash(const CommNoteRec& record, std::span<const int> keys, std::uint64_t& hash,
                           CommTextLimits limits) noexcept
{
    return CommKeyCompare::HashKeys(keys, hash, [&](CommKeyHash& h, int key) {
        KeyHash(h, record, key, limits);
        return true;
    });
}

bool CommNoteMgr::Update(const CommNoteRec* record, int index) noexcept
{
    if (record == nullptr) {
        return false;
    }
    CommNoteRec* to = RecordAt(index);
    if (to == nullptr) {
        return false;
    }
    to->Color = record->Color;
    to->Private = record->Private;
    CopyTextIfSet(to->Title, record->Title);
    CopyTextIfSet(to->Body, record->Body);
    to->Status = MatchSame;
    Reindex(index);
    return true;
}
