// Splits arbitrary text in both quote modes and checks what the fields can be.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "misc/CSV.h"

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
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.substr(0, text.find('\0'));
    std::size_t commas = 0;
    for (char c : text) {
        commas += c == ',' ? 1 : 0;
    }
    for (bool quoteMode : {false, true}) {
        const CSV csv(text.c_str(), quoteMode);
        const std::uint32_t count = csv.GetCount();
        if (text.empty()) {
            Check(count == 0);
        } else {
            Check(count >= 1 && count <= commas + 1);
        }
        Check(quoteMode || text.empty() || count == commas + 1);
        std::size_t total = 0;
        for (std::uint32_t i = 0; i < count; ++i) {
            total += std::strlen(csv.GetItem(i));
        }
        Check(total + (count > 0 ? count - 1 : 0) <= text.size());
        Check(*csv.GetItem(count) == '\0');
    }
    return 0;
}
