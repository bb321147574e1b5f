#include "core/base/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tavrin {

FileLock::FileLock(const std::string& lockPath, unsigned mode) {
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, static_cast<mode_t>(mode));
    // A lock file made by another user may be read-only to us; a shared open still locks it.
    if (fd_ < 0) fd_ = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        failure_ = "cannot lock " + lockPath + ": " + std::strerror(errno);
        return;
    }
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            failure_ = "cannot lock " + lockPath + ": " + std::strerror(errno);
            ::close(fd_);
            fd_ = -1;
            return;
        }
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);
}

int FileLock::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

}  // namespace tavrin
