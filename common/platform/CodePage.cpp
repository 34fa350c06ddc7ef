#include "platform/CodePage.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cwctype>
#include <iconv.h>
#include <locale.h>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/Registry.h"

namespace platform {
namespace {

// Both directions of one 8-bit code page, built once through iconv.
struct CodePageTables
{
    std::string name;
    std::array<char32_t, 256> toUnicode{};
    std::unordered_map<char32_t, unsigned char> fromUnicode;
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};
};

std::string NormaliseName(std::string_view name)
{
    std::string n(name);
    bool digits = !n.empty();
    for (char c : n) {
        if (c < '0' || c > '9') {
            digits = false;
        }
    }
    return digits ? "CP" + n : n;
}

char32_t CaseMap(char32_t c, bool toUpper)
{
    static locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (utf8 != nullptr) {
        wint_t w = static_cast<wint_t>(c);
        return static_cast<char32_t>(toUpper ? towupper_l(w, utf8) : towlower_l(w, utf8));
    }
    // Without a Unicode locale: ASCII and Latin-1 letters.
    if (toUpper) {
        if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
            return c - 0x20;
        }
    } else if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 0x20;
    }
    return c;
}

std::unique_ptr<CodePageTables> BuildTables(std::string_view requested)
{
    if (requested.empty()) {
        return nullptr; // iconv would take "" as the locale's charset
    }
    auto tables = std::make_unique<CodePageTables>();
    tables->name = NormaliseName(requested);
    iconv_t cd = iconv_open("UTF-32LE", tables->name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return nullptr;
    }
    for (int b = 0; b < 256; ++b) {
        char in = static_cast<char>(b);
        unsigned char out[8] = {};
        char* inPtr = &in;
        size_t inLeft = 1;
        char* outPtr = reinterpret_cast<char*>(out);
        size_t outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        errno = 0;
        char32_t cp = static_cast<char32_t>(b); // undefined bytes keep their C1 code point
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) && outLeft == 4) {
            cp = static_cast<char32_t>(out[0] | (out[1] << 8) | (out[2] << 16) | (out[3] << 24));
        } else if (errno == EINVAL) {
            // A lead byte of a multi-byte charset (UTF-8, Shift-JIS): no 8-bit code page.
            iconv_close(cd);
            return nullptr;
        }
        tables->toUnicode[b] = cp;
    }
    iconv_close(cd);
    for (int b = 255; b >= 0; --b) {
        tables->fromUnicode[tables->toUnicode[b]] = static_cast<unsigned char>(b);
    }
    for (int b = 0; b < 256; ++b) {
        tables->upper[b] = tables->lower[b] = static_cast<unsigned char>(b);
        for (bool up : {true, false}) {
            auto it = tables->fromUnicode.find(CaseMap(tables->toUnicode[b], up));
            if (it != tables->fromUnicode.end()) {
                (up ? tables->upper : tables->lower)[b] = it->second;
            }
        }
    }
    return tables;
}

std::string ConfiguredName()
{
    if (const char* env = std::getenv("FERRYWISE_CODEPAGE"); env != nullptr && *env != '\0') {
        return env;
    }
    char acp[64] = {};
    if (RegQueryString(RegistryHive::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage", "ACP",
                       acp, sizeof acp) &&
        acp[0] != '\0') {
        return acp;
    }
    return "1252";
}

// Tables are never freed once published, so a reader may keep a reference without a lock.
std::mutex g_lock;
std::vector<std::unique_ptr<CodePageTables>> g_all;
std::atomic<const CodePageTables*> g_current{nullptr};

void Publish(std::unique_ptr<CodePageTables> tables)
{
    g_current.store(tables.get(), std::memory_order_release);
    g_all.push_back(std::move(tables));
}

