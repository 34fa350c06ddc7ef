#include "SugarCRM/CxSGAddrUtil.h"

namespace {

const CxHelperWords kWords = CX_CRM_WORDS("SugarCRM Contacts");
const CxCRMFileWords kFileWords = CX_CRM_FILE_WORDS("SugarCRM Contacts", "Contact");

} // namespace

CxSGAddrUtil::CxSGAddrUtil() : CxCRMRecordUtil(SGAddrFiles, kWords, kFileWords, SGAddrLayout()) {}

void CxSGAddrUtil::Configure(const ConnectorConfig& config)
{
    CxSGBaseUtil::Configure(config);
    SetContactKinds(config.addrAccount, config.addrContact, config.addrLead);
}
