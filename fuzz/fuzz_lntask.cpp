// Lotus Notes tasks record file ("LNTask.dat") read by the tasks connector.
#include "fuzz_lnfile.h"
#include "lotus/CxLNTaskUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return lnfuzz::Run<CxLNTaskUtil, LNTaskRec>(data, size, LNTaskFields(), [](const CommTaskRec& rec) {
        lnfuzz::CheckTerminated(rec.Subject);
        lnfuzz::CheckTerminated(rec.Notes);
        lnfuzz::Check(rec.Priority >= 0 && rec.Priority <= 2);
        lnfuzz::Check(rec.DueDate != -1);
    });
}
