#pragma once
// A monotonic clock that moves only when told to.
#include <cstdint>

#include "core/utilities/MonotonicClock.h"

namespace tavrin::test {

class FakeMonotonicClock final : public MonotonicClock {
  public:
    std::int64_t millis() const override { return millis_; }
    void advance(std::int64_t ms) { millis_ += ms; }

  private:
    std::int64_t millis_ = 1'000'000;  // not zero, so an arithmetic slip against zero shows
};

}  // namespace tavrin::test
