#pragma once
// The wall clock as Linux shows it. The clock's next tick is a CLOCK_REALTIME timer at an absolute
// moment, armed to be cancelled when the clock is set: it fires at the right wall time even when the
// machine slept through it, and the kernel cancels it, waking the program, when the clock is set or
// stepped and when the machine resumes from sleep. No extra wake-up is needed to notice either.
// The machine's zone files ("localtime", "timezone") are watched in their folder, for the names that
// are created, replaced, written or removed there. Both descriptors are folded into one.
#include <cstdint>
#include <memory>
#include <string>

#include "core/base/Result.h"
#include "core/clock/WallClockWatch.h"

namespace tavrin {

class TimerFdClockWatch final : public WallClockWatch {
  public:
    // Fails when the system has no such timer. `zoneFolder` is where the machine's zone files live;
    // empty, or a folder that cannot be watched, leaves zone changes to the ticks.
    static Result<std::unique_ptr<TimerFdClockWatch>> open(const std::string& zoneFolder = "/etc");
    ~TimerFdClockWatch() override;
    TimerFdClockWatch(const TimerFdClockWatch&) = delete;
    TimerFdClockWatch& operator=(const TimerFdClockWatch&) = delete;

    int eventDescriptor() const override { return events_; }
    Result<> armAt(std::int64_t unixMillis) override;
    WallClockNews takeNews() override;
    // Whether the zone folder is watched.
    bool watchesZone() const { return zoneWatch_ >= 0; }

  private:
    TimerFdClockWatch(int events, int timer, int zoneWatch);
    bool zoneFilesTouched();

    int events_ = -1;
    int timer_ = -1;
    int zoneWatch_ = -1;
};

}  // namespace tavrin
