#pragma once
// Writes common records, field by field from the catalogue, as JSON or CSV in UTF-8.
//
// JSON: an array of objects with the field names as keys. Texts are converted from the ANSI
// code page; flags are true or false; an OLE date or a time value is an object with the ISO
// 8601 text ("iso", null when there is no date) and the stored number ("raw"); a SYSTEMTIME is
// its ISO text (null when all zero); NativeRecord tells only whether a native link is set.
// CSV (RFC 4180): a header row of the field names, a date's stored number in a column of its
// own ("<name>.raw"), CR LF line ends, fields quoted when they hold a comma, quote or line end.
#include <cstddef>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "cli/CliArguments.h"
#include "misc/CommRecordFields.h"
#include "misc/CxAppDescriptor.h"
#include "misc/CxStoreVisit.h"
#include "platform/WinTypes.h"

class CliRecordWriter
{
public:
    CliRecordWriter(std::ostream& out, CliDumpFormat format, std::span<const CommField> fields);

    // Opens the output (the JSON array, the CSV header row).
    void Begin();
    // One record laid out as the catalogue says; no record writes nothing. native: the lines of
    // the application's own record (labels and texts in the ANSI code page), which JSON gives as
    // "Native": [[label, text], ...] after the fields; CSV leaves them out.
    void Write(const CommRecordPtr& record, const CxRecordLines& native = {});
    // Closes the output.
    void End();

    // The pieces, for the tests.
    // A JSON string literal, quotes included, from UTF-8 text.
    static std::string JsonString(std::string_view utf8);
    // One CSV field, quoted when it needs to be.
    static std::string CsvField(std::string_view utf8);
    // "YYYY-MM-DDTHH:MM:SS", local time; empty for 0 (no date) or a date outside the valid range.
    static std::string OleDateIso(double date);
    // "YYYY-MM-DDTHH:MM:SS" with ".mmm" when there are milliseconds; empty when all fields are 0.
    static std::string SystemTimeIso(const SYSTEMTIME& time);
    // Local time with its UTC offset, "YYYY-MM-DDTHH:MM:SS+01:00"; empty for 0 (no date).
    static std::string TimeValueIso(std::int32_t seconds);
    // The shortest text that reads back as the same double; "null" when not finite.
    static std::string Number(double value);

private:
    void WriteJson(const void* record, const CxRecordLines& native);
    void WriteCsv(const void* record);

    std::ostream& m_out;
    CliDumpFormat m_format;
    std::span<const CommField> m_fields;
    std::size_t m_count = 0;
};
