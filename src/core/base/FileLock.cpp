#include "core/base/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tavrin {

Result<FileLock> FileLock::take(const std::string& lockPath, unsigned mode) {
    int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, static_cast<mode_t>(mode));
    // A lock file made by another user may be read-only to us; a shared open still locks it.
    if (fd < 0) fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Failure{"cannot lock " + lockPath + ": " + std::strerror(errno), errno};
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            const int error = errno;
            ::close(fd);
            return Failure{"cannot lock " + lockPath + ": " + std::strerror(error), error};
        }
    }
    return FileLock(fd);
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);
}

int FileLock::release() {
    return std::exchange(fd_, -1);
}

}  // namespace tavrin
