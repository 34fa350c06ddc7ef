#pragma once
// Google CSV (Google Contacts -> Export -> Google CSV) as Google contacts. The file is
// UTF-16LE with a byte order mark, or UTF-8; the first row names the columns, which are found
// by their names ("Given Name", "E-mail 1 - Type", "E-mail 1 - Value", ...), in any order.
// A cell may be quoted (with doubled quotes inside, and line breaks); " ::: " separates the
// values of one cell ("a@x ::: b@x" is two e-mail addresses of one type); "* " before a type
// marks the primary element, before a group one of Google's own ("* My Contacts"). Columns
// the contact does not model are kept in its extras as X-GOOGLE-CSV properties whose
// X-COLUMN parameter names the column.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "GContact.h"

namespace gcontacts {

inline constexpr std::size_t kMaxCsvFileBytes = 64u << 20;
inline constexpr std::size_t kMaxCsvCellBytes = 1u << 20;
inline constexpr std::size_t kMaxCsvColumns = 2000;
inline constexpr std::size_t kMaxCsvRows = 200000;

// Splits CSV text (UTF-8) into rows of cells. False with "line N: reason" for a quote that
// does not close or a cell, row or file beyond the limits.
bool SplitCsvRows(std::string_view text, std::vector<std::vector<std::string>>& rows,
                  std::vector<std::size_t>& rowLines, std::string& error);

bool ReadGoogleCsv(std::string_view bytes, std::vector<GContact>& contacts, std::string& error);
bool ReadGoogleCsvFile(const std::string& path, std::vector<GContact>& contacts, std::string& error);

// A contacts export of either kind: vCard when its text begins with BEGIN:VCARD, else Google CSV.
bool ReadContactsFile(const std::string& path, std::vector<GContact>& contacts, std::string& error);

} // namespace gcontacts
