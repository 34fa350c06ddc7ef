#include "ACT/CxACTDateUtil.h"

#include "ACT/ACTProtocol.h"

namespace {

const CxHelperWords kWords = {
    "Start loading ACT! Calendar Events.", "Load ACT! Calendar events information successfully.",
    "Failed to load ACT! Calendar events information.", "Failed to open file: %s", nullptr};
const CxACTFileWords kFileWords = {nullptr, "There are %d Calendar event records in total.", nullptr,
                                   "Start saving ACT! Calendar events information to file: %s",
                                   "Save ACT! Calendar event information to file successfully."};

} // namespace

CxACTDateUtil::CxACTDateUtil() : CxACTRecordUtil(ACTDateFiles, kWords, kFileWords) {}
