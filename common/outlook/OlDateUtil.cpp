#include "outlook/OlDateUtil.h"

namespace {

const OlItemTexts kTexts = {
    "Failed to get the name of the folder. hr=0x%x",
    "Got the name of the Calendar folder: %s",
    "Failed to get the StoreID of the Calendar folder. hr=0x%x",
    "Got the StoreID of the Calendar folder: %s",
    "Failed to get Calendar Items property.",
    "Failed to get the \"Items\" property of the Calendar folder. hr=0x%x",
    "Failed to get the \"Items\" property of the Calendar folder.",
    "Failed to call \"Add\" method. hr=0x%x",
    "Failed to get the Calendar event item by index: %d. hr=0x%x",
    "Failed to call \"GetDefaultFolder\" method. hr=0x%x",
    "Get Outlook Calendar root folder successfully.",
};

// A changed event is written from the submitted record alone.
constexpr OlItemKind kKind = {olFolderCalendar, olAppointmentItem, false, false, true};

constexpr int kTextSize = 255;   // 254 characters
constexpr int kBodySize = 20479; // 20478 characters

} // namespace

OlDateUtil::OlDateUtil(OlSession& session) : OlItemUtil(session, kKind, kTexts)
{
    OlDateUtil::Init();
}

OlDateUtil::~OlDateUtil()
{
    OlDateUtil::Close();
}

bool OlDateUtil::SubmitRecord(const CommDateRec& record, bool /*writeNow*/)
{
    return Submit(record);
}

void OlDateUtil::ToCommon(const OlDateRec& native, CommDateRec& record)
{
    FromNative(native, record, m_session.GetVersionClass());
}

void OlDateUtil::ToOutlook(const CommDateRec& record, OlDateRec& native)
{
    ToNative(record, native, m_session.GetVersionClass());
}

bool OlDateUtil::ReadItem(CDispCmd& item, OlDateRec& native)
{
    item.GetStringProp(u"EntryID", native.EntryID, static_cast<int>(sizeof native.EntryID) - 1);
    item.GetBoolProp(u"AllDayEvent", &native.AllDayEvent);
    item.GetLongProp(u"Duration", &native.Duration);
    item.GetDateProp(u"End", &native.End);
    item.GetDateProp(u"Start", &native.Start);
    item.GetBoolProp(u"ReminderSet", &native.ReminderSet);
    if (OlUsesReminderTime(m_session.GetVersionClass())) {
        item.GetDateProp(u"ReminderTime", &native.ReminderTime);
    } else {
        item.GetLongProp(u"ReminderMinutesBeforeStart", &native.ReminderMinutesBeforeStart);
    }
    item.GetStringProp(u"Subject", native.Subject, kTextSize);
    item.GetStringProp(u"Body", native.Body, kBodySize);
    item.GetStringProp(u"Location", native.Location, kTextSize);
    item.GetStringProp(u"Categories", native.Categories, kTextSize);
    item.GetBoolProp(u"IsRecurring", &native.IsRecurring);
    OlReadRecurrence(item, native.IsRecurring != 0, native);
    item.GetDateProp(u"CreationTime", &native.CreationTime);
    item.GetDateProp(u"LastModificationTime", &native.LastModificationTime);
    return true;
}

void OlDateUtil::WriteItem(CDispCmd& item, const OlDateRec& native)
{
    item.PutBoolProp(u"AllDayEvent", native.AllDayEvent);
    item.PutLongProp(u"Duration", native.Duration);
    item.PutDateProp(u"Start", native.Start);
    item.PutBoolProp(u"ReminderSet", native.ReminderSet);
    if (OlUsesReminderTime(m_session.GetVersionClass())) {
        item.PutDateProp(u"ReminderTime", native.ReminderTime);
    } else {
        item.PutLongProp(u"ReminderMinutesBeforeStart", native.ReminderMinutesBeforeStart);
    }
    item.PutStringProp(u"Subject", native.Subject);
    item.PutStringProp(u"Body", native.Body);
    item.PutStringProp(u"Location", native.Location);
    item.PutStringProp(u"Categories", native.Categories);
    OlWriteRecurrence(item, native);
    item.CallMethod(u"Save", nullptr);
}
