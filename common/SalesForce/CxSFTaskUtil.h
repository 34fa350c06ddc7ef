#pragma once
// salesforce tasks, through the helper "fw-salesforce-tasks" and the record file "SFTask.dat" (layout in
// SFRecords.h).
#include "SalesForce/CxSFBaseUtil.h"
#include "exchange/CxCRMRecordUtil.h"
#include "misc/CommTaskMgr.h"

class CxSFTaskUtil : public CxCRMRecordUtil<CxSFBaseUtil, SFTaskRec, CommTaskRec, CommTaskMgr>
{
public:
    CxSFTaskUtil();
};
