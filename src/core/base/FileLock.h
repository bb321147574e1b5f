#pragma once
// The advisory lock that every writer of a shared file takes on a lock file beside it, for the length
// of one change: the settings store and the reminder file alike. Waits for another holder to finish.
// Closing the descriptor (by this object, or by the kernel when the process dies) drops the lock.
#include <string>

namespace tavrin {

class FileLock {
  public:
    // Opens (or makes, with `mode`) `lockPath` and waits for the exclusive lock.
    FileLock(const std::string& lockPath, unsigned mode);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return fd_ >= 0; }
    // Why the lock could not be taken, for the user ("cannot lock /x/y.lock: Permission denied").
    const std::string& failure() const { return failure_; }
    // Hands the held lock to the caller, who closes the descriptor to drop it.
    int release();

  private:
    int fd_ = -1;
    std::string failure_;
};

}  // namespace tavrin
