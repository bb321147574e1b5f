#include "core/clock/FloatingClock.h"

#include <algorithm>

#include "core/clock/MenuLines.h"
#include "core/clock/TickPace.h"
#include "core/timezones/FormatPattern.h"
#include "core/timezones/SystemFormats.h"
#include "core/timezones/ZoneRecord.h"
#include "core/timezones/ZoneTime.h"

namespace tavrin {

namespace {

// The chosen zones from slot 1 up to the first empty slot.
std::vector<std::string> chosenZones(const ZoneState& zones) {
    std::vector<std::string> names;
    for (int slot = 1; slot <= kMaxZones; ++slot) {
        const std::string& name = zones.ZoneList[static_cast<std::size_t>(slot)];
        if (name.empty()) break;
        names.push_back(name);
    }
    return names;
}

}  // namespace

FloatingClock::FloatingClock(Store& store, const ZoneState& zones) {
    buildMenu(store, zones);
}

void FloatingClock::buildMenu(Store& store, const ZoneState& zones) {
    menuZones_ = chosenZones(zones);
    menu_.clear();
    menu_.push_back({FloatingMenuKind::ShowTimeZone, "&Show Time Zone...", {}});
    menu_.push_back({FloatingMenuKind::Separator, "", {}});
    for (const std::string& name : menuZones_) {
        const Result<ZoneRecord> zone = readZone(store, zones.ZoneRoot, name);
        menu_.push_back({FloatingMenuKind::Zone, zone ? zone->DisplayText : unknownZoneText(name), name});
    }
    menu_.push_back({FloatingMenuKind::Separator, "", {}});
    menu_.push_back({FloatingMenuKind::AlwaysOnTop, "&Always on Top", {}});
    menu_.push_back({FloatingMenuKind::Separator, "", {}});
    menu_.push_back({FloatingMenuKind::Close, "&Close", {}});
}

bool FloatingClock::followZoneList(Store& store, const ZoneState& zones) {
    if (chosenZones(zones) == menuZones_) return false;
    buildMenu(store, zones);
    return true;
}

bool FloatingClock::refresh(Store& store, const Settings& settings, const ZoneState& zones,
                            const ClockService& clock) {
    FloatingTexts now;
    if (mode_ == FloatingMode::WorldZone) {
        if (const Result<ZoneRecord> zone = readZone(store, zones.ZoneRoot, zoneName_)) {
            const DateTime t = zoneTimeNow(utcNow(clock), *zone, *zones.zoneCache);
            now.zoneName = zone->DisplayText;
            now.time = formatPattern(t, settings.TimeFormat, settings.calendarNames);
            now.date = formatPattern(t, settings.DateFormat, settings.calendarNames);
        } else {
            // No time rather than UTC's under the zone's name; the dashes keep the clock from
            // looking blank.
            now.time = "--:--";
            now.zoneName = unknownZoneText(zoneName_);
        }
    } else {
        const DateTime local = clock.localNow();
        now.zoneName = zones.HomeZone.DisplayText;
        now.time = formatPattern(local, kSystemLongTime);
        now.date = formatPattern(local, kSystemShortDate);
    }
    if (now == texts_) return false;
    texts_ = std::move(now);
    return true;
}

TickPace FloatingClock::pace(const Settings& settings) const {
    const bool seconds =
        mode_ == FloatingMode::WorldZone
            ? patternShowsSeconds(settings.TimeFormat) || patternShowsSeconds(settings.DateFormat)
            : patternShowsSeconds(kSystemLongTime) || patternShowsSeconds(kSystemShortDate);
    return seconds ? TickPace::EachSecond : TickPace::EachMinute;
}

PixelPoint draggedWindowPos(PixelPoint cursor, PixelPoint grab, int width, int height,
                            const PixelRect& screen) {
    const int x = cursor.x - grab.x;
    const int y = cursor.y - grab.y;
    return PixelPoint{std::max(screen.left, std::min(x, screen.right - width)),
                      std::max(screen.top, std::min(y, screen.bottom - height))};
}

}  // namespace tavrin
