#include "app/modStart.h"

#include <cstdio>

#include "core/settings/Settings.h"
#include "core/settings/SettingsLoader.h"
#include "core/store/StoreAccess.h"

namespace tavrin {

StartOutcome startProgram(AppState& app, const StartHooks& hooks) {
    if (const auto root = chooseSettingsRoot(app.store)) {
        app.settings.SettingsRoot = *root;
        startClock(app, hooks);
        return StartOutcome::ClockStarted;
    }
    // A settings file that is there but cannot be read is no first start: the setup would write new
    // settings over the user's own. Say what and where, and start nothing.
    if (const Result<> readable = keyReadable(app.store, Root::CurrentUser, kSettingsKey); !readable) {
        app.asker.tell("Tavrin Error Message",
                       "Tavrin cannot read its settings: " + readable.message() +
                           ".\n\nNothing was changed. Make the file readable (or move it away to set Tavrin "
                           "up afresh) and start Tavrin again.",
                       MessageIcon::Stop);
        return StartOutcome::SettingsUnreadable;
    }
    if (hooks.showFirstRun) hooks.showFirstRun();
    return StartOutcome::FirstRun;
}

void startClock(AppState& app, const StartHooks& hooks) {
    // Settings that cannot be loaded whole leave their defaults, or empty texts, for this run.
    if (const Result<> loaded = loadSettings(app.store, app.settings, app.zones,
                                             hooks.buttonFaceColour ? hooks.buttonFaceColour() : "0");
        !loaded)
        std::fprintf(stderr, "tavrin: warning: the settings could not be loaded whole: %s\n",
                     loaded.message().c_str());
    if (hooks.showClock) hooks.showClock();
    // The side steps may fail without stopping the start; the log says why.
    if (hooks.markInstance)
        if (const Result<> marked = hooks.markInstance(); !marked)
            std::fprintf(stderr, "tavrin: warning: %s\n", marked.message().c_str());
    if (hooks.upgradeReminderFile) hooks.upgradeReminderFile();
}

}  // namespace tavrin
