#pragma once
// Palm Desktop user folders and texts that the end-to-end tests of the command line and the
// wizard both migrate.
#include <filesystem>
#include <string>
#include <vector>

#include "palm/PalmAddrEx.h"

namespace fwtest {

// A memo longer than Lotus Notes keeps, which it cuts.
inline std::string LongMemo()
{
    std::string text = "Long memo\r\n";
    for (int line = 1; text.size() < 12000; ++line) {
        text += "Line " + std::to_string(line) + " of a memo longer than Lotus Notes keeps\r\n";
    }
    return text;
}

// Two 4.1.x contacts, one with a name in Windows-1252 and one with only an e-mail address.
inline std::vector<PmAddrExRec> ExContacts()
{
    std::vector<PmAddrExRec> contacts(2);
    contacts[0].recordId = 1;
    contacts[0].firstName = "J\xF6rg";
    contacts[0].lastName = "M\xFCller";
    contacts[0].phones = {"+49 89 1", "", "", "", "", "", ""};
    contacts[1].recordId = 2;
    contacts[1].firstName = "Ana";
    contacts[1].lastName = "Pe\xF1"
                           "a";
    contacts[1].phoneLabels = {4, 0, 0, 0, 0, 0, 0};
    contacts[1].phones = {"ana@example.com", "", "", "", "", "", ""};
    return contacts;
}

// A 6.x user folder: the shared sample databases, copied; false when they are not there.
inline bool CopySamplePalmUser(const std::string& folder)
{
    const std::string samples = std::string(FW_SHARED_DIR) + "/samples/palm6";
    std::error_code failed;
    if (!std::filesystem::exists(samples + "/address/Address.mdb", failed)) {
        return false;
    }
    std::filesystem::create_directories(folder, failed);
    std::filesystem::copy(samples, folder, std::filesystem::copy_options::recursive, failed);
    return !failed;
}

} // namespace fwtest
