// A secret as the stand-in CRM services store it ("<iterations>$<salt>$<hash>"), parsed: a text
// that parses gives back its parts, and writing them again gives the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "crm/CrmCredentials.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string stored(reinterpret_cast<const char*>(data), size);
    std::uint32_t iterations = 0;
    std::string salt;
    std::string hash;
    if (!crm::ParseStoredSecret(stored, &iterations, &salt, &hash)) {
        return 0;
    }
    const std::string again = std::to_string(iterations) + "$" +
                              crm::ToHex(reinterpret_cast<const std::uint8_t*>(salt.data()), salt.size()) +
                              "$" +
                              crm::ToHex(reinterpret_cast<const std::uint8_t*>(hash.data()), hash.size());
    // Leading zeros of the count are the one spelling that may differ.
    if (stored.front() != '0' && again != stored) {
        std::abort();
    }
    return 0;
}
