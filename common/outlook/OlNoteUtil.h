#pragma once
// The Outlook notes connector: the default Notes folder read into OlNoteRec records and common
// notes, a common note written as a new note item or over the one it matches. A note's title
// is never written: Outlook makes it from the body.
#include "misc/CommNoteMgr.h"
#include "outlook/OlItemUtil.h"
#include "outlook/OlTaskConvert.h"
#include "outlook/OlTaskRec.h"

class OlNoteUtil : public OlItemUtil<OlNoteRec, CommNoteRec, CommNoteMgr>
{
public:
    explicit OlNoteUtil(OlSession& session);
    ~OlNoteUtil() override;

    CommNoteMgr* GetNoteStore() override { return m_pDataMgr.get(); }
    bool SubmitRecord(const CommNoteRec& record, bool writeNow) override;
    // The Notes folder while connected.
    CDispCmd* NoteRootFolder() const { return m_pFolder; }

    bool ReadItem(CDispCmd& item, OlNoteRec& native) override;
    void WriteItem(CDispCmd& item, const OlNoteRec& native) override;
    void ToCommon(const OlNoteRec& native, CommNoteRec& record) override { FromNative(native, record); }
    void ToOutlook(const CommNoteRec& record, OlNoteRec& native) override { ToNative(record, native); }
};
