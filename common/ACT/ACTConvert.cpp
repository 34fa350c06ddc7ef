#include "ACT/ACTConvert.h"

#include "ACT/ACTFieldTable.h"
#include "misc/DateUtil.h"
#include "platform/OleDate.h"

namespace {

constexpr std::string_view kLineBreak = "\r\n";

// Pairs of a common text field and a native one, walked in both directions.
struct TextPair
{
    std::string_view (*get)(const ACTAddrRec&);
    void (*set)(ACTAddrRec&, std::string_view);
    std::string_view (*getComm)(const CommAddrRec&);
    void (*setComm)(CommAddrRec&, std::string_view);
};

#define ACT_PAIR(C, N)                                                                                       \
    {                                                                                                        \
        [](const ACTAddrRec& n) { return FieldText(n.N); },                                                  \
            [](ACTAddrRec& n, std::string_view t) { CopyText(n.N, t); },                                     \
            [](const CommAddrRec& c) { return FieldText(c.C); },                                             \
            [](CommAddrRec& c, std::string_view t) { CopyText(c.C, t); }                                     \
    }

const TextPair kAddrPairs[] = {
    ACT_PAIR(FirstName, FirstName),
    ACT_PAIR(MiddleName, MiddleName),
    ACT_PAIR(LastName, LastName),
    ACT_PAIR(DisplayName, FullName),
    ACT_PAIR(Salutation, Salutation),
    ACT_PAIR(SpouseName, SpouseName),
    ACT_PAIR(Company, Company),
    ACT_PAIR(Title, Title),
    ACT_PAIR(Department, Department),
    ACT_PAIR(Email, BusinessEmail),
    ACT_PAIR(Email2, PersonalEmail),
    ACT_PAIR(WorkAddress.Country, BusinessCountry),
    ACT_PAIR(WorkAddress.State, BusinessState),
    ACT_PAIR(WorkAddress.City, BusinessCity),
    ACT_PAIR(WorkAddress.Postal, BusinessPostal),
    ACT_PAIR(HomeAddress.Country, HomeCountry),
    ACT_PAIR(HomeAddress.State, HomeState),
    ACT_PAIR(HomeAddress.City, HomeCity),
    ACT_PAIR(HomeAddress.Postal, HomePostal),
    ACT_PAIR(OtherAddress.Country, SecondaryCountry),
    ACT_PAIR(OtherAddress.State, SecondaryState),
    ACT_PAIR(OtherAddress.City, SecondaryCity),
    ACT_PAIR(OtherAddress.Postal, SecondaryPostal),
    ACT_PAIR(WorkHomePage, Website),
    ACT_PAIR(IM1, InstantMessenger),
    ACT_PAIR(Category, Category),
};
#undef ACT_PAIR

// A phone and its extension: the common field, the native number and extension.
struct PhonePair
{
    char (CommAddrRec::*common)[24];
    char (ACTAddrRec::*number)[24];
    char (ACTAddrRec::*extension)[24];
};

const PhonePair kPhones[] = {
    {&CommAddrRec::WorkPhone, &ACTAddrRec::BusinessPhone, &ACTAddrRec::BusinessPhoneExtension},
    {&CommAddrRec::HomePhone, &ACTAddrRec::HomePhone, &ACTAddrRec::HomePhoneExtension},
    {&CommAddrRec::MobilePhone, &ACTAddrRec::MobilePhone, &ACTAddrRec::MobilePhoneExtension},
    {&CommAddrRec::WorkFax, &ACTAddrRec::Fax, &ACTAddrRec::FaxExtension},
    {&CommAddrRec::Pager, &ACTAddrRec::Pager, &ACTAddrRec::PagerExtension},
};

struct StreetLines
{
    AddressBlock CommAddrRec::*address;
    char (ACTAddrRec::*line1)[256];
    char (ACTAddrRec::*line2)[256];
    char (ACTAddrRec::*line3)[256];
};

const StreetLines kStreets[] = {
    {&CommAddrRec::WorkAddress, &ACTAddrRec::BusinessAddress1, &ACTAddrRec::BusinessAddress2,
     &ACTAddrRec::BusinessAddress3},
    {&CommAddrRec::HomeAddress, &ACTAddrRec::HomeAddress1, &ACTAddrRec::HomeAddress2,
     &ACTAddrRec::HomeAddress3},
    {&CommAddrRec::OtherAddress, &ACTAddrRec::SecondaryAddress1, &ACTAddrRec::SecondaryAddress2,
     &ACTAddrRec::SecondaryAddress3},
};

char (ACTAddrRec::*const kUserDefined[10])[64] = {
    &ACTAddrRec::UserDefined1,  &ACTAddrRec::UserDefined2, &ACTAddrRec::UserDefined3,
    &ACTAddrRec::UserDefined4,  &ACTAddrRec::UserDefined5, &ACTAddrRec::UserDefined6,
    &ACTAddrRec::UserDefined7,  &ACTAddrRec::UserDefined8, &ACTAddrRec::UserDefined9,
    &ACTAddrRec::UserDefined10,
};

// An OLE date into fields; a date that is not valid leaves the fields zero.
SYSTEMTIME ToSystemTime(double date)
{
    SYSTEMTIME time{};
    platform::VariantTimeToSystemTime(date, &time);
    return time;
}

} // namespace

