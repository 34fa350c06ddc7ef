#pragma once
// salesforce calendar, through the helper "fw-salesforce-calendar" and the record file "SFDate.dat" (layout
// in SFRecords.h).
#include "SalesForce/CxSFBaseUtil.h"
#include "exchange/CxCRMRecordUtil.h"
#include "misc/CommDateMgr.h"

class CxSFDateUtil : public CxCRMRecordUtil<CxSFBaseUtil, SFDateRec, CommDateRec, CommDateMgr>
{
public:
    CxSFDateUtil();

    // The range of entries to load, as OLE Automation dates; 0 (the default) sets no limit on
    // that side. Handed to the helper as whole numbers.
    void SetDateRange(double start, double end)
    {
        m_dRangeStart = start;
        m_dRangeEnd = end;
    }
    double GetRangeStart() const { return m_dRangeStart; }
    double GetRangeEnd() const { return m_dRangeEnd; }

protected:
    void FillKindParams_(CxParamParser& params) override;

private:
    double m_dRangeStart = 0;
    double m_dRangeEnd = 0;
};
