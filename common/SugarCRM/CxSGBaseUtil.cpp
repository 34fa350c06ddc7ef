#include "SugarCRM/CxSGBaseUtil.h"

#include <cstdio>

#include "misc/CommRecords.h"

CxSGBaseUtil::CxSGBaseUtil(const CxHelperFiles& files, const CxHelperWords& words)
    : CxHelperBaseUtil(SourceSugarCRM, files, words)
{
}

void CxSGBaseUtil::SetHost(const char* host)
{
    std::snprintf(m_szHost, sizeof m_szHost, "%s", host != nullptr ? host : "");
}

void CxSGBaseUtil::Configure(const ConnectorConfig& config)
{
    CxHelperBaseUtil::Configure(config);
    SetHost(config.hostName.c_str());
}

void CxSGBaseUtil::FillParams_(CxParamParser& params)
{
    char number[16];
    params.SetParam(SGParamHost, m_szHost);
    params.SetParam(SGParamUserName, GetAccount());
    params.SetParam(SGParamPassword, GetPassword());
    params.SetParam(SGParamRecordFile, Files().dataFile);
    params.SetParam(SGParamFolder, GetFolder());
    std::snprintf(number, sizeof(number), "%d", GetCommand());
    params.SetParam(SGParamCommand, number);
    params.SetParam(SGParamErrorFile, Files().errorFile);
    params.SetParam(SGParamStatusFile, Files().statusFile);
    params.SetParam(SGParamLogFolder, GetLogFolder());
    params.SetParam(SGParamLogFileName, GetLogFileName());
    std::snprintf(number, sizeof(number), "%d", GetHelperLogLevel());
    params.SetParam(SGParamLogLevel, number);
    params.SetParam(SGParamLogEnabled,
                    IsHelperLogEnabled() ? CxHelperProtocol::kFlagOn : CxHelperProtocol::kFlagOff);
    FillKindParams_(params);
}
