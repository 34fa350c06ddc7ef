#include "palm/PalmConvert.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <span>

#include "palm/PalmEnv.h"
#include "palm/PalmTime.h"

bool PmIsSkippedStatus(std::uint32_t status)
{
    return (status & 0xFFu & (0x04u | 0x80u)) != 0;
}

void PmCopyText(char* dest, std::size_t size, std::string_view text, std::size_t maxChars)
{
    if (dest == nullptr || size == 0) {
        return;
    }
    const std::size_t length = std::min({text.size(), size - 1, maxChars});
    if (length > 0) {
        std::memmove(dest, text.data(), length);
    }
    dest[length] = '\0';
}

void PmPlacePhone(CommAddrRec& rec, int label, std::string_view text)
{
    if (text.empty()) {
        return;
    }
    switch (label) {
    case 0:
        PmCopyText(rec.WorkPhone, text);
        break;
    case 1:
        PmCopyText(rec.HomePhone, text);
        break;
    case 2:
        PmCopyText(rec.WorkFax, text);
        break;
    case 3:
        PmCopyText(rec.OtherPhone, text);
        break;
    case 4:
        PmCopyText(rec.Email, text);
        break;
    case 5:
        PmCopyText(rec.PrimaryPhone, text);
        break;
    case 6:
        PmCopyText(rec.Pager, text);
        break;
    case 7:
        PmCopyText(rec.MobilePhone, text);
        break;
    default:
        break;
    }
}

const char* PmPhoneLabelText(int label)
{
    static const char* const kLabels[] = {"Work Phone", "Home Phone", "Fax",   "Other Phone",
                                          "E-mail",     "Main Phone", "Pager", "Mobile Phone"};
    return label >= 0 && label < 8 ? kLabels[label] : kLabels[0];
}

void PmConvertAlarm(CommDateRec& rec, bool alarmSet, std::int32_t advance, std::int32_t unit)
{
    if (!alarmSet) {
        rec.ReminderSet = 0;
        rec.ReminderCount = 0;
        return;
    }
    rec.ReminderSet = 1;
    rec.ReminderCount = 1;
    rec.Reminders[0].Amount = advance;
    rec.Reminders[0].Unit = unit == 1 ? 2 : unit == 2 ? 3 : 1;
}

std::int32_t PmConvertPriority(std::int32_t priority)
{
    switch (priority) {
    case 1:
        return 1;
    case 5:
        return 2;
    default:
        return 0;
    }
}

void PmConvertRepeat(RecurrenceRule& rule, const PmRepeat& repeat)
{
    rule = RecurrenceRule{};
    switch (repeat.kind) {
    case 1:
        rule.Kind = 1;
        rule.DayOfWeekMask = repeat.dayIndex;
        rule.Interval = repeat.interval;
        break;
    case 2:
        rule.Kind = 2;
        rule.DayOfWeekMask = repeat.dayMask;
        rule.Instance = 1;
        rule.Interval = repeat.interval;
        break;
    case 3:
        rule.Kind = 3;
        // The classic and 4.1.x files give the weekday as a day index (0 Sunday ... 6 Saturday);
        // the rule texts of the 6.x databases name it, and their reader keeps it in the mask.
        // The common rule wants the weekday's bit.
        if (repeat.dayMask != 0) {
            rule.DayOfWeekMask = repeat.dayMask;
        } else if (repeat.dayIndex >= 0 && repeat.dayIndex <= 6) {
            rule.DayOfWeekMask = 1 << repeat.dayIndex;
        }
        // Week index 0 first ... 4 last; the common rule counts occurrences 1 ... 5 (5 the last).
        rule.Instance = std::clamp(repeat.weekIndex, 0, 4) + 1;
        rule.Interval = repeat.interval;
        break;
    case 4:
        rule.Kind = 4;
        rule.DayOfMonth = repeat.dayOfMonth;
        rule.Interval = repeat.interval;
        break;
    case 5:
        rule.Kind = 6;
        rule.DayOfMonth = repeat.dayOfMonth;
        rule.MonthOfYear = repeat.monthIndex + 1;
        rule.Interval = repeat.interval;
        break;
    default:
        rule.Kind = 0;
        break;
    }
    // An end date of 0 is "not given", not "now" (which PmTime would make of it): it ends
    // nothing, like the no-end date.
    const std::int32_t endDate = repeat.endDate != 0 ? repeat.endDate : kPmNoEndDate;
    rule.PatternEnd = PmTime(endDate).ToSystemTime();
    // Any real day ends the pattern, whatever its year; "no date" of any zone does not, nor
    // does a value the local calendar cannot show.
    rule.HasEnd = PmTime::IsRealDate(repeat.endDate) && rule.PatternEnd.wYear != 0 ? 1 : 0;
}

