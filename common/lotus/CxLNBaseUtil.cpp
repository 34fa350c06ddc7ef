#include "lotus/CxLNBaseUtil.h"

#include <cstdio>

#include "misc/CommRecords.h"

CxLNBaseUtil::CxLNBaseUtil(const CxHelperFiles& files, const CxHelperWords& words, int databaseParamId)
    : CxHelperBaseUtil(SourceLotusNotes, files, words), m_databaseParamId(databaseParamId)
{
}

void CxLNBaseUtil::FillParams_(CxParamParser& params)
{
    char number[16];
    params.SetParam(LNParamUnused1, "");
    params.SetParam(LNParamUnused2, "");
    params.SetParam(LNParamUnused3, "");
    params.SetParam(LNParamRecordFile, Files().dataFile);
    params.SetParam(LNParamFolder, GetFolder());
    std::snprintf(number, sizeof(number), "%d", GetCommand());
    params.SetParam(LNParamCommand, number);
    params.SetParam(LNParamErrorFile, Files().errorFile);
    params.SetParam(LNParamStatusFile, Files().statusFile);
    params.SetParam(m_databaseParamId, GetDatabase());
    params.SetParam(LNParamLogFolder, GetLogFolder());
    params.SetParam(LNParamLogFileName, GetLogFileName());
    std::snprintf(number, sizeof(number), "%d", GetHelperLogLevel());
    params.SetParam(LNParamLogLevel, number);
    params.SetParam(LNParamLogEnabled,
                    IsHelperLogEnabled() ? CxHelperProtocol::kFlagOn : CxHelperProtocol::kFlagOff);
    params.SetParam(LNParamIdFile, GetIdFile());
}

std::unique_ptr<CxDataReader> CxLNBaseUtil::MakeDataReader_()
{
    return std::make_unique<CxLNDataReader>();
}
