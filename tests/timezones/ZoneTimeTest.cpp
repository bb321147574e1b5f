#include <gtest/gtest.h>

#include "timezones/ZoneTime.h"

namespace tavrin {
namespace {

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return DateTime::fromFields(y, mo, d, h, mi, s);
}

SystemTime rule(int month, int weekday, int week, int hour, int year = 0) {
    SystemTime t;
    t.wYear = static_cast<std::uint16_t>(year);
    t.wMonth = static_cast<std::uint16_t>(month);
    t.wDayOfWeek = static_cast<std::uint16_t>(weekday);
    t.wDay = static_cast<std::uint16_t>(week);
    t.wHour = static_cast<std::uint16_t>(hour);
    return t;
}

// Central Europe: daylight from the last Sunday of March 02:00 to the last Sunday of October 03:00.
ZoneRecord centralEurope() {
    ZoneRecord z;
    z.Bias = -60;
    z.DaylightBias = -60;
    z.DaylightDate = rule(3, 0, 5, 2);
    z.StandardDate = rule(10, 0, 5, 3);
    return z;
}

// New South Wales: daylight from the first Sunday of October 02:00 to the first Sunday of April 03:00.
ZoneRecord sydney() {
    ZoneRecord z;
    z.Bias = -600;
    z.DaylightBias = -60;
    z.DaylightDate = rule(10, 0, 1, 2);
    z.StandardDate = rule(4, 0, 1, 3);
    return z;
}

TEST(NthWeekdayOfMonth, FindsTheOccurrenceOrTheLast) {
    EXPECT_EQ(NthWeekdayOfMonth(2026, 2, 0, 5), at(2026, 2, 22));  // four Sundays: the fourth
    EXPECT_EQ(NthWeekdayOfMonth(2026, 3, 0, 5), at(2026, 3, 29));  // five Sundays: the fifth
    EXPECT_EQ(NthWeekdayOfMonth(2026, 3, 0, 1), at(2026, 3, 1));
    EXPECT_EQ(NthWeekdayOfMonth(2026, 12, 4, 5), at(2026, 12, 31));  // never runs into January
    EXPECT_EQ(NthWeekdayOfMonth(2024, 2, 4, 5), at(2024, 2, 29));    // the leap day counts
    EXPECT_EQ(NthWeekdayOfMonth(2026, 3, 7, 1), DateTime{});         // no such weekday: the zero date
    EXPECT_EQ(NthWeekdayOfMonth(2026, 13, 0, 1), DateTime{});
}

TEST(IsDaylightNow, NorthernTransitionsToTheSecond) {
    const ZoneRecord cet = centralEurope();
    // Starts at 02:00 CET = 01:00 UTC on 29 March 2026; ends at 03:00 CEST = 01:00 UTC on 25 October.
    EXPECT_FALSE(IsDaylightNow(cet, at(2026, 3, 29, 0, 59, 59)));
    EXPECT_TRUE(IsDaylightNow(cet, at(2026, 3, 29, 1, 0, 0)));
    EXPECT_TRUE(IsDaylightNow(cet, at(2026, 10, 25, 0, 59, 59)));
    EXPECT_FALSE(IsDaylightNow(cet, at(2026, 10, 25, 1, 0, 0)));
    EXPECT_FALSE(IsDaylightNow(cet, at(2026, 12, 31, 23, 30, 0)));
}

TEST(IsDaylightNow, SouthernOrderSpansTheNewYear) {
    const ZoneRecord nsw = sydney();
    // Ends at 03:00 AEDT on 5 April 2026 = 16:00 UTC on the 4th; starts at 02:00 AEST on 4 October
    // = 16:00 UTC on the 3rd.
    EXPECT_TRUE(IsDaylightNow(nsw, at(2026, 4, 4, 15, 59, 59)));
    EXPECT_FALSE(IsDaylightNow(nsw, at(2026, 4, 4, 16, 0, 0)));
    EXPECT_FALSE(IsDaylightNow(nsw, at(2026, 10, 3, 15, 59, 59)));
    EXPECT_TRUE(IsDaylightNow(nsw, at(2026, 10, 3, 16, 0, 0)));
    EXPECT_TRUE(IsDaylightNow(nsw, at(2026, 12, 31, 14, 0, 0)));  // already 2027 on the local clock
    EXPECT_TRUE(IsDaylightNow(nsw, at(2027, 1, 15)));
}

TEST(IsDaylightNow, NoRuleFixedDatesAndEqualInstants) {
    ZoneRecord none = centralEurope();
    none.DaylightDate.wMonth = 0;
    EXPECT_FALSE(IsDaylightNow(none, at(2026, 7, 1)));
    EXPECT_FALSE(IsDaylightNow(ZoneRecord{}, at(2026, 7, 1)));

    // A fixed-date rule written for 2019 gives the same day in the year at hand.
    ZoneRecord fixedDays = centralEurope();
    fixedDays.DaylightDate = rule(3, 0, 27, 2, 2019);
    fixedDays.StandardDate = rule(10, 0, 25, 2, 2019);
    EXPECT_FALSE(IsDaylightNow(fixedDays, at(2026, 3, 27, 0, 59, 59)));
    EXPECT_TRUE(IsDaylightNow(fixedDays, at(2026, 3, 27, 1, 0, 0)));
    EXPECT_FALSE(IsDaylightNow(fixedDays, at(2026, 10, 25, 0, 0, 0)));

    // Midnight transitions count from their second, not from the whole day.
    ZoneRecord midnight = centralEurope();
    midnight.DaylightDate.wHour = 0;
    midnight.StandardDate.wHour = 0;
    EXPECT_TRUE(IsDaylightNow(midnight, at(2026, 3, 28, 23, 0, 0)));
    EXPECT_TRUE(IsDaylightNow(midnight, at(2026, 10, 24, 21, 59, 59)));
    EXPECT_FALSE(IsDaylightNow(midnight, at(2026, 10, 24, 22, 0, 0)));

    // Start and end at the same wall time: the period never closes.
    ZoneRecord equal;
    equal.DaylightBias = 0;
    equal.DaylightDate = rule(5, 0, 1, 0);
    equal.StandardDate = rule(5, 0, 1, 0);
    EXPECT_TRUE(IsDaylightNow(equal, at(2026, 5, 3)));
    EXPECT_TRUE(IsDaylightNow(equal, at(2026, 1, 1)));
}

TEST(ZoneTimeNow, StandardAndDaylightOffsetsCarryAcrossDays) {
    EXPECT_EQ(ZoneTimeNow(at(2026, 1, 10, 23, 30), centralEurope()), at(2026, 1, 11, 0, 30));
    EXPECT_EQ(ZoneTimeNow(at(2026, 7, 10, 23, 30), centralEurope()), at(2026, 7, 11, 1, 30));
    EXPECT_EQ(ZoneTimeNow(at(2026, 12, 31, 14, 0), sydney()), at(2027, 1, 1, 1, 0));
    ZoneRecord newfoundland;
    newfoundland.Bias = 210;
    EXPECT_EQ(ZoneTimeNow(at(2026, 1, 1, 2, 0, 7), newfoundland), at(2025, 12, 31, 22, 30, 7));
    // An unknown zone reads as the empty record: UTC itself.
    EXPECT_EQ(ZoneTimeNow(at(2026, 5, 5, 5, 5, 5), ZoneRecord{}), at(2026, 5, 5, 5, 5, 5));
}

TEST(UtcNow, ComesFromTheClockToTheSecond) {
    FakeClock clock(at(2026, 3, 29, 0, 59, 59), 60);
    clock.advanceMillis(999);
    EXPECT_EQ(UtcNow(clock), at(2026, 3, 29, 0, 59, 59));
    ZoneState state;
    state.LocalBias = 77;
    FillLocalBias(state, "/nonexistent-zoneinfo", clock);
    EXPECT_EQ(state.LocalBias, 0);
}

}  // namespace
}  // namespace tavrin
