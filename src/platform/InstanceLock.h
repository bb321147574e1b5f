#pragma once
// A marker of a running instance: a lock file held for the life of the process. Nothing waits on it
// and a second instance starts all the same; it only tells scripts and tools that Tavrin runs.
#include <string>

namespace tavrin {

class InstanceLock {
  public:
    InstanceLock() = default;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

    // Creates the file (mode 0600) and takes a shared advisory lock on it without waiting.
    // Returns false when the file cannot be made; the caller goes on either way.
    bool acquire(const std::string& path);
    bool held() const { return fd_ >= 0; }
    // True when some process holds a lock on `path` (used by tools and tests).
    static bool isHeld(const std::string& path);

  private:
    int fd_ = -1;
};

}  // namespace tavrin
