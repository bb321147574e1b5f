#pragma once
// A tz database zone as a run of periods, each with its UTC offset and whether it is daylight time,
// for the questions the world-time lines ask many times a second: the offset in force at an instant,
// whether the zone keeps daylight time then, and the next change of its clock.
//
// Daylight time follows the catalogue's rule blocks: it is always the later clock. Where the tz data
// marks the winter clock as daylight time (a negative saving, as in Ireland since 1971 or in Morocco
// during Ramadan), that period counts as standard time and the summer clock around it as daylight.
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "core/timezones/TzFile.h"

namespace tavrin {

// One change of a zone's wall clock: at UTC instant `at` the offset goes from `offsetBefore` to
// `offsetAfter` (seconds east of Greenwich).
struct ClockChange {
    std::int64_t at = 0;
    std::int32_t offsetBefore = 0;
    std::int32_t offsetAfter = 0;
};

class ZoneTimeline {
  public:
    explicit ZoneTimeline(TzFile file);

    const TzFile& file() const { return file_; }

    // Seconds east of Greenwich in force at the UTC instant `utc`.
    std::int32_t offsetAt(std::int64_t utc) const;
    // Whether the zone keeps daylight time (the later clock) at `utc`.
    bool isDaylightAt(std::int64_t utc) const;
    // The first change of the offset after `utc`; nothing when the zone's data and its closing rule
    // promise none.
    std::optional<ClockChange> nextChangeAfter(std::int64_t utc) const;

  private:
    struct Period {
        std::int32_t offset = 0;
        bool isDst = false;     // as the tz data marks it
        bool daylight = false;  // the later clock
    };

    // The periods are worked out on the first question, so a catalogue that only lists the zone
    // never pays for them.
    void build() const;
    void markDaylight() const;
    // The period index in force at `utc`, or nothing past the worked-out range.
    std::optional<std::size_t> periodAt(std::int64_t utc) const;
    bool footerDaylight(std::int64_t utc) const;

    TzFile file_;
    mutable std::once_flag built_;
    // starts_[i] is the first instant of periods_[i + 1]; periods_[0] runs before every listed change.
    mutable std::vector<std::int64_t> starts_;
    mutable std::vector<Period> periods_;
    // Outside [workedOutFrom_, workedOutUntil_) the closing rule answers directly.
    mutable std::int64_t workedOutFrom_ = 0;
    mutable std::int64_t workedOutUntil_ = 0;
};

}  // namespace tavrin
