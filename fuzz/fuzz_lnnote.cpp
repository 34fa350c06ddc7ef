// Lotus Notes notes record file ("LNNote.dat") read by the notes connector.
#include "fuzz_lnfile.h"
#include "lotus/CxLNNoteUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return lnfuzz::Run<CxLNNoteUtil, LNNoteRec>(data, size, LNNoteFields(), [](const CommNoteRec& rec) {
        lnfuzz::CheckTerminated(rec.Title);
        lnfuzz::CheckTerminated(rec.Body);
    });
}
