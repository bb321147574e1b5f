#include "core/alarms/AlarmFiring.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <string>

#include "core/alarms/AlarmSetup.h"
#include "core/timezones/ClockService.h"
#include "core/timezones/FormatPattern.h"
#include "core/timezones/ZoneCache.h"
#include "core/timezones/ZoneTime.h"
#include "support/FakeClock.h"
#include "support/Recorders.h"
#include "support/ScratchHome.h"
#include "support/TempDir.h"

namespace tavrin {
namespace {

using Strings = std::vector<std::string>;
using Shown = std::vector<std::pair<std::string, std::string>>;

DateTime at(int day, int hour, int minute, int second = 0) {
    return DateTime::fromFields(2026, 12, day, hour, minute, second);
}

// The C library's Berlin wall time of a UTC instant, "HH:MM".
std::string berlinByLibc(const DateTime& utc) {
    const test::TzVariable berlin("Europe/Berlin");
    const std::time_t t = utc.toUnix();
    std::tm local{};
    char text[8];
    std::strftime(text, sizeof text, "%H:%M", ::localtime_r(&t, &local));
    return text;
}

// The fake clock runs on UTC; a zone's time comes from its rule block (UTC minus its bias).
struct Firing : ::testing::Test {
    test::FakeClock clock{at(6, 0, 0)};
    AlarmState state;
    test::RecordingSound sound;
    test::RecordingNotifier notifier;
    ZoneCache zones;
    AlarmFiring firing{state, sound, notifier, clock, [this](const ZoneRecord& zone, const DateTime& utc) {
                           return zoneTimeNow(utc, zone, zones);
                       }};
    test::TempDir dir{"tavrin-alarm"};

