#pragma once
// The command line of ferrywise-cli, parsed by hand: the command, its options and whether the
// user asked for help. A parse either gives the arguments or one usage error text.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "misc/AppKind.h"

// Exit status of the program.
inline constexpr int kCliExitOk = 0;
inline constexpr int kCliExitFailed = 1; // a load or submit failed, an unknown key, a file not written
inline constexpr int kCliExitUsage = 2;
inline constexpr int kCliExitCancelled = 130; // the user cancelled the load (Ctrl+C), as a shell counts it

enum class CliCommand
{
    None, // no command: only --help or --version at the top
    Migrate,
    Dump,
    Settings,
    Act, // act import: contacts of a delimited export into an ACT! database
    Crm, // the accounts of the stand-in CRM services
};

enum class CliSettingsAction
{
    None,
    Get,
    Set,
    List,
};

enum class CliDumpFormat
{
    Json,
    Csv,
};

struct CliArguments
{
    CliCommand command = CliCommand::None;
    bool help = false;    // --help: show the usage of the command (or of the program)
    bool version = false; // --version at the top

    // migrate and dump
    AppKind source = kAppNone;
    // migrate: where the records go; Lotus Notes unless --target names a CRM kind
    AppKind target = kAppNotes;
    // migrate: the data types to work on; unset keeps the settings' Sync switches
    std::optional<std::vector<DataType>> types;
    // migrate: which comparison results are selected (New and Diff unless --select says)
    bool selectNew = true;
    bool selectDiff = true;
    bool selectSame = false;
    bool dryRun = false;
    // migrate and dump with Palm Desktop as source: the Palm Desktop folder and the user
    // (a user folder name) for this run; empty: as the settings and the installation say
    std::string palmFolder;
    std::string palmUser;
    // migrate and dump with Outlook as source: the Outlook data file (.pst, .ost) for this run,
    // and whether its password is to be read from standard input
    std::string outlookFile;
    bool outlookPasswordStdin = false;
    std::string googleFolder;
    // migrate and dump with ACT! as source: --act-pad and --act-user set actPad and actUser
    // for this run, and the password is read from standard input when asked
    bool actPasswordStdin = false;

    // dump
    DataType type = kDataContacts;
    CliDumpFormat format = CliDumpFormat::Json;

    // act import: the .pad file, the user (password from standard input when given) and the
    // delimited export; migrate and dump take the .pad file and the user too
    std::string actPad;
    std::optional<std::string> actUser;
    std::string importFile;
    // crm add-user (the source is the service): the user, and the server and organisation the
    // service is reached by
    std::string crmUser;
    std::string crmHost;
    std::string crmOrganisation;

    // settings
    CliSettingsAction action = CliSettingsAction::None;
    std::string key;
    std::string value;
};

struct CliParseResult
{
    bool ok = false;
    CliArguments args;
    std::string error; // when not ok: what was wrong, one line
};

// Parses the arguments after the program name.
CliParseResult ParseCliArguments(const std::vector<std::string>& argv);

// The usage text of a command (CliCommand::None: the program's).
std::string CliUsage(CliCommand command);

// Names on the command line.
std::optional<AppKind> CliParseAppKind(std::string_view name);
std::optional<DataType> CliParseDataType(std::string_view name);
const char* CliDataTypeName(DataType type);
// The name used in progress texts ("Google account", "Lotus Notes", ...).
const char* CliAppKindName(AppKind kind);
