#include "misc/CommNoteMgr.h"

#include <string_view>

#include "misc/CommKeyCompare.h"

namespace {

constexpr int g_matchKeys[] = {NoteKey::Title};
constexpr int g_compareKeys[] = {NoteKey::Body};

constexpr std::size_t g_titleLength = 255;
constexpr std::size_t g_bodyLength = 20479;

std::string_view TitleOf(const CommNoteRec& r) noexcept
{
    return FieldText(r.Title).substr(0, g_titleLength);
}

std::string_view BodyOf(const CommNoteRec& r) noexcept
{
    return FieldText(r.Body).substr(0, g_bodyLength);
}

bool KeyAgrees(const CommNoteRec& a, const CommNoteRec& b, int key) noexcept
{
    switch (key) {
    case NoteKey::Title:
        return CommKeyCompare::TextNoCase(TitleOf(a), TitleOf(b));
    case NoteKey::Body:
        return CommKeyCompare::TextNoCase(BodyOf(a), BodyOf(b));
    default:
        return true;
    }
}

void KeyHash(CommKeyHash& h, const CommNoteRec& r, int key) noexcept
{
    switch (key) {
    case NoteKey::Title:
        CommKeyCompare::HashNoCase(h, TitleOf(r));
        break;
    case NoteKey::Body:
        CommKeyCompare::HashNoCase(h, BodyOf(r));
        break;
    default:
        break;
    }
}

} // namespace

CommNoteMgr::CommNoteMgr() noexcept : CommStore(g_matchKeys, g_compareKeys) {}

bool CommNoteMgr::KeysAgree(const CommNoteRec& a, const CommNoteRec& b, std::span<const int> keys) noexcept
{
    return CommKeyCompare::AllKeysAgree(keys, [&](int key) { return KeyAgrees(a, b, key); });
}

bool CommNoteMgr::KeysHash(const CommNoteRec& record, std::span<const int> keys, std::uint64_t& hash) noexcept
{
    return CommKeyCompare::HashKeys(keys, hash, [&](CommKeyHash& h, int key) {
        KeyHash(h, record, key);
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
