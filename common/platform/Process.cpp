#include "platform/Process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace platform {

namespace {

std::mutex g_abandonedLock;
std::vector<int> g_abandoned;

std::string ErrorMessage(int error)
{
    char buffer[256] = {};
    // The GNU strerror_r gives a pointer that may or may not be the buffer.
    const char* text = strerror_r(error, buffer, sizeof(buffer));
    return text != nullptr ? std::string(text) : std::string("Unknown error");
}

// A descriptor that becomes readable when the child ends; -1 where the kernel has none.
int OpenPidFd(int pid)
{
#ifdef SYS_pidfd_open
    const long fd = syscall(SYS_pidfd_open, pid, 0);
    return fd >= 0 ? static_cast<int>(fd) : -1;
#else
    (void)pid;
    return -1;
#endif
}

} // namespace

Process::~Process()
{
    Release();
}

int Process::ExitCode() const
{
    if (m_status == -1 || !WIFEXITED(m_status)) {
        return -1;
    }
    return WEXITSTATUS(m_status);
}

bool Process::Start(const std::vector<std::string>& argv, const std::string& folder, std::string& errorText)
{
    Release();
    ReapAbandoned();
    m_status = -1;
    errorText.clear();
    if (argv.empty() || argv[0].empty()) {
        errorText = ErrorMessage(ENOENT);
        return false;
    }

    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);

    // The streams are no way to talk to a helper: they lead nowhere, and nothing else of
    // ours is passed on.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    if (!folder.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    }

    // Whatever this process blocks or ignores, the child starts with the defaults.
    sigset_t mask;
    sigemptyset(&mask);
    posix_spawnattr_setsigmask(&attributes, &mask);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGPIPE, SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGCHLD, SIGALRM, SIGUSR1, SIGUSR2}) {
        sigaddset(&defaults, signal);
    }
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    // A process group of its own: Ctrl+C on our terminal reaches us alone, and we ask the child
    // to stop the way it understands.
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);

    pid_t pid = -1;
    const int result = posix_spawn(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (result != 0) {
        errorText = ErrorMessage(result);
        return false;
    }
    m_pid = pid;
    return true;
}

bool Process::Signal(int signalNumber)
{
    return m_pid > 0 && kill(m_pid, signalNumber) == 0;
}

Process::WaitResult Process::Wait(std::uint32_t timeoutMs)
{
    if (m_pid <= 0) {
        return WaitResult::Failed;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    const int pidFd = OpenPidFd(m_pid);
    WaitResult outcome = WaitResult::TimedOut;
    for (;;) {
        int status = 0;
        const pid_t reaped = waitpid(m_pid, &status, WNOHANG);
        if (reaped == m_pid) {
            m_status = status;
            m_pid = -1;
            outcome = WaitResult::Exited;
            break;
        }
        if (reaped < 0 && errno != EINTR) {
            outcome = WaitResult::Failed;
            break;
        }
        // Rounded up, so that a wait never ends before the limit.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            outcome = WaitResult::TimedOut;
            break;
        }
        if (pidFd >= 0) {
            pollfd watch = {pidFd, POLLIN, 0};
            poll(&watch, 1, static_cast<int>(left));
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(left < 10 ? left : 10));
        }
    }
    if (pidFd >= 0) {
        close(pidFd);
    }
    return outcome;
}

bool Process::TryReap()
{
    if (m_pid <= 0) {
        return true;
    }
    int status = 0;
    const pid_t reaped = waitpid(m_pid, &status, WNOHANG);
    if (reaped == m_pid) {
        m_status = status;
        m_pid = -1;
        return true;
    }
    if (reaped < 0 && errno == ECHILD) {
        m_pid = -1; // someone else reaped it
        return true;
    }
    return false;
}

void Process::Release()
{
    if (TryReap()) {
        return;
    }
    {
        std::lock_guard<std::mutex> guard(g_abandonedLock);
        g_abandoned.push_back(m_pid);
    }
    m_pid = -1;
}

void Process::ReapAbandoned()
{
    std::lock_guard<std::mutex> guard(g_abandonedLock);
    std::vector<int> still;
    for (int pid : g_abandoned) {
        int status = 0;
        const pid_t reaped = waitpid(pid, &status, WNOHANG);
        if (reaped == 0 || (reaped < 0 && errno == EINTR)) {
            still.push_back(pid);
        }
    }
    g_abandoned.swap(still);
}

std::size_t Process::AbandonedCount()
{
    std::lock_guard<std::mutex> guard(g_abandonedLock);
    return g_abandoned.size();
}

} // namespace platform
