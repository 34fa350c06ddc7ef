#pragma once
// The ACT! family of helper-utility connectors: its parameter table. The tasks connector
// passes the two opportunity flags as well.
#include "exchange/CxHelperBaseUtil.h"

class CxACTBaseUtil : public CxHelperBaseUtil
{
public:
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
