#include "core/alarms/AlarmFiring.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "core/timezones/FormatPattern.h"

namespace tavrin {

namespace {

std::string hourMinuteText(int minuteOfDay) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d", minuteOfDay / 60 % 24, minuteOfDay % 60);
    return buffer;
}

std::string plural(std::int64_t n, const char* unit) {
    return std::to_string(n) + " " + unit + (n == 1 ? "" : "s");
}

}  // namespace

std::optional<std::int64_t> minutesLateIfDue(const std::optional<DateTime>& previous, const DateTime& now,
                                             int targetMinute) {
    const int nowMinute = now.hour() * 60 + now.minute();
    if (!previous || now < *previous) {
        if (nowMinute == targetMinute) return 0;
        return std::nullopt;
    }
    // The latest moment at or before `now` whose time of day is the target minute.
    DateTime occurrence = DateTime::fromSerial(now.days(), static_cast<std::int64_t>(targetMinute) * 60);
    if (occurrence > now) occurrence = occurrence.addDays(-1);
    if (!(occurrence > *previous)) return std::nullopt;
    return now.secondsSince(occurrence) / 60;
}

std::string latenessText(std::int64_t minutesLate) {
    if (minutesLate < 1) return {};
    std::string text = " (";
    if (minutesLate >= 60) {
        text += plural(minutesLate / 60, "hour");
        if (minutesLate % 60 != 0) text += " " + plural(minutesLate % 60, "minute");
    } else {
        text += plural(minutesLate, "minute");
    }
    return text + " late)";
}

AlarmFiring::AlarmFiring(AlarmState& state, SoundPlayer& sound, AlarmNotifier& notifier,
                         const ClockService& clock, ZoneClock zoneAt)
    : state_(state), sound_(sound), notifier_(notifier), clock_(clock), zoneAt_(std::move(zoneAt)) {}

std::optional<std::int64_t> AlarmFiring::due(Track& track, bool on, const std::string& time,
                                             std::string_view format, const ZoneRecord& zone) {
    if (!on) {
        track = Track{};
        return std::nullopt;
    }
    // Armed since the last tick, or re-armed with another time or zone: no earlier tick counts, so a
    // time already past today means its next occurrence, as the user expects of an alarm clock.
    if (!track.armed || track.time != time || !(track.zone == zone)) {
        track = Track{true, time, zone, std::nullopt};
    }
    const DateTime now = zoneAt_(zone, clock_.utcNow());
    // Read back through the one date reader, with the pattern that wrote it, a warning typed as
    // "9:00 AM" and an alarm stored as "09:00:00" both mean 09:00 whatever the "TimeFormat" setting
    // looks like; unreadable text never comes due.
    const std::optional<int> target = readMinuteOfDay(time, format);
    std::optional<std::int64_t> late;
    if (target) late = minutesLateIfDue(track.previous, now, *target);
    track.previous = now;
    return late;
}

void AlarmFiring::tick() {
    if (const auto late =
            due(warning_, state_.warningOn, state_.warningTime, state_.warningFormat, state_.warningZone)) {
        std::string message = state_.warningTime;
        if (!state_.warningZone.DisplayText.empty()) message += " " + state_.warningZone.DisplayText;
        fire(AlarmKind::Warning, "Tavrin Warning", message, *late, state_.warningOn, state_.warningTime,
             state_.warningSound, state_.warningZone);
        warning_ = Track{};
    }
    ringSnoozed(AlarmKind::Warning);
    if (const auto late = due(alarm_, state_.alarmOn, state_.alarmTime, {}, state_.alarmZone)) {
        std::string message = state_.alarmMessage;
        if (message.empty()) {
            const std::optional<int> minute = readMinuteOfDay(state_.alarmTime);
            message = minute ? hourMinuteText(*minute) : state_.alarmTime;
        }
        state_.alarmMessage.clear();
        fire(AlarmKind::Alarm, "Tavrin Alarm", message, *late, state_.alarmOn, state_.alarmTime,
             state_.alarmSound, state_.alarmZone);
        alarm_ = Track{};
    }
    ringSnoozed(AlarmKind::Alarm);
}

void AlarmFiring::fire(AlarmKind kind, const char* title, const std::string& message, std::int64_t late,
                       bool& on, std::string& time, std::string& sound, ZoneRecord& zone) {
    Ring rung{title, message, sound, zone};
    on = false;
    zone.DisplayText.clear();
    time.clear();
    sound.clear();
    ring(kind, std::move(rung), late);
}

void AlarmFiring::ringSnoozed(AlarmKind kind) {
    std::optional<Snooze>& snooze = state_.snoozeOf(kind);
    if (!snooze) return;
    const DateTime now = clock_.utcNow();
    if (now < snooze->untilUtc) return;
    Ring again = std::move(snooze->ring);
    const std::int64_t late = now.secondsSince(snooze->untilUtc) / 60;
    snooze.reset();
    ring(kind, std::move(again), late);
}

void AlarmFiring::ring(AlarmKind kind, Ring ring, std::int64_t late) {
    playSoundOrBeep(sound_, ring.sound);
    const std::string title = ring.title;
    const std::string message = ring.message + latenessText(late);
    lastRing_[static_cast<int>(kind)] = std::move(ring);
    notifier_.showAlarm(kind, title, message);
}

bool AlarmFiring::snooze(AlarmKind kind, int minutes) {
    const std::optional<Ring>& rung = lastRing_[static_cast<int>(kind)];
    if (!rung) return false;
    sound_.stop();
    const DateTime until = clock_.utcNow().addMinutes(std::max(minutes, 1));
    std::string when = formatPattern(zoneAt_(rung->zone, until), "HH:MM");
    if (!rung->zone.DisplayText.empty()) when += " in " + rung->zone.DisplayText;
    state_.snoozeOf(kind) = Snooze{until, std::move(when), *rung};
    return true;
}

}  // namespace tavrin
