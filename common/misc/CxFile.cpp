#include "misc/CxFile.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::int64_t kUnknownSize = INT64_MAX;

void PutLittleEndian(unsigned char* out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

std::uint64_t GetLittleEndian(const unsigned char* in, int bytes)
{
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value |= static_cast<std::uint64_t>(in[i]) << (8 * i);
    }
    return value;
}

// Creates a new, empty file beside path for writing; the umask applies as it would to fopen.
int CreateTempBeside(const std::string& path, std::string& tempPath)
{
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = path + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter++);
        int fd = ::open(tempPath.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

} // namespace

CxFile::~CxFile()
{
    Close();
}

bool CxFile::Open(const char* path, const char* mode)
{
    if (path == nullptr || *path == '\0' || mode == nullptr || *mode == '\0') {
        return false;
    }
    Close();
    m_writeFailed = false;

    struct stat existing;
    const bool exists = ::stat(path, &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        return false;
    }
    if (mode[0] == 'w') {
        int fd = CreateTempBeside(path, m_tempPath);
        if (fd < 0) {
            m_tempPath.clear();
            return false;
        }
        if (exists) {
            // The rename must not change who may read the file.
            ::fchmod(fd, existing.st_mode & 07777);
        }
        m_pFile = ::fdopen(fd, mode);
        if (m_pFile == nullptr) {
            ::close(fd);
            ::unlink(m_tempPath.c_str());
            m_tempPath.clear();
            return false;
        }
    } else {
        // Helper programs are started while files are open: keep the descriptors to ourselves.
        const std::string modeCloexec = std::string(mode) + "e";
        m_pFile = std::fopen(path, modeCloexec.c_str());
        if (m_pFile == nullptr) {
            return false;
        }
        struct stat opened;
        if (::fstat(fileno(m_pFile), &opened) == 0 && S_ISDIR(opened.st_mode)) {
            std::fclose(m_pFile);
            m_pFile = nullptr;
            return false;
        }
        if (mode[0] == 'r') {
            // After a seek the stream knows its offset; without one, every ftello of the
            // position checks asks the kernel (a 100,000-record file took seconds, not ms).
            ::fseeko(m_pFile, 0, SEEK_SET);
        }
    }
    m_path = path;
    m_size = -1;
    return true;
}

bool CxFile::Close()
{
    if (m_pFile == nullptr) {
        return true;
    }
    bool ok = !m_writeFailed;
    if (!m_tempPath.empty()) {
        ok = ok && std::fflush(m_pFile) == 0 && ::fsync(fileno(m_pFile)) == 0;
        ok = std::fclose(m_pFile) == 0 && ok;
        if (ok && std::rename(m_tempPath.c_str(), m_path.c_str()) != 0) {
            ok = false;
        }
        if (!ok) {
            ::unlink(m_tempPath.c_str());
        }
        m_tempPath.clear();
    } else {
        ok = std::fclose(m_pFile) == 0 && ok;
    }
    m_pFile = nullptr;
    m_path.clear();
    m_writeFailed = false;
    return ok;
}

bool CxFile::AtEnd()
{
    if (m_pFile == nullptr) {
        return true;
    }
    const int c = std::getc(m_pFile);
    if (c == EOF) {
        return true;
    }
    std::ungetc(c, m_pFile);
    return false;
}

std::int64_t CxFile::BytesLeft(bool refresh)
{
    if (refresh || m_size < 0) {
        struct stat info;
        m_size = ::fstat(fileno(m_pFile), &info) == 0 && S_ISREG(info.st_mode)
                     ? static_cast<std::int64_t>(info.st_size)
                     : -1;
    }
    const off_t position = ::ftello(m_pFile);
    if (m_size < 0 || position < 0) {
        return kUnknownSize;
    }
    return std::max<std::int64_t>(0, m_size - static_cast<std::int64_t>(position));
}

CxFile::LengthCheck CxFile::ReadLength(int* length)
{
    unsigned char bytes[4];
    if (std::fread(bytes, 1, sizeof bytes, m_pFile) != sizeof bytes) {
        return LengthCheck::Missing;
    }
    *length = static_cast<int>(static_cast<std::uint32_t>(GetLittleEndian(bytes, 4)));
    // The size is taken again before a length is called damaged: the file may have grown.
    if (*length < 0 || (*length > BytesLeft(false) && *length > BytesLeft(true))) {
        return LengthCheck::Damaged;
    }
    return LengthCheck::Good;
}

bool CxFile::SkipBytes(std::int64_t count)
{
    if (count <= 0) {
        return true;
    }
    if (::fseeko(m_pFile, static_cast<off_t>(count), SEEK_CUR) == 0) {
        return true;
    }
    // A stream that cannot seek: read past the bytes instead.
    char scratch[4096];
    while (count > 0) {
        const std::size_t chunk = static_cast<std::size_t>(std::min<std::int64_t>(count, sizeof scratch));
        if (std::fread(scratch, 1, chunk, m_pFile) != chunk) {
            return false;
        }
        count -= static_cast<std::int64_t>(chunk);
    }
    return true;
}

