#include "VCardReader.h"

#include <algorithm>
#include <map>
#include <optional>

#include "GLabels.h"
#include "TextUtil.h"
#include "VCardLines.h"
#include "platform/Files.h"

namespace gcontacts {

namespace {

std::string LineError(std::size_t lineNo, const std::string& what)
{
    return "line " + std::to_string(lineNo) + ": " + what;
}

enum class Version
{
    V21,
    V30,
    V40
};

// Unescapes one text (a component already split off): "\n" a line break, "\\" "\," "\;"
// and "\:" the character; vCard 2.1 knows only "\;", "\," and "\\". Other pairs are kept.
std::string Unescape(std::string_view text, Version version)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            const char n = text[i + 1];
            if (n == '\\' || n == ',' || n == ';' || (version != Version::V21 && n == ':')) {
                out += n;
                ++i;
                continue;
            }
            if (version != Version::V21 && (n == 'n' || n == 'N')) {
                out += '\n';
                ++i;
                continue;
            }
        }
        out += c;
    }
    return NormalizeNewlines(out);
}

// Splits at separators that no backslash escapes; the parts stay escaped.
std::vector<std::string_view> SplitEscaped(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
        } else if (text[i] == separator) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(text.substr(start));
    return parts;
}

// Component n of a structured value, unescaped; empty when missing.
std::string Component(const std::vector<std::string_view>& parts, std::size_t n, Version version)
{
    return n < parts.size() ? Unescape(parts[n], version) : std::string();
}

// "1912-06-23", "19120623", "--06-23", "--0623", "1912-06-23T00:00:00Z", "0000-06-23" (year-less).
std::optional<GDate> ParseDate(std::string_view text, int omitYear)
{
    text = Trim(text);
    const std::size_t t = text.find('T');
    if (t != std::string_view::npos) {
        text = text.substr(0, t);
    }
    std::string digits;
    bool yearless = false;
    if (text.substr(0, 2) == "--") {
        yearless = true;
        text.remove_prefix(2);
    }
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            digits += c;
        } else if (c != '-') {
            return std::nullopt;
        }
    }
    GDate date;
    if (yearless && digits.size() == 4) {
        date.year = 0;
        date.month = std::stoi(digits.substr(0, 2));
        date.day = std::stoi(digits.substr(2, 2));
    } else if (!yearless && digits.size() == 8) {
        date.year = std::stoi(digits.substr(0, 4));
        date.month = std::stoi(digits.substr(4, 2));
        date.day = std::stoi(digits.substr(6, 2));
    } else {
        return std::nullopt;
    }
    if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) {
        return std::nullopt;
    }
    if (omitYear != 0 && date.year == omitYear) {
        date.year = 0;
    }
    return date;
}

class CardBuilder
{
public:
    CardBuilder(std::vector<VCardProperty> props) : m_props(std::move(props)) {}

    GContact Build()
    {
        for (const auto& p : m_props) {
            if (p.name == "VERSION") {
                const std::string v(Trim(p.value));
                m_version = v == "2.1" ? Version::V21 : v == "4.0" ? Version::V40 : Version::V30;
            }
        }
        for (const auto& p : m_props) {
            if (p.name == "X-ABLABEL" && !p.group.empty()) {
                m_labels.emplace(ToUpperAscii(p.group), Text(p));
            }
        }
        std::vector<const VCardProperty*> labels;
        std::vector<const VCardProperty*> addressLabels;
        for (const auto& p : m_props) {
            if (p.name == "VERSION") {
                continue;
            }
            if (p.name == "X-ABLABEL") {
                labels.push_back(&p);
                continue;
            }
            if (p.name == "LABEL") {
                addressLabels.push_back(&p);
                continue;
            }
            if (Map(p)) {
                if (!p.group.empty()) {
                    m_usedGroups.emplace(ToUpperAscii(p.group), true);
                }
            } else {
                Keep(p);
            }
        }
        for (const auto* p : addressLabels) {
            if (!AttachLabel(*p)) {
                Keep(*p);
            }
        }
        for (const auto* p : labels) {
            if (p->group.empty() || !m_usedGroups.count(ToUpperAscii(p->group))) {
                Keep(*p);
            }
        }
        // Kept properties in the order of the card.
        std::stable_sort(m_kept.begin(), m_kept.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& [index, extra] : m_kept) {
            m_contact.extras.push_back(std::move(extra));
        }
        return std::move(m_contact);
    }

private:
    std::string Text(const VCardProperty& p) const { return Unescape(DecodedValue(p), m_version); }

