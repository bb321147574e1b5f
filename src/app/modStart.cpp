#include "app/modStart.h"

#include <exception>

#include "core/settings/SettingsLoader.h"

namespace tavrin {
namespace {

// Start-up's side steps may fail without stopping the start.
void runIgnoringFailure(const std::function<void()>& step) {
    if (!step) return;
    try {
        step();
    } catch (const std::exception&) {
    }
}

}  // namespace

StartOutcome SubMain(AppState& app, const StartHooks& hooks) {
    if (const auto root = chooseSettingsRoot(app.store)) {
        app.settings.SettingsRoot = *root;
        StartClock(app, hooks);
        return StartOutcome::ClockStarted;
    }
    if (hooks.showFirstRun) hooks.showFirstRun();
    return StartOutcome::FirstRun;
}

void StartClock(AppState& app, const StartHooks& hooks) {
    LoadSettings(app.store, app.settings, app.zones, hooks.buttonFaceColour ? hooks.buttonFaceColour() : "0");
    if (hooks.showClock) hooks.showClock();
    runIgnoringFailure(hooks.markInstance);
    runIgnoringFailure(hooks.upgradeReminderFile);
}

}  // namespace tavrin
