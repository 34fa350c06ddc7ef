#include "ACT/ACTRecords.h"

#include <cstddef>
#include <type_traits>

#include "misc/CxFile.h"

namespace {

static_assert(std::is_trivially_copyable_v<ACTAddrRec> && std::is_standard_layout_v<ACTAddrRec>);

constexpr CxFieldKind KindOf(int type)
{
    return type == ACTFieldTypeText   ? CxFieldKind::Text
           : type == ACTFieldTypeFlag ? CxFieldKind::Boolean
                                      : CxFieldKind::Date;
}

#define ACT_INT(S, F)                                                                                        \
    {                                                                                                        \
#F, CxFieldKind::Integer, offsetof(S, F), 0                                                          \
    }
#define ACT_FLAG(S, F)                                                                                       \
    {                                                                                                        \
#F, CxFieldKind::Boolean, offsetof(S, F), 0                                                          \
    }
#define ACT_DATE(S, F)                                                                                       \
    {                                                                                                        \
#F, CxFieldKind::Date, offsetof(S, F), 0                                                             \
    }
#define ACT_TEXT(S, F)                                                                                       \
    {                                                                                                        \
#F, CxFieldKind::Text, offsetof(S, F), static_cast < int>(sizeof(S::F))                              \
    }
#define ACT_CONTACT(id, member, label, type, width)                                                          \
    {#member, KindOf(type), offsetof(ACTAddrRec, member), type == ACTFieldTypeText ? width : 0},

const CxLayoutField kAddrFields[] = {ACT_INT(ACTAddrRec, ChangeMark), ACT_INT(ACTAddrRec, Action),
                                     ACT_CONTACT_FIELDS(ACT_CONTACT)};
static_assert(std::size(kAddrFields) == 2 + ACTContactFieldCount);

const CxLayoutField kDateFields[] = {
    ACT_INT(ACTDateRec, ChangeMark),     ACT_INT(ACTDateRec, Action),
    ACT_TEXT(ACTDateRec, ItemID),        ACT_TEXT(ACTDateRec, Subject),
    ACT_TEXT(ACTDateRec, Location),      ACT_TEXT(ACTDateRec, Details),
    ACT_INT(ACTDateRec, ActivityCode),   ACT_DATE(ACTDateRec, Start),
    ACT_DATE(ACTDateRec, End),           ACT_DATE(ACTDateRec, Kept10),
    ACT_DATE(ACTDateRec, Kept11),        ACT_INT(ACTDateRec, Kept12),
    ACT_INT(ACTDateRec, RepeatValue),    ACT_INT(ACTDateRec, RepeatType),
    ACT_INT(ACTDateRec, RepeatInterval), ACT_INT(ACTDateRec, RepeatInstance),
    ACT_INT(ACTDateRec, RepeatMonth),    ACT_INT(ACTDateRec, RepeatFrequency),
    ACT_DATE(ACTDateRec, RepeatEnd),     ACT_FLAG(ACTDateRec, Private),
    ACT_FLAG(ACTDateRec, AllDay),
};

const CxLayoutField kTaskFields[] = {
    ACT_INT(ACTTaskRec, ChangeMark), ACT_INT(ACTTaskRec, Action),   ACT_TEXT(ACTTaskRec, ItemID),
    ACT_TEXT(ACTTaskRec, Subject),   ACT_TEXT(ACTTaskRec, Kept5),   ACT_TEXT(ACTTaskRec, Details),
    ACT_DATE(ACTTaskRec, Kept7),     ACT_DATE(ACTTaskRec, Kept8),   ACT_INT(ACTTaskRec, Priority),
    ACT_INT(ACTTaskRec, Kept10),     ACT_INT(ACTTaskRec, Kept11),   ACT_INT(ACTTaskRec, Kept12),
    ACT_INT(ACTTaskRec, Kept13),     ACT_INT(ACTTaskRec, Kept14),   ACT_INT(ACTTaskRec, Kept15),
    ACT_DATE(ACTTaskRec, Kept16),    ACT_FLAG(ACTTaskRec, Private), ACT_DATE(ACTTaskRec, DueDate),
    ACT_FLAG(ACTTaskRec, Completed),
};

const CxLayoutField kNoteFields[] = {
    ACT_INT(ACTNoteRec, ChangeMark), ACT_INT(ACTNoteRec, Action), ACT_TEXT(ACTNoteRec, ItemID),
    ACT_TEXT(ACTNoteRec, Kept4),     ACT_TEXT(ACTNoteRec, Kept5), ACT_TEXT(ACTNoteRec, Kept6),
    ACT_TEXT(ACTNoteRec, Text),      ACT_INT(ACTNoteRec, Kept8),  ACT_DATE(ACTNoteRec, Created),
    ACT_DATE(ACTNoteRec, Edited),
};

#undef ACT_INT
#undef ACT_FLAG
#undef ACT_DATE
#undef ACT_TEXT
#undef ACT_CONTACT

} // namespace

std::span<const CxLayoutField> ACTAddrFields()
{
    return kAddrFields;
}

std::span<const CxLayoutField> ACTDateFields()
{
    return kDateFields;
}

std::span<const CxLayoutField> ACTTaskFields()
{
    return kTaskFields;
}

std::span<const CxLayoutField> ACTNoteFields()
{
    return kNoteFields;
}

bool LoadACTRecord(CxFile& file, ACTAddrRec& rec)
{
    return LoadLayoutFields(file, kAddrFields, &rec);
}

bool LoadACTRecord(CxFile& file, ACTDateRec& rec)
{
    return LoadLayoutFields(file, kDateFields, &rec);
}

bool LoadACTRecord(CxFile& file, ACTTaskRec& rec)
{
    return LoadLayoutFields(file, kTaskFields, &rec);
}

bool LoadACTRecord(CxFile& file, ACTNoteRec& rec)
{
    return LoadLayoutFields(file, kNoteFields, &rec);
}

bool SaveACTRecord(CxFile& file, const ACTAddrRec& rec)
{
    return SaveLayoutFields(file, kAddrFields, &rec);
}

bool SaveACTRecord(CxFile& file, const ACTDateRec& rec)
{
    return SaveLayoutFields(file, kDateFields, &rec);
}

bool SaveACTRecord(CxFile& file, const ACTTaskRec& rec)
{
    return SaveLayoutFields(file, kTaskFields, &rec);
}

bool SaveACTRecord(CxFile& file, const ACTNoteRec& rec)
{
    return SaveLayoutFields(file, kNoteFields, &rec);
}
