#include "cli/CliDumpCommand.h"

#include <iostream>

#include "cli/CliRecordWriter.h"
#include "cli/CliSession.h"
#include "engine/MigrationFlow.h"
#include "misc/CommRecordFields.h"
#include "misc/FlowCancel.h"

namespace {

std::span<const CommField> FieldsOf(DataType type)
{
    return VisitDataType(
        type, [](auto recordType) { return CommFieldsOf<typename decltype(recordType)::Record>(); },
        [] { return CommNoteFields(); });
}

} // namespace

int RunDumpCommand(const CxAppRegistry& apps, const CliArguments& args, IFrontEnd& frontEnd,
                   std::ostream& out, std::ostream& err)
{
    if (!MigrationFlow::HasLoadFlow(args.source, args.type)) {
        err << "ferrywise-cli: " << CliAppKindName(args.source) << " has no " << CliDataTypeName(args.type)
            << "\nRun 'ferrywise-cli dump --help' for usage.\n";
        return kCliExitUsage;
    }
    CliSession session(apps, frontEnd);
    if (std::string error; !CliSession::ApplyPalmOptions(args, error) ||
                           !CliSession::ApplyOutlookOptions(args, std::cin, error) ||
                           !CliSession::ApplyGoogleOptions(args, error) ||
                           !CliSession::ApplyACTOptions(args, std::cin, error)) {
        err << "ferrywise-cli: " << error << "\n";
        return kCliExitUsage;
    }
    // Contacts carry the mapped custom values a migration from this application would carry.
    PrepareFieldMapping(args.source);
    if (!LoadOne(nullptr, args.source, args.type)) {
        if (FlowCancel::Requested()) {
            err << "ferrywise-cli: cancelled; nothing to dump.\n";
            return kCliExitCancelled;
        }
        err << "ferrywise-cli: loading failed; nothing to dump.\n";
        return kCliExitFailed;
    }
    CxConnector* connector = ConnectorRegistry::Instance().Get(args.source, args.type);
    if (connector == nullptr) {
        err << "ferrywise-cli: loading gave no records store; nothing to dump.\n";
        return kCliExitFailed;
    }
    // Written only after the load succeeded, so that a failed dump leaves no half document.
    CliRecordWriter writer(out, args.format, FieldsOf(args.type));
    writer.Begin();
    // With the lines of the application's own record, as the detail dialogs show them.
    const CxAppDescriptor* app = apps.Find(args.source);
    CliSession::ForEachRecord(*connector, args.type, [&](auto* record, int /*status*/) {
        writer.Write(record,
                     app != nullptr && record != nullptr ? DescribeNative(*app, *record) : CxRecordLines());
    });
    writer.End();
    return kCliExitOk;
}
