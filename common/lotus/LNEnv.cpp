#include "lotus/LNEnv.h"

#include "lotus/LNProtocol.h"
#include "misc/Settings.h"
#include "platform/KnownFolders.h"
#include "platform/Profile.h"
#include "platform/Registry.h"

#include <algorithm>
#include <vector>

namespace {

// A registry text value of the Lotus Notes keys; false for a missing or empty value, which
// would otherwise turn into a path relative to the current folder (or the root).
bool QueryNotesValue(platform::RegistryHive hive, const char* key, const char* name, std::string& value)
{
    char buffer[MAX_PATH];
    if (!platform::RegQueryString(hive, key, name, buffer, sizeof buffer) || buffer[0] == '\0') {
        return false;
    }
    value = buffer;
    return true;
}

bool GetNotesDataFolder(std::string& folder)
{
    if (!QueryNotesValue(platform::RegistryHive::CurrentUser, LNInstallerKey, LNDataFolderValue, folder)) {
        return false;
    }
    if (folder.back() != platform::kPathSeparator) {
        folder += platform::kPathSeparator;
    }
    return true;
}

} // namespace

bool GetDefaultNotesProgram(std::string& path)
{
    path.clear();
    std::string folder;
    if (!QueryNotesValue(platform::RegistryHive::LocalMachine, LNNotesKey, LNProgramFolderValue, folder)) {
        return false;
    }
    path = folder + "Notes.exe";
    return true;
}

bool GetDefaultNotesIDFile(std::string& path)
{
    path.clear();
    std::string folder;
    if (!QueryNotesValue(platform::RegistryHive::LocalMachine, LNNotesKey, LNProgramFolderValue, folder)) {
        return false;
    }
    path = folder + "Data/user.id";
    return true;
}

bool GetDefaultNotesAddrBook(std::string& path)
{
    path.clear();
    std::string folder;
    if (!GetNotesDataFolder(folder)) {
        return false;
    }
    path = folder + "names.nsf";
    return true;
}

bool GetDefaultNotesNotebook(std::string& path)
{
    path.clear();
    std::string folder;
    if (!GetNotesDataFolder(folder)) {
        return false;
    }
    if (platform::FileExists(folder + "notebook.nsf")) {
        path = folder + "notebook.nsf";
    }
    return true;
}

bool GetDefaultNotesMailFile(std::string& path)
{
    path.clear();
    std::string dataFolder;
    const bool haveDataFolder = GetNotesDataFolder(dataFolder);
    std::vector<std::string> folders;
    std::string program;
    if (QueryNotesValue(platform::RegistryHive::LocalMachine, LNNotesKey, LNProgramFolderValue, program)) {
        if (program.back() != platform::kPathSeparator) {
            program += platform::kPathSeparator;
        }
        folders.push_back(program);
    }
    if (haveDataFolder) {
        folders.push_back(dataFolder);
    }
    for (const std::string& folder : folders) {
        // A notes.ini copied from Windows may carry any case.
        for (const char* name : {"notes.ini", "NOTES.INI", "Notes.ini"}) {
            const std::string ini = folder + name;
            std::string mailFile;
            if (!platform::FileExists(ini) ||
                !platform::FindPrivateProfileValue("Notes", "MailFile", ini.c_str(), mailFile) ||
                mailFile.empty()) {
                continue;
            }
            std::string server;
            if (platform::FindPrivateProfileValue("Notes", "MailServer", ini.c_str(), server) &&
                !server.empty()) {
                // Mail on a server: named as Lotus Notes names it there.
                path = server + "!!" + mailFile;
            } else {
                std::replace(mailFile.begin(), mailFile.end(), '\\', platform::kPathSeparator);
                // Relative to the data folder; the helpers look a bare name up there too.
                path = mailFile.front() == platform::kPathSeparator || !haveDataFolder
                           ? mailFile
                           : dataFolder + mailFile;
            }
            if (path.size() > kSettingsTextSize - 1) {
                path.clear();
                return false;
            }
            return true;
        }
    }
    return false;
}
