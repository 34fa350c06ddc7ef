#include "cli/CliArguments.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Split(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

// Command lines that are refused, with a piece of the error each must give.
struct Refused
{
    const char* line;
    const char* error;
};

const Refused kRefused[] = {
    {"", "no command given"},
    {"frobnicate", "unknown command 'frobnicate'"},
    {"--frobnicate", "unknown option '--frobnicate'"},
    {"--version extra", "unexpected argument 'extra'"},
    {"migrate", "--source is required"},
    {"migrate --source", "--source needs a value"},
    {"migrate --source notes", "unknown source 'notes' (one of act|google|outlook|palm)"},
    {"migrate --source salesforce", "unknown source 'salesforce'"},
    {"migrate --source palm --source act", "--source given twice"},
    {"migrate --source palm --colour", "unknown option '--colour'"},
    {"migrate --source palm -x", "unknown option '-x'"},
    {"migrate --source palm stray", "unexpected argument 'stray'"},
    {"migrate --source palm --types contacts,", "unknown data type '' in --types"},
    {"migrate --source palm --types contacts,memos", "unknown data type 'memos'"},
    {"migrate --source palm --select new,all", "unknown selection 'all'"},
    {"migrate --source palm --select maybe", "unknown selection 'maybe'"},
    {"migrate --source palm --dry-run=yes", "--dry-run takes no value"},
    {"dump --source notes", "--type is required"},
    {"dump --type contacts", "--source is required"},
    {"dump --source lotus --type contacts", "unknown source 'lotus'"},
    {"dump --source notes --type memos", "unknown data type 'memos'"},
    {"dump --source notes --type notes --format xml", "unknown format 'xml' (json|csv)"},
    {"migrate --source act --palm-folder /p", "--palm-folder applies to --source palm only"},
    {"dump --source notes --type contacts --palm-user Ann", "--palm-user applies to --source palm only"},
    {"migrate --source palm --palm-user=", "--palm-user needs a value"},
    {"migrate --source outlook --google-folder /g", "--google-folder applies to --source google only"},
    {"dump --source google --type contacts --google-folder=", "--google-folder needs a value"},
    {"migrate --source palm --act-pad x.pad", "--act-pad applies to --source act only"},
    {"dump --source outlook --type notes --act-user chris", "--act-user applies to --source act only"},
    {"migrate --source google --act-password-stdin", "--act-password-stdin applies to --source act only"},
    {"migrate --source act --act-pad=", "--act-pad needs a value"},
    {"dump --source act --type contacts --act-user", "--act-user needs a value"},
    {"migrate --source act --act-password-stdin=pw", "--act-password-stdin takes no value"},
    {"migrate --source act --outlook-password-stdin", "--outlook-password-stdin applies to --source outlook"},
    {"migrate --source act --pad x.pad", "unknown option '--pad'"},
    {"settings", "settings needs an action"},
    {"settings delete LogLevel", "unknown settings action 'delete'"},
    {"settings --force list", "unknown option '--force'"},
    {"settings get", "settings get needs a key"},
    {"settings set LogLevel", "settings set needs a key and a value"},
    {"settings list LogLevel", "unexpected argument 'LogLevel'"},
    {"settings get A B", "unexpected argument 'B'"},
};

TEST(CliArguments, RefusesBadCommandLines)
{
    for (const Refused& c : kRefused) {
        SCOPED_TRACE(c.line);
        CliParseResult result = ParseCliArguments(Split(c.line));
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find(c.error), std::string::npos) << result.error;
    }
}

TEST(CliArguments, HelpAndVersion)
{
    struct Case
    {
        const char* line;
        CliCommand command;
        bool help;
        bool version;
    };
    const Case cases[] = {
        {"--help", CliCommand::None, true, false},
        {"-h", CliCommand::None, true, false},
        {"--version", CliCommand::None, false, true},
        {"migrate --help", CliCommand::Migrate, true, false},
        // Help wins over whatever else is wrong on the line.
        {"migrate --source nowhere --help", CliCommand::Migrate, true, false},
        {"dump -h", CliCommand::Dump, true, false},
        {"settings --help", CliCommand::Settings, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        CliParseResult result = ParseCliArguments(Split(c.line));
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.args.command, c.command);
        EXPECT_EQ(result.args.help, c.help);
        EXPECT_EQ(result.args.version, c.version);
    }
}

