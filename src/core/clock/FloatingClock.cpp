#include "core/clock/FloatingClock.h"

#include <algorithm>

#include "core/timezones/FormatPattern.h"
#include "core/timezones/SystemFormats.h"
#include "core/timezones/ZoneRecord.h"
#include "core/timezones/ZoneTime.h"

namespace tavrin {

FloatingClock::FloatingClock(Store& store, const ZoneState& zones) {
    menu_.push_back({FloatingMenuKind::ShowTimeZone, "&Show Time Zone...", 0});
    menu_.push_back({FloatingMenuKind::Separator, "", 0});
    for (int slot = 1; slot <= kMaxZones; ++slot) {
        const std::string& name = zones.ZoneList[static_cast<std::size_t>(slot)];
        if (name.empty()) break;
        menu_.push_back({FloatingMenuKind::Zone, ReadZone(store, zones.ZoneRoot, name).DisplayText, slot});
    }
    menu_.push_back({FloatingMenuKind::Separator, "", 0});
    menu_.push_back({FloatingMenuKind::AlwaysOnTop, "&Always on Top", 0});
    menu_.push_back({FloatingMenuKind::Separator, "", 0});
    menu_.push_back({FloatingMenuKind::Close, "&Close", 0});
}

bool FloatingClock::refresh(Store& store, const Settings& settings, const ZoneState& zones,
                            const ClockService& clock) {
    FloatingTexts now;
    if (mode_ >= 1 && mode_ <= kMaxZones) {
        const DateTime utc = UtcNow(clock);
        const ZoneRecord zone =
            ReadZone(store, zones.ZoneRoot, zones.ZoneList[static_cast<std::size_t>(mode_)]);
        const DateTime t = ZoneTimeNow(utc, zone);
        now.zoneName = zone.DisplayText;
        now.time = FormatPattern(t, settings.TimeFormat, settings.calendarNames);
        now.date = FormatPattern(t, settings.DateFormat, settings.calendarNames);
    } else {
        const DateTime local = clock.localNow();
        now.zoneName = zones.HomeZone.DisplayText;
        now.time = FormatPattern(local, kSystemLongTime);
        now.date = FormatPattern(local, kSystemShortDate);
    }
    if (now == texts_) return false;
    texts_ = std::move(now);
    return true;
}

PixelPoint draggedWindowPos(PixelPoint cursor, PixelPoint grab, int width, int height,
                            const PixelRect& screen) {
    const int x = cursor.x - grab.x;
    const int y = cursor.y - grab.y;
    return PixelPoint{std::max(screen.left, std::min(x, screen.right - width)),
                      std::max(screen.top, std::min(y, screen.bottom - height))};
}

}  // namespace tavrin
