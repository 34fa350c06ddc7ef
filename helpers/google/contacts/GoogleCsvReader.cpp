#include "GoogleCsvReader.h"

#include <cstdio>
#include <optional>

#include "GLabels.h"
#include "TextUtil.h"
#include "VCardLines.h"
#include "VCardReader.h"
#include "platform/Files.h"

namespace gcontacts {

namespace {

std::string LineError(std::size_t lineNo, const std::string& what)
{
    return "line " + std::to_string(lineNo) + ": " + what;
}

std::vector<std::string> SplitValues(std::string_view cell)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (true) {
        const std::size_t sep = cell.find(" ::: ", start);
        out.emplace_back(
            cell.substr(start, sep == std::string_view::npos ? std::string_view::npos : sep - start));
        if (sep == std::string_view::npos) {
            break;
        }
        start = sep + 5;
    }
    return out;
}

// "* Home" -> ("Home", primary)
std::string TypeText(std::string_view cell, bool& primary)
{
    cell = Trim(cell);
    primary = cell.substr(0, 2) == "* ";
    if (primary) {
        cell.remove_prefix(2);
    }
    return std::string(Trim(cell));
}

std::optional<GDate> ParseCsvDate(std::string_view text)
{
    text = Trim(text);
    int y = 0, m = 0, d = 0;
    char rest = 0;
    const std::string s(text);
    if (s.size() == 10 && std::sscanf(s.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &rest) == 3) {
    } else if (s.size() == 7 && std::sscanf(s.c_str(), "--%2d-%2d%c", &m, &d, &rest) == 2) {
        y = 0;
    } else if (s.size() == 6 && std::sscanf(s.c_str(), "--%2d%2d%c", &m, &d, &rest) == 2) {
        y = 0;
    } else {
        return std::nullopt;
    }
    if (m < 1 || m > 12 || d < 1 || d > 31 || y < 0) {
        return std::nullopt;
    }
    GDate date;
    date.year = y;
    date.month = m;
    date.day = d;
    return date;
}

// The numbered sections of the header: "E-mail 1 - Value" is section "E-mail", number 1,
// field "Value".
struct Column
{
    std::string name;
    std::string section; // empty for a plain column
    int number = 0;
    std::string field;
};

Column ParseColumn(const std::string& name)
{
    Column c;
    c.name = name;
    const std::size_t dash = name.find(" - ");
    if (dash == std::string::npos) {
        return c;
    }
    const std::string head = name.substr(0, dash);
    const std::size_t blank = head.rfind(' ');
    if (blank == std::string::npos) {
        return c;
    }
    const std::string num = head.substr(blank + 1);
    if (num.empty() || num.size() > 4 || num.find_first_not_of("0123456789") != std::string::npos) {
        return c;
    }
    c.section = head.substr(0, blank);
    c.number = std::stoi(num);
    c.field = name.substr(dash + 3);
    return c;
}

class RowReader
{
public:
    RowReader(const std::vector<Column>& columns, const std::vector<std::string>& cells)
        : m_columns(columns), m_cells(cells)
    {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            m_used.push_back(false);
        }
    }

    GContact Read()
    {
        GContact& c = m_contact;
        c.displayName = Plain("Name");
        c.firstName = Plain("Given Name");
        c.middleName = Plain("Additional Name");
        c.lastName = Plain("Family Name");
        c.prefix = Plain("Name Prefix");
        c.suffix = Plain("Name Suffix");
        c.nickname = Plain("Nickname");
        c.note = NormalizeNewlines(Plain("Notes"));
        {
            const std::string birthday = Plain("Birthday", false);
            if (!birthday.empty()) {
                if (auto d = ParseCsvDate(birthday)) {
                    d->kind = DateKind::Birthday;
                    c.dates.push_back(*d);
                    Use("Birthday");
                }
            }
        }
        for (const std::string& g : SplitValues(Plain("Group Membership"))) {
            bool builtIn = false;
            std::string name = TypeText(g, builtIn);
            if (!name.empty()) {
                c.groups.push_back({std::move(name), builtIn});
            }
        }
        bool firstOrg = true;
        for (int n : Numbers("Organization")) {
            const std::string name = Field("Organization", n, "Name");
            const std::string title = Field("Organization", n, "Title");
            const std::string department = Field("Organization", n, "Department");
            if (firstOrg && (!name.empty() || !title.empty() || !department.empty())) {
                firstOrg = false;
                c.company = name;
                c.jobTitle = title;
                c.department = department;
                UseField("Organization", n, "Name");
                UseField("Organization", n, "Title");
                UseField("Organization", n, "Department");
            }
        }
        Typed("E-mail", c.emails, EmailKind::Other, EmailKindFromLabel);
        Typed("Phone", c.phones, PhoneKind::Other, PhoneKindFromLabel);
        Typed("Website", c.webSites, WebKind::Other, WebKindFromLabel);
        Ims();
        Addresses();
        Events();
        Relations();
        Customs();
        // Whatever else the row holds.
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            if (!m_used[i] && i < m_cells.size() && !m_cells[i].empty()) {
                GExtraProperty x;
                x.name = "X-GOOGLE-CSV";
                x.params.push_back({"X-COLUMN", {m_columns[i].name}});
                for (char ch : NormalizeNewlines(m_cells[i])) {
                    if (ch == '\n') {
                        x.value += "\\n";
                    } else if (ch == '\\' || ch == ',' || ch == ';') {
                        x.value += '\\';
                        x.value += ch;
                    } else {
                        x.value += ch;
                    }
                }
                c.extras.push_back(std::move(x));
            }
        }
        return std::move(m_contact);
    }

