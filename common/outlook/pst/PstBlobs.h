#pragma once
// Parsers for the binary values inside an Outlook data file that the reader decodes itself:
// multi-valued properties, recurrence patterns, compressed RTF bodies, property definition
// streams, and the texts of 8-bit code pages. Every parser works on a bounded byte span,
// checks every length before it reads and caps every count by the bytes that remain, so a
// damaged value gives "no value", never a read outside the span.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"

namespace pst {

using Bytes = std::vector<std::uint8_t>;
using ByteSpan = std::span<const std::uint8_t>;

// Largest value the reader accepts from a file (a body, a picture): anything larger is
// taken for damage.
constexpr std::size_t kMaxValueSize = 64u * 1024u * 1024u;

// --- Texts ---------------------------------------------------------------------------------

// True when iconv knows the Windows code page (1252, 932, 65001, ...).
bool IsKnownCodePage(unsigned codePage);
// 8-bit (or multi-byte) text in a Windows code page as UTF-16; undecodable bytes become
// U+FFFD. An unknown code page is read as Windows-1252.
std::u16string DecodeCodePage(std::string_view bytes, unsigned codePage);
// UTF-16LE bytes as text; nullopt for an odd number of bytes. Trailing NULs are dropped and
// unpaired surrogates become U+FFFD.
std::optional<std::u16string> DecodeUtf16Le(ByteSpan bytes);
using platform::Utf16ToUtf8;
// A subject as Outlook gives it: without the leading marker 0x01 + length character.
std::u16string StripSubjectMarker(std::u16string_view subject);

// --- Multi-valued properties ----------------------------------------------------------------

// PT_MV_STRING8 / PT_MV_UNICODE / PT_MV_BINARY as stored: uint32 count, uint32 offsets[count],
// then the values back to back (value i runs from offsets[i] to offsets[i + 1] or the end).
// nullopt when the count or an offset does not fit the bytes or the offsets go backwards.
std::optional<std::vector<Bytes>> ParseMultiValueVariable(ByteSpan data);
// PT_MV_SHORT / PT_MV_LONG / PT_MV_I8 ... as stored: the values packed, elementSize bytes
// each (little-endian, sign-extended). nullopt when the size is not a multiple.
std::optional<std::vector<std::int64_t>> ParseMultiValueFixed(ByteSpan data, std::size_t elementSize);

// --- Recurrence patterns (PidLidAppointmentRecur, PidLidTaskRecurrence) ---------------------

// One exception of an appointment series (ExceptionInfo): times in local minutes since
// 1601-01-01.
struct RecurrenceException
{
    std::uint32_t startMinutes = 0;
    std::uint32_t endMinutes = 0;
    std::uint32_t originalStartMinutes = 0;
    std::uint16_t overrideFlags = 0;
    std::u16string subject;  // when overrideFlags has 0x0001 (wide text when present)
    std::u16string location; // when overrideFlags has 0x0010
};

// The blob decoded. Dates are local minutes since 1601-01-01, as the file keeps them.
struct RecurrenceBlob
{
    std::uint16_t recurFrequency = 0; // 0x200A daily, 0x200B weekly, 0x200C monthly, 0x200D yearly
    std::uint16_t patternType = 0;    // 0 day, 1 week, 2 month, 3 month-nth, 4 month-end, 0xA.. Hijri
    std::uint16_t calendarType = 0;
    std::uint32_t firstDateTime = 0;
    std::uint32_t period = 0; // minutes (daily), weeks, months
    std::uint32_t slidingFlag = 0;
    std::uint32_t dayMask = 0;     // bit 0 Sunday .. bit 6 Saturday (week and month-nth patterns)
    std::uint32_t dayOfMonth = 0;  // month patterns
    std::uint32_t nthInstance = 0; // month-nth patterns: 1..4, 5 = last
    std::uint32_t endType = 0;     // 0x2021 by date, 0x2022 after n, 0x2023 / 0xFFFFFFFF never
    std::uint32_t occurrenceCount = 0;
    std::uint32_t firstDayOfWeek = 0;
    std::vector<std::uint32_t> deletedInstanceDates;
    std::vector<std::uint32_t> modifiedInstanceDates;
    std::uint32_t startDate = 0; // minutes, midnight of the first day
    std::uint32_t endDate = 0;   // minutes, midnight of the last day
    // The appointment part (absent in a task's pattern).
    bool hasAppointmentPart = false;
    std::uint32_t startTimeOffset = 0; // minutes after midnight
    std::uint32_t endTimeOffset = 0;
    std::vector<RecurrenceException> exceptions;
    std::size_t consumed = 0; // bytes read

    // No end: the end type says so, or the end date lies in year 4500 or later (a date Outlook
    // writes for "no end" that is no real end).
    bool NoEnd() const;
};

// nullopt when the blob is truncated, a count does not fit or a version is unknown.
std::optional<RecurrenceBlob> ParseRecurrenceBlob(ByteSpan data);

// Local minutes since 1601-01-01 as an OLE date (no time-zone conversion).
double MinutesToOleDate(std::uint32_t minutes);

// --- Compressed RTF (PidTagRtfCompressed) ---------------------------------------------------

// The RTF text; nullopt when the header is damaged, the sizes do not fit or a reference points
// past the output. Uncompressed ("MELA") content is returned as it is.
std::optional<std::string> DecompressRtf(ByteSpan data);
// Plain text of an RTF document: paragraphs as CR LF, \'hh in the document's \ansicpg (else
// defaultCodePage), \uN characters, destinations and HTML-encapsulation markup left out.
std::u16string RtfToText(std::string_view rtf, unsigned defaultCodePage);

// --- HTML bodies (PidTagHtml) --------------------------------------------------------------

// Plain text of an HTML body, for an item that has no other body: decoded with the charset
// the document names in a <meta> tag, else with codePage; markup, comments, <head>, <style>
// and <script> left out; <br> and the ends of blocks (p, div, tr, li, headings) as CR LF,
// table cells apart by a tab; character references decoded; runs of white space as one
// blank; blank lines at the start and end left out.
// charsetFromDocument false: the bytes are in codePage whatever the document says (a body kept
// as text, given here as UTF-8).
std::u16string HtmlToText(std::string_view html, unsigned codePage, bool charsetFromDocument = true);

// --- Property definition stream (PidLidPropertyDefinitionStream) ----------------------------

// The names of the user-defined fields, in the stream's order; nullopt when damaged.
std::optional<std::vector<std::u16string>> ParsePropertyDefinitionNames(ByteSpan data);

// --- Passwords ------------------------------------------------------------------------------

// The checksum a data file keeps of its password (PidTagPstPassword): CRC-32 of the
// password's 8-bit bytes, reflected polynomial 0xEDB88320, initial value 0, no final inversion.
std::uint32_t PasswordChecksum(std::string_view password);

} // namespace pst
