#include "VCardLines.h"

#include "TextUtil.h"

namespace gcontacts {

namespace {

std::string LineError(std::size_t lineNo, const std::string& what)
{
    return "line " + std::to_string(lineNo) + ": " + what;
}

// Whether the part of a logical line before its first ':' names quoted-printable as its
// encoding: a parameter ENCODING=QUOTED-PRINTABLE, or vCard 2.1's bare QUOTED-PRINTABLE (not
// the words inside another parameter's value).
bool HeadIsQuotedPrintable(std::string_view line)
{
    const std::size_t colon = line.find(':');
    const std::string_view head = line.substr(0, colon);
    std::size_t start = head.find(';');
    while (start != std::string_view::npos) {
        const std::size_t end = head.find(';', start + 1);
        const std::string_view param =
            Trim(head.substr(start + 1, end == std::string_view::npos ? end : end - start - 1));
        if (EqualsNoCase(param, "QUOTED-PRINTABLE") || EqualsNoCase(param, "ENCODING=QUOTED-PRINTABLE")) {
            return true;
        }
        start = end;
    }
    return false;
}

} // namespace

bool SplitVCardLines(std::string_view text, std::vector<VCardLine>& lines, std::string& error)
{
    lines.clear();
    std::size_t pos = 0;
    std::size_t lineNo = 0;
    bool open = false; // lines.back() may still take continuations
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') {
            ++end;
        }
        std::string_view physical = text.substr(pos, end - pos);
        ++lineNo;
        pos = end;
        if (pos < text.size()) {
            pos += text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n' ? 2 : 1;
        }
        if (physical.empty()) {
            open = false;
            continue;
        }
        const bool folded = physical.front() == ' ' || physical.front() == '\t';
        if (open && (folded || (HeadIsQuotedPrintable(lines.back().text) && !lines.back().text.empty() &&
                                lines.back().text.back() == '='))) {
            std::string& last = lines.back().text;
            if (HeadIsQuotedPrintable(last) && !last.empty() && last.back() == '=') {
                last.pop_back(); // a soft line break
            }
            last.append(folded ? physical.substr(1) : physical);
            if (last.size() > kMaxVCardLineBytes) {
                error = LineError(lines.back().lineNo,
                                  "a line longer than " + std::to_string(kMaxVCardLineBytes) + " bytes");
                return false;
            }
            continue;
        }
        if (folded && Trim(physical).empty()) {
            continue; // blanks only
        }
        if (physical.size() > kMaxVCardLineBytes) {
            error = LineError(lineNo, "a line longer than " + std::to_string(kMaxVCardLineBytes) + " bytes");
            return false;
        }
        lines.push_back({std::string(folded ? physical.substr(1) : physical), lineNo});
        open = true;
    }
    return true;
}

const std::vector<std::string>* VCardProperty::Param(std::string_view wanted) const
{
    for (const auto& p : params) {
        if (EqualsNoCase(p.name, wanted)) {
            return &p.values;
        }
    }
    return nullptr;
}

std::string VCardProperty::ParamValue(std::string_view wanted) const
{
    const auto* values = Param(wanted);
    return values && !values->empty() ? values->front() : std::string();
}

bool VCardProperty::HasType(std::string_view type) const
{
    for (const auto& p : params) {
        if (p.name == "TYPE") {
            for (const auto& v : p.values) {
                if (EqualsNoCase(Trim(v), type)) {
                    return true;
                }
            }
        }
    }
    return false;
}

bool VCardProperty::IsQuotedPrintable() const
{
    const auto* enc = Param("ENCODING");
    return enc && !enc->empty() && EqualsNoCase(enc->front(), "QUOTED-PRINTABLE");
}

bool VCardProperty::IsBase64() const
{
    const auto* enc = Param("ENCODING");
    return enc && !enc->empty() && (EqualsNoCase(enc->front(), "BASE64") || EqualsNoCase(enc->front(), "B"));
}

