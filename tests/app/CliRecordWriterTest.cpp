#include "cli/CliRecordWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "platform/CodePage.h"

namespace {

class CliRecordWriterTest : public testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        ASSERT_TRUE(platform::SetAnsiCodePage("1252"));
    }
};

TEST_F(CliRecordWriterTest, JsonStringEscapes)
{
    struct Case
    {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"", "\"\""},
        {"plain text", "\"plain text\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"C:\\Notes\\", "\"C:\\\\Notes\\\\\""},
        {"a\r\nb\tc", "\"a\\r\\nb\\tc\""},
        {"\b\f", "\"\\b\\f\""},
        {std::string("\x01\x1f", 2), "\"\\u0001\\u001f\""},
        {"\x7f", "\"\x7f\""},
        {"Zo\xC3\xAB \xE2\x82\xAC", "\"Zo\xC3\xAB \xE2\x82\xAC\""}, // UTF-8 passes through
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(CliRecordWriter::JsonString(c.in), c.out);
    }
}

// A minimal RFC 4180 reader: the rows of a document, each a list of fields.
std::vector<std::vector<std::string>> ReadCsv(const std::string& text)
{
    std::vector<std::vector<std::string>> rows(1);
    std::string field;
    bool quoted = false;
    bool fieldStarted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"' && !fieldStarted) {
            quoted = fieldStarted = true;
        } else if (c == ',') {
            rows.back().push_back(field);
            field.clear();
            fieldStarted = false;
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            rows.back().push_back(field);
            field.clear();
            fieldStarted = false;
            rows.emplace_back();
            ++i;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !rows.back().empty()) {
        rows.back().push_back(field);
    } else {
        rows.pop_back();
    }
    return rows;
}

TEST_F(CliRecordWriterTest, CsvFieldQuotesOnlyWhenNeeded)
{
    struct Case
    {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"", ""},
        {"plain", "plain"},
        {" spaces kept ", " spaces kept "},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"lf\nonly", "\"lf\nonly\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(CliRecordWriter::CsvField(c.in), c.out);
        // And a reader gives the text back.
        auto rows = ReadCsv(CliRecordWriter::CsvField(c.in) + ",x\r\n");
        ASSERT_EQ(rows.size(), 1u);
        ASSERT_EQ(rows[0].size(), 2u);
        EXPECT_EQ(rows[0][0], c.in);
    }
}

TEST_F(CliRecordWriterTest, DatesAsIsoText)
{
    struct OleCase
    {
        double date;
        const char* iso;
    };
    const OleCase oleCases[] = {
        {0.0, ""}, // no date
        {2.5, "1900-01-01T12:00:00"},
        {45351.75, "2024-02-29T18:00:00"},
        {-5.25, "1899-12-25T06:00:00"},
        {29358.0, "1980-05-17T00:00:00"},
        {1e10, ""},
        {std::numeric_limits<double>::quiet_NaN(), ""},
    };
    for (const OleCase& c : oleCases) {
        SCOPED_TRACE(c.date);
        EXPECT_EQ(CliRecordWriter::OleDateIso(c.date), c.iso);
    }

    struct SystemTimeCase
    {
        SYSTEMTIME time;
        const char* iso;
    };
    const SystemTimeCase systemTimeCases[] = {
        {{0, 0, 0, 0, 0, 0, 0, 0}, ""},
        {{2024, 2, 4, 29, 13, 45, 30, 0}, "2024-02-29T13:45:30"},
        {{2024, 2, 4, 29, 13, 45, 30, 7}, "2024-02-29T13:45:30.007"},
        {{1601, 1, 1, 1, 0, 0, 0, 0}, "1601-01-01T00:00:00"},
        // Shown as stored, so that a damaged value can be seen.
        {{2024, 13, 0, 40, 25, 61, 61, 0}, "2024-13-40T25:61:61"},
    };
    for (const SystemTimeCase& c : systemTimeCases) {
        SCOPED_TRACE(c.iso);
        EXPECT_EQ(CliRecordWriter::SystemTimeIso(c.time), c.iso);
    }

    struct TimeValueCase
    {
        std::int32_t seconds;
        const char* iso;
    };
    const TimeValueCase timeValueCases[] = {
        {0, ""}, // no date
        {1709210730, "2024-02-29T13:45:30+01:00"},
        {1719662400, "2024-06-29T14:00:00+02:00"},
        {-1, "1970-01-01T00:59:59+01:00"},
    };
    for (const TimeValueCase& c : timeValueCases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(CliRecordWriter::TimeValueIso(c.seconds), c.iso);
    }

    EXPECT_EQ(CliRecordWriter::Number(0.0), "0");
    EXPECT_EQ(CliRecordWriter::Number(45351.75), "45351.75");
    EXPECT_EQ(CliRecordWriter::Number(0.1), "0.1");
    EXPECT_EQ(CliRecordWriter::Number(std::numeric_limits<double>::infinity()), "null");
}

