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
};

class CxHelperLauncher
{
public:
    // Told the process id once the helper runs, before the wait begins.
    using StartedFn = std::function<void(int processId)>;

    virtual ~CxHelperLauncher() = default;

    // Starts argv[0] with the arguments argv (argv[0] included) in folder (empty: the
    // caller's current directory), calls started when it runs, and waits at most waitLimit
    // milliseconds for it to end. A helper still running at the limit is left running.
    virtual CxHelperRunResult Run(const std::vector<std::string>& argv, const std::string& folder,
                                  std::uint32_t waitLimit, const StartedFn& started) = 0;
    // Releases what the last run left: a helper that ended is reaped, one still running is
    // left running (and reaped later). Never kills it.
    virtual void Release() = 0;
};

// The real launcher: a child process started by posix_spawn.
class CxProcessLauncher : public CxHelperLauncher
{
public:
    CxHelperRunResult Run(const std::vector<std::string>& argv, const std::string& folder,
                          std::uint32_t waitLimit, const StartedFn& started) override;
    void Release() override;

private:
    platform::Process m_process;
};
