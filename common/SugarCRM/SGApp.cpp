#include "SugarCRM/SGApp.h"

#include "misc/Settings.h"

CxAppDescriptor SGAppDescriptor()
{
    CxAppDescriptor app = HelperAppDescriptor(
        kAppSugarCRM, "SugarCRM", "SG", {kDataContacts, kDataCalendar, kDataTasks, kDataNotes},
        [](DataType type, const FWSettings& settings, ConnectorConfig& config) {
            config.userName = settings.SGUserName;
            config.password = settings.SGPasswordText;
            config.hostName = settings.SGHostName;
            if (type == kDataContacts) {
                config.addrAccount = settings.SGAddrAccount;
                config.addrContact = settings.SGAddrContact;
                config.addrLead = settings.SGAddrLead;
            }
        });
    return app;
}