// Two contacts with awkward texts: ANSI (Windows-1252) characters, quotes, commas, line ends.
std::vector<CommAddrRec> AwkwardContacts()
{
    CommAddrRec first{};
    CopyText(first.FirstName, "Zo\xEB");                       // Zoë
    CopyText(first.LastName, "M\xFCller, \x80");               // Müller, €
    CopyText(first.Note, "line 1\r\nsaid \"yes\"\\ \x01 end"); // line end, quote, backslash, control
    CopyText(first.WorkAddress.Street, "Hauptstra\xDF"
                                       "e 1");
    CopyText(first.CustomValues[9], "tenth");
    first.Birthday = 29358.0;
    first.Status = MatchDiff;
    first.NativeRecord = &first;

    CommAddrRec second{};
    CopyText(second.FirstName, "Ben");
    return {first, second};
}

TEST_F(CliRecordWriterTest, JsonRecordsHoldEveryField)
{
    std::vector<CommAddrRec> records = AwkwardContacts();
    std::ostringstream out;
    CliRecordWriter writer(out, CliDumpFormat::Json, CommAddrFields());
    writer.Begin();
    for (CommAddrRec& rec : records) {
        writer.Write(&rec);
    }
    writer.End();
    const std::string json = out.str();

    EXPECT_EQ(json.rfind("[\n  {\n", 0), 0u);
    EXPECT_EQ(json.substr(json.size() - 6), "  }\n]\n");
    // Every field once per record, under its own name.
    for (const CommField& field : CommAddrFields()) {
        const std::string key = "\"" + field.Name + "\": ";
        std::size_t count = 0;
        for (std::size_t at = json.find(key); at != std::string::npos; at = json.find(key, at + 1)) {
            ++count;
        }
        EXPECT_EQ(count, records.size()) << field.Name;
    }
    const char* expected[] = {
        "\"FirstName\": \"Zo\xC3\xAB\"",
        "\"LastName\": \"M\xC3\xBCller, \xE2\x82\xAC\"",
        "\"Note\": \"line 1\\r\\nsaid \\\"yes\\\"\\\\ \\u0001 end\"",
        "\"WorkAddress.Street\": \"Hauptstra\xC3\x9F"
        "e 1\"",
        "\"CustomValues[10]\": \"tenth\"",
        "\"Birthday\": {\"iso\": \"1980-05-17T00:00:00\", \"raw\": 29358}",
        "\"Anniversary\": {\"iso\": null, \"raw\": 0}",
        "\"Status\": 2",
        "\"NativeRecord\": true",
        "\"NativeRecord\": false",
        "\"NativeSize\": 0",
    };
    for (const char* piece : expected) {
        EXPECT_NE(json.find(piece), std::string::npos) << piece;
    }
}

TEST_F(CliRecordWriterTest, JsonOfNoRecordsIsAnEmptyArray)
{
    std::ostringstream out;
    CliRecordWriter writer(out, CliDumpFormat::Json, CommNoteFields());
    writer.Begin();
    writer.End();
    EXPECT_EQ(out.str(), "[]\n");
}

