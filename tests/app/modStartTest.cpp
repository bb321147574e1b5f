#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/modStart.h"
#include "settings/MemoryStore.h"

using namespace tavrin;

namespace {

struct Start {
    MemoryStore store;
    FakeClock clock;
    AppState app{store, clock, Paths{}};
    std::vector<std::string> steps;

    StartHooks hooks() {
        return StartHooks{[] { return std::string("C8D0D4"); },
                          [this] { steps.push_back("first run"); },
                          [this] {
                              // The clock's load sees settings that are already loaded.
                              steps.push_back("clock:" + app.settings.DateFormat);
                          },
                          [this] {
                              steps.push_back("mark");
                              throw std::runtime_error("no runtime folder");
                          },
                          [this] { steps.push_back("upgrade"); }};
    }
    void seed(Root root) {
        bool created = false;
        store.tree(root).create(kSettingsKey, created);
    }
};

}  // namespace

TEST(SubMain, WithoutSettingsAnywhereShowsTheFirstRunSetupOnly) {
    Start s;
    EXPECT_EQ(SubMain(s.app, s.hooks()), StartOutcome::FirstRun);
    EXPECT_EQ(s.steps, std::vector<std::string>{"first run"});
    EXPECT_EQ(s.store.tree(Root::CurrentUser).find(kSettingsKey), nullptr);
}

TEST(SubMain, StartsTheClockUnderTheChosenRootAndIgnoresFailingSideSteps) {
    Start s;
    s.seed(Root::CurrentUser);
    s.seed(Root::LocalMachine);
    EXPECT_EQ(SubMain(s.app, s.hooks()), StartOutcome::ClockStarted);
    EXPECT_EQ(s.app.settings.SettingsRoot, Root::LocalMachine);
    // A failing instance marker does not keep the reminder file from being upgraded.
    EXPECT_EQ(s.steps, (std::vector<std::string>{"clock:mm/dd/yy", "mark", "upgrade"}));
    EXPECT_NE(s.store.tree(Root::LocalMachine).find(kSettingsKey)->value("DateFormat"), nullptr);
    EXPECT_EQ(s.store.tree(Root::CurrentUser).find(kSettingsKey)->value("DateFormat"), nullptr);
}

TEST(SubMain, AMachineRootTheUserCannotWriteFallsBackToTheirOwnSettings) {
    Start s;
    s.seed(Root::LocalMachine);
    s.seed(Root::CurrentUser);
    s.store.setReadOnly(Root::LocalMachine, true);
    EXPECT_EQ(SubMain(s.app, s.hooks()), StartOutcome::ClockStarted);
    EXPECT_EQ(s.app.settings.SettingsRoot, Root::CurrentUser);
}
