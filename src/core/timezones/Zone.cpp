#include "core/timezones/Zone.h"

#include <algorithm>
#include <utility>

namespace tavrin {
namespace {

using Seconds = cctz::time_point<cctz::seconds>;

Seconds instant(std::int64_t utc) {
    return Seconds(cctz::seconds(utc));
}

// A zone's standard time lies at most this many changes away from any of its periods; a walk that
// finds none by then takes it that there is none.
constexpr int kLongestWalk = 8;

// Walks from `utc` change by change into the past (or, when `later`, the future) and gives an instant
// of the first period that `wanted` takes; nothing when none comes within the longest walk.
template <class Wanted>
std::optional<std::int64_t> periodBeside(const Zone& zone, std::int64_t utc, bool later, Wanted wanted) {
    std::int64_t at = utc;
    for (int step = 0; step < kLongestWalk; ++step) {
        const auto change = later ? zone.nextChangeAfter(at) : zone.previousChangeAtOrBefore(at);
        if (!change) return std::nullopt;
        at = later ? change->at : change->at - 1;
        if (wanted(at)) return at;
    }
    return std::nullopt;
}

}  // namespace

Zone::Zone(std::string name, cctz::time_zone zone) : name_(std::move(name)), zone_(zone) {}

Zone Zone::utc() {
    return Zone("UTC", cctz::utc_time_zone());
}

std::string Zone::displayName() const {
    std::string city = name_.substr(name_.rfind('/') + 1);
    std::replace(city.begin(), city.end(), '_', ' ');
    return city;
}

cctz::time_zone::absolute_lookup Zone::lookup(std::int64_t utc) const {
    return zone_.lookup(instant(utc));
}

std::int64_t Zone::instantOf(std::int64_t wall) const {
    const cctz::civil_second civil = cctz::civil_second(1970, 1, 1, 0, 0, 0) + wall;
    return zone_.lookup(civil).pre.time_since_epoch().count();
}

std::int32_t Zone::offsetAt(std::int64_t utc) const {
    return lookup(utc).offset;
}

DateTime Zone::wallTimeAt(const DateTime& utc) const {
    return utc.addSeconds(offsetAt(utc.toUnix()));
}

std::string Zone::abbreviationAt(std::int64_t utc) const {
    return lookup(utc).abbr;
}

bool Zone::isDstAt(std::int64_t utc) const {
    return lookup(utc).is_dst;
}

ClockChange Zone::changeOf(const cctz::time_zone::civil_transition& transition) const {
    const std::int64_t at = zone_.lookup(transition.to).trans.time_since_epoch().count();
    return {at, offsetAt(at - 1), offsetAt(at)};
}

// The library also reports changes of the daylight flag or the abbreviation alone; a change of the
// clock is one that moves it.
std::optional<ClockChange> Zone::nextChangeAfter(std::int64_t utc) const {
    cctz::time_zone::civil_transition transition;
    for (Seconds from = instant(utc); zone_.next_transition(from, &transition);) {
        const auto change = changeOf(transition);
        if (change.offsetBefore != change.offsetAfter) return change;
        from = instant(change.at);
    }
    return std::nullopt;
}

std::optional<ClockChange> Zone::previousChangeAtOrBefore(std::int64_t utc) const {
    cctz::time_zone::civil_transition transition;
    for (Seconds before = instant(utc) + cctz::seconds(1); zone_.prev_transition(before, &transition);) {
        const auto change = changeOf(transition);
        if (change.offsetBefore != change.offsetAfter) return change;
        before = instant(change.at);
    }
    return std::nullopt;
}

std::optional<std::int32_t> Zone::standardOffsetBeside(std::int64_t utc, bool later) const {
    const auto at = periodBeside(*this, utc, later, [this](std::int64_t t) { return !isDstAt(t); });
    if (!at) return std::nullopt;
    return offsetAt(*at);
}

bool Zone::isWinterDaylight(std::int64_t utc, std::int32_t offset) const {
    const auto before = standardOffsetBeside(utc, false);
    const auto after = standardOffsetBeside(utc, true);
    if (!before && !after) return false;
    return (!before || offset < *before) && (!after || offset < *after);
}

bool Zone::isDaylightAt(std::int64_t utc) const {
    const auto here = lookup(utc);
    if (here.is_dst) return !isWinterDaylight(utc, here.offset);
    // Standard time is the later clock beside a winter that the tz data calls daylight time.
    for (const bool later : {false, true}) {
        const auto change = later ? nextChangeAfter(utc) : previousChangeAtOrBefore(utc);
        if (!change) continue;
        const std::int64_t beside = later ? change->at : change->at - 1;
        const auto there = lookup(beside);
        if (there.is_dst && there.offset < here.offset && isWinterDaylight(beside, there.offset)) return true;
    }
    return false;
}

std::int32_t Zone::standardOffsetAt(std::int64_t utc) const {
    if (!isDaylightAt(utc)) return offsetAt(utc);
    for (const bool later : {false, true})
        if (const auto at =
                periodBeside(*this, utc, later, [this](std::int64_t t) { return !isDaylightAt(t); }))
            return offsetAt(*at);
    return offsetAt(utc);
}

}  // namespace tavrin
