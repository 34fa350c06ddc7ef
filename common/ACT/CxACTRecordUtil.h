#pragma once
// What the four ACT! connectors share on top of the exchange: their record files read and
// written with the layouts of ACTRecords.h, and the log lines around them. Each connector
// supplies its conversions and its words.
#include <string>

#include "ACT/ACTRecords.h"
#include "exchange/CxACTBaseUtil.h"
#include "exchange/CxLoggedRecordUtil.h"
#include "misc/CxDebugUtil.h"

// Log lines of the record file; a null text logs nothing.
using CxACTFileWords = CxRecordFileWords;

template <class Native, class Rec, class Store>
class CxACTRecordUtil : public CxLoggedRecordUtil<CxACTBaseUtil, Native, Rec, Store>
{
    using Base = CxLoggedRecordUtil<CxACTBaseUtil, Native, Rec, Store>;

public:
    CxACTRecordUtil(const CxHelperFiles& files, const CxHelperWords& words, const CxACTFileWords& fileWords,
                    bool withOpportunities = false)
        : Base(files, words, fileWords, withOpportunities)
    {
    }

protected:
    bool LoadRecFromFile_(CxFile& file, Native& native) override { return LoadACTRecord(file, native); }
    bool SaveRecToFile_(CxFile& file, const Native& native) override { return SaveACTRecord(file, native); }
    void MarkChanged_(Native& native, int action) override
    {
        native.ChangeMark = ACTChangeMarkSubmit;
        native.Action = action;
    }
};
