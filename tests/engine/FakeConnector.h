#pragma once
// A connector that keeps the contract without reaching any application: it loads the records
// its plan names into a real record store, records every call, and fails or throws when told.
// Plans are kept per application kind and data type, so a test can set one up before the
// registry makes the connector and change it afterwards.
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "RecordingFrontEnd.h"
#include "common/TestApps.h"
#include "engine/MigrationDriver.h"
#include "misc/CxConnector.h"
#include "misc/FlowCancel.h"
#include "misc/FlowProgress.h"

namespace fwtest {

// One record of a plan: key decides the item, detail whether it changed.
struct FakeRecord
{
    std::string key;
    std::string detail;
};

struct FakePlan
{
    bool loadResult = true;
    bool loadErrorFlag = false; // set with the result of Load
    bool commitResult = true;
    bool commitErrorFlag = false;
    std::string errorText;
    bool throwOnSubmit = false;      // a std::runtime_error("submit exploded")
    bool throwOtherOnSubmit = false; // an int
    // The user presses Cancel while the connector loads (or commits): the answer is kept.
    bool cancelDuringLoad = false;
    bool cancelDuringCommit = false;
    FlowCancel::Answer cancelAnswer = FlowCancel::Answer::NothingRunning;
    int lossyRecords = 0;         // records whose texts lost characters to the code page
    bool reportsProgress = false; // counts its records as an in-process reader does
    std::vector<FakeRecord> records;
};

// Status given to loaded records, so that a test sees whether a comparison touched them.
inline constexpr int kNotCompared = 77;

inline const char* KindTag(AppKind kind)
{
    static const char* const kTags[] = {"none", "ACT", "GG", "OL", "LN", "PD", "DN", "SF", "SG"};
    return IsValidAppKind(kind) ? kTags[kind] : "none";
}

inline const char* TypeTag(DataType type)
{
    static const char* const kTags[] = {"contacts", "calendar", "tasks", "notes"};
    return kTags[type];
}

inline std::string Tag(AppKind kind, DataType type)
{
    return std::string(KindTag(kind)) + " " + TypeTag(type);
}

inline std::map<std::pair<int, int>, FakePlan>& Plans()
{
    static std::map<std::pair<int, int>, FakePlan> plans;
    return plans;
}

inline FakePlan& PlanOf(AppKind kind, DataType type)
{
    return Plans()[{kind, type}];
}

// Common records of each data type made from a plan's records.
inline CommAddrRec MakeContact(const FakeRecord& r)
{
    CommAddrRec rec{};
    CopyText(rec.FirstName, r.key.c_str());
    CopyText(rec.DisplayName, r.key.c_str());
    CopyText(rec.Company, r.detail.c_str());
    return rec;
}
inline CommDateRec MakeEvent(const FakeRecord& r)
{
    CommDateRec rec{};
    CopyText(rec.Subject, r.key.c_str());
    CopyText(rec.Location, r.detail.c_str());
    rec.Start = SYSTEMTIME{2013, 3, 2, 5, 9, 30, 0, 0};
    rec.End = SYSTEMTIME{2013, 3, 2, 5, 10, 0, 0, 0};
    return rec;
}
inline CommTaskRec MakeTask(const FakeRecord& r)
{
    CommTaskRec rec{};
    CopyText(rec.Subject, r.key.c_str());
    rec.Priority = r.detail.empty() ? 0 : 1;
    return rec;
}
inline CommNoteRec MakeNote(const FakeRecord& r)
{
    CommNoteRec rec{};
    CopyText(rec.Title, r.key.c_str());
    CopyText(rec.Body, (r.key + "\r\n" + r.detail).c_str());
    return rec;
}

class FakeConnector : public CxConnector
{
public:
    struct Submit
    {
        std::string key;
        bool writeNow;
    };

    FakeConnector(AppKind kind, DataType type) : m_kind(kind), m_type(type) {}
    ~FakeConnector() override { TheJournal().Add("destroy " + Tag(m_kind, m_type)); }

    bool Load() override
    {
        ++loads;
        TheJournal().Add("load " + Tag(m_kind, m_type));
        FakePlan& plan = PlanOf(m_kind, m_type);
        ClearStores();
        for (const FakeRecord& r : plan.records) {
            AddRecord(r);
            if (plan.reportsProgress) {
                FlowProgress::Report(static_cast<int>(Stored().size()),
                                     static_cast<int>(plan.records.size()));
            }
        }
        if (plan.cancelDuringLoad) {
            plan.cancelAnswer = FlowCancel::Request();
        }
        m_error = plan.loadErrorFlag;
        m_errorText = plan.errorText;
        return plan.loadResult;
    }
    void Clear() override
    {
        ++clears;
        ClearStores();
    }
    bool Commit() override
    {
        ++commits;
        TheJournal().Add("commit " + Tag(m_kind, m_type));
        FakePlan& plan = PlanOf(m_kind, m_type);
        if (plan.cancelDuringCommit) {
            plan.cancelAnswer = FlowCancel::Request();
        }
        m_error = plan.commitErrorFlag;
        m_errorText = plan.errorText;
        return plan.commitResult;
    }
    int GetLossyRecordCount() const override { return PlanOf(m_kind, m_type).lossyRecords; }
    bool GetErrorFlag() const override { return m_error; }
    std::string GetErrorText() const override { return m_errorText; }
    void Configure(const ConnectorConfig& config) override { configs.push_back(config); }

