#pragma once
// tavrinctl: one function per command; each gets the arguments after the command name and returns
// the process exit status: 0 done, 1 a well-formed request that failed (the reason on `err`), 2 a
// command line that is not understood (the reason and the command's usage on `err`). Output goes to
// `out`.
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Result.h"
#include "core/state/Paths.h"
#include "core/sync/ReminderEvent.h"

namespace tavrin::ctl {

using Args = std::vector<std::string>;

int cmdSettings(const Args& args, std::ostream& out, std::ostream& err);
int cmdFormat(const Args& args, std::ostream& out, std::ostream& err);
int cmdZones(const Args& args, std::ostream& out, std::ostream& err);
int cmdTime(const Args& args, std::ostream& out, std::ostream& err);
int cmdPlan(const Args& args, std::ostream& out, std::ostream& err);
int cmdReminders(const Args& args, std::ostream& out, std::ostream& err);
// reminders add / delete / --enable / --disable, reached through cmdReminders.
int cmdReminderChange(const Args& args, std::ostream& out, std::ostream& err);
// reminders export / import FILE.ics, reached through cmdReminders.
int cmdReminderCalendar(const Args& args, std::ostream& out, std::ostream& err);
// The text of the user's setting `name`; "" when it is not stored or cannot be read.
std::string storedSetting(const char* name);
// The "DateFormat" the program writes reminder dates with: the user's setting, or its default.
std::string storedDateFormat();
// How reminders become events now: the stored date format, the machine's zone, the zone folder.
ReminderEventContext reminderEventContext(const Paths& paths);
// calendars add / refresh: subscribing and fetching.
int cmdCalendarFetch(const Args& args, std::ostream& out, std::ostream& err);
int cmdEvents(const Args& args, std::ostream& out, std::ostream& err);
// calendars list / remove N.
int cmdCalendars(const Args& args, std::ostream& out, std::ostream& err);
// sync / sync setup URL / sync setup --off: the calendar that holds the reminders, and a sync now.
int cmdSync(const Args& args, std::ostream& out, std::ostream& err);
// The id of the calendar that holds the reminders, "" for none.
std::string syncCalendarId();

// `args` without the first "--", which ends the options as with other command-line tools:
// `literalFrom` is where it stood, and the words from there on are never options, even when they
// start with dashes (a reminder titled "--today"). Without one, `literalFrom` is the end.
Args endOfOptions(const Args& args, std::size_t& literalFrom);

// Writes "tavrinctl: `why`" and then `usage` to `err`; returns 2.
int usageError(std::ostream& err, const std::string& why, std::string_view usage);
// Whether the zone folder `dir` can be listed, and why not.
Result<> zoneFolderReadable(const std::string& dir);

// The password for `user`'s login: TAVRIN_PASSWORD where set, else a line of standard input (asked
// without echo on a terminal).
std::string askPassword(const std::string& user, std::ostream& err);

}  // namespace tavrin::ctl
