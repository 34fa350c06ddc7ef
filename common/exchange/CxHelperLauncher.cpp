#include "exchange/CxHelperLauncher.h"

#include <chrono>
#include <csignal>
#include <optional>
#include <sys/wait.h>

#include "misc/FlowCancel.h"

CxHelperRunResult CxProcessLauncher::Run(const std::vector<std::string>& argv, const std::string& folder,
                                         std::uint32_t waitLimit, const StartedFn& started)
{
    // Start releases what an earlier run left.
    CxHelperRunResult result;
    if (!m_process.Start(argv, folder, result.errorText)) {
        return result;
    }
    result.started = true;
    result.processId = m_process.Id();
    if (started) {
        started(result.processId);
    }

    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitLimit);
    std::optional<Clock::time_point> stopAskedAt;
    bool terminated = false;
    long long asks = 0;
    platform::Process::WaitResult outcome = platform::Process::WaitResult::TimedOut;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 && !stopAskedAt) {
            outcome = platform::Process::WaitResult::TimedOut;
            break;
        }
        const auto slice = static_cast<std::uint32_t>(left > 0 && left < kPollMs ? left : kPollMs);
        outcome = m_process.Wait(slice);
        if (outcome != platform::Process::WaitResult::TimedOut) {
            break;
        }
        if (!stopAskedAt && FlowCancel::StopWanted()) {
            stopAskedAt = Clock::now();
            result.cancelled = true;
            if (m_askStop) {
                m_askStop();
            }
            continue;
        }
        if (stopAskedAt) {
            const auto waited =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - *stopAskedAt).count();
            // Asked again each second: a helper that had not yet marked itself running when
            // first asked would have withdrawn the request as it began.
            if (m_askStop && waited / 1000 > asks) {
                asks = waited / 1000;
                m_askStop();
            }
            if (!terminated && waited >= m_stopGraceMs) {
                terminated = true;
                m_process.Signal(SIGTERM);
            } else if (terminated && waited >= 3 * m_stopGraceMs) {
                break; // not even SIGKILL ended it: left running, as at the wait limit
            } else if (terminated && waited >= 2 * m_stopGraceMs) {
                m_process.Signal(SIGKILL);
            }
        }
    }

    switch (outcome) {
    case platform::Process::WaitResult::Exited: {
        result.ended = true;
        const int status = m_process.ExitStatus();
        if (WIFEXITED(status)) {
            result.exitStatus = WEXITSTATUS(status);
        } else if (WIFSIGNALED(status)) {
            result.signal = WTERMSIG(status);
        }
        break;
    }
    case platform::Process::WaitResult::TimedOut:
        result.stillRunning = true;
        break;
    default:
        break;
    }
    return result;
}

void CxProcessLauncher::Release()
{
    m_process.Release();
    platform::Process::ReapAbandoned();
}
