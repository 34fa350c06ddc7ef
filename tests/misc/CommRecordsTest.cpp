#include "misc/CommRecords.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

// Array allocations of this program go through malloc, so that one size can be made to fail:
// that is how an owned native block that cannot be duplicated is shown.
namespace {
std::size_t g_failArraySize = 0;

void* ArrayAlloc(std::size_t size) noexcept
{
    if (g_failArraySize != 0 && size == g_failArraySize) {
        return nullptr;
    }
    return std::malloc(size != 0 ? size : 1);
}
} // namespace

void* operator new[](std::size_t size)
{
    if (void* p = ArrayAlloc(size)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return ArrayAlloc(size);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}

// The layout other code relies on: field sizes and the bookkeeping order.
static_assert(sizeof(CommAddrRec::Note) == 8192 && sizeof(CommAddrRec::CustomValues) == 10 * 64);
static_assert(sizeof(AddressBlock) == 256 + 32 + 32 + 16 + 32 + 16 + 32);
static_assert(sizeof(CommDateRec::Notes) == 8192 && sizeof(CommDateRec::Reminders) == 3 * sizeof(Reminder));
static_assert(sizeof(CommTaskRec::Completed) == 1 && sizeof(CommTaskRec::DueDate) == 4 &&
              sizeof(CommTaskRec::ReminderSoundFile) == MAX_PATH);
static_assert(sizeof(CommNoteRec::Body) == 20480 && sizeof(CommNoteRec::EntryId) == 32);
static_assert(offsetof(CommNoteRec, Status) < offsetof(CommNoteRec, EntryId) &&
              offsetof(CommNoteRec, EntryId) < offsetof(CommNoteRec, NativeRecord) &&
              offsetof(CommNoteRec, NativeRecord) < offsetof(CommNoteRec, NativeSize));
static_assert(sizeof(CommAddrRec::NativeSize) == 4 && sizeof(RecurrenceRule::HasEnd) == 1);

namespace {

struct CopyTextCase
{
    const char* name;
    std::optional<std::string> text; // none: a null pointer
    const char* expected;            // in a field of 8 bytes

    friend void PrintTo(const CopyTextCase& c, std::ostream* os) { *os << c.name; }
};

const CopyTextCase g_copyTextCases[] = {
    {"Empty", std::string(), ""},
    {"Short", std::string("abc"), "abc"},
    {"ExactlyFits", std::string("1234567"), "1234567"},
    {"OneTooLong", std::string("12345678"), "1234567"},
    {"MuchTooLong", std::string(300, 'x'), "xxxxxxx"},
    {"NullIsEmpty", std::nullopt, ""},
};

class CommCopyTextTest : public ::testing::TestWithParam<CopyTextCase>
{
};

TEST_P(CommCopyTextTest, CutsAndTerminates)
{
    const CopyTextCase& c = GetParam();
    struct
    {
        char field[8];
        char guard[8];
    } fromPointer, fromView;
    std::memset(&fromPointer, '#', sizeof fromPointer);
    std::memset(&fromView, '#', sizeof fromView);

    CopyText(fromPointer.field, c.text ? c.text->c_str() : nullptr);
    CopyText(fromView.field, c.text ? std::string_view(*c.text) : std::string_view());

    EXPECT_STREQ(fromPointer.field, c.expected);
    EXPECT_STREQ(fromView.field, c.expected);
    EXPECT_EQ(std::string(fromPointer.guard, 8), std::string(8, '#'));
    EXPECT_EQ(std::string(fromView.guard, 8), std::string(8, '#'));
}

INSTANTIATE_TEST_SUITE_P(Texts, CommCopyTextTest, ::testing::ValuesIn(g_copyTextCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A field that a careless writer filled to the brim is read up to its end, not into the
// next field.
TEST(CommFieldTextTest, StopsAtTheEndOfAnUnterminatedField)
{
    struct
    {
        char field[4];
        char next[4];
    } r;
    std::memcpy(r.field, "abcd", 4);
    std::memcpy(r.next, "XYZ", 4);
    EXPECT_EQ(FieldText(r.field), "abcd");

    char wide[16];
    CopyText(wide, r.field);
    EXPECT_STREQ(wide, "abcd");

    std::memcpy(r.field, "ab\0d", 4);
    EXPECT_EQ(FieldText(r.field), "ab");
}

// Copy and release of a record: a borrowed native block is shared and never freed; an owned
// one is duplicated with the record and freed with it (the sanitizer build shows a leak, a
// double free or a free of the borrowed block).
struct NativeCase
{
    const char* name;
    std::uint32_t size;
    bool withBlock;
    bool failAllocation;
    enum
    {
        Shared,
        Duplicated,
        Null
    } expected;

    friend void PrintTo(const NativeCase& c, std::ostream* os) { *os << c.name; }
};

const NativeCase g_nativeCases[] = {
    {"BorrowedIsShared", 0, true, false, NativeCase::Shared},
    {"OwnedIsDuplicated", 24, true, false, NativeCase::Duplicated},
    {"OwnedWithoutBlockStaysNull", 24, false, false, NativeCase::Null},
    {"OwnedThatCannotBeAllocatedIsNull", 4093, true, true, NativeCase::Null},
};

class CommRecordCopyTest : public ::testing::TestWithParam<NativeCase>
{
};

TEST_P(CommRecordCopyTest, HandlesTheNativeBlock)
{
    const NativeCase& c = GetParam();
    std::array<unsigned char, 4096> block{};
    for (std::size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<unsigned char>(i * 7);
    }
    CommNoteRec original{};
    CopyText(original.Title, "shopping");
    CopyText(original.EntryId, "0000A1");
    original.NativeRecord = c.withBlock ? block.data() : nullptr;
    original.NativeSize = c.size;

    g_failArraySize = c.failAllocation ? c.size : 0;
    CommNoteRec* copy = CommCopyRecord(original);
    g_failArraySize = 0;

    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy->Title, "shopping");
    EXPECT_STREQ(copy->EntryId, "0000A1");
    EXPECT_EQ(copy->NativeSize, c.size);
    switch (c.expected) {
    case NativeCase::Shared:
        EXPECT_EQ(copy->NativeRecord, block.data());
        break;
    case NativeCase::Duplicated:
        ASSERT_NE(copy->NativeRecord, nullptr);
        EXPECT_NE(copy->NativeRecord, block.data());
        EXPECT_EQ(std::memcmp(copy->NativeRecord, block.data(), c.size), 0);
        block[0] ^= 0xFF; // the copy does not follow its source
        EXPECT_NE(static_cast<unsigned char*>(copy->NativeRecord)[0], block[0]);
        break;
    case NativeCase::Null:
        EXPECT_EQ(copy->NativeRecord, nullptr);
        break;
    }
    CommReleaseRecord(copy);
    CommReleaseRecord<CommNoteRec>(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Ownership, CommRecordCopyTest, ::testing::ValuesIn(g_nativeCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct KeyLabelCase
{
    int key;
    const char* label; // null: no such key
    int width;
};

const KeyLabelCase g_keyLabels[] = {
    {1, "First Name", 32},
    {2, "Middle Name", 32},
    {3, "Last Name", 32},
    {8, nullptr, 0},
    {9, "(Work) Street", 256},
    {20, "(Home) Country", 32},
    {23, "(Other) Street", 256},
    {26, "(Other) Postal", 16},
    {40, "Pager", 24},
    {44, "Personal Home Page", 256},
    {46, nullptr, 0},
    {47, "FTP Site", 256},
    {48, "Note", 8192},
    {49, "Custom 1", 64},
    {57, "Custom 9", 64},
    {58, nullptr, 0},
    {59, "Custom Label 1", 64},
    {67, "Custom Label 9", 64},
    {68, nullptr, 0},
    {78, "Children's Names", 32},
    {79, nullptr, 0},
    {83, "Anniversary", 8},
    {84, "Birthday", 8},
    {88, "MHS Common Name", 32},
    {90, "Government ID", 32},
    {96, "Status", 4},
    {97, nullptr, 0},
};

TEST(CommAddrKeyTableTest, LabelsAndWidths)
{
    for (const KeyLabelCase& c : g_keyLabels) {
        SCOPED_TRACE(c.key);
        const CommAddrKeyInfo* info = CommAddrKeyFind(c.key);
        if (c.label == nullptr) {
            EXPECT_EQ(info, nullptr);
            continue;
        }
        ASSERT_NE(info, nullptr);
        EXPECT_STREQ(info->Label, c.label);
        EXPECT_EQ(info->Width, c.width);
    }
}

} // namespace