private:
    int Find(const std::string& name) const
    {
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            if (m_columns[i].name == name) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    std::string Cell(int i) const
    {
        return i >= 0 && static_cast<std::size_t>(i) < m_cells.size() ? m_cells[i] : std::string();
    }

    std::string Plain(const std::string& name, bool use = true)
    {
        const int i = Find(name);
        if (use && i >= 0) {
            m_used[i] = true;
        }
        return Cell(i);
    }

    void Use(const std::string& name)
    {
        const int i = Find(name);
        if (i >= 0) {
            m_used[i] = true;
        }
    }

    int FindField(const std::string& section, int n, const std::string& field) const
    {
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            const Column& c = m_columns[i];
            if (c.number == n && c.section == section && c.field == field) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    std::string Field(const std::string& section, int n, const std::string& field) const
    {
        return Cell(FindField(section, n, field));
    }

    void UseField(const std::string& section, int n, const std::string& field)
    {
        const int i = FindField(section, n, field);
        if (i >= 0) {
            m_used[i] = true;
        }
    }

    std::vector<int> Numbers(const std::string& section) const
    {
        std::vector<int> out;
        for (const Column& c : m_columns) {
            if (c.section == section) {
                bool have = false;
                for (int n : out) {
                    have = have || n == c.number;
                }
                if (!have) {
                    out.push_back(c.number);
                }
            }
        }
        return out;
    }

    template <typename Kind, typename Lookup>
    void Typed(const std::string& section, std::vector<GTyped<Kind>>& list, Kind other, Lookup lookup)
    {
        for (int n : Numbers(section)) {
            const std::string value = Field(section, n, "Value");
            if (value.empty()) {
                continue;
            }
            bool primary = false;
            const std::string type = TypeText(Field(section, n, "Type"), primary);
            for (const std::string& v : SplitValues(value)) {
                GTyped<Kind> item;
                item.kind = other;
                if (auto k = lookup(type)) {
                    item.kind = *k;
                } else {
                    item.label = type;
                }
                item.value = v;
                item.primary = primary;
                primary = false; // the first value of a primary cell
                list.push_back(std::move(item));
            }
            UseField(section, n, "Value");
            UseField(section, n, "Type");
        }
    }

    void Ims()
    {
        for (int n : Numbers("IM")) {
            const std::string value = Field("IM", n, "Value");
            if (value.empty()) {
                continue;
            }
            const auto kind = ImKindFromLabel(Field("IM", n, "Service"));
            if (!kind) {
                continue; // kept as the columns it has
            }
            bool primary = false;
            const std::string type = TypeText(Field("IM", n, "Type"), primary);
            for (const std::string& v : SplitValues(value)) {
                GIm im;
                im.kind = *kind;
                if (!type.empty() && !EqualsNoCase(type, "Other")) {
                    im.label = type;
                }
                im.value = v;
                im.primary = primary;
                primary = false;
                m_contact.ims.push_back(std::move(im));
            }
            UseField("IM", n, "Value");
            UseField("IM", n, "Type");
            UseField("IM", n, "Service");
        }
    }

    void Addresses()
    {
        static const char* const fields[] = {"Formatted", "Street",           "City",
                                             "PO Box",    "Region",           "Postal Code",
                                             "Country",   "Extended Address", "Neighborhood"};
        for (int n : Numbers("Address")) {
            std::vector<std::vector<std::string>> parts;
            std::size_t count = 0;
            for (const char* f : fields) {
                parts.push_back(SplitValues(Field("Address", n, f)));
                const bool any = !(parts.back().size() == 1 && parts.back()[0].empty());
                if (any && parts.back().size() > count) {
                    count = parts.back().size();
                }
            }
            if (count == 0) {
                continue;
            }
            bool primary = false;
            const std::string type = TypeText(Field("Address", n, "Type"), primary);
            for (std::size_t k = 0; k < count; ++k) {
                auto part = [&](std::size_t f) { return k < parts[f].size() ? parts[f][k] : std::string(); };
                GAddress a;
                if (auto kind = AddressKindFromLabel(type)) {
                    a.kind = *kind;
                } else {
                    a.label = type;
                }
                a.formatted = NormalizeNewlines(part(0));
                a.street = part(1);
                a.city = part(2);
                a.poBox = part(3);
                a.region = part(4);
                a.postalCode = part(5);
                a.country = part(6);
                a.extended = part(7);
                a.neighborhood = part(8);
                a.primary = primary && k == 0;
                m_contact.addresses.push_back(std::move(a));
            }
            UseField("Address", n, "Type");
            for (const char* f : fields) {
                UseField("Address", n, f);
            }
        }
    }

    void Events()
    {
        for (int n : Numbers("Event")) {
            const std::string value = Field("Event", n, "Value");
            if (value.empty()) {
                continue;
            }
            bool primary = false;
            const std::string type = TypeText(Field("Event", n, "Type"), primary);
            std::vector<GDate> dates;
            for (const std::string& v : SplitValues(value)) {
                auto d = ParseCsvDate(v);
                if (!d) {
                    dates.clear();
                    break; // kept as the columns it has
                }
                if (auto kind = DateKindFromLabel(type)) {
                    d->kind = *kind;
                } else {
                    d->kind = DateKind::Other;
                    d->label = type;
                }
                dates.push_back(*d);
            }
            if (dates.empty()) {
                continue;
            }
            m_contact.dates.insert(m_contact.dates.end(), dates.begin(), dates.end());
            UseField("Event", n, "Type");
            UseField("Event", n, "Value");
        }
    }

    void Relations()
    {
        for (int n : Numbers("Relation")) {
            const std::string value = Field("Relation", n, "Value");
            if (value.empty()) {
                continue;
            }
            bool primary = false;
            const std::string type = TypeText(Field("Relation", n, "Type"), primary);
            for (const std::string& v : SplitValues(value)) {
                GRelation r;
                if (auto kind = RelationKindFromLabel(type)) {
                    r.kind = *kind;
                } else {
                    r.label = type;
                }
                r.name = v;
                m_contact.relations.push_back(std::move(r));
            }
            UseField("Relation", n, "Type");
            UseField("Relation", n, "Value");
        }
    }

    void Customs()
    {
        for (int n : Numbers("Custom Field")) {
            const std::string value = Field("Custom Field", n, "Value");
            const std::string type = Field("Custom Field", n, "Type");
            if (value.empty() && type.empty()) {
                continue;
            }
            for (const std::string& v : SplitValues(value)) {
                m_contact.customFields.push_back({type, v});
            }
            UseField("Custom Field", n, "Type");
            UseField("Custom Field", n, "Value");
        }
    }

    const std::vector<Column>& m_columns;
    const std::vector<std::string>& m_cells;
    std::vector<bool> m_used;
    GContact m_contact;
};

} // namespace

