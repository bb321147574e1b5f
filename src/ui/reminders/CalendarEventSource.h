#pragma once
// The subscribed calendars' events as the reminder windows show them beside the reminders: the
// calendar marks the days that have some, the day list names them. Whoever loads the calendars
// provides this; the windows only read it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/calendars/CalendarEvent.h"
#include "core/calendars/CalendarSubscription.h"

namespace tavrin {

class CalendarEventSource {
  public:
    virtual ~CalendarEventSource() = default;

    // The switched-on calendars' occurrences that touch the local day (in the user's zone), by start.
    virtual std::vector<CalendarEvent> eventsOnDay(int year, int month, int day) const = 0;
    // The calendar an event came from, while it is in the list.
    virtual std::optional<CalendarSubscription> calendarOf(const std::string& calendarId) const = 0;
    // How an event's time reads in the user's zone ("15:00-16:00", "All day"), its own zone named
    // when it differs.
    virtual std::string timeTextOf(const CalendarEvent& event) const = 0;
    // Fetches every switched-on calendar again, in the background.
    virtual void refreshAll() = 0;
    // A month about to be shown: its events are loaded, in the background when they were not yet.
    virtual void coverMonth(int year, int month) = 0;
};

}  // namespace tavrin
