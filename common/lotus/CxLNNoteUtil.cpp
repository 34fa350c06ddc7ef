#include "lotus/CxLNNoteUtil.h"

namespace {

const CxHelperFiles kFiles = {"fw-notes-notes", "LNNote.dat",       "LNNoteParam.dat",
                              "LNNoteErr.dat",  "LNNoteStatus.dat", "LNNote.ini"};
const CxHelperWords kWords = {nullptr, nullptr, nullptr,
                              "Cannot load Lotus Notes Note records from temperary file: %s",
                              "Cannot save Lotus Notes Notes records to temperary file: %s"};
const CxLNFileWords kFileWords = {};

} // namespace

CxLNNoteUtil::CxLNNoteUtil() : CxLNRecordUtil(kFiles, kWords, kFileWords)
{
    GetStore()->SetTextLimits(LNNoteTextLimits());
}

bool CxLNNoteUtil::Load()
{
    Clear();
    SetCommand(CommandLoad);
    return InvokeHelper_() && LoadFromFile();
}
