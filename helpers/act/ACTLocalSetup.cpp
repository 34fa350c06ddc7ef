#include "act/ACTLocalSetup.h"

#include "misc/WinUtil.h"
#include "platform/KnownFolders.h"
#include "platform/Profile.h"
#include "platform/Registry.h"

namespace {

bool IsRegistered(const char* value)
{
    char text[1024] = {};
    return platform::RegQueryString(platform::RegistryHive::LocalMachine, ACTInstallKey, value, text,
                                    sizeof text) &&
           text[0] != '\0';
}

bool Register(const char* value, const std::string& text, std::string& error)
{
    if (IsRegistered(value)) {
        return true;
    }
    const std::string file = platform::RegistryFilePath();
    const std::size_t slash = file.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        // Every missing folder of the registry file's path.
        for (std::size_t at = file.find('/', 1); at != std::string::npos && at <= slash;
             at = file.find('/', at + 1)) {
            platform::MakeFolder(file.substr(0, at));
        }
    }
    const std::string section = std::string("HKEY_LOCAL_MACHINE\\") + ACTInstallKey;
    if (!platform::WritePrivateProfileString(section.c_str(), value, text.c_str(), file.c_str())) {
        error = "Cannot register the local ACT! program in " + file + ".";
        return false;
    }
    return true;
}

} // namespace

bool EnsureLocalACT(std::string& error)
{
    // An ACT! that is registered, even in part, is left alone.
    if (IsRegistered(ACTInstallPathValue) || IsRegistered(ACTAppNameValue)) {
        return true;
    }
    std::string folder;
    if (!platform::GetProgramFolder(folder) || folder.empty()) {
        error = "Cannot register the local ACT! program: the program's folder is unknown.";
        return false;
    }
    return Register(ACTInstallPathValue, folder + '/', error) &&
           Register(ACTAppNameValue, ACTLocalProgram, error);
}
