#pragma once
// Lotus Notes calendar, through the helper "fw-notes-calendar" and the record file
// "LNDate.dat".
#include "lotus/CxLNRecordUtil.h"
#include "lotus/LNConvert.h"
#include "misc/CommDateMgr.h"

class CxLNDateUtil : public CxLNRecordUtil<LNDateRec, CommDateRec, CommDateMgr>
{
public:
    CxLNDateUtil();

protected:
    void NativeToComm_(const LNDateRec& native, CommDateRec& record) override
    {
        LNDateToComm(native, record);
    }
    void CommToNative_(const CommDateRec& record, LNDateRec& native) override
    {
        CommToLNDate(record, native);
    }
};
