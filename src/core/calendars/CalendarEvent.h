#pragma once
// One occurrence of a subscribed calendar's event, expanded from its recurrence, in UTC instants.
#include <cstdint>
#include <string>
#include <vector>

namespace tavrin {

struct CalendarEvent {
    std::string calendarId;
    std::string uid;
    // The occurrence's own start as the event gives it (RECURRENCE-ID value), so an override and an
    // announcement can name one occurrence.
    std::int64_t occurrenceKey = 0;
    std::string title;
    std::string location;
    // Unix seconds. An all-day event runs from the start of its first day to the start of the day
    // after its last, both as midnights in the user's zone.
    std::int64_t start = 0;
    std::int64_t end = 0;
    bool allDay = false;
    // The tz name the event was written in ("" for UTC or floating times); shown when it differs from
    // the user's zone.
    std::string zoneName;
    // The instants (Unix seconds) its alarms go off, from its VALARM triggers.
    std::vector<std::int64_t> alarms;
};

}  // namespace tavrin
