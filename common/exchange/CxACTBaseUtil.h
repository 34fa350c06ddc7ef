#pragma once
// The ACT! family of helper-utility connectors: its parameter table. The tasks connector
// passes the two opportunity flags as well.
#include "exchange/CxHelperBaseUtil.h"

class CxACTBaseUtil : public CxHelperBaseUtil
{
public:
    // The parameters, in the order they are written. Every value is a text.
    enum Param : int
    {
        ParamDatabase = 1000, // the database (pad) file
        ParamUserName = 1001,
        ParamPassword = 1002,
        ParamRecordFile = 1003,
        ParamFolder = 1004, // the working folder
        ParamCommand = 1005,
        ParamErrorFile = 1006,
        ParamStatusFile = 1007,
        // Tasks only: include opportunities, and their notes.
        ParamOpportunities = 1008,
        ParamOpportunityNotes = 1009,
        ParamLogFolder = 1012,
        ParamLogFileName = 1013,
        ParamLogLevel = 1014,
        ParamLogEnabled = 1015,
    };

    // withOpportunities: the tasks connector, which writes the two opportunity flags.
    CxACTBaseUtil(const CxHelperFiles& files, const CxHelperWords& words, bool withOpportunities = false);

    void SetOpportunities(bool opportunities, bool opportunityNotes);
    bool GetOpportunities() const { return m_bOpportunities; }
    bool GetOpportunityNotes() const { return m_bOpportunityNotes; }

    // The base's settings, and the opportunity flags.
    void Configure(const ConnectorConfig& config) override;

protected:
    void FillParams_(CxParamParser& params) override;

private:
    bool m_bWithOpportunities;
    bool m_bOpportunities = false;
    bool m_bOpportunityNotes = false;
};
