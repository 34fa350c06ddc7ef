#include "ACT/ACTApp.h"

#include <memory>
#include <span>
#include <string_view>

#include "ACT/ACTFieldTable.h"
#include "ACT/ACTProtocol.h"
#include "ACT/ACTRecords.h"
#include "ACT/CxACTAddrUtil.h"
#include "ACT/CxACTDateUtil.h"
#include "ACT/CxACTNoteUtil.h"
#include "ACT/CxACTTaskUtil.h"
#include "misc/Settings.h"

namespace {

// Every field of the native record behind a common record, by its layout name.
template <class Comm> CxRecordLines DescribeFields(std::span<const CxLayoutField> fields, const Comm& record)
{
    CxRecordLines lines;
    if (record.NativeRecord == nullptr) {
        return lines;
    }
    for (const CxLayoutField& field : fields) {
        lines.push_back(CxRecordLine{field.Name, LayoutFieldText(field, record.NativeRecord)});
    }
    return lines;
}

// The filled fields of a native contact, by the labels of the field table.
CxRecordLines DescribeContact(const CommAddrRec& record)
{
    CxRecordLines lines;
    const auto* native = static_cast<const ACTAddrRec*>(record.NativeRecord);
    if (native == nullptr) {
        return lines;
    }
    for (const ACTFieldInfo& info : ACTContactFieldTable()) {
        std::string text = ACTContactFieldText(*native, info.Id);
        const bool empty =
            text.empty() || (info.Type != ACTFieldTypeText && (text == "0" || text == "0.000000"));
        if (!empty) {
            lines.push_back(CxRecordLine{info.Label, std::move(text)});
        }
    }
    return lines;
}

} // namespace

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

    app.creators[kDataContacts] = [] { return std::make_unique<CxACTAddrUtil>(); };
    app.creators[kDataCalendar] = [] { return std::make_unique<CxACTDateUtil>(); };
    app.creators[kDataTasks] = [] { return std::make_unique<CxACTTaskUtil>(); };
    app.creators[kDataNotes] = [] { return std::make_unique<CxACTNoteUtil>(); };
    app.helperPrograms[kDataContacts] = ACTAddrFiles.helperName;
    app.helperPrograms[kDataCalendar] = ACTDateFiles.helperName;
    app.helperPrograms[kDataTasks] = ACTTaskFiles.helperName;
    app.helperPrograms[kDataNotes] = ACTNoteFiles.helperName;

    app.contactFields = [] {
        std::vector<CxAppField> fields;
        for (const ACTFieldInfo& info : ACTContactFieldTable()) {
            // Flags are offered as numbers: the mapping copies no value from them.
            const int type = info.Type == ACTFieldTypeDate   ? kAppFieldDate
                             : info.Type == ACTFieldTypeFlag ? kAppFieldNumber
                                                             : kAppFieldText;
            fields.push_back(CxAppField{info.Id, info.Label, type, info.Width});
        }
        return fields;
    };
    app.contactFieldText = [](const CommAddrRec& record, int fieldId, std::string& text) {
        std::string_view value;
        if (record.NativeRecord == nullptr ||
            !ACTMappedFieldText(*static_cast<const ACTAddrRec*>(record.NativeRecord), fieldId, &value)) {
            return false;
        }
        text.assign(value);
        return true;
    };
    app.describeContact = DescribeContact;
    app.describeEvent = [](const CommDateRec& r) { return DescribeFields(ACTDateFields(), r); };
    app.describeTask = [](const CommTaskRec& r) { return DescribeFields(ACTTaskFields(), r); };
    app.describeNote = [](const CommNoteRec& r) { return DescribeFields(ACTNoteFields(), r); };
    return app;
}
