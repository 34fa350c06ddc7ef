#include "ACT/CxACTTaskUtil.h"

#include "ACT/ACTProtocol.h"

namespace {

const CxHelperWords kWords = {"Start loading ACT! Todos and Opportunities.",
                              "Load ACT! Todos and Opportunities information successfully.",
                              "Failed to load ACT! Todos and Opportunities information.",
                              "Failed to open file: %s", nullptr};
const CxACTFileWords kFileWords = {nullptr, "There are %d records in total.", nullptr, nullptr, nullptr};

} // namespace

CxACTTaskUtil::CxACTTaskUtil() : CxACTRecordUtil(ACTTaskFiles, kWords, kFileWords, true) {}
