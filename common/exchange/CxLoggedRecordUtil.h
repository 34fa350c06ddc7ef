#pragma once
// A family's record utility with the log lines around its record file: what the Lotus Notes
// and ACT! connectors log when they read and write the file.
#include <string>
#include <utility>

#include "exchange/CxHelperRecordUtil.h"
#include "misc/CxDebugUtil.h"

// Log lines of the record file; a null text logs nothing. loadFile and saveFile take the
// record file's path, count the number of records.
struct CxRecordFileWords
{
    const char* loadFile; // e.g. "Start loading ACT! Contacts from temperary file: %s"
    const char* count;    // e.g. "There are %d Contact records in total."
    const char* loadDone; // e.g. "Load ACT! Contacts information from file successfully."
    const char* saveFile; // e.g. "Start saving ACT! Contacts information to file: %s"
    const char* saveDone; // e.g. "Save ACT! Contacts information to file successfully."
};

template <class Family, class Native, class Rec, class Store>
class CxLoggedRecordUtil : public CxHelperRecordUtil<Family, Native, Rec, Store>
{
    using Base = CxHelperRecordUtil<Family, Native, Rec, Store>;

public:
    // familyArgs: what the family's constructor takes after the files and words.
    template <class... FamilyArgs>
    CxLoggedRecordUtil(const CxHelperFiles& files, const CxHelperWords& words,
                       const CxRecordFileWords& fileWords, FamilyArgs&&... familyArgs)
        : Base(files, words, std::forward<FamilyArgs>(familyArgs)...), m_fileWords(fileWords)
    {
    }

protected:
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
    CxRecordFileWords m_fileWords;
};
