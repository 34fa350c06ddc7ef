#include "SugarCRM/CxSGTaskUtil.h"

namespace {

const CxHelperWords kWords = CX_CRM_WORDS("SugarCRM Tasks");
const CxCRMFileWords kFileWords = CX_CRM_FILE_WORDS("SugarCRM Tasks", "Tasks");

} // namespace

CxSGTaskUtil::CxSGTaskUtil() : CxCRMRecordUtil(SGTaskFiles, kWords, kFileWords, SGTaskLayout()) {}
