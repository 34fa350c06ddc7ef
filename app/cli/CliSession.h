#pragma once
// One run of the driver for a command: the front end set, the session begun, and at the end
// the session ended without saving the settings, so that options given on the command line
// never reach the user's settings file.
#include <istream>
#include <string>

#include "cli/CliArguments.h"
#include "engine/FrontEnd.h"
#include "engine/MigrationDriver.h"
#include "misc/CxConnector.h"
#include "misc/CxStoreVisit.h"

class CliSession
{
public:
    CliSession(const CxAppRegistry& apps, IFrontEnd& frontEnd);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    // --palm-folder and --palm-user for this run (the user into PDUserID). False, with the
    // reason, when the folder or the user cannot be found.
    static bool ApplyPalmOptions(const CliArguments& args, std::string& error);
    // --outlook-file and --outlook-password-stdin for this run (the password from the first
    // line of input). False, with the reason, when no data file is named or it cannot be
    // opened (a wrong password, say), so that nothing is loaded from it.
    static bool ApplyOutlookOptions(const CliArguments& args, std::istream& input, std::string& error);
    // A Google source: --google-folder names the export folder for this run; without it,
    // the setting's folder. Refused, with the reason, when neither names a folder.
    static bool ApplyGoogleOptions(const CliArguments& args, std::string& error);
    // An ACT! source: --act-pad, --act-user and --act-password-stdin (the password from the
    // first line of input) for this run; without them, the settings' .pad file, user and
    // password. Refused, with the reason, when no .pad file is named or it is not there.
    static bool ApplyACTOptions(const CliArguments& args, std::istream& input, std::string& error);

    // Calls visit(record, status) for every record in the store of the connector's data type,
    // in load order; record points into the store, as its own type (CommAddrRec*,
    // CommDateRec*, ...).
    template <class Visit> static void ForEachRecord(CxConnector& connector, DataType type, Visit visit)
    {
        VisitStore(connector, type, [&visit](auto* store) {
            if (store == nullptr) {
                return;
            }
            for (auto* record = store->First(); record != nullptr; record = store->Next()) {
                visit(record, record->Status);
            }
        });
    }
};
