#include "Dynamics/CxDNAddrUtil.h"

namespace {

const CxHelperWords kWords = CX_CRM_WORDS("Dynamics CRM Contacts");
const CxCRMFileWords kFileWords = CX_CRM_FILE_WORDS("Dynamics CRM Contacts", "Contact");

} // namespace

CxDNAddrUtil::CxDNAddrUtil() : CxCRMRecordUtil(DNAddrFiles, kWords, kFileWords, DNAddrLayout()) {}

void CxDNAddrUtil::Configure(const ConnectorConfig& config)
{
    CxDNBaseUtil::Configure(config);
    SetContactKinds(config.addrAccount, config.addrContact, config.addrLead);
}

void CxDNAddrUtil::FillKindParams_(CxParamParser& params)
{
    params.SetParam(DNParamAddrAccount, m_bAccounts ? CxHelperProtocol::kFlagOn : CxHelperProtocol::kFlagOff);
    params.SetParam(DNParamAddrContact, m_bContacts ? CxHelperProtocol::kFlagOn : CxHelperProtocol::kFlagOff);
    params.SetParam(DNParamAddrLead, m_bLeads ? CxHelperProtocol::kFlagOn : CxHelperProtocol::kFlagOff);
}
