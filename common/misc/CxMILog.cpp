#include "misc/CxMILog.h"

#include <cstdio>
#include <cstring>

#include "misc/CxDateTime.h"
#include "misc/CxDebugUtil.h"
#include "misc/Settings.h"
#include "platform/CodePage.h"
#include "platform/KnownFolders.h"

CxMILog::CxMILog()
{
    std::string folder;
    if (GetWorkingFolder(folder)) {
        SetFolder(folder);
    }
}

CxMILog::CxMILog(const std::string& folder)
{
    SetFolder(folder);
}

CxMILog::~CxMILog()
{
    Close();
}

void CxMILog::SetFolder(const std::string& folder)
{
    std::string path = folder + "MILog.txt";
    if (path.size() < sizeof m_szPath) {
        std::memcpy(m_szPath, path.c_str(), path.size() + 1);
        m_oldPath = folder + "MILog.old.txt";
    }
}

bool CxMILog::Open()
{
    Close();
    m_held.clear();
    if (m_szPath[0] == '\0') {
        return false;
    }
    // The previous run's log is kept. rename replaces an older copy at once; a log that cannot
    // be moved (or none) is emptied below.
    if (platform::FileExists(m_szPath) && std::rename(m_szPath, m_oldPath.c_str()) != 0) {
        FW_LOG(0, "Can not keep the previous migration log as %s", m_oldPath.c_str());
    }
    // Emptied first, then appended to line by line: should the run be cut short, the log still
    // tells which items were migrated up to then.
    std::FILE* empty = std::fopen(m_szPath, "wb");
    if (empty == nullptr) {
        return false;
    }
    std::fclose(empty);
    m_bOpen = m_file.Open(m_szPath, "ab");
    return m_bOpen;
}

void CxMILog::Close()
{
    // Items held for a commit that never confirmed them were not migrated.
    FailHeld(nullptr);
    m_bOpen = false;
    m_file.Close();
}

void CxMILog::WriteLine(const char* text)
{
    if (!m_bOpen) {
        return;
    }
    if (m_bHolding) {
        m_held.push_back(HeldLine{text != nullptr ? text : "", nullptr});
        return;
    }
    m_file.WriteLine(text != nullptr ? platform::AnsiToUtf8(text).c_str() : nullptr);
}

void CxMILog::EndItem(const char* migrated, const char* notMigrated)
{
    if (m_bOpen && m_bHolding) {
        m_held.push_back(HeldLine{migrated, notMigrated});
        return;
    }
    WriteLine(migrated);
}

void CxMILog::HoldEntries()
{
    m_bHolding = m_bOpen;
}

void CxMILog::ReleaseHeld(bool migrated)
{
    m_bHolding = false;
    std::vector<HeldLine> held;
    held.swap(m_held);
    for (const HeldLine& line : held) {
        WriteLine(!migrated && line.notMigrated != nullptr ? line.notMigrated : line.text.c_str());
    }
}

void CxMILog::ConfirmHeld()
{
    ReleaseHeld(true);
}

void CxMILog::FailHeld(const char* reason)
{
    const bool held = m_bHolding;
    ReleaseHeld(false);
    if (held && reason != nullptr) {
        WriteLine(reason);
    }
}

void CxMILog::WriteEntry(const char* label, const char* value, std::size_t capacity)
{
    std::string line = "\t";
    line += label;
    line += ": ";
    std::size_t n = value != nullptr ? strnlen(value, capacity) : 0;
    if (n == 0) {
        line += "<empty>";
    } else {
        line.append(value, n);
    }
    WriteLine(line.c_str());
}

void CxMILog::WriteCuts(const void* rec, std::span<const CommField> fields, CommTextLimits cuts)
{
    for (const CommTextLimit& cut : cuts) {
        const CommField* field = cut.Field != nullptr ? CommFindField(fields, cut.Field) : nullptr;
        if (field == nullptr || field->Kind != CommFieldKind::Text ||
            CommFieldText(rec, *field).size() <= cut.MaxChars) {
            continue;
        }
        char text[64];
        std::snprintf(text, sizeof text, "cut to %zu characters", cut.MaxChars);
        WriteEntry(cut.Field, text, sizeof text);
    }
}

void CxMILog::LogContact(const CommAddrRec* rec, CommTextLimits cuts)
{
    if (!m_bOpen || rec == nullptr) {
        return;
    }
    WriteLine("Migrating Contact item:");
    WriteEntry("Display Name", rec->DisplayName, sizeof rec->DisplayName);
    WriteEntry("Company", rec->Company, sizeof rec->Company);
    WriteEntry("Title", rec->Title, sizeof rec->Title);
    WriteEntry("Email", rec->Email, sizeof rec->Email);
    WriteEntry("Primary Phone", rec->PrimaryPhone, sizeof rec->PrimaryPhone);
    WriteCuts(rec, CommAddrFields(), cuts);
    EndItem("Contact item migrated successfully...\r\n", "Contact item was not migrated...\r\n");
}

void CxMILog::LogCalendar(const CommDateRec* rec, CommTextLimits cuts)
{
    if (!m_bOpen || rec == nullptr) {
        return;
    }
    char date[256] = {};
    char start[256] = {};
    char end[256] = {};
    CxDateTime(rec->Start).FormatDate(date, sizeof date);
    CxDateTime(rec->Start).FormatTime(start, sizeof start);
    CxDateTime(rec->End).FormatTime(end, sizeof end);
    WriteLine("Migrating Calendar item:");
    WriteEntry("Subject", rec->Subject, sizeof rec->Subject);
    WriteEntry("Location", rec->Location, sizeof rec->Location);
    WriteEntry("Date", date, sizeof date);
    WriteEntry("Start Time", start, sizeof start);
    WriteEntry("End Time", end, sizeof end);
    WriteCuts(rec, CommDateFields(), cuts);
    EndItem("Calendar item migrated successfully...\r\n", "Calendar item was not migrated...\r\n");
}

void CxMILog::LogTask(const CommTaskRec* rec, CommTextLimits cuts)
{
    if (!m_bOpen || rec == nullptr) {
        return;
    }
    WriteLine("Migrating Task item:");
    WriteEntry("Subject", rec->Subject, sizeof rec->Subject);
    WriteCuts(rec, CommTaskFields(), cuts);
    EndItem("Task item migrated successfully...\r\n", "Task item was not migrated...\r\n");
}

std::string CxMILog::BriefNote(const CommNoteRec& rec)
{
    std::string body(rec.Body, strnlen(rec.Body, sizeof rec.Body));
    std::size_t end = body.find("\r\n");
    if (end == std::string::npos) {
        end = body.find('\n');
    }
    if (end == std::string::npos) {
        end = body.size();
    }
    return body.substr(0, end < 255 ? end : 255);
}

void CxMILog::LogNote(const CommNoteRec* rec, CommTextLimits cuts)
{
    if (!m_bOpen || rec == nullptr) {
        return;
    }
    std::string brief = BriefNote(*rec);
    WriteLine("Migrating Note item:");
    WriteEntry("Brief Note", brief.c_str(), brief.size() + 1);
    WriteCuts(rec, CommNoteFields(), cuts);
    EndItem("Note item migrated successfully...\r\n", "Note item was not migrated...\r\n");
}
