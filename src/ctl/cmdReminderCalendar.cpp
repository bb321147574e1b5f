// tavrinctl reminders export FILE.ics / import FILE.ics: the reminders as an iCalendar file, and the
// events of one added as reminders, through the same locked update of the reminder file as every
// other change.
#include "core/reminders/ReminderFile.h"
#include "core/state/Paths.h"
#include "core/sync/ReminderCalendarFile.h"
#include "core/sync/ReminderSync.h"
#include "ctl/Commands.h"

namespace tavrin::ctl {
namespace {

constexpr const char* kCalendarUsage =
    "Usage: tavrinctl reminders export FILE.ics [--file PATH]\n"
    "       tavrinctl reminders import FILE.ics [--file PATH]\n";

}  // namespace

int cmdReminderCalendar(const Args& args, std::ostream& out, std::ostream& err) {
    std::string path;
    Args words;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--file") {
            if (i + 1 >= args.size()) return usageError(err, "--file needs a path", kCalendarUsage);
            path = args[++i];
        } else if (args[i].rfind("--file=", 0) == 0) {
            path = args[i].substr(7);
        } else {
            words.push_back(args[i]);
        }
    }
    if (words.size() != 2 || (words[0] != "export" && words[0] != "import"))
        return usageError(err, "export and import take one .ics file", kCalendarUsage);
    const Paths paths = Paths::fromEnvironment();
    if (path.empty()) path = paths.reminderFile();
    const ReminderEventContext context = reminderEventContext(paths);
    ReminderTable table;
    if (const Result read = readReminders(table, path); !read.ok()) {
        err << "tavrinctl: " << read.message() << '\n';
        return 1;
    }
    if (words[0] == "export") {
        const Result<ReminderExport> done =
            exportReminderCalendar(table, reminderUids(table, path), words[1], context);
        if (!done) {
            err << "tavrinctl: " << done.message() << '\n';
            return 1;
        }
        out << done->summary() << '\n';
        return 0;
    }
    const Result<ReminderImport> done = importReminderCalendar(table, path, words[1], context);
    if (!done) {
        err << "tavrinctl: " << done.message() << '\n';
        return 1;
    }
    out << done->summary() << '\n';
    return 0;
}

}  // namespace tavrin::ctl
