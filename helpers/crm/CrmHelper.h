#pragma once
// The body of the twelve stand-in CRM helpers: one run with the parameter file named on the
// command line, against the service's database (crm/CrmStore.h). The user named by the
// parameters must be one of the service's users, with the right password (and, for salesforce,
// security token); anyone else is refused with a message in the error file. Command "1" writes
// every item of the kind into the record file; command "2" applies the record file's records
// with change mark 2 (action 1 new, action 2 changed) in one transaction, or nothing.
#include "crm/CrmService.h"

namespace crm {

// argv[1] is the parameter file. Exit status 0 when no error was reported, 1 when the error
// file holds one, 2 when there was no usable parameter file.
int RunHelper(Family family, Kind kind, int argc, char** argv);

} // namespace crm
