#include "exchange/CxACTBaseUtil.h"

#include <cstdio>

#include "misc/CommRecords.h"

CxACTBaseUtil::CxACTBaseUtil(const CxHelperFiles& files, const CxHelperWords& words, bool withOpportunities)
    : CxHelperBaseUtil(SourceACT, files, words), m_bWithOpportunities(withOpportunities)
{
}

void CxACTBaseUtil::SetOpportunities(bool opportunities, bool opportunityNotes)
{
    m_bOpportunities = opportunities;
    m_bOpportunityNotes = opportunityNotes;
}

void CxACTBaseUtil::Configure(const ConnectorConfig& config)
{
    CxHelperBaseUtil::Configure(config);
    SetOpportunities(config.opportunities, config.opportunityNotes);
}

void CxACTBaseUtil::FillParams_(CxParamParser& params)
{
    char number[16];
    params.SetParam(1000, GetDatabase());
    params.SetParam(1001, GetAccount());
    params.SetParam(1002, GetPassword());
    params.SetParam(1003, Files().dataFile);
    params.SetParam(1004, GetFolder());
    std::snprintf(number, sizeof(number), "%d", GetCommand());
    params.SetParam(1005, number);
    params.SetParam(1006, Files().errorFile);
    params.SetParam(1007, Files().statusFile);
    if (m_bWithOpportunities) {
        params.SetParam(1008, m_bOpportunities ? CxHelperProtocol::kFlagOn : CxHelperProtocol::kFlagOff);
        params.SetParam(1009, m_bOpportunityNotes ? CxHelperProtocol::kFlagOn : CxHelperProtocol::kFlagOff);
    }
    params.SetParam(1012, GetLogFolder());
    params.SetParam(1013, GetLogFileName());
    std::snprintf(number, sizeof(number), "%d", GetHelperLogLevel());
    params.SetParam(1014, number);
    params.SetParam(1015, IsHelperLogEnabled() ? CxHelperProtocol::kFlagOn : CxHelperProtocol::kFlagOff);
}
