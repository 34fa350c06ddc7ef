#include "cli/CliArguments.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <utility>

namespace {

struct KindName
{
    const char* name;
    AppKind kind;
    const char* display;
};

constexpr KindName kKindNames[] = {
    {"act", kAppACT, "ACT!"},
    {"google", kAppGoogle, "Google account"},
    {"outlook", kAppOutlook, "Outlook"},
    {"notes", kAppNotes, "Lotus Notes"},
    {"palm", kAppPalm, "Palm Desktop"},
    {"dynamics", kAppDynamics, "Dynamics CRM"},
    {"salesforce", kAppSalesForce, "salesforce"},
    {"sugarcrm", kAppSugarCRM, "SugarCRM"},
};

constexpr const char* kTypeNames[kDataTypeCount] = {"contacts", "calendar", "tasks", "notes"};

// The wizard offers these as sources; Lotus Notes is always its target.
constexpr AppKind kMigrateSources[] = {kAppPalm, kAppOutlook, kAppGoogle, kAppACT};
// The driver submits to the CRM kinds as well; migrating into one, Lotus Notes may be the source.
constexpr AppKind kCrmKinds[] = {kAppDynamics, kAppSalesForce, kAppSugarCRM};

bool IsCrmKind(AppKind kind)
{
    return std::find(std::begin(kCrmKinds), std::end(kCrmKinds), kind) != std::end(kCrmKinds);
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::vector<std::string_view> SplitList(std::string_view text)
{
    std::vector<std::string_view> items;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = text.find(',', start);
        items.push_back(
            text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) {
            return items;
        }
        start = comma + 1;
    }
}

bool IsHelp(const std::string& arg)
{
    return arg == "--help" || arg == "-h";
}

// Options of one command: "--name value" or "--name=value", each at most once. Flags take no
// value. Anything else is refused.
class OptionReader
{
public:
    OptionReader(std::vector<std::string> valued, std::vector<std::string> flags)
        : m_valued(std::move(valued)), m_flags(std::move(flags))
    {
    }

    bool Read(const std::vector<std::string>& args, std::size_t from, std::string& error)
    {
        for (std::size_t i = from; i < args.size(); ++i) {
            const std::string& arg = args[i];
            if (arg.rfind("--", 0) != 0 || arg.size() == 2) {
                error = arg.empty() || arg[0] != '-' ? "unexpected argument '" + arg + "'"
                                                     : "unknown option '" + arg + "'";
                return false;
            }
            std::string name = arg;
            std::optional<std::string> value;
            if (std::size_t eq = arg.find('='); eq != std::string::npos) {
                name = arg.substr(0, eq);
                value = arg.substr(eq + 1);
            }
            bool isValued = std::find(m_valued.begin(), m_valued.end(), name) != m_valued.end();
            bool isFlag = std::find(m_flags.begin(), m_flags.end(), name) != m_flags.end();
            if (!isValued && !isFlag) {
                error = "unknown option '" + name + "'";
                return false;
            }
            if (m_values.count(name) != 0) {
                error = "option " + name + " given twice";
                return false;
            }
            if (isFlag) {
                if (value) {
                    error = "option " + name + " takes no value";
                    return false;
                }
                m_values[name] = "";
                continue;
            }
            if (!value) {
                if (i + 1 >= args.size()) {
                    error = "option " + name + " needs a value";
                    return false;
                }
                value = args[++i];
            }
            m_values[name] = *value;
        }
        return true;
    }

