#pragma once
// What the four ACT! connectors share on top of the exchange: their record files read and
// written with the layouts of ACTRecords.h, and the log lines around them. Each connector
// supplies its conversions and its words.
#include <string>

#include "ACT/ACTRecords.h"
#include "exchange/CxACTBaseUtil.h"
#include "exchange/CxHelperRecordUtil.h"
#include "misc/CxDebugUtil.h"

// Log lines of the record file; a null text logs nothing. loadFile and saveFile take the
// record file's path, count the number of records.
struct CxACTFileWords
{
    const char* loadFile; // e.g. "Start loading ACT! Contacts from temperary file: %s"
    const char* count;    // e.g. "There are %d Contact records in total."
    const char* loadDone; // e.g. "Load ACT! Contacts information from file successfully."
    const char* saveFile; // e.g. "Start saving ACT! Contacts information to file: %s"
    const char* saveDone; // e.g. "Save ACT! Contacts information to file successfully."
};

template <class Native, class Rec, class Store>
class CxACTRecordUtil : public CxHelperRecordUtil<CxACTBaseUtil, Native, Rec, Store>
{
    using Base = CxHelperRecordUtil<CxACTBaseUtil, Native, Rec, Store>;

public:
    CxACTRecordUtil(const CxHelperFiles& files, const CxHelperWords& words, const CxACTFileWords& fileWords,
                    bool withOpportunities = false)
        : Base(files, words, withOpportunities), m_fileWords(fileWords)
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
    CxACTFileWords m_fileWords;
};
