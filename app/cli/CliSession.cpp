#include "cli/CliSession.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include "act/ACTLocalSetup.h"
#include "lotus/LNEnv.h"
#include "misc/Settings.h"
#include "notes/LNLocalSetup.h"
#include "outlook/OlDataFileApp.h"
#include "palm/PalmEnv.h"
#include "platform/CodePage.h"

namespace {

// As the wizard's Lotus Notes page does when it is entered: an empty address book, mail or
// notebook database name takes the default location, so that a new user's local databases
// are found.
// The first line of input, without its line end.
std::string ReadPasswordLine(std::istream& input)
{
    std::string password;
    std::getline(input, password);
    if (!password.empty() && password.back() == '\r') {
        password.pop_back();
    }
    return password;
}

// A text typed on a terminal (UTF-8) into a setting, in the 8-bit code page the settings and
// the helpers hold; false, with the reason, when it does not fit.
bool CopyTyped(const std::string& typed, const char* what, char* setting, std::size_t size,
               std::string& error)
{
    const std::string ansi = platform::Utf8ToAnsi(typed);
    if (ansi.size() >= size) {
        error = std::string(what) + " is longer than " + std::to_string(size - 1) + " characters";
        return false;
    }
    std::snprintf(setting, size, "%s", ansi.c_str());
    return true;
}

void DefaultNotesDatabases(FWSettings& settings)
{
    std::string path;
    if (settings.LNAddrName[0] == '\0' && GetDefaultNotesAddrBook(path)) {
        std::snprintf(settings.LNAddrName, sizeof settings.LNAddrName, "%s", path.c_str());
    }
    if (settings.LNDateName[0] == '\0' && GetDefaultNotesMailFile(path)) {
        std::snprintf(settings.LNDateName, sizeof settings.LNDateName, "%s", path.c_str());
    }
    if (settings.LNNoteName[0] == '\0' && GetDefaultNotesNotebook(path)) {
        std::snprintf(settings.LNNoteName, sizeof settings.LNNoteName, "%s", path.c_str());
    }
}

} // namespace

CliSession::CliSession(const CxAppRegistry& apps, IFrontEnd& frontEnd)
{
    // Before BeginSession, so that whatever the session start reports reaches the user.
    SetFrontEnd(&frontEnd);
    // A user without Lotus Notes gets a local one before the session reads any setting, so
    // that the default database names find the address book and the notebook.
    LNLocalSetupResult local;
    std::string error;
    if (!EnsureLocalLotusNotes(local, error)) {
        frontEnd.MessageBox(nullptr, error, "Error", MessageIcon::Error);
    }
    // And a user without ACT! the stand-in, whose databases `ferrywise-cli act import` makes.
    if (!EnsureLocalACT(error)) {
        frontEnd.MessageBox(nullptr, error, "Error", MessageIcon::Error);
    }
    BeginSession(apps);
    DefaultNotesDatabases(g_Settings());
}

CliSession::~CliSession()
{
    EndSession(false);
    SetFrontEnd(nullptr);
}

bool CliSession::ApplyPalmOptions(const CliArguments& args, std::string& error)
{
    if (args.source != kAppPalm) {
        return true;
    }
    if (!args.palmFolder.empty()) {
        std::error_code failed;
        if (!std::filesystem::is_directory(args.palmFolder, failed)) {
            error = "no Palm Desktop folder '" + args.palmFolder + "'";
            return false;
        }
        PmSetDesktopFolderOverride(args.palmFolder);
        PmResetUserList();
    }
    if (args.palmUser.empty()) {
        return true;
    }
    PmBuildUserList();
    const std::vector<PmUser>& users = PmGetUsers();
    const PmUser* found = nullptr;
    for (const PmUser& user : users) {
        if (user.folderName == args.palmUser) {
            found = &user;
            break;
        }
    }
    for (const PmUser& user : users) {
        if (found == nullptr &&
            platform::AnsiCompareNoCase(user.folderName.c_str(), args.palmUser.c_str()) == 0) {
            found = &user;
        }
    }
    if (found != nullptr) {
        g_Settings().PDUserID = found->userId;
        return true;
    }
    error = "no Palm Desktop user '" + args.palmUser + "'";
    if (users.empty()) {
        error += ": the Palm Desktop folder holds no users' data";
    } else {
        error += " (users:";
        for (const PmUser& user : users) {
            error += " " + user.folderName;
        }
        error += ")";
    }
    return false;
}

