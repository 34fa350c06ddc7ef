#include "platform/Files.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// Closes a descriptor on every way out.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return m_fd; }
    bool Close()
    {
        if (m_fd < 0) {
            return true;
        }
        int rc = ::close(m_fd);
        m_fd = -1;
        return rc == 0;
    }

private:
    int m_fd;
};

bool ReadAll(const std::string& path, std::string& contents, std::size_t maxBytes)
{
    contents.clear();
    // O_NONBLOCK so that a FIFO in the file's place cannot hang the open.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0) {
        return false;
    }
    struct stat st = {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    // st_size is a hint only (files under /proc report 0); read until end of file.
    if (st.st_size > 0 && static_cast<unsigned long long>(st.st_size) <= maxBytes) {
        contents.reserve(static_cast<std::size_t>(st.st_size));
    }
    char chunk[65536];
    for (;;) {
        ssize_t n = ::read(fd.Get(), chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            contents.clear();
            return false;
        }
        if (n == 0) {
            return true;
        }
        if (static_cast<std::size_t>(n) > maxBytes - contents.size()) {
            contents.clear();
            return false;
        }
        contents.append(chunk, static_cast<std::size_t>(n));
    }
}

bool WriteAll(int fd, const std::string& contents)
{
    const char* p = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// A name beside the target that no other process or thread of ours uses at the same time.
std::string TemporaryName(const std::string& target)
{
    static std::atomic<unsigned long> counter{0};
    std::string::size_type slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    if (base.size() > 180) {
        base.resize(180); // leave room for the suffix within NAME_MAX
    }
    return folder + "." + base + "." + std::to_string(::getpid()) + "." + std::to_string(::gettid()) + "." +
           std::to_string(counter.fetch_add(1)) + ".tmp";
}

void SyncFolderOf(const std::string& target)
{
    std::string::size_type slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0) {
        ::fsync(dir.Get()); // best effort: the rename is already done
    }
}

} // namespace

bool ReadWholeFile(const std::string& path, std::string& contents)
{
    return ReadAll(path, contents, static_cast<std::size_t>(-1));
}

bool ReadWholeFile(const std::string& path, std::string& contents, std::size_t maxBytes)
{
    return ReadAll(path, contents, maxBytes);
}

bool WriteFileAtomically(const std::string& path, const std::string& contents, unsigned mode)
{
    if (path.empty()) {
        return false;
    }
    std::string target = path;
    struct stat st = {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        // Replace the file the link points at, not the link itself.
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        return false;
    }
    const mode_t finalMode = exists ? (st.st_mode & 07777) : static_cast<mode_t>(mode & 07777);

    std::string temporary = TemporaryName(target);
    FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (fd.Get() < 0) {
        return false;
    }
    if (exists) {
        // Best effort: keeps the group of a shared file. Must come before fchmod, which it may undo.
        if (::fchown(fd.Get(), st.st_uid, st.st_gid) != 0) {
            // Not the owner: the file becomes ours, with the same mode.
        }
    }
    // fchmod rather than the open mode: the umask must not narrow or change it.
    bool ok = ::fchmod(fd.Get(), finalMode) == 0 && WriteAll(fd.Get(), contents) && ::fsync(fd.Get()) == 0;
    ok = fd.Close() && ok;
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolderOf(target);
    return true;
}

} // namespace platform
