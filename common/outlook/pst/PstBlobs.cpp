#include "outlook/pst/PstBlobs.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iconv.h>

namespace pst {
namespace {

// Bounds-checked little-endian reads over a span; a read past the end sets the failure flag
// and yields 0 or nothing.
class Reader
{
public:
    explicit Reader(ByteSpan data) : m_data(data) {}

    bool Ok() const { return m_ok; }
    std::size_t Offset() const { return m_pos; }
    std::size_t Left() const { return m_ok ? m_data.size() - m_pos : 0; }

    std::uint32_t Uint(std::size_t size)
    {
        if (!Need(size)) {
            return 0;
        }
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < size; ++i) {
            v |= static_cast<std::uint32_t>(m_data[m_pos + i]) << (8 * i);
        }
        m_pos += size;
        return v;
    }
    std::uint8_t U8() { return static_cast<std::uint8_t>(Uint(1)); }
    std::uint16_t U16() { return static_cast<std::uint16_t>(Uint(2)); }
    std::uint32_t U32() { return Uint(4); }

    ByteSpan Take(std::size_t size)
    {
        if (!Need(size)) {
            return {};
        }
        ByteSpan s = m_data.subspan(m_pos, size);
        m_pos += size;
        return s;
    }
    bool Skip(std::size_t size) { return Need(size) && (m_pos += size, true); }
    void Fail() { m_ok = false; }

private:
    bool Need(std::size_t size)
    {
        if (!m_ok || size > m_data.size() - m_pos) {
            m_ok = false;
            return false;
        }
        return true;
    }