    const std::string* Get(const std::string& name) const
    {
        auto it = m_values.find(name);
        return it != m_values.end() ? &it->second : nullptr;
    }

private:
    std::vector<std::string> m_valued;
    std::vector<std::string> m_flags;
    std::map<std::string, std::string> m_values;
};

std::string KindList(bool migrateOnly)
{
    std::string list;
    for (const KindName& k : kKindNames) {
        if (migrateOnly && std::find(std::begin(kMigrateSources), std::end(kMigrateSources), k.kind) ==
                               std::end(kMigrateSources)) {
            continue;
        }
        list += list.empty() ? "" : "|";
        list += k.name;
    }
    return list;
}

bool ParseSource(const OptionReader& options, bool migrateOnly, CliArguments& a, std::string& error)
{
    const std::string* text = options.Get("--source");
    if (text == nullptr) {
        error = "--source is required";
        return false;
    }
    std::optional<AppKind> kind = CliParseAppKind(*text);
    if (migrateOnly && kind &&
        std::find(std::begin(kMigrateSources), std::end(kMigrateSources), *kind) ==
            std::end(kMigrateSources)) {
        kind.reset();
    }
    if (!kind) {
        error = "unknown source '" + *text + "' (one of " + KindList(migrateOnly) + ")";
        return false;
    }
    a.source = *kind;
    return true;
}

bool ParseTypes(const std::string& text, CliArguments& a, std::string& error)
{
    bool chosen[kDataTypeCount] = {};
    for (std::string_view item : SplitList(text)) {
        std::optional<DataType> type = CliParseDataType(item);
        if (!type) {
            error =
                "unknown data type '" + std::string(item) + "' in --types (contacts,calendar,tasks,notes)";
            return false;
        }
        chosen[*type] = true;
    }
    std::vector<DataType> types;
    for (DataType type : kAllDataTypes) {
        if (chosen[type]) {
            types.push_back(type);
        }
    }
    a.types = std::move(types);
    return true;
}

bool ParseSelect(const std::string& text, CliArguments& a, std::string& error)
{
    if (EqualsNoCase(text, "all") || EqualsNoCase(text, "none")) {
        bool all = EqualsNoCase(text, "all");
        a.selectNew = a.selectDiff = a.selectSame = all;
        return true;
    }
    a.selectNew = a.selectDiff = a.selectSame = false;
    for (std::string_view item : SplitList(text)) {
        if (EqualsNoCase(item, "new")) {
            a.selectNew = true;
        } else if (EqualsNoCase(item, "diff")) {
            a.selectDiff = true;
        } else if (EqualsNoCase(item, "same")) {
            a.selectSame = true;
        } else {
            error = "unknown selection '" + std::string(item) + "' in --select (new,diff,same, all or none)";
            return false;
        }
    }
    return true;
}

// --palm-folder and --palm-user, which only a Palm Desktop source takes.
bool ParsePalmOptions(const OptionReader& options, CliArguments& a, std::string& error)
{
    static constexpr std::pair<const char*, std::string CliArguments::*> kOptions[] = {
        {"--palm-folder", &CliArguments::palmFolder}, {"--palm-user", &CliArguments::palmUser}};
    for (const auto& [name, member] : kOptions) {
        const std::string* value = options.Get(name);
        if (value == nullptr) {
            continue;
        }
        if (a.source != kAppPalm) {
            error = std::string(name) + " applies to --source palm only";
            return false;
        }
        if (value->empty()) {
            error = std::string(name) + " needs a value";
            return false;
        }
        a.*member = *value;
    }
    return true;
}

// --outlook-file and --outlook-password-stdin, which only an Outlook source takes.
bool ParseOutlookOptions(const OptionReader& options, CliArguments& a, std::string& error)
{
    const std::string* file = options.Get("--outlook-file");
    const bool passwordStdin = options.Get("--outlook-password-stdin") != nullptr;
    if ((file != nullptr || passwordStdin) && a.source != kAppOutlook) {
        error = std::string(file != nullptr ? "--outlook-file" : "--outlook-password-stdin") +
                " applies to --source outlook only";
        return false;
    }
    if (file != nullptr && file->empty()) {
        error = "--outlook-file needs a value";
        return false;
    }
    if (file != nullptr) {
        a.outlookFile = *file;
    }
    a.outlookPasswordStdin = passwordStdin;
    return true;
}

// --google-folder, which only a Google source takes.
bool ParseGoogleOptions(const OptionReader& options, CliArguments& a, std::string& error)
{
    const std::string* folder = options.Get("--google-folder");
    if (folder == nullptr) {
        return true;
    }
    if (a.source != kAppGoogle) {
        error = "--google-folder applies to --source google only";
        return false;
    }
    if (folder->empty()) {
        error = "--google-folder needs a value";
        return false;
    }
    a.googleFolder = *folder;
    return true;
}

// --target: Lotus Notes, or a CRM kind, which takes Lotus Notes or a wizard source as source.
bool ParseTarget(const OptionReader& options, CliArguments& a, std::string& error)
{
    const std::string* text = options.Get("--target");
    if (text == nullptr) {
        return ParseSource(options, true, a, error);
    }
    std::optional<AppKind> target = CliParseAppKind(*text);
    if (!target || (*target != kAppNotes && !IsCrmKind(*target))) {
        error = "unknown target '" + *text + "' (one of notes|salesforce|sugarcrm|dynamics)";
        return false;
    }
    a.target = *target;
    if (a.target == kAppNotes) {
        return ParseSource(options, true, a, error);
    }
    if (!ParseSource(options, false, a, error)) {
        return false;
    }
    if (a.source != kAppNotes && std::find(std::begin(kMigrateSources), std::end(kMigrateSources),
                                           a.source) == std::end(kMigrateSources)) {
        error = "source '" + *options.Get("--source") + "' cannot migrate into " + CliAppKindName(a.target) +
                " (one of notes|" + KindList(true) + ")";
        return false;
    }
    return true;
}

// --act-pad, --act-user and --act-password-stdin, which only an ACT! source takes.
bool ParseACTOptions(const OptionReader& options, CliArguments& a, std::string& error)
{
    const std::string* pad = options.Get("--act-pad");
    const std::string* user = options.Get("--act-user");
    const bool passwordStdin = options.Get("--act-password-stdin") != nullptr;
    if ((pad != nullptr || user != nullptr || passwordStdin) && a.source != kAppACT) {
        error = std::string(pad != nullptr    ? "--act-pad"
                            : user != nullptr ? "--act-user"
                                              : "--act-password-stdin") +
                " applies to --source act only";
        return false;
    }
    if (pad != nullptr) {
        if (pad->empty()) {
            error = "--act-pad needs a value";
            return false;
        }
        a.actPad = *pad;
    }
    if (user != nullptr) {
        if (user->empty()) {
            error = "--act-user needs a value";
            return false;
        }
        a.actUser = *user;
    }
    a.actPasswordStdin = passwordStdin;
    return true;
}

bool ParseMigrate(const std::vector<std::string>& args, CliArguments& a, std::string& error)
{
    OptionReader options({"--source", "--target", "--types", "--select", "--palm-folder", "--palm-user",
                          "--outlook-file", "--google-folder", "--act-pad", "--act-user"},
                         {"--dry-run", "--outlook-password-stdin", "--act-password-stdin"});
    if (!options.Read(args, 1, error) || !ParseTarget(options, a, error) ||
        !ParsePalmOptions(options, a, error) || !ParseOutlookOptions(options, a, error) ||
        !ParseGoogleOptions(options, a, error) || !ParseACTOptions(options, a, error)) {
        return false;
    }
    if (const std::string* types = options.Get("--types");
        types != nullptr && !ParseTypes(*types, a, error)) {
        return false;
    }
    if (const std::string* select = options.Get("--select");
        select != nullptr && !ParseSelect(*select, a, error)) {
        return false;
    }
    a.dryRun = options.Get("--dry-run") != nullptr;
    return true;
}

bool ParseDump(const std::vector<std::string>& args, CliArguments& a, std::string& error)
{
    OptionReader options({"--source", "--type", "--format", "--palm-folder", "--palm-user", "--outlook-file",
                          "--google-folder", "--act-pad", "--act-user"},
                         {"--outlook-password-stdin", "--act-password-stdin"});
    if (!options.Read(args, 1, error) || !ParseSource(options, false, a, error) ||
        !ParsePalmOptions(options, a, error) || !ParseOutlookOptions(options, a, error) ||
        !ParseGoogleOptions(options, a, error) || !ParseACTOptions(options, a, error)) {
        return false;
    }
    const std::string* type = options.Get("--type");
    if (type == nullptr) {
        error = "--type is required";
        return false;
    }
    std::optional<DataType> parsed = CliParseDataType(*type);
    if (!parsed) {
        error = "unknown data type '" + *type + "' (contacts|calendar|tasks|notes)";
        return false;
    }
    a.type = *parsed;
    if (const std::string* format = options.Get("--format"); format != nullptr) {
        if (EqualsNoCase(*format, "json")) {
            a.format = CliDumpFormat::Json;
        } else if (EqualsNoCase(*format, "csv")) {
            a.format = CliDumpFormat::Csv;
        } else {
            error = "unknown format '" + *format + "' (json|csv)";
            return false;
        }
    }
    return true;
}

// act import --pad FILE.pad [--user NAME] CONTACTS.txt: the export is the one argument that is
// no option.
bool ParseAct(const std::vector<std::string>& args, CliArguments& a, std::string& error)
{
    if (args.size() < 2 || args[1] != "import") {
        error = args.size() < 2              ? "act needs an action (import)"
                : args[1].rfind("-", 0) == 0 ? "unknown option '" + args[1] + "'"
                                             : "unknown act action '" + args[1] + "' (import)";
        return false;
    }
    std::vector<std::string> optionArgs{args[0], args[1]};
    std::vector<std::string> files;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) == 0) {
            optionArgs.push_back(arg);
            if ((arg == "--pad" || arg == "--user") && i + 1 < args.size()) {
                optionArgs.push_back(args[++i]);
            }
        } else {
            files.push_back(arg);
        }
    }
    OptionReader options({"--pad", "--user"}, {});
    if (!options.Read(optionArgs, 2, error)) {
        return false;
    }
    const std::string* pad = options.Get("--pad");
    if (pad == nullptr || pad->empty()) {
        error = pad == nullptr ? "--pad is required" : "--pad needs a value";
        return false;
    }
    a.actPad = *pad;
    if (const std::string* user = options.Get("--user"); user != nullptr) {
        if (user->empty()) {
            error = "--user needs a value";
            return false;
        }
        a.actUser = *user;
    }
    if (files.empty()) {
        error = "act import needs the contacts file";
        return false;
    }
    if (files.size() > 1) {
        error = "unexpected argument '" + files[1] + "'";
        return false;
    }
    a.importFile = files[0];
    return true;
}

