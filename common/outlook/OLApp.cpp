#include "outlook/OLApp.h"

#include "misc/Settings.h"

CxAppDescriptor OLAppDescriptor()
{
    CxAppDescriptor app;
    app.kind = kAppOutlook;
    app.name = "Outlook";
    app.customMapping = &FWSettings::OLCustom;
    app.customFirstID = kCustomIDOutlook;
    app.optionPage = "TfmOLOption";
    app.dataPage = "TfmOLData";
    return app;
}