const CodePageTables& Tables()
{
    if (const CodePageTables* t = g_current.load(std::memory_order_acquire)) {
        return *t;
    }
    std::lock_guard<std::mutex> guard(g_lock);
    if (g_current.load(std::memory_order_acquire) == nullptr) {
        auto tables = BuildTables(ConfiguredName());
        Publish(tables ? std::move(tables) : BuildTables("CP1252"));
    }
    return *g_current.load(std::memory_order_acquire);
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at s[i], advancing i; malformed input gives U+FFFD.
char32_t NextUtf8(std::string_view s, size_t& i)
{
    unsigned char c = static_cast<unsigned char>(s[i++]);
    if (c < 0x80) {
        return c;
    }
    int extra = (c >= 0xF0 && c < 0xF5) ? 3 : (c >= 0xE0) && c < 0xF0 ? 2 : (c >= 0xC2 && c < 0xE0) ? 1 : -1;
    if (extra < 0) {
        return 0xFFFD;
    }
    char32_t cp = c & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            return 0xFFFD;
        }
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    if ((extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp < 0xE000)) {
        return 0xFFFD;
    }
    return cp;
}

thread_local std::size_t t_lostCharacters = 0;

unsigned char ToAnsiChar(const CodePageTables& t, char32_t cp)
{
    auto it = t.fromUnicode.find(cp);
    if (it == t.fromUnicode.end()) {
        ++t_lostCharacters;
        return static_cast<unsigned char>('?');
    }
    return it->second;
}

} // namespace

std::size_t AnsiLostCharacters()
{
    return t_lostCharacters;
}

std::string AnsiCodePage()
{
    return Tables().name;
}

bool SetAnsiCodePage(std::string_view name)
{
    auto tables = BuildTables(name);
    if (!tables) {
        return false;
    }
    std::lock_guard<std::mutex> guard(g_lock);
    Publish(std::move(tables));
    return true;
}

std::u16string AnsiToUtf16(std::string_view ansi)
{
    const CodePageTables& t = Tables();
    std::u16string out;
    out.reserve(ansi.size());
    for (char c : ansi) {
        out += static_cast<char16_t>(t.toUnicode[static_cast<unsigned char>(c)]);
    }
    return out;
}

std::string Utf16ToAnsi(std::u16string_view utf16)
{
    const CodePageTables& t = Tables();
    std::string out;
    out.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] < 0xE000) {
            ++i; // a pair stands for one character outside the code page
            cp = 0xFFFD;
        }
        out += static_cast<char>(ToAnsiChar(t, cp));
    }
    return out;
}

std::string AnsiToUtf8(std::string_view ansi)
{
    const CodePageTables& t = Tables();
    std::string out;
    out.reserve(ansi.size() + ansi.size() / 4);
    for (char c : ansi) {
        AppendUtf8(out, t.toUnicode[static_cast<unsigned char>(c)]);
    }
    return out;
}

std::string Utf8ToAnsi(std::string_view utf8)
{
    const CodePageTables& t = Tables();
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        out += static_cast<char>(ToAnsiChar(t, NextUtf8(utf8, i)));
    }
    return out;
}

const unsigned char* AnsiUpperTable()
{
    return Tables().upper.data();
}

unsigned char AnsiToUpper(unsigned char c)
{
    return Tables().upper[c];
}

unsigned char AnsiToLower(unsigned char c)
{
    return Tables().lower[c];
}

int AnsiCompareNoCase(const char* a, const char* b)
{
    const CodePageTables& t = Tables();
    const auto* x = reinterpret_cast<const unsigned char*>(a);
    const auto* y = reinterpret_cast<const unsigned char*>(b);
    for (;; ++x, ++y) {
        // Lower case, as _stricmp folds: "_" sorts before letters.
        int cx = t.lower[*x];
        int cy = t.lower[*y];
        if (cx != cy || *x == 0) {
            return cx - cy;
        }
    }
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD; // a lone surrogate
        }
        AppendUtf8(out, cp);
    }
    return out;
}

} // namespace platform
