#include "SalesForce/SFApp.h"

#include "misc/Settings.h"

namespace {

ConnectorConfig MakeConfig(DataType type, const FWSettings& settings, const std::string& workingFolder)
{
    ConnectorConfig config;
    config.dataFolder = workingFolder;
    config.logFolder = workingFolder;
    config.enableDebug = settings.EnableDebug;
    config.logLevel = settings.LogLevel;
    config.userName = settings.SFUserName;
    config.password = settings.SFPasswordText;
    config.token = settings.SFTokenText;
    if (type == kDataContacts) {
        config.addrAccount = settings.SFAddrAccount;
        config.addrContact = settings.SFAddrContact;
        config.addrLead = settings.SFAddrLead;
    }
    return config;
}

} // namespace

CxAppDescriptor SFAppDescriptor()
{
    CxAppDescriptor app;
    app.kind = kAppSalesForce;
    app.name = "salesforce";
    app.helperUtility = true;
    app.statusFiles[kDataContacts] = "SFAddrStatus.dat";
    app.statusFiles[kDataCalendar] = "SFDateStatus.dat";
    app.statusFiles[kDataTasks] = "SFTaskStatus.dat";
    app.statusFiles[kDataNotes] = "SFNoteStatus.dat";
    app.makeConfig = [](DataType type, const FWSettings& settings, const std::string& workingFolder) {
        return std::optional<ConnectorConfig>(MakeConfig(type, settings, workingFolder));
    };
    return app;
}
