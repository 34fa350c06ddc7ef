#include "lotus/CxLNNoteUtil.h"

#include "lotus/LNProtocol.h"

namespace {

const CxHelperWords kWords = {nullptr, nullptr, nullptr,
                              "Cannot load Lotus Notes Note records from temperary file: %s",
                              "Cannot save Lotus Notes Notes records to temperary file: %s"};
const CxLNFileWords kFileWords = {};

} // namespace

CxLNNoteUtil::CxLNNoteUtil()
    : CxLNRecordUtil(LNNoteExchange.files, kWords, kFileWords, LNNoteExchange.databaseParam)
{
    GetStore()->SetTextLimits(LNNoteTextLimits());
}

bool CxLNNoteUtil::Load()
{
    Clear();
    SetCommand(CommandLoad);
    return InvokeHelper_() && LoadFromFile();
}
