#include "platform/Profile.h"

#include <cerrno>
#include <cstring>
#include <mutex>
#include <string_view>
#include <sys/stat.h>

#include "platform/Files.h"

namespace platform {
namespace {

// Profile files may hold passwords; a new one is readable by its owner only.
constexpr unsigned kNewFileMode = 0600;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// ASCII folding only: the code page's own tables are built from the emulated registry,
// which is read through these functions, so using them here would recurse.
char FoldCase(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) {
            return false;
        }
    }
    return true;
}

enum class LineKind
{
    Other,   // blank, comment, junk: kept, never matched
    Section, // "[name]"
    Key,     // "name=value"
};

// One line of the file as offsets into its text: [begin, textEnd) is the line,
// [textEnd, end) its terminator (CR LF, CR, LF or nothing at the end of the file).
struct Line
{
    std::size_t begin = 0;
    std::size_t textEnd = 0;
    std::size_t end = 0;
    LineKind kind = LineKind::Other;
    std::string_view name;  // trimmed section or key name
    std::string_view value; // trimmed raw value of a key
};

// Walks the lines of a profile file; never reads outside the text.
class LineReader
{
public:
    explicit LineReader(std::string_view text) : m_text(text)
    {
        // A UTF-8 byte order mark belongs to no line; it is kept as it is.
        if (m_text.substr(0, 3) == "\xEF\xBB\xBF") {
            m_pos = 3;
        }
    }

    bool Next(Line& line)
    {
        if (m_pos >= m_text.size()) {
            return false;
        }
        line = Line{};
        line.begin = m_pos;
        std::size_t i = m_pos;
        while (i < m_text.size() && m_text[i] != '\r' && m_text[i] != '\n') {
            ++i;
        }
        line.textEnd = i;
        if (i < m_text.size()) {
            i += (m_text[i] == '\r' && i + 1 < m_text.size() && m_text[i + 1] == '\n') ? 2 : 1;
        }
        line.end = m_pos = i;
        Classify(m_text.substr(line.begin, line.textEnd - line.begin), line);
        return true;
    }

private:
    static void Classify(std::string_view text, Line& line)
    {
        std::string_view t = Trim(text);
        if (!t.empty() && t.front() == '[') {
            std::size_t close = t.rfind(']');
            if (close != std::string_view::npos) {
                line.kind = LineKind::Section;
                line.name = Trim(t.substr(1, close - 1));
                return;
            }
        }
        std::size_t equals = t.find('=');
        if (equals != std::string_view::npos) {
            line.kind = LineKind::Key;
            line.name = Trim(t.substr(0, equals));
            line.value = Trim(t.substr(equals + 1));
        }
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

// The value as a caller sees it: up to a NUL byte, trimmed, surrounding quotes stripped.
std::string_view CookedValue(std::string_view raw)
{
    std::size_t nul = raw.find('\0');
    if (nul != std::string_view::npos) {
        raw = Trim(raw.substr(0, nul));
    }
    if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"') {
        raw = raw.substr(1, raw.size() - 2);
    }
    return raw;
}

// Finds the key in the first section of that name.
bool FindValue(std::string_view text, std::string_view section, std::string_view key, std::string_view& value)
{
    LineReader reader(text);
    Line line;
    bool inSection = false;
    bool seenSection = false;
    while (reader.Next(line)) {
        if (line.kind == LineKind::Section) {
            if (seenSection) {
                return false;
            }
            inSection = SameName(line.name, section);
            seenSection = inSection;
        } else if (inSection && line.kind == LineKind::Key && SameName(line.name, key)) {
            value = CookedValue(line.value);
            return true;
        }
    }
    return false;
}

bool ReadProfile(const char* path, std::string& text)
{
    return path != nullptr && *path != '\0' && ReadWholeFile(path, text, kMaxProfileFileBytes);
}

std::uint32_t CopyOut(std::string_view text, char* buffer, std::uint32_t size)
{
    std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
    if (n > 0) {
        std::memcpy(buffer, text.data(), n);
    }
    buffer[n] = '\0';
    return static_cast<std::uint32_t>(n);
}

bool HasLineBreak(std::string_view s)
{
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// Serialises read-modify-write cycles of this process.
std::mutex g_writeLock;

} // namespace

bool FindPrivateProfileValue(const char* section, const char* key, const char* path, std::string& value)
{
    value.clear();
    std::string text;
    if (section == nullptr || key == nullptr || !ReadProfile(path, text)) {
        return false;
    }
    std::string_view found;
    if (!FindValue(text, Trim(section), Trim(key), found)) {
        return false;
    }
    value.assign(found);
    return true;
}

std::uint32_t GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                      char* buffer, std::uint32_t size, const char* path)
{
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    std::string value;
    if (FindPrivateProfileValue(section, key, path, value)) {
        return CopyOut(value, buffer, size);
    }
    std::string_view fallback = defaultValue != nullptr ? defaultValue : "";
    while (!fallback.empty() && IsBlank(fallback.back())) {
        fallback.remove_suffix(1);
    }
    return CopyOut(fallback, buffer, size);
}

std::uint32_t GetPrivateProfileInt(const char* section, const char* key, int defaultValue, const char* path)
{
    std::string value;
    if (!FindPrivateProfileValue(section, key, path, value)) {
        return static_cast<std::uint32_t>(defaultValue);
    }
    std::string_view s = Trim(value);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    std::uint32_t result = 0; // unsigned arithmetic wraps modulo 2^32 as Windows does
    for (char c : s) {
        if (c < '0' || c > '9') {
            break;
        }
        result = result * 10u + static_cast<std::uint32_t>(c - '0');
    }
    return negative ? 0u - result : result;
}

