#pragma once
// The one alarm and the one world-time warning. Not stored: they last until they fire, are
// cancelled, or the program ends; so does a snooze, which is the same alarm put off.
#include <optional>
#include <string>

#include "core/timezones/DateTime.h"
#include "core/timezones/ZoneRecord.h"

namespace tavrin {

// The alarm or the warning, where the two are handled alike.
enum class AlarmKind { Warning, Alarm };

// What an alarm or a warning rang with, to ring the same again after a snooze.
struct Ring {
    std::string title;
    std::string message;  // without the note of how late it rang
    std::string sound;
    ZoneRecord zone;
};

// A rung alarm or warning put off by "Snooze": it rings again at an instant kept in UTC, so a clock
// change or a new machine zone in between moves it neither way.
struct Snooze {
    DateTime untilUtc;
    std::string untilText;  // when, in the zone it was set in: "09:05 in (GMT+01:00) Berlin"
    Ring ring;
};

struct AlarmState {
    bool alarmOn = false;
    std::string alarmTime;  // "HH:MM:SS", seconds "00"
    ZoneRecord alarmZone;
    std::string alarmSound;
    std::string alarmMessage;
    bool warningOn = false;
    std::string warningTime;  // as entered, in the "TimeFormat" form
    // The "TimeFormat" that wrote warningTime: the text it holds ("13:05 Uhr", "13h05") reads back
    // only through the pattern that wrote it.
    std::string warningFormat;
    ZoneRecord warningZone;
    std::string warningSound;
    std::optional<Snooze> alarmSnooze;
    std::optional<Snooze> warningSnooze;

    std::optional<Snooze>& snoozeOf(AlarmKind kind) {
        return kind == AlarmKind::Alarm ? alarmSnooze : warningSnooze;
    }
};

}  // namespace tavrin
