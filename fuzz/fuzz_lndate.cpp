// Lotus Notes calendar record file ("LNDate.dat") read by the calendar connector.
#include "fuzz_lnfile.h"
#include "lotus/CxLNDateUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return lnfuzz::Run<CxLNDateUtil, LNDateRec>(data, size, LNDateFields(), [](const CommDateRec& rec) {
        lnfuzz::CheckTerminated(rec.Subject);
        lnfuzz::CheckTerminated(rec.Location);
        lnfuzz::CheckTerminated(rec.Notes);
        lnfuzz::Check(rec.Recurrence.Kind >= 0 && rec.Recurrence.Kind <= 6);
        lnfuzz::Check(rec.Private == 0 || rec.Private == 1);
    });
}
