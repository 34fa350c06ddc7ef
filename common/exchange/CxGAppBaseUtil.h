#pragma once
// The Google family of helper-utility connectors: its parameter table. The calendar
// connector names its calendar definitions file as well.
#include "exchange/CxHelperBaseUtil.h"

class CxGAppBaseUtil : public CxHelperBaseUtil
{
public:
    // calendarFile: the calendar definitions file (calendar only, e.g. "GCal.dat"); null for
    // contacts. The text must outlive the connector.
    CxGAppBaseUtil(const CxHelperFiles& files, const CxHelperWords& words,
                   const char* calendarFile = nullptr);

    const char* GetCalendarFile() const { return m_calendarFile; }

protected:
    void FillParams_(CxParamParser& params) override;

private:
    const char* m_calendarFile;
};
