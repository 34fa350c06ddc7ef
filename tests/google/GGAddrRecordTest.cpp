// The Google contact record layout: field order and capacities, round trips, texts cut to
// their capacity, and reads of damaged or short files.
#include "google/GGAddrRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/TempHome.h"
#include "misc/CxFile.h"

namespace {

using Kind = GGAddrValueKind;

struct Expected
{
    const char* name;
    Kind kind;
    int count;
    int capacity;
};

// The record in file order, as the helper reads and writes it.
const Expected kFileOrder[] = {
    {"Kept1", Kind::Integer, 1, 0},
    {"ChangeMark", Kind::Integer, 1, 0},
    {"Action", Kind::Integer, 1, 0},
    {"FirstName", Kind::Text, 1, 64},
    {"MiddleName", Kind::Text, 1, 64},
    {"LastName", Kind::Text, 1, 64},
    {"DisplayName", Kind::Text, 1, 64},
    {"NickName", Kind::Text, 1, 64},
    {"Company", Kind::Text, 1, 64},
    {"JobTitle", Kind::Text, 1, 64},
    {"EmailKinds", Kind::Integer, 5, 0},
    {"Emails", Kind::Text, 5, 64},
    {"PrimaryEmail", Kind::Text, 1, 64},
    {"AddressKinds", Kind::Integer, 5, 0},
    {"FormattedAddresses", Kind::Text, 5, 256},
    {"Cities", Kind::Text, 5, 32},
    {"States", Kind::Text, 5, 16},
    {"Countries", Kind::Text, 5, 16},
    {"PostalCodes", Kind::Text, 5, 32},
    {"Streets", Kind::Text, 5, 128},
    {"POBoxes", Kind::Text, 5, 32},
    {"Neighborhoods", Kind::Text, 5, 64},
    {"PhoneKinds", Kind::Integer, 10, 0},
    {"Phones", Kind::Text, 10, 32},
    {"PrimaryPhone", Kind::Text, 1, 32},
    {"WebSiteKinds", Kind::Integer, 10, 0},
    {"WebSites", Kind::Text, 10, 256},
    {"PrimaryWebSite", Kind::Text, 1, 256},
    {"IMKinds", Kind::Integer, 10, 0},
    {"IMs", Kind::Text, 10, 64},
    {"PrimaryIM", Kind::Text, 1, 64},
    {"CustomLabels", Kind::Text, 10, 64},
    {"CustomFields", Kind::Text, 10, 64},
    {"DateKinds", Kind::Integer, 5, 0},
    {"Dates", Kind::Date, 5, 0},
    {"RelationKinds", Kind::Integer, 20, 0},
    {"Relations", Kind::Text, 20, 64},
    {"Kept38", Kind::Text, 1, 4096},
    {"Note", Kind::Text, 1, 10240},
    {"Category", Kind::Text, 1, 256},
    {"CreationTime", Kind::Date, 1, 0},
    {"LastModificationTime", Kind::Date, 1, 0},
};

TEST(GGAddrLayoutTest, FieldsAreTheRecordFileInOrder)
{
    const auto layout = GGAddrLayout();
    ASSERT_EQ(layout.size(), std::size(kFileOrder));
    for (std::size_t i = 0; i < layout.size(); ++i) {
        SCOPED_TRACE(kFileOrder[i].name);
        EXPECT_STREQ(layout[i].Name, kFileOrder[i].name);
        EXPECT_EQ(layout[i].Kind, kFileOrder[i].kind);
        EXPECT_EQ(layout[i].Count, kFileOrder[i].count);
        if (kFileOrder[i].kind == Kind::Text) {
            EXPECT_EQ(layout[i].Capacity, kFileOrder[i].capacity);
            EXPECT_EQ(layout[i].Stride, static_cast<std::size_t>(kFileOrder[i].capacity));
        }
        if (i > 0) {
            EXPECT_GT(layout[i].Offset, layout[i - 1].Offset);
        }
        EXPECT_LE(layout[i].Offset + layout[i].Stride * static_cast<std::size_t>(layout[i].Count),
                  sizeof(GGAddrRec));
    }
}

// Every value of a record gets a value of its own, so that one read into the wrong place
// shows; texts fill their capacity but for the terminator.
std::unique_ptr<GGAddrRec> Distinct()
{
    auto rec = std::make_unique<GGAddrRec>();
    auto* base = reinterpret_cast<unsigned char*>(rec.get());
    int n = 1;
    for (const GGAddrLayoutField& field : GGAddrLayout()) {
        for (int i = 0; i < field.Count; ++i, ++n) {
            unsigned char* at = base + field.Offset + static_cast<std::size_t>(i) * field.Stride;
            if (field.Kind == Kind::Integer) {
                const int value = n * 7;
                std::memcpy(at, &value, sizeof value);
            } else if (field.Kind == Kind::Date) {
                const double value = 40000.25 + n;
                std::memcpy(at, &value, sizeof value);
            } else {
                std::string text = std::string(field.Name) + "#" + std::to_string(n);
                text.resize(static_cast<std::size_t>(field.Capacity) - 1, static_cast<char>('a' + n % 26));
                std::memcpy(at, text.c_str(), text.size() + 1);
            }
        }
    }
    return rec;
}

class GGAddrRecordTest : public ::testing::Test
{
protected:
    std::string Save(const char* name, const std::vector<GGAddrRec>& records)
    {
        const std::string path = m_home.Path(name);
        CxFile file;
        EXPECT_TRUE(file.Open(path.c_str(), "wb"));
        EXPECT_TRUE(SaveGGAddrRecordFile(file, records));
        EXPECT_TRUE(file.Close());
        return path;
    }

