#pragma once
// A local Lotus Notes for a user who has none: a data folder with empty "names.nsf",
// "mail.nsf" and "notebook.nsf" databases and a "notes.ini" that names "mail.nsf" as the
// mail database (MailFile), registered in the emulated registry (DATADIR of
// HKEY_CURRENT_USER\SOFTWARE\Lotus\Notes\Installer, and the program folder as Path of
// HKEY_LOCAL_MACHINE\SOFTWARE\Lotus\Notes). The default database names then find the
// address book, the mail database and the notebook by themselves. Front ends call it before
// the session begins.
#include <string>

struct LNLocalSetupResult
{
    bool Created = false;   // a data folder was registered by this call
    std::string DataFolder; // the registered data folder, ending in '/'
};

// Does nothing when a data folder is registered already, but for giving that folder a
// notes.ini when it is this local installation's own and has none. Otherwise makes the data
// folder "~/.local/share/corvane/notes/" (from HOME alone, so that a test's temporary home is
// all it ever touches), the three databases and the notes.ini where they are missing, and
// registers the folder and the program's folder; a registry value or file that exists is
// never changed.
// False with a reason when a folder, database, notes.ini or registry entry cannot be made.
bool EnsureLocalLotusNotes(LNLocalSetupResult& result, std::string& error);
