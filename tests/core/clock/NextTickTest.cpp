// The once-a-second timers wake just after each wall-clock second, before 1970 as after it.
#include "core/clock/NextTick.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(NextTick, LandsJustAfterTheNextWholeSecond) {
    const struct {
        std::int64_t unixMillis;
        int wait;
    } cases[] = {
        {0, 1000 + kTickLagMs},  // on the second: the next one, not this one
        {1, 999 + kTickLagMs},      {999, 1 + kTickLagMs},      {1'700'000'000'123, 877 + kTickLagMs},
        {-1, 1 + kTickLagMs},  // 1969-12-31 23:59:59.999
        {-1000, 1000 + kTickLagMs}, {-1'500, 500 + kTickLagMs},
    };
    for (const auto& c : cases) EXPECT_EQ(millisToNextTick(c.unixMillis), c.wait) << c.unixMillis;
}

}  // namespace
}  // namespace tavrin
