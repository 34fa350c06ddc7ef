#include "SalesForce/CxSFAddrUtil.h"

namespace {

const CxHelperWords kWords = CX_CRM_WORDS("SalesForce Contacts");
const CxCRMFileWords kFileWords = CX_CRM_FILE_WORDS("salesforce Contacts", "Contact");

} // namespace

CxSFAddrUtil::CxSFAddrUtil() : CxCRMRecordUtil(SFAddrFiles, kWords, kFileWords, SFAddrLayout()) {}

void CxSFAddrUtil::Configure(const ConnectorConfig& config)
{
    CxSFBaseUtil::Configure(config);
    SetContactKinds(config.addrAccount, config.addrContact, config.addrLead);
}
