// Search and compare all on small stores: which target record decides, and how.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "misc/CommAddrMgr.h"
#include "misc/CommDateMgr.h"
#include "misc/CommNoteMgr.h"
#include "misc/CommTaskMgr.h"

namespace {

// Target records and the searched record are each the store's base record with a change.
template <class Rec> struct SearchCase
{
    using Change = std::function<void(Rec&)>;
    const char* name;
    std::vector<Change> targets;
    Change source;
    int result;
    int index;

    friend void PrintTo(const SearchCase& c, std::ostream* os) { *os << c.name; }
};

template <class Rec> void Same(Rec&) {}

template <class Mgr, class Rec = typename Mgr::Record>
void RunCase(const SearchCase<Rec>& c, void (*base)(Rec&))
{
    Mgr target;
    for (const auto& change : c.targets) {
        Rec r{};
        base(r);
        change(r);
        target.Add(&r);
    }
    Rec searched{};
    base(searched);
    c.source(searched);

    Rec* found = nullptr;
    int index = -1;
    EXPECT_EQ(target.Search(&searched, &found, &index), c.result);
    EXPECT_EQ(index, c.index);
    Rec* expected = nullptr;
    for (Rec* r = target.First(); r != nullptr && c.result != SearchNotFound; r = target.Next()) {
        if (--index < 0) {
            expected = r;
            break;
        }
    }
    EXPECT_EQ(found, expected);

    Mgr source;
    source.Add(&searched);
    ASSERT_TRUE(source.CompareAll(&target));
    const int status = c.result == SearchNotFound  ? MatchNew
                       : c.result == SearchChanged ? MatchDiff
                                                   : MatchSame;
    EXPECT_EQ(source.First()->Status, status);
}

template <class Case> std::string CaseName(const ::testing::TestParamInfo<Case>& info)
{
    return info.param.name;
}

// Contacts.
using A = CommAddrRec;

void AddrBase(A& r)
{
    CopyText(r.FirstName, "Anna");
    CopyText(r.LastName, "Berg");
    CopyText(r.Email, "anna.berg@example.org");
    CopyText(r.HomePhone, "+49 30 1234");
    CopyText(r.Company, "Acme");
    CopyText(r.WorkAddress.City, "Berlin");
    CopyText(r.Note, "first line\r\nsecond line");
}

const SearchCase<A> g_addrCases[] = {
    {"EmptyTargetMakesNew", {}, Same<A>, SearchNotFound, 0},
    {"UnchangedCopyIsSame", {Same<A>}, Same<A>, SearchSame, 0},
    {"LetterCaseDoesNotMatter",
     {Same<A>},
     [](A& r) {
         CopyText(r.FirstName, "ANNA");
         CopyText(r.Company, "acme");
     },
     SearchSame,
     0},
    {"SameIsFoundAfterAChangedMatch",
     {[](A& r) { CopyText(r.HomePhone, "999"); }, Same<A>},
     Same<A>,
     SearchSame,
     1},
    {"FirstOfTwoSameRecordsDecides", {Same<A>, Same<A>}, Same<A>, SearchSame, 0},
    {"LaterOfTwoChangedMatchesIsReported",
     {[](A& r) { CopyText(r.HomePhone, "999"); }, [](A& r) { CopyText(r.WorkPhone, "888"); }},
     Same<A>,
     SearchChanged,
     1},
    {"OnlyTheFirstRecordMatchesAndDiffers",
     {[](A& r) { CopyText(r.HomePhone, "999"); }, [](A& r) { CopyText(r.FirstName, "Bob"); }},
     Same<A>,
     SearchChanged,
     0},
    {"NoMatchIsNewAtTheCount",
     {[](A& r) { CopyText(r.FirstName, "Bob"); }, [](A& r) { CopyText(r.Email, "x@example.org"); }},
     Same<A>,
     SearchNotFound,
     2},
    {"EmailDecidesTheItem",
     {Same<A>},
     [](A& r) { CopyText(r.Email, "other@example.org"); },
     SearchNotFound,
     1},
    {"NoteDiffersOnlyInInnerLineBreaks",
     {Same<A>},
     [](A& r) { CopyText(r.Note, "first line\n\nsecond line"); },
     SearchSame,
     0},
    {"NoteWithAnExtraLineBreakAtTheEnd",
     {Same<A>},
     [](A& r) { CopyText(r.Note, "first line\r\nsecond line\r\n"); },
     SearchChanged,
     0},
    // Both notes end in line breaks; the bytes after the terminators differ and must not be read.
    {"NotesEndingInLineBreaksStopAtTheTerminator",
     {[](A& r) { std::memcpy(r.Note, "x\r\n\0AAAA", 8); }},
     [](A& r) { std::memcpy(r.Note, "X\n\0BBBBB", 8); },
     SearchSame,
     0},
    // Email fills its field; Email2 follows it in the record and is no key.
    {"FullEmailFieldIsNotReadPast",
     {[](A& r) {
         std::memset(r.Email, 'e', sizeof r.Email);
         CopyText(r.Email2, "a");
     }},
     [](A& r) {
         std::memset(r.Email, 'E', sizeof r.Email);
         CopyText(r.Email2, "b");
     },
     SearchSame,
     0},
    {"OtherStreetIsCompared",
     {Same<A>},
     [](A& r) { CopyText(r.OtherAddress.Street, "Elm 1"); },
     SearchChanged,
     0},
    {"FieldsWithoutKeysDoNotMatter",
     {Same<A>},
     [](A& r) {
         CopyText(r.MiddleName, "Maria");
         CopyText(r.OtherAddress.POBox, "12");
         r.Birthday = 30000.0;
     },
     SearchSame,
     0},
    {"EmptyMatchKeysMatchEachOther",
     {[](A& r) {
         r.FirstName[0] = r.LastName[0] = r.Email[0] = '\0';
         CopyText(r.HomePhone, "1");
     }},
     [](A& r) { r.FirstName[0] = r.LastName[0] = r.Email[0] = '\0'; },
     SearchChanged,
     0},
};

class CommAddrSearchTest : public ::testing::TestWithParam<SearchCase<A>>
{
};

TEST_P(CommAddrSearchTest, Decides)
{
    RunCase<CommAddrMgr>(GetParam(), AddrBase);
}

INSTANTIATE_TEST_SUITE_P(Contacts, CommAddrSearchTest, ::testing::ValuesIn(g_addrCases),
                         CaseName<SearchCase<A>>);

// Calendar events.
using D = CommDateRec;

void DateBase(D& r)
{
    CopyText(r.Subject, "Dentist");
    r.Start = {2024, 5, 5, 3, 9, 0, 0, 0};
    r.End = {2024, 5, 5, 3, 10, 0, 0, 0};
    CopyText(r.Location, "Main St 4");
    CopyText(r.Notes, "bring card");
}

const SearchCase<D> g_dateCases[] = {
    {"SameDayOtherTimesMatch",
     {Same<D>},
     [](D& r) {
         r.Start.wHour = 15;
         r.End.wHour = 16;
         r.End.wMinute = 45;
     },
     SearchSame,
     0},
    {"OtherStartDayIsNew", {Same<D>}, [](D& r) { r.Start.wDay = 4; }, SearchNotFound, 1},
    {"OtherEndMonthIsNew", {Same<D>}, [](D& r) { r.End.wMonth = 6; }, SearchNotFound, 1},
    {"AllDayDecidesTheItem", {Same<D>}, [](D& r) { r.AllDay = 1; }, SearchNotFound, 1},
    {"SubjectIgnoresCase", {Same<D>}, [](D& r) { CopyText(r.Subject, "DENTIST"); }, SearchSame, 0},
    {"SubjectCountsLineBreaks",
     {Same<D>},
     [](D& r) { CopyText(r.Subject, "Dentist\r\n"); },
     SearchNotFound,
     1},
    {"LocationChanged", {Same<D>}, [](D& r) { CopyText(r.Location, "Main St 6"); }, SearchChanged, 0},
    {"LocationIgnoresCase", {Same<D>}, [](D& r) { CopyText(r.Location, "MAIN ST 4"); }, SearchSame, 0},
    {"NotesAreNoKey", {Same<D>}, [](D& r) { CopyText(r.Notes, "nothing"); }, SearchSame, 0},
    {"LaterOfTwoChangedMatchesIsReported",
     {[](D& r) { CopyText(r.Location, "a"); }, [](D& r) { CopyText(r.Location, "b"); }},
     Same<D>,
     SearchChanged,
     1},
};

class CommDateSearchTest : public ::testing::TestWithParam<SearchCase<D>>
{
};

TEST_P(CommDateSearchTest, Decides)
{
    RunCase<CommDateMgr>(GetParam(), DateBase);
}

INSTANTIATE_TEST_SUITE_P(Calendar, CommDateSearchTest, ::testing::ValuesIn(g_dateCases),
                         CaseName<SearchCase<D>>);

// Tasks.
using T = CommTaskRec;

void TaskBase(T& r)
{
    CopyText(r.Subject, "File taxes");
    r.Priority = 1;
    r.DueDate = 1714723200;
}

const SearchCase<T> g_taskCases[] = {
    {"OtherDueDateIsSame", {Same<T>}, [](T& r) { r.DueDate = 1717401600; }, SearchSame, 0},
    {"OtherPriorityIsChanged", {Same<T>}, [](T& r) { r.Priority = 2; }, SearchChanged, 0},
    {"SubjectIgnoresCase", {Same<T>}, [](T& r) { CopyText(r.Subject, "FILE TAXES"); }, SearchSame, 0},
    {"OtherSubjectIsNew", {Same<T>}, [](T& r) { CopyText(r.Subject, "File taxes!"); }, SearchNotFound, 1},
    {"FlagsAndNotesAreNoKeys",
     {Same<T>},
     [](T& r) {
         r.Completed = 1;
         r.Private = 1;
         CopyText(r.Notes, "receipts");
     },
     SearchSame,
     0},
    {"SameIsFoundAfterAChangedMatch", {[](T& r) { r.Priority = 0; }, Same<T>}, Same<T>, SearchSame, 1},
};

class CommTaskSearchTest : public ::testing::TestWithParam<SearchCase<T>>
{
};

TEST_P(CommTaskSearchTest, Decides)
{
    RunCase<CommTaskMgr>(GetParam(), TaskBase);
}

INSTANTIATE_TEST_SUITE_P(Tasks, CommTaskSearchTest, ::testing::ValuesIn(g_taskCases),
                         CaseName<SearchCase<T>>);

// Notes.
using N = CommNoteRec;

void NoteBase(N& r)
{
    CopyText(r.Title, "Shopping");
    CopyText(r.Body, "milk\r\neggs");
}

const SearchCase<N> g_noteCases[] = {
    {"BodyIgnoresCase", {Same<N>}, [](N& r) { CopyText(r.Body, "MILK\r\nEGGS"); }, SearchSame, 0},
    {"BodyCountsLineBreaks", {Same<N>}, [](N& r) { CopyText(r.Body, "milk\neggs"); }, SearchChanged, 0},
    {"EmptyBodyIsChanged", {Same<N>}, [](N& r) { r.Body[0] = '\0'; }, SearchChanged, 0},
    {"TitleIgnoresCase", {Same<N>}, [](N& r) { CopyText(r.Title, "shopping"); }, SearchSame, 0},
    {"OtherTitleIsNew", {Same<N>}, [](N& r) { CopyText(r.Title, "Shopping list"); }, SearchNotFound, 1},
    {"TitlesAgreeingInTheirFirst255Characters",
     {[](N& r) { std::memset(r.Title, 'q', sizeof r.Title); }},
     [](N& r) {
         std::memset(r.Title, 'q', sizeof r.Title);
         r.Title[255] = '\0';
     },
     SearchSame,
     0},
};

class CommNoteSearchTest : public ::testing::TestWithParam<SearchCase<N>>
{
};

TEST_P(CommNoteSearchTest, Decides)
{
    RunCase<CommNoteMgr>(GetParam(), NoteBase);
}

INSTANTIATE_TEST_SUITE_P(Notes, CommNoteSearchTest, ::testing::ValuesIn(g_noteCases),
                         CaseName<SearchCase<N>>);

} // namespace
