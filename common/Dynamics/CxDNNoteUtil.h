#pragma once
// Dynamics CRM notes, through the helper "fw-dynamics-notes" and the record file "DNNote.dat" (layout in
// DNRecords.h).
#include "Dynamics/CxDNBaseUtil.h"
#include "exchange/CxCRMRecordUtil.h"
#include "misc/CommNoteMgr.h"

class CxDNNoteUtil : public CxCRMRecordUtil<CxDNBaseUtil, DNNoteRec, CommNoteRec, CommNoteMgr>
{
public:
    CxDNNoteUtil();
};
