#include "lotus/CxLNAddrUtil.h"

#include "lotus/LNProtocol.h"
#include "misc/CustomFieldMap.h"

namespace {

const CxHelperWords kWords = {
    "Start loading Lotus Notes Contacts.", "Load Lotus Notes Contacts information successfully.",
    "Failed to load Lotus Notes Contacts information.", "Failed to open file: %s", "Failed to open file: %s"};
const CxLNFileWords kFileWords = {{"Start loading Lotus Notes Contacts from temperary file: %s",
                                   "There are %d Contact records in total.",
                                   "Load Lotus Notes Contact information from file successfully.",
                                   "Start saving Lotus Notes Contacts information to file: %s",
                                   "Save Lotus Notes Contacts information to file successfully."},
                                  "Submit changes to Lotus Notes contacts database"};

} // namespace

CxLNAddrUtil::CxLNAddrUtil()
    : CxLNRecordUtil(LNAddrExchange.files, kWords, kFileWords, LNAddrExchange.databaseParam)
{
    GetStore()->SetTextLimits(LNAddrTextLimits());
}

bool CxLNAddrUtil::SetCustomMapping(int slot, int fieldId)
{
    if (slot < 0 || slot >= kMappedFieldSlots) {
        return false;
    }
    SetMappedField(kAppNotes, slot + 1, fieldId);
    return true;
}

int CxLNAddrUtil::GetCustomMapping(int slot) const
{
    return GetMappedField(kAppNotes, slot + 1);
}

void CxLNAddrUtil::NativeToComm_(const LNAddrRec& native, CommAddrRec& record)
{
    LNCustomMapping mapping{};
    for (int slot = 0; slot < kMappedFieldSlots; ++slot) {
        mapping.FieldId[slot] = GetMappedField(kAppNotes, slot + 1);
    }
    LNAddrToComm(native, mapping, record);
}

void CxLNAddrUtil::CommToNative_(const CommAddrRec& record, LNAddrRec& native)
{
    CommToLNAddr(record, native);
}