namespace {

// Applies one write to the text of a profile file, with the rules of WritePrivateProfileString.
// False when the write is refused (the text is then unchanged).
bool ApplyWrite(std::string& text, const char* section, const char* key, const char* value)
{
    if (section == nullptr) {
        return key == nullptr && value == nullptr; // Windows: a flush request, nothing to do here
    }
    std::string_view sectionName = Trim(section);
    std::string_view keyName = key != nullptr ? Trim(key) : std::string_view();
    if (HasLineBreak(sectionName)) {
        return false;
    }
    if (key != nullptr && (keyName.empty() || HasLineBreak(keyName) ||
                           keyName.find('=') != std::string_view::npos || keyName.front() == '[')) {
        return false;
    }
    if (value != nullptr && HasLineBreak(value)) {
        return false;
    }
    // One pass to find the first section of that name, its last key line and the key's line.
    // Lines are not stored: a file of millions of empty lines must not cost a line record each.
    Line header, lastKey, match, last;
    bool haveHeader = false, haveLastKey = false, haveMatch = false, haveLast = false;
    {
        LineReader reader(text);
        bool sectionDone = false;
        for (Line line; reader.Next(line);) {
            last = line;
            haveLast = true;
            if (sectionDone) {
                continue; // only the last line is still of interest
            }
            if (line.kind == LineKind::Section) {
                if (haveHeader) {
                    sectionDone = true;
                } else if (SameName(line.name, sectionName)) {
                    header = line;
                    haveHeader = true;
                }
            } else if (haveHeader && line.kind == LineKind::Key) {
                lastKey = line;
                haveLastKey = true;
                if (!haveMatch && SameName(line.name, keyName)) {
                    match = line;
                    haveMatch = true;
                }
            }
        }
    }

    std::string out;
    if (key == nullptr || value == nullptr) {
        if (key != nullptr && !haveMatch) {
            return true; // nothing to delete
        }
        // A null key drops every section of that name, a null value every copy of the key in
        // the first one, so that no later read finds them again.
        out.reserve(text.size());
        LineReader reader(text);
        Line line;
        bool any = reader.Next(line);
        out.append(text, 0, any ? line.begin : text.size());
        bool inSection = false;
        bool seenSection = false;
        for (; any; any = reader.Next(line)) {
            bool drop = false;
            if (line.kind == LineKind::Section) {
                bool same = SameName(line.name, sectionName);
                inSection = same && (key == nullptr || !seenSection);
                seenSection = seenSection || same;
                drop = inSection && key == nullptr;
            } else if (inSection) {
                drop = key == nullptr || (line.kind == LineKind::Key && SameName(line.name, keyName));
            }
            if (!drop) {
                out.append(text, line.begin, line.end - line.begin);
            }
        }
    } else if (haveMatch) {
        // Keep the name as the file spells it.
        std::string keyLine = std::string(match.name) + "=" + value;
        if (text.compare(match.begin, match.textEnd - match.begin, keyLine) == 0) {
            return true; // already so: leave the file and its line ends alone
        }
        out = text.substr(0, match.begin) + keyLine + "\r\n" + text.substr(match.end);
    } else {
        std::string newLine = std::string(keyName) + "=" + value + "\r\n";
        if (!haveHeader) {
            // A new section at the end of the file.
            out = text;
            if (haveLast && last.end == last.textEnd) {
                out += "\r\n";
            }
            out += "[" + std::string(sectionName) + "]\r\n" + newLine;
        } else {
            const Line& prev = haveLastKey ? lastKey : header;
            bool terminated = prev.end != prev.textEnd;
            out = text.substr(0, prev.end) + (terminated ? "" : "\r\n") + newLine + text.substr(prev.end);
        }
    }
    text = std::move(out);
    return true;
}

// Reads the file for a read-modify-write cycle: false when it is there but cannot be read or
// is too large, so that nothing we cannot keep is ever replaced.
bool ReadForWrite(const char* path, std::string& text)
{
    text.clear();
    if (ReadWholeFile(path, text, kMaxProfileFileBytes)) {
        return true;
    }
    struct stat st = {};
    text.clear();
    return ::stat(path, &st) != 0 && errno == ENOENT;
}

} // namespace

bool WritePrivateProfileString(const char* section, const char* key, const char* value, const char* path)
{
    ProfileEditor editor(path);
    return editor.WriteString(section, key, value) && editor.Commit();
}

ProfileEditor::ProfileEditor(const char* path) : m_path(path != nullptr ? path : "") {}

ProfileEditor::~ProfileEditor() = default;

bool ProfileEditor::WriteString(const char* section, const char* key, const char* value)
{
    if (m_path.empty()) {
        return false;
    }
    if (!m_loaded) {
        m_guard = std::unique_lock<std::mutex>(g_writeLock);
        m_readable = ReadForWrite(m_path.c_str(), m_original);
        m_text = m_original;
        m_loaded = true;
    }
    return m_readable && ApplyWrite(m_text, section, key, value);
}

bool ProfileEditor::Commit()
{
    if (!m_loaded) {
        return !m_path.empty();
    }
    bool ok = m_readable && (m_text == m_original || WriteFileAtomically(m_path, m_text, kNewFileMode));
    if (ok) {
        m_original = m_text;
    }
    m_loaded = false;
    if (m_guard.owns_lock()) {
        m_guard.unlock();
    }
    return ok;
}

} // namespace platform
