#include "SugarCRM/SGApp.h"

#include <memory>

#include "SugarCRM/CxSGAddrUtil.h"
#include "SugarCRM/CxSGDateUtil.h"
#include "SugarCRM/CxSGNoteUtil.h"
#include "SugarCRM/CxSGTaskUtil.h"
#include "misc/Settings.h"

namespace {

template <class Rec> CxRecordLines Describe(const CxCRMLayout& layout, const Rec& record)
{
    return DescribeCRMRecord(layout, record.NativeRecord);
}

} // namespace

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
    app.creators[kDataContacts] = [] { return std::make_unique<CxSGAddrUtil>(); };
    app.creators[kDataCalendar] = [] { return std::make_unique<CxSGDateUtil>(); };
    app.creators[kDataTasks] = [] { return std::make_unique<CxSGTaskUtil>(); };
    app.creators[kDataNotes] = [] { return std::make_unique<CxSGNoteUtil>(); };
    app.helperPrograms[kDataContacts] = SGAddrFiles.helperName;
    app.helperPrograms[kDataCalendar] = SGDateFiles.helperName;
    app.helperPrograms[kDataTasks] = SGTaskFiles.helperName;
    app.helperPrograms[kDataNotes] = SGNoteFiles.helperName;
    app.describeContact = [](const CommAddrRec& record) { return Describe(SGAddrLayout(), record); };
    app.describeEvent = [](const CommDateRec& record) { return Describe(SGDateLayout(), record); };
    app.describeTask = [](const CommTaskRec& record) { return Describe(SGTaskLayout(), record); };
    app.describeNote = [](const CommNoteRec& record) { return Describe(SGNoteLayout(), record); };
    return app;
}
