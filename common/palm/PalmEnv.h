#pragma once
// The Palm Desktop installation: its folder, its release and its users.
//
// The folder is the "PDPath" override of "corvane.ini" beside the program, else the Palm
// Desktop registry keys. The users are the sub-folders of that folder that hold Palm data
// (address, datebook, memopad or todo, in any letter case); a user's ID is stable across runs
// and derived from the folder name, which is also the user's name: the 32-bit FNV-1a hash of
// the name's bytes with the top bit cleared, 0 taken as 1; should two folders meet on one ID,
// the later one in name order takes the next free ID.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A folder that wins over "corvane.ini" and the registry for the rest of the run (empty: none).
// Setting it forgets the user list.
void PmSetDesktopFolderOverride(const std::string& folder);

// 0; -100 for a missing buffer or a zero size; -101 when there is no folder; -102 when the
// buffer is too small.
int PmGetDesktopFolder(char* buffer, std::size_t size);
// The folder as a string, empty when there is none.
std::string PmGetDesktopFolder();

// The four parts of the version of "palm.exe" in the folder; the version number
// major * 10000 + minor * 100 + third, or -1 (parts untouched) when there is none.
int PmGetDesktopVersion(int parts[4]);
int PmGetDesktopVersion();

struct PmUser
{
    std::int32_t userId = 0;
    std::string name;       // the folder name in the ANSI code page, at most 63 characters
    std::string folderName; // as on disk
};

// Builds the user list once per run: the number of users, or -1 when there are none to be
// found (the caller shows the error). Later calls answer from the list built.
int PmBuildUserList();
const std::vector<PmUser>& PmGetUsers();
// Forgets the list, so that the next build looks again (tests, and a changed folder).
void PmResetUserList();

// The user whose data is loaded: the configured one when the Palm Desktop folder has it,
// otherwise the first user there, as the option page selects; the configured one when there
// are no users. Builds the user list when it has not been built.
std::int32_t PmResolveUser(std::int32_t wanted);

// The user's data folder, ending with a separator; false when there is none. Builds the user
// list when it has not been built.
bool PmGetUserDataPath(std::int32_t userId, std::string& path);

// folder + subFolder + '/' + fileName, with the sub-folder and file names matched without
// regard to case against what is on disk; the names as given where nothing matches.
std::string PmDataFilePath(const std::string& folder, const char* subFolder, const char* fileName);
