#include "Dynamics/CxDNTaskUtil.h"

namespace {

const CxHelperWords kWords = CX_CRM_WORDS("Dynamics CRM Tasks");
const CxCRMFileWords kFileWords = CX_CRM_FILE_WORDS("Dynamics CRM Tasks", "Task");

} // namespace

CxDNTaskUtil::CxDNTaskUtil() : CxCRMRecordUtil(DNTaskFiles, kWords, kFileWords, DNTaskLayout()) {}
