// Reads arbitrary bytes as Google CSV; what reads must be UTF-8 and must write and read back
// as vCard with its names, e-mail addresses and phone numbers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "google/contacts/GoogleCsvReader.h"
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
    if (!ReadGoogleCsv(bytes, contacts, error)) {
        Check(contacts.empty() && error.rfind("line ", 0) == 0);
        return 0;
    }
    for (const auto& c : contacts) {
        Check(!c.uid.empty() && IsValidUtf8(c.firstName) && IsValidUtf8(c.note));
    }
    std::vector<GContact> again;
    Check(ReadVCards(WriteVCards(contacts), again, error));
    Check(again.size() == contacts.size());
    for (std::size_t i = 0; i < again.size(); ++i) {
        Check(again[i].firstName == contacts[i].firstName && again[i].emails == contacts[i].emails &&
              again[i].phones == contacts[i].phones && again[i].uid == contacts[i].uid);
    }
    return 0;
}
