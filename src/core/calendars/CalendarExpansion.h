#pragma once
// Reads iCalendar text with libical and expands its events into occurrences.
//
// libical keeps some state of its own for the whole process (its error state, its built-in zones);
// every call here holds one lock while it uses the library, so expansions may run on any thread.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Result.h"
#include "core/calendars/CalendarEvent.h"
#include "core/timezones/Zone.h"
#include "core/timezones/ZoneCache.h"

namespace tavrin {

// No event gives more occurrences than this in one window, however often it recurs.
inline constexpr int kMaxOccurrencesPerEvent = 10000;

// The occurrences of a calendar's text, sorted by start, and a reason for each event left out.
struct CalendarExpansion {
    std::vector<CalendarEvent> events;
    std::vector<std::string> skipped;
};

// The occurrences of the VEVENTs in `icsText` that overlap [from, to) (Unix seconds): recurrences
// (RRULE, RDATE, EXDATE) expanded, RECURRENCE-ID overrides applied, cancelled ones dropped, times in
// any zone turned into instants, all-day and floating times taken in `userZone`. A TZID that names a
// zone of the tz database in `zoneinfoDir` is read through `zones`; any other is read from the text's
// own VTIMEZONE. The text may hold several VCALENDARs (a CalDAV calendar's resources, one after the
// other). Text that is not iCalendar at all is a failure with a reason; a calendar with a few damaged
// events gives the rest, and says why each was left out.
Result<CalendarExpansion> expandCalendarReporting(std::string_view icsText, std::string_view calendarId,
                                                  std::int64_t from, std::int64_t to, const Zone& userZone,
                                                  ZoneCache& zones, const std::string& zoneinfoDir);

// The same for a caller without a zone cache of its own: zones come from $TZDIR, or else
// /usr/share/zoneinfo, read for this call alone.
Result<std::vector<CalendarEvent>> expandCalendar(std::string_view icsText, std::string_view calendarId,
                                                  std::int64_t from, std::int64_t to, const Zone& userZone);

}  // namespace tavrin
