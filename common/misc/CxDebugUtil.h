#pragma once
// The diagnostic log: one plain-text file, "appdebug.log" in the working folder, one line per
// call with local time, source file and line, thread and a marker for failures. Failures
// (level 0) are always written; levels 1..3 only when the log is enabled and the level allows.
#include <atomic>
#include <cstdint>
#include <mutex>

#include "platform/WinTypes.h"

class CxDebugUtil
{
public:
    CxDebugUtil();
    virtual ~CxDebugUtil();
    CxDebugUtil(const CxDebugUtil&) = delete;
    CxDebugUtil& operator=(const CxDebugUtil&) = delete;

    // Folder of the log file, ending in a path separator; null leaves it unchanged.
    void SetLogFolder(const char* folder);
    // Threshold 0..3; values outside are clamped.
    void SetLogLevel(int level);
    void EnableLog(bool enable);

    int GetLogLevel() const { return m_nLevel; }
    bool IsEnabled() const { return m_bEnabled; }
    const char* GetLogFolder() const { return m_szFolder; }
    const char* GetFileName() const { return m_szFileName; }

    // Whether a call of this level would be written.
    bool Wants(int level) const { return level == 0 || (m_bEnabled && level <= m_nLevel); }

    // Composes and appends one line; used by DebugPrint.
    void WriteLogLine(int level, const char* sourceFile, int line, const char* message);

    // Log files beyond this size are copied to "<log>.old.log" and started anew.
    static constexpr std::int64_t kRotateSize = 10 * 1048576;
    static constexpr int kMessageSize = 40960;

    // The text of one line without its line break, as WriteLogLine writes it.
    static void FormatLine(char* out, std::size_t size, const SYSTEMTIME& now, const char* sourceFile,
                           int line, std::uint32_t threadId, int level, const char* message);

private:
    char m_szFileName[MAX_PATH];
    char m_szFolder[MAX_PATH];
    std::atomic<int> m_nLevel;
    std::atomic<bool> m_bEnabled;
    std::mutex m_lock; // one line at a time, open to close
};

// The process-wide log that every call site passes.
extern CxDebugUtil g_debugLog;

// The logging call: printf-style, cut to the message buffer.
void DebugPrint(CxDebugUtil* logger, int level, const char* sourceFile, int line, const char* format, ...)
    __attribute__((format(printf, 5, 6)));

// The base name of a source path, so that lines read the same whatever the build's paths.
constexpr const char* FwSourceName(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\') {
            name = p + 1;
        }
    }
    return name;
}

// Logs to g_debugLog with the calling file's base name and line.
#define FW_LOG(level, ...) DebugPrint(&g_debugLog, (level), FwSourceName(__FILE__), __LINE__, __VA_ARGS__)

// As FW_LOG, with the file and line given: a function that logs on behalf of its callers
// passes those of their call (see FwLogText).
#define FW_LOG_AT(level, file, line, ...)                                                                    \
    DebugPrint(&g_debugLog, (level), FwSourceName(file), (line), __VA_ARGS__)

// A text to log with the file and line of the call that gave it. A function that logs on
// behalf of its callers takes this in place of a plain text: the conversion happens at each
// call, so every line of the log carries the file and line of its call site rather than
// those of the function.
struct FwLogText
{
    // Implicit on purpose: callers pass their texts as they are.
    FwLogText(const char* logText, const char* callFile = __builtin_FILE(), int callLine = __builtin_LINE())
        : text(logText), file(callFile), line(callLine)
    {
    }

    const char* text;
    const char* file; // as the compiler gives it; FW_LOG_AT keeps its base name
    int line;
};
