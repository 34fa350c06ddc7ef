#include "misc/CommRecordFields.h"

#include <cstring>
#include <type_traits>
#include <vector>

namespace {

// Collects the entries of one catalogue; nested blocks are added with their base offset and
// name prefix.
class FieldList
{
public:
    void Add(std::string name, CommFieldKind kind, std::size_t offset, std::size_t size)
    {
        m_fields.push_back(CommField{std::move(name), kind, offset, size});
    }
    void Add(std::string name, CommFieldKind kind, std::size_t offset)
    {
        Add(std::move(name), kind, offset, CommFieldKindSize(kind));
    }

    void AddAddress(const std::string& prefix, std::size_t base)
    {
        Add(prefix + ".Street", CommFieldKind::Text, base + offsetof(AddressBlock, Street),
            sizeof(AddressBlock::Street));
        Add(prefix + ".City", CommFieldKind::Text, base + offsetof(AddressBlock, City),
            sizeof(AddressBlock::City));
        Add(prefix + ".State", CommFieldKind::Text, base + offsetof(AddressBlock, State),
            sizeof(AddressBlock::State));
        Add(prefix + ".Postal", CommFieldKind::Text, base + offsetof(AddressBlock, Postal),
            sizeof(AddressBlock::Postal));
        Add(prefix + ".Country", CommFieldKind::Text, base + offsetof(AddressBlock, Country),
            sizeof(AddressBlock::Country));
        Add(prefix + ".POBox", CommFieldKind::Text, base + offsetof(AddressBlock, POBox),
            sizeof(AddressBlock::POBox));
        Add(prefix + ".Neighborhood", CommFieldKind::Text, base + offsetof(AddressBlock, Neighborhood),
            sizeof(AddressBlock::Neighborhood));
    }

    void AddRecurrence(const std::string& prefix, std::size_t base)
    {
        Add(prefix + ".Kind", CommFieldKind::Int32, base + offsetof(RecurrenceRule, Kind));
        Add(prefix + ".HasEnd", CommFieldKind::Flag8, base + offsetof(RecurrenceRule, HasEnd));
        Add(prefix + ".PatternStart", CommFieldKind::SystemTime,
            base + offsetof(RecurrenceRule, PatternStart));
        Add(prefix + ".PatternEnd", CommFieldKind::SystemTime, base + offsetof(RecurrenceRule, PatternEnd));
        Add(prefix + ".Interval", CommFieldKind::Int32, base + offsetof(RecurrenceRule, Interval));
        Add(prefix + ".DayOfWeekMask", CommFieldKind::Int32, base + offsetof(RecurrenceRule, DayOfWeekMask));
        Add(prefix + ".DayOfMonth", CommFieldKind::Int32, base + offsetof(RecurrenceRule, DayOfMonth));
        Add(prefix + ".MonthOfYear", CommFieldKind::Int32, base + offsetof(RecurrenceRule, MonthOfYear));
        Add(prefix + ".Instance", CommFieldKind::Int32, base + offsetof(RecurrenceRule, Instance));
    }

    void AddReminder(const std::string& prefix, std::size_t base)
    {
        Add(prefix + ".Method", CommFieldKind::Int32, base + offsetof(Reminder, Method));
        Add(prefix + ".Amount", CommFieldKind::Int32, base + offsetof(Reminder, Amount));
        Add(prefix + ".Unit", CommFieldKind::Int32, base + offsetof(Reminder, Unit));
    }

    // Entries name[1] .. name[count] of an array of texts.
    void AddTextArray(const std::string& name, std::size_t base, std::size_t count, std::size_t size)
    {
        for (std::size_t i = 0; i < count; ++i) {
            Add(name + "[" + std::to_string(i + 1) + "]", CommFieldKind::Text, base + i * size, size);
        }
    }

