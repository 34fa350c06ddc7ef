#pragma once
// Where a Lotus Notes installation keeps what the option pages offer by default: its
// program, ID file, address book, notebook and mail database, found through the registry
// values of LNProtocol.h and the installation's notes.ini.
#include <string>

// Default locations offered by the option pages: true with the path, or false with it empty.
// The Lotus Notes program: the registry's Notes "Path" (ending in a separator) + "Notes.exe".
bool GetDefaultNotesProgram(std::string& path);
// The Lotus Notes ID file: the same "Path" + "Data/user.id".
bool GetDefaultNotesIDFile(std::string& path);
// The Lotus Notes address book: the user's Notes data folder + "names.nsf".
bool GetDefaultNotesAddrBook(std::string& path);
// The Lotus Notes notebook: the data folder + "notebook.nsf" when that file exists; true with
// an empty path when it does not; false when there is no data folder.
bool GetDefaultNotesNotebook(std::string& path);
// The Lotus Notes mail database (calendar and tasks), as Lotus Notes itself finds it: the
// MailFile entry of section [Notes] in the notes.ini of the Notes program folder (the
// registry's "Path"), else in that of the data folder. A relative name lies in the data
// folder; with a MailServer entry the result is "server!!file". False when no notes.ini
// names a mail file.
bool GetDefaultNotesMailFile(std::string& path);
