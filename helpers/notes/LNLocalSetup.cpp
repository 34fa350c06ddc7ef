#include "notes/LNLocalSetup.h"

#include <cstdlib>

#include "notes/NotesStore.h"
#include "platform/KnownFolders.h"
#include "platform/Profile.h"
#include "platform/Registry.h"

namespace {

constexpr const char* kInstallerKey = "SOFTWARE\\Lotus\\Notes\\Installer";
constexpr const char* kNotesKey = "SOFTWARE\\Lotus\\Notes";
constexpr const char* kDatabases[] = {"names.nsf", "mail.nsf", "notebook.nsf"};

bool IsRegistered(platform::RegistryHive hive, const char* key, const char* value, std::string& out)
{
    char text[1024] = {};
    if (platform::RegQueryString(hive, key, value, text, sizeof text) && text[0] != '\0') {
        out = text;
        return true;
    }
    return false;
}

// Makes every missing folder of path (which ends in '/').
bool MakeFolders(const std::string& path)
{
    for (std::size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1)) {
        if (!platform::MakeFolder(path.substr(0, at))) {
            return false;
        }
    }
    return true;
}

bool DataHome(std::string& out)
{
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        return false;
    }
    out = std::string(home) + "/.local/share";
    return true;
}

bool Register(platform::RegistryHive hive, const char* key, const char* value, const std::string& text,
              std::string& error)
{
    std::string existing;
    if (IsRegistered(hive, key, value, existing)) {
        return true;
    }
    std::string file = platform::RegistryFilePath();
    std::size_t slash = file.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        MakeFolders(file.substr(0, slash + 1));
    }
    std::string section =
        hive == platform::RegistryHive::LocalMachine ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\";
    section += key;
    if (!platform::WritePrivateProfileString(section.c_str(), value, text.c_str(), file.c_str())) {
        error = "Cannot register the local Lotus Notes in " + file + ".";
        return false;
    }
    return true;
}

} // namespace

bool EnsureLocalLotusNotes(LNLocalSetupResult& result, std::string& error)
{
    result = LNLocalSetupResult();
    if (IsRegistered(platform::RegistryHive::CurrentUser, kInstallerKey, "DATADIR", result.DataFolder)) {
        return true;
    }
    std::string folder;
    if (!DataHome(folder)) {
        error = "Cannot find a folder for the local Lotus Notes data: HOME is not set.";
        return false;
    }
    folder += "/corvane/notes/";
    if (!MakeFolders(folder)) {
        error = "Cannot make the local Lotus Notes data folder " + folder + ".";
        return false;
    }
    for (const char* name : kDatabases) {
        std::string path = folder + name;
        if (!platform::FileExists(path) && !NotesStore::Create(path, error)) {
            return false;
        }
    }
    std::string program;
    if (!platform::GetProgramFolder(program)) {
        program.clear();
    } else {
        program += '/';
    }
    if (!program.empty() &&
        !Register(platform::RegistryHive::LocalMachine, kNotesKey, "Path", program, error)) {
        return false;
    }
    if (!Register(platform::RegistryHive::CurrentUser, kInstallerKey, "DATADIR", folder, error)) {
        return false;
    }
    result.Created = true;
    result.DataFolder = folder;
    return true;
}
