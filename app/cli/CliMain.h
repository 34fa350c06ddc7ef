#pragma once
// The whole program behind main: parses the arguments, prints help, usage errors and the
// version, and runs the command.
#include <ostream>
#include <string>
#include <vector>

#include "misc/CxAppDescriptor.h"

// argv holds the arguments after the program name; apps are the kinds the program knows.
// Gives the exit status.
int RunCli(const CxAppRegistry& apps, const std::vector<std::string>& argv, std::ostream& out,
           std::ostream& err);

// Ctrl+C (SIGINT) asks the running load to stop, as the wizard's Cancel does; while records are
// being written it is refused with the reason on standard error; with nothing running it ends
// the program as usual.
void InstallCliInterruptHandler();
