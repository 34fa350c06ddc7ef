#pragma once
// The Google family of helper-utility connectors: its parameter table. The calendar
// connector names its calendar definitions file as well.
#include "exchange/CxHelperBaseUtil.h"

// On this platform the Google helpers serve an account from the folder of its export. The
// connector names that folder (its database, as Configure sets it) in the account file, which
// it writes into the working folder beside the parameter file before each run of the helper:
// [Account] Folder=<the folder's path>.
inline constexpr char GAccountFileName[] = "GAccount.ini";
inline constexpr char GAccountSection[] = "Account";
inline constexpr char GAccountFolderKey[] = "Folder";

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
    // The account file (GAccountFileName) naming the export folder.
    void WriteAccountFile_() const;

    const char* m_calendarFile;
};
