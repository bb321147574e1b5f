#pragma once
// One reminder's six fields, as the table and the file hold them.
#include <string>
#include <string_view>

#include "core/base/Text.h"
#include "core/reminders/ReminderTable.h"
#include "core/timezones/FormatPattern.h"

namespace tavrin {

struct ReminderRecord {
    std::string title;
    std::string date;     // in "DateFormat" as it was when written
    std::string time;     // "HH:MM:SS"
    std::string enabled;  // "1" or "0"
    std::string recur;    // "-1", "0" hourly, "1" daily, "2" weekly
    std::string body;

    static ReminderRecord fromSlot(const ReminderTable& table, int slot) {
        return {table.titles[slot],  table.dates[slot],       table.times[slot],
                table.enabled[slot], table.recurrences[slot], table.bodies[slot]};
    }
    void toSlot(ReminderTable& table, int slot) const {
        table.titles[slot] = title;
        table.dates[slot] = date;
        table.times[slot] = time;
        table.enabled[slot] = enabled;
        table.recurrences[slot] = recur;
        table.bodies[slot] = body;
    }
    friend bool operator==(const ReminderRecord&, const ReminderRecord&) = default;
};

// Whether a stored recurrence code makes the reminder recur: its leading whole number is above -1,
// so a hand-edited "-1.0" or " -1" is a reminder that happens once, and "1.0" one that recurs daily.
inline bool recurs(std::string_view recur) {
    return leadingWhole(recur) > -1;
}

// A reminder's date as it is stored and compared: the day in "DateFormat" with its time zeroed, so
// a format that shows a time as well still gives one text a day.
inline std::string reminderDateText(const DateTime& day, std::string_view dateFormat) {
    return formatPattern(day.date(), dateFormat);
}
// Stored or typed date text, its names English or of `names`, read as a day and written as above;
// text that is no date stays as it is.
inline std::string reminderDateOfText(std::string_view text, std::string_view dateFormat,
                                      const CalendarNames& names = CalendarNames::english()) {
    const auto day = readDateText(text, dateFormat, 0, names);
    return day ? reminderDateText(*day, dateFormat) : std::string(text);
}
// A stored date as the user reads it: in "DateFormat" with the weekdays and months of `names`.
inline std::string shownReminderDate(std::string_view stored, std::string_view dateFormat,
                                     const CalendarNames& names) {
    const auto day = readDateText(stored, dateFormat, 0, names);
    return day ? formatPattern(day->date(), dateFormat, names) : std::string(stored);
}

}  // namespace tavrin
