#include "cli/CliSession.h"

#include <string>

#include "notes/LNLocalSetup.h"

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
}

CliSession::~CliSession()
{
    EndSession(false);
    SetFrontEnd(nullptr);
}
