#include <cstring>
#include <iostream>

#include "ctl/Commands.h"

namespace {

constexpr const char* kUsage =
    "Usage: tavrinctl COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  settings                      which root holds the settings, then every stored value\n"
    "  format [--] PATTERN [DATETIME]\n"
    "                                format DATETIME (\"YYYY-MM-DD HH:MM:SS\", local; default now)\n"
    "  zones                         every zone of the catalogue with its rule block\n"
    "  time ZONE [UTC ...]           the zone's wall-clock time at each UTC instant (default now),\n"
    "                                a tab, then its UTC offset and next clock change\n"
    "  plan WHEN [--from ZONE] [--find HOURS]\n"
    "                                every chosen zone at WHEN (\"YYYY-MM-DD HH:MM\" in your zone or\n"
    "                                in ZONE), marking working hours; --find lists the times of HOURS\n"
    "                                inside everyone's working hours in the week from WHEN\n"
    "  reminders [--file PATH]       the reminders of the data file, one line each, numbered from 0\n"
    "  reminders add TITLE DATE TIME [--recur none|hourly|daily|weekly] [--body TEXT]\n"
    "                                add a reminder (DATE in the settings' date format, TIME as 21:05)\n"
    "  reminders add [OPTIONS] -- TITLE DATE TIME\n"
    "                                the same, for a title that starts with dashes\n"
    "  reminders delete N            delete reminder N\n"
    "  reminders --enable N | --disable N\n"
    "                                switch reminder N on or off\n"
    "  reminders export FILE.ics     every reminder as an iCalendar event, in one file\n"
    "  reminders import FILE.ics     add the file's events that a reminder can express (once,\n"
    "                                hourly, daily, weekly), naming each one left out and why\n"
    "                                (every reminders command takes --file PATH; \"--\" ends the\n"
    "                                options of format and reminders, as with other tools)\n"
    "  calendars add ADDRESS [--name NAME] [--user USER] [--colour #RRGGBB]\n"
    "                                subscribe to a calendar: an .ics file, an http(s) or webcal\n"
    "                                feed, or a CalDAV calendar or server (its calendars are found;\n"
    "                                --name picks one); the password from TAVRIN_PASSWORD or asked\n"
    "  calendars refresh             fetch every calendar that is on and say how each went\n"
    "  events [--from YYYY-MM-DD] [--days N]\n"
    "                                the switched-on calendars' events from the cache (default today and\n"
    "                                the next 7 days): start, end, title and calendar, tab-separated\n"
    "  calendars list                the subscribed calendars, numbered from 1, with their last fetch\n"
    "  calendars remove N            unsubscribe calendar N and forget its cache\n"
    "  sync setup URL [--user USER]  keep the reminders in the CalDAV calendar at URL (the password\n"
    "                                from TAVRIN_PASSWORD or standard input); --off keeps them here\n"
    "  sync                          sync the reminders with that calendar now\n"
    "  --help                        this text\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace tavrin::ctl;
    if (argc < 2) return usageError(std::cerr, "no command given", kUsage);
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
        std::strcmp(argv[1], "help") == 0) {
        std::cout << kUsage;
        return 0;
    }
    const std::string command = argv[1];
    const Args args(argv + 2, argv + argc);
    if (command == "settings") return cmdSettings(args, std::cout, std::cerr);
    if (command == "format") return cmdFormat(args, std::cout, std::cerr);
    if (command == "zones") return cmdZones(args, std::cout, std::cerr);
    if (command == "time") return cmdTime(args, std::cout, std::cerr);
    if (command == "plan") return cmdPlan(args, std::cout, std::cerr);
    if (command == "reminders") return cmdReminders(args, std::cout, std::cerr);
    if (command == "calendars" && !args.empty() && (args[0] == "add" || args[0] == "refresh"))
        return cmdCalendarFetch(args, std::cout, std::cerr);
    if (command == "events") return cmdEvents(args, std::cout, std::cerr);
    if (command == "calendars") return cmdCalendars(args, std::cout, std::cerr);
    if (command == "sync") return cmdSync(args, std::cout, std::cerr);
    return usageError(std::cerr, "unknown command '" + command + "'", kUsage);
}
