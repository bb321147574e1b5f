#pragma once
// The pop-up menu's world-time lines: the chosen zones read from the settings key, one caption per
// zone ("TZFormat" time, " - ", city or full name), and the two sort orders.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/settings/Settings.h"
#include "core/store/Store.h"
#include "core/timezones/DateTime.h"
#include "core/timezones/ZoneRecord.h"
#include "core/timezones/ZoneState.h"

namespace tavrin {

// One shown line: its caption, the zone it shows (kept for the line's tool tip) and the zone's
// wall-clock time, which the by-time order compares; no time for a zone the catalogue does not know.
// `workingTime` marks a time inside the working hours of a working day there.
struct MenuLine {
    std::string caption;
    ZoneRecord zone;
    std::optional<DateTime> zoneTime;
    bool workingTime = false;
    friend bool operator==(const MenuLine&, const MenuLine&) = default;
};

struct MenuLines {
    // Lines 1..N in the order shown (element 0 is line 1).
    std::vector<MenuLine> lines;
    // The sort key of the alphabetical order, by line; it travels with `zones.ZoneList`, not with the
    // captions, as the by-time order moves captions alone.
    std::vector<std::string> cityNames;
};

// Fills `zones.ZoneList` from the settings key under `settingsRoot`: "NumTimeZones" (written as "0"
// when missing) and "TZone" 1..N. Returns the number of lines to show, at most 50 (the list's slots);
// slots past it are emptied, so no reader of the list finds a zone that is no longer chosen.
int readMenuZones(Store& store, Root settingsRoot, ZoneState& zones);

// The captions of `count` lines at the UTC instant `utc`, zones 1..count of `zones.ZoneList` read
// from the catalogue, unsorted. A zone the catalogue does not know shows its stored name, marked, and
// no time.
MenuLines buildMenuLines(Store& store, const Settings& settings, const ZoneState& zones, const DateTime& utc,
                         int count);

// The lines at another instant, as the menu shows them when its time is moved: each known zone's
// time, caption and working-time mark worked out again at `utc` from the zone it holds (nothing is
// read again), and the lines sorted again when they are sorted by time.
void retimeMenuLines(MenuLines& lines, const Settings& settings, ZoneState& zones, const DateTime& utc);

// Sort types and directions as the settings hold them; any other value leaves the lines as built.
inline constexpr ZoneSort kSortAlphabetically = ZoneSort::Alphabetically;
inline constexpr ZoneSort kSortByTime = ZoneSort::ByTime;
inline constexpr ZoneSortDirection kSortAscending = ZoneSortDirection::Ascending;
inline constexpr ZoneSortDirection kSortDescending = ZoneSortDirection::Descending;

// Sorts in place. Alphabetically the key is the city name and a swap moves the caption, the city and
// the `zones.ZoneList` slot together, so the list in memory follows the order shown. By time the key
// is the zone's wall-clock date and time (a zone already on tomorrow comes after one still on today),
// then its city, and a swap moves only the lines; lines without a time come last either way. Cities
// compare by character code, and equal keys are never swapped.
void sortMenuLines(MenuLines& lines, ZoneState& zones, ZoneSort sortType, ZoneSortDirection sortDir);

// Everything the menu shows as it opens: the zone list read, the lines built and sorted.
MenuLines prepareMenuLines(Store& store, const Settings& settings, ZoneState& zones, const DateTime& utc);

}  // namespace tavrin
