#pragma once
// SugarCRM tasks, through the helper "fw-sugarcrm-tasks" and the record file "SGTask.dat" (layout in
// SGRecords.h).
#include "SugarCRM/CxSGBaseUtil.h"
#include "exchange/CxCRMRecordUtil.h"
#include "misc/CommTaskMgr.h"

class CxSGTaskUtil : public CxCRMRecordUtil<CxSGBaseUtil, SGTaskRec, CommTaskRec, CommTaskMgr>
{
public:
    CxSGTaskUtil();
};
