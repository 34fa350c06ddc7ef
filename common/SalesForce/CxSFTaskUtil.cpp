#include "SalesForce/CxSFTaskUtil.h"

namespace {

const CxHelperWords kWords = CX_CRM_WORDS("SalesForce Tasks");
const CxCRMFileWords kFileWords = CX_CRM_FILE_WORDS("SalesForce Tasks", "Task");

} // namespace

CxSFTaskUtil::CxSFTaskUtil() : CxCRMRecordUtil(SFTaskFiles, kWords, kFileWords, SFTaskLayout()) {}
