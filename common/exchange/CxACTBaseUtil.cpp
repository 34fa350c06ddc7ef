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
    params.SetParam(ParamDatabase, GetDatabase());
    params.SetParam(ParamUserName, GetAccount());
    params.SetParam(ParamPassword, GetPassword());
    params.SetParam(ParamRecordFile, Files().dataFile);
    params.SetParam(ParamFolder, GetFolder());
    std::snprintf(number, sizeof(number), "%d", GetCommand());
    params.SetParam(ParamCommand, number);
    params.SetParam(ParamErrorFile, Files().errorFile);
    params.SetParam(ParamStatusFile, Files().statusFile);
    if (m_bWithOpportunities) {
        params.SetParam(ParamOpportunities,
                        m_bOpportunities ? CxHelperProtocol::kFlagOn : CxHelperProtocol::kFlagOff);
        params.SetParam(ParamOpportunityNotes,
                        m_bOpportunityNotes ? CxHelperProtocol::kFlagOn : CxHelperProtocol::kFlagOff);
    }
    params.SetParam(ParamLogFolder, GetLogFolder());
    params.SetParam(ParamLogFileName, GetLogFileName());
    std::snprintf(number, sizeof(number), "%d", GetHelperLogLevel());
    params.SetParam(ParamLogLevel, number);
    params.SetParam(ParamLogEnabled,
                    IsHelperLogEnabled() ? CxHelperProtocol::kFlagOn : CxHelperProtocol::kFlagOff);
}
