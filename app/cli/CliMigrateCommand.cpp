#include "cli/CliMigrateCommand.h"

#include <iostream>

#include <string>

#include "cli/CliSession.h"
#include "engine/MigrationFlow.h"
#include "misc/FlowCancel.h"
#include "misc/Settings.h"
#include "platform/CodePage.h"

namespace {

bool Selected(const CliArguments& args, int status)
{
    switch (status) {
    case MatchNew:
        return args.selectNew;
    case MatchDiff:
        return args.selectDiff;
    case MatchSame:
        return args.selectSame;
    }
    return false;
}

} // namespace

int RunMigrateCommand(const CxAppRegistry& apps, const CliArguments& args, IFrontEnd& frontEnd,
                      std::ostream& out, std::ostream& err)
{
    CliSession session(apps, frontEnd);
    if (std::string error; !CliSession::ApplyPalmOptions(args, error) ||
                           !CliSession::ApplyOutlookOptions(args, std::cin, error) ||
                           !CliSession::ApplyGoogleOptions(args, error) ||
                           !CliSession::ApplyACTOptions(args, std::cin, error)) {
        err << "ferrywise-cli: " << error << "\n";
        return kCliExitUsage;
    }

    // For this run only: the session ends without saving the settings.
    FWSettings& settings = g_Settings();
    settings.SourceApp = args.source;
    if (args.types) {
        for (DataType type : kAllDataTypes) {
            SyncSwitch(settings, type) = false;
        }
        for (DataType type : *args.types) {
            SyncSwitch(settings, type) = true;
        }
    }

    // As the wizard does on leaving its Lotus Notes options: the source's contacts connector
    // takes the custom-field mapping of the settings before it loads.
    PrepareFieldMapping(args.source);

    const AppKind target = args.target;
    const std::string targetName = CliAppKindName(target);
    if (!LoadAndCompare(nullptr, args.source, target)) {
        if (FlowCancel::Requested()) {
            err << "ferrywise-cli: cancelled; nothing was migrated.\n";
            return kCliExitCancelled;
        }
        err << "ferrywise-cli: loading failed; nothing was migrated.\n";
        return kCliExitFailed;
    }

    ConnectorRegistry& registry = ConnectorRegistry::Instance();
    out << "Compared " << CliAppKindName(args.source) << " with " << targetName << ":\n";
    for (DataType type : kAllDataTypes) {
        SelectionList* selection = registry.GetSelectionList(type);
        if (selection != nullptr) {
            selection->RemoveAll();
        }
        if (!SyncSwitch(settings, type)) {
            continue;
        }
        CxConnector* connector = registry.Get(args.source, type);
        if (connector == nullptr) {
            out << "  " << CliDataTypeName(type) << ": not available from " << CliAppKindName(args.source)
                << "\n";
            continue;
        }
        int counts[3] = {};
        CliSession::ForEachRecord(*connector, type, [&](auto* record, int status) {
            if (status >= MatchSame && status <= MatchDiff) {
                ++counts[status];
            }
            if (selection != nullptr && Selected(args, status)) {
                selection->Append(record);
            }
        });
        out << "  " << CliDataTypeName(type) << ": " << counts[MatchNew] << " new, " << counts[MatchDiff]
            << " diff, " << counts[MatchSame] << " same\n";
        if (const std::string lossy =
                MigrationFlow::LossyRecordsText(args.source, type, connector->GetLossyRecordCount());
            !lossy.empty()) {
            out << "    " << platform::AnsiToUtf8(lossy) << "\n";
        }
    }

    if (!args.dryRun && !SubmitSelection(nullptr, target)) {
        err << "ferrywise-cli: the migration to " << targetName << " failed.\n";
        return kCliExitFailed;
    }

    out << (args.dryRun ? std::string("Selected (dry run, nothing migrated):\n")
                        : "Migrated to " + targetName + ":\n");
    for (DataType type : kAllDataTypes) {
        if (!SyncSwitch(settings, type)) {
            continue;
        }
        SelectionList* selection = registry.GetSelectionList(type);
        out << "  " << CliDataTypeName(type) << ": " << (selection != nullptr ? selection->GetCount() : 0)
            << "\n";
    }
    if (!args.dryRun) {
        std::string folder;
        if (GetWorkingFolder(folder)) {
            out << "Migration log: " << folder << kMigrationLogName << "\n";
        }
    }
    out.flush();
    return kCliExitOk;
}
