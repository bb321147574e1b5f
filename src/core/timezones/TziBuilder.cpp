#include "core/timezones/TziBuilder.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/timezones/DateTime.h"
#include "core/timezones/ZoneTime.h"

namespace tavrin {
namespace {

constexpr std::int64_t kDay = 86400;

std::int64_t yearStartUnix(int year) {
    return daysFromCivil(year, 1, 1) * kDay;
}

// One kind of local time a zone uses: its offset, whether the tz data calls it daylight time, and
// its abbreviation.
struct LocalTimeType {
    std::int32_t utcOffset = 0;
    bool isDst = false;
    std::string abbreviation;
};

LocalTimeType typeAt(const Zone& zone, std::int64_t utc) {
    return {zone.offsetAt(utc), zone.isDstAt(utc), zone.abbreviationAt(utc)};
}

// The zone's local time types around one year, as runs starting at `from`.
struct Segment {
    std::int64_t from = 0;
    LocalTimeType type;
};

class Timeline {
  public:
    Timeline(const Zone& zone, int year) {
        const std::int64_t w0 = yearStartUnix(year) - 2 * kDay;
        const std::int64_t w1 = yearStartUnix(year + 1) + 2 * kDay;
        segments_.push_back({w0, typeAt(zone, w0)});
        for (auto change = zone.nextChangeAfter(w0); change && change->at <= w1;
             change = zone.nextChangeAfter(change->at))
            segments_.push_back({change->at, typeAt(zone, change->at)});
    }
    const std::vector<Segment>& segments() const { return segments_; }
    std::int32_t offsetAt(std::int64_t utc) const {
        auto it = std::upper_bound(segments_.begin(), segments_.end(), utc,
                                   [](std::int64_t u, const Segment& s) { return u < s.from; });
        return it == segments_.begin() ? segments_.front().type.utcOffset : std::prev(it)->type.utcOffset;
    }

  private:
    std::vector<Segment> segments_;
};

std::int64_t mismatch(const Timeline& line, const ZoneRecord& record, int year) {
    const std::int64_t standard = -std::int64_t{record.Bias} * 60;
    const std::int64_t a = yearStartUnix(year) - standard;
    const std::int64_t b = yearStartUnix(year + 1) - standard;
    std::vector<std::int64_t> points{a, b};
    for (const auto& s : line.segments())
        if (s.from > a && s.from < b) points.push_back(s.from);
    const DaylightPeriod p = daylightPeriodOf(record, year);
    if (p.valid)
        for (const DateTime& t : {p.startUtc, p.endUtc})
            if (t.toUnix() > a && t.toUnix() < b) points.push_back(t.toUnix());
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    std::int64_t wrong = 0;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const std::int64_t at = points[i];
        std::int64_t offset = standard;
        if (ruleIsDaylightAt(record, DateTime::fromUnix(at)))
            offset -= std::int64_t{record.DaylightBias} * 60;
        if (offset != line.offsetAt(at)) wrong += points[i + 1] - at;
    }
    return wrong;
}

// The years, far past every listed change, in which only the zone's closing rule speaks: seven, so
// each weekday of a month's end is met.
constexpr int kClosingRuleYear = 2400;
constexpr int kClosingRuleYears = 7;

// A change's wall-clock reading `local` (seconds since 1970 on the clock it is read on) as a recurring
// date, week 5 standing for the month's last such weekday; `lastWeek` asks for that form.
SystemTime recurringDate(std::int64_t local, bool lastWeek) {
    const DateTime wall = DateTime::fromUnix(local);
    SystemTime t;
    t.wMonth = static_cast<std::uint16_t>(wall.month());
    t.wDayOfWeek = static_cast<std::uint16_t>(wall.weekday());
    t.wDay = static_cast<std::uint16_t>(lastWeek ? 5 : (wall.day() - 1) / 7 + 1);
    t.wHour = static_cast<std::uint16_t>(wall.hour());
    t.wMinute = static_cast<std::uint16_t>(wall.minute());
    t.wSecond = static_cast<std::uint16_t>(wall.second());
    return t;
}

bool inLastWeek(std::int64_t local) {
    const DateTime wall = DateTime::fromUnix(local);
    return wall.addDays(7).month() != wall.month();
}

// One recurring date for the same change in every year, when the years agree on one: the n-th
// weekday of the month, or the last.
std::optional<SystemTime> commonDate(const std::vector<std::int64_t>& locals) {
    for (const bool lastWeek : {false, true}) {
        const SystemTime first = recurringDate(locals.front(), lastWeek);
        bool same = true;
        for (std::int64_t local : locals) {
            if (lastWeek && !inLastWeek(local)) same = false;
            if (!(recurringDate(local, lastWeek) == first)) same = false;
        }
        if (same) return first;
    }
    return std::nullopt;
}

ZoneRecord standardOnly(const LocalTimeType& type);

// The zone's closing rule as a recurring block, read off its changes in years where only that rule
// speaks; nothing when its dates have no recurring form (a fixed day, a time past midnight).
std::optional<ZoneRecord> closingRule(const Zone& zone) {
    std::vector<std::int64_t> starts, ends;
    LocalTimeType standard, daylight;
    for (int y = kClosingRuleYear; y < kClosingRuleYear + kClosingRuleYears; ++y) {
        std::vector<ClockChange> changes;
        for (auto c = zone.nextChangeAfter(yearStartUnix(y) - 1); c && c->at < yearStartUnix(y + 1);
             c = zone.nextChangeAfter(c->at))
            changes.push_back(*c);
        if (changes.empty()) {
            if (!starts.empty()) return std::nullopt;
            continue;
        }
        if (changes.size() != 2) return std::nullopt;
        for (const auto& c : changes) {
            // Daylight time is the later clock: its start moves the clock forward.
            if (c.offsetAfter > c.offsetBefore) {
                starts.push_back(c.at + c.offsetBefore);
                standard = typeAt(zone, c.at - 1);
                daylight = typeAt(zone, c.at);
            } else {
                ends.push_back(c.at + c.offsetBefore);
            }
        }
    }
    if (starts.empty()) return standardOnly(typeAt(zone, yearStartUnix(kClosingRuleYear)));
    if (starts.size() != ends.size()) return std::nullopt;
    const auto start = commonDate(starts), end = commonDate(ends);
    if (!start || !end) return std::nullopt;
    ZoneRecord r;
    r.Bias = -standard.utcOffset / 60;
    r.DaylightBias = -(daylight.utcOffset - standard.utcOffset) / 60;
    r.DaylightDate = *start;
    r.StandardDate = *end;
    r.StandardName = standard.abbreviation;
    r.DaylightName = daylight.abbreviation;
    return r;
}

// The wall-clock reading `utc + offset` as a fixed date of its year.
SystemTime fixedDate(std::int64_t utc, std::int64_t offset) {
    const DateTime wall = DateTime::fromUnix(utc + offset);
    SystemTime t;
    t.wYear = static_cast<std::uint16_t>(wall.year());
    t.wMonth = static_cast<std::uint16_t>(wall.month());
    t.wDayOfWeek = static_cast<std::uint16_t>(wall.weekday());
    t.wDay = static_cast<std::uint16_t>(wall.day());
    t.wHour = static_cast<std::uint16_t>(wall.hour());
    t.wMinute = static_cast<std::uint16_t>(wall.minute());
    t.wSecond = static_cast<std::uint16_t>(wall.second());
    return t;
}

ZoneRecord standardOnly(const LocalTimeType& type) {
    ZoneRecord r;
    r.Bias = -type.utcOffset / 60;
    r.StandardName = type.abbreviation;
    r.DaylightName = type.abbreviation;
    return r;
}

// The abbreviation a timeline uses for an offset within the year, preferring the kind asked for.
std::string nameFor(const Timeline& line, std::int32_t offset, bool preferDst) {
    std::string any;
    for (const auto& s : line.segments()) {
        if (s.type.utcOffset != offset) continue;
        if (s.type.isDst == preferDst) return s.type.abbreviation;
        if (any.empty()) any = s.type.abbreviation;
    }
    return any;
}

}  // namespace

