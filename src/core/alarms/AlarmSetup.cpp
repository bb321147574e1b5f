#include "core/alarms/AlarmSetup.h"

#include "core/base/Text.h"
#include "core/timezones/FormatPattern.h"
#include "core/timezones/ZoneTime.h"

namespace tavrin {

namespace {

constexpr const char* kOutOfRange = "Warning! Custom time out of range";
constexpr const char* kCustomAlarmError =
    "There was an error in the custom Alarm, please recheck and try again";
constexpr const char* kWarningNoTime =
    "Warning! The custom warning time is not a time of day, no warning was set.";
constexpr std::int64_t kDaySeconds = 86400;

// A zone the catalogue no longer knows would ring at UTC's time: the dialog names it, and the half
// (`what`, "alarm" or "warning") sets nothing. True when the zone chosen as `item` is refused.
bool refusesUnknownZone(int item, const ZoneRecord& zone, const char* what, AlarmSetupResult& result) {
    if (item < 1 || zoneIsKnown(zone)) return false;
    result.notices.push_back({"Tavrin Warning Dialog",
                              std::string("Warning! The zone chosen for the ") + what +
                                  " is not in this computer's time zone database, no " + what + " was set."});
    return true;
}

ZoneRecord zoneOf(int index, const AlarmZones& zones) {
    if (index >= 1 && zones.zoneOfItem) return zones.zoneOfItem(index);
    return zones.home;
}

void addLine(std::string& text, const std::string& line) {
    if (line.empty()) return;
    if (!text.empty()) text += "\n";
    text += line;
}

std::string warningLine(const AlarmState& state) {
    std::string line = "A Warning set for: " + state.WarningTime;
    if (!state.WarningZone.DisplayText.empty()) line += " in " + state.WarningZone.DisplayText;
    return line;
}

std::string alarmLine(const AlarmState& state) {
    return "Alarm set for: " + state.AlarmTime;
}

// The warning half. Returns false when the custom time could not be read or the zone is unknown
// (nothing is armed then).
bool armWarning(AlarmState& state, const AlarmEntry& entry, const AlarmZones& zones, const Settings& settings,
                AlarmSetupResult& result) {
    std::string entered;
    if (entry.warningChoice == kCustomWarning) {
        entered = entry.warningHour + ":" + entry.warningMinute + " " + entry.warningHalf;
        // Stored as typed, such a time would never come round: the warning would stay armed for good.
        if (!readDateText(entered)) {
            result.notices.push_back({"Tavrin Warning Dialog", kWarningNoTime});
            return false;
        }
    } else {
        entered = kWarningPresets[static_cast<std::size_t>(entry.warningChoice)];
    }
    const ZoneRecord zone = zoneOf(entry.warningZone, zones);
    if (refusesUnknownZone(entry.warningZone, zone, "warning", result)) return false;
    state.WarningTime = FormatPattern(std::string_view(entered), settings.TimeFormat);
    state.WarningFormat = settings.TimeFormat;
    state.WarningZone = zone;
    if (!entry.warningSound.empty()) state.WarningSound = entry.warningSound;
    state.WarningOn = true;
    return true;
}

// The alarm half. Returns false when the custom delay or the zone was refused (the alarm stays as it
// was).
bool armAlarm(AlarmState& state, const AlarmEntry& entry, const AlarmZones& zones, AlarmSetupResult& result) {
    std::int64_t delay = 0;
    const ZoneRecord zone = zoneOf(entry.alarmZone, zones);
    if (refusesUnknownZone(entry.alarmZone, zone, "alarm", result)) return false;
    if (entry.alarmChoice == kCustomAlarm) {
        std::string& hours = result.customHours;
        std::string& minutes = result.customMinutes;
        // The alarm holds a time of day only, so a delay of a day or more would ring too early.
        const std::int64_t asked = hours.size() < 3 && minutes.size() < 3
                                       ? leadingWhole(hours) * 3600 + leadingWhole(minutes) * 60
                                       : 0;
        if (hours.size() >= 3 || minutes.size() >= 3 || asked >= kDaySeconds) {
            result.notices.push_back({"Tavrin Warning Dialog", kOutOfRange});
            hours = "0";
            minutes = "1";
        }
        if (hours.empty()) hours = "0";
        if (minutes.empty()) minutes = "0";
        const long h = leadingWhole(hours);
        const long m = leadingWhole(minutes);
        // A delay that adds up to less than nothing would name a time already gone.
        if (h < 0 || h * 60 + m < 0) {
            result.notices.push_back({"Tavrin System Dialog", kCustomAlarmError});
            return false;
        }
        delay = static_cast<std::int64_t>(h) * 3600 + static_cast<std::int64_t>(m) * 60;
    } else {
        delay = kAlarmPresetSeconds[static_cast<std::size_t>(entry.alarmChoice)];
    }
    const DateTime now = zones.zoneNow ? zones.zoneNow(zone) : DateTime();
    // Seconds are dropped; a time past midnight is that time of the next day.
    const std::int64_t at = (now.secondsOfDay() + delay) % kDaySeconds;
    state.AlarmTime = FormatPattern(DateTime::fromSerial(0, at / 60 * 60), "HH:MM:SS");
    state.AlarmZone = zone;
    if (!entry.alarmSound.empty()) state.AlarmSound = entry.alarmSound;
    if (!entry.alarmMessage.empty()) state.AlarmMessage = entry.alarmMessage;
    state.AlarmOn = true;
    return true;
}

}  // namespace

AlarmSetupResult armFromDialog(AlarmState& state, const AlarmEntry& entry, const AlarmZones& zones,
                               const Settings& settings) {
    AlarmSetupResult result;
    result.customHours = entry.customHours;
    result.customMinutes = entry.customMinutes;
    const auto chosen = [](int choice, std::size_t items) {
        return choice >= 0 && static_cast<std::size_t>(choice) < items;
    };
    if (chosen(entry.warningChoice, kWarningPresets.size()) &&
        armWarning(state, entry, zones, settings, result)) {
        result.warningArmed = true;
        addLine(result.status, warningLine(state));
    }
    if (chosen(entry.alarmChoice, kAlarmPresets.size()) && armAlarm(state, entry, zones, result)) {
        result.alarmArmed = true;
        addLine(result.status, alarmLine(state));
    }
    return result;
}

void disarmAll(AlarmState& state) {
    state.AlarmOn = false;
    state.WarningOn = false;
    state.AlarmTime.clear();
    state.WarningTime.clear();
    state.WarningFormat.clear();
    state.AlarmSound.clear();
    state.WarningSound.clear();
    state.AlarmMessage.clear();
    state.AlarmZone.DisplayText.clear();
    state.WarningZone.DisplayText.clear();
}

std::string armedStatus(const AlarmState& state) {
    std::string status;
    if (state.WarningOn) addLine(status, warningLine(state));
    if (state.AlarmOn) addLine(status, alarmLine(state));
    return status;
}

std::optional<std::string> soundToTest(const std::string& alarmSound, const std::string& warningSound) {
    if (!alarmSound.empty()) return alarmSound;
    if (!warningSound.empty()) return warningSound;
    return std::nullopt;
}

std::vector<ZoneChoice> zoneChoices(const ZoneState& zones, Store& store) {
    std::vector<ZoneChoice> items{{kSystemDefaultZone, {}}};
    for (int slot = 1; slot <= kMaxZones && !zones.ZoneList[slot].empty(); ++slot) {
        const std::string& name = zones.ZoneList[slot];
        const ZoneRecord zone = readZone(store, zones.ZoneRoot, name);
        // A zone no longer in the catalogue keeps its place, marked as the menu marks it.
        items.push_back({zoneIsKnown(zone) ? zone.DisplayText : unknownZoneText(name), name});
    }
    return items;
}

AlarmZones alarmZonesOf(std::vector<ZoneChoice> choices, const ZoneState& zones, Store& store,
                        const ClockService& clock) {
    AlarmZones result;
    result.home = zones.HomeZone;
    result.zoneOfItem = [choices = std::move(choices), &zones, &store](int item) {
        if (item < 1 || static_cast<std::size_t>(item) >= choices.size()) return zones.HomeZone;
        return readZone(store, zones.ZoneRoot, choices[static_cast<std::size_t>(item)].zoneName);
    };
    result.zoneNow = [&clock, &zones](const ZoneRecord& zone) {
        return ZoneTimeNow(UtcNow(clock), zone, *zones.zoneCache);
    };
    return result;
}

}  // namespace tavrin