TEST(CliArguments, MigrateOptions)
{
    struct Case
    {
        const char* line;
        AppKind source;
        std::vector<DataType> types; // empty: --types not given
        bool selectNew, selectDiff, selectSame, dryRun;
    };
    const Case cases[] = {
        {"migrate --source palm", kAppPalm, {}, true, true, false, false},
        {"migrate --source=outlook --dry-run", kAppOutlook, {}, true, true, false, true},
        {"migrate --source GOOGLE --types notes,contacts,notes",
         kAppGoogle,
         {kDataContacts, kDataNotes},
         true,
         true,
         false,
         false},
        {"migrate --types=calendar --source act --select all",
         kAppACT,
         {kDataCalendar},
         true,
         true,
         true,
         false},
        {"migrate --source act --select none", kAppACT, {}, false, false, false, false},
        {"migrate --source act --select same,new", kAppACT, {}, true, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        CliParseResult result = ParseCliArguments(Split(c.line));
        ASSERT_TRUE(result.ok) << result.error;
        const CliArguments& a = result.args;
        EXPECT_EQ(a.command, CliCommand::Migrate);
        EXPECT_EQ(a.source, c.source);
        EXPECT_EQ(a.types.has_value(), !c.types.empty());
        if (a.types) {
            EXPECT_EQ(*a.types, c.types);
        }
        EXPECT_EQ(a.selectNew, c.selectNew);
        EXPECT_EQ(a.selectDiff, c.selectDiff);
        EXPECT_EQ(a.selectSame, c.selectSame);
        EXPECT_EQ(a.dryRun, c.dryRun);
    }
}

TEST(CliArguments, DumpTakesEveryKind)
{
    struct Case
    {
        const char* line;
        AppKind source;
        DataType type;
        CliDumpFormat format;
    };
    const Case cases[] = {
        {"dump --source palm --type contacts", kAppPalm, kDataContacts, CliDumpFormat::Json},
        {"dump --source notes --type calendar --format csv", kAppNotes, kDataCalendar, CliDumpFormat::Csv},
        {"dump --source salesforce --type tasks --format=JSON", kAppSalesForce, kDataTasks,
         CliDumpFormat::Json},
        {"dump --source sugarcrm --type notes", kAppSugarCRM, kDataNotes, CliDumpFormat::Json},
        {"dump --source dynamics --type contacts", kAppDynamics, kDataContacts, CliDumpFormat::Json},
        {"dump --type notes --source act", kAppACT, kDataNotes, CliDumpFormat::Json},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        CliParseResult result = ParseCliArguments(Split(c.line));
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.args.command, CliCommand::Dump);
        EXPECT_EQ(result.args.source, c.source);
        EXPECT_EQ(result.args.type, c.type);
        EXPECT_EQ(result.args.format, c.format);
    }
}

TEST(CliArguments, PalmFolderAndUser)
{
    for (const char* command : {"migrate", "dump"}) {
        SCOPED_TRACE(command);
        std::vector<std::string> line = {command,         "--source",         "palm",
                                         "--palm-folder", "/mnt/old pc/Palm", "--palm-user=Hans M"};
        if (std::string(command) == "dump") {
            line.insert(line.end(), {"--type", "contacts"});
        }
        CliParseResult result = ParseCliArguments(line);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.args.palmFolder, "/mnt/old pc/Palm");
        EXPECT_EQ(result.args.palmUser, "Hans M");
    }
}

// The ACT! database, user and password for one run, as migrate and dump take them.
TEST(CliArguments, ACTPadUserAndPassword)
{
    struct Case
    {
        std::vector<std::string> options;
        std::string pad;
        std::optional<std::string> user;
        bool passwordStdin;
    };
    const Case cases[] = {
        {{}, "", std::nullopt, false},
        {{"--act-pad", "/home/u/ACT data/Contacts.pad", "--act-user=Chris Huffman", "--act-password-stdin"},
         "/home/u/ACT data/Contacts.pad",
         "Chris Huffman",
         true},
        {{"--act-pad=Contacts.pad"}, "Contacts.pad", std::nullopt, false},
        {{"--act-password-stdin", "--act-user", "chris"}, "", "chris", true},
    };
    for (const char* command : {"migrate", "dump"}) {
        for (const Case& c : cases) {
            std::vector<std::string> line = {command, "--source", "act"};
            if (std::string(command) == "dump") {
                line.insert(line.end(), {"--type", "contacts"});
            }
            line.insert(line.end(), c.options.begin(), c.options.end());
            SCOPED_TRACE(testing::PrintToString(line));
            CliParseResult result = ParseCliArguments(line);
            ASSERT_TRUE(result.ok) << result.error;
            EXPECT_EQ(result.args.actPad, c.pad);
            EXPECT_EQ(result.args.actUser, c.user);
            EXPECT_EQ(result.args.actPasswordStdin, c.passwordStdin);
        }
    }
}

TEST(CliArguments, SettingsValuesAreTakenLiterally)
{
    // A value that looks like an option is still the value.
    CliParseResult result = ParseCliArguments({"settings", "set", "SourceApp", "-5"});
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.args.action, CliSettingsAction::Set);
    EXPECT_EQ(result.args.key, "SourceApp");
    EXPECT_EQ(result.args.value, "-5");

    result = ParseCliArguments({"settings", "set", "LNAppName", ""});
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.args.value, "");

    result = ParseCliArguments({"settings", "get", ""});
    EXPECT_FALSE(result.ok);

    result = ParseCliArguments({"settings", "list"});
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.args.action, CliSettingsAction::List);
}

