#pragma once
// Answers about the environment: where the program lies, where the applications it talks
// to are installed and which version they are, how to open a document or web page, text
// between the ANSI code page and UTF-16, and dates and bytes for a person to read.
//
// Registry values come from the registry emulation (platform/Registry.h), file versions
// from its version records, the shell from platform::ShellOpen. Paths use the platform
// separator '/'. Every function writes into the caller's buffer (never more than its size,
// terminator included), keeps no state and never writes to the registry; on false the
// output is empty unless said otherwise.
#include <cstddef>

#include "platform/WinTypes.h"

// The folder of the running program, with a trailing '/'. False for a missing output or
// when the folder cannot be found or does not fit.
bool GetModuleFolder(char* out, std::size_t size);

// The version resource of a file as major, minor, build, revision. False with all four 0
// when the path is empty or no version is recorded. Null outputs are skipped.
bool GetFileVersion(const char* path, int* major, int* minor, int* build, int* revision);

// The registry values through which a Lotus Notes installation is found: the program folder
// is value LNProgramFolderValue of HKEY_LOCAL_MACHINE\SOFTWARE\Lotus\Notes; the data folder
// is value LNDataFolderValue of HKEY_CURRENT_USER\SOFTWARE\Lotus\Notes\Installer. Declared
// here, below the Lotus Notes connector, so that the environment helpers need none of its
// headers; lotus/LNProtocol.h hands them on to the connector's users.
inline constexpr char LNNotesKey[] = "SOFTWARE\\Lotus\\Notes";
inline constexpr char LNProgramFolderValue[] = "Path";
inline constexpr char LNInstallerKey[] = "SOFTWARE\\Lotus\\Notes\\Installer";
inline constexpr char LNDataFolderValue[] = "DATADIR";

// HKEY_LOCAL_MACHINE\SOFTWARE\Lotus\Notes, value "Path".
bool GetNotesPath(char* out, std::size_t size);
// HKEY_CURRENT_USER\SOFTWARE\Lotus\Notes\Installer, value "DATADIR", ending in '/'. False
// when missing or empty (or when the '/' does not fit).
bool GetNotesDataDir(char* out, std::size_t size);
// The version of Notes.exe in the Notes folder, as "%d.%d.%d.%d".
bool GetNotesVersion(char* out, std::size_t size);

// The registry values through which an ACT! installation is found: values ACTInstallPathValue
// and ACTAppNameValue of HKEY_LOCAL_MACHINE\SOFTWARE\ACT\Install.
inline constexpr char ACTInstallKey[] = "SOFTWARE\\ACT\\Install";
inline constexpr char ACTInstallPathValue[] = "InstallPath";
inline constexpr char ACTAppNameValue[] = "AppName";

// HKEY_LOCAL_MACHINE\SOFTWARE\ACT\Install, values "InstallPath" and "AppName".
bool GetACTInstallPath(char* out, std::size_t size);
bool GetACTAppName(char* out, std::size_t size);
// The install path, '/' when it does not end in one, and the application name. False when
// either value is missing or the whole does not fit.
bool GetACTProgramPath(char* out, std::size_t size);

// The "Path" value of HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App
// Paths\OUTLOOK.EXE followed directly by "OUTLOOK.EXE": its version as "%d.%d.%d.%d"...
bool GetOutlookVersion(char* out, std::size_t size);
// ...or the program path itself, cut to size - 1 characters.
bool GetOutlookProgramPath(char* out, std::size_t size);

// Hands a file, folder or web address to the desktop's "open". False, doing nothing, for a
// missing or empty target; otherwise true whatever the desktop does with it.
bool RunProgram(const char* target);

// The date as "MM/DD/YYYY" (empty outside 1931..2030), or "N/A" for dates below 0.001.
void FormatDateOrNA(double date, char* out, std::size_t size);
// The date and time as "MM/DD/YYYY HH:MM:SS", or "N/A" for dates below 0.001.
void FormatDateTimeOrNA(double date, char* out, std::size_t size);

// -1, 0 or 1 by year, month, day; the time of day is ignored. -1 when a is missing, 1 when
// only b is missing.
int CompareDates(const SYSTEMTIME* a, const SYSTEMTIME* b);
// Copies year, month, day and day of week; the time fields of to stay. False when either
// is missing.
bool CopyDate(const SYSTEMTIME* from, SYSTEMTIME* to);

// The first 1024 bytes at most, each as two lower-case hex digits, separated by one blank.
// The text lives in a buffer of the calling thread that its next call overwrites.
const char* HexDump(const void* bytes, std::size_t length);

// UTF-16 to the ANSI code page, into size bytes; the last byte is always zero. An empty
// output (and false) for a missing or empty input.
bool ToNarrow(const char16_t* text, char* out, std::size_t size);
// The ANSI code page to UTF-16, into size characters; the last character is always zero.
bool ToWide(const char* text, char16_t* out, std::size_t size);
