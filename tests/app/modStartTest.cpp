#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/modStart.h"
#include "core/store/MemoryStore.h"
#include "support/FakeClock.h"
#include "support/RecordingShell.h"
#include "support/ScriptedAsker.h"

using namespace tavrin;

namespace {

struct SubMain : ::testing::Test {
    MemoryStore store;
    test::FakeClock clock;
    test::RecordingShell shell;
    test::ScriptedAsker asker;
    AppState app{store, clock, shell, asker, Paths{}};
    std::vector<std::string> steps;

    StartOutcome start(std::initializer_list<Root> seeded) {
        bool created = false;
        for (Root root : seeded) store.tree(root).create(kSettingsKey, created);
        return tavrin::SubMain(
            app, StartHooks{[] { return std::string("C8D0D4"); }, [this] { steps.push_back("first run"); },
                            // The clock's load sees settings that are already loaded.
                            [this] { steps.push_back("clock:" + app.settings.DateFormat); },
                            [this] {
                                steps.push_back("mark");
                                throw std::runtime_error("no runtime folder");
                            },
                            [this] { steps.push_back("upgrade"); }});
    }
};

}  // namespace

TEST_F(SubMain, WithoutSettingsAnywhereShowsTheFirstRunSetupOnly) {
    EXPECT_EQ(start({}), StartOutcome::FirstRun);
    EXPECT_EQ(steps, std::vector<std::string>{"first run"});
    EXPECT_EQ(store.tree(Root::CurrentUser).find(kSettingsKey), nullptr);
}

TEST_F(SubMain, StartsTheClockUnderTheChosenRootAndIgnoresFailingSideSteps) {
    EXPECT_EQ(start({Root::CurrentUser, Root::LocalMachine}), StartOutcome::ClockStarted);
    EXPECT_EQ(app.settings.SettingsRoot, Root::LocalMachine);
    // A failing instance marker does not keep the reminder file from being upgraded.
    EXPECT_EQ(steps, (std::vector<std::string>{"clock:mm/dd/yy", "mark", "upgrade"}));
    EXPECT_NE(store.tree(Root::LocalMachine).find(kSettingsKey)->value("DateFormat"), nullptr);
    EXPECT_EQ(store.tree(Root::CurrentUser).find(kSettingsKey)->value("DateFormat"), nullptr);
}

TEST_F(SubMain, AMachineRootTheUserCannotWriteFallsBackToTheirOwnSettings) {
    store.setReadOnly(Root::LocalMachine, true);
    EXPECT_EQ(start({Root::LocalMachine, Root::CurrentUser}), StartOutcome::ClockStarted);
    EXPECT_EQ(app.settings.SettingsRoot, Root::CurrentUser);
}
