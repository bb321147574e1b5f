#pragma once
// Turns a tz database zone into the catalogue's rule block for one year: the 44-byte form holds one
// daylight period a year, so the zone's real timeline for the year is matched against it.
#include <cstdint>

#include "core/timezones/Zone.h"
#include "core/timezones/ZoneRecord.h"

namespace tavrin {

struct ZoneYearRule {
    // The rule block and the "Std" and "Dlt" names; the display texts are left empty.
    ZoneRecord record;
    // True when the zone's closing rule, the one it keeps after its listed changes, was used as it
    // stands (recurring dates, wYear 0); false when the block holds the year's actual transition days
    // (wYear = the year).
    bool recurring = false;
    // Seconds of the year (of the zone's local standard time) in which the block gives another wall
    // clock than the zone keeps: 0 except for years with more than one daylight period.
    std::int64_t mismatchSeconds = 0;
};

// The rule block for `year`. The daylight time is always the later clock (DaylightBias below 0): a
// zone whose tz data calls its winter time "daylight" (a negative saving) gets its summer time as
// daylight time and its winter time as standard time, which keeps every wall-clock reading right.
ZoneYearRule buildZoneYearRule(const Zone& zone, int year);

}  // namespace tavrin
