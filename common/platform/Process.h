#pragma once
// A child process started without a shell: the program path and its arguments go to the
// kernel as they are, so no text in them is ever read as a command.
//
// The child gets /dev/null as its standard streams, no other descriptor of the parent, the
// parent's environment, default signal handling, a process group of its own (a terminal's
// Ctrl+C reaches the parent only) and, when a folder is named, that folder as its current
// directory. The folder is set for the child alone: changing the parent's
// current directory would race every other thread of the parent.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class Process
{
public:
    enum class WaitResult
    {
        Exited,   // the child has ended and is reaped
        TimedOut, // the limit passed; the child is still running
        Failed,   // nothing to wait for, or the wait itself failed
    };

    Process() = default;
    // A child that has not been reaped is handed to ReapAbandoned, never killed.
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts argv[0] with the arguments argv (argv[0] included). An empty folder keeps the
    // parent's current directory. False with errorText set (the system's message for the
    // failure) when the program cannot be started; a running child of an earlier Start is
    // released first.
    bool Start(const std::vector<std::string>& argv, const std::string& folder, std::string& errorText);

    // Waits at most timeoutMs milliseconds for the child to end.
    WaitResult Wait(std::uint32_t timeoutMs);

    // Sends the signal to the child not yet reaped; false when there is none or the
    // system refuses.
    bool Signal(int signalNumber);

    // Reaps the child if it has ended, without waiting; true when there is no child left.
    bool TryReap();

    // Forgets the child. One still running is reaped later by ReapAbandoned, so that it never
    // stays behind as a zombie.
    void Release();

    bool IsStarted() const { return m_pid > 0; }
    int Id() const { return m_pid; }
    // The wait status of the ended child (as waitpid gives it); -1 while none.
    int ExitStatus() const { return m_status; }
    // The exit code of a child that ended normally; -1 otherwise.
    int ExitCode() const;

    // Reaps, without waiting, every released child that has ended since. Start calls it;
    // callers may call it at any time (for example before the program exits).
    static void ReapAbandoned();
    // Number of released children not reaped yet.
    static std::size_t AbandonedCount();

private:
    int m_pid = -1;
    int m_status = -1;
};

} // namespace platform
