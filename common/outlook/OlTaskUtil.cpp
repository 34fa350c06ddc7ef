#include "outlook/OlTaskUtil.h"

namespace {

const OlItemTexts kTexts = {
    "Failed to get the name of the folder. hr=0x%x",
    "Got the name of the Task folder: %s",
    nullptr, // the StoreID is not read
    nullptr,
    "Failed to get the \"Items\" property of the Task folder. hr=0x%x",
    "Failed to get the \"Items\" property of the Task folder. hr=0x%x",
    "Failed to get the \"Items\" property of the Task folder. hr=0x%x",
    "Failed to call the \"Add\" method. hr=0x%x",
    "Failed to get the item by index: %d. hr=0x%x",
    nullptr,
    nullptr,
};

// A changed task starts from the item as loaded and goes into the store through its update.
constexpr OlItemKind kKind = {olFolderTasks, olTaskItem, true, true, true};

// Texts are read one character short of their buffers.
template <std::size_t N> int ReadSize(const char (&)[N])
{
    return static_cast<int>(N) - 1;
}

} // namespace

OlTaskUtil::OlTaskUtil(OlSession& session) : OlItemUtil(session, kKind, kTexts)
{
    OlTaskUtil::Init();
}

OlTaskUtil::~OlTaskUtil()
{
    OlTaskUtil::Close();
}

bool OlTaskUtil::SubmitRecord(const CommTaskRec& record, bool /*writeNow*/)
{
    return Submit(record);
}

bool OlTaskUtil::ReadItem(CDispCmd& item, OlTaskRec& n)
{
    item.GetStringProp(u"Body", n.Body, ReadSize(n.Body));
    item.GetStringProp(u"CardData", n.CardData, ReadSize(n.CardData));
    item.GetBoolProp(u"Complete", &n.Complete);
    item.GetDateProp(u"DueDate", &n.DueDate);
    item.GetStringProp(u"EntryID", n.EntryID, ReadSize(n.EntryID));
    item.GetLongProp(u"Importance", &n.Importance);
    item.GetBoolProp(u"IsRecurring", &n.IsRecurring);
    item.GetStringProp(u"Mileage", n.Mileage, ReadSize(n.Mileage));
    item.GetLongProp(u"Ordinal", &n.Ordinal);
    item.GetLongProp(u"PercentComplete", &n.PercentComplete);
    item.GetBoolProp(u"ReminderOverrideDefault", &n.ReminderOverrideDefault);
    item.GetBoolProp(u"ReminderPlaySound", &n.ReminderPlaySound);
    item.GetBoolProp(u"ReminderSet", &n.ReminderSet);
    item.GetStringProp(u"ReminderSoundFile", n.ReminderSoundFile, ReadSize(n.ReminderSoundFile));
    item.GetDateProp(u"ReminderTime", &n.ReminderTime);
    item.GetLongProp(u"ResponseState", &n.ResponseState);
    item.GetStringProp(u"Role", n.Role, ReadSize(n.Role));
    item.GetLongProp(u"Sensitivity", &n.Sensitivity);
    item.GetDateProp(u"StartDate", &n.StartDate);
    item.GetLongProp(u"Status", &n.Status);
    item.GetStringProp(u"Subject", n.Subject, ReadSize(n.Subject));
    item.GetBoolProp(u"TeamTask", &n.TeamTask);
    item.GetLongProp(u"TotalWork", &n.TotalWork);
    item.GetBoolProp(u"IsRecurring", &n.IsRecurring);
    OlReadRecurrence(item, n.IsRecurring != 0, n);
    item.GetStringProp(u"Categories", n.Categories, ReadSize(n.Categories));
    item.GetDateProp(u"CreationTime", &n.CreationTime);
    item.GetDateProp(u"LastModificationTime", &n.LastModificationTime);
    return true;
}

void OlTaskUtil::WriteItem(CDispCmd& item, const OlTaskRec& n)
{
    item.PutStringProp(u"Body", n.Body);
    item.PutStringProp(u"CardData", n.CardData);
    item.PutBoolProp(u"Complete", n.Complete);
    item.PutDateProp(u"DueDate", n.DueDate);
    item.PutLongProp(u"Importance", n.Importance);
    item.PutBoolProp(u"IsRecurring", n.IsRecurring);
    item.PutStringProp(u"Mileage", n.Mileage);
    item.PutLongProp(u"Ordinal", n.Ordinal);
    item.PutLongProp(u"PercentComplete", n.PercentComplete);
    item.PutBoolProp(u"ReminderSet", n.ReminderSet);
    if (n.ReminderSet != 0) {
        item.PutBoolProp(u"ReminderOverrideDefault", n.ReminderOverrideDefault);
        item.PutBoolProp(u"ReminderPlaySound", n.ReminderPlaySound);
        if (n.ReminderSoundFile[0] != '\0') {
            item.PutStringProp(u"ReminderSoundFile", n.ReminderSoundFile);
        }
        item.PutDateProp(u"ReminderTime", n.ReminderTime);
    }
    item.PutLongProp(u"ResponseState", n.ResponseState);
    item.PutStringProp(u"Role", n.Role);
    item.PutLongProp(u"Sensitivity", n.Sensitivity);
    item.PutDateProp(u"StartDate", n.StartDate);
    item.PutLongProp(u"Status", n.Status);
    item.PutStringProp(u"Subject", n.Subject);
    item.PutBoolProp(u"TeamTask", n.TeamTask);
    item.PutLongProp(u"TotalWork", n.TotalWork);
    item.PutStringProp(u"Categories", n.Categories);
    OlWriteRecurrence(item, n);
    item.CallMethod(u"Save", nullptr);
}
