#include "core/alarms/AlarmSetup.h"

#include <gtest/gtest.h>

#include "support/FakeClock.h"

namespace tavrin {
namespace {

// Zone slot n is n hours ahead of UTC; the machine's zone is UTC. The fake clock runs on UTC.
struct AlarmSetup : ::testing::Test {
    test::FakeClock clock{DateTime::fromFields(2026, 3, 14, 14, 58, 40)};
    AlarmState state;
    Settings settings;
    AlarmZones zones;

    AlarmSetup() {
        settings.TimeFormat = "h:mm AM/PM";
        zones.home.DisplayText = "(GMT) Home";
        zones.zoneOfItem = [](int slot) {
            ZoneRecord z;
            if (slot == 13) return z;  // a name the catalogue no longer knows
            z.Bias = -60 * slot;
            z.DisplayText = "(GMT+" + std::to_string(slot) + ") Zone " + std::to_string(slot);
            return z;
        };
        zones.zoneNow = [this](const ZoneRecord& z) { return clock.utcNow().addMinutes(-z.Bias); };
    }
    void at(int hour, int minute, int second = 0) {
        clock.setUtc(DateTime::fromFields(2026, 3, 14, hour, minute, second));
    }
    AlarmArming ok(const AlarmEntry& entry) { return armFromDialog(state, entry, zones, settings); }
    static AlarmEntry alarm(int choice, std::string hours = "", std::string minutes = "") {
        AlarmEntry e;
        e.alarmChoice = choice;
        e.customHours = std::move(hours);
        e.customMinutes = std::move(minutes);
        return e;
    }
};

// The alarm time is the chosen zone's clock plus the delay, seconds dropped, wrapping past midnight.
TEST_F(AlarmSetup, PresetAndCustomDelaysGiveTheAlarmTimeOnTheZonesClock) {
    const struct {
        int hour, minute, second;
        AlarmEntry entry;
        int zone;
        const char* expected;
    } cases[] = {
        // clang-format off
        {14, 58, 40, alarm(0), 0, "15:03:00"},  // seconds dropped after adding
        {14, 58, 40, alarm(7), 0, "17:58:00"},  // "3 Hours"
        {14, 58, 40, alarm(1), 9, "00:08:00"},  // "10 Mins" from 23:58 nine hours ahead: the next day
        {10, 0, 0, alarm(kCustomAlarm, "2", "75"), 0, "13:15:00"},
        {10, 0, 0, alarm(kCustomAlarm, "", "45"), 0, "10:45:00"},
        {10, 0, 0, alarm(kCustomAlarm, "1x", "zz"), 0, "11:00:00"},  // what is not a number counts as 0
        {23, 30, 0, alarm(kCustomAlarm, "23", "59"), 0, "23:29:00"},
        // clang-format on
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.expected);
        state = AlarmState{};
        at(c.hour, c.minute, c.second);
        c.entry.alarmZone = c.zone;
        const AlarmArming r = ok(c.entry);
        EXPECT_TRUE(r.alarm && *r.alarm && state.alarmOn && r.notices.empty());
        EXPECT_EQ(state.alarmZone.DisplayText, c.zone ? "(GMT+9) Zone 9" : "(GMT) Home");
        EXPECT_EQ(r.status + " " + state.alarmTime,
                  std::string("Alarm set for: ") + c.expected + " " + c.expected);
    }
}

// A zone gone from the catalogue would ring at UTC's time: neither half is set in it.
TEST_F(AlarmSetup, NothingIsSetInAZoneTheCatalogueNoLongerKnows) {
    AlarmEntry e = alarm(1);
    e.alarmZone = e.warningZone = 13;
    e.warningChoice = 0;
    const AlarmArming r = ok(e);
    EXPECT_FALSE(state.alarmOn || state.warningOn);
    ASSERT_EQ(r.notices.size(), 2u);
    EXPECT_EQ(r.notices[1].text,
              "Warning! The zone chosen for the alarm is not in this computer's time zone database, no alarm "
              "was set.");
}

TEST_F(AlarmSetup, CustomDelaysOutOfRangeBecomeOneMinuteAndNegativeOnesAreRefused) {
    const AlarmNotice outOfRange{"Tavrin Warning Dialog", "Warning! Custom time out of range"};
    const AlarmNotice customError{"Tavrin System Dialog",
                                  "There was an error in the custom Alarm, please recheck and try again"};
    at(10, 0);
    for (const auto& [hours, minutes] : {std::pair{"123", "0"}, {"1", "100"}, {"24", ""}, {"23", "60"}}) {
        state = AlarmState{};
        const AlarmArming r = ok(alarm(kCustomAlarm, hours, minutes));
        EXPECT_EQ(r.notices, std::vector<AlarmNotice>{outOfRange}) << hours << "h " << minutes;
        EXPECT_EQ(r.customHours + "h " + r.customMinutes + " " + state.alarmTime, "0h 1 10:01:00")
            << hours << "h " << minutes;
    }

    // A refused custom alarm keeps the alarm armed before; the warning of the same press is armed.
    state = AlarmState{};
    state.alarmOn = true;
    state.alarmTime = "07:00:00";
    for (const auto& [hours, minutes] : {std::pair{"-1", "30"}, {"0", "-5"}}) {
        AlarmEntry e = alarm(kCustomAlarm, hours, minutes);
        e.warningChoice = 2;  // "12:00 PM"
        const AlarmArming r = ok(e);
        EXPECT_EQ(r.notices, std::vector<AlarmNotice>{customError}) << hours << "h " << minutes;
        EXPECT_EQ(r.alarm.value_or(Result<>()).message(), customError.text);
        EXPECT_EQ(state.alarmTime, "07:00:00");
        EXPECT_TRUE(r.warning && *r.warning && state.warningOn);
        EXPECT_EQ(r.status, "A Warning set for: 12:00 PM in (GMT) Home");
    }
}

TEST_F(AlarmSetup, WarningPresetsAndCustomHoursInTheTimeFormat) {
    AlarmEntry e;
    e.warningChoice = 0;
    e.warningZone = 3;
    e.warningSound = "/sounds/bell.wav";
    AlarmArming r = ok(e);
    EXPECT_TRUE(state.warningOn && !state.alarmOn);
    EXPECT_EQ(state.warningTime + " " + state.warningSound, "9:00 AM /sounds/bell.wav");
    EXPECT_EQ(r.status, "A Warning set for: 9:00 AM in (GMT+3) Zone 3");

    settings.TimeFormat = "HH:MM";
    e = AlarmEntry{};
    e.warningChoice = kCustomWarning;
    e.warningHour = "5";
    e.warningMinute = "45";
    e.warningHalf = "PM";
    r = ok(e);
    // An empty box keeps the earlier sound; the time is read back in the format it was written in.
    EXPECT_EQ(state.warningTime + " " + state.warningSound + " " + state.warningZone.DisplayText + " " +
                  state.warningFormat,
              "17:45 /sounds/bell.wav (GMT) Home HH:MM");

    // A custom hour that is no time of day is refused rather than armed for ever.
    e.warningHour = "";
    e.warningMinute = "";
    e.alarmChoice = 0;
    r = ok(e);
    ASSERT_EQ(r.notices.size(), 1u);
    EXPECT_EQ(r.notices[0].title, "Tavrin Warning Dialog");
    EXPECT_FALSE(r.warning.value_or(Result<>()));
    EXPECT_EQ(state.warningTime, "17:45");
    EXPECT_EQ(r.status, "Alarm set for: 15:03:00");
}

TEST_F(AlarmSetup, NothingChosenArmsNothingAndCancelClearsBoth) {
    state.alarmOn = true;
    state.alarmTime = "08:00:00";
    state.alarmSound = "/a.wav";
    state.alarmMessage = "Tea";
    AlarmEntry e;
    e.alarmSound = "/b.wav";
    const AlarmArming r = ok(e);
    EXPECT_FALSE(r.alarm || r.warning);  // neither half was asked for
    EXPECT_EQ(r.status, "");
    EXPECT_EQ(state.alarmSound, "/a.wav");
    EXPECT_EQ(armedStatus(state), "Alarm set for: 08:00:00");

    state.warningOn = true;
    state.warningTime = "9:00 AM";
    state.warningZone.DisplayText = "(GMT+1) Paris";
    EXPECT_EQ(armedStatus(state), "A Warning set for: 9:00 AM in (GMT+1) Paris\nAlarm set for: 08:00:00");
    disarmAll(state);
    EXPECT_FALSE(state.alarmOn || state.warningOn);
    EXPECT_EQ(state.alarmTime + state.alarmSound + state.alarmMessage + state.alarmZone.DisplayText +
                  state.warningTime + state.warningSound + state.warningZone.DisplayText,
              "");
    EXPECT_EQ(armedStatus(state), "");
}

TEST(AlarmSetupSounds, TheAlarmsSoundIsTestedFirst) {
    EXPECT_EQ(soundToTest("/a.wav", "/w.wav"), "/a.wav");
    EXPECT_EQ(soundToTest("", "/w.wav"), "/w.wav");
    EXPECT_EQ(soundToTest("", ""), std::nullopt);
}

}  // namespace
}  // namespace tavrin
