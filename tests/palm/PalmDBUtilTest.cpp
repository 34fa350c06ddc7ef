#include "palm/PalmDBUtil.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

#include "common/TempHome.h"
#include "palm/PalmFileWriter.h"

namespace {

using fwtest::PalmFileWriter;

// A reader over the bytes of one writer, opened for reading and writing as the loaders do.
class Reader
{
public:
    explicit Reader(const PalmFileWriter& writer) : m_path(m_home.Path("data.dat"))
    {
        EXPECT_TRUE(writer.WriteFile(m_path));
        EXPECT_TRUE(m_db.Open(m_path.c_str(), 2));
    }
    PmDBUtil& operator*() { return m_db; }
    PmDBUtil* operator->() { return &m_db; }

private:
    fwtest::TempHome m_home;
    std::string m_path;
    PmDBUtil m_db;
};

TEST(PmDBUtilOpen, ModesAndPaths)
{
    fwtest::TempHome home;
    const std::string path = home.WriteFile("a.dat", "abc");
    const std::string missing = home.Path("missing.dat");
    PmDBUtil db;
    EXPECT_FALSE(db.Open(nullptr, 0));
    EXPECT_FALSE(db.Open("", 0));
    for (int mode = 0; mode <= 2; ++mode) {
        EXPECT_TRUE(db.Open(path.c_str(), mode)) << mode;
        EXPECT_EQ(db.GetPath(), path);
        EXPECT_FALSE(db.Open(missing.c_str(), mode)) << mode;
        EXPECT_FALSE(db.IsOpen());
    }
    EXPECT_FALSE(db.Open(path.c_str(), 4));
    EXPECT_FALSE(db.Open(home.Root().c_str(), 0)) << "a folder is not a database";

    // Mode 3 creates the file anew; mode 1 and 2 keep what is there.
    ASSERT_TRUE(db.Open(missing.c_str(), 3));
    db.Close();
    EXPECT_TRUE(std::filesystem::exists(missing));
    ASSERT_TRUE(db.Open(path.c_str(), 1));
    db.Close();
    EXPECT_EQ(std::filesystem::file_size(path), 3u);
}

TEST(PmDBUtilOpen, ReadOnlyFileOpensOnlyForReading)
{
    fwtest::TempHome home;
    const std::string path = home.WriteFile("ro.dat", "abc");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    PmDBUtil db;
    EXPECT_TRUE(db.Open(path.c_str(), 0));
    EXPECT_FALSE(db.Open(path.c_str(), 1));
    EXPECT_FALSE(db.Open(path.c_str(), 2));
}

TEST(PmDBUtilRead, PrimitivesAreLittleEndianAndBounded)
{
    PalmFileWriter w;
    w.Int32(-2).UInt16(0xBEEF).Byte(0x7F).Bytes("12345678").Int32(0x41420100).Bytes("xy");
    Reader r(w);
    std::int32_t i = 0;
    std::uint16_t u = 0;
    std::uint8_t b = 0;
    char block[8];
    EXPECT_EQ(r->GetPosition(), 0);
    ASSERT_TRUE(r->ReadInt32(i));
    EXPECT_EQ(i, -2);
    ASSERT_TRUE(r->ReadUInt16(u));
    EXPECT_EQ(u, 0xBEEF);
    ASSERT_TRUE(r->ReadByte(b));
    EXPECT_EQ(b, 0x7F);
    ASSERT_TRUE(r->ReadBytes(block, sizeof block));
    EXPECT_EQ(std::string(block, 8), "12345678");
    ASSERT_TRUE(r->ReadInt32(i));
    EXPECT_EQ(i, 0x41420100);
    EXPECT_EQ(r->GetPosition(), 19);
    EXPECT_EQ(r->BytesLeft(), 2);
    EXPECT_FALSE(r->ReadInt32(i)) << "two bytes left";
    EXPECT_FALSE(r->SkipBytes(1)) << "a short read consumed what was left";
    EXPECT_EQ(r->BytesLeft(), 0);
}

TEST(PmDBUtilRead, ShortBlockReportsWhatArrived)
{
    PalmFileWriter w;
    w.Bytes("abcde");
    Reader r(w);
    char block[11] = {};
    EXPECT_EQ(r->ReadAtMost(block, sizeof block), 5u);
    EXPECT_STREQ(block, "abcde");
    EXPECT_FALSE(r->SkipBytes(1));
    EXPECT_TRUE(r->SkipBytes(0));
}

struct CStringCase
{
    const char* name;
    std::size_t length;
    std::size_t capacity;
    bool ok;
};

const CStringCase kCStringCases[] = {
    {"empty", 0, 10, true},
    {"short", 5, 10, true},
    {"at_capacity", 10, 10, true},
    {"above_capacity", 11, 10, false},
    {"last_one_byte_length", 254, 256, true},
    {"escaped_255", 255, 256, true},
    {"escaped_long", 9000, 65535, true},
    {"escaped_above_capacity", 300, 256, false},
};

class CStringTest : public testing::TestWithParam<CStringCase>
{
};

TEST_P(CStringTest, ReadsTextOrRefusesWithoutConsumingIt)
{
    const CStringCase& c = GetParam();
    std::string text(c.length, 'a');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char>('a' + i % 26);
    }
    PalmFileWriter w;
    w.CString(text).Int32(77);
    EXPECT_EQ(w.Size(), (c.length < 255 ? 1 : 3) + c.length + 4);
    Reader r(w);
    std::string read = "old";
    std::size_t needed = 0;
    ASSERT_EQ(r->ReadCString(read, c.capacity, &needed), c.ok);
    if (c.ok) {
        EXPECT_EQ(read, text);
        std::int32_t after = 0;
        ASSERT_TRUE(r->ReadInt32(after));
        EXPECT_EQ(after, 77);
    } else {
        EXPECT_EQ(needed, c.length);
        EXPECT_EQ(r->GetPosition(), c.length < 255 ? 1 : 3) << "only the length is consumed";
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, CStringTest, testing::ValuesIn(kCStringCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PmDBUtilRead, CStringLongerThanTheFileFails)
{
    PalmFileWriter w;
    w.Byte(0xFF).UInt16(60000).Bytes("only a little");
    Reader r(w);
    std::string text;
    EXPECT_FALSE(r->ReadCString(text, 65535));
}

TEST(PmDBUtilFields, IntegerPositionsAcceptIntegerDateAndBoolean)
{
    PalmFileWriter w;
    w.IntField(-5).DateField(1000).BoolField(true).IntField(9, kPmTypeString).IntField(3, kPmTypeRepeat);
    Reader r(w);
    std::int32_t v = 0;
    ASSERT_TRUE(r->ReadIntField(v));
    EXPECT_EQ(v, -5);
    ASSERT_TRUE(r->ReadIntField(v));
    EXPECT_EQ(v, 1000);
    ASSERT_TRUE(r->ReadIntField(v));
    EXPECT_EQ(v, 1);
    EXPECT_FALSE(r->ReadIntField(v)) << "a string code at an integer position";
}

struct StringFieldCase
{
    const char* name;
    std::size_t length;
    std::size_t width;
    std::size_t kept;
};

const StringFieldCase kStringFieldCases[] = {
    {"fits", 20, 32, 20},
    {"cut_to_width", 40, 32, 31},
    {"long_string_kept_to_8191", 9000, 65536, 8191},
    {"long_string_in_8192_field", 9000, 8192, 8191},
    {"long_string_in_narrow_field", 9000, 256, 255},
    {"empty", 0, 32, 0},
};

class StringFieldTest : public testing::TestWithParam<StringFieldCase>
{
};

TEST_P(StringFieldTest, KeepsWhatTheFieldHoldsAndReadsTheRest)
{
    const StringFieldCase& c = GetParam();
    std::string text(c.length, 'x');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char>('0' + i % 10);
    }
    PalmFileWriter w;
    w.StringField(text, 0x1234).IntField(42);
    Reader r(w);
    std::string read;
    ASSERT_TRUE(r->ReadStringField(read, c.width));
    EXPECT_EQ(read, text.substr(0, c.kept));
    std::int32_t next = 0;
    ASSERT_TRUE(r->ReadIntField(next)) << "the next field follows the whole string";
    EXPECT_EQ(next, 42);
}

INSTANTIATE_TEST_SUITE_P(Widths, StringFieldTest, testing::ValuesIn(kStringFieldCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PmDBUtilFields, StringPositionAcceptsOnlyStrings)
{
    for (std::int32_t code : {kPmTypeInteger, kPmTypeDate, kPmTypeBoolean, kPmTypeRepeat}) {
        PalmFileWriter w;
        w.IntField(0, code).CString("abc");
        Reader r(w);
        std::string text;
        EXPECT_FALSE(r->ReadStringField(text, 32)) << code;
    }
    PalmFileWriter cut;
    cut.StringField("a string cut short").Truncate(15);
    Reader r(cut);
    std::string text;
    EXPECT_FALSE(r->ReadStringField(text, 32));
}

PmRepeat MakeRepeat(std::int32_t kind)
{
    PmRepeat r;
    r.kind = kind;
    r.interval = 2;
    r.endDate = 1200000000;
    r.firstDayOfWeek = 1;
    switch (kind) {
    case 1:
        r.dayIndex = 3;
        break;
    case 2:
        r.dayIndex = 4;
        r.dayMask = 0x2A;
        break;
    case 3:
        r.dayIndex = 5;
        r.weekIndex = 2;
        break;
    case 4:
        r.dayOfMonth = 17;
        break;
    case 5:
        r.dayOfMonth = 25;
        r.monthIndex = 11;
        break;
    default:
        break;
    }
    return r;
}

void ExpectSameRepeat(const PmRepeat& a, const PmRepeat& b)
{
    EXPECT_EQ(a.kind, b.kind);
    EXPECT_EQ(a.interval, b.interval);
    EXPECT_EQ(a.endDate, b.endDate);
    EXPECT_EQ(a.firstDayOfWeek, b.firstDayOfWeek);
    EXPECT_EQ(a.dayIndex, b.dayIndex);
    EXPECT_EQ(a.dayMask, b.dayMask);
    EXPECT_EQ(a.weekIndex, b.weekIndex);
    EXPECT_EQ(a.monthIndex, b.monthIndex);
    EXPECT_EQ(a.dayOfMonth, b.dayOfMonth);
}

struct RepeatCase
{
    const char* name;
    std::int32_t kind;
    std::uint16_t tag;
    std::vector<std::int32_t> exceptions;
    std::size_t dataBytes; // after the four common values
};

const RepeatCase kRepeatCases[] = {
    {"none", 0, kPmRepeatClassDef, {}, 0},
    {"none_with_exceptions", 0, kPmRepeatClassDef, {1, 2}, 0},
    {"daily", 1, kPmRepeatClassDef, {}, 4},
    {"weekly", 2, kPmRepeatClassDef, {}, 5},
    {"monthly_by_day", 3, kPmRepeatClassDef, {}, 8},
    {"monthly_by_date", 4, kPmRepeatClassDef, {}, 4},
    {"yearly_by_date", 5, kPmRepeatClassDef, {}, 8},
    {"yearly_by_day", 6, kPmRepeatClassDef, {}, 0},
    {"unknown_kind", 9, kPmRepeatClassDef, {}, 0},
    {"back_reference", 2, 0x8001, {}, 5},
    {"back_reference_with_exceptions", 4, 0x8030, {100, 200, 300}, 4},
    {"other_tag_is_a_reference", 5, 0x0007, {}, 8},
};

class RepeatTest : public testing::TestWithParam<RepeatCase>
{
};

TEST_P(RepeatTest, ReadsEveryKindAndTheFieldAfterIt)
{
    const RepeatCase& c = GetParam();
    const PmRepeat repeat = MakeRepeat(c.kind);
    PalmFileWriter w;
    w.RepeatField(repeat, c.tag, c.exceptions).IntField(-99);
    Reader r(w);
    PmRepeat read = MakeRepeat(5); // every field set: the reader must clear them
    ASSERT_TRUE(r->ReadTypedRepeatField(read));
    ExpectSameRepeat(read, c.kind == 0 ? PmRepeat{} : repeat);
    std::int32_t next = 0;
    ASSERT_TRUE(r->ReadIntField(next));
    EXPECT_EQ(next, -99);

    if (c.kind != 0) {
        // Laid out as: type, exception count and dates, marker, class definition, four values.
        const std::size_t classDef =
            c.tag == kPmRepeatClassDef ? 4 + PalmFileWriter::ClassName(c.kind).size() : 0;
        EXPECT_EQ(w.Size(), 4 + 2 + 4 * c.exceptions.size() + 2 + classDef + 16 + c.dataBytes + 8);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, RepeatTest, testing::ValuesIn(kRepeatCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PmDBUtilRepeat, Failures)
{
    struct Case
    {
        const char* name;
        PalmFileWriter writer;
    };
    std::vector<Case> cases;
    {
        PalmFileWriter w;
        w.RepeatField(MakeRepeat(1), kPmRepeatClassDef, {}, 2);
        cases.push_back({"schema_number_not_1", w});
    }
    {
        PalmFileWriter w;
        w.Int32(kPmTypeInteger).RepeatPayload(MakeRepeat(1));
        cases.push_back({"wrong_type_code", w});
    }
    {
        PalmFileWriter w;
        w.Int32(kPmTypeRepeat).UInt16(0xFFFF).Int32(0);
        cases.push_back({"exception_count_beyond_the_file", w});
    }
    {
        PalmFileWriter w;
        w.Int32(kPmTypeRepeat).UInt16(0).UInt16(0xFFFF).UInt16(1).UInt16(5000).Bytes("CWeekly");
        cases.push_back({"class_name_beyond_the_file", w});
    }
    {
        PalmFileWriter w;
        w.RepeatField(MakeRepeat(3));
        w.Truncate(w.Size() - 2);
        cases.push_back({"kind_data_cut", w});
    }
    {
        PalmFileWriter w;
        w.RepeatField(MakeRepeat(2), 0x8001);
        w.Truncate(w.Size() - 1);
        cases.push_back({"day_mask_missing", w});
    }
    for (const Case& c : cases) {
        Reader r(c.writer);
        PmRepeat read;
        EXPECT_FALSE(r->ReadTypedRepeatField(read)) << c.name;
    }
}

TEST(PmDBUtilCategories, NameOfAPlaceInTheTableNeedsTheTable)
{
    class Db : public PmDBUtil
    {
    public:
        void Make()
        {
            m_categories = std::make_unique<PmCategoryMgr>();
            PmCategory c;
            c.SetIndex(1);
            c.SetID(7);
            c.SetName("Business");
            m_categories->Add(c);
        }
    } db;
    std::string name = "x";
    EXPECT_FALSE(db.GetCategoryName(1, name));
    db.Make();
    ASSERT_TRUE(db.GetCategoryName(1, name)); // a record names the place in the table
    EXPECT_EQ(name, "Business");
    EXPECT_FALSE(db.GetCategoryName(7, name)); // not the ID
    EXPECT_FALSE(db.GetCategoryName(2, name));
}

struct AddCase
{
    const char* name;
    std::int32_t index;
    std::int32_t id;
    const char* categoryName;
    bool added;
    std::int32_t indexAfter;
    std::int32_t idAfter;
    const char* nameAfter;
    const char* fileNameAfter;
    bool dirty;
};

// Added to a table that holds "Unfiled" (index 0, ID 0) and "Business" (index 1, ID 5).
const AddCase kAddCases[] = {
    {"given_index_and_id", 3, 9, "Personal", true, 3, 9, "Personal", "Personal", false},
    {"free_index_is_first_empty_slot", -1, 9, "QuickList", true, 2, 9, "QuickList", "QuickList", true},
    {"new_id_is_one_above_the_largest", 4, -1, "Travel", true, 4, 6, "Travel", "Travel", true},
    {"id_taken", 4, 5, "Again", false, 0, 0, "", "", false},
    {"id_0_collides_with_unfiled", 4, 0, "Zero", false, 0, 0, "", "", false},
    {"index_0_replaces_unfiled", 0, 12, "Misc", true, 0, 12, "Misc", "Misc", false},
    {"index_outside_the_slots", 16, 9, "Far", false, 0, 0, "", "", false},
    {"name_cut_to_15", 5, 10, "A name of twenty chr", true, 5, 10, "A name of twent", "A name of twent",
     false},
    {"file_name_characters_replaced", 6, 11, "A/B*C:D?E", true, 6, 11, "A/B*C:D?E", "A_B_C_D_E", false},
    {"every_listed_character", 7, 13, "\"*+,./:;<=>?[\\]", true, 7, 13, "\"*+,./:;<=>?[\\]",
     "_______________", false},
    {"caret_and_bar", 8, 14, "a^b|c-d e", true, 8, 14, "a^b|c-d e", "a_b_c-d e", false},
};

class CategoryAddTest : public testing::TestWithParam<AddCase>
{
};

TEST_P(CategoryAddTest, FollowsTheTableRules)
{
    const AddCase& c = GetParam();
    PmCategoryMgr table;
    PmCategory unfiled;
    unfiled.SetIndex(0);
    unfiled.SetID(0);
    unfiled.SetName("Unfiled");
    ASSERT_TRUE(table.Add(unfiled));
    PmCategory business;
    business.SetIndex(1);
    business.SetID(5);
    business.SetName("Business");
    ASSERT_TRUE(table.Add(business));
    table.SetModified(false);

    PmCategory category;
    category.SetIndex(c.index);
    category.SetID(c.id);
    category.SetName(c.categoryName);
    category.SetFileName("given by the caller");
    ASSERT_EQ(table.Add(category), c.added);
    EXPECT_EQ(table.IsModified(), c.added);
    if (!c.added) {
        EXPECT_EQ(table.GetCount(), 2);
        EXPECT_EQ(table.FindByID(0)->GetName(), "Unfiled");
        return;
    }
    const PmCategory* stored = table.GetByIndex(c.indexAfter);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->GetID(), c.idAfter);
    EXPECT_EQ(stored->GetName(), c.nameAfter);
    EXPECT_EQ(stored->GetFileName(), c.fileNameAfter);
    EXPECT_EQ(stored->IsDirty(), c.dirty);
    EXPECT_EQ(table.FindByID(c.idAfter), stored);
    EXPECT_EQ(table.GetCount(), c.indexAfter == 0 ? 2 : 3);
}

INSTANTIATE_TEST_SUITE_P(Rules, CategoryAddTest, testing::ValuesIn(kAddCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PmCategoryMgrTest, FullTableAndLookups)
{
    PmCategoryMgr table;
    for (int i = 0; i < PmCategoryMgr::kSlots; ++i) {
        PmCategory c;
        c.SetIndex(i);
        c.SetID(100 + i);
        c.SetName("Cat" + std::to_string(i));
        ASSERT_TRUE(table.Add(c)) << i;
    }
    PmCategory extra;
    extra.SetID(999);
    extra.SetName("Extra");
    EXPECT_FALSE(table.Add(extra)) << "16 categories fill the table";
    EXPECT_EQ(table.GetByIndex(-1), nullptr);
    EXPECT_EQ(table.GetByIndex(16), nullptr);
    EXPECT_EQ(table.FindByName("cAT3"), table.GetByIndex(3));
    EXPECT_EQ(table.FindByName(""), nullptr);
    int seen = 0;
    for (const PmCategory* c = table.First(); c != nullptr; c = table.Next()) {
        EXPECT_EQ(c->GetIndex(), seen++);
    }
    EXPECT_EQ(seen, PmCategoryMgr::kSlots);
}

} // namespace
