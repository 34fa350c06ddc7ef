#pragma once
// The two lower layers of the vCard reader: a file's text as logical lines (folded lines
// joined, quoted-printable soft breaks followed), and a logical line as a property with its
// group, name, parameters and raw value. Nothing here knows what a property means.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace gcontacts {

// Limits that keep a damaged or hostile file from taking unbounded memory or time.
inline constexpr std::size_t kMaxVCardFileBytes = 64u << 20;
inline constexpr std::size_t kMaxVCardLineBytes = 4u << 20; // a logical line (photos included)
inline constexpr std::size_t kMaxVCardParams = 64;          // parameters of one property
inline constexpr std::size_t kMaxVCardParamValues = 64;     // values of one parameter
inline constexpr std::size_t kMaxVCardProperties = 10000;   // properties of one card
inline constexpr std::size_t kMaxVCards = 200000;           // cards of one file

struct VCardLine
{
    std::string text;
    std::size_t lineNo = 0; // the physical line (from 1) on which it begins
};

// Splits text into logical lines. Lines end with CRLF, LF or CR; a line that begins with a
// blank or a tab continues the one before it (without that one character); a line whose
// property is quoted-printable and that ends with "=" goes on in the next line. Empty lines
// are left out. False, with "line N: ..." in error, for a line longer than the limit.
bool SplitVCardLines(std::string_view text, std::vector<VCardLine>& lines, std::string& error);

struct VCardParam
{
    std::string name;                // upper case; "TYPE" for a bare vCard 2.1 value ("HOME")
    std::vector<std::string> values; // unquoted, as written (case kept)
};

struct VCardProperty
{
    std::string group; // as written ("item1"), or empty
    std::string name;  // upper case
    std::vector<VCardParam> params;
    std::string value; // raw: still escaped, still in its transfer encoding and character set
    std::size_t lineNo = 0;

    // The values of a parameter (null when it is missing).
    const std::vector<std::string>* Param(std::string_view name) const;
    // The first value of a parameter, or empty.
    std::string ParamValue(std::string_view name) const;
    // Whether TYPE holds the value (case-insensitive).
    bool HasType(std::string_view type) const;
    // Whether the value is quoted-printable, base64.
    bool IsQuotedPrintable() const;
    bool IsBase64() const;
};

// Parses one logical line: [group "."] name *(";" param) ":" value. Parameter values may be
// quoted ("...", which may hold ":" ";" ","), lists split at commas, vCard 4.0's ^n ^^ ^'
// decoded. A bare parameter (vCard 2.1) is TYPE, or ENCODING for a transfer encoding.
// False with "line N: ..." in error when the line has no name or no ":".
bool ParseVCardProperty(const VCardLine& line, VCardProperty& property, std::string& error);

// The value as UTF-8 text, still escaped: quoted-printable decoded, then read in the
// property's CHARSET (UTF-8, else the ANSI code page, when it has none).
std::string DecodedValue(const VCardProperty& property);

} // namespace gcontacts
