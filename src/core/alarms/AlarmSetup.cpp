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

// A half's refusal: shown in a box titled `title`, and the reason the half set nothing.
Failure refuse(AlarmArming& result, const char* title, std::string text) {
    result.notices.push_back({title, text});
    return Failure{std::move(text)};
}

// A zone the catalogue no longer knows would ring at UTC's time: the dialog names it, and the half
// (`what`, "alarm" or "warning") sets nothing.
Result<> knownZone(int item, const ZoneRecord& zone, const char* what, AlarmArming& result) {
    if (item < 1 || zoneIsKnown(zone)) return {};
    return refuse(result, "Tavrin Warning Dialog",
                  std::string("Warning! The zone chosen for the ") + what +
                      " is not in this computer's time zone database, no " + what + " was set.");
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
    std::string line = "A Warning set for: " + state.warningTime;
    if (!state.warningZone.DisplayText.empty()) line += " in " + state.warningZone.DisplayText;
    return line;
}

std::string alarmLine(const AlarmState& state) {
    return "Alarm set for: " + state.alarmTime;
}

// The warning half. Refused when the custom time could not be read or the zone is unknown (nothing
// is armed then).
Result<> armWarning(AlarmState& state, const AlarmEntry& entry, const AlarmZones& zones,
                    const Settings& settings, AlarmArming& result) {
    std::string entered;
    if (entry.warningChoice == kCustomWarning) {
        entered = entry.warningHour + ":" + entry.warningMinute + " " + entry.warningHalf;
        // Stored as typed, such a time would never come round: the warning would stay armed for good.
        if (!readDateText(entered)) return refuse(result, "Tavrin Warning Dialog", kWarningNoTime);
    } else {
        entered = kWarningPresets[static_cast<std::size_t>(entry.warningChoice)];
    }
    const ZoneRecord zone = zoneOf(entry.warningZone, zones);
    if (Result known = knownZone(entry.warningZone, zone, "warning", result); !known) return known;
    state.warningTime = formatPattern(std::string_view(entered), settings.TimeFormat);
    state.warningFormat = settings.TimeFormat;
    state.warningZone = zone;
    if (!entry.warningSound.empty()) state.warningSound = entry.warningSound;
    state.warningOn = true;
    state.warningSnooze.reset();  // the new warning takes the place of the one put off
    return {};
}

// The alarm half. Refused when the custom delay or the zone was (the alarm stays as it was).
Result<> armAlarm(AlarmState& state, const AlarmEntry& entry, const AlarmZones& zones, AlarmArming& result) {
    std::int64_t delay = 0;
    const ZoneRecord zone = zoneOf(entry.alarmZone, zones);
    if (Result known = knownZone(entry.alarmZone, zone, "alarm", result); !known) return known;
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
        if (h < 0 || h * 60 + m < 0) return refuse(result, "Tavrin System Dialog", kCustomAlarmError);
        delay = static_cast<std::int64_t>(h) * 3600 + static_cast<std::int64_t>(m) * 60;
    } else {
        delay = kAlarmPresetSeconds[static_cast<std::size_t>(entry.alarmChoice)];
    }
    const DateTime now = zones.zoneNow ? zones.zoneNow(zone) : DateTime();
    // Seconds are dropped; a time past midnight is that time of the next day.
    const std::int64_t at = (now.secondsOfDay() + delay) % kDaySeconds;
    state.alarmTime = formatPattern(DateTime::fromSerial(0, at / 60 * 60), "HH:MM:SS");
    state.alarmZone = zone;
    if (!entry.alarmSound.empty()) state.alarmSound = entry.alarmSound;
    if (!entry.alarmMessage.empty()) state.alarmMessage = entry.alarmMessage;
    state.alarmOn = true;
    state.alarmSnooze.reset();  // the new alarm takes the place of the one put off
    return {};
}

}  // namespace

AlarmArming armFromDialog(AlarmState& state, const AlarmEntry& entry, const AlarmZones& zones,
                          const Settings& settings) {
    AlarmArming result;
    result.customHours = entry.customHours;
    result.customMinutes = entry.customMinutes;
    const auto chosen = [](int choice, std::size_t items) {
        return choice >= 0 && static_cast<std::size_t>(choice) < items;
    };
    if (chosen(entry.warningChoice, kWarningPresets.size())) {
        result.warning = armWarning(state, entry, zones, settings, result);
        if (*result.warning) addLine(result.status, warningLine(state));
    }
    if (chosen(entry.alarmChoice, kAlarmPresets.size())) {
        result.alarm = armAlarm(state, entry, zones, result);
        if (*result.alarm) addLine(result.status, alarmLine(state));
    }
    return result;
}

void disarmAll(AlarmState& state) {
    state.alarmOn = false;
    state.warningOn = false;
    state.alarmTime.clear();
    state.warningTime.clear();
    state.warningFormat.clear();
    state.alarmSound.clear();
    state.warningSound.clear();
    state.alarmMessage.clear();
    state.alarmZone.DisplayText.clear();
    state.warningZone.DisplayText.clear();
    state.alarmSnooze.reset();
    state.warningSnooze.reset();
}

std::string armedStatus(const AlarmState& state) {
    std::string status;
    if (state.warningOn) addLine(status, warningLine(state));
    if (state.warningSnooze) addLine(status, "A Warning snoozed until: " + state.warningSnooze->untilText);
    if (state.alarmOn) addLine(status, alarmLine(state));
    if (state.alarmSnooze) addLine(status, "Alarm snoozed until: " + state.alarmSnooze->untilText);
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
        const Result<ZoneRecord> zone = readZone(store, zones.ZoneRoot, name);
        // A zone no longer in the catalogue keeps its place, marked as the menu marks it.
        items.push_back({zone ? zone->DisplayText : unknownZoneText(name), name});
    }
    return items;
}

AlarmZones alarmZonesOf(std::vector<ZoneChoice> choices, const ZoneState& zones, Store& store,
                        const ClockService& clock) {
    AlarmZones result;
    result.home = zones.HomeZone;
    result.zoneOfItem = [choices = std::move(choices), &zones, &store](int item) {
        if (item < 1 || static_cast<std::size_t>(item) >= choices.size()) return zones.HomeZone;
        // A zone the catalogue no longer has gives the empty record, which arming refuses by name.
        return readZone(store, zones.ZoneRoot, choices[static_cast<std::size_t>(item)].zoneName).valueOr({});
    };
    result.zoneNow = [&clock, &zones](const ZoneRecord& zone) {
        return zoneTimeNow(utcNow(clock), zone, *zones.zoneCache);
    };
    return result;
}

}  // namespace tavrin
