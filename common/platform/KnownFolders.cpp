#include "platform/KnownFolders.h"

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <pwd.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/Files.h"

namespace platform {
namespace {

// user-dirs.dirs is a few hundred bytes; anything far larger is not one.
constexpr std::size_t kMaxUserDirsBytes = 64 * 1024;

void DropTrailingSeparators(std::string& path)
{
    while (path.size() > 1 && path.back() == kPathSeparator) {
        path.pop_back();
    }
}

const char* NonEmptyEnv(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

bool GetHomeFolder(std::string& out)
{
    if (const char* home = NonEmptyEnv("HOME")) {
        out = home;
    } else {
        long hint = ::sysconf(_SC_GETPW_R_SIZE_MAX);
        std::vector<char> buffer(hint > 0 ? static_cast<std::size_t>(hint) : 16384);
        struct passwd entry
        {
        };
        struct passwd* found = nullptr;
        while (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
               buffer.size() < (1u << 20)) {
            buffer.resize(buffer.size() * 2);
        }
        if (found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] == '\0') {
            return false;
        }
        out = found->pw_dir;
    }
    DropTrailingSeparators(out);
    return true;
}

// Makes the folder and any missing parents, each with the mode.
bool MakeFolders(const std::string& path, unsigned mode)
{
    if (FolderExists(path)) {
        return true;
    }
    std::string::size_type slash = path.rfind(kPathSeparator);
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash), mode)) {
        return false;
    }
    return MakeFolder(path, mode);
}

// The XDG_DOCUMENTS_DIR line of user-dirs.dirs: XDG_DOCUMENTS_DIR="$HOME/Documents".
bool DocumentsFromUserDirs(const std::string& configFolder, const std::string& home, std::string& out)
{
    std::string text;
    if (!ReadWholeFile(configFolder + kPathSeparator + "user-dirs.dirs", text, kMaxUserDirsBytes)) {
        return false;
    }
    std::string_view rest = text;
    while (!rest.empty()) {
        std::size_t newline = rest.find('\n');
        std::string_view line = rest.substr(0, newline);
        rest.remove_prefix(newline == std::string_view::npos ? rest.size() : newline + 1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
            line.remove_prefix(1);
        }
        constexpr std::string_view kName = "XDG_DOCUMENTS_DIR=";
        if (line.substr(0, kName.size()) != kName) {
            continue;
        }
        line.remove_prefix(kName.size());
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) {
            line.remove_suffix(1);
        }
        if (line.size() < 2 || line.front() != '"' || line.back() != '"') {
            continue;
        }
        line = line.substr(1, line.size() - 2);
        std::string value;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\\' && i + 1 < line.size()) {
                ++i; // the file escapes with a backslash
            }
            value += line[i];
        }
        constexpr std::string_view kHome = "$HOME";
        if (value.compare(0, kHome.size(), kHome) == 0 &&
            (value.size() == kHome.size() || value[kHome.size()] == kPathSeparator)) {
            value = home + value.substr(kHome.size());
        } else if (value.empty() || value.front() != kPathSeparator) {
            continue; // only $HOME-relative and absolute paths are valid there
        }
        DropTrailingSeparators(value);
        out = value;
        return true;
    }
    return false;
}

} // namespace

bool GetRoamingAppDataFolder(std::string& out, bool create)
{
    std::string folder;
    // A relative XDG_CONFIG_HOME is invalid by the XDG rules and ignored.
    if (const char* config = NonEmptyEnv("XDG_CONFIG_HOME");
        config != nullptr && config[0] == kPathSeparator) {
        folder = config;
        DropTrailingSeparators(folder);
    } else {
        std::string home;
        if (!GetHomeFolder(home)) {
            return false;
        }
        folder = home + kPathSeparator + ".config";
    }
    if (create && !MakeFolders(folder, 0700)) {
        return false;
    }
    out = folder;
    return true;
}

bool GetDocumentsFolder(std::string& out)
{
    if (const char* documents = NonEmptyEnv("XDG_DOCUMENTS_DIR")) {
        out = documents;
        DropTrailingSeparators(out);
        return true;
    }
    std::string home;
    if (!GetHomeFolder(home)) {
        return false;
    }
    std::string config;
    if (GetRoamingAppDataFolder(config, false) && DocumentsFromUserDirs(config, home, out)) {
        return true;
    }
    out = home + kPathSeparator + "Documents";
    return true;
}

namespace {
std::mutex g_programFolderLock;
std::string g_programFolderOverride;
} // namespace

void SetProgramFolderOverride(const std::string& folder)
{
    std::lock_guard<std::mutex> guard(g_programFolderLock);
    g_programFolderOverride = folder;
    DropTrailingSeparators(g_programFolderOverride);
}

bool GetProgramFolder(std::string& out)
{
    {
        std::lock_guard<std::mutex> guard(g_programFolderLock);
        if (!g_programFolderOverride.empty()) {
            out = g_programFolderOverride;
            return true;
        }
    }
    std::vector<char> buffer(256);
    for (;;) {
        ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) {
            return false;
        }
        if (static_cast<std::size_t>(n) < buffer.size()) {
            std::string exe(buffer.data(), static_cast<std::size_t>(n));
            std::string::size_type slash = exe.rfind(kPathSeparator);
            if (slash == std::string::npos) {
                return false;
            }
            out = slash == 0 ? std::string(1, kPathSeparator) : exe.substr(0, slash);
            return true;
        }
        if (buffer.size() >= (1u << 16)) {
            return false;
        }
        buffer.resize(buffer.size() * 2); // cut: try again with more room
    }
}

bool MakeFolder(const std::string& path, unsigned mode)
{
    if (path.empty()) {
        return false;
    }
    if (::mkdir(path.c_str(), static_cast<mode_t>(mode & 07777)) == 0) {
        // The umask may have narrowed the mode; the caller asked for exactly this one.
        ::chmod(path.c_str(), static_cast<mode_t>(mode & 07777));
        return true;
    }
    return errno == EEXIST && FolderExists(path);
}

bool FolderExists(const std::string& path)
{
    struct stat st = {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileExists(const std::string& path)
{
    struct stat st = {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace platform
