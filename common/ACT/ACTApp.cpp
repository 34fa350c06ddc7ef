#include "ACT/ACTApp.h"

#include "misc/Settings.h"

namespace {

ConnectorConfig MakeConfig(DataType type, const FWSettings& settings, const std::string& workingFolder)
{
    ConnectorConfig config;
    config.dataFolder = workingFolder;
    config.logFolder = workingFolder;
    config.enableDebug = settings.EnableDebug;
    config.logLevel = settings.LogLevel;
    config.database = settings.ACTPadName;
    config.userName = settings.ACTUserName;
    config.password = settings.ACTPasswordText;
    if (type == kDataTasks) {
        config.opportunities = settings.Opp;
        config.opportunityNotes = settings.OppNotes;
    }
    return config;
}

} // namespace

CxAppDescriptor ACTAppDescriptor()
{
    CxAppDescriptor app;
    app.kind = kAppACT;
    app.name = "ACT!";
    app.helperUtility = true;
    app.statusFiles[kDataContacts] = "ACTAddrStatus.dat";
    app.statusFiles[kDataCalendar] = "ACTDateStatus.dat";
    app.statusFiles[kDataTasks] = "ACTTaskStatus.dat";
    app.statusFiles[kDataNotes] = "ACTNoteStatus.dat";
    app.makeConfig = [](DataType type, const FWSettings& settings, const std::string& workingFolder) {
        return std::optional<ConnectorConfig>(MakeConfig(type, settings, workingFolder));
    };
    app.customMapping = &FWSettings::ACTCustom;
    app.customFirstID = kCustomIDACT;
    app.optionPage = "TfmACTOption";
    app.dataPage = "TfmACTData";
    return app;
}
