#include "palm/PalmMemo.h"

#include "misc/CxDebugUtil.h"

namespace {

constexpr std::uint16_t kFieldTypes[] = {1, 1, 1, 5, 6, 1};

const PmClassicMessages kMessages = {
    .loading = "Loading Palm Desktop memopad: %s",
    .emptyPath = "Invalid Palm Desktop memopad database file name.",
    .categoryFailed = "Failed to load category information.",
    .schemaFailed = "Failed to load database schema information.",
    .loadFailed = "Load Palm Desktop memopad failed: %s",
    .noUserFolder = "Can not get Palm Desktop user data path. User ID=%d",
    .nextFreeIdFailed = "Failed to read the next feed ID of the categories.",
    .categoryCountFailed = "Failed to read categories count.",
    .categoryAddFailed = "Failed to add category information.",
};

const PmClassicDBUtil::Traits kTraits = {
    "memopad", "memopad.dat", PmMemoUtil::kVersionTag, 256, 256, 64, kFieldTypes, 6, 6, &kMessages,
};

} // namespace

PmMemoUtil::PmMemoUtil() : PmClassicReader(kTraits) {}

PmMemoUtil::PmMemoUtil(const std::string& path) : PmClassicReader(kTraits)
{
    Load(path);
}

PmMemoUtil::~PmMemoUtil() = default;

bool PmMemoUtil::ReadField(int position)
{
    PmMemoRec& rec = m_rec;
    switch (position) {
    case 0:
        return ReadIntField(rec.recordId);
    case 1:
        return ReadIntField(rec.status);
    case 2:
        return ReadIntField(rec.placement);
    case 3:
        return ReadStringField(rec.text, 65536);
    case 4:
        return ReadIntField(rec.isPrivate);
    case 5:
        return ReadIntField(rec.categoryId);
    default:
        return true;
    }
}