    // The label of the property's group, when it has one.
    std::string Label(const VCardProperty& p) const
    {
        if (p.group.empty()) {
            return {};
        }
        auto it = m_labels.find(ToUpperAscii(p.group));
        return it == m_labels.end() ? std::string() : it->second;
    }

    bool Primary(const VCardProperty& p) const { return p.HasType("PREF") || p.Param("PREF") != nullptr; }

    // Applies a group label: a built-in one gives the kind, another is kept as the label.
    template <typename Kind, typename Lookup>
    void ApplyLabel(const VCardProperty& p, Kind& kind, std::string& label, Lookup lookup) const
    {
        const std::string text = Label(p);
        if (text.empty()) {
            return;
        }
        if (auto k = lookup(text)) {
            kind = *k;
        } else {
            label = std::string(StripBuiltInLabel(text));
        }
    }

    bool Map(const VCardProperty& p)
    {
        const std::string& n = p.name;
        GContact& c = m_contact;
        if (n == "FN") {
            return SetOnce(c.displayName, p, m_haveFn);
        }
        if (n == "N") {
            if (m_haveN) {
                return false;
            }
            m_haveN = true;
            const std::string raw = DecodedValue(p); // the parts point into it
            const auto parts = SplitEscaped(raw, ';');
            c.lastName = Component(parts, 0, m_version);
            c.firstName = Component(parts, 1, m_version);
            c.middleName = Component(parts, 2, m_version);
            c.prefix = Component(parts, 3, m_version);
            c.suffix = Component(parts, 4, m_version);
            return true;
        }
        if (n == "NICKNAME") {
            return SetOnce(c.nickname, p, m_haveNick);
        }
        if (n == "ORG") {
            if (m_haveOrg) {
                return false;
            }
            m_haveOrg = true;
            const std::string raw = DecodedValue(p); // the parts point into it
            const auto parts = SplitEscaped(raw, ';');
            c.company = Component(parts, 0, m_version);
            for (std::size_t i = 1; i < parts.size(); ++i) {
                c.department += (i > 1 ? ";" : "") + Unescape(parts[i], m_version);
            }
            return true;
        }
        if (n == "TITLE") {
            return SetOnce(c.jobTitle, p, m_haveTitle);
        }
        if (n == "NOTE") {
            return SetOnce(c.note, p, m_haveNote);
        }
        if (n == "UID") {
            return SetOnce(c.uid, p, m_haveUid);
        }
        if (n == "CATEGORIES") {
            const std::string raw = DecodedValue(p); // the parts point into it
            for (auto part : SplitEscaped(raw, ',')) {
                std::string name = Unescape(part, m_version);
                if (name.empty()) {
                    continue;
                }
                if (name == "myContacts") {
                    c.groups.push_back({"My Contacts", true});
                } else if (name == "starred") {
                    c.groups.push_back({"Starred", true});
                } else {
                    c.groups.push_back({std::move(name), false});
                }
            }
            return true;
        }
        if (n == "EMAIL") {
            GEmail e;
            e.kind = p.HasType("HOME")   ? EmailKind::Home
                     : p.HasType("WORK") ? EmailKind::Work
                                         : EmailKind::Other;
            ApplyLabel(p, e.kind, e.label, EmailKindFromLabel);
            e.value = Text(p);
            e.primary = Primary(p);
            c.emails.push_back(std::move(e));
            return true;
        }
        if (n == "TEL") {
            return MapPhone(p);
        }
        if (n == "ADR") {
            return MapAddress(p);
        }
        if (n == "URL") {
            GWebSite w;
            w.kind = p.HasType("HOME")   ? WebKind::Home
                     : p.HasType("WORK") ? WebKind::Work
                     : p.HasType("FTP")  ? WebKind::Ftp
                     : p.HasType("BLOG") ? WebKind::Blog
                                         : WebKind::Other;
            ApplyLabel(p, w.kind, w.label, WebKindFromLabel);
            w.value = Text(p);
            w.primary = Primary(p);
            c.webSites.push_back(std::move(w));
            return true;
        }
        if (auto im = ImFromName(n)) {
            return AddIm(p, *im, Text(p));
        }
        if (n == "IMPP") {
            return MapImpp(p);
        }
        if (n == "BDAY" || n == "ANNIVERSARY" || n == "X-ANNIVERSARY" || n == "X-ABDATE") {
            const int omit = std::atoi(p.ParamValue("X-APPLE-OMIT-YEAR").c_str());
            auto date = ParseDate(Text(p), omit);
            if (!date) {
                return false;
            }
            date->kind = n == "BDAY"       ? DateKind::Birthday
                         : n == "X-ABDATE" ? DateKind::Other
                                           : DateKind::Anniversary;
            ApplyLabel(p, date->kind, date->label, DateKindFromLabel);
            c.dates.push_back(*date);
            return true;
        }
        if (n == "X-ABRELATEDNAMES" || n == "RELATED" || n == "X-SPOUSE" || n == "X-MANAGER" ||
            n == "X-ASSISTANT") {
            return MapRelation(p);
        }
        if (n == "X-CUSTOM-FIELD") {
            c.customFields.push_back({std::string(StripBuiltInLabel(Label(p))), Text(p)});
            return true;
        }
        return false;
    }

