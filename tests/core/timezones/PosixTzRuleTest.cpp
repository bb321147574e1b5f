#include <gtest/gtest.h>

#include <tuple>

#include "core/timezones/DateTime.h"
#include "core/timezones/PosixTzRule.h"

namespace tavrin {
namespace {

PosixTzRule parsed(const char* text) {
    PosixTzRule rule;
    std::string error;
    EXPECT_TRUE(parsePosixTz(text, rule, error)) << text << ": " << error;
    return rule;
}

// What the zones of the system's database read (Jerusalem's hours past the day, Chatham's minutes,
// Dublin's negative saving) is checked against the C library with every zone; these forms are not.
TEST(PosixTzRule, ReadsFormsTheDatabaseDoesNotUse) {
    const auto plain = parsed("<+0545>-5:45");
    EXPECT_FALSE(plain.hasDst);
    EXPECT_EQ(plain.standard.abbreviation, "+0545");
    EXPECT_EQ(plain.standard.utcOffset, 5 * 3600 + 45 * 60);
    const auto defaults = parsed("EST5EDT");  // dates left out: the traditional defaults
    EXPECT_EQ(defaults.daylight.utcOffset, -4 * 3600);
    EXPECT_EQ(std::tuple(defaults.start.month, defaults.end.month, defaults.end.week), std::tuple(3, 11, 1));
}

TEST(PosixTzRule, DaysOfTheThreeDateForms) {
    using K = PosixTzDate::Kind;
    const PosixTzDate j60{K::Julian1, 60}, n59{K::Julian0, 59};
    EXPECT_EQ(j60.dayNumber(2024), daysFromCivil(2024, 3, 1));  // J never counts 29 February
    EXPECT_EQ(j60.dayNumber(2026), daysFromCivil(2026, 3, 1));
    EXPECT_EQ(n59.dayNumber(2024), daysFromCivil(2024, 2, 29));
    EXPECT_EQ(n59.dayNumber(2026), daysFromCivil(2026, 3, 1));
    EXPECT_EQ((PosixTzDate{K::MonthWeekDay, 0, 3, 5, 0}).dayNumber(2026), daysFromCivil(2026, 3, 29));
    EXPECT_EQ((PosixTzDate{K::MonthWeekDay, 0, 3, 4, 4}).dayNumber(2026), daysFromCivil(2026, 3, 26));
}

TEST(PosixTzRule, RejectsWhatIsNoRule) {
    PosixTzRule rule;
    std::string error;
    for (const char* bad :
         {"", "CE", "CET", "CET-1CEST,M13.1.0,M10.5.0", "<+03", "<+03>", "CET-1CEST,M3.5.0",
          "CET-1CEST,M3.5.0,M10.5.0/3x", "CET-1CEST,J0,J365", "CET-99", "CET-1CEST,M3.6.0,M10.5.0",
          "CET-1CEST,M3.5.7,M10.5.0", "CET-1CEST,M3.5.0/200,M10.5.0"}) {
        EXPECT_FALSE(parsePosixTz(bad, rule, error)) << bad;
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace tavrin
