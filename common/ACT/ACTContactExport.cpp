#include "ACT/ACTContactExport.h"

#include <cstdio>
#include <cstring>
#include <fstream>

#include "ACT/ACTFieldTable.h"
#include "platform/CodePage.h"
#include "platform/OleDate.h"

namespace {

bool IsValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = (c & 0xE0) == 0xC0   ? 2
                                   : (c & 0xF0) == 0xE0 ? 3
                                   : (c & 0xF8) == 0xF0 ? 4
                                                        : 0;
        if (length == 0 || (length == 2 && c < 0xC2) || i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

using Row = std::vector<std::string>;

// Splits the text into rows of cells; rowLines holds the line each row starts on.
bool SplitRows(std::string_view text, char separator, std::vector<Row>& rows,
               std::vector<std::size_t>& rowLines, std::string& error)
{
    std::size_t line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        Row row;
        const std::size_t rowLine = line;
        bool endOfRow = false;
        while (!endOfRow) {
            std::string cell;
            if (i < text.size() && text[i] == '"') {
                const std::size_t openLine = line;
                ++i;
                bool closed = false;
                while (i < text.size()) {
                    if (text[i] == '"') {
                        if (i + 1 < text.size() && text[i + 1] == '"') {
                            cell += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        closed = true;
                        break;
                    }
                    if (text[i] == '\n') {
                        ++line;
                    }
                    cell += text[i++];
                }
                if (!closed) {
                    error = "line " + std::to_string(openLine) + ": a quoted cell does not close";
                    return false;
                }
                if (i < text.size() && text[i] != separator && text[i] != '\r' && text[i] != '\n') {
                    error = "line " + std::to_string(line) + ": text after the quote that closes a cell";
                    return false;
                }
            } else {
                while (i < text.size() && text[i] != separator && text[i] != '\r' && text[i] != '\n') {
                    cell += text[i++];
                }
            }
            if (cell.size() > kMaxACTExportBytes / 4) {
                error = "line " + std::to_string(line) + ": a cell is too long";
                return false;
            }
            row.push_back(std::move(cell));
            if (row.size() > kMaxACTExportColumns) {
                error = "line " + std::to_string(rowLine) + ": more than " +
                        std::to_string(kMaxACTExportColumns) + " columns";
                return false;
            }
            if (i < text.size() && text[i] == separator) {
                ++i;
                continue;
            }
            // The end of the row: CR LF, LF, CR or the end of the text.
            if (i < text.size() && text[i] == '\r') {
                ++i;
            }
            if (i < text.size() && text[i] == '\n') {
                ++i;
            }
            ++line;
            endOfRow = true;
        }
        const bool blank = row.size() == 1 && Trim(row[0]).empty();
        if (!blank) {
            if (rows.size() >= kMaxACTExportRows + 1) {
                error = "more than " + std::to_string(kMaxACTExportRows) + " contacts";
                return false;
            }
            rows.push_back(std::move(row));
            rowLines.push_back(rowLine);
        }
    }
    return true;
}

bool ParseFlag(std::string_view text, int& value)
{
    std::string lower;
    for (char c : Trim(text)) {
        lower += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    if (lower == "1" || lower == "yes" || lower == "true") {
        value = 1;
        return true;
    }
    if (lower.empty() || lower == "0" || lower == "no" || lower == "false") {
        value = 0;
        return true;
    }
    return false;
}

bool ParseDate(std::string_view text, double& value)
{
    text = Trim(text);
    if (text.empty()) {
        value = 0;
        return true;
    }
    const std::string copy(text);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    int used = 0;
    const int fields = std::sscanf(copy.c_str(), "%4d-%2d-%2d%n", &year, &month, &day, &used);
    if (fields != 3) {
        return false;
    }
    std::string_view rest = std::string_view(copy).substr(static_cast<std::size_t>(used));
    if (!rest.empty()) {
        const std::string time(Trim(rest.substr(rest.front() == 'T' ? 1 : 0)));
        int timeUsed = 0;
        const int n = std::sscanf(time.c_str(), "%2d:%2d%n", &hour, &minute, &timeUsed);
        if (n != 2) {
            return false;
        }
        if (static_cast<std::size_t>(timeUsed) < time.size()) {
            int secondsUsed = 0;
            if (std::sscanf(time.c_str() + timeUsed, ":%2d%n", &second, &secondsUsed) != 1 ||
                static_cast<std::size_t>(timeUsed + secondsUsed) != time.size()) {
                return false;
            }
        }
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59 ||
        hour < 0 || minute < 0 || second < 0) {
        return false;
    }
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    SYSTEMTIME back{};
    // A date such as February 30 does not survive the round trip.
    return platform::SystemTimeToVariantTime(&time, &value) &&
           platform::VariantTimeToSystemTime(value, &back) && back.wDay == time.wDay &&
           back.wMonth == time.wMonth;
}

} // namespace

bool ReadACTContactExport(std::string_view text, ACTContactExport& result, std::string& error)
{
    result = ACTContactExport();
    if (text.size() > kMaxACTExportBytes) {
        error = "the file is larger than " + std::to_string(kMaxACTExportBytes >> 20) + " MiB";
        return false;
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    std::string converted;
    if (IsValidUtf8(text)) {
        converted = platform::Utf8ToAnsi(text);
        text = converted;
    }
    const std::size_t firstLineEnd = text.find_first_of("\r\n");
    const char separator = text.substr(0, firstLineEnd).find('\t') != std::string_view::npos ? '\t' : ',';
    std::vector<Row> rows;
    std::vector<std::size_t> rowLines;
    if (!SplitRows(text, separator, rows, rowLines, error)) {
        return false;
    }
    if (rows.empty()) {
        error = "the file is empty: its first row must name the ACT! contact fields";
        return false;
    }
    // The columns: the field each one fills, or none.
    std::vector<const ACTFieldInfo*> columns;
    bool any = false;
    for (const std::string& cell : rows[0]) {
        const std::string_view label = Trim(cell);
        const ACTFieldInfo* info = FindACTContactFieldByLabel(label);
        if (info == nullptr) {
            result.warnings.push_back("Column \"" + std::string(label) +
                                      "\" is not an ACT! contact field; skipped.");
        } else {
            for (const ACTFieldInfo* earlier : columns) {
                if (earlier == info) {
                    result.warnings.push_back("Column \"" + std::string(label) +
                                              "\" is given twice; skipped.");
                    info = nullptr;
                    break;
                }
            }
        }
        any = any || info != nullptr;
        columns.push_back(info);
    }
    if (!any) {
        error = "line 1: no column names an ACT! contact field";
        result.warnings.clear();
        return false;
    }
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const Row& row = rows[r];
        const std::string where = "line " + std::to_string(rowLines[r]) + ": ";
        if (row.size() > columns.size()) {
            result.warnings.push_back(where + std::to_string(row.size() - columns.size()) +
                                      " cells beyond the last column; skipped.");
        }
        ACTAddrRec rec{};
        for (std::size_t c = 0; c < row.size() && c < columns.size(); ++c) {
            const ACTFieldInfo* info = columns[c];
            if (info == nullptr) {
                continue;
            }
            const CxLayoutField* field = ACTContactFieldStorage(info->Id);
            char* at = reinterpret_cast<char*>(&rec) + field->Offset;
            const std::string& cell = row[c];
            if (info->Type == ACTFieldTypeText) {
                SetACTContactText(rec, info->Id, cell);
                if (cell.size() > static_cast<std::size_t>(info->Width - 1)) {
                    result.warnings.push_back(where + "\"" + info->Label + "\" cut to " +
                                              std::to_string(info->Width - 1) + " characters.");
                }
            } else if (info->Type == ACTFieldTypeFlag) {
                int value = 0;
                if (!ParseFlag(cell, value)) {
                    result.warnings.push_back(where + "\"" + info->Label + "\" is not a flag: " + cell +
                                              "; left empty.");
                }
                std::memcpy(at, &value, sizeof value);
            } else {
                double value = 0;
                if (!ParseDate(cell, value)) {
                    value = 0;
                    result.warnings.push_back(where + "\"" + info->Label +
                                              "\" is not a date (YYYY-MM-DD): " + cell + "; left empty.");
                }
                std::memcpy(at, &value, sizeof value);
            }
        }
        result.contacts.push_back(rec);
    }
    return true;
}

bool ReadACTContactExportFile(const std::string& path, ACTContactExport& result, std::string& error)
{
    result = ACTContactExport();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    std::string bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > kMaxACTExportBytes) {
            error = path + " is larger than " + std::to_string(kMaxACTExportBytes >> 20) + " MiB";
            return false;
        }
    }
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    if (!ReadACTContactExport(bytes, result, error)) {
        error = path + " " + error;
        return false;
    }
    return true;
}
