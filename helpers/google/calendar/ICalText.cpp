#include "ICalText.h"

#include <algorithm>
#include <cctype>

namespace gcal::ical {

namespace {

std::string Upper(std::string s)
{
    for (char& c : s) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return s;
}

bool StartsWithNoCase(const std::string& s, const char* prefix)
{
    std::size_t i = 0;
    for (; prefix[i] != '\0'; ++i) {
        if (i >= s.size() || std::toupper(static_cast<unsigned char>(s[i])) != prefix[i]) {
            return false;
        }
    }
    return true;
}

std::string Trimmed(const std::string& s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) {
        ++b;
    }
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) {
        --e;
    }
    return s.substr(b, e - b);
}

} // namespace

std::vector<Line> SplitLines(const std::string& text)
{
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t stop = pos;
        while (stop < text.size() && text[stop] != '\r' && text[stop] != '\n') {
            ++stop;
        }
        std::size_t next = stop;
        if (next < text.size() && text[next] == '\r') {
            ++next;
        }
        if (next < text.size() && text[next] == '\n' && (next == stop || text[next - 1] == '\r')) {
            ++next;
        }
        const bool continuation = pos < text.size() && (text[pos] == ' ' || text[pos] == '\t');
        if (continuation && !lines.empty()) {
            lines.back().text.append(text, pos + 1, stop - pos - 1);
            lines.back().end = next;
        } else if (stop > pos) {
            lines.push_back(Line{text.substr(pos, stop - pos), pos, next});
        }
        pos = next > pos ? next : pos + 1;
    }
    return lines;
}

std::string Property::Param(const std::string& key) const
{
    for (const auto& [k, v] : params) {
        if (k == key) {
            return v;
        }
    }
    return {};
}

bool ParseProperty(const std::string& line, Property* out)
{
    Property p;
    std::size_t i = 0;
    while (i < line.size() && line[i] != ';' && line[i] != ':') {
        ++i;
    }
    if (i == 0 || i >= line.size()) {
        return false;
    }
    p.name = Upper(Trimmed(line.substr(0, i)));
    while (i < line.size() && line[i] == ';') {
        ++i;
        const std::size_t nameStart = i;
        while (i < line.size() && line[i] != '=' && line[i] != ';' && line[i] != ':') {
            ++i;
        }
        std::string key = Upper(line.substr(nameStart, i - nameStart));
        std::string value;
        if (i < line.size() && line[i] == '=') {
            ++i;
            bool quoted = false;
            while (i < line.size()) {
                const char c = line[i];
                if (c == '"') {
                    quoted = !quoted;
                } else if (!quoted && (c == ';' || c == ':')) {
                    break;
                } else {
                    value.push_back(c);
                }
                ++i;
            }
        }
        p.params.emplace_back(std::move(key), std::move(value));
    }
    if (i >= line.size() || line[i] != ':') {
        return false;
    }
    p.value = line.substr(i + 1);
    *out = std::move(p);
    return true;
}

std::string Unescape(const std::string& value)
{
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char c = value[++i];
            out.push_back(c == 'n' || c == 'N' ? '\n' : c);
        } else {
            out.push_back(value[i]);
        }
    }
    return out;
}

std::string Escape(const std::string& value)
{
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\\' || c == ';' || c == ',') {
            out.push_back('\\');
            out.push_back(c);
        } else if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') {
            continue;
        } else if (c == '\n' || c == '\r') {
            out += "\\n";
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string Fold(const std::string& line, const std::string& newline)
{
    std::string out;
    std::size_t pos = 0;
    std::size_t limit = 75;
    while (line.size() - pos > limit) {
        std::size_t cut = pos + limit;
        while (cut > pos + 1 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        out.append(line, pos, cut - pos);
        out += newline;
        out += ' ';
        pos = cut;
        limit = 74;
    }
    out.append(line, pos, std::string::npos);
    return out;
}

bool ReadLayout(const std::string& text, Layout* out, std::string& reason)
{
    Layout layout;
    layout.lines = SplitLines(text);
    const auto& lines = layout.lines;
    if (lines.empty() || Upper(Trimmed(lines[0].text)) != "BEGIN:VCALENDAR") {
        reason = "it does not start with BEGIN:VCALENDAR";
        return false;
    }
    std::vector<std::string> open{"VCALENDAR"};
    bool closed = false;
    for (std::size_t i = 1; i < lines.size() && !closed; ++i) {
        const std::string& t = lines[i].text;
        const bool begin = StartsWithNoCase(t, "BEGIN:");
        const bool end = StartsWithNoCase(t, "END:");
        if (!begin && !end) {
            continue;
        }
        const std::string name = Upper(Trimmed(t.substr(begin ? 6 : 4)));
        if (begin) {
            if (open.size() == 1) {
                layout.components.push_back(Component{name, i, 0, lines[i].begin, 0, 0});
            }
            open.push_back(name);
            continue;
        }
        if (open.back() != name) {
            if (std::find(open.begin(), open.end(), name) == open.end()) {
                reason = "\"" + t.substr(0, 60) + "\" has no matching BEGIN";
            } else {
                reason = "BEGIN:" + open.back() + " has no END";
            }
            return false;
        }
        open.pop_back();
        if (open.size() == 1) {
            Component& c = layout.components.back();
            c.lastLine = i;
            std::size_t e = lines[i].end;
            while (e > lines[i].begin && (text[e - 1] == '\r' || text[e - 1] == '\n')) {
                --e;
            }
            c.end = e;
            c.endBreak = lines[i].end;
        } else if (open.empty()) {
            layout.closeLine = i;
            closed = true;
        }
    }
    if (!closed) {
        reason = "BEGIN:" + open.back() + " has no END";
        return false;
    }
    *out = std::move(layout);
    return true;
}

std::string NewlineOf(const std::string& text)
{
    const std::size_t n = text.find_first_of("\r\n");
    if (n == std::string::npos) {
        return "\r\n";
    }
    if (text[n] == '\r') {
        return n + 1 < text.size() && text[n + 1] == '\n' ? "\r\n" : "\r";
    }
    return "\n";
}

} // namespace gcal::ical
