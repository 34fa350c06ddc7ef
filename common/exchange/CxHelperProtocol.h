#pragma once
// What a connector and its helper program agree on, whatever application the helper
// reaches. Header only: the helper programs use it as the connectors do.
//
// All exchange files lie in the working folder that the parameter file names:
//   parameter file  written by the connector (CxParamParser), the helper's only argument
//   record file     the records (the family's record layouts)
//   status file     its first line is the helper's current progress text
//   error file      [Error] Error.Count, and Error.1 .. Error.N; the last one is shown
//   control file    [Status] Running non-zero while the helper runs; Stop=1 asks it to stop
//
// Each family numbers its parameters its own way (see its protocol header); CxHelperParamIds
// tells which identifier carries what.

// The exchange file names of one connector and the file name of its helper program. Each is
// a plain file name in the working folder.
struct CxHelperFiles
{
    const char* helperName;  // e.g. "fw-notes-calendar"
    const char* dataFile;    // record file, e.g. "LNDate.dat"
    const char* paramFile;   // e.g. "LNDateParam.dat"
    const char* errorFile;   // e.g. "LNDateErr.dat"
    const char* statusFile;  // e.g. "LNDateStatus.dat"
    const char* controlFile; // e.g. "LNDate.ini"
};

// Which parameter identifier of a family carries what.
struct CxHelperParamIds
{
    int recordFile;
    int folder;
    int command;
    int errorFile;
    int statusFile;
    int logFolder;
    int logLevel;
    int logEnabled;
};

namespace CxHelperProtocol {

// The command parameter, written as decimal text.
inline constexpr int kCommandLoad = 1;
inline constexpr int kCommandSubmit = 2;

// Flags, in the parameter file and in the control file.
inline constexpr char kFlagOn[] = "1";
inline constexpr char kFlagOff[] = "0";

// The error file.
inline constexpr char kErrorSection[] = "Error";
inline constexpr char kErrorCountKey[] = "Error.Count";
// The key of entry N (1 .. Error.Count) is this prefix followed by N in decimal.
inline constexpr char kErrorKeyPrefix[] = "Error.";

// The control file.
inline constexpr char kControlSection[] = "Status";
inline constexpr char kRunningKey[] = "Running";
inline constexpr char kStopKey[] = "Stop";
// Written by our helpers when a load ends: how many records had characters that the ANSI code
// page lacks (each became '?'). A helper that does not write it lost none that it knows of.
inline constexpr char kLossyRecordsKey[] = "LossyRecords";

// The status file's line ending.
inline constexpr char kStatusLineEnd[] = "\r\n";

} // namespace CxHelperProtocol
