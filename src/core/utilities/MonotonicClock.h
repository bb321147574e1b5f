#pragma once
// A clock that only ever goes forward, for measuring spans of time: setting the wall clock or a
// zone change does not move it. Tests drive a fake.
#include <chrono>
#include <cstdint>

namespace tavrin {

class MonotonicClock {
  public:
    virtual ~MonotonicClock() = default;
    // Milliseconds from some fixed moment.
    virtual std::int64_t millis() const = 0;
};

class SteadyClock final : public MonotonicClock {
  public:
    std::int64_t millis() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

}  // namespace tavrin
