#pragma once
// Whole-file reads and atomic whole-file writes.
#include <string>

namespace platform {

// Reads a whole file; false when it does not open.
bool ReadWholeFile(const std::string& path, std::string& contents);

// Writes a file completely or not at all: a temporary file beside it, flushed, then renamed
// over it. A new file gets mode; an existing file keeps its mode.
bool WriteFileAtomically(const std::string& path, const std::string& contents, unsigned mode = 0644);

} // namespace platform
