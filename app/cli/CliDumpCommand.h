#pragma once
// "dump": loads one data type of one application as its load flow would and prints every
// record with all its fields.
#include <ostream>

#include "cli/CliArguments.h"
#include "engine/FrontEnd.h"
#include "misc/CxAppDescriptor.h"

// Runs the command; the records go to out, problems to err. Gives the exit status.
int RunDumpCommand(const CxAppRegistry& apps, const CliArguments& args, IFrontEnd& frontEnd,
                   std::ostream& out, std::ostream& err);