std::string JoinACTPhone(std::string_view number, std::string_view extension)
{
    std::string text(number);
    if (!extension.empty()) {
        text += 'x';
        text += extension;
    }
    return text;
}

void SplitACTPhone(std::string_view text, std::string& number, std::string& extension)
{
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) {
        number.assign(text);
        extension.clear();
        return;
    }
    std::string_view before = text.substr(0, x);
    while (!before.empty() && before.back() == ' ') {
        before.remove_suffix(1);
    }
    number.assign(before);
    extension.assign(text.substr(x + 1));
}

std::string JoinACTStreet(std::string_view line1, std::string_view line2, std::string_view line3)
{
    std::string street;
    for (std::string_view line : {line1, line2, line3}) {
        if (line.empty()) {
            continue;
        }
        if (!street.empty()) {
            street += kLineBreak;
        }
        street += line;
    }
    return street;
}

void SplitACTStreet(std::string_view street, std::string& line1, std::string& line2, std::string& line3)
{
    std::string* lines[] = {&line1, &line2, &line3};
    for (std::string* line : lines) {
        line->clear();
    }
    std::string_view rest = street;
    for (int i = 0; i < 2; ++i) {
        const std::size_t at = rest.find(kLineBreak);
        if (at == std::string_view::npos) {
            lines[i]->assign(rest);
            return;
        }
        lines[i]->assign(rest.substr(0, at));
        rest.remove_prefix(at + kLineBreak.size());
    }
    line3.assign(rest);
}

int ACTPriorityToComm(int priority)
{
    return priority == 0 ? 1 : priority == 2 ? 2 : 0;
}

int CommPriorityToACT(int priority)
{
    return priority == 1 ? 0 : priority == 2 ? 2 : 1;
}

void ACTAddrToComm(const ACTAddrRec& native, const ACTCustomMapping& mapping, CommAddrRec& rec)
{
    for (const TextPair& pair : kAddrPairs) {
        pair.setComm(rec, pair.get(native));
    }
    for (const PhonePair& phone : kPhones) {
        CopyText(rec.*phone.common,
                 JoinACTPhone(FieldText(native.*phone.number), FieldText(native.*phone.extension)));
    }
    for (const StreetLines& street : kStreets) {
        CopyText((rec.*street.address).Street,
                 JoinACTStreet(FieldText(native.*street.line1), FieldText(native.*street.line2),
                               FieldText(native.*street.line3)));
    }
    rec.Birthday = native.Birthday;
    rec.CreationTime = native.CreateDate;
    rec.LastModificationTime = native.EditDate;
    for (int i = 0; i < 10; ++i) {
        CopyText(rec.CustomValues[i], native.*kUserDefined[i]);
        std::string_view value;
        if (mapping.FieldId[i] != 0 && ACTMappedFieldText(native, mapping.FieldId[i], &value)) {
            CopyText(rec.MappedValues[i], value);
        }
    }
    rec.SourceType = SourceACT;
}

