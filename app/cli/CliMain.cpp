#include "cli/CliMain.h"

#include <csignal>
#include <cstring>
#include <exception>
#include <iostream>
#include <unistd.h>

#include "Version.h"

#include "cli/CliActCommand.h"
#include "cli/CliArguments.h"
#include "cli/CliCrmCommand.h"
#include "cli/CliDumpCommand.h"
#include "cli/CliMigrateCommand.h"
#include "cli/CliSettingsCommand.h"
#include "cli/CliTerminalFrontEnd.h"
#include "misc/FlowCancel.h"

namespace {

const char* CommandName(CliCommand command)
{
    switch (command) {
    case CliCommand::Migrate:
        return "migrate ";
    case CliCommand::Dump:
        return "dump ";
    case CliCommand::Settings:
        return "settings ";
    case CliCommand::Act:
        return "act ";
    case CliCommand::Crm:
        return "crm ";
    case CliCommand::None:
        break;
    }
    return "";
}

int Run(const CxAppRegistry& apps, const CliArguments& args, std::ostream& out, std::ostream& err)
{
    switch (args.command) {
    case CliCommand::Migrate: {
        CliTerminalFrontEnd frontEnd;
        return RunMigrateCommand(apps, args, frontEnd, out, err);
    }
    case CliCommand::Dump: {
        CliTerminalFrontEnd frontEnd;
        return RunDumpCommand(apps, args, frontEnd, out, err);
    }
    case CliCommand::Settings:
        return RunSettingsCommand(args, out, err);
    case CliCommand::Act:
        return RunActImportCommand(args, std::cin, out, err);
    case CliCommand::Crm:
        return RunCrmCommand(args, std::cin, out, err);
    case CliCommand::None:
        break;
    }
    err << CliUsage(CliCommand::None);
    return kCliExitUsage;
}

void Say(const char* text)
{
    // Only what a signal handler may call.
    ssize_t written = write(STDERR_FILENO, text, std::strlen(text));
    (void)written;
}

extern "C" void OnInterrupt(int signalNumber)
{
    switch (FlowCancel::Request()) {
    case FlowCancel::Answer::Accepted:
        Say("\nCancelling ...\n");
        return;
    case FlowCancel::Answer::Refused:
        Say("\n");
        Say(FlowCancel::RefusedText());
        Say("\n");
        return;
    case FlowCancel::Answer::NothingRunning:
        break;
    }
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

} // namespace

void InstallCliInterruptHandler()
{
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
}

int RunCli(const CxAppRegistry& apps, const std::vector<std::string>& argv, std::ostream& out,
           std::ostream& err)
{
    CliParseResult parsed = ParseCliArguments(argv);
    if (!parsed.ok) {
        err << "ferrywise-cli: " << parsed.error << "\n"
            << "Run 'ferrywise-cli " << CommandName(parsed.args.command) << "--help' for usage.\n";
        return kCliExitUsage;
    }
    const CliArguments& args = parsed.args;
    if (args.version) {
        out << FW_PRODUCT_NAME << " " << FW_VERSION << "\n";
        return kCliExitOk;
    }
    if (args.help) {
        out << CliUsage(args.command);
        return kCliExitOk;
    }
    try {
        return Run(apps, args, out, err);
    } catch (const std::exception& e) {
        err << "Error: " << e.what() << "\n";
    } catch (...) {
        err << "Error: an unexpected error stopped the work.\n";
    }
    return kCliExitFailed;
}
