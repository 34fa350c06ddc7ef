#include "SalesForce/CxSFBaseUtil.h"

#include <cstdio>

#include "misc/CommRecords.h"

CxSFBaseUtil::CxSFBaseUtil(const CxHelperFiles& files, const CxHelperWords& words)
    : CxHelperBaseUtil(SourceSalesforce, files, words)
{
}

void CxSFBaseUtil::SetToken(const char* token)
{
    std::snprintf(m_szToken, sizeof m_szToken, "%s", token != nullptr ? token : "");
}

void CxSFBaseUtil::Configure(const ConnectorConfig& config)
{
    CxHelperBaseUtil::Configure(config);
    SetToken(config.token.c_str());
}

void CxSFBaseUtil::FillParams_(CxParamParser& params)
{
    char number[16];
    params.SetParam(SFParamUserName, GetAccount());
    params.SetParam(SFParamPassword, GetPassword());
    params.SetParam(SFParamToken, m_szToken);
    params.SetParam(SFParamRecordFile, Files().dataFile);
    params.SetParam(SFParamFolder, GetFolder());
    std::snprintf(number, sizeof(number), "%d", GetCommand());
    params.SetParam(SFParamCommand, number);
    params.SetParam(SFParamErrorFile, Files().errorFile);
    params.SetParam(SFParamStatusFile, Files().statusFile);
    params.SetParam(SFParamLogFolder, GetLogFolder());
    params.SetParam(SFParamLogFileName, GetLogFileName());
    std::snprintf(number, sizeof(number), "%d", GetHelperLogLevel());
    params.SetParam(SFParamLogLevel, number);
    params.SetParam(SFParamLogEnabled,
                    IsHelperLogEnabled() ? CxHelperProtocol::kFlagOn : CxHelperProtocol::kFlagOff);
    FillKindParams_(params);
}