bool CliSession::ApplyOutlookOptions(const CliArguments& args, std::istream& input, std::string& error)
{
    if (args.source != kAppOutlook) {
        return true;
    }
    FWSettings& settings = g_Settings();
    if (!args.outlookFile.empty()) {
        if (args.outlookFile.size() >= sizeof settings.OLDataFile) {
            error = "the Outlook data file's path is too long: " + args.outlookFile;
            return false;
        }
        std::snprintf(settings.OLDataFile, sizeof settings.OLDataFile, "%s", args.outlookFile.c_str());
    }
    // Typed on a terminal (UTF-8); the data file keeps the checksum of its 8-bit bytes.
    if (args.outlookPasswordStdin &&
        !CopyTyped(ReadPasswordLine(input), "the password read from standard input", settings.OLPasswordText,
                   sizeof settings.OLPasswordText, error)) {
        return false;
    }
    if (settings.OLDataFile[0] == '\0') {
        error = "no Outlook data file: name one with --outlook-file FILE";
        return false;
    }
    // Opened once here, so that a file that cannot be read is refused with its reason before
    // anything is loaded.
    const OutlookDataFileCheck check = CheckOutlookDataFile(settings);
    if (!check.ok) {
        error = check.message; // names the file and says why
    }
    return check.ok;
}

bool CliSession::ApplyGoogleOptions(const CliArguments& args, std::string& error)
{
    if (args.source != kAppGoogle) {
        return true;
    }
    FWSettings& settings = g_Settings();
    if (!args.googleFolder.empty()) {
        if (args.googleFolder.size() >= sizeof settings.GGFolder) {
            error = "the Google export folder's path is too long: " + args.googleFolder;
            return false;
        }
        std::snprintf(settings.GGFolder, sizeof settings.GGFolder, "%s", args.googleFolder.c_str());
    }
    if (settings.GGFolder[0] == '\0') {
        error = "no Google export folder: name one with --google-folder DIR";
        return false;
    }
    std::error_code failed;
    if (!std::filesystem::is_directory(settings.GGFolder, failed)) {
        error = std::string("no Google export folder '") + settings.GGFolder + "'";
        return false;
    }
    return true;
}

bool CliSession::ApplyACTOptions(const CliArguments& args, std::istream& input, std::string& error)
{
    if (args.source != kAppACT) {
        return true;
    }
    FWSettings& settings = g_Settings();
    if (!args.actPad.empty()) {
        // Absolute, so that the helpers, which run in the program's folder, find it as well.
        std::error_code failed;
        const std::filesystem::path absolute = std::filesystem::absolute(args.actPad, failed);
        const std::string pad = failed ? args.actPad : absolute.lexically_normal().string();
        if (pad.size() >= sizeof settings.ACTPadName) {
            error = "the ACT! database's path is too long: " + pad;
            return false;
        }
        std::snprintf(settings.ACTPadName, sizeof settings.ACTPadName, "%s", pad.c_str());
    }
    if (args.actUser && !CopyTyped(*args.actUser, "the ACT! user name", settings.ACTUserName,
                                   sizeof settings.ACTUserName, error)) {
        return false;
    }
    if (args.actPasswordStdin &&
        !CopyTyped(ReadPasswordLine(input), "the password read from standard input", settings.ACTPasswordText,
                   sizeof settings.ACTPasswordText, error)) {
        return false;
    }
    if (settings.ACTPadName[0] == '\0') {
        error = "no ACT! database: name its .pad file with --act-pad FILE.pad";
        return false;
    }
    std::error_code failed;
    if (!std::filesystem::is_regular_file(settings.ACTPadName, failed)) {
        error = std::string("no ACT! database file '") + settings.ACTPadName + "'";
        return false;
    }
    return true;
}
