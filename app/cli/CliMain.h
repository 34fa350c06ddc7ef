#pragma once
// The whole program behind main: parses the arguments, prints help, usage errors and the
// version, and runs the command.
#include <ostream>
#include <string>
#include <vector>

// argv holds the arguments after the program name. Gives the exit status.
int RunCli(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err);
