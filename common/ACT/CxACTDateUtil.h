#pragma once
// ACT! calendar events, through the helper "fw-act-calendar" and the record file
// "ACTDate.dat" (layout in ACTRecords.h).
#include "ACT/ACTConvert.h"
#include "ACT/CxACTRecordUtil.h"
#include "misc/CommDateMgr.h"

class CxACTDateUtil : public CxACTRecordUtil<ACTDateRec, CommDateRec, CommDateMgr>
{
public:
    CxACTDateUtil();

protected:
    void NativeToComm_(const ACTDateRec& native, CommDateRec& record) override
    {
        ACTDateToComm(native, record);
    }
    void CommToNative_(const CommDateRec& record, ACTDateRec& native) override
    {
        CommToACTDate(record, native);
    }
};
