// Headless front end for scripted and batch migrations.
#include <iostream>
#include <string>
#include <vector>

#include "Applications.h"
#include "cli/CliMain.h"

int main(int argc, char** argv)
{
    CxAppRegistry apps;
    AddApplications(apps);
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return RunCli(apps, args, std::cout, std::cerr);
}