    bool SetOnce(std::string& field, const VCardProperty& p, bool& seen)
    {
        if (seen) {
            return false; // a second one is kept as it is
        }
        // An empty one (Google writes "NOTE:" for none) leaves the place to a later one.
        field = Text(p);
        seen = !field.empty();
        return true;
    }

    bool MapPhone(const VCardProperty& p)
    {
        GPhone ph;
        const bool fax = p.HasType("FAX");
        if (fax) {
            ph.kind = p.HasType("HOME") ? PhoneKind::HomeFax : PhoneKind::WorkFax;
        } else if (p.HasType("PAGER")) {
            ph.kind = PhoneKind::Pager;
        } else if (p.HasType("CELL") || p.HasType("MOBILE")) {
            ph.kind = PhoneKind::Mobile;
        } else if (p.HasType("HOME")) {
            ph.kind = PhoneKind::Home;
        } else if (p.HasType("WORK")) {
            ph.kind = PhoneKind::Work;
        } else {
            ph.kind = PhoneKind::Other;
            // A type that names no kind ("MAIN") is kept as the label.
            static const char* const ignored[] = {"VOICE", "PREF", "MSG", "TEXT", "INTERNET", "X400"};
            for (const auto& param : p.params) {
                if (param.name != "TYPE" || !ph.label.empty()) {
                    continue;
                }
                for (const auto& v : param.values) {
                    bool skip = false;
                    for (const char* ign : ignored) {
                        skip = skip || EqualsNoCase(v, ign);
                    }
                    if (!skip && ph.label.empty()) {
                        ph.label = v;
                    }
                }
            }
            // A type that folds to a kind's label ("Work Phone") is that kind, as its label would be.
            if (auto k = PhoneKindFromLabel(ph.label); k && !ph.label.empty()) {
                ph.kind = *k;
                ph.label.clear();
            }
        }
        ApplyLabel(p, ph.kind, ph.label, PhoneKindFromLabel);
        ph.value = Text(p);
        if (StartsWithNoCase(ph.value, "tel:")) {
            ph.value.erase(0, 4);
        }
        ph.primary = Primary(p);
        m_contact.phones.push_back(std::move(ph));
        return true;
    }

    bool MapAddress(const VCardProperty& p)
    {
        GAddress a;
        a.kind = p.HasType("HOME")   ? AddressKind::Home
                 : p.HasType("WORK") ? AddressKind::Work
                                     : AddressKind::Other;
        ApplyLabel(p, a.kind, a.label, AddressKindFromLabel);
        const std::string raw = DecodedValue(p); // the parts point into it
        const auto parts = SplitEscaped(raw, ';');
        if (parts.size() > 7) {
            return false;
        }
        a.poBox = Component(parts, 0, m_version);
        a.extended = Component(parts, 1, m_version);
        a.street = Component(parts, 2, m_version);
        a.city = Component(parts, 3, m_version);
        a.region = Component(parts, 4, m_version);
        a.postalCode = Component(parts, 5, m_version);
        a.country = Component(parts, 6, m_version);
        a.formatted = NormalizeNewlines(p.ParamValue("LABEL"));
        a.neighborhood = p.ParamValue("X-NEIGHBORHOOD");
        a.primary = Primary(p);
        m_contact.addresses.push_back(std::move(a));
        m_addressGroups.push_back(ToUpperAscii(p.group));
        return true;
    }

