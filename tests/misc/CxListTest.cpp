#include "misc/CxList.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

// Cases print as their names, so that test listings stay readable.
template <class Case> auto operator<<(std::ostream& os, const Case& c) -> decltype(c.name, os)
{
    return os << c.name;
}

// One call on the list and what it must give: the index of the element (into the
// fixture's values), or -1 for null.
struct Step
{
    enum Op
    {
        First,
        Next,
        GetAt
    } op;
    unsigned index; // for GetAt
    int expect;
};

struct WalkCase
{
    const char* name;
    int appended; // elements 0..appended-1 are appended first
    std::vector<Step> steps;
};

class CxListWalk : public testing::TestWithParam<WalkCase>
{
protected:
    int m_values[8] = {10, 11, 12, 13, 14, 15, 16, 17};
};

TEST_P(CxListWalk, GivesTheExpectedElements)
{
    CxList list;
    for (int i = 0; i < GetParam().appended; ++i) {
        ASSERT_TRUE(list.Append(&m_values[i]));
    }
    int stepNumber = 0;
    for (const Step& step : GetParam().steps) {
        void* got = nullptr;
        switch (step.op) {
        case Step::First:
            got = list.First();
            break;
        case Step::Next:
            got = list.Next();
            break;
        case Step::GetAt:
            got = list.GetAt(step.index);
            break;
        }
        void* expected = step.expect < 0 ? nullptr : &m_values[step.expect];
        EXPECT_EQ(got, expected) << "step " << stepNumber;
        ++stepNumber;
    }
}

using S = Step;
const WalkCase kWalks[] = {
    {"EmptyList", 0, {{S::First, 0, -1}, {S::Next, 0, -1}, {S::GetAt, 0, -1}}},
    {"SequentialWalk",
     5,
     {{S::First, 0, 0},
      {S::Next, 0, 1},
      {S::Next, 0, 2},
      {S::Next, 0, 3},
      {S::Next, 0, 4},
      {S::Next, 0, -1}}},
    {"NextAfterLastStaysNull", 2, {{S::First, 0, 0}, {S::Next, 0, 1}, {S::Next, 0, -1}, {S::Next, 0, -1}}},
    {"IndexEqualToCountIsNull", 5, {{S::GetAt, 5, -1}, {S::GetAt, 4, 4}, {S::GetAt, 0xFFFFFFFFu, -1}}},
    {"AppendLeavesTheCursorOnTheLast", 3, {{S::Next, 0, -1}}},
    {"GetAtMovesTheCursorForward", 5, {{S::First, 0, 0}, {S::GetAt, 3, 3}, {S::Next, 0, 4}}},
    {"GetAtMovesTheCursorBackward", 5, {{S::GetAt, 4, 4}, {S::GetAt, 1, 1}, {S::Next, 0, 2}}},
    {"GetAtOfTheCursorItself", 5, {{S::GetAt, 2, 2}, {S::GetAt, 2, 2}, {S::Next, 0, 3}}},
    {"FailedGetAtKeepsTheCursor", 5, {{S::GetAt, 1, 1}, {S::GetAt, 9, -1}, {S::Next, 0, 2}}},
    {"FirstRestartsAWalk", 3, {{S::GetAt, 2, 2}, {S::First, 0, 0}, {S::Next, 0, 1}}},
    {"SingleElement", 1, {{S::First, 0, 0}, {S::Next, 0, -1}, {S::GetAt, 0, 0}, {S::GetAt, 1, -1}}},
};

INSTANTIATE_TEST_SUITE_P(Cursor, CxListWalk, testing::ValuesIn(kWalks),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CxList, AppendRefusesNullAndCountsIndexes)
{
    CxList list;
    int a = 1;
    int b = 2;
    EXPECT_FALSE(list.Append(nullptr));
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_TRUE(list.Append(&a));
    EXPECT_TRUE(list.Append(&b));
    EXPECT_FALSE(list.Append(nullptr));
    EXPECT_EQ(list.GetCount(), 2u);
    EXPECT_EQ(list.GetAt(0), &a);
    EXPECT_EQ(list.GetAt(1), &b);
}

TEST(CxList, AppendingAfterAWalkContinuesFromTheNewElement)
{
    CxList list;
    int values[3] = {};
    list.Append(&values[0]);
    list.Append(&values[1]);
    EXPECT_EQ(list.First(), &values[0]);
    list.Append(&values[2]);
    EXPECT_EQ(list.Next(), nullptr) << "the appended element is the cursor";
    EXPECT_EQ(list.GetAt(1), &values[1]);
    EXPECT_EQ(list.Next(), &values[2]);
}

TEST(CxList, RemoveAllStartsTheIndexesAgain)
{
    CxList list;
    int values[3] = {};
    for (int& v : values) {
        list.Append(&v);
    }
    list.GetAt(2);
    list.RemoveAll();
    EXPECT_EQ(list.GetCount(), 0u);
    EXPECT_EQ(list.First(), nullptr);
    EXPECT_EQ(list.Next(), nullptr);
    int fresh = 0;
    EXPECT_TRUE(list.Append(&fresh));
    EXPECT_EQ(list.GetCount(), 1u);
    EXPECT_EQ(list.GetAt(0), &fresh);
    EXPECT_EQ(list.First(), &fresh);
    EXPECT_EQ(list.Next(), nullptr);
}

// Counts the elements released through it.
struct Tracked
{
    static int released;
    ~Tracked() { ++released; }
};
int Tracked::released = 0;

TEST(CxList, ElementsAreReleasedOnlyWhenAsked)
{
    Tracked::released = 0;
    std::vector<Tracked> kept(3);
    {
        CxList list;
        for (Tracked& t : kept) {
            list.Append(&t);
        }
        list.RemoveAll();
        for (Tracked& t : kept) {
            list.Append(&t);
        }
    } // the destructor forgets them too
    EXPECT_EQ(Tracked::released, 0);

    CxList owning;
    for (int i = 0; i < 4; ++i) {
        owning.Append(new Tracked);
    }
    owning.RemoveAll(CxList::Delete<Tracked>);
    EXPECT_EQ(Tracked::released, 4);
    EXPECT_EQ(owning.GetCount(), 0u);
}

TEST(CxList, ALongWalkVisitsEveryElementOnceInOrder)
{
    CxList list;
    std::vector<int> values(10000);
    for (int& v : values) {
        ASSERT_TRUE(list.Append(&v));
    }
    std::size_t visited = 0;
    for (void* element = list.First(); element != nullptr; element = list.Next()) {
        ASSERT_EQ(element, &values[visited]);
        ++visited;
    }
    EXPECT_EQ(visited, values.size());
}

} // namespace
