#pragma once
// The processes that this test program started and that have not yet been collected, so that
// a test can wait until everything it launched has ended before it checks what did not happen.
#include <chrono>
#include <vector>

#include <sys/types.h>

namespace fwtest {

// The processes whose parent is this process, ended ones that nobody collected yet included.
std::vector<pid_t> ChildProcesses();

// Waits until this process has no child processes left: each has ended and been collected.
// The guard only keeps a child that never ends from hanging the test: false when it ran out.
bool WaitUntilNoChildProcesses(std::chrono::seconds guard = std::chrono::seconds(60));

} // namespace fwtest
