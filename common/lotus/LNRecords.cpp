#include "lotus/LNRecords.h"

#include <cstring>

#include "misc/CxFile.h"

namespace {

#define LN_INT(S, F)                                                                                         \
    {                                                                                                        \
#F, LNFieldKind::Integer, offsetof(S, F), 0                                                          \
    }
#define LN_BOOL(S, F)                                                                                        \
    {                                                                                                        \
#F, LNFieldKind::Boolean, offsetof(S, F), 0                                                          \
    }
#define LN_DATE(S, F)                                                                                        \
    {                                                                                                        \
#F, LNFieldKind::Date, offsetof(S, F), 0                                                             \
    }
#define LN_DATE_AT(S, F, I, N)                                                                               \
    {                                                                                                        \
        N, LNFieldKind::Date, offsetof(S, F) + (I) * sizeof(double), 0                                       \
    }
#define LN_TEXT(S, F)                                                                                        \
    {                                                                                                        \
#F, LNFieldKind::Text, offsetof(S, F), static_cast < int>(sizeof(S::F))                              \
    }
#define LN_TEXT_AT(S, F, I, N)                                                                               \
    {                                                                                                        \
        N, LNFieldKind::Text, offsetof(S, F) + (I) * sizeof(S::F[0]), static_cast<int>(sizeof(S::F[0]))      \
    }

const LNFieldDesc kAddrFields[] = {
    LN_INT(LNAddrRec, ChangeMark),
    LN_INT(LNAddrRec, Action),
    LN_TEXT(LNAddrRec, ItemID),
    LN_TEXT(LNAddrRec, FirstName),
    LN_TEXT(LNAddrRec, MiddleName),
    LN_TEXT(LNAddrRec, LastName),
    LN_TEXT(LNAddrRec, Suffix),
    LN_TEXT(LNAddrRec, DisplayName),
    LN_TEXT(LNAddrRec, Company),
    LN_TEXT(LNAddrRec, Department),
    LN_TEXT(LNAddrRec, JobTitle),
    LN_TEXT(LNAddrRec, Location),
    LN_TEXT(LNAddrRec, AssistantName),
    LN_TEXT(LNAddrRec, ManagerName),
    LN_TEXT(LNAddrRec, BusinessEmail),
    LN_TEXT(LNAddrRec, PersonalEmail),
    LN_TEXT(LNAddrRec, ThirdEmail),
    LN_TEXT(LNAddrRec, BusinessEmail2),
    LN_TEXT(LNAddrRec, PersonalEmail2),
    LN_TEXT(LNAddrRec, BusinessStreet),
    LN_TEXT(LNAddrRec, BusinessCity),
    LN_TEXT(LNAddrRec, BusinessState),
    LN_TEXT(LNAddrRec, BusinessCountry),
    LN_TEXT(LNAddrRec, BusinessPostal),
    LN_TEXT(LNAddrRec, HomeStreet),
    LN_TEXT(LNAddrRec, HomeCity),
    LN_TEXT(LNAddrRec, HomeState),
    LN_TEXT(LNAddrRec, HomeCountry),
    LN_TEXT(LNAddrRec, HomePostal),
    LN_TEXT(LNAddrRec, OtherStreet),
    LN_TEXT(LNAddrRec, OtherCity),
    LN_TEXT(LNAddrRec, OtherState),
    LN_TEXT(LNAddrRec, OtherCountry),
    LN_TEXT(LNAddrRec, OtherPostal),
    LN_TEXT(LNAddrRec, PrimaryPhone),
    LN_TEXT(LNAddrRec, BusinessPhone),
    LN_TEXT(LNAddrRec, HomePhone),
    LN_TEXT(LNAddrRec, MobilePhone),
    LN_TEXT(LNAddrRec, BusinessFax),
    LN_TEXT(LNAddrRec, HomeFax),
    LN_TEXT(LNAddrRec, Pager),
    LN_TEXT(LNAddrRec, InstantMessenger),
    LN_TEXT(LNAddrRec, WebSite),
    LN_TEXT(LNAddrRec, BlogSite),
    LN_TEXT(LNAddrRec, SpouseName),
    LN_TEXT(LNAddrRec, ChildrenNames),
    LN_TEXT(LNAddrRec, Note),
    LN_TEXT(LNAddrRec, Category),
    LN_TEXT_AT(LNAddrRec, CustomFields, 0, "CustomField1"),
    LN_TEXT_AT(LNAddrRec, CustomFields, 1, "CustomField2"),
    LN_TEXT_AT(LNAddrRec, CustomFields, 2, "CustomField3"),
    LN_TEXT_AT(LNAddrRec, CustomFields, 3, "CustomField4"),
    LN_TEXT_AT(LNAddrRec, CustomFields, 4, "CustomField5"),
    LN_TEXT_AT(LNAddrRec, CustomFields, 5, "CustomField6"),
    LN_TEXT_AT(LNAddrRec, CustomFields, 6, "CustomField7"),
    LN_TEXT_AT(LNAddrRec, CustomFields, 7, "CustomField8"),
    LN_TEXT_AT(LNAddrRec, CustomFields, 8, "CustomField9"),
    LN_TEXT_AT(LNAddrRec, CustomFields, 9, "CustomField10"),
    LN_TEXT_AT(LNAddrRec, CustomLabels, 0, "CustomLabel1"),
    LN_TEXT_AT(LNAddrRec, CustomLabels, 1, "CustomLabel2"),
    LN_TEXT_AT(LNAddrRec, CustomLabels, 2, "CustomLabel3"),
    LN_TEXT_AT(LNAddrRec, CustomLabels, 3, "CustomLabel4"),
    LN_TEXT_AT(LNAddrRec, CustomLabels, 4, "CustomLabel5"),
    LN_TEXT_AT(LNAddrRec, CustomLabels, 5, "CustomLabel6"),
    LN_TEXT_AT(LNAddrRec, CustomLabels, 6, "CustomLabel7"),
    LN_TEXT_AT(LNAddrRec, CustomLabels, 7, "CustomLabel8"),
    LN_TEXT_AT(LNAddrRec, CustomLabels, 8, "CustomLabel9"),
    LN_TEXT_AT(LNAddrRec, CustomLabels, 9, "CustomLabel10"),
    LN_DATE(LNAddrRec, BirthDate),
    LN_DATE(LNAddrRec, Anniversary),
};

const LNFieldDesc kDateFields[] = {
    LN_INT(LNDateRec, ChangeMark),
    LN_INT(LNDateRec, Action),
    LN_TEXT(LNDateRec, ItemID),
    LN_TEXT(LNDateRec, Subject),
    LN_TEXT(LNDateRec, Location),
    LN_TEXT(LNDateRec, Body),
    LN_TEXT(LNDateRec, Repeats),
    LN_TEXT(LNDateRec, Kept8),
    LN_TEXT(LNDateRec, Kept9),
    LN_TEXT(LNDateRec, Kept10),
    LN_DATE_AT(LNDateRec, Kept11, 0, "Kept11"),
    LN_DATE_AT(LNDateRec, Kept11, 1, "Kept12"),
    LN_DATE_AT(LNDateRec, Kept11, 2, "Kept13"),
    LN_DATE_AT(LNDateRec, Kept11, 3, "Kept14"),
    LN_DATE(LNDateRec, Start),
    LN_DATE(LNDateRec, End),
    LN_TEXT(LNDateRec, RepeatUnit),
    LN_TEXT(LNDateRec, RepeatInterval),
    LN_TEXT(LNDateRec, RepeatDays),
    LN_TEXT(LNDateRec, Field20),
    LN_DATE(LNDateRec, RepeatStartDay),
    LN_TEXT(LNDateRec, RepeatPeriod),
    LN_DATE(LNDateRec, RepeatUntil),
    LN_TEXT(LNDateRec, RepeatPeriod2),
    LN_INT(LNDateRec, RepeatCount),
    LN_TEXT(LNDateRec, Kept26),
    LN_DATE(LNDateRec, RepeatStartDay2),
    LN_TEXT(LNDateRec, Kept28),
    LN_TEXT(LNDateRec, Kept29),
    LN_BOOL(LNDateRec, Private),
};

const LNFieldDesc kTaskFields[] = {
    LN_INT(LNTaskRec, ChangeMark),      LN_INT(LNTaskRec, Action),   LN_TEXT(LNTaskRec, ItemID),
    LN_TEXT(LNTaskRec, Subject),        LN_TEXT(LNTaskRec, Body),    LN_TEXT(LNTaskRec, Kept6),
    LN_TEXT(LNTaskRec, Kept7),          LN_INT(LNTaskRec, Priority), LN_BOOL(LNTaskRec, Private),
    LN_TEXT(LNTaskRec, Kept10),         LN_DATE(LNTaskRec, DueDate), LN_DATE(LNTaskRec, Kept12),
    LN_DATE(LNTaskRec, CompletionDate), LN_INT(LNTaskRec, Kept14),   LN_INT(LNTaskRec, Kept15),
    LN_TEXT(LNTaskRec, Kept16),         LN_TEXT(LNTaskRec, Kept17),  LN_TEXT(LNTaskRec, Kept18),
    LN_INT(LNTaskRec, Kept19),          LN_TEXT(LNTaskRec, Kept20),
};

const LNFieldDesc kNoteFields[] = {
    LN_INT(LNNoteRec, ChangeMark),
    LN_INT(LNNoteRec, Action),
    LN_TEXT(LNNoteRec, ItemID),
    LN_TEXT(LNNoteRec, Title),
    LN_TEXT(LNNoteRec, Body),
    LN_TEXT(LNNoteRec, Kept6),
    LN_INT(LNNoteRec, Kept7),
    LN_DATE_AT(LNNoteRec, Kept8, 0, "Kept8"),
    LN_DATE_AT(LNNoteRec, Kept8, 1, "Kept9"),
    LN_DATE_AT(LNNoteRec, Kept8, 2, "Kept10"),
};

#undef LN_INT
#undef LN_BOOL
#undef LN_DATE
#undef LN_DATE_AT
#undef LN_TEXT
#undef LN_TEXT_AT

} // namespace

