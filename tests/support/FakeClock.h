#pragma once
// A clock for tests: set it, advance it. Local time is UTC shifted by a fixed number of minutes.
#include <cstdint>

#include "core/timezones/ClockService.h"
#include "core/timezones/DateTime.h"

namespace tavrin::test {

class FakeClock final : public ClockService {
  public:
    explicit FakeClock(DateTime utc = DateTime::fromFields(2005, 3, 7, 21, 5, 0), int localOffsetMinutes = 0)
        : millis_(utc.toUnix() * 1000), offsetMinutes_(localOffsetMinutes) {}
    std::int64_t unixMillis() const override { return millis_; }
    DateTime localNow() const override { return utcNow().addMinutes(offsetMinutes_); }
    void setUtc(DateTime utc) { millis_ = utc.toUnix() * 1000; }
    void setLocal(DateTime local) { millis_ = local.addMinutes(-offsetMinutes_).toUnix() * 1000; }
    void advanceMillis(std::int64_t ms) { millis_ += ms; }
    void advanceSeconds(std::int64_t s) { millis_ += s * 1000; }
    void setOffsetMinutes(int minutes) { offsetMinutes_ = minutes; }

  private:
    std::int64_t millis_;
    int offsetMinutes_;
};

}  // namespace tavrin::test
