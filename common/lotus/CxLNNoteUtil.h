#pragma once
// Lotus Notes notes, through the helper "fw-notes-notes" and the record file "LNNote.dat".
#include "lotus/CxLNRecordUtil.h"
#include "lotus/LNConvert.h"
#include "misc/CommNoteMgr.h"

class CxLNNoteUtil : public CxLNRecordUtil<LNNoteRec, CommNoteRec, CommNoteMgr>
{
public:
    CxLNNoteUtil();

    // As every load, but without the load-level log lines: the notes connector logs only
    // what goes wrong with its record file.
    bool Load() override;

protected:
    void NativeToComm_(const LNNoteRec& native, CommNoteRec& record) override
    {
        LNNoteToComm(native, record);
    }
    void CommToNative_(const CommNoteRec& record, LNNoteRec& native) override
    {
        CommToLNNote(record, native);
    }
};
