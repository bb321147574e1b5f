#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/timezones/ZoneCache.h"
#include "core/timezones/ZoneRecord.h"

namespace tavrin {

inline constexpr int kMaxZones = 50;

struct ZoneState {
    // Slots 1..50 hold the chosen zones' key names; slot 0 is never used.
    std::array<std::string, kMaxZones + 1> ZoneList;
    ZoneRecord HomeZone;
    std::string ZoneRoot;
    std::int32_t LocalBias = 0;
    // The machine zone's name as the store reader returned it (with its trailing blank), kept to
    // notice a change of the machine's zone.
    std::string StandardName;
    // The zones read so far, shared with the catalogue the application mounts; the minute tick
    // refreshes it so a tz database update reaches the clock while it runs.
    std::shared_ptr<ZoneCache> zoneCache = std::make_shared<ZoneCache>();
};

}  // namespace tavrin
