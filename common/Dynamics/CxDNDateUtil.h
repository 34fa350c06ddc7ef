#pragma once
// Dynamics CRM calendar, through the helper "fw-dynamics-calendar" and the record file "DNDate.dat" (layout
// in DNRecords.h).
#include "Dynamics/CxDNBaseUtil.h"
#include "exchange/CxCRMRecordUtil.h"
#include "misc/CommDateMgr.h"

class CxDNDateUtil : public CxCRMRecordUtil<CxDNBaseUtil, DNDateRec, CommDateRec, CommDateMgr>
{
public:
    CxDNDateUtil();

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