    std::vector<CommField> Take() { return std::move(m_fields); }

private:
    std::vector<CommField> m_fields;
};

// Each macro checks at compile time that the field has the type its kind stands for.
#define FW_TEXT(list, Rec, f)                                                                                \
    do {                                                                                                     \
        static_assert(std::is_same_v<std::remove_extent_t<decltype(Rec::f)>, char>);                         \
        (list).Add(#f, CommFieldKind::Text, offsetof(Rec, f), sizeof(Rec::f));                               \
    } while (0)
#define FW_TYPED(list, Rec, f, kind, Type)                                                                   \
    do {                                                                                                     \
        static_assert(std::is_same_v<decltype(Rec::f), Type>);                                               \
        (list).Add(#f, CommFieldKind::kind, offsetof(Rec, f));                                               \
    } while (0)
#define FW_INT(list, Rec, f) FW_TYPED(list, Rec, f, Int32, std::int32_t)
#define FW_FLAG8(list, Rec, f) FW_TYPED(list, Rec, f, Flag8, std::uint8_t)
#define FW_FLAG32(list, Rec, f) FW_TYPED(list, Rec, f, Flag32, std::int32_t)
#define FW_OLEDATE(list, Rec, f) FW_TYPED(list, Rec, f, OleDate, double)
#define FW_SYSTIME(list, Rec, f) FW_TYPED(list, Rec, f, SystemTime, SYSTEMTIME)
#define FW_TIMEVALUE(list, Rec, f) FW_TYPED(list, Rec, f, TimeValue, std::int32_t)
#define FW_BOOKKEEPING(list, Rec)                                                                            \
    do {                                                                                                     \
        FW_TYPED(list, Rec, NativeRecord, Pointer, void*);                                                   \
        FW_TYPED(list, Rec, NativeSize, Size32, std::uint32_t);                                              \
    } while (0)

std::vector<CommField> BuildAddrFields()
{
    using R = CommAddrRec;
    FieldList l;
    FW_TEXT(l, R, FirstName);
    FW_TEXT(l, R, LastName);
    FW_TEXT(l, R, MiddleName);
    FW_TEXT(l, R, Prefix);
    FW_TEXT(l, R, Suffix);
    FW_TEXT(l, R, NickName);
    FW_TEXT(l, R, DisplayName);
    FW_TEXT(l, R, Salutation);
    static_assert(std::is_same_v<decltype(R::WorkAddress), AddressBlock>);
    l.AddAddress("WorkAddress", offsetof(R, WorkAddress));
    l.AddAddress("HomeAddress", offsetof(R, HomeAddress));
    l.AddAddress("OtherAddress", offsetof(R, OtherAddress));
    FW_TEXT(l, R, HomePhone);
    FW_TEXT(l, R, WorkPhone);
    FW_TEXT(l, R, MobilePhone);
    FW_TEXT(l, R, PrimaryPhone);
    FW_TEXT(l, R, OtherPhone);
    FW_TEXT(l, R, CallbackPhone);
    FW_TEXT(l, R, RadioPhone);
    FW_TEXT(l, R, CarPhone);
    FW_TEXT(l, R, WorkPhone2);
    FW_TEXT(l, R, HomePhone2);
    FW_TEXT(l, R, WorkFax);
    FW_TEXT(l, R, HomeFax);
    FW_TEXT(l, R, Pager);
    FW_TEXT(l, R, Email);
    FW_TEXT(l, R, Email2);
    FW_TEXT(l, R, Email3);
    FW_TEXT(l, R, WorkHomePage);
    FW_TEXT(l, R, PersonalHomePage);
    FW_TEXT(l, R, FtpSite);
    FW_TEXT(l, R, Note);
    l.AddTextArray("CustomValues", offsetof(R, CustomValues), std::extent_v<decltype(R::CustomValues)>,
                   sizeof(R::CustomValues[0]));
    l.AddTextArray("MappedValues", offsetof(R, MappedValues), std::extent_v<decltype(R::MappedValues)>,
                   sizeof(R::MappedValues[0]));
    l.AddTextArray("CustomLabels", offsetof(R, CustomLabels), std::extent_v<decltype(R::CustomLabels)>,
                   sizeof(R::CustomLabels[0]));
    FW_TEXT(l, R, Company);
    FW_TEXT(l, R, Title);
    FW_TEXT(l, R, Department);
    FW_TEXT(l, R, IM1);
    FW_TEXT(l, R, IM2);
    FW_TEXT(l, R, ManagerName);
    FW_TEXT(l, R, AssistantName);
    FW_TEXT(l, R, AssistantPhone);
    FW_TEXT(l, R, SpouseName);
    FW_TEXT(l, R, ChildrenNames);
    FW_TEXT(l, R, ExtraText);
    FW_TEXT(l, R, Profession);
    FW_TEXT(l, R, Hobby);
    FW_TEXT(l, R, Account);
    FW_OLEDATE(l, R, Birthday);
    FW_OLEDATE(l, R, Anniversary);
    FW_TEXT(l, R, Keyword);
    FW_TEXT(l, R, Language);
    FW_TEXT(l, R, Location);
    FW_TEXT(l, R, MhsCommonName);
    FW_TEXT(l, R, CustomerId);
    FW_TEXT(l, R, GovernmentId);
    FW_TEXT(l, R, OrganizationId);
    FW_TEXT(l, R, Category);
    FW_OLEDATE(l, R, CreationTime);
    FW_OLEDATE(l, R, LastModificationTime);
    FW_INT(l, R, SourceType);
    FW_INT(l, R, Status);
    FW_BOOKKEEPING(l, R);
    return l.Take();
}

std::vector<CommField> BuildDateFields()
{
    using R = CommDateRec;
    FieldList l;
    FW_INT(l, R, EventType);
    FW_TEXT(l, R, Subject);
    FW_FLAG32(l, R, AllDay);
    FW_SYSTIME(l, R, Start);
    FW_SYSTIME(l, R, End);
    FW_FLAG32(l, R, ReminderSet);
    FW_INT(l, R, DurationMinutes);
    FW_TEXT(l, R, Notes);
    FW_TEXT(l, R, Location);
    static_assert(std::is_same_v<decltype(R::Recurrence), RecurrenceRule>);
    l.AddRecurrence("Recurrence", offsetof(R, Recurrence));
    FW_FLAG32(l, R, Private);
    FW_TEXT(l, R, Categories);
    FW_INT(l, R, ReminderCount);
    static_assert(std::is_same_v<std::remove_extent_t<decltype(R::Reminders)>, Reminder>);
    for (std::size_t i = 0; i < std::extent_v<decltype(R::Reminders)>; ++i) {
        l.AddReminder("Reminders[" + std::to_string(i + 1) + "]",
                      offsetof(R, Reminders) + i * sizeof(Reminder));
    }
    FW_INT(l, R, GoogleAttrA);
    FW_INT(l, R, GoogleAttrB);
    FW_OLEDATE(l, R, CreationTime);
    FW_OLEDATE(l, R, LastModificationTime);
    FW_INT(l, R, SourceType);
    FW_INT(l, R, Status);
    FW_BOOKKEEPING(l, R);
    return l.Take();
}

std::vector<CommField> BuildTaskFields()
{
    using R = CommTaskRec;
    FieldList l;
    FW_TEXT(l, R, Subject);
    FW_TEXT(l, R, Notes);
    FW_TEXT(l, R, Categories);
    FW_INT(l, R, Priority);
    FW_FLAG8(l, R, Completed);
    FW_TIMEVALUE(l, R, DueDate);
    FW_FLAG8(l, R, AlarmSet);
    FW_FLAG8(l, R, Private);
    FW_FLAG8(l, R, ReminderSet);
    FW_FLAG8(l, R, ReminderOverrideDefault);
    FW_FLAG8(l, R, ReminderPlaySound);
    FW_TEXT(l, R, ReminderSoundFile);
    FW_TIMEVALUE(l, R, ReminderTime);
    static_assert(std::is_same_v<decltype(R::Recurrence), RecurrenceRule>);
    l.AddRecurrence("Recurrence", offsetof(R, Recurrence));
    FW_TEXT(l, R, Role);
    FW_TEXT(l, R, Mileage);
    FW_TEXT(l, R, CardData);
    FW_INT(l, R, Ordinal);
    FW_FLAG8(l, R, TeamTask);
    FW_INT(l, R, TotalWork);
    FW_INT(l, R, PercentComplete);
    FW_FLAG8(l, R, IsRecurring);
    FW_TIMEVALUE(l, R, StartDate);
    FW_INT(l, R, Sensitivity);
    FW_INT(l, R, TaskStatus);
    FW_INT(l, R, ResponseState);
    FW_OLEDATE(l, R, CreationTime);
    FW_OLEDATE(l, R, LastModificationTime);
    FW_INT(l, R, SourceType);
    FW_INT(l, R, Status);
    FW_BOOKKEEPING(l, R);
    return l.Take();
}

std::vector<CommField> BuildNoteFields()
{
    using R = CommNoteRec;
    FieldList l;
    FW_INT(l, R, Color);
    FW_INT(l, R, Private);
    FW_TEXT(l, R, Title);
    FW_TEXT(l, R, Body);
    FW_TEXT(l, R, Categories);
    FW_OLEDATE(l, R, CreationTime);
    FW_OLEDATE(l, R, LastModificationTime);
    FW_INT(l, R, SourceType);
    FW_INT(l, R, Status);
    FW_TEXT(l, R, EntryId);
    FW_BOOKKEEPING(l, R);
    return l.Take();
}

// Copies a field's bytes into a value of its type, or gives false for a kind mismatch.
template <class T> bool ReadAs(const void* record, const CommField& field, T& value)
{
    if (record == nullptr || field.Size != sizeof(T)) {
        return false;
    }
    std::memcpy(&value, static_cast<const unsigned char*>(record) + field.Offset, sizeof(T));
    return true;
}

} // namespace

std::span<const CommField> CommAddrFields()
{
    static const std::vector<CommField> fields = BuildAddrFields();
    return fields;
}

std::span<const CommField> CommDateFields()
{
    static const std::vector<CommField> fields = BuildDateFields();
    return fields;
}

std::span<const CommField> CommTaskFields()
{
    static const std::vector<CommField> fields = BuildTaskFields();
    return fields;
}

std::span<const CommField> CommNoteFields()
{
    static const std::vector<CommField> fields = BuildNoteFields();
    return fields;
}

const CommField* CommFindField(std::span<const CommField> fields, std::string_view name)
{
    for (const CommField& field : fields) {
        if (field.Name == name) {
            return &field;
        }
    }
    return nullptr;
}

std::size_t CommFieldKindSize(CommFieldKind kind)
{
    switch (kind) {
    case CommFieldKind::Text:
    case CommFieldKind::Flag8:
        return 1;
    case CommFieldKind::Int32:
    case CommFieldKind::Flag32:
    case CommFieldKind::TimeValue:
    case CommFieldKind::Size32:
        return 4;
    case CommFieldKind::OleDate:
        return sizeof(double);
    case CommFieldKind::SystemTime:
        return sizeof(SYSTEMTIME);
    case CommFieldKind::Pointer:
        return sizeof(void*);
    }
    return 0;
}

std::size_t CommFieldKindAlignment(CommFieldKind kind)
{
    switch (kind) {
    case CommFieldKind::Text:
    case CommFieldKind::Flag8:
        return 1;
    case CommFieldKind::Int32:
    case CommFieldKind::Flag32:
    case CommFieldKind::TimeValue:
    case CommFieldKind::Size32:
        return alignof(std::int32_t);
    case CommFieldKind::OleDate:
        return alignof(double);
    case CommFieldKind::SystemTime:
        return alignof(SYSTEMTIME);
    case CommFieldKind::Pointer:
        return alignof(void*);
    }
    return 1;
}

std::string_view CommFieldText(const void* record, const CommField& field)
{
    if (record == nullptr || field.Kind != CommFieldKind::Text || field.Size == 0) {
        return {};
    }
    const char* text = static_cast<const char*>(record) + field.Offset;
    return {text, strnlen(text, field.Size)};
}

std::int64_t CommFieldInteger(const void* record, const CommField& field)
{
    switch (field.Kind) {
    case CommFieldKind::Int32:
    case CommFieldKind::Flag32:
    case CommFieldKind::TimeValue: {
        std::int32_t value = 0;
        return ReadAs(record, field, value) ? value : 0;
    }
    case CommFieldKind::Size32: {
        std::uint32_t value = 0;
        return ReadAs(record, field, value) ? value : 0;
    }
    case CommFieldKind::Flag8: {
        std::uint8_t value = 0;
        return ReadAs(record, field, value) ? value : 0;
    }
    default:
        return 0;
    }
}

double CommFieldOleDate(const void* record, const CommField& field)
{
    double value = 0;
    if (field.Kind != CommFieldKind::OleDate || !ReadAs(record, field, value)) {
        return 0;
    }
    return value;
}

SYSTEMTIME CommFieldSystemTime(const void* record, const CommField& field)
{
    SYSTEMTIME value{};
    if (field.Kind != CommFieldKind::SystemTime || !ReadAs(record, field, value)) {
        return SYSTEMTIME{};
    }
    return value;
}

const void* CommFieldPointer(const void* record, const CommField& field)
{
    const void* value = nullptr;
    if (field.Kind != CommFieldKind::Pointer || !ReadAs(record, field, value)) {
        return nullptr;
    }
    return value;
}
