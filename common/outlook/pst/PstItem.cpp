// Items: typed values by MAPI property and Outlook's view of them. No libpff here: an item is
// its properties, copied out of the file.
#include <cmath>
#include <cstdio>
#include <strings.h>

#include "outlook/pst/PstStore.h"
#include "platform/CodePage.h"
#include "platform/OleDate.h"

namespace pst {
namespace {

bool StartsWithClass(std::u16string_view messageClass, std::string_view prefix)
{
    if (messageClass.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char16_t a = messageClass[i];
        char b = prefix[i];
        if (a < 0x80 && std::tolower(static_cast<int>(a)) != std::tolower(static_cast<unsigned char>(b))) {
            return false;
        }
        if (a >= 0x80) {
            return false;
        }
    }
    return messageClass.size() == prefix.size() || messageClass[prefix.size()] == u'.';
}

std::string Ansi(std::u16string_view text)
{
    return platform::Utf16ToAnsi(text);
}

std::optional<std::int64_t> AsInteger(const PropertyValue& v)
{
    switch (v.type) {
    case kTypeShort:
    case kTypeLong:
    case kTypeBoolean:
    case kTypeInt64:
        return v.integer;
    case kTypeFloat:
    case kTypeDouble:
        if (std::fabs(v.real) < 2147483647.0) {
            return static_cast<std::int64_t>(std::llround(v.real));
        }
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

} // namespace

PstItem::PstItem(std::vector<RawProperty> properties, unsigned codePage, std::uint32_t id, Bytes storeKey)
    : m_properties(std::move(properties)), m_codePage(codePage), m_id(id), m_storeKey(std::move(storeKey))
{
}

const RawProperty* PstItem::Find(const PropertyKey& key) const
{
    for (const RawProperty& p : m_properties) {
        if (p.Matches(key)) {
            return &p;
        }
    }
    return nullptr;
}

std::optional<PropertyValue> PstItem::Get(const PropertyKey& key) const
{
    const RawProperty* p = Find(key);
    if (p == nullptr) {
        return std::nullopt;
    }
    return DecodeProperty(p->type, p->data, m_codePage);
}

std::u16string PstItem::MessageClass() const
{
    auto v = Get(PropertyKey::Tag(tag::kMessageClass));
    return v ? v->text : std::u16string();
}

std::u16string PstItem::Subject() const
{
    auto v = Get(PropertyKey::Tag(tag::kSubject));
    return v ? StripSubjectMarker(v->text) : std::u16string();
}

std::u16string PstItem::Body() const
{
    if (auto v = Get(PropertyKey::Tag(tag::kBody)); v && !v->text.empty()) {
        return v->text;
    }
    if (auto v = Get(PropertyKey::Tag(tag::kRtfCompressed)); v && !v->binary.empty()) {
        if (auto rtf = DecompressRtf(v->binary)) {
            return RtfToText(*rtf, m_codePage);
        }
    }
    // Only an HTML body: its text, as Outlook shows it in the plain-text view.
    if (auto v = Get(PropertyKey::Tag(tag::kHtml)); v) {
        if (!v->binary.empty()) {
            unsigned codePage = m_codePage;
            if (auto cp = Get(PropertyKey::Tag(tag::kInternetCodepage));
                cp && cp->integer > 0 && IsKnownCodePage(static_cast<unsigned>(cp->integer))) {
                codePage = static_cast<unsigned>(cp->integer);
            }
            return HtmlToText(
                std::string_view(reinterpret_cast<const char*>(v->binary.data()), v->binary.size()),
                codePage);
        }
        if (!v->text.empty()) {
            return HtmlToText(Utf16ToUtf8(v->text), 65001, false);
        }
    }
    return {};
}

std::string PstItem::EntryId() const
{
    Bytes id(4, 0);
    Bytes key = m_storeKey;
    key.resize(16, 0);
    id.insert(id.end(), key.begin(), key.end());
    for (int i = 0; i < 4; ++i) {
        id.push_back(static_cast<std::uint8_t>(m_id >> (8 * i)));
    }
    std::string hex;
    char buf[3];
    for (std::uint8_t b : id) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        hex += buf;
    }
    return hex;
}

unsigned PstItem::ItemClass() const
{
    const std::u16string c = MessageClass();
    if (StartsWithClass(c, "IPM.Contact")) {
        return kClassContact;
    }
    if (StartsWithClass(c, "IPM.Appointment")) {
        return kClassAppointment;
    }
    if (StartsWithClass(c, "IPM.Task")) {
        return kClassTask;
    }
    if (StartsWithClass(c, "IPM.StickyNote")) {
        return kClassNote;
    }
    return 0;
}

OutlookValue PstItem::Convert(const OutlookProperty& p) const
{
    OutlookValue out;
    out.type = p.type;
    switch (p.conversion) {
    case OutlookConversion::EntryId:
        out.text = EntryId();
        out.present = true;
        return out;
    case OutlookConversion::Constant:
        out.flag = true;
        out.present = true;
        return out;
    case OutlookConversion::Subject:
        if (Find(p.key) != nullptr) {
            out.text = Ansi(Subject());
            out.present = true;
        }
        return out;
    case OutlookConversion::Body: {
        const std::u16string body = Body();
        out.text = Ansi(body);
        out.present = !body.empty();
        return out;
    }
    case OutlookConversion::Categories: {
        auto v = Get(p.key);
        if (v && (v->type == kTypeMvUnicode || v->type == kTypeMvString8)) {
            std::u16string joined;
            for (const auto& t : v->texts) {
                joined += (joined.empty() ? u"" : u", ") + t;
            }
            out.text = Ansi(joined);
            out.present = true;
        } else if (v && (v->type == kTypeUnicode || v->type == kTypeString8)) {
            out.text = Ansi(v->text);
            out.present = true;
        }
        return out;
    }
    case OutlookConversion::Recurring: {
        auto v = Get(p.key);
        if (v && v->type == kTypeBoolean) {
            out.flag = v->integer != 0;
            out.present = true;
        } else {
            out.flag = Recurrence().has_value();
            out.present = out.flag;
        }
        return out;
    }
    default:
        break;
    }

    auto v = Get(p.key);
    bool wallClock = p.conversion == OutlookConversion::WallClock;
    if (!v && p.fallbackTag != 0) {
        v = Get(PropertyKey::Tag(p.fallbackTag));
        wallClock = false;
    }
    if (!v) {
        return out;
    }
    switch (p.type) {
    case OutlookType::Text:
        if (v->type == kTypeUnicode || v->type == kTypeString8) {
            out.text = Ansi(v->text);
            out.present = true;
        }
        break;
    case OutlookType::Long:
        if (p.conversion == OutlookConversion::Percent && (v->type == kTypeDouble || v->type == kTypeFloat)) {
            if (v->real >= 0.0 && v->real <= 1.0) {
                out.number = static_cast<std::int32_t>(std::lround(v->real * 100.0));
                out.present = true;
            }
        } else if (auto n = AsInteger(*v); n && *n >= INT32_MIN && *n <= INT32_MAX) {
            out.number = static_cast<std::int32_t>(*n);
            out.present = true;
        }
        break;
    case OutlookType::Bool:
        if (auto n = AsInteger(*v)) {
            out.flag = *n != 0;
            out.present = true;
        }
        break;
    case OutlookType::Date:
        if (v->type == kTypeSysTime) {
            auto date = wallClock ? FileTimeToOleDate(v->integer) : FileTimeToLocalOleDate(v->integer);
            out.date = date.value_or(0.0);
            out.present = date.has_value();
        }
        break;
    }
    return out;
}

std::optional<OutlookValue> PstItem::Outlook(std::string_view name) const
{
    unsigned itemClass = ItemClass();
    const OutlookProperty* p = FindOutlookProperty(name, itemClass != 0 ? itemClass : kClassAny);
    if (p == nullptr) {
        return std::nullopt;
    }
    return Convert(*p);
}

std::optional<RecurrenceBlob> PstItem::RecurrenceBlobValue() const
{
    const PropertyKey key = ItemClass() == kClassTask
                                ? PropertyKey::Named(kPsetidTask, lid::kTaskRecurrence)
                                : PropertyKey::Named(kPsetidAppointment, lid::kAppointmentRecur);
    auto v = Get(key);
    if (!v || v->type != kTypeBinary) {
        return std::nullopt;
    }
    return ParseRecurrenceBlob(v->binary);
}

std::optional<RecurrencePattern> PstItem::Recurrence() const
{
    auto blob = RecurrenceBlobValue();
    if (!blob) {
        return std::nullopt;
    }
    return ToRecurrencePattern(*blob);
}

std::optional<RecurrencePattern> ToRecurrencePattern(const RecurrenceBlob& b)
{
    RecurrencePattern r;
    const unsigned mask = b.dayMask & 0x7F;
    const bool monthDayOk = b.dayOfMonth >= 1 && b.dayOfMonth <= 31;
    const bool nthOk = b.nthInstance >= 1 && b.nthInstance <= 5 && mask != 0;
    switch (b.recurFrequency) {
    case 0x200A: // daily
        if (b.patternType == 0) {
            if (b.period < 1440) {
                return std::nullopt;
            }
            r.recurrenceType = 0;
            r.interval = static_cast<int>(b.period / 1440);
        } else if (b.patternType == 1 && mask != 0) { // every weekday
            r.recurrenceType = 1;
            r.interval = 1;
            r.dayOfWeekMask = static_cast<int>(mask);
        } else {
            return std::nullopt;
        }
        break;
    case 0x200B: // weekly
        if (b.patternType != 1 || mask == 0 || b.period == 0 || b.period > 99) {
            return std::nullopt;
        }
        r.recurrenceType = 1;
        r.interval = static_cast<int>(b.period);
        r.dayOfWeekMask = static_cast<int>(mask);
        break;
    case 0x200C: // monthly
    case 0x200D: // yearly
    {
        const bool yearly = b.recurFrequency == 0x200D;
        if (b.period == 0 || b.period > 1200) {
            return std::nullopt;
        }
        r.interval = static_cast<int>(yearly ? std::max<std::uint32_t>(1, b.period / 12) : b.period);
        if (b.patternType == 2 || b.patternType == 0xA) {
            if (!monthDayOk) {
                return std::nullopt;
            }
            r.recurrenceType = yearly ? 5 : 2;
            r.dayOfMonth = static_cast<int>(b.dayOfMonth);
        } else if (b.patternType == 4 || b.patternType == 0xC) {
            r.recurrenceType = yearly ? 5 : 2;
            r.dayOfMonth = 31;
        } else if (b.patternType == 3 || b.patternType == 0xB) {
            if (!nthOk) {
                return std::nullopt;
            }
            r.recurrenceType = yearly ? 6 : 3;
            r.dayOfWeekMask = static_cast<int>(mask);
            r.instance = static_cast<int>(b.nthInstance);
        } else {
            return std::nullopt;
        }
        if (yearly) {
            SYSTEMTIME st{};
            if (!platform::VariantTimeToSystemTime(MinutesToOleDate(b.startDate), &st)) {
                return std::nullopt;
            }
            r.monthOfYear = st.wMonth;
        }
        break;
    }
    default:
        return std::nullopt;
    }
    r.patternStartDate = MinutesToOleDate(b.startDate);
    r.noEndDate = b.NoEnd();
    if (!r.noEndDate) {
        if (b.endDate < b.startDate) {
            return std::nullopt;
        }
        r.patternEndDate = MinutesToOleDate(b.endDate);
    }
    r.occurrences = b.occurrenceCount <= 999999 ? static_cast<int>(b.occurrenceCount) : 0;
    if (b.hasAppointmentPart) {
        if (b.startTimeOffset > 1440 * 2 || b.endTimeOffset > 1440 * 60 ||
            b.endTimeOffset < b.startTimeOffset) {
            return std::nullopt;
        }
        r.startTime = (b.startTimeOffset % 1440) / 1440.0;
        r.endTime = (b.endTimeOffset % 1440) / 1440.0;
        r.duration = static_cast<int>(b.endTimeOffset - b.startTimeOffset);
    }
    return r;
}

std::vector<UserProperty> PstItem::UserProperties() const
{
    std::vector<UserProperty> result;
    auto stream = Get(PropertyKey::Named(kPsetidCommon, lid::kPropertyDefinitionStream));
    if (!stream || stream->type != kTypeBinary) {
        return result;
    }
    auto names = ParsePropertyDefinitionNames(stream->binary);
    if (!names) {
        return result;
    }
    for (const std::u16string& name : *names) {
        UserProperty up;
        up.name = Ansi(name);
        if (auto v = Get(PropertyKey::Named(kPsPublicStrings, Utf16ToUtf8(name)))) {
            up.value.present = true;
            switch (v->type) {
            case kTypeUnicode:
            case kTypeString8:
                up.value.type = OutlookType::Text;
                up.value.text = Ansi(v->text);
                break;
            case kTypeBoolean:
                up.value.type = OutlookType::Bool;
                up.value.flag = v->integer != 0;
                break;
            case kTypeSysTime: {
                up.value.type = OutlookType::Date;
                auto d = FileTimeToLocalOleDate(v->integer);
                up.value.date = d.value_or(0.0);
                up.value.present = d.has_value();
                break;
            }
            default:
                if (auto n = AsInteger(*v); n && *n >= INT32_MIN && *n <= INT32_MAX) {
                    up.value.type = OutlookType::Long;
                    up.value.number = static_cast<std::int32_t>(*n);
                } else {
                    up.value.present = false;
                }
                break;
            }
        }
        result.push_back(std::move(up));
    }
    return result;
}

std::string PstItem::Damage() const
{
    // The properties the item is read by: the Outlook table's for its class, and what the
    // body and the recurrence are made from. Other properties are never read, so their
    // values do not matter.
    std::vector<const RawProperty*> used;
    const unsigned itemClass = ItemClass() != 0 ? ItemClass() : kClassAny;
    for (const OutlookProperty& p : OutlookProperties()) {
        if ((p.classes & itemClass) != 0) {
            used.push_back(Find(p.key));
            if (p.fallbackTag != 0) {
                used.push_back(Find(PropertyKey::Tag(p.fallbackTag)));
            }
        }
    }
    const RawProperty* rtf = Find(PropertyKey::Tag(tag::kRtfCompressed));
    const RawProperty* recurrence =
        Find(itemClass == kClassTask ? PropertyKey::Named(kPsetidTask, lid::kTaskRecurrence)
                                     : PropertyKey::Named(kPsetidAppointment, lid::kAppointmentRecur));
    used.insert(used.end(), {Find(PropertyKey::Tag(tag::kMessageClass)), rtf, recurrence});
    char buf[112];
    for (const RawProperty* p : used) {
        if (p != nullptr && !DecodeProperty(p->type, p->data, m_codePage)) {
            std::snprintf(buf, sizeof buf,
                          "property 0x%04X of type 0x%04X (%zu bytes) does not hold a valid value",
                          p->fileTag, p->type, p->data.size());
            return buf;
        }
    }
    const bool noPlainBody = !Get(PropertyKey::Tag(tag::kBody)).has_value();
    if (rtf != nullptr && rtf->type == kTypeBinary && noPlainBody && !DecompressRtf(rtf->data)) {
        return "its compressed RTF body cannot be read";
    }
    if (recurrence != nullptr && recurrence->type == kTypeBinary &&
        (!ParseRecurrenceBlob(recurrence->data) ||
         !ToRecurrencePattern(*ParseRecurrenceBlob(recurrence->data)))) {
        return "its recurrence pattern cannot be read";
    }
    return {};
}

} // namespace pst
