#pragma once
// One kind of local time a zone uses: its offset from UTC, whether the tz database calls it daylight
// time, and its abbreviation.
#include <cstdint>
#include <string>

namespace tavrin {

struct LocalTimeType {
    std::int32_t utcOffset = 0;  // seconds east of Greenwich: local = UTC + utcOffset
    bool isDst = false;
    std::string abbreviation;  // "CEST", "+03" (never with the angle brackets of the TZ form)

    friend bool operator==(const LocalTimeType&, const LocalTimeType&) = default;
};

}  // namespace tavrin