    ByteSpan m_data;
    std::size_t m_pos = 0;
    bool m_ok = true;
};

std::string IconvName(unsigned codePage)
{
    switch (codePage) {
    case 65001:
        return "UTF-8";
    case 20127:
        return "ASCII";
    case 1200:
        return "UTF-16LE";
    case 50220:
    case 50221:
    case 50222:
        return "ISO-2022-JP";
    case 51932:
    case 20932:
        return "EUC-JP";
    case 51949:
        return "EUC-KR";
    case 936:
        return "GBK";
    case 54936:
        return "GB18030";
    case 950:
        return "BIG5";
    case 10000:
        return "MACINTOSH";
    default:
        break;
    }
    if (codePage >= 28591 && codePage <= 28606) {
        return "ISO-8859-" + std::to_string(codePage - 28590);
    }
    return "CP" + std::to_string(codePage);
}

// One conversion through iconv, nullopt when iconv does not know the code page.
std::optional<std::u16string> IconvFrom(std::string_view bytes, const char* charset)
{
    iconv_t cd = iconv_open("UTF-16LE", charset);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::u16string out;
    std::string buffer(4096, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        errno = 0;
        const std::size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        const std::size_t produced = buffer.size() - outLeft;
        for (std::size_t i = 0; i + 1 < produced; i += 2) {
            out += static_cast<char16_t>(static_cast<unsigned char>(buffer[i]) |
                                         (static_cast<unsigned char>(buffer[i + 1]) << 8));
        }
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // An invalid or incomplete sequence: one byte becomes U+FFFD.
            out += u'\uFFFD';
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

std::optional<std::u16string> Iconv(std::string_view bytes, unsigned codePage)
{
    return IconvFrom(bytes, IconvName(codePage).c_str());
}

bool IsNoEndDate(std::uint32_t minutes)
{
    // 4500-01-01 00:00 in minutes since 1601-01-01.
    constexpr double kDaysTo4500 = 1058838.0; // days from 1601-01-01 to 4500-01-01
    return static_cast<double>(minutes) >= kDaysTo4500 * 1440.0;
}

// The dictionary that compressed RTF starts from.
constexpr char kRtfPrebuffer[] =
    "{\\rtf1\\ansi\\mac\\deff0\\deftab720{\\fonttbl;}{\\f0\\fnil \\froman \\fswiss "
    "\\fmodern \\fscript \\fdecor MS Sans SerifSymbolArialTimes New RomanCourier"
    "{\\colortbl\\red0\\green0\\blue0\r\n\\par \\pard\\plain\\f0\\fs20\\b\\i\\u\\tab"
    "\\tx";

} // namespace

bool IsKnownCodePage(unsigned codePage)
{
    iconv_t cd = iconv_open("UTF-16LE", IconvName(codePage).c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    iconv_close(cd);
    return true;
}

std::u16string DecodeCodePage(std::string_view bytes, unsigned codePage)
{
    while (!bytes.empty() && bytes.back() == '\0') {
        bytes.remove_suffix(1);
    }
    if (auto text = Iconv(bytes, codePage)) {
        return *text;
    }
    return Iconv(bytes, 1252).value_or(std::u16string());
}

std::optional<std::u16string> DecodeUtf16Le(ByteSpan bytes)
{
    if (bytes.size() % 2 != 0) {
        return std::nullopt;
    }
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        out += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    }
    while (!out.empty() && out.back() == u'\0') {
        out.pop_back();
    }
    for (std::size_t i = 0; i < out.size(); ++i) {
        const char16_t c = out[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < out.size() && out[i + 1] >= 0xDC00 &&
            out[i + 1] <= 0xDFFF) {
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            out[i] = u'\uFFFD';
        }
    }
    return out;
}

std::u16string StripSubjectMarker(std::u16string_view subject)
{
    if (subject.size() >= 2 && subject[0] == u'\x01') {
        subject.remove_prefix(2);
    }
    return std::u16string(subject);
}

std::optional<std::vector<Bytes>> ParseMultiValueVariable(ByteSpan data)
{
    Reader r(data);
    const std::uint32_t count = r.U32();
    if (!r.Ok() || count > r.Left() / 4) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> offsets(count);
    for (auto& o : offsets) {
        o = r.U32();
    }
    const std::size_t dataStart = r.Offset();
    std::vector<Bytes> values;
    values.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t begin = offsets[i];
        const std::size_t end = i + 1 < count ? offsets[i + 1] : data.size();
        if (begin < dataStart || begin > end || end > data.size()) {
            return std::nullopt;
        }
        values.emplace_back(data.begin() + static_cast<std::ptrdiff_t>(begin),
                            data.begin() + static_cast<std::ptrdiff_t>(end));
    }
    return values;
}

std::optional<std::vector<std::int64_t>> ParseMultiValueFixed(ByteSpan data, std::size_t elementSize)
{
    if (elementSize == 0 || elementSize > 8 || data.size() % elementSize != 0) {
        return std::nullopt;
    }
    std::vector<std::int64_t> values;
    for (std::size_t i = 0; i < data.size(); i += elementSize) {
        std::uint64_t v = 0;
        for (std::size_t b = 0; b < elementSize; ++b) {
            v |= static_cast<std::uint64_t>(data[i + b]) << (8 * b);
        }
        if (elementSize < 8 && (v >> (8 * elementSize - 1)) != 0) {
            v |= ~std::uint64_t{0} << (8 * elementSize);
        }
        values.push_back(static_cast<std::int64_t>(v));
    }
    return values;
}

bool RecurrenceBlob::NoEnd() const
{
    return endType == 0x2023 || endType == 0xFFFFFFFF || IsNoEndDate(endDate);
}

std::optional<RecurrenceBlob> ParseRecurrenceBlob(ByteSpan data)
{
    Reader r(data);
    RecurrenceBlob b;
    const std::uint16_t readerVersion = r.U16();
    const std::uint16_t writerVersion = r.U16();
    if (!r.Ok() || readerVersion != 0x3004 || writerVersion != 0x3004) {
        return std::nullopt;
    }
    b.recurFrequency = r.U16();
    b.patternType = r.U16();
    b.calendarType = r.U16();
    b.firstDateTime = r.U32();
    b.period = r.U32();
    b.slidingFlag = r.U32();
    switch (b.patternType) {
    case 0x0000:
        break;
    case 0x0001:
        b.dayMask = r.U32();
        break;
    case 0x0002:
    case 0x0004:
    case 0x000A:
    case 0x000C:
        b.dayOfMonth = r.U32();
        break;
    case 0x0003:
    case 0x000B:
        b.dayMask = r.U32();
        b.nthInstance = r.U32();
        break;
    default:
        return std::nullopt;
    }
    if (b.recurFrequency < 0x200A || b.recurFrequency > 0x200D) {
        return std::nullopt;
    }
    b.endType = r.U32();
    b.occurrenceCount = r.U32();
    b.firstDayOfWeek = r.U32();
    for (auto* list : {&b.deletedInstanceDates, &b.modifiedInstanceDates}) {
        const std::uint32_t count = r.U32();
        if (!r.Ok() || count > r.Left() / 4) {
            return std::nullopt;
        }
        list->resize(count);
        for (auto& d : *list) {
            d = r.U32();
        }
    }
    b.startDate = r.U32();
    b.endDate = r.U32();
    if (!r.Ok()) {
        return std::nullopt;
    }
    b.consumed = r.Offset();
    if (r.Left() == 0) {
        return b;
    }

    // The appointment part.
    const std::uint32_t readerVersion2 = r.U32();
    const std::uint32_t writerVersion2 = r.U32();
    if (!r.Ok() || readerVersion2 != 0x3006 || writerVersion2 < 0x3006) {
        return std::nullopt;
    }
    b.hasAppointmentPart = true;
    b.startTimeOffset = r.U32();
    b.endTimeOffset = r.U32();
    const std::uint16_t exceptionCount = r.U16();
    if (!r.Ok() || exceptionCount > r.Left() / 14) {
        return std::nullopt;
    }
    b.exceptions.resize(exceptionCount);
    auto readAnsi = [&r](std::u16string& out) {
        const std::uint16_t length = r.U16();
        const std::uint16_t length2 = r.U16();
        if (length != length2 + 1) {
            r.Fail();
        }
        const ByteSpan text = r.Take(length2);
        out = DecodeCodePage(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), 1252);
    };
    for (auto& e : b.exceptions) {
        e.startMinutes = r.U32();
        e.endMinutes = r.U32();
        e.originalStartMinutes = r.U32();
        e.overrideFlags = r.U16();
        if (e.overrideFlags & 0x0001) {
            readAnsi(e.subject);
        }
        for (std::uint16_t flag : {0x0002, 0x0004, 0x0008}) {
            if (e.overrideFlags & flag) {
                r.Skip(4);
            }
        }
        if (e.overrideFlags & 0x0010) {
            readAnsi(e.location);
        }
        for (std::uint16_t flag : {0x0020, 0x0040, 0x0080, 0x0100}) {
            if (e.overrideFlags & flag) {
                r.Skip(4);
            }
        }
        if (!r.Ok()) {
            return std::nullopt;
        }
    }
    r.Skip(r.U32()); // ReservedBlock1
    for (auto& e : b.exceptions) {
        if (writerVersion2 >= 0x3009) {
            r.Skip(r.U32()); // ChangeHighlight
        }
        r.Skip(r.U32()); // ReservedBlockEE1
        if (e.overrideFlags & 0x0011) {
            r.Skip(12); // the three dates again
            auto readWide = [&r](std::u16string& out) {
                const std::uint16_t chars = r.U16();
                if (auto text = DecodeUtf16Le(r.Take(std::size_t{chars} * 2))) {
                    out = *text;
                }
            };
            if (e.overrideFlags & 0x0001) {
                readWide(e.subject);
            }
            if (e.overrideFlags & 0x0010) {
                readWide(e.location);
            }
            r.Skip(r.U32()); // ReservedBlockEE2
        }
        if (!r.Ok()) {
            return std::nullopt;
        }
    }
    r.Skip(r.U32()); // ReservedBlock2
    if (!r.Ok()) {
        return std::nullopt;
    }
    b.consumed = r.Offset();
    return b;
}

