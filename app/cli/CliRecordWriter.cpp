#include "cli/CliRecordWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "platform/CodePage.h"
#include "platform/OleDate.h"

namespace {

bool IsDateKind(CommFieldKind kind)
{
    return kind == CommFieldKind::OleDate || kind == CommFieldKind::TimeValue;
}

// A date field's ISO text and stored number.
void DateParts(const void* record, const CommField& field, std::string& iso, std::string& raw)
{
    if (field.Kind == CommFieldKind::OleDate) {
        double date = CommFieldOleDate(record, field);
        iso = CliRecordWriter::OleDateIso(date);
        raw = CliRecordWriter::Number(date);
    } else {
        auto seconds = static_cast<std::int32_t>(CommFieldInteger(record, field));
        iso = CliRecordWriter::TimeValueIso(seconds);
        raw = std::to_string(seconds);
    }
}

} // namespace

CliRecordWriter::CliRecordWriter(std::ostream& out, CliDumpFormat format, std::span<const CommField> fields)
    : m_out(out), m_format(format), m_fields(fields)
{
}

void CliRecordWriter::Begin()
{
    m_count = 0;
    if (m_format == CliDumpFormat::Json) {
        m_out << "[";
        return;
    }
    std::string header;
    for (const CommField& field : m_fields) {
        header += header.empty() ? "" : ",";
        header += CsvField(field.Name);
        if (IsDateKind(field.Kind)) {
            header += "," + CsvField(field.Name + ".raw");
        }
    }
    m_out << header << "\r\n";
}

void CliRecordWriter::Write(const CommRecordPtr& record, const CxRecordLines& native)
{
    const void* address = RecordAddress(record);
    if (address == nullptr) {
        return;
    }
    if (m_format == CliDumpFormat::Json) {
        WriteJson(address, native);
    } else {
        WriteCsv(address);
    }
    ++m_count;
}

void CliRecordWriter::End()
{
    if (m_format == CliDumpFormat::Json) {
        m_out << (m_count > 0 ? "\n]\n" : "]\n");
    }
    m_out.flush();
}

void CliRecordWriter::WriteJson(const void* record, const CxRecordLines& native)
{
    std::string text = m_count > 0 ? ",\n  {" : "\n  {";
    bool first = true;
    for (const CommField& field : m_fields) {
        text += first ? "\n    " : ",\n    ";
        first = false;
        text += JsonString(field.Name) + ": ";
        switch (field.Kind) {
        case CommFieldKind::Text:
            text += JsonString(platform::AnsiToUtf8(CommFieldText(record, field)));
            break;
        case CommFieldKind::Int32:
        case CommFieldKind::Size32:
            text += std::to_string(CommFieldInteger(record, field));
            break;
        case CommFieldKind::Flag8:
        case CommFieldKind::Flag32:
            text += CommFieldInteger(record, field) != 0 ? "true" : "false";
            break;
        case CommFieldKind::OleDate:
        case CommFieldKind::TimeValue: {
            std::string iso;
            std::string raw;
            DateParts(record, field, iso, raw);
            text += "{\"iso\": " + (iso.empty() ? std::string("null") : JsonString(iso)) +
                    ", \"raw\": " + raw + "}";
            break;
        }
        case CommFieldKind::SystemTime: {
            std::string iso = SystemTimeIso(CommFieldSystemTime(record, field));
            text += iso.empty() ? std::string("null") : JsonString(iso);
            break;
        }
        case CommFieldKind::Pointer:
            text += CommFieldPointer(record, field) != nullptr ? "true" : "false";
            break;
        }
    }
    if (!native.empty()) {
        text += ",\n    \"Native\": [";
        for (std::size_t i = 0; i < native.size(); ++i) {
            text += (i == 0 ? "\n      [" : ",\n      [") +
                    JsonString(platform::AnsiToUtf8(native[i].label)) + ", " +
                    JsonString(platform::AnsiToUtf8(native[i].text)) + "]";
        }
        text += "\n    ]";
    }
    text += "\n  }";
    m_out << text;
}

void CliRecordWriter::WriteCsv(const void* record)
{
    std::string row;
    bool first = true;
    for (const CommField& field : m_fields) {
        row += first ? "" : ",";
        first = false;
        switch (field.Kind) {
        case CommFieldKind::Text:
            row += CsvField(platform::AnsiToUtf8(CommFieldText(record, field)));
            break;
        case CommFieldKind::Int32:
        case CommFieldKind::Size32:
            row += std::to_string(CommFieldInteger(record, field));
            break;
        case CommFieldKind::Flag8:
        case CommFieldKind::Flag32:
            row += CommFieldInteger(record, field) != 0 ? "true" : "false";
            break;
        case CommFieldKind::OleDate:
        case CommFieldKind::TimeValue: {
            std::string iso;
            std::string raw;
            DateParts(record, field, iso, raw);
            row += CsvField(iso) + "," + (raw == "null" ? std::string() : raw);
            break;
        }
        case CommFieldKind::SystemTime:
            row += CsvField(SystemTimeIso(CommFieldSystemTime(record, field)));
            break;
        case CommFieldKind::Pointer:
            row += CommFieldPointer(record, field) != nullptr ? "true" : "false";
            break;
        }
    }
    m_out << row << "\r\n";
}

std::string CliRecordWriter::JsonString(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size() + 2);
    out += '"';
    for (char c : utf8) {
        auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", byte);
                out += escape;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

std::string CliRecordWriter::CsvField(std::string_view utf8)
{
    if (utf8.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(utf8);
    }
    std::string out = "\"";
    for (char c : utf8) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
    return out;
}

std::string CliRecordWriter::OleDateIso(double date)
{
    SYSTEMTIME time{};
    if (date == 0.0 || !platform::VariantTimeToSystemTime(date, &time)) {
        return std::string();
    }
    return SystemTimeIso(time);
}

std::string CliRecordWriter::SystemTimeIso(const SYSTEMTIME& t)
{
    if (t.wYear == 0 && t.wMonth == 0 && t.wDay == 0 && t.wHour == 0 && t.wMinute == 0 && t.wSecond == 0 &&
        t.wMilliseconds == 0) {
        return std::string();
    }
    char text[40];
    int n = std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", unsigned(t.wYear),
                          unsigned(t.wMonth), unsigned(t.wDay), unsigned(t.wHour), unsigned(t.wMinute),
                          unsigned(t.wSecond));
    if (t.wMilliseconds != 0 && n > 0 && static_cast<std::size_t>(n) < sizeof text) {
        std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), ".%03u",
                      unsigned(t.wMilliseconds));
    }
    return text;
}

std::string CliRecordWriter::TimeValueIso(std::int32_t seconds)
{
    if (seconds == 0) {
        return std::string();
    }
    std::time_t t = seconds;
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) {
        return std::string();
    }
    long offset = local.tm_gmtoff;
    char sign = offset < 0 ? '-' : '+';
    offset = offset < 0 ? -offset : offset;
    offset %= 24 * 3600; // real offsets are below a day; keeps the text bounded
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, sign,
                  offset / 3600, offset / 60 % 60);
    return text;
}

std::string CliRecordWriter::Number(double value)
{
    if (!std::isfinite(value)) {
        return "null";
    }
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}
