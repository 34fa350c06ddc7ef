#pragma once
// "migrate": loads Lotus Notes and the source, compares them, selects records as the
// comparison page would and submits them to Lotus Notes, then tells what it did.
#include <ostream>

#include "cli/CliArguments.h"
#include "engine/FrontEnd.h"
#include "misc/CxAppDescriptor.h"

// The migration log's file name, in the working folder.
inline constexpr char kMigrationLogName[] = "MILog.txt";

// Runs the command with a front end for the flows' messages and wait views; gives the exit
// status. The report goes to out, problems to err.
int RunMigrateCommand(const CxAppRegistry& apps, const CliArguments& args, IFrontEnd& frontEnd,
                      std::ostream& out, std::ostream& err);
