#pragma once
// The start-up sequence: choose the settings root, send a first start to the setup dialog, and
// otherwise load the settings and bring up the clock.
#include <functional>
#include <string>

#include "core/base/Result.h"
#include "core/state/AppState.h"

namespace tavrin {

// What start-up needs from the window side.
struct StartHooks {
    // The desktop's button-face colour as a colour text (the default scheme colour).
    std::function<std::string()> buttonFaceColour;
    // Shows the first-run setup dialog; its "Finish!" calls startClock.
    std::function<void()> showFirstRun;
    // Shows the tray clock; its load reads the reminder file and starts the timers.
    std::function<void()> showClock;
    // Takes the instance marker; a failure is logged and the start goes on.
    std::function<Result<>()> markInstance;
    // Rewrites a reminder file still in the older layout, telling the user of any failure itself.
    std::function<void()> upgradeReminderFile;
};

enum class StartOutcome {
    ClockStarted,
    FirstRun,
    SettingsUnreadable,  // the user's settings file is there but cannot be read: the user was told
};

// The entry point's work: machine-wide settings first, per-user next, first run otherwise.
StartOutcome startProgram(AppState& app, const StartHooks& hooks);

// Loads the settings, shows the clock, marks the instance and upgrades the reminder file.
void startClock(AppState& app, const StartHooks& hooks);

}  // namespace tavrin