void CommToACTAddr(const CommAddrRec& rec, const ACTCustomMapping& mapping, ACTAddrRec& native)
{
    for (const TextPair& pair : kAddrPairs) {
        pair.set(native, pair.getComm(rec));
    }
    std::string first;
    std::string second;
    std::string third;
    for (const PhonePair& phone : kPhones) {
        SplitACTPhone(FieldText(rec.*phone.common), first, second);
        CopyText(native.*phone.number, first);
        CopyText(native.*phone.extension, second);
    }
    for (const StreetLines& street : kStreets) {
        SplitACTStreet(FieldText((rec.*street.address).Street), first, second, third);
        CopyText(native.*street.line1, first);
        CopyText(native.*street.line2, second);
        CopyText(native.*street.line3, third);
    }
    native.Birthday = rec.Birthday;
    for (int i = 0; i < 10; ++i) {
        CopyText(native.*kUserDefined[i], rec.CustomValues[i]);
    }
    for (int i = 0; i < 10; ++i) {
        const std::string_view value = FieldText(rec.MappedValues[i]);
        std::string_view current;
        // Only fields that the mapping could have read take a mapped value.
        if (!value.empty() && mapping.FieldId[i] != 0 &&
            ACTMappedFieldText(native, mapping.FieldId[i], &current)) {
            SetACTContactText(native, mapping.FieldId[i], value);
        }
    }
}

void ACTDateToComm(const ACTDateRec& native, CommDateRec& rec)
{
    CopyText(rec.Subject, native.Subject);
    CopyText(rec.Location, native.Location);
    CopyText(rec.Notes, native.Details);
    rec.EventType = native.ActivityCode >= 0 && native.ActivityCode <= 3 ? native.ActivityCode : 0;
    rec.Start = ToSystemTime(native.Start);
    rec.End = ToSystemTime(native.End);
    rec.Private = native.Private != 0 ? 1 : 0;
    rec.AllDay = native.AllDay != 0 ? 1 : 0;
    rec.SourceType = SourceACT;

    RecurrenceRule& rule = rec.Recurrence;
    switch (native.RepeatFrequency) {
    case 1:
        rule.Kind = 1;
        rule.Interval = native.RepeatInterval;
        break;
    case 2:
        rule.Kind = 2;
        rule.Interval = native.RepeatInterval;
        rule.DayOfWeekMask = native.RepeatValue;
        break;
    case 3:
        if (native.RepeatType == 1) {
            rule.Kind = 4;
            rule.DayOfMonth = native.RepeatValue;
        } else {
            rule.Kind = 3;
            rule.Instance = native.RepeatInstance;
            rule.DayOfWeekMask = native.RepeatValue;
        }
        rule.Interval = native.RepeatInterval;
        break;
    case 4:
        if (native.RepeatType == 1) {
            rule.Kind = 6;
            rule.DayOfMonth = native.RepeatValue;
        } else {
            rule.Kind = 5;
            rule.Instance = native.RepeatInstance;
            rule.DayOfWeekMask = native.RepeatValue;
        }
        rule.MonthOfYear = native.RepeatMonth;
        rule.Interval = native.RepeatInterval;
        break;
    default:
        rule.Kind = 0;
        break;
    }
    if (rule.Kind != 0 && native.RepeatEnd > 1.0) {
        rule.HasEnd = 1;
        rule.PatternEnd = ToSystemTime(native.RepeatEnd);
    }
}

