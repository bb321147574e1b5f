#include "timezones/ClockService.h"

#include <chrono>
#include <ctime>

namespace tavrin {

std::int64_t SystemClock::unixMillis() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

DateTime SystemClock::localNow() const {
    const std::int64_t ms = unixMillis();
    const std::time_t secs = static_cast<std::time_t>(ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000));
    std::tm tm{};
    // localtime_r does not re-read TZ by itself; tzset makes a changed machine zone take effect.
    tzset();
    localtime_r(&secs, &tm);
    return DateTime::fromFields(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
}

}  // namespace tavrin
