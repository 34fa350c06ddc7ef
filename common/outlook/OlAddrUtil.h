#pragma once
// The Outlook contacts connector: the default Contacts folder read into OlAddrRec records and
// common contacts, a common contact written as a new contact item or over the one it matches.
#include "misc/CommAddrMgr.h"
#include "outlook/OlAddrConvert.h"
#include "outlook/OlAddrRec.h"
#include "outlook/OlItemUtil.h"

class OlAddrUtil : public OlItemUtil<OlAddrRec, CommAddrRec, CommAddrMgr>
{
public:
    explicit OlAddrUtil(OlSession& session);
    ~OlAddrUtil() override;

    // Takes the field map from the Outlook kind's custom field mapping, then walks the folder.
    bool Load() override;
    // Also sets every field-map entry back to 0.
    void Init() override;

    CommAddrMgr* GetAddrStore() override { return m_pDataMgr.get(); }
    bool SubmitRecord(const CommAddrRec& record, bool writeNow) override;

    // The class-wide field map: entry i (0..9) names the OlAddrFieldTable code that fills
    // MappedValues entry i of every contact read, 0 for none. It is the Outlook kind's custom
    // field mapping (misc/CustomFieldMap.h), entry i being its slot i + 1, as the engine fills
    // it from OLCustomID1..9. False, changing nothing, for an index outside 0..9.
    static bool SetFieldMapEntry(int index, int code);
    static int GetFieldMapEntry(int index);

    bool ReadItem(CDispCmd& item, OlAddrRec& native) override;
    void WriteItem(CDispCmd& item, const OlAddrRec& native) override;
    void ToCommon(const OlAddrRec& native, CommAddrRec& record) override;
    void ToOutlook(const CommAddrRec& record, OlAddrRec& native) override;

private:
    void ReadUserProperties(CDispCmd& item, OlAddrRec& native);
    void WriteUserProperties(CDispCmd& item, const OlAddrRec& native);

    OlAddrFieldMap m_fieldMap = {}; // the map as it stood when the last load began
};