// The application's own record follows the fields in JSON, its texts made UTF-8; CSV rows
// keep to the header.
TEST_F(CliRecordWriterTest, NativeLinesFollowTheFieldsInJsonOnly)
{
    CommNoteRec note{};
    std::snprintf(note.Title, sizeof note.Title, "%s", "Memo");
    const CxRecordLines native = {{"Title", "Memo"}, {"Body", "M\xfcller \"quoted\"\r\nline 2"}};
    std::ostringstream json;
    CliRecordWriter writer(json, CliDumpFormat::Json, CommNoteFields());
    writer.Begin();
    writer.Write(&note, native);
    writer.Write(&note);
    writer.End();
    EXPECT_NE(json.str().find(
                  ",\n    \"Native\": [\n      [\"Title\", \"Memo\"],\n      [\"Body\", \"M\xc3\xbcller "
                  "\\\"quoted\\\"\\r\\nline 2\"]\n    ]\n  }"),
              std::string::npos)
        << json.str();
    const std::string key = "\"Native\":";
    EXPECT_EQ(json.str().find(key, json.str().find(key) + 1), std::string::npos)
        << "a record without native lines has none";

    std::ostringstream csv;
    CliRecordWriter rows(csv, CliDumpFormat::Csv, CommNoteFields());
    rows.Begin();
    rows.Write(&note, native);
    rows.End();
    EXPECT_EQ(csv.str().find("quoted"), std::string::npos) << csv.str();
}

TEST_F(CliRecordWriterTest, CsvRowsLineUpWithTheHeader)
{
    std::vector<CommAddrRec> records = AwkwardContacts();
    std::ostringstream out;
    CliRecordWriter writer(out, CliDumpFormat::Csv, CommAddrFields());
    writer.Begin();
    for (CommAddrRec& rec : records) {
        writer.Write(&rec);
    }
    writer.End();

    auto rows = ReadCsv(out.str());
    ASSERT_EQ(rows.size(), 3u);
    const auto& header = rows[0];
    for (const auto& row : rows) {
        EXPECT_EQ(row.size(), header.size());
    }
    auto column = [&](const std::string& name) {
        auto it = std::find(header.begin(), header.end(), name);
        EXPECT_NE(it, header.end()) << name;
        return static_cast<std::size_t>(it - header.begin());
    };
    EXPECT_EQ(rows[1][column("FirstName")], "Zo\xC3\xAB");
    EXPECT_EQ(rows[1][column("LastName")], "M\xC3\xBCller, \xE2\x82\xAC");
    EXPECT_EQ(rows[1][column("Note")], "line 1\r\nsaid \"yes\"\\ \x01 end");
    EXPECT_EQ(rows[1][column("Birthday")], "1980-05-17T00:00:00");
    EXPECT_EQ(rows[1][column("Birthday.raw")], "29358");
    EXPECT_EQ(rows[1][column("Anniversary")], "");
    EXPECT_EQ(rows[1][column("Status")], "2");
    EXPECT_EQ(rows[2][column("FirstName")], "Ben");
    EXPECT_EQ(rows[2][column("NativeRecord")], "false");
}

TEST_F(CliRecordWriterTest, CsvOfEveryRecordType)
{
    CommDateRec event{};
    CopyText(event.Subject, "Review");
    event.AllDay = 1;
    event.Start = SYSTEMTIME{2024, 2, 4, 29, 9, 30, 0, 0};
    CommTaskRec task{};
    CopyText(task.Subject, "Call back");
    task.DueDate = 1709210730;
    task.Completed = 1;
    CommNoteRec note{};
    CopyText(note.Title, "Groceries");
    CopyText(note.EntryId, "ID-1");

    struct Case
    {
        std::span<const CommField> fields;
        CommRecordPtr record;
        const char* column;
        const char* value;
    };
    const Case cases[] = {
        {CommDateFields(), &event, "Start", "2024-02-29T09:30:00"},
        {CommDateFields(), &event, "AllDay", "true"},
        {CommDateFields(), &event, "End", ""},
        {CommTaskFields(), &task, "DueDate", "2024-02-29T13:45:30+01:00"},
        {CommTaskFields(), &task, "DueDate.raw", "1709210730"},
        {CommTaskFields(), &task, "Completed", "true"},
        {CommTaskFields(), &task, "StartDate", ""},
        {CommNoteFields(), &note, "EntryId", "ID-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        std::ostringstream out;
        CliRecordWriter writer(out, CliDumpFormat::Csv, c.fields);
        writer.Begin();
        writer.Write(c.record);
        writer.End();
        auto rows = ReadCsv(out.str());
        ASSERT_EQ(rows.size(), 2u);
        auto it = std::find(rows[0].begin(), rows[0].end(), c.column);
        ASSERT_NE(it, rows[0].end());
        EXPECT_EQ(rows[1][static_cast<std::size_t>(it - rows[0].begin())], c.value);
    }
}

} // namespace
