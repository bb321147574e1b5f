#include "core/timezones/ZoneChanges.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/timezones/CalendarNames.h"
#include "core/timezones/ZoneTime.h"

namespace tavrin {
namespace {

std::int32_t offsetAt(const ZoneRecord& zone, std::int64_t utc, ZoneCache& zones) {
    const DateTime t = DateTime::fromUnix(utc);
    return static_cast<std::int32_t>(zoneTimeNow(t, zone, zones).secondsSince(t));
}

// A rule block changes the clock only where its daylight periods start and end; the periods of the
// year before and the two after cover any instant's next change.
std::optional<ClockChange> nextRuleChange(const ZoneRecord& zone, std::int64_t utc, ZoneCache& zones) {
    const int year = DateTime::fromUnix(utc).year();
    std::vector<std::int64_t> candidates;
    for (int y = year - 1; y <= year + 2; ++y) {
        const DaylightPeriod p = daylightPeriodOf(zone, y);
        if (!p.valid) continue;
        for (const DateTime& t : {p.startUtc, p.endUtc})
            if (t.toUnix() > utc) candidates.push_back(t.toUnix());
    }
    std::sort(candidates.begin(), candidates.end());
    for (std::int64_t at : candidates) {
        const std::int32_t before = offsetAt(zone, at - 1, zones), after = offsetAt(zone, at, zones);
        if (before != after) return ClockChange{at, before, after};
    }
    return std::nullopt;
}

// Hours and minutes ("+01:00"), with seconds only when there are any.
std::string clockText(std::int64_t seconds, bool withSign) {
    const std::int64_t a = std::llabs(seconds);
    char buf[32];
    const char* sign = !withSign ? "" : seconds < 0 ? "-" : "+";
    if (a % 60 != 0)
        std::snprintf(buf, sizeof buf, "%s%02lld:%02lld:%02lld", sign, static_cast<long long>(a / 3600),
                      static_cast<long long>(a / 60 % 60), static_cast<long long>(a % 60));
    else
        std::snprintf(buf, sizeof buf, "%s%02lld:%02lld", sign, static_cast<long long>(a / 3600),
                      static_cast<long long>(a / 60 % 60));
    return buf;
}

// "1 h", "30 min", "1 h 30 min".
std::string amountText(std::int64_t seconds) {
    const std::int64_t a = std::llabs(seconds);
    std::string out;
    auto add = [&out](std::int64_t n, const char* unit) {
        if (n == 0) return;
        if (!out.empty()) out += ' ';
        out += std::to_string(n) + ' ' + unit;
    };
    add(a / 3600, "h");
    add(a / 60 % 60, "min");
    add(a % 60, "s");
    return out;
}

// "29 Mar 2027 at 02:00".
std::string wallText(const DateTime& wall) {
    return std::to_string(wall.day()) + ' ' + std::string(kMonthNames[wall.month() - 1].substr(0, 3)) + ' ' +
           std::to_string(wall.year()) + " at " + clockText(wall.secondsOfDay(), false);
}

}  // namespace

std::optional<ClockChange> nextClockChange(const ZoneRecord& zone, const DateTime& utc, ZoneCache& zones) {
    if (const auto tz = followedZone(zone, zones)) return tz->nextChangeAfter(utc.toUnix());
    return nextRuleChange(zone, utc.toUnix(), zones);
}

std::string zoneChangeText(const ZoneRecord& zone, const DateTime& utc, ZoneCache& zones) {
    std::string text = "UTC" + clockText(offsetAt(zone, utc.toUnix(), zones), true) + " now; ";
    const auto change = nextClockChange(zone, utc, zones);
    if (!change) return text + "no clock changes";
    const std::int64_t delta = std::int64_t{change->offsetAfter} - change->offsetBefore;
    text += delta > 0 ? "clocks go forward " : "clocks go back ";
    text += amountText(delta) + " on ";
    return text + wallText(DateTime::fromUnix(change->at + change->offsetBefore));
}

}  // namespace tavrin
