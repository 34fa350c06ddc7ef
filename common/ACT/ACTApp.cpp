#include "ACT/ACTApp.h"

#include "misc/Settings.h"

CxAppDescriptor ACTAppDescriptor()
{
    CxAppDescriptor app =
        HelperAppDescriptor(kAppACT, "ACT!", "ACT", {kDataContacts, kDataCalendar, kDataTasks, kDataNotes},
                            [](DataType type, const FWSettings& settings, ConnectorConfig& config) {
                                config.database = settings.ACTPadName;
                                config.userName = settings.ACTUserName;
                                config.password = settings.ACTPasswordText;
                                if (type == kDataTasks) {
                                    config.opportunities = settings.Opp;
                                    config.opportunityNotes = settings.OppNotes;
                                }
                            });
    app.customMapping = &FWSettings::ACTCustom;
    app.customFirstID = kCustomIDACT;
    app.optionPage = "TfmACTOption";
    app.dataPage = "TfmACTData";
    return app;
}