    fwtest::TempHome m_home;
};

TEST_F(GGAddrRecordTest, RecordsRoundTripThroughAFile)
{
    const auto first = Distinct();
    GGAddrRec second{};
    std::strcpy(second.FirstName, "Ada");
    second.PhoneKinds[9] = GGPhoneOther;
    std::strcpy(second.Phones[9], "555");
    second.Dates[4] = -1.5;
    const std::string path = Save("GAddr.dat", {*first, second});

    std::vector<GGAddrRec> back;
    CxFile file;
    ASSERT_TRUE(file.Open(path.c_str(), "rb"));
    ASSERT_TRUE(LoadGGAddrRecordFile(file, back));
    EXPECT_TRUE(file.AtEnd());
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(0, std::memcmp(&back[0], first.get(), sizeof(GGAddrRec)));
    EXPECT_EQ(0, std::memcmp(&back[1], &second, sizeof(GGAddrRec)));
}

TEST_F(GGAddrRecordTest, TextsAreCutToTheirCapacity)
{
    // A record whose every text is longer than its field, as a careless writer might store it.
    const std::string path = m_home.Path("long.dat");
    {
        CxFile file;
        ASSERT_TRUE(file.Open(path.c_str(), "wb"));
        for (const GGAddrLayoutField& field : GGAddrLayout()) {
            for (int i = 0; i < field.Count; ++i) {
                if (field.Kind == Kind::Integer) {
                    ASSERT_TRUE(file.WriteInt(i + 1));
                } else if (field.Kind == Kind::Date) {
                    ASSERT_TRUE(file.WriteDouble(i + 0.5));
                } else {
                    ASSERT_TRUE(
                        file.WriteString(std::string(static_cast<std::size_t>(field.Capacity) + 9, 'x')));
                }
            }
        }
        ASSERT_TRUE(file.WriteInt(77)); // what follows the record is still read from its place
        ASSERT_TRUE(file.Close());
    }
    auto rec = std::make_unique<GGAddrRec>();
    CxFile file;
    ASSERT_TRUE(file.Open(path.c_str(), "rb"));
    ASSERT_TRUE(LoadGGAddrRecord(file, *rec));
    int after = 0;
    ASSERT_TRUE(file.ReadInt(&after));
    EXPECT_EQ(after, 77);

    EXPECT_EQ(std::string(rec->FirstName), std::string(63, 'x'));
    EXPECT_EQ(std::string(rec->States[4]), std::string(15, 'x'));
    EXPECT_EQ(std::string(rec->Streets[0]), std::string(127, 'x'));
    EXPECT_EQ(std::string(rec->Relations[19]), std::string(63, 'x'));
    EXPECT_EQ(std::string(rec->Note), std::string(10239, 'x'));
    EXPECT_EQ(rec->RelationKinds[19], 20);
    EXPECT_EQ(rec->Dates[4], 4.5);
    EXPECT_EQ(rec->LastModificationTime, 0.5);

    // A buffer filled to its end without a terminator is written up to its capacity less one.
    std::memset(rec->Category, 'c', sizeof rec->Category);
    const std::string again = m_home.Path("again.dat");
    {
        CxFile out;
        ASSERT_TRUE(out.Open(again.c_str(), "wb"));
        ASSERT_TRUE(SaveGGAddrRecord(out, *rec));
        ASSERT_TRUE(out.Close());
    }
    auto back = std::make_unique<GGAddrRec>();
    CxFile in;
    ASSERT_TRUE(in.Open(again.c_str(), "rb"));
    ASSERT_TRUE(LoadGGAddrRecord(in, *back));
    EXPECT_EQ(std::string(back->Category), std::string(255, 'c'));
}

TEST_F(GGAddrRecordTest, RecordCutShortKeepsZerosWhereTheFileEnds)
{
    const auto original = Distinct();
    Save("full.dat", {*original});
    const std::string bytes = m_home.ReadFile("full.dat");
    // The count, the three integers and the first name, then a few bytes of the middle name.
    const std::size_t keep = 4 + 12 + 4 + 63 + 5;
    const std::string path = m_home.WriteFile("short.dat", bytes.substr(0, keep));

    std::vector<GGAddrRec> back;
    CxFile file;
    ASSERT_TRUE(file.Open(path.c_str(), "rb"));
    EXPECT_FALSE(LoadGGAddrRecordFile(file, back));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].Action, original->Action);
    EXPECT_STREQ(back[0].FirstName, original->FirstName);
    const auto* bytesBack = reinterpret_cast<const unsigned char*>(&back[0]);
    for (std::size_t i = offsetof(GGAddrRec, MiddleName); i < sizeof(GGAddrRec); ++i) {
        ASSERT_EQ(bytesBack[i], 0) << "byte " << i;
    }
}

TEST_F(GGAddrRecordTest, CountsThatPromiseMoreOrLessThanTheFileHolds)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        bool whole;
        std::size_t records;
    };
    GGAddrRec one{};
    std::strcpy(one.LastName, "Lovelace");
    Save("one.dat", {one});
    const std::string oneFile = m_home.ReadFile("one.dat");
    auto withCount = [&](int count) {
        std::string bytes = oneFile;
        std::memcpy(bytes.data(), &count, sizeof count);
        return bytes;
    };
    const Case cases[] = {
        {"empty file", "", false, 0},
        {"no records", std::string(4, '\0'), true, 0},
        {"negative count", withCount(-3).substr(0, 4), true, 0},
        {"count beyond the file", withCount(1000000), false, 1},
        {"exact", oneFile, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = m_home.WriteFile("case.dat", c.bytes);
        std::vector<GGAddrRec> back;
        CxFile file;
        ASSERT_TRUE(file.Open(path.c_str(), "rb"));
        EXPECT_EQ(LoadGGAddrRecordFile(file, back), c.whole);
        ASSERT_EQ(back.size(), c.records);
        if (c.records > 0) {
            EXPECT_STREQ(back[0].LastName, "Lovelace");
        }
    }
}

} // namespace
