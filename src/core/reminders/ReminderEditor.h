#pragma once
// The reminder editor's rules: its first fields, the fields of a reminder being edited, and the
// conversion of the fields into a record.
#include <optional>
#include <string>
#include <string_view>

#include "core/base/Result.h"

#include "core/reminders/ReminderForm.h"
#include "core/reminders/ReminderRecord.h"
#include "core/reminders/ReminderTable.h"
#include "core/settings/Settings.h"
#include "core/timezones/DateTime.h"

namespace tavrin {

inline constexpr const char* kReminderFormError =
    "An unexpected error has occured, you may not have filled in the form.";

// A new reminder: now's hour (0 to 23) and minute without leading zeros, "AM" or "PM" by now,
// today's date in "DateFormat" as the user reads it, enabled, not recurring.
ReminderForm newReminderForm(const DateTime& now, const Settings& settings);

// The fields of the reminder in `slot`: the stored date as the user reads it (shownReminderDate),
// the hour on the 12-hour clock ("09"),
// the minute as a number, AM/PM, the recurrence as a choice.
ReminderForm editReminderForm(const ReminderTable& table, int slot, const Settings& settings);

// The editor's save: the record ready to store, or nothing for a form without a title (the editor
// just closes, with no message). All three time fields empty, or a time that is no time of day,
// gives the form error; a double quote in the title, date or message is refused (it would cut the
// value short on the next load), and so is a date that is no day in "DateFormat".
Result<std::optional<ReminderRecord>> recordFromForm(const ReminderForm& form, const Settings& settings);

// Whether `text` is a day the due check can find: it reads as a date in `dateFormat`, or it is what
// a format without a year (or with the weekday only) writes for some day, which comes round again.
// Any other text would be stored as it is and never come due.
bool isReminderDate(std::string_view text, std::string_view dateFormat,
                    const CalendarNames& names = CalendarNames::english());

// Hour, minute and AM/PM text as "HH:MM:SS", or empty when they are no time of day. An hour of
// 1 to 12 follows the 12-hour clock when AM or PM is given; 0 and 13 to 23 are read as 24-hour.
std::string reminderTimeFromFields(const std::string& hour, const std::string& minute,
                                   const std::string& amPm);

}  // namespace tavrin
