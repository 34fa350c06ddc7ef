#include "ACT/CxACTNoteUtil.h"

#include "ACT/ACTProtocol.h"

namespace {

const CxHelperWords kWords = {"Start loading ACT! Notes.", "Load ACT! Notes information successfully.",
                              "Failed to load ACT! Notes information.",
                              "Cannot load ACT! Notes records from temperary file: %s",
                              "Cannot save ACT! Notes records to temperary file: %s"};
const CxACTFileWords kFileWords = {nullptr, nullptr, nullptr, nullptr, nullptr};

} // namespace

CxACTNoteUtil::CxACTNoteUtil() : CxACTRecordUtil(ACTNoteFiles, kWords, kFileWords)
{
    GetStore()->SetTextLimits(ACTNoteTextLimits());
}
