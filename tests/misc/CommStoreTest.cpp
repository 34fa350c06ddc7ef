// What the four record stores share, run against each of them.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "misc/CommAddrMgr.h"
#include "misc/CommDateMgr.h"
#include "misc/CommNoteMgr.h"
#include "misc/CommTaskMgr.h"

namespace {

// How Update treats one field: copies a text when it is not empty, copies always, or clears.
struct UpdateRule
{
    enum Kind
    {
        IfSet,
        Always,
        Cleared,
    };
    const char* name;
    std::size_t offset;
    std::size_t size;
    Kind kind;
};

#define FW_TEXT(R, f)                                                                                        \
    UpdateRule                                                                                               \
    {                                                                                                        \
#f, offsetof(R, f), sizeof(R::f), UpdateRule::IfSet                                                  \
    }
#define FW_ALWAYS(R, f)                                                                                      \
    UpdateRule                                                                                               \
    {                                                                                                        \
#f, offsetof(R, f), sizeof(R::f), UpdateRule::Always                                                 \
    }

template <class Mgr> struct Traits;

template <> struct Traits<CommAddrMgr>
{
    static std::span<char> Name(CommAddrRec& r) { return r.FirstName; }
    static void SetDetail(CommAddrRec& r, int v) { CopyText(r.HomePhone, std::to_string(v)); }

    // Everything not listed stays as it was.
    static std::vector<UpdateRule> Rules()
    {
        using R = CommAddrRec;
        std::vector<UpdateRule> rules{
            FW_TEXT(R, FirstName),
            FW_TEXT(R, MiddleName),
            FW_TEXT(R, LastName),
            FW_TEXT(R, Prefix),
            FW_TEXT(R, Suffix),
            FW_TEXT(R, NickName),
            FW_TEXT(R, DisplayName),
            FW_TEXT(R, HomePhone),
            FW_TEXT(R, WorkPhone),
            FW_TEXT(R, MobilePhone),
            FW_TEXT(R, PrimaryPhone),
            FW_TEXT(R, OtherPhone),
            FW_TEXT(R, CallbackPhone),
            FW_TEXT(R, RadioPhone),
            FW_TEXT(R, CarPhone),
            FW_TEXT(R, WorkPhone2),
            FW_TEXT(R, HomePhone2),
            FW_TEXT(R, WorkFax),
            FW_TEXT(R, HomeFax),
            FW_TEXT(R, Pager),
            FW_TEXT(R, Email),
            FW_TEXT(R, Email2),
            FW_TEXT(R, Email3),
            FW_TEXT(R, WorkHomePage),
            FW_TEXT(R, PersonalHomePage),
            FW_TEXT(R, FtpSite),
            FW_TEXT(R, Note),
            FW_TEXT(R, Company),
            FW_TEXT(R, Title),
            FW_TEXT(R, Department),
            FW_TEXT(R, IM1),
            FW_TEXT(R, IM2),
            FW_TEXT(R, ManagerName),
            FW_TEXT(R, AssistantName),
            FW_TEXT(R, AssistantPhone),
            FW_TEXT(R, SpouseName),
            FW_TEXT(R, ChildrenNames),
            FW_TEXT(R, Profession),
            FW_TEXT(R, Hobby),
            FW_TEXT(R, Account),
            FW_TEXT(R, Keyword),
            FW_TEXT(R, Language),
            FW_TEXT(R, Location),
            FW_TEXT(R, MhsCommonName),
            FW_TEXT(R, CustomerId),
            FW_TEXT(R, GovernmentId),
            FW_TEXT(R, OrganizationId),
            FW_TEXT(R, Category),
            FW_ALWAYS(R, Birthday),
            FW_ALWAYS(R, Anniversary),
        };
        const std::size_t blocks[] = {offsetof(R, WorkAddress), offsetof(R, HomeAddress),
                                      offsetof(R, OtherAddress)};
        for (std::size_t block : blocks) {
            for (UpdateRule rule :
                 {FW_TEXT(AddressBlock, Country), FW_TEXT(AddressBlock, State), FW_TEXT(AddressBlock, City),
                  FW_TEXT(AddressBlock, Street), FW_TEXT(AddressBlock, Postal)}) {
                rule.offset += block;
                rules.push_back(rule);
            }
        }
        for (std::size_t i = 0; i < 10; ++i) {
            rules.push_back({"CustomValues[i]", offsetof(R, CustomValues) + 64 * i, 64, UpdateRule::IfSet});
            rules.push_back({"MappedValues[i]", offsetof(R, MappedValues) + 64 * i, 64, UpdateRule::IfSet});
            if (i < 9) {
                rules.push_back(
                    {"CustomLabels[i]", offsetof(R, CustomLabels) + 64 * i, 64, UpdateRule::IfSet});
            }
        }
        return rules;
    }
};

template <> struct Traits<CommDateMgr>
{
    static std::span<char> Name(CommDateRec& r) { return r.Subject; }
    static void SetDetail(CommDateRec& r, int v) { CopyText(r.Location, "room " + std::to_string(v)); }
    static std::vector<UpdateRule> Rules()
    {
        using R = CommDateRec;
        return {FW_TEXT(R, Subject),    FW_TEXT(R, Location),      FW_TEXT(R, Notes),
                FW_TEXT(R, Categories), FW_ALWAYS(R, ReminderSet), FW_ALWAYS(R, AllDay),
                FW_ALWAYS(R, Private),  FW_ALWAYS(R, Recurrence),  FW_ALWAYS(R, Start),
                FW_ALWAYS(R, End)};
    }
};

template <> struct Traits<CommTaskMgr>
{
    static std::span<char> Name(CommTaskRec& r) { return r.Subject; }
    static void SetDetail(CommTaskRec& r, int v) { r.Priority = v; }
    static std::vector<UpdateRule> Rules()
    {
        using R = CommTaskRec;
        return {FW_TEXT(R, Subject),   FW_TEXT(R, Notes),       FW_ALWAYS(R, DueDate), FW_ALWAYS(R, AlarmSet),
                FW_ALWAYS(R, Private), FW_ALWAYS(R, Completed), FW_ALWAYS(R, Priority)};
    }
};

template <> struct Traits<CommNoteMgr>
{
    static std::span<char> Name(CommNoteRec& r) { return r.Title; }
    static void SetDetail(CommNoteRec& r, int v) { CopyText(r.Body, "body " + std::to_string(v)); }
    static std::vector<UpdateRule> Rules()
    {
        using R = CommNoteRec;
        return {FW_ALWAYS(R, Color), FW_ALWAYS(R, Private), FW_TEXT(R, Title), FW_TEXT(R, Body),
                UpdateRule{"Status", offsetof(R, Status), sizeof(R::Status), UpdateRule::Cleared}};
    }
};

#undef FW_TEXT
#undef FW_ALWAYS

template <class Mgr> class CommStoreTest : public ::testing::Test
{
protected:
    using Rec = typename Mgr::Record;
    using T = Traits<Mgr>;

    static Rec Make(const char* name, int detail = 0)
    {
        Rec r{};
        SetName(r, name);
        T::SetDetail(r, detail);
        return r;
    }
    static void SetName(Rec& r, std::string_view name)
    {
        std::span<char> field = T::Name(r);
        std::memset(field.data(), 0, field.size());
        std::memcpy(field.data(), name.data(), std::min(name.size(), field.size()));
    }
    static std::string Name(Rec& r)
    {
        return std::string(T::Name(r).data(), strnlen(T::Name(r).data(), T::Name(r).size()));
    }

    std::vector<std::string> Walk(Mgr& store)
    {
        std::vector<std::string> names;
        for (Rec* r = store.First(); r != nullptr; r = store.Next()) {
            names.push_back(Name(*r));
        }
        return names;
    }
};

using Stores = ::testing::Types<CommAddrMgr, CommDateMgr, CommTaskMgr, CommNoteMgr>;
TYPED_TEST_SUITE(CommStoreTest, Stores);

TYPED_TEST(CommStoreTest, KeepsCopiesInLoadOrder)
{
    using Rec = typename TypeParam::Record;
    TypeParam store;
    EXPECT_EQ(store.GetCount(), 0);
    EXPECT_EQ(store.First(), nullptr);
    EXPECT_EQ(store.Add(nullptr), nullptr);

    Rec one = this->Make("one"), two = this->Make("two"), three = this->Make("three");
    Rec* stored = store.Add(&one);
    ASSERT_NE(stored, nullptr);
    EXPECT_NE(stored, &one);
    store.Add(&two);
    store.Add(&three);
    this->SetName(one, "changed after add");

    EXPECT_EQ(store.GetCount(), 3);
    EXPECT_EQ(this->Walk(store), (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(store.Next(), nullptr);
    EXPECT_EQ(store.First(), stored);
}

TYPED_TEST(CommStoreTest, ClearEmptiesTheStoreForReuse)
{
    using Rec = typename TypeParam::Record;
    TypeParam store;
    Rec one = this->Make("one");
    store.Add(&one);
    store.Add(&one);
    store.Clear();
    EXPECT_EQ(store.GetCount(), 0);
    EXPECT_EQ(store.First(), nullptr);

    Rec* found = &one;
    int index = -1;
    EXPECT_EQ(store.Search(&one, &found, &index), SearchNotFound);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(index, 0);

    store.Add(&one);
    EXPECT_EQ(store.Search(&one, &found, &index), SearchSame);
    EXPECT_EQ(index, 0);
}

// A borrowed native record (NativeSize 0) stays the connector's: the store links to it and
// never frees it. An owned one is duplicated on add and freed by Clear and by the store's end;
// the sanitizer build reports any leak, double free or free of the borrowed block.
TYPED_TEST(CommStoreTest, BorrowsOrOwnsNativeRecords)
{
    using Rec = typename TypeParam::Record;
    std::array<unsigned char, 40> borrowed{};
    std::vector<unsigned char> owned(40, 0xAB);
    {
        TypeParam store;
        Rec rec = this->Make("one");
        rec.NativeRecord = borrowed.data();
        rec.NativeSize = 0;
        Rec* keptLink = store.Add(&rec);

        rec.NativeRecord = owned.data();
        rec.NativeSize = static_cast<std::uint32_t>(owned.size());
        Rec* keptCopy = store.Add(&rec);

        ASSERT_NE(keptLink, nullptr);
        ASSERT_NE(keptCopy, nullptr);
        EXPECT_EQ(keptLink->NativeRecord, borrowed.data());
        ASSERT_NE(keptCopy->NativeRecord, nullptr);
        EXPECT_NE(keptCopy->NativeRecord, owned.data());
        EXPECT_EQ(std::memcmp(keptCopy->NativeRecord, owned.data(), owned.size()), 0);

        store.Clear();
        store.Add(&rec); // freed when the store goes
    }
    borrowed[0] = 1; // still ours to use
    EXPECT_EQ(owned[0], 0xAB);
}

TYPED_TEST(CommStoreTest, RefusesInvalidArguments)
{
    using Rec = typename TypeParam::Record;
    TypeParam store;
    Rec one = this->Make("one");
    store.Add(&one);

    Rec* found = &one;
    int index = 5;
    EXPECT_EQ(store.Search(nullptr, &found, &index), SearchInvalid);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(store.Search(nullptr), SearchInvalid);

    EXPECT_FALSE(store.Update(nullptr, 0));
    EXPECT_FALSE(store.Update(&one, -1));
    EXPECT_FALSE(store.Update(&one, 1));
    EXPECT_FALSE(store.Reindex(1));

    store.First()->Status = 7;
    EXPECT_FALSE(store.CompareAll(nullptr));
    EXPECT_EQ(store.First()->Status, 7);
}

TYPED_TEST(CommStoreTest, CompareAllMarksTheSourceAndLeavesTheTarget)
{
    using Rec = typename TypeParam::Record;
    TypeParam source;
    TypeParam target;
    Rec same = this->Make("same", 1), changed = this->Make("changed", 1), fresh = this->Make("new", 1);
    target.Add(&same)->Status = 7;
    Rec changedInTarget = this->Make("changed", 2);
    target.Add(&changedInTarget)->Status = 7;
    for (Rec* r : {&same, &changed, &fresh}) {
        source.Add(r)->Status = 7;
    }

    ASSERT_TRUE(source.CompareAll(&target));
    std::vector<int> statuses;
    for (Rec* r = source.First(); r != nullptr; r = source.Next()) {
        statuses.push_back(r->Status);
    }
    EXPECT_EQ(statuses, (std::vector<int>{MatchSame, MatchDiff, MatchNew}));
    for (Rec* r = target.First(); r != nullptr; r = target.Next()) {
        EXPECT_EQ(r->Status, 7);
    }
}

// The walk of the source and the searches would share one cursor; compare all still
// finishes and finds every record in itself.
TYPED_TEST(CommStoreTest, CompareAllOfAStoreWithItselfFinishes)
{
    using Rec = typename TypeParam::Record;
    TypeParam store;
    Rec a = this->Make("a"), b = this->Make("b");
    for (Rec* r : {&a, &b, &a, &b}) {
        store.Add(r)->Status = MatchNew;
    }
    ASSERT_TRUE(store.CompareAll(&store));
    for (Rec* r = store.First(); r != nullptr; r = store.Next()) {
        EXPECT_EQ(r->Status, MatchSame);
    }
}

// Every field is set in the stored record and in the given one; after the update each field
// holds what the store's rules say, and every field not named by a rule is as it was.
TYPED_TEST(CommStoreTest, UpdateCopiesTheChangeableFields)
{
    using Rec = typename TypeParam::Record;
    const std::vector<UpdateRule> rules = Traits<TypeParam>::Rules();
    unsigned char storedNative[8] = {};
    unsigned char givenNative[8] = {};

    for (bool emptyTexts : {false, true}) {
        SCOPED_TRACE(emptyTexts ? "given texts empty" : "given texts set");
        Rec stored;
        Rec given;
        std::memset(static_cast<void*>(&stored), 0x11, sizeof stored);
        std::memset(static_cast<void*>(&given), 0x22, sizeof given);
        auto* s = reinterpret_cast<char*>(&stored);
        auto* g = reinterpret_cast<char*>(&given);
        for (const UpdateRule& rule : rules) {
            if (rule.kind == UpdateRule::IfSet) {
                std::memcpy(s + rule.offset, "old", 4);
                std::memcpy(g + rule.offset, emptyTexts ? "" : "new", emptyTexts ? 1 : 4);
            }
        }
        stored.NativeRecord = storedNative;
        stored.NativeSize = 0;
        given.NativeRecord = givenNative;
        given.NativeSize = sizeof givenNative;

        TypeParam store;
        store.Add(&stored);
        Rec expected = *store.First();
        auto* e = reinterpret_cast<char*>(&expected);
        for (const UpdateRule& rule : rules) {
            if (rule.kind == UpdateRule::Always) {
                std::memcpy(e + rule.offset, g + rule.offset, rule.size);
            } else if (rule.kind == UpdateRule::Cleared) {
                std::memset(e + rule.offset, 0, rule.size);
            } else if (!emptyTexts) {
                std::memcpy(e + rule.offset, "new", 4);
            }
        }

        ASSERT_TRUE(store.Update(&given, 0));
        const auto* actual = reinterpret_cast<const char*>(store.First());
        for (std::size_t at = 0; at < sizeof(Rec); ++at) {
            if (actual[at] != e[at]) {
                std::string field = "a field no rule names";
                for (const UpdateRule& rule : rules) {
                    if (at >= rule.offset && at < rule.offset + rule.size) {
                        field = rule.name;
                    }
                }
                ADD_FAILURE() << "byte " << at << " (" << field << ") differs after the update";
                break;
            }
        }
    }
}

TYPED_TEST(CommStoreTest, UpdateCutsAnOverlongText)
{
    using Rec = typename TypeParam::Record;
    TypeParam store;
    Rec one = this->Make("one");
    store.Add(&one);
    Rec given = one;
    std::span<char> name = Traits<TypeParam>::Name(given);
    std::memset(name.data(), 'x', name.size()); // no terminator at all

    ASSERT_TRUE(store.Update(&given, 0));
    EXPECT_EQ(this->Name(*store.First()), std::string(name.size() - 1, 'x'));
}

// Changing a match key through Update moves the record in the index: the new key finds it,
// the old one no longer does.
TYPED_TEST(CommStoreTest, SearchFollowsAnUpdatedMatchKey)
{
    using Rec = typename TypeParam::Record;
    TypeParam store;
    Rec one = this->Make("one", 1), two = this->Make("two", 1);
    store.Add(&one);
    store.Add(&two);

    Rec renamed = this->Make("three", 1);
    ASSERT_TRUE(store.Update(&renamed, 0));

    Rec* found = nullptr;
    int index = -1;
    Rec probe = this->Make("three", 1);
    EXPECT_EQ(store.Search(&probe, &found, &index), SearchSame);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(found, store.First());
    EXPECT_EQ(store.Search(&one, &found, &index), SearchNotFound);
    EXPECT_EQ(index, 2);

    Traits<TypeParam>::SetDetail(probe, 2);
    EXPECT_EQ(store.Search(&probe, &found, &index), SearchChanged);
    EXPECT_EQ(index, 0);
}

// A caller that writes into a stored record directly tells the store with Reindex.
TYPED_TEST(CommStoreTest, ReindexFilesARecordChangedInPlace)
{
    using Rec = typename TypeParam::Record;
    TypeParam store;
    Rec one = this->Make("one"), two = this->Make("two");
    store.Add(&one);
    Rec* second = store.Add(&two);
    this->SetName(*second, "renamed");
    ASSERT_TRUE(store.Reindex(1));

    Rec probe = this->Make("renamed");
    int index = -1;
    Rec* found = nullptr;
    EXPECT_EQ(store.Search(&probe, &found, &index), SearchSame);
    EXPECT_EQ(found, second);
    EXPECT_EQ(store.Search(&two, &found, &index), SearchNotFound);
}

} // namespace
