// Headless front end for scripted and batch migrations.
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliMain.h"
#include "lotus/LNRegistration.h"

int main(int argc, char** argv)
{
    RegisterLotusConnectors();
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return RunCli(args, std::cout, std::cerr);
}
