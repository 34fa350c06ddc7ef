#pragma once
// SugarCRM notes, through the helper "fw-sugarcrm-notes" and the record file "SGNote.dat" (layout in
// SGRecords.h).
#include "SugarCRM/CxSGBaseUtil.h"
#include "exchange/CxCRMRecordUtil.h"
#include "misc/CommNoteMgr.h"

class CxSGNoteUtil : public CxCRMRecordUtil<CxSGBaseUtil, SGNoteRec, CommNoteRec, CommNoteMgr>
{
public:
    CxSGNoteUtil();
};
