// Reads arbitrary bytes as vCard; what reads must write and read back as the same contacts,
// and every text must be UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "google/contacts/TextUtil.h"
#include "google/contacts/VCardReader.h"
#include "google/contacts/VCardWriter.h"

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
    using namespace gcontacts;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<GContact> contacts;
    std::string error;
    if (!ReadVCards(bytes, contacts, error)) {
        Check(contacts.empty() && !error.empty() && error.rfind("line ", 0) == 0);
        return 0;
    }
    for (const auto& c : contacts) {
        Check(!c.uid.empty());
        Check(IsValidUtf8(c.displayName) && IsValidUtf8(c.note) && IsValidUtf8(c.lastName));
    }
    const std::string written = WriteVCards(contacts);
    Check(IsValidUtf8(written));
    std::vector<GContact> again;
    Check(ReadVCards(written, again, error));
    Check(again == contacts);
    return 0;
}