double MinutesToOleDate(std::uint32_t minutes)
{
    // 1601-01-01 is OLE day -109205.
    const std::uint32_t days = minutes / 1440;
    const std::uint32_t rest = minutes % 1440;
    return -109205.0 + static_cast<double>(days) + static_cast<double>(rest) / 1440.0;
}

std::optional<std::string> DecompressRtf(ByteSpan data)
{
    Reader r(data);
    const std::uint32_t compSize = r.U32();
    const std::uint32_t rawSize = r.U32();
    const std::uint32_t compType = r.U32();
    r.U32(); // CRC, not checked: the content is checked by the parse
    if (!r.Ok() || compSize < 12 || compSize - 12 > r.Left() || rawSize > kMaxValueSize) {
        return std::nullopt;
    }
    const ByteSpan body = data.subspan(16, compSize - 12);
    if (compType == 0x414C454D) { // "MELA": not compressed
        return std::string(reinterpret_cast<const char*>(body.data()),
                           std::min<std::size_t>(body.size(), rawSize));
    }
    if (compType != 0x75465A4C) { // "LZFu"
        return std::nullopt;
    }
    std::array<char, 4096> dict{};
    constexpr std::size_t kPrebufferSize = sizeof kRtfPrebuffer - 1;
    std::memcpy(dict.data(), kRtfPrebuffer, kPrebufferSize);
    std::size_t write = kPrebufferSize;
    std::string out;
    out.reserve(rawSize);
    std::size_t pos = 0;
    while (pos < body.size()) {
        const std::uint8_t control = body[pos++];
        for (int bit = 0; bit < 8 && pos < body.size(); ++bit) {
            if ((control & (1u << bit)) == 0) {
                const char c = static_cast<char>(body[pos++]);
                out += c;
                dict[write] = c;
                write = (write + 1) % dict.size();
            } else {
                if (pos + 2 > body.size()) {
                    return std::nullopt;
                }
                const unsigned ref = (body[pos] << 8) | body[pos + 1];
                pos += 2;
                const std::size_t offset = ref >> 4;
                const std::size_t length = (ref & 0x0F) + 2;
                if (offset == write) {
                    return out; // end marker
                }
                for (std::size_t i = 0; i < length; ++i) {
                    const char c = dict[(offset + i) % dict.size()];
                    out += c;
                    dict[write] = c;
                    write = (write + 1) % dict.size();
                }
            }
            if (out.size() > rawSize + 18) {
                return std::nullopt; // more than the header announced
            }
        }
    }
    return out;
}

