#include <gtest/gtest.h>

#include "core/timezones/DateTime.h"

using tavrin::DateTime;

TEST(DateTime, OriginCarriesRangeAndOleDates) {
    EXPECT_EQ(DateTime::fromFields(1899, 12, 30).days(), 0);
    EXPECT_EQ(DateTime::fromFields(1899, 12, 30).weekday(), 6);  // a Saturday
    // Every field carries, across the year end too.
    EXPECT_EQ(DateTime::fromFields(2004, 12, 31, 23, 59, 60), DateTime::fromFields(2005, 1, 1));
    EXPECT_EQ(DateTime::fromFields(2005, 13, 1), DateTime::fromFields(2006, 1, 1));
    EXPECT_EQ(DateTime::fromFields(2005, 3, 0).day(), 28);
    EXPECT_EQ(DateTime::fromFields(2005, 1, 1, 0, -1).year(), 2004);
    EXPECT_EQ(DateTime::fromFields(2005, 1, 31).addMonths(1), DateTime::fromFields(2005, 2, 28));
    for (const DateTime t : {DateTime::fromFields(100, 1, 1), DateTime::fromFields(9999, 12, 31, 23, 59, 59),
                             DateTime::fromFields(2005, 3, 7, 21, 5, 0)}) {
        EXPECT_EQ(DateTime::fromOleDate(t.toOleDate()), t) << t.year();
    }
    EXPECT_EQ(DateTime::fromFields(100, 1, 1).year(), 100);
    EXPECT_EQ(DateTime::fromFields(9999, 12, 31).year(), 9999);
    // OLE dates, negative days included.
    EXPECT_NEAR(DateTime::fromFields(2005, 3, 7, 21, 5, 0).toOleDate(), 38418.878472, 1e-6);
    const DateTime before = DateTime::fromOleDate(-1.25);
    EXPECT_EQ(before, DateTime::fromFields(1899, 12, 29, 6, 0, 0));
    EXPECT_DOUBLE_EQ(before.toOleDate(), -1.25);
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
    // 2005 begins on a Saturday; 2000, a leap year, too; 2006 on a Sunday.
    const std::pair<DateTime, int> cases[] = {
        {DateTime::fromFields(2005, 1, 1), 1},    {DateTime::fromFields(2005, 1, 2), 2},
        {DateTime::fromFields(2005, 3, 7), 11},   {DateTime::fromFields(2005, 12, 31), 53},
        {DateTime::fromFields(2000, 12, 31), 54}, {DateTime::fromFields(2006, 1, 7), 1}};
    for (const auto& [day, week] : cases) EXPECT_EQ(day.weekOfYear(), week) << day.year() << "-" << day.day();
}
