#include "Dynamics/CxDNBaseUtil.h"

#include <cstdio>

#include "misc/CommRecords.h"

namespace {

template <std::size_t N> void Copy(char (&field)[N], const char* text)
{
    std::snprintf(field, N, "%s", text != nullptr ? text : "");
}

} // namespace

CxDNBaseUtil::CxDNBaseUtil(const CxHelperFiles& files, const CxHelperWords& words)
    : CxHelperBaseUtil(SourceDynamicsCRM, files, words)
{
}

void CxDNBaseUtil::SetHost(const char* host)
{
    Copy(m_szHost, host);
}

void CxDNBaseUtil::SetOrganisation(const char* organisation)
{
    Copy(m_szOrganisation, organisation);
}

void CxDNBaseUtil::SetLogin(const char* login)
{
    Copy(m_szLogin, login);
}

void CxDNBaseUtil::SetLoginPassword(const char* password)
{
    Copy(m_szLoginPassword, password);
}

void CxDNBaseUtil::Configure(const ConnectorConfig& config)
{
    CxHelperBaseUtil::Configure(config);
    SetHost(config.hostName.c_str());
    SetOrganisation(config.organisation.c_str());
    SetLogin(config.userName.c_str());
    SetLoginPassword(config.password.c_str());
    SetAuthMode(config.authMode);
}

void CxDNBaseUtil::FillParams_(CxParamParser& params)
{
    char number[16];
    params.SetParam(DNParamHost, m_szHost);
    params.SetParam(DNParamOrganisation, m_szOrganisation);
    params.SetParam(DNParamLogin, m_szLogin);
    params.SetParam(DNParamPassword, m_szLoginPassword);
    std::snprintf(number, sizeof(number), "%d", m_nAuthMode);
    params.SetParam(DNParamAuthMode, number);
    params.SetParam(DNParamRecordFile, Files().dataFile);
    params.SetParam(DNParamFolder, GetFolder());
    std::snprintf(number, sizeof(number), "%d", GetCommand());
    params.SetParam(DNParamCommand, number);
    params.SetParam(DNParamErrorFile, Files().errorFile);
    params.SetParam(DNParamStatusFile, Files().statusFile);
    params.SetParam(DNParamLogFolder, GetLogFolder());
    params.SetParam(DNParamLogFileName, GetLogFileName());
    std::snprintf(number, sizeof(number), "%d", GetHelperLogLevel());
    params.SetParam(DNParamLogLevel, number);
    params.SetParam(DNParamLogEnabled,
                    IsHelperLogEnabled() ? CxHelperProtocol::kFlagOn : CxHelperProtocol::kFlagOff);
    FillKindParams_(params);
}
