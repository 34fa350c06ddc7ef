#pragma once
// Where ACT! keeps what its option page offers by default: the database.
#include <string>

// Default locations offered by the option pages: true with the path, or false with it empty.
// The ACT! database: in <documents>/ACT, the first sub-folder by name (byte order, since the
// order of directory entries is arbitrary here) whose name is longer than one character and
// does not end in '.'; in its "Databases" folder, the first file by name ending in ".pad" in
// any case.
bool GetDefaultACTDatabase(std::string& path);