// crm add-user --source KIND --user NAME [--host HOST] [--organisation ORG]
bool ParseCrm(const std::vector<std::string>& args, CliArguments& a, std::string& error)
{
    if (args.size() < 2 || args[1] != "add-user") {
        error = args.size() < 2 ? "crm needs an action (add-user)"
                                : "unknown crm action '" + args[1] + "' (add-user)";
        return false;
    }
    OptionReader options({"--source", "--user", "--host", "--organisation"}, {});
    if (!options.Read(args, 2, error)) {
        return false;
    }
    const std::string* source = options.Get("--source");
    std::optional<AppKind> kind = source != nullptr ? CliParseAppKind(*source) : std::nullopt;
    if (source == nullptr) {
        error = "--source is required";
        return false;
    }
    if (!kind || !IsCrmKind(*kind)) {
        error = "unknown source '" + *source + "' (one of salesforce|sugarcrm|dynamics)";
        return false;
    }
    a.source = *kind;
    const std::string* user = options.Get("--user");
    if (user == nullptr || user->empty()) {
        error = "--user is required";
        return false;
    }
    a.crmUser = *user;
    const std::string* host = options.Get("--host");
    const std::string* organisation = options.Get("--organisation");
    if (a.source == kAppSalesForce && host != nullptr) {
        error = "--host applies to --source sugarcrm and dynamics only";
        return false;
    }
    if (a.source != kAppDynamics && organisation != nullptr) {
        error = "--organisation applies to --source dynamics only";
        return false;
    }
    if (a.source != kAppSalesForce && (host == nullptr || host->empty())) {
        error = "--host is required for " + std::string(CliAppKindName(a.source));
        return false;
    }
    if (a.source == kAppDynamics && (organisation == nullptr || organisation->empty())) {
        error = "--organisation is required for Dynamics CRM";
        return false;
    }
    a.crmHost = host != nullptr ? *host : "";
    a.crmOrganisation = organisation != nullptr ? *organisation : "";
    return true;
}

