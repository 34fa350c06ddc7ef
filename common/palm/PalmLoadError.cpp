#include "palm/PalmLoadError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool PmPathPresent(const std::string& path)
{
    struct stat st = {};
    return !path.empty() && ::lstat(path.c_str(), &st) == 0;
}

std::string PmReadProblem(const std::string& path)
{
    if (path.empty()) {
        return kPmReasonNoFileName;
    }
    // Not blocking: a pipe under a database's name must not stop the load.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return std::strerror(errno);
    }
    struct stat st = {};
    std::string problem;
    if (::fstat(fd, &st) != 0) {
        problem = std::strerror(errno);
    } else if (S_ISDIR(st.st_mode)) {
        problem = std::strerror(EISDIR);
    } else if (!S_ISREG(st.st_mode)) {
        problem = "not a regular file";
    } else if (st.st_size == 0) {
        problem = kPmReasonEmpty;
    }
    ::close(fd);
    return problem;
}

std::string PmDamagedReason(long long position)
{
    return "damaged Palm Desktop database (unreadable from byte " + std::to_string(position) + ")";
}
