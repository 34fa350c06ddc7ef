#pragma once
// The Outlook tasks connector: the default Tasks folder read into OlTaskRec records and common
// tasks, a common task written as a new task item or over the one it matches.
#include "misc/CommTaskMgr.h"
#include "outlook/OlItemUtil.h"
#include "outlook/OlTaskConvert.h"
#include "outlook/OlTaskRec.h"

class OlTaskUtil : public OlItemUtil<OlTaskRec, CommTaskRec, CommTaskMgr>
{
public:
    explicit OlTaskUtil(OlSession& session);
    ~OlTaskUtil() override;

    CommTaskMgr* GetTaskStore() override { return m_pDataMgr.get(); }
    bool SubmitRecord(const CommTaskRec& record, bool writeNow) override;
    // The Tasks folder while connected.
    CDispCmd* TaskRootFolder() const { return m_pFolder; }

    bool ReadItem(CDispCmd& item, OlTaskRec& native) override;
    void WriteItem(CDispCmd& item, const OlTaskRec& native) override;
    void ToCommon(const OlTaskRec& native, CommTaskRec& record) override { FromNative(native, record); }
    void ToOutlook(const CommTaskRec& record, OlTaskRec& native) override { ToNative(record, native); }
};
