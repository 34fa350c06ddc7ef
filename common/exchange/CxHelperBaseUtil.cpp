#include "exchange/CxHelperBaseUtil.h"

#include <cstdio>
#include <utility>

#include "misc/CxDebugUtil.h"
#include "misc/CxIniUtil.h"
#include "platform/KnownFolders.h"

namespace {

const char* Or(const char* text)
{
    return text != nullptr ? text : "";
}

// A connector without words for a step logs nothing for it.
void LogWords(int level, const char* text)
{
    if (text != nullptr) {
        FW_LOG(level, "%s", text);
    }
}

} // namespace

CxHelperBaseUtil::CxHelperBaseUtil(int sourceType, const CxHelperFiles& files, const CxHelperWords& words)
    : m_nSourceType(sourceType), m_files(files), m_words(words)
{
    // Until a load sets the working folder, the connector's files lie in the program's folder.
    std::string programFolder;
    if (platform::GetProgramFolder(programFolder)) {
        programFolder += platform::kPathSeparator;
        SetFolder(programFolder.c_str());
    }
    SetLogFileName("appdebug.log");
}

CxHelperBaseUtil::~CxHelperBaseUtil()
{
    RequestStop_();
    CxHelperBaseUtil::Clear();
}

void CxHelperBaseUtil::CopyText(char* dest, const char* text)
{
    dest[0] = '\0';
    if (text != nullptr) {
        std::snprintf(dest, kTextSize, "%s", text);
    }
}

void CxHelperBaseUtil::SetFolder(const char* folder)
{
    CopyText(m_szFolder, folder);
}

void CxHelperBaseUtil::SetLogFolder(const char* folder)
{
    CopyText(m_szLogFolder, folder);
}

void CxHelperBaseUtil::SetLogFileName(const char* name)
{
    CopyText(m_szLogFileName, name);
}

void CxHelperBaseUtil::SetDatabase(const char* name)
{
    CopyText(m_szDatabase, name);
}

void CxHelperBaseUtil::SetIdFile(const char* name)
{
    CopyText(m_szIdFile, name);
}

void CxHelperBaseUtil::SetAccount(const char* name)
{
    CopyText(m_szAccount, name);
}

void CxHelperBaseUtil::SetPassword(const char* password)
{
    CopyText(m_szPassword, password);
}

void CxHelperBaseUtil::SetWaitLimit(std::uint32_t milliseconds)
{
    m_waitLimit = milliseconds;
    if (m_pReader) {
        m_pReader->SetWaitLimit(milliseconds);
    }
}

void CxHelperBaseUtil::SetHelperLauncher(std::unique_ptr<CxHelperLauncher> launcher)
{
    if (m_pReader) {
        m_pReader->SetLauncher(std::move(launcher));
    } else {
        m_pLauncher = std::move(launcher);
    }
}

void CxHelperBaseUtil::Configure(const ConnectorConfig& config)
{
    SetFolder(config.dataFolder.c_str());
    SetLogFolder(config.logFolder.c_str());
    SetHelperLogLevel(config.logLevel);
    EnableHelperLog(config.enableDebug);
    SetDatabase(config.database.c_str());
    SetIdFile(config.idFile.c_str());
    SetAccount(config.userName.c_str());
    SetPassword(config.password.c_str());
}

std::string CxHelperBaseUtil::DataFilePath() const
{
    return std::string(m_szFolder) + Or(m_files.dataFile);
}

std::string CxHelperBaseUtil::ParamFilePath() const
{
    return std::string(m_szFolder) + Or(m_files.paramFile);
}

std::string CxHelperBaseUtil::ErrorFilePath() const
{
    return std::string(m_szFolder) + Or(m_files.errorFile);
}

std::string CxHelperBaseUtil::StatusFilePath() const
{
    return std::string(m_szFolder) + Or(m_files.statusFile);
}

std::string CxHelperBaseUtil::ControlFilePath() const
{
    return std::string(m_szFolder) + Or(m_files.controlFile);
}

std::unique_ptr<CxDataReader> CxHelperBaseUtil::MakeDataReader_()
{
    return std::make_unique<CxDataReader>();
}

