#pragma once
// The exchange protocol of the ACT! helpers, beside their record layouts (ACTRecords.h): the
// parameter identifiers (CxACTBaseUtil's table), the exchange file names and helper program
// of each kind of data, and the registry values through which an ACT! installation is found.
// Header only, shared by the connectors, the helper programs and the command line so that
// each is spelled once.
#include "exchange/CxACTBaseUtil.h"
#include "exchange/CxHelperProtocol.h"

inline constexpr CxHelperParamIds ACTParamIds{CxACTBaseUtil::ParamRecordFile, CxACTBaseUtil::ParamFolder,
                                              CxACTBaseUtil::ParamCommand,    CxACTBaseUtil::ParamErrorFile,
                                              CxACTBaseUtil::ParamStatusFile, CxACTBaseUtil::ParamLogFolder,
                                              CxACTBaseUtil::ParamLogLevel,   CxACTBaseUtil::ParamLogEnabled};

inline constexpr CxHelperFiles ACTAddrFiles{"fw-act-contacts", "ACTAddr.dat",       "ACTAddrParam.dat",
                                            "ACTAddrErr.dat",  "ACTAddrStatus.dat", "ACTAddr.ini"};
inline constexpr CxHelperFiles ACTDateFiles{"fw-act-calendar", "ACTDate.dat",       "ACTDateParam.dat",
                                            "ACTDateErr.dat",  "ACTDateStatus.dat", "ACTDate.ini"};
inline constexpr CxHelperFiles ACTTaskFiles{"fw-act-tasks",   "ACTTask.dat",       "ACTTaskParam.dat",
                                            "ACTTaskErr.dat", "ACTTaskStatus.dat", "ACTTask.ini"};
inline constexpr CxHelperFiles ACTNoteFiles{"fw-act-notes",   "ACTNote.dat",       "ACTNoteParam.dat",
                                            "ACTNoteErr.dat", "ACTNoteStatus.dat", "ACTNote.ini"};
