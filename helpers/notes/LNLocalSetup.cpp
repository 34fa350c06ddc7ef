#include "notes/LNLocalSetup.h"

#include <cstdlib>

#include "lotus/LNProtocol.h"
#include "notes/NotesStore.h"
#include "platform/KnownFolders.h"
#include "platform/Profile.h"
#include "platform/Registry.h"

namespace {

constexpr const char* kDatabases[] = {"names.nsf", "mail.nsf", "notebook.nsf"};
// The local installation's notes.ini and the mail database it names, relative to the data
// folder as Lotus Notes writes it.
constexpr const char* kNotesIni = "notes.ini";
constexpr const char* kMailFile = "mail.nsf";

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

// The XDG data home: $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
bool DataHome(std::string& out)
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/') {
        out = data;
        return true;
    }
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

// Our own data folder, "~/.local/share/corvane/notes/".
bool LocalDataFolder(std::string& folder)
{
    if (!DataHome(folder)) {
        return false;
    }
    folder += "/corvane/notes/";
    return true;
}

// The notes.ini of the data folder, as Lotus Notes keeps it: section [Notes] with the data
// folder and the mail database. One that exists is left as it is.
bool WriteNotesIni(const std::string& folder, std::string& error)
{
    const std::string path = folder + kNotesIni;
    if (platform::FileExists(path)) {
        return true;
    }
    const std::string directory = folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder;
    platform::ProfileEditor editor(path.c_str());
    if (!editor.WriteString("Notes", "Directory", directory.c_str()) ||
        !editor.WriteString("Notes", "MailFile", kMailFile) || !editor.Commit()) {
        error = "Cannot write the local Lotus Notes settings file " + path + ".";
        return false;
    }
    return true;
}

} // namespace

bool EnsureLocalLotusNotes(LNLocalSetupResult& result, std::string& error)
{
    result = LNLocalSetupResult();
    std::string folder;
    const bool haveLocal = LocalDataFolder(folder);
    if (IsRegistered(platform::RegistryHive::CurrentUser, LNInstallerKey, LNDataFolderValue,
                     result.DataFolder)) {
        // Our own installation, made before it had a notes.ini, gets one now; any other
        // Lotus Notes is left alone.
        if (haveLocal && result.DataFolder == folder && platform::FileExists(folder + kMailFile)) {
            return WriteNotesIni(folder, error);
        }
        return true;
    }
    if (!haveLocal) {
        error = "Cannot find a folder for the local Lotus Notes data: HOME is not set.";
        return false;
    }
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
    if (!WriteNotesIni(folder, error)) {
        return false;
    }
    std::string program;
    if (!platform::GetProgramFolder(program)) {
        program.clear();
    } else {
        program += '/';
    }
    if (!program.empty() &&
        !Register(platform::RegistryHive::LocalMachine, LNNotesKey, LNProgramFolderValue, program, error)) {
        return false;
    }
    if (!Register(platform::RegistryHive::CurrentUser, LNInstallerKey, LNDataFolderValue, folder, error)) {
        return false;
    }
    result.Created = true;
    result.DataFolder = folder;
    return true;
}
