#include "misc/FlowProgress.h"

#include <utility>

namespace {

FlowProgress::Sink& TheSink()
{
    static FlowProgress::Sink sink;
    return sink;
}

} // namespace

void FlowProgress::SetSink(Sink sink)
{
    TheSink() = std::move(sink);
}

void FlowProgress::Report(int done, int total)
{
    const Sink& sink = TheSink();
    if (!sink || (done != 1 && done % kStep != 0 && done != total)) {
        return;
    }
    sink(done, total);
}
