#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/modStart.h"
#include "core/store/MemoryStore.h"
#include "platform/FileStore.h"
#include "support/FakeClock.h"
#include "support/RecordingShell.h"
#include "support/ScriptedAsker.h"
#include "support/TempDir.h"

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
        return tavrin::startProgram(
            app, StartHooks{[] { return std::string("C8D0D4"); }, [this] { steps.push_back("first run"); },
                            // The clock's load sees settings that are already loaded.
                            [this] { steps.push_back("clock:" + app.settings.DateFormat); },
                            [this] {
                                steps.push_back("mark");
                                return Result<>::failure("no runtime folder");
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

// An unreadable settings file must not look like a first start: the setup would replace it.
TEST(SubMainOnFiles, AnUnreadableSettingsFileIsToldAndNoSetupShows) {
    tavrin::test::TempDir dir("tavrin-start");
    std::filesystem::create_directories(dir.file("config/tavrin/user.reg"));  // no file can be read there
    FileStore store(dir.file("config/tavrin/user.reg"), dir.file("xdg/tavrin/machine.reg"), dir.file("a"),
                    dir.file("b"));
    test::FakeClock clock;
    test::RecordingShell shell;
    test::ScriptedAsker asker;
    AppState app{store, clock, shell, asker, Paths{}};
    std::vector<std::string> steps;
    const StartOutcome outcome = tavrin::startProgram(
        app,
        StartHooks{{}, [&] { steps.push_back("first run"); }, [&] { steps.push_back("clock"); }, {}, {}});
    EXPECT_EQ(outcome, StartOutcome::SettingsUnreadable);
    EXPECT_TRUE(steps.empty());
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].title, "Tavrin Error Message");
    EXPECT_NE(asker.asked[0].text.find(dir.file("config/tavrin/user.reg") + ": Is a directory"),
              std::string::npos)
        << asker.asked[0].text;
    EXPECT_FALSE(std::filesystem::exists(dir.file("xdg")));
}
