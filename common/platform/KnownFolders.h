#pragma once
// Where the per-user folders and the program itself lie. Results are file-system paths
// (bytes in the file-system encoding) without a trailing separator.
#include <string>

namespace platform {

constexpr char kPathSeparator = '/';

// Roaming application data: $XDG_CONFIG_HOME, or ~/.config. With create, the folder is
// made (mode 0700) when missing; false when it cannot be determined or made.
bool GetRoamingAppDataFolder(std::string& out, bool create);

// Documents: XDG_DOCUMENTS_DIR from the environment or from user-dirs.dirs in the config
// folder, or else ~/Documents. Not created.
bool GetDocumentsFolder(std::string& out);

// The folder that holds the running program (from /proc/self/exe).
bool GetProgramFolder(std::string& out);
// Makes GetProgramFolder answer this folder instead (empty: the real one again), so that tests
// can place files "beside the program" without touching the build's own folders.
void SetProgramFolderOverride(const std::string& folder);

// Makes one folder with the given mode; true when it exists afterwards (made or already there).
bool MakeFolder(const std::string& path, unsigned mode = 0700);
bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);

} // namespace platform
