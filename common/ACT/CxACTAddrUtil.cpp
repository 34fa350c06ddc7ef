#include "ACT/CxACTAddrUtil.h"

#include "ACT/ACTProtocol.h"
#include "misc/CustomFieldMap.h"

namespace {

const CxHelperWords kWords = {"Start loading ACT! Contacts.", "Load ACT! Contacts information successfully.",
                              "Failed to load ACT! Contacts information.", "Failed to open file: %s",
                              nullptr};
const CxACTFileWords kFileWords = {"Start loading ACT! Contacts from temperary file: %s",
                                   "There are %d Contact records in total.",
                                   "Load ACT! Contacts information from file successfully.",
                                   "Start saving ACT! Contacts information to file: %s",
                                   "Save ACT! Contacts information to file successfully."};

} // namespace

CxACTAddrUtil::CxACTAddrUtil() : CxACTRecordUtil(ACTAddrFiles, kWords, kFileWords) {}

bool CxACTAddrUtil::SetCustomMapping(int slot, int fieldId)
{
    if (slot < 0 || slot >= kMappedFieldSlots) {
        return false;
    }
    SetMappedField(kAppACT, slot + 1, fieldId);
    return true;
}

int CxACTAddrUtil::GetCustomMapping(int slot) const
{
    return GetMappedField(kAppACT, slot + 1);
}

ACTCustomMapping CxACTAddrUtil::CurrentMapping()
{
    ACTCustomMapping mapping{};
    for (int slot = 0; slot < kMappedFieldSlots; ++slot) {
        mapping.FieldId[slot] = GetMappedField(kAppACT, slot + 1);
    }
    return mapping;
}

bool CxACTAddrUtil::Commit()
{
    FW_LOG(2, "Start submitting changes to server.");
    if (!IsDirty()) {
        FW_LOG(2, "There is no new changes and no need to submit information to server.");
        return true;
    }
    return CxACTRecordUtil::Commit();
}

void CxACTAddrUtil::NativeToComm_(const ACTAddrRec& native, CommAddrRec& record)
{
    ACTAddrToComm(native, CurrentMapping(), record);
}

void CxACTAddrUtil::CommToNative_(const CommAddrRec& record, ACTAddrRec& native)
{
    CommToACTAddr(record, CurrentMapping(), native);
}
