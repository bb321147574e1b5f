#include <gtest/gtest.h>

#include "timezones/DateTime.h"

using tavrin::DateTime;

TEST(DateTime, OriginIsSerialZero) {
    const DateTime t = DateTime::fromFields(1899, 12, 30);
    EXPECT_EQ(t.days(), 0);
    EXPECT_EQ(t.weekday(), 6);  // a Saturday
}

TEST(DateTime, CarriesEveryFieldAcrossYearEnd) {
    const DateTime t = DateTime::fromFields(2004, 12, 31, 23, 59, 60);
    EXPECT_EQ(t.year(), 2005);
    EXPECT_EQ(t.month(), 1);
    EXPECT_EQ(t.day(), 1);
    EXPECT_EQ(t.hour(), 0);
    EXPECT_EQ(DateTime::fromFields(2005, 13, 1).month(), 1);
    EXPECT_EQ(DateTime::fromFields(2005, 3, 0).day(), 28);
    EXPECT_EQ(DateTime::fromFields(2005, 1, 1, 0, -1).year(), 2004);
}

TEST(DateTime, OleDateRoundTripsIncludingNegativeDays) {
    const DateTime t = DateTime::fromFields(2005, 3, 7, 21, 5, 0);
    EXPECT_EQ(DateTime::fromOleDate(t.toOleDate()), t);
    EXPECT_NEAR(t.toOleDate(), 38418.878472, 1e-6);
    const DateTime before = DateTime::fromOleDate(-1.25);
    EXPECT_EQ(before, DateTime::fromFields(1899, 12, 29, 6, 0, 0));
    EXPECT_DOUBLE_EQ(before.toOleDate(), -1.25);
}

TEST(DateTime, CoversYears100To9999) {
    const DateTime first = DateTime::fromFields(100, 1, 1);
    const DateTime last = DateTime::fromFields(9999, 12, 31, 23, 59, 59);
    EXPECT_EQ(first.year(), 100);
    EXPECT_EQ(last.year(), 9999);
    EXPECT_EQ(DateTime::fromOleDate(first.toOleDate()), first);
    EXPECT_EQ(DateTime::fromOleDate(last.toOleDate()), last);
    EXPECT_EQ(DateTime::fromFields(2005, 1, 31).addMonths(1), DateTime::fromFields(2005, 2, 28));
}

TEST(DateTime, IsoTextReadsOnlyTheFullValidForm) {
    EXPECT_EQ(DateTime::fromIsoText("2005-03-07 21:05:09"), DateTime::fromFields(2005, 3, 7, 21, 5, 9));
    EXPECT_EQ(DateTime::fromIsoText("2004-02-29 00:00:00"), DateTime::fromFields(2004, 2, 29));
    for (const char* bad :
         {"", "2005-03-07", "2005-03-07 21:05", "2005-02-29 00:00:00", "2005-13-01 00:00:00",
          "2005-03-07 24:00:00", "2005-03-07 23:60:00", "2005-03-07T21:05:09", "2005/03/07 21:05:09",
          " 2005-03-07 21:05:09", "0099-03-07 21:05:09", "2005-03-07 21:05:0x"}) {
        EXPECT_EQ(DateTime::fromIsoText(bad), std::nullopt) << bad;
    }
}

TEST(DateTime, WeekOfYearCountsSundays) {
    EXPECT_EQ(DateTime::fromFields(2005, 1, 1).weekOfYear(), 1);
    EXPECT_EQ(DateTime::fromFields(2005, 1, 2).weekOfYear(), 2);
    EXPECT_EQ(DateTime::fromFields(2005, 3, 7).weekOfYear(), 11);
    EXPECT_EQ(DateTime::fromFields(2005, 12, 31).weekOfYear(), 53);
    EXPECT_EQ(DateTime::fromFields(2000, 12, 31).weekOfYear(), 54);  // leap year starting on Saturday
    EXPECT_EQ(DateTime::fromFields(2006, 1, 7).weekOfYear(), 1);     // year starting on Sunday
}
