#include "Dynamics/CxDNDateUtil.h"

namespace {

const CxHelperWords kWords = CX_CRM_WORDS("Dynamics CRM Calendar");
const CxCRMFileWords kFileWords = CX_CRM_FILE_WORDS("Dynamics CRM Calendar", "Calendar event");

} // namespace

CxDNDateUtil::CxDNDateUtil() : CxCRMRecordUtil(DNDateFiles, kWords, kFileWords, DNDateLayout()) {}

void CxDNDateUtil::FillKindParams_(CxParamParser& params)
{
    params.SetParam(DNParamRangeStart, CxCRMDateParam(m_dRangeStart).c_str());
    params.SetParam(DNParamRangeEnd, CxCRMDateParam(m_dRangeEnd).c_str());
}
