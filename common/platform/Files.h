#pragma once
// Whole-file reads and atomic whole-file writes.
#include <cstddef>
#include <string>

namespace platform {

// Reads a whole file; false when it does not open or is not a regular file.
bool ReadWholeFile(const std::string& path, std::string& contents);
// The same, but false (contents empty) when the file holds more than maxBytes bytes,
// so that a damaged or hostile file cannot make a reader take unbounded memory.
bool ReadWholeFile(const std::string& path, std::string& contents, std::size_t maxBytes);

// Writes a file completely or not at all: a temporary file beside it, flushed, then renamed
// over it. A new file gets mode; an existing file keeps its mode.
bool WriteFileAtomically(const std::string& path, const std::string& contents, unsigned mode = 0644);

} // namespace platform
