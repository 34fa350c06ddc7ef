#pragma once
// Lotus Notes tasks, through the helper "fw-notes-tasks" and the record file "LNTask.dat".
#include "lotus/CxLNRecordUtil.h"
#include "lotus/LNConvert.h"
#include "misc/CommTaskMgr.h"

class CxLNTaskUtil : public CxLNRecordUtil<LNTaskRec, CommTaskRec, CommTaskMgr>
{
public:
    CxLNTaskUtil();

protected:
    bool LoadFromFile() override;
    void NativeToComm_(const LNTaskRec& native, CommTaskRec& record) override
    {
        LNTaskToComm(native, m_now, record);
    }
    void CommToNative_(const CommTaskRec& record, LNTaskRec& native) override
    {
        CommToLNTask(record, native);
    }

private:
    double m_now = 0; // the local time of the load, which decides completion
};
