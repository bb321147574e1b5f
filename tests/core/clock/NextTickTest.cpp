// The clocks wake just after each wall-clock second or minute, before 1970 as after it, and each
// second only while a text they show has seconds.
#include "core/clock/NextTick.h"

#include <gtest/gtest.h>

#include "core/clock/TickPace.h"

namespace tavrin {
namespace {

TEST(NextTick, LandsJustAfterTheNextWholeSecondOrMinute) {
    constexpr auto S = TickPace::EachSecond;
    constexpr auto M = TickPace::EachMinute;
    const struct {
        std::int64_t unixMillis;
        TickPace pace;
        int wait;
    } cases[] = {
        {0, S, 1000 + kTickLagMs},                               // on the second: the next one, not this one
        {999, S, 1 + kTickLagMs},      {-1, S, 1 + kTickLagMs},  // 1969-12-31 23:59:59.999
        {-1000, S, 1000 + kTickLagMs}, {0, M, 60'000 + kTickLagMs},  // on the minute: the next one
        {kTickLagMs, M, 60'000},  // a tick that came on time waits a whole minute
        {59'999, M, 1 + kTickLagMs},   {-1, M, 1 + kTickLagMs},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(millisToNextTick(c.unixMillis, c.pace), c.wait) << c.unixMillis;
        EXPECT_EQ(nextTickAt(c.unixMillis, c.pace), c.unixMillis + c.wait) << c.unixMillis;
    }
}

TEST(TickPace, SecondsOnlyWhereAPatternWritesThem) {
    const struct {
        const char* pattern;
        bool seconds;
    } cases[] = {
        {"h:mm AM/PM", false},    // no seconds field
        {"h:mm:ss AM/PM", true},  // a seconds field
        {"hh:mm:s", true},        // one "s" is seconds too
        {"nn:Ss", true},          // any case
        {"h:mm 'ss'", false},     // quoted: written as it stands
        {"h:mm Tuesday", true},   // unquoted, the "s" of a word writes seconds as well
    };
    for (const auto& c : cases) EXPECT_EQ(patternShowsSeconds(c.pattern), c.seconds) << c.pattern;

    Settings s;
    s.TimeFormat = "h:mm AM/PM";
    s.DateFormat = "mm/dd/yy hh:mm:ss";  // the date line is the day alone: its seconds stay 00
    EXPECT_EQ(clockTickPace(s), TickPace::EachMinute);
    s.TimeFormat = "h:mm:ss AM/PM";
    EXPECT_EQ(clockTickPace(s), TickPace::EachSecond);
}

}  // namespace
}  // namespace tavrin
