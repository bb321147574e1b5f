#include "core/clock/MenuLines.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/base/Text.h"
#include "core/store/KeyNames.h"
#include "core/store/StoreAccess.h"
#include "core/timezones/FormatPattern.h"
#include "core/timezones/ZoneTime.h"

namespace tavrin {

int readMenuZones(Store& store, Root settingsRoot, ZoneState& zones) {
    KeyHandle key;
    int count = 0;
    if (store.OpenKey(KeyHandle::rootKey(settingsRoot), kSettingsKey, kAllAccess, key) == status::kSuccess) {
        Status st = status::kSuccess;
        const double n = leadingNumber(QueryValue(store, "NumTimeZones", st, key, "0"));
        // Past 50 the list has no slots; a negative or unreadable count shows nothing.
        count = n >= kMaxZones ? kMaxZones : n > 0 ? static_cast<int>(std::lround(n)) : 0;
        for (int slot = 1; slot <= count; ++slot)
            zones.ZoneList[static_cast<std::size_t>(slot)] =
                TrimAtNull(QueryValue(store, "TZone" + std::to_string(slot), st, key, ""));
        store.CloseKey(key);
    }
    for (int slot = count + 1; slot <= kMaxZones; ++slot)
        zones.ZoneList[static_cast<std::size_t>(slot)].clear();
    return count;
}

MenuLines buildMenuLines(Store& store, const Settings& settings, const ZoneState& zones, const DateTime& utc,
                         int count) {
    MenuLines out;
    out.lines.reserve(static_cast<std::size_t>(std::max(count, 0)));
    out.cityNames.reserve(out.lines.capacity());
    for (int slot = 1; slot <= count && slot <= kMaxZones; ++slot) {
        ZoneRecord zone = ReadZone(store, zones.ZoneRoot, zones.ZoneList[static_cast<std::size_t>(slot)]);
        std::string caption =
            FormatPattern(ZoneTimeNow(utc, zone), settings.TZFormat, settings.calendarNames);
        caption += " - ";
        caption += settings.PNDisp ? zone.CityName : zone.DisplayText;
        out.cityNames.push_back(zone.CityName);
        out.lines.push_back(MenuLine{std::move(caption), std::move(zone)});
    }
    return out;
}

void sortMenuLines(MenuLines& m, ZoneState& zones, std::int16_t sortType, std::int16_t sortDir) {
    if (sortType != kSortAlphabetically && sortType != kSortByTime) return;
    if (sortDir != kSortAscending && sortDir != kSortDescending) return;
    const bool alphabetical = sortType == kSortAlphabetically;
    const std::size_t n = m.lines.size();
    // The swaps move line numbers; the lines themselves (each with its zone record) move once at the end.
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = i;
    auto key = [&](int line) -> const std::string& {
        const std::size_t from = order[static_cast<std::size_t>(line - 1)];
        return alphabetical ? m.cityNames[from] : m.lines[from].caption;
    };
    auto swapLines = [&](int i, int j) {
        std::swap(order[static_cast<std::size_t>(i - 1)], order[static_cast<std::size_t>(j - 1)]);
        if (alphabetical)
            std::swap(zones.ZoneList[static_cast<std::size_t>(i)],
                      zones.ZoneList[static_cast<std::size_t>(j)]);
    };
    // std::string compares by unsigned character code, as the keys must.
    const int last = static_cast<int>(n);
    if (sortDir == kSortAscending) {
        for (int i = 1; i <= last; ++i)
            for (int j = i + 1; j <= last; ++j)
                if (key(i) > key(j)) swapLines(i, j);
    } else {
        for (int i = last; i >= 1; --i)
            for (int j = i - 1; j >= 1; --j)
                if (key(i) > key(j)) swapLines(i, j);
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
