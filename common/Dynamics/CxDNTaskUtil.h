#pragma once
// Dynamics CRM tasks, through the helper "fw-dynamics-tasks" and the record file "DNTask.dat" (layout in
// DNRecords.h).
#include "Dynamics/CxDNBaseUtil.h"
#include "exchange/CxCRMRecordUtil.h"
#include "misc/CommTaskMgr.h"

class CxDNTaskUtil : public CxCRMRecordUtil<CxDNBaseUtil, DNTaskRec, CommTaskRec, CommTaskMgr>
{
public:
    CxDNTaskUtil();
};