void PmConvertMemo(CommNoteRec& rec, std::string_view text)
{
    PmCopyText(rec.Body, text, 20479);
    // The title is the first line; a bare LF or CR also ends it (memos edited outside Windows).
    const std::string_view first = text.substr(0, std::min(text.find_first_of("\r\n"), text.size()));
    PmCopyText(rec.Title, first, 255);
}

// ---- The contact field catalogue ---------------------------------------------------------

namespace {

constexpr PmFieldDef kCatalogue1[] = {
    {1, "First Name", kPmFieldText, 32}, {2, "Last Name", kPmFieldText, 32},
    {3, "Company", kPmFieldText, 256},   {4, "Job Title", kPmFieldText, 32},
    {5, "Work Phone", kPmFieldText, 32}, {6, "Home Phone", kPmFieldText, 32},
    {7, "Fax", kPmFieldText, 32},        {8, "Other Phone", kPmFieldText, 32},
    {9, "E-mail", kPmFieldText, 32},     {10, "Main Phone", kPmFieldText, 32},
    {11, "Pager", kPmFieldText, 32},     {12, "Mobile Phone", kPmFieldText, 32},
    {13, "Street", kPmFieldText, 256},   {14, "City", kPmFieldText, 32},
    {15, "State", kPmFieldText, 32},     {16, "Zip Code", kPmFieldText, 32},
    {17, "Country", kPmFieldText, 32},   {18, "Custom 1", kPmFieldText, 64},
    {19, "Custom 2", kPmFieldText, 64},  {20, "Custom 3", kPmFieldText, 64},
    {21, "Custom 4", kPmFieldText, 64},  {22, "Category", kPmFieldText, 16},
    {23, "Note", kPmFieldText, 2048},
};

constexpr PmFieldDef kCatalogue2[] = {
    {1, "First Name", kPmFieldText, 32},
    {2, "Last Name", kPmFieldText, 32},
    {3, "Company", kPmFieldText, 256},
    {4, "Job Title", kPmFieldText, 32},
    {5, "Work Phone", kPmFieldText, 32},
    {6, "Home Phone", kPmFieldText, 32},
    {7, "Fax", kPmFieldText, 32},
    {8, "Other Phone", kPmFieldText, 32},
    {9, "E-mail", kPmFieldText, 32},
    {10, "Main Phone", kPmFieldText, 32},
    {11, "Pager", kPmFieldText, 32},
    {12, "Mobile Phone", kPmFieldText, 32},
    {13, "Work Street", kPmFieldText, 256},
    {14, "Work City", kPmFieldText, 32},
    {15, "Work State", kPmFieldText, 32},
    {16, "Work Zip", kPmFieldText, 32},
    {17, "Work Country", kPmFieldText, 32},
    {18, "Home Street", kPmFieldText, 256},
    {19, "Home City", kPmFieldText, 32},
    {20, "Home State", kPmFieldText, 32},
    {21, "Home Zip", kPmFieldText, 32},
    {22, "Home Country", kPmFieldText, 32},
    {23, "Other Street", kPmFieldText, 256},
    {24, "Other City", kPmFieldText, 32},
    {25, "Other State", kPmFieldText, 32},
    {26, "Other Zip", kPmFieldText, 32},
    {27, "Other Country", kPmFieldText, 32},
    {28, "IM AIM", kPmFieldText, 32},
    {29, "IM MSN", kPmFieldText, 32},
    {30, "IM Yahoo", kPmFieldText, 32},
    {31, "IM AOL", kPmFieldText, 32},
    {32, "IM IM", kPmFieldText, 32},
    {33, "Home Page", kPmFieldText, 256},
    {34, "Birthday", kPmFieldOleDate, 8},
    {35, "Custom 1", kPmFieldText, 256},
    {36, "Custom 2", kPmFieldText, 256},
    {37, "Custom 3", kPmFieldText, 256},
    {38, "Custom 4", kPmFieldText, 256},
    {39, "Custom 5", kPmFieldText, 256},
    {40, "Custom 6", kPmFieldText, 256},
    {41, "Custom 7", kPmFieldText, 256},
    {42, "Custom 8", kPmFieldText, 256},
    {43, "Custom 9", kPmFieldText, 256},
    {44, "Category", kPmFieldText, 16},
    {45, "Note", kPmFieldText, 2048},
};

constexpr PmFieldDef kCatalogue3[] = {
    {1, "First Name", kPmFieldText, 64},
    {2, "Middle Name", kPmFieldText, 64},
    {3, "Last Name", kPmFieldText, 64},
    {4, "English Name", kPmFieldText, 128},
    {5, "Prefix", kPmFieldText, 32},
    {6, "Suffix", kPmFieldText, 32},
    {7, "Nick Name", kPmFieldText, 64},
    {8, "Company", kPmFieldText, 128},
    {9, "Job Title", kPmFieldText, 128},
    {10, "Profession", kPmFieldText, 128},
    {11, "Assistant Name", kPmFieldText, 64},
    {12, "Assistant Phone", kPmFieldText, 64},
    {13, "Work Phone", kPmFieldText, 32},
    {14, "Home Phone", kPmFieldText, 32},
    {15, "Fax", kPmFieldText, 32},
    {16, "Other Phone", kPmFieldText, 32},
    {17, "E-mail", kPmFieldText, 32},
    {18, "Main Phone", kPmFieldText, 32},
    {19, "Pager", kPmFieldText, 32},
    {20, "Mobile Phone", kPmFieldText, 32},
    {21, "Work Street", kPmFieldText, 256},
    {22, "Work City", kPmFieldText, 32},
    {23, "Work State", kPmFieldText, 32},
    {24, "Work Zip", kPmFieldText, 32},
    {25, "Work Country", kPmFieldText, 32},
    {26, "Home Street", kPmFieldText, 256},
    {27, "Home City", kPmFieldText, 32},
    {28, "Home State", kPmFieldText, 32},
    {29, "Home Zip", kPmFieldText, 32},
    {30, "Home Country", kPmFieldText, 32},
    {31, "Other Street", kPmFieldText, 256},
    {32, "Other City", kPmFieldText, 32},
    {33, "Other State", kPmFieldText, 32},
    {34, "Other Zip", kPmFieldText, 32},
    {35, "Other Country", kPmFieldText, 32},
    {36, "IM AIM", kPmFieldText, 32},
    {37, "IM MSN", kPmFieldText, 32},
    {38, "IM Yahoo", kPmFieldText, 32},
    {39, "IM AOL", kPmFieldText, 32},
    {40, "IM IM", kPmFieldText, 32},
    {41, "Home Page", kPmFieldText, 256},
    {42, "Anniversary", kPmFieldTime, 4},
    {43, "Birthday", kPmFieldTime, 4},
    {44, "Custom 1", kPmFieldText, 256},
    {45, "Custom 2", kPmFieldText, 256},
    {46, "Custom 3", kPmFieldText, 256},
    {47, "Custom 4", kPmFieldText, 256},
    {48, "Custom 5", kPmFieldText, 256},
    {49, "Custom 6", kPmFieldText, 256},
    {50, "Custom 7", kPmFieldText, 256},
    {51, "Custom 8", kPmFieldText, 256},
    {52, "Custom 9", kPmFieldText, 256},
    {53, "Category", kPmFieldText, 32},
    {54, "Note", kPmFieldText, 2048},
};

std::span<const PmFieldDef> CatalogueOf(int versionKind)
{
    switch (versionKind) {
    case 1:
        return kCatalogue1;
    case 2:
        return kCatalogue2;
    case 3:
        return kCatalogue3;
    default:
        return {};
    }
}

std::atomic<int> g_contactVersionKind{0};

// The kind the catalogue follows: the contact front's, else the installed version's.
int InstalledContactKind()
{
    const int kind = g_contactVersionKind.load();
    return kind != 0 ? kind : PmVersionKindOf(PmGetDesktopVersion());
}

} // namespace

