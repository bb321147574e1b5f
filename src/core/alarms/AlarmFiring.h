#pragma once
// Fires the one warning and the one alarm on the clock's reminder tick, each once, then disarms it.
//
// Each item fires when its time of day in its zone has come since the previous tick, not only when a
// tick happens to fall inside that minute: after a suspended machine or a blocked thread the item
// fires at the first tick after its time and says how late it is, instead of waiting a whole day.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/alarms/AlarmNotifier.h"
#include "core/alarms/AlarmState.h"
#include "core/alarms/SoundPlayer.h"
#include "core/timezones/DateTime.h"
#include "core/timezones/ZoneRecord.h"

namespace tavrin {

// Minutes from the latest occurrence of `targetMinute` (minute of the day, 0..1439) to `now`, when
// that occurrence lies in (previous, now]; nothing otherwise. Without a usable previous tick (none
// yet, or the clock went backwards) only the minute of `now` itself counts.
std::optional<std::int64_t> minutesLateIfDue(const std::optional<DateTime>& previous, const DateTime& now,
                                             int targetMinute);

// " (5 minutes late)", " (1 hour 2 minutes late)"; empty below one minute.
std::string latenessText(std::int64_t minutesLate);

class AlarmFiring {
  public:
    // The current time in a zone: UTC now from the home zone, then that zone's time.
    using ZoneClock = std::function<DateTime(const ZoneRecord&)>;

    AlarmFiring(AlarmState& state, SoundPlayer& sound, AlarmNotifier& notifier, ZoneClock zoneNow);

    // The warning first, then the alarm: when both are due the alarm's sound starts last.
    void tick();

  private:
    // What an item looked like at the previous tick, to notice it being armed anew.
    struct Track {
        bool armed = false;
        std::string time;
        ZoneRecord zone;
        std::optional<DateTime> previous;
    };

    // Returns the lateness in minutes when the item is due at this tick. `format` wrote `time`.
    std::optional<std::int64_t> due(Track& track, bool on, const std::string& time, std::string_view format,
                                    const ZoneRecord& zone);
    // Disarms the item (its state cleared before the sound and the message start), then rings it.
    void fire(const char* title, const std::string& message, bool& on, std::string& time, std::string& sound,
              ZoneRecord& zone);

    AlarmState& state_;
    SoundPlayer& sound_;
    AlarmNotifier& notifier_;
    ZoneClock zoneNow_;
    Track warning_;
    Track alarm_;
};

}  // namespace tavrin