std::u16string RtfToText(std::string_view rtf, unsigned defaultCodePage)
{
    struct Group
    {
        bool skip = false;
        int ucSkip = 1;
        bool htmlrtf = false;
    };
    std::vector<Group> stack{Group{}};
    unsigned codePage = defaultCodePage;
    std::u16string out;
    std::string pending; // 8-bit bytes waiting for their code page
    int skipChars = 0;   // characters after \uN still to leave out
    auto flush = [&]() {
        if (!pending.empty()) {
            out += DecodeCodePage(pending, codePage);
            pending.clear();
        }
    };
    auto visible = [&]() { return !stack.back().skip && !stack.back().htmlrtf; };
    auto emitByte = [&](char c) {
        if (skipChars > 0) {
            --skipChars;
            return;
        }
        if (visible()) {
            pending += c;
        }
    };
    auto emitText = [&](std::u16string_view t) {
        if (visible()) {
            flush();
            out += t;
        }
    };
    std::size_t i = 0;
    bool destinationNext = false;
    while (i < rtf.size()) {
        const char c = rtf[i];
        if (c == '{') {
            if (stack.size() > 1000) {
                break; // nesting this deep is damage
            }
            stack.push_back(stack.back());
            ++i;
            skipChars = 0;
        } else if (c == '}') {
            if (stack.size() > 1) {
                stack.pop_back();
            }
            ++i;
            skipChars = 0;
        } else if (c == '\\') {
            ++i;
            if (i >= rtf.size()) {
                break;
            }
            const char n = rtf[i];
            if (std::isalpha(static_cast<unsigned char>(n))) {
                std::size_t start = i;
                while (i < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[i]))) {
                    ++i;
                }
                const std::string_view word = rtf.substr(start, i - start);
                bool hasParam = false;
                long param = 0;
                bool negative = false;
                if (i < rtf.size() && rtf[i] == '-') {
                    negative = true;
                    ++i;
                }
                int digits = 0;
                while (i < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[i]))) {
                    if (digits++ < 9) {
                        param = param * 10 + (rtf[i] - '0');
                    }
                    hasParam = true;
                    ++i;
                }
                if (negative) {
                    param = -param;
                }
                if (i < rtf.size() && rtf[i] == ' ') {
                    ++i;
                }
                if (destinationNext) {
                    stack.back().skip = true;
                    destinationNext = false;
                }
                if (word == "par" || word == "line" || word == "row") {
                    emitText(u"\r\n");
                } else if (word == "tab" || word == "cell") {
                    emitText(u"\t");
                } else if (word == "emdash") {
                    emitText(u"\u2014");
                } else if (word == "endash") {
                    emitText(u"\u2013");
                } else if (word == "bullet") {
                    emitText(u"\u2022");
                } else if (word == "lquote") {
                    emitText(u"\u2018");
                } else if (word == "rquote") {
                    emitText(u"\u2019");
                } else if (word == "ldblquote") {
                    emitText(u"\u201C");
                } else if (word == "rdblquote") {
                    emitText(u"\u201D");
                } else if (word == "ansicpg" && hasParam && param > 0 &&
                           IsKnownCodePage(static_cast<unsigned>(param))) {
                    flush();
                    codePage = static_cast<unsigned>(param);
                } else if (word == "uc" && hasParam) {
                    stack.back().ucSkip = static_cast<int>(std::max(0L, std::min(param, 10L)));
                } else if (word == "u" && hasParam) {
                    emitText(std::u16string(1, static_cast<char16_t>(param < 0 ? param + 65536 : param)));
                    skipChars = stack.back().ucSkip;
                } else if (word == "htmlrtf") {
                    flush();
                    stack.back().htmlrtf = !hasParam || param != 0;
                } else if (word == "fonttbl" || word == "colortbl" || word == "stylesheet" ||
                           word == "info" || word == "pict" || word == "object" || word == "header" ||
                           word == "footer" || word == "headerl" || word == "headerr" || word == "footerl" ||
                           word == "footerr" || word == "listtable" || word == "listoverridetable" ||
                           word == "rsidtbl" || word == "generator" || word == "xmlnstbl" ||
                           word == "themedata" || word == "colorschememapping" || word == "latentstyles" ||
                           word == "datastore" || word == "fldinst" || word == "filetbl" ||
                           word == "revtbl" || word == "mmathPr") {
                    stack.back().skip = true;
                }
            } else if (n == '\'') {
                if (i + 2 < rtf.size() + 0 && std::isxdigit(static_cast<unsigned char>(rtf[i + 1])) &&
                    std::isxdigit(static_cast<unsigned char>(rtf[i + 2]))) {
                    const char hex[3] = {rtf[i + 1], rtf[i + 2], 0};
                    emitByte(static_cast<char>(std::strtol(hex, nullptr, 16)));
                    i += 3;
                } else {
                    i += 1;
                }
            } else if (n == '*') {
                destinationNext = true;
                ++i;
            } else if (n == '~') {
                emitText(u"\u00A0");
                ++i;
            } else if (n == '\r' || n == '\n') {
                emitText(u"\r\n");
                ++i;
            } else {
                // \\ \{ \} and other escaped symbols.
                if (n == '\\' || n == '{' || n == '}') {
                    emitByte(n);
                }
                ++i;
            }
        } else if (c == '\r' || c == '\n') {
            ++i;
        } else {
            destinationNext = false;
            emitByte(c);
            ++i;
        }
    }
    flush();
    return out;
}

