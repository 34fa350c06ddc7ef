#include "google/GGAddrRecord.h"

#include <cstring>
#include <string_view>

#include "misc/CxFile.h"

namespace {

#define GG_INT(F)                                                                                            \
    {                                                                                                        \
#F, GGAddrValueKind::Integer, offsetof(GGAddrRec, F), 1, sizeof(int), 0                              \
    }
#define GG_INTS(F)                                                                                           \
    {                                                                                                        \
#F, GGAddrValueKind::Integer, offsetof(GGAddrRec, F),                                                \
            static_cast < int>(sizeof(GGAddrRec::F) / sizeof(int)), sizeof(int), 0                           \
    }
#define GG_DATE(F)                                                                                           \
    {                                                                                                        \
#F, GGAddrValueKind::Date, offsetof(GGAddrRec, F), 1, sizeof(double), 0                              \
    }
#define GG_DATES(F)                                                                                          \
    {                                                                                                        \
#F, GGAddrValueKind::Date, offsetof(GGAddrRec, F),                                                   \
            static_cast < int>(sizeof(GGAddrRec::F) / sizeof(double)), sizeof(double), 0                     \
    }
#define GG_TEXT(F)                                                                                           \
    {                                                                                                        \
#F, GGAddrValueKind::Text, offsetof(GGAddrRec, F), 1, sizeof(GGAddrRec::F),                          \
            static_cast < int>(sizeof(GGAddrRec::F))                                                         \
    }
#define GG_TEXTS(F)                                                                                          \
    {                                                                                                        \
#F, GGAddrValueKind::Text, offsetof(GGAddrRec, F),                                                   \
            static_cast < int>(sizeof(GGAddrRec::F) / sizeof(GGAddrRec::F[0])), sizeof(GGAddrRec::F[0]),     \
            static_cast < int>(sizeof(GGAddrRec::F[0]))                                                      \
    }

const GGAddrLayoutField kLayout[] = {
    GG_INT(Kept1),           GG_INT(ChangeMark),     GG_INT(Action),
    GG_TEXT(FirstName),      GG_TEXT(MiddleName),    GG_TEXT(LastName),
    GG_TEXT(DisplayName),    GG_TEXT(NickName),      GG_TEXT(Company),
    GG_TEXT(JobTitle),       GG_INTS(EmailKinds),    GG_TEXTS(Emails),
    GG_TEXT(PrimaryEmail),   GG_INTS(AddressKinds),  GG_TEXTS(FormattedAddresses),
    GG_TEXTS(Cities),        GG_TEXTS(States),       GG_TEXTS(Countries),
    GG_TEXTS(PostalCodes),   GG_TEXTS(Streets),      GG_TEXTS(POBoxes),
    GG_TEXTS(Neighborhoods), GG_INTS(PhoneKinds),    GG_TEXTS(Phones),
    GG_TEXT(PrimaryPhone),   GG_INTS(WebSiteKinds),  GG_TEXTS(WebSites),
    GG_TEXT(PrimaryWebSite), GG_INTS(IMKinds),       GG_TEXTS(IMs),
    GG_TEXT(PrimaryIM),      GG_TEXTS(CustomLabels), GG_TEXTS(CustomFields),
    GG_INTS(DateKinds),      GG_DATES(Dates),        GG_INTS(RelationKinds),
    GG_TEXTS(Relations),     GG_TEXT(Kept38),        GG_TEXT(Note),
    GG_TEXT(Category),       GG_DATE(CreationTime),  GG_DATE(LastModificationTime),
};

#undef GG_INT
#undef GG_INTS
#undef GG_DATE
#undef GG_DATES
#undef GG_TEXT
#undef GG_TEXTS

static_assert(sizeof(kLayout) / sizeof(kLayout[0]) == 42);

} // namespace

std::span<const GGAddrLayoutField> GGAddrLayout()
{
    return kLayout;
}

bool LoadGGAddrRecord(CxFile& file, GGAddrRec& rec)
{
    auto* base = reinterpret_cast<unsigned char*>(&rec);
    bool whole = true;
    for (const GGAddrLayoutField& field : kLayout) {
        for (int i = 0; i < field.Count; ++i) {
            unsigned char* at = base + field.Offset + static_cast<std::size_t>(i) * field.Stride;
            whole = ReadLayoutValue(file, field.Kind, at, field.Capacity) && whole;
        }
    }
    return whole;
}

bool SaveGGAddrRecord(CxFile& file, const GGAddrRec& rec)
{
    const auto* base = reinterpret_cast<const unsigned char*>(&rec);
    bool ok = true;
    for (const GGAddrLayoutField& field : kLayout) {
        for (int i = 0; i < field.Count; ++i) {
            const unsigned char* at = base + field.Offset + static_cast<std::size_t>(i) * field.Stride;
            ok = WriteLayoutValue(file, field.Kind, at, field.Capacity) && ok;
        }
    }
    return ok;
}

bool LoadGGAddrRecordFile(CxFile& file, std::vector<GGAddrRec>& records)
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
        GGAddrRec rec;
        std::memset(&rec, 0, sizeof rec);
        if (!LoadGGAddrRecord(file, rec)) {
            whole = false;
        }
        records.push_back(rec);
    }
    return whole && static_cast<int>(records.size()) == count;
}

bool SaveGGAddrRecordFile(CxFile& file, std::span<const GGAddrRec> records)
{
    bool ok = file.WriteInt(static_cast<int>(records.size()));
    for (const GGAddrRec& rec : records) {
        ok = SaveGGAddrRecord(file, rec) && ok;
    }
    return ok;
}
