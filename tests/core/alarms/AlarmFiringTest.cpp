#include "core/alarms/AlarmFiring.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "core/timezones/ClockService.h"
#include "support/FakeClock.h"
#include "support/Recorders.h"
#include "support/TempDir.h"

namespace tavrin {
namespace {

using Strings = std::vector<std::string>;

// A zone's time is UTC minus its bias; the fake clock runs on UTC.
struct Firing : ::testing::Test {
    test::FakeClock clock{DateTime::fromFields(2026, 12, 6, 0, 0, 0)};
    AlarmState state;
    test::RecordingSound sound;
    test::RecordingNotifier notifier;
    AlarmFiring firing{state, sound, notifier,
                       [this](const ZoneRecord& zone) { return clock.utcNow().addMinutes(-zone.Bias); }};
    test::TempDir dir{"tavrin-alarm"};

    void at(int hour, int minute, int second = 0) {
        clock.setUtc(DateTime::fromFields(2026, 12, 6, hour, minute, second));
        firing.tick();
    }
    // Ticks every 750 ms from the current time for `seconds` seconds.
    void run(int seconds) {
        for (int i = 0; i < seconds * 4 / 3; ++i) {
            clock.advanceMillis(750);
            firing.tick();
        }
    }
    void armAlarm(const std::string& time, const std::string& soundPath = "") {
        state.AlarmOn = true;
        state.AlarmTime = time;
        state.AlarmSound = soundPath;
        state.AlarmZone.DisplayText = "(GMT) Greenwich Mean Time";
    }
    std::string soundFile() const {
        std::ofstream(dir.file("ring.wav")) << "RIFF";
        return dir.file("ring.wav");
    }
};

TEST_F(Firing, NoonWarningRingsAtNoonNotMidnight) {
    state.WarningOn = true;
    state.WarningTime = "12:00 PM";
    at(0, 0);
    run(90);
    EXPECT_TRUE(sound.events.empty());
    at(11, 59, 59);
    at(12, 0, 0);
    EXPECT_EQ(sound.events, Strings{"beep"});
    EXPECT_FALSE(state.WarningOn);
}

TEST_F(Firing, AlarmFiresOnceThenDisarmsEverything) {
    armAlarm("09:00:00");
    state.AlarmMessage = "Stand-up";
    at(8, 59, 59);
    run(120);
    EXPECT_EQ(sound.events.size(), 1u);
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0], std::make_pair(std::string("Tavrin Alarm"), std::string("Stand-up")));
    EXPECT_FALSE(state.AlarmOn);
    EXPECT_EQ(state.AlarmTime + state.AlarmSound + state.AlarmMessage + state.AlarmZone.DisplayText, "");
    // A day later nothing rings again.
    clock.advanceSeconds(86400 - 120);
    run(5);
    EXPECT_EQ(sound.events.size(), 1u);
}

TEST_F(Firing, BothDueInOneTickWarningFirstAlarmLast) {
    // The warning as typed in the short form, the alarm without a message: it shows its time.
    state.WarningOn = true;
    state.WarningTime = "11:30 AM";
    state.WarningSound = soundFile();
    state.WarningZone.DisplayText = "(GMT) Greenwich Mean Time";
    armAlarm("11:30:00");
    at(11, 29, 59);
    at(11, 30, 0);
    EXPECT_EQ(sound.events, (Strings{dir.file("ring.wav"), "beep"}));
    EXPECT_EQ(notifier.shown,
              (std::vector<std::pair<std::string, std::string>>{
                  {"Tavrin Warning", "11:30 AM (GMT) Greenwich Mean Time"}, {"Tavrin Alarm", "11:30"}}));
}

TEST_F(Firing, SoundPathsBeepUnlessTheFileCanBeRead) {
    const Strings paths{"", "/nonexistent/tavrin/ring.wav", "/tmp", soundFile()};
    for (int i = 0; i < 4; ++i) {
        armAlarm("10:0" + std::to_string(i) + ":00", paths[i]);
        at(10, i);
    }
    EXPECT_EQ(sound.events, (Strings{"beep", "beep", "beep", paths[3]}));
}

