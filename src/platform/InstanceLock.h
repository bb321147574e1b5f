#pragma once
// The session's clock marker: an exclusive advisory lock on a file in the runtime folder, held for
// the life of the process and never waited on. Whoever holds it is the one clock of the user's
// session; the kernel drops it when that process ends, however it ends.
#include <string>

#include "core/base/Result.h"

namespace tavrin {

class InstanceLock {
  public:
    enum class Claim {
        Ours,   // this process holds the marker now
        Taken,  // another running process holds it
    };

    InstanceLock() = default;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

    // Creates the file (mode 0600) and takes the lock without waiting; fails when the marker file
    // cannot be made or locked (no runtime folder, say).
    Result<Claim> claim(const std::string& path);
    bool held() const { return fd_ >= 0; }
    // True when some process holds the lock on `path` (used by tools and tests).
    static bool isHeld(const std::string& path);

  private:
    int fd_ = -1;
};

}  // namespace tavrin
