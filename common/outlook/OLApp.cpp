#include "outlook/OLApp.h"

#include <string>

#include "misc/CxDateTime.h"
#include "misc/Settings.h"
#include "outlook/OlAddrFieldTable.h"
#include "outlook/OlAddrRec.h"
#include "outlook/OlAddrUtil.h"
#include "outlook/OlDateUtil.h"
#include "outlook/OlNoteUtil.h"
#include "outlook/OlTaskUtil.h"

namespace {

std::string DateText(double date)
{
    if (date <= 0.0) {
        return {};
    }
    char text[64] = {};
    CxDateTime(date).FormatDateTime(text);
    return text;
}

std::string Number(std::int32_t value)
{
    return std::to_string(value);
}

std::string YesNo(std::uint8_t value)
{
    return value != 0 ? "Yes" : "No";
}

// The repeat pattern's lines of a recurring item.
void AddPattern(CxRecordLines& lines, std::int32_t type, std::int32_t interval, std::int32_t mask,
                std::int32_t dayOfMonth, std::int32_t instance, std::int32_t monthOfYear, double end)
{
    static const char* const kTypes[] = {"Daily", "Weekly", "Monthly", "Month Nth", "", "Yearly", "Year Nth"};
    lines.push_back({"Recurrence Type", type >= 0 && type < 7 ? kTypes[type] : Number(type)});
    lines.push_back({"Interval", Number(interval)});
    lines.push_back({"Day Of Week Mask", Number(mask)});
    lines.push_back({"Day Of Month", Number(dayOfMonth)});
    lines.push_back({"Instance", Number(instance)});
    lines.push_back({"Month Of Year", Number(monthOfYear)});
    lines.push_back({"Pattern End Date", DateText(end)});
}

} // namespace

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
    app.describeContact = [](const CommAddrRec& record) {
        CxRecordLines lines;
        const auto* native = record.NativeSize == sizeof(OlAddrRec)
                                 ? static_cast<const OlAddrRec*>(record.NativeRecord)
                                 : nullptr;
        for (int index = 0; native != nullptr && index < OlAddrFieldCount(); ++index) {
            OlFieldInfo info{};
            std::string text;
            if (OlAddrFieldEntry(OlAddrFieldCode(index), &info) &&
                OlAddrFieldText(*native, info.Code, text)) {
                lines.push_back({info.Label, text});
            }
        }
        return lines;
    };
    app.describeEvent = [](const CommDateRec& record) {
        CxRecordLines lines;
        const auto* e = record.NativeSize == sizeof(OlDateRec)
                            ? static_cast<const OlDateRec*>(record.NativeRecord)
                            : nullptr;
        if (e == nullptr) {
            return lines;
        }
        lines = {{"Subject", e->Subject},
                 {"Location", e->Location},
                 {"Start", DateText(e->Start)},
                 {"End", DateText(e->End)},
                 {"All Day Event", YesNo(e->AllDayEvent)},
                 {"Duration", Number(e->Duration)},
                 {"Reminder Set", YesNo(e->ReminderSet)},
                 {"Reminder Minutes Before Start", Number(e->ReminderMinutesBeforeStart)},
                 {"Categories", e->Categories},
                 {"Body", e->Body},
                 {"Is Recurring", YesNo(e->IsRecurring)}};
        if (e->IsRecurring != 0) {
            AddPattern(lines, e->RecurrenceType, e->Interval, e->DayOfWeekMask, e->DayOfMonth, e->Instance,
                       e->MonthOfYear, e->PatternEndDate);
        }
        lines.push_back({"Creation Time", DateText(e->CreationTime)});
        lines.push_back({"Last Modification Time", DateText(e->LastModificationTime)});
        return lines;
    };
    app.describeTask = [](const CommTaskRec& record) {
        CxRecordLines lines;
        const auto* t = record.NativeSize == sizeof(OlTaskRec)
                            ? static_cast<const OlTaskRec*>(record.NativeRecord)
                            : nullptr;
        if (t == nullptr) {
            return lines;
        }
        static const char* const kImportance[] = {"Low", "Normal", "High"};
        lines = {{"Subject", t->Subject},
                 {"Start Date", DateText(t->StartDate)},
                 {"Due Date", DateText(t->DueDate)},
                 {"Complete", YesNo(t->Complete)},
                 {"Percent Complete", Number(t->PercentComplete)},
                 {"Status", Number(t->Status)},
                 {"Importance", t->Importance >= 0 && t->Importance < 3 ? kImportance[t->Importance]
                                                                        : Number(t->Importance)},
                 {"Reminder Set", YesNo(t->ReminderSet)},
                 {"Reminder Time", DateText(t->ReminderTime)},
                 {"Categories", t->Categories},
                 {"Body", t->Body},
                 {"Is Recurring", YesNo(t->IsRecurring)}};
        if (t->IsRecurring != 0) {
            AddPattern(lines, t->RecurrenceType, t->Interval, t->DayOfWeekMask, t->DayOfMonth, t->Instance,
                       t->MonthOfYear, t->PatternEndDate);
        }
        lines.push_back({"Creation Time", DateText(t->CreationTime)});
        lines.push_back({"Last Modification Time", DateText(t->LastModificationTime)});
        return lines;
    };
    app.describeNote = [](const CommNoteRec& record) {
        CxRecordLines lines;
        const auto* n = record.NativeSize == sizeof(OlNoteRec)
                            ? static_cast<const OlNoteRec*>(record.NativeRecord)
                            : nullptr;
        if (n == nullptr) {
            return lines;
        }
        lines = {{"Subject", n->Subject},
                 {"Body", n->Body},
                 {"Categories", n->Categories},
                 {"Color", Number(n->Color)},
                 {"Creation Time", DateText(n->CreationTime)},
                 {"Last Modification Time", DateText(n->LastModificationTime)}};
        return lines;
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
