#include "SalesForce/SFApp.h"

#include "misc/Settings.h"

CxAppDescriptor SFAppDescriptor()
{
    CxAppDescriptor app = HelperAppDescriptor(
        kAppSalesForce, "salesforce", "SF", {kDataContacts, kDataCalendar, kDataTasks, kDataNotes},
        [](DataType type, const FWSettings& settings, ConnectorConfig& config) {
            config.userName = settings.SFUserName;
            config.password = settings.SFPasswordText;
            config.token = settings.SFTokenText;
            if (type == kDataContacts) {
                config.addrAccount = settings.SFAddrAccount;
                config.addrContact = settings.SFAddrContact;
                config.addrLead = settings.SFAddrLead;
            }
        });
    return app;
}
