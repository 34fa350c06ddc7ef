#pragma once
// The Google family of helper-utility connectors: its parameter table. The calendar
// connector names its calendar definitions file as well.
#include "exchange/CxHelperBaseUtil.h"

class CxGAppBaseUtil : public CxHelperBaseUtil
{
public:
    // The parameters, in the order they are written (the command before 1004). Every value
    // is a text.
    enum Param : int
    {
        ParamAccount = 1000, // e-mail address
        ParamPassword = 1001,
        ParamRecordFile = 1002,
        ParamFolder = 1003, // the working folder
        ParamCommand = 1005,
        ParamUnused = 1004, // empty
        // Calendar only: two texts left empty, and the calendar definitions file.
        ParamCalendarUnused1 = 1006,
        ParamCalendarUnused2 = 1007,
        ParamCalendarFile = 1008,
        ParamErrorFile = 1009,
        ParamStatusFile = 1010,
        ParamLogFolder = 1013,
        ParamLogFileName = 1014,
        ParamLogLevel = 1015,
        ParamLogEnabled = 1016,
    };

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
