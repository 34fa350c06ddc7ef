#include "outlook/OlNoteUtil.h"

namespace {

const OlItemTexts kTexts = {
    "Failed to get the name of the folder. hr=0x%x",
    "Got the name of the Notes folder: %s",
    nullptr, // the StoreID is not read
    nullptr,
    "Failed to get the \"Items\" property of the Notes folder. hr=0x%x",
    "Failed to get the \"Items\" property of the Notes folder. hr=0x%x",
    "Failed to get the \"Items\" property of the Notes folder. hr=0x%x",
    "Failed to call the \"Add\" method to add notes item. hr=0x%x",
    "Failed to get the notes item by index: %d. hr=0x%x",
    nullptr,
    nullptr,
};

// A changed note starts from the item as loaded and goes into the store through its update.
constexpr OlItemKind kKind = {olFolderNotes, olNoteItem, true, true, true};

// Notes' texts are read to the end of their buffers.
template <std::size_t N> int ReadSize(const char (&)[N])
{
    return static_cast<int>(N);
}

} // namespace

OlNoteUtil::OlNoteUtil(OlSession& session) : OlItemUtil(session, kKind, kTexts)
{
    OlNoteUtil::Init();
}

OlNoteUtil::~OlNoteUtil()
{
    OlNoteUtil::Close();
}

bool OlNoteUtil::SubmitRecord(const CommNoteRec& record, bool /*writeNow*/)
{
    return Submit(record);
}

bool OlNoteUtil::ReadItem(CDispCmd& item, OlNoteRec& n)
{
    item.GetStringProp(u"EntryID", n.EntryID, ReadSize(n.EntryID));
    item.GetStringProp(u"Subject", n.Subject, ReadSize(n.Subject));
    item.GetStringProp(u"Body", n.Body, ReadSize(n.Body));
    item.GetStringProp(u"Categories", n.Categories, ReadSize(n.Categories));
    item.GetDateProp(u"CreationTime", &n.CreationTime);
    item.GetDateProp(u"LastModificationTime", &n.LastModificationTime);
    item.GetBoolProp(u"Saved", &n.Saved);
    item.GetLongProp(u"Color", &n.Color);
    return true;
}

void OlNoteUtil::WriteItem(CDispCmd& item, const OlNoteRec& n)
{
    item.PutStringProp(u"Body", n.Body);
    item.PutStringProp(u"Categories", n.Categories);
    item.PutLongProp(u"Color", n.Color);
    item.CallMethod(u"Save", nullptr);
}
