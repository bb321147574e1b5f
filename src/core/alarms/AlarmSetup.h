#pragma once
// The alarm dialog's rules: its lists, what "OK" arms from the entered values, what "Cancel" clears,
// which sound "Test Sound" plays, and the status line that says what is armed.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/alarms/AlarmEntry.h"
#include "core/alarms/AlarmState.h"
#include "core/base/Result.h"
#include "core/settings/Settings.h"
#include "core/store/Store.h"
#include "core/timezones/ClockService.h"
#include "core/timezones/DateTime.h"
#include "core/timezones/ZoneRecord.h"
#include "core/timezones/ZoneState.h"

namespace tavrin {

inline constexpr const char* kAlarmPlaceholder = "Preset Alarm Times";
inline constexpr const char* kWarningPlaceholder = "Preset Warning Hours";
inline constexpr const char* kZonePlaceholder = "Select Time Zone";
inline constexpr const char* kSystemDefaultZone = "System Default";
inline constexpr const char* kCustomChoice = "Custom...";

// The alarm's presets; the last item asks for a custom delay.
inline constexpr std::array<const char*, 9> kAlarmPresets = {
    "5 Mins", "10 Mins", "15 Mins", "30 Mins", "45 Mins", "1 Hour", "2 Hours", "3 Hours", kCustomChoice};
// The delay of each preset but the last, in seconds.
inline constexpr std::array<int, 8> kAlarmPresetSeconds = {300, 600, 900, 1800, 2700, 3600, 7200, 10800};
inline constexpr int kCustomAlarm = 8;

inline constexpr std::array<const char*, 7> kWarningPresets = {
    "09:00 AM", "10:00 AM", "12:00 PM", "05:00 PM", "05:30 PM", "08:00 PM", kCustomChoice};
inline constexpr int kCustomWarning = 6;

// One message box of the dialog, shown with an OK button.
struct AlarmNotice {
    std::string title;
    std::string text;
    friend bool operator==(const AlarmNotice&, const AlarmNotice&) = default;
};

// What the dialog needs to know of the zones: the machine's own, the chosen ones by the index of
// their item in the dialog's lists (1 and up), and the current time in any of them.
struct AlarmZones {
    ZoneRecord home;
    std::function<ZoneRecord(int item)> zoneOfItem;
    std::function<DateTime(const ZoneRecord&)> zoneNow;
};

// What "OK" came to. Each half is nothing when it was left at its placeholder, else armed or refused
// with the reason; a refusal is among the notices too, in the box it is shown in.
struct AlarmArming {
    std::vector<AlarmNotice> notices;  // in the order they are shown
    std::optional<Result<>> warning;
    std::optional<Result<>> alarm;
    // The custom delay boxes as they stand afterwards (an out-of-range delay becomes 0 and 1).
    std::string customHours;
    std::string customMinutes;
    std::string status;  // what this "OK" armed, one line each
};

// "OK": the warning half first, then the alarm half. A half left at its placeholder arms nothing
// and keeps what was armed before; an empty sound or message box keeps the earlier one.
AlarmArming armFromDialog(AlarmState& state, const AlarmEntry& entry, const AlarmZones& zones,
                          const Settings& settings);

// "Cancel": the alarm and the warning both disarmed, snoozed ones too, whatever the dialog shows.
void disarmAll(AlarmState& state);

// What is armed or snoozed, one line each for the warning and the alarm; empty when nothing is.
std::string armedStatus(const AlarmState& state);

// The file "Test Sound" plays: the alarm's, else the warning's; nothing when both boxes are empty.
std::optional<std::string> soundToTest(const std::string& alarmSound, const std::string& warningSound);

// One item of the zone lists: what it shows and the zone it stands for (empty for "System Default").
struct ZoneChoice {
    std::string text;
    std::string zoneName;
    friend bool operator==(const ZoneChoice&, const ZoneChoice&) = default;
};

// The zone lists' items as the dialog opens: "System Default", then the chosen zones' display texts
// from slot 1 up to the first empty slot. Each item keeps its zone's name, so the zone armed is the
// one shown even when the chosen zones change while the dialog is open.
std::vector<ZoneChoice> zoneChoices(const ZoneState& zones, Store& store);

// The zones of the dialog's `choices`, read from the catalogue when armed; the time from UTC now and
// each zone's rules.
AlarmZones alarmZonesOf(std::vector<ZoneChoice> choices, const ZoneState& zones, Store& store,
                        const ClockService& clock);

}  // namespace tavrin
