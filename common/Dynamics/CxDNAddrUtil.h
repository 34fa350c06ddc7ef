#pragma once
// Dynamics CRM contacts, through the helper "fw-dynamics-contacts" and the record file "DNAddr.dat" (layout
// in DNRecords.h).
#include "Dynamics/CxDNBaseUtil.h"
#include "exchange/CxCRMRecordUtil.h"
#include "misc/CommAddrMgr.h"

class CxDNAddrUtil : public CxCRMRecordUtil<CxDNBaseUtil, DNAddrRec, CommAddrRec, CommAddrMgr>
{
public:
    CxDNAddrUtil();

    // Which record kinds of the application count as contacts; all three from construction.
    // The helper is told them (parameters 1301 to 1303).
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

protected:
    void FillKindParams_(CxParamParser& params) override;

private:
    bool m_bAccounts = true;
    bool m_bContacts = true;
    bool m_bLeads = true;
};