TEST(CliArguments, EveryCommandHasUsage)
{
    for (CliCommand command :
         {CliCommand::None, CliCommand::Migrate, CliCommand::Dump, CliCommand::Settings, CliCommand::Crm}) {
        std::string usage = CliUsage(command);
        EXPECT_EQ(usage.rfind("Usage: ferrywise-cli", 0), 0u) << usage;
    }
    EXPECT_NE(CliUsage(CliCommand::Migrate).find("--dry-run"), std::string::npos);
    EXPECT_NE(CliUsage(CliCommand::Dump).find("--format"), std::string::npos);
    EXPECT_NE(CliUsage(CliCommand::Settings).find("settings set KEY VALUE"), std::string::npos);
    EXPECT_NE(CliUsage(CliCommand::Crm).find("--organisation"), std::string::npos);
}

// Into a CRM service Lotus Notes or a wizard source may migrate; into Lotus Notes only the
// wizard's sources.
TEST(CliArguments, MigrateTargets)
{
    struct Case
    {
        const char* line;
        AppKind source;
        AppKind target;
        const char* error; // a part of the usage error; null: accepted
    };
    const Case cases[] = {
        {"migrate --source palm", kAppPalm, kAppNotes, nullptr},
        {"migrate --source act --target notes", kAppACT, kAppNotes, nullptr},
        {"migrate --source notes --target salesforce", kAppNotes, kAppSalesForce, nullptr},
        {"migrate --target=SugarCRM --source outlook", kAppOutlook, kAppSugarCRM, nullptr},
        {"migrate --source notes --target dynamics", kAppNotes, kAppDynamics, nullptr},
        {"migrate --source notes", kAppNone, kAppNotes, "unknown source 'notes'"},
        {"migrate --source notes --target notes", kAppNone, kAppNotes, "unknown source 'notes'"},
        {"migrate --source sugarcrm --target salesforce", kAppNone, kAppNone,
         "cannot migrate into salesforce"},
        {"migrate --source notes --target palm", kAppNone, kAppNone, "unknown target 'palm'"},
        {"migrate --target salesforce", kAppNone, kAppNone, "--source is required"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        CliParseResult result = ParseCliArguments(Split(c.line));
        if (c.error != nullptr) {
            EXPECT_FALSE(result.ok);
            EXPECT_NE(result.error.find(c.error), std::string::npos) << result.error;
            continue;
        }
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.args.source, c.source);
        EXPECT_EQ(result.args.target, c.target);
    }
}

TEST(CliArguments, CrmAddUser)
{
    struct Case
    {
        const char* line;
        AppKind source;
        const char* user;
        const char* host;
        const char* organisation;
        const char* error; // a part of the usage error; null: accepted
    };
    const Case cases[] = {
        {"crm add-user --source salesforce --user ada", kAppSalesForce, "ada", "", "", nullptr},
        {"crm add-user --source sugarcrm --user ada --host h.example", kAppSugarCRM, "ada", "h.example", "",
         nullptr},
        {"crm add-user --source dynamics --user=ada --host h --organisation Ships", kAppDynamics, "ada", "h",
         "Ships", nullptr},
        {"crm", kAppNone, "", "", "", "crm needs an action"},
        {"crm remove-user --source salesforce --user ada", kAppNone, "", "", "", "unknown crm action"},
        {"crm add-user --user ada", kAppNone, "", "", "", "--source is required"},
        {"crm add-user --source notes --user ada", kAppNone, "", "", "", "unknown source 'notes'"},
        {"crm add-user --source salesforce", kAppNone, "", "", "", "--user is required"},
        {"crm add-user --source salesforce --user ada --host h", kAppNone, "", "", "", "--host applies to"},
        {"crm add-user --source sugarcrm --user ada", kAppNone, "", "", "", "--host is required"},
        {"crm add-user --source sugarcrm --user ada --host h --organisation o", kAppNone, "", "", "",
         "--organisation applies to"},
        {"crm add-user --source dynamics --user ada --host h", kAppNone, "", "", "",
         "--organisation is required"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        CliParseResult result = ParseCliArguments(Split(c.line));
        if (c.error != nullptr) {
            EXPECT_FALSE(result.ok);
            EXPECT_NE(result.error.find(c.error), std::string::npos) << result.error;
            continue;
        }
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.args.command, CliCommand::Crm);
        EXPECT_EQ(result.args.source, c.source);
        EXPECT_EQ(result.args.crmUser, c.user);
        EXPECT_EQ(result.args.crmHost, c.host);
        EXPECT_EQ(result.args.crmOrganisation, c.organisation);
    }
}

} // namespace
