#include "exchange/CxLNBaseUtil.h"

#include <cstdio>

#include "misc/CommRecords.h"

CxLNBaseUtil::CxLNBaseUtil(const CxHelperFiles& files, const CxHelperWords& words, int databaseParamId)
    : CxHelperBaseUtil(SourceLotusNotes, files, words), m_databaseParamId(databaseParamId)
{
}

void CxLNBaseUtil::FillParams_(CxParamParser& params)
{
    char number[16];
    params.SetParam(1000, "");
    params.SetParam(1001, "");
    params.SetParam(1002, "");
    params.SetParam(1003, Files().dataFile);
    params.SetParam(1004, GetFolder());
    std::snprintf(number, sizeof(number), "%d", GetCommand());
    params.SetParam(1005, number);
    params.SetParam(1006, Files().errorFile);
    params.SetParam(1007, Files().statusFile);
    params.SetParam(m_databaseParamId, GetDatabase());
    params.SetParam(1010, GetLogFolder());
    params.SetParam(1011, GetLogFileName());
    std::snprintf(number, sizeof(number), "%d", GetHelperLogLevel());
    params.SetParam(1012, number);
    params.SetParam(1013, IsHelperLogEnabled() ? CxHelperProtocol::kFlagOn : CxHelperProtocol::kFlagOff);
    params.SetParam(1014, GetIdFile());
}

std::unique_ptr<CxDataReader> CxLNBaseUtil::MakeDataReader_()
{
    return std::make_unique<CxLNDataReader>();
}
