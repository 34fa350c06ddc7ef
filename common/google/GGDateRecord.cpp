#include "google/GGDateRecord.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "misc/CxFile.h"

namespace {

#define GD_INT(S, F)                                                                                         \
    {                                                                                                        \
#F, GDateFieldKind::Integer, offsetof(S, F), 0                                                       \
    }
#define GD_INT_AT(S, F, I, N)                                                                                \
    {                                                                                                        \
        N, GDateFieldKind::Integer, offsetof(S, F) + (I) * sizeof(int), 0                                    \
    }
#define GD_DATE(S, F)                                                                                        \
    {                                                                                                        \
#F, GDateFieldKind::Date, offsetof(S, F), 0                                                          \
    }
#define GD_TEXT(S, F)                                                                                        \
    {                                                                                                        \
#F, GDateFieldKind::Text, offsetof(S, F), static_cast < int>(sizeof(S::F))                           \
    }

const GDateFieldDesc kDateFields[] = {
    GD_INT(GDateRec, Kept1),
    GD_INT(GDateRec, ChangeMark),
    GD_INT(GDateRec, Action),
    GD_TEXT(GDateRec, Kept4),
    GD_TEXT(GDateRec, Subject),
    GD_TEXT(GDateRec, Location),
    GD_DATE(GDateRec, Start),
    GD_DATE(GDateRec, End),
    GD_INT(GDateRec, Kept9),
    GD_INT(GDateRec, AttrB),
    GD_INT(GDateRec, AttrA),
    GD_INT(GDateRec, ReminderCount),
    GD_INT_AT(GDateRec, ReminderMethods, 0, "ReminderMethod1"),
    GD_INT_AT(GDateRec, ReminderMethods, 1, "ReminderMethod2"),
    GD_INT_AT(GDateRec, ReminderMethods, 2, "ReminderMethod3"),
    GD_INT_AT(GDateRec, ReminderAmounts, 0, "ReminderAmount1"),
    GD_INT_AT(GDateRec, ReminderAmounts, 1, "ReminderAmount2"),
    GD_INT_AT(GDateRec, ReminderAmounts, 2, "ReminderAmount3"),
    GD_INT_AT(GDateRec, ReminderUnits, 0, "ReminderUnit1"),
    GD_INT_AT(GDateRec, ReminderUnits, 1, "ReminderUnit2"),
    GD_INT_AT(GDateRec, ReminderUnits, 2, "ReminderUnit3"),
    GD_TEXT(GDateRec, Recurrence),
    GD_INT(GDateRec, RepeatKind),
    GD_INT(GDateRec, HasEnd),
    GD_DATE(GDateRec, PatternStart),
    GD_DATE(GDateRec, PatternEnd),
    GD_INT(GDateRec, Interval),
    GD_INT(GDateRec, DayOfWeekMask),
    GD_INT(GDateRec, DayOfMonth),
    GD_INT(GDateRec, MonthOfYear),
    GD_INT(GDateRec, Instance),
    GD_TEXT(GDateRec, Kept26),
    GD_TEXT(GDateRec, Calendar),
    GD_TEXT(GDateRec, Body),
    GD_TEXT(GDateRec, Categories),
    GD_DATE(GDateRec, Kept30),
    GD_DATE(GDateRec, Kept31),
};

const GDateFieldDesc kCalFields[] = {
    GD_TEXT(GCalRec, CalendarID),
    GD_TEXT(GCalRec, Title),
    GD_TEXT(GCalRec, Summary),
    GD_TEXT(GCalRec, TimeZone),
};

#undef GD_INT
#undef GD_INT_AT
#undef GD_DATE
#undef GD_TEXT

bool LoadFields(CxFile& file, std::span<const GDateFieldDesc> fields, void* rec)
{
    return LoadLayoutFields(file, fields, rec);
}

bool SaveFields(CxFile& file, std::span<const GDateFieldDesc> fields, const void* rec)
{
    return SaveLayoutFields(file, fields, rec);
}

template <class Rec, class Load> bool LoadFile(CxFile& file, std::vector<Rec>& records, Load load)
{
    records.clear();
    int count = 0;
    if (!file.ReadInt(&count)) {
        return false;
    }
    count = count < 0 ? 0 : count;
    bool whole = true;
    // The count is not trusted for allocation: records grow as they are read.
    for (int i = 0; i < count && !file.AtEnd(); ++i) {
        Rec rec;
        std::memset(&rec, 0, sizeof rec);
        if (!load(file, rec)) {
            whole = false;
        }
        records.push_back(rec);
    }
    return whole && static_cast<int>(records.size()) == count;
}

template <class Rec, class Save> bool SaveFile(CxFile& file, std::span<const Rec> records, Save save)
{
    bool ok = file.WriteInt(static_cast<int>(records.size()));
    for (const Rec& rec : records) {
        ok = save(file, rec) && ok;
    }
    return ok;
}

} // namespace

std::span<const GDateFieldDesc> GDateFields()
{
    return kDateFields;
}

std::span<const GDateFieldDesc> GCalFields()
{
    return kCalFields;
}

bool LoadGDateRecord(CxFile& file, GDateRec& rec)
{
    return LoadFields(file, kDateFields, &rec);
}

bool LoadGCalRecord(CxFile& file, GCalRec& rec)
{
    return LoadFields(file, kCalFields, &rec);
}

bool SaveGDateRecord(CxFile& file, const GDateRec& rec)
{
    return SaveFields(file, kDateFields, &rec);
}

bool SaveGCalRecord(CxFile& file, const GCalRec& rec)
{
    return SaveFields(file, kCalFields, &rec);
}

bool LoadGDateRecordFile(CxFile& file, std::vector<GDateRec>& records)
{
    return LoadFile(file, records, [](CxFile& f, GDateRec& r) { return LoadGDateRecord(f, r); });
}

bool LoadGCalRecordFile(CxFile& file, std::vector<GCalRec>& records)
{
    return LoadFile(file, records, [](CxFile& f, GCalRec& r) { return LoadGCalRecord(f, r); });
}

bool SaveGDateRecordFile(CxFile& file, std::span<const GDateRec> records)
{
    return SaveFile(file, records, [](CxFile& f, const GDateRec& r) { return SaveGDateRecord(f, r); });
}

bool SaveGCalRecordFile(CxFile& file, std::span<const GCalRec> records)
{
    return SaveFile(file, records, [](CxFile& f, const GCalRec& r) { return SaveGCalRecord(f, r); });
}
