#include "app/modStart.h"

#include <exception>

#include "core/settings/Settings.h"
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
    // A settings file that is there but cannot be read is no first start: the setup would write new
    // settings over the user's own. Say what and where, and start nothing.
    KeyHandle key;
    if (app.store.OpenKey(KeyHandle::rootKey(Root::CurrentUser), kSettingsKey, kReadAccess, key) ==
        status::kReadFailed) {
        app.asker.tell("Tavrin Error Message",
                       "Tavrin cannot read its settings: " + app.store.lastFailure() +
                           ".\n\nNothing was changed. Make the file readable (or move it away to set Tavrin "
                           "up afresh) and start Tavrin again.",
                       MessageIcon::Stop);
        return StartOutcome::SettingsUnreadable;
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
