#pragma once
// A zone's wall-clock time from a UTC instant. A record the catalogue built from a tz database zone
// follows that zone's own transitions, so every year comes out as the zone kept it, however often
// it changed its clocks; any other record follows its rule block. Every routine takes the instant it
// works on; none reads the clock behind the caller's back.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/timezones/ClockService.h"
#include "core/timezones/DateTime.h"
#include "core/timezones/ZoneCache.h"
#include "core/timezones/ZoneRecord.h"
#include "core/timezones/ZoneState.h"

namespace tavrin {

// The `occurrence`-th `weekday` (0 = Sunday .. 6) of `month` in `year` at 00:00; an occurrence past
// the month's count of that weekday gives the last one (so 5 means the last). The zero date
// (1899-12-30) when there is none, also for a month outside 1..12.
DateTime nthWeekdayOfMonth(int year, int month, int weekday, int occurrence);

// The UTC instants at which a zone's daylight period of `year` begins and ends. `valid` is false
// when the zone keeps no daylight time or its rule names no real day.
struct DaylightPeriod {
    bool valid = false;
    DateTime startUtc;  // the DaylightDate wall time, read in standard time
    DateTime endUtc;    // the StandardDate wall time, read in daylight time
};
DaylightPeriod daylightPeriodOf(const ZoneRecord& zone, int year);

// The tz zone a record follows, read through `zones`: nothing for a record that names no zone file,
// or one that cannot be read now; such a record keeps to its rule block, which the catalogue made
// from the same zone.
ZoneCache::ZonePtr followedZone(const ZoneRecord& record, ZoneCache& zones);

// Whether the zone keeps daylight time at the UTC instant `utc`, to the second. A tz zone answers
// from its transitions, daylight time being the later clock as in the catalogue's rule blocks.
// Otherwise the rule block answers (ruleIsDaylightAt).
bool isDaylightNow(const ZoneRecord& zone, const DateTime& utc, ZoneCache& zones);
// The rule block's answer: its rules are those of the year of the zone's local standard time at
// that instant. When daylight time starts before it ends in that year (northern order) it is in
// force from the start up to, not including, the end; otherwise (southern order) before the end and
// from the start on.
bool ruleIsDaylightAt(const ZoneRecord& zone, const DateTime& utc);

// The current UTC instant to the second.
DateTime utcNow(const ClockService& clock);

// The zone's wall-clock time at the UTC instant: UTC plus the offset in force for a tz zone; for any
// other record UTC less Bias, less DaylightBias while the zone keeps daylight time. The empty record
// (an unknown zone) gives UTC itself.
DateTime zoneTimeNow(const DateTime& utc, const ZoneRecord& zone, ZoneCache& zones);

// The machine zone's standard Bias in minutes (UTC = local standard time + Bias), read from the tz
// database in `zoneinfoDir`; 0 when the machine's zone cannot be read.
std::int32_t localBias(const std::string& zoneinfoDir, const ClockService& clock, ZoneCache& zoneFiles);
void fillLocalBias(ZoneState& zones, const std::string& zoneinfoDir, const ClockService& clock,
                   ZoneCache& zoneFiles);

}  // namespace tavrin