std::optional<std::vector<std::u16string>> ParsePropertyDefinitionNames(ByteSpan data)
{
    Reader r(data);
    const std::uint16_t version = r.U16();
    const std::uint32_t count = r.U32();
    if (!r.Ok() || (version != 0x0102 && version != 0x0103) || count > r.Left() / 12) {
        return std::nullopt;
    }
    auto skipPackedAnsi = [&r]() {
        std::size_t length = r.U8();
        if (length == 0xFF) {
            length = r.U16();
        }
        r.Skip(length);
    };
    std::vector<std::u16string> names;
    for (std::uint32_t i = 0; i < count; ++i) {
        r.U32(); // flags
        r.U16(); // type
        r.U32(); // dispatch id
        const std::uint16_t nameChars = r.U16();
        auto name = DecodeUtf16Le(r.Take(std::size_t{nameChars} * 2));
        for (int s = 0; s < 5; ++s) {
            skipPackedAnsi(); // name, formula, validation rule and text, error
        }
        if (version == 0x0103) {
            r.U32(); // internal type
            for (;;) {
                const std::uint32_t size = r.U32();
                if (!r.Ok() || size == 0) {
                    break;
                }
                r.Skip(size);
            }
        }
        if (!r.Ok() || !name) {
            return std::nullopt;
        }
        names.push_back(*name);
    }
    return names;
}