// Settings arguments are positional; a value may begin with '-' (a negative number).
bool ParseSettings(const std::vector<std::string>& args, CliArguments& a, std::string& error)
{
    if (args.size() < 2) {
        error = "settings needs an action (get, set or list)";
        return false;
    }
    const std::string& action = args[1];
    std::size_t expected = 0;
    if (action == "get") {
        a.action = CliSettingsAction::Get;
        expected = 3;
    } else if (action == "set") {
        a.action = CliSettingsAction::Set;
        expected = 4;
    } else if (action == "list") {
        a.action = CliSettingsAction::List;
        expected = 2;
    } else {
        error = action.rfind("-", 0) == 0 ? "unknown option '" + action + "'"
                                          : "unknown settings action '" + action + "' (get, set or list)";
        return false;
    }
    if (args.size() < expected) {
        error = "settings " + action +
                (a.action == CliSettingsAction::Set ? " needs a key and a value" : " needs a key");
        return false;
    }
    if (args.size() > expected) {
        error = "unexpected argument '" + args[expected] + "'";
        return false;
    }
    if (expected >= 3) {
        a.key = args[2];
        if (a.key.empty()) {
            error = "the key is empty";
            return false;
        }
    }
    if (expected == 4) {
        a.value = args[3];
    }
    return true;
}

} // namespace

