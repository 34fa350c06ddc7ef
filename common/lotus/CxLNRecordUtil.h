#pragma once
// What the four Lotus Notes connectors share on top of the exchange: their record files
// read and written with the layouts of LNRecords.h, and the log lines around them. Each
// connector supplies its conversions and its words.
#include <string>

#include "exchange/CxHelperRecordUtil.h"
#include "lotus/CxLNBaseUtil.h"
#include "lotus/LNRecords.h"
#include "misc/CxDebugUtil.h"

// Log lines of the record file and of the submit; a null text logs nothing. loadFile,
// saveFile take the record file's path, count the number of records.
struct CxLNFileWords
{
    const char* loadFile; // e.g. "Start loading Lotus Notes Calendar from temperary file: %s"
    const char* count;    // e.g. "There are %d Calendar records in total."
    const char* loadDone; // e.g. "Load Lotus Notes Calendar information from file successfully."
    const char* saveFile; // e.g. "Start saving Lotus Notes Calendar information to file: %s"
    const char* saveDone; // e.g. "Save Lotus Notes Calendar information to file successfully."
    const char* submit;   // e.g. "Submit changes to Lotus Notes calendar database"
};

template <class Native, class Rec, class Store>
class CxLNRecordUtil : public CxHelperRecordUtil<CxLNBaseUtil, Native, Rec, Store>
{
    using Base = CxHelperRecordUtil<CxLNBaseUtil, Native, Rec, Store>;

public:
    CxLNRecordUtil(const CxHelperFiles& files, const CxHelperWords& words, const CxLNFileWords& fileWords,
                   int databaseParamId = CxLNBaseUtil::kParamDatabase)
        : Base(files, words, databaseParamId), m_fileWords(fileWords)
    {
    }

    bool Commit() override
    {
        if (this->IsDirty() && m_fileWords.submit != nullptr) {
            FW_LOG(2, "%s", m_fileWords.submit);
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

    bool LoadFromFile() override
    {
        const std::string path = this->DataFilePath();
        if (m_fileWords.loadFile != nullptr) {
            FW_LOG(2, m_fileWords.loadFile, path.c_str());
        }
        if (!Base::LoadFromFile()) {
            return false;
        }
        if (m_fileWords.count != nullptr) {
            FW_LOG(2, m_fileWords.count, this->GetNativeCount());
        }
        if (m_fileWords.loadDone != nullptr) {
            FW_LOG(2, "%s", m_fileWords.loadDone);
        }
        return true;
    }

    bool SaveToFile() override
    {
        const std::string path = this->DataFilePath();
        if (m_fileWords.saveFile != nullptr) {
            FW_LOG(2, m_fileWords.saveFile, path.c_str());
        }
        if (!Base::SaveToFile()) {
            return false;
        }
        if (m_fileWords.saveDone != nullptr) {
            FW_LOG(2, "%s", m_fileWords.saveDone);
        }
        return true;
    }

private:
    CxLNFileWords m_fileWords;
};
