#include "Dynamics/DNApp.h"

#include "misc/Settings.h"

namespace {

ConnectorConfig MakeConfig(DataType type, const FWSettings& settings, const std::string& workingFolder)
{
    ConnectorConfig config;
    config.dataFolder = workingFolder;
    config.logFolder = workingFolder;
    config.enableDebug = settings.EnableDebug;
    config.logLevel = settings.LogLevel;
    config.hostName = settings.DNHostName;
    config.organisation = settings.DNOrg;
    config.userName = settings.DNLiveID;
    config.password = settings.DNPasswordText;
    config.authMode = settings.DNAuthMode;
    if (type == kDataContacts) {
        config.addrAccount = settings.DNAddrAccount;
        config.addrContact = settings.DNAddrContact;
        config.addrLead = settings.DNAddrLead;
    }
    return config;
}

} // namespace

CxAppDescriptor DNAppDescriptor()
{
    CxAppDescriptor app;
    app.kind = kAppDynamics;
    app.name = "Dynamics CRM";
    app.helperUtility = true;
    app.statusFiles[kDataContacts] = "DNAddrStatus.dat";
    app.statusFiles[kDataCalendar] = "DNDateStatus.dat";
    app.statusFiles[kDataTasks] = "DNTaskStatus.dat";
    app.statusFiles[kDataNotes] = "DNNoteStatus.dat";
    app.makeConfig = [](DataType type, const FWSettings& settings, const std::string& workingFolder) {
        return std::optional<ConnectorConfig>(MakeConfig(type, settings, workingFolder));
    };
    return app;
}
