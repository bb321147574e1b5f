#pragma once
// A zone's UTC offset now and its next clock change, in one line of text for a world-time line's tool
// tip and for tavrinctl:
//
//   "UTC+01:00 now; clocks go forward 1 h on 29 Mar 2027 at 02:00"
//   "UTC+11:00 now; clocks go back 1 h on 5 Apr 2026 at 03:00"
//   "UTC+05:45 now; no clock changes"
//
// The offset is east of Greenwich ("UTC+00:00" for UTC itself, seconds added only where a zone's
// offset has them). The change says forward or back and by how much ("1 h", "30 min", "1 h 30 min"),
// and when: the day and the time on the zone's own wall clock just before the change, as its people
// would read it off their clocks. "no clock changes" stands for a zone without daylight time and for
// one that has no further change of offset in its data.
#include <optional>
#include <string>

#include "core/timezones/DateTime.h"
#include "core/timezones/Zone.h"
#include "core/timezones/ZoneCache.h"
#include "core/timezones/ZoneRecord.h"

namespace tavrin {

// The first change of the zone's offset after the UTC instant `utc`: from the zone's transitions for
// a tz zone, from the rule block otherwise. Nothing when the zone changes its clock no more.
std::optional<ClockChange> nextClockChange(const ZoneRecord& zone, const DateTime& utc, ZoneCache& zones);

// The line above for the zone at the UTC instant `utc`.
std::string zoneChangeText(const ZoneRecord& zone, const DateTime& utc, ZoneCache& zones);

}  // namespace tavrin
