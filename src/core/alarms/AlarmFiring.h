#pragma once
// Fires the one warning and the one alarm on the clock's reminder tick, each once, then disarms it.
//
// Each item fires when its time of day in its zone has come since the previous tick, not only when a
// tick happens to fall inside that minute: after a suspended machine or a blocked thread the item
// fires at the first tick after its time and says how late it is, instead of waiting a whole day.
// A snoozed item rings again alike: at the first tick at or after its instant, once.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/alarms/AlarmNotifier.h"
#include "core/alarms/AlarmState.h"
#include "core/alarms/SoundPlayer.h"
#include "core/timezones/ClockService.h"
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
    // A zone's time at a UTC instant.
    using ZoneClock = std::function<DateTime(const ZoneRecord&, const DateTime& utc)>;

    AlarmFiring(AlarmState& state, SoundPlayer& sound, AlarmNotifier& notifier, const ClockService& clock,
                ZoneClock zoneAt);

    // The warning first, then the alarm: when both are due the alarm's sound starts last.
    void tick();

    // "Snooze" on what `kind` rang with last: its sound stops and it rings again `minutes` (at least
    // one) from now. A second snooze puts it off from the moment of that one. False when it never
    // rang, so there is nothing to put off.
    bool snooze(AlarmKind kind, int minutes);

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
    void fire(AlarmKind kind, const char* title, const std::string& message, std::int64_t late, bool& on,
              std::string& time, std::string& sound, ZoneRecord& zone);
    // Rings the item's snooze once its instant has come.
    void ringSnoozed(AlarmKind kind);
    void ring(AlarmKind kind, Ring ring, std::int64_t late);

    AlarmState& state_;
    SoundPlayer& sound_;
    AlarmNotifier& notifier_;
    const ClockService& clock_;
    ZoneClock zoneAt_;
    Track warning_;
    Track alarm_;
    std::optional<Ring> lastRing_[2];  // by AlarmKind
};

}  // namespace tavrin
