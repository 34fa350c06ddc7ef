// The ACT! conversions: phones and streets joined and split, the repeat table both ways,
// priorities, and each kind of record to the common record and back.
#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>

#include "ACT/ACTConvert.h"
#include "ACT/ACTFieldTable.h"
#include "platform/OleDate.h"

namespace {

struct PhoneCase
{
    const char* text;
    const char* number;
    const char* extension;
    bool joinGivesText; // joining number and extension gives text back
};

void PrintTo(const PhoneCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

const PhoneCase kPhoneCases[] = {
    {"555-1234x12", "555-1234", "12", true},
    {"555-1234", "555-1234", "", true},
    {"555-1234 x12", "555-1234", "12", false}, // the blank before the "x" is dropped
    {"555-1234   x12", "555-1234", "12", false},
    {"x12", "", "12", true}, // begins with "x": no number
    {"", "", "", true},
    {"1x2x3", "1", "2x3", true}, // the first "x" splits
    {"555-1234x", "555-1234", "", false},
    {"+49 30 1234", "+49 30 1234", "", true},
};

class ACTPhoneTest : public ::testing::TestWithParam<PhoneCase>
{
};

TEST_P(ACTPhoneTest, SplitsAndJoins)
{
    const PhoneCase& c = GetParam();
    std::string number = "stale";
    std::string extension = "stale";
    SplitACTPhone(c.text, number, extension);
    EXPECT_EQ(number, c.number);
    EXPECT_EQ(extension, c.extension);
    const std::string joined = JoinACTPhone(number, extension);
    if (c.joinGivesText) {
        EXPECT_EQ(joined, c.text);
    }
    // What the join writes always splits back into the same two parts.
    std::string again;
    std::string againExtension;
    SplitACTPhone(joined, again, againExtension);
    EXPECT_EQ(again, number);
    EXPECT_EQ(againExtension, extension);
}

INSTANTIATE_TEST_SUITE_P(Cases, ACTPhoneTest, ::testing::ValuesIn(kPhoneCases));

struct StreetCase
{
    const char* street;
    const char* lines[3];
    bool joinGivesStreet;
};

void PrintTo(const StreetCase& c, std::ostream* os)
{
    *os << '"' << c.street << '"';
}

const StreetCase kStreetCases[] = {
    {"A", {"A", "", ""}, true},
    {"A\r\nB", {"A", "B", ""}, true},
    {"A\r\nB\r\nC", {"A", "B", "C"}, true},
    {"A\r\nB\r\nC\r\nD", {"A", "B", "C\r\nD"}, true}, // the rest stays with line 3
    {"", {"", "", ""}, true},
    {"A\nB", {"A\nB", "", ""}, true}, // only CR LF breaks a line
    {"A\r\n\r\nC", {"A", "", "C"}, false},
};

class ACTStreetTest : public ::testing::TestWithParam<StreetCase>
{
};

TEST_P(ACTStreetTest, SplitsAndJoins)
{
    const StreetCase& c = GetParam();
    std::string lines[3] = {"x", "y", "z"};
    SplitACTStreet(c.street, lines[0], lines[1], lines[2]);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(lines[i], c.lines[i]) << "line " << i + 1;
    }
    if (c.joinGivesStreet) {
        EXPECT_EQ(JoinACTStreet(lines[0], lines[1], lines[2]), c.street);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ACTStreetTest, ::testing::ValuesIn(kStreetCases));

TEST(ACTStreetJoinTest, EmptyLinesAreLeftOut)
{
    EXPECT_EQ(JoinACTStreet("A", "", "C"), "A\r\nC");
    EXPECT_EQ(JoinACTStreet("", "B", ""), "B");
    EXPECT_EQ(JoinACTStreet("", "", ""), "");
}

TEST(ACTPriorityTest, BothWays)
{
    struct Case
    {
        int act;
        int common;
    };
    for (const Case c : {Case{0, 1}, Case{1, 0}, Case{2, 2}}) {
        EXPECT_EQ(ACTPriorityToComm(c.act), c.common) << c.act;
        EXPECT_EQ(CommPriorityToACT(c.common), c.act) << c.common;
    }
    EXPECT_EQ(ACTPriorityToComm(7), 0);
    EXPECT_EQ(ACTPriorityToComm(-1), 0);
    EXPECT_EQ(CommPriorityToACT(5), 1);
}

// One row of the repeat table: the common rule and the native repeat fields.
struct RepeatCase
{
    const char* name;
    int kind, interval, mask, dayOfMonth, month, instance;
    int value, type, nInterval, nInstance, nMonth, frequency;
};

void PrintTo(const RepeatCase& c, std::ostream* os)
{
    *os << c.name;
}

const RepeatCase kRepeatCases[] = {
    {"None", 0, 0, 0, 0, 0, 0, /**/ 0, 0, 0, 0, 0, 0},
    {"Daily", 1, 2, 0, 0, 0, 0, /**/ 1, 3, 2, 0, 0, 1},
    {"Weekly", 2, 1, 0x2A, 0, 0, 0, /**/ 0x2A, 2, 1, 0, 0, 2},
    {"MonthlyWeekday", 3, 1, 0x02, 0, 0, 2, /**/ 0x02, 2, 1, 2, 0, 3},
    {"MonthlyDate", 4, 3, 0, 15, 0, 0, /**/ 15, 1, 3, 0, 0, 3},
    {"YearlyWeekday", 5, 1, 0x10, 0, 11, 4, /**/ 0x10, 3, 1, 4, 11, 4},
    {"YearlyDate", 6, 1, 0, 24, 12, 0, /**/ 24, 1, 1, 0, 12, 4},
};

class ACTRepeatTest : public ::testing::TestWithParam<RepeatCase>
{
};

TEST_P(ACTRepeatTest, CommonToNative)
{
    const RepeatCase& c = GetParam();
    CommDateRec rec{};
    rec.Recurrence = RecurrenceRule{};
    rec.Recurrence.Kind = c.kind;
    rec.Recurrence.Interval = c.interval;
    rec.Recurrence.DayOfWeekMask = c.mask;
    rec.Recurrence.DayOfMonth = c.dayOfMonth;
    rec.Recurrence.MonthOfYear = c.month;
    rec.Recurrence.Instance = c.instance;
    ACTDateRec native{};
    native.RepeatEnd = 40000; // an earlier version's end
    CommToACTDate(rec, native);
    EXPECT_EQ(native.RepeatValue, c.value);
    EXPECT_EQ(native.RepeatType, c.type);
    EXPECT_EQ(native.RepeatInterval, c.nInterval);
    EXPECT_EQ(native.RepeatInstance, c.nInstance);
    EXPECT_EQ(native.RepeatMonth, c.nMonth);
    EXPECT_EQ(native.RepeatFrequency, c.frequency);
    EXPECT_EQ(native.RepeatEnd, 0.0);
}

TEST_P(ACTRepeatTest, NativeToCommon)
{
    const RepeatCase& c = GetParam();
    ACTDateRec native{};
    native.RepeatValue = c.value;
    native.RepeatType = c.type;
    native.RepeatInterval = c.nInterval;
    native.RepeatInstance = c.nInstance;
    native.RepeatMonth = c.nMonth;
    native.RepeatFrequency = c.frequency;
    CommDateRec rec{};
    ACTDateToComm(native, rec);
    const RecurrenceRule& rule = rec.Recurrence;
    EXPECT_EQ(rule.Kind, c.kind);
    if (c.kind == 0) {
        return;
    }
    EXPECT_EQ(rule.Interval, c.interval);
    EXPECT_EQ(rule.DayOfWeekMask, c.kind == 2 || c.kind == 3 || c.kind == 5 ? c.mask : 0);
    EXPECT_EQ(rule.DayOfMonth, c.dayOfMonth);
    EXPECT_EQ(rule.MonthOfYear, c.month);
    EXPECT_EQ(rule.Instance, c.instance);
    EXPECT_FALSE(rule.HasEnd);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ACTRepeatTest, ::testing::ValuesIn(kRepeatCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ACTRepeatEndTest, AnEndAtOrBelowOneIsNoEnd)
{
    struct Case
    {
        int frequency;
        double end;
        bool hasEnd;
    };
    const Case cases[] = {{1, 0.0, false},    {1, 1.0, false},     {1, 0.5, false},
                          {1, 45000.0, true}, {0, 45000.0, false}, {9, 45000.0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frequency << " " << c.end);
        ACTDateRec native{};
        native.RepeatFrequency = c.frequency;
        native.RepeatEnd = c.end;
        CommDateRec rec{};
        ACTDateToComm(native, rec);
        EXPECT_EQ(rec.Recurrence.HasEnd != 0, c.hasEnd);
        if (c.hasEnd) {
            double back = 0;
            ASSERT_TRUE(platform::SystemTimeToVariantTime(&rec.Recurrence.PatternEnd, &back));
            EXPECT_DOUBLE_EQ(back, c.end);
            // And the end goes back to ACT!.
            ACTDateRec again{};
            CommToACTDate(rec, again);
            EXPECT_DOUBLE_EQ(again.RepeatEnd, c.end);
        }
    }
}

TEST(ACTDateConvertTest, FieldsBothWays)
{
    ACTDateRec native{};
    std::snprintf(native.ItemID, sizeof native.ItemID, "E1");
    std::snprintf(native.Subject, sizeof native.Subject, "Review");
    std::snprintf(native.Location, sizeof native.Location, "Room 4");
    std::snprintf(native.Details, sizeof native.Details, "Bring notes");
    native.ActivityCode = 2;
    native.Start = 45000.5;
    native.End = 45000.75;
    native.Private = 1;
    native.AllDay = 1;
    CommDateRec rec{};
    ACTDateToComm(native, rec);
    EXPECT_STREQ(rec.Subject, "Review");
    EXPECT_STREQ(rec.Location, "Room 4");
    EXPECT_STREQ(rec.Notes, "Bring notes");
    EXPECT_EQ(rec.EventType, 2);
    EXPECT_EQ(rec.Start.wHour, 12);
    EXPECT_EQ(rec.End.wHour, 18);
    EXPECT_EQ(rec.Private, 1);
    EXPECT_EQ(rec.AllDay, 1);
    EXPECT_EQ(rec.SourceType, SourceACT);

    ACTDateRec back = native;
    std::snprintf(back.Subject, sizeof back.Subject, "old");
    back.Start = back.End = 0;
    CommToACTDate(rec, back);
    EXPECT_STREQ(back.ItemID, "E1"); // kept
    EXPECT_STREQ(back.Subject, "Review");
    EXPECT_DOUBLE_EQ(back.Start, native.Start);
    EXPECT_DOUBLE_EQ(back.End, native.End);

    // An activity code outside 0..3 is none, both ways.
    native.ActivityCode = 7;
    rec = CommDateRec{};
    ACTDateToComm(native, rec);
    EXPECT_EQ(rec.EventType, 0);
    rec.EventType = 9;
    CommToACTDate(rec, back);
    EXPECT_EQ(back.ActivityCode, 0);
}

TEST(ACTTaskConvertTest, FlagsPriorityAndDueDate)
{
    ACTTaskRec native{};
    std::snprintf(native.Subject, sizeof native.Subject, "Call back");
    std::snprintf(native.Details, sizeof native.Details, "about the offer");
    native.Priority = 0;
    native.Private = 1;
    native.Completed = 1;
    CommTaskRec rec{};
    ACTTaskToComm(native, rec);
    EXPECT_STREQ(rec.Subject, "Call back");
    EXPECT_STREQ(rec.Notes, "about the offer");
    EXPECT_EQ(rec.Priority, 1);
    EXPECT_EQ(rec.Private, 1);
    EXPECT_EQ(rec.Completed, 1);
    EXPECT_EQ(rec.DueDate, 0);
    EXPECT_EQ(rec.SourceType, SourceACT);

    // A due date goes through calendar time and back.
    native.DueDate = 45000.0;
    ACTTaskToComm(native, rec);
    EXPECT_NE(rec.DueDate, 0);
    ACTTaskRec back{};
    back.Kept10 = back.Kept15 = 9;
    CommToACTTask(rec, back);
    EXPECT_DOUBLE_EQ(back.DueDate, 45000.0);
    EXPECT_EQ(back.Priority, 0);
    EXPECT_EQ(back.Private, 1);
    EXPECT_EQ(back.Completed, 1);
    EXPECT_EQ(back.Kept10, 0);
    EXPECT_EQ(back.Kept15, 0);

    rec.DueDate = 0;
    CommToACTTask(rec, back);
    EXPECT_EQ(back.DueDate, 0.0);
}

TEST(ACTNoteConvertTest, BodyAndTimesNoTitle)
{
    ACTNoteRec native{};
    std::snprintf(native.Text, sizeof native.Text, "First line\r\nsecond");
    native.Created = 44000.25;
    native.Edited = 44001.5;
    CommNoteRec rec{};
    ACTNoteToComm(native, rec);
    EXPECT_STREQ(rec.Title, "");
    EXPECT_STREQ(rec.Body, "First line\r\nsecond");
    EXPECT_EQ(rec.CreationTime, 44000.25);
    EXPECT_EQ(rec.LastModificationTime, 44001.5);

    // A body longer than ACT! keeps is cut to what it holds.
    std::string longBody(9000, 'b');
    std::snprintf(rec.Body, sizeof rec.Body, "%s", longBody.c_str());
    ACTNoteRec back{};
    CommToACTNote(rec, back);
    EXPECT_EQ(std::string(back.Text), longBody.substr(0, sizeof back.Text - 1));
    EXPECT_EQ(back.Created, 44000.25);
}

ACTAddrRec SampleContact()
{
    ACTAddrRec n{};
    std::snprintf(n.FirstName, sizeof n.FirstName, "Ada");
    std::snprintf(n.MiddleName, sizeof n.MiddleName, "K");
    std::snprintf(n.LastName, sizeof n.LastName, "Byron");
    std::snprintf(n.FullName, sizeof n.FullName, "Ada K Byron");
    std::snprintf(n.Salutation, sizeof n.Salutation, "Ada");
    std::snprintf(n.SpouseName, sizeof n.SpouseName, "William");
    std::snprintf(n.Company, sizeof n.Company, "Engines Ltd");
    std::snprintf(n.Title, sizeof n.Title, "Analyst");
    std::snprintf(n.Department, sizeof n.Department, "Research");
    std::snprintf(n.BusinessPhone, sizeof n.BusinessPhone, "555-1234");
    std::snprintf(n.BusinessPhoneExtension, sizeof n.BusinessPhoneExtension, "12");
    std::snprintf(n.HomePhone, sizeof n.HomePhone, "555-9876");
    std::snprintf(n.MobilePhone, sizeof n.MobilePhone, "0170 111");
    std::snprintf(n.Fax, sizeof n.Fax, "555-1235");
    std::snprintf(n.Pager, sizeof n.Pager, "99");
    std::snprintf(n.PagerExtension, sizeof n.PagerExtension, "7");
    std::snprintf(n.BusinessEmail, sizeof n.BusinessEmail, "ada@engines.example");
    std::snprintf(n.PersonalEmail, sizeof n.PersonalEmail, "ada@home.example");
    std::snprintf(n.BusinessCountry, sizeof n.BusinessCountry, "UK");
    std::snprintf(n.BusinessState, sizeof n.BusinessState, "Greater London");
    std::snprintf(n.BusinessCity, sizeof n.BusinessCity, "London");
    std::snprintf(n.BusinessPostal, sizeof n.BusinessPostal, "W1");
    std::snprintf(n.BusinessAddress1, sizeof n.BusinessAddress1, "A");
    std::snprintf(n.BusinessAddress3, sizeof n.BusinessAddress3, "C");
    std::snprintf(n.HomeCity, sizeof n.HomeCity, "Brighton");
    std::snprintf(n.HomeAddress1, sizeof n.HomeAddress1, "1 Sea Road");
    std::snprintf(n.SecondaryCity, sizeof n.SecondaryCity, "Bath");
    std::snprintf(n.SecondaryAddress1, sizeof n.SecondaryAddress1, "2 Hill");
    std::snprintf(n.SecondaryAddress2, sizeof n.SecondaryAddress2, "Flat 3");
    std::snprintf(n.Website, sizeof n.Website, "https://engines.example");
    std::snprintf(n.InstantMessenger, sizeof n.InstantMessenger, "ada.im");
    std::snprintf(n.Category, sizeof n.Category, "Friends");
    std::snprintf(n.UserDefined1, sizeof n.UserDefined1, "u1");
    std::snprintf(n.UserDefined10, sizeof n.UserDefined10, "u10");
    std::snprintf(n.ReferredBy, sizeof n.ReferredBy, "Charles");
    n.Birthday = 5000.0;
    n.CreateDate = 44000.0;
    n.EditDate = 44100.0;
    return n;
}

TEST(ACTAddrConvertTest, LoadJoinsPhonesAndStreets)
{
    ACTCustomMapping mapping{};
    CommAddrRec rec{};
    ACTAddrToComm(SampleContact(), mapping, rec);
    EXPECT_STREQ(rec.FirstName, "Ada");
    EXPECT_STREQ(rec.MiddleName, "K");
    EXPECT_STREQ(rec.LastName, "Byron");
    EXPECT_STREQ(rec.DisplayName, "Ada K Byron");
    EXPECT_STREQ(rec.Salutation, "Ada");
    EXPECT_STREQ(rec.SpouseName, "William");
    EXPECT_STREQ(rec.Company, "Engines Ltd");
    EXPECT_STREQ(rec.Title, "Analyst");
    EXPECT_STREQ(rec.Department, "Research");
    EXPECT_STREQ(rec.WorkPhone, "555-1234x12");
    EXPECT_STREQ(rec.HomePhone, "555-9876");
    EXPECT_STREQ(rec.MobilePhone, "0170 111");
    EXPECT_STREQ(rec.WorkFax, "555-1235");
    EXPECT_STREQ(rec.Pager, "99x7");
    EXPECT_STREQ(rec.Email, "ada@engines.example");
    EXPECT_STREQ(rec.Email2, "ada@home.example");
    EXPECT_STREQ(rec.WorkAddress.Street, "A\r\nC");
    EXPECT_STREQ(rec.WorkAddress.City, "London");
    EXPECT_STREQ(rec.WorkAddress.State, "Greater London");
    EXPECT_STREQ(rec.WorkAddress.Country, "UK");
    EXPECT_STREQ(rec.WorkAddress.Postal, "W1");
    EXPECT_STREQ(rec.HomeAddress.Street, "1 Sea Road");
    EXPECT_STREQ(rec.HomeAddress.City, "Brighton");
    EXPECT_STREQ(rec.OtherAddress.Street, "2 Hill\r\nFlat 3");
    EXPECT_STREQ(rec.OtherAddress.City, "Bath");
    EXPECT_STREQ(rec.WorkHomePage, "https://engines.example");
    EXPECT_STREQ(rec.IM1, "ada.im");
    EXPECT_STREQ(rec.Category, "Friends");
    EXPECT_STREQ(rec.CustomValues[0], "u1");
    EXPECT_STREQ(rec.CustomValues[9], "u10");
    EXPECT_EQ(rec.Birthday, 5000.0);
    EXPECT_EQ(rec.CreationTime, 44000.0);
    EXPECT_EQ(rec.LastModificationTime, 44100.0);
    EXPECT_STREQ(rec.MappedValues[0], "");
    EXPECT_EQ(rec.SourceType, SourceACT);
}

TEST(ACTAddrConvertTest, MappedValuesOnlyFromTextFields)
{
    ACTCustomMapping mapping{};
    mapping.FieldId[0] = 13; // Referred By
    mapping.FieldId[1] = 62; // Birthday: a date gives no text
    mapping.FieldId[2] = 59; // Is User: a flag neither
    mapping.FieldId[3] = 500;
    CommAddrRec rec{};
    ACTAddrToComm(SampleContact(), mapping, rec);
    EXPECT_STREQ(rec.MappedValues[0], "Charles");
    EXPECT_STREQ(rec.MappedValues[1], "");
    EXPECT_STREQ(rec.MappedValues[2], "");
    EXPECT_STREQ(rec.MappedValues[3], "");

    // Submitting writes a mapped value over its field, after the user-defined fields.
    mapping.FieldId[4] = 48; // User Defined 1
    std::snprintf(rec.MappedValues[0], sizeof rec.MappedValues[0], "Babbage");
    std::snprintf(rec.MappedValues[4], sizeof rec.MappedValues[4], "mapped");
    std::snprintf(rec.MappedValues[1], sizeof rec.MappedValues[1], "not a date");
    ACTAddrRec native{};
    CommToACTAddr(rec, mapping, native);
    EXPECT_STREQ(native.ReferredBy, "Babbage");
    EXPECT_STREQ(native.UserDefined1, "mapped");
    EXPECT_EQ(native.Birthday, 5000.0);
}

TEST(ACTAddrConvertTest, RoundTripKeepsEveryConvertedField)
{
    const ACTAddrRec original = SampleContact();
    ACTCustomMapping mapping{};
    CommAddrRec rec{};
    ACTAddrToComm(original, mapping, rec);
    ACTAddrRec back{};
    CommToACTAddr(rec, mapping, back);
    // The street lines close up (A, empty, C comes back as A, C) and the dates that ACT!
    // keeps itself are not written; everything else comes back as it was.
    ACTAddrRec expected = original;
    std::snprintf(expected.BusinessAddress2, sizeof expected.BusinessAddress2, "C");
    expected.BusinessAddress3[0] = '\0';
    expected.CreateDate = expected.EditDate = 0;
    expected.ReferredBy[0] = '\0';
    for (const ACTFieldInfo& info : ACTContactFieldTable()) {
        EXPECT_EQ(ACTContactFieldText(back, info.Id), ACTContactFieldText(expected, info.Id)) << info.Label;
    }
}

TEST(ACTAddrConvertTest, SubmitSplitsPhonesWithTheBlankDropped)
{
    CommAddrRec rec{};
    std::snprintf(rec.WorkPhone, sizeof rec.WorkPhone, "555-1234 x12");
    std::snprintf(rec.HomePhone, sizeof rec.HomePhone, "x9");
    std::snprintf(rec.WorkAddress.Street, sizeof rec.WorkAddress.Street, "L1\r\nL2\r\nL3\r\nL4");
    ACTAddrRec native{};
    std::snprintf(native.RecordManager, sizeof native.RecordManager, "kept");
    CommToACTAddr(rec, ACTCustomMapping{}, native);
    EXPECT_STREQ(native.BusinessPhone, "555-1234");
    EXPECT_STREQ(native.BusinessPhoneExtension, "12");
    EXPECT_STREQ(native.HomePhone, "");
    EXPECT_STREQ(native.HomePhoneExtension, "9");
    EXPECT_STREQ(native.BusinessAddress1, "L1");
    EXPECT_STREQ(native.BusinessAddress2, "L2");
    EXPECT_STREQ(native.BusinessAddress3, "L3\r\nL4");
    EXPECT_STREQ(native.RecordManager, "kept");
}

} // namespace
