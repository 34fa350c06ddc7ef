#include "outlook/OLApp.h"

#include "misc/Settings.h"
#include "outlook/OlAddrFieldTable.h"
#include "outlook/OlAddrRec.h"
#include "outlook/OlAddrUtil.h"
#include "outlook/OlDateUtil.h"
#include "outlook/OlNoteUtil.h"
#include "outlook/OlTaskUtil.h"

CxAppDescriptor OLAppDescriptor()
{
    CxAppDescriptor app;
    app.kind = kAppOutlook;
    app.name = "Outlook";
    app.customMapping = &FWSettings::OLCustom;
    app.customFirstID = kCustomIDOutlook;
    app.contactFields = [] {
        std::vector<CxAppField> fields;
        for (int index = 0; index < OlAddrFieldCount(); ++index) {
            OlFieldInfo info{};
            if (OlAddrFieldEntry(OlAddrFieldCode(index), &info)) {
                const int type = info.Type == kOlFieldDate   ? kAppFieldDate
                                 : info.Type == kOlFieldLong ? kAppFieldNumber
                                                             : kAppFieldText;
                fields.push_back(CxAppField{info.Code, info.Label, type, info.Width});
            }
        }
        return fields;
    };
    app.contactFieldText = [](const CommAddrRec& record, int fieldId, std::string& text) {
        return record.NativeRecord != nullptr &&
               OlAddrFieldText(*static_cast<const OlAddrRec*>(record.NativeRecord), fieldId, text);
    };
    app.optionPage = "TfmOLOption";
    app.dataPage = "TfmOLData";
    return app;
}

CxAppDescriptor OLAppDescriptor(OlSession& session)
{
    CxAppDescriptor app = OLAppDescriptor();
    OlSession* shared = &session;
    app.creators[kDataContacts] = [shared] { return std::make_unique<OlAddrUtil>(*shared); };
    app.creators[kDataCalendar] = [shared] { return std::make_unique<OlDateUtil>(*shared); };
    app.creators[kDataTasks] = [shared] { return std::make_unique<OlTaskUtil>(*shared); };
    app.creators[kDataNotes] = [shared] { return std::make_unique<OlNoteUtil>(*shared); };
    return app;
}