TEST_F(Firing, MissedMinuteFiresLateOnceSayingHowLate) {
    armAlarm("09:00:00");
    state.AlarmMessage = "Call home";
    at(8, 50);
    at(9, 5);  // the machine slept through 09:00
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].second, "Call home (5 minutes late)");
    run(60);
    EXPECT_EQ(notifier.shown.size(), 1u);
}

TEST_F(Firing, ArmedOrRearmedAfterItsTimeWaitsForTheNextDay) {
    armAlarm("09:00:00");
    at(8, 0);
    state.AlarmTime = "08:30:00";  // re-armed, between two ticks, with a time already past
    at(8, 46);
    EXPECT_TRUE(state.AlarmOn);
    at(10, 0);
    armAlarm("09:00:00");
    run(120);
    EXPECT_TRUE(sound.events.empty());
    clock.setUtc(DateTime::fromFields(2026, 12, 7, 8, 59, 59));
    firing.tick();
    EXPECT_TRUE(sound.events.empty());
    clock.advanceSeconds(1);
    firing.tick();
    EXPECT_EQ(sound.events.size(), 1u);
}

TEST_F(Firing, AlarmMovedToAZoneWhereItsTimeHasPassedRingsThereTomorrowNotLate) {
    armAlarm("09:00:00");
    state.AlarmMessage = "Board call";
    at(8, 50);
    // Moved, same time of day, to a zone two hours ahead: 09:00 has already passed there today.
    state.AlarmZone.Bias = -120;
    state.AlarmZone.DisplayText = "(GMT+02:00) Cairo";
    at(8, 51);
    run(120);
    EXPECT_TRUE(sound.events.empty());
    EXPECT_TRUE(state.AlarmOn);
    clock.setUtc(DateTime::fromFields(2026, 12, 7, 6, 59, 59));
    firing.tick();
    EXPECT_TRUE(sound.events.empty());
    clock.advanceSeconds(1);
    firing.tick();
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].second, "Board call");
}

TEST_F(Firing, AlarmInAnotherZoneFollowsThatZoneAndUnreadableTimesNeverFire) {
    armAlarm("18:00:00");
    state.AlarmZone.Bias = -540;  // UTC+9
    at(8, 59, 59);
    at(9, 0, 0);
    EXPECT_EQ(sound.events.size(), 1u);

    state.WarningOn = true;
    state.WarningTime = "tea time";
    for (int h = 0; h < 24; ++h) at(h, 0);
    EXPECT_EQ(sound.events.size(), 1u);
    EXPECT_TRUE(state.WarningOn);
}

TEST(MinutesLateIfDue, WindowBetweenTicks) {
    const auto t = [](int d, int h, int m, int s = 0) { return DateTime::fromFields(2026, 12, d, h, m, s); };
    // First tick after arming: only the current minute counts.
    EXPECT_EQ(minutesLateIfDue(std::nullopt, t(6, 9, 0, 40), 540), 0);
    EXPECT_EQ(minutesLateIfDue(std::nullopt, t(6, 9, 1), 540), std::nullopt);
    // Across midnight.
    EXPECT_EQ(minutesLateIfDue(t(6, 23, 58), t(7, 0, 3), 1), 2);
    EXPECT_EQ(minutesLateIfDue(t(6, 23, 59, 59), t(7, 0, 0), 0), 0);
    // The minute's start was already covered by the previous tick.
    EXPECT_EQ(minutesLateIfDue(t(6, 9, 0, 0), t(6, 9, 0, 1), 540), std::nullopt);
    // The clock went backwards: only the current minute counts.
    EXPECT_EQ(minutesLateIfDue(t(6, 10, 0), t(6, 9, 0), 540), 0);
    EXPECT_EQ(minutesLateIfDue(t(6, 10, 0), t(6, 8, 0), 540), std::nullopt);
    // Asleep for days: late from the latest occurrence.
    EXPECT_EQ(minutesLateIfDue(t(3, 12, 0), t(6, 9, 30), 540), 30);
}

TEST(LatenessText, Units) {
    EXPECT_EQ(latenessText(0), "");
    EXPECT_EQ(latenessText(1), " (1 minute late)");
    EXPECT_EQ(latenessText(5), " (5 minutes late)");
    EXPECT_EQ(latenessText(60), " (1 hour late)");
    EXPECT_EQ(latenessText(122), " (2 hours 2 minutes late)");
}

}  // namespace
}  // namespace tavrin
