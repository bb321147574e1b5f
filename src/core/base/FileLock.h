#pragma once
// The advisory lock that every writer of a shared file takes on a lock file beside it, for the length
// of one change: the settings store and the reminder file alike. Waits for another holder to finish.
// Closing the descriptor (by this object, or by the kernel when the process dies) drops the lock.
#include <string>
#include <utility>

#include "core/base/Result.h"

namespace tavrin {

class FileLock {
  public:
    // Opens (or makes, with `mode`) `lockPath` and waits for the exclusive lock. A failure names the
    // file and why ("cannot lock /x/y.lock: Permission denied").
    static Result<FileLock> take(const std::string& lockPath, unsigned mode);

    FileLock(FileLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileLock& operator=(FileLock&&) = delete;
    ~FileLock();

    // Hands the held lock to the caller, who closes the descriptor to drop it.
    int release();

  private:
    explicit FileLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace tavrin
