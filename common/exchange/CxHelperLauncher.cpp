#include "exchange/CxHelperLauncher.h"

#include <sys/wait.h>

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

    switch (m_process.Wait(waitLimit)) {
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
