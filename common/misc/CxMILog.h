#pragma once
// The migration log: "MILog.txt" in the working folder, made anew by every submit, one
// entry per migrated item, opened from the results page.
#include <string>

#include "misc/CommRecords.h"
#include "misc/CxFile.h"
#include "platform/WinTypes.h"

class CxMILog
{
public:
    // The log in the working folder; when the working folder cannot be determined the
    // path stays empty and Open fails.
    CxMILog();
    // The log in the given folder (ending in a path separator).
    explicit CxMILog(const std::string& folder);
    ~CxMILog();
    CxMILog(const CxMILog&) = delete;
    CxMILog& operator=(const CxMILog&) = delete;

    // Opens the log for writing, emptying an existing one.
    bool Open();
    void Close();
    bool IsOpen() const { return m_bOpen; }
    const char* GetPath() const { return m_szPath; }

    // Writes the text and CR LF when open.
    void WriteLine(const char* text);

    void LogContact(const CommAddrRec* rec);
    void LogCalendar(const CommDateRec* rec);
    void LogTask(const CommTaskRec* rec);
    void LogNote(const CommNoteRec* rec);

    // The first line of a note body, at most 255 characters.
    static std::string BriefNote(const CommNoteRec& rec);

private:
    void SetFolder(const std::string& folder);
    void WriteEntry(const char* label, const char* value, std::size_t capacity);

    CxFile m_file;
    bool m_bOpen = false;
    char m_szPath[MAX_PATH] = {};
};
