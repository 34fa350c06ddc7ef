#include "misc/CommRecordFields.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

struct RecordCase
{
    const char* name;
    std::span<const CommField> (*fields)();
    std::size_t size;
    std::size_t alignment;
};

const RecordCase kRecords[] = {
    {"CommAddrRec", CommAddrFields, sizeof(CommAddrRec), alignof(CommAddrRec)},
    {"CommDateRec", CommDateFields, sizeof(CommDateRec), alignof(CommDateRec)},
    {"CommTaskRec", CommTaskFields, sizeof(CommTaskRec), alignof(CommTaskRec)},
    {"CommNoteRec", CommNoteFields, sizeof(CommNoteRec), alignof(CommNoteRec)},
};

void PrintTo(const RecordCase& c, std::ostream* os)
{
    *os << c.name;
}

class CommRecordFieldsCatalogue : public ::testing::TestWithParam<RecordCase>
{
};

std::size_t RoundUp(std::size_t value, std::size_t alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}

// Every byte belongs to a field, except the padding the compiler must put before a field of
// stricter alignment and at the end of the record: a forgotten field shows as a gap.
TEST_P(CommRecordFieldsCatalogue, CoversEveryByteButPadding)
{
    const RecordCase& c = GetParam();
    std::size_t end = 0;
    std::size_t covered = 0;
    std::size_t padding = 0;
    for (const CommField& field : c.fields()) {
        SCOPED_TRACE(field.Name);
        ASSERT_GE(field.Offset, end) << "overlaps the field before it";
        EXPECT_EQ(field.Offset, RoundUp(end, CommFieldKindAlignment(field.Kind)))
            << "a gap that is no padding";
        padding += field.Offset - end;
        covered += field.Size;
        end = field.Offset + field.Size;
    }
    EXPECT_EQ(RoundUp(end, c.alignment), c.size) << "fields missing at the end";
    padding += c.size - end;
    EXPECT_EQ(covered + padding, c.size);
}

TEST_P(CommRecordFieldsCatalogue, NamesAreUniqueAndOffsetsIncrease)
{
    std::set<std::string> names;
    std::size_t previous = 0;
    bool first = true;
    for (const CommField& field : GetParam().fields()) {
        EXPECT_TRUE(names.insert(field.Name).second) << "duplicate " << field.Name;
        if (!first) {
            EXPECT_GT(field.Offset, previous) << field.Name;
        }
        previous = field.Offset;
        first = false;
    }
}

TEST_P(CommRecordFieldsCatalogue, SizesMatchKinds)
{
    for (const CommField& field : GetParam().fields()) {
        SCOPED_TRACE(field.Name);
        if (field.Kind == CommFieldKind::Text) {
            EXPECT_GT(field.Size, 1u);
        } else {
            EXPECT_EQ(field.Size, CommFieldKindSize(field.Kind));
        }
    }
}