    // A LABEL property: the formatted text of the address of its group, else of the first
    // address of its kind that has none.
    bool AttachLabel(const VCardProperty& p)
    {
        const std::string group = ToUpperAscii(p.group);
        auto& list = m_contact.addresses;
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (!group.empty() && m_addressGroups[i] == group && list[i].formatted.empty()) {
                list[i].formatted = Text(p);
                m_usedGroups.emplace(group, true);
                return true;
            }
        }
        if (!group.empty()) {
            return false;
        }
        const AddressKind kind = p.HasType("HOME")   ? AddressKind::Home
                                 : p.HasType("WORK") ? AddressKind::Work
                                                     : AddressKind::Other;
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list[i].kind == kind && list[i].formatted.empty() && m_addressGroups[i].empty()) {
                list[i].formatted = Text(p);
                return true;
            }
        }
        return false;
    }

    static std::optional<ImKind> ImFromName(const std::string& n)
    {
        if (n == "X-GTALK" || n == "X-GOOGLE-TALK") {
            return ImKind::GTalk;
        }
        if (n == "X-AIM") {
            return ImKind::Aim;
        }
        if (n == "X-YAHOO") {
            return ImKind::Yahoo;
        }
        if (n == "X-SKYPE" || n == "X-SKYPE-USERNAME") {
            return ImKind::Skype;
        }
        if (n == "X-QQ") {
            return ImKind::QQ;
        }
        if (n == "X-MSN") {
            return ImKind::Msn;
        }
        if (n == "X-ICQ") {
            return ImKind::Icq;
        }
        if (n == "X-JABBER") {
            return ImKind::Jabber;
        }
        return std::nullopt;
    }

    bool AddIm(const VCardProperty& p, ImKind kind, std::string value)
    {
        GIm im;
        im.kind = kind;
        const std::string label = Label(p);
        if (!label.empty()) {
            im.label = std::string(StripBuiltInLabel(label));
        }
        im.value = std::move(value);
        im.primary = Primary(p);
        m_contact.ims.push_back(std::move(im));
        return true;
    }

    // IMPP: "xmpp:name", "skype:name", "aim:goim?screenname=name"; X-SERVICE-TYPE names the
    // service when the scheme does not.
    bool MapImpp(const VCardProperty& p)
    {
        std::string value = Text(p);
        std::optional<ImKind> kind;
        const std::size_t colon = value.find(':');
        if (colon != std::string::npos) {
            kind = ImKindFromLabel(value.substr(0, colon));
            if (kind) {
                value.erase(0, colon + 1);
            }
        }
        const std::string service = p.ParamValue("X-SERVICE-TYPE");
        if (!service.empty()) {
            if (auto s = ImKindFromLabel(service)) {
                kind = s;
            }
        }
        if (!kind) {
            return false;
        }
        const std::size_t q = value.find("screenname=");
        if (q != std::string::npos) {
            value.erase(0, q + 11);
        }
        return AddIm(p, *kind, value);
    }

    bool MapRelation(const VCardProperty& p)
    {
        GRelation r;
        const std::string& n = p.name;
        if (n == "X-SPOUSE") {
            r.kind = RelationKind::Spouse;
        } else if (n == "X-MANAGER") {
            r.kind = RelationKind::Manager;
        } else if (n == "X-ASSISTANT") {
            r.kind = RelationKind::Assistant;
        } else if (n == "RELATED") {
            const auto* types = p.Param("TYPE");
            if (types && !types->empty()) {
                if (auto k = RelationKindFromLabel(types->front())) {
                    r.kind = *k;
                } else {
                    r.label = types->front();
                }
            }
            const std::string v = Text(p);
            if (p.ParamValue("VALUE") != "text" && !EqualsNoCase(p.ParamValue("VALUE"), "text") &&
                (StartsWithNoCase(v, "urn:") || StartsWithNoCase(v, "http:") ||
                 StartsWithNoCase(v, "https:") || StartsWithNoCase(v, "mailto:"))) {
                return false; // a reference to another card, not a name
            }
        }
        const std::string label = Label(p);
        if (!label.empty()) {
            if (auto k = RelationKindFromLabel(label)) {
                r.kind = *k;
                r.label.clear();
            } else {
                r.label = std::string(StripBuiltInLabel(label));
            }
        }
        r.name = Text(p);
        m_contact.relations.push_back(std::move(r));
        return true;
    }

    // A property kept as vCard 3.0 writes it: transfer encoding and character set undone.
    void Keep(const VCardProperty& p)
    {
        GExtraProperty x;
        x.group = p.group;
        x.name = p.name;
        bool base64 = false;
        for (const auto& param : p.params) {
            if (param.name == "CHARSET") {
                continue;
            }
            if (param.name == "ENCODING") {
                if (p.IsBase64()) {
                    base64 = true;
                    x.params.push_back({"ENCODING", {"b"}});
                }
                continue;
            }
            std::vector<std::string> values;
            for (const std::string& v : param.values) {
                values.push_back(IsValidUtf8(v) ? v : ToUtf8(v));
            }
            x.params.push_back({param.name, std::move(values)});
        }
        if (base64) {
            for (char ch : p.value) {
                if (ch != ' ' && ch != '\t') {
                    x.value += ch;
                }
            }
        } else {
            const std::string decoded = NormalizeNewlines(DecodedValue(p));
            for (char ch : decoded) {
                if (ch == '\n') {
                    x.value += "\\n";
                } else {
                    x.value += ch;
                }
            }
        }
        // Kept texts are UTF-8 like every other (base64 that is not ASCII is damaged anyway).
        if (!IsValidUtf8(x.value)) {
            x.value = ToUtf8(x.value);
        }
        if (!IsValidUtf8(x.group) || !IsValidUtf8(x.name)) {
            x.group = ToUtf8(x.group);
            x.name = ToUtf8(x.name);
        }
        m_kept.emplace_back(static_cast<std::size_t>(&p - m_props.data()), std::move(x));
    }

    std::vector<VCardProperty> m_props;
    Version m_version = Version::V30;
    std::map<std::string, std::string> m_labels; // group (upper case) -> X-ABLabel text
    std::map<std::string, bool> m_usedGroups;    // groups whose property the contact models
    std::vector<std::string> m_addressGroups;    // parallel to the contact's addresses
    GContact m_contact;
    std::vector<std::pair<std::size_t, GExtraProperty>> m_kept; // by their index in the card
    bool m_haveFn = false, m_haveN = false, m_haveNick = false, m_haveOrg = false, m_haveTitle = false,
         m_haveNote = false, m_haveUid = false;
};

