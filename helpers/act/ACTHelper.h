#pragma once
// The body of the four ACT! stand-in helpers: one run with the parameter file named on the
// command line. The database is found through the .pad file the parameters name and opened
// with the user name and password they carry. Command "1" writes every item into the record
// file; command "2" applies the record file's submitted records in one transaction, or
// nothing.
#include "act/ACTStore.h"

// argv[1] is the parameter file. Exit status 0 when no error was reported, 1 when the error
// file holds one, 2 when there was no usable parameter file.
int RunACTHelper(ACTItemKind kind, int argc, char** argv);
