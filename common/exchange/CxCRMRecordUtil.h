#pragma once
// What the connectors of the three CRM families (salesforce, SugarCRM, Dynamics CRM) share on
// top of the exchange: the record file read and written through the layout of the kind of
// data (CxCRMLayout), the log lines around it and around a submit. A load runs the helper
// with command 1 first, as every other family's does, so that the record file it reads is
// the application's current one.
//
// The conversions carry no values but where a connector says otherwise: a native record
// read becomes a common record whose only value is its source type, and a common record
// submitted leaves the native record's values as they are (a new one stays empty but for its
// change mark and action).
#include <cmath>
#include <cstdio>
#include <string>

#include "exchange/CxCRMLayout.h"
#include "exchange/CxHelperRecordUtil.h"
#include "misc/CxDebugUtil.h"

// Log lines of the record file; loadFile and saveFile take the record file's name, count the
// number of records.
struct CxCRMFileWords
{
    const char* loadFile; // e.g. "Start loading SalesForce Tasks from temperary file: %s"
    const char* count;    // e.g. "There are %d Task records in total."
    const char* loadDone; // e.g. "Load SalesForce Tasks information from file successfully."
    const char* saveFile; // e.g. "Start saving SalesForce Tasks information to file: %s"
    const char* saveDone; // e.g. "Save SalesForce Tasks information to file successfully."
};

// The words of one connector: L the application and kind in the load messages ("SalesForce
// Tasks"), F in the read and write messages, N the record's name ("Task").
#define CX_CRM_WORDS(L)                                                                                      \
    CxHelperWords                                                                                            \
    {                                                                                                        \
        "Start loading " L ".", "Load " L " information successfully.", "Failed to load " L " information.", \
            "Failed to open file: %s", "Failed to open file: %s"                                             \
    }
#define CX_CRM_FILE_WORDS(F, N)                                                                              \
    CxCRMFileWords                                                                                           \
    {                                                                                                        \
        "Start loading " F " from temperary file: %s", "There are %d " N " records in total.",               \
            "Load " F " information from file successfully.", "Start saving " F " information to file: %s",  \
            "Save " F " information to file successfully."                                                   \
    }

// A date value as the calendar parameters carry it: the whole number of its OLE Automation date
// ("%d"), the fraction dropped. A value out of the range of an integer (or not a number) is
// written as 0, no limit.
inline std::string CxCRMDateParam(double date)
{
    char text[16];
    const bool inRange = std::isfinite(date) && date > -2147483648.0 && date < 2147483648.0;
    std::snprintf(text, sizeof text, "%d", inRange ? static_cast<int>(date) : 0);
    return text;
}

template <class Family, class Native, class Rec, class Store>
class CxCRMRecordUtil : public CxHelperRecordUtil<Family, Native, Rec, Store>
{
    using Base = CxHelperRecordUtil<Family, Native, Rec, Store>;

public:
    template <class... FamilyArgs>
    CxCRMRecordUtil(const CxHelperFiles& files, const CxHelperWords& words, const CxCRMFileWords& fileWords,
                    const CxCRMLayout& layout, FamilyArgs... familyArgs)
        : Base(files, words, familyArgs...), m_fileWords(fileWords), m_layout(layout)
    {
    }

    bool Commit() override
    {
        FW_LOG(2, "Start submitting changes to server.");
        if (!this->IsDirty()) {
            FW_LOG(2, "There is no new changes and no need to submit information to server.");
            return true;
        }
        return Base::Commit();
    }

    const CxCRMLayout& Layout() const { return m_layout; }

protected:
    bool LoadRecFromFile_(CxFile& file, Native& native) override
    {
        return LoadLayoutFields(file, m_layout.fields, &native);
    }
    bool SaveRecToFile_(CxFile& file, const Native& native) override
    {
        return SaveLayoutFields(file, m_layout.fields, &native);
    }
    void NativeToComm_(const Native& /*native*/, Rec& /*record*/) override {}
    void CommToNative_(const Rec& /*record*/, Native& /*native*/) override {}
    void MarkChanged_(Native& native, int action) override
    {
        native.ChangeMark = CxHelperBaseUtil::kChangeMarkChanged;
        native.Action = action;
    }

    bool LoadFromFile() override
    {
        FW_LOG(2, m_fileWords.loadFile, this->Files().dataFile);
        if (!Base::LoadFromFile()) {
            return false;
        }
        FW_LOG(2, m_fileWords.count, this->GetNativeCount());
        FW_LOG(2, "%s", m_fileWords.loadDone);
        return true;
    }

    bool SaveToFile() override
    {
        FW_LOG(2, m_fileWords.saveFile, this->Files().dataFile);
        FW_LOG(2, m_fileWords.count, this->GetNativeCount());
        if (!Base::SaveToFile()) {
            return false;
        }
        FW_LOG(2, "%s", m_fileWords.saveDone);
        return true;
    }

private:
    CxCRMFileWords m_fileWords;
    CxCRMLayout m_layout;
};
