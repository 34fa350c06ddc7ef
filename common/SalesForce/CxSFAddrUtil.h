#pragma once
// salesforce contacts, through the helper "fw-salesforce-contacts" and the record file "SFAddr.dat" (layout
// in SFRecords.h).
#include "SalesForce/CxSFBaseUtil.h"
#include "SalesForce/SFConvert.h"
#include "exchange/CxCRMRecordUtil.h"
#include "misc/CommAddrMgr.h"

class CxSFAddrUtil : public CxCRMRecordUtil<CxSFBaseUtil, SFAddrRec, CommAddrRec, CommAddrMgr>
{
public:
    CxSFAddrUtil();

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

protected:
    void NativeToComm_(const SFAddrRec& native, CommAddrRec& record) override
    {
        SFAddrToComm(native, record);
    }
    void CommToNative_(const CommAddrRec& record, SFAddrRec& native) override
    {
        CommToSFAddr(record, native);
    }

private:
    bool m_bAccounts = true;
    bool m_bContacts = true;
    bool m_bLeads = true;
};
