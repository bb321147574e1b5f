#include "core/utilities/Stopwatch.h"

#include <gtest/gtest.h>

#include "support/FakeMonotonicClock.h"

namespace tavrin {
namespace {

std::string shown(Stopwatch& w) {
    const StopwatchTexts t = w.texts();
    return t.hours + ":" + t.minutes + ":" + t.seconds + " " + t.hundredths;
}

struct StopwatchTest : ::testing::Test {
    test::FakeMonotonicClock clock;
    Stopwatch watch{clock};
};

TEST_F(StopwatchTest, ShowsRealElapsedTime) {
    EXPECT_EQ(shown(watch), "00:00:00 00");
    const struct {
        std::int64_t elapsedMs;
        const char* display;
    } cases[] = {
        {0, "00:00:00 0"},  {9, "00:00:00 0"},  // not yet a hundredth
        {10, "00:00:00 1"}, {1'000, "00:00:01 0"}, {61'230, "00:01:01 23"}, {86'399'990, "23:59:59 99"},
    };
    std::int64_t at = 0;
    watch.start();
    for (const auto& c : cases) {
        clock.advance(c.elapsedMs - at);
        at = c.elapsedMs;
        EXPECT_EQ(shown(watch), c.display) << c.elapsedMs << " ms";
    }
    EXPECT_TRUE(watch.running());
}

TEST_F(StopwatchTest, StopKeepsTheCountStartResumesItAndResetStopsAtZero) {
    watch.start();
    clock.advance(1'500);
    watch.stop();
    clock.advance(10'000);  // not counted while stopped
    EXPECT_EQ(shown(watch), "00:00:01 50");
    watch.start();
    clock.advance(700);
    watch.start();  // a second Start changes nothing
    clock.advance(300);
    EXPECT_EQ(shown(watch), "00:00:02 50");
    watch.stop();
    watch.stop();
    EXPECT_EQ(watch.hundredths(), 250);
    // Reset, even while running, stops at zero.
    watch.start();
    watch.reset();
    EXPECT_FALSE(watch.running());
    EXPECT_EQ(shown(watch), "00:00:00 00");
}

TEST_F(StopwatchTest, StopsByItselfAtTwentyFourHours) {
    watch.start();
    clock.advance(25LL * 3600 * 1000);  // no refresh came for a long while
    EXPECT_FALSE(watch.running());
    EXPECT_EQ(shown(watch), "24:00:00 0");
    watch.start();  // nothing more to count: it does not run
    EXPECT_FALSE(watch.running());

    // Stopped just short of the limit, then resumed past it.
    watch.reset();
    watch.start();
    clock.advance(24LL * 3600 * 1000 - 10);
    watch.stop();
    EXPECT_EQ(shown(watch), "23:59:59 99");
    watch.start();
    clock.advance(1'000);
    EXPECT_EQ(shown(watch), "24:00:00 0");
}

// Laps from the same count: each its own time and the total, only while counting, at most 999;
// Reset forgets them. The copied text lists the newest first.
TEST_F(StopwatchTest, LapsKeepTheirOwnTimeAndTheTotal) {
    EXPECT_FALSE(watch.lap());  // not counting yet
    watch.start();
    clock.advance(1'230);
    EXPECT_TRUE(watch.lap());
    clock.advance(61'005);
    watch.stop();
    EXPECT_FALSE(watch.lap());
    watch.start();
    EXPECT_TRUE(watch.lap());
    EXPECT_EQ(watch.laps(), (std::vector<Lap>{{123, 123}, {6100, 6223}}));
    EXPECT_EQ(lapsText(watch.laps()), "Lap 2\t00:01:01.00\t00:01:02.23\nLap 1\t00:00:01.23\t00:00:01.23\n");
    while (watch.lap()) clock.advance(10);
    EXPECT_EQ(watch.laps().size(), Stopwatch::kMaxLaps);
    watch.reset();
    EXPECT_TRUE(watch.laps().empty());
}

}  // namespace
}  // namespace tavrin
