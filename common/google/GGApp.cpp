#include "google/GGApp.h"

#include <memory>
#include <string_view>

#include "google/CxGAddrUtil.h"
#include "google/CxGDateUtil.h"
#include "google/GGAddrFieldTable.h"
#include "misc/Settings.h"

namespace {

// The filled fields of a native contact, by the labels of the field table, then its category.
CxRecordLines DescribeContact(const CommAddrRec& record)
{
    CxRecordLines lines;
    const auto* native = static_cast<const GGAddrRec*>(record.NativeRecord);
    if (native == nullptr) {
        return lines;
    }
    for (const GGAddrFieldInfo& field : GGAddrFieldTable()) {
        std::string text = GGAddrFieldText(*native, field.Id);
        if (!text.empty()) {
            lines.push_back(CxRecordLine{field.Label, std::move(text)});
        }
    }
    if (native->Category[0] != '\0') {
        lines.push_back(CxRecordLine{"Category", std::string(FieldText(native->Category))});
    }
    return lines;
}

} // namespace

CxAppDescriptor GGAppDescriptor()
{
    CxAppDescriptor app =
        HelperAppDescriptor(kAppGoogle, "Google", "G", {kDataContacts, kDataCalendar},
                            [](DataType /*type*/, const FWSettings& settings, ConnectorConfig& config) {
                                config.database = settings.GGFolder;
                                config.userName = settings.GGEmail;
                                config.password = settings.GGPasswordText;
                            });
    app.customMapping = &FWSettings::GGCustom;
    app.customFirstID = kCustomIDGoogle;
    app.optionPage = "TfmGGOption";
    app.dataPage = "TfmGGData";

    app.creators[kDataContacts] = [] { return std::make_unique<CxGAddrUtil>(); };
    app.helperPrograms[kDataContacts] = GGAddrFiles.helperName;
    app.contactFields = [] {
        std::vector<CxAppField> fields;
        for (const GGAddrFieldInfo& info : GGAddrFieldTable()) {
            fields.push_back(CxAppField{info.Id, info.Label,
                                        info.Type == GGAddrFieldTypeDate ? kAppFieldDate : kAppFieldText,
                                        info.Width});
        }
        return fields;
    };
    app.contactFieldText = [](const CommAddrRec& record, int fieldId, std::string& text) {
        std::string_view value;
        if (record.NativeRecord == nullptr ||
            !GGAddrTextField(*static_cast<const GGAddrRec*>(record.NativeRecord), fieldId, &value)) {
            return false;
        }
        text.assign(value);
        return true;
    };
    app.describeContact = DescribeContact;

    // The calendar.
    app.creators[kDataCalendar] = [] { return std::make_unique<CxGDateUtil>(); };
    app.helperPrograms[kDataCalendar] = GDateExchangeFiles.helperName;
    app.describeEvent = DescribeGDateEvent;
    return app;
}