bool SplitCsvRows(std::string_view text, std::vector<std::vector<std::string>>& rows,
                  std::vector<std::size_t>& rowLines, std::string& error)
{
    rows.clear();
    rowLines.clear();
    std::size_t line = 1;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        std::vector<std::string> row;
        const std::size_t rowLine = line;
        bool endOfRow = false;
        while (!endOfRow) {
            std::string cell;
            if (i < n && text[i] == '"') {
                const std::size_t cellLine = line;
                ++i;
                while (true) {
                    if (i >= n) {
                        error = LineError(cellLine, "a quoted cell whose quote does not close");
                        return false;
                    }
                    const char c = text[i];
                    if (c == '"') {
                        if (i + 1 < n && text[i + 1] == '"') {
                            cell += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (c == '\n') {
                        ++line;
                    }
                    cell += c;
                    ++i;
                    if (cell.size() > kMaxCsvCellBytes) {
                        error = LineError(cellLine, "a cell longer than " + std::to_string(kMaxCsvCellBytes) +
                                                        " bytes");
                        return false;
                    }
                }
            }
            // The unquoted part (or what follows a closing quote) up to the next comma or line end.
            while (i < n && text[i] != ',' && text[i] != '\n' && text[i] != '\r') {
                cell += text[i++];
                if (cell.size() > kMaxCsvCellBytes) {
                    error =
                        LineError(line, "a cell longer than " + std::to_string(kMaxCsvCellBytes) + " bytes");
                    return false;
                }
            }
            row.push_back(std::move(cell));
            if (row.size() > kMaxCsvColumns) {
                error = LineError(rowLine, "a row of more than " + std::to_string(kMaxCsvColumns) + " cells");
                return false;
            }
            if (i < n && text[i] == ',') {
                ++i;
                continue;
            }
            endOfRow = true;
            if (i < n && text[i] == '\r') {
                ++i;
            }
            if (i < n && text[i] == '\n') {
                ++i;
            }
            ++line;
        }
        if (row.size() == 1 && row[0].empty()) {
            continue; // an empty line
        }
        if (rows.size() >= kMaxCsvRows) {
            error = LineError(rowLine, "more than " + std::to_string(kMaxCsvRows) + " rows");
            return false;
        }
        rows.push_back(std::move(row));
        rowLines.push_back(rowLine);
    }
    return true;
}

bool ReadGoogleCsv(std::string_view bytes, std::vector<GContact>& contacts, std::string& error)
{
    contacts.clear();
    if (bytes.size() > kMaxCsvFileBytes) {
        error = "more than " + std::to_string(kMaxCsvFileBytes) + " bytes";
        return false;
    }
    const std::string text = NormalizeNewlines(FileTextToUtf8(bytes));
    std::vector<std::vector<std::string>> rows;
    std::vector<std::size_t> lines;
    if (!SplitCsvRows(text, rows, lines, error)) {
        return false;
    }
    if (rows.empty()) {
        error = "line 1: no header row";
        return false;
    }
    std::vector<Column> columns;
    bool known = false;
    for (const std::string& name : rows[0]) {
        columns.push_back(ParseColumn(std::string(Trim(name))));
        const Column& c = columns.back();
        known = known || c.name == "Name" || c.name == "Given Name" || c.name == "Family Name" ||
                c.section == "E-mail" || c.section == "Phone";
    }
    if (!known) {
        error = "line " + std::to_string(lines[0]) +
                ": not a Google CSV header (no \"Name\", \"Given Name\", "
                "\"Family Name\", \"E-mail 1 - Value\" or \"Phone 1 - Value\")";
        return false;
    }
    std::vector<GContact> out;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const auto& cells = rows[r];
        for (std::size_t k = columns.size(); k < cells.size(); ++k) {
            if (!cells[k].empty()) {
                error = LineError(lines[r], "a row with more cells than the header has columns (" +
                                                std::to_string(cells.size()) + " for " +
                                                std::to_string(columns.size()) + ")");
                return false;
            }
        }
        out.push_back(RowReader(columns, cells).Read());
    }
    AssignDerivedKeys(out);
    contacts = std::move(out);
    return true;
}