int PmGetContactVersionKind()
{
    return g_contactVersionKind.load();
}

void PmSetContactVersionKind(int kind)
{
    g_contactVersionKind.store(kind);
}

int PmVersionKindOf(int versionNumber)
{
    const auto version = static_cast<std::uint32_t>(versionNumber); // -1: the largest
    if (version >= 60000) {
        return 3;
    }
    if (version >= 40102) {
        return 2;
    }
    if (version >= 30500) {
        return 1;
    }
    return 0;
}

int PmCatalogueCount()
{
    return PmCatalogueCount(InstalledContactKind());
}

int PmCatalogueCount(int versionKind)
{
    return static_cast<int>(CatalogueOf(versionKind).size());
}

std::int32_t PmCatalogueKey(int index)
{
    const auto table = CatalogueOf(InstalledContactKind());
    return index >= 0 && static_cast<std::size_t>(index) < table.size() ? table[index].key : 0;
}

const char* PmCatalogueName(int index)
{
    const auto table = CatalogueOf(InstalledContactKind());
    return index >= 0 && static_cast<std::size_t>(index) < table.size() ? table[index].name : "N/A";
}

const PmFieldDef* PmCatalogueFind(int versionKind, std::int32_t key)
{
    const auto table = CatalogueOf(versionKind);
    // Keys run 1..n in table order.
    return key >= 1 && static_cast<std::size_t>(key) <= table.size() ? &table[key - 1] : nullptr;
}

bool PmCatalogueEntry(std::int32_t key, PmFieldDef* def)
{
    const PmFieldDef* found = PmCatalogueFind(InstalledContactKind(), key);
    if (found == nullptr) {
        return false;
    }
    if (def != nullptr) {
        *def = *found;
    }
    return true;
}