std::span<const LNFieldDesc> LNAddrFields()
{
    return kAddrFields;
}
std::span<const LNFieldDesc> LNDateFields()
{
    return kDateFields;
}
std::span<const LNFieldDesc> LNTaskFields()
{
    return kTaskFields;
}
std::span<const LNFieldDesc> LNNoteFields()
{
    return kNoteFields;
}

bool LoadLNRecord(CxFile& file, std::span<const LNFieldDesc> fields, void* rec)
{
    return LoadLayoutFields(file, fields, rec);
}

bool SaveLNRecord(CxFile& file, std::span<const LNFieldDesc> fields, const void* rec)
{
    return SaveLayoutFields(file, fields, rec);
}

bool LoadLNRecord(CxFile& file, LNAddrRec& rec)
{
    return LoadLNRecord(file, LNAddrFields(), &rec);
}
bool LoadLNRecord(CxFile& file, LNDateRec& rec)
{
    return LoadLNRecord(file, LNDateFields(), &rec);
}
bool LoadLNRecord(CxFile& file, LNTaskRec& rec)
{
    return LoadLNRecord(file, LNTaskFields(), &rec);
}
bool LoadLNRecord(CxFile& file, LNNoteRec& rec)
{
    return LoadLNRecord(file, LNNoteFields(), &rec);
}
bool SaveLNRecord(CxFile& file, const LNAddrRec& rec)
{
    return SaveLNRecord(file, LNAddrFields(), &rec);
}
bool SaveLNRecord(CxFile& file, const LNDateRec& rec)
{
    return SaveLNRecord(file, LNDateFields(), &rec);
}
bool SaveLNRecord(CxFile& file, const LNTaskRec& rec)
{
    return SaveLNRecord(file, LNTaskFields(), &rec);
}
bool SaveLNRecord(CxFile& file, const LNNoteRec& rec)
{
    return SaveLNRecord(file, LNNoteFields(), &rec);
}

