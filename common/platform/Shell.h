#pragma once
// The shell's "open" verb: hands a document, folder or web address to the desktop.

namespace platform {

// How long ShellOpen waits for the opener to tell whether it found a program.
inline constexpr int kShellOpenWaitMs = 1500;

// Starts "xdg-open target" without a shell and waits up to waitMs for it: true when it ended
// with exit status 0 or is still at work then (a program shows the target; it is left to run
// and reaped in the background); false when it could not start, or ended with another status
// or a signal within the wait (no program to open the target, or the target is missing).
// FERRYWISE_OPEN_COMMAND names another opener (tests use it).
bool ShellOpen(const char* target, int waitMs = kShellOpenWaitMs);

} // namespace platform