std::uint32_t PasswordChecksum(std::string_view password)
{
    std::uint32_t crc = 0;
    for (unsigned char b : password) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) {
            crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        }
    }
    return crc;
}

// --- HTML bodies -----------------------------------------------------------------------------

namespace {

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view word)
{
    if (at > text.size() || text.size() - at < word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (Lower(text[at + i]) != word[i]) {
            return false;
        }
    }
    return true;
}

std::size_t FindNoCase(std::string_view text, std::string_view word, std::size_t from)
{
    for (std::size_t i = from; i < text.size(); ++i) {
        if (StartsWithNoCase(text, i, word)) {
            return i;
        }
    }
    return std::string_view::npos;
}

// The charset a <meta> tag names ("charset=..."), in the first part of the document.
std::string MetaCharset(std::string_view html)
{
    const std::string_view head = html.substr(0, std::min<std::size_t>(html.size(), 4096));
    std::size_t at = FindNoCase(head, "charset=", 0);
    if (at == std::string_view::npos) {
        return {};
    }
    at += 8;
    while (at < head.size() && (head[at] == '"' || head[at] == '\'' || head[at] == ' ')) {
        ++at;
    }
    std::string name;
    while (at < head.size() && name.size() < 40) {
        const char c = head[at++];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
              c == '_' || c == ':' || c == '.')) {
            break;
        }
        name += c;
    }
    return name;
}

struct NamedEntity
{
    const char* name;
    char16_t value;
};

