// tavrinctl reminders add / delete / --enable / --disable: the reminder editor's own operations and
// refusals, over the file shared with a running clock (each change is made to what the file holds
// when it is made, under the file's lock).
#include <memory>
#include <optional>

#include "core/base/Text.h"
#include "core/reminders/ReminderEditing.h"
#include "core/reminders/ReminderEditor.h"
#include "core/reminders/ReminderFile.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsLoader.h"
#include "core/state/Paths.h"
#include "core/store/StoreAccess.h"
#include "core/timezones/FormatPattern.h"
#include "core/timezones/LocaleNames.h"
#include "ctl/Commands.h"
#include "platform/FileStore.h"

namespace tavrin::ctl {
namespace {

constexpr const char* kChangeUsage =
    "Usage: tavrinctl reminders add TITLE DATE TIME [--recur none|hourly|daily|weekly] [--body TEXT] "
    "[--file PATH]\n"
    "       tavrinctl reminders add [OPTIONS] -- TITLE DATE TIME   (no word after \"--\" is an option)\n"
    "       tavrinctl reminders delete N [--file PATH]\n"
    "       tavrinctl reminders --enable N | --disable N [--file PATH]\n";

int report(const ReminderChange& change, const ReminderTable& table, std::ostream& out, std::ostream& err,
           const std::string& done) {
    if (change.stored) {
        out << done << '\n';
        if (!change.message().empty()) err << "tavrinctl: " << change.message() << '\n';
        return 0;
    }
    if (change.ok()) {
        out << done << " already\n";
        return 0;
    }
    // The editor's words for a full table speak of its form; here the table is the reason.
    if (change.message() == kReminderFormError && occupiedSlots(table) == kReminderSlots) {
        err << "tavrinctl: the reminder file already holds " << kReminderSlots
            << " reminders, as many as it can; nothing was added\n";
    } else {
        err << "tavrinctl: " << change.message() << '\n';
    }
    return 1;
}

}  // namespace

int cmdReminderChange(const Args& commandLine, std::ostream& out, std::ostream& err) {
    std::string path;
    std::string recur = "none";
    std::string body;
    Args words;
    std::size_t literalFrom = 0;
    const Args args = endOfOptions(commandLine, literalFrom);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i >= literalFrom) {
            words.push_back(a);
            continue;
        }
        const bool takesValue =
            a == "--file" || a == "--recur" || a == "--body" || a == "--enable" || a == "--disable";
        if (takesValue && i + 1 >= literalFrom) return usageError(err, a + " needs a value", kChangeUsage);
        if (a == "--file") {
            path = args[++i];
        } else if (a == "--recur") {
            recur = args[++i];
        } else if (a == "--body") {
            body = args[++i];
        } else if (a == "--enable" || a == "--disable") {
            words.push_back(a);
            words.push_back(args[++i]);
        } else if (a.rfind("--", 0) == 0) {
            return usageError(err, "unknown option '" + a + "'", kChangeUsage);
        } else {
            words.push_back(a);
        }
    }
    if (path.empty()) path = Paths::fromEnvironment().reminderFile();
    const std::string verb = words.empty() ? std::string() : words[0];
    const bool add = verb == "add";
    if (!add && verb != "delete" && verb != "--enable" && verb != "--disable")
        return usageError(
            err, verb.empty() ? "no reminders command given" : "'" + verb + "' is not a reminders command",
            kChangeUsage);
    if (words.size() != (add ? 4u : 2u))
        return usageError(
            err, "'" + verb + "' takes " + (add ? "a title, a date and a time" : "one reminder number"),
            kChangeUsage);
    if (add && recur != "none" && recur != "hourly" && recur != "daily" && recur != "weekly")
        return usageError(err, "--recur takes none, hourly, daily or weekly", kChangeUsage);
    const int n = add ? 0 : digitsNumber(words[1], 3).value_or(-1);
    if (n < 0)
        return usageError(err, "\"" + words[1] + "\" is no reminder number (see tavrinctl reminders)",
                          kChangeUsage);

    ReminderTable table;
    if (const Result read = readReminders(table, path); !read.ok()) {
        err << "tavrinctl: " << read.message() << '\n';
        return 1;
    }

    if (add) {
        const Settings settings = [] {
            Settings s;
            s.DateFormat = storedDateFormat();
            s.calendarNames = calendarNamesFromEnvironment();
            return s;
        }();
        // A date or time that cannot be read is a word of the command line not understood: the file
        // is not touched.
        const std::string& date = words[2];
        if (!isReminderDate(date, settings.DateFormat, settings.calendarNames))
            return usageError(err,
                              "\"" + date + "\" cannot be read as a date (the date format is " +
                                  settings.DateFormat + "); nothing was added",
                              kChangeUsage);
        const std::optional<int> minute = readMinuteOfDay(words[3], settings.DateFormat);
        if (!minute)
            return usageError(err, "\"" + words[3] + "\" cannot be read as a time of day; nothing was added",
                              kChangeUsage);
        ReminderForm form;
        form.title = words[1];
        form.date = date;
        form.hour = std::to_string(*minute / 60);
        form.minute = std::to_string(*minute % 60);
        form.message = body;
        form.enabled = true;
        form.recurring = recur != "none";
        form.recurChoice = recur == "hourly" ? 0 : recur == "daily" ? 1 : recur == "weekly" ? 2 : -1;
        if (form.title.empty()) {
            err << "tavrinctl: a reminder needs a title; nothing was added\n";
            return 1;
        }
        const ReminderChange change = addReminder(table, form, settings, path);
        return report(change, table, out, err, "added as " + std::to_string(change.slot));
    }

    if (n >= occupiedSlots(table)) {
        err << "tavrinctl: there is no reminder " << n << "; the file holds " << occupiedSlots(table) << '\n';
        return 1;
    }
    if (verb == "delete") return report(deleteReminder(table, n, path), table, out, err, "deleted");
    return report(setReminderEnabled(table, n, verb == "--enable", path), table, out, err,
                  verb == "--enable" ? "enabled" : "disabled");
}

}  // namespace tavrin::ctl
