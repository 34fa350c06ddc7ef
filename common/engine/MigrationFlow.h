#pragma once
// The load and submit flows: for one application kind, drive its connectors one data type after
// the other, keep the wait window informed, and turn any failure into one message box and one
// diagnostic log line. Every kind runs the same steps; what differs (texts, the order of a few
// steps) is one row of a table per kind. Status files, configuration and connectors come from
// the kind's descriptor in the session; a kind the table does not know gets the texts of the
// CRM kinds with its descriptor's name.
//
// Runs on the engine thread, like the driver that calls it.
#include <optional>
#include <string>

#include "engine/FrontEnd.h"
#include "misc/AppKind.h"
#include "misc/CxConnector.h"
#include "misc/Settings.h"

class MigrationFlow
{
public:
    // The load flow of kind, comparing every data type it loads with the registry's connector
    // of partner for that data type when one exists (kAppNone: no comparison). With only set,
    // that data type alone is loaded, whatever its settings switch says. False when a data
    // type failed (after its message) or the kind has no such flow.
    static bool Load(ParentWindow parent, AppKind kind, AppKind partner,
                     std::optional<DataType> only = std::nullopt);

    // The submit flow of the selection lists to target. False after a failed commit (after its
    // message) or when target has no submit flow. Exceptions from connectors pass through; the
    // wait window is stopped and the migration log closed on the way out.
    static bool Submit(ParentWindow parent, AppKind target);

    // Whether the kind has a load flow for the data type (Google has none for tasks and notes;
    // a kind outside the table has one for each data type its descriptor makes connectors of).
    static bool HasLoadFlow(AppKind kind, DataType type);
    static bool HasSubmitFlow(AppKind kind);
    // Kinds whose descriptor says their connectors work through helper programs (ACT!, Google,
    // Lotus Notes and the CRM kinds): an error flag and a commit step, files in the working folder.
    static bool IsHelperUtilityKind(AppKind kind);

    // What the connector of kind and type is given before it loads, as the kind's descriptor in
    // the session makes it (workingFolder ends in a separator); nullopt for kinds that take
    // nothing (Outlook) or that the session does not have.
    static std::optional<ConnectorConfig> MakeConfig(AppKind kind, DataType type, const FWSettings& settings,
                                                     const std::string& workingFolder);

    // What a load says of records whose texts lost characters to the ANSI code page: how many,
    // of which application and data type, and how to keep them. Empty for a count of 0.
    static std::string LossyRecordsText(AppKind kind, DataType type, int count);

    // Our error text for a connector the build cannot make.
    static std::string NoConnectorText(AppKind kind, DataType type);
};
