#include "SalesForce/CxSFNoteUtil.h"

namespace {

const CxHelperWords kWords = CX_CRM_WORDS("SalesForce Notes");
const CxCRMFileWords kFileWords = CX_CRM_FILE_WORDS("SalesForce Notes", "Notes");

} // namespace

CxSFNoteUtil::CxSFNoteUtil() : CxCRMRecordUtil(SFNoteFiles, kWords, kFileWords, SFNoteLayout()) {}
