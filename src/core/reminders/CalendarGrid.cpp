#include "core/reminders/CalendarGrid.h"

#include <string_view>

#include "core/reminders/ReminderRecord.h"
#include "core/timezones/FormatPattern.h"

namespace tavrin {

int CalendarGrid::firstCell(int month, int year) {
    return DateTime::fromFields(year, month, 1).weekday();
}

MonthYear CalendarGrid::previousMonth(int month, int year) {
    return month <= 1 ? MonthYear{12, year - 1} : MonthYear{month - 1, year};
}

MonthYear CalendarGrid::nextMonth(int month, int year) {
    return month >= 12 ? MonthYear{1, year + 1} : MonthYear{month + 1, year};
}

std::optional<int> CalendarGrid::cellOfDay(int day) const {
    if (day < 1 || day > daysInMonth(year_, month_)) return std::nullopt;
    return (firstCell(month_, year_) + day - 1) % kCells;
}

std::string CalendarGrid::dateTextOf(int day, const Settings& settings) const {
    return reminderDateText(DateTime::fromFields(year_, month_, day), settings.DateFormat);
}

void CalendarGrid::buildCal(int month, int year, const DateTime& today, const ReminderTable& table,
                            const Settings& settings) {
    // Out-of-range months carry into the year, as the civil arithmetic does everywhere else.
    const DateTime first = DateTime::fromFields(year, month, 1);
    month_ = first.month();
    year_ = first.year();
    title_ = formatPattern(first, "mmmm yyyy", settings.calendarNames);
    for (auto& cell : cells_) cell = CalendarCell{};
    fillDays(daysInMonth(year_, month_), first.weekday());
    markToday(month_, year_, today);
    addReminders(table, settings);
    weekNumber_ = today.weekOfYear();
}

void CalendarGrid::fillDays(int days, int first) {
    int k = first;
    for (int d = 1; d <= days; ++d) {
        cells_[static_cast<std::size_t>(k)].caption = std::to_string(d);
        if (++k == kCells) k = 0;
    }
}

void CalendarGrid::markToday(int month, int year, const DateTime& today) {
    if (today.month() != month || today.year() != year) return;
    const std::string day = std::to_string(today.day());
    for (auto& cell : cells_) {
        if (cell.caption == day) cell.today = true;
    }
}

void CalendarGrid::addReminders(const ReminderTable& table, const Settings& settings) {
    // A reminder is marked on the day whose date, in "DateFormat", is its stored date text.
    std::array<std::string, kCells> dayTexts;
    for (std::size_t k = 0; k < cells_.size(); ++k) {
        cells_[k].markers = 0;
        if (cells_[k].caption.empty()) continue;
        dayTexts[k] = dateTextOf(std::stoi(cells_[k].caption), settings);
    }
    for (int slot = 0; slot < kReminderSlots; ++slot) {
        const std::string& date = table.dates[slot];
        if (date.empty()) continue;
        for (std::size_t k = 0; k < cells_.size(); ++k) {
            if (!cells_[k].caption.empty() && dayTexts[k] == date) ++cells_[k].markers;
        }
    }
}

}  // namespace tavrin
