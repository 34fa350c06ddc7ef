// Feeds arbitrary bytes to the Outlook data file reader's own parsers: the first byte picks
// the parser, the rest is the value. Checks what each result may be.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "outlook/pst/PstProperties.h"
#include "outlook/pst/PstStore.h"

namespace {

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::span<const std::uint8_t> value(data + 1, size - 1);
    switch (data[0] % 7) {
    case 0:
        if (auto values = pst::ParseMultiValueVariable(value)) {
            std::size_t total = 0;
            for (const auto& v : *values) {
                total += v.size();
            }
            Check(total <= value.size());
        }
        break;
    case 1:
        if (auto blob = pst::ParseRecurrenceBlob(value)) {
            Check(blob->consumed <= value.size());
            Check(blob->deletedInstanceDates.size() * 4 <= value.size());
            if (auto pattern = pst::ToRecurrencePattern(*blob)) {
                Check(pattern->interval >= 1);
                Check(pattern->noEndDate || pattern->patternEndDate >= pattern->patternStartDate);
            }
        }
        break;
    case 2:
        if (auto rtf = pst::DecompressRtf(value)) {
            Check(rtf->size() <= pst::kMaxValueSize + 18);
            pst::RtfToText(*rtf, 1252);
        }
        break;
    case 3:
        pst::RtfToText(std::string_view(reinterpret_cast<const char*>(value.data()), value.size()), 932);
        break;
    case 4:
        pst::ParsePropertyDefinitionNames(value);
        break;
    case 5: {
        const std::string_view html(reinterpret_cast<const char*>(value.data()), value.size());
        pst::HtmlToText(html, 1252);
        pst::HtmlToText(html, 65001, false);
        break;
    }
    default:
        // Every value type over the same bytes.
        for (std::uint16_t type : {0x0002, 0x0003, 0x0005, 0x000B, 0x0014, 0x001E, 0x001F, 0x0040, 0x0102,
                                   0x1003, 0x101E, 0x101F, 0x1102}) {
            if (auto v = pst::DecodeProperty(type, value, 1252); v && type == 0x0040) {
                Check(pst::IsTrustedFileTime(v->integer));
            }
        }
        break;
    }
    return 0;
}
