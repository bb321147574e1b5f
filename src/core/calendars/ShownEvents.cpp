#include "core/calendars/ShownEvents.h"

#include <algorithm>
#include <cstdio>

#include "core/calendars/CalendarExpansion.h"

namespace tavrin {

std::string dateText(const DateTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.year(), t.month(), t.day());
    return text;
}

std::string clockText(const DateTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", t.hour(), t.minute());
    return text;
}

namespace {

// The instant the user's day `day` begins.
std::int64_t dayStart(std::int64_t day, const Zone& zone) {
    return zone.instantOf(DateTime::fromSerial(day, 0).toUnix());
}

bool touches(const CalendarEvent& e, std::int64_t from, std::int64_t to) {
    return e.start < to && (e.end > from || (e.end <= e.start && e.start >= from));
}

}  // namespace

ShownEvents loadShownEvents(const std::vector<CalendarSubscription>& calendars, const CalendarCache& cache,
                            std::int64_t from, std::int64_t to, const EventZones& zones) {
    ShownEvents shown;
    for (const CalendarSubscription& calendar : calendars) {
        if (!calendar.enabled) continue;
        const auto problem = [&](const std::string& reason) {
            shown.problems.push_back({calendar.id, calendar.name, reason});
        };
        const Result<CachedCalendar> cached = cache.read(calendar.id);
        if (!cached) {
            problem(cached.message());
            continue;
        }
        for (const auto& [address, resource] : cached->resources) {
            Result<CalendarExpansion> expanded = expandCalendarReporting(
                resource.icsText, calendar.id, from, to, zones.userZone, zones.zones, zones.zoneinfoDir);
            if (!expanded) {
                problem(address + ": " + expanded.message());
                continue;
            }
            for (const std::string& why : expanded->skipped) problem(address + ": " + why);
            for (CalendarEvent& e : expanded->events) shown.events.push_back(std::move(e));
        }
    }
    std::stable_sort(shown.events.begin(), shown.events.end(),
                     [](const CalendarEvent& a, const CalendarEvent& b) {
                         return a.start != b.start ? a.start < b.start : a.title < b.title;
                     });
    shown.events.shrink_to_fit();
    return shown;
}

DateTime userWallTime(std::int64_t instant, const Zone& zone) {
    return DateTime::fromUnix(instant + zone.offsetAt(instant));
}

std::map<std::int64_t, std::vector<std::string>> eventDays(const std::vector<CalendarEvent>& events,
                                                           const Zone& userZone) {
    std::map<std::int64_t, std::vector<std::string>> days;
    for (const CalendarEvent& e : events) {
        // The last day is the one holding the event's last second; an event of no length has its start's.
        const std::int64_t first = userWallTime(e.start, userZone).days();
        const std::int64_t last = userWallTime(std::max(e.start, e.end - 1), userZone).days();
        for (std::int64_t day = first; day <= last && day - first < 366; ++day) {
            std::vector<std::string>& ids = days[day];
            if (std::find(ids.begin(), ids.end(), e.calendarId) == ids.end()) ids.push_back(e.calendarId);
        }
    }
    return days;
}

std::vector<CalendarEvent> eventsOfDay(const std::vector<CalendarEvent>& events, const DateTime& day,
                                       const Zone& userZone) {
    const std::int64_t from = dayStart(day.days(), userZone);
    const std::int64_t to = dayStart(day.days() + 1, userZone);
    std::vector<CalendarEvent> found;
    for (const CalendarEvent& e : events)
        if (touches(e, from, to)) found.push_back(e);
    return found;
}

std::optional<CalendarEvent> nextEventAfter(const std::vector<CalendarEvent>& events, std::int64_t instant) {
    const auto next = std::find_if(events.begin(), events.end(),
                                   [&](const CalendarEvent& e) { return e.start >= instant; });
    if (next == events.end()) return std::nullopt;
    return *next;
}

std::string eventTimeText(const CalendarEvent& event, const EventZones& zones) {
    const DateTime start = userWallTime(event.start, zones.userZone);
    if (event.allDay) {
        const DateTime last = userWallTime(std::max(event.start, event.end - 1), zones.userZone);
        return dateText(start) + (last.days() == start.days() ? " all day" : " - " + dateText(last));
    }
    const DateTime end = userWallTime(event.end, zones.userZone);
    const auto span = [&](const DateTime& a, const DateTime& b, bool withDate) {
        std::string text = (withDate ? dateText(a) + " " : "") + clockText(a);
        if (b.toUnix() != a.toUnix())
            text += " - " + (b.days() != a.days() ? dateText(b) + " " : "") + clockText(b);
        return text;
    };
    std::string text = span(start, end, true);
    if (!event.zoneName.empty() && event.zoneName != zones.userZone.name())
        if (const Result<ZoneCache::ZonePtr> own = zones.zones.zone(zones.zoneinfoDir, event.zoneName))
            text += " (" + span(userWallTime(event.start, **own), userWallTime(event.end, **own), false) +
                    " " + event.zoneName + ")";
    return text;
}

}  // namespace tavrin
