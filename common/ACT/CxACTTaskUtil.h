#pragma once
// ACT! to-dos and opportunities, through the helper "fw-act-tasks" and the record file
// "ACTTask.dat" (layout in ACTRecords.h). The parameter file carries the two opportunity
// flags: whether the helper includes opportunities, and their notes.
#include "ACT/ACTConvert.h"
#include "ACT/CxACTRecordUtil.h"
#include "misc/CommTaskMgr.h"

class CxACTTaskUtil : public CxACTRecordUtil<ACTTaskRec, CommTaskRec, CommTaskMgr>
{
public:
    CxACTTaskUtil();

    void SetIncludeOpportunities(bool include) { SetOpportunities(include, GetOpportunityNotes()); }
    void SetIncludeOpportunityNotes(bool include) { SetOpportunities(GetOpportunities(), include); }

protected:
    void NativeToComm_(const ACTTaskRec& native, CommTaskRec& record) override
    {
        ACTTaskToComm(native, record);
    }
    void CommToNative_(const CommTaskRec& record, ACTTaskRec& native) override
    {
        CommToACTTask(record, native);
    }
};
