#include "misc/FlowCancel.h"

std::atomic<int> FlowCancel::s_phase{static_cast<int>(FlowCancel::Phase::Idle)};
std::atomic<bool> FlowCancel::s_requested{false};

void FlowCancel::Begin(Phase phase)
{
    s_requested.store(false);
    s_phase.store(static_cast<int>(phase));
}

void FlowCancel::End()
{
    s_phase.store(static_cast<int>(Phase::Idle));
}

FlowCancel::Answer FlowCancel::Request()
{
    switch (static_cast<Phase>(s_phase.load())) {
    case Phase::Loading:
        s_requested.store(true);
        return Answer::Accepted;
    case Phase::Writing:
        return Answer::Refused;
    case Phase::Idle:
        break;
    }
    return Answer::NothingRunning;
}

bool FlowCancel::Requested()
{
    return s_requested.load();
}

bool FlowCancel::StopWanted()
{
    return s_requested.load() && CurrentPhase() == Phase::Loading;
}

FlowCancel::Phase FlowCancel::CurrentPhase()
{
    return static_cast<Phase>(s_phase.load());
}

const char* FlowCancel::RefusedText()
{
    return "The records are being written now and cannot be cancelled: stopping part way would "
           "leave them half written. The migration ends by itself.";
}