constexpr NamedEntity kEntities[] = {
    {"amp", u'&'},         {"lt", u'<'},          {"gt", u'>'},          {"quot", u'"'},
    {"apos", u'\''},       {"nbsp", u'\u00A0'},   {"copy", u'\u00A9'},   {"reg", u'\u00AE'},
    {"euro", u'\u20AC'},   {"ndash", u'\u2013'},  {"mdash", u'\u2014'},  {"hellip", u'\u2026'},
    {"lsquo", u'\u2018'},  {"rsquo", u'\u2019'},  {"ldquo", u'\u201C'},  {"rdquo", u'\u201D'},
    {"bull", u'\u2022'},   {"middot", u'\u00B7'}, {"auml", u'\u00E4'},   {"ouml", u'\u00F6'},
    {"uuml", u'\u00FC'},   {"Auml", u'\u00C4'},   {"Ouml", u'\u00D6'},   {"Uuml", u'\u00DC'},
    {"szlig", u'\u00DF'},  {"eacute", u'\u00E9'}, {"egrave", u'\u00E8'}, {"agrave", u'\u00E0'},
    {"ccedil", u'\u00E7'}, {"oelig", u'\u0153'},
};

void AppendCodePoint(std::u16string& out, std::uint32_t cp)
{
    if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        out += u'\uFFFD';
    } else if (cp >= 0x10000) {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
        out += static_cast<char16_t>(cp);
    }
}

} // namespace

