#pragma once
// The user's wish to stop the work that is running: the wait window's Cancel button and Ctrl+C
// on the command line ask; the load flows and the helper launcher look. A load may be stopped
// at any time. Writing to the target is never stopped: a stop then could leave records half
// written, so the request is refused and the writing ends by itself.
//
// Lock-free atomics only, so that a signal handler may ask.
#include <atomic>

class FlowCancel
{
public:
    enum class Phase : int
    {
        Idle,    // no flow runs
        Loading, // a load flow runs: a request stops it
        Writing, // records go to the target: a request is refused
    };
    enum class Answer : int
    {
        Accepted,       // the running load stops as soon as it can
        Refused,        // records are being written; the request is not kept
        NothingRunning, // no flow runs
    };

    // A flow starts in the phase: a request left from earlier work is withdrawn.
    static void Begin(Phase phase);
    // The flow has ended: requests are answered NothingRunning until the next Begin. A request
    // accepted during the flow stays readable (Requested) until then.
    static void End();

    // Asks the running work to stop.
    static Answer Request();
    // Whether a stop was asked for and accepted since the last Begin (also after End, so that
    // a caller can tell a cancelled load from a failed one).
    static bool Requested();
    // Whether the running load is to stop now: a request accepted and its load not ended.
    static bool StopWanted();
    static Phase CurrentPhase();

    // Why a request during writing is refused, in the user's words.
    static const char* RefusedText();
    // What a cancelled load says.
    static constexpr const char* kCancelledText = "Cancelled.";

private:
    static std::atomic<int> s_phase;
    static std::atomic<bool> s_requested;
    static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);
};

// Marks a flow's phase for as long as it lives; an exception leaving the flow ends it too.
class FlowCancelScope
{
public:
    explicit FlowCancelScope(FlowCancel::Phase phase) { FlowCancel::Begin(phase); }
    ~FlowCancelScope() { FlowCancel::End(); }
    FlowCancelScope(const FlowCancelScope&) = delete;
    FlowCancelScope& operator=(const FlowCancelScope&) = delete;
};