    CommAddrMgr* GetAddrStore() override { return m_type == kDataContacts ? &m_addr : nullptr; }
    CommDateMgr* GetDateStore() override { return m_type == kDataCalendar ? &m_date : nullptr; }
    CommTaskMgr* GetTaskStore() override { return m_type == kDataTasks ? &m_task : nullptr; }
    CommNoteMgr* GetNoteStore() override { return m_type == kDataNotes ? &m_note : nullptr; }

    bool SubmitRecord(const CommAddrRec& record, bool writeNow) override
    {
        return Record(kDataContacts, record.DisplayName, writeNow);
    }
    bool SubmitRecord(const CommDateRec& record, bool writeNow) override
    {
        return Record(kDataCalendar, record.Subject, writeNow);
    }
    bool SubmitRecord(const CommTaskRec& record, bool writeNow) override
    {
        return Record(kDataTasks, record.Subject, writeNow);
    }
    bool SubmitRecord(const CommNoteRec& record, bool writeNow) override
    {
        return Record(kDataNotes, record.Title, writeNow);
    }

    // The keys of the stored records, with their Status.
    std::vector<std::pair<std::string, int>> Stored()
    {
        std::vector<std::pair<std::string, int>> out;
        switch (m_type) {
        case kDataContacts:
            for (CommAddrRec* r = m_addr.First(); r != nullptr; r = m_addr.Next()) {
                out.emplace_back(r->FirstName, r->Status);
            }
            break;
        case kDataCalendar:
            for (CommDateRec* r = m_date.First(); r != nullptr; r = m_date.Next()) {
                out.emplace_back(r->Subject, r->Status);
            }
            break;
        case kDataTasks:
            for (CommTaskRec* r = m_task.First(); r != nullptr; r = m_task.Next()) {
                out.emplace_back(r->Subject, r->Status);
            }
            break;
        case kDataNotes:
            for (CommNoteRec* r = m_note.First(); r != nullptr; r = m_note.Next()) {
                out.emplace_back(r->Title, r->Status);
            }
            break;
        }
        return out;
    }

    // A store record of the connector's data type, as the comparison pages hand them on.
    void* StoredAt(int index)
    {
        int i = 0;
        switch (m_type) {
        case kDataContacts:
            for (CommAddrRec* r = m_addr.First(); r != nullptr; r = m_addr.Next(), ++i) {
                if (i == index) {
                    return r;
                }
            }
            break;
        case kDataCalendar:
            for (CommDateRec* r = m_date.First(); r != nullptr; r = m_date.Next(), ++i) {
                if (i == index) {
                    return r;
                }
            }
            break;
        case kDataTasks:
            for (CommTaskRec* r = m_task.First(); r != nullptr; r = m_task.Next(), ++i) {
                if (i == index) {
                    return r;
                }
            }
            break;
        case kDataNotes:
            for (CommNoteRec* r = m_note.First(); r != nullptr; r = m_note.Next(), ++i) {
                if (i == index) {
                    return r;
                }
            }
            break;
        }
        return nullptr;
    }

    int loads = 0;
    int clears = 0;
    int commits = 0;
    std::vector<ConnectorConfig> configs;
    std::vector<Submit> submits;

private:
    void ClearStores()
    {
        m_addr.Clear();
        m_date.Clear();
        m_task.Clear();
        m_note.Clear();
    }
    void AddRecord(const FakeRecord& r)
    {
        switch (m_type) {
        case kDataContacts: {
            CommAddrRec rec = MakeContact(r);
            rec.Status = kNotCompared;
            m_addr.Add(&rec);
            break;
        }
        case kDataCalendar: {
            CommDateRec rec = MakeEvent(r);
            rec.Status = kNotCompared;
            m_date.Add(&rec);
            break;
        }
        case kDataTasks: {
            CommTaskRec rec = MakeTask(r);
            rec.Status = kNotCompared;
            m_task.Add(&rec);
            break;
        }
        case kDataNotes: {
            CommNoteRec rec = MakeNote(r);
            rec.Status = kNotCompared;
            m_note.Add(&rec);
            break;
        }
        }
    }
    bool Record(DataType type, const char* key, bool writeNow)
    {
        const FakePlan& plan = PlanOf(m_kind, m_type);
        TheJournal().Add("submit " + Tag(m_kind, m_type) + " " + key);
        if (plan.throwOnSubmit) {
            throw std::runtime_error("submit exploded");
        }
        if (plan.throwOtherOnSubmit) {
            throw 42;
        }
        submits.push_back({key, writeNow});
        return type == m_type;
    }

    AppKind m_kind;
    DataType m_type;
    bool m_error = false;
    std::string m_errorText;
    CommAddrMgr m_addr;
    CommDateMgr m_date;
    CommTaskMgr m_task;
    CommNoteMgr m_note;
};

// Makes fakes for every data type of the kinds given.
inline void RegisterFakes(std::initializer_list<AppKind> kinds)
{
    for (AppKind kind : kinds) {
        for (DataType type : kAllDataTypes) {
            RegisterConnector(kind, type,
                              [kind, type] { return std::make_unique<FakeConnector>(kind, type); });
        }
    }
}

inline void RegisterAllFakes()
{
    RegisterFakes(
        {kAppACT, kAppGoogle, kAppOutlook, kAppNotes, kAppPalm, kAppDynamics, kAppSalesForce, kAppSugarCRM});
}

// The registry's connector as a fake; null when none was made.
inline FakeConnector* Fake(AppKind kind, DataType type)
{
    return dynamic_cast<FakeConnector*>(ConnectorRegistry::Instance().Get(kind, type));
}

} // namespace fwtest
