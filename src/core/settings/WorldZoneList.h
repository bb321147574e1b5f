#pragma once
// The preferences' world-zone list: every zone of the catalogue with a tick box, the chosen zones
// ticked, narrowed by a filter as the user types, and saved as the zones the menu shows.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Result.h"
#include "core/store/Store.h"
#include "core/timezones/ZoneState.h"

namespace tavrin {

// The one item of the list when the catalogue cannot be read.
inline constexpr const char* kNoZonesText = "No Name Found for Time Zone...";
// Said when a tick would choose more zones than the menu holds.
inline constexpr const char* kTooManyZonesTitle = "Tavrin System Message";
inline constexpr const char* kTooManyZonesText =
    "You can choose up to 50 world time zones. Untick one before you tick another.";

struct ZoneItem {
    std::string keyName;      // the zone's key in the catalogue, as "TZone" + n stores it
    std::string displayText;  // what the list shows, as "TZoneName" + n stores it
    bool checked = false;
};

class WorldZoneList {
  public:
    // Lists the catalogue under `zones.ZoneRoot`, sorted by display text with the greatest first
    // (byte by byte; equal texts keep the catalogue's order), and ticks the zones of `zones.ZoneList`
    // (slots 1 to 50, up to the first empty one). A zone whose display text cannot be read is left
    // out; a catalogue that cannot be opened gives the single item kNoZonesText, which takes no tick.
    void fill(Store& store, const ZoneState& zones);

    const std::vector<ZoneItem>& items() const { return items_; }
    bool choosable() const { return choosable_; }
    int checkedCount() const { return checked_; }

    // Ticks or unticks one item. Returns false, changing nothing, for a tick that would make more
    // than 50 zones, and for the item of an unreadable catalogue.
    bool setChecked(std::size_t item, bool checked);

    // The items, in list order, whose display text holds every blank-separated word of `filter`,
    // compared without regard to case: "berlin", "germany", "+01:00" and "new york" all find zones.
    std::vector<std::size_t> matching(std::string_view filter) const;

    // Writes the ticked zones, in list order, into the open settings key: "TZone" + n and
    // "TZoneName" + n, "useSysTZ" and "NumTimeZones". The "TZone" values of the count stored before
    // are deleted first; the "TZoneName" values are left. Every write is tried; the first failure
    // is the answer.
    Result<> save(Store& store, const KeyHandle& settingsKey) const;

  private:
    std::vector<ZoneItem> items_;
    std::vector<std::string> folded_;  // display texts in lower case, for the filter
    bool choosable_ = false;
    int checked_ = 0;
};

}  // namespace tavrin
