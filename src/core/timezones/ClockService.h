#pragma once
// The one reader of the system clock. Everything else asks this service, so tests can set the time.
#include <cstdint>
#include <string>

#include "core/timezones/DateTime.h"

namespace tavrin {

class ClockService {
  public:
    virtual ~ClockService() = default;
    // Milliseconds since 1970-01-01 00:00:00 UTC.
    virtual std::int64_t unixMillis() const = 0;
    // The machine's local wall-clock time now, to the second.
    virtual DateTime localNow() const = 0;
    // The current UTC instant, to the second.
    DateTime utcNow() const {
        const std::int64_t ms = unixMillis();
        return DateTime::fromUnix(ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000));
    }
};

// The real clock: the system time, and local time through the C library's zone conversion.
class SystemClock final : public ClockService {
  public:
    std::int64_t unixMillis() const override;
    DateTime localNow() const override;

  private:
    void followMachineZone() const;
    mutable std::string machineZoneSeen_;
};

}  // namespace tavrin
