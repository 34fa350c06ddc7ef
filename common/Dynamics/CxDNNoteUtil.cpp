#include "Dynamics/CxDNNoteUtil.h"

namespace {

const CxHelperWords kWords = CX_CRM_WORDS("Dynamics CRM Notes");
const CxCRMFileWords kFileWords = CX_CRM_FILE_WORDS("Dynamics CRM Notes", "Notes");

} // namespace

CxDNNoteUtil::CxDNNoteUtil() : CxCRMRecordUtil(DNNoteFiles, kWords, kFileWords, DNNoteLayout()) {}
