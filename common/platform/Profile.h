#pragma once
// Profile (INI) files with the semantics of the Windows profile functions:
// case-insensitive section and key names, blanks around names and values trimmed,
// surrounding double quotes stripped on read, CR LF / CR / LF all accepted, CR LF written.
// A write keeps every other line of the file and is atomic (temporary file, then rename).
#include <cstdint>
#include <mutex>
#include <string>

namespace platform {

// GetPrivateProfileStringA: copies the value (or the default, trailing blanks removed;
// null acts as "") cut to size - 1 characters and terminated; returns the number copied.
// Size 0 returns 0 and leaves the buffer untouched. A null section or key gives the
// default: names are not enumerated.
std::uint32_t GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                      char* buffer, std::uint32_t size, const char* path);

// GetPrivateProfileIntA: leading blanks, optional sign, leading digits, wrapping modulo 2^32;
// a key that holds no number gives 0, a missing key the default.
std::uint32_t GetPrivateProfileInt(const char* section, const char* key, int defaultValue, const char* path);

// WritePrivateProfileStringA: a null value deletes the key, a null key deletes the section.
// A new key goes after the existing keys of its section, a new section at the end of the file.
// A new file is made with mode 0600 (it may hold passwords); an existing file keeps its mode.
// Refused (false, file unchanged): a section, key or value holding a line break, a key that
// is empty, holds "=" or starts with "[" (it would read back as something else), and a file
// that cannot be read or is larger than kMaxProfileFileBytes.
bool WritePrivateProfileString(const char* section, const char* key, const char* value, const char* path);

// Several writes to one profile file in one read-modify-write cycle: the file is read at the
// first write, every write is applied as WritePrivateProfileString would apply it, and Commit
// replaces the file once, atomically. Other writers of this process wait until Commit.
class ProfileEditor
{
public:
    explicit ProfileEditor(const char* path);
    ~ProfileEditor();
    ProfileEditor(const ProfileEditor&) = delete;
    ProfileEditor& operator=(const ProfileEditor&) = delete;

    // False when the write is refused (see WritePrivateProfileString) or the file is unreadable.
    bool WriteString(const char* section, const char* key, const char* value);
    // Writes the file when anything changed; false when that fails. Nothing is written without it.
    bool Commit();

private:
    std::string m_path;
    std::string m_original;
    std::string m_text;
    bool m_loaded = false;
    bool m_readable = false;
    std::unique_lock<std::mutex> m_guard;
};

// Larger profile files are treated as unreadable.
constexpr std::uint32_t kMaxProfileFileBytes = 16u * 1024 * 1024;

// Looks a key up: true with its value (blanks trimmed, surrounding quotes stripped, not cut)
// when the section and key exist, false otherwise. Tells a missing key from an empty value.
bool FindPrivateProfileValue(const char* section, const char* key, const char* path, std::string& value);

} // namespace platform
