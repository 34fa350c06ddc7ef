#pragma once
// What the two Google helpers share: the export folder that the connector names in the
// account file of the working folder, the export files found in it, and the conversions of
// texts and dates between an export (UTF-8, "\n" line breaks) and a record (the ANSI code
// page, CR LF line breaks, OLE Automation dates).
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/CxGAppBaseUtil.h"
#include "exchange/CxHelperProtocol.h"

class HelperSession;

namespace gexport {

inline constexpr CxHelperParamIds kParamIds{CxGAppBaseUtil::ParamRecordFile, CxGAppBaseUtil::ParamFolder,
                                            CxGAppBaseUtil::ParamCommand,    CxGAppBaseUtil::ParamErrorFile,
                                            CxGAppBaseUtil::ParamStatusFile, CxGAppBaseUtil::ParamLogFolder,
                                            CxGAppBaseUtil::ParamLogLevel,   CxGAppBaseUtil::ParamLogEnabled};

// Subfolders searched below the export folder (an account archive keeps its contacts and
// calendars two levels down: Takeout/Contacts/My Contacts/, Takeout/Calendar/).
inline constexpr int kMaxFolderDepth = 4;

// The export folder named in the working folder's account file, checked to be a folder.
// False with a message for the user (which names the folder, and what to do) otherwise.
bool ExportFolder(const HelperSession& session, std::string& folder, std::string& error);

// The regular files in folder and its subfolders (kMaxFolderDepth levels) whose names end in
// one of extensions (".vcf", compared without regard to case), sorted by path. Files whose
// names start with "." (temporary files of an interrupted write among them) are left out.
std::vector<std::string> FindExportFiles(const std::string& folder,
                                         std::initializer_list<std::string_view> extensions);

// An export's text as a record holds it: in the ANSI code page, "\n" as CR LF, cut to fit
// capacity bytes with its terminator (never inside a CR LF).
void ToRecordText(std::string_view utf8, char* buffer, std::size_t capacity);
template <std::size_t N> void ToRecordText(std::string_view utf8, char (&buffer)[N])
{
    ToRecordText(utf8, buffer, N);
}
// A record's text (up to its terminator or capacity) as an export holds it.
std::string FromRecordText(const char* buffer, std::size_t capacity);
template <std::size_t N> std::string FromRecordText(const char (&buffer)[N])
{
    return FromRecordText(buffer, N);
}

// One run of a Google helper: the session on the parameter file of argv[1], the export folder,
// then serve(session, folder, load) with load true for command 1 and false for command 2. words
// names the data for the status line ("Google contacts"). Gives the program's exit code.
int RunExportHelper(int argc, char** argv, const char* controlFile, const std::string& words,
                    const std::function<void(HelperSession&, const std::string&, bool)>& serve);

// A calendar date as an OLE Automation date at midnight; 0 when it is not a valid date.
double DateToOle(int year, int month, int day);
// The date part of an OLE Automation date; false for 0 and dates out of range.
bool OleToDate(double ole, int* year, int* month, int* day);

} // namespace gexport
