#pragma once
// Lotus Notes contacts, through the helper "fw-notes-contacts" and the record file
// "LNAddr.dat".
#include "lotus/CxLNRecordUtil.h"
#include "lotus/LNConvert.h"
#include "misc/CommAddrMgr.h"

class CxLNAddrUtil : public CxLNRecordUtil<LNAddrRec, CommAddrRec, CommAddrMgr>
{
public:
    CxLNAddrUtil();

    // The address book database (parameter 1009).
    void SetAddrBookName(const char* name) { SetDatabase(name); }
    const char* GetAddrBookName() const { return GetDatabase(); }

    // Mapping slot 0..9 takes the field identifier (Lotus Notes field table) whose value
    // fills MappedValues of that slot on load; 0 maps nothing. Other slots are refused.
    // The slots are those of the process-wide custom field mapping of Lotus Notes.
    bool SetCustomMapping(int slot, int fieldId);
    int GetCustomMapping(int slot) const;

protected:
    void NativeToComm_(const LNAddrRec& native, CommAddrRec& record) override;
    void CommToNative_(const CommAddrRec& record, LNAddrRec& native) override;
};
