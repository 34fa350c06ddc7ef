// The native record layouts: field order and sizes, round trips, and reads of damaged files.
#include "lotus/LNRecords.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/TempHome.h"
#include "misc/CxFile.h"

namespace {

// Fills every field of a record with a value of its own, so that a field read into the
// wrong place shows.
void FillDistinct(std::span<const LNFieldDesc> fields, void* rec)
{
    auto* base = static_cast<unsigned char*>(rec);
    int n = 1;
    for (const LNFieldDesc& field : fields) {
        unsigned char* at = base + field.Offset;
        switch (field.Kind) {
        case LNFieldKind::Integer:
        case LNFieldKind::Boolean: {
            const int value = field.Kind == LNFieldKind::Boolean ? 1 : n * 7;
            std::memcpy(at, &value, sizeof value);
            break;
        }
        case LNFieldKind::Date: {
            const double value = 40000.25 + n;
            std::memcpy(at, &value, sizeof value);
            break;
        }
        case LNFieldKind::Text: {
            const std::string text = std::string(field.Name) + "#" + std::to_string(n);
            std::snprintf(reinterpret_cast<char*>(at), static_cast<std::size_t>(field.Capacity), "%s",
                          text.c_str());
            break;
        }
        }
        ++n;
    }
}

struct LayoutCase
{
    const char* name;
    std::span<const LNFieldDesc> (*fields)();
    std::size_t recordSize;
    std::size_t fieldCount; // fields in the file, each double of a group counted
    std::size_t textCapacityTotal;
};

std::size_t TextTotal(std::span<const LNFieldDesc> fields)
{
    std::size_t total = 0;
    for (const LNFieldDesc& field : fields) {
        total += field.Kind == LNFieldKind::Text ? static_cast<std::size_t>(field.Capacity) : 0;
    }
    return total;
}

const LayoutCase kLayouts[] = {
    // 66 texts, 2 integers, 2 dates.
    {"Addr", LNAddrFields, sizeof(LNAddrRec), 70,
     64 * 5 + 256 + 64 * 3 + 256 + 64 * 2 + 128 * 5 + 3 * (256 + 32 * 4) + 32 * 7 + 64 + 256 * 2 + 64 + 256 +
         4096 + 256 + 256 * 10 + 64 * 10},
    // 30 fields, the four kept doubles 11-14 among them.
    {"Date", LNDateFields, sizeof(LNDateRec), 30,
     64 + 256 + 256 + 20480 + 10 + 256 + 64 + 70 + 10 * 4 + 16 + 10 + 16 + 10 + 10},
    {"Task", LNTaskFields, sizeof(LNTaskRec), 20, 64 + 256 + 8192 + 256 + 256 + 36 + 16 + 256 + 256 + 390},
    {"Note", LNNoteFields, sizeof(LNNoteRec), 10, 64 + 256 + 8192 + 256},
};

class LayoutTest : public ::testing::TestWithParam<LayoutCase>
{
protected:
    fwtest::TempHome m_home;
};

TEST_P(LayoutTest, FieldsCoverTheRecordInOrder)
{
    const LayoutCase& c = GetParam();
    const auto fields = c.fields();
    ASSERT_EQ(fields.size(), c.fieldCount);
    EXPECT_STREQ(fields[0].Name, "ChangeMark");
    EXPECT_STREQ(fields[1].Name, "Action");
    EXPECT_STREQ(fields[2].Name, "ItemID");
    EXPECT_EQ(TextTotal(fields), c.textCapacityTotal);
    for (std::size_t i = 1; i < fields.size(); ++i) {
        EXPECT_GT(fields[i].Offset, fields[i - 1].Offset) << fields[i].Name;
    }
    const LNFieldDesc& last = fields.back();
    const std::size_t lastSize = last.Kind == LNFieldKind::Text   ? static_cast<std::size_t>(last.Capacity)
                                 : last.Kind == LNFieldKind::Date ? 8
                                                                  : 4;
    EXPECT_LE(last.Offset + lastSize, c.recordSize);
}

TEST_P(LayoutTest, RecordRoundTripsThroughAFile)
{
    const LayoutCase& c = GetParam();
    std::vector<unsigned char> original(c.recordSize, 0);
    FillDistinct(c.fields(), original.data());
    const std::string path = m_home.Path("rec.dat");
    {
        CxFile file;
        ASSERT_TRUE(file.Open(path.c_str(), "wb"));
        ASSERT_TRUE(SaveLNRecord(file, c.fields(), original.data()));
        ASSERT_TRUE(file.Close());
    }
    std::vector<unsigned char> back(c.recordSize, 0);
    CxFile file;
    ASSERT_TRUE(file.Open(path.c_str(), "rb"));
    EXPECT_TRUE(LoadLNRecord(file, c.fields(), back.data()));
    EXPECT_TRUE(file.AtEnd());
    EXPECT_EQ(0, std::memcmp(original.data(), back.data(), c.recordSize));
}

TEST_P(LayoutTest, RecordCutShortKeepsZerosWhereTheFileEnds)
{
    const LayoutCase& c = GetParam();
    std::vector<unsigned char> original(c.recordSize, 0);
    FillDistinct(c.fields(), original.data());
    const std::string full = m_home.Path("full.dat");
    {
        CxFile file;
        ASSERT_TRUE(file.Open(full.c_str(), "wb"));
        ASSERT_TRUE(SaveLNRecord(file, c.fields(), original.data()));
        ASSERT_TRUE(file.Close());
    }
    // The first two integers and the item identifier, then a few bytes of the next text.
    const std::string bytes = m_home.ReadFile("full.dat");
    const std::size_t keep = 8 + 4 + std::strlen("ItemID#3") + 3;
    const std::string path = m_home.WriteFile("short.dat", bytes.substr(0, keep));

    std::vector<unsigned char> back(c.recordSize, 0);
    CxFile file;
    ASSERT_TRUE(file.Open(path.c_str(), "rb"));
    EXPECT_FALSE(LoadLNRecord(file, c.fields(), back.data()));
    EXPECT_EQ(0, std::memcmp(original.data(), back.data(), c.fields()[3].Offset));
    for (std::size_t i = c.fields()[3].Offset; i < c.recordSize; ++i) {
        ASSERT_EQ(back[i], 0) << "byte " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, LayoutTest, ::testing::ValuesIn(kLayouts),
                         [](const auto& info) { return std::string(info.param.name); });

class RecordFileTest : public ::testing::Test
{
protected:
    // Writes a record file by hand: count, then raw pieces.
    std::string Write(const char* name, int count, const std::string& body)
    {
        std::string bytes(reinterpret_cast<const char*>(&count), 4);
        return m_home.WriteFile(name, bytes + body);
    }
    static std::string Int(int v) { return std::string(reinterpret_cast<const char*>(&v), 4); }
    static std::string Text(const std::string& t) { return Int(static_cast<int>(t.size())) + t; }

    fwtest::TempHome m_home;
};

TEST_F(RecordFileTest, OversizedTextKeepsWhatFitsAndTheNextFieldStaysInPlace)
{
    // Note record: marks, an item identifier of 100 characters (capacity 64), then the title.
    const std::string longId(100, 'x');
    const std::string body = Int(1) + Int(0) + Text(longId) + Text("Title") + Text("Body") + Text("k6") +
                             Int(42) + std::string(24, '\0');
    const std::string path = Write("LNNote.dat", 1, body);
    CxFile file;
    ASSERT_TRUE(file.Open(path.c_str(), "rb"));
    std::vector<LNNoteRec> records;
    EXPECT_TRUE(LoadLNRecordFile(file, records));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(std::string(records[0].ItemID), std::string(63, 'x'));
    EXPECT_STREQ(records[0].Title, "Title");
    EXPECT_STREQ(records[0].Body, "Body");
    EXPECT_EQ(records[0].Kept7, 42);
}

TEST_F(RecordFileTest, DamagedCountsStopAtTheEndOfTheFile)
{
    struct Case
    {
        const char* name;
        int count;
        int records; // full note records in the file
        std::size_t expected;
        bool whole;
    };
    const Case cases[] = {
        {"count beyond the file", 0x7fffffff, 2, 2, false},
        {"negative count", -5, 1, 0, true},
        {"zero count", 0, 1, 0, true},
        {"exact count", 2, 2, 2, true},
    };
    LNNoteRec rec{};
    std::snprintf(rec.Title, sizeof rec.Title, "T");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = m_home.Path("notes.dat");
        {
            CxFile file;
            ASSERT_TRUE(file.Open(path.c_str(), "wb"));
            ASSERT_TRUE(file.WriteInt(c.count));
            for (int i = 0; i < c.records; ++i) {
                ASSERT_TRUE(SaveLNRecord(file, rec));
            }
            ASSERT_TRUE(file.Close());
        }
        CxFile file;
        ASSERT_TRUE(file.Open(path.c_str(), "rb"));
        std::vector<LNNoteRec> records;
        EXPECT_EQ(LoadLNRecordFile(file, records), c.whole);
        EXPECT_EQ(records.size(), c.expected);
    }
}

TEST_F(RecordFileTest, DamagedTextLengthEmptiesTheRestButKeepsTheRecord)
{
    // Title with a length beyond the file: the record keeps its identifier, the rest is zero.
    const std::string body = Int(2) + Int(1) + Text("id-1") + Int(1 << 30) + "abc";
    const std::string path = Write("LNNote.dat", 1, body);
    CxFile file;
    ASSERT_TRUE(file.Open(path.c_str(), "rb"));
    std::vector<LNNoteRec> records;
    EXPECT_FALSE(LoadLNRecordFile(file, records));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].ChangeMark, 2);
    EXPECT_STREQ(records[0].ItemID, "id-1");
    EXPECT_STREQ(records[0].Title, "");
    EXPECT_STREQ(records[0].Body, "");
}

