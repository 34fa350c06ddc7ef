#include "palm/PalmClassicConvert.h"

#include "palm/PalmConvert.h"
#include "palm/PalmTime.h"

void PmToComm(const PmAddrRec& rec, CommAddrRec& out)
{
    out = CommAddrRec{};
    PmCopyText(out.FirstName, rec.firstName);
    PmCopyText(out.LastName, rec.lastName);
    PmCopyText(out.Company, rec.company);
    PmCopyText(out.Title, rec.title);
    PmCopyText(out.WorkAddress.Street, rec.address);
    PmCopyText(out.WorkAddress.City, rec.city);
    PmCopyText(out.WorkAddress.State, rec.state);
    PmCopyText(out.WorkAddress.Postal, rec.zipCode);
    PmCopyText(out.WorkAddress.Country, rec.country);
    PmCopyText(out.Note, rec.note);
    for (std::size_t i = 0; i < rec.customs.size(); ++i) {
        PmCopyText(out.CustomValues[i], rec.customs[i]);
    }
    for (std::size_t i = 0; i < rec.phones.size(); ++i) {
        PmPlacePhone(out, rec.phoneLabels[i], rec.phones[i]);
    }
    PmCopyText(out.Category, rec.categoryName);
}

void PmToComm(const PmDateRec& rec, CommDateRec& out)
{
    out = CommDateRec{};
    PmCopyText(out.Subject, rec.description, 255);
    PmCopyText(out.Notes, rec.note, 8191);
    out.AllDay = rec.untimed != 0 ? 1 : 0;
    out.Start = PmTime(rec.startDate).ToSystemTime();
    out.End = PmTime(rec.endDate).ToSystemTime();
    PmConvertAlarm(out, rec.alarmSet != 0, rec.alarmAdvance, rec.alarmUnit);
    PmConvertRepeat(out.Recurrence, rec.repeat);
}

void PmToComm(const PmTodoRec& rec, CommTaskRec& out)
{
    out = CommTaskRec{};
    PmCopyText(out.Subject, rec.description, 254);
    PmCopyText(out.Notes, rec.note, 8190);
    out.Completed = rec.completed != 0 ? 1 : 0;
    if (rec.isPrivate != 0) {
        out.Private = 1;
        out.Sensitivity = 2;
    }
    out.DueDate = PmTime::ToTimeValue(rec.dueDate); // no due date (-1 or "no date") is 0 here
    out.Priority = PmConvertPriority(rec.priority);
    out.AlarmSet = 0;
    out.ReminderSet = 0;
    out.Recurrence.Kind = 0;
}

void PmToComm(const PmMemoRec& rec, CommNoteRec& out)
{
    out = CommNoteRec{};
    PmConvertMemo(out, rec.text);
    out.Private = rec.isPrivate;
}

bool PmContactValue(PmAddrRec& rec, std::int32_t key, std::string& value, bool claimEmptySlot)
{
    if (key >= 5 && key <= 12) {
        return PmPhoneSlotValue(rec.phones, rec.phoneLabels, key - 5, value, claimEmptySlot);
    }
    switch (key) {
    case 1:
        value = rec.firstName;
        return true;
    case 2:
        value = rec.lastName;
        return true;
    case 3:
        value = rec.company;
        return true;
    case 4:
        value = rec.title;
        return true;
    case 13:
        value = rec.address;
        return true;
    case 14:
        value = rec.city;
        return true;
    case 15:
        value = rec.state;
        return true;
    case 16:
        value = rec.zipCode;
        return true;
    case 17:
        value = rec.country;
        return true;
    case 18:
    case 19:
    case 20:
    case 21:
        value = rec.customs[static_cast<std::size_t>(key - 18)];
        return true;
    case 22:
        value = rec.categoryName;
        return true;
    case 23:
        value = rec.note;
        return true;
    default:
        return false;
    }
}