    void tickAt(DateTime utc) {
        clock.setUtc(utc);
        firing.tick();
    }
    // Ticks every 750 ms from the current time for `seconds` seconds.
    void run(int seconds) {
        for (int i = 0; i < seconds * 4 / 3; ++i) {
            clock.advanceMillis(750);
            firing.tick();
        }
    }
    // Ticks a second before `utc` and at it: whether the second tick alone rang, once.
    bool ringsFirstAt(DateTime utc) {
        const std::size_t before = sound.events.size();
        tickAt(utc.addSeconds(-1));
        if (sound.events.size() != before) return false;
        tickAt(utc);
        return sound.events.size() == before + 1;
    }
    void armAlarm(const std::string& time, const std::string& soundPath = "") {
        state.alarmOn = true;
        state.alarmTime = time;
        state.alarmSound = soundPath;
        state.alarmZone.DisplayText = "(GMT) Greenwich Mean Time";
    }
    void armWarning(const std::string& time, const std::string& soundPath = "") {
        state.warningOn = true;
        state.warningTime = time;
        state.warningSound = soundPath;
        state.warningZone.DisplayText = "(GMT) Greenwich Mean Time";
    }
    std::string soundFile() const {
        std::ofstream(dir.file("ring.wav")) << "RIFF";
        return dir.file("ring.wav");
    }
};

// The machine slept through 09:00: the alarm rings late, once, saying how late.
TEST_F(Firing, AlarmFiresOnceThenDisarmsEverything) {
    armAlarm("09:00:00");
    state.alarmMessage = "Stand-up";
    tickAt(at(6, 8, 50));
    tickAt(at(6, 9, 5));
    run(120);
    EXPECT_EQ(notifier.shown, (Shown{{"Tavrin Alarm", "Stand-up (5 minutes late)"}}));
    EXPECT_FALSE(state.alarmOn);
    EXPECT_EQ(state.alarmTime + state.alarmSound + state.alarmMessage + state.alarmZone.DisplayText, "");
}

TEST_F(Firing, BothDueInOneTickWarningFirstAlarmLast) {
    // The warning as typed in the short form, the alarm without a message: it shows its time.
    armWarning("11:30 AM", soundFile());
    armAlarm("11:30:00");
    tickAt(at(6, 11, 29, 59));
    tickAt(at(6, 11, 30, 0));
    EXPECT_EQ(sound.events, (Strings{dir.file("ring.wav"), "beep"}));
    EXPECT_EQ(notifier.shown,
              (Shown{{"Tavrin Warning", "11:30 AM (GMT) Greenwich Mean Time"}, {"Tavrin Alarm", "11:30"}}));
}

TEST_F(Firing, SoundPathsBeepUnlessTheFileCanBeRead) {
    const Strings paths{"", "/nonexistent/tavrin/ring.wav", "/tmp", soundFile()};
    for (int i = 0; i < 4; ++i) {
        armAlarm("10:0" + std::to_string(i) + ":00", paths[i]);
        tickAt(at(6, 10, i));
    }
    EXPECT_EQ(sound.events, (Strings{"beep", "beep", "beep", paths[3]}));
}

// Re-armed between two ticks with a time already past, armed after its time, or moved (same time of
// day) to a zone where its time has passed today: it rings there tomorrow, not late now.
TEST_F(Firing, AnAlarmWhoseTimeHasPassedWaitsForTheNextDay) {
    armAlarm("09:00:00");
    tickAt(at(6, 8, 0));
    state.alarmTime = "08:30:00";
    tickAt(at(6, 8, 46));
    EXPECT_TRUE(state.alarmOn);
    tickAt(at(6, 10, 0));
    armAlarm("09:00:00");
    run(120);
    EXPECT_TRUE(ringsFirstAt(at(7, 9, 0)));

    armAlarm("09:00:00");
    tickAt(at(7, 8, 50));
    state.alarmZone.Bias = -120;  // two hours ahead
    tickAt(at(7, 8, 51));
    run(120);
    EXPECT_TRUE(state.alarmOn);
    EXPECT_TRUE(ringsFirstAt(at(8, 7, 0)));
}

// A warning is read in the time format it was written in, words and all; unreadable, it never fires.
TEST_F(Firing, AWarningIsReadInItsOwnFormatAndUnreadableNeverFires) {
    armWarning("tea time");
    for (int h = 0; h < 24; ++h) tickAt(at(6, h, 0));
    EXPECT_TRUE(sound.events.empty());
    EXPECT_TRUE(state.warningOn);

    armWarning("15:00 Uhr");
    state.warningFormat = "HH:mm 'Uhr'";
    EXPECT_TRUE(ringsFirstAt(at(7, 15, 0)));
}

// "Snooze" stops the sound and rings the same again that many minutes later, counted in UTC: across
// Berlin's clock changes (October, March) too, the dialog naming the Berlin time the C library gives.
// Asleep past it, it rings once on waking, saying how late; a second snooze counts from its own
// moment, and Cancel in the dialog drops it.
TEST_F(Firing, SnoozeRingsAgainAfterItsMinutesInUtcOnce) {
    const std::tuple<DateTime, int, int, const char*> cases[] = {
        // rings (UTC), minutes, woken late
        {at(6, 9, 0), 5, 0, "Tea"},
        {DateTime::fromFields(2026, 10, 25, 0, 58), 5, 0, "Tea"},
        {DateTime::fromFields(2026, 3, 29, 0, 58), 5, 0, "Tea"},
        {at(6, 9, 0), 10, 150, "Tea (2 hours 30 minutes late)"}};
    ZoneRecord berlin;
    berlin.DisplayText = "(GMT+01:00) Berlin";
    berlin.tzFile = TAVRIN_TEST_DATA "/zoneinfo/Europe/Berlin";
    for (const auto& [rings, minutes, late, shown] : cases) {
        SCOPED_TRACE(formatPattern(rings, "yyyy-mm-dd HH:MM"));
        tickAt(rings.addSeconds(-1));
        armAlarm(formatPattern(zoneTimeNow(rings, berlin, zones), "HH:MM") + ":00");
        state.alarmZone = berlin;
        state.alarmMessage = "Tea";
        EXPECT_TRUE(ringsFirstAt(rings));
        sound.events.clear();
        notifier.shown.clear();
        ASSERT_TRUE(firing.snooze(AlarmKind::Alarm, minutes));
        const DateTime until = rings.addMinutes(minutes);
        EXPECT_EQ(armedStatus(state),
                  "Alarm snoozed until: " + berlinByLibc(until) + " in (GMT+01:00) Berlin");
        if (late == 0) {
            EXPECT_TRUE(ringsFirstAt(until));
        }
        tickAt(until.addMinutes(late));
        run(300);
        EXPECT_EQ(sound.events, (Strings{"stop", "beep"}));
        EXPECT_EQ(notifier.shown, (Shown{{"Tavrin Alarm", shown}}));
    }
    ASSERT_TRUE(firing.snooze(AlarmKind::Alarm, 5));
    tickAt(clock.utcNow().addMinutes(5));
    ASSERT_TRUE(firing.snooze(AlarmKind::Alarm, 5));
    disarmAll(state);
    run(600);
    EXPECT_EQ(notifier.shown.size(), 2u);
}

TEST(MinutesLateIfDue, WindowBetweenTicks) {
    // First tick after arming: only the current minute counts.
    EXPECT_EQ(minutesLateIfDue(std::nullopt, at(6, 9, 0, 40), 540), 0);
    EXPECT_EQ(minutesLateIfDue(std::nullopt, at(6, 9, 1), 540), std::nullopt);
    // Across midnight.
    EXPECT_EQ(minutesLateIfDue(at(6, 23, 58), at(7, 0, 3), 1), 2);
    EXPECT_EQ(minutesLateIfDue(at(6, 23, 59, 59), at(7, 0, 0), 0), 0);
    // The minute's start was already covered by the previous tick.
    EXPECT_EQ(minutesLateIfDue(at(6, 9, 0, 0), at(6, 9, 0, 1), 540), std::nullopt);
    // The clock went backwards: only the current minute counts.
    EXPECT_EQ(minutesLateIfDue(at(6, 10, 0), at(6, 9, 0), 540), 0);
    // Asleep for days: late from the latest occurrence.
    EXPECT_EQ(minutesLateIfDue(at(3, 12, 0), at(6, 9, 30), 540), 30);
}

TEST(LatenessText, Units) {
    const std::pair<int, const char*> cases[] = {{0, ""},
                                                 {1, " (1 minute late)"},
                                                 {5, " (5 minutes late)"},
                                                 {60, " (1 hour late)"},
                                                 {122, " (2 hours 2 minutes late)"}};
    for (const auto& [minutes, text] : cases) EXPECT_EQ(latenessText(minutes), text) << minutes;
}

}  // namespace
}  // namespace tavrin
