#pragma once
// The stopwatch's count: hours, minutes, seconds and hundredths of real elapsed time, taken from a
// monotonic clock, so the count is right however late the window's refreshes come.
#include <cstdint>
#include <string>

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

class Stopwatch {
  public:
    // 24 hours, where the count stops by itself.
    static constexpr std::int64_t kLimitHundredths = 24LL * 60 * 60 * 100;

    explicit Stopwatch(const MonotonicClock& clock) : clock_(clock) {}

    // Starts, or resumes from the stopped count. Nothing changes while it runs already.
    void start();
    // Stops and keeps the count.
    void stop();
    // Stops at zero.
    void reset();
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
};

}  // namespace tavrin
