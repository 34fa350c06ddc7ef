#include "VCardWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

#include "GLabels.h"
#include "TextUtil.h"
#include "platform/Files.h"

namespace gcontacts {

namespace {

std::string Escape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            break;
        case ',':
            out += "\\,";
            break;
        case ';':
            out += "\\;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string ParamValue(std::string_view value)
{
    // Line breaks, quotes and carets as the parameter escapes of RFC 6868 (^n, ^', ^^).
    std::string clean;
    for (char c : value) {
        if (c == '"') {
            clean += "^'";
        } else if (c == '\n') {
            clean += "^n";
        } else if (c == '^') {
            clean += "^^";
        } else if (c != '\r') {
            clean += c;
        }
    }
    if (clean.find_first_of(":;,") != std::string::npos) {
        return "\"" + clean + "\"";
    }
    return clean;
}

std::string DateText(const GDate& d)
{
    char buf[32];
    if (d.year == 0) {
        std::snprintf(buf, sizeof buf, "--%02d-%02d", d.month, d.day);
    } else {
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    }
    return buf;
}

class CardWriter
{
public:
    explicit CardWriter(std::string& out) : m_out(out) {}

    void Write(const GContact& c)
    {
        // Kept properties keep their groups; the groups made here go round them.
        for (const auto& x : c.extras) {
            if (!x.group.empty()) {
                m_reserved.emplace(x.group, true);
            }
        }
        Line("BEGIN:VCARD");
        Line("VERSION:3.0");
        Line("FN:" + Escape(c.displayName));
        Line("N:" + Escape(c.lastName) + ";" + Escape(c.firstName) + ";" + Escape(c.middleName) + ";" +
             Escape(c.prefix) + ";" + Escape(c.suffix));
        if (!c.nickname.empty()) {
            Line("NICKNAME:" + Escape(c.nickname));
        }
        for (const auto& e : c.emails) {
            std::string head = "EMAIL;TYPE=INTERNET";
            head += e.kind == EmailKind::Home ? ";TYPE=HOME" : e.kind == EmailKind::Work ? ";TYPE=WORK" : "";
            Labelled(head + Pref(e.primary), e.value, e.label);
        }
        for (const auto& im : c.ims) {
            static const char* const names[] = {"",     "X-GTALK", "X-AIM", "X-YAHOO", "X-SKYPE",
                                                "X-QQ", "X-MSN",   "X-ICQ", "X-JABBER"};
            Labelled(std::string(names[static_cast<int>(im.kind)]) + Pref(im.primary), im.value, im.label);
        }
        for (const auto& p : c.phones) {
            static const char* const types[] = {"",
                                                ";TYPE=HOME",
                                                ";TYPE=WORK",
                                                ";TYPE=CELL",
                                                ";TYPE=HOME;TYPE=FAX",
                                                ";TYPE=WORK;TYPE=FAX",
                                                ";TYPE=PAGER",
                                                ""};
            Labelled("TEL" + std::string(types[static_cast<int>(p.kind)]) + Pref(p.primary), p.value,
                     p.label);
        }
        for (const auto& a : c.addresses) {
            std::string head = "ADR";
            head += a.kind == AddressKind::Home   ? ";TYPE=HOME"
                    : a.kind == AddressKind::Work ? ";TYPE=WORK"
                                                  : "";
            head += Pref(a.primary);
            if (!a.neighborhood.empty()) {
                head += ";X-NEIGHBORHOOD=" + ParamValue(a.neighborhood);
            }
            const std::string value = Escape(a.poBox) + ";" + Escape(a.extended) + ";" + Escape(a.street) +
                                      ";" + Escape(a.city) + ";" + Escape(a.region) + ";" +
                                      Escape(a.postalCode) + ";" + Escape(a.country);
            if (a.label.empty() && a.formatted.empty()) {
                Line(head + ":" + value);
                continue;
            }
            const std::string group = NewGroup();
            Line(group + "." + head + ":" + value);
            if (!a.formatted.empty()) {
                Line(group + ".LABEL:" + Escape(a.formatted));
            }
            if (!a.label.empty()) {
                Line(group + ".X-ABLabel:" + Escape(a.label));
            }
        }
        if (!c.company.empty() || !c.department.empty()) {
            Line("ORG:" + Escape(c.company) +
                 (c.department.empty() ? "" : ";" + EscapeDepartment(c.department)));
        }
        if (!c.jobTitle.empty()) {
            Line("TITLE:" + Escape(c.jobTitle));
        }
        for (const auto& d : c.dates) {
            if (d.kind == DateKind::Birthday && d.label.empty()) {
                Line("BDAY:" + DateText(d));
            } else if (d.kind == DateKind::Anniversary && d.label.empty()) {
                const std::string group = NewGroup();
                Line(group + ".X-ABDATE:" + DateText(d));
                Line(group + ".X-ABLabel:" + BuiltInLabel("Anniversary"));
            } else if (d.kind == DateKind::Birthday) {
                Labelled("BDAY", DateText(d), d.label, false);
            } else if (d.kind == DateKind::Anniversary) {
                Labelled("X-ANNIVERSARY", DateText(d), d.label, false);
            } else {
                Labelled("X-ABDATE", DateText(d), d.label, false);
            }
        }
        for (const auto& w : c.webSites) {
            std::string head = "URL";
            head += w.kind == WebKind::Home ? ";TYPE=HOME" : w.kind == WebKind::Work ? ";TYPE=WORK" : "";
            head += Pref(w.primary);
            static const char* const labels[] = {"",    "",     "",        "_$!<HomePage>!$_",
                                                 "FTP", "BLOG", "PROFILE", ""};
            const char* kindLabel = labels[static_cast<int>(w.kind)];
            Labelled(head, w.value, *kindLabel ? std::string(kindLabel) : w.label);
        }
        for (const auto& r : c.relations) {
            static const char* const labels[] = {"",
                                                 "_$!<Spouse>!$_",
                                                 "_$!<Child>!$_",
                                                 "_$!<Mother>!$_",
                                                 "_$!<Father>!$_",
                                                 "_$!<Parent>!$_",
                                                 "_$!<Brother>!$_",
                                                 "_$!<Sister>!$_",
                                                 "_$!<Friend>!$_",
                                                 "RELATIVE",
                                                 "DOMESTIC_PARTNER",
                                                 "_$!<Manager>!$_",
                                                 "_$!<Assistant>!$_",
                                                 "REFERRED_BY",
                                                 "_$!<Partner>!$_"};
            const int k = static_cast<int>(r.kind);
            Labelled("X-ABRELATEDNAMES", r.name, k == 0 ? r.label : std::string(labels[k]));
        }
        for (const auto& f : c.customFields) {
            const std::string group = NewGroup();
            Line(group + ".X-CUSTOM-FIELD:" + Escape(f.value));
            Line(group + ".X-ABLabel:" + Escape(f.label));
        }
        if (!c.note.empty()) {
            Line("NOTE:" + Escape(c.note));
        }
        if (!c.groups.empty()) {
            std::string line = "CATEGORIES:";
            for (std::size_t i = 0; i < c.groups.size(); ++i) {
                const GGroup& g = c.groups[i];
                std::string name = g.name;
                if (g.builtIn && g.name == "My Contacts") {
                    name = "myContacts";
                } else if (g.builtIn && g.name == "Starred") {
                    name = "starred";
                }
                line += (i ? "," : "") + Escape(name);
            }
            Line(line);
        }
        // Before the kept properties: a second UID among them stays the second one.
        if (!c.uid.empty()) {
            Line("UID:" + Escape(c.uid));
        }
        for (const auto& x : c.extras) {
            std::string line;
            if (!x.group.empty()) {
                line = x.group + ".";
            }
            line += x.name;
            for (const auto& [name, values] : x.params) {
                line += ";" + name + "=";
                for (std::size_t i = 0; i < values.size(); ++i) {
                    line += (i ? "," : "") + ParamValue(values[i]);
                }
            }
            line += ":" + x.value;
            Line(line);
        }
        Line("END:VCARD");
    }

private:
    static std::string Pref(bool primary) { return primary ? ";TYPE=PREF" : ""; }

