#include <algorithm>

#include "core/base/Text.h"
#include "core/reminders/ReminderFile.h"
#include "core/reminders/ReminderTable.h"
#include "core/state/Paths.h"
#include "ctl/Commands.h"

namespace tavrin::ctl {
namespace {

constexpr const char* kListUsage =
    "Usage: tavrinctl reminders [--file PATH]\n"
    "       tavrinctl reminders add | delete | --enable | --disable ... (see tavrinctl --help)\n"
    "       tavrinctl reminders export | import FILE.ics [--file PATH]\n";

}  // namespace

// Lists the reminder file the way the program reads it at start; nothing is written, not even
// the copy that the program keeps of a file holding more than it can load.
int cmdReminders(const Args& args, std::ostream& out, std::ostream& err) {
    if (!args.empty() && (args[0] == "export" || args[0] == "import"))
        return cmdReminderCalendar(args, out, err);
    // Only the changes take free text, so a "--" leads there too.
    for (const std::string& a : args) {
        if (a == "--") break;
        if (a == "add" || a == "delete" || a == "--enable" || a == "--disable")
            return cmdReminderChange(args, out, err);
    }
    if (std::find(args.begin(), args.end(), "--") != args.end()) return cmdReminderChange(args, out, err);
    std::string path;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--file" && i + 1 < args.size()) {
            path = args[++i];
        } else if (args[i].rfind("--file=", 0) == 0) {
            path = args[i].substr(7);
        } else if (args[i] == "--file") {
            return usageError(err, "--file needs a path", kListUsage);
        } else {
            return usageError(err, "'" + args[i] + "' is not understood", kListUsage);
        }
    }
    if (path.empty()) path = Paths::fromEnvironment().reminderFile();

    ReminderTable table;
    const Result read = readReminders(table, path);
    if (!read.ok()) {
        err << "tavrinctl: " << read.message() << '\n';
        return 1;
    }
    const ReminderParseReport& report = *read;
    // A file in which nothing reads as a reminder (another program's, another encoding) is not an
    // empty list: say so, as the clock does before it keeps a copy of it.
    if (report.records == 0 && table.fileStamp.needsCopy) {
        err << "tavrinctl: nothing in " << path << " reads as a reminder\n";
        return 1;
    }
    for (int i = 0, end = occupiedSlots(table); i < end; ++i) {
        out << i << '\t' << escapeOnOneLine(table.titles[i]) << '\t' << escapeOnOneLine(table.dates[i])
            << '\t' << escapeOnOneLine(table.times[i]) << '\t' << escapeOnOneLine(table.enabled[i]) << '\t'
            << escapeOnOneLine(table.recurrences[i]) << '\t' << escapeOnOneLine(table.bodies[i]) << '\n';
    }
    if (report.overflow > 0) {
        err << "tavrinctl: " << report.overflow << " reminder(s) beyond the first 256 are not loaded\n";
    }
    if (report.untitled > 0) {
        err << "tavrinctl: " << report.untitled << " reminder(s) without a title are not loaded\n";
    }
    return 0;
}

}  // namespace tavrin::ctl
