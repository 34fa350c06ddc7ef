// Lotus Notes contacts record file ("LNAddr.dat") read by the contacts connector.
#include "fuzz_lnfile.h"
#include "lotus/CxLNAddrUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Two mapping slots in use, so that the mapped copies are read as well.
    static const bool mapped = [] {
        CxLNAddrUtil setup;
        return setup.SetCustomMapping(0, 16) && setup.SetCustomMapping(9, 51);
    }();
    lnfuzz::Check(mapped);
    return lnfuzz::Run<CxLNAddrUtil, LNAddrRec>(data, size, LNAddrFields(), [](const CommAddrRec& rec) {
        lnfuzz::CheckTerminated(rec.FirstName);
        lnfuzz::CheckTerminated(rec.WorkAddress.Postal);
        lnfuzz::CheckTerminated(rec.Note);
        lnfuzz::CheckTerminated(rec.Category);
        for (int i = 0; i < 10; ++i) {
            lnfuzz::CheckTerminated(rec.CustomValues[i]);
            lnfuzz::CheckTerminated(rec.MappedValues[i]);
            lnfuzz::CheckTerminated(rec.CustomLabels[i]);
        }
        lnfuzz::Check(rec.SourceType == SourceLotusNotes);
    });
}