std::u16string HtmlToText(std::string_view html, unsigned codePage, bool charsetFromDocument)
{
    if (html.size() > kMaxValueSize) {
        html = html.substr(0, kMaxValueSize);
    }
    std::u16string text;
    const std::string charset = charsetFromDocument ? MetaCharset(html) : std::string();
    std::optional<std::u16string> decoded;
    if (!charset.empty()) {
        decoded = IconvFrom(html, charset.c_str());
    }
    const std::u16string source = decoded ? *decoded : DecodeCodePage(html, codePage);

    // The text is built with '\n' for line ends; blanks collapse unless inside <pre>.
    std::u16string out;
    bool pendingBlank = false;
    int pre = 0;
    auto lineEnd = [&]() {
        while (!out.empty() && out.back() == u' ') {
            out.pop_back();
        }
        out += u'\n';
        pendingBlank = false;
    };
    auto put = [&](char16_t c) {
        if (pendingBlank && !out.empty() && out.back() != u'\n' && out.back() != u'\t') {
            out += u' ';
        }
        pendingBlank = false;
        out += c;
    };
    // The tag name at i (after '<' and an optional '/'), lower case ASCII.
    auto tagName = [&](std::size_t i) {
        std::string name;
        while (i < source.size() && name.size() < 16) {
            const char16_t c = source[i];
            if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
                  c == u'!' || c == u':')) {
                break;
            }
            name += Lower(static_cast<char>(c));
            ++i;
        }
        return name;
    };
    auto findFrom = [&](std::u16string_view what, std::size_t from) {
        const std::size_t at = std::u16string_view(source).find(what, from);
        return at == std::u16string_view::npos ? source.size() : at;
    };
    // The end of a raw element (<style>, <script>, <head>, <title>): its closing tag, any case.
    auto skipRaw = [&](std::size_t from, const std::string& name) {
        for (std::size_t i = from; i < source.size(); ++i) {
            if (source[i] == u'<' && i + 1 < source.size() && source[i + 1] == u'/' &&
                tagName(i + 2) == name) {
                return findFrom(u">", i) + 1;
            }
        }
        return source.size();
    };

    std::size_t i = 0;
    while (i < source.size()) {
        const char16_t c = source[i];
        if (c == u'<') {
            if (std::u16string_view(source).substr(i, 4) == u"<!--") {
                const std::size_t end = findFrom(u"-->", i + 4);
                i = std::min(source.size(), end + 3);
                continue;
            }
            const bool closing = i + 1 < source.size() && source[i + 1] == u'/';
            const std::string name = tagName(i + (closing ? 2 : 1));
            if (name.empty() && !closing) {
                put(c); // a '<' that starts no tag
                ++i;
                continue;
            }
            // The tag's end: the next '>' outside quotes.
            std::size_t end = i + 1;
            char16_t quote = 0;
            for (; end < source.size(); ++end) {
                const char16_t q = source[end];
                if (quote != 0) {
                    quote = q == quote ? 0 : quote;
                } else if (q == u'"' || q == u'\'') {
                    quote = q;
                } else if (q == u'>') {
                    break;
                }
            }
            i = std::min(source.size(), end + 1);
            if (!closing && (name == "style" || name == "script" || name == "head" || name == "title")) {
                i = skipRaw(i, name);
                continue;
            }
            if (name == "br") {
                lineEnd();
            } else if (name == "p" || name == "div" || name == "tr" || name == "li" || name == "table" ||
                       name == "blockquote" || name == "ul" || name == "ol" ||
                       (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6')) {
                if (!out.empty() && out.back() != u'\n') {
                    lineEnd();
                }
            } else if ((name == "td" || name == "th") && !closing) {
                if (!out.empty() && out.back() != u'\n') {
                    while (!out.empty() && out.back() == u' ') {
                        out.pop_back();
                    }
                    out += u'\t';
                    pendingBlank = false;
                }
            } else if (name == "pre") {
                pre = closing ? std::max(0, pre - 1) : std::min(pre + 1, 100);
            }
            continue;
        }
        if (c == u'&') {
            std::size_t end = i + 1;
            while (end < source.size() && end - i < 12 && source[end] != u';' && source[end] != u'&' &&
                   source[end] != u'<' && source[end] != u' ') {
                ++end;
            }
            if (end < source.size() && source[end] == u';' && end > i + 1) {
                std::string ref;
                for (std::size_t k = i + 1; k < end; ++k) {
                    ref += source[k] < 0x80 ? static_cast<char>(source[k]) : '?';
                }
                bool known = false;
                if (ref[0] == '#') {
                    const bool hex = ref.size() > 1 && (ref[1] == 'x' || ref[1] == 'X');
                    const std::string digits = ref.substr(hex ? 2 : 1);
                    std::uint32_t cp = 0;
                    bool ok = !digits.empty() && digits.size() <= 7;
                    for (char d : digits) {
                        const int v = (d >= '0' && d <= '9')          ? d - '0'
                                      : hex && (d >= 'a' && d <= 'f') ? d - 'a' + 10
                                      : hex && (d >= 'A' && d <= 'F') ? d - 'A' + 10
                                                                      : -1;
                        ok = ok && v >= 0;
                        cp = ok ? cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(v) : 0;
                    }
                    if (ok) {
                        std::u16string one;
                        AppendCodePoint(one, cp);
                        for (char16_t u : one) {
                            put(u == u'\u00A0' ? u' ' : u);
                        }
                        known = true;
                    }
                } else {
                    for (const NamedEntity& e : kEntities) {
                        if (ref == e.name) {
                            put(e.value == u'\u00A0' ? u' ' : e.value);
                            known = true;
                            break;
                        }
                    }
                }
                if (known) {
                    i = end + 1;
                    continue;
                }
            }
            put(c);
            ++i;
            continue;
        }
        if (c == u'\r' || c == u'\n' || c == u' ' || c == u'\t' || c == u'\f') {
            if (pre > 0) {
                if (c == u'\n') {
                    lineEnd();
                } else if (c != u'\r') {
                    out += c;
                }
            } else {
                pendingBlank = true;
            }
            ++i;
            continue;
        }
        put(c);
        ++i;
    }
    // Blank lines and blanks at both ends left out; line ends as CR LF.
    std::size_t first = 0;
    while (first < out.size() && (out[first] == u'\n' || out[first] == u' ' || out[first] == u'\t')) {
        ++first;
    }
    std::size_t last = out.size();
    while (last > first && (out[last - 1] == u'\n' || out[last - 1] == u' ' || out[last - 1] == u'\t')) {
        --last;
    }
    text.reserve(last - first);
    for (std::size_t k = first; k < last; ++k) {
        if (out[k] == u'\n') {
            text += u"\r\n";
        } else {
            text += out[k];
        }
    }
    return text;
}

} // namespace pst
