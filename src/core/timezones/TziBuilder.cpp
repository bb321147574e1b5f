#include "core/timezones/TziBuilder.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "core/timezones/DateTime.h"
#include "core/timezones/ZoneTime.h"

namespace tavrin {
namespace {

constexpr std::int64_t kDay = 86400;

std::int64_t yearStartUnix(int year) {
    return daysFromCivil(year, 1, 1) * kDay;
}

// The zone's local time types around one year, as runs starting at `from`.
struct Segment {
    std::int64_t from = 0;
    LocalTimeType type;
};

class Timeline {
  public:
    Timeline(const TzFile& zone, int year) {
        const std::int64_t w0 = yearStartUnix(year) - 2 * kDay;
        const std::int64_t w1 = yearStartUnix(year + 1) + 2 * kDay;
        segments_.push_back({w0, zone.typeAt(w0)});
        for (const auto& t : zone.transitionsBetween(w0, w1)) {
            if (t.type.utcOffset == segments_.back().type.utcOffset) continue;
            segments_.push_back({t.at, t.type});
        }
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
        if (IsDaylightNow(record, DateTime::fromUnix(at))) offset -= std::int64_t{record.DaylightBias} * 60;
        if (offset != line.offsetAt(at)) wrong += points[i + 1] - at;
    }
    return wrong;
}

bool recurringForm(const PosixTzDate& d) {
    return d.kind == PosixTzDate::Kind::MonthWeekDay && d.time >= 0 && d.time < kDay;
}

SystemTime recurringDate(const PosixTzDate& d) {
    SystemTime t;
    t.wMonth = static_cast<std::uint16_t>(d.month);
    t.wDayOfWeek = static_cast<std::uint16_t>(d.weekday);
    t.wDay = static_cast<std::uint16_t>(d.week);
    t.wHour = static_cast<std::uint16_t>(d.time / 3600);
    t.wMinute = static_cast<std::uint16_t>(d.time / 60 % 60);
    t.wSecond = static_cast<std::uint16_t>(d.time % 60);
    return t;
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

// The footer's rule as a recurring block, when its dates have that form.
bool fromFooter(const PosixTzRule& rule, ZoneRecord& r) {
    if (!rule.hasDst || rule.daylight.utcOffset == rule.standard.utcOffset) {
        r = standardOnly(rule.standard);
        return true;
    }
    LocalTimeType standard = rule.standard, daylight = rule.daylight;
    PosixTzDate start = rule.start, end = rule.end;
    if (daylight.utcOffset < standard.utcOffset) {
        // A negative saving: the tz "daylight" period is the block's standard time.
        std::swap(standard, daylight);
        std::swap(start, end);
    }
    if (!recurringForm(start) || !recurringForm(end)) return false;
    r = ZoneRecord{};
    r.Bias = -standard.utcOffset / 60;
    r.DaylightBias = -(daylight.utcOffset - standard.utcOffset) / 60;
    r.DaylightDate = recurringDate(start);
    r.StandardDate = recurringDate(end);
    r.StandardName = standard.abbreviation;
    r.DaylightName = daylight.abbreviation;
    return true;
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

ZoneYearRule buildZoneYearRule(const TzFile& zone, int year) {
    const Timeline line(zone, year);
    ZoneYearRule best;
    if (zone.footer() && fromFooter(*zone.footer(), best.record) && mismatch(line, best.record, year) == 0) {
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
