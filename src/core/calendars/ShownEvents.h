#pragma once
// What the calendars show: the events of the switched-on calendars in a window of time, read from the
// cache, with each calendar that could not be read named with its reason; the events of a day and the
// days that have some, in the user's zone; the next event; an event's time as the user reads it.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/calendars/CalendarCache.h"
#include "core/calendars/CalendarEvent.h"
#include "core/calendars/CalendarSubscription.h"
#include "core/timezones/DateTime.h"
#include "core/timezones/Zone.h"
#include "core/timezones/ZoneCache.h"

namespace tavrin {

struct CalendarProblem {
    std::string calendarId;
    std::string calendarName;
    std::string reason;
};

struct ShownEvents {
    // Sorted by start (then title).
    std::vector<CalendarEvent> events;
    // One calendar's damage never hides another's events: it is named here and the rest are shown.
    std::vector<CalendarProblem> problems;
};

// Where tz names in calendars are read, and the zone their all-day and floating times are taken in.
struct EventZones {
    const Zone& userZone;
    ZoneCache& zones;
    std::string zoneinfoDir;
};

// The occurrences overlapping [from, to) of every enabled calendar's cached resources.
ShownEvents loadShownEvents(const std::vector<CalendarSubscription>& calendars, const CalendarCache& cache,
                            std::int64_t from, std::int64_t to, const EventZones& zones);

// The days (DateTime::days() of the user's wall clock) that `events` touch, each with the ids of the
// calendars that have events then, in the order of the events' starts and each id once.
std::map<std::int64_t, std::vector<std::string>> eventDays(const std::vector<CalendarEvent>& events,
                                                           const Zone& userZone);
// The events that touch the user's day `day` (its date counts, not its time).
std::vector<CalendarEvent> eventsOfDay(const std::vector<CalendarEvent>& events, const DateTime& day,
                                       const Zone& userZone);
// The first event starting at or after `instant` (events sorted by start); nothing when none does.
std::optional<CalendarEvent> nextEventAfter(const std::vector<CalendarEvent>& events, std::int64_t instant);

// "2024-03-05" and "09:30", as event times are written.
std::string dateText(const DateTime& t);
std::string clockText(const DateTime& t);
// The user's wall clock at an instant.
DateTime userWallTime(std::int64_t instant, const Zone& zone);
// When the event is, as the user reads it: "2024-03-05 10:00 - 10:30" in the user's zone, with the
// event's own zone's clock named after it where that zone differs ("(16:00 - 16:30 Europe/Berlin)");
// "2024-03-05 all day", or "2024-03-05 - 2024-03-07" for all-day events of several days.
std::string eventTimeText(const CalendarEvent& event, const EventZones& zones);

}  // namespace tavrin
