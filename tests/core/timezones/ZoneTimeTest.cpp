#include <gtest/gtest.h>

#include "core/timezones/ZoneTime.h"
#include "support/FakeClock.h"

namespace tavrin {
namespace {

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return DateTime::fromFields(y, mo, d, h, mi, s);
}

SystemTime rule(int month, int weekday, int week, int hour, int year = 0) {
    using U = std::uint16_t;
    return {U(year), U(month), U(weekday), U(week), U(hour)};
}

ZoneRecord zone(int bias, SystemTime daylight, SystemTime standard) {
    ZoneRecord z;
    z.Bias = bias;
    z.DaylightBias = -60;
    z.DaylightDate = daylight;
    z.StandardDate = standard;
    return z;
}

// Daylight time from the last Sunday of March 02:00 to the last Sunday of October 03:00.
const ZoneRecord kCentralEurope = zone(-60, rule(3, 0, 5, 2), rule(10, 0, 5, 3));
// Daylight time from the first Sunday of October 02:00 to the first Sunday of April 03:00.
const ZoneRecord kSydney = zone(-600, rule(10, 0, 1, 2), rule(4, 0, 1, 3));

TEST(NthWeekdayOfMonth, FindsTheOccurrenceOrTheLast) {
    EXPECT_EQ(nthWeekdayOfMonth(2026, 2, 0, 5), at(2026, 2, 22));  // four Sundays: the fourth
    EXPECT_EQ(nthWeekdayOfMonth(2026, 3, 0, 5), at(2026, 3, 29));  // five Sundays: the fifth
    EXPECT_EQ(nthWeekdayOfMonth(2026, 3, 0, 1), at(2026, 3, 1));
    EXPECT_EQ(nthWeekdayOfMonth(2026, 12, 4, 5), at(2026, 12, 31));  // never runs into January
    EXPECT_EQ(nthWeekdayOfMonth(2024, 2, 4, 5), at(2024, 2, 29));    // the leap day counts
    EXPECT_EQ(nthWeekdayOfMonth(2026, 3, 7, 1), DateTime{});         // no such weekday: the zero date
    EXPECT_EQ(nthWeekdayOfMonth(2026, 13, 0, 1), DateTime{});
}

TEST(RuleIsDaylightAt, TransitionsToTheSecond) {
    // A fixed-date rule written for 2019 gives the same day in the year at hand.
    const ZoneRecord fixedDays = zone(-60, rule(3, 0, 27, 2, 2019), rule(10, 0, 25, 2, 2019));
    // Midnight transitions count from their second, not from the whole day.
    const ZoneRecord midnight = zone(-60, rule(3, 0, 5, 0), rule(10, 0, 5, 0));
    // Start and end at the same wall time: the period never closes.
    ZoneRecord equal = zone(0, rule(5, 0, 1, 0), rule(5, 0, 1, 0));
    equal.DaylightBias = 0;
    ZoneRecord noRule = kCentralEurope;
    noRule.DaylightDate.wMonth = 0;
    const struct {
        const ZoneRecord& zone;
        DateTime utc;
        bool daylight;
    } cases[] = {
        // clang-format off
        // The catalogue's own zones are read at their changes in its tests; these are not.
        // Southern order spans the new year: ends 03:00 AEDT on 5 April 2026 = 16:00 UTC on the 4th,
        // starts 02:00 AEST on 4 October = 16:00 UTC on the 3rd; 14:00 UTC on 31 December is 2027 there.
        {kSydney, at(2026, 4, 4, 15, 59, 59), true},   {kSydney, at(2026, 4, 4, 16, 0, 0), false},
        {kSydney, at(2026, 12, 31, 14, 0, 0), true},   {kSydney, at(2027, 1, 15), true},
        {noRule, at(2026, 7, 1), false},               {ZoneRecord{}, at(2026, 7, 1), false},
        {fixedDays, at(2026, 3, 27, 0, 59, 59), false}, {fixedDays, at(2026, 3, 27, 1, 0, 0), true},
        {fixedDays, at(2026, 10, 25, 0, 0, 0), false},  {midnight, at(2026, 3, 28, 23, 0, 0), true},
        {midnight, at(2026, 10, 24, 21, 59, 59), true}, {midnight, at(2026, 10, 24, 22, 0, 0), false},
        {equal, at(2026, 5, 3), true},                  {equal, at(2026, 1, 1), true}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "bias " << c.zone.Bias << " at " << c.utc.year() << "-" << c.utc.month() << "-"
                     << c.utc.day() << " " << c.utc.hour() << ":" << c.utc.minute());
        EXPECT_EQ(ruleIsDaylightAt(c.zone, c.utc), c.daylight);
    }
}

TEST(UtcNow, ComesFromTheClockToTheSecond) {
    test::FakeClock clock(at(2026, 3, 29, 0, 59, 59), 60);
    clock.advanceMillis(999);
    EXPECT_EQ(utcNow(clock), at(2026, 3, 29, 0, 59, 59));
    ZoneState state;
    state.LocalBias = 77;
    fillLocalBias(state, "/nonexistent-zoneinfo", clock, *state.zoneCache);
    EXPECT_EQ(state.LocalBias, 0);
}

}  // namespace
}  // namespace tavrin