bool LoadLNRecordCount(CxFile& file, int* count)
{
    int value = 0;
    bool ok = file.ReadInt(&value);
    *count = value < 0 ? 0 : value;
    return ok;
}

template <class Rec> bool LoadLNRecordFile(CxFile& file, std::vector<Rec>& records)
{
    records.clear();
    int count = 0;
    if (!LoadLNRecordCount(file, &count)) {
        return false;
    }
    bool whole = true;
    // The count is not trusted for allocation: records grow as they are read.
    for (int i = 0; i < count && !file.AtEnd(); ++i) {
        Rec rec;
        std::memset(&rec, 0, sizeof rec);
        if (!LoadLNRecord(file, rec)) {
            whole = false;
        }
        records.push_back(rec);
    }
    return whole && static_cast<int>(records.size()) == count;
}

template <class Rec> bool SaveLNRecordFile(CxFile& file, std::span<const Rec> records)
{
    bool ok = file.WriteInt(static_cast<int>(records.size()));
    for (const Rec& rec : records) {
        ok = SaveLNRecord(file, rec) && ok;
    }
    return ok;
}

template bool LoadLNRecordFile(CxFile&, std::vector<LNAddrRec>&);
template bool LoadLNRecordFile(CxFile&, std::vector<LNDateRec>&);
template bool LoadLNRecordFile(CxFile&, std::vector<LNTaskRec>&);
template bool LoadLNRecordFile(CxFile&, std::vector<LNNoteRec>&);
template bool SaveLNRecordFile(CxFile&, std::span<const LNAddrRec>);
template bool SaveLNRecordFile(CxFile&, std::span<const LNDateRec>);
template bool SaveLNRecordFile(CxFile&, std::span<const LNTaskRec>);
template bool SaveLNRecordFile(CxFile&, std::span<const LNNoteRec>);
