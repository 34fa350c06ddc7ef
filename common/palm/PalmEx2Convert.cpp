#include "palm/PalmEx2Convert.h"

#include "palm/PalmConvert.h"
#include "palm/PalmExConvert.h"
#include "palm/PalmTime.h"

namespace {

void CopyAddress(AddressBlock& out, const PmEx2Address& address)
{
    PmCopyText(out.Street, address.street);
    PmCopyText(out.City, address.city);
    PmCopyText(out.State, address.state);
    PmCopyText(out.Postal, address.zip);
    PmCopyText(out.Country, address.country);
}

// The column holds a day number, read as unsigned 32 bits, as the 4.1.x files hold it. An
// empty column (0) is no date rather than one far before 1900, which Lotus Notes would keep.
double OleDateOf(std::int32_t dayNumber)
{
    return PmExBirthdayToOleDate(static_cast<double>(static_cast<std::uint32_t>(dayNumber)));
}

const std::string& AddressPart(const PmEx2Address& address, int part)
{
    switch (part) {
    case 0:
        return address.street;
    case 1:
        return address.city;
    case 2:
        return address.state;
    case 3:
        return address.zip;
    default:
        return address.country;
    }
}

bool ChatValue(PmAddrEx2Rec& rec, std::int32_t label, std::string& value, bool claimEmptySlot)
{
    for (std::size_t i = 0; i < rec.chats.size(); ++i) {
        if (rec.chatLabels[i] == label) {
            value = rec.chats[i];
            return true;
        }
    }
    if (!claimEmptySlot) {
        return false;
    }
    for (std::size_t i = 0; i < rec.chats.size(); ++i) {
        if (rec.chatLabels[i] == 0) {
            rec.chatLabels[i] = label;
            value = rec.chats[i];
            return true;
        }
    }
    return false;
}

} // namespace

void PmToComm(const PmAddrEx2Rec& rec, CommAddrRec& out)
{
    out = CommAddrRec{};
    PmCopyText(out.FirstName, rec.firstName);
    PmCopyText(out.MiddleName, rec.middleName);
    PmCopyText(out.LastName, rec.lastName);
    PmCopyText(out.Prefix, rec.prefix);
    PmCopyText(out.Suffix, rec.suffix);
    PmCopyText(out.NickName, rec.nickName);
    PmCopyText(out.DisplayName, rec.englishName);
    PmCopyText(out.Note, rec.note);
    PmCopyText(out.Company, rec.company);
    PmCopyText(out.Title, rec.jobTitle);
    CopyAddress(out.WorkAddress, rec.work);
    CopyAddress(out.HomeAddress, rec.home);
    CopyAddress(out.OtherAddress, rec.other);
    PmCopyText(out.IM1, rec.chats[0]);
    PmCopyText(out.IM2, rec.chats[1]);
    PmCopyText(out.AssistantName, rec.assistantName);
    PmCopyText(out.AssistantPhone, rec.assistantPhone);
    PmCopyText(out.Category, rec.categoryName);
    for (std::size_t i = 0; i < 10; ++i) {
        PmCopyText(out.CustomValues[i], rec.customs[i]);
    }
    for (std::size_t i = 0; i < rec.phones.size(); ++i) {
        PmPlacePhone(out, rec.phoneLabels[i], rec.phones[i]);
    }
    out.Birthday = OleDateOf(rec.birthday);
    out.Anniversary = OleDateOf(rec.anniversary);
}

void PmToComm(const PmDateEx2Rec& rec, CommDateRec& out)
{
    out = CommDateRec{};
    PmCopyText(out.Subject, rec.summary, 255);
    PmCopyText(out.Notes, rec.note, 8191);
    PmCopyText(out.Location, rec.location, 255);
    out.AllDay = rec.untimed != 0 ? 1 : 0;
    out.Start = PmTime(rec.startTime).ToSystemTime();
    out.End = PmTime(rec.endTime).ToSystemTime();
    PmConvertAlarm(out, rec.alarm != 0, rec.alarmAdvance, rec.alarmUnit);
    PmConvertRepeat(out.Recurrence, rec.repeat);
}

void PmToComm(const PmTodoEx2Rec& rec, CommTaskRec& out)
{
    out = CommTaskRec{};
    PmCopyText(out.Subject, rec.description, 254);
    PmCopyText(out.Notes, rec.note, 8190);
    out.Completed = rec.completed != 0 ? 1 : 0;
    out.AlarmSet = rec.alarmSet != 0 ? 1 : 0;
    out.ReminderSet = out.AlarmSet;
    if (rec.isPrivate != 0) {
        out.Private = 1;
        out.Sensitivity = 2;
    }
    out.DueDate = PmTime::ToTimeValue(rec.dueDate); // no due date (-1 or "no date") is 0 here
    out.Priority = PmConvertPriority(rec.priority);
    PmConvertRepeat(out.Recurrence, rec.repeat);
}

void PmToComm(const PmMemoEx2Rec& rec, CommNoteRec& out)
{
    out = CommNoteRec{};
    PmConvertMemo(out, rec.note);
    out.Private = rec.isPrivate != 0 ? 1 : 0;
}

bool PmContactValue(PmAddrEx2Rec& rec, std::int32_t key, std::string& value, bool claimEmptySlot)
{
    if (key >= 13 && key <= 20) {
        return PmPhoneSlotValue(rec.phones, rec.phoneLabels, key - 13, value, claimEmptySlot);
    }
    if (key >= 21 && key <= 35) {
        static const PmEx2Address PmAddrEx2Rec::*const kBlocks[] = {&PmAddrEx2Rec::work, &PmAddrEx2Rec::home,
                                                                    &PmAddrEx2Rec::other};
        value = AddressPart(rec.*kBlocks[(key - 21) / 5], (key - 21) % 5);
        return true;
    }
    if (key >= 36 && key <= 40) {
        return ChatValue(rec, key - 35, value, claimEmptySlot);
    }
    if (key >= 44 && key <= 52) {
        value = rec.customs[static_cast<std::size_t>(key - 44)];
        return true;
    }
    const std::string* field = nullptr;
    switch (key) {
    case 1:
        field = &rec.firstName;
        break;
    case 2:
        field = &rec.middleName;
        break;
    case 3:
        field = &rec.lastName;
        break;
    case 4:
        field = &rec.englishName;
        break;
    case 5:
        field = &rec.prefix;
        break;
    case 6:
        field = &rec.suffix;
        break;
    case 7:
        field = &rec.nickName;
        break;
    case 8:
        field = &rec.company;
        break;
    case 9:
        field = &rec.jobTitle;
        break;
    case 10:
        field = &rec.profession;
        break;
    case 11:
        field = &rec.assistantName;
        break;
    case 12:
        field = &rec.assistantPhone;
        break;
    case 41:
        field = &rec.website;
        break;
    case 53:
        field = &rec.categoryName;
        break;
    case 54:
        field = &rec.note;
        break;
    default:
        return false; // 42 and 43 are dates; other keys are not in the catalogue
    }
    value = *field;
    return true;
}
