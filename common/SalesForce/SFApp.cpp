#include "SalesForce/SFApp.h"

#include <memory>

#include "SalesForce/CxSFAddrUtil.h"
#include "SalesForce/CxSFDateUtil.h"
#include "SalesForce/CxSFNoteUtil.h"
#include "SalesForce/CxSFTaskUtil.h"
#include "misc/Settings.h"

namespace {

template <class Rec> CxRecordLines Describe(const CxCRMLayout& layout, const Rec& record)
{
    return DescribeCRMRecord(layout, record.NativeRecord);
}

} // namespace

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
    app.creators[kDataContacts] = [] { return std::make_unique<CxSFAddrUtil>(); };
    app.creators[kDataCalendar] = [] { return std::make_unique<CxSFDateUtil>(); };
    app.creators[kDataTasks] = [] { return std::make_unique<CxSFTaskUtil>(); };
    app.creators[kDataNotes] = [] { return std::make_unique<CxSFNoteUtil>(); };
    app.helperPrograms[kDataContacts] = SFAddrFiles.helperName;
    app.helperPrograms[kDataCalendar] = SFDateFiles.helperName;
    app.helperPrograms[kDataTasks] = SFTaskFiles.helperName;
    app.helperPrograms[kDataNotes] = SFNoteFiles.helperName;
    app.describeContact = [](const CommAddrRec& record) { return Describe(SFAddrLayout(), record); };
    app.describeEvent = [](const CommDateRec& record) { return Describe(SFDateLayout(), record); };
    app.describeTask = [](const CommTaskRec& record) { return Describe(SFTaskLayout(), record); };
    app.describeNote = [](const CommNoteRec& record) { return Describe(SFNoteLayout(), record); };
    return app;
}