bool ReadGoogleCsvFile(const std::string& path, std::vector<GContact>& contacts, std::string& error)
{
    contacts.clear();
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes, kMaxCsvFileBytes)) {
        error = path + ": cannot be read, or holds more than " + std::to_string(kMaxCsvFileBytes) + " bytes";
        return false;
    }
    if (!ReadGoogleCsv(bytes, contacts, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool ReadContactsFile(const std::string& path, std::vector<GContact>& contacts, std::string& error)
{
    contacts.clear();
    std::string bytes;
    const std::size_t limit = kMaxVCardFileBytes > kMaxCsvFileBytes ? kMaxVCardFileBytes : kMaxCsvFileBytes;
    if (!platform::ReadWholeFile(path, bytes, limit)) {
        error = path + ": cannot be read, or holds more than " + std::to_string(limit) + " bytes";
        return false;
    }
    const std::string text = FileTextToUtf8(std::string_view(bytes).substr(0, 64));
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    const bool vcard =
        start != std::string::npos && StartsWithNoCase(std::string_view(text).substr(start), "BEGIN:VCARD");
    const bool ok = vcard ? ReadVCards(bytes, contacts, error) : ReadGoogleCsv(bytes, contacts, error);
    if (!ok) {
        error = path + ": " + error;
    }
    return ok;
}

} // namespace gcontacts
