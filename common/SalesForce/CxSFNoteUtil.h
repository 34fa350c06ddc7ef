#pragma once
// salesforce notes, through the helper "fw-salesforce-notes" and the record file "SFNote.dat" (layout in
// SFRecords.h).
#include "SalesForce/CxSFBaseUtil.h"
#include "exchange/CxCRMRecordUtil.h"
#include "misc/CommNoteMgr.h"

class CxSFNoteUtil : public CxCRMRecordUtil<CxSFBaseUtil, SFNoteRec, CommNoteRec, CommNoteMgr>
{
public:
    CxSFNoteUtil();
};
