#include "google/GGApp.h"

#include <memory>

#include "google/CxGDateUtil.h"

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
    // The calendar.
    app.creators[kDataCalendar] = [] { return std::make_unique<CxGDateUtil>(); };
    app.helperPrograms[kDataCalendar] = GDateExchangeFiles.helperName;
    app.describeEvent = DescribeGDateEvent;
    return app;
}
