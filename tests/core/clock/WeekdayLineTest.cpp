#include "core/clock/WeekdayLine.h"

#include <gtest/gtest.h>

#include "support/InstalledLocale.h"

namespace tavrin {
namespace {

// A date format without a year still gets its weekday line: the date is read in the current year.
TEST(WeekdayLine, ADateWithoutAYearIsReadInTheCurrentYear) {
    const DateTime today = DateTime::fromFields(2005, 3, 7, 21, 5, 0);
    EXPECT_EQ(weekdayLine("7 Mar", "d mmm", today), "Monday");
    EXPECT_EQ(weekdayLine("7 Mar", "d mmm", today.addDays(365)), "Tuesday");  // 2006
    EXPECT_EQ(weekdayLine("no date", "d mmm", today), std::nullopt);
    // The date line in the user's language gives the weekday in it.
    const CalendarNames de = test::installedLocaleNames("de_DE.UTF-8");
    EXPECT_EQ(weekdayLine("Mo, 7. März", "ddd, d. mmmm", today, de), "Montag");
}

}  // namespace
}  // namespace tavrin
