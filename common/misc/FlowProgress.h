#pragma once
// How far the load of an in-process reader has come, for the wait window: the reader reports
// as it goes, the load flow (which sets the sink around the reader's load) shows
// "<what>: <done> of <total>". Helper programs say the same through their status files.
// Set and called on the engine thread.
#include <functional>
#include <utility>

class FlowProgress
{
public:
    using Sink = std::function<void(int done, int total)>;

    // Null: reports go nowhere.
    static void SetSink(Sink sink);
    // Passes on the first item, every kStep-th and the last, as the helpers do.
    static void Report(int done, int total);

    static constexpr int kStep = 100;
};

// Sets the sink for as long as it lives; an exception leaving the reader's load resets it too.
class FlowProgressScope
{
public:
    explicit FlowProgressScope(FlowProgress::Sink sink) { FlowProgress::SetSink(std::move(sink)); }
    ~FlowProgressScope() { FlowProgress::SetSink(nullptr); }
    FlowProgressScope(const FlowProgressScope&) = delete;
    FlowProgressScope& operator=(const FlowProgressScope&) = delete;
};
