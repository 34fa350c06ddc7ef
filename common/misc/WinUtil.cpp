#include "misc/WinUtil.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "misc/CxDateTime.h"
#include "platform/CodePage.h"
#include "platform/KnownFolders.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

namespace {

const char kOutlookKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE";
const char kOutlookProgram[] = "OUTLOOK.EXE";

void Clear(char* out, std::size_t size)
{
    if (out != nullptr && size > 0) {
        out[0] = '\0';
    }
}

// Copies text when it fits whole; a path cut short would name another file.
bool CopyWhole(const std::string& text, char* out, std::size_t size)
{
    if (out == nullptr || size == 0 || text.size() >= size) {
        Clear(out, size);
        return false;
    }
    std::memcpy(out, text.c_str(), text.size() + 1);
    return true;
}

bool QueryValue(platform::RegistryHive hive, const char* key, const char* name, char* out, std::size_t size)
{
    if (out == nullptr || size == 0) {
        return false;
    }
    const auto limited = static_cast<std::uint32_t>(std::min<std::size_t>(size, UINT32_MAX));
    if (!platform::RegQueryString(hive, key, name, out, limited)) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool QueryValue(platform::RegistryHive hive, const char* key, const char* name, std::string& value)
{
    char buffer[MAX_PATH];
    if (!QueryValue(hive, key, name, buffer, sizeof buffer)) {
        value.clear();
        return false;
    }
    value = buffer;
    return true;
}

bool EndsWithSeparator(const std::string& path)
{
    return !path.empty() && path.back() == platform::kPathSeparator;
}

bool FormatVersion(const std::string& file, char* out, std::size_t size)
{
    int version[4] = {};
    if (!GetFileVersion(file.c_str(), &version[0], &version[1], &version[2], &version[3])) {
        Clear(out, size);
        return false;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", version[0], version[1], version[2], version[3]);
    return CopyWhole(text, out, size);
}

bool OutlookProgram(std::string& program)
{
    if (!QueryValue(platform::RegistryHive::LocalMachine, kOutlookKey, "Path", program)) {
        return false;
    }
    program += kOutlookProgram;
    return true;
}

void FormatOrNA(double date, bool withTime, char* out, std::size_t size)
{
    if (out == nullptr || size == 0) {
        return;
    }
    if (!(date >= 0.001)) {
        std::snprintf(out, size, "%s", "N/A");
        return;
    }
    const CxDateTime value(date);
    if (withTime) {
        value.FormatDateTime(out, size);
    } else {
        value.FormatDate(out, size);
    }
}

} // namespace

bool GetModuleFolder(char* out, std::size_t size)
{
    std::string folder;
    if (out == nullptr || !platform::GetProgramFolder(folder)) {
        Clear(out, size);
        return false;
    }
    if (!EndsWithSeparator(folder)) {
        folder += platform::kPathSeparator;
    }
    return CopyWhole(folder, out, size);
}

bool GetFileVersion(const char* path, int* major, int* minor, int* build, int* revision)
{
    std::uint16_t version[4] = {};
    const bool found = path != nullptr && *path != '\0' && platform::QueryFileVersion(path, version);
    int* outputs[4] = {major, minor, build, revision};
    for (int i = 0; i < 4; ++i) {
        if (outputs[i] != nullptr) {
            *outputs[i] = found ? version[i] : 0;
        }
    }
    return found;
}

bool GetNotesPath(char* out, std::size_t size)
{
    return QueryValue(platform::RegistryHive::LocalMachine, LNNotesKey, LNProgramFolderValue, out, size);
}

bool GetNotesDataDir(char* out, std::size_t size)
{
    std::string folder;
    if (!QueryValue(platform::RegistryHive::CurrentUser, LNInstallerKey, LNDataFolderValue, folder) ||
        folder.empty()) {
        Clear(out, size);
        return false;
    }
    if (!EndsWithSeparator(folder)) {
        folder += platform::kPathSeparator;
    }
    return CopyWhole(folder, out, size);
}

bool GetNotesVersion(char* out, std::size_t size)
{
    std::string folder;
    if (!QueryValue(platform::RegistryHive::LocalMachine, LNNotesKey, LNProgramFolderValue, folder)) {
        Clear(out, size);
        return false;
    }
    if (!EndsWithSeparator(folder)) {
        folder += platform::kPathSeparator;
    }
    return FormatVersion(folder + "Notes.exe", out, size);
}

bool GetACTInstallPath(char* out, std::size_t size)
{
    return QueryValue(platform::RegistryHive::LocalMachine, ACTInstallKey, ACTInstallPathValue, out, size);
}

bool GetACTAppName(char* out, std::size_t size)
{
    return QueryValue(platform::RegistryHive::LocalMachine, ACTInstallKey, ACTAppNameValue, out, size);
}

bool GetACTProgramPath(char* out, std::size_t size)
{
    std::string folder;
    std::string name;
    if (!QueryValue(platform::RegistryHive::LocalMachine, ACTInstallKey, ACTInstallPathValue, folder) ||
        !QueryValue(platform::RegistryHive::LocalMachine, ACTInstallKey, ACTAppNameValue, name)) {
        Clear(out, size);
        return false;
    }
    if (!EndsWithSeparator(folder)) {
        folder += platform::kPathSeparator;
    }
    return CopyWhole(folder + name, out, size);
}

bool GetOutlookVersion(char* out, std::size_t size)
{
    std::string program;
    if (!OutlookProgram(program)) {
        Clear(out, size);
        return false;
    }
    return FormatVersion(program, out, size);
}

bool GetOutlookProgramPath(char* out, std::size_t size)
{
    std::string program;
    if (out == nullptr || size == 0 || !OutlookProgram(program)) {
        Clear(out, size);
        return false;
    }
    const std::size_t keep = std::min(program.size(), size - 1);
    std::memcpy(out, program.data(), keep);
    out[keep] = '\0';
    return true;
}

bool RunProgram(const char* target)
{
    if (target == nullptr || *target == '\0') {
        return false;
    }
    platform::ShellOpen(target);
    return true;
}

void FormatDateOrNA(double date, char* out, std::size_t size)
{
    FormatOrNA(date, false, out, size);
}

void FormatDateTimeOrNA(double date, char* out, std::size_t size)
{
    FormatOrNA(date, true, out, size);
}

int CompareDates(const SYSTEMTIME* a, const SYSTEMTIME* b)
{
    if (a == nullptr) {
        return -1;
    }
    if (b == nullptr) {
        return 1;
    }
    const WORD left[3] = {a->wYear, a->wMonth, a->wDay};
    const WORD right[3] = {b->wYear, b->wMonth, b->wDay};
    for (int i = 0; i < 3; ++i) {
        if (left[i] != right[i]) {
            return left[i] < right[i] ? -1 : 1;
        }
    }
    return 0;
}

bool CopyDate(const SYSTEMTIME* from, SYSTEMTIME* to)
{
    if (from == nullptr || to == nullptr) {
        return false;
    }
    to->wYear = from->wYear;
    to->wMonth = from->wMonth;
    to->wDay = from->wDay;
    to->wDayOfWeek = from->wDayOfWeek;
    return true;
}

const char* HexDump(const void* bytes, std::size_t length)
{
    constexpr std::size_t kMaxBytes = 1024;
    // One buffer per thread: the text stays until this thread's next call.
    thread_local char text[kMaxBytes * 3];
    static const char kDigits[] = "0123456789abcdef";
    text[0] = '\0';
    if (bytes == nullptr) {
        return text;
    }
    const auto* in = static_cast<const unsigned char*>(bytes);
    const std::size_t count = std::min(length, kMaxBytes);
    char* p = text;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            *p++ = ' ';
        }
        *p++ = kDigits[in[i] >> 4];
        *p++ = kDigits[in[i] & 0x0F];
    }
    *p = '\0';
    return text;
}

bool ToNarrow(const char16_t* text, char* out, std::size_t size)
{
    if (out == nullptr || size == 0) {
        return false;
    }
    out[0] = '\0';
    if (text == nullptr || *text == u'\0') {
        return false;
    }
    const std::string narrow = platform::Utf16ToAnsi(text);
    const std::size_t keep = std::min(narrow.size(), size - 1);
    std::memcpy(out, narrow.data(), keep);
    out[keep] = '\0';
    out[size - 1] = '\0';
    return true;
}

bool ToWide(const char* text, char16_t* out, std::size_t size)
{
    if (out == nullptr || size == 0) {
        return false;
    }
    out[0] = u'\0';
    if (text == nullptr || *text == '\0') {
        return false;
    }
    const std::u16string wide = platform::AnsiToUtf16(text);
    std::size_t keep = std::min(wide.size(), size - 1);
    // Never keep half of a surrogate pair.
    if (keep > 0 && keep < wide.size() && wide[keep - 1] >= 0xD800 && wide[keep - 1] <= 0xDBFF) {
        --keep;
    }
    std::copy_n(wide.data(), keep, out);
    out[keep] = u'\0';
    out[size - 1] = u'\0';
    return true;
}
