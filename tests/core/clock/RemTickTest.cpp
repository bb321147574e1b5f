#include "core/clock/RemTick.h"

#include <gtest/gtest.h>

#include "core/store/MemoryStore.h"
#include "support/FakeClock.h"
#include "support/Recorders.h"
#include "support/RecordingShell.h"
#include "support/ScriptedAsker.h"
#include "support/StoredValue.h"

namespace tavrin {
namespace {

constexpr const char* kZoneRoot = "SOFTWARE\\MICROSOFT\\WINDOWS NT\\CURRENTVERSION\\TIME ZONES";

struct Tick : ::testing::Test {
    MemoryStore store;
    test::FakeClock clock{DateTime::fromFields(2026, 12, 6, 8, 59, 59)};
    test::RecordingShell shell;
    test::ScriptedAsker asker;
    AppState app{store, clock, shell, asker, Paths{}};
    test::RecordingSound sound;
    test::RecordingNotifier notifier;
    std::vector<std::string> steps;
    Result<std::string> machineZone = std::string("GMT Standard Time ");
    int biasRefills = 0;
    int newBias = 0;
    AlarmFiring firing{app.alarms, sound, notifier, clock, zoneClockOf(app)};
    RemTick remTick{app, firing,
                    RemTickHooks{
                        [this](const std::string& time, const std::string& date) {
                            steps.push_back("texts " + time + " " + date);
                        },
                        [this] { steps.emplace_back("reminders"); },
                        [this] { return machineZone; },
                        [this] {
                            ++biasRefills;
                            app.zones.LocalBias = newBias;
                        },
                    }};

    void SetUp() override {
        app.settings.TimeFormat = "HH:mm";
        app.settings.DateFormat = "yyyy-mm-dd";
        app.zones.ZoneRoot = kZoneRoot;
        app.zones.StandardName = "GMT Standard Time ";
        test::putSystemValue(store, std::string(kZoneRoot) + "\\W. Europe Standard Time", "Display",
                             "(GMT+01:00) Amsterdam, Berlin");
        app.alarms.alarmOn = true;
        app.alarms.alarmTime = "09:00:00";
    }
};

TEST_F(Tick, TextsThenRemindersThenAlarm) {
    ASSERT_TRUE(remTick.tick());
    clock.advanceSeconds(1);
    ASSERT_TRUE(remTick.tick());
    EXPECT_EQ(steps, (std::vector<std::string>{"texts 08:59 2026-12-06", "reminders",
                                               "texts 09:00 2026-12-06", "reminders"}));
    EXPECT_EQ(sound.events.size(), 1u);
}

TEST_F(Tick, MachineZoneChangeIsPickedUpOnceAtTheNextTick) {
    app.alarms.alarmTime = "10:00:00";  // in a UTC zone
    ASSERT_TRUE(remTick.tick());
    machineZone = Failure{"cannot read"};  // a failure to read is no change of zone, and is told
    EXPECT_EQ(remTick.tick().message(), "cannot read");
    EXPECT_EQ(biasRefills, 0);
    EXPECT_EQ(app.zones.StandardName, "GMT Standard Time ");

    // The machine moves to Berlin: its clock now reads 09:59:59 for 08:59:59 UTC.
    machineZone = std::string("W. Europe Standard Time ");
    newBias = -60;
    clock.setOffsetMinutes(60);
    ASSERT_TRUE(remTick.tick());
    EXPECT_EQ(biasRefills, 1);
    EXPECT_EQ(app.zones.StandardName, "W. Europe Standard Time ");
    EXPECT_EQ(app.zones.HomeZone.DisplayText, "(GMT+01:00) Amsterdam, Berlin");
    EXPECT_TRUE(app.alarms.alarmOn);  // still 08:59:59 in UTC

    clock.advanceSeconds(1);
    ASSERT_TRUE(remTick.tick());
    clock.setUtc(DateTime::fromFields(2026, 12, 6, 10, 0, 0));
    ASSERT_TRUE(remTick.tick());
    EXPECT_EQ(biasRefills, 1);
    EXPECT_EQ(sound.events.size(), 1u);
}

TEST_F(Tick, StandardHooksReadTheMachineZoneNameAndFollowZoneRules) {
    const RemTickHooks hooks = standardRemTickHooks(app, {}, {});
    EXPECT_FALSE(hooks.readStandardName());  // the value is not there yet
    test::putSystemValue(store, kTimeZoneInformationKey, "StandardName", "Tokyo Standard Time");
    EXPECT_EQ(hooks.readStandardName().valueOr(""), "Tokyo Standard Time ");
    ZoneRecord tokyo;
    tokyo.Bias = -540;
    EXPECT_EQ(zoneClockOf(app)(tokyo, clock.utcNow()), DateTime::fromFields(2026, 12, 6, 17, 59, 59));
}

}  // namespace
}  // namespace tavrin