void CxHelperBaseUtil::Clear()
{
    m_nLossyRecords = 0;
    std::remove(StatusFilePath().c_str());
    std::remove(ErrorFilePath().c_str());
}

bool CxHelperBaseUtil::Load()
{
    Clear();
    LogWords(2, m_words.loadStart);
    SetCommand(CommandLoad);
    // A record file that no helper wrote in this run is never taken for its result.
    const bool loaded = InvokeHelper_() && LoadFromFile();
    if (loaded) {
        m_nLossyRecords = ReadLossyRecords_();
    }
    LogWords(loaded ? 2 : 0, loaded ? m_words.loadDone : m_words.loadFailed);
    return loaded;
}

bool CxHelperBaseUtil::Commit()
{
    if (!m_bDirty) {
        return true;
    }
    if (!SaveToFile()) {
        FW_LOG(0, "Can not save information to temperary file.");
        return false;
    }
    SetCommand(CommandSubmit);
    if (!InvokeHelper_()) {
        return false;
    }
    m_bDirty = false;
    return true;
}

bool CxHelperBaseUtil::InvokeHelper_()
{
    CxParamParser params;
    FillParams_(params);
    // A parameter file that cannot be written is not fatal: the helper then reports it.
    params.WriteParamFile(ParamFilePath().c_str());

    m_bError = false;
    m_szErrorText[0] = '\0';
    // An error file left by an earlier run would otherwise be taken for this run's report.
    std::remove(ErrorFilePath().c_str());

    if (!m_pReader) {
        m_pReader = MakeDataReader_();
        if (m_pLauncher) {
            m_pReader->SetLauncher(std::move(m_pLauncher));
        }
        m_pReader->SetAskStop([this] { RequestStop_(); });
    }
    m_pReader->SetHelperName(m_files.helperName);
    m_pReader->SetFolder(m_szFolder);
    m_pReader->SetParamFile(m_files.paramFile);
    m_pReader->SetDataFile(m_files.dataFile);
    m_pReader->SetWaitLimit(m_waitLimit);
    if (!m_pReader->Run()) {
        m_bError = true;
        std::snprintf(m_szErrorText, kErrorTextSize, "%s", m_pReader->RunError().c_str());
        FW_LOG(0, "%s", m_szErrorText);
        return false;
    }

    ReadErrorFile_();
    return true;
}

void CxHelperBaseUtil::ReadErrorFile_()
{
    m_bError = false;
    m_szErrorText[0] = '\0';
    const std::string path = ErrorFilePath();
    CxIniUtil errors(nullptr, nullptr);
    if (!errors.SetPath(path.c_str())) {
        return;
    }
    const int count = errors.ReadInt(CxHelperProtocol::kErrorSection, CxHelperProtocol::kErrorCountKey, 0);
    if (count <= 0) {
        return;
    }
    char key[32];
    std::snprintf(key, sizeof(key), "%s%d", CxHelperProtocol::kErrorKeyPrefix, count);
    errors.ReadString(CxHelperProtocol::kErrorSection, key, m_szErrorText, kErrorTextSize, "");
    m_bError = true;
}

int CxHelperBaseUtil::ReadLossyRecords_() const
{
    const std::string path = ControlFilePath();
    CxIniUtil control(nullptr, nullptr);
    if (!control.SetPath(path.c_str())) {
        return 0;
    }
    const int count =
        control.ReadInt(CxHelperProtocol::kControlSection, CxHelperProtocol::kLossyRecordsKey, 0);
    return count > 0 ? count : 0;
}

void CxHelperBaseUtil::RequestStop_()
{
    const std::string path = ControlFilePath();
    CxIniUtil control(nullptr, nullptr);
    if (!control.SetPath(path.c_str())) {
        return;
    }
    if (control.ReadInt(CxHelperProtocol::kControlSection, CxHelperProtocol::kRunningKey, 0) != 0) {
        control.WriteString(CxHelperProtocol::kControlSection, CxHelperProtocol::kStopKey,
                            CxHelperProtocol::kFlagOn);
    }
}
