#include "lotus/LNApp.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <span>

#include "lotus/CxLNAddrUtil.h"
#include "lotus/CxLNDateUtil.h"
#include "lotus/CxLNNoteUtil.h"
#include "lotus/CxLNTaskUtil.h"
#include "lotus/LNFieldTable.h"
#include "lotus/LNProtocol.h"
#include "lotus/LNRecords.h"
#include "misc/Settings.h"

namespace {

template <class Comm> CxRecordLines DescribeFields(std::span<const LNFieldDesc> fields, const Comm& record)
{
    CxRecordLines lines;
    if (record.NativeRecord == nullptr) {
        return lines;
    }
    for (const LNFieldDesc& field : fields) {
        lines.push_back(CxRecordLine{field.Name, LayoutFieldText(field, record.NativeRecord)});
    }
    return lines;
}

ConnectorConfig MakeConfig(DataType type, const FWSettings& settings, const std::string& workingFolder)
{
    ConnectorConfig config = HelperConnectorConfig(settings, workingFolder);
    config.database = type == kDataContacts ? settings.LNAddrName
                      : type == kDataNotes
                          ? settings.LNNoteName
                          : settings.LNDateName; // calendar and tasks share the mail database
    config.idFile = settings.LNIDFile;
    return config;
}

} // namespace

CxAppDescriptor LNAppDescriptor()
{
    CxAppDescriptor app;
    app.kind = kAppNotes;
    app.name = "Lotus Notes";
    app.creators[kDataContacts] = [] { return std::make_unique<CxLNAddrUtil>(); };
    app.creators[kDataCalendar] = [] { return std::make_unique<CxLNDateUtil>(); };
    app.creators[kDataTasks] = [] { return std::make_unique<CxLNTaskUtil>(); };
    app.creators[kDataNotes] = [] { return std::make_unique<CxLNNoteUtil>(); };
    app.helperUtility = true;
    const LNExchange* exchanges[kDataTypeCount] = {&LNAddrExchange, &LNDateExchange, &LNTaskExchange,
                                                   &LNNoteExchange};
    for (DataType type : kAllDataTypes) {
        app.helperPrograms[type] = exchanges[type]->files.helperName;
        app.statusFiles[type] = exchanges[type]->files.statusFile;
    }
    app.makeConfig = [](DataType type, const FWSettings& settings, const std::string& workingFolder) {
        return std::optional<ConnectorConfig>(MakeConfig(type, settings, workingFolder));
    };
    app.customMapping = &FWSettings::LNCustom;
    app.customFirstID = kCustomIDNotes;
    app.contactFields = [] {
        std::vector<CxAppField> fields;
        for (const LNFieldInfo& info : LNContactFieldTable()) {
            fields.push_back(CxAppField{info.Id, info.Label,
                                        info.Type == LNFieldTypeDate ? kAppFieldDate : kAppFieldText,
                                        info.Width});
        }
        return fields;
    };
    app.contactFieldText = [](const CommAddrRec& record, int fieldId, std::string& text) {
        std::string_view value;
        if (record.NativeRecord == nullptr ||
            !LNMappedFieldText(*static_cast<const LNAddrRec*>(record.NativeRecord), fieldId, &value)) {
            return false;
        }
        text.assign(value);
        return true;
    };
    app.describeContact = [](const CommAddrRec& r) { return DescribeFields(LNAddrFields(), r); };
    app.describeEvent = [](const CommDateRec& r) { return DescribeFields(LNDateFields(), r); };
    app.describeTask = [](const CommTaskRec& r) { return DescribeFields(LNTaskFields(), r); };
    app.describeNote = [](const CommNoteRec& r) { return DescribeFields(LNNoteFields(), r); };
    return app;
}