ZoneYearRule buildZoneYearRule(const Zone& zone, int year) {
    const Timeline line(zone, year);
    ZoneYearRule best;
    if (const auto rule = closingRule(zone); rule && mismatch(line, *rule, year) == 0) {
        best.record = *rule;
        best.recurring = true;
        return best;
    }

    // The year's own transitions: try every standard/daylight pair of the offsets in use, with every
    // start and end among the year's transitions and the year's first moment, and keep the block
    // that gets the fewest seconds wrong.
    std::set<std::int32_t> offsets;
    std::vector<LocalTimeType> types;
    const std::int64_t lo = yearStartUnix(year) - kDay, hi = yearStartUnix(year + 1) + kDay;
    const auto& segs = line.segments();
    for (std::size_t i = 0; i < segs.size(); ++i) {
        const std::int64_t until = i + 1 < segs.size() ? segs[i + 1].from : hi;
        if (until > lo && segs[i].from < hi && offsets.insert(segs[i].type.utcOffset).second)
            types.push_back(segs[i].type);
    }
    bool have = false;
    auto consider = [&](const ZoneRecord& r) {
        const std::int64_t wrong = mismatch(line, r, year);
        if (!have || wrong < best.mismatchSeconds) {
            best.record = r;
            best.mismatchSeconds = wrong;
            have = true;
        }
    };
    for (const auto& t : types) {
        ZoneRecord r = standardOnly(t);
        r.StandardName = r.DaylightName = nameFor(line, t.utcOffset, false);
        consider(r);
    }
    for (std::int32_t standard : offsets) {
        for (std::int32_t daylight : offsets) {
            if (daylight <= standard) continue;
            ZoneRecord base;
            base.Bias = -standard / 60;
            base.DaylightBias = -(daylight - standard) / 60;
            base.StandardName = nameFor(line, standard, false);
            base.DaylightName = nameFor(line, daylight, true);
            // Candidate moments as UTC instants; the year's first moment on either clock.
            std::vector<SystemTime> starts{fixedDate(yearStartUnix(year) - standard, standard)};
            std::vector<SystemTime> ends{fixedDate(yearStartUnix(year) - daylight, daylight)};
            for (std::size_t i = 1; i < segs.size(); ++i) {
                const SystemTime s = fixedDate(segs[i].from, standard);
                const SystemTime e = fixedDate(segs[i].from, daylight);
                if (s.wYear == year) starts.push_back(s);
                if (e.wYear == year) ends.push_back(e);
            }
            for (const auto& s : starts)
                for (const auto& e : ends) {
                    ZoneRecord r = base;
                    r.DaylightDate = s;
                    r.StandardDate = e;
                    const DaylightPeriod p = daylightPeriodOf(r, year);
                    if (!p.valid || p.startUtc == p.endUtc) continue;
                    consider(r);
                }
        }
    }
    return best;
}

}  // namespace tavrin
