#include "common/ChildProcesses.h"

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace fwtest {

std::vector<pid_t> ChildProcesses()
{
    std::vector<pid_t> children;
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) {
        return children;
    }
    const pid_t self = ::getpid();
    while (const dirent* entry = ::readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0') {
            continue;
        }
        // "pid (name) state ppid ...": the name may hold blanks and parentheses, the last ')' ends it.
        std::ifstream in("/proc/" + std::string(entry->d_name) + "/stat");
        std::string stat;
        std::getline(in, stat);
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos) {
            continue; // gone meanwhile
        }
        std::istringstream rest(stat.substr(close + 1));
        char state = 0;
        long parent = 0;
        if (rest >> state >> parent && parent == self) {
            children.push_back(static_cast<pid_t>(pid));
        }
    }
    ::closedir(proc);
    return children;
}

bool WaitUntilNoChildProcesses(std::chrono::seconds guard)
{
    const auto end = std::chrono::steady_clock::now() + guard;
    while (!ChildProcesses().empty()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace fwtest
