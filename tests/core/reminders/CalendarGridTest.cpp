#include <map>

#include <gtest/gtest.h>

#include "core/reminders/CalendarGrid.h"
#include "support/ReminderTestSupport.h"

namespace tavrin {
namespace {

using test::putReminder;

const DateTime kToday = DateTime::fromFields(2005, 3, 7, 12, 0);

CalendarGrid build(int month, int year, const ReminderTable& table = ReminderTable{},
                   DateTime today = kToday) {
    CalendarGrid g;
    g.buildCal(month, year, today, table, test::defaultSettings());
    return g;
}

// The cell of each day, from the captions.
std::vector<int> cellsOfDays(const CalendarGrid& g) {
    std::vector<int> where(32, -1);
    for (int k = 0; k < CalendarGrid::kCells; ++k) {
        const std::string& c = g.cells()[static_cast<std::size_t>(k)].caption;
        if (!c.empty()) where[static_cast<std::size_t>(std::stoi(c))] = k;
    }
    return where;
}

// The cells where `field` is set, with its value.
std::map<int, int> cellsWith(const CalendarGrid& g, auto CalendarCell::*field) {
    std::map<int, int> out;
    for (int k = 0; k < CalendarGrid::kCells; ++k)
        if (const int v = static_cast<int>(g.cells()[static_cast<std::size_t>(k)].*field)) out[k] = v;
    return out;
}

TEST(CalendarGrid, MonthLayoutsWithTodayMarkedOnlyInItsMonth) {
    CalendarGrid march = build(3, 2005);
    EXPECT_EQ(march.title(), "March 2005");
    const auto m = cellsOfDays(march);
    for (int d = 1; d <= 31; ++d) EXPECT_EQ(m[static_cast<std::size_t>(d)], d + 1);
    for (int k : {0, 1, 33, 34}) EXPECT_TRUE(march.cells()[static_cast<std::size_t>(k)].caption.empty());
    EXPECT_EQ(cellsWith(march, &CalendarCell::today), (std::map<int, int>{{8, 1}}));
    EXPECT_TRUE(cellsWith(build(3, 2006), &CalendarCell::today).empty());

    const auto oct = cellsOfDays(build(10, 2005));  // 31 days starting on a Saturday
    EXPECT_EQ((std::vector<int>{oct[1], oct[29], oct[30], oct[31]}), (std::vector<int>{6, 34, 0, 1}));

    EXPECT_EQ(cellsOfDays(build(2, 2008))[29], 29 + 4);
    EXPECT_EQ(cellsOfDays(build(2, 2005))[29], -1);
    EXPECT_EQ(cellsOfDays(build(5, 2005))[1], 0);  // 1 May 2005 was a Sunday
}

// The grid once came from a day count that took every fourth year from 1900 as a leap year; the
// civil arithmetic must give the same grid wherever that count was right, and the right one beyond.
TEST(CalendarGrid, SameFirstCellAsTheOldDayCountFrom1901To2099AndRightOutside) {
    for (int year = 1901; year <= 2099; ++year) {
        long count = 0;
        for (int y = 1900; y < year; ++y) count += y % 4 == 0 ? 366 : 365;
        for (int month = 1; month <= 12; ++month) {
            ASSERT_EQ(CalendarGrid::firstCell(month, year), count % 7) << month << "/" << year;
            count += month == 2 ? (year % 4 == 0 ? 29 : 28) : daysInMonth(year, month);
        }
    }
    // Outside that range the weekdays are still right.
    EXPECT_EQ(CalendarGrid::firstCell(3, 1900), 4);  // 1 March 1900: Thursday
    EXPECT_EQ(CalendarGrid::firstCell(3, 2100), 1);  // 1 March 2100: Monday
    EXPECT_EQ(CalendarGrid::firstCell(1, 1600), 6);  // 1 January 1600: Saturday
    EXPECT_EQ(cellsOfDays(build(2, 2100))[29], -1);
    EXPECT_EQ(cellsOfDays(build(2, 2000))[29], 30);  // 1 February 2000: Tuesday
}

TEST(CalendarGrid, NavigationAcrossYearEndsAndTodaysWeek) {
    EXPECT_EQ(CalendarGrid::previousMonth(1, 2005), (MonthYear{12, 2004}));
    EXPECT_EQ(CalendarGrid::nextMonth(12, 2004), (MonthYear{1, 2005}));
    EXPECT_EQ(build(13, 2004).title(), "January 2005");
    EXPECT_EQ(build(7, 1999).weekNumber(), kToday.weekOfYear());  // today's, whatever month is shown
}

TEST(CalendarGrid, MarkersFollowStoredDates) {
    ReminderTable t;
    putReminder(t, 0, "Dentist", "03/12/05", "09:30:00");
    putReminder(t, 1, "Off", "03/12/05", "10:00:00", "0");
    putReminder(t, 2, "Other format", "12.03.2005", "10:00:00");
    putReminder(t, 3, "Next month", "04/12/05", "10:00:00");
    CalendarGrid g = build(3, 2005, t);
    EXPECT_EQ(cellsWith(g, &CalendarCell::markers), (std::map<int, int>{{13, 2}}));
    putReminder(t, 4, "Added", "03/31/05", "10:00:00");
    g.addReminders(t, test::defaultSettings());  // placed again, not doubled
    EXPECT_EQ(cellsWith(g, &CalendarCell::markers), (std::map<int, int>{{13, 2}, {32, 1}}));
}

}  // namespace
}  // namespace tavrin