void CxFile::SkipToEnd()
{
    if (::fseeko(m_pFile, 0, SEEK_END) != 0) {
        char scratch[4096];
        while (std::fread(scratch, 1, sizeof scratch, m_pFile) == sizeof scratch) {
        }
    }
}

bool CxFile::ReadString(char* dest, int capacity, int* lengthOut)
{
    if (m_pFile == nullptr || dest == nullptr || capacity <= 0) {
        return false;
    }
    int length = 0;
    const LengthCheck check = ReadLength(&length);
    if (lengthOut != nullptr) {
        *lengthOut = check == LengthCheck::Missing ? 0 : length;
    }
    if (check == LengthCheck::Missing) {
        return false;
    }
    if (check == LengthCheck::Damaged) {
        // Nothing after a damaged length can be trusted to be aligned.
        dest[0] = '\0';
        SkipToEnd();
        return false;
    }
    const int keep = std::min(length, capacity - 1);
    const std::size_t got = std::fread(dest, 1, static_cast<std::size_t>(keep), m_pFile);
    dest[got] = '\0';
    if (got != static_cast<std::size_t>(keep)) {
        return false;
    }
    return SkipBytes(length - keep);
}

bool CxFile::ReadString(std::string& dest, int* lengthOut)
{
    if (m_pFile == nullptr) {
        return false;
    }
    int length = 0;
    const LengthCheck check = ReadLength(&length);
    if (lengthOut != nullptr) {
        *lengthOut = check == LengthCheck::Missing ? 0 : length;
    }
    if (check == LengthCheck::Missing) {
        return false;
    }
    dest.clear();
    if (check == LengthCheck::Damaged) {
        SkipToEnd();
        return false;
    }
    // In chunks, so that what is allocated never runs ahead of what the file holds.
    constexpr std::size_t kChunk = 64 * 1024;
    std::size_t left = static_cast<std::size_t>(length);
    while (left > 0) {
        const std::size_t chunk = std::min(left, kChunk);
        const std::size_t old = dest.size();
        dest.resize(old + chunk);
        const std::size_t got = std::fread(dest.data() + old, 1, chunk, m_pFile);
        if (got != chunk) {
            dest.resize(old + got);
            return false;
        }
        left -= chunk;
    }
    return true;
}

bool CxFile::ReadInt(int* dest)
{
    unsigned char bytes[4];
    if (m_pFile == nullptr || dest == nullptr ||
        std::fread(bytes, 1, sizeof bytes, m_pFile) != sizeof bytes) {
        return false;
    }
    *dest = static_cast<int>(static_cast<std::uint32_t>(GetLittleEndian(bytes, 4)));
    return true;
}

bool CxFile::ReadDouble(double* dest)
{
    unsigned char bytes[8];
    if (m_pFile == nullptr || dest == nullptr ||
        std::fread(bytes, 1, sizeof bytes, m_pFile) != sizeof bytes) {
        return false;
    }
    *dest = std::bit_cast<double>(GetLittleEndian(bytes, 8));
    return true;
}

bool CxFile::WriteBytes(const void* data, std::size_t size)
{
    if (m_pFile == nullptr) {
        return false;
    }
    if (size > 0 && std::fwrite(data, 1, size, m_pFile) != size) {
        m_writeFailed = true;
        return false;
    }
    return true;
}

bool CxFile::WriteString(const char* text)
{
    return WriteString(text == nullptr ? std::string_view() : std::string_view(text));
}

bool CxFile::WriteString(std::string_view text)
{
    if (m_pFile == nullptr || text.size() > static_cast<std::size_t>(INT32_MAX)) {
        return false;
    }
    unsigned char length[4];
    PutLittleEndian(length, text.size(), 4);
    return WriteBytes(length, sizeof length) && WriteBytes(text.data(), text.size());
}

bool CxFile::WriteInt(int value)
{
    unsigned char bytes[4];
    PutLittleEndian(bytes, static_cast<std::uint32_t>(value), 4);
    return WriteBytes(bytes, sizeof bytes);
}

bool CxFile::WriteDouble(double value)
{
    unsigned char bytes[8];
    PutLittleEndian(bytes, std::bit_cast<std::uint64_t>(value), 8);
    return WriteBytes(bytes, sizeof bytes);
}

bool CxFile::WriteLine(const char* text)
{
    if (m_pFile == nullptr) {
        return false;
    }
    const bool ok = text == nullptr || WriteBytes(text, std::strlen(text));
    return WriteBytes("\r\n", 2) && ok;
}

std::int64_t CxFile::FileSize(const char* path)
{
    if (path == nullptr || *path == '\0') {
        return -1;
    }
    std::FILE* file = std::fopen(path, "rbe");
    if (file == nullptr) {
        return -1;
    }
    struct stat info;
    std::int64_t size = -1;
    if (::fstat(fileno(file), &info) == 0 && !S_ISDIR(info.st_mode) && ::fseeko(file, 0, SEEK_END) == 0) {
        size = static_cast<std::int64_t>(::ftello(file));
    }
    std::fclose(file);
    return size;
}
