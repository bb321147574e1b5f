#include <gtest/gtest.h>

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

std::int64_t unixAt(int y, int mo, int d, int h = 0, int mi = 0) {
    return DateTime::fromFields(y, mo, d, h, mi, 0).toUnix();
}

TEST(PosixTzRule, ReadsTheAwkwardFootersOfTodaysDatabase) {
    const auto jerusalem = parsed("IST-2IDT,M3.4.4/26,M10.5.0");
    EXPECT_EQ(jerusalem.start.time, 26 * 3600);
    EXPECT_EQ(jerusalem.end.time, 2 * 3600);  // no time given: 02:00
    EXPECT_EQ(parsed("<-02>2<-01>,M3.5.0/-1,M10.5.0/0").start.time, -3600);
    EXPECT_EQ(parsed("EET-2EEST,M3.4.4/50,M10.4.4/50").end.time, 50 * 3600);

    const auto chatham = parsed("<+1245>-12:45<+1345>,M9.5.0/2:45,M4.1.0/3:45");
    EXPECT_EQ(chatham.standard.utcOffset, 12 * 3600 + 45 * 60);
    EXPECT_EQ(chatham.daylight.abbreviation, "+1345");
    EXPECT_EQ(chatham.start.time, 2 * 3600 + 45 * 60);

    EXPECT_EQ(parsed("<+1030>-10:30<+11>-11,M10.1.0,M4.1.0").daylight.utcOffset, 11 * 3600);
    EXPECT_EQ(parsed("<+00>0<+02>-2,M3.5.0/1,M10.5.0/3").daylight.utcOffset, 7200);

    // Dublin's winter time is its "daylight" time, one hour behind its standard time.
    const auto dublin = parsed("IST-1GMT0,M10.5.0,M3.5.0/1");
    EXPECT_EQ(dublin.standard.utcOffset, 3600);
    EXPECT_EQ(dublin.daylight.utcOffset, 0);
    EXPECT_EQ(dublin.typeAt(unixAt(2026, 1, 15)).abbreviation, "GMT");
    EXPECT_EQ(dublin.typeAt(unixAt(2026, 7, 15)).abbreviation, "IST");

    const auto plain = parsed("<+0545>-5:45");
    EXPECT_FALSE(plain.hasDst);
    EXPECT_EQ(plain.standard.abbreviation, "+0545");
    EXPECT_EQ(parsed("EST5EDT").end.month, 11);  // dates left out: the traditional defaults
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

TEST(PosixTzRule, TransitionInstantsHonourHoursBeyondTheDay) {
    // Jerusalem 2026: the Thursday 26 March at 26:00 is Friday 02:00, 00:00 UTC.
    const auto t = parsed("IST-2IDT,M3.4.4/26,M10.5.0").transitionsInYear(2026);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].at, unixAt(2026, 3, 27, 0));
    EXPECT_EQ(t[1].at, unixAt(2026, 10, 24, 23));
    // Nuuk: Saturday 23:00 local, before the last Sunday.
    EXPECT_EQ(parsed("<-02>2<-01>,M3.5.0/-1,M10.5.0/0").transitionsInYear(2026)[0].at,
              unixAt(2026, 3, 29, 1));
    // Southern order: the year's first change ends daylight time.
    const auto sydney = parsed("AEST-10AEDT,M10.1.0,M4.1.0/3");
    EXPECT_FALSE(sydney.transitionsInYear(2026)[0].type.isDst);
    EXPECT_TRUE(sydney.typeAt(unixAt(2026, 1, 1)).isDst);
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
