#pragma once
// Google contacts, through the helper "fw-google-contacts" and the record file "GAddr.dat"
// (layout in GGAddrRecord.h, field identifiers in GGAddrFieldTable.h).
#include <string>

#include "exchange/CxGAppBaseUtil.h"
#include "exchange/CxHelperRecordUtil.h"
#include "google/GGAddrFieldTable.h"
#include "google/GGAddrRecord.h"
#include "misc/CommAddrMgr.h"

class CxGAddrUtil : public CxHelperRecordUtil<CxGAppBaseUtil, GGAddrRec, CommAddrRec, CommAddrMgr>
{
public:
    CxGAddrUtil();

    // Mapping slot 0..9 takes the field identifier (Google contact field table) whose value
    // fills MappedValues of that slot on load; 0 maps nothing. Other slots are refused. The
    // slots are those of the process-wide custom field mapping of Google.
    bool SetCustomMapping(int slot, int fieldId);
    int GetCustomMapping(int slot) const;

    // Slot access on a native record (GGAddrFieldTable.h): the slot of an identifier's kind
    // (made when create is set and there is room; -1 for none), the storage of any field of
    // the table (slots made as needed), and a field as text for display (no slot made).
    static int FindSlot(GGAddrRec& native, int fieldId, bool create);
    static GGAddrFieldRef FieldPtr(GGAddrRec& native, int fieldId);
    static std::string FieldText(const GGAddrRec& native, int fieldId);

    // Native to common, into a zeroed record, with the mapping slots as they are set now.
    // False, logged, when either record is missing.
    static bool ConvertToComm(const GGAddrRec* native, CommAddrRec* record);
    // Common to native, over the native record's current contents; slots of every kind
    // written are made (empty values included). False when either record is missing.
    static bool ConvertToNative(const CommAddrRec* record, GGAddrRec* native);

protected:
    bool LoadRecFromFile_(CxFile& file, GGAddrRec& native) override;
    bool SaveRecToFile_(CxFile& file, const GGAddrRec& native) override;
    void NativeToComm_(const GGAddrRec& native, CommAddrRec& record) override;
    void CommToNative_(const CommAddrRec& record, GGAddrRec& native) override;
    void MarkChanged_(GGAddrRec& native, int action) override;

    bool LoadFromFile() override;
    bool SaveToFile() override;
};
