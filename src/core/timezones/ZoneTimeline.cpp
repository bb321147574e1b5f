#include "core/timezones/ZoneTimeline.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "core/timezones/DateTime.h"

namespace tavrin {
namespace {

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();

std::int64_t yearStart(int year) {
    return daysFromCivil(year, 1, 1) * kDay;
}

// A zone whose file lists no change but closes with a rule: the rule is worked out from this year.
constexpr int kFirstRuleYear = 1900;
// The closing rule is worked out into periods up to this year; later instants ask the rule itself.
constexpr int kLastWorkedOutYear = 2100;

}  // namespace

ZoneTimeline::ZoneTimeline(TzFile file) : file_(std::move(file)) {}

void ZoneTimeline::build() const {
    std::call_once(built_, [this] {
        const auto& times = file_.transitionTimes();
        const auto& footer = file_.footer();
        const std::int64_t from = times.empty() ? yearStart(kFirstRuleYear) : times.front() - 1;
        workedOutFrom_ = times.empty() && footer ? from : std::numeric_limits<std::int64_t>::min();
        workedOutUntil_ = kNever;
        if (footer) {
            workedOutUntil_ = yearStart(kLastWorkedOutYear + 1);
            if (!times.empty()) workedOutUntil_ = std::max(workedOutUntil_, times.back() + 1);
        }
        std::vector<std::int64_t> at;
        for (const auto& t : file_.transitionsBetween(from, std::min(workedOutUntil_, kNever - 1)))
            at.push_back(t.at);
        std::sort(at.begin(), at.end());
        at.erase(std::unique(at.begin(), at.end()), at.end());

        // Each period takes the type the file gives at its first instant, so ties and overlaps of a
        // closing rule come out exactly as the file's own lookup has them.
        auto periodOf = [](const LocalTimeType& type) { return Period{type.utcOffset, type.isDst, false}; };
        periods_.push_back(periodOf(file_.typeAt(from)));
        for (std::int64_t start : at) {
            const Period p = periodOf(file_.typeAt(start));
            if (p.offset == periods_.back().offset && p.isDst == periods_.back().isDst) continue;
            starts_.push_back(start);
            periods_.push_back(p);
        }
        markDaylight();
    });
}

void ZoneTimeline::markDaylight() const {
    // A period the tz data calls daylight time sets the clock back when it is behind the standard
    // time on each side of it: that is the zone's winter, and the standard periods beside it are the
    // later clock.
    const std::size_t n = periods_.size();
    constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
    std::vector<std::size_t> prevStd(n, kNone), nextStd(n, kNone);
    for (std::size_t i = 1; i < n; ++i) prevStd[i] = periods_[i - 1].isDst ? prevStd[i - 1] : i - 1;
    for (std::size_t i = n - 1; i-- > 0;) nextStd[i] = periods_[i + 1].isDst ? nextStd[i + 1] : i + 1;
    std::vector<bool> setsBack(n, false);
    for (std::size_t i = 0; i < n; ++i) {
        if (!periods_[i].isDst || (prevStd[i] == kNone && nextStd[i] == kNone)) continue;
        const std::int32_t o = periods_[i].offset;
        setsBack[i] = (prevStd[i] == kNone || o < periods_[prevStd[i]].offset) &&
                      (nextStd[i] == kNone || o < periods_[nextStd[i]].offset);
    }
    for (std::size_t i = 0; i < n; ++i) {
        Period& p = periods_[i];
        if (p.isDst) {
            p.daylight = !setsBack[i];
            continue;
        }
        const bool afterWinter = i > 0 && setsBack[i - 1] && periods_[i - 1].offset < p.offset;
        const bool beforeWinter = i + 1 < n && setsBack[i + 1] && periods_[i + 1].offset < p.offset;
        p.daylight = afterWinter || beforeWinter;
    }
}

std::optional<std::size_t> ZoneTimeline::periodAt(std::int64_t utc) const {
    build();
    if (utc >= workedOutUntil_ || utc < workedOutFrom_) return std::nullopt;
    return static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), utc) - starts_.begin());
}

std::int32_t ZoneTimeline::offsetAt(std::int64_t utc) const {
    if (const auto i = periodAt(utc)) return periods_[*i].offset;
    return file_.typeAt(utc).utcOffset;
}

bool ZoneTimeline::isDaylightAt(std::int64_t utc) const {
    if (const auto i = periodAt(utc)) return periods_[*i].daylight;
    const auto& footer = file_.footer();
    const bool ruleSetsBack =
        footer && footer->hasDst && footer->daylight.utcOffset < footer->standard.utcOffset;
    return file_.typeAt(utc).isDst != ruleSetsBack;
}

std::optional<ClockChange> ZoneTimeline::nextChangeAfter(std::int64_t utc) const {
    std::int64_t from = utc;
    if (const auto i = periodAt(utc)) {
        for (std::size_t j = *i + 1; j < periods_.size(); ++j)
            if (periods_[j].offset != periods_[*i].offset)
                return ClockChange{starts_[j - 1], periods_[*i].offset, periods_[j].offset};
        if (workedOutUntil_ == kNever) return std::nullopt;
        from = std::max(utc, workedOutUntil_ - 1);
    }
    // Past the worked-out periods only the closing rule changes the clock.
    const auto& footer = file_.footer();
    if (!footer || !footer->hasDst || footer->daylight.utcOffset == footer->standard.utcOffset)
        return std::nullopt;
    const int year = DateTime::fromUnix(from).year();
    for (int y = year - 1; y <= year + 2; ++y) {
        for (const auto& t : footer->transitionsInYear(y)) {
            if (t.at <= from) continue;
            const std::int32_t before = footer->typeAt(t.at - 1).utcOffset;
            const std::int32_t after = footer->typeAt(t.at).utcOffset;
            if (before != after) return ClockChange{t.at, before, after};
        }
    }
    return std::nullopt;
}

}  // namespace tavrin
