// Outlook tasks and notes to and from the common records: the code tables, the due-date window,
// dates a time value cannot hold, and the note's derived title.
#include "outlook/OlTaskConvert.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/PinnedLocale.h"
#include "misc/DateUtil.h"
#include "platform/OleDate.h"

namespace {

double Ole(int year, int month, int day)
{
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = 12;
    double date = 0;
    EXPECT_TRUE(platform::SystemTimeToVariantTime(&time, &date));
    return date;
}

class OlTaskConvertTest : public testing::Test
{
    fwtest::PinnedLocale m_locale;
};

TEST_F(OlTaskConvertTest, CodeTablesBothWays)
{
    struct Case
    {
        std::int32_t importance, sensitivity, status, response;
        std::int32_t priority, commonSensitivity, isPrivate, taskStatus, commonResponse;
        std::int32_t backImportance, backSensitivity;
    };
    const Case cases[] = {
        {2, 0, 3, 1, 1, 0, 0, 3, 1, 2, 0},
        {1, 2, 2, 0, 0, 2, 1, 2, 0, 1, 2},
        {0, 1, 4, 3, 2, 1, 1, 4, 3, 0, 1},
        {7, 9, 9, 9, 0, 0, 0, 0, 0, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "importance " << c.importance << ", sensitivity " << c.sensitivity);
        OlTaskRec native{};
        native.Importance = c.importance;
        native.Sensitivity = c.sensitivity;
        native.Status = c.status;
        native.ResponseState = c.response;
        CommTaskRec rec{};
        FromNative(native, rec);
        EXPECT_EQ(rec.Priority, c.priority);
        EXPECT_EQ(rec.Sensitivity, c.commonSensitivity);
        EXPECT_EQ(rec.Private, c.isPrivate);
        EXPECT_EQ(rec.TaskStatus, c.taskStatus);
        EXPECT_EQ(rec.ResponseState, c.commonResponse);
        EXPECT_EQ(rec.SourceType, 3);
        EXPECT_EQ(rec.Recurrence.Kind, 0);

        OlTaskRec back{};
        ToNative(rec, back);
        EXPECT_EQ(back.Importance, c.backImportance);
        EXPECT_EQ(back.Sensitivity, c.backSensitivity);
    }

    CommTaskRec privateTask{};
    privateTask.Private = 1;
    OlTaskRec written{};
    ToNative(privateTask, written);
    EXPECT_EQ(written.Sensitivity, 2);
}

TEST_F(OlTaskConvertTest, DatesAreTimeValuesAndOnlyWindowedDueDatesAreWritten)
{
    struct Case
    {
        const char* name;
        double outlook;
        bool hasTimeValue;
    };
    const Case cases[] = {
        {"a date", Ole(2025, 6, 15), true},
        {"none", 0.0, false},
        {"Outlook's no date", Ole(4501, 1, 1), false},
        {"past 2038", Ole(2040, 1, 1), false},
        {"before 1970", Ole(1960, 1, 1), true},
        {"before 1901", Ole(1890, 1, 1), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OlTaskRec native{};
        native.DueDate = c.outlook;
        native.StartDate = c.outlook;
        native.ReminderTime = c.outlook;
        CommTaskRec rec{};
        FromNative(native, rec);
        EXPECT_EQ(rec.DueDate != 0, c.hasTimeValue);
        EXPECT_EQ(rec.StartDate, rec.DueDate);
        EXPECT_EQ(rec.ReminderTime, rec.DueDate);
        EXPECT_NE(rec.DueDate, -1);
    }

    struct Due
    {
        double date;
        bool written;
    };
    for (const Due& due : {Due{Ole(2025, 6, 15), false}, Due{Ole(2020, 12, 31), true},
                           Due{Ole(2000, 1, 1), true}, Due{0.0, false}}) {
        SCOPED_TRACE(due.date);
        OlTaskRec native{};
        native.DueDate = due.date;
        CommTaskRec rec{};
        FromNative(native, rec);
        OlTaskRec back{};
        ToNative(rec, back);
        EXPECT_EQ(back.DueDate != 0, due.written);
        if (due.written) {
            EXPECT_NEAR(back.DueDate, due.date, 1.0 / 86400);
        }
    }
}

TEST_F(OlTaskConvertTest, TextsAndFlags)
{
    OlTaskRec native{};
    std::strcpy(native.Subject, "Steuererklärung");
    std::memset(native.Mileage, 'm', 100);
    std::memset(native.CardData, 'c', 255);
    std::strcpy(native.Role, "Owner");
    native.ReminderSet = 1;
    native.Complete = 1;
    native.PercentComplete = 100;
    native.TotalWork = 90;
    CommTaskRec rec{};
    FromNative(native, rec);
    EXPECT_STREQ(rec.Subject, "Steuererklärung");
    EXPECT_EQ(std::strlen(rec.Mileage), 31u);
    EXPECT_EQ(std::strlen(rec.CardData), 254u);
    EXPECT_STREQ(rec.Role, "Owner");
    EXPECT_EQ(rec.ReminderSet, 1);
    EXPECT_EQ(rec.AlarmSet, 1);
    EXPECT_EQ(rec.Completed, 1);
    EXPECT_EQ(rec.PercentComplete, 100);
    EXPECT_EQ(rec.TotalWork, 90);

    CommTaskRec alarmOnly{};
    alarmOnly.AlarmSet = 1;
    alarmOnly.Recurrence.Kind = 2;
    alarmOnly.Recurrence.Interval = 1;
    alarmOnly.Recurrence.DayOfWeekMask = 4;
    OlTaskRec back{};
    ToNative(alarmOnly, back);
    EXPECT_EQ(back.ReminderSet, 1);
    EXPECT_EQ(back.RecurrenceType, 1);
    EXPECT_EQ(back.DayOfWeekMask, 4);
    CommTaskRec plain{};
    ToNative(plain, back);
    EXPECT_EQ(back.RecurrenceType, -1);
}

TEST_F(OlTaskConvertTest, NotesKeepTheirDerivedTitleColourAndShortEntryId)
{
    OlNoteRec native{};
    std::strcpy(native.Subject, "Einkauf");
    std::strcpy(native.Body, "Einkauf\r\nMilch, Brot");
    std::strcpy(native.Categories, "Haushalt");
    std::strcpy(native.EntryID, "000000001A447390AA6611CD9BC800AA002FC45A0900ABCD");
    native.Color = 3;
    native.CreationTime = 45000.5;
    CommNoteRec rec{};
    FromNative(native, rec);
    EXPECT_STREQ(rec.Title, "Einkauf");
    EXPECT_STREQ(rec.Body, "Einkauf\r\nMilch, Brot");
    EXPECT_STREQ(rec.Categories, "Haushalt");
    EXPECT_STREQ(rec.EntryId, "000000001A447390AA6611CD9BC800");
    EXPECT_EQ(rec.Color, 3);
    EXPECT_EQ(rec.CreationTime, 45000.5);
    EXPECT_EQ(rec.SourceType, 3);

    OlNoteRec back{};
    ToNative(rec, back);
    EXPECT_STREQ(back.Body, rec.Body);
    EXPECT_EQ(back.Color, 3);
}

} // namespace