bool IsCardMarker(const VCardProperty& p, const char* name)
{
    return p.group.empty() && EqualsNoCase(Trim(p.value), "VCARD") && p.name == name;
}

} // namespace

bool ReadVCards(std::string_view bytes, std::vector<GContact>& contacts, std::string& error)
{
    contacts.clear();
    if (bytes.size() > kMaxVCardFileBytes) {
        error = "more than " + std::to_string(kMaxVCardFileBytes) + " bytes";
        return false;
    }
    // A byte order mark says how the whole file is written; without one each value is read
    // in its own character set.
    std::string converted;
    const bool bom =
        bytes.size() >= 2 &&
        ((static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) ||
         (static_cast<unsigned char>(bytes[0]) == 0xFE && static_cast<unsigned char>(bytes[1]) == 0xFF));
    if (bom) {
        converted = FileTextToUtf8(bytes);
        bytes = converted;
    } else if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    std::vector<VCardLine> lines;
    if (!SplitVCardLines(bytes, lines, error)) {
        return false;
    }
    std::vector<GContact> out;
    std::vector<VCardProperty> card;
    std::size_t begun = 0; // line of the open card's BEGIN, 0 when none is open
    for (const auto& line : lines) {
        VCardProperty p;
        if (!ParseVCardProperty(line, p, error)) {
            return false;
        }
        if (begun == 0) {
            if (!IsCardMarker(p, "BEGIN")) {
                error = LineError(line.lineNo, "BEGIN:VCARD expected, found " + p.name);
                return false;
            }
            if (out.size() >= kMaxVCards) {
                error = LineError(line.lineNo, "more than " + std::to_string(kMaxVCards) + " cards");
                return false;
            }
            begun = line.lineNo;
            continue;
        }
        if (IsCardMarker(p, "BEGIN")) {
            error =
                LineError(line.lineNo, "BEGIN:VCARD inside the card begun on line " + std::to_string(begun));
            return false;
        }
        if (IsCardMarker(p, "END")) {
            out.push_back(CardBuilder(std::move(card)).Build());
            card.clear();
            begun = 0;
            continue;
        }
        if (card.size() >= kMaxVCardProperties) {
            error = LineError(line.lineNo,
                              "a card with more than " + std::to_string(kMaxVCardProperties) + " properties");
            return false;
        }
        card.push_back(std::move(p));
    }
    if (begun != 0) {
        error = LineError(lines.back().lineNo,
                          "the card begun on line " + std::to_string(begun) + " has no END:VCARD");
        return false;
    }
    AssignDerivedKeys(out);
    contacts = std::move(out);
    return true;
}

bool ReadVCardFile(const std::string& path, std::vector<GContact>& contacts, std::string& error)
{
    contacts.clear();
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes, kMaxVCardFileBytes)) {
        error =
            path + ": cannot be read, or holds more than " + std::to_string(kMaxVCardFileBytes) + " bytes";
        return false;
    }
    if (!ReadVCards(bytes, contacts, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

} // namespace gcontacts
