#pragma once
// The floating clock's rules: which zone it shows (the machine's own, or a chosen world zone by its
// name), its three texts, its pop-up menu, the stay-on-top check and where a drag puts it.
#include <string>
#include <vector>

#include "core/clock/NextTick.h"
#include "core/clock/TrayArea.h"
#include "core/settings/Settings.h"
#include "core/store/Store.h"
#include "core/timezones/ClockService.h"
#include "core/timezones/ZoneState.h"

namespace tavrin {

// What the floating clock shows: the machine's own zone, as loaded and as chosen again from the menu
// (both show the same), or a world zone.
enum class FloatingMode { OwnZoneAtLoad, OwnZoneChosen, WorldZone };

struct FloatingTexts {
    std::string time;
    std::string date;
    std::string zoneName;
    friend bool operator==(const FloatingTexts&, const FloatingTexts&) = default;
};

enum class FloatingMenuKind { ShowTimeZone, Zone, Separator, AlwaysOnTop, Close };

struct FloatingMenuItem {
    FloatingMenuKind kind = FloatingMenuKind::Separator;
    std::string text;      // the caption, "" for a separator
    std::string zoneName;  // a zone entry's zone, by its name in the catalogue
    friend bool operator==(const FloatingMenuItem&, const FloatingMenuItem&) = default;
};

class FloatingClock {
  public:
    // Loads in the machine's-zone mode, with one menu entry for each zone of `ZoneList` from slot 1
    // up to the first empty slot (at most 50), captioned with the zone's display text.
    FloatingClock(Store& store, const ZoneState& zones);

    // The pop-up menu: "&Show Time Zone...", a separator, the zone entries, a separator,
    // "&Always on Top", a separator, "&Close".
    const std::vector<FloatingMenuItem>& menu() const { return menu_; }
    // Builds the zone entries again when the chosen zones are no longer those the menu was built
    // from (the preferences saved a new list, or the menu put them in another order). Returns
    // whether it did.
    bool followZoneList(Store& store, const ZoneState& zones);

    FloatingMode mode() const { return mode_; }
    // The world zone shown, by name; it stays shown when the list of chosen zones changes.
    const std::string& shownZone() const { return zoneName_; }
    void showOwnZone() {
        mode_ = FloatingMode::OwnZoneChosen;
        zoneName_.clear();
    }
    void showZone(const std::string& zoneName) {
        mode_ = FloatingMode::WorldZone;
        zoneName_ = zoneName;
    }

    // Flips the stay-on-top check and returns the new state.
    bool toggleAlwaysOnTop() { return alwaysOnTop_ = !alwaysOnTop_; }
    bool alwaysOnTop() const { return alwaysOnTop_; }

    // Works out the texts for now. A world zone is read afresh from the catalogue each time and shown
    // in "TimeFormat" and "DateFormat" (one the catalogue does not know shows its name, marked, and
    // dashes for a time); the machine's zone in the desktop's long time and short date. Returns
    // whether any text changed.
    bool refresh(Store& store, const Settings& settings, const ZoneState& zones, const ClockService& clock);
    const FloatingTexts& texts() const { return texts_; }
    // How often the texts can change: each second while a shown pattern writes seconds (the
    // desktop's long time in the machine's-zone mode does), each minute otherwise. A world zone's
    // date is written from its full time, so seconds in "DateFormat" count there.
    TickPace pace(const Settings& settings) const;

  private:
    void buildMenu(Store& store, const ZoneState& zones);

    std::vector<FloatingMenuItem> menu_;
    std::vector<std::string> menuZones_;  // the chosen zones the menu was built from
    FloatingMode mode_ = FloatingMode::OwnZoneAtLoad;
    std::string zoneName_;
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
