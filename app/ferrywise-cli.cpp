// Headless front end for scripted and batch migrations.
#include <iostream>
#include <string>
#include <vector>

#include "Applications.h"
#include "cli/CliMain.h"
#include "outlook/OlDataFileApp.h"

int main(int argc, char** argv)
{
    // Outlook is the data file that the settings or --outlook-file name.
    OutlookDataFile outlook;
    CxAppRegistry apps;
    AddApplications(apps);
    outlook.AddTo(apps);
    InstallCliInterruptHandler();
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return RunCli(apps, args, std::cout, std::cerr);
}
