#pragma once
// SugarCRM calendar, through the helper "fw-sugarcrm-calendar" and the record file "SGDate.dat" (layout in
// SGRecords.h).
#include "SugarCRM/CxSGBaseUtil.h"
#include "exchange/CxCRMRecordUtil.h"
#include "misc/CommDateMgr.h"

class CxSGDateUtil : public CxCRMRecordUtil<CxSGBaseUtil, SGDateRec, CommDateRec, CommDateMgr>
{
public:
    CxSGDateUtil();

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
    // Handed over as they are; nothing changes them.
    bool m_bCalendarFlag1 = true;
    bool m_bCalendarFlag2 = true;
};
