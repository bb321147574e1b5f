#pragma once
// The stopwatch's count: hours, minutes, seconds and hundredths of real elapsed time, taken from a
// monotonic clock, so the count is right however late the window's refreshes come.
#include <cstdint>
#include <string>
#include <vector>

#include "core/utilities/MonotonicClock.h"

namespace tavrin {

// The four fields as the window shows them.
struct StopwatchTexts {
    std::string hours;
    std::string minutes;
    std::string seconds;
    std::string hundredths;
    friend bool operator==(const StopwatchTexts&, const StopwatchTexts&) = default;
};

// One lap: its own time and the count when it was taken, in hundredths.
struct Lap {
    std::int64_t own = 0;
    std::int64_t total = 0;
    friend bool operator==(const Lap&, const Lap&) = default;
};

class Stopwatch {
  public:
    // 24 hours, where the count stops by itself.
    static constexpr std::int64_t kLimitHundredths = 24LL * 60 * 60 * 100;
    // The laps kept; past them Lap takes no more.
    static constexpr std::size_t kMaxLaps = 999;

    explicit Stopwatch(const MonotonicClock& clock) : clock_(clock) {}

    // Starts, or resumes from the stopped count. Nothing changes while it runs already.
    void start();
    // Stops and keeps the count.
    void stop();
    // Stops at zero and forgets the laps.
    void reset();
    // Takes a lap at the count now, while it runs; false when it is not running or holds 999 laps.
    bool lap();
    // The laps, the first taken first.
    const std::vector<Lap>& laps() const { return laps_; }
    // Whether it is counting; false once the count reached 24 hours.
    bool running();

    // Hundredths of a second counted so far, at most 24 hours' worth.
    std::int64_t hundredths();

    // The display: "00" in every field at zero; while counting, two digits for the hours, minutes and
    // seconds and the hundredths without a leading zero ("0" to "99").
    StopwatchTexts texts();

  private:
    // Stops the count at 24 hours when it has reached them.
    void settle();

    const MonotonicClock& clock_;
    bool running_ = false;
    std::int64_t startedAt_ = 0;   // the clock's reading at the last start
    std::int64_t keptMillis_ = 0;  // counted before the last start
    bool counted_ = false;         // started at least once since zero
    std::vector<Lap> laps_;
};

// A count of hundredths as "00:01:02.35".
std::string lapTimeText(std::int64_t hundredths);
// The laps as text to copy, the newest first, one a line: "Lap 2<tab>00:00:05.20<tab>00:00:17.45".
std::string lapsText(const std::vector<Lap>& laps);

}  // namespace tavrin
