#pragma once
// tavrinctl: one function per command; each gets the arguments after the command name and returns
// the process exit status. Output goes to `out`, messages to `err`.
#include <ostream>
#include <string>
#include <vector>

namespace tavrin::ctl {

using Args = std::vector<std::string>;

int cmdSettings(const Args& args, std::ostream& out, std::ostream& err);
int cmdFormat(const Args& args, std::ostream& out, std::ostream& err);
int cmdZones(const Args& args, std::ostream& out, std::ostream& err);
int cmdTime(const Args& args, std::ostream& out, std::ostream& err);
int cmdReminders(const Args& args, std::ostream& out, std::ostream& err);
// reminders add / delete / --enable / --disable, reached through cmdReminders.
int cmdReminderChange(const Args& args, std::ostream& out, std::ostream& err);

// Escapes backslash, tab, CR, LF and NUL as \\ \t \r \n \0 so that one value stays on one line.
std::string escapeText(const std::string& text, bool escapeNul = true);

}  // namespace tavrin::ctl
