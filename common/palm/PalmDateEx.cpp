#include "palm/PalmDateEx.h"

#include "misc/CxDebugUtil.h"

namespace {

const PmExDBUtil::Traits kTraits = {
    "Calendar",
    "datebook",
    "datebook.dat",
    kPmDateExTag,
    43,
    54,
    kPmDateExFieldTypes.data(),
    static_cast<std::uint16_t>(kPmDateExFieldTypes.size()),
    "Failed to load Calendar records.",
    "Load Palm Desktop Calendar failed: ",
    false, // no custom labels
    false, // reserved block 1 not logged
    true,  // "information is loaded" logged
    false, // an empty path goes to the open, which refuses it
    true,  // one error line per remaining record
};

} // namespace

PmDateExUtil::PmDateExUtil() : PmExReader(kTraits) {}

PmDateExUtil::PmDateExUtil(const std::string& path) : PmExReader(kTraits)
{
    Load(path);
}

PmDateExUtil::~PmDateExUtil() = default;

bool PmDateExUtil::ReadField(int position, PmDateExRec& rec)
{
    switch (position) {
    case 13:
        return ReadIntField(rec.startTime);
    case 14:
        return ReadIntField(rec.endTime);
    case 15:
        return ReadStringField(rec.description, 256);
    case 16:
        return ReadIntField(rec.int16);
    case 17:
        return ReadStringField(rec.note, 8192);
    case 18:
        return ReadIntField(rec.untimed);
    case 19:
        return ReadIntField(rec.alarmSet);
    case 20:
        return ReadIntField(rec.alarmAdvance);
    case 21:
        return ReadIntField(rec.alarmAdvanceUnit);
    case 22:
        return ReadTypedRepeatField(rec.repeat);
    case 23:
        return ReadStringField(rec.location, 256);
    case 24:
        return ReadIntField(rec.int24);
    case 25:
        return ReadStringField(rec.text25, 32);
    case 26:
        return ReadStringField(rec.text26, 32);
    default:
        return true; // beyond the calendar layout: nothing to read
    }
}
