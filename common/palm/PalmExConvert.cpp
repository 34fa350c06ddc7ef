#include "palm/PalmExConvert.h"

#include <cmath>

#include "palm/PalmConvert.h"
#include "palm/PalmTime.h"

namespace {

// OLE automation dates of 0100-01-01 and of the day after 9999-12-31.
constexpr double kOleDateMin = -657434.0;
constexpr double kOleDateEnd = 2958466.0;

const std::string* AddressPart(const PmAddrExAddress& address, int part)
{
    switch (part) {
    case 0:
        return &address.street;
    case 1:
        return &address.city;
    case 2:
        return &address.state;
    case 3:
        return &address.zipCode;
    default:
        return &address.country;
    }
}

void CopyAddress(AddressBlock& out, const PmAddrExAddress& address)
{
    PmCopyText(out.Street, address.street);
    PmCopyText(out.City, address.city);
    PmCopyText(out.State, address.state);
    PmCopyText(out.Postal, address.zipCode);
    PmCopyText(out.Country, address.country);
}

// The slot of labels carrying label; -1 when none does.
template <std::size_t N> int FindLabel(const std::array<std::int32_t, N>& labels, std::int32_t label)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (labels[i] == label) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool ImValue(PmAddrExRec& rec, std::int32_t label, std::string& value, bool claimEmptySlot)
{
    int slot = FindLabel(rec.imLabels, label);
    if (slot < 0 && claimEmptySlot) {
        slot = FindLabel(rec.imLabels, 0); // slot 1, else slot 2, when it has no label yet
        if (slot >= 0) {
            rec.imLabels[static_cast<std::size_t>(slot)] = label;
        }
    }
    if (slot < 0) {
        return false;
    }
    value = rec.ims[static_cast<std::size_t>(slot)];
    return true;
}

} // namespace

double PmExBirthdayToOleDate(double stored)
{
    if (stored == 0 || !std::isfinite(stored)) {
        return 0;
    }
    const double date = stored - kPmExBirthdayOffset;
    if (PmTime::IsNoDateDay(date)) {
        return 0; // Palm Desktop's "no date"
    }
    return date >= kOleDateMin && date < kOleDateEnd ? date : 0;
}

void PmToComm(const PmAddrExRec& rec, CommAddrRec& out)
{
    PmCopyText(out.FirstName, rec.firstName);
    PmCopyText(out.LastName, rec.lastName);
    PmCopyText(out.Company, rec.company);
    PmCopyText(out.Title, rec.title);
    CopyAddress(out.WorkAddress, rec.addresses[0]);
    CopyAddress(out.HomeAddress, rec.addresses[1]);
    CopyAddress(out.OtherAddress, rec.addresses[2]);
    PmCopyText(out.Note, rec.note);
    for (std::size_t i = 0; i < rec.customs.size(); ++i) {
        PmCopyText(out.CustomValues[i], rec.customs[i]);
    }
    for (std::size_t i = 0; i < rec.phones.size(); ++i) {
        PmPlacePhone(out, rec.phoneLabels[i], rec.phones[i]);
    }
    PmCopyText(out.Category, rec.categoryName);
    out.Birthday = PmExBirthdayToOleDate(rec.birthday);
}

void PmToComm(const PmDateExRec& rec, CommDateRec& out)
{
    PmCopyText(out.Subject, rec.description, 255);
    PmCopyText(out.Notes, rec.note, 8191);
    PmCopyText(out.Location, rec.location, 255);
    out.AllDay = rec.untimed != 0 ? 1 : 0;
    out.Start = PmTime(rec.startTime).ToSystemTime();
    out.End = PmTime(rec.endTime).ToSystemTime();
    PmConvertAlarm(out, rec.alarmSet != 0, rec.alarmAdvance, rec.alarmAdvanceUnit);
    PmConvertRepeat(out.Recurrence, rec.repeat);
}

void PmToComm(const PmTodoExRec& rec, CommTaskRec& out)
{
    PmCopyText(out.Subject, rec.description, 254);
    PmCopyText(out.Notes, rec.note, 8190);
    out.Completed = rec.completed != 0 ? 1 : 0;
    out.AlarmSet = rec.alarmSet != 0 ? 1 : 0;
    out.ReminderSet = out.AlarmSet;
    out.Private = rec.isPrivate != 0 ? 1 : 0;
    if (out.Private != 0) {
        out.Sensitivity = 2;
    }
    // -1 and "no date" are the file's "no due date"; the common record says that with 0.
    out.DueDate = PmTime::ToTimeValue(rec.dueDate);
    out.Priority = PmConvertPriority(rec.priority);
    PmConvertRepeat(out.Recurrence, rec.repeat);
}

void PmToComm(const PmMemoExRec& rec, CommNoteRec& out)
{
    PmConvertMemo(out, rec.text);
    out.Private = rec.isPrivate;
}

bool PmContactValue(PmAddrExRec& rec, std::int32_t key, std::string& value, bool claimEmptySlot)
{
    if (key >= 5 && key <= 12) {
        return PmPhoneSlotValue(rec.phones, rec.phoneLabels, key - 5, value, claimEmptySlot);
    }
    if (key >= 13 && key <= 27) {
        const PmAddrExAddress& address = rec.addresses[static_cast<std::size_t>((key - 13) / 5)];
        value = *AddressPart(address, (key - 13) % 5);
        return true;
    }
    if (key >= 28 && key <= 32) {
        return ImValue(rec, key - 27, value, claimEmptySlot);
    }
    if (key >= 35 && key <= 43) {
        value = rec.customs[static_cast<std::size_t>(key - 35)];
        return true;
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
    case 33:
        value = rec.homePage;
        return true;
    case 44:
        value = rec.categoryName;
        return true;
    case 45:
        value = rec.note;
        return true;
    default:
        return false; // 34, the birthday, is a date; other keys are not in the catalogue
    }
}