// Every record ends with the same bookkeeping fields.
TEST_P(CommRecordFieldsCatalogue, EndsWithNativeLink)
{
    auto fields = GetParam().fields();
    ASSERT_GE(fields.size(), 4u);
    EXPECT_EQ(fields[fields.size() - 2].Name, "NativeRecord");
    EXPECT_EQ(fields[fields.size() - 2].Kind, CommFieldKind::Pointer);
    EXPECT_EQ(fields[fields.size() - 1].Name, "NativeSize");
    EXPECT_EQ(fields[fields.size() - 1].Kind, CommFieldKind::Size32);
    EXPECT_NE(CommFindField(fields, "SourceType"), nullptr);
    EXPECT_NE(CommFindField(fields, "Status"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Records, CommRecordFieldsCatalogue, ::testing::ValuesIn(kRecords),
                         [](const auto& info) { return std::string(info.param.name); });

// Names of nested and array fields, and where they lie.
struct NamedField
{
    std::span<const CommField> (*fields)();
    const char* name;
    CommFieldKind kind;
    std::size_t offset;
    std::size_t size;
};

const NamedField kNamed[] = {
    {CommAddrFields, "FirstName", CommFieldKind::Text, offsetof(CommAddrRec, FirstName), 32},
    {CommAddrFields, "WorkAddress.Street", CommFieldKind::Text,
     offsetof(CommAddrRec, WorkAddress) + offsetof(AddressBlock, Street), 256},
    {CommAddrFields, "OtherAddress.Neighborhood", CommFieldKind::Text,
     offsetof(CommAddrRec, OtherAddress) + offsetof(AddressBlock, Neighborhood), 32},
    {CommAddrFields, "CustomValues[1]", CommFieldKind::Text, offsetof(CommAddrRec, CustomValues), 64},
    {CommAddrFields, "CustomLabels[10]", CommFieldKind::Text, offsetof(CommAddrRec, CustomLabels) + 9 * 64,
     64},
    {CommAddrFields, "Birthday", CommFieldKind::OleDate, offsetof(CommAddrRec, Birthday), 8},
    {CommDateFields, "AllDay", CommFieldKind::Flag32, offsetof(CommDateRec, AllDay), 4},
    {CommDateFields, "Start", CommFieldKind::SystemTime, offsetof(CommDateRec, Start), 16},
    {CommDateFields, "Recurrence.Kind", CommFieldKind::Int32,
     offsetof(CommDateRec, Recurrence) + offsetof(RecurrenceRule, Kind), 4},
    {CommDateFields, "Recurrence.HasEnd", CommFieldKind::Flag8,
     offsetof(CommDateRec, Recurrence) + offsetof(RecurrenceRule, HasEnd), 1},
    {CommDateFields, "Reminders[1].Method", CommFieldKind::Int32, offsetof(CommDateRec, Reminders), 4},
    {CommDateFields, "Reminders[3].Unit", CommFieldKind::Int32,
     offsetof(CommDateRec, Reminders) + 2 * sizeof(Reminder) + offsetof(Reminder, Unit), 4},
    {CommTaskFields, "DueDate", CommFieldKind::TimeValue, offsetof(CommTaskRec, DueDate), 4},
    {CommTaskFields, "Completed", CommFieldKind::Flag8, offsetof(CommTaskRec, Completed), 1},
    {CommTaskFields, "Recurrence.PatternEnd", CommFieldKind::SystemTime,
     offsetof(CommTaskRec, Recurrence) + offsetof(RecurrenceRule, PatternEnd), 16},
    {CommNoteFields, "Body", CommFieldKind::Text, offsetof(CommNoteRec, Body), 20480},
    {CommNoteFields, "EntryId", CommFieldKind::Text, offsetof(CommNoteRec, EntryId), 32},
};

TEST(CommRecordFields, NamedFieldsLieWhereTheRecordHasThem)
{
    for (const NamedField& c : kNamed) {
        SCOPED_TRACE(c.name);
        const CommField* field = CommFindField(c.fields(), c.name);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->Kind, c.kind);
        EXPECT_EQ(field->Offset, c.offset);
        EXPECT_EQ(field->Size, c.size);
    }
    EXPECT_EQ(CommFindField(CommAddrFields(), "CustomValues[0]"), nullptr);
    EXPECT_EQ(CommFindField(CommAddrFields(), "CustomValues[11]"), nullptr);
    EXPECT_EQ(CommFindField(CommDateFields(), "Reminders[4].Method"), nullptr);
}

// The readers give back what was stored, whatever the record's alignment in memory.
TEST(CommRecordFields, ReadersReturnStoredValues)
{
    CommDateRec rec{};
    CopyText(rec.Subject, "Review");
    rec.AllDay = 1;
    rec.Start = SYSTEMTIME{2024, 2, 4, 29, 13, 45, 30, 0};
    rec.Recurrence.HasEnd = 7;
    rec.Reminders[2].Unit = -3;
    rec.CreationTime = 45351.5;
    rec.NativeRecord = &rec;
    rec.NativeSize = 0xFFFFFFFFu;

    // A copy one byte off its natural alignment.
    alignas(8) unsigned char buffer[sizeof(CommDateRec) + 1];
    std::memcpy(buffer + 1, &rec, sizeof rec);
    const void* shifted = buffer + 1;

    auto f = [](const char* name) { return *CommFindField(CommDateFields(), name); };
    EXPECT_EQ(CommFieldText(shifted, f("Subject")), "Review");
    EXPECT_EQ(CommFieldInteger(shifted, f("AllDay")), 1);
    EXPECT_EQ(CommFieldInteger(shifted, f("Recurrence.HasEnd")), 7);
    EXPECT_EQ(CommFieldInteger(shifted, f("Reminders[3].Unit")), -3);
    EXPECT_EQ(CommFieldInteger(shifted, f("NativeSize")), 0xFFFFFFFFll);
    EXPECT_DOUBLE_EQ(CommFieldOleDate(shifted, f("CreationTime")), 45351.5);
    SYSTEMTIME start = CommFieldSystemTime(shifted, f("Start"));
    EXPECT_EQ(start.wYear, 2024);
    EXPECT_EQ(start.wDay, 29);
    EXPECT_EQ(start.wSecond, 30);
    EXPECT_EQ(CommFieldPointer(shifted, f("NativeRecord")), &rec);

    // A reader of another kind gives its empty value rather than reinterpreting bytes.
    EXPECT_EQ(CommFieldInteger(shifted, f("Subject")), 0);
    EXPECT_EQ(CommFieldText(shifted, f("AllDay")), "");
    EXPECT_EQ(CommFieldOleDate(shifted, f("AllDay")), 0.0);
    EXPECT_EQ(CommFieldPointer(nullptr, f("NativeRecord")), nullptr);
}

// A text field filled to the last byte without a terminator is read up to its end only.
TEST(CommRecordFields, UnterminatedTextStopsAtFieldEnd)
{
    CommNoteRec rec;
    std::memset(static_cast<void*>(&rec), 'X', sizeof rec);
    std::memset(rec.EntryId, 'E', sizeof rec.EntryId);
    const CommField* field = CommFindField(CommNoteFields(), "EntryId");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(CommFieldText(&rec, *field), std::string(32, 'E'));
}

} // namespace
