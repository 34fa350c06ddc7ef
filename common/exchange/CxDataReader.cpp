#include "exchange/CxDataReader.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <utility>

#include "misc/CxDebugUtil.h"
#include "misc/FlowCancel.h"
#include "misc/WinUtil.h"
#include "platform/KnownFolders.h"
#include "platform/Process.h"
#include "platform/Registry.h"

namespace {

void CopyName(char* dest, const char* text)
{
    dest[0] = '\0';
    if (text != nullptr) {
        std::snprintf(dest, MAX_PATH, "%s", text);
    }
}

std::string WithSeparator(std::string folder)
{
    if (!folder.empty() && folder.back() != platform::kPathSeparator) {
        folder += platform::kPathSeparator;
    }
    return folder;
}

// The wait limit as a person reads it: "30 minutes", "20 seconds", "300 ms".
std::string LimitText(std::uint32_t milliseconds)
{
    char text[48];
    if (milliseconds >= 60000 && milliseconds % 60000 == 0) {
        const unsigned minutes = milliseconds / 60000;
        std::snprintf(text, sizeof text, "%u minute%s", minutes, minutes == 1 ? "" : "s");
    } else if (milliseconds >= 1000 && milliseconds % 1000 == 0) {
        const unsigned seconds = milliseconds / 1000;
        std::snprintf(text, sizeof text, "%u second%s", seconds, seconds == 1 ? "" : "s");
    } else {
        std::snprintf(text, sizeof text, "%u ms", static_cast<unsigned>(milliseconds));
    }
    return text;
}

} // namespace

CxDataReader::CxDataReader(std::unique_ptr<CxHelperLauncher> launcher)
{
    SetLauncher(std::move(launcher));
    m_szHelperName[0] = '\0';
    m_szFolder[0] = '\0';
    m_szParamFile[0] = '\0';
    m_szDataFile[0] = '\0';
}

CxDataReader::~CxDataReader()
{
    Stop();
    // The exchange files of the last run go with the reader.
    if (m_szFolder[0] != '\0') {
        if (m_szParamFile[0] != '\0') {
            std::remove((std::string(m_szFolder) + m_szParamFile).c_str());
        }
        if (m_szDataFile[0] != '\0') {
            std::remove((std::string(m_szFolder) + m_szDataFile).c_str());
        }
    }
}

void CxDataReader::SetLauncher(std::unique_ptr<CxHelperLauncher> launcher)
{
    if (m_launcher) {
        m_launcher->Release();
    }
    m_launcher = launcher ? std::move(launcher) : std::make_unique<CxProcessLauncher>();
    m_launcher->SetAskStop(m_askStop);
}

void CxDataReader::SetHelperName(const char* name)
{
    CopyName(m_szHelperName, name);
}

void CxDataReader::SetFolder(const char* folder)
{
    CopyName(m_szFolder, folder);
}

void CxDataReader::SetParamFile(const char* name)
{
    CopyName(m_szParamFile, name);
}

void CxDataReader::SetDataFile(const char* name)
{
    CopyName(m_szDataFile, name);
}

std::string CxDataReader::HelperFolder()
{
    const char* custom = std::getenv("FERRYWISE_HELPER_DIR");
    if (custom != nullptr && *custom != '\0') {
        return WithSeparator(custom);
    }
    std::string folder;
    if (!platform::GetProgramFolder(folder)) {
        return std::string();
    }
    return WithSeparator(folder);
}

std::string CxDataReader::HelperPath() const
{
    if (std::strchr(m_szHelperName, platform::kPathSeparator) != nullptr) {
        return m_szHelperName;
    }
    return HelperFolder() + m_szHelperName;
}

std::string CxDataReader::ChildFolder_()
{
    std::string folder;
    if (!platform::GetProgramFolder(folder)) {
        return std::string();
    }
    return folder;
}

std::string CxLNDataReader::ChildFolder_()
{
    char notesPath[256] = {};
    platform::RegQueryString(platform::RegistryHive::LocalMachine, LNNotesKey, LNProgramFolderValue,
                             notesPath, sizeof(notesPath));
    FW_LOG(2, "Get Lotus Notes Path: %s", notesPath);
    if (notesPath[0] != '\0') {
        return notesPath;
    }
    std::string folder = CxDataReader::ChildFolder_();
    FW_LOG(2, "Lotus Notes Path is not known; the helper utility runs in the program's folder: %s",
           folder.c_str());
    return folder;
}

void CxDataReader::SetAskStop(CxHelperLauncher::AskStopFn askStop)
{
    m_askStop = std::move(askStop);
    m_launcher->SetAskStop(m_askStop);
}

void CxDataReader::Stop()
{
    // A helper that ended is reaped now; one that still runs is left running and reaped later.
    m_launcher->Release();
}

bool CxDataReader::Run()
{
    Stop();
    m_runError.clear();

    char current[256] = {};
    if (getcwd(current, sizeof(current)) == nullptr) {
        current[0] = '\0';
    }
    FW_LOG(2, "Original current directory: %s", current);
    const std::string childFolder = ChildFolder_();
    // Only the helper's own current directory is set; ours stays as it is.
    FW_LOG(2, "Set current directory: %s", childFolder.c_str());

    const std::string helper = HelperPath();
    const std::string paramPath = std::string(m_szFolder) + m_szParamFile;
    char commandLine[1024] = {};
    std::snprintf(commandLine, sizeof(commandLine), "\"%s\" \"%s%s\"", helper.c_str(), m_szFolder,
                  m_szParamFile);
    FW_LOG(2, "Executing command: %s", commandLine);

    const CxHelperRunResult result =
        m_launcher->Run({helper, paramPath}, childFolder, m_waitLimit, [this](int processId) {
            m_lastPid = processId;
            FW_LOG(2, "Command executed successfully.");
        });
    if (!result.started) {
        FW_LOG(0, "CreateProcess Error: %s", result.errorText.c_str());
        m_runError = "The helper utility program " + helper + " cannot be started: " + result.errorText;
        return false;
    }
    if (result.cancelled) {
        FW_LOG(0, "The helper utility program was stopped: the user cancelled.");
        m_runError = FlowCancel::kCancelledText;
        return false;
    }
    if (result.ended) {
        FW_LOG(2, "Helper utility program exited successfully.");
        if (result.signal != 0) {
            // Killed or crashed: whatever it was doing was not finished.
            FW_LOG(0, "The helper utility program was ended by signal %d.", result.signal);
            m_runError = "The helper utility program " + helper + " was ended by signal " +
                         std::to_string(result.signal) + " (" + strsignal(result.signal) +
                         ") before it finished.";
            return false;
        }
        return true;
    }
    if (result.stillRunning) {
        FW_LOG(2, "The helper utility program has no response. Got timeout event.");
        m_runError = "The helper utility program " + helper + " did not end within " +
                     LimitText(m_waitLimit) + " and may still be running.";
        return false;
    }
    FW_LOG(0, "Got unexpected error, return code=%d",
           static_cast<int>(platform::Process::WaitResult::Failed));
    m_runError = "Waiting for the helper utility program " + helper + " failed.";
    return false;
}
