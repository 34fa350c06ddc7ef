#include "SugarCRM/CxSGDateUtil.h"

namespace {

const CxHelperWords kWords = CX_CRM_WORDS("SugarCRM Calendar");
const CxCRMFileWords kFileWords = CX_CRM_FILE_WORDS("SugarCRM Calendar", "Calendar event");

} // namespace

CxSGDateUtil::CxSGDateUtil() : CxCRMRecordUtil(SGDateFiles, kWords, kFileWords, SGDateLayout()) {}

void CxSGDateUtil::FillKindParams_(CxParamParser& params)
{
    params.SetParam(SGParamRangeStart, CxCRMDateParam(m_dRangeStart).c_str());
    params.SetParam(SGParamRangeEnd, CxCRMDateParam(m_dRangeEnd).c_str());
    params.SetParam(SGParamCalendarFlag1,
                    m_bCalendarFlag1 ? CxHelperProtocol::kFlagOn : CxHelperProtocol::kFlagOff);
    params.SetParam(SGParamCalendarFlag2,
                    m_bCalendarFlag2 ? CxHelperProtocol::kFlagOn : CxHelperProtocol::kFlagOff);
}
