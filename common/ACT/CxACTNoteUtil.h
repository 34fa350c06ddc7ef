#pragma once
// ACT! notes, through the helper "fw-act-notes" and the record file "ACTNote.dat" (layout
// in ACTRecords.h). ACT! notes have no title.
#include "ACT/ACTConvert.h"
#include "ACT/CxACTRecordUtil.h"
#include "misc/CommNoteMgr.h"

class CxACTNoteUtil : public CxACTRecordUtil<ACTNoteRec, CommNoteRec, CommNoteMgr>
{
public:
    CxACTNoteUtil();

protected:
    void NativeToComm_(const ACTNoteRec& native, CommNoteRec& record) override
    {
        ACTNoteToComm(native, record);
    }
    void CommToNative_(const CommNoteRec& record, ACTNoteRec& native) override
    {
        CommToACTNote(record, native);
    }
};
