#include "google/GGApp.h"

#include "misc/Settings.h"

CxAppDescriptor GGAppDescriptor()
{
    CxAppDescriptor app =
        HelperAppDescriptor(kAppGoogle, "Google", "G", {kDataContacts, kDataCalendar},
                            [](DataType /*type*/, const FWSettings& settings, ConnectorConfig& config) {
                                config.userName = settings.GGEmail;
                                config.password = settings.GGPasswordText;
                            });
    app.customMapping = &FWSettings::GGCustom;
    app.customFirstID = kCustomIDGoogle;
    app.optionPage = "TfmGGOption";
    app.dataPage = "TfmGGData";
    return app;
}
