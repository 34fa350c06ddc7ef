// A store whose connector keeps only the start of some texts compares only that start: a
// source text longer than the target can hold is the same as its cut copy in the target.
#include <gtest/gtest.h>

#include <string>

#include "misc/CommAddrMgr.h"
#include "misc/CommDateMgr.h"
#include "misc/CommNoteMgr.h"
#include "misc/CommTaskMgr.h"

namespace {

std::string Text(std::size_t length, const char* unit = "abcdefghij\r\n")
{
    std::string text;
    while (text.size() < length) {
        text += unit;
    }
    text.resize(length);
    return text;
}

struct LimitCase
{
    const char* name;
    std::string target;      // the text as the target store holds it
    std::string source;      // the text of the source record
    bool limited;            // whether the target store has the limit
    bool limitsBeforeAdding; // the limit is set before the target's records are added
    int expected;            // MatchStatus of the source record
};

// Each store with one limited text key: fill sets that text, limits is its one-entry table.
template <class Mgr, class Fill>
void RunCases(const std::vector<LimitCase>& cases, CommTextLimits limits, Fill fill)
{
    using Rec = typename Mgr::Record;
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.name);
        Mgr target;
        if (c.limited && c.limitsBeforeAdding) {
            target.SetTextLimits(limits);
        }
        Rec stored{};
        fill(stored, c.target);
        ASSERT_NE(target.Add(&stored), nullptr);
        if (c.limited && !c.limitsBeforeAdding) {
            target.SetTextLimits(limits);
        }
        Mgr source;
        Rec record{};
        fill(record, c.source);
        ASSERT_NE(source.Add(&record), nullptr);

        // Both ways in: the comparison of a whole source store, and the search of one record
        // (as a submit does).
        ASSERT_TRUE(source.CompareAll(&target));
        EXPECT_EQ(source.First()->Status, c.expected);
        const int result = target.Search(&record);
        EXPECT_EQ(result, c.expected == MatchSame  ? SearchSame
                          : c.expected == MatchNew ? SearchNotFound
                                                   : SearchChanged);
    }
}

} // namespace

TEST(CommTextLimit, NoteBodyComparesAsFarAsTheTargetKeepsIt)
{
    static constexpr CommTextLimit kLimits[] = {{NoteKey::Body, "Body", 8191}};
    const std::string full = Text(9000);
    const std::string cut = full.substr(0, 8191);
    std::string changed = full;
    changed[100] = '#';
    std::string cutChanged = cut;
    cutChanged[8190] = '#';
    const std::vector<LimitCase> cases = {
        {"longer source, limited", cut, full, true, true, MatchSame},
        {"limit set after the records", cut, full, true, false, MatchSame},
        {"longer source, no limit", cut, full, false, true, MatchDiff},
        {"differs inside the kept start", cut, changed, true, true, MatchDiff},
        {"differs in the last kept character", cutChanged, full, true, true, MatchDiff},
        {"letter case, as ever", cut, std::string(Text(9000, "ABCDEFGHIJ\r\n")), true, true, MatchSame},
        {"short texts untouched", "short", "short", true, true, MatchSame},
        {"a shorter source still differs", cut, cut.substr(0, 8000), true, true, MatchDiff},
    };
    RunCases<CommNoteMgr>(cases, kLimits, [](CommNoteRec& r, const std::string& body) {
        CopyText(r.Title, "Memo");
        CopyText(r.Body, body);
    });
}

TEST(CommTextLimit, ContactNoteComparesAsFarAsTheTargetKeepsIt)
{
    static constexpr CommTextLimit kLimits[] = {{AddrKey::Note, "Note", 4095}};
    const std::string full = Text(6000);
    const std::vector<LimitCase> cases = {
        {"longer source, limited", full.substr(0, 4095), full, true, true, MatchSame},
        {"longer source, no limit", full.substr(0, 4095), full, false, true, MatchDiff},
        {"differs inside the kept start", full.substr(0, 4095), "x" + full, true, true, MatchDiff},
    };
    RunCases<CommAddrMgr>(cases, kLimits, [](CommAddrRec& r, const std::string& note) {
        CopyText(r.FirstName, "Ada");
        CopyText(r.LastName, "Lovelace");
        CopyText(r.Note, note);
    });
}

// A limited match key decides the item by its kept start too; other keys stay whole.
TEST(CommTextLimit, LimitedMatchKeysDecideTheItem)
{
    static constexpr CommTextLimit kTaskLimits[] = {{TaskKey::Subject, "Subject", 6}};
    RunCases<CommTaskMgr>(
        {
            {"subject beyond the limit", "Report", "Report on sales", true, true, MatchSame},
            {"no limit: another item", "Report", "Report on sales", false, true, MatchNew},
        },
        kTaskLimits, [](CommTaskRec& r, const std::string& subject) { CopyText(r.Subject, subject); });

    static constexpr CommTextLimit kDateLimits[] = {{DateKey::Location, "Location", 4}};
    RunCases<CommDateMgr>(
        {
            {"location beyond the limit", "Room", "Room 101", true, true, MatchSame},
            {"no limit: changed", "Room", "Room 101", false, true, MatchDiff},
        },
        kDateLimits, [](CommDateRec& r, const std::string& location) {
            CopyText(r.Subject, "Meeting");
            r.Start = {2024, 3, 1, 4, 9, 0, 0, 0};
            r.End = r.Start;
            CopyText(r.Location, location);
        });
}