namespace {

bool IsNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

// vCard 4.0's parameter value escapes: ^n a line break, ^^ a caret, ^' a double quote.
std::string DecodeCaret(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '^' && i + 1 < text.size()) {
            const char n = text[i + 1];
            if (n == 'n' || n == 'N') {
                out += '\n';
                ++i;
                continue;
            }
            if (n == '^') {
                out += '^';
                ++i;
                continue;
            }
            if (n == '\'') {
                out += '"';
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

bool IsEncodingName(std::string_view bare)
{
    return EqualsNoCase(bare, "QUOTED-PRINTABLE") || EqualsNoCase(bare, "BASE64") ||
           EqualsNoCase(bare, "B") || EqualsNoCase(bare, "8BIT") || EqualsNoCase(bare, "7BIT");
}

} // namespace

bool ParseVCardProperty(const VCardLine& line, VCardProperty& property, std::string& error)
{
    property = VCardProperty{};
    property.lineNo = line.lineNo;
    const std::string_view text = line.text;
    std::size_t i = 0;
    // [group "."] name
    std::size_t start = 0;
    while (i < text.size() && IsNameChar(text[i])) {
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        property.group = std::string(text.substr(start, i - start));
        ++i;
        start = i;
        while (i < text.size() && IsNameChar(text[i])) {
            ++i;
        }
    }
    property.name = ToUpperAscii(text.substr(start, i - start));
    if (property.name.empty()) {
        error = LineError(line.lineNo, "a property without a name");
        return false;
    }
    // parameters
    while (i < text.size() && text[i] == ';') {
        ++i;
        if (property.params.size() >= kMaxVCardParams) {
            error = LineError(line.lineNo, "more than " + std::to_string(kMaxVCardParams) + " parameters");
            return false;
        }
        std::size_t nameStart = i;
        while (i < text.size() && text[i] != '=' && text[i] != ';' && text[i] != ':' && text[i] != '"') {
            ++i;
        }
        const std::string_view pname = Trim(text.substr(nameStart, i - nameStart));
        VCardParam param;
        if (i < text.size() && text[i] == '=') {
            param.name = ToUpperAscii(pname);
            ++i;
            // values
            while (true) {
                std::string value;
                if (i < text.size() && text[i] == '"') {
                    const std::size_t close = text.find('"', i + 1);
                    if (close == std::string_view::npos) {
                        error = LineError(line.lineNo, "a parameter value whose quote does not close");
                        return false;
                    }
                    value = DecodeCaret(text.substr(i + 1, close - i - 1));
                    i = close + 1;
                    // anything up to the next separator belongs to the value
                    while (i < text.size() && text[i] != ',' && text[i] != ';' && text[i] != ':') {
                        value += text[i++];
                    }
                } else {
                    const std::size_t vs = i;
                    while (i < text.size() && text[i] != ',' && text[i] != ';' && text[i] != ':') {
                        ++i;
                    }
                    value = DecodeCaret(text.substr(vs, i - vs));
                }
                if (param.values.size() >= kMaxVCardParamValues) {
                    error = LineError(line.lineNo, "a parameter with more than " +
                                                       std::to_string(kMaxVCardParamValues) + " values");
                    return false;
                }
                param.values.push_back(ToUtf8(value));
                if (i < text.size() && text[i] == ',') {
                    ++i;
                    continue;
                }
                break;
            }
        } else {
            if (pname.empty()) {
                continue; // ";;" or a trailing ";"
            }
            param.name = IsEncodingName(pname) ? "ENCODING" : "TYPE";
            param.values.push_back(ToUtf8(pname));
        }
        if (param.name.empty()) {
            error = LineError(line.lineNo, "a parameter without a name");
            return false;
        }
        for (char c : param.name) {
            if (!IsNameChar(c)) {
                error =
                    LineError(line.lineNo, "a parameter name that holds other than letters, digits and '-'");
                return false;
            }
        }
        property.params.push_back(std::move(param));
    }
    if (i >= text.size() || text[i] != ':') {
        error = LineError(line.lineNo, "no ':' between the property " + property.name + " and its value");
        return false;
    }
    property.value = std::string(text.substr(i + 1));
    return true;
}

std::string DecodedValue(const VCardProperty& property)
{
    const std::string bytes =
        property.IsQuotedPrintable() ? DecodeQuotedPrintable(property.value) : property.value;
    return ToUtf8(bytes, property.ParamValue("CHARSET"));
}

} // namespace gcontacts
