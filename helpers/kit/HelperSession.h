#pragma once
// One run of a helper program: its parameters, and the files through which it talks to the
// connector that started it, all in the working folder the parameters name (the status,
// error and control files as exchange/CxHelperProtocol.h lays them out), and the diagnostic
// log (g_debugLog), pointed at the log folder with the level and switch from the parameters
// so that its lines interleave with the program's own.
#include <string>

#include "exchange/CxHelperProtocol.h"
#include "kit/HelperParamFile.h"

// Which parameter identifier carries what; each application family numbers them its own way
// (the Lotus Notes helpers: LNParamIds of lotus/LNProtocol.h).
using HelperParamIds = CxHelperParamIds;

class HelperSession
{
public:
    // controlFileName: the control file's name in the working folder (e.g. "LNAddr.ini").
    HelperSession(const HelperParamIds& ids, const char* controlFileName);
    ~HelperSession();
    HelperSession(const HelperSession&) = delete;
    HelperSession& operator=(const HelperSession&) = delete;

    // Reads the parameter file, points the log at the log folder, starts a fresh error file
    // (a stale one would be taken for this run's failure) and marks the helper running, with
    // any stop request of an earlier run withdrawn. False when the parameter file cannot be
    // read or names no working folder: there is then nowhere to report to but the log.
    bool Begin(const char* paramPath);
    // Clears Running; gives the exit code: 0 when no error was reported, else 1.
    int End();

    const HelperParamFile& Params() const { return m_params; }
    int Command() const { return m_params.Int(m_ids.command, 0); }
    // The working folder, always ending in '/'.
    const std::string& Folder() const { return m_folder; }
    std::string RecordPath() const { return FilePath(m_ids.recordFile); }
    std::string StatusPath() const { return FilePath(m_ids.statusFile); }
    std::string ErrorPath() const { return FilePath(m_ids.errorFile); }
    const std::string& ControlPath() const { return m_controlPath; }

    // Rewrites the status file with text as its only line.
    void SetStatus(const std::string& text);
    // Progress of a long step: every 100th item, and the last, rewrites the status file with
    // "<what>: <done> of <total>" and looks for a stop request. False when one was found.
    bool Progress(const char* what, int done, int total);
    // Reads the control file: true when [Status] Stop is 1.
    bool StopRequested() const;

    // Counts a record whose texts lost characters to the ANSI code page; End reports the count
    // in the control file.
    void NoteLossyRecord() { ++m_lossyRecords; }

    // Appends one failure to the error file and logs it at level 0.
    void ReportError(const std::string& text);
    int ErrorCount() const { return m_errorCount; }

    static constexpr int kProgressStep = 100;

private:
    std::string FilePath(int id) const;

    HelperParamIds m_ids;
    std::string m_controlName;
    std::string m_controlPath;
    std::string m_folder;
    HelperParamFile m_params;
    int m_errorCount = 0;
    int m_lossyRecords = 0;
    bool m_running = false;
};
