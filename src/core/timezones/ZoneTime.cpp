#include "core/timezones/ZoneTime.h"

#include "core/timezones/ZoneCatalogue.h"

namespace tavrin {
namespace {

// The day a rule names in `year`: a fixed day (wYear not 0, the stored year itself ignored so a rule
// written for one year still gives that year's dates) or the wDay-th wDayOfWeek of the month. The
// zero date when the rule names no day.
DateTime ruleDay(const SystemTime& rule, int year) {
    if (rule.wMonth < 1 || rule.wMonth > 12) return DateTime{};
    if (rule.wYear != 0) return DateTime::fromFields(year, rule.wMonth, rule.wDay);
    return nthWeekdayOfMonth(year, rule.wMonth, rule.wDayOfWeek, rule.wDay);
}

std::int64_t ruleSeconds(const SystemTime& rule) {
    return std::int64_t{rule.wHour} * 3600 + std::int64_t{rule.wMinute} * 60 + rule.wSecond;
}

}  // namespace

DateTime nthWeekdayOfMonth(int year, int month, int weekday, int occurrence) {
    if (month < 1 || month > 12) return DateTime{};
    DateTime found;
    int count = 0;
    for (int day = 1; day <= 31; ++day) {
        const DateTime d = DateTime::fromFields(year, month, day);
        if (d.month() != month) break;
        if (d.weekday() == weekday) {
            found = d;
            if (++count == occurrence) break;
        }
    }
    return found;
}

DaylightPeriod daylightPeriodOf(const ZoneRecord& zone, int year) {
    DaylightPeriod p;
    if (zone.DaylightDate.wMonth == 0) return p;
    const DateTime startDay = ruleDay(zone.DaylightDate, year);
    const DateTime endDay = ruleDay(zone.StandardDate, year);
    if (startDay == DateTime{} || endDay == DateTime{}) return p;
    // Wall clock + Bias = UTC; the end is read on the daylight clock, which is DaylightBias further on.
    p.startUtc = startDay.addSeconds(ruleSeconds(zone.DaylightDate)).addMinutes(zone.Bias);
    p.endUtc = endDay.addSeconds(ruleSeconds(zone.StandardDate))
                   .addMinutes(std::int64_t{zone.Bias} + zone.DaylightBias);
    p.valid = true;
    return p;
}

ZoneCache::ZonePtr followedZone(const ZoneRecord& record, ZoneCache& zones) {
    if (record.tzFile.empty()) return nullptr;
    return zones.zoneAt(record.tzFile).valueOr(nullptr);
}

bool isDaylightNow(const ZoneRecord& zone, const DateTime& utc, ZoneCache& zones) {
    if (const auto tz = followedZone(zone, zones)) return tz->isDaylightAt(utc.toUnix());
    return ruleIsDaylightAt(zone, utc);
}

bool ruleIsDaylightAt(const ZoneRecord& zone, const DateTime& utc) {
    if (zone.DaylightDate.wMonth == 0) return false;
    const int year = utc.addMinutes(-std::int64_t{zone.Bias}).year();
    const DaylightPeriod p = daylightPeriodOf(zone, year);
    if (!p.valid) return false;
    if (p.startUtc < p.endUtc) return p.startUtc <= utc && utc < p.endUtc;
    return utc < p.endUtc || utc >= p.startUtc;
}

DateTime utcNow(const ClockService& clock) {
    return clock.utcNow();
}

DateTime zoneTimeNow(const DateTime& utc, const ZoneRecord& zone, ZoneCache& zones) {
    if (const auto tz = followedZone(zone, zones)) return tz->wallTimeAt(utc);
    std::int64_t minutes = zone.Bias;
    if (ruleIsDaylightAt(zone, utc)) minutes += zone.DaylightBias;
    return utc.addMinutes(-minutes);
}

std::int32_t localBias(const std::string& zoneinfoDir, const ClockService& clock, ZoneCache& zoneFiles) {
    return machineZoneBias(zoneinfoDir, clock, zoneFiles);
}

void fillLocalBias(ZoneState& zones, const std::string& zoneinfoDir, const ClockService& clock,
                   ZoneCache& zoneFiles) {
    zones.LocalBias = localBias(zoneinfoDir, clock, zoneFiles);
}

}  // namespace tavrin