void CommToACTDate(const CommDateRec& rec, ACTDateRec& native)
{
    CopyText(native.Subject, rec.Subject);
    CopyText(native.Location, rec.Location);
    CopyText(native.Details, rec.Notes);
    native.ActivityCode = rec.EventType >= 0 && rec.EventType <= 3 ? rec.EventType : 0;
    // A time that is not a valid date leaves the native date as it was.
    platform::SystemTimeToVariantTime(&rec.Start, &native.Start);
    platform::SystemTimeToVariantTime(&rec.End, &native.End);
    native.Private = rec.Private != 0 ? 1 : 0;
    native.AllDay = rec.AllDay != 0 ? 1 : 0;

    const RecurrenceRule& rule = rec.Recurrence;
    struct Repeat
    {
        int value, type, interval, instance, month, frequency;
    };
    Repeat repeat{};
    switch (rule.Kind) {
    case 1:
        repeat = {1, 3, rule.Interval, 0, 0, 1};
        break;
    case 2:
        repeat = {rule.DayOfWeekMask, 2, rule.Interval, 0, 0, 2};
        break;
    case 3:
        repeat = {rule.DayOfWeekMask, 2, rule.Interval, rule.Instance, 0, 3};
        break;
    case 4:
        repeat = {rule.DayOfMonth, 1, rule.Interval, 0, 0, 3};
        break;
    case 5:
        repeat = {rule.DayOfWeekMask, 3, rule.Interval, rule.Instance, rule.MonthOfYear, 4};
        break;
    case 6:
        repeat = {rule.DayOfMonth, 1, rule.Interval, 0, rule.MonthOfYear, 4};
        break;
    default:
        break;
    }
    native.RepeatValue = repeat.value;
    native.RepeatType = repeat.type;
    native.RepeatInterval = repeat.interval;
    native.RepeatInstance = repeat.instance;
    native.RepeatMonth = repeat.month;
    native.RepeatFrequency = repeat.frequency;
    double end = 0;
    // A single event, or a pattern without an end, keeps no end of an earlier version.
    if (repeat.frequency == 0 || !rule.HasEnd || !platform::SystemTimeToVariantTime(&rule.PatternEnd, &end)) {
        end = 0;
    }
    native.RepeatEnd = end;
}

void ACTTaskToComm(const ACTTaskRec& native, CommTaskRec& rec)
{
    CopyText(rec.Subject, native.Subject);
    CopyText(rec.Notes, native.Details);
    rec.Priority = ACTPriorityToComm(native.Priority);
    rec.DueDate = 0;
    if (native.DueDate != 0) {
        const std::int32_t due = VariantTimeToTimeT(native.DueDate);
        // -1 is the conversion's error value, not a date.
        rec.DueDate = due == -1 ? 0 : due;
    }
    rec.Private = native.Private != 0 ? 1 : 0;
    rec.Completed = native.Completed != 0 ? 1 : 0;
    rec.SourceType = SourceACT;
}

void CommToACTTask(const CommTaskRec& rec, ACTTaskRec& native)
{
    CopyText(native.Subject, rec.Subject);
    CopyText(native.Details, rec.Notes);
    native.Priority = CommPriorityToACT(rec.Priority);
    native.Private = rec.Private != 0 ? 1 : 0;
    native.Completed = rec.Completed != 0 ? 1 : 0;
    double due = 0;
    if (rec.DueDate != 0 && !TimeTToVariantTime(rec.DueDate, &due)) {
        due = 0;
    }
    native.DueDate = due;
    native.Kept10 = native.Kept11 = native.Kept12 = native.Kept13 = native.Kept14 = native.Kept15 = 0;
}

void ACTNoteToComm(const ACTNoteRec& native, CommNoteRec& rec)
{
    CopyText(rec.Body, native.Text);
    rec.CreationTime = native.Created;
    rec.LastModificationTime = native.Edited;
    rec.SourceType = SourceACT;
}

void CommToACTNote(const CommNoteRec& rec, ACTNoteRec& native)
{
    CopyText(native.Text, rec.Body);
    native.Created = rec.CreationTime;
    native.Edited = rec.LastModificationTime;
}

CommTextLimits ACTNoteTextLimits()
{
    static constexpr CommTextLimit kLimits[] = {{NoteKey::Body, "Body", sizeof(ACTNoteRec::Text) - 1}};
    return kLimits;
}
