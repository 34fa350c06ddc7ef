#pragma once
// The shell's "open" verb: hands a document, folder or web address to the desktop.

namespace platform {

// Starts "xdg-open target" without a shell and does not wait for it; true when it started.
// FERRYWISE_OPEN_COMMAND names another opener (tests use it).
bool ShellOpen(const char* target);

} // namespace platform
