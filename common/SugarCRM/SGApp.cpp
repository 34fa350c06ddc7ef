#include "SugarCRM/SGApp.h"

#include "misc/Settings.h"

namespace {

ConnectorConfig MakeConfig(DataType type, const FWSettings& settings, const std::string& workingFolder)
{
    ConnectorConfig config;
    config.dataFolder = workingFolder;
    config.logFolder = workingFolder;
    config.enableDebug = settings.EnableDebug;
    config.logLevel = settings.LogLevel;
    config.userName = settings.SGUserName;
    config.password = settings.SGPasswordText;
    config.hostName = settings.SGHostName;
    if (type == kDataContacts) {
        config.addrAccount = settings.SGAddrAccount;
        config.addrContact = settings.SGAddrContact;
        config.addrLead = settings.SGAddrLead;
    }
    return config;
}

} // namespace

CxAppDescriptor SGAppDescriptor()
{
    CxAppDescriptor app;
    app.kind = kAppSugarCRM;
    app.name = "SugarCRM";
    app.helperUtility = true;
    app.statusFiles[kDataContacts] = "SGAddrStatus.dat";
    app.statusFiles[kDataCalendar] = "SGDateStatus.dat";
    app.statusFiles[kDataTasks] = "SGTaskStatus.dat";
    app.statusFiles[kDataNotes] = "SGNoteStatus.dat";
    app.makeConfig = [](DataType type, const FWSettings& settings, const std::string& workingFolder) {
        return std::optional<ConnectorConfig>(MakeConfig(type, settings, workingFolder));
    };
    return app;
}
