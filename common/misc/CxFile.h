#pragma once
// A file opened as a buffered stream, with typed reads and writes. Its encodings are the
// format of every exchange file, so they are fixed: little-endian on every host, no
// padding, nothing between values.
//
//   integer, boolean   4 bytes, signed 32-bit two's complement (a boolean is 0 or 1)
//   real, OLE date     8 bytes, IEEE 754 double
//   text               signed 32-bit length n, then n bytes of ANSI text, no terminator
//
// Reads never go past the end of the file: a value that is not there in full leaves its
// destination as the caller prepared it and gives false.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

class CxFile
{
public:
    CxFile() = default;
    virtual ~CxFile();
    CxFile(const CxFile&) = delete;
    CxFile& operator=(const CxFile&) = delete;

    // Opens path with a stream mode ("rb", "wb", "ab", ...); an open stream is closed first.
    // A file opened for writing from scratch ("w...") is written to a temporary file beside
    // it and renamed over it by Close, so that a reader never sees half a file and a failed
    // write leaves the old file as it was.
    bool Open(const char* path, const char* mode);
    // Closes the stream. False only when the data could not be written completely (the
    // old file, if any, then stays as it was); true when nothing is open.
    bool Close();
    bool IsOpen() const { return m_pFile != nullptr; }
    // True when nothing more can be read.
    bool AtEnd();

    // Reads one text into dest, a buffer of capacity bytes: the whole stored text is read,
    // the first capacity - 1 bytes are kept and terminated, the rest is skipped so that the
    // next value is read from the right place. lengthOut gets the stored length.
    // A stored length of 0 gives an empty dest and true. A negative length, or one larger
    // than what is left of the file, is damaged data: dest is left empty, lengthOut gets the
    // stored length, the rest of the file is skipped, and the result is false.
    // When the file ends within the length itself, dest is left as it was (lengthOut 0), false.
    bool ReadString(char* dest, int capacity, int* lengthOut = nullptr);
    template <std::size_t N> bool ReadString(char (&dest)[N], int* lengthOut = nullptr)
    {
        static_assert(N <= 0x7fffffff, "buffer too large for a stored length");
        return ReadString(dest, static_cast<int>(N), lengthOut);
    }
    // Reads one whole text, whatever its length; same rules for damaged lengths.
    bool ReadString(std::string& dest, int* lengthOut = nullptr);
    // Read 4 or 8 bytes; false with dest unchanged when fewer remain.
    bool ReadInt(int* dest);
    bool ReadDouble(double* dest);

    // Writes the length and the bytes; a null or empty text is length 0 with no bytes.
    bool WriteString(const char* text);
    bool WriteString(std::string_view text);
    bool WriteInt(int value);
    bool WriteInt(bool value) { return WriteInt(value ? 1 : 0); }
    bool WriteDouble(double value);
    // Writes the text and "\r\n"; a null text writes the line break only.
    bool WriteLine(const char* text);

    // Size of a file in bytes (64-bit); -1 when the path is null or empty, the file does not
    // open, or it is a folder.
    static std::int64_t FileSize(const char* path);

private:
    bool WriteBytes(const void* data, std::size_t size);
    // Reads the stored length of a text and checks it against what is left of the file.
    enum class LengthCheck
    {
        Missing,
        Damaged,
        Good
    };
    LengthCheck ReadLength(int* length);
    bool SkipBytes(std::int64_t count);
    void SkipToEnd();
    // Bytes between the position and the end; refresh takes the size from the file again.
    std::int64_t BytesLeft(bool refresh);

    std::FILE* m_pFile = nullptr;
    std::string m_path;     // the file the caller named
    std::string m_tempPath; // when writing from scratch: the file being written
    bool m_writeFailed = false;
    std::int64_t m_size = -1; // size when last looked at; -1 not known
};
