#pragma once
// The migration log: "MILog.txt" in the working folder, made anew by every submit, one
// entry per migrated item, opened from the results page. Record texts are held in the ANSI
// code page; the log is written in UTF-8, the text encoding of this platform, so that any
// text viewer shows the names as they were. The previous run's log is kept beside it as
// "MILog.old.txt".
#include <string>
#include <vector>

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

    // Opens the log for writing; an existing log becomes "MILog.old.txt" (replacing the one
    // before), and when it cannot be moved it is emptied.
    bool Open();
    void Close();
    bool IsOpen() const { return m_bOpen; }
    const char* GetPath() const { return m_szPath; }
    // Where the previous run's log is kept; empty when the path is.
    const std::string& GetOldPath() const { return m_oldPath; }

    // Writes the text (ANSI, written as UTF-8) and CR LF when open (held back while entries
    // are held).
    void WriteLine(const char* text);

    // For a target that writes a data type's records only when it commits them: the lines
    // written from now on are held back, so that no item reads as migrated before it is.
    // ConfirmHeld then writes them exactly as they would have been written at once;
    // FailHeld writes them with each item closed as not migrated, followed by the reason
    // line (none when null). Close and Open settle lines still held as FailHeld(nullptr).
    void HoldEntries();
    void ConfirmHeld();
    void FailHeld(const char* reason);
    bool IsHolding() const { return m_bHolding; }

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
    // A held line; an item's closing line also carries its text for an item not migrated.
    struct HeldLine
    {
        std::string text;
        const char* notMigrated;
    };

    void SetFolder(const std::string& folder);
    void WriteEntry(const char* label, const char* value, std::size_t capacity);
    // The item's closing line: migrated, or when held and then failed, notMigrated.
    void EndItem(const char* migrated, const char* notMigrated);
    void ReleaseHeld(bool migrated);
    void WriteCuts(const void* rec, std::span<const CommField> fields, CommTextLimits cuts);

    CxFile m_file;
    bool m_bOpen = false;
    bool m_bHolding = false;
    std::vector<HeldLine> m_held;
    char m_szPath[MAX_PATH] = {};
    std::string m_oldPath;
};
