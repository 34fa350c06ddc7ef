#include "exchange/CxGAppBaseUtil.h"

#include <cstdio>

#include "misc/CommRecords.h"
#include "misc/CxDebugUtil.h"
#include "misc/CxIniUtil.h"

CxGAppBaseUtil::CxGAppBaseUtil(const CxHelperFiles& files, const CxHelperWords& words,
                               const char* calendarFile)
    : CxHelperBaseUtil(SourceGoogle, files, words), m_calendarFile(calendarFile)
{
}

void CxGAppBaseUtil::FillParams_(CxParamParser& params)
{
    char number[16];
    params.SetParam(ParamAccount, GetAccount());
    params.SetParam(ParamPassword, GetPassword());
    params.SetParam(ParamRecordFile, Files().dataFile);
    params.SetParam(ParamFolder, GetFolder());
    std::snprintf(number, sizeof(number), "%d", GetCommand());
    params.SetParam(ParamCommand, number);
    params.SetParam(ParamUnused, "");
    if (m_calendarFile != nullptr) {
        params.SetParam(ParamCalendarUnused1, "");
        params.SetParam(ParamCalendarUnused2, "");
        params.SetParam(ParamCalendarFile, m_calendarFile);
    }
    params.SetParam(ParamErrorFile, Files().errorFile);
    params.SetParam(ParamStatusFile, Files().statusFile);
    params.SetParam(ParamLogFolder, GetLogFolder());
    params.SetParam(ParamLogFileName, GetLogFileName());
    std::snprintf(number, sizeof(number), "%d", GetHelperLogLevel());
    params.SetParam(ParamLogLevel, number);
    params.SetParam(ParamLogEnabled,
                    IsHelperLogEnabled() ? CxHelperProtocol::kFlagOn : CxHelperProtocol::kFlagOff);
    WriteAccountFile_();
}

void CxGAppBaseUtil::WriteAccountFile_() const
{
    if (GetFolder()[0] == '\0') {
        return;
    }
    const CxIniUtil account(GetFolder(), GAccountFileName);
    // Not fatal here: a helper that finds no folder says so.
    if (!account.WriteString(GAccountSection, GAccountFolderKey, GetDatabase())) {
        FW_LOG(0, "Failed to open file: %s", account.GetPath());
    }
}
