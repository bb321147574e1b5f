#pragma once
// The floating clock's rules: which zone it shows (the machine's own, or a chosen world zone by its
// list slot), its three texts, its pop-up menu, the stay-on-top check and where a drag puts it.
#include <cstdint>
#include <string>
#include <vector>

#include "core/clock/TrayArea.h"
#include "core/settings/Settings.h"
#include "core/store/Store.h"
#include "core/timezones/ClockService.h"
#include "core/timezones/ZoneState.h"

namespace tavrin {

// Display modes besides a `ZoneList` slot (1 and up): the machine's own zone, as loaded and as chosen
// again from the menu. Both show the same.
inline constexpr std::int16_t kOwnZoneAtLoad = -3;
inline constexpr std::int16_t kOwnZoneChosen = -2;

struct FloatingTexts {
    std::string time;
    std::string date;
    std::string zoneName;
    friend bool operator==(const FloatingTexts&, const FloatingTexts&) = default;
};

enum class FloatingMenuKind { ShowTimeZone, Zone, Separator, AlwaysOnTop, Close };

struct FloatingMenuItem {
    FloatingMenuKind kind = FloatingMenuKind::Separator;
    std::string text;  // the caption, "" for a separator
    int slot = 0;      // the `ZoneList` slot of a zone entry
    friend bool operator==(const FloatingMenuItem&, const FloatingMenuItem&) = default;
};

class FloatingClock {
  public:
    // Loads in the machine's-zone mode, with one menu entry for each zone of `ZoneList` from slot 1
    // up to the first empty slot (at most 50), captioned with the zone's display text.
    FloatingClock(Store& store, const ZoneState& zones);

    // The pop-up menu: "&Show Time Zone...", a separator, the zone entries, a separator,
    // "&Always on Top", a separator, "&Close". The zone entries are fixed at load.
    const std::vector<FloatingMenuItem>& menu() const { return menu_; }

    std::int16_t mode() const { return mode_; }
    void showOwnZone() { mode_ = kOwnZoneChosen; }
    void showZone(int slot) { mode_ = static_cast<std::int16_t>(slot); }

    // Flips the stay-on-top check and returns the new state.
    bool toggleAlwaysOnTop() { return alwaysOnTop_ = !alwaysOnTop_; }
    bool alwaysOnTop() const { return alwaysOnTop_; }

    // Works out the texts for now. A world zone is read afresh from the catalogue each time and shown
    // in "TimeFormat" and "DateFormat"; the machine's zone in the desktop's long time and short date.
    // Returns whether any text changed.
    bool refresh(Store& store, const Settings& settings, const ZoneState& zones, const ClockService& clock);
    const FloatingTexts& texts() const { return texts_; }

  private:
    std::vector<FloatingMenuItem> menu_;
    std::int16_t mode_ = kOwnZoneAtLoad;
    bool alwaysOnTop_ = false;
    FloatingTexts texts_;
};

// Where a window dragged by a point `grab` (inside the window, pixels) goes with the cursor at
// `cursor` (screen pixels): the cursor less the grab point, moved back inside `screen` as far as the
// window's size allows, so it cannot be lost off the edge.
struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};
PixelPoint draggedWindowPos(PixelPoint cursor, PixelPoint grab, int width, int height,
                            const PixelRect& screen);

}  // namespace tavrin
