#include "kit/HelperSession.h"

#include <cstdio>
#include <unistd.h>

#include "misc/CxDebugUtil.h"
#include "platform/Profile.h"

using namespace CxHelperProtocol;

namespace {

// Small and rewritten often: a temporary file renamed over the old one, so that the wait
// window never reads half a line. No flush to disk: a lost progress line costs nothing.
bool WriteSmallFile(const std::string& path, const std::string& text)
{
    std::string temp = path + ".tmp" + std::to_string(::getpid());
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

} // namespace

HelperSession::HelperSession(const HelperParamIds& ids, const char* controlFileName)
    : m_ids(ids), m_controlName(controlFileName != nullptr ? controlFileName : "")
{
}

HelperSession::~HelperSession()
{
    if (m_running) {
        End();
    }
}

bool HelperSession::Begin(const char* paramPath)
{
    std::string error;
    if (!m_params.Load(paramPath, error)) {
        FW_LOG(0, "%s", error.c_str());
        return false;
    }
    m_folder = m_params.Text(m_ids.folder);
    if (m_folder.empty()) {
        FW_LOG(0, "The parameter file names no working folder: %s", paramPath);
        return false;
    }
    if (m_folder.back() != '/') {
        m_folder += '/';
    }

    std::string logFolder = m_params.Text(m_ids.logFolder, m_folder.c_str());
    if (!logFolder.empty() && logFolder.back() != '/') {
        logFolder += '/';
    }
    g_debugLog.SetLogFolder(logFolder.c_str());
    g_debugLog.SetLogLevel(m_params.Int(m_ids.logLevel, 0));
    g_debugLog.EnableLog(m_params.Int(m_ids.logEnabled, 0) != 0);

    std::string errorPath = ErrorPath();
    std::remove(errorPath.c_str());
    platform::WritePrivateProfileString(kErrorSection, kErrorCountKey, kFlagOff, errorPath.c_str());
    m_errorCount = 0;

    m_controlPath = m_folder + m_controlName;
    platform::ProfileEditor control(m_controlPath.c_str());
    control.WriteString(kControlSection, kRunningKey, kFlagOn);
    control.WriteString(kControlSection, kStopKey, kFlagOff);
    control.WriteString(kControlSection, kLossyRecordsKey, "0");
    control.Commit();
    m_lossyRecords = 0;
    m_running = true;
    return true;
}

int HelperSession::End()
{
    if (m_running) {
        platform::ProfileEditor control(m_controlPath.c_str());
        control.WriteString(kControlSection, kLossyRecordsKey, std::to_string(m_lossyRecords).c_str());
        control.WriteString(kControlSection, kRunningKey, kFlagOff);
        control.Commit();
        m_running = false;
    }
    return m_errorCount == 0 ? 0 : 1;
}

std::string HelperSession::FilePath(int id) const
{
    return m_folder + m_params.Text(id);
}

void HelperSession::SetStatus(const std::string& text)
{
    WriteSmallFile(StatusPath(), text + kStatusLineEnd);
}

bool HelperSession::Progress(const char* what, int done, int total)
{
    if (done % kProgressStep != 0 && done != total) {
        return true;
    }
    SetStatus(std::string(what) + ": " + std::to_string(done) + " of " + std::to_string(total));
    return !StopRequested();
}

bool HelperSession::StopRequested() const
{
    return m_running &&
           platform::GetPrivateProfileInt(kControlSection, kStopKey, 0, m_controlPath.c_str()) == 1;
}

void HelperSession::ReportError(const std::string& text)
{
    FW_LOG(0, "%s", text.c_str());
    std::string errorPath = ErrorPath();
    ++m_errorCount;
    // One line per entry: a line break would end the value and let the rest pose as keys.
    std::string line = text.substr(0, text.find_first_of("\r\n"));
    platform::ProfileEditor editor(errorPath.c_str());
    editor.WriteString(kErrorSection, (kErrorKeyPrefix + std::to_string(m_errorCount)).c_str(), line.c_str());
    editor.WriteString(kErrorSection, kErrorCountKey, std::to_string(m_errorCount).c_str());
    editor.Commit();
}
