// The record files of the Google calendar exchange: "GDate.dat" events and "GCal.dat"
// calendar definitions, field by field in file order, and files that end early.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/TempHome.h"
#include "google/GGDateRecord.h"
#include "misc/CommRecords.h"
#include "misc/CxFile.h"

namespace {

GDateRec Filled(int seed)
{
    GDateRec rec;
    std::memset(&rec, 0, sizeof rec);
    int next = seed;
    double date = 41000.25 + seed;
    for (const GDateFieldDesc& field : GDateFields()) {
        char* at = reinterpret_cast<char*>(&rec) + field.Offset;
        switch (field.Kind) {
        case GDateFieldKind::Integer:
        case GDateFieldKind::Boolean: { // the calendar layouts have no flags
            const int value = ++next;
            std::memcpy(at, &value, sizeof value);
            break;
        }
        case GDateFieldKind::Date:
            date += 1.5;
            std::memcpy(at, &date, sizeof date);
            break;
        case GDateFieldKind::Text:
            std::snprintf(at, static_cast<std::size_t>(field.Capacity), "%s-%d", field.Name, seed);
            break;
        }
    }
    return rec;
}

GCalRec Calendar(const char* id, const char* zone)
{
    GCalRec rec;
    std::memset(&rec, 0, sizeof rec);
    CopyText(rec.CalendarID, id);
    CopyText(rec.Title, std::string("Title of ") + id);
    CopyText(rec.Summary, "Summary");
    CopyText(rec.TimeZone, zone);
    return rec;
}

class GGDateRecordTest : public ::testing::Test
{
protected:
    std::string Path(const char* name) const { return m_home.Path(name); }
    fwtest::TempHome m_home;
};

TEST_F(GGDateRecordTest, AnEventIsWrittenInTheOrderOfItsFields)
{
    GDateRec rec;
    std::memset(&rec, 0, sizeof rec);
    rec.Kept1 = 7;
    rec.ChangeMark = 2;
    rec.Action = 1;
    CopyText(rec.Kept4, "k4");
    CopyText(rec.Subject, "Standup");
    CopyText(rec.Location, "Room 1");
    rec.Start = 41334.375;
    rec.End = 41334.4166;
    rec.Kept9 = 9;
    rec.AttrB = 1;
    rec.AttrA = 2;
    rec.ReminderCount = 2;
    rec.ReminderMethods[0] = 1;
    rec.ReminderMethods[2] = 1;
    rec.ReminderAmounts[0] = 10;
    rec.ReminderAmounts[1] = 20;
    rec.ReminderAmounts[2] = 30;
    rec.ReminderUnits[0] = 0;
    rec.ReminderUnits[1] = 1;
    rec.ReminderUnits[2] = 3;
    CopyText(rec.Recurrence, "RRULE:FREQ=DAILY;INTERVAL=1");
    rec.RepeatKind = 1;
    rec.HasEnd = 1;
    rec.PatternStart = 41334.0;
    rec.PatternEnd = 41400.0;
    rec.Interval = 1;
    rec.DayOfWeekMask = 34;
    rec.DayOfMonth = 15;
    rec.MonthOfYear = 3;
    rec.Instance = 5;
    CopyText(rec.Kept26, "k26");
    CopyText(rec.Calendar, "work@group");
    CopyText(rec.Body, "line 1\r\nline 2");
    CopyText(rec.Categories, "Business");
    rec.Kept30 = 1.5;
    rec.Kept31 = 2.5;
    {
        CxFile file;
        ASSERT_TRUE(file.Open(Path("one.dat").c_str(), "wb"));
        ASSERT_TRUE(SaveGDateRecord(file, rec));
        ASSERT_TRUE(file.Close());
    }
    CxFile file;
    ASSERT_TRUE(file.Open(Path("one.dat").c_str(), "rb"));
    const auto integer = [&] {
        int value = -1;
        EXPECT_TRUE(file.ReadInt(&value));
        return value;
    };
    const auto date = [&] {
        double value = -1;
        EXPECT_TRUE(file.ReadDouble(&value));
        return value;
    };
    const auto text = [&] {
        std::string value;
        EXPECT_TRUE(file.ReadString(value));
        return value;
    };
    EXPECT_EQ(integer(), 7);
    EXPECT_EQ(integer(), 2);
    EXPECT_EQ(integer(), 1);
    EXPECT_EQ(text(), "k4");
    EXPECT_EQ(text(), "Standup");
    EXPECT_EQ(text(), "Room 1");
    EXPECT_EQ(date(), 41334.375);
    EXPECT_EQ(date(), 41334.4166);
    EXPECT_EQ(integer(), 9);
    EXPECT_EQ(integer(), 1); // attribute B
    EXPECT_EQ(integer(), 2); // attribute A
    EXPECT_EQ(integer(), 2);
    for (int expected : {1, 0, 1, 10, 20, 30, 0, 1, 3}) {
        EXPECT_EQ(integer(), expected);
    }
    EXPECT_EQ(text(), "RRULE:FREQ=DAILY;INTERVAL=1");
    EXPECT_EQ(integer(), 1);
    EXPECT_EQ(integer(), 1);
    EXPECT_EQ(date(), 41334.0);
    EXPECT_EQ(date(), 41400.0);
    for (int expected : {1, 34, 15, 3, 5}) {
        EXPECT_EQ(integer(), expected);
    }
    EXPECT_EQ(text(), "k26");
    EXPECT_EQ(text(), "work@group");
    EXPECT_EQ(text(), "line 1\r\nline 2");
    EXPECT_EQ(text(), "Business");
    EXPECT_EQ(date(), 1.5);
    EXPECT_EQ(date(), 2.5);
    EXPECT_TRUE(file.AtEnd());
}

TEST_F(GGDateRecordTest, EventFilesAndDefinitionFilesReadBackAsWritten)
{
    const std::vector<GDateRec> events = {Filled(1), Filled(2), Filled(3)};
    const std::vector<GCalRec> calendars = {Calendar("me@example.com", "Europe/London"),
                                            Calendar("team@group", "Asia/Tokyo")};
    {
        CxFile file;
        ASSERT_TRUE(file.Open(Path("GDate.dat").c_str(), "wb"));
        ASSERT_TRUE(SaveGDateRecordFile(file, events));
        ASSERT_TRUE(file.Close());
        ASSERT_TRUE(file.Open(Path("GCal.dat").c_str(), "wb"));
        ASSERT_TRUE(SaveGCalRecordFile(file, calendars));
        ASSERT_TRUE(file.Close());
    }
    std::vector<GDateRec> readEvents;
    std::vector<GCalRec> readCalendars;
    CxFile file;
    ASSERT_TRUE(file.Open(Path("GDate.dat").c_str(), "rb"));
    ASSERT_TRUE(LoadGDateRecordFile(file, readEvents));
    file.Close();
    ASSERT_TRUE(file.Open(Path("GCal.dat").c_str(), "rb"));
    ASSERT_TRUE(LoadGCalRecordFile(file, readCalendars));
    ASSERT_EQ(readEvents.size(), events.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(std::memcmp(&readEvents[i], &events[i], sizeof(GDateRec)), 0) << i;
    }
    ASSERT_EQ(readCalendars.size(), 2u);
    EXPECT_STREQ(readCalendars[1].CalendarID, "team@group");
    EXPECT_STREQ(readCalendars[1].Title, "Title of team@group");
    EXPECT_STREQ(readCalendars[1].Summary, "Summary");
    EXPECT_STREQ(readCalendars[1].TimeZone, "Asia/Tokyo");
}

TEST_F(GGDateRecordTest, TextsKeepWhatFitsTheirCapacity)
{
    CxFile file;
    ASSERT_TRUE(file.Open(Path("long.dat").c_str(), "wb"));
    ASSERT_TRUE(file.WriteString(std::string(300, 'C')));
    ASSERT_TRUE(file.WriteString(std::string(2000, 'T')));
    ASSERT_TRUE(file.WriteString("S"));
    ASSERT_TRUE(file.WriteString(std::string(400, 'Z')));
    ASSERT_TRUE(file.Close());
    ASSERT_TRUE(file.Open(Path("long.dat").c_str(), "rb"));
    GCalRec rec;
    std::memset(&rec, 0, sizeof rec);
    EXPECT_TRUE(LoadGCalRecord(file, rec));
    EXPECT_EQ(std::string(rec.CalendarID), std::string(255, 'C'));
    EXPECT_EQ(std::string(rec.Title), std::string(1023, 'T'));
    EXPECT_STREQ(rec.Summary, "S");
    EXPECT_EQ(std::string(rec.TimeZone), std::string(255, 'Z'));
}

TEST_F(GGDateRecordTest, FilesThatEndEarlyKeepWhatTheyHold)
{
    // Two events promised, one and a half there; then a count far beyond the file.
    {
        CxFile file;
        ASSERT_TRUE(file.Open(Path("short.dat").c_str(), "wb"));
        ASSERT_TRUE(file.WriteInt(2));
        ASSERT_TRUE(SaveGDateRecord(file, Filled(5)));
        ASSERT_TRUE(file.WriteInt(11));
        ASSERT_TRUE(file.WriteInt(2));
        ASSERT_TRUE(file.WriteInt(1));
        ASSERT_TRUE(file.WriteString("k4"));
        ASSERT_TRUE(file.WriteString("Half"));
        ASSERT_TRUE(file.Close());
        ASSERT_TRUE(file.Open(Path("count.dat").c_str(), "wb"));
        ASSERT_TRUE(file.WriteInt(2000000000));
        ASSERT_TRUE(SaveGCalRecord(file, Calendar("only", "UTC")));
        ASSERT_TRUE(file.Close());
        ASSERT_TRUE(file.Open(Path("negative.dat").c_str(), "wb"));
        ASSERT_TRUE(file.WriteInt(-3));
        ASSERT_TRUE(file.Close());
    }
    std::vector<GDateRec> events;
    CxFile file;
    ASSERT_TRUE(file.Open(Path("short.dat").c_str(), "rb"));
    EXPECT_FALSE(LoadGDateRecordFile(file, events));
    ASSERT_EQ(events.size(), 2u);
    const GDateRec first = Filled(5);
    EXPECT_EQ(std::memcmp(&events[0], &first, sizeof(GDateRec)), 0);
    EXPECT_EQ(events[1].Kept1, 11);
    EXPECT_STREQ(events[1].Subject, "Half");
    EXPECT_STREQ(events[1].Location, "");
    EXPECT_EQ(events[1].Start, 0.0);
    EXPECT_EQ(events[1].Kept31, 0.0);
    file.Close();

    std::vector<GCalRec> calendars;
    ASSERT_TRUE(file.Open(Path("count.dat").c_str(), "rb"));
    EXPECT_FALSE(LoadGCalRecordFile(file, calendars));
    ASSERT_EQ(calendars.size(), 1u);
    EXPECT_STREQ(calendars[0].TimeZone, "UTC");
    file.Close();

    ASSERT_TRUE(file.Open(Path("negative.dat").c_str(), "rb"));
    EXPECT_TRUE(LoadGCalRecordFile(file, calendars));
    EXPECT_TRUE(calendars.empty());
}

TEST(GGDateRecord, FieldTextsForTheRecordDetails)
{
    GDateRec rec = Filled(0);
    rec.Start = 41334.375;
    const auto fields = GDateFields();
    EXPECT_EQ(GDateFieldText(fields[4], &rec), "Subject-0");
    EXPECT_STREQ(fields[6].Name, "Start");
    EXPECT_EQ(GDateFieldText(fields[6], &rec), "41334.375000");
    EXPECT_STREQ(fields[1].Name, "ChangeMark");
    EXPECT_EQ(GDateFieldText(fields[1], &rec), std::to_string(rec.ChangeMark));
}

} // namespace
