// Reads arbitrary text as a delimited ACT! contacts export and checks what a read can give:
// a failure gives no contacts and says why; every text of a contact read fits its field.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "ACT/ACTContactExport.h"
#include "ACT/ACTFieldTable.h"

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
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ACTContactExport result;
    std::string error;
    if (!ReadACTContactExport(text, result, error)) {
        Check(result.contacts.empty() && !error.empty());
        return 0;
    }
    for (const ACTAddrRec& rec : result.contacts) {
        for (const ACTFieldInfo& info : ACTContactFieldTable()) {
            if (info.Type == ACTFieldTypeText) {
                const CxLayoutField* field = ACTContactFieldStorage(info.Id);
                const char* at = reinterpret_cast<const char*>(&rec) + field->Offset;
                Check(std::memchr(at, 0, static_cast<std::size_t>(field->Capacity)) != nullptr);
            }
        }
    }
    return 0;
}
