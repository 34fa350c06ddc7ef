#include "cli/CliSession.h"

CliSession::CliSession(IFrontEnd& frontEnd)
{
    // Before BeginSession, so that whatever the session start reports reaches the user.
    SetFrontEnd(&frontEnd);
    BeginSession();
}

CliSession::~CliSession()
{
    EndSession(false);
    SetFrontEnd(nullptr);
}
