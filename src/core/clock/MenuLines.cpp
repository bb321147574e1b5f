#include "core/clock/MenuLines.h"

#include <algorithm>
#include <utility>

#include "core/base/Text.h"
#include "core/store/KeyNames.h"
#include "core/store/StoreAccess.h"
#include "core/timezones/FormatPattern.h"
#include "core/timezones/MeetingPlan.h"
#include "core/timezones/ZoneTime.h"

namespace tavrin {
namespace {

// Working hours the user has not set, or set in a way that cannot be read, are the usual ones.
WorkingHours workingHoursOf(const Settings& settings) {
    return readWorkingHours(settings.WorkingHours).valueOr(WorkingHours{});
}

// The line's time, caption and mark at `utc`.
void timeLine(MenuLine& line, const Settings& settings, const WorkingHours& hours, ZoneCache& zoneCache,
              const DateTime& utc) {
    const DateTime t = zoneTimeNow(utc, line.zone, zoneCache);
    line.caption = formatPattern(t, settings.TZFormat, settings.calendarNames);
    line.caption += " - ";
    line.caption += settings.PNDisp ? line.zone.CityName : line.zone.DisplayText;
    line.zoneTime = t;
    line.workingTime = isWorkingTime(t, hours);
}

}  // namespace

int readMenuZones(Store& store, Root settingsRoot, ZoneState& zones) {
    int count = 0;
    if (const Result<KeyHandle> key = openKey(store, settingsRoot, kSettingsKey, kAllAccess)) {
        const double n = leadingNumber(readText(store, *key, "NumTimeZones", "0").valueOr({}));
        // Past 50 the list has no slots; a negative or unreadable count shows nothing. A fraction
        // typed by hand counts only the whole zones ("2.7" is 2), as the zone list's save reads it:
        // rounding up would show a line for a zone that was never stored.
        count = n >= kMaxZones ? kMaxZones : n >= 1 ? static_cast<int>(n) : 0;
        for (int slot = 1; slot <= count; ++slot)
            zones.ZoneList[static_cast<std::size_t>(slot)] =
                trimAtNull(readText(store, *key, "TZone" + std::to_string(slot)).valueOr({}));
    }
    for (int slot = count + 1; slot <= kMaxZones; ++slot)
        zones.ZoneList[static_cast<std::size_t>(slot)].clear();
    return count;
}

MenuLines buildMenuLines(Store& store, const Settings& settings, const ZoneState& zones, const DateTime& utc,
                         int count) {
    MenuLines out;
    const WorkingHours hours = workingHoursOf(settings);
    out.lines.reserve(static_cast<std::size_t>(std::max(count, 0)));
    out.cityNames.reserve(out.lines.capacity());
    for (int slot = 1; slot <= count && slot <= kMaxZones; ++slot) {
        const std::string& name = zones.ZoneList[static_cast<std::size_t>(slot)];
        Result<ZoneRecord> read = readZoneNames(store, zones.ZoneRoot, name);
        if (!read) {
            // No time at all rather than UTC's passed off as the zone's.
            out.cityNames.emplace_back();
            out.lines.push_back(MenuLine{unknownZoneText(name), ZoneRecord{}, std::nullopt});
            continue;
        }
        MenuLine& line = out.lines.emplace_back(MenuLine{{}, std::move(read).value(), std::nullopt});
        out.cityNames.push_back(line.zone.CityName);
        timeLine(line, settings, hours, *zones.zoneCache, utc);
    }
    return out;
}

void retimeMenuLines(MenuLines& lines, const Settings& settings, ZoneState& zones, const DateTime& utc) {
    const WorkingHours hours = workingHoursOf(settings);
    for (MenuLine& line : lines.lines)
        if (line.zoneTime) timeLine(line, settings, hours, *zones.zoneCache, utc);
    if (settings.TZSType == kSortByTime) sortMenuLines(lines, zones, settings.TZSType, settings.TZSDir);
}

void sortMenuLines(MenuLines& m, ZoneState& zones, ZoneSort sortType, ZoneSortDirection sortDir) {
    if (sortType != kSortAlphabetically && sortType != kSortByTime) return;
    if (sortDir != kSortAscending && sortDir != kSortDescending) return;
    const bool alphabetical = sortType == kSortAlphabetically;
    const bool ascending = sortDir == kSortAscending;
    const std::size_t n = m.lines.size();
    // The swaps move line numbers; the lines themselves (each with its zone record) move once at the end.
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = i;
    // Whether line i's key is greater than line j's. std::string compares by unsigned character code,
    // as the cities must.
    auto greater = [&](int i, int j) {
        const std::size_t a = order[static_cast<std::size_t>(i - 1)];
        const std::size_t b = order[static_cast<std::size_t>(j - 1)];
        if (alphabetical) return m.cityNames[a] > m.cityNames[b];
        const MenuLine& x = m.lines[a];
        const MenuLine& y = m.lines[b];
        // A line without a time is the greatest going up and the least going down: last either way.
        if (x.zoneTime.has_value() != y.zoneTime.has_value())
            return ascending ? !x.zoneTime.has_value() : !y.zoneTime.has_value();
        if (x.zoneTime != y.zoneTime) return *x.zoneTime > *y.zoneTime;
        return x.zone.CityName > y.zone.CityName;
    };
    auto swapLines = [&](int i, int j) {
        std::swap(order[static_cast<std::size_t>(i - 1)], order[static_cast<std::size_t>(j - 1)]);
        if (alphabetical)
            std::swap(zones.ZoneList[static_cast<std::size_t>(i)],
                      zones.ZoneList[static_cast<std::size_t>(j)]);
    };
    const int last = static_cast<int>(n);
    if (ascending) {
        for (int i = 1; i <= last; ++i)
            for (int j = i + 1; j <= last; ++j)
                if (greater(i, j)) swapLines(i, j);
    } else {
        for (int i = last; i >= 1; --i)
            for (int j = i - 1; j >= 1; --j)
                if (greater(i, j)) swapLines(i, j);
    }
    MenuLines sorted;
    sorted.lines.reserve(n);
    sorted.cityNames.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        sorted.lines.push_back(std::move(m.lines[order[i]]));
        // By time the cities stay where they were, with the list in memory.
        sorted.cityNames.push_back(std::move(m.cityNames[alphabetical ? order[i] : i]));
    }
    m = std::move(sorted);
}

MenuLines prepareMenuLines(Store& store, const Settings& settings, ZoneState& zones, const DateTime& utc) {
    const int count = readMenuZones(store, settings.SettingsRoot, zones);
    MenuLines lines = buildMenuLines(store, settings, zones, utc, count);
    sortMenuLines(lines, zones, settings.TZSType, settings.TZSDir);
    return lines;
}

}  // namespace tavrin
