#include "lotus/CxLNTaskUtil.h"

#include "lotus/LNProtocol.h"

namespace {

const CxHelperWords kWords = {"Start loading Lotus Notes Tasks.",
                              "Load Lotus Notes Tasks information successfully.",
                              "Failed to load Lotus Notes Tasks information.", nullptr, nullptr};
const CxLNFileWords kFileWords = {{"Start loading Lotus Notes Tasks from temperary file: %s",
                                   "There are %d Task records in total.",
                                   "Load Lotus Notes Tasks information from file successfully.",
                                   "Start saving Lotus Notes Tasks information to file: %s",
                                   "Save Lotus Notes Tasks information to file successfully."},
                                  "Submit changes to Lotus Notes task database"};

} // namespace

CxLNTaskUtil::CxLNTaskUtil()
    : CxLNRecordUtil(LNTaskExchange.files, kWords, kFileWords, LNTaskExchange.databaseParam)
{
}

bool CxLNTaskUtil::LoadFromFile()
{
    m_now = LNNowAsVariantTime();
    return CxLNRecordUtil::LoadFromFile();
}
