// A scriptable stand-in for a helper utility, for the exchange tests. It reads its parameter
// file like a real helper, then does what "FakeScript.ini" in the working folder asks:
//
//   [Script]
//   LoadFrom=<file>    command 1: copied to the record file
//   ErrorFrom=<file>   copied to the error file
//   Running=1          writes [Status] Running=1 to ControlFile while it runs
//   ControlFile=<name> the control file's name in the working folder
//   SleepMs=<n>        sleeps before ending
//   Forever=1          runs until the control file says Stop=1
//   KillSelf=1         ends by SIGKILL, as a helper that crashed or was killed
//
// Every run appends its command to "FakeRuns.txt", writes its current directory to
// "FakeCwd.txt", copies its parameter file to "FakeParams.dat" and, for command 2, the
// record file to "FakeSubmitted.dat".
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>

#include "exchange/CxParamParser.h"
#include "misc/CxIniUtil.h"

namespace {

void Copy(const std::string& from, const std::string& to)
{
    std::error_code ignored;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ignored);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        return 2;
    }
    CxParamParser params;
    if (!params.ReadParamFile(argv[1])) {
        return 3;
    }
    const std::string folder = params.GetText(1004);
    const std::string dataFile = folder + params.GetText(1003);
    const std::string command = params.GetText(1005);
    const std::string errorFile = folder + params.GetText(1006);

    std::ofstream(folder + "FakeRuns.txt", std::ios::app) << command << "\n";
    char cwd[4096] = {};
    if (getcwd(cwd, sizeof(cwd)) != nullptr) {
        std::ofstream(folder + "FakeCwd.txt", std::ios::trunc) << cwd;
    }
    Copy(argv[1], folder + "FakeParams.dat");

    CxIniUtil script(folder.c_str(), "FakeScript.ini");
    char value[1024] = {};
    char controlName[256] = {};
    script.ReadString("Script", "ControlFile", controlName, sizeof(controlName), "");
    CxIniUtil control(folder.c_str(), controlName[0] != '\0' ? controlName : "FakeControl.ini");
    if (script.ReadFlag("Script", "Running", false)) {
        control.WriteString("Status", "Running", "1");
    }

    if (command == "1" && script.ReadString("Script", "LoadFrom", value, sizeof(value), "") > 0) {
        Copy(value, dataFile);
    }
    if (command == "2") {
        Copy(dataFile, folder + "FakeSubmitted.dat");
    }
    if (script.ReadString("Script", "ErrorFrom", value, sizeof(value), "") > 0) {
        Copy(value, errorFile);
    }

    if (script.ReadFlag("Script", "KillSelf", false)) {
        std::raise(SIGKILL);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(script.ReadInt("Script", "SleepMs", 0)));
    if (script.ReadFlag("Script", "Forever", false)) {
        while (!control.ReadFlag("Status", "Stop", false)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    control.WriteString("Status", "Running", "0");
    return 0;
}
