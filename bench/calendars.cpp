// A large subscribed calendar read and expanded as the clock does it for the months it shows: 5,000
// events, 500 of them recurring (weekly or daily, some with struck-out days, some with moved or
// cancelled occurrences), written in several zones, expanded over three months. Once as one feed
// (one VCALENDAR), once as a CalDAV calendar's cache (one VCALENDAR per event, read from disk). The
// counters give the occurrences found, the bytes the expanded events hold, and how far the largest
// resident size grew over the first run.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/calendars/CalendarCache.h"
#include "core/calendars/CalendarExpansion.h"
#include "core/calendars/ShownEvents.h"
#include "core/state/Paths.h"
#include "support/TempDir.h"

namespace {

using namespace tavrin;

constexpr std::int64_t kFrom = 1711929600;  // 2024-04-01 00:00 UTC
constexpr std::int64_t kTo = kFrom + 91 * 86400;
const char* const kZones[] = {
    "Europe/Berlin", "America/New_York", "Asia/Tokyo", "Australia/Sydney", "", "UTC"};

std::string stamp(std::int64_t dayOffset, int hour, int minute) {
    const DateTime t = DateTime::fromUnix(kFrom + dayOffset * 86400 + hour * 3600 + minute * 60);
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d00", t.year(), t.month(), t.day(), t.hour(),
                  t.minute());
    return text;
}

std::string zoned(const char* property, int event, std::int64_t day, int hour, int minute) {
    const char* zone = kZones[event % 6];
    const std::string value = stamp(day, hour, minute);
    if (zone[0] == 0) return std::string(property) + ":" + value + "\r\n";  // floating
    if (std::string(zone) == "UTC") return std::string(property) + ":" + value + "Z\r\n";
    return std::string(property) + ";TZID=" + zone + ":" + value + "\r\n";
}

// The events, each a VEVENT (with its overrides) of its own.
std::vector<std::string> events() {
    std::vector<std::string> all;
    for (int i = 0; i < 5000; ++i) {
        const bool recurring = i % 10 == 0;
        // Recurring events start up to a year back; single ones fall over a year around the window.
        const std::int64_t day = recurring ? -(i % 365) : (i * 7919 % 365) - 120;
        const int hour = 7 + i % 12, minute = (i % 4) * 15;
        std::string e = "BEGIN:VEVENT\r\nUID:event-" + std::to_string(i) + "@bench\r\nSUMMARY:Event " +
                        std::to_string(i) + "\\, with a comma\r\nLOCATION:Room " + std::to_string(i % 40) +
                        "\r\n" + zoned("DTSTART", i, day, hour, minute) +
                        zoned("DTEND", i, day, hour + 1, minute);
        if (recurring) {
            e += i % 20 == 0 ? "RRULE:FREQ=DAILY\r\n" : "RRULE:FREQ=WEEKLY;BYDAY=MO,WE,FR\r\n";
            if (i % 30 == 0)
                e += zoned("EXDATE", i, day + 35, hour, minute) + zoned("EXDATE", i, day + 70, hour, minute);
        }
        if (i % 3 == 0) e += "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT15M\r\nEND:VALARM\r\n";
        e += "END:VEVENT\r\n";
        if (recurring && i % 40 == 0) {
            const std::int64_t moved = day + (i % 20 == 0 ? 91 + 364 : 0);  // within the window
            e += "BEGIN:VEVENT\r\nUID:event-" + std::to_string(i) + "@bench\r\nSUMMARY:Moved\r\n" +
                 zoned("RECURRENCE-ID", i, moved, hour, minute) +
                 zoned("DTSTART", i, moved, hour + 2, minute) + zoned("DTEND", i, moved, hour + 3, minute) +
                 "END:VEVENT\r\n";
        }
        all.push_back(std::move(e));
    }
    return all;
}

std::string wrapped(const std::string& body) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\n" + body + "END:VCALENDAR\r\n";
}

long peakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double bytesOf(const std::vector<CalendarEvent>& events) {
    double bytes = static_cast<double>(events.capacity() * sizeof(CalendarEvent));
    for (const CalendarEvent& e : events)
        for (const std::string* s : {&e.calendarId, &e.uid, &e.title, &e.location, &e.zoneName})
            bytes += s->capacity() > 15 ? static_cast<double>(s->capacity() + 1) : 0;
    for (const CalendarEvent& e : events)
        bytes += static_cast<double>(e.alarms.capacity() * sizeof(std::int64_t));
    return bytes;
}

void BM_ExpandOneFeed(benchmark::State& state) {
    std::string body;
    for (const std::string& e : events()) body += e;
    const std::string text = wrapped(body);
    const std::string dir = Paths::fromEnvironment().zoneinfoDir;
    ZoneCache zones;
    const ZoneCache::ZonePtr user = *zones.zone(dir, "Europe/London");
    const long before = peakRssKb();
    std::size_t found = 0;
    double bytes = 0;
    for (auto _ : state) {
        Result<CalendarExpansion> got = expandCalendarReporting(text, "bench", kFrom, kTo, *user, zones, dir);
        found = got->events.size();
        bytes = bytesOf(got->events);
        benchmark::DoNotOptimize(got);
    }
    state.counters["occurrences"] = static_cast<double>(found);
    state.counters["eventBytes"] = bytes;
    state.counters["peakRssGrowthKB"] = static_cast<double>(peakRssKb() - before);
    state.counters["textBytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ExpandOneFeed)->Unit(benchmark::kMillisecond);

void BM_LoadCalDavCache(benchmark::State& state) {
    test::TempDir folder("tavrin-bench");
    const CalendarCache cache(folder.file("calendars"));
    CachedCalendar cached;
    int n = 0;
    for (const std::string& e : events())
        cached.resources["/dav/cal/" + std::to_string(n++) + ".ics"] = {"\"etag\"", wrapped(e)};
    if (!cache.write("bench", cached)) state.SkipWithError("the cache cannot be written");
    const std::vector<CalendarSubscription> list = {
        {"bench", "Bench", "https://dav/", CalendarSource::CalDav, "", 0, true}};
    const std::string dir = Paths::fromEnvironment().zoneinfoDir;
    ZoneCache zones;
    const ZoneCache::ZonePtr user = *zones.zone(dir, "Europe/London");
    const EventZones eventZones{*user, zones, dir};
    std::size_t found = 0;
    for (auto _ : state) {
        ShownEvents shown = loadShownEvents(list, cache, kFrom, kTo, eventZones);
        found = shown.events.size();
        benchmark::DoNotOptimize(shown);
    }
    state.counters["occurrences"] = static_cast<double>(found);
}
BENCHMARK(BM_LoadCalDavCache)->Unit(benchmark::kMillisecond);

}  // namespace
