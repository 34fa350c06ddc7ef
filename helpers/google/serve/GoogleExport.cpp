#include "google/serve/GoogleExport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "kit/HelperSession.h"
#include "platform/CodePage.h"
#include "platform/OleDate.h"
#include "platform/Profile.h"

namespace gexport {

namespace fs = std::filesystem;

bool ExportFolder(const HelperSession& session, std::string& folder, std::string& error)
{
    const std::string accountPath = session.Folder() + GAccountFileName;
    char value[4096] = {};
    platform::GetPrivateProfileString(GAccountSection, GAccountFolderKey, "", value, sizeof value,
                                      accountPath.c_str());
    folder = value;
    if (folder.empty()) {
        error = "No folder of a Google export is chosen: choose the folder that holds the account's "
                "exported contacts (.vcf, .csv) and calendars (.ics) on the Google page, or give "
                "--google-folder DIR.";
        return false;
    }
    std::error_code failed;
    if (!fs::is_directory(folder, failed)) {
        error = "The folder of the Google export " + folder +
                " cannot be found: " + (failed ? failed.message() : std::string("it is not a folder")) + ".";
        return false;
    }
    return true;
}

std::vector<std::string> FindExportFiles(const std::string& folder,
                                         std::initializer_list<std::string_view> extensions)
{
    std::vector<std::string> found;
    std::error_code failed;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, failed);
    for (; !failed && it != fs::recursive_directory_iterator(); it.increment(failed)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name.front() == '.') {
            if (it->is_directory(failed)) {
                it.disable_recursion_pending();
            }
            continue;
        }
        if (it->is_directory(failed)) {
            if (it.depth() >= kMaxFolderDepth) {
                it.disable_recursion_pending();
            }
            continue;
        }
        if (!it->is_regular_file(failed)) {
            continue;
        }
        const std::string ext = it->path().extension().string();
        for (std::string_view wanted : extensions) {
            if (ext.size() == wanted.size() &&
                std::equal(ext.begin(), ext.end(), wanted.begin(), [](char a, char b) {
                    return std::tolower(static_cast<unsigned char>(a)) ==
                           std::tolower(static_cast<unsigned char>(b));
                })) {
                found.push_back(it->path().string());
                break;
            }
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

void ToRecordText(std::string_view utf8, char* buffer, std::size_t capacity)
{
    if (capacity == 0) {
        return;
    }
    std::string text;
    text.reserve(utf8.size() + 8);
    for (char c : utf8) {
        if (c == '\n') {
            text += '\r';
        }
        text += c;
    }
    std::string ansi = platform::Utf8ToAnsi(text);
    std::size_t n = std::min(ansi.size(), capacity - 1);
    if (n > 0 && n < ansi.size() && ansi[n - 1] == '\r') {
        --n; // never half a line break
    }
    std::memcpy(buffer, ansi.data(), n);
    buffer[n] = '\0';
}

std::string FromRecordText(const char* buffer, std::size_t capacity)
{
    const std::size_t n = strnlen(buffer, capacity);
    std::string text;
    text.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (buffer[i] == '\r' && i + 1 < n && buffer[i + 1] == '\n') {
            continue;
        }
        text += buffer[i];
    }
    return platform::AnsiToUtf8(text);
}

int RunExportHelper(int argc, char** argv, const char* controlFile, const std::string& words,
                    const std::function<void(HelperSession&, const std::string&, bool)>& serve)
{
    HelperSession session(kParamIds, controlFile);
    if (argc < 2 || !session.Begin(argv[1])) {
        return 2;
    }
    const int command = session.Command();
    const bool load = command == CxHelperProtocol::kCommandLoad;
    if (load) {
        // A failed load must not leave an earlier run's records to be read as this one's.
        std::remove(session.RecordPath().c_str());
    }
    std::string folder;
    std::string error;
    if (!load && command != CxHelperProtocol::kCommandSubmit) {
        session.ReportError("Unknown command \"" + session.Params().Text(CxGAppBaseUtil::ParamCommand) +
                            "\".");
    } else if (!ExportFolder(session, folder, error)) {
        session.ReportError(error);
    } else {
        session.SetStatus((load ? "Loading " : "Submitting ") + words);
        serve(session, folder, load);
    }
    session.SetStatus(session.ErrorCount() == 0 ? "Done." : "Failed.");
    return session.End();
}

double DateToOle(int year, int month, int day)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    double ole = 0;
    if (year < 100 || month < 1 || month > 12 || day < 1 || day > 31 ||
        !platform::SystemTimeToVariantTime(&st, &ole)) {
        return 0;
    }
    SYSTEMTIME back{};
    // 31 February rolls over: not a date.
    if (!platform::VariantTimeToSystemTime(ole, &back) || back.wMonth != st.wMonth) {
        return 0;
    }
    return ole;
}

bool OleToDate(double ole, int* year, int* month, int* day)
{
    SYSTEMTIME st{};
    if (ole == 0 || !std::isfinite(ole) || !platform::VariantTimeToSystemTime(ole, &st)) {
        return false;
    }
    *year = st.wYear;
    *month = st.wMonth;
    *day = st.wDay;
    return true;
}

} // namespace gexport
