#pragma once
// The rows that the reminder manager and the day list show, and the day list's choice of slots.
#include <optional>
#include <string>
#include <vector>

#include "core/reminders/ReminderRow.h"
#include "core/reminders/ReminderTable.h"
#include "core/settings/Settings.h"

namespace tavrin {

ReminderRow reminderRow(const ReminderTable& table, int slot, const Settings& settings);

// A reminder's line in an announcement balloon: its time in "TimeFormat", " - " and its title. The day
// list finds a clicked line's reminders by the same text.
std::string balloonLine(const ReminderTable& table, int slot, const Settings& settings);

// One row per reminder from slot 0 up to the first free slot; none when slot 0 has no title or date.
std::vector<ReminderRow> managerRows(const ReminderTable& table, const Settings& settings);

struct DayList {
    std::vector<ReminderRow> rows;
    std::string message;  // the message of the last row
};

// The day list's slots: with a balloon line (more than 2 characters), those whose time in
// "TimeFormat", " - " and title give exactly that line; otherwise, with a date text (more than
// 2 characters), those whose stored date is exactly that text.
DayList dayListRows(const ReminderTable& table, const std::string& line, const std::string& dateText,
                    const Settings& settings);

// A line of an announcement balloon: the slot it was announced from, with that reminder's title and
// the line's text as they were then.
struct AnnouncedLine {
    int slot = -1;
    std::string title;
    std::string line;
};

// What a day list shows: the reminders of a clicked balloon line, or else those of a day.
struct DayListRequest {
    std::optional<AnnouncedLine> line;
    std::string dateText;  // a day in "DateFormat"
};

// The day list of a request. A balloon line lists the reminders whose line now reads as the line of
// the reminder it was announced from, so one moved on since (an hourly reminder) is still found; when
// that slot holds another reminder by now, the announced line's own text is looked for.
DayList dayListRows(const ReminderTable& table, const DayListRequest& request, const Settings& settings);

}  // namespace tavrin
