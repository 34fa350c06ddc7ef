// Headless front end for scripted and batch migrations.
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliMain.h"
#include "lotus/LNRegistration.h"
#include "palm/PalmRegistration.h"

int main(int argc, char** argv)
{
    RegisterLotusConnectors();
    RegisterPalmConnectors();
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return RunCli(args, std::cout, std::cerr);
}
