#include "SugarCRM/CxSGNoteUtil.h"

namespace {

const CxHelperWords kWords = CX_CRM_WORDS("SugarCRM Notes");
const CxCRMFileWords kFileWords = CX_CRM_FILE_WORDS("SugarCRM Notes", "Notes");

} // namespace

CxSGNoteUtil::CxSGNoteUtil() : CxCRMRecordUtil(SGNoteFiles, kWords, kFileWords, SGNoteLayout()) {}
