#pragma once
// The migration log: "MILog.txt" in the working folder, made anew by every submit, one
// entry per migrated item, opened from the results page.
#include <string>

#include "misc/CommKeyCompare.h"
#include "misc/CommRecordFields.h"
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

    // cuts: the texts that the target keeps only in part (its store's text limits); after the
    // entry lines, each such text of the record that is longer gets the line
    // "\t<field>: cut to <n> characters".
    void LogContact(const CommAddrRec* rec, CommTextLimits cuts = {});
    void LogCalendar(const CommDateRec* rec, CommTextLimits cuts = {});
    void LogTask(const CommTaskRec* rec, CommTextLimits cuts = {});
    void LogNote(const CommNoteRec* rec, CommTextLimits cuts = {});

    // The first line of a note body, at most 255 characters.
    static std::string BriefNote(const CommNoteRec& rec);

private:
    void SetFolder(const std::string& folder);
    void WriteEntry(const char* label, const char* value, std::size_t capacity);
    void WriteCuts(const void* rec, std::span<const CommField> fields, CommTextLimits cuts);

    CxFile m_file;
    bool m_bOpen = false;
    char m_szPath[MAX_PATH] = {};
};
