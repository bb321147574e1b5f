#pragma once
// Reads iCalendar text with libical and expands its events into occurrences.
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/base/Result.h"
#include "core/calendars/CalendarEvent.h"
#include "core/timezones/Zone.h"

namespace tavrin {

// The occurrences of the VEVENTs in `icsText` that overlap [from, to) (Unix seconds): recurrences
// (RRULE, RDATE, EXDATE) expanded, RECURRENCE-ID overrides applied, times in any zone (VTIMEZONE or a
// tz name) turned into instants, all-day and floating times taken in `userZone`. Text that is not
// iCalendar at all is a failure with a reason; a calendar with a few damaged events gives the rest.
Result<std::vector<CalendarEvent>> expandCalendar(std::string_view icsText, std::string_view calendarId,
                                                  std::int64_t from, std::int64_t to, const Zone& userZone);

}  // namespace tavrin
