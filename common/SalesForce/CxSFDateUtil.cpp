#include "SalesForce/CxSFDateUtil.h"

namespace {

const CxHelperWords kWords = CX_CRM_WORDS("SalesForce Calendar");
const CxCRMFileWords kFileWords = CX_CRM_FILE_WORDS("SalesForce Calendar", "Calendar event");

} // namespace

CxSFDateUtil::CxSFDateUtil() : CxCRMRecordUtil(SFDateFiles, kWords, kFileWords, SFDateLayout()) {}

void CxSFDateUtil::FillKindParams_(CxParamParser& params)
{
    params.SetParam(SFParamRangeStart, CxCRMDateParam(m_dRangeStart).c_str());
    params.SetParam(SFParamRangeEnd, CxCRMDateParam(m_dRangeEnd).c_str());
}
