#pragma once
// Runs one helper utility: starts it with the path of its parameter file, waits for it with
// a limit, and leaves it running when the limit passes. One reader per connector; when the
// reader goes it deletes the last parameter file and record file it was given. Starting and
// waiting are its launcher's (see CxHelperLauncher); what a run came to is put in words here.
#include <cstdint>
#include <memory>
#include <string>

#include "exchange/CxHelperLauncher.h"
#include "platform/WinTypes.h"

class CxDataReader
{
public:
    static constexpr std::uint32_t kDefaultWaitLimit = 1800000; // 30 minutes

    // The launcher starts the helper and waits for it; null gives the real one (a child
    // process).
    explicit CxDataReader(std::unique_ptr<CxHelperLauncher> launcher = nullptr);
    virtual ~CxDataReader();
    CxDataReader(const CxDataReader&) = delete;
    CxDataReader& operator=(const CxDataReader&) = delete;

    // Each copies at most MAX_PATH - 1 characters; null empties the field.
    // The helper name is a file name looked up in the helper folder (see HelperFolder), or a
    // path when it holds a separator.
    void SetHelperName(const char* name);
    // The working folder, ending in a separator.
    void SetFolder(const char* folder);
    void SetParamFile(const char* name);
    void SetDataFile(const char* name);
    void SetWaitLimit(std::uint32_t milliseconds) { m_waitLimit = milliseconds; }
    // Replaces the launcher; null gives the real one. What the old one's last run left is
    // released, never killed.
    void SetLauncher(std::unique_ptr<CxHelperLauncher> launcher);

    // How a cancelled run asks the helper to stop; kept across launchers.
    void SetAskStop(CxHelperLauncher::AskStopFn askStop);

    const char* GetHelperName() const { return m_szHelperName; }
    const char* GetFolder() const { return m_szFolder; }
    std::uint32_t GetWaitLimit() const { return m_waitLimit; }

    // Starts the helper and waits for it. True when it started and ended within the limit;
    // otherwise false with RunError naming the helper and what went wrong.
    bool Run();
    // Why the last Run failed, naming the helper: it could not be started (with the system's
    // reason), it was still running at the wait limit, the wait failed, or a signal ended
    // it; "Cancelled." when the user cancelled it. Empty after a run that ended normally.
    const std::string& RunError() const { return m_runError; }
    // Releases what a previous run left: a helper that ended is reaped, one still running is
    // left running (and reaped later).
    void Stop();

    // The running or last helper's process id; -1 when none was started.
    int LastProcessId() const { return m_lastPid; }

    // Where helpers are found: $FERRYWISE_HELPER_DIR when set and not empty, else the
    // program's own folder. Ends in a separator; empty when neither is known.
    static std::string HelperFolder();

protected:
    // The folder the helper runs in; empty keeps the parent's. The base gives the program's
    // own folder.
    virtual std::string ChildFolder_();

private:
    std::string HelperPath() const;

    char m_szHelperName[MAX_PATH];
    char m_szFolder[MAX_PATH];
    char m_szParamFile[MAX_PATH];
    char m_szDataFile[MAX_PATH];
    std::uint32_t m_waitLimit = kDefaultWaitLimit;
    std::unique_ptr<CxHelperLauncher> m_launcher;
    CxHelperLauncher::AskStopFn m_askStop;
    int m_lastPid = -1;
    std::string m_runError;
};

// Lotus Notes: the helper runs in the Notes program folder (registry value Path of
// HKEY_LOCAL_MACHINE\SOFTWARE\Lotus\Notes), or in the program's own folder when that is not
// known.
class CxLNDataReader : public CxDataReader
{
public:
    using CxDataReader::CxDataReader;

protected:
    std::string ChildFolder_() override;
};

using CxGAppDataReader = CxDataReader;
using CxACTDataReader = CxDataReader;
