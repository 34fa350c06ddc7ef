#include "misc/CxIniUtil.h"

#include "platform/KnownFolders.h"
#include "platform/Profile.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

bool IsEmpty(const char* text)
{
    return text == nullptr || text[0] == '\0';
}

// Copies text into the path buffer when it fits whole; false (and no change) otherwise.
bool StorePath(char (&path)[MAX_PATH], const std::string& text)
{
    if (text.size() >= sizeof path) {
        return false;
    }
    std::memcpy(path, text.c_str(), text.size() + 1);
    return true;
}

} // namespace

CxIniUtil::CxIniUtil(const char* folder, const char* fileName)
{
    m_path[0] = '\0';
    std::string path;
    if (IsEmpty(folder)) {
        std::string programFolder;
        if (platform::GetProgramFolder(programFolder)) {
            path = programFolder;
            if (path.empty() || path.back() != platform::kPathSeparator) {
                path += platform::kPathSeparator;
            }
        }
    } else {
        path = folder;
    }
    if (fileName != nullptr) {
        path += fileName;
    }
    // A path that does not fit stays empty: reads then give defaults and writes fail.
    StorePath(m_path, path);
}

bool CxIniUtil::SetPath(const char* path)
{
    if (IsEmpty(path)) {
        return false;
    }
    return StorePath(m_path, path);
}

int CxIniUtil::ReadString(const char* section, const char* key, char* buffer, int size,
                          const char* defaultValue) const
{
    if (IsEmpty(section) || IsEmpty(key) || buffer == nullptr || size <= 0) {
        return 0;
    }
    return static_cast<int>(platform::GetPrivateProfileString(section, key, defaultValue, buffer,
                                                              static_cast<std::uint32_t>(size), m_path));
}

int CxIniUtil::ReadInt(const char* section, const char* key, int defaultValue) const
{
    if (IsEmpty(section) || IsEmpty(key)) {
        return defaultValue;
    }
    // An absent key reads as the empty default, so both it and an empty value give the default.
    char text[32];
    ReadString(section, key, text, sizeof text, "");
    if (text[0] == '\0') {
        return defaultValue;
    }
    long value = std::strtol(text, nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

bool CxIniUtil::ReadFlag(const char* section, const char* key, bool defaultValue) const
{
    return ReadInt(section, key, defaultValue ? 1 : 0) != 0;
}

bool CxIniUtil::WriteString(const char* section, const char* key, const char* text) const
{
    if (IsEmpty(section) || IsEmpty(key) || m_path[0] == '\0') {
        return false;
    }
    std::string_view value = text != nullptr ? std::string_view(text) : std::string_view();
    std::string line(value.substr(0, value.find_first_of("\r\n")));
    if (m_batch) {
        return m_batch->WriteString(section, key, line.c_str());
    }
    return platform::WritePrivateProfileString(section, key, line.c_str(), m_path);
}

void CxIniUtil::BeginBatch() const
{
    m_batch = std::make_unique<platform::ProfileEditor>(m_path);
}

bool CxIniUtil::EndBatch() const
{
    if (!m_batch) {
        return true;
    }
    bool ok = m_batch->Commit();
    m_batch.reset();
    return ok;
}

bool CxIniUtil::WriteInt(const char* section, const char* key, int value) const
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return WriteString(section, key, text);
}

bool CxIniUtil::WriteFlag(const char* section, const char* key, bool flag) const
{
    return WriteString(section, key, flag ? "1" : "0");
}
