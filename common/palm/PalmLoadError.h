#pragma once
// Why a Palm Desktop database could not be loaded, in words for the user. The fronts put the
// path before these texts ("<path>: not a Palm Desktop database").
#include <string>

inline constexpr char kPmReasonNoFileName[] = "no file name given";
inline constexpr char kPmReasonEmpty[] = "the file is empty";
inline constexpr char kPmReasonForeign[] = "not a Palm Desktop database";

// Whether anything is at the path: a file, a folder, or a link (even one that leads nowhere).
// Where nothing is, the data type has no database; anything else is a database to read.
bool PmPathPresent(const std::string& path);

// Opens the file for reading only and closes it again: empty when that works and it is a
// regular file with data, else why not ("Permission denied", "the file is empty", ...).
std::string PmReadProblem(const std::string& path);

// "damaged Palm Desktop database (unreadable from byte N)".
std::string PmDamagedReason(long long position);
