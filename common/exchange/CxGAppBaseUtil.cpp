#include "exchange/CxGAppBaseUtil.h"

#include <cstdio>

#include "misc/CommRecords.h"

CxGAppBaseUtil::CxGAppBaseUtil(const CxHelperFiles& files, const CxHelperWords& words,
                               const char* calendarFile)
    : CxHelperBaseUtil(SourceGoogle, files, words), m_calendarFile(calendarFile)
{
}

void CxGAppBaseUtil::FillParams_(CxParamParser& params)
{
    char number[16];
    params.SetParam(1000, GetAccount());
    params.SetParam(1001, GetPassword());
    params.SetParam(1002, Files().dataFile);
    params.SetParam(1003, GetFolder());
    std::snprintf(number, sizeof(number), "%d", GetCommand());
    params.SetParam(1005, number);
    params.SetParam(1004, "");
    if (m_calendarFile != nullptr) {
        params.SetParam(1006, "");
        params.SetParam(1007, "");
        params.SetParam(1008, m_calendarFile);
    }
    params.SetParam(1009, Files().errorFile);
    params.SetParam(1010, Files().statusFile);
    params.SetParam(1013, GetLogFolder());
    params.SetParam(1014, GetLogFileName());
    std::snprintf(number, sizeof(number), "%d", GetHelperLogLevel());
    params.SetParam(1015, number);
    params.SetParam(1016, IsHelperLogEnabled() ? CxHelperProtocol::kFlagOn : CxHelperProtocol::kFlagOff);
}
