#include "palm/PalmEnv.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <mutex>
#include <sys/stat.h>

#include "misc/Settings.h"
#include "misc/WinUtil.h"
#include "platform/CodePage.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/WinTypes.h"

namespace {

constexpr const char* kUserKey = "Software\\U.S. Robotics\\Pilot Desktop\\Core";
constexpr const char* kMachineKey = "Software\\PalmSource\\Desktop\\Core";
constexpr const char* kDataFolders[] = {"address", "datebook", "memopad", "todo"};
constexpr std::size_t kMaxUserName = 63;

std::mutex g_lock;
std::string g_override;
bool g_built = false;
std::vector<PmUser> g_users;

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty() || IsSeparator(folder.back())) {
        return folder + name;
    }
    return folder + '/' + name;
}

bool SameNoCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return platform::AnsiToLower(static_cast<unsigned char>(x)) ==
                      platform::AnsiToLower(static_cast<unsigned char>(y));
           });
}

bool IsFolder(const std::string& path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Names in a folder, "." and ".." left out; empty when it cannot be read.
std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            names.emplace_back(entry->d_name);
        }
    }
    ::closedir(dir);
    return names;
}

// The entry of a folder named like name without regard to case; the exact name wins.
std::string MatchEntry(const std::vector<std::string>& entries, const std::string& name)
{
    if (std::find(entries.begin(), entries.end(), name) != entries.end()) {
        return name;
    }
    for (const auto& entry : entries) {
        if (SameNoCase(entry, name)) {
            return entry;
        }
    }
    return name;
}

bool HoldsPalmData(const std::string& folder)
{
    for (const auto& entry : FolderEntries(folder)) {
        for (const char* data : kDataFolders) {
            if (SameNoCase(entry, data) && IsFolder(JoinPath(folder, entry))) {
                return true;
            }
        }
    }
    return false;
}

std::int32_t UserIdOf(const std::string& folderName)
{
    std::uint32_t hash = 2166136261u; // 32-bit FNV-1a
    for (const char c : folderName) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    const auto id = static_cast<std::int32_t>(hash & 0x7FFFFFFFu);
    return id != 0 ? id : 1;
}

bool ReadRegistryFolder(platform::RegistryHive hive, const char* key, std::string& folder)
{
    char value[MAX_PATH] = {};
    if (platform::RegQueryString(hive, key, "DesktopPath", value, sizeof value) && value[0] != '\0') {
        folder = value;
        return true;
    }
    if (!platform::RegQueryString(hive, key, "HotSyncPath", value, sizeof value)) {
        return false;
    }
    // The HotSync program's drive and folder, with the trailing separator.
    const std::string path = value;
    const auto slash = path.find_last_of("/\\");
    if (slash == std::string::npos) {
        return false;
    }
    folder = path.substr(0, slash + 1);
    return true;
}

std::string FindDesktopFolder()
{
    {
        std::lock_guard<std::mutex> guard(g_lock);
        if (!g_override.empty()) {
            return g_override;
        }
    }
    // The folder chosen on the Palm Desktop page (or with --palm-folder) comes first.
    if (g_Settings().PDFolder[0] != '\0') {
        return g_Settings().PDFolder;
    }
    char module[MAX_PATH * 4] = {};
    if (GetModuleFolder(module, sizeof module)) {
        const std::string ini = JoinPath(module, "corvane.ini");
        char value[MAX_PATH] = {};
        platform::GetPrivateProfileString("Path", "PDPath", "", value, sizeof value, ini.c_str());
        if (value[0] != '\0') {
            return value;
        }
    }
    std::string folder;
    if (ReadRegistryFolder(platform::RegistryHive::CurrentUser, kUserKey, folder) ||
        ReadRegistryFolder(platform::RegistryHive::LocalMachine, kMachineKey, folder)) {
        return folder;
    }
    return {};
}

