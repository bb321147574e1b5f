#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tavrin {

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}

Result<InstanceLock::Claim> InstanceLock::claim(const std::string& path) {
    if (fd_ >= 0) return Claim::Ours;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return Failure{"cannot make the instance lock " + path + ": " + std::strerror(errno), errno};
    int result = 0;
    while ((result = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (result != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) return Claim::Taken;
        return Failure{"cannot take the instance lock " + path + ": " + std::strerror(error), error};
    }
    fd_ = fd;
    return Claim::Ours;
}

bool InstanceLock::isHeld(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (free) ::flock(fd, LOCK_UN);
    ::close(fd);
    return !free;
}

}  // namespace tavrin
