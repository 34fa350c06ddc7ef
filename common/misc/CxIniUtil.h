#pragma once
// Typed access to one profile (INI) file: texts, integers and flags, over the platform's
// profile functions. The file path is fixed-size (at most MAX_PATH - 1 characters).
#include <memory>

#include "platform/Profile.h"
#include "platform/WinTypes.h"

class CxIniUtil
{
public:
    // The path is folder followed directly by fileName (the folder ends in a separator).
    // An empty or missing folder means the program's own folder.
    CxIniUtil(const char* folder, const char* fileName);
    virtual ~CxIniUtil() = default;

    // Replaces the path. An empty path is ignored; a path longer than MAX_PATH - 1 characters
    // is refused rather than cut, because a cut path names some other file. True when replaced.
    bool SetPath(const char* path);
    const char* GetPath() const { return m_path; }

    // Copies the value (or the default when the key is absent) cut to size - 1 characters and
    // terminated; gives the number of characters copied. 0 and the buffer untouched when the
    // section or key is empty, the buffer is missing or the size is not positive.
    int ReadString(const char* section, const char* key, char* buffer, int size,
                   const char* defaultValue) const;

    // The value's text (at most 31 characters) converted with strtol: an absent key or an
    // empty value gives the default, text that is not a number gives 0. Values beyond the
    // range of int are clamped, as a 32-bit long would be.
    int ReadInt(const char* section, const char* key, int defaultValue) const;

    // ReadInt, then any non-zero value is true.
    bool ReadFlag(const char* section, const char* key, bool defaultValue) const;

    // Writes "key=text"; false when the section or key is empty or the write fails. A missing
    // text writes an empty value. A text is cut at its first line break, which would otherwise
    // end the line and let the rest of the text pose as keys of its own.
    bool WriteString(const char* section, const char* key, const char* text) const;
    bool WriteInt(const char* section, const char* key, int value) const;
    bool WriteFlag(const char* section, const char* key, bool flag) const;

    // Between BeginBatch and EndBatch, writes are collected and the file is replaced once, at
    // EndBatch: saving every setting costs one atomic rewrite instead of one per key.
    // EndBatch is false when the file could not be written.
    void BeginBatch() const;
    bool EndBatch() const;

private:
    char m_path[MAX_PATH];
    mutable std::unique_ptr<platform::ProfileEditor> m_batch;
};