TEST_F(RecordFileTest, MissingCountIsAFailureWithNoRecords)
{
    const std::string path = m_home.WriteFile("empty.dat", "");
    CxFile file;
    ASSERT_TRUE(file.Open(path.c_str(), "rb"));
    std::vector<LNTaskRec> records(3);
    EXPECT_FALSE(LoadLNRecordFile(file, records));
    EXPECT_TRUE(records.empty());
}

TEST_F(RecordFileTest, WholeFileRoundTripsEveryRecordInOrder)
{
    std::vector<LNAddrRec> records(3);
    std::memset(records.data(), 0, records.size() * sizeof(LNAddrRec));
    for (std::size_t i = 0; i < records.size(); ++i) {
        FillDistinct(LNAddrFields(), &records[i]);
        std::memset(records[i].ItemID, 0, sizeof records[i].ItemID);
        std::snprintf(records[i].ItemID, sizeof records[i].ItemID, "item-%zu", i);
    }
    const std::string path = m_home.Path("LNAddr.dat");
    {
        CxFile file;
        ASSERT_TRUE(file.Open(path.c_str(), "wb"));
        ASSERT_TRUE(SaveLNRecordFile(file, std::span<const LNAddrRec>(records)));
        ASSERT_TRUE(file.Close());
    }
    CxFile file;
    ASSERT_TRUE(file.Open(path.c_str(), "rb"));
    std::vector<LNAddrRec> back;
    ASSERT_TRUE(LoadLNRecordFile(file, back));
    ASSERT_EQ(back.size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(0, std::memcmp(&records[i], &back[i], sizeof(LNAddrRec))) << i;
    }
}

TEST_F(RecordFileTest, TextWithoutTerminatorIsWrittenUpToItsCapacity)
{
    LNTaskRec rec{};
    std::memset(rec.Kept16, 'k', sizeof rec.Kept16); // no terminator
    const std::string path = m_home.Path("task.dat");
    {
        CxFile file;
        ASSERT_TRUE(file.Open(path.c_str(), "wb"));
        ASSERT_TRUE(SaveLNRecord(file, rec));
        ASSERT_TRUE(file.Close());
    }
    CxFile file;
    ASSERT_TRUE(file.Open(path.c_str(), "rb"));
    LNTaskRec back{};
    ASSERT_TRUE(LoadLNRecord(file, back));
    EXPECT_EQ(std::string(back.Kept16), std::string(15, 'k'));
    EXPECT_STREQ(back.Kept17, "");
}

} // namespace
