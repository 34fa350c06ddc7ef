#include "misc/CxDebugUtil.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "misc/CxFile.h"
#include "platform/Thread.h"

CxDebugUtil g_debugLog;

namespace {

void CopyCut(char* dest, std::size_t size, const char* src)
{
    std::size_t n = strnlen(src, size - 1);
    std::memcpy(dest, src, n);
    dest[n] = '\0';
}

} // namespace

CxDebugUtil::CxDebugUtil() : m_nLevel(0), m_bEnabled(false)
{
    CopyCut(m_szFileName, sizeof m_szFileName, "appdebug.log");
    CopyCut(m_szFolder, sizeof m_szFolder, "./");
}

CxDebugUtil::~CxDebugUtil() = default;

void CxDebugUtil::SetLogFolder(const char* folder)
{
    if (folder != nullptr) {
        std::lock_guard<std::mutex> guard(m_lock);
        CopyCut(m_szFolder, sizeof m_szFolder, folder);
    }
}

void CxDebugUtil::SetLogLevel(int level)
{
    m_nLevel = level > 3 ? 3 : (level < 0 ? 0 : level);
}

void CxDebugUtil::EnableLog(bool enable)
{
    m_bEnabled = enable;
}

void CxDebugUtil::FormatLine(char* out, std::size_t size, const SYSTEMTIME& now, const char* sourceFile,
                             int line, std::uint32_t threadId, int level, const char* message)
{
    // Only the backslash separates here: callers pass base names already.
    char source[256];
    if (sourceFile == nullptr) {
        CopyCut(source, sizeof source, "<null>");
    } else {
        const char* slash = std::strrchr(sourceFile, '\\');
        CopyCut(source, sizeof source, slash != nullptr ? slash + 1 : sourceFile);
    }
    std::snprintf(out, size, "[%04d/%02d/%02d %02d:%02d:%02d][%-20s(%-4d)][%05x][%s] - %s", now.wYear,
                  now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, source, line, threadId,
                  level == 0 ? "!!!" : "   ", message != nullptr ? message : "");
}

void CxDebugUtil::WriteLogLine(int level, const char* sourceFile, int line, const char* message)
{
    SYSTEMTIME now{};
    platform::GetLocalTime(now);
    // Room for the message plus the fixed part of the line.
    static thread_local char text[kMessageSize + 512];
    FormatLine(text, sizeof text, now, sourceFile, line, platform::CurrentThreadId(), level, message);

    std::lock_guard<std::mutex> guard(m_lock);
    char path[2 * MAX_PATH];
    std::snprintf(path, sizeof path, "%s%s", m_szFolder, m_szFileName);

    CxFile file;
    if (CxFile::FileSize(path) > kRotateSize) {
        char old[2 * MAX_PATH + 16];
        std::snprintf(old, sizeof old, "%s.old.log", path);
        std::error_code ignored;
        std::filesystem::copy_file(path, old, std::filesystem::copy_options::overwrite_existing, ignored);
        file.Open(path, "wb");
    } else {
        file.Open(path, "ab");
    }
    file.WriteLine(text);
    file.Close();
}

void DebugPrint(CxDebugUtil* logger, int level, const char* sourceFile, int line, const char* format, ...)
{
    if (logger == nullptr || !logger->Wants(level)) {
        return;
    }
    static thread_local char message[CxDebugUtil::kMessageSize];
    message[0] = '\0'; // a null format logs an empty message
    if (format != nullptr) {
        va_list args;
        va_start(args, format);
        std::vsnprintf(message, sizeof message, format, args);
        va_end(args);
    }
    logger->WriteLogLine(level, sourceFile, line, message);
}
