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

template <std::size_t N> void CopyIfSet(char (&field)[N], const char (&text)[N]) noexcept
{
    if (text[0] != '\0') {
        CopyText(field, text);
    }
}

} // namespace

CommNoteMgr::CommNoteMgr() noexcept : CommStore(g_matchKeys, g_compareKeys) {}

bool CommNoteMgr::KeysAgree(const CommNoteRec& a, const CommNoteRec& b, std::span<const int> keys) noexcept
{
    if (keys.empty()) {
        return false;
    }
    for (int key : keys) {
        if (!KeyAgrees(a, b, key)) {
            return false;
        }
    }
    return true;
}

bool CommNoteMgr::KeysHash(const CommNoteRec& record, std::span<const int> keys, std::uint64_t& hash) noexcept
{
    if (keys.empty()) {
        return false;
    }
    CommKeyHash h;
    for (int key : keys) {
        KeyHash(h, record, key);
    }
    hash = h.Value();
    return true;
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
    CopyIfSet(to->Title, record->Title);
    CopyIfSet(to->Body, record->Body);
    to->Status = MatchSame;
    Reindex(index);
    return true;
}
