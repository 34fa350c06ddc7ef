#pragma once
// SugarCRM contacts, through the helper "fw-sugarcrm-contacts" and the record file "SGAddr.dat" (layout in
// SGRecords.h).
#include "SugarCRM/CxSGBaseUtil.h"
#include "exchange/CxCRMRecordUtil.h"
#include "misc/CommAddrMgr.h"

class CxSGAddrUtil : public CxCRMRecordUtil<CxSGBaseUtil, SGAddrRec, CommAddrRec, CommAddrMgr>
{
public:
    CxSGAddrUtil();

    // Which record kinds of the application count as contacts; all three from construction.
    // No parameter carries them: the helper decides.
    void SetContactKinds(bool accounts, bool contacts, bool leads)
    {
        m_bAccounts = accounts;
        m_bContacts = contacts;
        m_bLeads = leads;
    }
    bool GetAccounts() const { return m_bAccounts; }
    bool GetContacts() const { return m_bContacts; }
    bool GetLeads() const { return m_bLeads; }

    // The family's settings and the three contact kinds.
    void Configure(const ConnectorConfig& config) override;

private:
    bool m_bAccounts = true;
    bool m_bContacts = true;
    bool m_bLeads = true;
};
