#include "core/reminders/ReminderList.h"

#include "core/reminders/ReminderRecord.h"
#include "core/timezones/FormatPattern.h"

namespace tavrin {

ReminderRow reminderRow(const ReminderTable& table, int slot, const Settings& settings) {
    ReminderRow row;
    row.title = table.titles[slot];
    row.date = shownReminderDate(table.dates[slot], settings.DateFormat, settings.calendarNames);
    row.time = formatPattern(std::string_view(table.times[slot]), settings.TimeFormat, settings.DateFormat,
                             settings.calendarNames);
    row.slot = slot;
    row.occurs = recurs(table.recurrences[slot]) ? "Yes" : "No";
    row.enabled = table.enabled[slot] == "1";
    return row;
}

std::string balloonLine(const ReminderTable& table, int slot, const Settings& settings) {
    return formatPattern(std::string_view(table.times[slot]), settings.TimeFormat, settings.DateFormat,
                         settings.calendarNames) +
           " - " + table.titles[slot];
}

std::vector<ReminderRow> managerRows(const ReminderTable& table, const Settings& settings) {
    std::vector<ReminderRow> rows;
    if (table.titles[0].empty() || table.dates[0].empty()) return rows;
    for (int i = 0, end = occupiedSlots(table); i < end; ++i) {
        rows.push_back(reminderRow(table, i, settings));
    }
    return rows;
}

DayList dayListRows(const ReminderTable& table, const std::string& line, const std::string& dateText,
                    const Settings& settings) {
    DayList list;
    if (table.titles[0].empty() && table.dates[0].empty()) return list;
    const bool byLine = line.size() > 2;
    const bool byDate = !byLine && dateText.size() > 2;
    if (!byLine && !byDate) return list;
    for (int i = 0; i < kReminderSlots; ++i) {
        if (table.titles[i].empty()) continue;  // free slots never match
        bool take = false;
        if (byLine) {
            take = balloonLine(table, i, settings) == line;
        } else {
            take = table.dates[i] == dateText;
        }
        if (!take) continue;
        list.rows.push_back(reminderRow(table, i, settings));
        list.message = table.bodies[i];
    }
    return list;
}

DayList dayListRows(const ReminderTable& table, const DayListRequest& request, const Settings& settings) {
    if (!request.line) return dayListRows(table, std::string(), request.dateText, settings);
    const AnnouncedLine& announced = *request.line;
    const bool stillThere = announced.slot >= 0 && announced.slot < kReminderSlots &&
                            !announced.title.empty() && table.titles[announced.slot] == announced.title;
    const std::string line = stillThere ? balloonLine(table, announced.slot, settings) : announced.line;
    return dayListRows(table, line, std::string(), settings);
}

}  // namespace tavrin