std::optional<AppKind> CliParseAppKind(std::string_view name)
{
    for (const KindName& k : kKindNames) {
        if (EqualsNoCase(name, k.name)) {
            return k.kind;
        }
    }
    return std::nullopt;
}

std::optional<DataType> CliParseDataType(std::string_view name)
{
    for (DataType type : kAllDataTypes) {
        if (EqualsNoCase(name, kTypeNames[type])) {
            return type;
        }
    }
    return std::nullopt;
}

const char* CliDataTypeName(DataType type)
{
    return type >= 0 && type < kDataTypeCount ? kTypeNames[type] : "?";
}

const char* CliAppKindName(AppKind kind)
{
    for (const KindName& k : kKindNames) {
        if (k.kind == kind) {
            return k.display;
        }
    }
    return "?";
}

CliParseResult ParseCliArguments(const std::vector<std::string>& argv)
{
    CliParseResult result;
    CliArguments& a = result.args;
    if (argv.empty()) {
        result.error = "no command given";
        return result;
    }
    const std::string& first = argv[0];
    if (IsHelp(first) || first == "--version") {
        if (argv.size() > 1) {
            result.error = "unexpected argument '" + argv[1] + "'";
            return result;
        }
        a.help = IsHelp(first);
        a.version = !a.help;
        result.ok = true;
        return result;
    }
    if (first == "migrate") {
        a.command = CliCommand::Migrate;
    } else if (first == "dump") {
        a.command = CliCommand::Dump;
    } else if (first == "settings") {
        a.command = CliCommand::Settings;
    } else if (first == "act") {
        a.command = CliCommand::Act;
    } else if (first == "crm") {
        a.command = CliCommand::Crm;
    } else {
        result.error =
            first.rfind("-", 0) == 0 ? "unknown option '" + first + "'" : "unknown command '" + first + "'";
        return result;
    }
    // Help for a command wins over anything else on its line.
    if (std::any_of(argv.begin() + 1, argv.end(), IsHelp)) {
        a.help = true;
        result.ok = true;
        return result;
    }
    switch (a.command) {
    case CliCommand::Migrate:
        result.ok = ParseMigrate(argv, a, result.error);
        break;
    case CliCommand::Dump:
        result.ok = ParseDump(argv, a, result.error);
        break;
    case CliCommand::Settings:
        result.ok = ParseSettings(argv, a, result.error);
        break;
    case CliCommand::Act:
        result.ok = ParseAct(argv, a, result.error);
        break;
    case CliCommand::Crm:
        result.ok = ParseCrm(argv, a, result.error);
        break;
    case CliCommand::None:
        break;
    }
    return result;
}