    // Department parts that ORG held after the company keep their separators.
    static std::string EscapeDepartment(const std::string& d)
    {
        std::string out;
        std::size_t start = 0;
        while (true) {
            const std::size_t semi = d.find(';', start);
            out += Escape(d.substr(start, semi - start));
            if (semi == std::string::npos) {
                break;
            }
            out += ';';
            start = semi + 1;
        }
        return out;
    }

    std::string NewGroup()
    {
        while (true) {
            std::string group = "item" + std::to_string(++m_items);
            bool taken = false;
            for (const auto& [name, unused] : m_reserved) {
                taken = taken || (name.size() == group.size() && ToUpperAscii(name) == ToUpperAscii(group));
            }
            if (!taken) {
                return group;
            }
        }
    }

    // A property with its label, grouped with an X-ABLabel when there is one.
    void Labelled(const std::string& head, const std::string& value, const std::string& label,
                  bool escape = true)
    {
        const std::string v = escape ? Escape(value) : value;
        if (label.empty()) {
            Line(head + ":" + v);
            return;
        }
        const std::string group = NewGroup();
        Line(group + "." + head + ":" + v);
        Line(group + ".X-ABLabel:" + Escape(label));
    }

    // Folds at 75 bytes, never inside a UTF-8 sequence, and never after a "=": a reader of
    // vCard 2.1 takes a "=" at a line's end for a quoted-printable soft line break.
    void Line(const std::string& text)
    {
        std::size_t pos = 0;
        std::size_t limit = 75;
        while (text.size() - pos > limit) {
            std::size_t cut = pos + limit;
            while (cut > pos + 1 &&
                   ((static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80 || text[cut - 1] == '=')) {
                --cut;
            }
            m_out.append(text, pos, cut - pos);
            m_out += "\r\n ";
            pos = cut;
            limit = 74;
        }
        m_out.append(text, pos, std::string::npos);
        m_out += "\r\n";
    }

    std::string& m_out;
    int m_items = 0;
    std::map<std::string, bool> m_reserved; // groups of kept properties
};

} // namespace

std::string WriteVCard(const GContact& contact)
{
    std::string out;
    CardWriter(out).Write(contact);
    return out;
}

std::string WriteVCards(const std::vector<GContact>& contacts)
{
    std::string out;
    for (const auto& c : contacts) {
        CardWriter(out).Write(c);
    }
    return out;
}

bool WriteVCardFile(const std::string& path, const std::vector<GContact>& contacts, std::string& error)
{
    if (!platform::WriteFileAtomically(path, WriteVCards(contacts))) {
        error = path + ": cannot be written (" + std::strerror(errno) + ")";
        return false;
    }
    return true;
}

} // namespace gcontacts