// Scans the folder for users; the caller holds the lock.
void BuildUsersLocked(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : FolderEntries(folder)) {
        const std::string path = JoinPath(folder, entry);
        if (IsFolder(path) && HoldsPalmData(path)) {
            names.push_back(entry);
        }
    }
    std::sort(names.begin(), names.end());
    g_users.clear();
    for (const auto& name : names) {
        std::int32_t id = UserIdOf(name);
        const auto taken = [&](std::int32_t candidate) {
            return std::any_of(g_users.begin(), g_users.end(),
                               [&](const PmUser& user) { return user.userId == candidate; });
        };
        while (taken(id)) {
            id = id == INT32_MAX ? 1 : id + 1;
        }
        PmUser user;
        user.userId = id;
        user.name = platform::Utf8ToAnsi(name).substr(0, kMaxUserName);
        user.folderName = name;
        g_users.push_back(std::move(user));
    }
    g_built = true;
}

} // namespace

void PmSetDesktopFolderOverride(const std::string& folder)
{
    std::lock_guard<std::mutex> guard(g_lock);
    g_override = folder;
    g_built = false;
    g_users.clear();
}

int PmGetDesktopFolder(char* buffer, std::size_t size)
{
    if (buffer == nullptr || size == 0) {
        return -100;
    }
    buffer[0] = '\0';
    const std::string folder = FindDesktopFolder();
    if (folder.empty()) {
        return -101;
    }
    if (folder.size() + 1 > size) {
        return -102;
    }
    std::memcpy(buffer, folder.c_str(), folder.size() + 1);
    return 0;
}

std::string PmGetDesktopFolder()
{
    return FindDesktopFolder();
}

int PmGetDesktopVersion(int parts[4])
{
    const std::string folder = FindDesktopFolder();
    if (folder.empty()) {
        return -1;
    }
    const std::string program = JoinPath(folder, "palm.exe");
    int found[4] = {};
    if (!GetFileVersion(program.c_str(), &found[0], &found[1], &found[2], &found[3])) {
        return -1;
    }
    if (parts != nullptr) {
        std::copy(found, found + 4, parts);
    }
    return found[0] * 10000 + found[1] * 100 + found[2];
}

int PmGetDesktopVersion()
{
    return PmGetDesktopVersion(nullptr);
}

int PmBuildUserList()
{
    const std::string folder = FindDesktopFolder();
    std::lock_guard<std::mutex> guard(g_lock);
    if (!g_built) {
        if (folder.empty()) {
            return -1; // nothing to build from; a later call looks again
        }
        BuildUsersLocked(folder);
    }
    return g_users.empty() ? -1 : static_cast<int>(g_users.size());
}

const std::vector<PmUser>& PmGetUsers()
{
    return g_users;
}

void PmResetUserList()
{
    std::lock_guard<std::mutex> guard(g_lock);
    g_built = false;
    g_users.clear();
}

std::int32_t PmResolveUser(std::int32_t wanted)
{
    PmBuildUserList();
    const std::vector<PmUser>& users = PmGetUsers();
    for (const PmUser& user : users) {
        if (user.userId == wanted) {
            return wanted;
        }
    }
    return users.empty() ? wanted : users.front().userId;
}

bool PmGetUserDataPath(std::int32_t userId, std::string& path)
{
    const std::string folder = FindDesktopFolder();
    if (folder.empty()) {
        return false;
    }
    std::lock_guard<std::mutex> guard(g_lock);
    if (!g_built) {
        BuildUsersLocked(folder);
    }
    for (const auto& user : g_users) {
        if (user.userId == userId) {
            path = JoinPath(folder, user.folderName) + '/';
            return true;
        }
    }
    return false;
}

std::string PmDataFilePath(const std::string& folder, const char* subFolder, const char* fileName)
{
    const std::string sub = MatchEntry(FolderEntries(folder), subFolder != nullptr ? subFolder : "");
    const std::string subPath = JoinPath(folder, sub);
    const std::string file = MatchEntry(FolderEntries(subPath), fileName != nullptr ? fileName : "");
    return JoinPath(subPath, file);
}
