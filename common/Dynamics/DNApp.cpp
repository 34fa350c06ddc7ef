#include "Dynamics/DNApp.h"

#include <memory>

#include "Dynamics/CxDNAddrUtil.h"
#include "Dynamics/CxDNDateUtil.h"
#include "Dynamics/CxDNNoteUtil.h"
#include "Dynamics/CxDNTaskUtil.h"
#include "misc/Settings.h"

namespace {

template <class Rec> CxRecordLines Describe(const CxCRMLayout& layout, const Rec& record)
{
    return DescribeCRMRecord(layout, record.NativeRecord);
}

} // namespace

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
    app.creators[kDataContacts] = [] { return std::make_unique<CxDNAddrUtil>(); };
    app.creators[kDataCalendar] = [] { return std::make_unique<CxDNDateUtil>(); };
    app.creators[kDataTasks] = [] { return std::make_unique<CxDNTaskUtil>(); };
    app.creators[kDataNotes] = [] { return std::make_unique<CxDNNoteUtil>(); };
    app.helperPrograms[kDataContacts] = DNAddrFiles.helperName;
    app.helperPrograms[kDataCalendar] = DNDateFiles.helperName;
    app.helperPrograms[kDataTasks] = DNTaskFiles.helperName;
    app.helperPrograms[kDataNotes] = DNNoteFiles.helperName;
    app.describeContact = [](const CommAddrRec& record) { return Describe(DNAddrLayout(), record); };
    app.describeEvent = [](const CommDateRec& record) { return Describe(DNDateLayout(), record); };
    app.describeTask = [](const CommTaskRec& record) { return Describe(DNTaskLayout(), record); };
    app.describeNote = [](const CommNoteRec& record) { return Describe(DNNoteLayout(), record); };
    return app;
}
