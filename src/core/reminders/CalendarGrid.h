#pragma once
// The month calendar as data: 35 day cells (five weeks, Sunday first), today's mark, the reminder
// markers, the title and today's week number. Cell k is in row k / 7 and column k % 7. A month
// that needs a sixth week puts its last days into the first row's empty cells.
#include <array>
#include <optional>
#include <string>

#include "core/reminders/CalendarCell.h"
#include "core/reminders/ReminderTable.h"
#include "core/settings/Settings.h"
#include "core/timezones/DateTime.h"

namespace tavrin {

struct MonthYear {
    int month = 1;
    int year = 2000;
    friend bool operator==(const MonthYear&, const MonthYear&) = default;
};

class CalendarGrid {
  public:
    static constexpr int kCells = 35;

    // Fills the grid for a month, marks today when it lies in that month, places the markers.
    void buildCal(int month, int year, const DateTime& today, const ReminderTable& table,
                  const Settings& settings);
    // Places the markers again from the table (after a reminder changed).
    void addReminders(const ReminderTable& table, const Settings& settings);

    const std::array<CalendarCell, kCells>& cells() const { return cells_; }
    int month() const { return month_; }
    int year() const { return year_; }
    const std::string& title() const { return title_; }  // "mmmm yyyy"
    int weekNumber() const { return weekNumber_; }       // of today, whatever month is shown

    // The cell that holds `day` of the shown month; nothing when the month has no such day.
    std::optional<int> cellOfDay(int day) const;
    // The shown month's `day` in "DateFormat": how reminders of that day store their date.
    std::string dateTextOf(int day, const Settings& settings) const;

    // The cell of day 1: its weekday, 0 = Sunday.
    static int firstCell(int month, int year);
    static MonthYear previousMonth(int month, int year);
    static MonthYear nextMonth(int month, int year);

  private:
    void fillDays(int days, int first);
    void markToday(int month, int year, const DateTime& today);

    std::array<CalendarCell, kCells> cells_{};
    int month_ = 1;
    int year_ = 2000;
    std::string title_;
    int weekNumber_ = 1;
};

}  // namespace tavrin
