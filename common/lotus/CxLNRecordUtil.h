#pragma once
// What the four Lotus Notes connectors share on top of the exchange: their record files
// read and written with the layouts of LNRecords.h, and the log lines around them. Each
// connector supplies its conversions and its words.
#include <string>

#include "exchange/CxLoggedRecordUtil.h"
#include "lotus/CxLNBaseUtil.h"
#include "lotus/LNRecords.h"
#include "misc/CxDebugUtil.h"

// Log lines of the record file (CxRecordFileWords) and of the submit; a null text logs nothing.
struct CxLNFileWords : CxRecordFileWords
{
    const char* submit; // e.g. "Submit changes to Lotus Notes calendar database"
};

template <class Native, class Rec, class Store>
class CxLNRecordUtil : public CxLoggedRecordUtil<CxLNBaseUtil, Native, Rec, Store>
{
    using Base = CxLoggedRecordUtil<CxLNBaseUtil, Native, Rec, Store>;

public:
    CxLNRecordUtil(const CxHelperFiles& files, const CxHelperWords& words, const CxLNFileWords& fileWords,
                   int databaseParamId = CxLNBaseUtil::kParamDatabase)
        : Base(files, words, fileWords, databaseParamId), m_submit(fileWords.submit)
    {
    }

    bool Commit() override
    {
        if (this->IsDirty() && m_submit != nullptr) {
            FW_LOG(2, "%s", m_submit);
        }
        return Base::Commit();
    }

protected:
    bool LoadRecFromFile_(CxFile& file, Native& native) override { return LoadLNRecord(file, native); }
    bool SaveRecToFile_(CxFile& file, const Native& native) override { return SaveLNRecord(file, native); }
    void MarkChanged_(Native& native, int action) override
    {
        native.ChangeMark = LNChangeMarkSubmit;
        native.Action = action;
    }

private:
    const char* m_submit;
};
