#pragma once
// A connector for the command tests: loads the records a test planned for its application and
// data type into a real store, counts what is submitted and fails when told to.
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "common/TestApps.h"
#include "engine/MigrationDriver.h"
#include "misc/CxConnector.h"

namespace clitest {

struct Plan
{
    bool loadResult = true;
    bool commitResult = true;
    std::string errorText;
    bool throwOnSubmit = false; // a std::runtime_error("submit exploded")
    std::vector<CommAddrRec> contacts;
    std::vector<CommDateRec> events;
    std::vector<CommTaskRec> tasks;
    std::vector<CommNoteRec> notes;
    int submitted = 0; // records handed to SubmitRecord
    int commits = 0;
};

inline std::map<std::pair<int, int>, Plan>& Plans()
{
    static std::map<std::pair<int, int>, Plan> plans;
    return plans;
}

inline Plan& PlanOf(AppKind kind, DataType type)
{
    return Plans()[{kind, type}];
}

class FakeConnector : public CxConnector
{
public:
    FakeConnector(AppKind kind, DataType type) : m_plan(PlanOf(kind, type)), m_type(type) {}

    bool Load() override
    {
        Clear();
        for (const CommAddrRec& r : m_plan.contacts) {
            m_addr.Add(&r);
        }
        for (const CommDateRec& r : m_plan.events) {
            m_date.Add(&r);
        }
        for (const CommTaskRec& r : m_plan.tasks) {
            m_task.Add(&r);
        }
        for (const CommNoteRec& r : m_plan.notes) {
            m_note.Add(&r);
        }
        return m_plan.loadResult;
    }
    void Clear() override
    {
        m_addr.Clear();
        m_date.Clear();
        m_task.Clear();
        m_note.Clear();
    }
    bool Commit() override
    {
        ++m_plan.commits;
        return m_plan.commitResult;
    }
    bool GetErrorFlag() const override { return false; }
    std::string GetErrorText() const override { return m_plan.errorText; }
    void Configure(const ConnectorConfig& /*config*/) override {}

    CommAddrMgr* GetAddrStore() override { return m_type == kDataContacts ? &m_addr : nullptr; }
    CommDateMgr* GetDateStore() override { return m_type == kDataCalendar ? &m_date : nullptr; }
    CommTaskMgr* GetTaskStore() override { return m_type == kDataTasks ? &m_task : nullptr; }
    CommNoteMgr* GetNoteStore() override { return m_type == kDataNotes ? &m_note : nullptr; }

    bool SubmitRecord(const CommAddrRec& /*record*/, bool /*writeNow*/) override { return Submitted(); }
    bool SubmitRecord(const CommDateRec& /*record*/, bool /*writeNow*/) override { return Submitted(); }
    bool SubmitRecord(const CommTaskRec& /*record*/, bool /*writeNow*/) override { return Submitted(); }
    bool SubmitRecord(const CommNoteRec& /*record*/, bool /*writeNow*/) override { return Submitted(); }

private:
    bool Submitted()
    {
        if (m_plan.throwOnSubmit) {
            throw std::runtime_error("submit exploded");
        }
        ++m_plan.submitted;
        return true;
    }

    Plan& m_plan;
    DataType m_type;
    CommAddrMgr m_addr;
    CommDateMgr m_date;
    CommTaskMgr m_task;
    CommNoteMgr m_note;
};

// Fakes for every data type of the kinds given.
inline void RegisterFakes(std::initializer_list<AppKind> kinds)
{
    for (AppKind kind : kinds) {
        for (DataType type : kAllDataTypes) {
            fwtest::RegisterConnector(kind, type,
                                      [kind, type] { return std::make_unique<FakeConnector>(kind, type); });
        }
    }
}

inline CommAddrRec Contact(const char* first, const char* company)
{
    CommAddrRec rec{};
    CopyText(rec.FirstName, first);
    CopyText(rec.Company, company);
    return rec;
}

inline CommNoteRec Note(const char* title, const char* body)
{
    CommNoteRec rec{};
    CopyText(rec.Title, title);
    CopyText(rec.Body, body);
    return rec;
}

} // namespace clitest
