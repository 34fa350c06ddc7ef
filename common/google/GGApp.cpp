#include "google/GGApp.h"

#include "misc/Settings.h"

namespace {

ConnectorConfig MakeConfig(DataType /*type*/, const FWSettings& settings, const std::string& workingFolder)
{
    ConnectorConfig config;
    config.dataFolder = workingFolder;
    config.logFolder = workingFolder;
    config.enableDebug = settings.EnableDebug;
    config.logLevel = settings.LogLevel;
    config.userName = settings.GGEmail;
    config.password = settings.GGPasswordText;
    return config;
}

} // namespace

CxAppDescriptor GGAppDescriptor()
{
    CxAppDescriptor app;
    app.kind = kAppGoogle;
    app.name = "Google";
    app.helperUtility = true;
    app.statusFiles[kDataContacts] = "GAddrStatus.dat";
    app.statusFiles[kDataCalendar] = "GDateStatus.dat";
    app.makeConfig = [](DataType type, const FWSettings& settings, const std::string& workingFolder) {
        return std::optional<ConnectorConfig>(MakeConfig(type, settings, workingFolder));
    };
    app.customMapping = &FWSettings::GGCustom;
    app.customFirstID = kCustomIDGoogle;
    app.optionPage = "TfmGGOption";
    app.dataPage = "TfmGGData";
    return app;
}
