#pragma once
// The ANSI code page: the one 8-bit code page in which every record text is held.
// Windows-1252 unless the FERRYWISE_CODEPAGE environment variable or the emulated
// registry value HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Nls\CodePage\ACP
// names another ("1250", "CP1251", "ISO-8859-15", ...).
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The iconv name of the code page in use, for example "CP1252".
std::string AnsiCodePage();
// Replaces the code page (a number such as "1252" or an iconv name); false and no
// change when iconv does not know it. Call before other threads use the conversions.
bool SetAnsiCodePage(std::string_view name);

// Conversions; a character that has no counterpart becomes '?' (U+FFFD towards Unicode).
std::u16string AnsiToUtf16(std::string_view ansi);
std::string Utf16ToAnsi(std::u16string_view utf16);
std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);
// Characters that Utf16ToAnsi and Utf8ToAnsi found no counterpart for (each became '?'), on
// this thread since it began.
std::size_t AnsiLostCharacters();

// Whether the conversions on this thread lost a character since the watch was made: a reader
// makes one per record to tell the records whose texts the code page could not hold.
class AnsiLossWatch
{
public:
    AnsiLossWatch() : m_start(AnsiLostCharacters()) {}
    bool Lost() const { return AnsiLostCharacters() != m_start; }

private:
    std::size_t m_start;
};

// UTF-16 as UTF-8, whatever the code page; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

// Upper and lower case of one ANSI character, as the code page defines them.
unsigned char AnsiToUpper(unsigned char c);
unsigned char AnsiToLower(unsigned char c);
// The 256-entry upper-case table behind AnsiToUpper, for loops that compare much text.
// Stays valid for the life of the process.
const unsigned char* AnsiUpperTable();
// Case-insensitive comparison of two terminated ANSI texts (<0, 0, >0), like _stricmp.
int AnsiCompareNoCase(const char* a, const char* b);

} // namespace platform
