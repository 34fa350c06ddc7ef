#include "cli/CliSession.h"

#include <cstdio>
#include <string>

#include "misc/Settings.h"
#include "notes/LNLocalSetup.h"

namespace {

// As the wizard's Lotus Notes page does when it is entered: an empty address book or notebook
// name takes the default location, so that a new user's local databases are found.
void DefaultNotesDatabases(FWSettings& settings)
{
    std::string path;
    if (settings.LNAddrName[0] == '\0' && GetDefaultNotesAddrBook(path)) {
        std::snprintf(settings.LNAddrName, sizeof settings.LNAddrName, "%s", path.c_str());
    }
    if (settings.LNNoteName[0] == '\0' && GetDefaultNotesNotebook(path)) {
        std::snprintf(settings.LNNoteName, sizeof settings.LNNoteName, "%s", path.c_str());
    }
}

} // namespace

CliSession::CliSession(IFrontEnd& frontEnd)
{
    // Before BeginSession, so that whatever the session start reports reaches the user.
    SetFrontEnd(&frontEnd);
    // A user without Lotus Notes gets a local one before the session reads any setting, so
    // that the default database names find the address book and the notebook.
    LNLocalSetupResult local;
    std::string error;
    if (!EnsureLocalLotusNotes(local, error)) {
        frontEnd.MessageBox(nullptr, error, "Error", MessageIcon::Error);
    }
    BeginSession();
    DefaultNotesDatabases(g_Settings());
}

CliSession::~CliSession()
{
    EndSession(false);
    SetFrontEnd(nullptr);
}
