#include "platform/Shell.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace platform {
namespace {

// The opener is not waited for, but someone must collect its exit status.
void ReapInBackground(pid_t pid)
{
    try {
        std::thread([pid] {
            int status = 0;
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the child stays a zombie until this process ends.
    }
}

} // namespace

bool ShellOpen(const char* target, int waitMs)
{
    if (target == nullptr || *target == '\0') {
        return false;
    }
    const char* opener = std::getenv("FERRYWISE_OPEN_COMMAND");
    if (opener == nullptr || *opener == '\0') {
        opener = "xdg-open";
    }

    posix_spawn_file_actions_t actions;
    if (::posix_spawn_file_actions_init(&actions) != 0) {
        return false;
    }
    posix_spawnattr_t attributes;
    if (::posix_spawnattr_init(&attributes) != 0) {
        ::posix_spawn_file_actions_destroy(&actions);
        return false;
    }
    bool ready = ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0) == 0;
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    // The opener may start a long-lived program; it must not inherit our open files.
    ready = ready && ::posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1) == 0;
#endif
    // A clean signal state, whatever this process blocks or ignores.
    sigset_t none;
    sigset_t defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    ready = ready && ::posix_spawnattr_setsigmask(&attributes, &none) == 0 &&
            ::posix_spawnattr_setsigdefault(&attributes, &defaults) == 0 &&
            ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) == 0;

    pid_t pid = -1;
    char* argv[] = {const_cast<char*>(opener), const_cast<char*>(target), nullptr};
    bool started = ready && ::posix_spawnp(&pid, opener, &actions, &attributes, argv, environ) == 0;
    ::posix_spawnattr_destroy(&attributes);
    ::posix_spawn_file_actions_destroy(&actions);
    if (!started) {
        return false;
    }
    // An opener that finds no program says so by its exit status, at once; one that has found
    // a program may run as long as that program does.
    for (auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        if (done < 0 && errno != EINTR) {
            return true; // collected elsewhere: it was started, nothing more is known
        }
        if (std::chrono::steady_clock::now() >= end) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ReapInBackground(pid);
    return true;
}

} // namespace platform
