#pragma once
// One tz database zone, for the questions the world-time lines ask many times a second: the offset
// and wall clock at an instant, whether the zone keeps daylight time then, and its changes of clock.
//
// Daylight time has two senses. The tz data's own flag (isDstAt) is what the C library reports. The
// clock's daylight time (isDaylightAt) is always the later clock, as in the catalogue's rule blocks:
// where the tz data marks the winter clock as daylight time (a negative saving, as in Ireland since
// 1971 or in Morocco during Ramadan), that period counts as standard time and the summer clock
// around it as daylight time.
#include <cctz/time_zone.h>

#include <cstdint>
#include <optional>
#include <string>

#include "core/timezones/DateTime.h"

namespace tavrin {

// One change of a zone's wall clock: at UTC instant `at` the offset goes from `offsetBefore` to
// `offsetAfter` (seconds east of Greenwich).
struct ClockChange {
    std::int64_t at = 0;
    std::int32_t offsetBefore = 0;
    std::int32_t offsetAfter = 0;
};

class Zone {
  public:
    Zone(std::string name, cctz::time_zone zone);
    // The zone that is always UTC, which needs no file.
    static Zone utc();

    // The tz name ("Europe/Berlin").
    const std::string& name() const { return name_; }
    // The place the name ends with, as people write it ("Buenos Aires" for
    // "America/Argentina/Buenos_Aires").
    std::string displayName() const;

    // Seconds east of Greenwich in force at the UTC instant `utc`.
    std::int32_t offsetAt(std::int64_t utc) const;
    DateTime wallTimeAt(const DateTime& utc) const;
    // The abbreviation in use at `utc` ("CEST", "+0545").
    std::string abbreviationAt(std::int64_t utc) const;
    // The UTC instant of the wall-clock reading `wall` (seconds since 1970-01-01 00:00 read as a wall
    // clock). A reading the zone skips is read with the offset before the change, one it repeats is
    // its first instant, as calendars take them.
    std::int64_t instantOf(std::int64_t wall) const;
    // Whether the tz data calls the time at `utc` daylight time.
    bool isDstAt(std::int64_t utc) const;
    // Whether the zone keeps daylight time, the later clock, at `utc`.
    bool isDaylightAt(std::int64_t utc) const;
    // The offset of the zone's standard time at `utc`: the offset then outside daylight time, the
    // offset of the standard time beside it within.
    std::int32_t standardOffsetAt(std::int64_t utc) const;

    // The first change of offset after `utc`; nothing when the zone's data promises none.
    std::optional<ClockChange> nextChangeAfter(std::int64_t utc) const;
    // The last change of offset at or before `utc`; nothing before the zone's first one.
    std::optional<ClockChange> previousChangeAtOrBefore(std::int64_t utc) const;

  private:
    cctz::time_zone::absolute_lookup lookup(std::int64_t utc) const;
    ClockChange changeOf(const cctz::time_zone::civil_transition& transition) const;
    // The offset of the nearest period of standard time before (or after) the one holding `utc`.
    std::optional<std::int32_t> standardOffsetBeside(std::int64_t utc, bool later) const;
    // Whether the daylight period holding `utc` set the clock back on entering and forward on leaving.
    bool isWinterDaylight(std::int64_t utc, std::int32_t offset) const;

    std::string name_;
    cctz::time_zone zone_;
};

}  // namespace tavrin
