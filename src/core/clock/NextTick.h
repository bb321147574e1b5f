#pragma once
// When a once-a-second timer fires next: a little after the wall clock's next whole second, so that
// the time read in the tick has already turned. Armed again from the wall clock at every tick, the
// timer catches a clock change or a resume within a second.
#include <cstdint>

namespace tavrin {

inline constexpr int kTickLagMs = 5;

// Milliseconds from `unixMillis` to kTickLagMs past the next whole second (from kTickLagMs + 1 to
// 1000 + kTickLagMs); instants before 1970 count the same way.
constexpr int millisToNextTick(std::int64_t unixMillis) {
    const std::int64_t intoSecond = ((unixMillis % 1000) + 1000) % 1000;
    return static_cast<int>(1000 - intoSecond + kTickLagMs);
}

}  // namespace tavrin
