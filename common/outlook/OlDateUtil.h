#pragma once
// The Outlook calendar connector: the default Calendar folder read into OlDateRec records and
// common events, a common event written as a new appointment or over the one it matches. The
// reminder goes through the property that the session's Outlook version has.
#include "misc/CommDateMgr.h"
#include "outlook/OlDateConvert.h"
#include "outlook/OlDateRec.h"
#include "outlook/OlItemUtil.h"

class OlDateUtil : public OlItemUtil<OlDateRec, CommDateRec, CommDateMgr>
{
public:
    explicit OlDateUtil(OlSession& session);
    ~OlDateUtil() override;

    CommDateMgr* GetDateStore() override { return m_pDataMgr.get(); }
    bool SubmitRecord(const CommDateRec& record, bool writeNow) override;

    bool ReadItem(CDispCmd& item, OlDateRec& native) override;
    void WriteItem(CDispCmd& item, const OlDateRec& native) override;
    void ToCommon(const OlDateRec& native, CommDateRec& record) override;
    void ToOutlook(const CommDateRec& record, OlDateRec& native) override;
};
