#pragma once
// Text helpers of the contact readers and the writer: UTF-8 checks, character sets,
// line breaks, quoted-printable, case.
#include <cstddef>
#include <string>
#include <string_view>

namespace gcontacts {

bool IsValidUtf8(std::string_view text);
// Bytes in a character set (an iconv name such as "ISO-8859-1", "windows-1252", "UTF-8";
// empty for "UTF-8 if valid, else the ANSI code page") as UTF-8. A set iconv does not know,
// or bytes that are not valid in it, are read as UTF-8 if valid, else as the ANSI code page.
std::string ToUtf8(std::string_view bytes, std::string_view charset = {});
// A whole file's bytes as UTF-8: a UTF-16 (LE or BE) or UTF-8 byte order mark is taken off
// and obeyed; text without one is UTF-8 if valid, else the ANSI code page.
std::string FileTextToUtf8(std::string_view bytes);
// "\r\n" and lone "\r" become "\n".
std::string NormalizeNewlines(std::string_view text);
// Quoted-printable: "=XX" is the byte XX, "=" at a line's end joins it to the next line.
// A malformed "=" is kept as it is.
std::string DecodeQuotedPrintable(std::string_view text);
std::string ToUpperAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
std::string_view Trim(std::string_view text);
// The text cut to at most maxBytes bytes, never inside a UTF-8 sequence.
std::string CutUtf8(std::string_view text, std::size_t maxBytes);

} // namespace gcontacts
