#include "palm/PalmDate.h"

#include "misc/CxDebugUtil.h"

namespace {

constexpr std::uint16_t kFieldTypes[] = {1, 1, 1, 3, 1, 5, 1, 5, 6, 6, 1, 6, 1, 1, 8};

const PmClassicMessages kMessages = {
    .loading = "Loading Palm Desktop datebook: %s",
    .categoryFailed = "Failed to load category information.",
    .schemaFailed = "Failed to load database schema information.",
    .loadFailed = "Failed to load Palm Desktop datebook: %s",
    .nextFreeIdFailed = "Failed to read the next feed ID of the categories.",
    .categoryCountFailed = "Failed to read categories count.",
    .categoryAddFailed = "Failed to add category information.",
};

const PmClassicDBUtil::Traits kTraits = {
    "datebook", "datebook.dat", PmDateUtil::kVersionTag, 256, 512, 54, kFieldTypes, 15, 15, &kMessages,
};

} // namespace

PmDateUtil::PmDateUtil() : PmClassicReader(kTraits) {}

PmDateUtil::PmDateUtil(const std::string& path) : PmClassicReader(kTraits)
{
    Load(path);
}

PmDateUtil::~PmDateUtil() = default;

bool PmDateUtil::ReadField(int position)
{
    PmDateRec& rec = m_rec;
    switch (position) {
    case 0:
        return ReadIntField(rec.recordId);
    case 1:
        return ReadIntField(rec.status);
    case 2:
        return ReadIntField(rec.placement);
    case 3:
        return ReadIntField(rec.startDate);
    case 4:
        return ReadIntField(rec.endDate);
    case 5:
        return ReadStringField(rec.description, 512);
    case 6:
        return ReadIntField(rec.int6);
    case 7:
        return ReadStringField(rec.note, 8192);
    case 8:
        return ReadIntField(rec.untimed);
    case 9:
        return ReadIntField(rec.isPrivate);
    case 10:
        return ReadIntField(rec.categoryId);
    case 11:
        return ReadIntField(rec.alarmSet);
    case 12:
        return ReadIntField(rec.alarmAdvance);
    case 13:
        return ReadIntField(rec.alarmUnit);
    case 14:
        return ReadTypedRepeatField(rec.repeat);
    default:
        return true;
    }
}
