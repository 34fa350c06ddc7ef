#pragma once
// A delimited contacts export (comma- or tab-separated text) as ACT! contact records. The
// first row names the columns by the labels of the ACT! contact field table, matched without
// regard to case; the separator is a tab when the first row holds one, else a comma. A cell
// may be quoted ("..."), with doubled quotes, separators and line breaks inside. Texts are
// taken as UTF-8 when they are valid UTF-8 (a byte order mark is skipped) and turned into
// the ANSI code page, else as they are. Flags read 1/0, yes/no, true/false; dates
// YYYY-MM-DD, optionally with a time HH:MM or HH:MM:SS.
//
// A column that names no field, or a field named twice, is reported and skipped; a value
// that does not fit its field's type is reported and left empty. A quote that does not
// close, text after a closing quote, or input beyond the limits fails the whole read.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ACT/ACTRecords.h"

inline constexpr std::size_t kMaxACTExportBytes = 64u << 20;
inline constexpr std::size_t kMaxACTExportColumns = 500;
inline constexpr std::size_t kMaxACTExportRows = 200000;

struct ACTContactExport
{
    std::vector<ACTAddrRec> contacts;
    std::vector<std::string> warnings; // skipped columns and values, one line each
};

// False with "line N: reason" (or the reason alone) when the text cannot be read; result is
// then empty.
bool ReadACTContactExport(std::string_view text, ACTContactExport& result, std::string& error);
// The same from a file; a file that cannot be read, or is larger than the limit, is refused.
bool ReadACTContactExportFile(const std::string& path, ACTContactExport& result, std::string& error);