std::string CliUsage(CliCommand command)
{
    switch (command) {
    case CliCommand::Migrate:
        return "Usage: ferrywise-cli migrate --source palm|outlook|google|act\n"
               "                             [--target notes|salesforce|sugarcrm|dynamics]\n"
               "                             [--types contacts,calendar,tasks,notes]\n"
               "                             [--select new,diff,same|all|none] [--dry-run]\n"
               "                             [--palm-folder DIR] [--palm-user NAME]\n"
               "                             [--outlook-file FILE] [--outlook-password-stdin]\n"
               "                             [--google-folder DIR]\n"
               "                             [--act-pad FILE.pad] [--act-user NAME]\n"
               "                             [--act-password-stdin]\n"
               "\n"
               "Loads Lotus Notes and the source, compares them and migrates the selected\n"
               "records into Lotus Notes.\n"
               "\n"
               "  --source KIND   the application to migrate from; into a CRM, notes as well\n"
               "  --target KIND   the application to migrate into (default: notes); a CRM\n"
               "                  takes the settings of its account (SFUserName, ...)\n"
               "  --types LIST    the data types to work on (default: as in the settings)\n"
               "  --select LIST   which records to migrate: new, diff and/or same, all or\n"
               "                  none (default: new,diff)\n"
               "  --dry-run       compare and show what would be migrated; change nothing\n"
               "  --palm-folder DIR  Palm Desktop: the folder that holds the users' data\n"
               "                  folders (for instance one copied from an old computer)\n"
               "  --palm-user NAME   Palm Desktop: the user, by the name of the user's folder\n"
               "  --outlook-file FILE  Outlook: the Outlook data file (.pst, .ost) to read\n"
               "  --outlook-password-stdin  Outlook: read the data file's password from the\n"
               "                  first line of standard input\n"
               "  --google-folder DIR  Google: the folder of the account's export (contacts\n"
               "                  as vCard or Google CSV, calendars as iCalendar files)\n"
               "  --act-pad FILE.pad  ACT!: the ACT! database (.pad file) to read\n"
               "  --act-user NAME  ACT!: the ACT! user to log in as\n"
               "  --act-password-stdin  ACT!: read the user's password from the first line\n"
               "                  of standard input\n"
               "\n"
               "Prints, per data type, how many source records are new, different or the\n"
               "same as in Lotus Notes, then how many were migrated and where the migration\n"
               "log is. The options apply to this run only; the settings file is not changed.\n"
               "Exit status: 0 done, 1 a load or the migration failed, 2 usage error,\n"
               "130 cancelled (Ctrl+C cancels a load; it is refused while records are written).\n";
    case CliCommand::Dump:
        return "Usage: ferrywise-cli dump --source KIND --type contacts|calendar|tasks|notes\n"
               "                          [--format json|csv]\n"
               "                          [--palm-folder DIR] [--palm-user NAME]\n"
               "                          [--outlook-file FILE] [--outlook-password-stdin]\n"
               "                          [--google-folder DIR]\n"
               "                          [--act-pad FILE.pad] [--act-user NAME]\n"
               "                          [--act-password-stdin]\n"
               "\n"
               "Loads one data type of an application as a migration would and prints every\n"
               "record with all its fields, in UTF-8; in JSON each record ends with the\n"
               "application's own record as \"Native\": [label, text] pairs.\n"
               "\n"
               "  --source KIND   palm, outlook, google, act, notes, salesforce, sugarcrm or\n"
               "                  dynamics\n"
               "  --type TYPE     the data type to load\n"
               "  --format FMT    json (default: an array of objects) or csv (a header row,\n"
               "                  then one row per record)\n"
               "  --palm-folder DIR, --palm-user NAME\n"
               "                  Palm Desktop: as for migrate\n"
               "  --outlook-file FILE, --outlook-password-stdin\n"
               "                  Outlook: as for migrate\n"
               "  --google-folder DIR  Google: as for migrate\n"
               "  --act-pad FILE.pad, --act-user NAME, --act-password-stdin\n"
               "                  ACT!: as for migrate\n"
               "\n"
               "Dates are given as ISO 8601 text together with the stored number.\n"
               "Exit status: 0 done, 1 the load failed, 2 usage error, 130 cancelled (Ctrl+C).\n";
    case CliCommand::Settings:
        return "Usage: ferrywise-cli settings get KEY\n"
               "       ferrywise-cli settings set KEY VALUE\n"
               "       ferrywise-cli settings list\n"
               "\n"
               "Reads and changes the settings file (FWLN.ini in the working folder).\n"
               "\n"
               "  get KEY         prints the value alone\n"
               "  set KEY VALUE   changes one key; integers must be whole numbers, flags 0 or 1\n"
               "  list            prints KEY=VALUE for every key\n"
               "\n"
               "Passwords are shown only as (set) or (not set). A password or account name is\n"
               "kept in the file only while its keep flag (LNSavePassword, GGSaveEmail, ...)\n"
               "is 1.\n"
               "Exit status: 0 done, 1 unknown key or the file cannot be written, 2 usage error.\n";
    case CliCommand::Act:
        return "Usage: ferrywise-cli act import --pad FILE.pad [--user NAME] CONTACTS.txt\n"
               "\n"
               "Adds the contacts of a delimited export to an ACT! database, making the\n"
               "database and its .pad file when the .pad file does not exist yet.\n"
               "\n"
               "  --pad FILE.pad  the ACT! database (.pad file) to add to\n"
               "  --user NAME     the ACT! user; the password is read from the first line of\n"
               "                  standard input. A new database gets this user.\n"
               "\n"
               "CONTACTS.txt is comma- or tab-separated text whose first row names the\n"
               "columns by the ACT! contact field labels (\"First Name\", \"Business Phone\",\n"
               "...), in any case. A column that names no field is reported and skipped.\n"
               "Nothing is added when the file cannot be read (for instance a quote that does\n"
               "not close) or the login fails.\n"
               "Exit status: 0 done, 1 the file or the database was refused, 2 usage error.\n";
    case CliCommand::Crm:
        return "Usage: ferrywise-cli crm add-user --source salesforce|sugarcrm|dynamics\n"
               "                                 --user NAME [--host HOST] [--organisation ORG]\n"
               "\n"
               "Adds a user to the local stand-in of a CRM service, or gives one new secrets.\n"
               "The password is read from the first line of standard input, the security\n"
               "token (salesforce) from the second. Only salted hashes of them are kept.\n"
               "\n"
               "  --source KIND   the service\n"
               "  --user NAME     the user name (Dynamics CRM: the login)\n"
               "  --host HOST     SugarCRM and Dynamics CRM: the server\n"
               "  --organisation ORG  Dynamics CRM: the organisation\n"
               "\n"
               "Exit status: 0 done, 1 the service's database cannot be written, 2 usage error.\n";
    case CliCommand::None:
        break;
    }
    return "Usage: ferrywise-cli COMMAND [OPTIONS]\n"
           "       ferrywise-cli --help | --version\n"
           "\n"
           "Moves contacts, calendar events, tasks and notes into Lotus Notes.\n"
           "\n"
           "Commands:\n"
           "  migrate    compare a source with Lotus Notes and migrate the selected records\n"
           "  dump       print the records of one application and data type (JSON or CSV)\n"
           "  settings   read and change the settings file\n"
           "  act        add the contacts of a delimited export to an ACT! database\n"
           "  crm        add a user to the local stand-in of a CRM service\n"
           "\n"
           "Run 'ferrywise-cli COMMAND --help' for the options of a command.\n";
}
