#pragma once
// When the clock's timers fire next: a little after the wall clock's next whole second or minute, so
// that the time read in the tick has already turned. Armed again from the wall clock at every tick,
// a timer catches a clock change or a resume at its next tick at the latest.
//
// Minutes are counted on the Unix clock: every zone in use today is a whole number of minutes from
// UTC, so a Unix minute turns with the local one.
#include <cstdint>

namespace tavrin {

// How often what a window shows can change: each second when some text it shows has seconds, each
// minute otherwise.
enum class TickPace { EachSecond, EachMinute };

inline constexpr int kTickLagMs = 5;

constexpr std::int64_t tickPeriodMs(TickPace pace) {
    return pace == TickPace::EachSecond ? 1000 : 60'000;
}

// The moment, in Unix milliseconds, kTickLagMs past the next whole second or minute after
// `unixMillis` (a moment right on a boundary waits for the next one); instants before 1970 count
// the same way.
constexpr std::int64_t nextTickAt(std::int64_t unixMillis, TickPace pace = TickPace::EachSecond) {
    const std::int64_t period = tickPeriodMs(pace);
    const std::int64_t intoPeriod = ((unixMillis % period) + period) % period;
    return unixMillis - intoPeriod + period + kTickLagMs;
}

// Milliseconds from `unixMillis` to that moment: from kTickLagMs + 1 to one period + kTickLagMs.
constexpr int millisToNextTick(std::int64_t unixMillis, TickPace pace = TickPace::EachSecond) {
    return static_cast<int>(nextTickAt(unixMillis, pace) - unixMillis);
}

}  // namespace tavrin
