#pragma once
// ferrywise-cli crm: the accounts of the stand-in CRM services that the salesforce, SugarCRM and
// Dynamics CRM helpers reach.
#include <istream>
#include <ostream>

#include "cli/CliArguments.h"

// add-user: the password from the first line of input, salesforce's security token from the
// second.
int RunCrmCommand(const CliArguments& args, std::istream& input, std::ostream& out, std::ostream& err);
