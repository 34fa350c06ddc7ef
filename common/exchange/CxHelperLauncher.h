#pragma once
// Starting a helper utility program and waiting for it, behind a small interface that tests
// can replace. The real launcher starts the program as a child process without a shell
// (platform::Process); a test may give a connector a scripted one instead.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Process.h"

// What one run of a helper came to.
struct CxHelperRunResult
{
    // False when the program could not be started; errorText then holds the system's reason.
    bool started = false;
    // The helper ended within the wait limit (and is reaped).
    bool ended = false;
    // The wait limit passed with the helper still running; it is left running.
    bool stillRunning = false;
    // Started, but neither ended nor still running: the wait itself failed.
    bool WaitFailed() const { return started && !ended && !stillRunning; }

    // The exit code of a helper that ended normally; -1 otherwise.
    int exitStatus = -1;
    // The signal that ended the helper; 0 when none did.
    int signal = 0;
    // The process id of a helper that was started; -1 otherwise.
    int processId = -1;
    // The system's message when the program could not be started; empty otherwise.
    std::string errorText;
    // The user cancelled the load while the helper ran: it was asked to stop and, if it had
    // not ended within the grace time, ended by signal. Whatever it wrote is not to be used.
    bool cancelled = false;
};

class CxHelperLauncher
{
public:
    // Told the process id once the helper runs, before the wait begins.
    using StartedFn = std::function<void(int processId)>;

    // How a launcher asks a running helper to stop when the user cancels (the connector writes
    // the control file's stop request).
    using AskStopFn = std::function<void()>;

    virtual ~CxHelperLauncher() = default;

    // Starts argv[0] with the arguments argv (argv[0] included) in folder (empty: the
    // caller's current directory), calls started when it runs, and waits at most waitLimit
    // milliseconds for it to end. A helper still running at the limit is left running.
    virtual CxHelperRunResult Run(const std::vector<std::string>& argv, const std::string& folder,
                                  std::uint32_t waitLimit, const StartedFn& started) = 0;
    // Releases what the last run left: a helper that ended is reaped, one still running is
    // left running (and reaped later). Never kills it.
    virtual void Release() = 0;

    // Null: the launcher cannot ask, and a cancelled helper is ended by signal alone.
    void SetAskStop(AskStopFn askStop) { m_askStop = std::move(askStop); }

protected:
    AskStopFn m_askStop;
};

// The real launcher: a child process started by posix_spawn. While it waits it looks every
// kPollMs for the user's cancel request (FlowCancel): then it asks the helper to stop, gives
// it the stop grace (kStopGraceMs) to end by itself, then ends it by SIGTERM, and by SIGKILL
// after the grace once more.
class CxProcessLauncher : public CxHelperLauncher
{
public:
    static constexpr std::uint32_t kPollMs = 100;
    static constexpr std::uint32_t kStopGraceMs = 5000;

    CxHelperRunResult Run(const std::vector<std::string>& argv, const std::string& folder,
                          std::uint32_t waitLimit, const StartedFn& started) override;
    void Release() override;
    // How long a cancelled helper is given to end by itself (and then after SIGTERM).
    void SetStopGrace(std::uint32_t milliseconds) { m_stopGraceMs = milliseconds; }

private:
    platform::Process m_process;
    std::uint32_t m_stopGraceMs = kStopGraceMs;
};
