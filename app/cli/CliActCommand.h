#pragma once
// ferrywise-cli act import: the contacts of a delimited export added to an ACT! database, in
// one transaction. The database and its .pad file are made when the .pad file does not
// exist; the export is read whole before anything is made or changed.
#include <istream>
#include <ostream>

#include "cli/CliArguments.h"

// The password, when args name a user, is the first line of input. Gives the exit status.
int RunActImportCommand(const CliArguments& args, std::istream& input, std::ostream& out, std::ostream& err);
