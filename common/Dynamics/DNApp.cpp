#include "Dynamics/DNApp.h"

#include "misc/Settings.h"

CxAppDescriptor DNAppDescriptor()
{
    CxAppDescriptor app = HelperAppDescriptor(
        kAppDynamics, "Dynamics CRM", "DN", {kDataContacts, kDataCalendar, kDataTasks, kDataNotes},
        [](DataType type, const FWSettings& settings, ConnectorConfig& config) {
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
        });
    return app;
}
