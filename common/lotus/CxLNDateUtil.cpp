#include "lotus/CxLNDateUtil.h"

#include "lotus/LNProtocol.h"

namespace {

const CxHelperWords kWords = {
    "Start loading Lotus Notes Calendar.", "Load Lotus Notes Calendar information successfully.",
    "Failed to load Lotus Notes Calendar information.", "Failed to open file: %s", "Failed to open file: %s"};
const CxLNFileWords kFileWords = {{"Start loading Lotus Notes Calendar from temperary file: %s",
                                   "There are %d Calendar records in total.",
                                   "Load Lotus Notes Calendar information from file successfully.",
                                   "Start saving Lotus Notes Calendar information to file: %s",
                                   "Save Lotus Notes Calendar information to file successfully."},
                                  "Submit changes to Lotus Notes calendar database"};

} // namespace

CxLNDateUtil::CxLNDateUtil()
    : CxLNRecordUtil(LNDateExchange.files, kWords, kFileWords, LNDateExchange.databaseParam)
{
}
