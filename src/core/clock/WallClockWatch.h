#pragma once
// The system's side of the wall clock: a timer that fires at a wall-clock moment, and news of what
// can change the clock's face between two ticks without any tick noticing in time: the wall clock
// set or stepped, the machine waking from sleep, the machine's zone replaced.
#include <cstdint>

#include "core/base/Result.h"

namespace tavrin {

struct WallClockNews {
    bool due = false;          // the armed moment came
    bool clockSet = false;     // the wall clock was set or stepped, or the machine woke from sleep
    bool zoneChanged = false;  // the machine's zone file was replaced
    bool any() const { return due || clockSet || zoneChanged; }
};

class WallClockWatch {
  public:
    virtual ~WallClockWatch() = default;
    // A descriptor that becomes readable when news arrives.
    virtual int eventDescriptor() const = 0;
    // Arms the timer for the wall-clock moment `unixMillis`, in place of any earlier one. When the
    // system refuses, the caller times its ticks itself.
    virtual Result<> armAt(std::int64_t unixMillis) = 0;
    // The news that arrived since the last call, read without waiting. After news of the clock set
    // the timer is spent: arm it again from the new time.
    virtual WallClockNews takeNews() = 0;
};

}  // namespace tavrin
