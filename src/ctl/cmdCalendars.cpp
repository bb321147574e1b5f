// tavrinctl events and tavrinctl calendars list / remove: the subscribed calendars as the clock reads
// them, from the settings and the cache on disk (nothing is fetched here).
#include <memory>
#include <optional>

#include "core/base/Text.h"
#include "core/calendars/CalendarList.h"
#include "core/calendars/ShownEvents.h"
#include "core/settings/SettingsLoader.h"
#include "core/state/Paths.h"
#include "core/timezones/ClockService.h"
#include "core/timezones/MachineZone.h"
#include "ctl/Commands.h"
#include "platform/FileStore.h"

namespace tavrin::ctl {
namespace {

constexpr const char* kEventsUsage = "Usage: tavrinctl events [--from YYYY-MM-DD] [--days N]\n";
constexpr const char* kCalendarsUsage =
    "Usage: tavrinctl calendars list\n"
    "       tavrinctl calendars remove N\n";
constexpr int kMaxDays = 3660;

std::string minuteText(const DateTime& t) {
    return dateText(t) + " " + clockText(t);
}

// The calendars of the settings root, with a note on stderr for each entry that cannot be read.
// None is an empty list: a user who never set Tavrin up subscribed to nothing.
Result<std::vector<CalendarSubscription>> storedCalendars(Store& store, std::optional<Root> root,
                                                          std::ostream& err) {
    if (!root) return std::vector<CalendarSubscription>{};
    Result<CalendarListReading> reading = readCalendarListReporting(store, *root);
    if (!reading) return reading.why();
    for (const std::string& why : reading->skipped) err << "tavrinctl: " << why << '\n';
    return std::move(reading->calendars);
}

// The zone the clock shows as local: the machine's. A machine zone the folder lacks reads as UTC.
ZoneCache::ZonePtr userZone(ZoneCache& zones, const std::string& zoneinfoDir) {
    return zones.zone(zoneinfoDir, machineZoneId(zoneinfoDir))
        .valueOr(std::make_shared<const Zone>(Zone::utc()));
}

std::string fetchState(const CachedCalendar& cached, const Zone& zone) {
    const auto when = [&](std::int64_t at) { return minuteText(userWallTime(at, zone)); };
    std::string state;
    if (cached.failedAt != 0 && cached.failedAt >= cached.fetchedAt)
        state = "failed " + when(cached.failedAt) + ": " + cached.lastFailure;
    if (cached.fetchedAt != 0)
        state += (state.empty() ? "fetched " : "; last fetched ") + when(cached.fetchedAt);
    return state.empty() ? "never fetched" : state;
}

int listCalendars(Store& store, std::optional<Root> root, std::ostream& out, std::ostream& err) {
    const Paths paths = Paths::fromEnvironment();
    const Result<std::vector<CalendarSubscription>> calendars = storedCalendars(store, root, err);
    if (!calendars) {
        err << "tavrinctl: the calendars cannot be read: " << calendars.message() << '\n';
        return 1;
    }
    ZoneCache zones;
    const ZoneCache::ZonePtr zone = userZone(zones, paths.zoneinfoDir);
    const CalendarCache cache(paths.calendarCacheDir());
    int number = 0;
    for (const CalendarSubscription& calendar : *calendars) {
        const Result<CachedCalendar> cached = cache.read(calendar.id);
        out << ++number << '\t' << escapeOnOneLine(calendar.name) << '\t' << escapeOnOneLine(calendar.address)
            << '\t' << (calendar.enabled ? "on" : "off") << '\t'
            << (cached ? fetchState(*cached, *zone) : "cache unreadable: " + cached.message()) << '\n';
    }
    return 0;
}

int removeCalendar(Store& store, std::optional<Root> root, const std::string& numberText, std::ostream& out,
                   std::ostream& err) {
    const std::optional<int> number = digitsNumber(numberText, 4);
    if (!number || *number < 1)
        return usageError(
            err,
            "\"" + escapeOnOneLine(numberText) + "\" is no calendar number (see tavrinctl calendars list)",
            kCalendarsUsage);
    Result<std::vector<CalendarSubscription>> calendars = storedCalendars(store, root, err);
    if (!calendars) {
        err << "tavrinctl: the calendars cannot be read: " << calendars.message() << '\n';
        return 1;
    }
    if (static_cast<std::size_t>(*number) > calendars->size()) {
        err << "tavrinctl: there is no calendar " << *number << " (there are " << calendars->size() << ")\n";
        return 1;
    }
    const CalendarSubscription gone = (*calendars)[static_cast<std::size_t>(*number - 1)];
    calendars->erase(calendars->begin() + (*number - 1));
    if (const Result<> written = writeCalendarList(store, *root, *calendars); !written) {
        err << "tavrinctl: the calendar list cannot be written: " << written.message() << '\n';
        return 1;
    }
    out << "removed calendar " << *number << " (" << escapeOnOneLine(gone.name) << ")\n";
    // The subscription is gone; a cache left behind is only space, so its failure is said, not fatal.
    if (const Result<> forgotten = CalendarCache(Paths::fromEnvironment().calendarCacheDir()).remove(gone.id);
        !forgotten)
        err << "tavrinctl: the calendar's cache stays: " << forgotten.message() << '\n';
    return 0;
}

}  // namespace

int cmdEvents(const Args& args, std::ostream& out, std::ostream& err) {
    std::optional<DateTime> firstDay;
    int days = 8;  // today and the next seven
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option != "--from" && option != "--days")
            return usageError(err, "'" + escapeOnOneLine(option) + "' is not understood", kEventsUsage);
        if (i + 1 == args.size()) return usageError(err, option + " needs a value", kEventsUsage);
        const std::string& value = args[++i];
        if (option == "--from") {
            firstDay = DateTime::fromIsoText(value + " 00:00:00");
            if (!firstDay || value.size() != 10)
                return usageError(err,
                                  "'" + escapeOnOneLine(value) + "' is not a date of the form YYYY-MM-DD",
                                  kEventsUsage);
        } else {
            const std::optional<int> n = digitsNumber(value, 4);
            if (!n || *n < 1 || *n > kMaxDays)
                return usageError(err, "--days takes a number of days from 1 to " + std::to_string(kMaxDays),
                                  kEventsUsage);
            days = *n;
        }
    }
    const Paths paths = Paths::fromEnvironment();
    std::unique_ptr<Store> store = makeLinuxStore(paths, {});
    const Result<std::vector<CalendarSubscription>> calendars =
        storedCalendars(*store, chooseSettingsRoot(*store), err);
    if (!calendars) {
        err << "tavrinctl: the calendars cannot be read: " << calendars.message() << '\n';
        return 1;
    }
    ZoneCache zones;
    const ZoneCache::ZonePtr zone = userZone(zones, paths.zoneinfoDir);
    const EventZones eventZones{*zone, zones, paths.zoneinfoDir};
    if (!firstDay) firstDay = userWallTime(SystemClock().unixMillis() / 1000, *zone);
    const std::int64_t from = zone->instantOf(DateTime::fromSerial(firstDay->days(), 0).toUnix());
    const std::int64_t to = zone->instantOf(DateTime::fromSerial(firstDay->days() + days, 0).toUnix());
    const ShownEvents shown =
        loadShownEvents(*calendars, CalendarCache(paths.calendarCacheDir()), from, to, eventZones);

    const auto nameOf = [&](const std::string& id) {
        for (const CalendarSubscription& c : *calendars)
            if (c.id == id) return c.name;
        return id;
    };
    for (const CalendarEvent& e : shown.events) {
        const DateTime start = userWallTime(e.start, *zone);
        // An all-day event ends on its last day, not at the midnight after it.
        const DateTime end = userWallTime(e.allDay ? std::max(e.start, e.end - 1) : e.end, *zone);
        out << (e.allDay ? dateText(start) : minuteText(start)) << '\t'
            << (e.allDay ? dateText(end) : minuteText(end)) << '\t' << escapeOnOneLine(e.title) << '\t'
            << escapeOnOneLine(nameOf(e.calendarId)) << '\n';
    }
    for (const CalendarProblem& problem : shown.problems)
        err << "tavrinctl: calendar \"" << escapeOnOneLine(problem.calendarName) << "\": " << problem.reason
            << '\n';
    return shown.problems.empty() ? 0 : 1;
}

int cmdCalendars(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return usageError(err, "'calendars' needs list or remove N", kCalendarsUsage);
    const Paths paths = Paths::fromEnvironment();
    std::unique_ptr<Store> store = makeLinuxStore(paths, {});
    const std::optional<Root> root = chooseSettingsRoot(*store);
    if (args[0] == "list") {
        if (args.size() != 1) return usageError(err, "'calendars list' takes no arguments", kCalendarsUsage);
        return listCalendars(*store, root, out, err);
    }
    if (args[0] == "remove") {
        if (args.size() != 2)
            return usageError(err, "'calendars remove' takes one calendar number", kCalendarsUsage);
        return removeCalendar(*store, root, args[1], out, err);
    }
    return usageError(err, "'" + escapeOnOneLine(args[0]) + "' is not understood", kCalendarsUsage);
}

}  // namespace tavrin::ctl
