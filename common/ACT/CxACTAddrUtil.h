#pragma once
// ACT! contacts, through the helper "fw-act-contacts" and the record file "ACTAddr.dat"
// (layout in ACTRecords.h, field identifiers in ACTFieldTable.h).
#include "ACT/ACTConvert.h"
#include "ACT/ACTFieldTable.h"
#include "ACT/CxACTRecordUtil.h"
#include "misc/CommAddrMgr.h"

class CxACTAddrUtil : public CxACTRecordUtil<ACTAddrRec, CommAddrRec, CommAddrMgr>
{
public:
    CxACTAddrUtil();

    // Mapping slot 0..9 takes the field identifier (ACT! contact field table) whose value
    // fills MappedValues of that slot on load and takes it on submit; 0 maps nothing. Other
    // slots are refused. The slots are those of the process-wide custom field mapping of ACT!.
    bool SetCustomMapping(int slot, int fieldId);
    int GetCustomMapping(int slot) const;
    // The mapping as it is set now.
    static ACTCustomMapping CurrentMapping();

    // The field table lookups of the custom field mapping: entry by index (0..88), entry by
    // identifier, and a field's storage in the record by identifier; null when there is none.
    static const ACTFieldInfo* FieldAt(int index) { return ACTContactFieldAt(index); }
    static const ACTFieldInfo* FindField(int id) { return FindACTContactField(id); }
    static const CxLayoutField* FieldStorage(int id) { return ACTContactFieldStorage(id); }

    // Logs the start of a submit, and when nothing changed that there is nothing to submit.
    bool Commit() override;

protected:
    void NativeToComm_(const ACTAddrRec& native, CommAddrRec& record) override;
    void CommToNative_(const CommAddrRec& record, ACTAddrRec& native) override;
};
