#include "palm/PalmMemoEx.h"

#include "misc/CxDebugUtil.h"

namespace {

const PmExDBUtil::Traits kTraits = {
    "Memos",
    "memopad",
    "memopad.dat",
    kPmMemoExTag,
    43,
    64,
    kPmMemoExFieldTypes.data(),
    static_cast<std::uint16_t>(kPmMemoExFieldTypes.size()),
    "Failed to load Memos records.",
    "Load Palm Desktop Memos failed: ",
    false, // no custom labels
    true,  // reserved block 1 logged
    false, // nothing logged at the end
    true,  // an empty path is refused first
    true,  // one error line per remaining record
};

} // namespace

PmMemoExUtil::PmMemoExUtil() : PmExReader(kTraits) {}

PmMemoExUtil::PmMemoExUtil(const std::string& path) : PmExReader(kTraits)
{
    Load(path);
}

PmMemoExUtil::~PmMemoExUtil() = default;

bool PmMemoExUtil::ReadField(int position, PmMemoExRec& rec)
{
    if (position == 13) {
        return ReadStringField(rec.text, 65535);
    }
    return true; // beyond the memo layout: nothing to read
}
